// Tabs following Word's windows: creation, captions, closing, selection.
#include <algorithm>

#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Part;
using host::Picture;

class Tabs : public ::testing::Test, public WordFixture {
 protected:
  // Starts the bar over `n` documents and runs the first passes.
  void start_with(int n) {
    open(n);
    start();
    tick(2);
  }
  void pass() {
    tick();
    ASSERT_EQ(invariants(), "");
  }
  float face_right(std::int32_t c) { return el(Part::face, c).left + el(Part::face, c).width; }
  float face_right(Slot s) { return face_right(s.value); }
};

TEST_F(Tabs, FirstPassCreatesOneTabPerWindowInWordsOrder) {
  open(3);
  word.activate(window(u"Doc2"));
  start();
  tick();
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");  // each new tab is selected as it comes
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc2* Doc3");  // then Word's active window
}

TEST_F(Tabs, FirstTabTakesSlotOneAndItsDesignedPlaces) {
  start_with(1);
  EXPECT_EQ(slot(1), Slot(1));
  EXPECT_EQ(el(Part::icon, 1).left, 75);
  EXPECT_EQ(el(Part::face, 1).left, 60);
  EXPECT_EQ(el(Part::caption, 1).left, 345);
  EXPECT_EQ(el(Part::close_button, 1).left, 775);  // "Doc1" is 400 twips wide
  EXPECT_EQ(el(Part::face, 1).width, 940);
  EXPECT_EQ(el(Part::caption, 1).top, 390 - 30 - 270);
  EXPECT_EQ(el(Part::icon, 1).top, 135);
  EXPECT_EQ(el(Part::face, 1).picture, Picture::none);  // selected
  EXPECT_EQ(el(Part::icon, 1).picture, Picture::document_icon);
  EXPECT_EQ(el(Part::close_button, 1).picture, Picture::close_normal);
  EXPECT_EQ(el(Part::left_arrow, 0).left, 0);
  EXPECT_EQ(el(Part::right_arrow, 0).left, 11910 - 285);
  EXPECT_EQ(el(Part::right_arrow, 0).top, 90);
  EXPECT_FALSE(el(Part::right_arrow, 0).visible);
  EXPECT_EQ(lefts(), "60");
}

TEST_F(Tabs, FacesStand30TwipsApart) {
  start_with(3);
  EXPECT_EQ(lefts(), "60 1030 2000");
}

TEST_F(Tabs, NewTabReusesTheLowestHiddenIndexAtTheRightEnd) {
  start_with(3);
  word.close_window(window(u"Doc2"));
  pass();
  word.close_window(window(u"Doc1"));
  pass();
  word.open_document(u"Doc4");
  pass();
  EXPECT_EQ(strip(), "Doc3 Doc4*");
  EXPECT_EQ(slot(2), Slot(1));
  word.open_document(u"Doc5");
  pass();
  EXPECT_EQ(slot(3), Slot(2));
  EXPECT_EQ(form().loaded_count(Part::caption), 4);  // elements are never destroyed
}

// A tab is built hidden and shown whole: whichever call of its build fails,
// nothing of it stays drawn, the window gets no tab yet, and the next pass
// builds it in the same slot.
TEST_F(Tabs, ATabWhoseBuildFailsLeavesNothingDrawnAndItsSlotFree) {
  for (const char* call : {"Element.Caption.let", "Element.Picture.let", "Element.Left.let",
                           "Element.Width.let", "Element.Visible.let"}) {
    SCOPED_TRACE(call);
    WordFixture f;
    f.open(2);
    f.start();
    f.tick(2);
    f.word.open_document(u"Late");
    f.forms.fail(call, 1);
    f.tick();
    EXPECT_EQ(f.strip(), "Doc1 Doc2*");
    EXPECT_EQ(f.invariants(), "");  // no element of a free slot shows
    for (Part part : {Part::caption, Part::icon, Part::close_button, Part::face})
      EXPECT_FALSE(f.el(part, 3).visible);
    f.tick();
    EXPECT_EQ(f.strip(), "Doc1 Doc2 Late*");
    EXPECT_EQ(f.slot(3), Slot(3));
    EXPECT_EQ(f.form().loaded_count(Part::caption), 4);
    EXPECT_EQ(f.invariants(), "");
  }
}

// The first caption is cut to 3600 twips: the strip is laid out with the cut
// width. 30 + 11 * 570 + 3600 + 9 * 200 + 300 = 12000.
TEST_F(Tabs, TabEndingExactlyAtTheBarsEdgeShowsNoArrows) {
  word.width_points(604);  // a bar of 800 pixels: 12000 twips
  word.open_document(std::u16string(114, u'x'));
  for (char16_t c = u'1'; c <= u'9'; ++c) word.open_document(std::u16string{u'a', c});
  word.open_document(u"b10");
  start();
  tick();
  ASSERT_EQ(face_right(slot(11)), 12000);
  EXPECT_FALSE(el(Part::right_arrow, 0).visible);
  word.open_document(u"y");
  tick();
  EXPECT_TRUE(el(Part::right_arrow, 0).visible);
  EXPECT_TRUE(el(Part::left_arrow, 0).visible);
  EXPECT_EQ(face_right(slot(12)), 12000 - 285 - 75);  // aligned to the right arrow
}
// A caption wider than 3600 twips (240 pixels at 96 dpi) is shown cut to
// that width, whole in the label; the tabs to its right shift by the cut
// width only, and a shorter caption again gets its own width.
TEST_F(Tabs, ALongCaptionIsCutToTheWidestCaption) {
  start_with(2);
  word.rename_document(*word.documents()[0], std::u16string(78, u'n'));
  pass();
  EXPECT_EQ(el(Part::caption, slot(1)).width, 3600);
  EXPECT_EQ(el(Part::caption, slot(1)).caption, std::u16string(78, u'n'));
  EXPECT_EQ(lefts(), "60 4230");  // 60 + 3600 + 540 + 30
  word.rename_document(*word.documents()[0], std::u16string(36, u'n'));  // exactly 3600: whole
  pass();
  EXPECT_EQ(lefts(), "60 4230");
  word.rename_document(*word.documents()[0], u"Abcd");
  pass();
  EXPECT_EQ(lefts(), "60 1030");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Tabs, RenameToTheSameWidthMovesNothing) {
  start_with(2);
  word.rename_document(*word.documents()[0], u"Abcd");
  pass();
  EXPECT_EQ(strip(), "Abcd Doc2*");
  EXPECT_EQ(lefts(), "60 1030");
}

TEST_F(Tabs, CaptionsOfAnyScriptAndLength) {
  start_with(1);
  for (const std::u16string& caption :
       {std::u16string(), std::u16string(10000, u'w'), std::u16string(u"\u6587\u4ef6.docx"),
        std::u16string(u"\u0645\u0633\u062a\u0646\u062f"), std::u16string(u"\U0001F600 emoji")}) {
    word.rename_document(*word.documents()[0], caption);
    pass();
    EXPECT_EQ(el(Part::caption, 1).caption, caption);
    EXPECT_EQ(el(Part::caption, 1).width, std::min(sim::label_width(caption), kMaxCaptionWidth));
  }
}

TEST_F(Tabs, ActiveWindowsTabIsSelectedOnTheNextPass) {
  start_with(3);
  word.activate(window(u"Doc1"));
  pass();
  EXPECT_EQ(strip(), "Doc1* Doc2 Doc3");
  EXPECT_EQ(el(Part::face, 3).picture, Picture::face_normal);
  EXPECT_EQ(el(Part::face, 1).picture, Picture::none);
}

TEST_F(Tabs, TaskbarOptionSwitchedBackOnIsSwitchedOffAgain) {
  start_with(1);
  word.set_taskbar(true);
  pass();
  EXPECT_FALSE(word.taskbar());
}

TEST_F(Tabs, WindowInTwoViewsHasTwoTabs) {
  start_with(1);
  word.new_window(*word.documents()[0]);
  pass();
  pass();
  EXPECT_EQ(strip(), "Doc1:1 Doc1:2*");
}

TEST_F(Tabs, ClickActivatesTheWindowAndWordGetsTheForeground) {
  start_with(3);
  word.reset_calls();
  forms.mouse_down({Part::caption, 1}, host::kLeftButton);
  forms.mouse_up({Part::caption, 1}, host::kLeftButton);
  EXPECT_EQ(forms.click({Part::caption, 1}), status::ok);
  EXPECT_EQ(word.calls("Window.Activate"), 2);
  EXPECT_EQ(word.active_window(), &window(u"Doc1"));
  EXPECT_EQ(ws.foreground(), main);
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");  // the look follows on the next pass
  pass();
  EXPECT_EQ(strip(), "Doc1* Doc2 Doc3");
}

TEST_F(Tabs, DoubleClickOnlyBringsWordToTheFront) {
  start_with(2);
  word.reset_calls();
  forms.dbl_click({Part::face, 1});
  EXPECT_EQ(word.total_calls(), 0);
  EXPECT_EQ(ws.foreground(), main);
}

class Closing : public Tabs {};

TEST_F(Closing, CloseButtonAsksWordAndTheTabGoesOnTheNextPass) {
  start_with(3);
  forms.click({Part::close_button, 2});
  EXPECT_EQ(word.calls("Window.Close"), 1);
  EXPECT_EQ(word_windows(), "Doc1 Doc3");
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");  // still there until the pass
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc3*");
  EXPECT_EQ(lefts(), "60 1030");
}

TEST_F(Closing, RefusedCloseKeepsTheTab) {
  start_with(2);
  word.close_prompt([](sim::SimWindow&) { return false; });  // the user cancels
  EXPECT_EQ(forms.click({Part::close_button, 1}), status::ok);
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc2*");
}

TEST_F(Closing, FailingCloseIsIgnored) {
  start_with(2);
  word.fail("Window.Close");
  EXPECT_EQ(forms.click({Part::close_button, 1}), status::ok);
  EXPECT_EQ(ws.foreground(), main);
}

// Word's save prompt runs a message loop; ticks arriving in it are skipped
// instead of running on top of the close.
TEST_F(Closing, TicksDuringWordsPromptAreSkipped) {
  start_with(2);
  int ticks_in_prompt = 0;
  word.close_prompt([&](sim::SimWindow&) {
    const std::int64_t calls = word.calls("Application.ActiveWindow");
    tick(5);
    ticks_in_prompt += static_cast<int>(word.calls("Application.ActiveWindow") - calls);
    return true;
  });
  forms.click({Part::close_button, 1});
  EXPECT_EQ(ticks_in_prompt, 0);
  pass();
  EXPECT_EQ(strip(), "Doc2*");
}

TEST_F(Closing, SelectedTabHandsItsLookToTheRightNeighbour) {
  start_with(3);
  word.activate(window(u"Doc2"));
  pass();
  word.close_window(window(u"Doc2"));
  word.activate(window(u"Doc1"));  // Word moves on, but the pass removes first
  addin.model().remove_at(bar.position_of(Slot(2)));
  EXPECT_EQ(strip(), "Doc1 Doc3*");
  EXPECT_EQ(el(Part::face, 2).picture, Picture::face_normal);
}

TEST_F(Closing, SelectedRightmostTabHandsItsLookToTheLeft) {
  start_with(3);
  addin.model().remove_at(bar.position_of(Slot(3)));
  EXPECT_EQ(bar.selected(), Slot(2));
  EXPECT_EQ(el(Part::face, 2).picture, Picture::none);
}

TEST_F(Closing, ClosingTheLastTabLeavesNothingSelected) {
  start_with(1);
  word.close_window(window(u"Doc1"));
  pass();
  EXPECT_EQ(bar.count(), 0);
  EXPECT_EQ(addin.model().count(), 0);
  EXPECT_EQ(bar.selected(), Slot(0));
}

TEST_F(Closing, ClosingAnUnselectedTabKeepsTheSelection) {
  start_with(4);
  word.close_window(window(u"Doc2"));
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc3 Doc4*");
  EXPECT_EQ(lefts(), "60 1030 2000");
}

TEST_F(Closing, RightmostTabMovesNoOther) {
  start_with(3);
  word.activate(window(u"Doc1"));
  pass();
  word.close_window(window(u"Doc3"));
  pass();
  EXPECT_EQ(lefts(), "60 1030");
}

TEST_F(Closing, TwoWindowsClosedBetweenPassesRemoveExactlyTheirTabs) {
  start_with(5);
  word.close_window(window(u"Doc2"));
  word.close_window(window(u"Doc3"));
  tick();
  EXPECT_GE(bar.count(), 3);
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc4 Doc5*");
}

class Overflow : public Tabs {
 protected:
  // Tabs of 30-character captions: 3540 twips each, four overflow the bar.
  void open_wide(int n) {
    for (int i = 0; i < n; ++i) word.open_document(std::u16string(29, u'a' + i) + u"!");
  }
  std::u16string wide(int i) { return std::u16string(29, u'a' + i) + u"!"; }
};

TEST_F(Overflow, ClosingTheLeftmostTabStartsBesideTheLeftArrow) {
  open_wide(5);
  start();
  tick();
  ASSERT_TRUE(el(Part::left_arrow, 0).visible);
  word.activate(window(wide(4)));
  pass();
  word.close_window(window(wide(0)));
  pass();
  EXPECT_EQ(el(Part::face, slot(1)).left, 285 + 60);
}

TEST_F(Overflow, ClosingTheLeftmostTabWithoutArrowsStartsAt60) {
  start_with(3);
  for (std::int32_t p = 1; p <= 3; ++p) bar.place_tab(slot(p), el(Part::face, slot(p)).left - 500);
  word.close_window(window(u"Doc1"));
  pass();
  EXPECT_EQ(lefts(), "60 1030");
}

// After a close in overflow mode the strip is aligned to the right arrow when
// more than 2000 twips lie free before it; exactly 2000 changes nothing.
TEST_F(Overflow, CloseRealignsWhenMoreThan2000TwipsAreFree) {
  open_wide(6);
  start();
  tick();
  ASSERT_TRUE(el(Part::right_arrow, 0).visible);
  const float iright = el(Part::right_arrow, 0).left;
  const float shift = (iright - 2000) - face_right(slot(5));
  for (std::int32_t p = 1; p <= 6; ++p)
    bar.place_tab(slot(p), static_cast<std::int32_t>(el(Part::face, slot(p)).left + shift));
  const std::string before = lefts();
  word.close_window(window(wide(5)));
  pass();
  EXPECT_EQ(face_right(slot(5)), iright - 2000);
  EXPECT_EQ(lefts(), before.substr(0, before.rfind(' ')));
  word.close_window(window(wide(4)));
  pass();
  EXPECT_EQ(face_right(slot(4)), iright - 75);  // right-aligned, still overflowing
  EXPECT_TRUE(el(Part::left_arrow, 0).visible);
}

TEST_F(Overflow, CloseLeavingAFittingStripHidesTheArrows) {
  open_wide(4);  // 14250 overflow; three tabs (10710) fit
  start();
  tick();
  ASSERT_TRUE(el(Part::left_arrow, 0).visible);
  word.close_window(window(wide(3)));
  pass();
  EXPECT_FALSE(el(Part::left_arrow, 0).visible);
  EXPECT_FALSE(el(Part::right_arrow, 0).visible);
  EXPECT_EQ(lefts(), "60 3630 7200");
}

class Sync : public Tabs {};

TEST_F(Sync, FailingActiveWindowReadClosesNothing) {
  start_with(3);
  bar.move_tab(slot(3), slot(1));
  const std::string order = strip();
  word.fail("Application.ActiveWindow", 3);
  pass();
  EXPECT_EQ(strip(), order);
}

TEST_F(Sync, RefusedCaptionReadKeepsTheTabInItsPlace) {
  start_with(3);
  word.activate(window(u"Doc2"));
  pass();
  bar.move_tab(slot(2), slot(1));
  ASSERT_EQ(strip(), "Doc2* Doc1 Doc3");
  for (status_t refusal : {status::fail, status::unexpected, static_cast<status_t>(0x80010001u)}) {
    word.fail("Window.Caption", 1, refusal);  // the first tab's window refuses once
    pass();
    EXPECT_EQ(strip(), "Doc2* Doc1 Doc3");
  }
}

TEST_F(Sync, WindowThatSaysItIsGoneLosesItsTab) {
  for (status_t gone : {status::disconnected, status::not_connected, status::server_died}) {
    WordFixture f;
    f.open(3);
    f.start();
    f.tick(2);
    f.word.fail("Window.Caption", 1, gone);
    f.tick();
    // Word still lists the window, so it is taken for a new one at the end.
    EXPECT_EQ(f.strip(), "Doc2 Doc3 Doc1*") << gone;
  }
}

TEST_F(Sync, TabWhoseWindowWordNoLongerListsGoes) {
  start_with(3);
  // The window still answers, but Word's list no longer holds it.
  word.unlist_window(window(u"Doc2"));
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc3*");
}

TEST_F(Sync, WindowThatDoesNotAnswerDoesNotHoldUpTheOthers) {
  open(3);
  start();
  word.refuse(window(u"Doc2"));
  tick(2);
  EXPECT_EQ(strip(), "Doc1 Doc3*");
  word.answer(window(u"Doc2"));
  tick(2);
  EXPECT_EQ(strip(), "Doc1 Doc3* Doc2");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Sync, ClosedWindowIsReleasedWithItsTab) {
  start_with(3);
  sim::SimWindow& doc3 = window(u"Doc3");
  ASSERT_GT(doc3.refs(), 0);
  word.close_window(doc3);
  pass();
  EXPECT_EQ(doc3.refs(), 0);
}

TEST_F(Sync, WindowBeyondTheCapacityGetsNoTab) {
  for (int i = 0; i < 1001; ++i) word.open_document(u"D");
  start();
  tick();
  EXPECT_EQ(bar.count(), 1000);
  EXPECT_EQ(addin.model().count(), 1000);
  word.reset_calls();
  tick();
  EXPECT_EQ(bar.count(), 1000);
  EXPECT_EQ(word.calls("Windows.Item"), 0);  // no search for the one that cannot fit
  word.close_window(*word.windows()[0]);
  tick(2);
  EXPECT_EQ(bar.count(), 1000);
  EXPECT_EQ(invariants(), "");
}

TEST_F(Sync, SteadyPassCostsTheListedCalls) {
  start_with(20);
  word.reset_calls();
  tick();
  EXPECT_EQ(word.calls("Application.ActiveWindow"), 1);
  EXPECT_EQ(word.calls("Window.Caption"), 20);
  EXPECT_EQ(word.calls("Application.ShowWindowsInTaskbar.get"), 1);
  EXPECT_EQ(word.calls("Windows.Count"), 1);
  EXPECT_EQ(word.calls("Windows.Item"), 0);
  EXPECT_EQ(word.total_calls(), 20 + 3);  // the window collection is held between passes
}

TEST_F(Sync, ANewWindowCostsOneLookIntoWordsList) {
  start_with(50);
  word.reset_calls();
  word.open_document(u"Doc51");
  tick();
  EXPECT_EQ(word.calls("Windows.Item"), 1);
  EXPECT_EQ(bar.count(), 51);
  // Several at once: all found, given their tabs in Word's order.
  word.new_window(*word.documents()[1]);
  word.open_document(u"Doc52");
  tick(2);
  EXPECT_EQ(bar.count(), 53);
  EXPECT_EQ(invariants(), "");
}

TEST_F(Sync, Word2013AndLaterLeaveTheTaskbarOptionAlone) {
  WordFixture f(u"16.0");
  f.open(3);
  f.start();
  f.tick(2);
  EXPECT_EQ(f.word.calls("Application.ShowWindowsInTaskbar.get"), 0);
  EXPECT_EQ(f.word.calls("Application.ShowWindowsInTaskbar.let"), 0);
  f.word.reset_calls();
  f.tick();
  EXPECT_EQ(f.word.total_calls(), 3 + 2);  // captions, active window, window count
}

TEST_F(Sync, IdleTickRepaintsNothing) {
  start_with(5);
  forms.reset_paints();
  tick(10);
  EXPECT_EQ(forms.paints(), 0);
}

TEST_F(Sync, FailingTabCreationLeavesTheCountsEqual) {
  start_with(1);
  word.open_document(u"Doc2");
  forms.fail("Form.Load", 1);
  tick();
  EXPECT_EQ(bar.count(), 1);
  EXPECT_EQ(invariants(), "");
  pass();
  EXPECT_EQ(strip(), "Doc1 Doc2*");
}

TEST_F(Sync, ReferencesAreReleasedWhenTheAddinLetsGo) {
  start_with(4);
  word.close_window(window(u"Doc2"));
  pass();
  connect.on_disconnection(0);
  EXPECT_EQ(word.live_refs(), 0);
  EXPECT_EQ(word.over_releases(), 0);
}

}  // namespace
}  // namespace plovera::testing
