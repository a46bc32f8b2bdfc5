// Word's application events and the button Click arriving through
// connection points: which interface is advised, what reaches the receiver,
// what a failing receiver returns, and that unhooking (even from inside an
// event) cuts the sink off and gives every reference back.
#include "win32/window_system.h"

#include <olectl.h>

#include <string>

#include "check.h"
#include "fake_automation.h"
#include "win32/com_object.h"
#include "win32/guids.h"
#include "win32/office_adapters.h"
#include "win32/word_adapters.h"

using check::expect;
using check::expect_status;
using plovera::host::Ref;
namespace host = plovera::host;
namespace win32 = plovera::win32;

namespace {

class Recorder final : public host::ApplicationEvents {
 public:
  std::string log;
  bool fail_open = false;
  Ref<host::Subscription> unhook_on_event;  // released by the first event, as the add-in does

  void DocumentOpen() override { note("DocumentOpen"); }
  void NewDocument() override { note("NewDocument"); }
  void WindowActivate() override { note("WindowActivate"); }
  void WindowSize() override { note("WindowSize"); }
  void DocumentChange() override { note("DocumentChange"); }

 private:
  void note(const char* event) {
    unhook_on_event.reset();
    log += log.empty() ? event : std::string(" ") + event;
    if (fail_open && log.ends_with("DocumentOpen"))
      plovera::throw_host_error(static_cast<plovera::status_t>(0x80040201), "startbar");
  }
};

std::string counts(long first, long objects_left) {
  return std::to_string(first) + ", " + std::to_string(objects_left) + " sink objects left";
}

HRESULT fire(IDispatch* sink, DISPID id, std::initializer_list<IDispatch*> reversed = {}) {
  VARIANT args[2];
  UINT n = 0;
  for (IDispatch* a : reversed) {
    args[n].vt = VT_DISPATCH;
    args[n++].pdispVal = a;
  }
  DISPPARAMS params{n ? args : nullptr, nullptr, n, 0};
  return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void make_application(fake::Dispatch& app, fake::Connections& points) {
  app.also_answers = {win32::IID_WordApplication};
  app.connections = &points;
}

void application_events() {
  const long objects_before = win32::module_counts::objects();
  fake::Dispatch app, doc, window;
  fake::Connections points;
  make_application(app, points);
  fake::Point* events2 = points.add(win32::DIID_ApplicationEvents2);
  Recorder receiver;
  {
    auto word = win32::wrap_host_object(&app)->QueryApplication();
    auto subscription = word->advise(receiver);
    expect(events2->advises == 1 && events2->sink,
           "without ApplicationEvents4 or 3 the sink is advised on ApplicationEvents2, "
           "answering its DIID");
    IDispatch* sink = events2->sink;
    HRESULT all = S_OK;
    for (DISPID id : {3, 4, 9, 25, 6, 12, 1}) all |= fire(sink, id);
    all |= fire(sink, 10, {&window, &doc});
    expect(all == S_OK && receiver.log ==
                              "DocumentChange DocumentOpen NewDocument WindowSize WindowActivate",
           "DISPIDs 3, 4, 9, 25 and 10 reach their handlers; other events are acknowledged",
           receiver.log);

    receiver.fail_open = true;
    expect_status(fire(sink, 4), 0x80040201, "a failing handler's status is the event's result");

    sink->AddRef();  // a source that keeps a stale reference after Unadvise
    receiver.log.clear();
    receiver.unhook_on_event = std::move(subscription);
    fire(sink, 9);
    expect(events2->unadvises == 1 && !events2->sink && receiver.log == "NewDocument",
           "a handler that unhooks the receiver unadvises the sink and completes");
    expect(fire(sink, 3) == S_OK && receiver.log == "NewDocument",
           "a detached sink delivers nothing more");
    sink->Release();
  }
  expect(app.refs() == 1 && doc.refs() == 1 && window.refs() == 1 &&
             win32::module_counts::objects() == objects_before,
         "after unhooking no reference is left on either side",
         counts(app.refs(), win32::module_counts::objects() - objects_before));
}

void newest_event_interface_first() {
  const long objects_before = win32::module_counts::objects();
  fake::Dispatch app, bare;
  fake::Connections points, none;
  make_application(app, points);
  fake::Point* events2 = points.add(win32::DIID_ApplicationEvents2);
  fake::Point* events4 = points.add(win32::DIID_ApplicationEvents4);
  make_application(bare, none);
  Recorder receiver;
  {
    auto subscription = win32::wrap_application(&app)->advise(receiver);
    expect(events4->advises == 1 && events2->advises == 0,
           "ApplicationEvents4 is preferred when Word offers it");
    auto lonely = win32::wrap_application(&bare);
    auto t = check::thrown_by([&] { lonely->advise(receiver); });
    check::expect_thrown(t, CONNECT_E_NOCONNECTION, "Application.advise",
                         "a Word without the event interfaces fails the advise");
  }
  expect(events4->unadvises == 1 && win32::module_counts::objects() == objects_before,
         "releasing the subscription unadvises; no sink outlives it",
         counts(events4->unadvises, win32::module_counts::objects() - objects_before));
}

class ButtonRecorder final : public host::ButtonEvents {
 public:
  std::u16string parameter;
  Ref<host::CommandBarButton> ctrl;
  bool cancel_seen = true;
  bool fail = false;

  void Click(const Ref<host::CommandBarButton>& Ctrl, bool& CancelDefault) override {
    if (fail) plovera::throw_host_error(static_cast<plovera::status_t>(0x800A03EC), "saveall");
    ctrl = Ctrl;
    Ctrl->Parameter(parameter);
    cancel_seen = CancelDefault;
    CancelDefault = true;
  }
};

HRESULT click(IDispatch* sink, IDispatch* ctrl, VARIANT_BOOL* cancel, UINT count = 2) {
  VARIANT args[2];
  args[0].vt = VT_BOOL | VT_BYREF;
  args[0].pboolVal = cancel;
  args[1].vt = VT_DISPATCH;
  args[1].pdispVal = ctrl;
  DISPPARAMS params{args, nullptr, count, 0};
  return sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void button_clicks() {
  const long objects_before = win32::module_counts::objects();
  fake::Dispatch button;
  fake::Connections points;
  button.connections = &points;
  button.names = {{L"Parameter", 0x6004001D}};
  button.on[0x6004001D] = fake::returns_text(L"SaveAll");
  fake::Point* clicks = points.add(win32::DIID_CommandBarButtonEvents);
  ButtonRecorder receiver;
  {
    auto adapter = win32::wrap_button(&button);
    auto subscription = adapter->advise(receiver);
    expect(clicks->sink != nullptr, "the Click sink is advised on _CommandBarButtonEvents");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    expect_status(click(clicks->sink, &button, &cancel), S_OK, "Click returns S_OK");
    expect(receiver.parameter == u"SaveAll" && receiver.ctrl == adapter,
           "the clicked control arrives as the button's own adapter");
    expect(!receiver.cancel_seen && cancel == VARIANT_TRUE,
           "CancelDefault is read and written back by reference");

    receiver.fail = true;
    cancel = VARIANT_FALSE;
    expect_status(click(clicks->sink, &button, &cancel), 0x800A03EC,
                  "a failing Click handler's status is the event's result");
    expect(cancel == VARIANT_FALSE, "a failed Click writes nothing back");
    expect_status(click(clicks->sink, &button, &cancel, 1), DISP_E_BADPARAMCOUNT,
                  "a Click without its two arguments is refused");
    receiver.ctrl.reset();
  }
  expect(clicks->unadvises == 1 && button.refs() == 1 &&
             win32::module_counts::objects() == objects_before,
         "the Click subscription gives back the sink and the button",
         counts(button.refs(), win32::module_counts::objects() - objects_before));
}

// A count of arguments without their array: refused, nothing read.
HRESULT without_array(IDispatch* sink, DISPID id, UINT args, UINT named) {
  DISPPARAMS params{nullptr, nullptr, args, named};
  return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void arguments_without_their_array() {
  fake::Dispatch app, button;
  fake::Connections app_points, button_points;
  make_application(app, app_points);
  button.connections = &button_points;
  fake::Point* events = app_points.add(win32::DIID_ApplicationEvents4);
  fake::Point* clicks = button_points.add(win32::DIID_CommandBarButtonEvents);
  Recorder receiver;
  ButtonRecorder button_receiver;
  auto hook = win32::wrap_application(&app)->advise(receiver);
  auto click_hook = win32::wrap_button(&button)->advise(button_receiver);
  expect_status(without_array(events->sink, 10, 2, 0), E_INVALIDARG,
                "an application event with two arguments and no array: E_INVALIDARG");
  expect_status(without_array(events->sink, 3, 0, 1), E_INVALIDARG,
                "an application event with a named argument and no array: E_INVALIDARG");
  expect_status(without_array(clicks->sink, 1, 2, 0), E_INVALIDARG,
                "a Click with two arguments and no array: E_INVALIDARG");
  expect(receiver.log.empty() && !button_receiver.ctrl, "no receiver heard of them");
}

}  // namespace

void event_sink_tests() {
  arguments_without_their_array();
  application_events();
  newest_event_interface_first();
  button_clicks();
}
