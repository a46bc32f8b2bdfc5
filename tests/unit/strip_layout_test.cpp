// The strip's layout in memory: its rules on their own, without a form, and
// the bar telling the form only what changed, and keeping to what the form
// shows when a move fails.
#include "fixture.h"
#include "tabstrip/strip_layout.h"

namespace plovera::testing {
namespace {

using host::Part;

// A slot table and a layout of tabs with the given caption widths, laid out
// from 60 like a fresh strip, without any bar or form.
class Layout : public ::testing::Test {
 protected:
  void add(std::initializer_list<float> caption_widths) {
    for (float w : caption_widths) {
      const Slot s(slots.count() + 1);
      layout.add_tab(s, static_cast<float>(layout.next_icon_left()) - 15.0f, w);
      slots.append(s);
    }
  }
  float left(std::int32_t p) const { return layout.tab(slots.slot_at(Position(p))).face_left; }

  SlotMap slots;
  StripLayout layout{slots};
};

TEST_F(Layout, OneRulePlacesTheFourParts) {
  const TabPlacement t = placement_of(-700.0f, 940.0f, 400.0f);
  EXPECT_EQ(t, (TabPlacement{-700.0f, -685.0f, -415.0f, 15.0f, 940.0f}));
  EXPECT_EQ(face_width_for(60.0f, 400.0f), 940.0f);  // caption + 540
  add({400.0f, 400.0f, 1000.0f});
  EXPECT_EQ(left(1), 60.0f);
  EXPECT_EQ(left(2), 1030.0f);  // 30 twips after the face before it
  EXPECT_EQ(left(3), 2000.0f);
  EXPECT_EQ(layout.next_icon_left(), 2000 + 1540 + 45);
  EXPECT_FALSE(layout.any_pending());  // a new tab is built where it stands
}

// A caption width that is not a whole number of twips (labels measured at
// some resolutions): the tabs after it move by whole twips, and a new width
// equal to the old one rounded leaves the tab's face as it was.
TEST_F(Layout, ACaptionMovesTheTabsAfterItByWholeTwips) {
  add({400.4f, 400.0f});
  layout.resize_caption(Slot(1), 400.0f);
  EXPECT_FALSE(layout.any_pending());
  layout.resize_caption(Slot(1), 500.6f);
  EXPECT_EQ(left(2), 1030.0f + 101.0f);
  EXPECT_EQ(layout.tab(Slot(1)).face_width, 210.0f + (500.6f + 345.0f + 30.0f) + 15.0f - 60.0f);
  EXPECT_TRUE(layout.take_pending(Slot(1)));
  EXPECT_TRUE(layout.take_pending(Slot(2)));
  EXPECT_FALSE(layout.any_pending());
}

// The stop rules: towards the end the last face must reach within 1000
// twips of the right arrow; towards the start the first face within 1000
// of the left arrow's end.
TEST_F(Layout, ScrollStepsStopByTheArrows) {
  add({400.0f, 400.0f});  // the strip ends at 1970
  layout.arrows() = {285.0f, 2970.0f, true};
  EXPECT_EQ(layout.steps_towards_end(5), 0);  // ends exactly 1000 before the arrow
  layout.arrows().right_arrow_left = 2969.0f;
  EXPECT_EQ(layout.steps_towards_end(5), 1);
  EXPECT_EQ(layout.steps_towards_start(5), 2);  // 60 -> 1060 -> 2060, past 285 + 1000
  layout.shift_all(-1000.0f, 3);
  EXPECT_EQ(left(1), -2940.0f);
  EXPECT_EQ(left(2), -1970.0f);
}

// Removing a tab from an overflowing strip with room to spare aligns it to
// the right arrow; when it then fits, the arrows go and it starts at 60.
TEST_F(Layout, AGapThatLeavesTheStripFittingHidesTheArrows) {
  add({400.0f, 400.0f, 400.0f});
  layout.arrows() = {285.0f, 5000.0f, true};
  slots.remove_at(Position(1));
  layout.close_gap(Position(1));
  EXPECT_FALSE(layout.arrows().visible);
  EXPECT_EQ(left(1), 60.0f);
  EXPECT_EQ(left(2), 1030.0f);
}

class Shown : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override {
    open(5);
    start();
    tick(2);
    ASSERT_EQ(lefts(), "60 1030 2000 2970 3940");
    forms.reset_calls();
  }
  std::int64_t geometry_calls() {
    return forms.calls("Element.Left.let") + forms.calls("Element.Width.let");
  }
};

// Aligning a strip that already stands there, a scroll step the stop rule
// refuses, or a tab placed where it is tells the form nothing.
TEST_F(Shown, TheFormHearsOnlyOfWhatMoved) {
  bar.align_left();
  bar.scroll_towards_end();  // the strip fits: no step
  bar.place_tab(slot(1), 60);
  EXPECT_EQ(geometry_calls(), 0);
  bar.place_tab(slot(3), 1000);
  bar.place_tab(slot(3), 2000);
  EXPECT_EQ(geometry_calls(), 2 * 4);
  EXPECT_EQ(invariants(), "");
}

// A longer caption on the second tab: its close button and face width, and
// the faces, icons, captions and close buttons of the three after it.
TEST_F(Shown, ARenameMovesOnlyTheTabsAfterIt) {
  word.rename_document(window(u"Doc2").document(), u"Doc2 renamed");
  tick();
  EXPECT_EQ(lefts(), "60 1030 2800 3770 4740");
  EXPECT_EQ(forms.calls("Element.Width.let"), 1);
  EXPECT_EQ(forms.calls("Element.Left.let"), 1 + 3 * 4);
  EXPECT_EQ(invariants(), "");
}

// A face that cannot be moved stays where the form shows it, in the layout
// too: a later rule that reads it starts from there.
TEST_F(Shown, AFaceThatDidNotMoveStaysInTheLayout) {
  forms.fail("Element.Left.let", 1);
  EXPECT_THROW(bar.place_tab(slot(5), -5000), host_error);
  EXPECT_EQ(lefts(), "60 1030 2000 2970 3940");
  forms.reset_calls();
  bar.bring_into_view(slot(5));  // in view where it stands: nothing scrolls
  EXPECT_EQ(geometry_calls(), 0);
  EXPECT_EQ(invariants(), "");
}

// The invariants compare the form with what the bar last told it.
TEST_F(Shown, AnElementMovedBehindTheBarsBackIsFound) {
  forms.form()->Left({Part::icon, static_cast<std::int16_t>(slot(2).value)}, 5.0f);
  EXPECT_EQ(bar.check_invariants_for_testing(), "the form does not hold what the bar last told it at 2");
}

}  // namespace
}  // namespace plovera::testing
