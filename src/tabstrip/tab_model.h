// The tab model: which Word windows have tabs, in which left-to-right order,
// which control elements draw each tab, and which tab is selected, hovered
// or pressed.
//
// Two kinds of index, never to be mixed:
//  - a position p (1 = leftmost .. tabcount) is a tab's place in the strip;
//  - a control index c (1, 2, ...) selects the four elements Image1(c),
//    Image2(c), Image3(c), Label2(c) that draw one tab; it is fixed for the
//    tab's life and reused after the tab closes.
// taborder(p) = c and ctlpos(c) = p map one to the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/word.h"

namespace plovera {

// A table with indexes 0..Last. An index outside that range fails as a
// failing host call would, so a wrong index ends the operation instead of
// writing past the table.
template <class T, std::int32_t Last>
class Table {
 public:
  Table() : v_(Last + 1) {}
  T& operator()(std::int32_t i) {
    if (i < 0 || i > Last) throw_host_error(status::bad_index, "table index");
    return v_[static_cast<std::size_t>(i)];
  }
  static constexpr std::int32_t last = Last;

 private:
  std::vector<T> v_;
};

inline constexpr std::int32_t kMaxTabs = 1000;

struct TabModel {
  Table<host::Ref<host::Window>, kMaxTabs> wins;  // wins(p): the window of the tab at p
  std::int32_t wincount = 0;
  Table<std::int32_t, kMaxTabs> taborder;  // taborder(p) = control index at p
  Table<std::int32_t, 2000> ctlpos;        // ctlpos(c) = position of control index c
  std::int32_t tabcount = 0;
  std::int16_t activeidx = 0;  // control index of the selected tab
  std::int16_t hoveridx = 0;   // control index whose face shows the hover image
  std::int16_t closeidx = 0;   // control index whose close button is hot
  std::int32_t pressidx = 0;   // left press not yet turned into a drag
  std::int16_t mousebusy = 0;  // 1 while MouseM runs
};

}  // namespace plovera
