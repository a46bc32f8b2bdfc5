#include "addin/addin.h"

#include "addin/start_on_first_event.h"
#include <utility>

#include "base/numbers.h"

namespace plovera {

Addin::Addin(HostServices h) : host_(h) {
  BarHost& host = *this;
  frames_.push_back(std::make_unique<Frame>(host, model_));
}

Addin::~Addin() { release_word(); }

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
bool Addin::start_bar() {
  find_main_window();
  const host::Hwnd main = frame().main_window();
  if (main == 0) return false;
  model_.clear();
  ignore_errors([&] { menu_.build_menu(); });
  const double version = word_version();
  if (version < 15) {
    keeps_taskbar_off_ = true;
    ignore_errors([&] { remember_taskbar_option(); });
    ignore_errors([&] { word().ShowWindowsInTaskbar(false); });
  }
  frame().dock_in(main, version, false);
  frame().bar().enable_poll_timer();
  return true;
}

// A connection while an earlier one still holds Word (Word never does this,
// but a host may) starts from a clean slate.
void Addin::connect(host::Ref<host::Application> word) {
  if (word_) release_word();
  word_ = std::move(word);
  start_receiver_ = std::make_unique<StartOnFirstEvent>(*this);
  start_receiver_->listen_to(word_);
}

void Addin::stop_listening() {
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
    if (start_receiver_ && word_) start_receiver_->listen_to(word_);
    throw;
  }
  if (!started && start_receiver_ && word_) start_receiver_->listen_to(word_);
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

void Addin::unload_bar() noexcept {
  for (auto& f : frames_) f->unload_bar();
}

void Addin::undock_every_frame() noexcept {
  for (auto& f : frames_) f->undock();
}

void Addin::redock_if_moved() {
  for (auto& f : frames_) f->redock_if_moved();
}

// The order is the tick's: the docking check, the pointer-left check, then
// the synchronisation with Word's windows.
void Addin::poll() {
  redock_if_moved();
  for (auto& f : frames_) f->bar().clear_hover_if_outside();
  sync_.sync_with_word(word(), keeps_taskbar_off_);
}

}  // namespace plovera
