// A right-to-left Word (its interface language, or its mirrored main
// window) shows the strip reflected: the same strip as left to right, each
// element at W - (left + width) on a form W twips wide, the arrows at the
// same places with their roles swapped. The property is checked on random
// strips driven by random clicks, scrolls, drags, closes and resizes, each
// given mirrored to the right-to-left bar; then the details a user sees.
#include <random>
#include <sstream>
#include <vector>

#include "base/ui_texts.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Element;
using host::Part;

constexpr Part kTabParts[] = {Part::face, Part::icon, Part::caption, Part::close_button};
constexpr std::int32_t kArabic = 1025, kHebrew = 1037, kPersian = 1065, kUrdu = 1056;

Element at(Part part, Slot s) { return {part, static_cast<std::int16_t>(s.value)}; }

// A right-to-left bar: by Word's interface language, or by its main window.
enum class RtlBy { language, mirrored_window };

void make_right_to_left(WordFixture& w, RtlBy by) {
  if (by == RtlBy::language) w.word.ui_language(kArabic);
  else w.ws.mirror(w.main);
}

// Where the first element differs from the left-to-right strip reflected;
// empty when the right-to-left strip is its exact mirror image.
std::string reflection_mismatch(WordFixture& ltr, WordFixture& rtl) {
  if (ltr.strip() != rtl.strip()) return "strips differ: " + ltr.strip() + " / " + rtl.strip();
  const float w = rtl.forms.form()->Width();
  if (w != ltr.forms.form()->Width()) return "forms of different widths";
  for (std::int32_t p = 1; p <= ltr.bar.count(); ++p) {
    for (Part part : kTabParts) {
      const sim::ElementRecord& l = ltr.el(part, ltr.slot(p));
      const sim::ElementRecord& r = rtl.el(part, rtl.slot(p));
      if (r.left != w - (l.left + l.width) || r.width != l.width || r.visible != l.visible) {
        std::ostringstream s;
        s << "tab " << p << " part " << static_cast<int>(part) << ": " << r.left << " not "
          << w - (l.left + l.width);
        return s.str();
      }
    }
  }
  // The arrows stay where they are; only what they do swaps.
  for (Part arrow : {Part::left_arrow, Part::right_arrow}) {
    const sim::ElementRecord &l = ltr.el(arrow, 0), &r = rtl.el(arrow, 0);
    if (l.left != r.left || l.visible != r.visible) return "an arrow differs";
  }
  if (std::string broken = rtl.invariants(); !broken.empty()) return broken;
  return {};
}

// The same Word twice, left to right and right to left, and a hand that
// does to both what a user would, mirrored for the right-to-left one.
class MirroredPair {
 public:
  MirroredPair(RtlBy by, std::uint64_t seed) : rng_(seed) {
    make_right_to_left(rtl, by);
    for (int i = 0; i < pick(1, 12); ++i) open_document();
    for (WordFixture* w : {&ltr, &rtl}) {
      w->start();
      w->tick(2);
    }
  }

  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // One random action on both bars; returns what it was.
  std::string act() {
    switch (pick(0, 7)) {
      case 0:
        open_document();
        return "open";
      case 1: {
        if (ltr.bar.count() < 2) return "nothing";
        const std::u16string caption = utf8_caption(pick(1, ltr.bar.count()));
        for (WordFixture* w : {&ltr, &rtl}) w->word.close_window(w->window(caption));
        tick();
        return "close";
      }
      case 2: {
        const std::int32_t p = pick(1, ltr.bar.count());
        for (WordFixture* w : {&ltr, &rtl}) w->forms.click(at(Part::caption, w->slot(p)));
        tick();
        return "click";
      }
      case 3: {
        if (!ltr.el(Part::left_arrow, 0).visible) return "nothing";
        const bool left = pick(0, 1) == 0;
        const std::uint32_t ms = static_cast<std::uint32_t>(pick(1, 6)) * 100;
        hold(ltr, left ? Part::left_arrow : Part::right_arrow, ms);
        hold(rtl, left ? Part::right_arrow : Part::left_arrow, ms);
        return "arrow";
      }
      case 4: {
        const auto notches = static_cast<std::int16_t>(pick(-3, 3));
        const bool horizontal = pick(0, 1) == 0;
        ltr.forms.wheel(notches, horizontal);
        rtl.forms.wheel(horizontal ? static_cast<std::int16_t>(-notches) : notches, horizontal);
        return "wheel";
      }
      case 5: return drag();
      case 6: {
        const std::int32_t width = pick(500, 1600);
        for (WordFixture* w : {&ltr, &rtl}) {
          w->word.width_points(width * 3 / 4);  // Word's own width, in points
          w->relayout(width, 700);
        }
        tick();
        return "resize";
      }
      default:
        // The form read back by hand (as a test that edits it does).
        ltr.form();
        rtl.form();
        tick();
        return "read back";
    }
  }

  WordFixture ltr, rtl;

 private:
  void open_document() {
    const auto length = static_cast<std::size_t>(pick(1, 40));
    const std::u16string name =
        std::u16string(length, static_cast<char16_t>(u'a' + opened_ % 26)) + u"#" +
        std::u16string(1, static_cast<char16_t>(u'A' + opened_ % 26)) +
        std::u16string(1, static_cast<char16_t>(u'0' + opened_ / 26 % 10));
    ++opened_;
    for (WordFixture* w : {&ltr, &rtl}) w->word.open_document(name);
    tick();
  }
  std::u16string utf8_caption(std::int32_t p) {
    return ltr.forms.form()->Caption(at(Part::caption, ltr.slot(p)));
  }
  void tick() {
    ltr.tick(2);
    rtl.tick(2);
  }
  static void hold(WordFixture& w, Part arrow, std::uint32_t ms) {
    w.forms.mouse_down({arrow, 0}, host::kLeftButton);
    w.forms.advance(ms);
    w.forms.mouse_up({arrow, 0}, host::kLeftButton);
  }
  std::string drag() {
    const std::int32_t p = pick(1, ltr.bar.count());
    for (WordFixture* w : {&ltr, &rtl}) {
      w->forms.mouse_down(at(Part::caption, w->slot(p)), host::kLeftButton);
      w->forms.mouse_move(at(Part::caption, w->slot(p)), host::kLeftButton);
    }
    if (!ltr.forms.drag_source() || !rtl.forms.drag_source()) return "drag refused";
    const float width = ltr.forms.form()->Width();
    const auto x = static_cast<float>(pick(-200, static_cast<int>(width) + 200));
    ltr.forms.drop({Part::bar, 0}, x, 100);
    rtl.forms.drop({Part::bar, 0}, width - x, 100);
    tick();
    return "drag";
  }

  std::mt19937_64 rng_;
  int opened_ = 0;
};

TEST(RightToLeft, EveryStripIsTheLeftToRightOneReflected) {
  for (RtlBy by : {RtlBy::language, RtlBy::mirrored_window}) {
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
      MirroredPair pair(by, seed);
      ASSERT_TRUE(pair.rtl.bar.right_to_left());
      ASSERT_FALSE(pair.ltr.bar.right_to_left());
      ASSERT_EQ(reflection_mismatch(pair.ltr, pair.rtl), "") << "at the start, seed " << seed;
      std::string actions;
      for (int step = 0; step < 60; ++step) {
        actions += pair.act() + " ";
        ASSERT_EQ(pair.ltr.invariants(), "") << actions;
        ASSERT_EQ(reflection_mismatch(pair.ltr, pair.rtl), "") << "seed " << seed << ": " << actions;
      }
    }
  }
}

// Three tabs T1..T3 in a right-to-left Word.
class RtlStrip : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    word.ui_language(kHebrew);
    for (int i = 1; i <= 3; ++i) word.open_document(u"T" + std::u16string(1, u'0' + i));
    word.activate(window(u"T1"));
    start();
    tick(2);
  }
  float width() { return forms.form()->Width(); }
  float right_of(Part part, Slot s) { return el(part, s).left + el(part, s).width; }
};

TEST_F(RtlStrip, TheFirstTabStandsAtTheRightEdgeWithItsCloseButtonAtItsLeft) {
  EXPECT_TRUE(forms.form()->right_to_left());
  EXPECT_EQ(right_of(Part::face, slot(1)), width() - 60.0f);
  for (std::int32_t p = 2; p <= 3; ++p)
    EXPECT_EQ(right_of(Part::face, slot(p)) + 30.0f, el(Part::face, slot(p - 1)).left) << p;
  for (std::int32_t p = 1; p <= 3; ++p) {
    const Slot s = slot(p);
    // Reading from the right: icon, caption, close button.
    EXPECT_LT(el(Part::close_button, s).left, el(Part::caption, s).left);
    EXPECT_LT(el(Part::caption, s).left, el(Part::icon, s).left);
    EXPECT_EQ(el(Part::close_button, s).left, el(Part::face, s).left + 15.0f);
    EXPECT_EQ(right_of(Part::icon, s), right_of(Part::face, s) - 15.0f);
  }
  EXPECT_EQ(invariants(), "");
}

TEST_F(RtlStrip, ClicksReachTheTabDrawnWhereTheyLand) {
  forms.click(at(Part::icon, slot(3)));
  tick(2);
  EXPECT_EQ(utf8(word.active_window()->caption()), "T3");
  EXPECT_EQ(strip(), "T1 T2 T3*");
  forms.click(at(Part::close_button, slot(2)));
  tick(2);
  EXPECT_EQ(strip(), "T1 T3*");
  // T3 closed the gap from the right.
  EXPECT_EQ(right_of(Part::face, slot(2)) + 30.0f, el(Part::face, slot(1)).left);
  EXPECT_EQ(invariants(), "");
}

TEST_F(RtlStrip, DropsCountFromTheRight) {
  auto drag = [&](std::int32_t p) {
    forms.mouse_down(at(Part::caption, slot(p)), host::kLeftButton);
    forms.mouse_move(at(Part::caption, slot(p)), host::kLeftButton);
    ASSERT_TRUE(forms.drag_source());
  };
  // Dropped on the bar's left end, past the last tab: T1 becomes the last.
  drag(1);
  ASSERT_EQ(forms.drop({Part::bar, 0}, 100, 100), status::ok);
  tick(2);
  EXPECT_EQ(strip(), "T2 T3 T1*");
  // Dropped at the right edge: T3 becomes the first, at the right.
  drag(2);
  ASSERT_EQ(forms.drop({Part::bar, 0}, width() - 10, 100), status::ok);
  tick(2);
  EXPECT_EQ(strip(), "T3* T2 T1");
  EXPECT_EQ(right_of(Part::face, slot(1)), width() - 60.0f);
  // Into the gap between the first two tabs, from further left.
  drag(3);
  ASSERT_EQ(forms.drop({Part::bar, 0}, el(Part::face, slot(1)).left - 10, 100), status::ok);
  tick(2);
  EXPECT_EQ(strip(), "T3 T1* T2");
  EXPECT_EQ(invariants(), "");
}

// Enough tabs to overflow the bar: the arrows show.
class RtlOverflow : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    word.ui_language(kArabic);
    for (int i = 1; i <= 12; ++i)
      word.open_document(u"Document " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    start();
    tick(2);
    ASSERT_TRUE(el(Part::left_arrow, 0).visible);
    ASSERT_TRUE(el(Part::right_arrow, 0).visible);
  }
  float first_face_left() { return el(Part::face, slot(1)).left; }
  void hold(Part arrow, std::uint32_t ms) {
    forms.mouse_down({arrow, 0}, host::kLeftButton);
    forms.advance(ms);
    forms.mouse_up({arrow, 0}, host::kLeftButton);
  }
};

TEST_F(RtlOverflow, TheLeftArrowScrollsOnToLaterTabsAndTheRightOneBack) {
  // The last tab, selected, is in view just right of the left arrow; the
  // first ones are hidden beyond the right edge.
  const float width = forms.form()->Width();
  EXPECT_GT(first_face_left(), width);
  const Slot last = slot(12);
  EXPECT_EQ(el(Part::face, last).left,
            el(Part::left_arrow, 0).left + el(Part::left_arrow, 0).width + 75.0f);
  // The left arrow moves the strip rightwards (one step of 1000 twips a
  // tick of its timer) until the last tab ends 1000 twips from it.
  const float before = first_face_left();
  hold(Part::left_arrow, 300);
  EXPECT_EQ(first_face_left(), before + 1000.0f);
  // The right arrow brings the earlier tabs in from the right.
  hold(Part::right_arrow, 200);
  EXPECT_EQ(first_face_left(), before - 1000.0f);
  hold(Part::left_arrow, 100);
  EXPECT_EQ(first_face_left(), before);
  EXPECT_EQ(invariants(), "");
}

TEST_F(RtlOverflow, TheWheelTiltedRightScrollsTowardsTheFirstTab) {
  const float before = first_face_left();
  forms.wheel(1, true);  // tilted right: the tabs beyond the right edge
  EXPECT_EQ(first_face_left(), before - 1000.0f);
  forms.wheel(-1, true);
  EXPECT_EQ(first_face_left(), before);
  forms.wheel(1, false);  // away from the user: towards the start, as left to right
  EXPECT_EQ(first_face_left(), before - 1000.0f);
}

TEST_F(RtlOverflow, DropsOnTheArrowsFollowTheirRoles) {
  forms.mouse_down(at(Part::caption, slot(12)), host::kLeftButton);
  forms.mouse_move(at(Part::caption, slot(12)), host::kLeftButton);
  ASSERT_EQ(forms.drop({Part::right_arrow, 0}, 0, 0), status::ok);  // the start's arrow
  tick(2);
  EXPECT_EQ(utf8(forms.form()->Caption(at(Part::caption, slot(1)))), "Document M");
  forms.mouse_down(at(Part::caption, slot(1)), host::kLeftButton);
  forms.mouse_move(at(Part::caption, slot(1)), host::kLeftButton);
  ASSERT_EQ(forms.drop({Part::left_arrow, 0}, 0, 0), status::ok);
  tick(2);
  EXPECT_EQ(utf8(forms.form()->Caption(at(Part::caption, slot(12)))), "Document M");
  EXPECT_EQ(invariants(), "");
}

// Word made wider: the strip stays at the right edge, the arrows go.
TEST_F(RtlOverflow, AWiderWordKeepsTheFirstTabAtTheRightEdge) {
  word.width_points(1500);
  relayout(2000, 700);
  tick(2);
  EXPECT_FALSE(el(Part::left_arrow, 0).visible);
  EXPECT_EQ(el(Part::face, slot(1)).left + el(Part::face, slot(1)).width,
            forms.form()->Width() - 60.0f);
  EXPECT_EQ(invariants(), "");
}

TEST(RightToLeftDirection, ComesFromTheInterfaceLanguageOrAMirroredMainWindow) {
  struct Case {
    std::int32_t language;
    bool mirrored;
    bool right_to_left;
  } cases[] = {
      {1033, false, false},    {kArabic, false, true},  {kHebrew, false, true},
      {kPersian, false, true}, {kUrdu, false, true},    {0x3801, false, true},  // Arabic (UAE)
      {1033, true, true},      {1031, true, true},      {0, false, false},
      {-1, false, false},      {0x10401, false, false}, {0x7FFFFFFF, false, false},
      {0x0459, false, false},  {0x0859, false, true},  // Sindhi: India, Pakistan
  };
  for (const Case& c : cases) {
    WordFixture w;
    w.word.ui_language(c.language);
    if (c.mirrored) w.ws.mirror(w.main);
    w.word.open_document(u"A");
    w.start();
    w.tick(2);
    EXPECT_EQ(w.bar.right_to_left(), c.right_to_left) << c.language << " " << c.mirrored;
    EXPECT_EQ(w.forms.form()->right_to_left(), c.right_to_left) << c.language;
    const float right = w.el(Part::face, w.slot(1)).left + w.el(Part::face, w.slot(1)).width;
    EXPECT_EQ(right == w.forms.form()->Width() - 60.0f, c.right_to_left) << c.language;
  }
}

// A language that is no LCID reads left to right, in English; a window that
// cannot be asked is not mirrored.
TEST(RightToLeftDirection, BadInputReadsLeftToRight) {
  for (std::int32_t id : {0, -1025, 0x10401, INT32_MIN, 0x7FFFFFFF}) {
    EXPECT_FALSE(reads_right_to_left(id)) << id;
    EXPECT_EQ(language_of(id), Language::english) << id;
  }
  WordFixture w;
  w.ws.mirror(w.main);
  w.ws.fail("GetWindowLong");
  w.word.open_document(u"A");
  w.start();
  w.tick(2);
  EXPECT_FALSE(w.bar.right_to_left());
  EXPECT_EQ(w.lefts(), "60");
}

}  // namespace
}  // namespace plovera::testing
