// The DLL's module: its instance handle and the add-in state it hosts.
#pragma once

#include <windows.h>

namespace plovera {
class Addin;
}

namespace plovera::win32::module {

// The DLL's own instance handle (set by DllMain).
HINSTANCE instance() noexcept;

// The add-in's module state (one plovera::Addin with the Win32 window system
// and forms engine), shared by every Connect object: created for the first,
// destroyed when the last one is released — at once, or, when Word releases
// it inside a call into the add-in, once that call has returned — which
// releases every Word reference and unloads the tab bar before the DLL can
// be unloaded.
Addin& acquire_addin();
void release_addin() noexcept;
// No module state is held or waits to be destroyed, and no call is inside
// the DLL.
bool addin_idle() noexcept;

}  // namespace plovera::win32::module
