#include "addin/addin.h"

#include "addin/start_on_first_event.h"
#include <utility>

#include "base/numbers.h"

namespace plovera {

Addin::Addin(HostServices h) : host_(h) {}

Addin::~Addin() { release_word(); }

host::Application& Addin::word() {
  if (!word_) throw_host_error(status::pointer, "Word's Application");
  return *word_;
}

double Addin::word_version() {
  word().Version(text_);
  return version_number(text_);
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
  if (bar_.loaded()) {
    give_band_back();
    bar_.unload();
  }
  dock_offset_ = 0;
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
  if (bar_.loaded()) {
    if (dock_offset_ != 0) give_band_back();
    else give_band_back_after_failed_start();
    bar_.unload();
  }
  dock_offset_ = 0;
  model_.clear();
  sync_.release();
  menu_.release();
  restore_taskbar_option();
  windows_ = {};
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
  bar_.unload();
  dock_offset_ = 0;
}

// The order is the tick's: the docking check, the pointer-left check, then
// the synchronisation with Word's windows.
void Addin::poll() {
  redock_if_moved();
  bar_.clear_hover_if_outside();
  sync_.sync_with_word(word(), keeps_taskbar_off_);
}

}  // namespace plovera
