// Late-bound calls on automation objects: members are resolved by name with
// GetIDsOfNames once (per adapter type and name, since one Word type library
// gives the same DISPIDs to every object of a kind) and then invoked by
// DISPID. A failing status becomes host_error naming the member.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "win32/com_object.h"
#include "win32/variant.h"

namespace plovera::win32 {

// A member of an automation object and its cached DISPID. Declare one static
// Member per adapter type and name.
struct Member {
  const wchar_t* name;
  const char* label;  // "Window.Caption": what a host_error names
  DISPID id = DISPID_UNKNOWN;
  bool resolved = false;
};

// Resolves `m` on first use; throws host_error(hr, m.label) when the object
// does not know the name (a failure is not cached, so a later call retries).
DISPID dispid_of(IDispatch* object, Member& m);

// IDispatch::Invoke with `args` in their declared order (reversed into
// DISPPARAMS here). Property puts pass the value as the named argument
// DISPID_PROPERTYPUT and ask for no result. The arguments stay owned by the
// caller; the result is owned by the returned Variant.
Variant invoke(IDispatch* object, Member& m, WORD flags, const Variant* args, std::size_t count);
inline Variant invoke(IDispatch* object, Member& m, WORD flags,
                      std::initializer_list<Variant> args = {}) {
  return invoke(object, m, flags, args.begin(), args.size());
}

inline Variant get(IDispatch* object, Member& m) {
  return invoke(object, m, DISPATCH_PROPERTYGET);
}
// Parameterised properties and collection items (Item(i), FileDialog(type)):
// Office declares some as methods and some as property gets; both flags
// together are accepted by either.
inline Variant get_item(IDispatch* object, Member& m, std::initializer_list<Variant> args) {
  return invoke(object, m, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}
inline void put(IDispatch* object, Member& m, const Variant& value) {
  invoke(object, m, DISPATCH_PROPERTYPUT, &value, 1);
}
inline Variant call(IDispatch* object, Member& m, std::initializer_list<Variant> args = {}) {
  return invoke(object, m, DISPATCH_METHOD, args);
}

// Conversions of a result; a value that does not convert is a host_error
// naming `label`.
std::int32_t as_int32(Variant&& v, const char* label);
bool as_bool(Variant&& v, const char* label);
// Copies the text into `out`, reusing its buffer (an empty or null result is
// an empty string).
void as_text(Variant&& v, std::u16string& out, const char* label);
// A non-null object; a null object (Nothing) is a host_error(pointer).
ComPtr<IDispatch> as_dispatch(Variant&& v, const char* label);

}  // namespace plovera::win32
