// The Win32 window system against real windows, the real registry and the
// screen of the Wine prefix that run.sh prepared.
#include "win32/window_system.h"

#include <string>

#include "check.h"

using check::expect;
namespace host = plovera::host;
namespace win32 = plovera::win32;

namespace {

constexpr const wchar_t* kClass = L"PloveraWindowSystemTest";

HWND make_window(HWND parent, const wchar_t* title) {
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
  return CreateWindowExW(0, kClass, title, style, 0, 0, 400, 200, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// A caption far longer than any fixed buffer, in several scripts and with a
// character outside the Basic Multilingual Plane.
std::u16string long_caption() {
  std::u16string text;
  while (text.size() < 3000) text += u"Документ — 文書 — وثيقة — \U0001D11E ";
  return text;
}

void window_tree(win32::Win32WindowSystem& ws) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  HWND top = make_window(nullptr, L"top");
  HWND other = make_window(nullptr, L"other");
  const std::u16string caption = long_caption();
  HWND child = make_window(top, reinterpret_cast<const wchar_t*>(caption.c_str()));
  expect(top && other && child, "test windows created");
  const host::Hwnd h = win32::from_hwnd(child);

  std::u16string text;
  ws.window_text(h, text);
  expect(text == caption && ws.window_text_length(h) == static_cast<int>(caption.size()),
         "GetWindowText reads a 3000-character caption in several scripts whole",
         std::to_string(text.size()) + " characters");
  ws.window_class(h, text);
  expect(text == reinterpret_cast<const char16_t*>(kClass), "GetClassName");
  expect(ws.parent_of(h) == win32::from_hwnd(top), "GetParent");
  expect(ws.find_child(win32::from_hwnd(top), 0, reinterpret_cast<const char16_t*>(kClass),
                         caption.c_str()) == h,
         "FindWindowEx finds the child by class and title");
  expect(ws.related_window(win32::from_hwnd(top), host::WindowRelation::first_child) == h, "GetWindow(first child)");

  expect(ws.place_window(h, 0, 10, 20, 300, 24, SWP_NOZORDER),
         "SetWindowPos succeeds");
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  host::Rect r;
  expect(ws.window_rect(h, r) && r.left == origin.x + 10 && r.top == origin.y + 20 &&
             r.right - r.left == 300 && r.bottom - r.top == 24,
         "SetWindowPos places the child relative to its parent; GetWindowRect reads it back");

  expect(ws.set_parent(h, win32::from_hwnd(other)) == win32::from_hwnd(top) &&
             ws.parent_of(h) == win32::from_hwnd(other),
         "SetParent returns the old parent and moves the window");

  DestroyWindow(child);
  ws.window_text(h, text);
  const bool text_gone = text.empty();
  ws.window_class(h, text);
  host::Rect untouched{1, 2, 3, 4};
  expect(text_gone && text.empty() && !ws.window_rect(h, untouched) && untouched.left == 1,
         "a destroyed window reads as empty and its rectangle as absent");
  DestroyWindow(top);
  DestroyWindow(other);
}

void handles_and_pointer(win32::Win32WindowSystem& ws) {
  bool round_trip = true;
  for (host::Hwnd h : {0x0u, 0x10010u, 0x7FFFFFFFu, 0x80000000u, 0xFFFF1234u})
    round_trip = round_trip && win32::from_hwnd(win32::to_hwnd(h)) == h;
  const auto wide = reinterpret_cast<std::intptr_t>(win32::to_hwnd(0xFFFF1234u));
  expect(round_trip && wide == static_cast<std::intptr_t>(static_cast<std::int32_t>(0xFFFF1234u)),
         "32-bit window handles round-trip, sign-extended like LongToHandle");

  SetCursorPos(123, 45);
  host::Point p;
  expect(ws.cursor_pos(p) && p.x == 123 && p.y == 45, "GetCursorPos reads the pointer");
}

void registry(win32::Win32WindowSystem& ws) {
  const wchar_t* path = L"Software\\PloveraWindowSystemTest";
  HKEY key;
  RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExW(key, L"Theme", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"2"), 4);
  RegCloseKey(key);

  host::RegKey k = 0;
  expect(ws.open_key(host::RegRoot::current_user, u"Software\\PloveraWindowSystemTest",
                         KEY_QUERY_VALUE, k) == ERROR_SUCCESS && k != 0,
         "RegOpenKeyEx opens a key of the current user");
  std::uint32_t type = 0, size = 0;
  const auto status = ws.query_value(k, u"Theme", type, nullptr, size);
  expect(status == ERROR_SUCCESS && type == REG_SZ && size == 4,
         "RegQueryValueEx without a buffer reports type and size");
  std::uint8_t small[2];
  size = sizeof small;
  expect(ws.query_value(k, u"Theme", type, small, size) == ERROR_MORE_DATA && size == 4,
         "a short buffer gives ERROR_MORE_DATA and the size needed");
  wchar_t value[2] = {};
  size = sizeof value;
  expect(ws.query_value(k, u"Theme", type, reinterpret_cast<std::uint8_t*>(value), size) ==
                 ERROR_SUCCESS &&
             value[0] == L'2' && value[1] == 0,
         "RegQueryValueEx reads the value");
  expect(ws.query_value(k, u"Missing", type, nullptr, size) == ERROR_FILE_NOT_FOUND,
         "a missing value gives ERROR_FILE_NOT_FOUND");
  expect(ws.close_key(k) == ERROR_SUCCESS, "RegCloseKey");
  RegDeleteTreeW(HKEY_CURRENT_USER, path);
  host::RegKey none = 7;
  expect(ws.open_key(host::RegRoot::local_machine, u"Software\\PloveraNoSuchKey",
                         KEY_QUERY_VALUE, none) == ERROR_FILE_NOT_FOUND && none == 0,
         "a missing key gives ERROR_FILE_NOT_FOUND and no key");
}

}  // namespace

// `folder` is where run.sh put this program, `dpi` the LogPixels it set.
void window_system_tests(const std::u16string& folder, int dpi) {
  win32::Win32WindowSystem ws(GetModuleHandleW(nullptr));
  window_tree(ws);
  handles_and_pointer(ws);
  registry(ws);
  expect(ws.module_folder() == folder, "ModuleFolder is the folder the module was loaded from");
  expect(ws.dpi_x() == dpi && ws.dpi_y() == dpi,
         "LogPixelsX and LogPixelsY give the screen's resolution",
         std::to_string(ws.dpi_x()) + " x " + std::to_string(ws.dpi_y()));
}
