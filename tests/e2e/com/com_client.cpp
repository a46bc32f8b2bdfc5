// Word's side of the add-in's COM contract, after `regsvr32 plovera.dll`:
// create the class by its ProgID, find IDTExtensibility2, and connect with
// an automation object that is not Word, through the vtable and through
// IDispatch. The connection must fail with E_NOINTERFACE and keep nothing;
// disconnection always succeeds; the DLL can unload once everything is
// released.
//
//   com_client.exe                      the COM contract
//   com_client.exe registration DLL     a per-machine registration that fails
//                                       after a per-user one (in process: the
//                                       failure needs a volatile registry key,
//                                       which lives only as long as the
//                                       registry server of this run)
#include <windows.h>
#include <oaidl.h>
#include <olectl.h>

#include <cstring>
#include <string>

#include "check.h"
#include "fake_automation.h"
#include "win32/extensibility.h"
#include "win32/guids.h"

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

// A host that is Word as far as the interface query goes, but whose events
// cannot be hooked: the connection fails after it took hold of Word.
void connect_with_a_word_whose_events_fail(IDTExtensibility2* addin) {
  fake::Dispatch word;
  word.also_answers = {plovera::win32::IID_WordApplication};
  SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const HRESULT hr = addin->OnConnection(&word, 1, nullptr, &custom);
  SafeArrayDestroy(custom);
  expect(FAILED(hr), "OnConnection fails when Word's events cannot be hooked", check::hex(hr));
  expect(word.refs() == 1, "a connection that failed after taking hold of Word keeps nothing",
         std::to_string(word.refs() - 1) + " references left");
}

// Invoke with a count of arguments but no array to read them from.
void arguments_without_their_array(IDispatch* d) {
  for (DISPID id : {1, 2, 3}) {
    DISPPARAMS params{nullptr, nullptr, id == 1 ? 4u : id == 2 ? 2u : 1u, 0};
    expect_status(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                            nullptr, nullptr),
                  E_INVALIDARG,
                  "Invoke of DISPID " + std::to_string(id) + " with arguments but no array: "
                  "E_INVALIDARG");
  }
  DISPPARAMS named{nullptr, nullptr, 0, 1};
  expect_status(d->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &named, nullptr,
                          nullptr, nullptr),
                E_INVALIDARG, "Invoke with a named argument but no array: E_INVALIDARG");
}

// LockServer(FALSE) without a lock is ignored: one lock taken afterwards
// still keeps the DLL, and its unlock frees it.
void unlock_without_a_lock(const CLSID& clsid) {
  IClassFactory* factory = nullptr;
  expect_status(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                 reinterpret_cast<void**>(&factory)),
                S_OK, "the class factory");
  if (!factory) return;
  factory->LockServer(FALSE);
  factory->LockServer(FALSE);
  factory->Release();
  expect_status(dll_can_unload_now(), S_OK, "unlocks without a lock leave the DLL free to go");
  CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                   reinterpret_cast<void**>(&factory));
  factory->LockServer(TRUE);
  factory->Release();
  expect_status(dll_can_unload_now(), S_FALSE, "a lock after them still holds the DLL");
  CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                   reinterpret_cast<void**>(&factory));
  factory->LockServer(FALSE);
  factory->Release();
  expect_status(dll_can_unload_now(), S_OK, "and its unlock frees it");
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
  connect_with_a_word_whose_events_fail(addin);
  arguments_without_their_array(d);
  disconnect_twice(addin, d);
  expect_status(dll_can_unload_now(), S_FALSE, "DllCanUnloadNow is S_FALSE while an object lives");
  d->Release();
  addin->Release();
  object->Release();
  expect_status(dll_can_unload_now(), S_OK, "DllCanUnloadNow is S_OK once everything is released");
  unlock_without_a_lock(clsid);
}

// ---- Registration scopes ----------------------------------------------------

const std::wstring kAddins = L"Software\\Microsoft\\Office\\Word\\Addins";
const std::wstring kAddinKey = kAddins + L"\\quennix.Connect";
const std::wstring kClassKey = std::wstring(L"Software\\Classes\\CLSID\\") +
                               plovera::win32::kClsidText;

bool key_exists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

DWORD load_behavior(HKEY root) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(root, kAddinKey.c_str(), L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return 0;
  return value;
}

// A per-user registration, then a per-machine one that fails half-way (Word's
// machine-wide add-ins key is volatile, so no lasting key can be made under
// it): the failed registration takes back only what it created, and the
// per-user install still loads.
int failed_registration(const wchar_t* dll_path) {
  HMODULE dll = LoadLibraryW(dll_path);
  expect(dll != nullptr, "plovera.dll loads");
  if (!dll) return 1;
  using Register = HRESULT(STDAPICALLTYPE*)();
  using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
  auto register_server = reinterpret_cast<Register>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
  auto install = reinterpret_cast<Install>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllInstall")));
  if (!register_server || !install) return 1;

  expect_status(install(TRUE, L"user"), S_OK, "per-user registration");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAddins.c_str());
  HKEY addins = nullptr;
  const LSTATUS made = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kAddins.c_str(), 0, nullptr,
                                       REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &addins,
                                       nullptr);
  expect(made == ERROR_SUCCESS, "a volatile machine-wide add-ins key");
  if (addins) RegCloseKey(addins);

  expect_status(register_server(), SELFREG_E_CLASS,
                "a per-machine registration that cannot write its add-in key fails");
  expect(!key_exists(HKEY_LOCAL_MACHINE, kClassKey),
         "the failed registration removed the machine class it had written");
  expect(key_exists(HKEY_CURRENT_USER, kClassKey) && load_behavior(HKEY_CURRENT_USER) == 3,
         "the per-user class and add-in key it found stay");

  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAddins.c_str());
  expect_status(install(FALSE, L"user"), S_OK, "per-user unregistration");
  expect(!key_exists(HKEY_CURRENT_USER, kClassKey) && !key_exists(HKEY_CURRENT_USER, kAddinKey),
         "per-user unregistration removes the per-user class and add-in key");
  FreeLibrary(dll);
  return check::failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"registration") == 0) return failed_registration(argv[2]);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  run();
  CoUninitialize();
  return check::failures ? 1 : 0;
}
