// A loaded add-in inside a simulated Word: Word's object model, its window
// tree (main window, top and right docks, document area), the forms engine
// and a clock. Tests drive it as Word and the user would and read the strip
// back as strings.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/addin.h"
#include "addin/connect.h"
#include "tabstrip/tab_model.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera::testing {

std::string utf8(const std::u16string& s);

// How GoogleTest prints the strong index types.
}  // namespace plovera::testing
namespace plovera {
inline void PrintTo(Slot s, std::ostream* os) { *os << "Slot(" << s.value << ")"; }
inline void PrintTo(Position p, std::ostream* os) { *os << "Position(" << p.value << ")"; }
}  // namespace plovera
namespace plovera::testing {

class WordFixture {
 public:
  explicit WordFixture(std::u16string version = u"12.0");
  ~WordFixture();

  sim::SimWord word;
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Addin addin{HostServices{ws, forms}};
  Connect connect{addin};
  TabBar& bar = addin.bar();

  // Word's windows: main window 1000 x 700 at the screen's origin, the top
  // dock 60 high, the right dock 24 wide, the document area between them.
  host::Hwnd main = 0, top_dock = 0, right_dock = 0, document_area = 0, legacy_document_view = 0;
  // Lays Word's windows out again as Word does after a resize.
  void relayout(std::int32_t width, std::int32_t height);

  // Connects and raises the first event: the bar starts on the tick after it.
  void start();
  // Opens documents "Doc1".."DocN" (N windows).
  void open(int n);
  // One tick of the bar's 10 ms timer (or n of them).
  void tick(int n = 1) { forms.advance(10u * static_cast<std::uint32_t>(n)); }

  // The bar's form, to change by hand or to inspect; el() reads an element.
  sim::SimForm& form();
  // The popup menu's button of an entry.
  sim::SimButton& menu_button(MenuItem item);
  const sim::ElementRecord& el(host::Part part, std::int32_t index);
  const sim::ElementRecord& el(host::Part part, Slot s) { return el(part, s.value); }
  // The slot of the tab at position p.
  Slot slot(std::int32_t p) { return bar.slot_at(Position(p)); }
  sim::SimWindow& window(const std::u16string& caption);
  // The slot of the tab showing `caption`.
  Slot slot_with_caption(const std::u16string& caption);

  // The strip in position order: captions, "*" after the selected tab.
  std::string strip();
  // Face lefts in position order, space-separated.
  std::string lefts();
  // Captions of Word's windows in Word's order.
  std::string word_windows();
  // Empty when the tab model's invariants hold and every tab shows its own
  // window's caption.
  std::string invariants();

 private:
  sim::SimForm& loaded_form();
};

}  // namespace plovera::testing
