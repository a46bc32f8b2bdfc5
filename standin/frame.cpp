#include "frame.h"

#include "sim/word_sizes.h"

namespace standin {
namespace {

constexpr wchar_t kMainClass[] = L"OpusApp";
constexpr wchar_t kDockClass[] = L"MsoCommandBarDock";
constexpr wchar_t kAreaClass[] = L"_WwF";
constexpr wchar_t kViewClass[] = L"_WwB";

void fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// A toolbar look: a face colour, a row of button outlines, a separating line.
void paint_dock(HWND hwnd, HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  fill(dc, r, RGB(222, 230, 242));
  wchar_t title[32] = {};
  GetWindowTextW(hwnd, title, 32);
  if (lstrcmpW(title, L"MsoDockTop") == 0) {
    for (int row = 0; row < 2; ++row) {
      for (int i = 0; i < 12; ++i) {
        RECT b{8 + i * 28, 6 + row * 27, 8 + i * 28 + 22, 6 + row * 27 + 22};
        fill(dc, b, RGB(190, 205, 228));
      }
    }
  }
  RECT line{r.left, r.bottom - 1, r.right, r.bottom};
  fill(dc, line, RGB(160, 175, 200));
}

void paint_view(HWND hwnd, HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  fill(dc, r, RGB(255, 255, 255));
  wchar_t caption[260] = {};
  GetWindowTextW(hwnd, caption, 260);
  HFONT font = CreateFontW(-28, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                           L"Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(60, 60, 60));
  TextOutW(dc, 48, 40, caption, lstrlenW(caption));
  SelectObject(dc, old);
  DeleteObject(font);
}

LRESULT CALLBACK child_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      wchar_t cls[32] = {};
      GetClassNameW(hwnd, cls, 32);
      if (lstrcmpW(cls, kDockClass) == 0) {
        paint_dock(hwnd, dc);
      } else if (lstrcmpW(cls, kViewClass) == 0) {
        paint_view(hwnd, dc);
      } else {
        fill(dc, ps.rcPaint, RGB(171, 171, 171));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SIZE: {
      // The document area: every view fills it.
      for (HWND v = GetWindow(hwnd, GW_CHILD); v; v = GetWindow(v, GW_HWNDNEXT))
        MoveWindow(v, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void register_class(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
}

}  // namespace

Frame::Frame(HINSTANCE instance, RECT placement, Callbacks callbacks)
    : instance_(instance), callbacks_(std::move(callbacks)) {
  register_class(instance, kMainClass, &Frame::main_proc);
  register_class(instance, kDockClass, child_proc);
  register_class(instance, kAreaClass, child_proc);
  register_class(instance, kViewClass, child_proc);
  main_ = CreateWindowExW(0, kMainClass, L"Microsoft Word", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                          placement.left, placement.top, placement.right - placement.left,
                          placement.bottom - placement.top, nullptr, nullptr, instance, this);
  create_children();
  layout();
  ShowWindow(main_, SW_SHOWNORMAL);
  UpdateWindow(main_);
}

Frame::~Frame() { destroy(); }

void Frame::destroy() {
  if (!main_) return;
  HWND w = main_;
  SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  main_ = dock_top_ = dock_right_ = document_area_ = nullptr;
  DestroyWindow(w);
}

void Frame::create_children() {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  dock_top_ = CreateWindowExW(0, kDockClass, L"MsoDockTop", style, 0, 0, 0, 0, main_, nullptr,
                              instance_, nullptr);
  dock_right_ = CreateWindowExW(0, kDockClass, L"MsoDockRight", style, 0, 0, 0, 0, main_,
                                nullptr, instance_, nullptr);
  document_area_ = CreateWindowExW(0, kAreaClass, L"", style, 0, 0, 0, 0, main_, nullptr,
                                   instance_, nullptr);
}

void Frame::layout() {
  if (!main_ || !dock_top_) return;
  RECT c;
  GetClientRect(main_, &c);
  const int top = plovera::sim::word_sizes::dock_top_height;
  const int right = plovera::sim::word_sizes::dock_right_width;
  const int below = c.bottom > top ? c.bottom - top : 0;
  const int width_left = c.right > right ? c.right - right : 0;
  MoveWindow(dock_top_, 0, 0, c.right, top, TRUE);
  MoveWindow(dock_right_, width_left, top, right, below, TRUE);
  MoveWindow(document_area_, 0, top, width_left, below, TRUE);
}

HWND Frame::add_view(const std::wstring& caption) {
  RECT a;
  GetClientRect(document_area_, &a);
  return CreateWindowExW(0, kViewClass, caption.c_str(), WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                         a.right, a.bottom, document_area_, nullptr, instance_, nullptr);
}

void Frame::remove_view(HWND view) {
  if (view) DestroyWindow(view);
}

void Frame::show_only(HWND view) {
  if (!document_area_) return;
  for (HWND v = GetWindow(document_area_, GW_CHILD); v; v = GetWindow(v, GW_HWNDNEXT))
    ShowWindow(v, v == view ? SW_SHOWNA : SW_HIDE);
}

void Frame::set_view_caption(HWND view, const std::wstring& caption) {
  if (view) SetWindowTextW(view, caption.c_str());
}

void Frame::set_title(const std::wstring& title) {
  if (main_) SetWindowTextW(main_, title.c_str());
}

void Frame::bring_to_front() {
  if (!main_) return;
  SetWindowPos(main_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(main_);
}

RECT Frame::rect() const {
  RECT r{};
  if (main_) GetWindowRect(main_, &r);
  return r;
}

LRESULT CALLBACK Frame::main_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
    case WM_CANCELMODE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (self) self->last_focus_change_ = GetTickCount();
      break;
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const Callbacks& on = self->callbacks_;
  switch (msg) {
    case WM_SIZE:
      if (self->dock_top_) {
        self->layout();
        if (on.resized) on.resized(*self);
      }
      return 0;
    case WM_CLOSE:
      if (on.close_requested) on.close_requested(*self);
      return 0;
    case kQuitMessage:
      if (on.quit_requested) on.quit_requested(*self);
      return 0;
    case WM_ACTIVATE: {
      // Only the user's click counts: Word's own activations (and a dialog
      // handing the activation back) are already known to Word.
      const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
      if (LOWORD(wp) == WA_CLICKACTIVE && on.clicked_active) on.clicked_active(*self);
      return result;
    }
    case WM_DPICHANGED:
      // Word takes the place Windows suggests and lays its window out anew
      // for the new resolution (the docks keep their pixel sizes here).
      if (const auto* suggested = reinterpret_cast<const RECT*>(lp)) {
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (self && self->dock_top_) {
        self->layout();
        if (self->callbacks_.resized) self->callbacks_.resized(*self);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace standin
