// Word's entry point into the add-in: the methods of the COM class Connect.
#pragma once

#include <cstdint>

#include "addin/addin.h"
#include "host/error.h"
#include "host/ref.h"
#include "host/word.h"

namespace plovera {

class Connect {
 public:
  explicit Connect(Addin& addin) noexcept : addin_(addin) {}

  // Called once when Word loads the add-in. Throws host_error (for example
  // no_interface when `application` is not Word's application object); the
  // COM layer turns it into the method's result.
  void on_connection(const host::Ref<host::HostObject>& application, std::int32_t connect_mode,
                     const host::Ref<host::Object>& addin_instance) {
    (void)connect_mode;
    (void)addin_instance;
    if (!application) throw_host_error(status::pointer, "OnConnection.Application");
    addin_.connect(application->QueryApplication());
  }
  // Called when Word unloads the add-in. Never fails.
  void on_disconnection(std::int32_t /*remove_mode*/) noexcept { addin_.release_word(); }
  // Unloads the bar and resets the docking offset.
  void unload_bar() noexcept { addin_.unload_bar(); }

 private:
  Addin& addin_;
};

}  // namespace plovera
