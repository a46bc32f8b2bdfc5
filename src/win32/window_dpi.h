// What Windows says about the display: the resolution it gives a window: per monitor on Windows 10 and
// later (GetDpiForWindow), the screen's on the older systems the add-in
// still runs on (Word 2003 on Windows XP has no GetDpiForWindow, so it is
// looked up at run time rather than imported).
#pragma once

#include <windows.h>

#include "host/winsys.h"

namespace plovera::win32 {

// The screen's logical resolution, vertically; 96 when it cannot be read
// (host::is_readable_resolution).
inline int screen_dpi() noexcept {
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return host::is_readable_resolution(dpi) ? dpi : host::kStandardResolution;
}

// The resolution of the monitor `hwnd` is on, as Windows scales it; the
// screen's where Windows cannot tell (older systems, a window that is gone)
// or answers a resolution it cannot have.
inline int window_dpi(HWND hwnd) noexcept {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window && hwnd)
    if (const int dpi = static_cast<int>(get_dpi_for_window(hwnd)); host::is_readable_resolution(dpi))
      return dpi;
  return screen_dpi();
}

// Whether Windows' high-contrast mode is on.
inline bool high_contrast_on() noexcept {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace plovera::win32
