// Building, placing and re-captioning tabs.
//
// Geometry of one tab in twips, for an icon at x and a caption Wl wide:
// face at x - 15 (width Wl + 540), icon at x, caption at x + 270, close
// button at x + 300 + Wl; consecutive faces stand 30 twips apart.
#include "addin/addin.h"
#include "tabstrip/frm_addin.h"
#include "tabstrip/numbers.h"

namespace plovera {

using host::Part;
using host::Picture;

float frmAddIn::face_right(std::int32_t c) {
  return form().Left(Image1(c)) + form().Width(Image1(c));
}

// Makes sure the four elements of control index c are loaded, in the order
// Label2, Image3, Image2, Image1. Loading stops at the first failure, so an
// index may be left part-loaded; the next attempt completes it.
void frmAddIn::ensure_elements(std::int32_t c) {
  for (Part array : {Part::caption, Part::icon, Part::close_button, Part::face})
    if (form().Count(array) <= c) form().Load(array, narrow(c));
}

// Appends a tab at the right end and selects it. The caller has stored the
// tab's window at wins(tabcount + 1). The model changes only after settab has
// succeeded.
void frmAddIn::addtab(const std::u16string& caption) {
  host::Form& f = form();
  const std::int32_t n = f.Count(Part::caption);
  std::int32_t c = n;
  if (n - 1 != tabcount) {
    for (std::int32_t k = 1; k < n; ++k)
      if (!f.Visible(Label2(k))) {
        c = k;
        break;
      }
  }
  ensure_elements(c);
  if (tabcount > 0) {
    settab(narrow(c), round_half_even(face_right(taborder(tabcount)) + 45.0f), caption);
  } else {
    settab(narrow(c), 75, caption);
    f.Top(Ileft, f.Top(Label2(1)));
    f.Top(Iright, f.Top(Label2(1)));
    f.Left(Ileft, 0.0f);
    f.Left(Iright, f.Width() - f.Width(Ileft));
  }
  tabcount = tabcount + 1;
  taborder(tabcount) = c;
  ctlpos(c) = tabcount;
  if (face_right(c) > f.Width()) {
    set_arrows_visible(true);
    toright();
  }
  mdown(c);
}

// Builds the four elements of control index c with the icon at x. The
// caption is assigned before any width is read: the label sizes itself to it.
void frmAddIn::settab(std::int16_t c, std::int32_t x, const std::u16string& caption) {
  host::Form& f = form();
  const auto xf = static_cast<float>(x);
  f.Visible(Label2(c), true);
  f.CopyFont(Label2(c), Label2(0));
  f.Caption(Label2(c), caption);
  f.AutoSize(Label2(c), true);
  f.Top(Label2(c), f.Height() - 30.0f - f.Height(Label2(1)));
  const float top = f.Top(Label2(1));

  f.Visible(Image3(c), true);
  f.Picture(Image3(c), host::Picture::document_icon);
  f.Stretch(Image3(c), true);
  f.Width(Image3(c), 240.0f);
  f.Height(Image3(c), 240.0f);
  f.Top(Image3(c), top + 45.0f);
  f.Left(Image3(c), xf);

  f.Left(Label2(c), f.Width(Image3(c)) + f.Left(Image3(c)) + 30.0f);

  f.Visible(Image2(c), true);
  f.Picture(Image2(c), host::Picture::close_normal);
  f.Stretch(Image2(c), true);
  f.Width(Image2(c), 210.0f);
  f.Height(Image2(c), 210.0f);
  f.Top(Image2(c), top + 45.0f);
  f.Left(Image2(c), f.Width(Label2(c)) + f.Left(Label2(c)) + 30.0f);

  f.Visible(Image1(c), true);
  f.Picture(Image1(c), host::Picture::face_normal);
  f.Stretch(Image1(c), true);
  f.Width(Image1(c), f.Width(Image2(c)) + f.Left(Image2(c)) - f.Left(Image3(c)) + 30.0f);
  f.Height(Image1(c), f.Height(Label2(1)));
  f.Top(Image1(c), top);
  f.Left(Image1(c), f.Left(Image3(c)) - 15.0f);
}

// Moves one tab so that its face starts at x, keeping the spacing of its parts.
void frmAddIn::tabpos(std::int32_t c, std::int32_t x) {
  host::Form& f = form();
  f.Left(Image1(c), static_cast<float>(x));
  f.Left(Image3(c), f.Left(Image1(c)) + 15.0f);
  f.Left(Label2(c), f.Width(Image3(c)) + f.Left(Image3(c)) + 30.0f);
  f.Left(Image2(c), f.Width(Label2(c)) + f.Left(Label2(c)) + 30.0f);
}

// Shifts the four parts of a tab horizontally.
void frmAddIn::shift_tab(std::int32_t c, float dx) {
  host::Form& f = form();
  for (host::Element e : {Image3(c), Label2(c), Image2(c), Image1(c)}) f.Left(e, f.Left(e) + dx);
}

// A new caption widens or narrows the tab; the tabs to its right shift by the
// same amount so the strip keeps its spacing. Arrows and scrolling are left
// as they are until the next scroll or new tab.
void frmAddIn::tabrename(std::int32_t c, const std::u16string& s) {
  host::Form& f = form();
  const float w0 = static_cast<float>(round_half_even(f.Width(Label2(c))));
  f.Caption(Label2(c), s);
  if (f.Width(Label2(c)) == w0) return;
  const std::int32_t d = round_half_even(f.Width(Label2(c)) - w0);
  f.Left(Image2(c), f.Width(Label2(c)) + f.Left(Label2(c)) + 30.0f);
  f.Width(Image1(c), f.Width(Image2(c)) + f.Left(Image2(c)) + 15.0f - f.Left(Image1(c)));
  if (ctlpos(c) == tabcount) return;
  for (std::int32_t q = ctlpos(c) + 1; q <= tabcount; ++q) shift_tab(taborder(q), static_cast<float>(d));
}

}  // namespace plovera
