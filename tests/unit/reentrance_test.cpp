// Word lets go of the add-in inside the add-in's own call: a handler's call
// into Word runs a message loop (the popup menu, the save prompt of Close,
// the save-as dialog) in which Word disconnects and releases the add-in. The
// add-in's state must outlive every callback on the stack; it goes once the
// outermost has returned. Run under AddressSanitizer, a state freed too
// early shows as a use after free.
#include <memory>

#include "fixture.h"
#include "host/callback_scope.h"

namespace plovera::testing {
namespace {

using host::Part;

// The DLL's module in miniature (src/win32/module.cpp): Connect objects share
// one add-in state through host::SharedState, and each of their methods is a
// callback into the add-in.
struct AddinState {
  AddinState(HostServices services, int& live) : addin(services), live(live) { ++live; }
  ~AddinState() { --live; }
  Addin addin;
  int& live;
};

class ConnectObject {
 public:
  ConnectObject(host::SharedState<AddinState>& module, HostServices services, int& live)
      : module_(module), logic_(module.acquire(services, live).addin) {}
  ~ConnectObject() { module_.release(); }
  ConnectObject(const ConnectObject&) = delete;
  ConnectObject& operator=(const ConnectObject&) = delete;

  status_t on_connection(const host::Ref<host::HostObject>& application) {
    const host::CallbackScope scope;
    const status_t s = boundary_guard([&] { logic_.on_connection(application, 1, nullptr); });
    if (failed(s)) logic_.on_disconnection(1);
    return s;
  }
  void on_disconnection(std::int32_t mode) {
    const host::CallbackScope scope;
    logic_.on_disconnection(mode);
  }

 private:
  host::SharedState<AddinState>& module_;
  Connect logic_;
};

struct ReleasingWord : WordFixture {
  // Word loads the add-in, which starts its bar on the first event.
  void load(int documents) {
    open(documents);
    object = std::make_unique<ConnectObject>(module, HostServices{ws, forms}, live_states);
    ASSERT_EQ(object->on_connection(word.host_object()), status::ok);
    ASSERT_EQ(word.raise_NewDocument(), status::ok);
    tick(2);
    ASSERT_NE(forms.form(), nullptr);
  }
  // The user removes the add-in in the COM Add-ins dialog (or Word quits):
  // OnDisconnection, then Word's Release. Records whether the state was
  // still there when Word's call returned.
  void remove() {
    object->on_disconnection(1);
    object.reset();
    state_kept_while_on_stack = live_states == 1;
  }
  void expect_all_let_go() {
    EXPECT_TRUE(state_kept_while_on_stack) << "the state went while a callback was on the stack";
    EXPECT_EQ(live_states, 0) << "the state outlived the outermost callback";
    EXPECT_TRUE(host::CallbackScope::idle());
    EXPECT_EQ(forms.form(), nullptr);
    EXPECT_EQ(word.hooked_count(), 0);
    EXPECT_EQ(word.live_refs(), 0);
    EXPECT_EQ(word.over_releases(), 0);
  }

  host::SharedState<AddinState> module;
  int live_states = 0;
  std::unique_ptr<ConnectObject> object;
  bool state_kept_while_on_stack = false;
};

class WordReleasesTheAddin : public ::testing::Test, public ReleasingWord {};

TEST_F(WordReleasesTheAddin, WhileItsPopupMenuIsOpen) {
  load(2);
  word.on_popup([&](sim::SimCommandBar&) { remove(); });
  EXPECT_EQ(forms.mouse_down({Part::bar, 0}, host::kRightButton), status::ok);
  expect_all_let_go();
}

TEST_F(WordReleasesTheAddin, AtTheSavePromptOfATabsClose) {
  for (bool closes : {true, false}) {
    SCOPED_TRACE(closes ? "the window closes" : "the user cancels");
    ReleasingWord f;
    f.load(2);
    f.word.close_prompt([&](sim::SimWindow&) {
      f.remove();
      return closes;
    });
    EXPECT_EQ(f.forms.click({Part::close_button, 1}), status::ok);
    f.expect_all_let_go();
    EXPECT_EQ(f.word.windows().size(), closes ? 1u : 2u);
  }
}

TEST_F(WordReleasesTheAddin, InTheSaveAsDialogOfSaveAll) {
  load(1);
  word.open_document(u"Draft", u"", false);  // never saved: Save All shows the dialog
  tick(2);
  word.on_call("FileDialog.Show", [&] { remove(); });
  word.on_popup([&](sim::SimCommandBar&) { word.click(menu_button(MenuItem::save_all)); });
  EXPECT_EQ(forms.mouse_down({Part::bar, 0}, host::kRightButton), status::ok);
  expect_all_let_go();
}

TEST_F(WordReleasesTheAddin, AndAddsItBackWhileTheMenuIsOpen) {
  load(2);
  word.on_popup([&](sim::SimCommandBar&) {
    remove();
    object = std::make_unique<ConnectObject>(module, HostServices{ws, forms}, live_states);
    EXPECT_EQ(object->on_connection(word.host_object()), status::ok);
    EXPECT_EQ(live_states, 2);  // the new connection has a state of its own
  });
  EXPECT_EQ(forms.mouse_down({Part::bar, 0}, host::kRightButton), status::ok);
  word.on_popup(nullptr);
  EXPECT_TRUE(state_kept_while_on_stack);
  EXPECT_EQ(live_states, 1);  // the old one went when the press returned
  ASSERT_EQ(word.raise_WindowActivate(), status::ok);
  tick(2);
  ASSERT_NE(forms.form(), nullptr);
  EXPECT_EQ(el(Part::caption, 2).caption, u"Doc2");
  object.reset();
  EXPECT_EQ(live_states, 0);
  EXPECT_EQ(word.live_refs(), 0);
}

// The release comes in the caption read after a pass removed a tab, while
// the strip's new layout is still held in memory.
TEST_F(WordReleasesTheAddin, BetweenTheRemovalsOfAPass) {
  load(4);
  word.close_window(window(u"Doc1"));
  word.close_window(window(u"Doc3"));
  int reads = 0;
  word.on_call("Window.Caption", [&] {
    if (++reads == 2) remove();
  });
  tick();
  EXPECT_GE(reads, 2);
  expect_all_let_go();
}

TEST_F(WordReleasesTheAddin, OutsideAnyCallItGoesAtOnce) {
  load(1);
  remove();
  EXPECT_FALSE(state_kept_while_on_stack);
  EXPECT_EQ(live_states, 0);
  EXPECT_EQ(word.live_refs(), 0);
}

TEST_F(WordReleasesTheAddin, AfterAFailedConnectionNothingIsHeld) {
  word.fail("Application.advise", 1);
  object = std::make_unique<ConnectObject>(module, HostServices{ws, forms}, live_states);
  EXPECT_NE(object->on_connection(word.host_object()), status::ok);
  EXPECT_EQ(word.live_refs(), 0);
  object.reset();
  EXPECT_EQ(live_states, 0);
}

// The forms engine holds a form that a handler unloads until the delivery
// returns; the handler's own code after the unload still runs.
TEST(SimFormsUnload, FromInsideItsOwnEvent) {
  struct Unloader final : host::FormEvents {
    std::unique_ptr<host::Form> form;
    int after = 0;
    void MouseDown(host::Element, std::int16_t) override {
      form.reset();
      ++after;
    }
    void MouseMove(host::Element, std::int16_t) override {}
    void MouseUp(host::Element, std::int16_t) override {}
    void Click(host::Element) override {}
    void DblClick(host::Element) override {}
    void DragDrop(host::Element, std::int16_t, float, float) override {}
    void TimerTick(host::Timer) override { form.reset(); }
  };
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Unloader events;
  events.form = forms.CreateForm(events);
  EXPECT_EQ(forms.mouse_down({Part::bar, 0}, host::kLeftButton), status::ok);
  EXPECT_EQ(events.after, 1);
  EXPECT_EQ(forms.form(), nullptr);

  events.form = forms.CreateForm(events);
  events.form->TimerEnabled(host::Timer::poll, true);
  forms.advance(100);  // the first tick unloads: no further tick
  EXPECT_EQ(forms.form(), nullptr);
}

}  // namespace
}  // namespace plovera::testing
