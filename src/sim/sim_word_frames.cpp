// SimWord's frames: Word's single document interface in the simulated
// window tree (see "Frames" in sim_word.h).
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "sim/sim_word.h"
#include "sim/word_sizes.h"

namespace plovera::sim {
namespace {

// The stand-in Word's sizes, so that both tell one story.
constexpr std::int32_t kDockTopHeight = word_sizes::dock_top_height;
constexpr std::int32_t kDockRightWidth = word_sizes::dock_right_width;
constexpr std::int32_t kCascadeStep = word_sizes::cascade_step;
constexpr char16_t kTitleSuffix[] = u" - Word";
constexpr char16_t kEmptyTitle[] = u"Word";

host::Rect moved(host::Rect r, std::int32_t x, std::int32_t y) {
  return {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
}

}  // namespace

void SimWord::sdi(SimWindowSystem& ws, host::Rect first) {
  if (frames_) throw std::logic_error("SDI switched on twice");
  frames_ = &ws;
  first_frame_ = first;
  if (windows_.empty()) {
    empty_frame_ = make_frame(first);
    return;
  }
  for (SimWindow* w : windows_) {
    give_frame(*w);
    set_window_caption(*w, w->caption_);
  }
  if (active_) ws.bring_to_top(active_->frame_.main);
}

// A new frame with its docks and document area, on top of the desktop.
SimFrame SimWord::make_frame(host::Rect screen) {
  SimWindowSystem& ws = *frames_;
  SimFrame f;
  f.main = ws.create_window(ws.desktop(), u"OpusApp", kEmptyTitle, screen);
  // Created bottom first: each new child goes on top of its siblings, so the
  // top dock ends up first in Z order, as in Word.
  f.doc_area = ws.create_window(f.main, u"_WwF", u"", screen);
  f.dock_right = ws.create_window(f.main, u"MsoCommandBarDock", u"MsoDockRight", screen);
  f.dock_top = ws.create_window(f.main, u"MsoCommandBarDock", u"MsoDockTop", screen);
  layout_frame(f, screen.right - screen.left, screen.bottom - screen.top);
  ws.bring_to_top(f.main);
  newest_frame_ = f.main;
  return f;
}

void SimWord::layout_frame(const SimFrame& f, std::int32_t w, std::int32_t h) {
  SimWindowSystem& ws = *frames_;
  const host::Rect frame = ws.rect(f.main);
  auto at = [&](std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return host::Rect{frame.left + l, frame.top + t, frame.left + r, frame.top + b};
  };
  const std::int32_t below = std::max(h, kDockTopHeight);
  const std::int32_t left_of_dock = std::max(w - kDockRightWidth, 0);
  ws.set_rect(f.main, at(0, 0, w, h));
  ws.set_rect(f.dock_top, at(0, 0, w, kDockTopHeight));
  ws.set_rect(f.dock_right, at(left_of_dock, kDockTopHeight, w, below));
  ws.set_rect(f.doc_area, at(0, kDockTopHeight, left_of_dock, below));
  if (f.view) ws.set_rect(f.view, at(0, kDockTopHeight, left_of_dock, below));
}

// The window takes over the empty frame, or gets a new one cascaded from
// the active window's (from the newest frame while the active window has
// none, as when SDI is switched on with windows open).
void SimWord::give_frame(SimWindow& w) {
  SimWindowSystem& ws = *frames_;
  if (empty_frame_.main) {
    w.frame_ = std::exchange(empty_frame_, SimFrame{});
  } else {
    host::Rect place = first_frame_;
    const host::Hwnd cascade_from =
        active_ && active_->frame_.main ? active_->frame_.main : newest_frame_;
    if (cascade_from && ws.exists(cascade_from)) {
      const host::Rect from = ws.rect(cascade_from);
      place = moved(from, from.left + kCascadeStep, from.top + kCascadeStep);
      const host::Rect screen = ws.rect(ws.desktop());
      if (place.right > screen.right || place.bottom > screen.bottom)
        place = moved(from, first_frame_.left, first_frame_.top);
    }
    w.frame_ = make_frame(place);
  }
  w.frame_.view = ws.create_window(w.frame_.doc_area, u"_WwB", w.caption_, ws.rect(w.frame_.doc_area));
}

// A closed window's frame goes with it, unless it was Word's last window:
// then the frame stays, empty.
void SimWord::close_frame(SimWindow& w) {
  SimWindowSystem& ws = *frames_;
  SimFrame f = std::exchange(w.frame_, SimFrame{});
  if (!windows_.empty()) {
    ws.destroy_window(f.main);
    return;
  }
  ws.destroy_window(f.view);
  f.view = 0;
  ws.set_caption(f.main, kEmptyTitle);
  empty_frame_ = f;
}

void SimWord::set_window_caption(SimWindow& w, std::u16string text) {
  w.caption_ = std::move(text);
  if (!w.frame_.main) return;
  frames_->set_caption(w.frame_.main, w.caption_ + kTitleSuffix);
  frames_->set_caption(w.frame_.view, w.caption_);
}

void SimWord::resize_frame(SimWindow& w, std::int32_t width, std::int32_t height) {
  if (!w.frame_.main) throw std::logic_error("resize_frame on a window without a frame");
  layout_frame(w.frame_, width, height);
  raise_WindowSize();
}

}  // namespace plovera::sim
