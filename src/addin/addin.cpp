#include "addin/addin.h"

#include "addin/start_on_first_event.h"
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
  menu_.release();
  if (bar_.loaded()) {
    give_band_back();
    bar_.unload();
  }
  dock_offset_ = 0;
  model_.clear();
  word_.reset();
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
  sync_.sync_with_word(word());
}

}  // namespace plovera
