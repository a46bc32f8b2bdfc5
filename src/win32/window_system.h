// The window system of Word's process (host/winsys.h) over user32, gdi32,
// shell32 and advapi32, with the Unicode entry points.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

// <windows.h> maps these names to their A/W entry points by macro; the seam
// declares them as plain names, as the logic (built without <windows.h>) sees
// them. They are removed before the seam is read, so the overrides below
// match it. Include this header before anything that includes host/winsys.h.
#undef GetClassName
#undef GetWindowTextLength
#undef GetWindowText
#undef FindWindowEx
#undef ShellExecute
#undef RegOpenKeyEx
#undef RegQueryValueEx

#include "win32/form_seam.h"  // host/winsys.h with <windows.h>'s same-named constants set aside

namespace plovera::win32 {

// Window handles fit in 32 bits; on 64-bit Windows they are sign-extended
// (as LongToHandle does), so 0xFFFFxxxx values survive the round trip.
inline HWND to_hwnd(host::Hwnd h) noexcept {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}
inline host::Hwnd from_hwnd(HWND h) noexcept {
  return static_cast<host::Hwnd>(reinterpret_cast<std::uintptr_t>(h));
}

// The full path of a loaded module's file (of any length); empty on failure.
std::u16string module_file_name(HMODULE module);

class Win32WindowSystem final : public host::WindowSystem {
 public:
  // `module` is the add-in's own DLL, whose folder ModuleFolder answers.
  explicit Win32WindowSystem(HMODULE module) noexcept : module_(module) {}

  host::Hwnd GetDesktopWindow() override;
  host::Hwnd GetWindow(host::Hwnd h, std::uint32_t relation) override;
  void GetClassName(host::Hwnd h, std::u16string& out) override;
  std::int32_t GetWindowTextLength(host::Hwnd h) override;
  void GetWindowText(host::Hwnd h, std::u16string& out) override;
  host::Hwnd FindWindowEx(host::Hwnd parent, host::Hwnd child_after, const char16_t* cls,
                          const char16_t* title) override;
  host::Hwnd GetParent(host::Hwnd h) override;
  host::Hwnd SetParent(host::Hwnd child, host::Hwnd new_parent) override;
  bool GetWindowRect(host::Hwnd h, host::Rect& r) override;
  bool SetWindowPos(host::Hwnd h, host::Hwnd insert_after, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) override;
  bool SetForegroundWindow(host::Hwnd h) override;
  bool GetCursorPos(host::Point& p) override;
  bool ShellExecute(host::Hwnd owner, const std::u16string& verb, const std::u16string& file,
                    const std::u16string& parameters, const std::u16string& directory,
                    std::int32_t show) override;
  std::u16string ModuleFolder() override;
  std::int32_t LogPixelsX() override;
  std::int32_t LogPixelsY() override;
  std::int32_t RegOpenKeyEx(host::RegRoot root, const std::u16string& sub_key,
                            std::uint32_t access, host::RegKey& out) override;
  std::int32_t RegQueryValueEx(host::RegKey key, const std::u16string& name, std::uint32_t& type,
                               std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t RegCloseKey(host::RegKey key) override;

 private:
  HMODULE module_;
};

}  // namespace plovera::win32
