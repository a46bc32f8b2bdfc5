// Scrolling the strip when its tabs do not fit: the two whole-strip layouts,
// the 1000-twip steps, and bringing one tab into view. The rules run on the
// strip's layout (StripLayout); a step shifts every tab by the same amount
// and nothing is measured or re-captioned. However many steps a scroll
// takes, each element is moved once.
#include "tabstrip/tab_bar.h"

namespace plovera {

using host::Part;

namespace {
constexpr float kStep = 1000.0f;
}  // namespace

// Aligns the strip against the right arrow: the last face ends 75 twips
// before it, each earlier face 30 twips before the next.
void TabBar::align_right() {
  layout().align_right();
  show_layout();
}

// Lays the strip out from the left edge: the first face at 60.
void TabBar::align_left() {
  layout().align_left();
  show_layout();
}

// One step each, unless the stop rule holds.
void TabBar::scroll_towards_end() {
  StripLayout& strip = layout();
  strip.shift_all(-kStep, strip.steps_towards_end(1));
  show_layout();
}

void TabBar::scroll_towards_start() {
  StripLayout& strip = layout();
  strip.shift_all(kStep, strip.steps_towards_start(1));
  show_layout();
}

// The arrow at the strip's start (the left one, or the right one in a
// right-to-left strip) scrolls back towards the first tab; the other one
// onwards to later tabs. Each arrow shows the tabs hidden beyond its edge.
bool TabBar::scrolls_towards_end(Part arrow) const noexcept {
  return (arrow == Part::right_arrow) != right_to_left_;
}

void TabBar::scroll_by_arrow(Part arrow) {
  if (scrolls_towards_end(arrow)) scroll_towards_end();
  else scroll_towards_start();
}

// A right-to-left strip is reflected in the form's width: it follows every
// change of that width, so the first tab stays at the right edge.
void TabBar::mirror_in(float form_width) {
  if (right_to_left_) layout_.set_mirror({true, form_width});
}

// Scrolls until the face of a tab lies within the bar's own edges (0 and the
// bar's width), in as many steps as that takes, each with its own stop rule.
void TabBar::bring_into_view(Slot s) {
  StripLayout& strip = layout();
  strip.bring_into_view(s, form().Width());
  show_layout();
}

// After the bar was docked again it may be wider or narrower: show the
// arrows when the tabs no longer fit, hide them and lay out from the left
// when they fit with 120 twips to spare, and pin the right arrow to the
// bar's right end. With no tab there is nothing to measure.
void TabBar::arrows_after_redock() {
  host::Form& f = form();
  StripLayout& strip = layout();
  ArrowLayout& arrows = strip.arrows();
  const float width = f.Width();
  mirror_in(width);
  if (count() > 0) {
    const Slot last = slot_at(Position(count())), first = slot_at(Position(1));
    if (strip.face_right(last) > width && !arrows.visible) arrows.visible = true;
    if (strip.face_right(last) - strip.tab(first).face_left + 120.0f < width && arrows.visible) {
      arrows.visible = false;
      strip.align_left();
    }
  }
  show_layout();
  const float right = width - f.Width(kRightArrow);
  f.Left(kRightArrow, right);
  arrows.right_arrow_left = right;
}

}  // namespace plovera
