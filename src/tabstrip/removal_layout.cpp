#include "tabstrip/removal_layout.h"

#include "base/first_failure.h"
#include "base/numbers.h"
#include "host/error.h"

namespace plovera {

namespace {
constexpr host::Element kLeftArrow{host::Part::left_arrow, 0};
constexpr host::Element kRightArrow{host::Part::right_arrow, 0};
}  // namespace

void RemovalLayout::start(const SlotMap& slots) {
  clear();
  try {
    // The table keeps its room from one go to the next: only the first go,
    // or a longer strip, allocates.
    tabs_.reserve(static_cast<std::size_t>(slots.count()));
    for (std::int32_t p = 1; p <= slots.count(); ++p) {
      const std::int32_t s = slots.slot_at(Position(p)).value;
      if (s > INT16_MAX) throw_host_error(status::overflow, "tab slot");
      Tab tab;
      tab.face = {host::Part::face, static_cast<std::int16_t>(s)};
      tabs_.push_back(tab);
    }
  } catch (...) {
    clear();
    throw;
  }
  started_ = true;
}

void RemovalLayout::clear() noexcept {
  tabs_.clear();
  moved_then_removed_.clear();
  arrows_visible_.reset();
  left_arrow_end_.reset();
  right_arrow_left_.reset();
  hides_arrows_ = false;
  started_ = false;
}

float RemovalLayout::face_left(host::Form& f, Tab& t) {
  if (!t.left) t.left = f.Left(t.face);
  return *t.left;
}

float RemovalLayout::face_width(host::Form& f, Tab& t) {
  if (!t.width) t.width = f.Width(t.face);
  return *t.width;
}

float RemovalLayout::face_right(host::Form& f, Tab& t) {
  const float left = face_left(f, t);
  return left + face_width(f, t);
}

bool RemovalLayout::arrows_visible(host::Form& f) {
  if (!arrows_visible_) arrows_visible_ = f.Visible(kLeftArrow);
  return *arrows_visible_;
}

float RemovalLayout::left_arrow_end(host::Form& f) {
  if (!left_arrow_end_) {
    const float left = f.Left(kLeftArrow);
    left_arrow_end_ = left + f.Width(kLeftArrow);
  }
  return *left_arrow_end_;
}

float RemovalLayout::right_arrow_left(host::Form& f) {
  if (!right_arrow_left_) right_arrow_left_ = f.Left(kRightArrow);
  return *right_arrow_left_;
}

// The face's left becomes `left` rounded to whole twips, as the form holds it.
void RemovalLayout::place(Tab& t, float left) {
  const std::int32_t x = round_half_even(left);
  t.left = static_cast<float>(x);
  t.placed = true;
  t.placed_at = x;
}

// The tabs after `p` move up one by one, each step on its own: one that
// cannot be placed stays where it was and the next one follows it.
void RemovalLayout::remove(host::Form& f, Position p) {
  if (p.value < 1 || p.value > static_cast<std::int32_t>(tabs_.size()))
    throw_host_error(status::bad_index, "tab position");
  const auto gone = tabs_.begin() + (p.value - 1);
  if (gone->placed) moved_then_removed_.push_back(*gone);
  tabs_.erase(gone);
  FirstFailure failure;
  for (std::size_t i = static_cast<std::size_t>(p.value - 1); i < tabs_.size(); ++i) {
    failure.run([&] {
      float left = 60.0f;
      if (i != 0) left = face_right(f, tabs_[i - 1]) + 30.0f;
      else if (arrows_visible(f)) left = left_arrow_end(f) + 60.0f;
      place(tabs_[i], left);
    });
  }
  if (!tabs_.empty()) failure.run([&] { realign(f); });
  failure.rethrow();
}

// With at least 2000 twips free before the right arrow, the strip aligns
// right; if it then fits entirely, the arrows go and it aligns left.
void RemovalLayout::realign(host::Form& f) {
  const float right = face_right(f, tabs_.back());
  if (!(right_arrow_left(f) - 2000.0f > right && arrows_visible(f))) return;
  align_right(f);
  if (left_arrow_end(f) < face_left(f, tabs_.front())) {
    arrows_visible_ = false;
    hides_arrows_ = true;
    align_left(f);
  }
}

// The last face ends 75 twips before the right arrow, each earlier face 30
// twips before the next.
void RemovalLayout::align_right(host::Form& f) {
  const float arrow = right_arrow_left(f);
  place(tabs_.back(), arrow - face_width(f, tabs_.back()) - 75.0f);
  for (std::size_t i = tabs_.size() - 1; i-- > 0;)
    place(tabs_[i], face_left(f, tabs_[i + 1]) - face_width(f, tabs_[i]) - 30.0f);
}

// The first face at 60, each other 30 twips after the one before it.
void RemovalLayout::align_left(host::Form& f) {
  place(tabs_.front(), 60.0f);
  for (std::size_t i = 1; i < tabs_.size(); ++i)
    place(tabs_[i], face_right(f, tabs_[i - 1]) + 30.0f);
}

}  // namespace plovera
