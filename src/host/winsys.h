// The seam to the window system of Word's process: the window tree, window
// placement, focus, pointer, shell, registry and screen resolution.
//
// Calls that Windows reports through a result the add-in ignores (moving a
// window, the foreground, the shell) return bool and never throw; the callers
// decide. Text is UTF-16 and the implementations use the Unicode entry
// points, so captions in any script and of any length are read whole.
#pragma once

#include <cstdint>
#include <string>

namespace plovera::host {

// A window handle. Windows guarantees that window handles fit in 32 bits
// (they are sign-extended on 64-bit Windows); 0 means none.
using Hwnd = std::uint32_t;

// Screen rectangle in pixels.
struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
  std::int32_t x = 0, y = 0;
};

// GetWindow relations.
inline constexpr std::uint32_t GW_HWNDFIRST = 0;
inline constexpr std::uint32_t GW_HWNDNEXT = 2;
inline constexpr std::uint32_t GW_CHILD = 5;

// SetWindowPos flags.
inline constexpr std::uint32_t SWP_NOZORDER = 0x4;
inline constexpr std::uint32_t SWP_FRAMECHANGED = 0x20;
inline constexpr Hwnd HWND_TOP = 0;

// Registry.
enum class RegRoot : std::uint8_t { current_user, local_machine };
using RegKey = std::uintptr_t;  // an open key; 0 = none
inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;
inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3,
                               REG_DWORD = 4, REG_MULTI_SZ = 7;

class WindowSystem {
 public:
  virtual Hwnd GetDesktopWindow() = 0;
  virtual Hwnd GetWindow(Hwnd h, std::uint32_t relation) = 0;
  // Class name and caption; both leave `out` empty for a window that is gone.
  virtual void GetClassName(Hwnd h, std::u16string& out) = 0;
  virtual std::int32_t GetWindowTextLength(Hwnd h) = 0;
  virtual void GetWindowText(Hwnd h, std::u16string& out) = 0;
  virtual Hwnd FindWindowEx(Hwnd parent, Hwnd child_after, const char16_t* cls,
                            const char16_t* title) = 0;
  virtual Hwnd GetParent(Hwnd h) = 0;
  virtual Hwnd SetParent(Hwnd child, Hwnd new_parent) = 0;
  // Leaves `r` unchanged and returns false when the window does not exist.
  virtual bool GetWindowRect(Hwnd h, Rect& r) = 0;
  // x and y are relative to the parent's client area.
  virtual bool SetWindowPos(Hwnd h, Hwnd insert_after, std::int32_t x, std::int32_t y,
                            std::int32_t cx, std::int32_t cy, std::uint32_t flags) = 0;
  virtual bool SetForegroundWindow(Hwnd h) = 0;
  virtual bool GetCursorPos(Point& p) = 0;
  // The shell's verb on `file`; the result is not looked at by the add-in.
  virtual bool ShellExecute(Hwnd owner, const std::u16string& verb, const std::u16string& file,
                            const std::u16string& parameters, const std::u16string& directory,
                            std::int32_t show) = 0;
  // The folder from which the add-in's own file was loaded.
  virtual std::u16string ModuleFolder() = 0;
  // The screen's logical resolution (dots per inch), horizontally and vertically.
  virtual std::int32_t LogPixelsX() = 0;
  virtual std::int32_t LogPixelsY() = 0;

  // Registry, with Win32's status codes (0 = success).
  virtual std::int32_t RegOpenKeyEx(RegRoot root, const std::u16string& sub_key,
                                    std::uint32_t access, RegKey& out) = 0;
  // As RegQueryValueExW: `type` and `size` (bytes) in and out; `data` may be
  // null to ask for the size. ERROR_MORE_DATA when `size` is too small.
  virtual std::int32_t RegQueryValueEx(RegKey key, const std::u16string& name,
                                       std::uint32_t& type, std::uint8_t* data,
                                       std::uint32_t& size) = 0;
  virtual std::int32_t RegCloseKey(RegKey key) = 0;

 protected:
  ~WindowSystem() = default;
};

}  // namespace plovera::host
