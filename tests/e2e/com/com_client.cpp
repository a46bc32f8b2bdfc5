// Word's side of the add-in's COM contract, after `regsvr32 plovera.dll`:
// create the class by its ProgID, find IDTExtensibility2, and connect with
// an automation object that is not Word, through the vtable and through
// IDispatch. The connection must fail with E_NOINTERFACE and keep nothing;
// disconnection always succeeds; the DLL can unload once everything is
// released.
#include <windows.h>
#include <oaidl.h>

#include "check.h"
#include "fake_automation.h"
#include "win32/extensibility.h"

using check::expect;
using check::expect_status;
using plovera::win32::IDTExtensibility2;

namespace {

const IID IID_IDTExtensibility2 = {
    0xb65ad801, 0xabaf, 0x11d0, {0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44}};

DISPID id_of(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT invoke(IDispatch* d, DISPID id, VARIANT* reversed, UINT count) {
  DISPPARAMS params{reversed, nullptr, count, 0};
  EXCEPINFO info{};
  return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info,
                   nullptr);
}

HRESULT connect_by_invoke(IDispatch* d, IDispatch* application) {
  SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  VARIANT args[4];
  args[3].vt = VT_DISPATCH, args[3].pdispVal = application;
  args[2].vt = VT_I4, args[2].lVal = 1;  // ext_cm_Startup
  args[1].vt = VT_DISPATCH, args[1].pdispVal = nullptr;
  args[0].vt = VT_ARRAY | VT_VARIANT | VT_BYREF, args[0].pparray = &custom;
  const HRESULT hr = invoke(d, id_of(d, L"OnConnection"), args, 4);
  SafeArrayDestroy(custom);
  return hr;
}

HRESULT disconnect_by_invoke(IDispatch* d) {
  VARIANT args[2];
  args[1].vt = VT_I4, args[1].lVal = 0;  // ext_dm_HostShutdown
  args[0].vt = VT_ERROR, args[0].scode = DISP_E_PARAMNOTFOUND;
  return invoke(d, id_of(d, L"OnDisconnection"), args, 2);
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

HRESULT dll_can_unload_now() {
  HMODULE dll = GetModuleHandleW(L"plovera.dll");
  if (!dll) return E_FAIL;
  auto can_unload = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  return can_unload ? can_unload() : E_FAIL;
}

void dispatch_names(IDispatch* d) {
  const wchar_t* names[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate",
                            L"OnStartupComplete", L"onbeginshutdown"};
  bool all = true;
  for (int i = 0; i < 5; ++i) all = all && id_of(d, names[i]) == i + 1;
  expect(all, "GetIDsOfNames maps the five names (in any case) to DISPIDs 1 to 5");
  expect(id_of(d, L"NoSuchMember") == DISPID_UNKNOWN, "an unknown name is refused");
}

void connect_with_a_host_that_is_not_word(IDTExtensibility2* addin, IDispatch* d) {
  fake::Dispatch not_word;
  SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  expect_status(addin->OnConnection(&not_word, 1, nullptr, &custom), E_NOINTERFACE,
                "OnConnection through the vtable without Word's Application: E_NOINTERFACE");
  SafeArrayDestroy(custom);
  expect_status(connect_by_invoke(d, &not_word), E_NOINTERFACE,
                "OnConnection through IDispatch::Invoke without Word's Application: "
                "E_NOINTERFACE");
  expect(not_word.refs() == 1, "a failed connection keeps no reference on the host object");
  expect_status(addin->OnConnection(nullptr, 1, nullptr, nullptr), E_POINTER,
                "OnConnection without an Application object: E_POINTER");

  VARIANT bad[4] = {};
  bad[3].vt = VT_BSTR, bad[3].bstrVal = SysAllocString(L"Word");
  bad[2].vt = VT_I4, bad[1].vt = VT_EMPTY, bad[0].vt = VT_EMPTY;
  expect_status(invoke(d, 1, bad, 4), DISP_E_TYPEMISMATCH,
                "OnConnection by Invoke with a string for Application: DISP_E_TYPEMISMATCH");
  SysFreeString(bad[3].bstrVal);
  expect_status(invoke(d, 1, bad, 2), DISP_E_BADPARAMCOUNT,
                "OnConnection by Invoke with two arguments: DISP_E_BADPARAMCOUNT");
}

void disconnect_twice(IDTExtensibility2* addin, IDispatch* d) {
  expect_status(addin->OnDisconnection(0, nullptr), S_OK, "OnDisconnection through the vtable");
  expect_status(addin->OnDisconnection(1, nullptr), S_OK, "a second OnDisconnection");
  expect_status(disconnect_by_invoke(d), S_OK, "OnDisconnection through IDispatch::Invoke");
  expect_status(addin->OnAddInsUpdate(nullptr), S_OK, "OnAddInsUpdate");
  expect_status(addin->OnStartupComplete(nullptr), S_OK, "OnStartupComplete");
  expect_status(addin->OnBeginShutdown(nullptr), S_OK, "OnBeginShutdown");
}

void run() {
  CLSID clsid;
  expect_status(CLSIDFromProgID(L"quennix.Connect", &clsid), S_OK, "the ProgID resolves");
  IUnknown* object = nullptr;
  expect_status(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&object)),
                S_OK, "CoCreateInstance of quennix.Connect");
  if (!object) return;
  IDTExtensibility2* addin = nullptr;
  IDispatch* d = nullptr;
  expect_status(object->QueryInterface(IID_IDTExtensibility2, reinterpret_cast<void**>(&addin)),
                S_OK, "QueryInterface for IDTExtensibility2");
  expect_status(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK,
                "QueryInterface for IDispatch");
  IUnknown* other = nullptr;
  expect_status(object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&other)),
                E_NOINTERFACE, "QueryInterface for an interface it lacks: E_NOINTERFACE");
  if (!addin || !d) return;

  dispatch_names(d);
  connect_with_a_host_that_is_not_word(addin, d);
  disconnect_twice(addin, d);
  expect_status(dll_can_unload_now(), S_FALSE, "DllCanUnloadNow is S_FALSE while an object lives");
  d->Release();
  addin->Release();
  object->Release();
  expect_status(dll_can_unload_now(), S_OK, "DllCanUnloadNow is S_OK once everything is released");
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  run();
  CoUninitialize();
  return check::failures ? 1 : 0;
}
