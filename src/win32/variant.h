// A VARIANT that clears itself: whatever it holds (BSTR, interface, array)
// is freed exactly once, on destruction or on reuse. Move-only.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace plovera::win32 {

class Variant {
 public:
  // An empty VARIANT is VariantInit's result and holds nothing to clear:
  // each Word call makes and drops one without a call into OLE Automation.
  Variant() noexcept { v_.vt = VT_EMPTY; }
  ~Variant() { clear(); }
  Variant(Variant&& o) noexcept : v_(o.v_) { o.v_.vt = VT_EMPTY; }
  Variant& operator=(Variant&& o) noexcept;
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  static Variant int32(std::int32_t value) noexcept;
  static Variant boolean(bool value) noexcept;
  // Throws host_error(out_of_memory) when the BSTR cannot be allocated.
  static Variant text(const std::u16string& value);
  // An optional argument left out: VT_ERROR with DISP_E_PARAMNOTFOUND.
  static Variant missing() noexcept;

  VARIANT* get() noexcept { return &v_; }
  const VARIANT* get() const noexcept { return &v_; }
  // Clears the old value and returns the VARIANT for an out parameter.
  VARIANT* reset() noexcept;
  VARTYPE type() const noexcept { return v_.vt; }

 private:
  void clear() noexcept {
    if (v_.vt != VT_EMPTY) VariantClear(&v_);
  }

  VARIANT v_;
};

}  // namespace plovera::win32
