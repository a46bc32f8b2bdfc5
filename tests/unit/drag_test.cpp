// Reordering tabs by dragging and dropping them on the bar.
#include <algorithm>

#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Part;
using host::Element;

// Six tabs T1..T6; faces 740 twips wide at 60, 830, 1600, 2370, 3140, 3910.
class Drag : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 6; ++i) word.open_document(u"T" + std::u16string(1, u'0' + i));
    word.activate(window(u"T1"));
    start();
    tick(2);
    ASSERT_EQ(lefts(), "60 830 1600 2370 3140 3910");
  }
  std::int32_t T(int i) { return slot_with_caption(u"T" + std::u16string(1, u'0' + i)).value; }
  void drag(int i) {
    forms.mouse_down({Part::caption, static_cast<std::int16_t>(T(i))}, host::kLeftButton);
    forms.mouse_move({Part::caption, static_cast<std::int16_t>(T(i))}, host::kLeftButton);
    ASSERT_TRUE(forms.drag_source());
  }
  void drop_on(Part part, int i) {
    ASSERT_EQ(forms.drop({part, static_cast<std::int16_t>(T(i))}, 0, 0), status::ok);
  }
  void drop_at(float x) { ASSERT_EQ(forms.drop({Part::bar, 0}, x, 100), status::ok); }
  std::string order() {
    std::string s = strip();
    s.erase(std::remove(s.begin(), s.end(), '*'), s.end());
    return s;
  }
  std::string active() { return utf8(word.active_window()->caption()); }
};

TEST_F(Drag, DroppingRightPutsTheTabAfterTheDestination) {
  drag(2);
  drop_on(Part::caption, 5);
  EXPECT_EQ(order(), "T1 T3 T4 T5 T2 T6");
  EXPECT_EQ(active(), "T2");
  EXPECT_EQ(invariants(), "");
  EXPECT_EQ(lefts(), "60 830 1600 2370 3140 3910");
}

TEST_F(Drag, DroppingLeftPutsTheTabBeforeTheDestination) {
  drag(5);
  drop_on(Part::face, 2);
  EXPECT_EQ(order(), "T1 T5 T2 T3 T4 T6");
  EXPECT_EQ(active(), "T5");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Drag, DropOnItselfActivatesLikeAClick) {
  word.reset_calls();
  drag(3);
  drop_on(Part::icon, 3);
  EXPECT_EQ(order(), "T1 T2 T3 T4 T5 T6");
  EXPECT_EQ(word.calls("Window.Activate"), 2);
  EXPECT_EQ(active(), "T3");
  EXPECT_EQ(ws.foreground(), main);
}

TEST_F(Drag, DropOnACloseButtonMovesWithoutActivating) {
  word.reset_calls();
  drag(2);
  drop_on(Part::close_button, 5);
  EXPECT_EQ(order(), "T1 T3 T4 T5 T2 T6");
  EXPECT_EQ(word.calls("Window.Activate"), 0);
  EXPECT_EQ(active(), "T1");
}

TEST_F(Drag, DropOnTheArrowsMakesTheTabFirstOrLast) {
  bar.form().Visible({Part::left_arrow, 0}, true);
  bar.form().Visible({Part::right_arrow, 0}, true);
  drag(4);
  ASSERT_EQ(forms.drop({Part::left_arrow, 0}, 0, 0), status::ok);
  EXPECT_EQ(order(), "T4 T1 T2 T3 T5 T6");
  EXPECT_EQ(active(), "T4");
  drag(2);
  ASSERT_EQ(forms.drop({Part::right_arrow, 0}, 0, 0), status::ok);
  EXPECT_EQ(order(), "T4 T1 T3 T5 T6 T2");
  EXPECT_EQ(active(), "T2");
}

TEST_F(Drag, DropOnTheBackgroundBeyondTheEnds) {
  drag(4);
  drop_at(60);  // X equal to the first face's Left
  EXPECT_EQ(order(), "T4 T1 T2 T3 T5 T6");
  drag(4);
  drop_at(4650);  // the last face's right edge
  EXPECT_EQ(order(), "T1 T2 T3 T5 T6 T4");
  EXPECT_EQ(active(), "T4");
}

TEST_F(Drag, DropInAGapLandsTheTabInThatGap) {
  drag(6);
  drop_at(2355);  // between T3 (ends 2340) and T4 (starts 2370)
  EXPECT_EQ(order(), "T1 T2 T3 T6 T4 T5");
}

TEST_F(Drag, DropInAGapFromTheLeftLandsTheTabInThatGap) {
  drag(1);
  drop_at(2355);
  EXPECT_EQ(order(), "T2 T3 T1 T4 T5 T6");
}

TEST_F(Drag, DropAboveTheDraggedTabItselfMovesNothingButActivates) {
  drag(3);
  drop_at(1610);
  EXPECT_EQ(order(), "T1 T2 T3 T4 T5 T6");
  EXPECT_EQ(active(), "T3");
}

TEST_F(Drag, FirstTabMovingLeftTakesTheDraggedTabsOldLeft) {
  drag(1);
  drop_on(Part::face, 3);
  EXPECT_EQ(order(), "T2 T3 T1 T4 T5 T6");
  EXPECT_EQ(el(Part::face, T(2)).left, 60);
  EXPECT_EQ(lefts(), "60 830 1600 2370 3140 3910");
}

TEST_F(Drag, AMoveReplacesOnlyTheTabsInBetween) {
  drag(2);
  forms.reset_calls();
  drop_on(Part::face, 5);
  EXPECT_EQ(forms.calls("Element.Left.let"), 4 * 4);  // T3, T4, T5 and T2
}

TEST_F(Drag, TabMovedBeyondTheBarIsScrolledIntoView) {
  for (int i = 0; i < 6; ++i) word.open_document(std::u16string(30, u'a' + i));
  tick(2);
  ASSERT_TRUE(el(Part::right_arrow, 0).visible);
  bar.align_left();  // the end of the strip lies beyond the bar
  drag(2);
  ASSERT_EQ(forms.drop({Part::right_arrow, 0}, 0, 0), status::ok);
  const auto& face = el(Part::face, T(2));
  EXPECT_GE(face.left, 0);
  EXPECT_LE(face.left + face.width, form().width_twips());
  EXPECT_EQ(invariants(), "");
}

TEST_F(Drag, DropAfterTheDraggedTabsWindowClosedIsIgnored) {
  drag(2);
  word.close_window(window(u"T2"));
  tick();
  ASSERT_EQ(order(), "T1 T3 T4 T5 T6");
  EXPECT_EQ(forms.drop({Part::face, static_cast<std::int16_t>(T(5))}, 0, 0), status::ok);
  EXPECT_EQ(order(), "T1 T3 T4 T5 T6");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Drag, FailingActivateAfterADropIsIgnored) {
  drag(2);
  word.fail("Window.Activate");
  EXPECT_EQ(forms.drop({Part::face, static_cast<std::int16_t>(T(5))}, 0, 0), status::ok);
  EXPECT_EQ(order(), "T1 T3 T4 T5 T2 T6");
  EXPECT_EQ(ws.foreground(), main);
}

TEST_F(Drag, WordsWindowListIsUntouched) {
  drag(2);
  drop_on(Part::caption, 5);
  EXPECT_EQ(word_windows(), "T1 T2 T3 T4 T5 T6");
  tick(2);
  EXPECT_EQ(order(), "T1 T3 T4 T5 T2 T6");
  EXPECT_EQ(invariants(), "");
}

}  // namespace
}  // namespace plovera::testing
