// Self-registration: DllRegisterServer / DllUnregisterServer (per machine)
// and DllInstall(.., L"user") (per user, as `regsvr32 /n /i:user` calls it).
//
// Per machine: the class under HKLM\Software\Classes, and Word's add-in key
// under both HKCU and HKLM. Per user: the class under HKCU\Software\Classes
// and the HKCU add-in key. Unregistering deletes exactly the keys that
// registering created for that scope, never their shared parents.
#include "win32/window_system.h"

#include <olectl.h>

#include <string>

#include "host/error.h"
#include "win32/guids.h"
#include "win32/module.h"

namespace plovera::win32 {

namespace {

constexpr const wchar_t* kAddinKey = L"Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect";
constexpr const wchar_t* kClassDescription = L"Plovera Connect";
constexpr const wchar_t* kAddinName = L"Plovera";
constexpr DWORD kLoadAtStartup = 3;

enum class Scope { machine, user };

HKEY classes_root(Scope scope) noexcept {
  return scope == Scope::machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring class_key() { return std::wstring(L"Software\\Classes\\CLSID\\") + kClsidText; }
std::wstring progid_key() { return std::wstring(L"Software\\Classes\\") + kProgId; }

// A key opened for writing (created when missing); closes itself.
class WritableKey {
 public:
  WritableKey(HKEY root, const std::wstring& path) {
    check(HRESULT_FROM_WIN32(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key_, nullptr)),
          "RegCreateKeyExW");
  }
  ~WritableKey() { RegCloseKey(key_); }
  WritableKey(const WritableKey&) = delete;
  WritableKey& operator=(const WritableKey&) = delete;

  // `name` null sets the key's default value.
  const WritableKey& text(const wchar_t* name, const std::wstring& value) const {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    set(name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    return *this;
  }
  const WritableKey& number(const wchar_t* name, DWORD value) const {
    set(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    return *this;
  }

 private:
  void set(const wchar_t* name, DWORD type, const BYTE* data, DWORD size) const {
    check(HRESULT_FROM_WIN32(RegSetValueExW(key_, name, 0, type, data, size)), "RegSetValueExW");
  }
  HKEY key_ = nullptr;
};

std::wstring dll_path() {
  std::u16string path = module_file_name(module::instance());
  if (path.empty()) throw_host_error(HRESULT_FROM_WIN32(GetLastError()), "GetModuleFileNameW");
  return std::wstring(path.begin(), path.end());
}

void write_class(Scope scope) {
  const HKEY root = classes_root(scope);
  WritableKey(root, class_key()).text(nullptr, kClassDescription);
  WritableKey(root, class_key() + L"\\InprocServer32")
      .text(nullptr, dll_path())
      .text(L"ThreadingModel", L"Apartment");
  WritableKey(root, class_key() + L"\\ProgID").text(nullptr, kProgId);
  WritableKey(root, progid_key()).text(nullptr, kClassDescription);
  WritableKey(root, progid_key() + L"\\CLSID").text(nullptr, kClsidText);
}

void write_addin_key(HKEY root) {
  WritableKey(root, kAddinKey)
      .text(L"FriendlyName", kAddinName)
      .text(L"Description", kAddinName)
      .number(L"LoadBehavior", kLoadAtStartup);
}

// Deletes a key and everything below it; a key that is not there is fine.
bool delete_tree(HKEY root, const std::wstring& path) noexcept {
  const LSTATUS status = RegDeleteTreeW(root, path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

HRESULT unregister(Scope scope) noexcept {
  bool ok = true;  // every key is tried, even after a failure
  const status_t done = boundary_guard([&] {
    ok = delete_tree(classes_root(scope), class_key()) && ok;
    ok = delete_tree(classes_root(scope), progid_key()) && ok;
    ok = delete_tree(HKEY_CURRENT_USER, kAddinKey) && ok;
    if (scope == Scope::machine) ok = delete_tree(HKEY_LOCAL_MACHINE, kAddinKey) && ok;
  });
  return ok && !failed(done) ? S_OK : SELFREG_E_CLASS;
}

// On any failure, what was written is removed again.
HRESULT register_in(Scope scope) noexcept {
  const status_t written = boundary_guard([&] {
    write_class(scope);
    write_addin_key(HKEY_CURRENT_USER);
    if (scope == Scope::machine) write_addin_key(HKEY_LOCAL_MACHINE);
  });
  if (!failed(written)) return S_OK;
  unregister(scope);
  return SELFREG_E_CLASS;
}

}  // namespace

}  // namespace plovera::win32

using plovera::win32::Scope;

STDAPI DllRegisterServer() { return plovera::win32::register_in(Scope::machine); }

STDAPI DllUnregisterServer() { return plovera::win32::unregister(Scope::machine); }

// `regsvr32 /n /i:user` calls DllInstall(TRUE, L"user"); an empty command
// line means per machine, as DllRegisterServer.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  Scope scope = Scope::machine;
  if (command_line && *command_line) {
    if (CompareStringOrdinal(command_line, -1, L"user", -1, TRUE) != CSTR_EQUAL)
      return E_INVALIDARG;
    scope = Scope::user;
  }
  return install ? plovera::win32::register_in(scope) : plovera::win32::unregister(scope);
}
