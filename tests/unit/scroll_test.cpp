// Placing tabs and scrolling the strip.
#include <sstream>

#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Part;

class Scroll : public ::testing::Test, public WordFixture {
 protected:
  void start_with(int n) {
    open(n);
    start();
    tick(2);
  }
  void shift_all(float dx) {
    for (std::int32_t p = 1; p <= bar.count(); ++p)
      bar.place_tab(slot(p),
                 static_cast<std::int32_t>(el(Part::face, slot(p)).left + dx));
  }
  float right_of(std::int32_t p) {
    const auto& f = el(Part::face, slot(p));
    return f.left + f.width;
  }
};

TEST_F(Scroll, TabposKeepsTheSpacingOfTheFourParts) {
  start_with(1);
  bar.place_tab(Slot(1), 60);
  EXPECT_EQ(el(Part::icon, 1).left, 75);  // the first tab of an unscrolled strip
  bar.place_tab(Slot(1), -700);
  EXPECT_EQ(el(Part::face, 1).left, -700);
  EXPECT_EQ(el(Part::icon, 1).left, -685);
  EXPECT_EQ(el(Part::caption, 1).left, -415);
  EXPECT_EQ(el(Part::close_button, 1).left, -700 + 315 + 400);
  EXPECT_EQ(el(Part::face, 1).width, 940);  // widths untouched
  EXPECT_TRUE(el(Part::face, 1).visible);   // nothing clipped or hidden
  forms.reset_paints();
  bar.place_tab(Slot(1), -700);
  EXPECT_EQ(forms.paints(), 0);  // the same place again changes nothing
}

TEST_F(Scroll, TorightAlignsToTheRightArrowWhateverTheOffset) {
  start_with(3);
  for (float offset : {0.0f, -4321.0f, 2500.0f}) {
    shift_all(offset);
    bar.align_right();
    EXPECT_EQ(right_of(3), el(Part::right_arrow, 0).left - 75);
    EXPECT_EQ(el(Part::face, slot(3)).left - right_of(2), 30);
    EXPECT_EQ(el(Part::face, slot(2)).left - right_of(1), 30);
  }
}

TEST_F(Scroll, ToleftStartsAt60) {
  start_with(3);
  shift_all(-5000);
  bar.align_left();
  EXPECT_EQ(lefts(), "60 1030 2000");
}

class HeldScroll : public Scroll {
 protected:
  // Eight tabs of 30-character captions: far wider than the bar.
  void SetUp() override {
    for (int i = 0; i < 8; ++i) word.open_document(std::u16string(30, u'a' + i));
    start();
    tick(2);
    ASSERT_TRUE(el(Part::right_arrow, 0).visible);
  }
  const host::Element left_arrow{Part::left_arrow, 0}, right_arrow{Part::right_arrow, 0};
};

TEST_F(HeldScroll, LeftArrowStepsRightBy1000UntilTheFirstTabIsClear) {
  const float first = el(Part::face, slot(1)).left;
  forms.mouse_down(left_arrow, host::kLeftButton);
  forms.advance(99);
  EXPECT_EQ(el(Part::face, slot(1)).left, first);  // nothing before 100 ms
  forms.advance(1);
  EXPECT_EQ(el(Part::face, slot(1)).left, first + 1000);
  forms.advance(10000);
  const float gap = el(Part::face, slot(1)).left - 285;
  EXPECT_GE(gap, 1000);
  EXPECT_LT(gap, 2000);
  EXPECT_EQ(invariants(), "");
  forms.mouse_up(left_arrow, host::kLeftButton);
  EXPECT_FALSE(form().timer_enabled(host::Timer::scroll_left));
  EXPECT_EQ(ws.foreground(), main);
}

TEST_F(HeldScroll, RightArrowStepsLeftBy1000UntilTheLastTabIsClear) {
  shift_all(20000);  // the strip far to the right
  const float first = el(Part::face, slot(1)).left;
  forms.mouse_down(right_arrow, host::kLeftButton);
  forms.advance(100);
  EXPECT_EQ(el(Part::face, slot(1)).left, first - 1000);
  forms.advance(20000);
  const float gap = el(Part::right_arrow, 0).left - right_of(8);
  EXPECT_GE(gap, 1000);
  EXPECT_LT(gap, 2000);
  forms.mouse_up(right_arrow, host::kLeftButton);
  EXPECT_FALSE(form().timer_enabled(host::Timer::scroll_right));
}

TEST_F(HeldScroll, EachStepMovesEveryTabByExactly1000) {
  const std::string before = lefts();
  forms.mouse_down(left_arrow, host::kLeftButton);
  forms.advance(100);
  forms.mouse_up(left_arrow, host::kLeftButton);
  std::istringstream a(before), b(lefts());
  float x, y;
  while (a >> x && b >> y) EXPECT_EQ(y - x, 1000);
}

TEST_F(HeldScroll, QuickClickDoesNotScroll) {
  const std::string before = lefts();
  forms.mouse_down(right_arrow, host::kLeftButton);
  forms.advance(50);
  forms.mouse_up(right_arrow, host::kLeftButton);
  forms.advance(500);
  EXPECT_EQ(lefts(), before);
}

TEST_F(HeldScroll, RightPressOpensTheMenuAndNeverScrolls) {
  int popups = 0;
  word.on_popup([&](sim::SimCommandBar&) { ++popups; });
  forms.mouse_down(right_arrow, host::kRightButton);
  EXPECT_EQ(popups, 1);
  EXPECT_FALSE(form().timer_enabled(host::Timer::scroll_right));
  EXPECT_FALSE(form().timer_enabled(host::Timer::scroll_left));
}

TEST_F(Scroll, BringintoviewFromMinus2500TakesThreeSteps) {
  for (int i = 0; i < 8; ++i) word.open_document(std::u16string(30, u'a' + i));
  start();
  tick(2);
  shift_all(-2500 - el(Part::face, slot(1)).left);
  ASSERT_EQ(el(Part::face, slot(1)).left, -2500);
  bar.bring_into_view(slot(1));
  EXPECT_EQ(el(Part::face, slot(1)).left, 500);  // three steps of 1000
}

TEST_F(Scroll, BringintoviewOfAVisibleTabScrollsNothing) {
  start_with(3);
  const std::string before = lefts();
  bar.bring_into_view(Slot(2));
  EXPECT_EQ(lefts(), before);
}

TEST_F(Scroll, SelectingATabBeyondTheRightEdgeScrollsItIn) {
  for (int i = 0; i < 8; ++i) word.open_document(std::u16string(30, u'a' + i));
  start();
  tick(2);
  bar.align_left();
  word.activate(window(std::u16string(30, u'h')));
  word.activate(window(std::u16string(30, u'a')));
  tick();
  word.activate(window(std::u16string(30, u'h')));
  tick();
  EXPECT_LE(right_of(8), form().width_twips());
  EXPECT_EQ(invariants(), "");
}

}  // namespace
}  // namespace plovera::testing
