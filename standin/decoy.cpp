#include "decoy.h"

#include <cwchar>

#include "win32/bar_instruments.h"

namespace standin {
namespace {

constexpr int kDockTop = 40;
constexpr int kDockRight = 24;
constexpr wchar_t kDockClass[] = L"MsoCommandBarDock";
constexpr wchar_t kDocumentClass[] = L"_WwF";

// Where each child of the decoy's main window sits (client pixels).
struct Layout {
  RECT top, right, document;
};
Layout layout_for(int w, int h) {
  return {{0, 0, w, kDockTop}, {w - kDockRight, kDockTop, w, h}, {0, kDockTop, w - kDockRight, h}};
}

HWND decoy_window() {
  return FindWindowW(L"OpusApp", kDecoyCaption);
}

RECT client_rect_of(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring rect_text(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"-" + std::to_wstring(r.right) +
         L"," + std::to_wstring(r.bottom);
}

}  // namespace

std::wstring start_decoy(const RECT& area) {
  if (decoy_window()) return L"a decoy is running already";
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --decoy-word " +
                         std::to_wstring(GetCurrentProcessId()) + L":" + std::to_wstring(area.left) +
                         L"," + std::to_wstring(area.top) + L"," +
                         std::to_wstring(area.right - area.left) + L"," +
                         std::to_wstring(area.bottom - area.top);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return L"the decoy process did not start";
  CloseHandle(pi.hThread);
  const DWORD started = GetTickCount();
  std::wstring problem = L"the decoy's window did not come up";
  while (GetTickCount() - started < 10000) {
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
      problem = L"the decoy process ended at once";
      break;
    }
    if (decoy_window()) {
      problem.clear();
      break;
    }
  }
  CloseHandle(pi.hProcess);
  return problem;
}

std::wstring decoy_problems() {
  HWND main = decoy_window();
  if (!main) return L"no decoy is running";
  std::wstring p;
  if (FindWindowExW(main, nullptr, plovera::win32::kBarWindowClass, nullptr))
    p += L"a tab bar sits in the decoy; ";
  RECT client{};
  GetClientRect(main, &client);
  const Layout want = layout_for(client.right, client.bottom);
  const struct {
    const wchar_t* cls;
    const wchar_t* title;
    RECT want;
  } children[] = {{kDockClass, L"MsoDockTop", want.top},
                  {kDockClass, L"MsoDockRight", want.right},
                  {kDocumentClass, nullptr, want.document}};
  for (const auto& c : children) {
    HWND child = FindWindowExW(main, nullptr, c.cls, c.title);
    const RECT got = child ? client_rect_of(child, main) : RECT{};
    if (!child) p += std::wstring(L"the decoy lost its ") + c.cls + L"; ";
    else if (!EqualRect(&got, &c.want))
      p += std::wstring(L"the decoy's ") + (c.title ? c.title : c.cls) + L" moved to " + rect_text(got) + L"; ";
  }
  return p;
}

int run_decoy(const std::wstring& placement) {
  unsigned long parent_pid = 0;
  int x = 0, y = 0, w = 0, h = 0;
  if (swscanf(placement.c_str(), L"%lu:%d,%d,%d,%d", &parent_pid, &x, &y, &w, &h) != 5) return 2;
  HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parent_pid);
  if (!parent) return 1;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  for (const wchar_t* cls : {L"OpusApp", kDockClass, kDocumentClass}) {
    wc.lpszClassName = cls;
    RegisterClassExW(&wc);
  }
  // In front of the stand-in's window, never activated.
  HWND main = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"OpusApp", kDecoyCaption,
                              WS_POPUP | WS_CLIPCHILDREN, x, y, w, h, nullptr, nullptr, instance,
                              nullptr);
  const Layout l = layout_for(w, h);
  auto child = [&](const wchar_t* cls, const wchar_t* title, const RECT& r) {
    CreateWindowExW(0, cls, title, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, main, nullptr, instance, nullptr);
  };
  child(kDockClass, L"MsoDockTop", l.top);
  child(kDockClass, L"MsoDockRight", l.right);
  child(kDocumentClass, L"", l.document);
  SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &parent, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;  // the stand-in ended
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  CloseHandle(parent);
  DestroyWindow(main);
  return 0;
}

}  // namespace standin
