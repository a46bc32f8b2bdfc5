#include "win32/window_system.h"

#include <commctrl.h>

#include "host/callback_scope.h"

#include <cstring>
#include <cwchar>

#include "win32/window_dpi.h"

namespace plovera::win32 {

namespace {

const wchar_t* wide(const char16_t* s) noexcept { return reinterpret_cast<const wchar_t*>(s); }
const wchar_t* wide(const std::u16string& s) noexcept { return wide(s.c_str()); }
wchar_t* wide(std::u16string& s) noexcept { return reinterpret_cast<wchar_t*>(s.data()); }

HKEY to_hkey(host::RegKey key) noexcept { return reinterpret_cast<HKEY>(key); }

std::int32_t screen_caps(int index) noexcept {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return 96;  // the standard resolution, when there is no screen to ask
  const int value = ::GetDeviceCaps(screen, index);
  ::ReleaseDC(nullptr, screen);
  return value;
}

}  // namespace

host::Hwnd Win32WindowSystem::desktop_window() { return from_hwnd(::GetDesktopWindow()); }

host::Hwnd Win32WindowSystem::related_window(host::Hwnd h, host::WindowRelation relation) {
  return from_hwnd(::GetWindow(to_hwnd(h), static_cast<UINT>(relation)));
}

void Win32WindowSystem::window_class(host::Hwnd h, std::u16string& out) {
  wchar_t name[257];  // class names are at most 256 characters
  const int n = ::GetClassNameW(to_hwnd(h), name, 257);
  out.assign(reinterpret_cast<const char16_t*>(name), n > 0 ? n : 0);
}

std::int32_t Win32WindowSystem::window_text_length(host::Hwnd h) {
  return ::GetWindowTextLengthW(to_hwnd(h));
}

// The text can change between asking for its length and reading it; a read
// that fills the buffer is repeated with the new length, so a caption is
// never cut.
void Win32WindowSystem::window_text(host::Hwnd h, std::u16string& out) {
  HWND window = to_hwnd(h);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
      out.clear();
      return;
    }
    out.resize(static_cast<std::size_t>(length) + 1);
    const int n = ::GetWindowTextW(window, wide(out), length + 1);
    out.resize(n > 0 ? n : 0);
    if (n < length || ::GetWindowTextLengthW(window) <= length) return;
  }
}

host::Hwnd Win32WindowSystem::find_child(host::Hwnd parent, host::Hwnd child_after,
                                           const char16_t* cls, const char16_t* title) {
  return from_hwnd(::FindWindowExW(to_hwnd(parent), to_hwnd(child_after), wide(cls), wide(title)));
}

void Win32WindowSystem::show_message(host::Hwnd owner, const std::u16string& title,
                                     const std::u16string& text) {
  ::MessageBoxW(to_hwnd(owner), wide(text), wide(title), MB_OK | MB_ICONWARNING);
}

bool Win32WindowSystem::in_this_process(host::Hwnd h) {
  DWORD process = 0;
  return ::GetWindowThreadProcessId(to_hwnd(h), &process) != 0 &&
         process == ::GetCurrentProcessId();
}

host::Hwnd Win32WindowSystem::parent_of(host::Hwnd h) {
  return from_hwnd(::GetParent(to_hwnd(h)));
}

host::Hwnd Win32WindowSystem::set_parent(host::Hwnd child, host::Hwnd new_parent) {
  return from_hwnd(::SetParent(to_hwnd(child), to_hwnd(new_parent)));
}

bool Win32WindowSystem::window_rect(host::Hwnd h, host::Rect& r) {
  RECT rc;
  if (!::GetWindowRect(to_hwnd(h), &rc)) return false;
  r = {rc.left, rc.top, rc.right, rc.bottom};
  return true;
}

bool Win32WindowSystem::place_window(host::Hwnd h, host::Hwnd insert_after, std::int32_t x,
                                     std::int32_t y, std::int32_t cx, std::int32_t cy,
                                     std::uint32_t flags) {
  return ::SetWindowPos(to_hwnd(h), to_hwnd(insert_after), x, y, cx, cy, flags) != FALSE;
}

bool Win32WindowSystem::bring_to_foreground(host::Hwnd h) {
  return ::SetForegroundWindow(to_hwnd(h)) != FALSE;
}

bool Win32WindowSystem::cursor_pos(host::Point& p) {
  POINT pt;
  if (!::GetCursorPos(&pt)) return false;
  p = {pt.x, pt.y};
  return true;
}

bool Win32WindowSystem::shell_execute(host::Hwnd owner, const std::u16string& verb,
                                     const std::u16string& file, const std::u16string& parameters,
                                     const std::u16string& directory, std::int32_t show) {
  HINSTANCE result = ::ShellExecuteW(to_hwnd(owner), wide(verb), wide(file), wide(parameters),
                                     wide(directory), show);
  return reinterpret_cast<std::intptr_t>(result) > 32;  // the documented success test
}

// The text goes into a movable global block (with its NUL) that the
// clipboard owns once SetClipboardData succeeds; otherwise it is freed here.
bool Win32WindowSystem::copy_to_clipboard(host::Hwnd owner, const std::u16string& text) {
  if (!::OpenClipboard(to_hwnd(owner))) return false;
  bool stored = false;
  if (::EmptyClipboard()) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* p = ::GlobalLock(block)) {
        std::memcpy(p, text.c_str(), bytes);
        ::GlobalUnlock(block);
        stored = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
      }
      if (!stored) ::GlobalFree(block);
    }
  }
  ::CloseClipboard();
  return stored;
}

std::u16string module_file_name(HMODULE module) {
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, wide(path), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // cut off: long paths (\\?\) exceed MAX_PATH
  }
}

std::u16string Win32WindowSystem::module_folder() {
  std::u16string path = module_file_name(module_);
  const std::size_t slash = path.find_last_of(u"\\/");
  if (slash == std::u16string::npos) return {};
  // A file in a drive's root keeps its separator ("C:\"), as a folder name must.
  path.resize(slash > 0 && path[slash - 1] == u':' ? slash + 1 : slash);
  return path;
}

std::int32_t Win32WindowSystem::dpi_x() { return screen_caps(LOGPIXELSX); }
std::int32_t Win32WindowSystem::dpi_y() { return screen_caps(LOGPIXELSY); }
// Only windows of Word's own process are asked about (host/winsys.h).
std::int32_t Win32WindowSystem::dpi_of_window(host::Hwnd h) {
  const HWND hwnd = to_hwnd(h);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  return window_dpi(process == GetCurrentProcessId() ? hwnd : nullptr);
}

std::int32_t Win32WindowSystem::open_key(host::RegRoot root, const std::u16string& sub_key,
                                             std::uint32_t access, host::RegKey& out) {
  HKEY base = root == host::RegRoot::current_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  HKEY key = nullptr;
  const LSTATUS status = ::RegOpenKeyExW(base, wide(sub_key), 0, access, &key);
  out = status == ERROR_SUCCESS ? reinterpret_cast<host::RegKey>(key) : 0;
  return status;
}

std::int32_t Win32WindowSystem::query_value(host::RegKey key, const std::u16string& name,
                                                std::uint32_t& type, std::uint8_t* data,
                                                std::uint32_t& size) {
  DWORD value_type = type, value_size = size;
  const LSTATUS status =
      ::RegQueryValueExW(to_hkey(key), wide(name), nullptr, &value_type, data, &value_size);
  type = value_type;
  size = value_size;
  return status;
}

std::int32_t Win32WindowSystem::close_key(host::RegKey key) { return ::RegCloseKey(to_hkey(key)); }

// ---- Window notices ---------------------------------------------------------

namespace {

// The subclass of a watched window; its reference data is the receiver.
constexpr UINT_PTR kWatchId = 0x504C5657;  // one subclass of the add-in's per window

void tell(DWORD_PTR receiver, HWND hwnd, host::WindowNotice what) noexcept {
  reinterpret_cast<host::WindowNotices*>(receiver)->window_notice(from_hwnd(hwnd), what);
}

// Windows broadcasts WM_SETTINGCHANGE for every setting; the look changes
// with high contrast and with the app mode ("ImmersiveColorSet", sent when
// the user switches between light and dark).
bool tells_of_system_look(WPARAM wp, LPARAM lp) noexcept {
  if (wp == SPI_SETHIGHCONTRAST) return true;
  const auto* area = reinterpret_cast<const wchar_t*>(lp);
  return area && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}

// Word's own handling runs first; the notice follows, telling of the state
// the window is in now. A notice only records, so nothing here can remove a
// subclass but WM_NCDESTROY.
LRESULT CALLBACK watch_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                            DWORD_PTR receiver) noexcept {
  const host::CallbackScope scope;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &watch_proc, id);
    tell(receiver, hwnd, host::WindowNotice::destroyed);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      constexpr UINT kPlaceOnly = SWP_NOSIZE | SWP_NOMOVE;
      if (pos && ((pos->flags & kPlaceOnly) != kPlaceOnly || (pos->flags & SWP_FRAMECHANGED)))
        tell(receiver, hwnd, host::WindowNotice::laid_out);
      break;
    }
    case WM_SIZE:
      tell(receiver, hwnd, wp == SIZE_MINIMIZED ? host::WindowNotice::minimised
                                                : host::WindowNotice::restored);
      break;
    case WM_SETTEXT: tell(receiver, hwnd, host::WindowNotice::title_changed); break;
    case WM_ACTIVATEAPP:
      tell(receiver, hwnd, wp ? host::WindowNotice::app_activated
                              : host::WindowNotice::app_deactivated);
      break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      tell(receiver, hwnd, host::WindowNotice::system_look_changed);
      break;
    case WM_SETTINGCHANGE:
      if (tells_of_system_look(wp, lp)) tell(receiver, hwnd, host::WindowNotice::system_look_changed);
      break;
    default: break;
  }
  return result;
}

}  // namespace

// Only a window of this thread (Word's user-interface thread, the add-in's
// own) can be subclassed; any other is refused.
bool Win32WindowSystem::watch_window(host::Hwnd h, host::WindowNotices& receiver) {
  const HWND hwnd = to_hwnd(h);
  if (!IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
    return false;
  return SetWindowSubclass(hwnd, &watch_proc, kWatchId, reinterpret_cast<DWORD_PTR>(&receiver)) != FALSE;
}

void Win32WindowSystem::stop_watching(host::Hwnd h) noexcept {
  const HWND hwnd = to_hwnd(h);
  if (IsWindow(hwnd)) RemoveWindowSubclass(hwnd, &watch_proc, kWatchId);
}

bool Win32WindowSystem::minimised(host::Hwnd h) { return IsIconic(to_hwnd(h)) != FALSE; }

bool Win32WindowSystem::word_in_foreground() {
  const HWND front = GetForegroundWindow();
  return front && GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
}

}  // namespace plovera::win32
