#include "tabstrip/strip_layout.h"

#include <algorithm>
#include <cmath>

#include "base/first_failure.h"
#include "base/numbers.h"
#include "host/error.h"

namespace plovera {

namespace {

constexpr float kStep = 1000.0f;  // one scroll step
constexpr float kGap = 30.0f;     // between two faces
constexpr float kIconWidth = 240.0f, kCloseWidth = 210.0f;

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

// The sums run in the order the form's own reads once took them (width plus
// left, then the spacing), so every left is the float it always was.
TabPlacement placement_of(float face_left, float face_width, float caption_width,
                          const Mirror& mirror) noexcept {
  TabPlacement t;
  t.face_left = face_left;
  t.face_width = face_width;
  t.icon_left = face_left + 15.0f;
  t.caption_left = kIconWidth + t.icon_left + 30.0f;
  t.close_left = caption_width + t.caption_left + 30.0f;
  if (!mirror.on) return t;
  const float w = mirror.bar_width;
  t.face_left = w - (t.face_left + face_width);
  t.icon_left = w - (t.icon_left + kIconWidth);
  t.caption_left = w - (t.caption_left + caption_width);
  t.close_left = w - (t.close_left + kCloseWidth);
  return t;
}

float face_width_for(float face_left, float caption_width) noexcept {
  const TabPlacement t = placement_of(face_left, 0.0f, caption_width);
  return kCloseWidth + t.close_left - t.icon_left + 30.0f;
}

StripLayout::StripLayout(const SlotMap& slots) : slots_(slots) {
  // Room for every slot at once, like the slot tables: no change of the
  // strip allocates.
  tabs_.assign(static_cast<std::size_t>(SlotMap::kMaxSlot) + 1, Tab{});
}

void StripLayout::set_mirror(const Mirror& mirror) {
  if (mirror == mirror_) return;
  mirror_ = mirror;
  for (std::int32_t p = 1; p <= count(); ++p) mark(tab(at(p)));
}

void StripLayout::clear() {
  std::fill(tabs_.begin(), tabs_.end(), Tab{});
  highest_ = 0;
  pending_ = 0;
  arrows_ = ArrowLayout{};
  left_arrow_shown_ = right_arrow_shown_ = false;
}

StripLayout::Tab& StripLayout::tab(Slot s) {
  if (s.value < 0 || s.value > SlotMap::kMaxSlot) throw_host_error(status::bad_index, "tab slot");
  return tabs_[static_cast<std::size_t>(s.value)];
}

float StripLayout::face_right(Slot s) const {
  const Tab& t = tab(s);
  return t.face_left + t.face_width;
}

TabPlacement StripLayout::placement(Slot s) const {
  const Tab& t = tab(s);
  return placement_of(t.face_left, t.face_width, t.caption_width, mirror_);
}

TabPlacement StripLayout::add_tab(Slot s, float face_left, float caption_width) {
  Tab& t = tab(s);
  t.face_left = face_left;
  t.caption_width = caption_width;
  t.face_width = face_width_for(face_left, caption_width);
  if (t.pending) --pending_;
  t.pending = false;
  highest_ = std::max(highest_, s.value);
  return placement(s);
}

// The face's left becomes x, a whole number of twips as the form holds it.
void StripLayout::place(Slot s, std::int32_t x) {
  Tab& t = tab(s);
  t.face_left = static_cast<float>(x);
  mark(t);
}

void StripLayout::mark(Tab& t) noexcept {
  if (t.pending) return;
  t.pending = true;
  ++pending_;
}

void StripLayout::drop_pending() noexcept {
  for (Tab& t : tabs_) t.pending = false;
  pending_ = 0;
}

bool StripLayout::take_pending(Slot s) {
  Tab& t = tab(s);
  if (!t.pending) return false;
  t.pending = false;
  --pending_;
  return true;
}

std::int32_t StripLayout::next_icon_left() const {
  if (count() == 0) return 75;
  return round_half_even(face_right(at(count())) + 45.0f);
}

// The last face ends 75 twips before the right arrow, each earlier face 30
// twips before the next.
void StripLayout::align_right() {
  if (count() == 0) return;
  Slot s = at(count());
  place(s, round_half_even(arrows_.right_arrow_left - tab(s).face_width - 75.0f));
  for (std::int32_t p = count() - 1; p >= 1; --p) {
    s = at(p);
    place(s, round_half_even(tab(at(p + 1)).face_left - tab(s).face_width - kGap));
  }
}

// The first face at 60, each other 30 twips after the one before it.
void StripLayout::align_left() {
  if (count() == 0) return;
  place(at(1), 60);
  for (std::int32_t p = 2; p <= count(); ++p)
    place(at(p), round_half_even(face_right(at(p - 1)) + kGap));
}

// Each step towards the end moves every tab 1000 twips left, unless the last
// tab already ends at least 1000 twips before the right arrow. The stop rule
// follows the last face's left alone, in the arithmetic the steps use.
std::int32_t StripLayout::steps_towards_end(std::int32_t limit) const {
  if (count() == 0) return 0;
  const Tab& last = tab(at(count()));
  const float arrow = arrows_.right_arrow_left, width = last.face_width;
  float left = last.face_left;
  std::int32_t steps = 0;
  while (steps < limit && arrow - kStep < left + width) {
    left = left + -kStep;
    ++steps;
  }
  return steps;
}

// Towards the start each step moves every tab 1000 twips right, unless the
// first tab already starts at least 1000 twips after the left arrow.
std::int32_t StripLayout::steps_towards_start(std::int32_t limit) const {
  if (count() == 0) return 0;
  const float arrow_end = arrows_.left_arrow_end;
  float left = tab(at(1)).face_left;
  std::int32_t steps = 0;
  while (steps < limit && arrow_end + kStep > left) {
    left = left + kStep;
    ++steps;
  }
  return steps;
}

void StripLayout::shift_all(float dx, std::int32_t steps) {
  if (steps <= 0) return;
  for (std::int32_t p = 1; p <= count(); ++p) {
    Tab& t = tab(at(p));
    t.face_left = shifted(t.face_left, dx, steps);
    mark(t);
  }
}

// As many steps as it takes, each with its own stop rule.
void StripLayout::bring_into_view(Slot s, float bar_width) {
  if (tab(s).face_left < 0.0f) {
    const std::int32_t m = round_half_even(std::fabs(tab(s).face_left)) / 1000 + 1;
    shift_all(kStep, steps_towards_start(m));
  }
  if (face_right(s) > bar_width) {
    const std::int32_t m = round_half_even(face_right(s) - bar_width) / 1000 + 1;
    shift_all(-kStep, steps_towards_end(m));
  }
}

// The first face at 60, or 60 after the shown left arrow; each other face
// 30 after the one before it. One that cannot be placed stays where it was
// and the next one follows it.
void StripLayout::close_gap(Position p) {
  FirstFailure failure;
  for (std::int32_t r = p.value; r <= count(); ++r) {
    failure.run([&] {
      float left = 60.0f;
      if (r != 1) left = face_right(at(r - 1)) + kGap;
      else if (arrows_.visible) left = arrows_.left_arrow_end + 60.0f;
      place(at(r), round_half_even(left));
    });
  }
  if (count() > 0) failure.run([&] { realign(); });
  failure.rethrow();
}

// With more than 2000 twips free before the right arrow, the strip aligns
// right; if it then fits entirely, the arrows go and it aligns left.
void StripLayout::realign() {
  const float right = face_right(at(count()));
  if (!(arrows_.right_arrow_left - 2000.0f > right && arrows_.visible)) return;
  align_right();
  if (arrows_.left_arrow_end < tab(at(1)).face_left) {
    arrows_.visible = false;
    align_left();
  }
}

// Only the moved tab and the tabs it passed are placed again, each once,
// from the left end of the range that changed.
void StripLayout::follow_move(Position from, Position to, float first_left) {
  if (to < from) {
    place(at(to.value), round_half_even(first_left));
    for (std::int32_t r = to.value + 1; r <= from.value; ++r)
      place(at(r), round_half_even(face_right(at(r - 1)) + kGap));
    return;
  }
  const Slot moved = at(to.value);
  for (std::int32_t r = from.value; r < to.value; ++r) {
    // At the first place the moved tab's old left is where the strip starts.
    const float x = r == 1 ? first_left : face_right(at(r - 1)) + kGap;
    place(at(r), round_half_even(x));
  }
  place(moved, round_half_even(face_right(at(to.value - 1)) + kGap));
}

// A caption that changes its width by whole twips moves the close button
// and resizes the face; the tabs after it shift by the same whole twips.
void StripLayout::resize_caption(Slot s, float new_width) {
  Tab& t = tab(s);
  const auto before = static_cast<float>(round_half_even(t.caption_width));
  t.caption_width = new_width;
  if (new_width == before) return;
  const std::int32_t d = round_half_even(new_width - before);
  const TabPlacement now = placement(s);
  t.face_width = kCloseWidth + now.close_left + 15.0f - t.face_left;
  mark(t);
  const Position p = slots_.position_of(s);
  for (std::int32_t q = p.value + 1; q <= count(); ++q) {
    Tab& next = tab(at(q));
    next.face_left = next.face_left + static_cast<float>(d);
    mark(next);
  }
}

}  // namespace plovera
