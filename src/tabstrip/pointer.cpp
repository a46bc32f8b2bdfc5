// The looks that follow the pointer: the hot face, the hot close button and
// the selected tab. Each operation writes its state last, so a failed
// picture change leaves the state as it was and the next event tries again.
// An unchanged look costs a single comparison.
#include <algorithm>

#include "base/scope_exit.h"
#include "tabstrip/tab_bar.h"

namespace plovera {

using host::Picture;

void TabBar::set_hovered(Slot s) {
  if (hovered_ == s) return;
  const Slot before = hovered_;
  form().Picture(face(before), before == selected_ ? Picture::none : Picture::face_normal);
  form().Picture(face(s), Picture::face_hot);
  hovered_ = s;
}

void TabBar::clear_hot_close() {
  if (hot_close_ == Slot()) return;
  form().Picture(close_button(hot_close_), close_picture(hot_close_));
  hot_close_ = Slot();
}

void TabBar::set_hot_close(Slot s) {
  if (hot_close_ == s) return;
  if (hot_close_ != Slot()) form().Picture(close_button(hot_close_), close_picture(hot_close_));
  form().Picture(close_button(s), Picture::close_hot);
  hot_close_ = s;
}

// A close button at rest: a dot while its document has unsaved changes, the
// cross otherwise; under the pointer it always shows the hot cross.
Picture TabBar::close_picture(Slot s) const noexcept {
  return shows_unsaved(s) ? Picture::close_unsaved : Picture::close_normal;
}

bool TabBar::shows_unsaved(Slot s) const noexcept {
  return std::find(unsaved_slots_.begin(), unsaved_slots_.end(), s) != unsaved_slots_.end();
}

void TabBar::unsaved_changed(Position p, bool unsaved) { show_unsaved(slot_at(p), unsaved); }

// The mark takes the close button's place, so the tab keeps its width. The
// face carries it too, for the tab's accessible description.
void TabBar::show_unsaved(Slot s, bool unsaved) {
  if (shows_unsaved(s) == unsaved) return;
  form().Unsaved(face(s), unsaved);
  if (unsaved) unsaved_slots_.push_back(s);
  else std::erase(unsaved_slots_, s);
  if (s != hot_close_) form().Picture(close_button(s), close_picture(s));
}

// The selected tab is scrolled into view and shows the bar's background
// through its face; the previous one gets its face back.
void TabBar::select_tab(Slot s) {
  if (selected_ == s) return;
  const Slot before = selected_;
  form().Picture(face(before), before == hovered_ ? Picture::face_hot : Picture::face_normal);
  bring_into_view(s);
  form().Picture(face(s), Picture::none);
  selected_ = s;
}

void TabBar::tab_activated(Position p) {
  if (!host_.is_own_window(p)) return;
  select_own_window(p);
}

// A bar behind the model selects its own window once it shows its tab.
void TabBar::select_own_window(Position p) {
  if (p.value > count()) return;
  const Slot s = slot_at(p);
  if (selected_ == s) return;
  select_tab(s);
}

// The pointer moved over a tab's face, icon or caption. The first move of a
// tab pressed with the left button begins dragging its face.
void TabBar::on_pointer_over_tab(Slot s) {
  if (hover_check_running_) return;
  hover_check_running_ = true;
  ScopeExit done([this] { hover_check_running_ = false; });  // also when a step fails
  set_hovered(s);
  clear_hot_close();
  if (s == pending_drag_) {
    pending_drag_ = Slot();
    begin_drag(s);
  }
}

// Windows said the pointer left the bar: the looks that follow it go.
void TabBar::MouseLeave() {
  host_.events().run([&] { clear_pointer_looks(); });
}

// The tick looks for the pointer having left the bar, but only while a look
// that follows the pointer is on: otherwise there is nothing to clear, and
// an idle tick asks the window system nothing. A pointer on the rectangle's
// edge counts as outside.
void TabBar::clear_hover_if_outside() {
  if (hovered_ == Slot() && hot_close_ == Slot()) return;
  host::Rect r;
  host::Point pt;
  host_.window_system().window_rect(window(), r);
  host_.window_system().cursor_pos(pt);
  if (r.left < pt.x && pt.x < r.right && r.top < pt.y && pt.y < r.bottom) return;
  clear_pointer_looks();
}

// The hot face and the hot close button go back to their plain looks.
void TabBar::clear_pointer_looks() {
  if (hovered_ != Slot()) {
    form().Picture(face(hovered_), hovered_ == selected_ ? Picture::none : Picture::face_normal);
    hovered_ = Slot();
  }
  clear_hot_close();
}

}  // namespace plovera
