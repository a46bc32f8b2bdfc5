// Building, placing, re-captioning and removing tabs: how the bar follows
// the model's appends, removals and renames.
#include <cmath>

#include "base/first_failure.h"
#include "base/numbers.h"
#include "tabstrip/tab_bar.h"

namespace plovera {

using host::Part;
using host::Picture;

float TabBar::face_right(Slot s) { return form().Left(face(s)) + form().Width(face(s)); }

// A new tab takes the lowest slot whose caption is hidden, or a new slot
// when every loaded one is in use.
Slot TabBar::free_slot() {
  host::Form& f = form();
  const std::int32_t n = f.Count(Part::caption);
  if (n - 1 == count()) return Slot(n);
  for (std::int32_t k = 1; k < n; ++k)
    if (!f.Visible(caption(Slot(k)))) return Slot(k);
  return Slot(n);
}

// Makes sure the four elements of a slot are loaded, in the order caption,
// icon, close button, face. Loading stops at the first failure, so a slot
// may be left part-loaded; the next attempt completes it.
void TabBar::ensure_elements(Slot s) {
  for (Part array : {Part::caption, Part::icon, Part::close_button, Part::face})
    if (form().Count(array) <= s.value) form().Load(array, narrow(s));
}

// Builds a new tab at the right end of the strip. The bar's tables record it
// only in tab_appended, once the model holds its window.
void TabBar::prepare_tab(const std::u16string& text) {
  lay_out_removals();
  host::Form& f = form();
  const Slot s = free_slot();
  ensure_elements(s);
  if (count() > 0) {
    build_elements(s, round_half_even(face_right(slot_at(Position(count()))) + 45.0f), text);
  } else {
    build_elements(s, 75, text);
    f.Top(kLeftArrow, f.Top(caption(Slot(1))));
    f.Top(kRightArrow, f.Top(caption(Slot(1))));
    f.Left(kLeftArrow, 0.0f);
    f.Left(kRightArrow, f.Width() - f.Width(kLeftArrow));
  }
  built_ = s;
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
  const Slot s = built_;
  built_ = Slot();
  slots_.append(s);
  const bool overflows = face_right(s) > form().Width();
  if (appending_) {
    overflowed_ = overflowed_ || overflows;
    if (s == hovered_ && s != selected_) form().Picture(face(s), Picture::face_hot);
    appended_last_ = s;
    appended_last_at_ = p;
    return;
  }
  if (overflows) {
    set_arrows_visible(true);
    align_right();
  }
  if (host_.is_own_window(p)) select_tab(s);
}

void TabBar::show_all_tabs() {
  appends_began();
  FirstFailure failure;
  failure.run([&] {
    for (std::int32_t p = count() + 1; p <= model_.count(); ++p) {
      prepare_tab(model_.caption_at(Position(p)));
      tab_appended(Position(p));
    }
  });
  failure.run([&] { appends_ended(); });
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
    set_arrows_visible(true);
    align_right();
  }
  if (host_.is_own_window(appended_last_at_)) select_tab(last);
}

// Builds the four elements of a slot with the icon at x. The caption is
// assigned before any width is read: the label sizes itself to it.
void TabBar::build_elements(Slot s, std::int32_t x, const std::u16string& text) {
  host::Form& f = form();
  const auto xf = static_cast<float>(x);
  f.Visible(caption(s), true);
  f.CopyFont(caption(s), caption(Slot(0)));
  f.Caption(caption(s), text);
  f.AutoSize(caption(s), true);
  f.Top(caption(s), f.Height() - 30.0f - f.Height(caption(Slot(1))));
  const float top = f.Top(caption(Slot(1)));

  f.Visible(icon(s), true);
  f.Picture(icon(s), Picture::document_icon);
  f.Stretch(icon(s), true);
  f.Width(icon(s), 240.0f);
  f.Height(icon(s), 240.0f);
  f.Top(icon(s), top + 45.0f);
  f.Left(icon(s), xf);

  f.Left(caption(s), f.Width(icon(s)) + f.Left(icon(s)) + 30.0f);

  f.Visible(close_button(s), true);
  f.Picture(close_button(s), Picture::close_normal);
  f.Stretch(close_button(s), true);
  f.Width(close_button(s), 210.0f);
  f.Height(close_button(s), 210.0f);
  f.Top(close_button(s), top + 45.0f);
  f.Left(close_button(s), f.Width(caption(s)) + f.Left(caption(s)) + 30.0f);

  f.Visible(face(s), true);
  f.Picture(face(s), Picture::face_normal);
  f.Stretch(face(s), true);
  f.Width(face(s), f.Width(close_button(s)) + f.Left(close_button(s)) - f.Left(icon(s)) + 30.0f);
  f.Height(face(s), f.Height(caption(Slot(1))));
  f.Top(face(s), top);
  f.Left(face(s), f.Left(icon(s)) - 15.0f);
}

// Moves one tab so that its face starts at x, keeping the spacing of its parts.
void TabBar::place_tab(Slot s, std::int32_t x) {
  host::Form& f = form();
  f.Left(face(s), static_cast<float>(x));
  f.Left(icon(s), f.Left(face(s)) + 15.0f);
  f.Left(caption(s), f.Width(icon(s)) + f.Left(icon(s)) + 30.0f);
  f.Left(close_button(s), f.Width(caption(s)) + f.Left(caption(s)) + 30.0f);
}

// Shifts the four parts of a tab horizontally.
void TabBar::shift_tab(Slot s, float dx) {
  host::Form& f = form();
  for (host::Element e : {icon(s), caption(s), close_button(s), face(s)}) f.Left(e, f.Left(e) + dx);
}

namespace {

// x moved by `steps` times dx, exactly as that many single moves in single
// precision would leave it: whole numbers of twips (every left is one) add
// exactly below 2^24; anything else is added step by step.
float shifted(float x, float dx, std::int32_t steps) {
  const double total = static_cast<double>(dx) * steps;
  if (x == std::trunc(x) && dx == std::trunc(dx) && std::fabs(x) + std::fabs(total) < 16777216.0)
    return static_cast<float>(x + total);
  for (std::int32_t k = 0; k < steps; ++k) x = x + dx;
  return x;
}

}  // namespace

// Shifts every tab by `steps` times dx, each element once.
void TabBar::shift_all(float dx, std::int32_t steps) {
  if (steps <= 0) return;
  host::Form& f = form();
  for (std::int32_t p = 1; p <= count(); ++p) {
    const Slot s = slot_at(Position(p));
    for (host::Element e : {icon(s), caption(s), close_button(s), face(s)})
      f.Left(e, shifted(f.Left(e), dx, steps));
  }
}

bool TabBar::caption_differs(Position p, const std::u16string& text) {
  return text != form().Caption(caption(slot_at(p)));
}

void TabBar::caption_changed(Position p, const std::u16string& text) {
  lay_out_removals();
  set_tab_caption(slot_at(p), text);
}

// A new caption widens or narrows the tab; the tabs to its right shift by the
// same amount so the strip keeps its spacing. Arrows and scrolling are left
// as they are until the next scroll or new tab.
void TabBar::set_tab_caption(Slot s, const std::u16string& text) {
  host::Form& f = form();
  const float w0 = static_cast<float>(round_half_even(f.Width(caption(s))));
  f.Caption(caption(s), text);
  if (f.Width(caption(s)) == w0) return;
  const std::int32_t d = round_half_even(f.Width(caption(s)) - w0);
  f.Left(close_button(s), f.Width(caption(s)) + f.Left(caption(s)) + 30.0f);
  f.Width(face(s), f.Width(close_button(s)) + f.Left(close_button(s)) + 15.0f - f.Left(face(s)));
  const Position p = position_of(s);
  if (p.value == count()) return;
  for (std::int32_t q = p.value + 1; q <= count(); ++q)
    shift_tab(slot_at(Position(q)), static_cast<float>(d));
}

// The tab that stood at `p` is gone from the model. Its elements are hidden,
// the selected look passes to a neighbour, the tabs to its right move one
// place left and an overflowing strip with room to spare is aligned again.
//
// The layout is followed in memory (RemovalLayout) and put on the form when
// the removals of one go end, so that each element moves once however many
// tabs leave; a removal on its own is a go of one.
//
// The bar's tables are always brought to their new state; a failing call on
// an element only leaves that element where it was, and the first such
// failure is passed on once the tables are consistent.
void TabBar::tab_removed(Position p, std::int32_t count_before) {
  const Slot gone = slot_at(p);
  const std::int32_t n = count_before;
  FirstFailure failure;
  host::Form& f = form();

  if (!removal_layout_.started()) failure.run([&] { removal_layout_.start(slots_); });
  if (gone == selected_) {
    const Slot heir = p.value == n ? slot_at(Position(n - 1)) : slot_at(Position(p.value + 1));
    failure.run([&] { f.Picture(face(gone), Picture::face_normal); });
    failure.run([&] { f.Picture(face(heir), Picture::none); });
    selected_ = heir;
  }
  for (host::Element e : {caption(gone), icon(gone), close_button(gone), face(gone)})
    failure.run([&] { f.Visible(e, false); });

  slots_.remove_at(p);
  if (removal_layout_.started()) failure.run([&] { removal_layout_.remove(f, p); });
  if (!removing_) failure.run([&] { lay_out_removals(); });
  failure.rethrow();
}

void TabBar::removals_began() { removing_ = true; }

void TabBar::removals_ended() {
  removing_ = false;
  lay_out_removals();
}

// Puts the layout the removals left on the form: each tab a rule moved is
// placed once, at its last place, and the arrows are hidden once.
void TabBar::lay_out_removals() {
  if (!removal_layout_.started()) return;
  FirstFailure failure;
  for (const auto* tabs : {&removal_layout_.moved_then_removed(), &removal_layout_.tabs()})
    for (const RemovalLayout::Tab& t : *tabs)
      if (t.placed) failure.run([&] { place_tab(slot_of(t.face), t.placed_at); });
  if (removal_layout_.hides_arrows()) failure.run([&] { set_arrows_visible(false); });
  removal_layout_.clear();
  failure.rethrow();
}

}  // namespace plovera
