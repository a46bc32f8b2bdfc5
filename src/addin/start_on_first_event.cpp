#include "addin/start_on_first_event.h"

#include "addin/addin.h"
#include "base/numbers.h"
#include "host/word_versions.h"

namespace plovera {

StartOnFirstEvent::~StartOnFirstEvent() = default;

void StartOnFirstEvent::listen_to(host::Ref<host::Application> word) {
  hook_.reset();  // unhook from the previous application first
  word_ = std::move(word);
  if (word_) hook_ = word_->advise(*this);
}

// Unhooking comes first: it is the only guard against a second start, and
// the start calls into Word, which may raise further events meanwhile. The
// start itself runs on the add-in's next tick, once the event has returned.
void StartOnFirstEvent::unhook_and_start() {
  addin_.stop_listening();
  addin_.start_soon();
}

// Before version 12 Word raises DocumentChange too early to start on.
void StartOnFirstEvent::on_document_change() {
  std::u16string version;
  if (!word_) return;
  word_->Version(version);
  if (version_number(version) < host::word2007) return;
  unhook_and_start();
}

}  // namespace plovera
