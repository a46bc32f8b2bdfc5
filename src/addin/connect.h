// Word's entry point into the add-in: the connection class.
#pragma once

#include <cstdint>

#include "host/ref.h"
#include "host/word.h"

namespace plovera {

class Addin;

class Connect {
 public:
  explicit Connect(Addin& addin) noexcept : addin_(addin) {}

  // Called once when Word loads the add-in. Throws host_error (for example
  // no_interface when `Application` is not Word's application object); the
  // COM layer turns it into the method's result.
  void AddinInstance_OnConnection(const host::Ref<host::HostObject>& Application,
                                  std::int32_t ConnectMode,
                                  const host::Ref<host::Object>& AddInInst);
  // Called when Word unloads the add-in. Never fails.
  void AddinInstance_OnDisconnection(std::int32_t RemoveMode) noexcept;
  // Unloads the tab-bar form and resets the docking offset.
  void aa();

 private:
  Addin& addin_;
};

}  // namespace plovera
