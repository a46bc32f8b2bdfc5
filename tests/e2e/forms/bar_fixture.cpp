#include "bar_fixture.h"

namespace forms_test {

using plovera::host::Part;
using plovera::host::Picture;

namespace {

HWND create_host(POINT at, int width_px) {
  static const wchar_t* const cls = L"FormsTestHost";
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = cls;
    registered = RegisterClassExW(&wc) != 0;
  }
  return CreateWindowExW(0, cls, L"Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, at.x, at.y,
                         width_px + 40, 80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

Bar::Bar(plovera::win32::Win32FormEngine& engine, POINT at, int width_px) {
  host = create_host(at, width_px);
  form = engine.CreateForm(events);
  hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(form->hWnd()));
  SetParent(hwnd, host);
  SetWindowPos(hwnd, HWND_TOP, 10, 30, width_px, 26, SWP_FRAMECHANGED);
  form->Picture(Picture::design_bar);
  form->Visible(el(Part::left_arrow, 0), false);
  form->Visible(el(Part::right_arrow, 0), false);
  form->Show();
  settle();
}

Bar::~Bar() {
  form.reset();
  if (host) DestroyWindow(host);
}

void Bar::add_tab(int c, float x, const std::u16string& caption) {
  auto& f = *form;
  if (f.Count(Part::caption) <= c)
    for (Part part : {Part::caption, Part::icon, Part::close_button, Part::face}) f.Load(part, c);
  const Element label = el(Part::caption, c), icon = el(Part::icon, c);
  const Element close = el(Part::close_button, c), face = el(Part::face, c);
  f.Visible(label, true);
  f.CopyFont(label, el(Part::caption, 0));
  f.Caption(label, caption);
  f.AutoSize(label, true);
  const Element first_label = el(Part::caption, 1);
  f.Top(label, f.Height() - 30 - f.Height(first_label));
  const float top = f.Top(first_label);
  f.Visible(icon, true);
  f.Picture(icon, Picture::document_icon);
  f.Stretch(icon, true);
  f.Width(icon, 240);
  f.Height(icon, 240);
  f.Top(icon, top + 45);
  f.Left(icon, x);
  f.Left(label, f.Width(icon) + f.Left(icon) + 30);
  f.Visible(close, true);
  f.Picture(close, Picture::close_normal);
  f.Stretch(close, true);
  f.Width(close, 210);
  f.Height(close, 210);
  f.Top(close, top + 45);
  f.Left(close, f.Width(label) + f.Left(label) + 30);
  f.Visible(face, true);
  f.Picture(face, Picture::face_normal);
  f.Stretch(face, true);
  f.Width(face, f.Width(close) + f.Left(close) - f.Left(icon) + 30);
  f.Height(face, f.Height(first_label));
  f.Top(face, top);
  f.Left(face, f.Left(icon) - 15);
}

float Bar::after(int c) {
  const Element face = el(Part::face, c);
  return form->Left(face) + form->Width(face) + 45;
}

void Bar::show_arrows() {
  auto& f = *form;
  const Element left = el(Part::left_arrow, 0), right = el(Part::right_arrow, 0);
  f.Top(left, f.Top(el(Part::caption, 1)));
  f.Top(right, f.Top(el(Part::caption, 1)));
  f.Left(left, 0);
  f.Left(right, f.Width() - f.Width(left));
  f.Visible(left, true);
  f.Visible(right, true);
}

bool Bar::settle() {
  return pump_until([this] { return !GetUpdateRect(hwnd, nullptr, FALSE); }, 2000);
}

}  // namespace forms_test
