// The form's design contents, units, labels, the element query and the
// repaint discipline.
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "checks.h"
#include "host/form_design.h"

namespace forms_test {

using plovera::host::Part;
using plovera::host::Picture;

namespace {

std::string twips(float a, float b) {
  return std::to_string(static_cast<int>(a)) + " x " + std::to_string(static_cast<int>(b));
}

RECT union_of(RECT a, RECT b) {
  RECT u{};
  UnionRect(&u, &a, &b);
  return u;
}

std::string rect_text(RECT r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// The extent of `text` in the font the label template asks for, measured
// here on its own; 0 x 0 when the installed face is not Tahoma.
SIZE tahoma_extent(int em_px, const wchar_t* text) {
  SIZE size{};
  HFONT font = CreateFontW(-em_px, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  if (std::wcscmp(face, L"Tahoma") == 0)
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return size;
}

}  // namespace

void check_design_and_units(Engine& engine, Checks& t) {
  Recorder ev;
  auto form = engine.CreateForm(ev);
  auto& f = *form;
  const HWND h = hwnd_of(f);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  t.expect(IsWindow(h) && !IsWindowVisible(h) && std::wcscmp(cls, L"PloveraTabBar") == 0,
           "form loads as a hidden PloveraTabBar window");
  t.expect(f.Width() == 8115 && f.Height() == 360, "design client size is 8115 x 360 twips",
           twips(f.Width(), f.Height()));
  t.expect(f.Count(Part::caption) == 1 && f.Count(Part::face) == 1 && f.Count(Part::close_button) == 1 &&
               f.Count(Part::icon) == 1,
           "only the templates are loaded");
  const Element label0 = el(Part::caption, 0), close0 = el(Part::close_button, 0);
  t.expect(f.Caption(label0) == plovera::host::design::caption_template_text &&
               f.Width(label0) == 675 && !f.Visible(label0) && f.Width(close0) == 315 &&
               f.Height(close0) == 255 &&
               f.Picture(el(Part::left_arrow, 0)) == Picture::scroll_left &&
               f.Width(el(Part::right_arrow, 0)) == 285,
           "templates and arrows carry their design values");
  t.expect(!f.TimerEnabled(plovera::host::Timer::poll) &&
               !f.TimerEnabled(plovera::host::Timer::scroll_left),
           "timers start disabled");

  f.Width(13000);
  RECT client{};
  GetClientRect(h, &client);
  t.expect(client.right == 867 && f.Width() == 13005,
           "form width in twips sets whole pixels (13000 -> 867 px -> 13005)",
           std::to_string(client.right) + " px");

  f.Load(Part::icon, 1);
  const Element icon = el(Part::icon, 1);
  t.expect(f.Count(Part::icon) == 2 && f.Width(icon) == 495 && !f.Visible(icon),
           "Load copies the template and starts hidden");
  f.Left(icon, 75);
  f.Top(icon, 52.5f);
  f.Width(icon, 240);
  f.Height(icon, 22.5f);
  const RECT r = query(h, icon).q.rect;
  t.expect(r.left == 5 && r.top == 4 && r.right == 21 && r.bottom == 6,
           "twips become pixels only when drawn, rounded half to even", rect_text(r));

  t.expect(throws_host_error([&] { f.Load(Part::icon, 1); }) &&
               throws_host_error([&] { f.Left(el(Part::face, 5)); }) &&
               throws_host_error([&] { f.Caption(icon, u"x"); }) &&
               throws_host_error([&] { f.Picture(label0, Picture::face_normal); }) &&
               throws_host_error([&] { f.Load(Part::left_arrow, 1); }) &&
               throws_host_error([&] { f.Drag(label0); }) &&
               throws_host_error([&] { f.Visible(el(Part::caption, -1), true); }),
           "calls on elements not loaded or of the wrong kind fail with host_error");
}

// Twips against the screen's real resolution: run at 96 and at 120 dpi.
void check_units(Engine& engine, Checks& t) {
  HDC screen = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX), dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int tx = 1440 / dpi_x, ty = 1440 / dpi_y;  // exact at 96, 120 and 144 dpi
  std::printf("  measured: %d x %d dpi, %d x %d twips per pixel\n", dpi_x, dpi_y, tx, ty);
  const std::string at = " at " + std::to_string(dpi_x) + " dpi";

  Recorder ev;
  auto form = engine.CreateForm(ev);
  auto& f = *form;
  f.Width(13000);
  RECT client{};
  GetClientRect(hwnd_of(f), &client);
  const int width_px = static_cast<int>(13000.0 / tx + 0.5);
  const int height_px = static_cast<int>(360.0 / ty + 0.5);
  t.expect(client.right == width_px && f.Width() == width_px * tx &&
               client.bottom == height_px && f.Height() == height_px * ty,
           "form size in twips follows the screen's twips per pixel" + at,
           std::to_string(client.right) + " x " + std::to_string(client.bottom) + " px");

  f.Load(Part::caption, 1);
  const Element label = el(Part::caption, 1);
  f.Caption(label, u"Document1");
  f.AutoSize(label, true);
  const SIZE tahoma = tahoma_extent(static_cast<int>(11.25 * dpi_y / 72 + 0.5), L"Document1");
  t.expect(tahoma.cx > 0 && f.Width(label) == tahoma.cx * tx && f.Height(label) == tahoma.cy * ty,
           "labels measure in Tahoma 11.25 pt" + at,
           twips(f.Width(label), f.Height(label)) + " vs " + twips(tahoma.cx * tx, tahoma.cy * ty));

  f.Left(label, 1500);
  f.Top(label, 300);
  const RECT r = query(hwnd_of(f), label).q.rect;
  t.expect(r.left == 1500 / tx && r.top == 300 / ty && r.right == r.left + tahoma.cx,
           "element rectangles in pixels follow the screen" + at, rect_text(r));
}

void check_labels_and_query(Engine& engine, Checks& t) {
  Recorder ev;
  auto form = engine.CreateForm(ev);
  auto& f = *form;
  const HWND h = hwnd_of(f);
  f.Load(Part::caption, 1);
  const Element label = el(Part::caption, 1);
  f.CopyFont(label, el(Part::caption, 0));
  f.Caption(label, u"Document1");
  f.AutoSize(label, true);
  const SIZE tahoma = tahoma_extent(15, L"Document1");
  t.expect(tahoma.cx > 0 && f.Width(label) == tahoma.cx * 15 && f.Height(label) == tahoma.cy * 15,
           "a label sizes itself to its text in Tahoma 11.25 pt (15 px at 96 dpi)",
           twips(f.Width(label) / 15, f.Height(label) / 15) + " px vs " +
               twips(tahoma.cx, tahoma.cy));

  f.Width(label, 99);
  t.expect(f.Width(label) == tahoma.cx * 15, "an auto-sized label ignores a width");
  f.Caption(label, u"");
  t.expect(f.Width(label) == 0 && f.Height(label) == tahoma.cy * 15, "an empty caption is 0 wide");

  f.Caption(label, u"W");
  const float one = f.Width(label);
  f.Caption(label, std::u16string(10000, u'W'));
  t.expect(one > 0 && f.Width(label) == 10000 * one,
           "a 10000-character caption is measured whole",
           std::to_string(f.Width(label)) + " vs " + std::to_string(10000 * one));

  // A limit: a longer text is cut to it (and drawn with an ellipsis), the
  // caption stays whole; a shorter one keeps its own width.
  f.MaxWidth(label, 3600);
  t.expect(f.Width(label) == 3600 && f.Caption(label).size() == 10000,
           "a label no wider than its limit keeps its whole caption", std::to_string(f.Width(label)));
  f.Caption(label, u"Document1");
  t.expect(f.Width(label) == tahoma.cx * 15, "a text within the limit keeps its own width");
  f.MaxWidth(label, 0);

  const std::u16string greek = u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
  const std::u16string mixed = greek + u" \u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430 "
                                       u"\u65e5\u672c\u8a9e \U0001F600\U0001F600";
  f.Caption(label, greek);
  const float greek_width = f.Width(label);
  f.Caption(label, mixed);
  const Queried q = query(h, label);
  t.expect(f.Caption(label) == mixed && f.Width(label) > greek_width &&
               std::u16string(reinterpret_cast<const char16_t*>(q.q.caption)) == mixed,
           "captions in any script keep their text; the query reports it");

  std::u16string smileys;
  for (int i = 0; i < 300; ++i) smileys += u"\U0001F600";
  f.Caption(label, smileys);
  const Queried cut = query(h, label);
  const std::size_t n = std::wcslen(cut.q.caption);
  t.expect(n == 258 && cut.q.caption[n - 1] == 0xDE00,
           "the query cuts a long caption without splitting a surrogate pair",
           std::to_string(n));

  f.Visible(label, true);
  const Queried shown = query(h, label);
  const Queried missing = query(h, el(Part::caption, 2));
  const Queried whole = query(h, el(Part::bar, 0));
  t.expect(shown.ok && shown.q.loaded == 2 && shown.q.visible && !missing.ok &&
               missing.q.loaded == 2 && whole.ok &&
               whole.q.picture == static_cast<int>(Picture::design_bar) &&
               whole.q.rect.right == 541 && whole.q.rect.bottom == 24,
           "the query answers loaded, visible, rectangle and picture");
}

// Another process sends and posts the query with an address in this process:
// the bar never writes there, never faults, and tells that process nothing.
void check_query_from_another_process(Engine& engine, Checks& t) {
  Bar bar(engine, {40, 260}, 600);
  bar.add_tab(1, 75, u"Secret.docx");
  bar.settle();
  plovera::win32::ElementQuery victim;
  std::memset(&victim, 0xAB, sizeof victim);
  victim.size = sizeof victim;  // a well-formed query, had the bar read it
  victim.part = static_cast<std::uint8_t>(Part::caption);
  victim.index = 1;
  const plovera::win32::ElementQuery before = victim;

  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --query-from-outside " +
                         std::to_wstring(reinterpret_cast<std::uintptr_t>(bar.hwnd)) + L" " +
                         std::to_wstring(reinterpret_cast<std::uintptr_t>(&victim));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &si, &pi) != FALSE;
  t.expect(started, "a second process starts");
  if (!started) return;
  // This thread answers the other process's sends while it waits.
  const bool ended = pump_until([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; },
                                10000);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  pump_for(100);  // the posted ones
  t.expect(ended && code == 0,
           "the bar answers no query sent from another process, and hands it no key",
           "exit " + std::to_string(code));
  t.expect(std::memcmp(&victim, &before, sizeof victim) == 0,
           "queries sent and posted from another process write nothing into this one");
  t.expect(IsWindow(bar.hwnd) && bar.form->Caption(el(Part::caption, 1)) == u"Secret.docx",
           "the bar lives on after queries with bad addresses");
}

// The other side of the check above: sends and posts the query to `bar`
// with `address`, as a hostile process would. Exits 0 when every send was
// refused.
int query_from_outside(HWND bar, LPARAM address) {
  const UINT message = RegisterWindowMessageW(plovera::win32::kQueryElementMessage);
  int answered = 0;
  DWORD_PTR result = 0;
  for (LPARAM where : {address, LPARAM{0}, LPARAM{0x10}}) {
    for (WPARAM key : {WPARAM{0}, WPARAM{1}, ~WPARAM{0}}) {
      if (SendMessageTimeoutW(bar, message, key, where, SMTO_ABORTIFHUNG, 2000, &result) && result)
        ++answered;
    }
  }
  for (WPARAM key : {WPARAM{0}, WPARAM{2}}) PostMessageW(bar, message, key, address);
  std::printf("%d queries answered\n", answered);
  return answered == 0 ? 0 : 1;
}

void check_repaint(Bar& bar, Checks& t) {
  auto& f = *bar.form;
  const HWND h = bar.hwnd;
  t.expect(bar.settle(), "the bar finishes painting");
  const std::uint32_t before = plovera::win32::bar_paint_count(h);
  pump_for(300);
  t.expect(before > 0 && plovera::win32::bar_paint_count(h) == before,
           "an idle bar paints nothing", std::to_string(before));

  const Element face = el(Part::face, 2), label = el(Part::caption, 2);
  f.Left(face, f.Left(face));
  f.Width(face, f.Width(face));
  f.Visible(face, true);
  f.Picture(face, f.Picture(face));
  f.Stretch(face, true);
  f.Caption(label, std::u16string(f.Caption(label)));
  f.CopyFont(label, el(Part::caption, 0));
  f.Picture(Picture::design_bar);
  f.Width(f.Width());
  f.Left(el(Part::face, 0), 999);          // the hidden template
  f.Caption(el(Part::caption, 0), u"hidden");
  f.Picture(el(Part::close_button, 0), Picture::close_hot);
  const bool dirty = GetUpdateRect(h, nullptr, FALSE);
  pump_for(100);
  t.expect(!dirty && plovera::win32::bar_paint_count(h) == before,
           "setting the same values or changing hidden elements repaints nothing");

  const Element icon = el(Part::icon, 2);
  const RECT old_rect = query(h, icon).q.rect;
  f.Left(icon, f.Left(icon) + 150);
  const RECT new_rect = query(h, icon).q.rect;
  // A change made outside the bar's own messages reaches Windows from a
  // message the bar posts itself; the paint comes after it.
  dispatch_posted(h);
  RECT dirty_rect{};
  GetUpdateRect(h, &dirty_rect, FALSE);
  const RECT expected = union_of(old_rect, new_rect);
  t.expect(EqualRect(&dirty_rect, &expected) != FALSE,
           "moving an element invalidates its old and new rectangles only",
           rect_text(dirty_rect) + " vs " + rect_text(expected));
  bar.settle();
  t.expect(plovera::win32::bar_paint_count(h) == before + 1, "one change, one paint",
           std::to_string(plovera::win32::bar_paint_count(h) - before));
  f.Left(icon, f.Left(icon) - 150);
  bar.settle();
}

}  // namespace forms_test
