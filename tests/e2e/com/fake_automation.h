// Automation objects for the Windows test programs: a scriptable IDispatch
// that records every call, and a connection-point container. They count
// their references so that tests can check that the code under test let go
// of everything it took. They belong to the test (usually on its stack):
// Release only counts, it never deletes, so refs() == 1 after a case means
// that every reference taken was given back.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

// One recorded Invoke: arguments in declared order (un-reversed), copied.
struct Call {
  DISPID id = 0;
  WORD flags = 0;
  bool put = false;  // carried DISPID_PROPERTYPUT as its named argument
  std::vector<VARIANT> args;
};

// GetIDsOfNames calls per name, over all fakes of the program.
extern std::map<std::wstring, int> g_lookups;

class Connections;

class Dispatch : public IDispatch {
 public:
  using Handler = std::function<HRESULT(const Call&, VARIANT* result, EXCEPINFO* info)>;

  Dispatch() = default;
  Dispatch(const Dispatch&) = delete;
  virtual ~Dispatch();  // clears the recorded arguments

  // Members by name; `on` scripts what an Invoke of a DISPID does (the
  // default answers S_OK with an empty result).
  std::map<std::wstring, DISPID> names;
  std::map<DISPID, Handler> on;
  std::vector<Call> calls;
  bool record = true;  // off: Invoke keeps no log (and allocates nothing)
  // Extra interfaces answered by QueryInterface.
  std::vector<IID> also_answers;
  Connections* connections = nullptr;  // answers IConnectionPointContainer when set

  LONG refs() const { return refs_; }
  const Call* last(DISPID id) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT*) override;

 private:
  LONG refs_ = 1;  // the creating test's own reference
};

// Result helpers for handlers.
Dispatch::Handler returns_text(const wchar_t* text);
Dispatch::Handler returns_int(LONG value);
Dispatch::Handler returns_bool(bool value);
Dispatch::Handler returns_object(IDispatch* object);  // may be null
Dispatch::Handler fails_with(HRESULT hr);
// DISP_E_EXCEPTION whose EXCEPINFO carries `scode` and a description.
Dispatch::Handler raises(HRESULT scode);

// A connection point for one event interface, holding at most one sink.
class Point : public IConnectionPoint {
 public:
  explicit Point(const IID& iid) : iid_(iid) {}
  virtual ~Point();
  IDispatch* sink = nullptr;
  DWORD cookie = 0;
  int advises = 0, unadvises = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  LONG refs() const { return refs_; }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override;
  // Asks the sink for the event interface itself, as strict sources do.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override;

 private:
  IID iid_;
  LONG refs_ = 1;
};

class Connections : public IConnectionPointContainer {
 public:
  Connections() = default;
  virtual ~Connections();
  std::vector<Point*> points;  // owned
  Point* add(const IID& iid);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

 private:
  LONG refs_ = 1;
};

}  // namespace fake
