#include "addin/cappevents.h"

#include "addin/addin.h"
#include "tabstrip/numbers.h"

namespace plovera {

cappevents::~cappevents() = default;

void cappevents::xlapp(host::Ref<host::Application> app) {
  hook_.reset();  // unhook from the previous application first
  xlapp_ = std::move(app);
  if (xlapp_) hook_ = xlapp_->advise(*this);
}

// Unhooking comes first: it is the only guard against a second start, and
// startbar calls into Word, which may raise further events meanwhile.
void cappevents::unhook_and_start() {
  if (addin_.appevents) addin_.appevents->xlapp(nullptr);
  addin_.startbar();
}

void cappevents::xlapp_DocumentOpen() { unhook_and_start(); }
void cappevents::xlapp_NewDocument() { unhook_and_start(); }
void cappevents::xlapp_WindowActivate() { unhook_and_start(); }
void cappevents::xlapp_WindowSize() { unhook_and_start(); }

// Before version 12 Word raises DocumentChange too early to start on.
void cappevents::xlapp_DocumentChange() {
  std::u16string version;
  if (!xlapp_) return;
  xlapp_->Version(version);
  if (version_number(version) < 12) return;
  unhook_and_start();
}

}  // namespace plovera
