#include "decoy.h"

#include <cwchar>

#include "sim/word_sizes.h"
#include "win32/bar_instruments.h"

namespace standin {
namespace {

namespace sizes = plovera::sim::word_sizes;

constexpr wchar_t kMainClass[] = L"OpusApp";
constexpr wchar_t kDockClass[] = L"MsoCommandBarDock";
constexpr wchar_t kDocumentClass[] = L"_WwF";
constexpr wchar_t kViewClass[] = L"_WwB";
constexpr DWORD kStartMs = 10000;

// Where each child of the decoy's main window sits (client pixels), as the
// stand-in's own frames lay theirs out.
struct Layout {
  RECT top, right, document;
};
Layout layout_for(int w, int h) {
  const int top = sizes::dock_top_height, right = sizes::dock_right_width;
  return {{0, 0, w, top}, {w - right, top, w, h}, {0, top, w - right, h}};
}

HWND decoy_window() { return FindWindowW(kMainClass, kDecoyCaption); }

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

LRESULT CALLBACK decoy_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND create_decoy_windows(HINSTANCE instance, DecoyShown shown, int x, int y, int w, int h) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  for (const wchar_t* cls : {kMainClass, kDockClass, kDocumentClass, kViewClass}) {
    wc.lpszClassName = cls;
    wc.lpfnWndProc = cls == kMainClass ? decoy_proc : DefWindowProcW;
    RegisterClassExW(&wc);
  }
  const bool aside = shown == DecoyShown::aside;
  // The caption comes last: the stand-in finds the decoy by it, and must not
  // find it before its children exist.
  HWND main = CreateWindowExW(aside ? WS_EX_TOPMOST | WS_EX_NOACTIVATE : 0, kMainClass, L"",
                              (aside ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN, x, y, w, h,
                              nullptr, nullptr, instance, nullptr);
  if (!main) return nullptr;
  RECT client{};
  GetClientRect(main, &client);
  const Layout l = layout_for(client.right, client.bottom);
  auto child = [&](HWND parent, const wchar_t* cls, const wchar_t* title, const RECT& r) {
    return CreateWindowExW(0, cls, title, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent, nullptr, instance, nullptr);
  };
  child(main, kDockClass, L"MsoDockTop", l.top);
  child(main, kDockClass, L"MsoDockRight", l.right);
  HWND area = child(main, kDocumentClass, L"", l.document);
  child(area, kViewClass, L"Decoy Document",
        {0, 0, l.document.right - l.document.left, l.document.bottom - l.document.top});
  SetWindowTextW(main, kDecoyCaption);
  if (aside) {
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    ShowWindow(main, SW_SHOWNORMAL);
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(main);
  }
  return main;
}

}  // namespace

std::wstring start_decoy(const RECT& area, DecoyShown shown, PROCESS_INFORMATION* process) {
  if (decoy_window()) return L"a decoy is running already";
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --decoy " +
                         std::to_wstring(GetCurrentProcessId()) + L":" + std::to_wstring(area.left) +
                         L"," + std::to_wstring(area.top) + L"," +
                         std::to_wstring(area.right - area.left) + L"," +
                         std::to_wstring(area.bottom - area.top) +
                         (shown == DecoyShown::active ? L":active" : L":aside");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return L"the decoy process did not start: " + std::to_wstring(GetLastError());
  const DWORD started = GetTickCount();
  std::wstring problem = L"the decoy's window did not come up";
  while (GetTickCount() - started < kStartMs) {
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
      problem = L"the decoy process ended at once";
      break;
    }
    if (decoy_window()) {
      problem.clear();
      break;
    }
  }
  if (process && problem.empty()) {
    *process = pi;
    return problem;
  }
  if (!problem.empty()) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
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
  wchar_t shown[16] = {};
  if (swscanf(placement.c_str(), L"%lu:%d,%d,%d,%d:%15ls", &parent_pid, &x, &y, &w, &h, shown) != 6)
    return 2;
  const std::wstring mode = shown;
  if (mode != L"active" && mode != L"aside") return 2;
  HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parent_pid);
  if (!parent) return 1;
  HWND main = create_decoy_windows(GetModuleHandleW(nullptr),
                                   mode == L"active" ? DecoyShown::active : DecoyShown::aside, x, y, w, h);
  for (bool running = main != nullptr; running;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &parent, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;  // the stand-in ended
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) running = false;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  CloseHandle(parent);
  if (IsWindow(main)) DestroyWindow(main);
  return 0;
}

}  // namespace standin
