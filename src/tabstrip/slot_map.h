// One bar's tables between tab positions and the element sets (slots) that
// draw them: slot_at(p) and position_of(slot) map one to the other. A slot
// is fixed for its tab's life and reused after the tab closes.
//
// A position or slot outside the tables' range fails as a failing host call
// would, so a wrong index ends the operation instead of writing past a
// table. Inside the range, an entry that holds no tab reads as 0.
#pragma once

#include <cstdint>
#include <vector>

#include "tabstrip/tab_model.h"

namespace plovera {

class SlotMap {
 public:
  // Slots go up to twice the tab limit: element sets are reused, but a
  // set that failed to build stays loaded beside the ones in use.
  static constexpr std::int32_t kMaxSlot = 2 * kMaxTabs;

  SlotMap() { clear(); }

  std::int32_t count() const noexcept { return count_; }
  Slot slot_at(Position p) const;
  Position position_of(Slot s) const;
  // Whether `s` draws a tab of the strip now.
  bool contains(Slot s) const noexcept;

  void append(Slot s);
  void remove_at(Position p);
  void move(Position from, Position to);
  void clear();
  // Forgets every tab; the tables keep their entries, unreachable past count.
  void forget_tabs() noexcept { count_ = 0; }

 private:
  std::int32_t& order(Position p);
  std::int32_t& place(Slot s);

  std::vector<std::int32_t> order_;  // order_[p]: the slot at position p
  std::vector<std::int32_t> place_;  // place_[s]: the position of slot s
  std::int32_t count_ = 0;
};

}  // namespace plovera
