#include "win32/dispatch.h"

#include "host/error.h"

namespace plovera::win32 {

namespace {

// Invoke's arguments are reversed; more than this many is a programming error.
constexpr std::size_t kMaxArgs = 8;

// The status that a DISP_E_EXCEPTION stands for; frees the EXCEPINFO's strings.
HRESULT exception_status(HRESULT hr, EXCEPINFO& info) noexcept {
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    if (FAILED(info.scode)) hr = info.scode;
  }
  if (FAILED(hr)) {
    ignore_errors([&] {
      const auto* text = reinterpret_cast<const char16_t*>(info.bstrDescription);
      last_failure_text().assign(text ? text : u"");
    });
  }
  // Word fills these only when it raises an error: a call that succeeded
  // costs no call into OLE Automation for them.
  for (BSTR text : {info.bstrSource, info.bstrDescription, info.bstrHelpFile})
    if (text) SysFreeString(text);
  return hr;
}

}  // namespace

DISPID dispid_of(IDispatch* object, Member& m) {
  if (m.resolved) return m.id;
  if (!object) throw_host_error(status::pointer, m.label);
  LPOLESTR name = const_cast<LPOLESTR>(m.name);
  DISPID id = DISPID_UNKNOWN;
  check(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), m.label);
  m.id = id;
  m.resolved = true;
  return id;
}

Variant invoke(IDispatch* object, Member& m, WORD flags, const Variant* args, std::size_t count) {
  // An adapter whose last reference went while a call was on the stack has
  // let go of Word's object already.
  if (!object) throw_host_error(status::disconnected, m.label);
  if (count > kMaxArgs) throw_host_error(status::invalid_arg, m.label);
  const DISPID id = dispid_of(object, m);
  VARIANTARG reversed[kMaxArgs];
  for (std::size_t i = 0; i < count; ++i) reversed[count - 1 - i] = *args[i].get();

  DISPID put_id = DISPID_PROPERTYPUT;
  const bool is_put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS params{count ? reversed : nullptr, is_put ? &put_id : nullptr,
                    static_cast<UINT>(count), is_put ? 1u : 0u};
  Variant result;
  EXCEPINFO info{};
  UINT arg_error = 0;
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                              is_put ? nullptr : result.get(), &info, &arg_error);
  hr = exception_status(hr, info);
  if (FAILED(hr)) last_failure_member() = m.label;
  check(hr, m.label);
  return result;
}

std::int32_t as_int32(Variant&& v, const char* label) {
  if (v.type() != VT_I4) check(VariantChangeType(v.get(), v.get(), 0, VT_I4), label);
  return v.get()->lVal;
}

bool as_bool(Variant&& v, const char* label) {
  if (v.type() != VT_BOOL) check(VariantChangeType(v.get(), v.get(), 0, VT_BOOL), label);
  return v.get()->boolVal != VARIANT_FALSE;
}

void as_text(Variant&& v, std::u16string& out, const char* label) {
  if (v.type() == VT_EMPTY || v.type() == VT_NULL) {
    out.clear();
    return;
  }
  if (v.type() != VT_BSTR) check(VariantChangeType(v.get(), v.get(), 0, VT_BSTR), label);
  const BSTR s = v.get()->bstrVal;
  out.assign(reinterpret_cast<const char16_t*>(s ? s : L""), s ? SysStringLen(s) : 0);
}

ComPtr<IDispatch> as_dispatch(Variant&& v, const char* label) {
  if (v.type() != VT_DISPATCH) check(VariantChangeType(v.get(), v.get(), 0, VT_DISPATCH), label);
  ComPtr<IDispatch> object = v.get()->pdispVal;
  if (!object) throw_host_error(status::pointer, label);
  return object;
}

}  // namespace plovera::win32
