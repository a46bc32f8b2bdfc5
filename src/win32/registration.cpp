// Self-registration: DllRegisterServer / DllUnregisterServer (per machine)
// and DllInstall(.., L"user") (per user, as `regsvr32 /n /i:user` calls it).
//
// Per machine: the class under HKLM\Software\Classes, and Word's add-in key
// under both HKLM and HKCU (the user who registers gets it at once). Per
// user: the class under HKCU\Software\Classes and the HKCU add-in key.
//
// The HKCU add-in key is shared by the two scopes: unregistering either one
// removes it only when no per-user class registration remains, so a
// per-machine unregistration never stops a per-user install from loading.
// A registration that fails removes exactly the keys that this call
// created, nothing that was there before it. Shared parents are never
// removed.
#include "win32/window_system.h"

#include <olectl.h>

#include <string>
#include <utility>
#include <vector>

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

// Deletes a key and everything below it; a key that is not there is fine.
bool delete_tree(HKEY root, const std::wstring& path) noexcept {
  const LSTATUS status = RegDeleteTreeW(root, path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool key_exists(HKEY root, const std::wstring& path) noexcept {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The keys one registration call created, in order, so that a failure can
// take back exactly those.
class CreatedKeys {
 public:
  void add(HKEY root, const std::wstring& path) { keys_.emplace_back(root, path); }
  void remove_all() noexcept {
    for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) delete_tree(it->first, it->second);
    keys_.clear();
  }

 private:
  std::vector<std::pair<HKEY, std::wstring>> keys_;
};

// A key opened for writing (created when missing, and then recorded in
// `created`); closes itself.
class WritableKey {
 public:
  WritableKey(CreatedKeys& created, HKEY root, const std::wstring& path) {
    DWORD disposition = 0;
    // HRESULT_FROM_WIN32 is a macro that reads its argument twice: the call
    // is made once, before it.
    const LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &key_, &disposition);
    check(HRESULT_FROM_WIN32(status), "RegCreateKeyExW");
    if (disposition != REG_CREATED_NEW_KEY) return;
    try {
      created.add(root, path);
    } catch (...) {
      RegCloseKey(key_);
      delete_tree(root, path);
      throw;
    }
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
    const LSTATUS status = RegSetValueExW(key_, name, 0, type, data, size);
    check(HRESULT_FROM_WIN32(status), "RegSetValueExW");
  }
  HKEY key_ = nullptr;
};

std::wstring dll_path() {
  std::u16string path = module_file_name(module::instance());
  if (path.empty()) throw_host_error(HRESULT_FROM_WIN32(GetLastError()), "GetModuleFileNameW");
  return std::wstring(path.begin(), path.end());
}

void write_class(CreatedKeys& created, Scope scope) {
  const HKEY root = classes_root(scope);
  WritableKey(created, root, class_key()).text(nullptr, kClassDescription);
  WritableKey(created, root, class_key() + L"\\InprocServer32")
      .text(nullptr, dll_path())
      .text(L"ThreadingModel", L"Apartment");
  WritableKey(created, root, class_key() + L"\\ProgID").text(nullptr, kProgId);
  WritableKey(created, root, progid_key()).text(nullptr, kClassDescription);
  WritableKey(created, root, progid_key() + L"\\CLSID").text(nullptr, kClsidText);
}

void write_addin_key(CreatedKeys& created, HKEY root) {
  WritableKey(created, root, kAddinKey)
      .text(L"FriendlyName", kAddinName)
      .text(L"Description", kAddinName)
      .number(L"LoadBehavior", kLoadAtStartup);
}

HRESULT unregister(Scope scope) noexcept {
  bool ok = true;  // every key is tried, even after a failure
  const status_t done = boundary_guard([&] {
    ok = delete_tree(classes_root(scope), class_key()) && ok;
    ok = delete_tree(classes_root(scope), progid_key()) && ok;
    if (scope == Scope::machine) ok = delete_tree(HKEY_LOCAL_MACHINE, kAddinKey) && ok;
    // A per-user registration that remains still loads through this key.
    if (!key_exists(HKEY_CURRENT_USER, class_key()))
      ok = delete_tree(HKEY_CURRENT_USER, kAddinKey) && ok;
  });
  return ok && !failed(done) ? S_OK : SELFREG_E_CLASS;
}

// On any failure, the keys this call created are removed again; keys that
// were there before (another scope's registration, an earlier one of this
// scope) stay.
HRESULT register_in(Scope scope) noexcept {
  CreatedKeys created;
  const status_t written = boundary_guard([&] {
    write_class(created, scope);
    write_addin_key(created, HKEY_CURRENT_USER);
    if (scope == Scope::machine) write_addin_key(created, HKEY_LOCAL_MACHINE);
  });
  if (!failed(written)) return S_OK;
  created.remove_all();
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
