// Connection points: how Word raises its application events and Office the
// clicks of command-bar buttons. A sink is an IDispatch of the add-in; events
// go to it as Invoke(DISPID, DISPATCH_METHOD) with the arguments reversed.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "com_object.h"

namespace standin {

class ConnectionPoint : public IConnectionPoint, public Counted {
 public:
  ConnectionPoint(IConnectionPointContainer* owner, const IID& iid, std::wstring owner_name);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return add_ref(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  const IID& iid() const { return iid_; }
  size_t sink_count() const { return sinks_.size(); }
  // Sends one event to every sink advised now. `args` in declared order.
  // Returns the number of sinks reached.
  int raise(DISPID id, const std::vector<VARIANT>& args, const wchar_t* name);
  // The owner goes away: sinks still advised are let go.
  void close();
  std::wstring describe() const override;

 private:
  struct Sink {
    DWORD cookie;
    IDispatch* dispatch;
  };
  IConnectionPointContainer* owner_;
  IID iid_;
  std::wstring owner_name_;
  std::vector<Sink> sinks_;
  DWORD next_cookie_ = 1;
};

// Total of sinks advised and unadvised over the run, for the log.
struct SinkStats {
  long advised = 0;
  long unadvised = 0;
};
SinkStats sink_stats();

}  // namespace standin
