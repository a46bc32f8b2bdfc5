// Reordering tabs by dragging one and dropping it elsewhere on the bar. Only
// the strip's order changes (the model's, which every bar follows): Word's
// own window list is not touched.
#include <algorithm>

#include "base/numbers.h"
#include "tabstrip/tab_bar.h"

namespace plovera {

using host::Part;

namespace {
constexpr float kGap = 30.0f;
}  // namespace

// Puts tab `source` at the place of tab `dest`; the tabs in between move one
// place towards source's old place.
void TabBar::move_tab(Slot source, Slot dest) {
  if (source == dest) return;
  model_.move(position_of(source), position_of(dest));
}

// Only the moved tab and the tabs it passed are placed again, each once,
// from the left end of the range that changed.
// A bar behind the model that shows only one end of the move gives back
// the tabs from the move's left end on, and builds them again in order.
void TabBar::tab_moved(Position from, Position to) {
  if (std::max(from, to).value > count()) return show_tabs_before(std::min(from, to));
  StripLayout& strip = layout();
  const Slot moved = slot_at(from);
  const float first_left = strip.tab(slot_at(to < from ? to : from)).face_left;
  slots_.move(from, to);
  strip.follow_move(from, to, first_left);
  strip.bring_into_view(moved, form().Width());
  show_layout();
}

// A drop on the bar's background: the destination follows from where x (a
// point of the form, reflected into the layout's numbers in a right-to-left
// strip) lies.
// A gap between faces belongs to the face nearer the dragged tab, so the tab
// lands exactly in the gap where it was dropped.
void TabBar::drop_on_bar(Slot source, float form_x, float /*y*/) {
  const StripLayout& strip = layout();
  const float x = strip.layout_x(form_x);
  const ArrowLayout& arrows = strip.arrows();
  const std::int32_t n = count();
  const Slot first = slot_at(Position(1)), last = slot_at(Position(n));
  if (x <= arrows.left_arrow_end && arrows.visible) return move_tab(source, first);
  if (x >= arrows.right_arrow_left && arrows.visible) return move_tab(source, last);
  if (x <= strip.tab(first).face_left) return move_tab(source, first);
  if (strip.face_right(last) <= x) return move_tab(source, last);
  if (x < strip.tab(source).face_left) {
    for (std::int32_t u = position_of(source).value - 1; u >= 1; --u) {
      const Slot s = slot_at(Position(u));
      const float left = strip.tab(s).face_left, width = strip.tab(s).face_width;
      if (left - kGap <= x && x <= left + width) return move_tab(source, s);
    }
  } else {
    for (std::int32_t u = position_of(source).value + 1; u <= n; ++u) {
      const Slot s = slot_at(Position(u));
      const float left = strip.tab(s).face_left, width = strip.tab(s).face_width;
      if (left <= x && x <= left + width + kGap) return move_tab(source, s);
    }
  }
}

// Moves, then (unless dropped on a close button) activates the dragged
// tab's window twice and gives Word the foreground. A window that closed
// during the drag is left for the next pass to remove.
void TabBar::drop_on_tab(Slot source, Slot dest, bool activate) {
  move_tab(source, dest);
  if (!activate) return;
  host::Ref<host::Window> w = window_of(source);
  ignore_errors([&] { w->Activate(); });
  ignore_errors([&] { w->Activate(); });
  host::Hwnd front = 0;
  ignore_errors([&] { front = host_.main_window_of(w); });
  host_.window_system().bring_to_foreground(front ? front : host_.main_window());
}

// The drag remembers the window of the tab it began on.
void TabBar::begin_drag(Slot s) {
  dragged_ = window_of(s);
  form().Drag(face(s));
}

// The slot of the tab the drag began on, if that tab is still in the strip
// and the engine's drop names it; none otherwise (its window closed during
// the drag, and another tab may have taken its slot since).
Slot TabBar::dragged_slot(std::int16_t source_index) {
  const host::Ref<host::Window> window = std::move(dragged_);
  if (!window) return Slot();
  const Position at = model_.position_of(window);
  if (at == Position() || at.value > count() || slot_at(at) != Slot(source_index)) return Slot();
  return slot_at(at);
}

// A tab left: if it was the dragged one, the drag is over and its window let go.
void TabBar::end_drag_if_gone() noexcept {
  if (dragged_ && !model_.has_tab(dragged_)) dragged_.reset();
}

// A drop whose dragged tab was removed meanwhile is ignored: there is
// nothing left to move, and the slot it names may show another window now.
void TabBar::DragDrop(host::Element target, std::int16_t source_index, float x, float y) {
  host_.events().run([&] {
    const Slot source = dragged_slot(source_index);
    if (source == Slot()) return;
    const Slot target_slot = slot_of(target);
    switch (target.part) {
      case Part::face:
      case Part::icon:
      case Part::caption:
        if (contains(target_slot)) drop_on_tab(source, target_slot, true);
        return;
      case Part::close_button:
        if (contains(target_slot)) drop_on_tab(source, target_slot, false);
        return;
      case Part::left_arrow:
      case Part::right_arrow: {
        // On the arrow at the strip's end: the tab becomes the last one.
        const std::int32_t p = scrolls_towards_end(target.part) ? count() : 1;
        return drop_on_tab(source, slot_at(Position(p)), true);
      }
      case Part::bar:
        drop_on_bar(source, x, y);
        return drop_on_tab(source, source, true);
    }
  });
}

}  // namespace plovera
