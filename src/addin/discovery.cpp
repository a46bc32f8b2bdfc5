// Finding Word's windows by walking the window tree: Word's object model does
// not tell where its main window and document area are.
#include "addin/addin.h"

namespace plovera {
namespace {

constexpr const char16_t* kWordMainClass = u"OpusApp";

}  // namespace

// The front-most top-level "OpusApp" window whose caption is longer than 13
// characters (a hidden or caption-less one in front of the real one is skipped).
void Addin::find_main_window() {
  windows_.main_window = 0;
  host::WindowSystem& w = ws();
  host::Hwnd first = w.related_window(w.desktop_window(), host::WindowRelation::first_child);
  if (first == 0) return;
  first = w.related_window(first, host::WindowRelation::first_sibling);
  for (host::Hwnd h = first; h != 0; h = w.related_window(h, host::WindowRelation::next_sibling)) {
    w.window_class(h, text_);
    if (text_ == kWordMainClass && w.window_text_length(h) > 13) {
      windows_.main_window = h;
      return;
    }
  }
}

void Addin::find_document_area(host::Hwnd parent) { find_document_area(parent, word_version()); }

// Depth-first, pre-order, siblings in Z order; each match overwrites the
// previous one, so the last match is kept.
void Addin::find_document_area(host::Hwnd parent, double version) {
  host::WindowSystem& w = ws();
  host::Hwnd first = w.related_window(parent, host::WindowRelation::first_child);
  if (first == 0) return;
  first = w.related_window(first, host::WindowRelation::first_sibling);
  std::u16string cls;
  for (host::Hwnd h = first; h != 0; h = w.related_window(h, host::WindowRelation::next_sibling)) {
    w.window_class(h, cls);
    const std::int32_t caption_length = w.window_text_length(h);
    if (version < 12 && cls == u"_WwB" && caption_length > 1) windows_.word11_view = h;
    if (version > 11 && cls == u"_WwF") windows_.document_area = h;
    find_document_area(h, version);
  }
}

}  // namespace plovera
