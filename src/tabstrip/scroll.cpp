// Scrolling the strip when its tabs do not fit: the two whole-strip layouts,
// the 1000-twip steps, and bringing one tab into view. A step shifts every
// tab by the same amount; nothing is measured or re-captioned.
#include <cmath>

#include "base/numbers.h"
#include "tabstrip/tab_bar.h"

namespace plovera {

namespace {
constexpr float kStep = 1000.0f;
}  // namespace

// Aligns the strip against the right arrow: the last face ends 75 twips
// before it, each earlier face 30 twips before the next.
void TabBar::align_right() {
  if (count() == 0) return;
  host::Form& f = form();
  Slot s = slot_at(Position(count()));
  place_tab(s, round_half_even(f.Left(kRightArrow) - f.Width(face(s)) - 75.0f));
  for (std::int32_t p = count() - 1; p >= 1; --p) {
    s = slot_at(Position(p));
    const Slot next = slot_at(Position(p + 1));
    place_tab(s, round_half_even(f.Left(face(next)) - f.Width(face(s)) - 30.0f));
  }
}

// Lays the strip out from the left edge: the first face at 60.
void TabBar::align_left() {
  if (count() == 0) return;
  place_tab(slot_at(Position(1)), 60);
  for (std::int32_t p = 2; p <= count(); ++p)
    place_tab(slot_at(Position(p)), round_half_even(face_right(slot_at(Position(p - 1))) + 30.0f));
}

// Moves every tab 1000 twips left, unless the last tab already ends at least
// 1000 twips before the right arrow.
void TabBar::scroll_towards_end() {
  if (count() == 0) return;
  host::Form& f = form();
  if (!(f.Left(kRightArrow) - kStep < face_right(slot_at(Position(count()))))) return;
  for (std::int32_t p = count(); p >= 1; --p) shift_tab(slot_at(Position(p)), -kStep);
}

// Moves every tab 1000 twips right, unless the first tab already starts at
// least 1000 twips after the left arrow.
void TabBar::scroll_towards_start() {
  if (count() == 0) return;
  host::Form& f = form();
  if (!(f.Left(kLeftArrow) + f.Width(kLeftArrow) + kStep > f.Left(face(slot_at(Position(1))))))
    return;
  for (std::int32_t p = 1; p <= count(); ++p) shift_tab(slot_at(Position(p)), kStep);
}

// Scrolls until the face of a tab lies within the bar's own edges (0 and the
// bar's width). Each step still applies its own stop rule.
void TabBar::bring_into_view(Slot s) {
  host::Form& f = form();
  if (f.Left(face(s)) < 0.0f) {
    const std::int32_t m = round_half_even(std::fabs(f.Left(face(s)))) / 1000 + 1;
    for (std::int32_t k = 0; k < m; ++k) scroll_towards_start();
  }
  if (face_right(s) > f.Width()) {
    const std::int32_t m = round_half_even(face_right(s) - f.Width()) / 1000 + 1;
    for (std::int32_t k = 0; k < m; ++k) scroll_towards_end();
  }
}

// After the bar was docked again it may be wider or narrower: show the
// arrows when the tabs no longer fit, hide them and lay out from the left
// when they fit with 120 twips to spare, and pin the right arrow to the
// bar's right end. With no tab there is nothing to measure.
void TabBar::arrows_after_redock() {
  host::Form& f = form();
  if (count() > 0) {
    const Slot last = slot_at(Position(count())), first = slot_at(Position(1));
    if (face_right(last) > f.Width() && !f.Visible(kRightArrow)) set_arrows_visible(true);
    if (face_right(last) - f.Left(face(first)) + 120.0f < f.Width() && f.Visible(kRightArrow)) {
      set_arrows_visible(false);
      align_left();
    }
  }
  f.Left(kRightArrow, f.Width() - f.Width(kRightArrow));
}

}  // namespace plovera
