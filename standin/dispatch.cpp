#include "dispatch.h"

#include <intrin.h>
#include <wchar.h>

#include "dispatch_meter.h"
#include "faults.h"

namespace standin {
namespace {

// A private copy of `v` converted to `vt`, or a type-mismatch failure.
struct Converted {
  VARIANT v;
  Converted(const VARIANT* src, VARTYPE vt) {
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(src), 0, vt)))
      fail(DISP_E_TYPEMISMATCH, L"argument type");
  }
  ~Converted() { VariantClear(&v); }
};

const VARIANT* follow_reference(const VARIANT* v) {
  if (v->vt == (VT_BYREF | VT_VARIANT)) return v->pvarVal;
  return v;
}

bool omitted(const VARIANT* v) {
  return v->vt == VT_EMPTY || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

long to_long(const VARIANT* v) { return Converted(v, VT_I4).v.lVal; }
bool to_bool(const VARIANT* v) { return Converted(v, VT_BOOL).v.boolVal != VARIANT_FALSE; }
std::wstring to_string(const VARIANT* v) {
  Converted c(v, VT_BSTR);
  return c.v.bstrVal ? std::wstring(c.v.bstrVal, SysStringLen(c.v.bstrVal)) : std::wstring();
}

int g_calls_in_progress = 0;

}  // namespace

int calls_in_progress() { return g_calls_in_progress; }

Args::Args(const DISPPARAMS* params, WORD flags) : params_(params), flags_(flags) {
  const bool has_put = params && params->cNamedArgs > 0 && params->rgdispidNamedArgs &&
                       params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  positional_ = params ? params->cArgs - (has_put ? 1 : 0) : 0;
}

const VARIANT* Args::at(unsigned i) const {
  if (i >= positional_) return nullptr;
  // Arguments arrive reversed; a property put's value sits in front of them.
  const unsigned first = params_->cArgs - positional_;
  const VARIANT* v = follow_reference(&params_->rgvarg[first + positional_ - 1 - i]);
  return omitted(v) ? nullptr : v;
}

long Args::as_long(unsigned i) const {
  if (!has(i)) fail(DISP_E_PARAMNOTFOUND, L"argument missing");
  return to_long(at(i));
}

bool Args::as_bool(unsigned i) const {
  if (!has(i)) fail(DISP_E_PARAMNOTFOUND, L"argument missing");
  return to_bool(at(i));
}

std::wstring Args::as_string(unsigned i) const {
  if (!has(i)) fail(DISP_E_PARAMNOTFOUND, L"argument missing");
  return to_string(at(i));
}

const VARIANT* Args::put_value() const {
  if (!is_put() || !params_ || params_->cArgs == 0 || params_->cArgs == positional_)
    fail(DISP_E_PARAMNOTFOUND, L"property value missing");
  return follow_reference(&params_->rgvarg[0]);
}

long Args::put_long() const { return to_long(put_value()); }
bool Args::put_bool() const { return to_bool(put_value()); }
std::wstring Args::put_string() const { return to_string(put_value()); }

DispatchObject::DispatchObject(std::span<const Member> members, std::span<const IID> iids)
    : members_(members), iids_(iids) {}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  bool dispatch = iid == IID_IUnknown || iid == IID_IDispatch;
  for (const IID& dual : iids_) dispatch = dispatch || iid == dual;
  if (dispatch) {
    *out = static_cast<IDispatch*>(this);
  } else if (void* other = other_interface(iid)) {
    *out = other;
  } else {
    return E_NOINTERFACE;
  }
  add_ref();
  return S_OK;
}

bool DispatchObject::has_member(const wchar_t* name, DISPID id) const {
  for (const Member& m : members_)
    if (m.id == id && _wcsicmp(m.name, name) == 0) return true;
  return false;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  for (const Member& m : members_) {
    if (_wcsicmp(m.name, names[0]) == 0) {
      ids[0] = m.id;
      // Named parameters are not offered: the add-in passes arguments by position.
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* excep, UINT*) {
  if (!connected_) return RPC_E_DISCONNECTED;
  if (result) VariantInit(result);
  if (fault_injected(*this, id)) {
    if (!excep) return E_FAIL;
    *excep = EXCEPINFO{};
    excep->scode = E_FAIL;
    excep->bstrSource = SysAllocString(L"Microsoft Word");
    excep->bstrDescription = SysAllocString(L"injected failure");
    return DISP_E_EXCEPTION;
  }
  // A member may run a message loop (a prompt, a popup menu) in which Word
  // lets go of this object; it stays alive until the call returns.
  add_ref();
  // The timing runs count the object model's own time (outermost calls only).
  // The processor's cycle counter costs next to nothing, so the idle figures
  // are not raised by it.
  const bool timed = g_calls_in_progress == 0 && dispatch_meter().timing();
  const std::uint64_t start = timed ? __rdtsc() : 0;
  ++g_calls_in_progress;
  const HRESULT hr = invoke_member(id, flags, params, result, excep);
  --g_calls_in_progress;
  if (timed && dispatch_meter().timing()) dispatch_meter().count_object_model_call(__rdtsc() - start);
  release();
  return hr;
}

HRESULT DispatchObject::invoke_member(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO* excep) {
  try {
    call(id, Args(params, flags), result);
    return S_OK;
  } catch (const ComError& e) {
    if (result) VariantClear(result);
    // Member failures travel as automation exceptions, as Word raises them;
    // argument and dispatch errors come back as they are.
    const bool dispatch_error = HRESULT_FACILITY(e.hr) == FACILITY_DISPATCH;
    if (dispatch_error || !excep) return e.hr;
    *excep = EXCEPINFO{};
    excep->scode = e.hr;
    excep->bstrSource = SysAllocString(L"Microsoft Word");
    excep->bstrDescription = SysAllocString(e.what);
    return DISP_E_EXCEPTION;
  } catch (...) {
    if (result) VariantClear(result);
    return E_UNEXPECTED;
  }
}

void put_long(VARIANT* result, long v) {
  if (!result) return;
  result->vt = VT_I4;
  result->lVal = v;
}

void put_bool(VARIANT* result, bool v) {
  if (!result) return;
  result->vt = VT_BOOL;
  result->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
}

void put_string(VARIANT* result, const std::wstring& v) {
  if (!result) return;
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(v.data(), static_cast<UINT>(v.size()));
}

void put_object(VARIANT* result, IDispatch* v) {
  if (!result) return;
  result->vt = VT_DISPATCH;
  result->pdispVal = v;
  if (v) v->AddRef();
}

}  // namespace standin
