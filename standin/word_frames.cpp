// Word's frames: the one main window of Word 2003-2010, or a frame per
// document window from Word 2013 on (the single document interface), and
// what the user does to them (resize, move, click, close).
#include <algorithm>

#include "log.h"
#include "sim/word_sizes.h"
#include "word.h"

namespace standin {
namespace {

// How far each new frame is placed right of and below the active one.
constexpr int kCascadeStep = plovera::sim::word_sizes::cascade_step;

}  // namespace

std::unique_ptr<Frame> Word::make_frame(const RECT& placement) {
  return std::make_unique<Frame>(
      instance_, placement,
      Frame::Callbacks{[this](Frame& f) { on_resized(f); },
                       [this](Frame& f) { on_frame_close(f); },
                       [this](Frame&) { if (on_close_requested) on_close_requested(); },
                       [this](Frame& f) { on_frame_clicked(f); }});
}

Frame& Word::frame() {
  if (active_ && active_->frame) return *active_->frame;
  return *frames_.front();
}

Frame* Word::frame_at(size_t number) const {
  if (number < 1 || number > frames_.size()) return nullptr;
  return frames_[number - 1].get();
}

WindowObj* Word::window_in(const Frame& frame) const {
  if (!sdi_) return nullptr;
  for (WindowObj* w : windows_)
    if (w->frame == &frame) return w;
  return nullptr;
}

bool Word::set_sdi(bool on) {
  if (!windows_.empty()) return false;
  sdi_ = on;
  log_line(std::wstring(L"a frame per window: ") + (on ? L"on" : L"off"));
  refresh_captions();
  return true;
}

// The empty frame when no window is open (the first document takes it
// over); otherwise a new one, cascaded from the active window's.
Frame* Word::frame_for_new_window() {
  if (windows_.empty()) return frames_.front().get();
  frames_.push_back(make_frame(cascaded_placement()));
  return frames_.back().get();
}

// Right of and below the active frame, the same size; back to the first
// frame's place where it would leave the screen.
RECT Word::cascaded_placement() const {
  RECT r = (active_ ? active_->frame : frames_.back().get())->rect();
  OffsetRect(&r, kCascadeStep, kCascadeStep);
  if (r.right > GetSystemMetrics(SM_CXSCREEN) || r.bottom > GetSystemMetrics(SM_CYSCREEN))
    OffsetRect(&r, options_.placement.left - r.left, options_.placement.top - r.top);
  return r;
}

void Word::retire_frame(Frame* frame) {
  auto it = std::find_if(frames_.begin(), frames_.end(),
                         [frame](const std::unique_ptr<Frame>& f) { return f.get() == frame; });
  if (it == frames_.end()) return;
  closed_frames_.push_back(std::move(*it));
  frames_.erase(it);
  frame->destroy();
}

void Word::resize_frame(Frame& frame, int width, int height) {
  SetWindowPos(frame.main(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Word::move_frame(Frame& frame, int x, int y) {
  SetWindowPos(frame.main(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Word::tile_frames() {
  const int count = static_cast<int>(frames_.size());
  const int width = GetSystemMetrics(SM_CXSCREEN) / count;
  const int height = GetSystemMetrics(SM_CYSCREEN);
  for (int i = 0; i < count; ++i)
    SetWindowPos(frames_[static_cast<size_t>(i)]->main(), nullptr, i * width, 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// A click on another window's frame is Word's switch to that window.
void Word::on_frame_clicked(Frame& frame) {
  WindowObj* window = window_in(frame);
  if (window && window != active_) activate(window, false);
}

// The user closes a frame: with a frame per window and others left, that
// window closes (asking about unsaved changes); otherwise Word ends.
void Word::on_frame_close(Frame& frame) {
  WindowObj* window = window_in(frame);
  if (window && windows_.size() > 1) {
    close_window(window, SaveOption::prompt);
    return;
  }
  if (on_close_requested) on_close_requested();
}

}  // namespace standin
