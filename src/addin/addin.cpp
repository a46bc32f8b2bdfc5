#include "addin/addin.h"

#include "addin/cappevents.h"
#include "addin/connect.h"
#include "commands/buttonevent.h"
#include "tabstrip/numbers.h"

namespace plovera {

Addin::Addin(HostServices h) : host(h), frmAddIn(*this) {}

Addin::~Addin() { release_word(); }

host::Application& Addin::app() {
  if (!wordapp) throw_host_error(status::pointer, "wordapp");
  return *wordapp;
}

double Addin::word_version() {
  app().Version(text_);
  return version_number(text_);
}

void Addin::release_word() noexcept {
  if (appevents) ignore_errors([&] { appevents->xlapp(nullptr); });
  appevents.reset();
  btnevents.reset();
  if (frmAddIn.loaded()) {
    pullup();
    frmAddIn.Unload();
  }
  dockoffset = 0;
  frmAddIn.release_windows();
  wordapp.reset();
}

void Connect::AddinInstance_OnConnection(const host::Ref<host::HostObject>& Application,
                                         std::int32_t /*ConnectMode*/,
                                         const host::Ref<host::Object>& /*AddInInst*/) {
  if (!Application) throw_host_error(status::pointer, "OnConnection.Application");
  host::Ref<host::Application> app = Application->QueryApplication();
  // A connection while an earlier one still holds Word (Word never does
  // this, but a host may) starts from a clean slate.
  if (addin_.wordapp) addin_.release_word();
  addin_.wordapp = std::move(app);
  addin_.appevents = std::make_unique<cappevents>(addin_);
  addin_.appevents->xlapp(addin_.wordapp);
}

void Connect::AddinInstance_OnDisconnection(std::int32_t /*RemoveMode*/) noexcept {
  addin_.release_word();
}

void Connect::aa() {
  addin_.frmAddIn.Unload();
  addin_.dockoffset = 0;
}

}  // namespace plovera
