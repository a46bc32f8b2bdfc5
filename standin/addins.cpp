#include "addins.h"

#include <set>

#include "dispatch.h"
#include "log.h"
#include "system_model.h"
#include "word.h"

namespace standin {

// The add-in-instance object handed to OnConnection (Office's COMAddIn).
class AddInInstanceObj final : public DispatchObject {
 public:
  explicit AddInInstanceObj(std::wstring prog_id)
      : DispatchObject(kMembers, {}), prog_id_(std::move(prog_id)) {}
  std::wstring describe() const override { return L"AddInInstance " + prog_id_; }

 private:
  static constexpr Member kMembers[] = {{L"ProgId", 3}, {L"Description", 0}, {L"Connect", 6}};
  void call(DISPID id, const Args& args, VARIANT* result) override {
    if (args.is_put()) fail(E_ACCESSDENIED, L"read-only");
    switch (id) {
      case 3: put_string(result, prog_id_); return;
      case 0: put_string(result, prog_id_); return;
      case 6: put_bool(result, true); return;
    }
    fail(DISP_E_MEMBERNOTFOUND, L"COMAddIn member");
  }
  std::wstring prog_id_;
};

namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Word\\Addins";

// A key's default string value under HKCU\Software\Classes, environment
// variables expanded; empty when there is none.
std::wstring user_class_value(const std::wstring& sub_key) {
  const std::wstring key = L"Software\\Classes\\" + sub_key;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                   nullptr, &size) != ERROR_SUCCESS || size < sizeof(wchar_t))
    return {};
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                   value.data(), &size) != ERROR_SUCCESS)
    return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

// Windows merges the classes registered per user (HKCU\Software\Classes)
// into HKEY_CLASSES_ROOT; Wine 8 does not, so COM cannot create them. Word
// creates such an add-in on Windows, so the stand-in does what Windows would:
// the ProgID's CLSID and that class's in-process server, both per user, and
// the server's class factory.
HRESULT create_per_user_class(const std::wstring& prog_id, IUnknown** object) {
  CLSID clsid;
  const std::wstring clsid_text = user_class_value(prog_id + L"\\CLSID");
  if (clsid_text.empty() || FAILED(CLSIDFromString(clsid_text.c_str(), &clsid))) return REGDB_E_CLASSNOTREG;
  const std::wstring server = user_class_value(L"CLSID\\" + clsid_text + L"\\InprocServer32");
  if (server.empty()) return REGDB_E_CLASSNOTREG;
  HMODULE module = LoadLibraryExW(server.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get_class_object =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (!get_class_object) return CO_E_ERRORINDLL;
  IClassFactory* factory = nullptr;
  HRESULT hr = get_class_object(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object));
  factory->Release();
  if (SUCCEEDED(hr)) log_line(L"add-in " + prog_id + L" created from its per-user registration");
  return hr;
}

DWORD load_behavior(HKEY addins, const wchar_t* prog_id) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegGetValueW(addins, prog_id, L"LoadBehavior", RRF_RT_REG_DWORD, &type, &value, &size) !=
      ERROR_SUCCESS)
    return 0;
  return value;
}

// A scratch SAFEARRAY of no variants, for the `custom` arguments.
struct EmptyCustom {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  ~EmptyCustom() {
    if (array) SafeArrayDestroy(array);
  }
};

}  // namespace

std::vector<std::wstring> registered_addins() {
  std::vector<std::wstring> load;
  std::set<std::wstring> seen;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY addins;
    if (RegOpenKeyExW(root, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) continue;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(addins, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      if (!seen.insert(name).second) continue;  // the per-user entry decides
      if (load_behavior(addins, name) == 3) load.push_back(name);
    }
    RegCloseKey(addins);
  }
  return load;
}

AddinHost::~AddinHost() { unload_all(); }

int AddinHost::load_all() {
  int connected = 0;
  for (const std::wstring& prog_id : registered_addins())
    connected += connect(prog_id, ext_cm_Startup) ? 1 : 0;
  return connected;
}

int AddinHost::add_all() {
  int connected = 0;
  for (const std::wstring& prog_id : registered_addins())
    if (!is_loaded(prog_id)) connected += connect(prog_id, ext_cm_AfterStartup) ? 1 : 0;
  return connected;
}

bool AddinHost::is_loaded(const std::wstring& prog_id) const {
  for (const Loaded& a : addins_)
    if (a.prog_id == prog_id) return true;
  return false;
}

bool AddinHost::connect(const std::wstring& prog_id, int connect_mode) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(prog_id.c_str(), &clsid);
  IUnknown* object = nullptr;
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(&object));
  if (hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG || hr == REGDB_E_READREGDB)
    hr = create_per_user_class(prog_id, &object);
  IDTExtensibility2* extension = nullptr;
  if (SUCCEEDED(hr)) {
    // The add-in asks the stand-in's model of high contrast and monitor
    // resolution, which Wine cannot give (system_model.h).
    system_model::attach(system_model::module_of(object));
    hr = object->QueryInterface(iid::DTExtensibility2, reinterpret_cast<void**>(&extension));
    object->Release();
  }
  if (FAILED(hr)) {
    log_line(L"add-in " + prog_id + L" not loaded: " + hex(hr));
    return false;
  }
  auto* instance = new AddInInstanceObj(prog_id);
  instance->own();
  EmptyCustom custom;
  hr = extension->OnConnection(static_cast<IDispatch*>(&word_), connect_mode, instance,
                               &custom.array);
  log_line(L"add-in " + prog_id + L" OnConnection(" + std::to_wstring(connect_mode) + L") returned " +
           hex(hr));
  if (FAILED(hr)) {
    // Word lets go of an add-in whose connection failed.
    extension->Release();
    instance->disown();
    return false;
  }
  addins_.push_back({prog_id, extension, instance});
  log_line(L"add-in " + prog_id + L" OnAddInsUpdate returned " + hex(extension->OnAddInsUpdate(&custom.array)));
  // Start-up completes only once, for the add-ins loaded with Word.
  if (connect_mode == ext_cm_Startup)
    log_line(L"add-in " + prog_id + L" OnStartupComplete returned " +
             hex(extension->OnStartupComplete(&custom.array)));
  return true;
}

void AddinHost::disconnect(Loaded& a, int remove_mode) {
  EmptyCustom custom;
  log_line(L"add-in " + a.prog_id + L" OnDisconnection(" + std::to_wstring(remove_mode) + L") returned " +
           hex(a.extension->OnDisconnection(remove_mode, &custom.array)));
  const ULONG left = a.extension->Release();
  log_line(L"add-in " + a.prog_id + L" released, its own count now " + std::to_wstring(left));
  a.instance->disown();
}

int AddinHost::remove_all() {
  std::vector<Loaded> removed;
  removed.swap(addins_);
  for (Loaded& a : removed) disconnect(a, ext_dm_UserClosed);
  return static_cast<int>(removed.size());
}

void AddinHost::unload_all() {
  std::vector<Loaded> loaded;
  loaded.swap(addins_);
  for (Loaded& a : loaded) {
    EmptyCustom custom;
    log_line(L"add-in " + a.prog_id + L" OnBeginShutdown returned " +
             hex(a.extension->OnBeginShutdown(&custom.array)));
    disconnect(a, ext_dm_HostShutdown);
  }
}

}  // namespace standin
