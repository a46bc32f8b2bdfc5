#include "addin/addin.h"

#include "addin/connect.h"

namespace plovera {

Addin::Addin(HostServices h) : host(h) {}
Addin::~Addin() = default;

void Connect::AddinInstance_OnConnection(const host::Ref<host::HostObject>& Application,
                                         std::int32_t, const host::Ref<host::Object>&) {
  addin_.wordapp = Application->QueryApplication();
}

void Connect::AddinInstance_OnDisconnection(std::int32_t) noexcept { addin_.wordapp.reset(); }

void Connect::aa() {}

}  // namespace plovera
