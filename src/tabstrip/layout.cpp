// Building, placing, re-captioning and removing tabs: how the bar follows
// the model's appends, removals and renames.
#include <algorithm>
#include <vector>

#include "base/first_failure.h"
#include "base/numbers.h"
#include "base/scope_exit.h"
#include "tabstrip/tab_bar.h"

namespace plovera {

using host::Part;
using host::Picture;

// A new tab takes the lowest loaded slot that draws no tab of the strip, or
// a new slot when every loaded one is in use. A slot whose build failed is
// free again.
Slot TabBar::free_slot() {
  const std::int32_t n = form().Count(Part::caption);
  if (n - 1 == count()) return Slot(n);
  for (std::int32_t k = 1; k < n; ++k)
    if (!contains(Slot(k))) return Slot(k);
  return Slot(n);
}

// Makes sure the four elements of a slot are loaded, in the order caption,
// icon, close button, face. Loading stops at the first failure, so a slot
// may be left part-loaded; the next attempt completes it.
void TabBar::ensure_elements(Slot s) {
  for (Part array : {Part::caption, Part::icon, Part::close_button, Part::face})
    if (form().Count(array) <= s.value) form().Load(array, narrow(s));
}

// Builds a new tab at the right end of the strip. Its elements are built
// hidden and shown once all four are in place: a tab that fails half-way
// leaves nothing drawn, and its slot is free for the next attempt. The
// bar's tables record it only in tab_appended, once the model holds its
// window.
// A bar behind the model builds nothing: the new tab is not next in its
// strip, and show_more_tabs reaches it in turn.
void TabBar::prepare_tab(const std::u16string& text) {
  skipped_append_ = behind();
  if (skipped_append_) return;
  build_new_tab(text);
}

void TabBar::build_new_tab(const std::u16string& text) {
  show_layout();
  host::Form& f = form();
  const Slot s = free_slot();
  bool built = false;
  ScopeExit undo([&] {
    if (!built) hide_tab(s);
  });
  ensure_elements(s);
  const bool first = count() == 0;
  build_elements(s, layout().next_icon_left(), text);
  if (first) {
    ArrowLayout& arrows = layout_.arrows();
    f.Top(kLeftArrow, f.Top(caption(Slot(1))));
    f.Top(kRightArrow, f.Top(caption(Slot(1))));
    f.Left(kLeftArrow, 0.0f);
    const float width = f.Width(kLeftArrow);
    arrows.left_arrow_end = 0.0f + width;
    const float right = f.Width() - width;
    f.Left(kRightArrow, right);
    arrows.right_arrow_left = right;
  }
  reveal_tab(s);
  built = true;
  built_ = s;
}

void TabBar::discard_built_tab() noexcept {
  skipped_append_ = false;
  if (built_ == Slot()) return;
  hide_tab(built_);
  built_ = Slot();
}

void TabBar::reveal_tab(Slot s) {
  host::Form& f = form();
  for (host::Element e : {caption(s), icon(s), close_button(s), face(s)}) f.Visible(e, true);
  std::erase(slots_to_hide_, s);
}

// Each element on its own, so that one that cannot be hidden does not keep
// the others shown. A slot left partly shown is hidden again later
// (hide_leftovers), unless a new tab takes it up first.
void TabBar::hide_tab(Slot s) noexcept {
  if (!form_) return;
  bool hidden = true;
  for (host::Element e : {caption(s), icon(s), close_button(s), face(s)})
    hidden = !failed(boundary_guard([&] { form_->Visible(e, false); })) && hidden;
  if (hidden) {
    std::erase(slots_to_hide_, s);
    return;
  }
  ignore_errors([&] {
    if (std::find(slots_to_hide_.begin(), slots_to_hide_.end(), s) == slots_to_hide_.end())
      slots_to_hide_.push_back(s);
  });
}

// Hides again the elements of gone or unbuilt tabs that could not be hidden
// at the time; nothing to do, and no call, in the steady state.
void TabBar::hide_leftovers() noexcept {
  if (slots_to_hide_.empty()) return;
  const std::vector<Slot> left = slots_to_hide_;
  for (Slot s : left)
    if (!contains(s)) hide_tab(s);
}

// The new tab is recorded, the strip is aligned to the right arrow when it
// overflows, and the new tab is selected.
//
// Of several tabs appended in one go, only the last one's alignment and
// selection remain: aligning to the right places every tab from the widths
// alone, wherever the tabs stood, and a tab selected then deselected again
// keeps its face. So they are done once, at the end; a tab that takes the
// slot of the hovered look shows it, as it would after losing the selection.
void TabBar::tab_appended(Position p) {
  if (std::exchange(skipped_append_, false)) return;
  record_appended(p);
}

void TabBar::record_appended(Position p) {
  const Slot s = built_;
  built_ = Slot();
  slots_.append(s);
  if (model_.unsaved_at(p)) show_unsaved(s, true);  // a bar that shows the model late
  const bool overflows = layout_.face_right(s) > form().Width();
  if (appending_) {
    overflowed_ = overflowed_ || overflows;
    if (s == hovered_ && s != selected_) form().Picture(face(s), Picture::face_hot);
    appended_last_ = s;
    appended_last_at_ = p;
    return;
  }
  if (overflows) {
    layout_.arrows().visible = true;
    align_right();
  }
  if (host_.is_own_window(p)) select_tab(s);
}

void TabBar::show_all_tabs() { show_more_tabs(kMaxTabs); }

std::int32_t TabBar::show_more_tabs(std::int32_t most) {
  appends_began();
  FirstFailure failure;
  std::int32_t built = 0;
  failure.run([&] {
    for (; built < most && behind(); ++built) {
      const Position p(count() + 1);
      build_new_tab(model_.caption_at(p));
      record_appended(p);
    }
  });
  failure.run([&] { appends_ended(); });
  failure.rethrow();
  return built;
}

// The bar gives back its tabs from `p` on (they stay in the model): it then
// shows the model's first p - 1 tabs and is behind, to catch up in order.
void TabBar::show_tabs_before(Position p) {
  removals_began();
  FirstFailure failure;
  for (std::int32_t last = count(); last >= p.value && last >= 1; --last)
    failure.run([&] { tab_removed(Position(last), last); });
  failure.run([&] { removals_ended(); });
  failure.rethrow();
}

void TabBar::appends_began() {
  appending_ = true;
  overflowed_ = false;
  appended_last_ = Slot();
}

void TabBar::appends_ended() {
  if (!appending_) return;
  appending_ = false;
  const Slot last = appended_last_;
  appended_last_ = Slot();
  if (last == Slot()) return;
  if (overflowed_) {
    layout_.arrows().visible = true;
    align_right();
  }
  if (host_.is_own_window(appended_last_at_)) select_tab(last);
}

// Builds the four elements of a slot with the icon at x, leaving them as
// hidden or shown as they were. The caption is assigned before any width is
// read: the label sizes itself to it. Each left written is recorded as shown.
void TabBar::build_elements(Slot s, std::int32_t x, const std::u16string& text) {
  host::Form& f = form();
  f.CopyFont(caption(s), caption(Slot(0)));
  f.MaxWidth(caption(s), kMaxCaptionWidth);
  f.Caption(caption(s), text);
  f.AutoSize(caption(s), true);
  f.Top(caption(s), f.Height() - 30.0f - f.Height(caption(Slot(1))));
  const float top = f.Top(caption(Slot(1)));
  const TabPlacement at =
      layout_.add_tab(s, static_cast<float>(x) - 15.0f, f.Width(caption(s)));
  TabPlacement& shown = layout_.tab(s).shown;

  f.Picture(icon(s), Picture::document_icon);
  f.Stretch(icon(s), true);
  f.Width(icon(s), 240.0f);
  f.Height(icon(s), 240.0f);
  f.Top(icon(s), top + 45.0f);
  set_left(icon(s), at.icon_left, shown.icon_left);

  set_left(caption(s), at.caption_left, shown.caption_left);

  if (shows_unsaved(s)) show_unsaved(s, false);  // the slot's last tab had the mark
  f.Picture(close_button(s), Picture::close_normal);
  f.Stretch(close_button(s), true);
  f.Width(close_button(s), 210.0f);
  f.Height(close_button(s), 210.0f);
  f.Top(close_button(s), top + 45.0f);
  set_left(close_button(s), at.close_left, shown.close_left);

  f.Picture(face(s), Picture::face_normal);
  f.Stretch(face(s), true);
  f.Width(face(s), at.face_width);
  shown.face_width = at.face_width;
  f.Height(face(s), f.Height(caption(Slot(1))));
  f.Top(face(s), top);
  set_left(face(s), at.face_left, shown.face_left);
}

// Moves one tab so that its face starts at x.
void TabBar::place_tab(Slot s, std::int32_t x) {
  layout().place(s, x);
  show_layout();
}

// Shows every tab a rule placed: only the lefts and widths that differ from
// what the form holds are sent, face first. A tab whose face cannot move
// stays where it was (in the layout too, so the next rule starts from what
// the form shows); a failure on one of its other parts leaves the rest of
// that tab. Every tab is tried; the first failure is passed on.
void TabBar::show_layout() {
  if (!form_) return;
  FirstFailure failure;
  for (std::int32_t p = 1; p <= count() && layout_.any_pending(); ++p) {
    const Slot s = slot_at(Position(p));
    if (layout_.take_pending(s)) failure.run([&] { show_tab(s); });
  }
  // Tabs a rule moved before they left: their hidden elements end there.
  for (std::int32_t c = 1; c <= layout_.highest_slot() && layout_.any_pending(); ++c)
    if (layout_.take_pending(Slot(c))) failure.run([&] { show_tab(Slot(c)); });
  failure.run([&] { show_arrows(); });
  failure.rethrow();
}

void TabBar::show_tab(Slot s) {
  StripLayout::Tab& t = layout_.tab(s);
  const TabPlacement want = layout_.placement(s);
  TabPlacement& shown = t.shown;
  if (want.face_left != shown.face_left) {
    try {
      set_left(face(s), want.face_left, shown.face_left);
    } catch (...) {
      t.face_left = shown.face_left;
      throw;
    }
  }
  if (want.face_width != shown.face_width) {
    form().Width(face(s), want.face_width);
    shown.face_width = want.face_width;
  }
  if (want.icon_left != shown.icon_left) set_left(icon(s), want.icon_left, shown.icon_left);
  if (want.caption_left != shown.caption_left)
    set_left(caption(s), want.caption_left, shown.caption_left);
  if (want.close_left != shown.close_left)
    set_left(close_button(s), want.close_left, shown.close_left);
}

// Moves one element and records where the form now holds it.
void TabBar::set_left(host::Element e, float left, float& shown) {
  form().Left(e, left);
  shown = left;
}

// The arrows show or hide together; the right one keeps its place.
void TabBar::show_arrows() {
  host::Form& f = form();
  const bool visible = layout_.arrows().visible;
  if (layout_.left_arrow_shown() != visible) {
    f.Visible(kLeftArrow, visible);
    layout_.left_arrow_shown() = visible;
  }
  if (layout_.right_arrow_shown() != visible) {
    f.Visible(kRightArrow, visible);
    layout_.right_arrow_shown() = visible;
  }
}

// A tab the bar does not show yet gets the model's caption when it is built.
void TabBar::caption_changed(Position p, const std::u16string& text) {
  if (p.value > count()) return;
  set_tab_caption(slot_at(p), text);
}

// A new caption widens or narrows the tab; the tabs to its right shift by the
// same amount so the strip keeps its spacing. Arrows and scrolling are left
// as they are until the next scroll or new tab.
void TabBar::set_tab_caption(Slot s, const std::u16string& text) {
  host::Form& f = form();
  StripLayout& strip = layout();
  f.Caption(caption(s), text);
  strip.resize_caption(s, f.Width(caption(s)));
  show_layout();
}

// The tab that stood at `p` is gone from the model. Its elements are hidden,
// the selected look passes to a neighbour, the tabs to its right move one
// place left and an overflowing strip with room to spare is aligned again.
//
// The layout follows in memory and is shown when the removals of one go
// end (or when another change shows the strip), so that each element moves
// once however many tabs leave; a removal on its own is a go of one.
//
// The bar's tables are always brought to their new state; a failing call on
// an element only leaves that element where it was, and the first such
// failure is passed on once the tables are consistent.
void TabBar::tab_removed(Position p, std::int32_t count_before) {
  if (p.value > count()) return;  // a tab this bar did not show yet
  const Slot gone = slot_at(p);
  const std::int32_t n = std::min(count_before, count());
  FirstFailure failure;
  host::Form& f = form();
  StripLayout* strip = nullptr;
  failure.run([&] { strip = &layout(); });

  if (gone == selected_) {
    const Slot heir = p.value == n ? slot_at(Position(n - 1)) : slot_at(Position(p.value + 1));
    failure.run([&] { f.Picture(face(gone), Picture::face_normal); });
    failure.run([&] { f.Picture(face(heir), Picture::none); });
    selected_ = heir;
  }
  hide_tab(gone);

  slots_.remove_at(p);
  if (strip) failure.run([&] { strip->close_gap(p); });
  end_drag_if_gone();
  if (!removing_) failure.run([&] { show_layout(); });
  failure.rethrow();
}

void TabBar::removals_began() { removing_ = true; }

void TabBar::removals_ended() {
  removing_ = false;
  show_layout();
}

// The layout, read back from the form first when something other than the
// bar changed the form.
StripLayout& TabBar::layout() {
  if (read_back_ && form_) read_layout_from_form();
  return layout_;
}

// Takes every loaded tab's lefts and widths and the arrows from the form.
void TabBar::read_layout_from_form() {
  host::Form& f = form();
  std::int16_t loaded = f.Count(Part::caption);
  for (Part array : {Part::icon, Part::close_button, Part::face})
    loaded = std::min(loaded, f.Count(array));
  // A right-to-left strip's form holds the layout reflected: a face's
  // layout left is where its right edge stands, seen from the form's right.
  const Mirror& mirror = layout_.mirror();
  for (std::int32_t c = 1; c < loaded; ++c) {
    const Slot s(c);
    const float left = f.Left(face(s)), width = f.Width(face(s));
    layout_.add_tab(s, mirror.on ? mirror.bar_width - (left + width) : left, f.Width(caption(s)));
    StripLayout::Tab& t = layout_.tab(s);
    t.face_width = width;
    t.shown = {left, f.Left(icon(s)), f.Left(caption(s)), f.Left(close_button(s)), width};
  }
  ArrowLayout& arrows = layout_.arrows();
  const float left_arrow = f.Left(kLeftArrow);
  const float left_arrow_end = left_arrow + f.Width(kLeftArrow);
  const float right_arrow = f.Left(kRightArrow);
  arrows.left_arrow_end = mirror.on ? mirror.bar_width - right_arrow : left_arrow_end;
  arrows.right_arrow_left = mirror.on ? mirror.bar_width - left_arrow_end : right_arrow;
  layout_.left_arrow_shown() = arrows.visible = f.Visible(kLeftArrow);
  layout_.right_arrow_shown() = f.Visible(kRightArrow);
  read_back_ = false;
}

}  // namespace plovera
