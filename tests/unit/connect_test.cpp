// Connection, disconnection and the routing of Word's application events.
#include "addin/start_on_first_event.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

class Connection : public ::testing::Test, public WordFixture {};

TEST_F(Connection, KeepsWordAndHooksTheReceiver) {
  connect.on_connection(word.host_object(), 1, nullptr);
  EXPECT_EQ(addin.word_application_for_testing().get(), &word.application());
  ASSERT_TRUE(addin.start_receiver_for_testing());
  EXPECT_EQ(word.hooked_count(), 1);
  EXPECT_EQ(forms.forms_created(), 0);  // no visible work yet
}

TEST_F(Connection, HostWithoutWordsApplicationFailsAndHooksNothing) {
  word.lack_application(true);
  try {
    connect.on_connection(word.host_object(), 1, nullptr);
    FAIL() << "connection succeeded";
  } catch (const host_error& e) {
    EXPECT_EQ(e.code(), status::no_interface);
  }
  EXPECT_FALSE(addin.word_application_for_testing());
  EXPECT_FALSE(addin.start_receiver_for_testing());
  EXPECT_EQ(word.hooked_count(), 0);
}

// The event only unhooks the receiver and asks for a tick: Word gets its
// event back before the bar is built, and nothing of the start is done
// inside it (not one call into Word). The start runs on the next tick.
TEST_F(Connection, EachUnguardedEventUnhooksAndStartsOnceOnTheNextTick) {
  for (auto raise : {&sim::SimWord::raise_DocumentOpen, &sim::SimWord::raise_NewDocument,
                     &sim::SimWord::raise_WindowActivate, &sim::SimWord::raise_WindowSize}) {
    WordFixture f;
    f.connect.on_connection(f.word.host_object(), 1, nullptr);
    const std::int64_t calls = f.word.total_calls();
    EXPECT_EQ((f.word.*raise)(), status::ok);
    EXPECT_EQ(f.word.total_calls(), calls) << "no call into Word inside the event";
    EXPECT_EQ(f.word.hooked_count(), 0) << "the start-up receiver unhooked";
    EXPECT_EQ(f.forms.forms_created(), 1) << "the timer's form only, no bar";
    EXPECT_TRUE(f.addin.start_due());
    f.tick();
    EXPECT_FALSE(f.addin.start_due());
    EXPECT_EQ(f.word.hooked_count(), 2) << "the menu's button and the listener hooked";
    EXPECT_TRUE(f.addin.hears_word());
    EXPECT_EQ(f.forms.forms_created(), 2) << "the timer's form and the bar's";
    EXPECT_EQ(f.addin.windows().main_window, f.main);
    // Later events reach nothing: the bar is not started twice.
    f.word.raise_WindowActivate();
    f.word.raise_DocumentChange();
    f.tick(3);
    EXPECT_EQ(f.forms.forms_created(), 2);
    EXPECT_EQ(f.word.calls("CommandBars.Add"), 1);
  }
}

TEST_F(Connection, DocumentChangeBelowVersion12LeavesTheReceiverHooked) {
  word.version(u"11.0");
  connect.on_connection(word.host_object(), 1, nullptr);
  EXPECT_EQ(word.raise_DocumentChange(), status::ok);
  tick(3);
  EXPECT_EQ(word.hooked_count(), 1);
  EXPECT_EQ(forms.forms_created(), 0);
  word.raise_WindowActivate();
  tick();
  EXPECT_EQ(forms.forms_created(), 2);
}

TEST_F(Connection, DocumentChangeFromVersion12Starts) {
  connect.on_connection(word.host_object(), 1, nullptr);
  EXPECT_EQ(word.raise_DocumentChange(), status::ok);
  tick();
  EXPECT_EQ(forms.forms_created(), 2);
}

TEST_F(Connection, FailingVersionReadInDocumentChangeKeepsTheReceiverHooked) {
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.Version", 1);
  EXPECT_TRUE(failed(word.raise_DocumentChange()));
  tick(3);
  EXPECT_EQ(word.hooked_count(), 1);
  EXPECT_EQ(forms.forms_created(), 0);
}

// A start that fails on its tick is undone as one inside the event was: no
// half-made bar, the band given back, no timer left running, and the
// receiver listening for Word's next event.
TEST_F(Connection, FailedStartupIsUndoneAndTriedAgainOnTheNextEvent) {
  open(2);
  connect.on_connection(word.host_object(), 1, nullptr);
  word.fail("Application.Width");  // docking needs Word's width
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  tick();
  EXPECT_FALSE(bar.loaded());  // no half-made bar
  EXPECT_FALSE(addin.ticker().loaded());
  EXPECT_FALSE(addin.start_due());
  EXPECT_EQ(addin.dock_offset_for_testing(), 0);
  EXPECT_EQ(ws.rect(document_area).top, 60);                // the band is given back
  EXPECT_TRUE(addin.start_receiver_for_testing()->word());  // listening again
  const std::int64_t calls = word.total_calls();
  tick(10);
  EXPECT_EQ(word.total_calls(), calls) << "no tick runs without a bar";
  word.clear_failures();
  EXPECT_EQ(word.raise_WindowActivate(), status::ok);
  tick(3);
  EXPECT_EQ(strip(), "Doc1 Doc2*");
  EXPECT_FALSE(addin.start_receiver_for_testing()->word());
  EXPECT_EQ(invariants(), "");
}

TEST_F(Connection, VersionFailingWhileTheBarLoadsLeavesNoBar) {
  open(1);
  connect.on_connection(word.host_object(), 1, nullptr);
  word.on_call("Application.Version", [&] { word.fail("Application.Version", 1); });
  word.fail("Application.Version", 1);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  tick();
  EXPECT_FALSE(bar.loaded());
  word.on_call("Application.Version", nullptr);
  word.clear_failures();
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  tick(3);
  EXPECT_EQ(strip(), "Doc1*");
}

// Word letting go between its event and the tick: the start never runs.
TEST_F(Connection, DisconnectionBeforeTheStartsTickCancelsIt) {
  open(1);
  connect.on_connection(word.host_object(), 1, nullptr);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  connect.on_disconnection(0);
  EXPECT_FALSE(addin.start_due());
  tick(5);
  EXPECT_EQ(forms.forms_created(), 1);
  EXPECT_EQ(forms.form(), nullptr);
  EXPECT_EQ(word.live_refs(), 0);
}

// Where the timer's form cannot be made, the bar starts inside the event, as
// it can, rather than not at all.
TEST_F(Connection, TimerRefusedStartsInsideTheEvent) {
  open(1);
  connect.on_connection(word.host_object(), 1, nullptr);
  forms.fail("FormEngine.CreateForm", 1);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  EXPECT_FALSE(addin.start_due());
  EXPECT_TRUE(bar.loaded());
  tick(2);
  EXPECT_EQ(strip(), "Doc1*");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Connection, TaskbarOptionIsPutBackAsTheUserHadIt) {
  word.application().ShowWindowsInTaskbar(true);
  start();
  tick();
  EXPECT_FALSE(word.application().ShowWindowsInTaskbar());
  connect.on_disconnection(0);
  EXPECT_TRUE(word.application().ShowWindowsInTaskbar());
}

TEST_F(Connection, TaskbarOptionOffBeforeStaysOff) {
  word.application().ShowWindowsInTaskbar(false);
  start();
  tick();
  connect.on_disconnection(0);
  EXPECT_FALSE(word.application().ShowWindowsInTaskbar());
}

TEST_F(Connection, NoWordMainWindowEndsTheStartAfterItsFirstStep) {
  ws.set_caption(main, u"Word");  // 4 characters: not Word's main window
  connect.on_connection(word.host_object(), 1, nullptr);
  EXPECT_EQ(word.raise_NewDocument(), status::ok);
  tick();
  EXPECT_EQ(addin.windows().main_window, 0u);
  EXPECT_EQ(forms.forms_created(), 1);  // the timer's form, gone again
  EXPECT_EQ(forms.forms().size(), 0u);
  EXPECT_EQ(word.calls("Application.CommandBars"), 0);
  EXPECT_EQ(word.hooked_count(), 1);  // listening again
  word.raise_WindowActivate();        // tried again, finding nothing again
  tick(3);
  EXPECT_EQ(forms.forms_created(), 2);
  EXPECT_EQ(forms.forms().size(), 0u);
  EXPECT_EQ(word.calls("Application.CommandBars"), 0);
}

TEST_F(Connection, SecondConnectionReplacesWordAndTheReceiver) {
  start();
  connect.on_disconnection(1);
  sim::SimWord other;
  other.version(u"12.0");
  connect.on_connection(other.host_object(), 0, nullptr);
  EXPECT_EQ(addin.word_application_for_testing().get(), &other.application());
  EXPECT_EQ(other.hooked_count(), 1);
  EXPECT_EQ(word.live_refs(), 0);
  other.raise_WindowActivate();
  tick();
  EXPECT_EQ(forms.forms_created(), 4);  // the whole start-up runs again
  connect.on_disconnection(0);
  EXPECT_EQ(other.live_refs(), 0);
}

TEST_F(Connection, DisconnectionTwiceOrBeforeStartOnlyLetsGo) {
  connect.on_disconnection(0);  // never connected
  connect.on_connection(word.host_object(), 1, nullptr);
  connect.on_disconnection(0);
  connect.on_disconnection(0);
  EXPECT_FALSE(addin.word_application_for_testing());
  EXPECT_EQ(word.hooked_count(), 0);
  EXPECT_EQ(word.live_refs(), 0);
}

// At disconnection the add-in lets go of everything: no receiver, no timer,
// no reference, and Word gets its band back.
TEST_F(Connection, DisconnectionRemovesTheBarAndGivesTheBandBack) {
  open(3);
  start();
  tick(2);
  ASSERT_EQ(bar.count(), 3);
  ASSERT_EQ(ws.rect(document_area).top, 84);
  connect.on_disconnection(1);
  EXPECT_EQ(forms.form(), nullptr);
  EXPECT_EQ(word.live_refs(), 0);
  EXPECT_EQ(word.hooked_count(), 0);
  EXPECT_EQ(ws.rect(document_area).top, 60);
  EXPECT_EQ(ws.rect(document_area).bottom, 700);
  EXPECT_EQ(ws.rect(right_dock).top, 60);
  const std::int64_t calls = word.total_calls();
  tick(10);
  EXPECT_EQ(word.total_calls(), calls);
}

TEST_F(Connection, RemovedAndAddedBackDocksOnce) {
  open(1);
  start();
  tick(2);
  connect.on_disconnection(1);
  connect.on_connection(word.host_object(), 0, nullptr);
  word.raise_WindowActivate();
  tick(2);
  EXPECT_EQ(ws.rect(document_area).top, 84);  // one band down, not two
  EXPECT_EQ(bar.count(), 1);
  EXPECT_EQ(invariants(), "");
}

}  // namespace
}  // namespace plovera::testing
