#include "win32/variant.h"

#include "host/error.h"

namespace plovera::win32 {

Variant& Variant::operator=(Variant&& o) noexcept {
  if (this != &o) {
    clear();
    v_ = o.v_;
    o.v_.vt = VT_EMPTY;
  }
  return *this;
}

Variant Variant::int32(std::int32_t value) noexcept {
  Variant r;
  r.v_.vt = VT_I4;
  r.v_.lVal = value;
  return r;
}

Variant Variant::boolean(bool value) noexcept {
  Variant r;
  r.v_.vt = VT_BOOL;
  r.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return r;
}

Variant Variant::text(const std::u16string& value) {
  Variant r;
  BSTR s = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(value.data()),
                             static_cast<UINT>(value.size()));
  if (!s) throw_host_error(status::out_of_memory, "SysAllocStringLen");
  r.v_.vt = VT_BSTR;
  r.v_.bstrVal = s;
  return r;
}

Variant Variant::missing() noexcept {
  Variant r;
  r.v_.vt = VT_ERROR;
  r.v_.scode = DISP_E_PARAMNOTFOUND;
  return r;
}

VARIANT* Variant::reset() noexcept {
  clear();
  return &v_;
}

}  // namespace plovera::win32
