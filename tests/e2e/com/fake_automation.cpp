#include "fake_automation.h"

#include <olectl.h>

namespace fake {

std::map<std::wstring, int> g_lookups;

namespace {

template <class T>
HRESULT answer(T* self, void** out) {
  *out = self;
  self->AddRef();
  return S_OK;
}

}  // namespace

Dispatch::~Dispatch() {
  for (Call& c : calls)
    for (VARIANT& v : c.args) VariantClear(&v);
}

const Call* Dispatch::last(DISPID id) const {
  for (auto it = calls.rbegin(); it != calls.rend(); ++it)
    if (it->id == id) return &*it;
  return nullptr;
}

HRESULT Dispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) return answer(static_cast<IDispatch*>(this), out);
  for (const IID& extra : also_answers)
    if (iid == extra) return answer(static_cast<IDispatch*>(this), out);
  if (connections && iid == IID_IConnectionPointContainer) return answer(connections, out);
  return E_NOINTERFACE;
}

HRESULT Dispatch::GetTypeInfoCount(UINT* n) {
  *n = 0;
  return S_OK;
}

HRESULT Dispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT Dispatch::GetIDsOfNames(REFIID, LPOLESTR* requested, UINT count, LCID, DISPID* ids) {
  if (count != 1) return DISP_E_UNKNOWNNAME;
  ++g_lookups[requested[0]];
  const auto it = names.find(requested[0]);
  ids[0] = it == names.end() ? DISPID_UNKNOWN : it->second;
  return it == names.end() ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT Dispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* info, UINT*) {
  if (!record) {
    const auto handler = on.find(id);
    return handler == on.end() ? S_OK : handler->second(Call{}, result, info);
  }
  Call call;
  call.id = id;
  call.flags = flags;
  call.put = params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  for (UINT i = params->cArgs; i-- > 0;) {
    VARIANT copy;
    VariantInit(&copy);
    VariantCopy(&copy, &params->rgvarg[i]);
    call.args.push_back(copy);
  }
  calls.push_back(call);
  const auto handler = on.find(id);
  if (handler == on.end()) return S_OK;
  VARIANT ignored;  // property puts pass no result; handlers may answer anyway
  VariantInit(&ignored);
  const HRESULT hr = handler->second(calls.back(), result ? result : &ignored, info);
  VariantClear(&ignored);
  return hr;
}

Dispatch::Handler returns_text(const wchar_t* text) {
  return [text](const Call&, VARIANT* result, EXCEPINFO*) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(text);
    return S_OK;
  };
}

Dispatch::Handler returns_int(LONG value) {
  return [value](const Call&, VARIANT* result, EXCEPINFO*) {
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
  };
}

Dispatch::Handler returns_bool(bool value) {
  return [value](const Call&, VARIANT* result, EXCEPINFO*) {
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  };
}

Dispatch::Handler returns_object(IDispatch* object) {
  return [object](const Call&, VARIANT* result, EXCEPINFO*) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    if (object) object->AddRef();
    return S_OK;
  };
}

Dispatch::Handler fails_with(HRESULT hr) {
  return [hr](const Call&, VARIANT*, EXCEPINFO*) { return hr; };
}

Dispatch::Handler raises(HRESULT scode) {
  return [scode](const Call&, VARIANT*, EXCEPINFO* info) {
    if (info) {
      info->scode = scode;
      info->bstrSource = SysAllocString(L"Fake Word");
      info->bstrDescription = SysAllocString(L"This command is not available.");
    }
    return DISP_E_EXCEPTION;
  };
}

Point::~Point() {
  if (sink) sink->Release();
}

HRESULT Point::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) return answer(this, out);
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT Point::GetConnectionInterface(IID* iid) {
  *iid = iid_;
  return S_OK;
}

HRESULT Point::GetConnectionPointContainer(IConnectionPointContainer**) { return E_NOTIMPL; }

HRESULT Point::Advise(IUnknown* candidate, DWORD* out) {
  if (sink) return CONNECT_E_ADVISELIMIT;
  IDispatch* events = nullptr;
  if (FAILED(candidate->QueryInterface(iid_, reinterpret_cast<void**>(&events))))
    return CONNECT_E_CANNOTCONNECT;
  sink = events;
  ++advises;
  *out = cookie = 0x51 + advises;
  return S_OK;
}

HRESULT Point::Unadvise(DWORD c) {
  if (!sink || c != cookie) return CONNECT_E_NOCONNECTION;
  sink->Release();
  sink = nullptr;
  ++unadvises;
  return S_OK;
}

HRESULT Point::EnumConnections(IEnumConnections**) { return E_NOTIMPL; }

Connections::~Connections() {
  for (Point* p : points) delete p;
}

Point* Connections::add(const IID& iid) {
  points.push_back(new Point(iid));
  return points.back();
}

HRESULT Connections::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IConnectionPointContainer) return answer(this, out);
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT Connections::EnumConnectionPoints(IEnumConnectionPoints**) { return E_NOTIMPL; }

HRESULT Connections::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  *out = nullptr;
  for (Point* p : points) {
    IID id;
    p->GetConnectionInterface(&id);
    if (id == iid) return answer(static_cast<IConnectionPoint*>(p), reinterpret_cast<void**>(out));
  }
  return CONNECT_E_NOCONNECTION;
}

}  // namespace fake
