// Scrolling the strip when its tabs do not fit: the two whole-strip layouts,
// the 1000-twip steps, and bringing one tab into view. A step shifts every
// tab by the same amount; nothing is measured or re-captioned.
#include "addin/addin.h"
#include "tabstrip/frm_addin.h"
#include "tabstrip/numbers.h"

namespace plovera {

namespace {
constexpr float kStep = 1000.0f;
}  // namespace

// Aligns the strip against the right arrow: the last face ends 75 twips
// before it, each earlier face 30 twips before the next.
void frmAddIn::toright() {
  if (tabcount == 0) return;
  host::Form& f = form();
  std::int32_t t = taborder(tabcount);
  tabpos(t, round_half_even(f.Left(Iright) - f.Width(Image1(t)) - 75.0f));
  for (std::int32_t p = tabcount - 1; p >= 1; --p) {
    t = taborder(p);
    const std::int32_t u = taborder(p + 1);
    tabpos(t, round_half_even(f.Left(Image1(u)) - f.Width(Image1(t)) - 30.0f));
  }
}

// Lays the strip out from the left edge: the first face at 60.
void frmAddIn::toleft() {
  if (tabcount == 0) return;
  tabpos(taborder(1), 60);
  for (std::int32_t p = 2; p <= tabcount; ++p)
    tabpos(taborder(p), round_half_even(face_right(taborder(p - 1)) + 30.0f));
}

// Moves every tab 1000 twips left, unless the last tab already ends at least
// 1000 twips before the right arrow.
void frmAddIn::moveright() {
  if (tabcount == 0) return;
  host::Form& f = form();
  if (!(f.Left(Iright) - kStep < face_right(taborder(tabcount)))) return;
  for (std::int32_t p = tabcount; p >= 1; --p) shift_tab(taborder(p), -kStep);
}

// Moves every tab 1000 twips right, unless the first tab already starts at
// least 1000 twips after the left arrow.
void frmAddIn::moveleft() {
  if (tabcount == 0) return;
  host::Form& f = form();
  if (!(f.Left(Ileft) + f.Width(Ileft) + kStep > f.Left(Image1(taborder(1))))) return;
  for (std::int32_t p = 1; p <= tabcount; ++p) shift_tab(taborder(p), kStep);
}

// Scrolls until the face of tab i lies within the bar's own edges (0 and the
// bar's width). Each step still applies its own stop rule.
void frmAddIn::bringintoview(std::int32_t i) {
  host::Form& f = form();
  if (f.Left(Image1(i)) < 0.0f) {
    const std::int32_t m = round_half_even(std::fabs(f.Left(Image1(i)))) / 1000 + 1;
    for (std::int32_t k = 0; k < m; ++k) moveleft();
  }
  if (face_right(i) > f.Width()) {
    const std::int32_t m = round_half_even(face_right(i) - f.Width()) / 1000 + 1;
    for (std::int32_t k = 0; k < m; ++k) moveright();
  }
}

// After a re-dock the bar may be wider or narrower: show the arrows when the
// tabs no longer fit, hide them and lay out from the left when they fit with
// 120 twips to spare, and pin the right arrow to the bar's right end. With no
// tab there is nothing to measure.
void frmAddIn::arrows_after_redock() {
  host::Form& f = form();
  if (tabcount > 0) {
    const std::int32_t last = taborder(tabcount), first = taborder(1);
    if (face_right(last) > f.Width() && !f.Visible(Iright)) set_arrows_visible(true);
    if (face_right(last) - f.Left(Image1(first)) + 120.0f < f.Width() && f.Visible(Iright)) {
      set_arrows_visible(false);
      toleft();
    }
  }
  f.Left(Iright, f.Width() - f.Width(Iright));
}

}  // namespace plovera
