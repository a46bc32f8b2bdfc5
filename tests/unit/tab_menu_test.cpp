// The menu of a tab: which entries it shows and greys out, and what each of
// the tab's commands asks of Word — which windows, in which order, and what
// happens when Word refuses, cancels or takes windows away meanwhile.
#include <algorithm>

#include "commands/menu.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Element;
using host::Part;
using ::testing::ElementsAre;

class TabMenu : public ::testing::Test, public WordFixture {
 protected:
  // Four saved documents A..D, in C:\docs.
  void SetUp() override {
    for (const char16_t* name : {u"A", u"B", u"C", u"D"}) word.open_document(name, u"C:\\docs");
    start();
    tick();
    ASSERT_EQ(strip(), "A B C D*");
  }
  Element on_tab(int position, Part part = Part::face) {
    return {part, static_cast<std::int16_t>(slot(position).value)};
  }
  // What the menu shows for a right press on `e`: each visible entry's
  // caption, "-" for a separator above it and "(...)" when greyed out.
  std::vector<std::string> shown_for(Element e) {
    std::vector<std::string> shown;
    word.on_popup([&](sim::SimCommandBar& bar) {
      for (sim::SimButton* b : bar.buttons()) {
        if (!b->visible()) continue;
        if (b->begins_group()) shown.push_back("-");
        const std::string caption = utf8(b->caption());
        shown.push_back(b->enabled() ? caption : "(" + caption + ")");
      }
    });
    EXPECT_EQ(forms.mouse_down(e, host::kRightButton), status::ok);
    word.on_popup(nullptr);
    return shown;
  }
  // A right press on `e`, then `item` chosen in the menu.
  status_t choose(Element e, MenuItem item) {
    status_t clicked = status::ok;
    word.on_popup([&](sim::SimCommandBar&) { clicked = word.click(menu_button(item)); });
    EXPECT_EQ(forms.mouse_down(e, host::kRightButton), status::ok);
    word.on_popup(nullptr);
    return clicked;
  }
  // Word's save prompt on each close: records the window, answers `keep`
  // (cancel) for the captions listed.
  void prompt_on_close(std::vector<std::u16string> cancel = {}) {
    word.close_prompt([this, cancel](sim::SimWindow& w) {
      asked.push_back(utf8(w.caption()));
      return std::find(cancel.begin(), cancel.end(), w.caption()) == cancel.end();
    });
  }
  std::vector<std::string> asked;
};

TEST_F(TabMenu, ATabsMenuListsItsCommandsThenASeparatorThenTheBars) {
  for (Part part : {Part::face, Part::icon, Part::caption, Part::close_button})
    EXPECT_THAT(shown_for(on_tab(2, part)),
                ElementsAre("Close", "Close Other Documents", "Close Documents to the Right", "Save",
                            "Copy Full Path", "Open Containing Folder", "-",
                            "(Reopen Closed Document)", "Save All", "Visit our web site",
                            "About Plovera"));
  // Elsewhere on the bar: the bar's own entries, no separator.
  EXPECT_THAT(shown_for({Part::bar, 0}), ElementsAre("(Reopen Closed Document)", "Save All",
                                                     "Visit our web site", "About Plovera"));
  EXPECT_EQ(strip(), "A B C D*");  // the menu selects nothing
}

TEST_F(TabMenu, EntriesThatCannotApplyAreGreyedOut) {
  auto greyed = [](const std::vector<std::string>& shown) {
    std::vector<std::string> out;
    for (const std::string& s : shown)
      if (s.front() == '(') out.push_back(s);
    return out;
  };
  EXPECT_THAT(greyed(shown_for(on_tab(4))),
              ElementsAre("(Close Documents to the Right)", "(Reopen Closed Document)"));
  // A never-saved document has no path to copy or open.
  word.open_document(u"Document5", u"", false);
  tick();
  EXPECT_THAT(greyed(shown_for(on_tab(5))),
              ElementsAre("(Close Documents to the Right)", "(Copy Full Path)",
                          "(Open Containing Folder)", "(Reopen Closed Document)"));
  // Word refusing the path: the same.
  word.fail("Document.Path", 1);
  EXPECT_THAT(greyed(shown_for(on_tab(1))),
              ElementsAre("(Copy Full Path)", "(Open Containing Folder)", "(Reopen Closed Document)"));
}

TEST_F(TabMenu, TheOnlyTabCannotCloseOthers) {
  for (const char16_t* c : {u"D", u"C", u"B"}) word.close_window(window(c));
  tick();
  ASSERT_EQ(strip(), "A*");
  const auto shown = shown_for(on_tab(1));
  EXPECT_EQ(shown[1], "(Close Other Documents)");
  EXPECT_EQ(shown[2], "(Close Documents to the Right)");
  // Chosen all the same (Office raised it): nothing closes.
  EXPECT_EQ(choose(on_tab(1), MenuItem::close_others), status::ok);
  EXPECT_EQ(choose(on_tab(1), MenuItem::close_to_the_right), status::ok);
  EXPECT_EQ(word_windows(), "A");
}

TEST_F(TabMenu, ShowingTheSameMenuAgainSetsNothing) {
  shown_for(on_tab(2));
  word.reset_calls();
  shown_for(on_tab(3));
  for (const char* member : {"CommandBarButton.Visible", "CommandBarButton.Enabled",
                             "CommandBarButton.BeginGroup"})
    EXPECT_EQ(word.calls(member), 0) << member;
  shown_for({Part::bar, 0});
  EXPECT_EQ(word.calls("CommandBarButton.Visible"), 6);  // the tab's entries hidden
  EXPECT_EQ(word.calls("CommandBarButton.BeginGroup"), 1);
}

TEST_F(TabMenu, CloseClosesThatTabsWindowOnly) {
  prompt_on_close();
  EXPECT_EQ(choose(on_tab(2, Part::caption), MenuItem::close), status::ok);
  EXPECT_THAT(asked, ElementsAre("B"));
  EXPECT_EQ(word_windows(), "A C D");
  EXPECT_EQ(ws.foreground(), main);
}

TEST_F(TabMenu, CloseOthersGoesFromTheRightEndAndSkipsTheTab) {
  prompt_on_close();
  EXPECT_EQ(choose(on_tab(2), MenuItem::close_others), status::ok);
  EXPECT_THAT(asked, ElementsAre("D", "C", "A"));
  EXPECT_EQ(word_windows(), "B");
  tick();
  EXPECT_EQ(strip(), "B*");
  EXPECT_EQ(invariants(), "");
}

TEST_F(TabMenu, CloseOthersOfTheFirstTabAndCloseToTheRight) {
  prompt_on_close();
  EXPECT_EQ(choose(on_tab(3), MenuItem::close_to_the_right), status::ok);
  EXPECT_THAT(asked, ElementsAre("D"));
  tick();
  asked.clear();
  EXPECT_EQ(choose(on_tab(1), MenuItem::close_to_the_right), status::ok);
  EXPECT_THAT(asked, ElementsAre("C", "B"));
  EXPECT_EQ(word_windows(), "A");
}

TEST_F(TabMenu, TheStripsOrderNotWordsDecides) {
  bar.move_tab(slot(1), slot(4));  // A dragged to the right end: B C D A
  tick();
  ASSERT_EQ(strip(), "B C D* A");
  prompt_on_close();
  EXPECT_EQ(choose(on_tab(2), MenuItem::close_to_the_right), status::ok);
  EXPECT_THAT(asked, ElementsAre("A", "D"));
}

TEST_F(TabMenu, ACancelledSavePromptStopsTheCommandThere) {
  prompt_on_close({u"C"});
  EXPECT_EQ(choose(on_tab(2), MenuItem::close_others), status::ok);
  EXPECT_THAT(asked, ElementsAre("D", "C"));  // A is not asked
  EXPECT_EQ(word_windows(), "A B C");
  // A window that refuses to close stops it too.
  asked.clear();
  word.close_prompt(nullptr);
  word.fail("Window.Close", 1);
  EXPECT_EQ(choose(on_tab(3), MenuItem::close_others), status::ok);
  EXPECT_EQ(word_windows(), "A B C");
}

TEST_F(TabMenu, WindowsThatGoMeanwhileArePassedOver) {
  // While D's prompt is up, the user closes C and A through Word.
  word.close_prompt([this](sim::SimWindow& w) {
    asked.push_back(utf8(w.caption()));
    if (w.caption() == u"D") {
      word.close_window(window(u"C"));
      word.close_window(window(u"A"));
      tick(2);  // skipped: the menu's handler is on the stack
    }
    return true;
  });
  EXPECT_EQ(choose(on_tab(2), MenuItem::close_others), status::ok);
  EXPECT_THAT(asked, ElementsAre("D"));
  EXPECT_EQ(word_windows(), "B");
  tick();
  EXPECT_EQ(strip(), "B*");
  EXPECT_EQ(invariants(), "");
}

TEST_F(TabMenu, ATabWhoseWindowWentWhileItsMenuWasOpenActsOnNothing) {
  prompt_on_close();
  for (MenuItem item : {MenuItem::close_others, MenuItem::close_to_the_right, MenuItem::close,
                        MenuItem::save, MenuItem::copy_full_path,
                        MenuItem::open_containing_folder}) {
    WordFixture f;
    for (const char16_t* name : {u"A", u"B", u"C"}) f.word.open_document(name, u"C:\\docs");
    f.start();
    f.tick();
    const Element tab{Part::face, static_cast<std::int16_t>(f.slot(2).value)};
    status_t clicked = status::ok;
    f.word.on_popup([&](sim::SimCommandBar&) {
      f.word.close_window(f.window(u"B"));
      clicked = f.word.click(f.menu_button(item));
    });
    EXPECT_EQ(f.forms.mouse_down(tab, host::kRightButton), status::ok);
    EXPECT_EQ(f.word_windows(), "A C") << static_cast<int>(item);
    EXPECT_TRUE(f.ws.shell_calls().empty());
    EXPECT_EQ(f.ws.clipboard(), u"");
    (void)clicked;  // a command on a gone window may report Word's failure
    f.tick();
    EXPECT_EQ(f.invariants(), "");
  }
}

TEST_F(TabMenu, TheMenuLetsGoOfTheTabWhenItCloses) {
  choose(on_tab(2), MenuItem::save);
  EXPECT_EQ(addin.menu().commands()->target(), nullptr);
  // A click Office delivers later finds no tab and does nothing.
  word.reset_calls();
  EXPECT_EQ(word.click(menu_button(MenuItem::close)), status::ok);
  EXPECT_EQ(word.calls("Window.Close"), 0);
}

TEST_F(TabMenu, SaveSavesThatTabsDocument) {
  EXPECT_EQ(choose(on_tab(3), MenuItem::save), status::ok);
  ASSERT_EQ(word.saves().size(), 1u);
  EXPECT_EQ(word.saves()[0].document, &window(u"C").document());
  // A never-saved document gets Word's save-as dialog, its window made active.
  sim::SimDocument& fresh = word.open_document(u"Document5", u"", false);
  word.activate(window(u"A"));
  tick();
  EXPECT_EQ(choose(on_tab(5), MenuItem::save), status::ok);
  ASSERT_EQ(word.saves().size(), 2u);
  EXPECT_EQ(word.saves()[1].document, &fresh);
  EXPECT_TRUE(word.saves()[1].through_dialog);
}

TEST_F(TabMenu, AFailedSaveIsToldInWordsOwnWordsAndReported) {
  word.on_call("Document.Path", [&] { last_failure_text() = u"The disk is full."; });
  word.fail("Document.Save", 1);
  EXPECT_EQ(choose(on_tab(2), MenuItem::save), status::fail);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"Save");
  EXPECT_EQ(ws.messages()[0].second, u"B: The disk is full.");
}

TEST_F(TabMenu, CopyFullPathPutsThePathOnTheClipboardUnchanged) {
  EXPECT_EQ(choose(on_tab(2), MenuItem::copy_full_path), status::ok);
  EXPECT_EQ(ws.clipboard(), u"C:\\docs\\B");
  // 32,000 characters, outside any ANSI code page.
  std::u16string folder = u"C:\\";
  while (folder.size() < 32000 - 10) folder += u"Ωπ文書\\";
  folder.resize(32000 - 10);
  word.open_document(u"Документ😀", folder);
  tick();
  EXPECT_EQ(choose(on_tab(5), MenuItem::copy_full_path), status::ok);
  EXPECT_EQ(ws.clipboard(), folder + u"\\Документ😀");
  EXPECT_TRUE(ws.waits().empty());
}

TEST_F(TabMenu, AHeldClipboardIsTriedAgainBrieflyThenGivenUpSilently) {
  ws.hold_clipboard(2);
  EXPECT_EQ(choose(on_tab(1), MenuItem::copy_full_path), status::ok);
  EXPECT_EQ(ws.clipboard(), u"C:\\docs\\A");
  EXPECT_EQ(ws.waits().size(), 2u);
  ws.hold_clipboard(1000);
  EXPECT_EQ(choose(on_tab(2), MenuItem::copy_full_path), status::ok);
  EXPECT_EQ(ws.clipboard(), u"C:\\docs\\A");
  std::uint32_t waited = 0;
  for (std::uint32_t ms : ws.waits()) waited += ms;
  EXPECT_LE(waited, 200u);  // brief: Word's thread is held meanwhile
  EXPECT_TRUE(ws.messages().empty());
}

TEST_F(TabMenu, OpenContainingFolderShowsTheFileSelectedInTheFileManager) {
  EXPECT_EQ(choose(on_tab(3), MenuItem::open_containing_folder), status::ok);
  ASSERT_EQ(ws.shell_calls().size(), 1u);
  const sim::ShellCall& call = ws.shell_calls()[0];
  EXPECT_EQ(call.verb, u"open");
  EXPECT_EQ(call.file, u"explorer.exe");
  EXPECT_EQ(call.parameters, u"/select,\"C:\\docs\\C\"");
  EXPECT_EQ(call.show, 1);
}

TEST_F(TabMenu, ReopenBringsBackTheLastClosedDocument) {
  prompt_on_close();
  choose(on_tab(2), MenuItem::close);
  tick();
  choose(on_tab(3), MenuItem::close);  // D, now third
  tick();
  ASSERT_EQ(word_windows(), "A C");
  EXPECT_THAT(addin.closed_documents().names(), ElementsAre(u"C:\\docs\\D", u"C:\\docs\\B"));
  EXPECT_EQ(shown_for({Part::bar, 0}).front(), "Reopen Closed Document");  // offered now
  EXPECT_EQ(choose({Part::bar, 0}, MenuItem::reopen_closed), status::ok);
  EXPECT_EQ(word_windows(), "A C D");
  tick();
  EXPECT_EQ(strip(), "A C D*");
  EXPECT_THAT(addin.closed_documents().names(), ElementsAre(u"C:\\docs\\B"));
  EXPECT_EQ(choose(on_tab(1), MenuItem::reopen_closed), status::ok);
  tick();
  EXPECT_EQ(strip(), "A C D B*");
  EXPECT_EQ(shown_for({Part::bar, 0}).front(), "(Reopen Closed Document)");
}

TEST_F(TabMenu, WindowsClosedInOneGoAreRememberedLeftmostMostRecent) {
  prompt_on_close();
  EXPECT_EQ(choose(on_tab(2), MenuItem::close_others), status::ok);  // D, C, A
  tick();
  EXPECT_THAT(addin.closed_documents().names(),
              ElementsAre(u"C:\\docs\\A", u"C:\\docs\\C", u"C:\\docs\\D"));
  EXPECT_EQ(choose(on_tab(1), MenuItem::reopen_closed), status::ok);
  EXPECT_EQ(word_windows(), "B A");
}

TEST_F(TabMenu, AMissingFileGivesWordsMessageAndLeavesTheList) {
  word.close_window(window(u"B"));
  tick();
  word.close_window(window(u"C"));
  tick();
  word.delete_file(u"C:\\docs\\C");
  EXPECT_EQ(choose({Part::bar, 0}, MenuItem::reopen_closed), status::ok);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"Reopen Closed Document");
  EXPECT_EQ(ws.messages()[0].second, sim::SimWord::missing_file_text(u"C:\\docs\\C"));
  EXPECT_EQ(word_windows(), "A D");
  // The next one is B.
  EXPECT_EQ(choose({Part::bar, 0}, MenuItem::reopen_closed), status::ok);
  EXPECT_EQ(word_windows(), "A D B");
}

TEST_F(TabMenu, OnlyDocumentsWithAPathThatAreReallyClosedAreRemembered) {
  word.new_window(window(u"A").document());  // A:1, A:2
  word.open_document(u"Document6", u"", false);
  tick();
  word.close_window(window(u"A:2"));   // A is still open in A
  word.close_window(window(u"Document6"));  // never saved
  tick();
  EXPECT_TRUE(addin.closed_documents().empty());
  // Saved under a new name, then closed: the new name is remembered.
  word.rename_document(window(u"B").document(), u"B2");
  tick();
  word.close_window(window(u"B2"));
  tick();
  EXPECT_THAT(addin.closed_documents().names(), ElementsAre(u"C:\\docs\\B2"));
}

TEST(ClosedDocumentsList, KeepsTheLastTenMostRecentFirstEachOnce) {
  ClosedDocuments list;
  for (int i = 1; i <= 12; ++i) list.remember(u"C:\\" + std::u16string(1, u'a' + i));
  ASSERT_EQ(list.names().size(), ClosedDocuments::kKept);
  EXPECT_EQ(list.most_recent(), u"C:\\m");
  EXPECT_EQ(list.names().back(), u"C:\\d");  // b and c fell off
  list.remember(u"C:\\e");
  EXPECT_EQ(list.names().size(), ClosedDocuments::kKept);
  EXPECT_EQ(list.names()[0], u"C:\\e");
  EXPECT_EQ(std::count(list.names().begin(), list.names().end(), u"C:\\e"), 1);
  list.remember(u"");
  EXPECT_EQ(list.most_recent(), u"C:\\e");
}

TEST_F(TabMenu, WordLettingGoDuringCloseOthersStopsQuietly) {
  word.close_prompt([this](sim::SimWindow& w) {
    asked.push_back(utf8(w.caption()));
    connect.on_disconnection(0);  // Word takes the add-in away in the prompt's loop
    return true;
  });
  EXPECT_EQ(choose(on_tab(1), MenuItem::close_others), status::ok);
  EXPECT_THAT(asked, ElementsAre("D"));  // the rest are not asked: the add-in let go of them
  EXPECT_EQ(word.live_refs(), 0);
}

}  // namespace
}  // namespace plovera::testing
