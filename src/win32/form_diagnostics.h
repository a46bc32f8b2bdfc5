// Test-only views of a bar window's inner state.
#pragma once

#include <windows.h>

#include <cstdint>

namespace plovera::win32 {

// How many times the bar window `bar` has painted a non-empty area since it
// was created; 0 for a window that is not a live bar of this module.
std::uint32_t bar_paint_count(HWND bar) noexcept;

}  // namespace plovera::win32
