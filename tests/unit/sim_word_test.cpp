// The simulated Word: what the add-in's tests rely on it to do as Word does.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/sim_word.h"

namespace plovera::sim {
namespace {

using host::Ref;

status_t status_of(const std::function<void()>& call) { return boundary_guard(call); }

std::u16string caption_of(const Ref<host::Window>& w) {
  std::u16string text;
  w->Caption(text);
  return text;
}

TEST(SimWordWindows, SameWindowIsTheSameObjectEveryTime) {
  SimWord word;
  word.open_document(u"Doc1");
  SimWindow& second = *word.open_document(u"Doc2").windows().front();
  SimApplication& app = word.application();
  Ref<host::Windows> list = app.Windows();

  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Item(2), list->Item(2));
  EXPECT_EQ(list->Item(2).get(), &second);
  EXPECT_EQ(app.ActiveWindow(), list->Item(2));  // the last opened is active
  EXPECT_EQ(status_of([&] { list->Item(0); }), status::bad_index);
  EXPECT_EQ(status_of([&] { list->Item(3); }), status::bad_index);
}

TEST(SimWordWindows, CaptionsNumberTheViewsOfOneDocument) {
  SimWord word;
  SimDocument& doc = word.open_document(u"Doc1");
  SimWindow& first = *doc.windows().front();
  SimWindow& second = word.new_window(doc);
  EXPECT_EQ(first.caption(), u"Doc1:1");
  EXPECT_EQ(second.caption(), u"Doc1:2");

  word.close_window(first);
  EXPECT_EQ(second.caption(), u"Doc1");
  word.rename_document(doc, u"Report.docx");
  EXPECT_EQ(caption_of(Ref<host::Window>(&second)), u"Report.docx");
}

TEST(SimWordWindows, ClosedWindowFailsEveryCallAndHandsOnActivation) {
  SimWord word;
  SimWindow& a = *word.open_document(u"A").windows().front();
  SimWindow& b = *word.open_document(u"B").windows().front();
  SimWindow& c = *word.open_document(u"C").windows().front();
  word.activate(a);
  word.activate(c);
  Ref<host::Window> held(&c);

  word.close_window(c);
  EXPECT_EQ(status_of([&] { caption_of(held); }), status::disconnected);
  EXPECT_EQ(status_of([&] { held->Activate(); }), status::disconnected);
  EXPECT_EQ(status_of([&] { held->Close(); }), status::disconnected);
  EXPECT_EQ(word.windows(), (std::vector<SimWindow*>{&a, &b}));
  EXPECT_EQ(word.active_window(), &a);  // most recently active, not the next in the list
  EXPECT_EQ(word.documents().size(), 2u);
}

TEST(SimWordWindows, ClosePromptMayRunTicksAndMayRefuse) {
  SimWord word;
  SimWindow& w = *word.open_document(u"Doc1", u"", false).windows().front();
  int prompts = 0;
  bool answer = false;
  word.close_prompt([&](SimWindow& asked) {
    ++prompts;
    EXPECT_EQ(&asked, &w);
    EXPECT_EQ(caption_of(Ref<host::Window>(&w)), u"Doc1");  // still answers during the prompt
    return answer;
  });

  // Cancelled at the prompt: Word reports the command as failed.
  EXPECT_EQ(status_of([&] { Ref<host::Window>(&w)->Close(); }), status::fail);
  EXPECT_TRUE(w.is_open());
  answer = true;
  Ref<host::Window>(&w)->Close();
  EXPECT_FALSE(w.is_open());
  EXPECT_EQ(prompts, 2);
  EXPECT_EQ(word.calls("Window.Close"), 2);
  EXPECT_EQ(status_of([&] { word.application().ActiveWindow(); }), status::fail);
}

TEST(SimWordReferences, EveryReferenceHandedOutComesBack) {
  SimWord word;
  word.open_document(u"Doc1");
  struct Events : host::ApplicationEvents {
    void DocumentOpen() override {}
    void NewDocument() override {}
    void WindowActivate() override {}
    void WindowSize() override {}
    void DocumentChange() override {}
  } events;
  {
    Ref<host::Application> app = word.host_object()->QueryApplication();
    Ref<host::Window> w = app->Windows()->Item(1);
    Ref<host::Window> copy = w;
    Ref<host::Subscription> hooked = app->advise(events);
    Ref<host::CommandBar> bar = app->CommandBars()->Add(u"tabPopup", 5, true);
    Ref<host::CommandBarButton> button = bar->Controls()->Add(1, 1, std::nullopt, true);
    EXPECT_EQ(word.live_refs(), 6);
    EXPECT_EQ(static_cast<SimWindow*>(w.get())->refs(), 2);
    EXPECT_EQ(word.hooked_count(), 1);
  }
  EXPECT_EQ(word.live_refs(), 0);
  EXPECT_EQ(word.hooked_count(), 0);  // releasing the subscription unhooked it
  EXPECT_EQ(word.over_releases(), 0);

  word.application().release();  // one release too many
  EXPECT_EQ(word.over_releases(), 1);
}

TEST(SimWordCalls, CountsLogsAndInjectsFailuresByName) {
  SimWord word;
  word.open_document(u"Doc1");
  SimApplication& app = word.application();
  word.log_calls(true);
  word.fail("Application.ShowWindowsInTaskbar.let", 2, status::unexpected);

  EXPECT_EQ(status_of([&] { app.ShowWindowsInTaskbar(false); }), status::unexpected);
  EXPECT_EQ(status_of([&] { app.ShowWindowsInTaskbar(false); }), status::unexpected);
  EXPECT_TRUE(word.taskbar());  // a failing call has no effect
  app.ShowWindowsInTaskbar(false);
  EXPECT_FALSE(word.taskbar());
  EXPECT_TRUE(app.ShowWindowsInTaskbar() == false);

  EXPECT_EQ(word.calls("Application.ShowWindowsInTaskbar.let"), 3);
  EXPECT_EQ(word.total_calls(), 4);
  EXPECT_EQ(word.call_log(), (std::vector<std::string>{
                                 "Application.ShowWindowsInTaskbar.let",
                                 "Application.ShowWindowsInTaskbar.let",
                                 "Application.ShowWindowsInTaskbar.let",
                                 "Application.ShowWindowsInTaskbar.get"}));
  EXPECT_THROW(word.calls("Window.Caption.get"), std::out_of_range);
  word.reset_calls();
  EXPECT_EQ(word.total_calls(), 0);
}

TEST(SimWordCalls, ShareOfFailuresDependsOnlyOnTheSeed) {
  auto pattern = [](std::uint64_t seed) {
    SimWord word;
    word.fail_share(0.25, seed);
    std::string seen;
    for (int i = 0; i < 400; ++i) {
      seen += status_of([&] { word.application().Width(); }) == status::ok ? '.' : 'x';
    }
    return seen;
  };
  const std::string first = pattern(7);
  EXPECT_EQ(first, pattern(7));
  EXPECT_NE(first, pattern(8));
  const auto failures = std::count(first.begin(), first.end(), 'x');
  EXPECT_GT(failures, 60);
  EXPECT_LT(failures, 140);
}

TEST(SimWordCalls, OnCallRunsInsideTheCallBeforeItTakesEffect) {
  SimWord word;
  SimWindow& w = *word.open_document(u"Doc1").windows().front();
  int nested = 0;
  // A tick arriving while Word pumps messages: it closes the window whose
  // caption is being read, and itself calls the same member.
  word.on_call("Window.Caption", [&] {
    ++nested;
    std::u16string ignored;
    w.Caption(ignored);  // not re-entered
    word.close_window(w);
  });
  EXPECT_EQ(status_of([&] { caption_of(Ref<host::Window>(&w)); }), status::disconnected);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(word.calls("Window.Caption"), 2);
}

struct ClickLog : host::ButtonEvents {
  std::vector<std::u16string> clicked;
  void Click(const Ref<host::CommandBarButton>& Ctrl, bool&) override {
    std::u16string parameter;
    Ctrl->Parameter(parameter);
    clicked.push_back(parameter);
  }
};

// The texts are const: Parameter(non-const string) would be the getter.
Ref<host::CommandBarButton> add_button(const Ref<host::CommandBar>& bar, const std::u16string& tag,
                                       const std::u16string& parameter,
                                       std::optional<std::int32_t> before = std::nullopt) {
  Ref<host::CommandBarButton> b = bar->Controls()->Add(1, 1, before, true);
  b->Tag(tag);
  b->Parameter(parameter);
  return b;
}

TEST(SimOffice, ClickReachesEveryReceiverOfTheSameTag) {
  SimWord word;
  Ref<host::CommandBar> bar = word.application().CommandBars()->Add(u"tabPopup", 5, true);
  Ref<host::CommandBarButton> web = add_button(bar, u"marrowick", u"website");
  Ref<host::CommandBarButton> save = add_button(bar, u"marrowick", u"SaveAll", 1);
  Ref<host::CommandBarButton> other = add_button(bar, u"else", u"other");
  ClickLog log;
  Ref<host::Subscription> hooked = web->advise(log);

  SimCommandBar& shown = *word.bar(u"tabPopup");
  EXPECT_EQ(shown.buttons().front(), save.get());  // inserted before position 1
  word.on_popup([&](SimCommandBar& b) { word.click(*b.buttons().front()); });
  bar->ShowPopup();
  EXPECT_EQ(word.click(*static_cast<SimButton*>(other.get())), status::ok);
  EXPECT_EQ(log.clicked, std::vector<std::u16string>{u"SaveAll"});
  EXPECT_EQ(shown.popups(), 1);
  EXPECT_EQ(static_cast<SimButton*>(save.get())->sets(),
            (std::vector<std::string>{"Tag=marrowick", "Parameter=SaveAll"}));
}

TEST(SimOffice, BarsOutliveARestartButTemporaryButtonsDoNot) {
  SimWord word;
  SimCommandBar& leftover = word.add_bar(u"tabPopup");
  Ref<host::CommandBars> bars = word.application().CommandBars();
  EXPECT_EQ(bars->Item(u"tabPopup").get(), &leftover);
  EXPECT_EQ(status_of([&] { bars->Item(u"missing"); }), status::invalid_arg);
  Ref<host::CommandBar> menu = bars->Add(u"tabMenu", 1, false);
  menu->Controls()->Add(1, 1, std::nullopt, true);
  menu->Controls()->Add(1, 1, std::nullopt, false);
  EXPECT_EQ(status_of([&] { menu->ShowPopup(); }), status::fail);  // not a popup bar

  word.restart();
  EXPECT_EQ(word.bars().size(), 2u);
  EXPECT_EQ(word.bar(u"tabMenu")->buttons().size(), 1u);
  bars->Item(u"tabPopup")->Delete();
  EXPECT_EQ(status_of([&] { leftover.Controls(); }), status::disconnected);
}

TEST(SimWordEvents, ReceiverThatUnhooksItselfGetsNothingMore) {
  SimWord word;
  struct Starter : host::ApplicationEvents {
    Ref<host::Subscription> hook;
    int started = 0;
    void start() {
      hook.reset();
      ++started;
      throw host_error(status::fail, "startbar");
    }
    void DocumentOpen() override { start(); }
    void NewDocument() override { start(); }
    void WindowActivate() override { start(); }
    void WindowSize() override { start(); }
    void DocumentChange() override { start(); }
  } starter;
  starter.hook = word.application().advise(starter);

  EXPECT_EQ(word.raise_NewDocument(), status::fail);  // Word sees the handler's failure
  EXPECT_EQ(word.raise_WindowActivate(), status::ok);
  EXPECT_EQ(starter.started, 1);
  EXPECT_EQ(word.hooked_count(), 0);
}

TEST(SimWordSaving, DialogSettingsPersistAndExecuteSavesTheActiveDocument) {
  SimWord word;
  SimDocument& draft = word.open_document(u"Doc1", u"", false);
  SimDocument& other = word.open_document(u"Doc2", u"C:\\docs", false);
  word.dialog_answers({0});
  Ref<host::Application> app(&word.application());

  EXPECT_EQ(app->FileDialog(2)->Show(), 0);
  draft.ActiveWindow()->Activate();
  app->FileDialog(2)->InitialFileName(u"C:\\docs\\Draft.docx");
  EXPECT_EQ(app->FileDialog(2)->Show(), -1);  // answers used up: confirmed
  app->FileDialog(2)->Execute();  // a fresh object, the name set before still holds
  app->Documents()->Item(2)->Save();

  ASSERT_EQ(word.saves().size(), 2u);
  EXPECT_EQ(word.saves()[0].document, &draft);
  EXPECT_EQ(word.saves()[0].name, u"C:\\docs\\Draft.docx");
  EXPECT_TRUE(word.saves()[0].through_dialog);
  EXPECT_EQ(draft.windows().front()->caption(), u"Draft.docx");
  EXPECT_EQ(word.saves()[1].document, &other);
  EXPECT_TRUE(draft.saved() && other.saved());
  EXPECT_EQ(word.dialogs().size(), 4u);
  EXPECT_EQ(word.dialogs()[0]->initial_name(), u"");
}

}  // namespace
}  // namespace plovera::sim
