#include "addin/addin.h"

#include "addin/start_on_first_event.h"
#include <algorithm>
#include <utility>

#include "base/first_failure.h"

#include "base/numbers.h"

namespace plovera {

Addin::Addin(HostServices h) : host_(h) {
  model_.add_view(tab_main_windows_);
  model_.add_view(closed_tracker_);
  BarHost& host = *this;
  FrameOwner& owner = *this;
  frames_.push_back(std::make_unique<Frame>(host, owner, model_));
}

Addin::~Addin() {
  release_word();
  model_.remove_view(closed_tracker_);
  model_.remove_view(tab_main_windows_);
}

void Addin::tab_windows(std::vector<host::Ref<host::Window>>& out) {
  out.clear();
  out.reserve(static_cast<std::size_t>(model_.count()));
  for (std::int32_t p = 1; p <= model_.count(); ++p) out.push_back(model_.window_at(Position(p)));
}

host::Application& Addin::word() {
  if (!word_) throw_host_error(status::pointer, "Word's Application");
  return *word_;
}

double Addin::word_version() {
  word().Version(text_);
  return version_number(text_);
}

// The popup menu is not needed for the tabs: a menu that cannot be built now
// is built when it is first opened. Word 2013 and later have no option to
// show all windows in the taskbar, so it is neither read nor written there.
//
// Word 2013 and later name the active window's main window (Window.Hwnd),
// whatever its caption; before, it is found by its class and caption.
bool Addin::start_bar() {
  find_main_window();
  host::Hwnd main = frame().main_window();
  if (main == 0)
    ignore_errors([&] {
      if (word_version() >= 15)
        main = tab_main_windows_.checked_main_window(word().ActiveWindow()->Hwnd());
    });
  if (main == 0) return false;
  frame().set_main_window(main);
  model_.clear();
  ignore_errors([&] { menu_.build_menu(); });
  const double version = word_version();
  version_ = version;
  // From Word 2013 on every document window has a main window of its own.
  tab_main_windows_.track(version >= 15);
  if (version < 15) {
    keeps_taskbar_off_ = true;
    ignore_errors([&] { remember_taskbar_option(); });
    ignore_errors([&] { word().ShowWindowsInTaskbar(false); });
  }
  frame().dock_in(main, version, tab_main_windows_.tracking());
  frame().bar().enable_poll_timer();
  lead_ = &frame();
  return true;
}

// A connection while an earlier one still holds Word (Word never does this,
// but a host may) starts from a clean slate.
void Addin::connect(host::Ref<host::Application> word) {
  if (word_) release_word();
  // Nothing is kept unless listening succeeds: a failed connection holds
  // nothing of Word's.
  auto receiver = std::make_unique<StartOnFirstEvent>(*this);
  receiver->listen_to(word);
  word_ = std::move(word);
  start_receiver_ = std::move(receiver);
}

void Addin::stop_listening() {
  listen_again_timer_.stop();
  if (start_receiver_) start_receiver_->listen_to(nullptr);
}

void Addin::release_word() noexcept {
  if (start_receiver_) ignore_errors([&] { stop_listening(); });
  start_receiver_.reset();
  restore_taskbar_option();
  menu_.release();
  undock_every_frame();
  model_.clear();
  sync_.release();
  word_.reset();
}

// A start-up that failed leaves nothing half-made: no bar, no band taken,
// no tab, no menu; Word's next event starts again.
void Addin::start_or_listen_again() {
  bool started = false;
  try {
    started = start_bar();
  } catch (...) {
    undo_start();
    listen_again();
    throw;
  }
  if (!started) listen_again();
}

// Word's next event starts the bar again. When the receiver cannot be hooked
// to Word's events now, a timer asks again until it is.
void Addin::listen_again() noexcept {
  if (!start_receiver_ || !word_) return listen_again_timer_.stop();
  if (!failed(boundary_guard([&] { start_receiver_->listen_to(word_); })))
    return listen_again_timer_.stop();
  ignore_errors([&] { listen_again_timer_.start(); });
}

void Addin::undo_start() noexcept {
  undock_every_frame();
  model_.clear();
  sync_.release();
  menu_.release();
  restore_taskbar_option();
  frame().set_main_window(0);
}

void Addin::remember_taskbar_option() {
  taskbar_was_on_ = word().ShowWindowsInTaskbar();
}

void Addin::restore_taskbar_option() noexcept {
  if (std::exchange(keeps_taskbar_off_, false) && taskbar_was_on_)
    ignore_errors([&] { word().ShowWindowsInTaskbar(true); });
  taskbar_was_on_ = false;
}

// The bar goes and Word gets its band back at once.
void Addin::unload_bar() noexcept {
  for (auto& f : frames_) f->undock();
}

void Addin::undock_every_frame() noexcept {
  for (auto& f : frames_) f->undock();
  lead_ = nullptr;
}

host::Hwnd Addin::main_window() {
  for (auto& f : frames_)
    if (f->bar().loaded()) return f->main_window();
  return frames_.front()->main_window();
}

host::Hwnd Addin::main_window_of(const host::Ref<host::Window>& window) {
  if (!tab_main_windows_.tracking()) return frames_.front()->main_window();
  const host::Hwnd h = tab_main_windows_.main_window_at(model_.position_of(window));
  return h != 0 ? h : main_window();
}

Frame* Addin::frame_in(host::Hwnd main) noexcept {
  for (auto& f : frames_)
    if (f->bar().loaded() && f->main_window() == main) return f.get();
  return nullptr;
}

// Every bar's timer asks for the poll and one request per period runs it:
// the lead frame's. When the lead's timer falls silent (Word closed its main
// window, and the bar with it), the first frame to ask twice in vain leads.
// Constant time, no call out.
bool Addin::takes_the_poll(Frame& frame) noexcept {
  if (&frame == lead_) return true;
  if (frame.poll_seen != polls_) {
    frame.poll_seen = polls_;
    frame.polls_missed = 0;
  }
  if (++frame.polls_missed < 2 && lead_ != nullptr) return false;
  lead_ = &frame;
  return true;
}

// A window whose main window is unknown (Word named none usable) is shown
// in every frame, as all windows are in Word's one main window before 2013.
bool Addin::is_own_window(Frame& frame, Position p) noexcept {
  if (!tab_main_windows_.tracking()) return true;
  const host::Hwnd main = tab_main_windows_.main_window_at(p);
  return main == 0 || main == frame.main_window();
}

// Word 2013 and later: each main window that shows a document gets a frame
// with a bar that shows every tab and selects its own window's; a frame
// whose main window shows no document any more (Word closed it) loses its
// bar. Run when the tabs changed, never on an idle tick.
void Addin::follow_main_windows() {
  const std::vector<host::Hwnd> wanted = tab_main_windows_.main_windows();
  for (auto& f : frames_) {
    if (!f->bar().loaded()) continue;
    const bool shown = std::find(wanted.begin(), wanted.end(), f->main_window()) != wanted.end();
    host::Rect still;
    if (f->main_window_gone() ||
        (!shown && (!wanted.empty() || !ws().window_rect(f->main_window(), still))))
      retire(*f);
  }
  FirstFailure failure;
  for (host::Hwnd main : wanted) {
    host::Rect still;
    if (frame_in(main) || !ws().window_rect(main, still)) continue;
    failure.run([&] {
      Frame& f = idle_frame();
      try {
        f.dock_in(main, version_, true);
        f.bar().show_all_tabs();
        f.bar().enable_poll_timer();
      } catch (...) {
        retire(f);
        throw;
      }
    });
  }
  for (auto& f : frames_) {
    if (!f->bar().loaded()) continue;
    const Position own = tab_main_windows_.first_shown_in(f->main_window());
    if (own != Position()) failure.run([&] { f->bar().select_own_window(own); });
  }
  for (std::size_t i = frames_.size(); i-- > 1;) {
    if (frames_[i]->bar().loaded()) continue;
    retired_.push_back(std::move(frames_[i]));
    frames_.erase(frames_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  // Without a bar no timer runs the poll: the next document or window event
  // of Word's starts the bar again, as at start-up.
  const bool docked = std::any_of(frames_.begin(), frames_.end(),
                                  [](const std::unique_ptr<Frame>& f) { return f->bar().loaded(); });
  if (!docked && start_receiver_ && word_) {
    model_.clear();
    listen_again();
  }
  failure.rethrow();
}

// The bar leaves the frame; the frame object outlives the poll that retires
// it, since its bar's timer may be the one running the poll.
void Addin::retire(Frame& frame) noexcept {
  frame.undock();
  frame.set_main_window(0);
  if (lead_ == &frame) lead_ = nullptr;
}

Frame& Addin::idle_frame() {
  for (auto& f : frames_)
    if (!f->bar().loaded()) return *f;
  BarHost& host = *this;
  FrameOwner& owner = *this;
  frames_.push_back(std::make_unique<Frame>(host, owner, model_));
  return *frames_.back();
}

void Addin::redock_if_moved() {
  for (auto& f : frames_) f->redock_if_moved();
}

// The order is the tick's: the docking check, the pointer-left check, then
// the synchronisation with Word's windows, then (Word 2013 and later) a bar
// for each main window that shows a document. With one frame a failing step
// ends the tick, as ever; with several, one frame's failure does not keep
// the others from their checks, nor the frames from following Word.
void Addin::poll() {
  ++polls_;
  retired_.clear();
  if (!tab_main_windows_.tracking()) {
    redock_if_moved();
    frame().bar().clear_hover_if_outside();
    sync_.sync_with_word(word(), keeps_taskbar_off_);
    return;
  }
  FirstFailure failure;
  bool lost = false;
  for (auto& f : frames_) {
    if (!f->bar().loaded()) continue;
    failure.run([&] { f->redock_if_moved(); });
    failure.run([&] { f->bar().clear_hover_if_outside(); });
    lost = lost || f->main_window_gone() || f->take_bar_rebuilt();
  }
  failure.run([&] { sync_.sync_with_word(word(), keeps_taskbar_off_); });
  tab_main_windows_.read_again();
  // A frame that could not be given its bar is tried again on the next poll.
  if (tab_main_windows_.take_changes() || lost || frames_behind_) {
    frames_behind_ = true;
    failure.run([&] {
      follow_main_windows();
      frames_behind_ = false;
    });
  }
  failure.rethrow();
}

}  // namespace plovera
