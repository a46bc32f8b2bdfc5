// The tab model: the one list of Word's windows that have tabs, in the
// left-to-right order the user sees (and may change by dragging), shared by
// every bar that shows it.
//
// A tab's place in that list is its Position (1 = leftmost). Each bar draws a
// tab with one set of four elements (face, close button, icon, caption); the
// set is the tab's Slot in that bar (see SlotMap). Position and Slot are
// distinct types, so one cannot be passed where the other is meant.
//
// The model announces every change to the bars that show it (TabView). A
// change is recorded in the model first; each view then brings its elements
// and its own tables to the new state. Every view hears of every change even
// when another view fails; the first failure is passed on afterwards.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "host/ref.h"
#include "host/word.h"

namespace plovera {

// At most this many tabs: windows beyond it get none.
inline constexpr std::int32_t kMaxTabs = 1000;

// A tab's place in the strip, 1-based from the left; 0 means none.
struct Position {
  std::int32_t value = 0;
  constexpr Position() = default;
  constexpr explicit Position(std::int32_t v) : value(v) {}
  friend constexpr bool operator==(Position, Position) = default;
  friend constexpr auto operator<=>(Position, Position) = default;
};

// Moves the entry of a table kept per position (position p at index p - 1)
// from `from` to `to`, as TabModel::move moves a tab: the entries between
// shift by one towards `from`. Every view that keeps such a table uses it.
template <class Table>
void move_entry(Table& table, Position from, Position to) {
  const auto first = table.begin();
  if (to < from)
    std::rotate(first + (to.value - 1), first + (from.value - 1), first + from.value);
  else
    std::rotate(first + (from.value - 1), first + from.value, first + to.value);
}

// The set of four elements that draws a tab in one bar; 0 means none (the
// elements at index 0 are the hidden templates).
struct Slot {
  std::int32_t value = 0;
  constexpr Slot() = default;
  constexpr explicit Slot(std::int32_t v) : value(v) {}
  friend constexpr bool operator==(Slot, Slot) = default;
};

static_assert(!std::is_convertible_v<Position, Slot> && !std::is_convertible_v<Slot, Position>,
              "a position and a slot must never be mixed up");
static_assert(!std::is_convertible_v<std::int32_t, Position> &&
                  !std::is_convertible_v<std::int32_t, Slot>,
              "a plain number is not a position or a slot");

// A bar that shows the model. Each handler is called after the model has
// changed; it may throw (an element call failed) once its own tables are
// consistent again.
class TabView {
 public:
  // The tab at `p` (the new last one) was appended; the view built its
  // elements beforehand in prepare_tab.
  virtual void tab_appended(Position p) = 0;
  // Builds the elements of a tab about to be appended with `caption`. A
  // failure here leaves the model unchanged: the window gets no tab yet.
  virtual void prepare_tab(const std::u16string& caption) = 0;
  // The tab built last will not be appended after all (another view could
  // not build it, or the model could not record it): nothing of it may
  // stay drawn. Views that build nothing need not answer.
  virtual void discard_built_tab() noexcept {}
  // The tab that was at `p` is gone; the model held `count_before` tabs.
  virtual void tab_removed(Position p, std::int32_t count_before) = 0;
  // The tab at `from` now stands at `to`; those in between moved one place.
  virtual void tab_moved(Position from, Position to) = 0;
  virtual void caption_changed(Position p, const std::u16string& caption) = 0;
  // The tab at `p` shows Word's active window.
  virtual void tab_activated(Position p) = 0;
  // The document of the tab at `p` has unsaved changes, or no longer has.
  // Views that show no such mark need not answer.
  virtual void unsaved_changed(Position /*p*/, bool /*unsaved*/) {}
  // Every tab is gone (the strip is reset or the add-in lets go of Word).
  virtual void tabs_cleared() noexcept = 0;
  // Several tabs are about to be appended in one go; the view may put off
  // whatever each append would redo for the whole strip (scrolling to the
  // end, moving the selected look) until appends_ended, with the same result.
  virtual void appends_began() = 0;
  virtual void appends_ended() = 0;
  // Several tabs are about to be removed in one go; the view may put off
  // laying its strip out again until removals_ended, with the same result
  // as laying it out after each removal. Any other change announced
  // meanwhile finds the strip as the removals before it leave it.
  virtual void removals_began() = 0;
  virtual void removals_ended() = 0;

 protected:
  ~TabView() = default;
};

class TabModel {
 public:
  std::int32_t count() const noexcept { return static_cast<std::int32_t>(windows_.size()); }
  // The window shown at `p`; a position outside 1..count() fails as a failing
  // host call would.
  const host::Ref<host::Window>& window_at(Position p) const;
  // Where `window` has its tab (the same object), or Position() when it has none.
  Position position_of(const host::Ref<host::Window>& window) const noexcept;
  // The caption last announced for the tab at `p`, for a view that starts
  // showing the model later.
  const std::u16string& caption_at(Position p) const;
  // Whether `window` has a tab; constant time.
  bool has_tab(const host::Ref<host::Window>& window) const noexcept {
    return known_.count(window.get()) != 0;
  }

  // A new tab at the right end: every view builds it first, then the model
  // records the window and the views record the tab. Beyond kMaxTabs nothing
  // happens.
  void append(host::Ref<host::Window> window, const std::u16string& caption);
  // The tab at `p` leaves; its window reference is released at once.
  void remove_at(Position p);
  // The tab at `from` moves to `to`.
  void move(Position from, Position to);
  // The window at `p` has a new caption.
  void rename(Position p, const std::u16string& caption);
  // Whether `caption` differs from the one last told to the views for the
  // tab at `p` (or a view failed to show that one): the model keeps a copy,
  // so a tick asks no view, however many there are.
  bool caption_differs(Position p, const std::u16string& caption) const;
  // The tab at `p` shows Word's active window.
  void activate(Position p);
  // Whether the document of the tab at `p` was last seen with unsaved
  // changes (a new tab: no), and the views told when that changes.
  bool unsaved_at(Position p) const;
  void mark_unsaved(Position p, bool unsaved);
  // Every tab leaves and every window reference is released.
  void clear() noexcept;
  // Brackets several appends (see TabView::appends_began).
  void begin_appends();
  void end_appends();
  // Brackets several removals (see TabView::removals_began).
  void begin_removals();
  void end_removals();

  void add_view(TabView& view);
  void remove_view(TabView& view) noexcept;

 private:
  void check_position(Position p) const;
  template <class F>
  void announce(F&& f);

  std::vector<host::Ref<host::Window>> windows_;
  std::vector<std::u16string> captions_;  // beside windows_
  std::vector<bool> caption_unsure_;      // beside windows_: a view failed to show it
  std::vector<bool> unsaved_;             // beside windows_: the document has unsaved changes
  std::unordered_set<const host::Window*> known_;  // the windows above, for has_tab
  std::vector<TabView*> views_;
};

}  // namespace plovera
