// Tooltips: what shows after the pointer rests on an element for the
// system's hover time, and when the receiver is asked for its text.
#include "checks.h"

namespace forms_test {

using plovera::host::Part;

namespace {

bool is_tab_body(Element e) {
  return e.part == Part::face || e.part == Part::icon || e.part == Part::caption;
}

std::string ascii(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s.size() > 60 ? s.substr(0, 60) + "..." : s;
}

// Rests the pointer on `at` and waits for a tooltip (up to 3 s).
std::wstring rest_on(POINT at) {
  move_to(at);
  pump_until([] { return !shown_tooltip().empty(); }, 3000);
  return shown_tooltip();
}

}  // namespace

void check_tooltips(Bar& bar, Checks& t) {
  const HWND h = bar.hwnd;
  Recorder& ev = bar.events;
  move_to(to_screen(h, {700, 12}));  // the bar's background: no tooltip
  pump_for(100);
  ev.tooltip_asks = 0;
  move_to(centre_of(h, el(Part::caption, 2)));
  t.expect(shown_tooltip().empty() && ev.tooltip_asks == 0,
           "nothing shows and nothing is asked before the hover time");
  pump_until([] { return !shown_tooltip().empty(); }, 3000);
  t.expect(shown_tooltip() == L"Report \u2013 \u03a9" && ev.tooltip_asks == 1,
           "after it, a tab's caption shows; the receiver was asked once",
           ascii(shown_tooltip()) + ", asked " + std::to_string(ev.tooltip_asks));
  pump_for(300);
  t.expect(ev.tooltip_asks == 1, "resting on, the receiver is not asked again");

  ev.on_tooltip = [](Element e, std::u16string& text) {
    if (is_tab_body(e)) text = u"C:\\Documents\\Notes.docx";
  };
  std::wstring got = rest_on(centre_of(h, el(Part::close_button, 3)));
  t.expect(got == L"Close", "a close button's tooltip is Close", ascii(got));
  got = rest_on(centre_of(h, el(Part::caption, 3)));
  t.expect(got == L"C:\\Documents\\Notes.docx", "the receiver's text (a full path) replaces the caption",
           ascii(got));
  got = rest_on(centre_of(h, el(Part::right_arrow, 0)));
  t.expect(got == L"Scroll", "an arrow's tooltip is Scroll", ascii(got));

  ev.on_tooltip = [](Element, std::u16string&) { throw plovera::host_error(plovera::status::fail, "FullName"); };
  got = rest_on(centre_of(h, el(Part::caption, 1)));
  t.expect(got == L"Document1", "a receiver that fails leaves the caption", ascii(got));
  ev.on_tooltip = [](Element, std::u16string& text) { text.assign(32767, u'x'); };
  got = rest_on(centre_of(h, el(Part::caption, 3)));
  t.expect(got == L"Notes", "a text of 32,767 characters gives way to the caption", ascii(got));

  button(true);
  pump_for(50);
  t.expect(shown_tooltip().empty(), "a press hides the tooltip");
  button(false);
  ev.on_tooltip = nullptr;
  move_to(to_screen(h, {700, 12}));
  pump_for(50);
}

}  // namespace forms_test
