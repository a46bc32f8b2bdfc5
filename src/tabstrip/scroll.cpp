// Scrolling the strip when its tabs do not fit: the two whole-strip layouts,
// the 1000-twip steps, and bringing one tab into view. A step shifts every
// tab by the same amount; nothing is measured or re-captioned. However many
// steps a scroll takes, each element is moved once.
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

// The number of 1000-twip steps towards the end, of at most `limit`, that
// are taken one by one: each moves every tab 1000 twips left, unless the
// last tab already ends at least 1000 twips before the right arrow. The
// stop rule is followed on the last face's left alone, in the same
// single-precision arithmetic the steps use.
std::int32_t TabBar::steps_towards_end(std::int32_t limit) {
  if (count() == 0) return 0;
  host::Form& f = form();
  const Slot last = slot_at(Position(count()));
  const float arrow = f.Left(kRightArrow), width = f.Width(face(last));
  float left = f.Left(face(last));
  std::int32_t steps = 0;
  while (steps < limit && arrow - kStep < left + width) {
    left = left + -kStep;
    ++steps;
  }
  return steps;
}

// The same towards the start: each step moves every tab 1000 twips right,
// unless the first tab already starts at least 1000 twips after the left
// arrow.
std::int32_t TabBar::steps_towards_start(std::int32_t limit) {
  if (count() == 0) return 0;
  host::Form& f = form();
  const float arrow_end = f.Left(kLeftArrow) + f.Width(kLeftArrow);
  float left = f.Left(face(slot_at(Position(1))));
  std::int32_t steps = 0;
  while (steps < limit && arrow_end + kStep > left) {
    left = left + kStep;
    ++steps;
  }
  return steps;
}

void TabBar::scroll_towards_end() { shift_all(-kStep, steps_towards_end(1)); }
void TabBar::scroll_towards_start() { shift_all(kStep, steps_towards_start(1)); }

// Scrolls until the face of a tab lies within the bar's own edges (0 and the
// bar's width), in as many steps as that takes, each with its own stop rule;
// every element moves once, by all the steps together.
void TabBar::bring_into_view(Slot s) {
  host::Form& f = form();
  if (f.Left(face(s)) < 0.0f) {
    const std::int32_t m = round_half_even(std::fabs(f.Left(face(s)))) / 1000 + 1;
    shift_all(kStep, steps_towards_start(m));
  }
  if (face_right(s) > f.Width()) {
    const std::int32_t m = round_half_even(face_right(s) - f.Width()) / 1000 + 1;
    shift_all(-kStep, steps_towards_end(m));
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
