// The popup menu "tabPopup" and the commands behind its buttons.
#include "commands/menu.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

using ::testing::ElementsAre;

class Menu : public ::testing::Test, public WordFixture {
 protected:
  sim::SimCommandBar& popup() {
    sim::SimCommandBar* b = word.bar(u"tabPopup");
    if (!b) throw std::logic_error("no tabPopup");
    return *b;
  }
  sim::SimButton& save_all_button() { return menu_button(MenuItem::save_all); }
  sim::SimButton& web_button() { return menu_button(MenuItem::visit_web_site); }
  sim::SimButton& about_button() { return menu_button(MenuItem::about); }
};

TEST_F(Menu, ListsTheTabsEntriesThenTheBarsWithTheirValues) {
  start();
  ASSERT_EQ(popup().position(), 5);
  ASSERT_EQ(popup().buttons().size(), kMenuItems);
  EXPECT_THAT(save_all_button().sets(), ElementsAre("FaceId=455", "Caption=Save All", "TooltipText=Save All",
                                            "Style=3", "Tag=marrowick", "Parameter=SaveAll"));
  EXPECT_THAT(web_button().sets(),
              ElementsAre("FaceId=1016", "Caption=Visit our web site",
                          "TooltipText=Visit our web site", "Style=3", "Tag=marrowick",
                          "Parameter=website"));
  EXPECT_THAT(about_button().sets(),
              ElementsAre("FaceId=487", "Caption=About Plovera", "TooltipText=About Plovera",
                          "Style=3", "Tag=marrowick", "Parameter=about"));
  std::vector<std::string> captions, parameters;
  for (sim::SimButton* b : popup().buttons()) {
    captions.push_back(utf8(b->caption()));
    parameters.push_back(utf8(b->parameter()));
    EXPECT_EQ(b->type(), 1);
    EXPECT_EQ(b->id(), 1);
    EXPECT_TRUE(b->temporary());
    EXPECT_EQ(b->tag(), u"marrowick");
    EXPECT_EQ(b->tooltip(), b->caption());
    EXPECT_TRUE(b->enabled());
    EXPECT_FALSE(b->begins_group());
  }
  EXPECT_THAT(captions, ElementsAre("Close", "Close Other Documents", "Close Documents to the Right",
                                    "Save", "Copy Full Path", "Open Containing Folder",
                                    "Reopen Closed Document", "Save All", "Visit our web site",
                                    "About Plovera"));
  EXPECT_THAT(parameters, ElementsAre("Close", "CloseOthers", "CloseRight", "Save", "CopyPath",
                                      "OpenFolder", "Reopen", "SaveAll", "website", "about"));
  // Built as the bar's own menu: the tab's entries hidden.
  for (std::size_t i = 0; i < kMenuItems; ++i)
    EXPECT_EQ(popup().buttons()[i]->visible(), !is_tab_item(static_cast<MenuItem>(i))) << i;
  // One receiver hears every button (they share the Tag).
  EXPECT_EQ(addin.menu().commands()->button().get(), &about_button());
}

TEST_F(Menu, LeftoverBarWithoutButtonsIsDeletedAndRebuilt) {
  sim::SimCommandBar& old = word.add_bar(u"tabPopup");
  start();
  EXPECT_FALSE(old.alive());
  ASSERT_EQ(word.bars().size(), 1u);
  EXPECT_EQ(popup().buttons().size(), kMenuItems);
}

TEST_F(Menu, BarLeftByAnEarlierVersionIsRebuiltTemporary) {
  word.add_bar(u"tabPopup", 5);  // stored in the template by an earlier version
  start();
  ASSERT_EQ(word.bars().size(), 1u);
  EXPECT_EQ(popup().buttons().size(), kMenuItems);
  EXPECT_TRUE(popup().temporary());
}

TEST_F(Menu, DisconnectionTakesTheMenuAway) {
  start();
  ASSERT_NE(word.bar(u"tabPopup"), nullptr);
  connect.on_disconnection(0);
  EXPECT_EQ(word.bar(u"tabPopup"), nullptr);
  word.restart();
  EXPECT_TRUE(word.bars().empty());
}

TEST_F(Menu, MenuThatCannotBeBuiltAtStartIsBuiltWhenFirstOpened) {
  for (const char* member : {"CommandBars.Add", "CommandBarControls.Add", "CommandBarButton.Tag"}) {
    WordFixture f;
    f.open(2);
    f.connect.on_connection(f.word.host_object(), 1, nullptr);
    f.word.fail(member, 1);
    EXPECT_EQ(f.word.raise_NewDocument(), status::ok) << member;
    f.tick(2);
    EXPECT_EQ(f.strip(), "Doc1 Doc2*") << member;  // the tabs do not need the menu
    ASSERT_EQ(f.forms.mouse_down({host::Part::bar, 0}, host::kRightButton), status::ok);
    ASSERT_NE(f.word.bar(u"tabPopup"), nullptr) << member;
    EXPECT_EQ(f.word.bar(u"tabPopup")->buttons().size(), kMenuItems) << member;
    EXPECT_EQ(f.word.bar(u"tabPopup")->popups(), 1) << member;
  }
}

TEST_F(Menu, EveryButtonReachesTheOneReceiver) {
  open(1);
  start();
  ASSERT_EQ(word.click(about_button()), status::ok);
  ASSERT_EQ(ws.messages().size(), 1u);
  ASSERT_EQ(word.click(web_button()), status::ok);
  ASSERT_EQ(ws.shell_calls().size(), 1u);
  word.documents()[0]->set_saved(false);
  word.documents()[0]->set_path(u"C:\\docs");
  ASSERT_EQ(word.click(save_all_button()), status::ok);
  EXPECT_EQ(word.documents()[0]->save_count(), 1);
}

TEST_F(Menu, WebSiteOpensTheAddressInTheAddinsFolder) {
  ws.module_folder(u"C:\\Program Files\\Plovera");
  start();
  word.click(web_button());
  ASSERT_EQ(ws.shell_calls().size(), 1u);
  const sim::ShellCall& call = ws.shell_calls()[0];
  EXPECT_EQ(call.verb, u"open");
  EXPECT_EQ(call.file, kWebSite);
  EXPECT_EQ(call.file.rfind(u"https://", 0), 0u);
  EXPECT_EQ(call.parameters, u"");
  EXPECT_EQ(call.directory, u"C:\\Program Files\\Plovera");
  EXPECT_EQ(call.show, 1);
  EXPECT_EQ(call.owner, form().window());
}

TEST_F(Menu, OtherParametersChangeNothing) {
  open(1);
  word.documents()[0]->set_saved(false);
  start();
  word.reset_calls();
  bool cancel = false;
  for (const char16_t* p : {u"saveall", u"Website", u""}) {
    save_all_button().Parameter(p);
    addin.menu().commands()->on_menu_click(host::Ref<host::CommandBarButton>(&save_all_button()));
  }
  EXPECT_EQ(word.calls("Application.Documents"), 0);
  EXPECT_TRUE(ws.shell_calls().empty());
  EXPECT_FALSE(cancel);
}

TEST_F(Menu, PopupOpensAtThePointerAndAFailureOpensNothing) {
  start();
  int shown = 0;
  word.on_popup([&](sim::SimCommandBar&) { ++shown; });
  addin.menu().show_menu();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(ws.foreground(), main);
  popup().Delete();
  EXPECT_NO_THROW(addin.menu().show_menu());
  EXPECT_EQ(shown, 1);
}

class SaveAll : public Menu {
 protected:
  void SetUp() override {
    start();
    word.reset_calls();
  }
};

TEST_F(SaveAll, NothingUnsavedDoesNothing) {
  open(2);
  addin.menu().commands()->save_all();
  EXPECT_TRUE(word.saves().empty());
  EXPECT_TRUE(word.dialogs().empty());
}

TEST_F(SaveAll, SavesFiledDocumentsAndAsksForNamesOfNewOnes) {
  sim::SimDocument& filed = word.open_document(u"Report", u"C:\\docs", false);
  sim::SimDocument& fresh = word.open_document(u"Document2", u"", false);
  sim::SimDocument& other = word.open_document(u"Document3", u"", true);
  word.activate(*other.windows()[0]);
  addin.menu().commands()->save_all();
  EXPECT_EQ(filed.save_count(), 1);
  ASSERT_EQ(word.dialogs().size(), 3u);  // fetched anew for each of its three uses
  EXPECT_EQ(word.dialogs()[0]->initial_name(), u"Document2");
  EXPECT_EQ(word.dialogs()[0]->type(), 2);
  ASSERT_EQ(word.saves().size(), 2u);
  // The dialog saves Word's active document: the new one was made active first.
  EXPECT_EQ(word.saves()[1].document, &fresh);
  EXPECT_EQ(word.saves()[1].name, u"Document2");
}

TEST_F(SaveAll, CancellingSkipsTheDocumentAndGoesOn) {
  word.open_document(u"New1", u"", false);
  sim::SimDocument& second = word.open_document(u"New2", u"", false);
  word.dialog_answers({0, -1});
  addin.menu().commands()->save_all();
  ASSERT_EQ(word.saves().size(), 1u);
  EXPECT_EQ(word.saves()[0].document, &second);
}

TEST_F(SaveAll, ReadsTheDocumentCountOnce) {
  word.open_document(u"A", u"", false);
  word.dialog_answers({0});
  word.on_call("FileDialog.Show", [&] { word.open_document(u"B", u"C:\\", false); });
  addin.menu().commands()->save_all();
  EXPECT_EQ(word.calls("Documents.Count"), 1);
  EXPECT_EQ(word.calls("Documents.Item"), 1);  // B, opened meanwhile, is not visited
}

TEST_F(SaveAll, AFailingSaveDoesNotStopTheOthersAndIsReported) {
  sim::SimDocument& a = word.open_document(u"A", u"C:\\", false);
  sim::SimDocument& b = word.open_document(u"B", u"C:\\", false);
  word.fail("Document.Save", 1);
  EXPECT_THROW(addin.menu().commands()->save_all(), host_error);
  EXPECT_EQ(a.save_count(), 0);
  EXPECT_EQ(b.save_count(), 1);
  // The user is told which document was not saved, once all were tried.
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"Save All");
  EXPECT_EQ(ws.messages()[0].second, u"These documents could not be saved:\n\nA");
  // Through Office, the failure is the click's result.
  word.fail("Document.Save", 1);
  a.set_saved(false);
  b.set_saved(false);
  EXPECT_TRUE(failed(word.click(save_all_button())));
}

// A document whose name Word will not give is named by its whole number.
TEST_F(SaveAll, TheReportNamesAnUnreadableDocumentByItsNumber) {
  for (int i = 1; i <= 12; ++i) word.open_document(u"D" + std::u16string(1, u'a' + i), u"C:\\");
  word.open_document(u"Thirteenth", u"C:\\", false);  // the only one with changes
  word.fail("Document.Save", 1);
  word.fail("Document.Name");
  EXPECT_THROW(addin.menu().commands()->save_all(), host_error);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].second, u"These documents could not be saved:\n\n(document 13)");
}

TEST_F(SaveAll, TheReportGivesWordsOwnWords) {
  word.open_document(u"Report", u"C:\\", false);
  word.on_call("Document.Path", [&] { last_failure_text() = u"The disk is full."; });
  word.fail("Document.Save", 1);
  EXPECT_THROW(addin.menu().commands()->save_all(), host_error);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].second, u"These documents could not be saved:\n\nReport: The disk is full.");
}

}  // namespace
}  // namespace plovera::testing
