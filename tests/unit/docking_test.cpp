// Start-up and docking of the bar between Word's top dock and document area.
#include "fixture.h"

#include "addin/cadence.h"
#include "base/backoff.h"

namespace plovera::testing {
namespace {

std::string text(const host::Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

class Docking : public ::testing::Test, public WordFixture {
 protected:
  host::Rect bar_rect() { return ws.rect(form().window()); }
};

TEST_F(Docking, StartupDocksTheBarBelowTheTopDock) {
  open(1);
  start();
  EXPECT_EQ(ws.parent(form().window()), main);
  EXPECT_TRUE(form().shown());
  EXPECT_EQ(addin.band_height_for_testing(), 24);
  const host::Rect b = bar_rect();
  EXPECT_EQ(b.top, 60);
  EXPECT_EQ(b.bottom - b.top, 26);  // the band and a 2-pixel overlap
  EXPECT_EQ(b.right - b.left, 794);  // (600 points * 20 - 80) \ 15
  EXPECT_EQ(ws.rect(document_area).top, 84);
  EXPECT_EQ(ws.rect(document_area).bottom, 700);
  EXPECT_EQ(ws.rect(right_dock).top, 84);
  EXPECT_EQ(ws.rect(right_dock).bottom, 700);
  EXPECT_EQ(addin.dock_offset_for_testing(), 84);
  EXPECT_FALSE(word.taskbar());
  EXPECT_FALSE(form().timer_enabled(host::Timer::poll)) << "the add-in's one timer ticks";
  EXPECT_TRUE(addin.ticker().loaded());
  EXPECT_EQ(addin.ticker().interval_ms(), 10u);
  EXPECT_EQ(ws.foreground(), main);
}

TEST_F(Docking, BandFollowsTheScreenResolution) {
  ws.log_pixels(120, 120);
  start();
  EXPECT_EQ(addin.band_height_for_testing(), 30);
  EXPECT_EQ(bar_rect().bottom - bar_rect().top, 32);
  EXPECT_EQ(bar_rect().right - bar_rect().left, (600 * 20 - 80) / 12);
  EXPECT_EQ(ws.rect(document_area).top, 90);
}

TEST_F(Docking, Version11DocksAgainstTheParentOfItsDocumentWindow) {
  WordFixture f(u"11.0");
  f.start();
  EXPECT_EQ(f.addin.windows().legacy_document_view, f.legacy_document_view);
  EXPECT_EQ(f.addin.windows().document_area, f.document_area);
  EXPECT_EQ(f.ws.rect(f.document_area).top, 84);
}

TEST_F(Docking, TaskbarOptionFailureIsIgnored) {
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.ShowWindowsInTaskbar.let", 1);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  EXPECT_EQ(addin.ticker().interval_ms(), 10u);
}

TEST_F(Docking, InPlaceCostsThreeRectangleReadsAndNoCallIntoWord) {
  start();
  word.reset_calls();
  ws.reset_calls();
  addin.redock_if_moved();
  EXPECT_EQ(ws.calls("GetWindowRect"), 3);
  EXPECT_EQ(ws.total_calls(), 3);
  EXPECT_EQ(word.total_calls(), 0);
}

TEST_F(Docking, SmallShiftWithinTheToleranceIsLeftAlone) {
  start();
  ws.set_rect(top_dock, {0, 0, 1000, 65});  // the document area is now 5 pixels off
  const int moves = ws.moves(document_area);
  tick();
  EXPECT_EQ(ws.moves(document_area), moves);
  EXPECT_EQ(ws.moves(form().window()), 1);
}

TEST_F(Docking, WordsOwnLayoutMakesTheBarDockAgain) {
  start();
  word.width_points(750);
  relayout(1200, 800);
  tick();
  EXPECT_EQ(ws.rect(document_area).top, 84);
  EXPECT_EQ(ws.rect(document_area).bottom, 800);
  EXPECT_EQ(ws.rect(right_dock).top, 84);
  EXPECT_EQ(bar_rect().right - bar_rect().left, (750 * 20 - 80) / 15);
  tick(3);
  EXPECT_EQ(ws.rect(document_area).top, 84);  // in place from then on
}

TEST_F(Docking, MissingDocumentAreaLeavesTheBarAlone) {
  start();
  ws.destroy_window(document_area);
  const int moves = ws.moves(form().window());
  word.reset_calls();
  tick(5);
  EXPECT_EQ(ws.moves(form().window()), moves);
  EXPECT_EQ(word.calls("Application.Width"), 0);
}

TEST_F(Docking, OverflowInWindowArithmeticEndsTheTickWithAnError) {
  start();
  word.width_points(200'000'000);  // twice the range of 32 bits, in twips
  relayout(900, 700);
  try {
    addin.redock_if_moved();
    FAIL() << "no error";
  } catch (const host_error& e) {
    EXPECT_EQ(e.code(), status::overflow);
  }
  const int failed_before = forms.failed_events();
  relayout(900, 700);
  tick();
  EXPECT_EQ(forms.failed_events(), failed_before + 1);
}

// The strip of tabs against a bar that narrows and widens again.
TEST_F(Docking, ArrowsFollowTheBarsWidthAtARedock) {
  open(11);  // 11 tabs end at 10900: they fit in 11910
  start();
  tick();
  ASSERT_FALSE(el(host::Part::right_arrow, 0).visible);
  word.width_points(500);
  relayout(700, 700);
  tick();
  EXPECT_TRUE(el(host::Part::right_arrow, 0).visible);
  EXPECT_TRUE(el(host::Part::left_arrow, 0).visible);
  EXPECT_EQ(el(host::Part::right_arrow, 0).left, form().width_twips() - 285);
  word.width_points(600);
  relayout(1000, 700);
  tick();
  EXPECT_FALSE(el(host::Part::right_arrow, 0).visible);
  EXPECT_FALSE(el(host::Part::left_arrow, 0).visible);
  EXPECT_EQ(lefts().substr(0, 2), "60");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Docking, NoTabsStillPinsTheRightArrow) {
  start();
  word.width_points(500);
  relayout(700, 700);
  tick();
  EXPECT_EQ(el(host::Part::right_arrow, 0).left, form().width_twips() - 285);
  EXPECT_EQ(forms.failed_events(), 0);
}

TEST_F(Docking, BarDestroyedFromOutsideIsBuiltAgainAndTheBandGivenBack) {
  open(3);
  start();
  tick(2);
  ASSERT_EQ(strip(), "Doc1 Doc2 Doc3*");
  const int before = forms.forms_created();
  ws.destroy_window(form().window());  // another program, or Word, destroys it
  tick();  // the bar's window is watched: its end is heard
  EXPECT_EQ(forms.forms_created(), before + 1);
  EXPECT_EQ(ws.parent(form().window()), main);
  EXPECT_EQ(ws.rect(document_area).top, 84);  // one band, not two
  EXPECT_EQ(bar_rect().top, 60);
  tick();
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");
  EXPECT_EQ(invariants(), "");
}

// A mirrored Word (right to left) lays its windows out from the right: the
// right dock stands at the left. Making room and giving it back keeps every
// window on its side; the bar docks against the right edge.
TEST_F(Docking, AMirroredWordKeepsItsWindowsOnTheirSides) {
  ws.mirror(main);
  ws.set_rect(right_dock, {0, 60, 24, 700});
  ws.set_rect(document_area, {24, 60, 1000, 700});
  open(1);
  start();
  tick();
  EXPECT_EQ(text(ws.rect(right_dock)), "0,84 24,700");
  EXPECT_EQ(text(ws.rect(document_area)), "24,84 1000,700");
  const host::Rect b = bar_rect();
  EXPECT_EQ(b.right, 1000);
  EXPECT_EQ(b.right - b.left, 794);
  EXPECT_EQ(b.top, 60);
  connect.unload_bar();
  EXPECT_EQ(text(ws.rect(right_dock)), "0,60 24,700");
  EXPECT_EQ(text(ws.rect(document_area)), "24,60 1000,700");
}

// Word refuses a call while the bar is built again (its width), or the
// forms engine the new form: the docking is undone like a failed
// start-up, the timer keeps running, and the next tries come at a growing
// distance (10 ms doubling to a second), not on every tick. Once Word
// answers again the bar comes back with every tab, and a new document gets
// its tab.
TEST_F(Docking, RebuildThatWordRefusesIsUndoneAndTriedAgainLater) {
  for (const char* member : {"Application.Width", "FormEngine.CreateForm"}) {
    SCOPED_TRACE(member);
    WordFixture f;
    f.open(3);
    f.start();
    f.tick(2);
    ASSERT_EQ(f.strip(), "Doc1 Doc2 Doc3*");
    const auto before = f.forms.calls("FormEngine.CreateForm");
    (std::string(member).starts_with("Form") ? static_cast<sim::CallMeter&>(f.forms)
                                             : static_cast<sim::CallMeter&>(f.word))
        .fail(member);
    f.ws.destroy_window(f.form().window());
    f.tick();
    EXPECT_FALSE(f.bar.loaded());
    EXPECT_EQ(f.ws.rect(f.document_area).top, 60);  // the band given back
    EXPECT_EQ(f.ws.rect(f.right_dock).top, 60);
    EXPECT_GT(f.addin.ticker().interval_ms(), 0u) << "a tick is left to build the bar";
    const int moves = f.ws.moves(f.document_area);
    f.forms.advance(3000);
    EXPECT_EQ(f.ws.moves(f.document_area), moves) << "Word's layout is left alone by the tries";
    // Tries at 10, 30, 70, 150, 310, 630, 1270, 2270 ms and none between.
    EXPECT_LE(f.forms.calls("FormEngine.CreateForm"), before + 9);
    EXPECT_GE(f.forms.calls("FormEngine.CreateForm"), before + 8);
    EXPECT_EQ(f.ws.rect(f.document_area).top, 60);
    f.word.clear_failures();
    f.forms.clear_failures();
    f.word.open_document(u"Doc4");
    f.word.raise_NewDocument();
    f.forms.advance(Backoff::longest_ms + 20);
    ASSERT_TRUE(f.bar.loaded());
    EXPECT_EQ(f.ws.rect(f.document_area).top, 84);  // one band, not two
    EXPECT_EQ(f.ws.rect(f.form().window()).top, 60);
    EXPECT_EQ(f.strip(), "Doc1 Doc2 Doc3 Doc4*");
    EXPECT_EQ(f.invariants(), "");
    // The bar is whole again: destroyed once more, it is built on the next tick.
    f.ws.destroy_window(f.form().window());
    f.tick();
    EXPECT_TRUE(f.bar.loaded());
  }
}

// Every main window minimised: the safety net sleeps, but a retry still
// wakes the timer when it is due.
TEST_F(Docking, RetryWakesTheTimerWhileEveryWindowIsMinimised) {
  open(1);
  start();
  tick(2);
  word.fail("Application.Width");
  ws.destroy_window(form().window());
  tick();
  ASSERT_FALSE(bar.loaded());
  ws.minimise(main);
  forms.advance(Cadence::quick_ticks * Cadence::quick_ms + 3000);
  EXPECT_EQ(addin.ticker().interval_ms(), Backoff::longest_ms);
  word.clear_failures();
  forms.advance(Backoff::longest_ms);
  EXPECT_TRUE(bar.loaded());
  EXPECT_EQ(addin.ticker().interval_ms(), 0u) << "then the timer sleeps";
}

TEST_F(Docking, UnloadingTheBarGivesTheBandBack) {
  open(1);
  start();
  tick();
  connect.unload_bar();
  EXPECT_EQ(forms.form(), nullptr);
  EXPECT_EQ(ws.rect(document_area).top, 60);
  EXPECT_EQ(ws.rect(right_dock).top, 60);
}

}  // namespace
}  // namespace plovera::testing
