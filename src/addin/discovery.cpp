// Finding Word's windows by walking the window tree: Word's object model does
// not tell where its main window and document area are.
#include "addin/addin.h"

namespace plovera {
namespace {

constexpr const char16_t* kWordMainClass = u"OpusApp";

}  // namespace

// The front-most top-level "OpusApp" window of Word's own process whose
// caption is longer than 13 characters (a hidden or caption-less one in front
// of the real one is skipped, and so is another Word's, or another program's
// window of that class).
void Addin::find_main_window() {
  frame().set_main_window(0);
  host::WindowSystem& w = ws();
  host::Hwnd first = w.related_window(w.desktop_window(), host::WindowRelation::first_child);
  if (first == 0) return;
  first = w.related_window(first, host::WindowRelation::first_sibling);
  for (host::Hwnd h = first; h != 0; h = w.related_window(h, host::WindowRelation::next_sibling)) {
    w.window_class(h, text_);
    if (text_ == kWordMainClass && w.window_text_length(h) > 13 && w.in_this_process(h)) {
      frame().set_main_window(h);
      return;
    }
  }
}

}  // namespace plovera
