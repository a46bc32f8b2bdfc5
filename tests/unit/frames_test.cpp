// Word 2013 and later: every document window has a main window (frame) of
// its own, and every frame gets a bar that shows all of Word's windows in
// the one shared order, with its own window selected.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "addin/addin.h"
#include "addin/cadence.h"
#include "addin/connect.h"
#include "base/backoff.h"
#include "fixture.h"
#include "sdi_fixture.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera::testing {
namespace {

using host::Part;

class Frames : public ::testing::Test, public SdiWord {};

TEST_F(Frames, EveryFrameGetsABarWithEveryTabAndItsOwnWindowSelected) {
  sim::SimWindow& a = open(u"Report");
  sim::SimWindow& b = open(u"Letter");
  sim::SimWindow& c = open(u"Notes");
  start();
  tick(2);
  EXPECT_EQ(docked_frames(), 3);
  for (sim::SimWindow* w : {&a, &b, &c}) {
    ASSERT_NE(frame_of(*w), nullptr) << utf8(w->caption());
    EXPECT_TRUE(docked(*w)) << utf8(w->caption());
  }
  EXPECT_EQ(strip(*frame_of(a)), "Report* Letter Notes");
  EXPECT_EQ(strip(*frame_of(b)), "Report Letter* Notes");
  EXPECT_EQ(strip(*frame_of(c)), "Report Letter Notes*");
  EXPECT_EQ(problems(), "");
  // Each bar is as wide as its own frame (1000 pixels at 96 dpi).
  const host::Rect bar = ws.rect(frame_of(a)->bar().window());
  EXPECT_EQ(bar.right - bar.left, (1000 * 15 - 80) / 15);
}

TEST_F(Frames, ShortCaptionsStillGetABar) {
  sim::SimWindow& a = open(u"A");  // "A - Word": too short to be told apart by its caption
  start();
  tick(2);
  EXPECT_TRUE(docked(a));
}

TEST_F(Frames, ClickOnATabBringsThatWindowsFrameToTheFront) {
  sim::SimWindow& a = open(u"A1");
  open(u"B1");
  sim::SimWindow& c = open(u"C1");
  start();
  tick(2);
  word.activate(a);
  tick();
  click(*frame_of(a), Part::caption, 3);
  EXPECT_EQ(word.active_window(), &c);
  EXPECT_EQ(ws.foreground(), c.frame().main);
  tick();
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");  // each bar keeps its own window
}

TEST_F(Frames, CloseButtonClosesTheWindowAndItsFrameAndEveryBarLosesTheTab) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  sim::SimWindow& c = open(u"C1");
  start();
  tick(2);
  click(*frame_of(b), Part::close_button, 2);  // B1's own close button, in its own bar
  EXPECT_FALSE(b.is_open());
  tick(2);
  EXPECT_EQ(docked_frames(), 2);
  EXPECT_EQ(strip(*frame_of(a)), "A1* C1");
  EXPECT_EQ(strip(*frame_of(c)), "A1 C1*");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, NewDocumentGetsAFrameWithABarAndATabInEveryBar) {
  sim::SimWindow& a = open(u"A1");
  open(u"B1");
  start();
  tick(2);
  sim::SimWindow& d = open(u"D1");
  tick();
  ASSERT_NE(frame_of(d), nullptr);
  EXPECT_TRUE(docked(d));
  EXPECT_EQ(strip(*frame_of(d)), "A1 B1 D1*");
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 D1");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, DragInOneBarReordersEveryBar) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  open(u"C1");
  start();
  tick(2);
  Frame& fa = *frame_of(a);
  fa.bar().move_tab(fa.bar().slot_at(Position(1)), fa.bar().slot_at(Position(3)));
  EXPECT_EQ(strip(fa), "B1 C1 A1*");
  EXPECT_EQ(strip(*frame_of(b)), "B1* C1 A1");
  EXPECT_EQ(problems(), "");
}

// A main window's bar docked after the tabs were there builds them over
// several ticks: no tick builds more than the batch for all bars together,
// and every bar ends complete with its own window selected.
TEST_F(Frames, LateBarsCatchUpInBoundedBatches) {
  std::vector<sim::SimWindow*> windows;
  for (int i = 0; i < 60; ++i) windows.push_back(&open(u"W" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'a' + i / 26)));
  start();
  tick();  // the first bar gets every tab at once, as the model gets them
  auto shown = [&] {
    std::int32_t n = 0;
    for (const auto& f : addin.frames()) n += f->bar().loaded() ? f->bar().count() : 0;
    return n;
  };
  std::int32_t before = shown();
  int ticks = 0;
  for (; ticks < 400 && (docked_frames() < 60 || shown() < 60 * 60); ++ticks) {
    tick();
    EXPECT_LE(shown() - before, kTabsPerTick) << "tick " << ticks;
    before = shown();
    ASSERT_EQ(problems(true), "") << "tick " << ticks;
  }
  EXPECT_GT(ticks, 60 * 59 / kTabsPerTick - 1) << "spread over ticks";
  EXPECT_EQ(docked_frames(), 60);
  EXPECT_EQ(problems(), "");
  for (sim::SimWindow* w : windows) {
    Frame* f = frame_of(*w);
    ASSERT_NE(f, nullptr);
    const Slot own = f->bar().slot_at(addin.model().position_of(host::Ref<host::Window>(w)));
    EXPECT_EQ(f->bar().selected(), own);
    // In view, between the arrows, as a bar built in one go shows it.
    const auto& face = form_of(*f).element({Part::face, static_cast<std::int16_t>(own.value)});
    const auto& right = form_of(*f).element({Part::right_arrow, 0});
    EXPECT_GE(face.left, 0.0f) << utf8(w->caption());
    EXPECT_LE(face.left + face.width, right.left) << utf8(w->caption());
  }
}

// Few documents: a new main window's bar shows every tab on the tick that
// docks it, as before.
TEST_F(Frames, FewTabsAreAllShownOnTheTickThatDocksTheBar) {
  sim::SimWindow& a = open(u"A1");
  open(u"B1");
  start();
  tick(2);
  sim::SimWindow& c = open(u"C1");
  word.raise_NewDocument();
  tick();
  ASSERT_NE(frame_of(c), nullptr);
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");
}

// While a bar catches up, the model changes beyond its edge and across it:
// a rename, a removal, a new window, a drag in an up-to-date bar. The bar
// ends showing the model as it is then.
TEST_F(Frames, ALaggingBarFollowsChangesMadeWhileItCatchesUp) {
  std::vector<sim::SimWindow*> w;
  for (const char16_t* name : {u"A1", u"B1", u"C1", u"D1", u"E1", u"F1"}) w.push_back(&open(name));
  addin.set_tabs_per_tick_for_testing(2);
  start();  // F1, the active window, has the start-up's bar
  tick();   // which gets every tab; A1's bar is docked with two
  ASSERT_NE(frame_of(*w[0]), nullptr);
  ASSERT_NE(frame_of(*w[5]), nullptr);
  Frame& fa = *frame_of(*w[0]);
  Frame& ff = *frame_of(*w[5]);
  ASSERT_TRUE(fa.bar().behind());
  EXPECT_EQ(strip(fa), "A1* B1");
  word.set_caption(*w[4], u"E1 renamed");  // beyond A1's edge
  word.close_window(*w[3]);               // beyond it too
  sim::SimWindow& g = open(u"G1");        // a new tab at the end
  word.raise_NewDocument();
  tick();
  EXPECT_EQ(strip(fa), "A1* B1 C1 E1 renamed");
  EXPECT_EQ(problems(true), "");
  // A drag in F1's bar from beyond A1's edge to the first place.
  ff.bar().move_tab(ff.bar().slot_at(Position(5)), ff.bar().slot_at(Position(1)));
  EXPECT_EQ(problems(true), "");
  tick(40);
  EXPECT_EQ(problems(), "");
  EXPECT_EQ(strip(ff), "F1* A1 B1 C1 E1 renamed G1");
  EXPECT_EQ(strip(fa), "F1 A1* B1 C1 E1 renamed G1");
  ASSERT_NE(frame_of(g), nullptr);
  EXPECT_EQ(strip(*frame_of(g)), "F1 A1 B1 C1 E1 renamed G1*");
}

// A drag in B's bar of A's tab; A's window closes (and its frame) and a new
// document takes the slot in B's bar: a drop naming the slot moves nothing
// and brings no frame to the front.
TEST_F(Frames, DropAfterTheDraggedWindowClosedLeavesTheSlotsNewWindowAlone) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  open(u"C1");
  start();
  tick(2);
  Frame& fb = *frame_of(b);
  const Slot slot_of_a = fb.bar().slot_at(Position(1));
  forms.target(form_of(fb));
  const host::Element face_of_a{Part::face, static_cast<std::int16_t>(slot_of_a.value)};
  ASSERT_EQ(forms.mouse_down(face_of_a, host::kLeftButton), status::ok);
  ASSERT_EQ(forms.mouse_move(face_of_a, host::kLeftButton), status::ok);
  ASSERT_TRUE(forms.drag_source());
  word.close_window(a);
  tick();
  EXPECT_FALSE(forms.drag_source());
  sim::SimWindow& n = open(u"N1");
  tick();
  word.activate(b);
  tick();
  ASSERT_EQ(fb.bar().slot_at(Position(3)), slot_of_a);  // N1 drawn with A1's old slot
  ASSERT_EQ(ws.foreground(), b.frame().main);
  word.reset_calls();
  fb.bar().DragDrop({Part::face, static_cast<std::int16_t>(fb.bar().slot_at(Position(1)).value)},
                    static_cast<std::int16_t>(slot_of_a.value), 0, 0);
  EXPECT_EQ(strip(fb), "B1* C1 N1");
  EXPECT_EQ(strip(*frame_of(n)), "B1 C1 N1*");
  EXPECT_EQ(word.calls("Window.Activate"), 0);
  EXPECT_EQ(ws.foreground(), b.frame().main);
  EXPECT_EQ(problems(), "");
}

// Every bar builds a new tab before the model records it. When one bar
// cannot, the bars that built it already take it down again: no bar shows
// a tab the model does not hold.
TEST_F(Frames, ATabThatOneBarCannotBuildStaysInNoBar) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  ASSERT_EQ(docked_frames(), 2);
  // The first bar's build names its caption; the second bar's fails there.
  bool first = true;
  forms.on_call("Element.Caption.let", [&] {
    if (std::exchange(first, false)) forms.fail("Element.Caption.let", 1);
  });
  word.open_document(u"C1");
  tick();
  forms.on_call("Element.Caption.let", {});
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1");
  EXPECT_EQ(strip(*frame_of(b)), "A1 B1*");
  EXPECT_EQ(problems(), "");  // no element of a free slot shows in either bar
  tick(2);
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");
  EXPECT_EQ(problems(), "");
}

TEST_F(Frames, ResizingOneFrameRedocksOnlyItsBand) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  const host::Rect before = ws.rect(frame_of(a)->bar().window());
  word.resize_frame(b, 600, 500);
  tick();
  EXPECT_TRUE(docked(b));
  const host::Rect bar = ws.rect(frame_of(b)->bar().window());
  EXPECT_EQ(bar.right - bar.left, (600 * 15 - 80) / 15);
  const host::Rect after = ws.rect(frame_of(a)->bar().window());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_TRUE(docked(a));
}

TEST_F(Frames, DisconnectionGivesEveryFrameItsBandBack) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  connect.on_disconnection(0);
  for (sim::SimWindow* w : {&a, &b}) {
    EXPECT_EQ(ws.rect(w->frame().doc_area).top, ws.rect(w->frame().dock_top).bottom);
    EXPECT_EQ(frame_of(*w), nullptr);
  }
  EXPECT_TRUE(forms.forms().empty());
  EXPECT_EQ(word.live_refs(), 0);
}

TEST_F(Frames, IdleTickCostsOneCallPerWindowAndTwoMore) {
  for (int i = 0; i < 20; ++i) open(u"Doc" + std::u16string(1, u'a' + i));
  start();
  tick(25);  // one new bar per tick
  ASSERT_EQ(docked_frames(), 20);
  word.reset_calls();
  forms.reset_paints();
  tick();
  EXPECT_EQ(word.total_calls(), 20 + 2);  // captions, the active window, the count
  EXPECT_EQ(word.calls("Window.Hwnd"), 0);
  EXPECT_EQ(forms.paints(), 0);
}

TEST_F(Frames, WindowNamingNoUsableFrameKeepsItsTabButGetsNoBar) {
  sim::SimWindow& a = open(u"A1");
  start();
  tick(2);
  // A foreign program's "OpusApp" window, and a failing read.
  const host::Hwnd other = ws.create_window(ws.desktop(), u"OpusApp", u"Other - Word", {0, 0, 500, 400});
  ws.make_foreign(other);
  sim::SimWindow& b = open(u"B1");
  ws.make_foreign(b.frame().main);
  tick(2);
  EXPECT_EQ(frame_of(b), nullptr);
  // A window no bar belongs to is shown selected where it is active, as in
  // Word's one main window.
  EXPECT_EQ(strip(*frame_of(a)), "A1 B1*");
  EXPECT_EQ(problems(), "");
  EXPECT_TRUE(ws.children(other).empty());  // nothing docked into another process
  // A refused read is asked again on the next pass; an answered one never.
  word.reset_calls();
  word.fail("Window.Hwnd", 1);
  sim::SimWindow& c = open(u"C1");
  tick();
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");
  tick(3);
  ASSERT_NE(frame_of(c), nullptr);
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(word.calls("Window.Hwnd"), 2);
}

TEST_F(Frames, FrameClosedWhileItsOwnBarRunsThePollLeavesTheOthersPolling) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(2);
  word.close_window(a);  // the start-up frame, whose timer led the poll
  tick(5);
  EXPECT_EQ(frame_of(a), nullptr);
  EXPECT_EQ(strip(*frame_of(b)), "B1*");
  sim::SimWindow& c = open(u"C1");
  tick(3);
  EXPECT_EQ(strip(*frame_of(c)), "B1 C1*");
  EXPECT_EQ(problems(), "");
}

// A start-up fails, and Word refuses to hook the add-in to its events again:
// a timer of the add-in's own asks again once a second until Word takes the
// hook, and Word's next event starts the bar.
TEST_F(Frames, FailedStartWhileWordRefusesTheHookListensOnceItTakes) {
  sim::SimWindow& a = open(u"A1");
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.Version");
  word.fail("Application.advise");
  word.raise_NewDocument();
  tick();  // the start fails: Word does not say its version
  EXPECT_EQ(docked_frames(), 0);
  EXPECT_TRUE(addin.asks_to_listen_again_for_testing());
  word.clear_failures();
  word.fail("Application.advise");
  tick(250);  // 2.5 s: asked twice more, refused
  EXPECT_GE(word.calls("Application.advise"), 3);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);  // not heard
  EXPECT_EQ(docked_frames(), 0);
  word.clear_failures();
  tick(100);
  EXPECT_FALSE(addin.asks_to_listen_again_for_testing());
  ASSERT_EQ(word.raise_NewDocument(), status::ok);
  tick(3);
  ASSERT_NE(frame_of(a), nullptr);
  EXPECT_EQ(strip(*frame_of(a)), "A1*");
  EXPECT_EQ(problems(), "");
  // Letting go of Word stops the asking too.
  word.fail("Application.advise");
  addin.listen_again();
  EXPECT_TRUE(addin.asks_to_listen_again_for_testing());
  connect.on_disconnection(0);
  EXPECT_FALSE(addin.asks_to_listen_again_for_testing());
}

// The forms engine refuses a frame's new bar (built again after its window
// was destroyed from outside, or for a new document's frame): each
// such frame gives its band back and waits, tried again 10 ms later, then
// twice as long each time up to a second; the other bars carry on. Once Word
// answers, every frame has its bar with every tab and its own selected.
TEST_F(Frames, BarsThatCannotBeBuiltAreTriedAgainAfterABackOff) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(3);
  ASSERT_TRUE(docked(a) && docked(b));
  const int before = forms.calls("FormEngine.CreateForm");
  forms.fail("FormEngine.CreateForm");
  ws.destroy_window(frame_of(a)->bar().window());
  sim::SimWindow& c = open(u"C1");
  word.raise_NewDocument();
  tick(2);
  EXPECT_EQ(frame_of(a), nullptr);
  EXPECT_EQ(frame_of(c), nullptr);
  // Each keeps a frame of its own that waits; neither takes the other's.
  EXPECT_NE(addin.frame_for(a.frame().main), nullptr);
  EXPECT_NE(addin.frame_for(c.frame().main), nullptr);
  EXPECT_EQ(ws.rect(a.frame().doc_area).top, ws.rect(a.frame().dock_top).bottom);
  EXPECT_EQ(strip(*frame_of(b)), "A1 B1* C1");
  forms.advance(3000);
  // Per frame, tries at 10, 30, 70, 150, 310, 630, 1270, 2270 ms after its
  // first failure: not one on every tick.
  EXPECT_LE(forms.calls("FormEngine.CreateForm"), before + 2 * 9);
  EXPECT_EQ(problems(), "");
  forms.clear_failures();
  forms.advance(Backoff::longest_ms + 20);
  ASSERT_TRUE(docked(a) && docked(b) && docked(c));
  EXPECT_EQ(strip(*frame_of(a)), "A1* B1 C1");
  EXPECT_EQ(strip(*frame_of(b)), "A1 B1* C1");
  EXPECT_EQ(strip(*frame_of(c)), "A1 B1 C1*");
  EXPECT_EQ(problems(), "");
}

// A frame that waits for its bar and is then closed by Word is retired: no
// try is left running for a window that is gone.
TEST_F(Frames, FrameClosedWhileItWaitsForItsBarIsRetired) {
  sim::SimWindow& a = open(u"A1");
  sim::SimWindow& b = open(u"B1");
  start();
  tick(3);
  forms.fail("FormEngine.CreateForm");
  ws.destroy_window(frame_of(a)->bar().window());
  tick(2);
  ASSERT_EQ(frame_of(a), nullptr);
  word.close_window(a);
  forms.clear_failures();
  forms.advance(Cadence::quick_ticks * Cadence::quick_ms + Backoff::longest_ms);
  EXPECT_EQ(docked_frames(), 1);
  EXPECT_EQ(addin.frames().size(), 1u);
  EXPECT_EQ(strip(*frame_of(b)), "B1*");
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::foreground_ms) << "no retry left pending";
}

// Main windows that Word will not name (Window.Hwnd refused) are asked again
// after a back-off, not on every tick: at 20 windows, 3 seconds of refusals
// cost a handful of calls, and the window gets its bar once Word answers.
TEST_F(Frames, RefusedMainWindowsAreAskedAgainAfterABackOff) {
  for (int i = 0; i < 20; ++i) open(u"Doc" + std::u16string(1, u'a' + i));
  start();
  tick(25);
  ASSERT_EQ(docked_frames(), 20);
  word.fail("Window.Hwnd");
  sim::SimWindow& late = open(u"Late");
  word.raise_NewDocument();
  forms.advance(Cadence::quick_ticks * Cadence::quick_ms);
  word.reset_calls();
  forms.advance(3000);
  EXPECT_LE(word.calls("Window.Hwnd"), 4);  // once a second by then
  // and the safety net's passes; the unsaved marks' reads (each document's
  // Saved once a second, its Document once) are counted apart.
  const auto marks = word.calls("Document.Saved") + word.calls("Window.Document");
  EXPECT_LE(marks, 4 * 21);
  EXPECT_LE(word.total_calls() - marks, 4 + 4 * (20 + 3));
  word.clear_failures();
  forms.advance(Backoff::longest_ms + 20);
  ASSERT_NE(frame_of(late), nullptr);
  EXPECT_EQ(frame_of(late)->bar().count(), 21);
  EXPECT_EQ(problems(), "");
}

// Random frames appearing and going, clicks, drags and failing calls, with
// Word's events raised as Word raises them, dropped (Word muted for a while),
// repeated at random, and time passing by a quick tick or by a safety-net
// tick's second: after every tick every bar is consistent; once calls stop
// failing and Word speaks again every open window has a docked bar that
// shows every window with its own selected. With `forms_fail`, the forms
// engine fails 5 % of its calls too (bars that fail to load or to build a
// tab, and are built again later).
void run_frames_sessions(bool forms_fail) {
  const char* env = std::getenv("PLOVERA_PROPERTY_STEPS");
  const int steps = env ? std::max(1, std::atoi(env)) : 300;
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    SdiWord s;
    s.addin.set_tabs_per_tick_for_testing(static_cast<std::int32_t>(seed));  // bars lag behind
    std::mt19937_64 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    s.open(u"D0");
    s.start();
    s.tick();
    s.word.fail_share(0.05, rng());
    // The checks read the forms through the engine: its calls fail only
    // while the session runs.
    auto fail_forms = [&](bool on) {
      if (forms_fail) s.forms.fail_share(on ? 0.05 : 0.0, rng());
    };
    fail_forms(true);
    int named = 1;
    for (int i = 0; i < steps; ++i) {
      const auto& windows = s.word.windows();
      switch (pick(8)) {
        case 0:
          if (windows.size() < 12) {
            s.open(u"D" + std::u16string(1, u'a' + named++ % 26));
            s.word.raise_NewDocument();
          }
          break;
        case 1:
          if (!windows.empty()) s.word.close_window(*windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))]);
          break;
        case 2:
          if (!windows.empty()) s.word.activate(*windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))]);
          break;
        case 3: {
          Frame& f = *s.addin.frames()[static_cast<std::size_t>(pick(static_cast<int>(s.addin.frames().size())))];
          if (f.bar().loaded() && f.bar().count() > 1)
            ignore_errors([&] {
              f.bar().move_tab(f.bar().slot_at(Position(1 + pick(f.bar().count()))),
                               f.bar().slot_at(Position(1 + pick(f.bar().count()))));
            });
          break;
        }
        case 4:
          if (!windows.empty()) {
            sim::SimWindow& w = *windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))];
            s.word.resize_frame(w, 400 + pick(600), 300 + pick(400));
          }
          break;
        case 5:
          s.word.mute_events(pick(3) == 0);
          break;
        case 6:
          for (int k = pick(4); k >= 0; --k) {
            switch (pick(5)) {
              case 0: s.word.raise_WindowActivate(); break;
              case 1: s.word.raise_WindowDeactivate(); break;
              case 2: s.word.raise_DocumentChange(); break;
              case 3: s.word.raise_DocumentBeforeClose(); break;
              default: s.word.raise_WindowSize(); break;
            }
          }
          break;
        default:
          break;
      }
      s.forms.advance(pick(5) == 0 ? Cadence::foreground_ms : Cadence::quick_ms);
      fail_forms(false);
      ASSERT_EQ(s.problems(true, !forms_fail), "") << "seed " << seed << " step " << i;
      fail_forms(true);
    }
    s.word.clear_failures();
    fail_forms(false);
    s.word.mute_events(false);
    // Where every bar went (the add-in then listens again, as before its
    // start), the user's next click into a window brings them back.
    s.word.raise_WindowActivate();
    s.forms.advance(Cadence::quick_ticks * Cadence::quick_ms + Cadence::foreground_ms);
    ASSERT_EQ(s.problems(false, !forms_fail), "");
    for (sim::SimWindow* w : s.word.windows()) {
      Frame* f = s.frame_of(*w);
      ASSERT_NE(f, nullptr) << "seed " << seed << " window " << utf8(w->caption()) << " tab at "
                            << s.addin.model().position_of(host::Ref<host::Window>(w)).value
                            << " of " << s.addin.model().count() << ", frames "
                            << s.addin.frames().size() << ", docked " << s.docked_frames()
                            << ", windows " << s.word.windows().size();
      EXPECT_EQ(f->bar().count(), static_cast<std::int32_t>(s.word.windows().size()));
      EXPECT_EQ(f->bar().selected(),
                f->bar().slot_at(s.addin.model().position_of(host::Ref<host::Window>(w))));
    }
  }
}

TEST(FramesProperty, RandomSessionsKeepEveryBarConsistent) { run_frames_sessions(false); }

TEST(FramesProperty, RandomSessionsWithFailingFormsKeepEveryBarConsistent) {
  run_frames_sessions(true);
}

}  // namespace
}  // namespace plovera::testing
