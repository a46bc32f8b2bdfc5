// The add-in's module-level state and its host integration: the reference to
// Word, the application-event receiver, start-up and docking of the tab bar,
// and the discovery of Word's windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"

namespace plovera {

// The services of the platform that the add-in runs on.
struct HostServices {
  host::WindowSystem& winsys;
  host::FormEngine& forms;
};

class Addin {
 public:
  explicit Addin(HostServices host);
  ~Addin();
  Addin(const Addin&) = delete;
  Addin& operator=(const Addin&) = delete;

  HostServices host;

  // Word's application object; set at connection, cleared at disconnection.
  host::Ref<host::Application> wordapp;
};

}  // namespace plovera
