#include "automation.h"

#include <ocidl.h>

#include "com_object.h"

namespace standin_test {

VARIANT v_long(long v) {
  VARIANT x;
  x.vt = VT_I4;
  x.lVal = v;
  return x;
}

VARIANT v_text(const wchar_t* v) {
  VARIANT x;
  x.vt = VT_BSTR;
  x.bstrVal = SysAllocString(v);
  return x;
}

VARIANT v_bool(bool v) {
  VARIANT x;
  x.vt = VT_BOOL;
  x.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
  return x;
}

VARIANT v_missing() {
  VARIANT x;
  x.vt = VT_ERROR;
  x.scode = DISP_E_PARAMNOTFOUND;
  return x;
}

HRESULT invoke(IDispatch* d, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
               VARIANT* out) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (SUCCEEDED(hr)) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put_id = DISPID_PROPERTYPUT;
    const bool is_put = (flags & DISPATCH_PROPERTYPUT) != 0;
    DISPPARAMS params{reversed.data(), is_put ? &put_id : nullptr,
                      static_cast<UINT>(reversed.size()), is_put ? 1u : 0u};
    EXCEPINFO excep{};
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, out, &excep, nullptr);
    if (hr == DISP_E_EXCEPTION) hr = excep.scode;
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
  }
  for (VARIANT& v : args) VariantClear(&v);
  return hr;
}

HRESULT put(IDispatch* d, const wchar_t* name, VARIANT value) {
  return invoke(d, name, DISPATCH_PROPERTYPUT, {value});
}

IDispatch* get_object(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args) {
  VARIANT out;
  VariantInit(&out);
  const WORD flags = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  if (FAILED(invoke(d, name, flags, std::move(args), &out)) || out.vt != VT_DISPATCH) {
    VariantClear(&out);
    return nullptr;
  }
  return out.pdispVal;  // the reference moves to the caller
}

std::wstring get_text(IDispatch* d, const wchar_t* name) {
  VARIANT out;
  VariantInit(&out);
  std::wstring text = L"<failed>";
  if (SUCCEEDED(invoke(d, name, DISPATCH_PROPERTYGET, {}, &out)) && out.vt == VT_BSTR)
    text.assign(out.bstrVal, SysStringLen(out.bstrVal));
  VariantClear(&out);
  return text;
}

long get_long(IDispatch* d, const wchar_t* name) {
  VARIANT out;
  VariantInit(&out);
  long value = -99999;
  if (SUCCEEDED(invoke(d, name, DISPATCH_PROPERTYGET, {}, &out)) &&
      SUCCEEDED(VariantChangeType(&out, &out, 0, VT_I4)))
    value = out.lVal;
  VariantClear(&out);
  return value;
}

HRESULT RecordingSink::QueryInterface(REFIID iid, void** out) {
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                              UINT*) {
  Call call{id, {}, nullptr, nullptr};
  for (UINT i = 0; i < p->cArgs; ++i) call.types.push_back(p->rgvarg[i].vt);
  if (p->cArgs >= 1 && p->rgvarg[p->cArgs - 1].vt == VT_DISPATCH)
    call.last = p->rgvarg[p->cArgs - 1].pdispVal;
  if (p->cArgs >= 2 && p->rgvarg[p->cArgs - 2].vt == VT_DISPATCH)
    call.second = p->rgvarg[p->cArgs - 2].pdispVal;
  calls.push_back(call);
  return S_OK;
}

std::vector<DISPID> RecordingSink::ids() const {
  std::vector<DISPID> list;
  for (const Call& c : calls) list.push_back(c.id);
  return list;
}

DWORD advise(IUnknown* source, const IID& iid, IUnknown* sink, HRESULT* hr_out) {
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
  HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(iid, &point);
  if (SUCCEEDED(hr)) hr = point->Advise(sink, &cookie);
  if (point) point->Release();
  if (container) container->Release();
  if (hr_out) *hr_out = hr;
  return cookie;
}

HRESULT unadvise(IUnknown* source, const IID& iid, DWORD cookie) {
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint* point = nullptr;
  HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(iid, &point);
  if (SUCCEEDED(hr)) hr = point->Unadvise(cookie);
  if (point) point->Release();
  if (container) container->Release();
  return hr;
}

WordFixture::WordFixture(const wchar_t* version, const std::wstring& bar_file, std::optional<bool> sdi) {
  standin::WordOptions options;
  options.version = version;
  options.placement = RECT{0, 0, 1000, 700};
  options.command_bar_file = bar_file;
  options.sdi = sdi;
  word = new standin::Word(GetModuleHandleW(nullptr), options);
}

WordFixture::~WordFixture() {
  word->shut_down();
  word->disown();
}

long references_held() { return standin::outstanding_references().total; }

}  // namespace standin_test
