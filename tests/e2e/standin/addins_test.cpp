// Word's add-in host with a recording add-in registered in this process:
// the calls and their modes at start-up, on removal and re-adding in the COM
// Add-ins dialog, and at exit, and that every add-in object is let go.
#include <string>

#include "addins.h"
#include "automation.h"
#include "check.h"
#include "guids.h"

namespace standin_test {
namespace {

constexpr wchar_t kProgId[] = L"StandinTest.Recorder";
constexpr CLSID kClsid = {0x5d1c2a47, 0x93b0, 0x4f6e, {0x8a, 0x1d, 0x27, 0x6c, 0x40, 0xe9, 0x15, 0xb3}};

// What every recording add-in object was told, in order, as one line.
std::string g_calls;
void record(const std::string& call) { g_calls += (g_calls.empty() ? "" : " ") + call; }

class RecordingAddin final : public standin::IDTExtensibility2 {
 public:
  RecordingAddin() { record("created"); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != standin::iid::DTExtensibility2) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<standin::IDTExtensibility2*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (--refs_ > 0) return refs_;
    record("destroyed");
    delete this;
    return 0;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* app, LONG mode, IDispatch* instance, SAFEARRAY**) override {
    const std::string host = app ? standin_test::narrow(get_text(app, L"Name")) : "none";
    const std::string prog_id = instance ? standin_test::narrow(get_text(instance, L"ProgId")) : "none";
    record("OnConnection(" + std::to_string(mode) + "," + host + "," + prog_id + ")");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDisconnection(LONG mode, SAFEARRAY**) override {
    record("OnDisconnection(" + std::to_string(mode) + ")");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { record("OnAddInsUpdate"); return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { record("OnStartupComplete"); return S_OK; }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { record("OnBeginShutdown"); return S_OK; }

 private:
  ULONG refs_ = 0;
};

// Makes a new recording add-in for every CoCreateInstance of kClsid.
class RecorderFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the test
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* addin = new RecordingAddin;
    addin->AddRef();
    const HRESULT hr = addin->QueryInterface(iid, out);
    addin->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

// The recorder's class in this process, its ProgID and its Word add-in entry
// (LoadBehavior 3), for the length of one test.
struct RegisteredRecorder {
  RecorderFactory factory;
  DWORD cookie = 0;
  const std::wstring addin_key = std::wstring(L"Software\\Microsoft\\Office\\Word\\Addins\\") + kProgId;
  RegisteredRecorder() {
    CoRegisterClassObject(kClsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    wchar_t clsid[40];
    StringFromGUID2(kClsid, clsid, 40);
    const std::wstring clsid_key = std::wstring(kProgId) + L"\\CLSID";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, clsid_key.c_str(), nullptr, REG_SZ, clsid,
                    static_cast<DWORD>((wcslen(clsid) + 1) * sizeof(wchar_t)));
    const DWORD load_behavior = 3;
    RegSetKeyValueW(HKEY_CURRENT_USER, addin_key.c_str(), L"LoadBehavior", REG_DWORD, &load_behavior,
                    sizeof load_behavior);
  }
  ~RegisteredRecorder() {
    RegDeleteTreeW(HKEY_CURRENT_USER, addin_key.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    if (cookie) CoRevokeClassObject(cookie);
  }
};

// The calls recorded since the last look.
std::string take_calls() {
  std::string calls;
  calls.swap(g_calls);
  return calls;
}

void expect_calls(const std::string& want, const std::string& what) {
  const std::string got = take_calls();
  expect(got == want, what, "got \"" + got + "\"");
}

STANDIN_TEST(add_ins_are_removed_and_added_back_while_word_runs) {
  RegisteredRecorder recorder;
  WordFixture f;
  standin::AddinHost host(*f.word);
  take_calls();
  expect_number(host.load_all(), 1, "the registered recorder connects at start-up");
  expect_calls("created OnConnection(1,Microsoft Word,StandinTest.Recorder) OnAddInsUpdate OnStartupComplete",
               "at start-up: ext_cm_Startup with Word and its add-in instance, then start-up completes");
  expect_number(host.remove_all(), 1, "removing lets go of the one connected add-in");
  expect_calls("OnDisconnection(1) destroyed", "removed: ext_dm_UserClosed, then Word's last Release");
  expect_number(host.remove_all(), 0, "nothing is left to remove");
  expect_calls("", "a second removal calls nothing");
  expect_number(host.add_all(), 1, "adding back connects the registered add-in");
  expect_calls("created OnConnection(0,Microsoft Word,StandinTest.Recorder) OnAddInsUpdate",
               "added: a new object, ext_cm_AfterStartup, and no OnStartupComplete");
  expect_number(host.add_all(), 0, "an add-in already connected is not added twice");
  expect_calls("", "a second adding calls nothing");
  host.unload_all();
  expect_calls("OnBeginShutdown OnDisconnection(0) destroyed", "at exit: shut down, ext_dm_HostShutdown, released");
  expect_number(references_held(), 0, "Word's add-in instances are gone with the add-ins");
}

}  // namespace
}  // namespace standin_test
