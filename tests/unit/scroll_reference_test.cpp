// Scrolling moves every element once by all its 1000-twip steps together;
// appending many tabs in one pass aligns and selects once. Both must leave
// every element exactly where the one-step-at-a-time rule leaves it. The
// step-by-step rule is kept here as the reference and compared on random
// strips: any difference in any element's left is a failure.
#include <cmath>
#include <random>
#include <vector>

#include "base/numbers.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Element;
using host::Part;

constexpr float kStep = 1000.0f;
constexpr Part kTabParts[] = {Part::icon, Part::caption, Part::close_button, Part::face};

// The scrolling rules one step at a time, on the form itself.
class StepByStep {
 public:
  StepByStep(host::Form& f, TabBar& bar) : f_(f), bar_(bar) {}

  void towards_end() {
    const std::int32_t n = bar_.count();
    if (n == 0) return;
    if (!(f_.Left(right_arrow()) - kStep < face_right(slot(n)))) return;
    for (std::int32_t p = n; p >= 1; --p) shift(slot(p), -kStep);
  }
  void towards_start() {
    const std::int32_t n = bar_.count();
    if (n == 0) return;
    if (!(f_.Left(left_arrow()) + f_.Width(left_arrow()) + kStep > f_.Left(face(slot(1)))))
      return;
    for (std::int32_t p = 1; p <= n; ++p) shift(slot(p), kStep);
  }
  void bring_into_view(Slot s) {
    if (f_.Left(face(s)) < 0.0f) {
      const std::int32_t m = round_half_even(std::fabs(f_.Left(face(s)))) / 1000 + 1;
      for (std::int32_t k = 0; k < m; ++k) towards_start();
    }
    if (face_right(s) > f_.Width()) {
      const std::int32_t m = round_half_even(face_right(s) - f_.Width()) / 1000 + 1;
      for (std::int32_t k = 0; k < m; ++k) towards_end();
    }
  }

 private:
  static Element face(Slot s) { return {Part::face, static_cast<std::int16_t>(s.value)}; }
  static Element left_arrow() { return {Part::left_arrow, 0}; }
  static Element right_arrow() { return {Part::right_arrow, 0}; }
  Slot slot(std::int32_t p) { return bar_.slot_at(Position(p)); }
  float face_right(Slot s) { return f_.Left(face(s)) + f_.Width(face(s)); }
  void shift(Slot s, float dx) {
    for (Part part : kTabParts) {
      const Element e{part, static_cast<std::int16_t>(s.value)};
      f_.Left(e, f_.Left(e) + dx);
    }
  }

  host::Form& f_;
  TabBar& bar_;
};

// A bar with n tabs of random caption lengths.
class RandomStrip : public WordFixture {
 public:
  explicit RandomStrip(int n) {
    for (int i = 0; i < n; ++i)
      word.open_document(std::u16string(static_cast<std::size_t>(pick(1, 40)), u'a' + i % 26));
    start();
    tick(2);
  }

  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // Runs one scrolling entry point and its step-by-step reference from the
  // same random strip and expects the same lefts.
  template <class Fast, class Reference>
  void expect_same(const char* what, Fast fast, Reference reference) {
    scatter();
    const std::vector<float> before = lefts_of_every_element();
    StepByStep steps(form(), bar);
    reference(steps);
    const std::vector<float> expected = lefts_of_every_element();
    restore(before);
    fast();
    ASSERT_EQ(lefts_of_every_element(), expected) << what << " with " << bar.count() << " tabs";
  }

 private:
  std::vector<float> lefts_of_every_element() {
    std::vector<float> out;
    for (std::int32_t p = 1; p <= bar.count(); ++p)
      for (Part part : kTabParts) out.push_back(el(part, slot(p)).left);
    return out;
  }
  void restore(const std::vector<float>& lefts) {
    std::size_t i = 0;
    for (std::int32_t p = 1; p <= bar.count(); ++p)
      for (Part part : kTabParts)
        form().Left({part, static_cast<std::int16_t>(slot(p).value)}, lefts[i++]);
  }
  // A random scroll position: the strip laid out from a random first left,
  // faces 30 twips apart; the arrows shown or not.
  void scatter() {
    std::int32_t x = pick(-400000, 20000);
    for (std::int32_t p = 1; p <= bar.count(); ++p) {
      bar.place_tab(slot(p), x);
      x = round_half_even(el(Part::face, slot(p)).left + el(Part::face, slot(p)).width + 30.0f);
    }
    const bool arrows = pick(0, 3) != 0;
    form().Visible({Part::left_arrow, 0}, arrows);
    form().Visible({Part::right_arrow, 0}, arrows);
  }

  std::mt19937_64 rng_{20261207};
};

TEST(ScrollReference, EveryScrollLeavesTheStepByStepPositions) {
  for (int n : {1, 2, 7, 40, 300, 1000}) {
    RandomStrip t(n);
    ASSERT_EQ(t.bar.count(), n);
    for (int round = 0; round < (n >= 300 ? 3 : 12); ++round) {
      const Slot s = t.slot(t.pick(1, n));
      t.expect_same("bring_into_view", [&] { t.bar.bring_into_view(s); },
                    [&](StepByStep& r) { r.bring_into_view(s); });
      t.expect_same("one step towards the end", [&] { t.bar.scroll_towards_end(); },
                    [&](StepByStep& r) { r.towards_end(); });
      t.expect_same("one step towards the start", [&] { t.bar.scroll_towards_start(); },
                    [&](StepByStep& r) { r.towards_start(); });
    }
  }
}

TEST(ScrollReference, SelectingTheFarEndMovesEachElementOnce) {
  RandomStrip t(300);
  t.bar.select_tab(t.slot(300));
  t.forms.reset_calls();
  t.bar.select_tab(t.slot(1));  // 300 tabs to the right: hundreds of steps
  EXPECT_EQ(t.forms.calls("Element.Left.let"), 4 * 300);
}

// Many windows at once: the strip ends as it would with one window per pass.
TEST(ScrollReference, ManyTabsInOnePassEndWhereOneByOneWouldLeaveThem) {
  for (int n : {3, 12, 200}) {
    WordFixture one_by_one, at_once;
    std::mt19937_64 names(static_cast<std::uint64_t>(n));
    std::vector<std::u16string> captions;
    for (int i = 0; i < n; ++i)
      captions.push_back(std::u16string(names() % 30 + 1, static_cast<char16_t>(u'a' + i % 26)));
    one_by_one.word.open_document(captions[0]);
    one_by_one.start();
    one_by_one.tick();
    for (int i = 1; i < n; ++i) {
      one_by_one.word.open_document(captions[static_cast<std::size_t>(i)]);
      one_by_one.tick();
    }
    for (const auto& c : captions) at_once.word.open_document(c);
    at_once.start();
    at_once.tick();
    ASSERT_EQ(at_once.bar.count(), n);
    EXPECT_EQ(at_once.lefts(), one_by_one.lefts()) << n;
    EXPECT_EQ(at_once.strip(), one_by_one.strip()) << n;
    EXPECT_EQ(at_once.el(Part::left_arrow, 0).visible, one_by_one.el(Part::left_arrow, 0).visible);
    EXPECT_EQ(at_once.invariants(), "");
  }
}

}  // namespace
}  // namespace plovera::testing
