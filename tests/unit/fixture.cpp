#include "fixture.h"

#include <sstream>

#include "base/numbers.h"
#include "host/word_versions.h"

namespace plovera::testing {

using host::Part;

std::string utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

WordFixture::WordFixture(std::u16string version) {
  word.version(version);
  word.width_points(600);
  const host::Hwnd desk = ws.desktop();
  main = ws.create_window(desk, u"OpusApp", u"Document1 - Microsoft Word", {0, 0, 1000, 700});
  top_dock = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockTop", {0, 0, 1000, 60});
  right_dock = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockRight", {976, 60, 1000, 700});
  // Before version 12 the document area is the parent of a "_WwB" window.
  document_area = ws.create_window(main, u"_WwF", u"", {0, 60, 976, 700});
  if (version_number(version) < host::word2007)
    legacy_document_view =
        ws.create_window(document_area, u"_WwB", u"Document1", {0, 60, 976, 700});
}

WordFixture::~WordFixture() = default;

void WordFixture::relayout(std::int32_t width, std::int32_t height) {
  ws.set_rect(main, {0, 0, width, height});
  ws.set_rect(top_dock, {0, 0, width, 60});
  ws.set_rect(right_dock, {width - 24, 60, width, height});
  ws.set_rect(document_area, {0, 60, width - 24, height});
  if (legacy_document_view) ws.set_rect(legacy_document_view, {0, 60, width - 24, height});
}

void WordFixture::start() {
  connect.on_connection(word.host_object(), 1, nullptr);
  ASSERT_EQ(word.raise_NewDocument(), status::ok);
  tick();  // the start runs on the tick after the event
}

void WordFixture::open(int n) {
  for (int i = 1; i <= n; ++i) {
    std::string name = "Doc" + std::to_string(i);
    word.open_document(std::u16string(name.begin(), name.end()));
  }
}

sim::SimButton& WordFixture::menu_button(MenuItem item) {
  sim::SimCommandBar* popup = word.bar(u"tabPopup");
  if (!popup) throw std::logic_error("no tabPopup");
  return *popup->buttons().at(static_cast<std::size_t>(item));
}

// The form itself, which the test may change by hand: the bar then reads its
// layout back from the form before it next uses it.
sim::SimForm& WordFixture::form() {
  sim::SimForm& f = loaded_form();
  bar.read_layout_back_for_testing();
  return f;
}

sim::SimForm& WordFixture::loaded_form() {
  sim::SimForm* f = forms.form();
  if (!f) throw std::logic_error("the bar's form is not loaded");
  return *f;
}

const sim::ElementRecord& WordFixture::el(Part part, std::int32_t index) {
  return loaded_form().element({part, static_cast<std::int16_t>(index)});
}

sim::SimWindow& WordFixture::window(const std::u16string& caption) {
  for (sim::SimWindow* w : word.windows())
    if (w->caption() == caption) return *w;
  throw std::logic_error("no window " + utf8(caption));
}

Slot WordFixture::slot_with_caption(const std::u16string& caption) {
  for (std::int32_t p = 1; p <= bar.count(); ++p)
    if (el(Part::caption, slot(p)).caption == caption) return slot(p);
  throw std::logic_error("no tab " + utf8(caption));
}

std::string WordFixture::strip() {
  std::string s;
  for (std::int32_t p = 1; p <= bar.count(); ++p) {
    const Slot c = slot(p);
    if (!s.empty()) s += ' ';
    s += utf8(el(Part::caption, c).caption);
    if (c == bar.selected()) s += '*';
  }
  return s;
}

std::string WordFixture::lefts() {
  std::ostringstream s;
  for (std::int32_t p = 1; p <= bar.count(); ++p)
    s << (p > 1 ? " " : "") << el(Part::face, slot(p)).left;
  return s.str();
}

std::string WordFixture::word_windows() {
  std::string s;
  for (sim::SimWindow* w : word.windows()) s += (s.empty() ? "" : " ") + utf8(w->caption());
  return s;
}

std::string WordFixture::invariants() {
  std::string broken = bar.check_invariants_for_testing();
  if (!broken.empty()) return broken;
  for (std::int32_t p = 1; p <= bar.count(); ++p) {
    auto* w = static_cast<sim::SimWindow*>(addin.model().window_at(Position(p)).get());
    if (!w->is_open()) continue;  // removed on a later pass
    if (w->caption() != el(Part::caption, slot(p)).caption)
      return "tab at " + std::to_string(p) + " shows another window's caption";
  }
  return {};
}

}  // namespace plovera::testing
