// The forms engine under Wine: a real bar window, real input, real timers.
//
//   forms_test            runs every check, prints one line per check and
//                         "N passed, M failed"; exit code 1 on a failure
//   forms_test --units    only the checks of twips against the screen's
//                         resolution (run again at another dpi)
//   forms_test --query-from-outside HWND ADDRESS
//                         the hostile second process of the query check
//   forms_test --show F   shows a bar of three tabs (one selected, one hot
//                         face, one hot close button, arrows), and two bars
//                         on the other backgrounds, until the file F
//                         exists, for a screenshot
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <ole2.h>

#include "checks.h"

using namespace forms_test;
using plovera::host::Part;
using plovera::host::Picture;

namespace {

void check_re_parenting(Bar& bar, Checks& t) {
  const LONG_PTR style = GetWindowLongPtrW(bar.hwnd, GWL_STYLE);
  t.expect(GetParent(bar.hwnd) == bar.host && (style & WS_CHILD) && !(style & WS_POPUP) &&
               IsWindowVisible(bar.hwnd),
           "after SetParent the bar is a visible child of its new parent");
}

int run_checks() {
  Engine engine(GetModuleHandleW(nullptr));
  Checks t;
  check_design_and_units(engine, t);
  check_units(engine, t);
  check_labels_and_query(engine, t);
  check_query_from_another_process(engine, t);
  check_pictures_per_resolution(t);
  {
    Bar bar(engine, {40, 40}, 900);
    lay_out_three_tabs(bar);
    check_re_parenting(bar, t);
    check_repaint(bar, t);
    check_clicks_and_hits(bar, t);
    check_capture(bar, t);
    check_drag(bar, t);
    check_timers(bar, t);
    check_tooltips(bar, t);
    check_accessible(bar, t);
  }
  check_handlers_that_fail_or_destroy(engine, t);
  check_quick_clicks_on_sliding_tabs(engine, t);
  check_accessible_outlives_bar(engine, t);
  check_accessible_events_reentered(engine, t);
  std::printf("%d passed, %d failed\n", t.passed(), t.failed());
  return t.failed() == 0 ? 0 : 1;
}

// A Unix path as Wine sees it through drive Z:.
std::wstring wine_path(const char* unix_path) {
  std::wstring out = L"Z:";
  for (const char* p = unix_path; *p; ++p) out += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return out;
}

int run_unit_checks() {
  Engine engine(GetModuleHandleW(nullptr));
  Checks t;
  check_units(engine, t);
  std::printf("%d passed, %d failed\n", t.passed(), t.failed());
  return t.failed() == 0 ? 0 : 1;
}

int show_for_screenshot(const char* done_file) {
  Engine engine(GetModuleHandleW(nullptr));
  Bar bar(engine, {0, 0}, 640);
  lay_out_three_tabs(bar, 375);
  auto& f = *bar.form;
  f.Picture(el(Part::face, 1), Picture::none);  // the selected tab
  f.Picture(el(Part::face, 2), Picture::face_hot);                 // the hot face
  f.Picture(el(Part::close_button, 3), Picture::close_hot);                 // the hot close button
  // Two more bars show the other backgrounds: grey-blue (Word 12 and later
  // with a theme) and grey (Word before 12).
  Bar themed(engine, {0, 90}, 640), classic(engine, {0, 180}, 640);
  for (Bar* other : {&themed, &classic}) {
    other->form->Picture(other == &themed ? Picture::bar_grey_blue : Picture::bar_grey);
    other->add_tab(1, 75, u"Document1");
    other->add_tab(2, other->after(1), u"Draft");
    other->form->Picture(el(Part::face, 2), plovera::host::Picture::none);
    other->settle();
  }
  bar.settle();
  std::printf("READY\n");
  std::fflush(stdout);
  const std::wstring done = wine_path(done_file);
  pump_until([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);  // the bar hands its accessible objects out through COM
  if (argc >= 4 && std::strcmp(argv[1], "--query-from-outside") == 0) {
    const auto number = [](const char* text) {
      return static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 10));
    };
    return query_from_outside(reinterpret_cast<HWND>(number(argv[2])),
                              static_cast<LPARAM>(number(argv[3])));
  }
  if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) return show_for_screenshot(argv[2]);
  if (argc >= 2 && std::strcmp(argv[1], "--units") == 0) return run_unit_checks();
  return run_checks();
}
