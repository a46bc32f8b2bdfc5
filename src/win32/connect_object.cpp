#include "win32/connect_object.h"

#include "host/callback_scope.h"
#include "host/error.h"
#include "win32/guids.h"
#include "win32/module.h"
#include "win32/variant.h"
#include "win32/word_adapters.h"

namespace plovera::win32 {

namespace {

constexpr DISPID kAaDispid = 6;

struct NamedMember {
  const wchar_t* name;
  DISPID id;
};
constexpr NamedMember kMembers[] = {
    {L"OnConnection", extensibility_dispid::OnConnection},
    {L"OnDisconnection", extensibility_dispid::OnDisconnection},
    {L"OnAddInsUpdate", extensibility_dispid::OnAddInsUpdate},
    {L"OnStartupComplete", extensibility_dispid::OnStartupComplete},
    {L"OnBeginShutdown", extensibility_dispid::OnBeginShutdown},
    {L"aa", kAaDispid},
};

// Automation names are case-insensitive.
DISPID member_id(const wchar_t* name) noexcept {
  for (const NamedMember& m : kMembers)
    if (CompareStringOrdinal(name, -1, m.name, -1, TRUE) == CSTR_EQUAL) return m.id;
  return DISPID_UNKNOWN;
}

UINT expected_arguments(DISPID id) noexcept {
  switch (id) {
    case extensibility_dispid::OnConnection: return 4;
    case extensibility_dispid::OnDisconnection: return 2;
    case kAaDispid: return 0;
    default: return 1;
  }
}

// Argument `index` of Invoke's reversed array converted to `type`. An absent
// object (empty, null or a missing optional argument) is allowed where
// `may_be_absent` is set and leaves `out` empty.
HRESULT argument(DISPPARAMS& params, UINT index, VARTYPE type, Variant& out, UINT* arg_error,
                 bool may_be_absent = false) noexcept {
  VARIANT& in = params.rgvarg[index];
  if (may_be_absent && (in.vt == VT_EMPTY || in.vt == VT_NULL || in.vt == VT_ERROR)) return S_OK;
  if (SUCCEEDED(VariantChangeType(out.reset(), &in, 0, type))) return S_OK;
  if (arg_error) *arg_error = index;
  return DISP_E_TYPEMISMATCH;
}

// Every method Word calls runs as a callback (host/callback_scope.h) and
// keeps the object alive through it, whatever Word releases meanwhile.
struct InCall {
  explicit InCall(ConnectObject* object) noexcept : self(object) {}
  host::CallbackScope scope;
  ComPtr<ConnectObject> self;  // released first, then the scope closes
};

// The remove mode given to the logic when a failed connection is undone.
constexpr LONG kUserClosed = 1;

}  // namespace

ConnectObject::ConnectObject() : logic_(module::acquire_addin()) {}

ConnectObject::~ConnectObject() { module::release_addin(); }

bool ConnectObject::answers(REFIID iid) const noexcept {
  return iid == IID_IDispatch || iid == IID_IDTExtensibility2;
}

// A connection that fails keeps nothing: Word lets go of an add-in whose
// OnConnection failed without disconnecting it, so whatever the connection
// took hold of before it failed (Word's Application, its event hook) is
// let go of here.
HRESULT ConnectObject::OnConnection(IDispatch* Application, LONG ConnectMode,
                                    IDispatch* AddInInst, SAFEARRAY**) noexcept {
  const InCall call(this);
  const status_t connected = boundary_guard([&] {
    logic_.on_connection(wrap_host_object(Application), ConnectMode, wrap_opaque(AddInInst));
  });
  if (failed(connected)) logic_.on_disconnection(kUserClosed);
  return connected;
}

HRESULT ConnectObject::OnDisconnection(LONG RemoveMode, SAFEARRAY**) noexcept {
  const InCall call(this);
  logic_.on_disconnection(RemoveMode);
  return S_OK;
}

HRESULT ConnectObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                     DISPID* ids) noexcept {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  ids[0] = member_id(names[0]);
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;  // no named arguments
  return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ConnectObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO*, UINT* arg_error) noexcept {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  if ((params->cArgs > 0 && !params->rgvarg) ||
      (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
    return E_INVALIDARG;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (id < extensibility_dispid::OnConnection || id > kAaDispid) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs != expected_arguments(id)) return DISP_E_BADPARAMCOUNT;
  if (result) VariantInit(result);  // every method returns nothing
  return invoke_method(id, *params, arg_error);
}

// The arguments come reversed: for OnConnection rgvarg[3] is Application,
// [2] ConnectMode, [1] AddInInst and [0] custom, which is never looked at.
HRESULT ConnectObject::invoke_method(DISPID id, DISPPARAMS& params, UINT* arg_error) noexcept {
  Variant first, second;
  HRESULT hr = S_OK;
  switch (id) {
    case extensibility_dispid::OnConnection:
      if (FAILED(hr = argument(params, 3, VT_DISPATCH, first, arg_error))) return hr;
      if (FAILED(hr = argument(params, 2, VT_I4, second, arg_error))) return hr;
      {
        Variant instance;
        if (FAILED(hr = argument(params, 1, VT_DISPATCH, instance, arg_error, true))) return hr;
        return OnConnection(first.get()->pdispVal, second.get()->lVal,
                            instance.type() == VT_DISPATCH ? instance.get()->pdispVal : nullptr,
                            nullptr);
      }
    case extensibility_dispid::OnDisconnection:
      if (FAILED(hr = argument(params, 1, VT_I4, first, arg_error))) return hr;
      return OnDisconnection(first.get()->lVal, nullptr);
    case kAaDispid: {
      const InCall call(this);
      return boundary_guard([&] { logic_.unload_bar(); });
    }
    default:
      return S_OK;  // OnAddInsUpdate, OnStartupComplete, OnBeginShutdown
  }
}

}  // namespace plovera::win32
