// The add-in's one timer and its pace: quick ticks after Word's events and
// the window system's notices, a safety net while Word idles (in the
// foreground, in the background), none while Word is minimised; nothing
// called into Word from an event; the same cost per tick for one bar or
// twenty.
#include <gtest/gtest.h>

#include <string>

#include "addin/cadence.h"
#include "addin/start_on_first_event.h"
#include "base/backoff.h"
#include "fixture.h"
#include "sdi_fixture.h"

namespace plovera::testing {
namespace {

// Long enough for the quick ticks after the last activity to run out.
constexpr std::uint32_t kQuickPeriodMs = Cadence::quick_ticks * Cadence::quick_ms + 10;

// The waits between tries: 10 ms doubling to a second, from the time of
// each failure; the clock may wrap between a failure and its try.
TEST(Backoff, DoublesToASecondAndSurvivesTheClockWrapping) {
  Backoff b;
  EXPECT_FALSE(b.pending());
  EXPECT_FALSE(b.due(0));
  std::string waits;
  std::uint32_t now = UINT32_MAX - 100;  // 100 ms before the tick count wraps
  for (int i = 0; i < 9; ++i) {
    b.failed(now);
    const std::uint32_t wait = b.remaining(now);
    waits += std::to_string(wait) + " ";
    EXPECT_FALSE(b.due(now + wait - Backoff::early_ms));
    EXPECT_TRUE(b.due(now + wait - Backoff::early_ms + 1)) << "a timer a little early";
    now += wait;
    EXPECT_TRUE(b.due(now));
    EXPECT_EQ(b.remaining(now + 5000), 0u) << "overdue is due, not far in the future";
  }
  EXPECT_EQ(waits, "10 20 40 80 160 320 640 1000 1000 ");
  b.clear();
  EXPECT_FALSE(b.due(now));
  b.failed(now);
  EXPECT_EQ(b.remaining(now), Backoff::first_ms) << "a success starts the waits afresh";
}

// A retry's due time caps the pace's period but never quickens it beyond the
// quick period, and wakes a timer that would otherwise sleep.
TEST(CadenceRetry, NextTickComesWhenTheRetryIsDueAndNoSooner) {
  struct Case {
    bool quick, minimised;
    std::uint32_t retry_in, expected;
  } cases[] = {
      {true, false, 500, Cadence::quick_ms},    // quick anyway
      {true, false, 0, Cadence::quick_ms},      // due now: the next quick tick
      {false, false, 300, 300},                 // sooner than the safety net
      {false, false, 5000, Cadence::foreground_ms},
      {false, true, 700, 700},                  // minimised: only the retry wakes it
      {false, true, Cadence::no_retry, 0},
      {false, false, Cadence::no_retry, Cadence::foreground_ms},
  };
  for (const Case& c : cases) {
    Cadence cadence;
    if (!c.quick)
      for (int i = 0; i < Cadence::quick_ticks; ++i) cadence.ticked(false);
    cadence.all_minimised(c.minimised);
    cadence.retry_in(c.retry_in);
    EXPECT_EQ(cadence.interval_ms(), c.expected)
        << "quick " << c.quick << " minimised " << c.minimised << " retry in " << c.retry_in;
  }
}

class Tick : public ::testing::Test, public WordFixture {
 protected:
  void settle() { forms.advance(kQuickPeriodMs); }
  // Ticks that ran the synchronisation since the last reset of Word's calls.
  std::int64_t passes() const { return word.calls("Windows.Count"); }
};

TEST_F(Tick, QuickAfterAnEventThenOnceASecondInTheForeground) {
  open(3);
  start();
  tick();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms);
  settle();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::foreground_ms);
  word.reset_calls();
  forms.advance(5000);
  EXPECT_EQ(passes(), 5);
  EXPECT_EQ(word.total_calls(), 5 * (3 + 3 + 3))
      << "a safety-net tick is one full pass and one Saved per document";
  word.raise_WindowActivate();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms);
  word.reset_calls();
  tick();
  EXPECT_EQ(passes(), 1);
}

TEST_F(Tick, WordsChangesShowWithinOneQuickTickOfItsEvent) {
  open(3);
  start();
  settle();
  word.open_document(u"Fresh");  // DocumentOpen, WindowActivate
  tick();
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3 Fresh*");
  settle();
  word.activate(window(u"Doc1"));
  tick();
  EXPECT_EQ(strip(), "Doc1* Doc2 Doc3 Fresh");
  settle();
  word.close_window(window(u"Doc2"));
  tick();
  EXPECT_EQ(strip(), "Doc1* Doc3 Fresh");
  EXPECT_EQ(invariants(), "");
}

// A macro renames a window without any event: the next safety-net tick,
// within a second in the foreground, shows it; no quick tick runs for it.
TEST_F(Tick, ACaptionChangedWithoutAnEventShowsAtTheNextSafetyNetTick) {
  open(2);
  start();
  settle();
  word.set_caption(window(u"Doc1"), u"Renamed by a macro");
  tick();
  EXPECT_EQ(strip(), "Doc1 Doc2*") << "no event, no quick tick";
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(strip(), "Renamed by a macro Doc2*");
}

TEST_F(Tick, InTheBackgroundOnceEveryTenSeconds) {
  open(2);
  start();
  settle();
  ws.other_program_in_front();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::background_ms);
  word.reset_calls();
  forms.advance(30000);
  EXPECT_EQ(passes(), 3);
  ws.word_in_front();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms);
}

// Minimised: no tick and no call at all. The restore runs a full pass and a
// docking check on the next quick tick.
TEST_F(Tick, NoTickWhileMinimisedAndAFullPassAtTheRestore) {
  open(2);
  start();
  settle();
  ws.minimise(main);
  forms.advance(Cadence::foreground_ms);  // the safety net finds every main window minimised
  EXPECT_EQ(addin.ticker().interval_ms(), 0u);
  word.reset_calls();
  ws.reset_calls();
  forms.reset_calls();
  forms.advance(60000);
  EXPECT_EQ(word.total_calls(), 0);
  EXPECT_EQ(ws.total_calls(), 0);
  EXPECT_EQ(forms.total_calls(), 0);
  word.set_caption(window(u"Doc2"), u"Changed meanwhile");
  relayout(900, 600);  // Word lays its window out at the restore
  ws.restore(main);
  tick();
  EXPECT_EQ(passes(), 1);
  EXPECT_EQ(strip(), "Doc1 Changed meanwhile*");
  EXPECT_EQ(ws.rect(document_area).top, 84) << "docked again";
}

// Word laying its window out again (a resize, the ribbon collapsed) re-docks
// the band on the next quick tick, not at the safety net.
TEST_F(Tick, WordsLayoutReDocksWithinOneQuickTick) {
  open(1);
  start();
  settle();
  relayout(800, 600);
  EXPECT_EQ(ws.rect(document_area).top, 60);
  tick();
  EXPECT_EQ(ws.rect(document_area).top, 84);
  EXPECT_EQ(ws.rect(document_area).bottom, 600);
}

TEST_F(Tick, AnEventMakesNoCallIntoWordAndABurstCostsOneTick) {
  open(3);
  start();
  settle();
  word.reset_calls();
  for (int i = 0; i < 100; ++i) {
    word.raise_WindowActivate();
    word.raise_DocumentChange();
    word.raise_WindowDeactivate();
    word.raise_DocumentBeforeClose();
    word.raise_DocumentBeforeSave();
    word.raise_WindowSize();
    word.raise_DocumentOpen();
    word.raise_NewDocument();
  }
  EXPECT_EQ(word.total_calls(), 0);
  tick();
  EXPECT_EQ(passes(), 1);
  EXPECT_EQ(word.total_calls() - word.calls("Document.Saved"), 3 + 3);
  EXPECT_LE(word.calls("Document.Saved"), 3) << "no mark shows, so the save reads nothing more";
}

// An event raised inside a call of the add-in's into Word (Word's save
// prompt runs a message loop) calls nothing either; the ticks meanwhile are
// skipped and stay quick.
TEST_F(Tick, AnEventInsideACallIntoWordCallsNothing) {
  open(2);
  start();
  settle();
  std::int64_t calls_in_event = -1;
  bool quick_in_prompt = false;
  word.close_prompt([&](sim::SimWindow&) {
    const std::int64_t before = word.total_calls();
    word.raise_WindowActivate();
    calls_in_event = word.total_calls() - before;
    forms.advance(kQuickPeriodMs);  // ticks in the prompt's loop are skipped
    quick_in_prompt = addin.ticker().interval_ms() == Cadence::quick_ms;
    return true;
  });
  forms.click({host::Part::close_button, static_cast<std::int16_t>(slot(1).value)});
  EXPECT_EQ(calls_in_event, 0);
  EXPECT_TRUE(quick_in_prompt);
  tick();
  EXPECT_EQ(strip(), "Doc2*");
}

// Without Word's events the add-in polls every 10 ms, as it did before it
// listened; without the window notices the safety net is the docking
// check's, every 100 ms.
// The forms engine sets the timer's new period but refuses to enable it:
// the period is set again when next asked for, even if it is the one asked
// for before the refusal (the form's timer would otherwise keep the period
// it half took, and quick ticks never come back).
TEST_F(Tick, APeriodTheFormTookOnlyHalfIsSetAgain) {
  start();
  tick();
  sim::SimForm& timer_form = *forms.forms().front();  // loaded before the bar's
  forms.fail("Form.TimerEnabled.let", 1);  // at the change to the safety net's period
  settle();
  ASSERT_EQ(timer_form.timer_interval(host::Timer::poll), Cadence::foreground_ms);
  word.raise_WindowActivate();
  EXPECT_EQ(timer_form.timer_interval(host::Timer::poll), Cadence::quick_ms);
  EXPECT_TRUE(timer_form.timer_enabled(host::Timer::poll));
}

TEST_F(Tick, RefusedEventsFallBackToTheTenMillisecondPoll) {
  open(1);
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.advise", 1);
  ASSERT_EQ(word.raise_NewDocument(), status::ok);
  EXPECT_FALSE(addin.hears_word());
  settle();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms);
}

TEST_F(Tick, UnwatchableWindowsKeepTheDockingCheckAtATenthOfASecond) {
  open(1);
  ws.fail("SetWindowSubclass");
  start();
  settle();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::unwatched_ms);
  relayout(800, 600);
  forms.advance(Cadence::unwatched_ms);
  EXPECT_EQ(ws.rect(document_area).top, 84);
}

TEST_F(Tick, DisconnectionStopsTheTimerTheListenerAndTheWatch) {
  open(1);
  start();
  tick();
  EXPECT_TRUE(addin.hears_word());
  EXPECT_EQ(ws.watched_count(), 3);  // the main window, the document area, the bar
  connect.on_disconnection(1);
  EXPECT_FALSE(addin.hears_word());
  EXPECT_FALSE(addin.ticker().loaded());
  EXPECT_EQ(ws.watched_count(), 0);
  EXPECT_EQ(word.hooked_count(), 0);
  EXPECT_EQ(word.live_refs(), 0);
  word.raise_WindowActivate();  // reaches nothing
  forms.advance(5000);
  EXPECT_EQ(forms.failed_events(), 0);
}

// ---- A main window per document --------------------------------------------

class SdiTick : public ::testing::Test, public SdiWord {
 protected:
  void settle() { forms.advance(kQuickPeriodMs); }
};

// Word closing its last window keeps its empty main window, and the bar in
// it; when that goes too, no bar is left: the timer stops, the listener and
// the window watch with it, and the start-up receiver waits for Word's next
// event.
TEST_F(SdiTick, WhenTheLastBarGoesListeningStops) {
  sim::SimWindow& a = open(u"A");
  start();
  tick(2);
  EXPECT_TRUE(addin.hears_word());
  word.close_window(a);
  tick(2);
  EXPECT_TRUE(addin.hears_word());
  EXPECT_EQ(docked_frames(), 1);
  ws.destroy_window(word.empty_frame().main);
  tick();
  EXPECT_EQ(docked_frames(), 0);
  EXPECT_FALSE(addin.hears_word());
  EXPECT_FALSE(addin.ticker().loaded());
  EXPECT_EQ(ws.watched_count(), 0);
  EXPECT_NE(addin.start_receiver_for_testing()->word(), nullptr);
}

// Twenty documents with a main window each: twenty bars, one timer. New
// frames get their bars one per tick, so no tick builds them all; an idle
// tick costs what one bar's would: one call per window and two more into
// Word, no call on any bar's form.
TEST_F(SdiTick, OneTickServesTwentyBarsAtTheCostOfOne) {
  for (int i = 0; i < 20; ++i) open(u"Doc" + std::u16string(1, u'a' + i));
  start();
  EXPECT_EQ(docked_frames(), 1);
  tick();
  EXPECT_EQ(docked_frames(), 2) << "one new bar per tick";
  tick(20);
  ASSERT_EQ(docked_frames(), 20);
  EXPECT_EQ(forms.forms_created(), 21) << "twenty bars and the timer's form";
  settle();
  word.reset_calls();
  forms.reset_calls();
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(word.total_calls(), 20 + 2 + 20) << "and one Saved per document";
  EXPECT_EQ(forms.total_calls(), 0);
  word.raise_WindowActivate();
  word.reset_calls();
  ws.reset_calls();
  forms.reset_calls();
  tick();
  EXPECT_EQ(word.total_calls(), 20 + 2);
  EXPECT_EQ(forms.total_calls(), 0);
  EXPECT_EQ(ws.total_calls(), 0) << "a quick tick checks no frame Word did not lay out";
  EXPECT_EQ(problems(), "");
}

TEST_F(SdiTick, MinimisingEveryMainWindowStopsTheTicks) {
  sim::SimWindow& a = open(u"A");
  sim::SimWindow& b = open(u"B");
  start();
  tick(3);
  ASSERT_EQ(docked_frames(), 2);
  ws.minimise(a.frame().main);
  settle();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::foreground_ms) << "B is still shown";
  ws.minimise(b.frame().main);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(addin.ticker().interval_ms(), 0u);
  word.reset_calls();
  forms.advance(60000);
  EXPECT_EQ(word.total_calls(), 0);
  ws.restore(b.frame().main);
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms);
  tick();
  EXPECT_EQ(word.calls("Windows.Count"), 1);
  EXPECT_EQ(problems(), "");
}

}  // namespace
}  // namespace plovera::testing
