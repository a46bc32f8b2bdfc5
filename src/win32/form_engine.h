// The Win32 forms engine: the tab bar as one child window whose elements are
// drawn items.
#pragma once

#include <windows.h>

#include <memory>

#include "host/forms.h"

namespace plovera::win32 {

// Creates the engine for forms whose window class is registered in `module`.
std::unique_ptr<host::FormEngine, void (*)(host::FormEngine*)> make_form_engine(HINSTANCE module);

}  // namespace plovera::win32
