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
// destroyed when the last one is released, which releases every Word
// reference and unloads the tab bar before the DLL can be unloaded.
Addin& acquire_addin();
void release_addin() noexcept;

}  // namespace plovera::win32::module
