#include "tabstrip/slot_map.h"

#include "host/error.h"

namespace plovera {

std::int32_t& SlotMap::order(Position p) {
  if (p.value < 0 || p.value > kMaxTabs) throw_host_error(status::bad_index, "tab position");
  return order_[static_cast<std::size_t>(p.value)];
}

std::int32_t& SlotMap::place(Slot s) {
  if (s.value < 0 || s.value > kMaxSlot) throw_host_error(status::bad_index, "tab slot");
  return place_[static_cast<std::size_t>(s.value)];
}

Slot SlotMap::slot_at(Position p) const { return Slot(const_cast<SlotMap*>(this)->order(p)); }

Position SlotMap::position_of(Slot s) const {
  return Position(const_cast<SlotMap*>(this)->place(s));
}

bool SlotMap::contains(Slot s) const noexcept {
  if (s.value < 1 || s.value > kMaxSlot) return false;
  const std::int32_t p = place_[static_cast<std::size_t>(s.value)];
  return p >= 1 && p <= count_ && order_[static_cast<std::size_t>(p)] == s.value;
}

void SlotMap::append(Slot s) {
  const Position p(count_ + 1);
  order(p) = s.value;
  place(s) = p.value;
  count_ = p.value;
}

// The tabs to the right of `p` move one place left.
void SlotMap::remove_at(Position p) {
  for (std::int32_t q = p.value + 1; q <= count_; ++q) {
    const std::int32_t s = order(Position(q));
    order(Position(q - 1)) = s;
    place(Slot(s)) = q - 1;
  }
  count_ = count_ - 1;
}

// The tabs between the two places move one place towards `from`.
void SlotMap::move(Position from, Position to) {
  const std::int32_t moving = order(from);
  if (to < from) {
    for (std::int32_t q = from.value; q > to.value; --q) {
      const std::int32_t s = order(Position(q - 1));
      order(Position(q)) = s;
      place(Slot(s)) = q;
    }
  } else {
    for (std::int32_t q = from.value; q < to.value; ++q) {
      const std::int32_t s = order(Position(q + 1));
      order(Position(q)) = s;
      place(Slot(s)) = q;
    }
  }
  order(to) = moving;
  place(Slot(moving)) = to.value;
}

void SlotMap::clear() {
  order_.assign(static_cast<std::size_t>(kMaxTabs) + 1, 0);
  place_.assign(static_cast<std::size_t>(kMaxSlot) + 1, 0);
  count_ = 0;
}

}  // namespace plovera
