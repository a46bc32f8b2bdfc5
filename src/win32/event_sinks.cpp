#include "win32/event_sinks.h"

#include <ocidl.h>
#include <olectl.h>

#include <span>

#include "host/callback_scope.h"
#include "host/error.h"
#include "win32/com_object.h"
#include "win32/guids.h"
#include "win32/office_adapters.h"

namespace plovera::win32 {

namespace {

// An event sink: a dispinterface implementation without names (sources call
// by DISPID) whose receiver can be cut off.
class EventSink : public DispatchObject<IDispatch> {
 public:
  virtual void detach() noexcept = 0;

 protected:
  // Arguments that Invoke cannot read: a count without its array.
  static bool unreadable(const DISPPARAMS* params) noexcept {
    return params && ((params->cArgs > 0 && !params->rgvarg) ||
                      (params->cNamedArgs > 0 && !params->rgdispidNamedArgs));
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                          DISPID* ids) noexcept override {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
};

namespace app_dispid = office::event;

void deliver_application_event(host::ApplicationEvents& receiver, DISPID id) {
  switch (id) {
    case app_dispid::DocumentChange: return receiver.DocumentChange();
    case app_dispid::DocumentOpen: return receiver.DocumentOpen();
    case app_dispid::NewDocument: return receiver.NewDocument();
    case app_dispid::WindowActivate: return receiver.WindowActivate();
    case app_dispid::WindowSize: return receiver.WindowSize();
    case app_dispid::WindowDeactivate: return receiver.WindowDeactivate();
    case app_dispid::DocumentBeforeClose: return receiver.DocumentBeforeClose();
    case app_dispid::DocumentBeforeSave: return receiver.DocumentBeforeSave();
    case app_dispid::WindowSelectionChange: return receiver.WindowSelectionChange();
    default: return;  // every other application event is acknowledged and ignored
  }
}

// Newest first: ApplicationEvents4 (Word 2003 on), 3 (Word 2002, the first
// with WindowSize), 2 (Word 2000).
constexpr GUID kApplicationEventIds[] = {DIID_ApplicationEvents4, DIID_ApplicationEvents3,
                                         DIID_ApplicationEvents2};

class ApplicationSink final : public EventSink {
 public:
  explicit ApplicationSink(host::ApplicationEvents& receiver) noexcept : receiver_(&receiver) {}
  void detach() noexcept override { receiver_ = nullptr; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) noexcept override {
    if (unreadable(params)) return E_INVALIDARG;
    // The add-in's state outlives the event, whatever Word releases in it.
    const host::CallbackScope scope;
    ComPtr<ApplicationSink> keep_alive(this);  // the receiver unhooks itself first thing
    host::ApplicationEvents* receiver = receiver_;
    if (!receiver) return S_OK;
    return boundary_guard([&] { deliver_application_event(*receiver, id); });
  }

 private:
  // Connection points may check that the sink implements the DIID.
  bool answers(REFIID iid) const noexcept override {
    if (iid == IID_IDispatch) return true;
    for (const GUID& known : kApplicationEventIds)
      if (iid == known) return true;
    return false;
  }

  host::ApplicationEvents* receiver_;
};

// The object in an argument, looking through by-reference variants.
IDispatch* dispatch_argument(const VARIANT& v) noexcept {
  switch (v.vt) {
    case VT_DISPATCH: return v.pdispVal;
    case VT_DISPATCH | VT_BYREF: return v.ppdispVal ? *v.ppdispVal : nullptr;
    case VT_VARIANT | VT_BYREF: return v.pvarVal ? dispatch_argument(*v.pvarVal) : nullptr;
    default: return nullptr;
  }
}

// Where a by-reference Boolean argument is stored; null when it is not one.
VARIANT_BOOL* bool_argument(VARIANT& v) noexcept {
  if (v.vt == (VT_BOOL | VT_BYREF)) return v.pboolVal;
  if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return bool_argument(*v.pvarVal);
  if (v.vt == VT_BOOL) return &v.boolVal;
  return nullptr;
}

constexpr DISPID kClickDispid = office::event::Click;

class ButtonSink final : public EventSink {
 public:
  explicit ButtonSink(host::ButtonEvents& receiver) noexcept : receiver_(&receiver) {}
  void detach() noexcept override { receiver_ = nullptr; }

  // Click(Ctrl, CancelDefault) arrives reversed: rgvarg[1] = Ctrl,
  // rgvarg[0] = CancelDefault (VT_BOOL | VT_BYREF), written back.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) noexcept override {
    if (unreadable(params)) return E_INVALIDARG;
    if (id != kClickDispid) return S_OK;
    if (!params || params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    // The add-in's state outlives the event, whatever Word releases in it.
    const host::CallbackScope scope;
    ComPtr<ButtonSink> keep_alive(this);
    host::ButtonEvents* receiver = receiver_;
    if (!receiver) return S_OK;
    return boundary_guard([&] { click(*receiver, *params); });
  }

 private:
  bool answers(REFIID iid) const noexcept override {
    return iid == IID_IDispatch || iid == DIID_CommandBarButtonEvents;
  }

  static void click(host::ButtonEvents& receiver, DISPPARAMS& params) {
    IDispatch* ctrl = dispatch_argument(params.rgvarg[1]);
    if (!ctrl) throw_host_error(status::pointer, "CommandBarButton.Click");
    host::Ref<host::CommandBarButton> button = wrap_button(ctrl);
    VARIANT_BOOL* cancel = bool_argument(params.rgvarg[0]);
    bool cancel_default = cancel && *cancel != VARIANT_FALSE;
    receiver.Click(button, cancel_default);
    if (cancel) *cancel = cancel_default ? VARIANT_TRUE : VARIANT_FALSE;
  }

  host::ButtonEvents* receiver_;
};

// One advised sink. Created before Advise so that no failure can leave a
// sink advised without an owner.
class SinkSubscription final : public host::Subscription {
 public:
  explicit SinkSubscription(ComPtr<EventSink> sink) noexcept : sink_(std::move(sink)) {}
  void add_ref() noexcept override { ++refs_; }
  void release() noexcept override {
    if (--refs_ == 0) delete this;
  }

  HRESULT advise(const ComPtr<IConnectionPoint>& point) noexcept {
    DWORD cookie = 0;
    const HRESULT hr = point->Advise(sink_.Get(), &cookie);
    if (SUCCEEDED(hr)) point_ = point, cookie_ = cookie;
    return hr;
  }

 private:
  ~SinkSubscription() {
    sink_->detach();
    if (point_) point_->Unadvise(cookie_);  // a source that is gone cannot call us anyway
  }

  ComPtr<EventSink> sink_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  std::uint32_t refs_ = 1;
};

host::Ref<host::Subscription> advise_first(IDispatch* source, std::span<const GUID> ids,
                                           ComPtr<EventSink> sink, const char* label) {
  ComPtr<IConnectionPointContainer> container;
  check(query(source, IID_IConnectionPointContainer, container), label);
  auto subscription = host::Ref<SinkSubscription>::adopt(new SinkSubscription(std::move(sink)));
  HRESULT hr = CONNECT_E_NOCONNECTION;
  for (const GUID& id : ids) {
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(id, point.GetAddressOf());
    if (SUCCEEDED(hr)) hr = subscription->advise(point);
    if (SUCCEEDED(hr)) return subscription;
  }
  throw_host_error(hr, label);
}

}  // namespace

host::Ref<host::Subscription> advise_application_events(IDispatch* application,
                                                        host::ApplicationEvents& receiver) {
  return advise_first(application, kApplicationEventIds, make_com<ApplicationSink>(receiver),
                      "Application.advise");
}

host::Ref<host::Subscription> advise_button_events(IDispatch* button,
                                                   host::ButtonEvents& receiver) {
  return advise_first(button, {&DIID_CommandBarButtonEvents, 1}, make_com<ButtonSink>(receiver),
                      "CommandBarButton.advise");
}

}  // namespace plovera::win32
