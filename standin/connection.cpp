#include "connection.h"

#include "log.h"

namespace standin {
namespace {

SinkStats g_stats;

}  // namespace

SinkStats sink_stats() { return g_stats; }

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* owner, const IID& iid,
                                 std::wstring owner_name)
    : owner_(owner), iid_(iid), owner_name_(std::move(owner_name)) {}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  add_ref();
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = owner_;
  if (!owner_) return E_UNEXPECTED;
  owner_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  if (!owner_) return E_UNEXPECTED;
  // As ATL's Advise does: the sink must answer for the event interface,
  // or at least for IDispatch.
  IDispatch* dispatch = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&dispatch))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    log_line(L"Advise on " + describe() + L" refused: the sink offers no IDispatch");
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = next_cookie_++;
  sinks_.push_back({*cookie, dispatch});
  ++g_stats.advised;
  log_line(L"Advise on " + describe() + L", cookie " + std::to_wstring(*cookie));
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie != cookie) continue;
    IDispatch* sink = it->dispatch;
    sinks_.erase(it);
    ++g_stats.unadvised;
    log_line(L"Unadvise on " + describe() + L", cookie " + std::to_wstring(cookie));
    sink->Release();  // last: may run the add-in's destructor, which may call back
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

int ConnectionPoint::raise(DISPID id, const std::vector<VARIANT>& args, const wchar_t* name) {
  // A sink may unadvise (itself or others) while it handles the event: work
  // on a snapshot that keeps each sink alive for its call.
  std::vector<Sink> snapshot = sinks_;
  for (Sink& s : snapshot) s.dispatch->AddRef();
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  int reached = 0;
  for (Sink& s : snapshot) {
    const HRESULT hr =
        s.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                           nullptr, nullptr, nullptr);
    log_line(std::wstring(L"event ") + name + L" to cookie " + std::to_wstring(s.cookie) +
             L" returned " + hex(hr));
    ++reached;
  }
  for (Sink& s : snapshot) s.dispatch->Release();
  return reached;
}

void ConnectionPoint::close() {
  owner_ = nullptr;
  std::vector<Sink> left;
  left.swap(sinks_);
  for (Sink& s : left) {
    log_line(L"closing " + describe() + L": releasing sink cookie " + std::to_wstring(s.cookie));
    s.dispatch->Release();
  }
}

std::wstring ConnectionPoint::describe() const {
  wchar_t guid[40];
  StringFromGUID2(iid_, guid, 40);
  return L"ConnectionPoint " + owner_name_ + L" " + guid;
}

}  // namespace standin
