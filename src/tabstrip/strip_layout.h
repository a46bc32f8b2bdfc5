// The strip's horizontal layout, kept in memory: for each slot its face's
// left and width and its caption's width; the arrows' places and whether
// they show. Every rule that places tabs (appending, aligning, scrolling,
// closing the gap a removed tab leaves, following a drag, a new caption)
// works here, on these numbers, in single-precision twips with the form's
// rounding; the bar then shows the tabs whose place changed.
//
// One function, placement_of, turns a tab's numbers into its elements'
// lefts: face at its left, icon 15 twips in, caption 30 after the 240-twip
// icon, close button 30 after the caption. The scroll position is carried
// by the faces' lefts themselves (each step is added to every left, as the
// form would add it), so whatever reads the strip reads one set of numbers.
//
// A right-to-left strip keeps the same numbers: the layout is always that
// of a left-to-right strip, and placement_of reflects each element about
// the bar's middle when it turns the numbers into places on the form. So
// every rule above runs unchanged in both directions, and only what meets
// the form (places shown, points read from the pointer) is reflected.
//
// Alongside the layout the table keeps what the form was last told for each
// element (`shown`), so the bar sends only the lefts and widths that
// changed.
#pragma once

#include <cstdint>
#include <vector>

#include "tabstrip/slot_map.h"
#include "tabstrip/tab_model.h"

namespace plovera {

// Where a tab's elements stand; lefts and the face's width in twips.
struct TabPlacement {
  float face_left = 0, icon_left = 0, caption_left = 0, close_left = 0;
  float face_width = 0;
  friend bool operator==(const TabPlacement&, const TabPlacement&) = default;
};

// A strip read from right to left is shown reflected: an element `w` wide
// at `x` in the layout stands at bar_width - (x + w) on the form.
struct Mirror {
  bool on = false;
  float bar_width = 0;  // the form's width, in twips
  friend bool operator==(const Mirror&, const Mirror&) = default;
};

// The one layout rule for a tab: its elements' places from its face's left
// and width and its caption's width; reflected in a right-to-left strip
// (the close button then stands at the tab's left, the icon at its right).
TabPlacement placement_of(float face_left, float face_width, float caption_width,
                          const Mirror& mirror = {}) noexcept;
// The width of a new tab's face: from its icon to 30 twips after its
// 210-twip close button, in the order the form's own sums take.
float face_width_for(float face_left, float caption_width) noexcept;
// The widest a caption is shown: 240 pixels at 96 dpi (twips follow the
// resolution, so 360 pixels at 144 dpi). The form cuts a longer text with an
// ellipsis and reports this width, so every rule above sees the cut width.
inline constexpr float kMaxCaptionWidth = 3600.0f;

// The arrows: the left one's end, the right one's left, and whether they
// show (both together). In the layout's numbers: in a right-to-left strip
// "left" is the arrow at the strip's start, shown at the form's right.
struct ArrowLayout {
  float left_arrow_end = 0;
  float right_arrow_left = 0;
  bool visible = false;
};

class StripLayout {
 public:
  struct Tab {
    float face_left = 0, face_width = 0, caption_width = 0;
    TabPlacement shown;  // what the form holds
    bool pending = false;  // placed by a rule and not shown yet (read-only: see mark)
  };

  // Reads the strip's order from `slots`; the table has room for every slot.
  explicit StripLayout(const SlotMap& slots);

  // Forgets every tab and the arrows (a form loaded anew); the direction
  // stays.
  void clear();

  // The strip's direction and the width it is reflected in. A change
  // re-places every tab of the strip on the form.
  void set_mirror(const Mirror& mirror);
  const Mirror& mirror() const noexcept { return mirror_; }
  // A point of the form (a drop, in twips) in the layout's numbers.
  float layout_x(float form_x) const noexcept {
    return mirror_.on ? mirror_.bar_width - form_x : form_x;
  }

  Tab& tab(Slot s);
  const Tab& tab(Slot s) const { return const_cast<StripLayout*>(this)->tab(s); }
  float face_right(Slot s) const;
  TabPlacement placement(Slot s) const;
  ArrowLayout& arrows() noexcept { return arrows_; }
  const ArrowLayout& arrows() const noexcept { return arrows_; }
  // What the form shows of the arrows, each on its own.
  bool& left_arrow_shown() noexcept { return left_arrow_shown_; }
  bool& right_arrow_shown() noexcept { return right_arrow_shown_; }

  // A new tab in slot `s`: its face at face_left, its caption `caption_width`
  // wide. Returns where its elements go; the form shows none of it yet.
  TabPlacement add_tab(Slot s, float face_left, float caption_width);
  // Moves a tab so that its face starts at x.
  void place(Slot s, std::int32_t x);
  // The highest slot ever added (the table beyond it is unused).
  std::int32_t highest_slot() const noexcept { return highest_; }
  // Whether any tab waits to be shown; taking one marks it shown.
  bool any_pending() const noexcept { return pending_ > 0; }
  bool take_pending(Slot s);
  // Nothing is left to show (the tabs were forgotten; the form keeps them).
  void drop_pending() noexcept;

  // Where a new tab's icon goes: 45 twips after the last face, or at 75.
  std::int32_t next_icon_left() const;
  // The strip against the right arrow, or laid out from the left edge.
  void align_right();
  void align_left();
  // Whole 1000-twip steps of a scroll, each with its stop rule, at most
  // `limit` of them; shift_all moves every tab by that many steps.
  std::int32_t steps_towards_end(std::int32_t limit) const;
  std::int32_t steps_towards_start(std::int32_t limit) const;
  void shift_all(float dx, std::int32_t steps);
  // Steps that bring the face of `s` within 0 and `bar_width`.
  void bring_into_view(Slot s, float bar_width);
  // After the tab at `p` left (the slot table already without it): the tabs
  // after it move up and the strip may align again. A tab that cannot be
  // placed stays; the first failure is thrown once every rule ran.
  void close_gap(Position p);
  // After the tab at `from` moved to `to` (the slot table already in its new
  // order); `old_left` is the face left that stood at the start of the
  // range before the move.
  void follow_move(Position from, Position to, float old_left);
  // A new caption width for the tab in `s`: its close button and face, and
  // the tabs after it, follow by whole twips.
  void resize_caption(Slot s, float new_width);

 private:
  Slot at(std::int32_t p) const { return slots_.slot_at(Position(p)); }
  std::int32_t count() const noexcept { return slots_.count(); }
  void realign();
  void mark(Tab& t) noexcept;

  const SlotMap& slots_;
  std::vector<Tab> tabs_;  // by slot
  std::int32_t highest_ = 0;
  std::int32_t pending_ = 0;  // tabs marked pending
  ArrowLayout arrows_;
  Mirror mirror_;
  bool left_arrow_shown_ = false, right_arrow_shown_ = false;
};

}  // namespace plovera
