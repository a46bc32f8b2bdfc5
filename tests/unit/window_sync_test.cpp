// The synchronisation on its own: passes over a scripted list of Word's
// windows, with the tab model and a mirroring view and nothing else. What is
// checked is what the user sees: which tabs exist, in which order, which one
// is selected and what each caption says.
#include <gtest/gtest.h>

#include <string>

#include "scripted_word.h"
#include "tabstrip/sync.h"

namespace plovera::testing {
namespace {

class SyncWithScriptedWord : public ::testing::Test {
 protected:
  // One polling pass; a pass that fails passes its failure on, as to the tick.
  void pass(bool keep_taskbar_off = false) { sync.sync_with_word(word, keep_taskbar_off); }
  // Opens windows "A", "B", ... (the last one active) and gives them tabs.
  void start_with(std::initializer_list<const char16_t*> captions) {
    for (const char16_t* c : captions) word.open(c);
    pass();
    pass();
  }
  ScriptedWindow& tab_window(std::int32_t p) {
    return *static_cast<ScriptedWindow*>(model.window_at(Position(p)).get());
  }

  ScriptedWord word;
  TabModel model;
  MirrorView view{model};
  WindowSync sync{model};
};

TEST_F(SyncWithScriptedWord, EveryWindowGetsATabInWordsOrderAndTheActiveOneIsSelected) {
  word.open(u"A");
  word.open(u"B");
  word.open(u"C");
  word.active = word.list.listed[1];
  pass();
  EXPECT_EQ(view.strip(), "A B C");  // the active window is selected from the next pass on
  pass();
  EXPECT_EQ(view.strip(), "A B* C");
  pass();  // nothing changed: nothing moves
  EXPECT_EQ(view.strip(), "A B* C");
  EXPECT_EQ(view.removal_goes, 0);
}

TEST_F(SyncWithScriptedWord, NewWindowsJoinAtTheRightEndAndKeepTheUsersOrder) {
  start_with({u"A", u"B", u"C"});
  model.move(Position(1), Position(3));  // the user drags A to the end
  word.open(u"D");
  word.open(u"E");
  pass();
  pass();
  EXPECT_EQ(view.strip(), "B C A D E*");
}

TEST_F(SyncWithScriptedWord, ACaptionChangeShowsOnTheNextPass) {
  start_with({u"A", u"B"});
  word.list.listed[0]->caption = u"A (Read-Only)";
  pass();
  EXPECT_EQ(view.strip(), "A (Read-Only) B*");
}

TEST_F(SyncWithScriptedWord, AClosedWindowLosesItsTabAndItsReference) {
  start_with({u"A", u"B", u"C", u"D"});
  ScriptedWindow& b = *word.list.listed[1];
  ScriptedWindow& c = *word.list.listed[2];
  word.close(b);
  word.close(c);
  pass();
  EXPECT_EQ(view.strip(), "A D*");
  EXPECT_EQ(b.refs() + c.refs(), 0);
  EXPECT_EQ(view.removal_goes, 1);  // the pass's removals leave in one go
  EXPECT_EQ(view.removals_in_go, 0);
}

TEST_F(SyncWithScriptedWord, WindowsWordNoLongerListsLoseTheirTabsInOnePass) {
  start_with({u"A", u"B", u"C", u"D", u"E"});
  word.forget(*word.list.listed[0]);  // their own calls still answer
  word.forget(*word.list.listed[1]);  // C and D, side by side
  word.forget(*word.list.listed[1]);
  pass();
  EXPECT_EQ(view.strip(), "B E*");
}

// Word closes some windows and opens others before the next pass: the
// removals end before the first new tab is appended.
TEST_F(SyncWithScriptedWord, RemovalsAndAppendsInOnePass) {
  start_with({u"A", u"B", u"C"});
  word.close(*word.list.listed[0]);
  word.close(*word.list.listed[0]);
  word.open(u"D");
  pass();
  pass();
  pass();
  EXPECT_EQ(view.strip(), "C D*");
  EXPECT_FALSE(view.appended_inside_removals);
  EXPECT_EQ(view.removals_in_go, 0);
  EXPECT_EQ(view.appends_in_go, 0);
}

// A refused call is not a closed window: the tab stays where the user put
// it, and the next pass asks again.
TEST_F(SyncWithScriptedWord, ARefusedCallKeepsTheTab) {
  start_with({u"A", u"B", u"C"});
  ScriptedWindow& b = *word.list.listed[1];
  b.caption_fails = status::fail;
  b.caption = u"B2";
  pass();
  EXPECT_EQ(view.strip(), "A B C*");
  b.caption_fails = status::ok;
  pass();
  EXPECT_EQ(view.strip(), "A B2 C*");
}

// A new window that does not answer yet gets its tab once it answers; the
// windows after it are not held up.
TEST_F(SyncWithScriptedWord, ANewWindowThatDoesNotAnswerWaits) {
  start_with({u"A"});
  ScriptedWindow& b = word.open(u"B");
  word.open(u"C");
  b.caption_fails = status::fail;
  pass();
  EXPECT_EQ(view.strip(), "A* C");
  b.caption_fails = status::ok;
  pass();
  pass();
  EXPECT_EQ(view.strip(), "A C* B");
}

TEST_F(SyncWithScriptedWord, FailingActiveWindowSelectsNothingAndClosesNothing) {
  start_with({u"A", u"B"});
  word.active = word.list.listed[0];
  word.active_fails = status::disconnected;
  pass();
  EXPECT_EQ(view.strip(), "A B*");  // as it was
  word.active_fails = status::ok;
  pass();
  EXPECT_EQ(view.strip(), "A* B");
}

TEST_F(SyncWithScriptedWord, AFailingWindowCountFailsThePassAndKeepsTheTabs) {
  start_with({u"A", u"B"});
  word.list.count_fails = status::fail;
  word.open(u"C");
  EXPECT_THROW(pass(), host_error);
  EXPECT_EQ(view.strip(), "A B*");
  word.list.count_fails = status::ok;
  pass();
  pass();
  EXPECT_EQ(view.strip(), "A B C*");
}

TEST_F(SyncWithScriptedWord, KeepsWordsTaskbarOptionOffOnlyWhenAsked) {
  start_with({u"A"});
  word.taskbar_option = true;
  pass(false);
  EXPECT_TRUE(word.taskbar_option);
  pass(true);
  EXPECT_FALSE(word.taskbar_option);
  const int writes = word.taskbar_writes;
  pass(true);
  EXPECT_EQ(word.taskbar_writes, writes);  // already off: not written again
}

// Beyond the tab limit the first windows in Word's order have tabs; a tab
// that frees a place goes to the next window in Word's order.
TEST_F(SyncWithScriptedWord, TheTabLimitKeepsWordsFirstWindows) {
  for (std::int32_t i = 0; i < kMaxTabs + 2; ++i) word.open(u"W");
  ScriptedWindow& first_left_out = *word.list.listed[kMaxTabs];
  pass();
  EXPECT_EQ(model.count(), kMaxTabs);
  EXPECT_EQ(tab_window(kMaxTabs).refs(), 1);
  EXPECT_FALSE(model.has_tab(host::Ref<host::Window>(&first_left_out)));
  word.close(*word.list.listed[0]);
  pass();
  pass();
  EXPECT_EQ(model.count(), kMaxTabs);
  EXPECT_TRUE(model.has_tab(host::Ref<host::Window>(&first_left_out)));
}

// A view that cannot build a tab keeps the window out of the model; the
// next pass gives it its tab.
TEST_F(SyncWithScriptedWord, ATabThatCannotBeBuiltComesOnTheNextPass) {
  start_with({u"A"});
  word.open(u"B");
  view.prepare_failures = 1;
  pass();
  EXPECT_EQ(view.strip(), "A*");
  pass();
  pass();
  EXPECT_EQ(view.strip(), "A B*");
}

TEST_F(SyncWithScriptedWord, ReleaseLetsGoOfWordsWindowList) {
  start_with({u"A"});
  EXPECT_GT(word.list.refs(), 0);
  sync.release();
  EXPECT_EQ(word.list.refs(), 0);
  model.clear();
  EXPECT_EQ(word.list.listed[0]->refs(), 0);
}

}  // namespace
}  // namespace plovera::testing
