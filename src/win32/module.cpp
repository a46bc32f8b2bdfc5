// DllMain, the class factory of Connect, DllGetClassObject, DllCanUnloadNow
// and the module state.
#include "win32/window_system.h"

#include "win32/module.h"

#include "addin/addin.h"
#include "host/callback_scope.h"
#include "host/error.h"
#include "win32/com_object.h"
#include "win32/connect_object.h"
#include "win32/diagnostics.h"
#include "win32/form_engine.h"
#include "win32/guids.h"

namespace plovera::win32 {

namespace {

HINSTANCE g_instance = nullptr;

struct ModuleState {
  explicit ModuleState(HINSTANCE dll) : winsys(dll), forms(dll), addin(HostServices{winsys, forms}) {}
  Win32WindowSystem winsys;
  Win32FormEngine forms;
  Addin addin;  // last: it uses the two above until it is gone
};

// Word's user-interface thread is the only one that creates Connect objects.
// The state of a connection that Word let go of inside one of the add-in's
// own calls waits until that call has returned (host/callback_scope.h).
host::SharedState<ModuleState> g_state;

class ConnectFactory final : public ComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override {
    const host::CallbackScope scope;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    HRESULT hr = E_UNEXPECTED;
    const status_t created = boundary_guard([&] {
      ComPtr<ConnectObject> object = make_com<ConnectObject>();
      hr = object->QueryInterface(iid, out);
    });
    return failed(created) ? created : hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    module_counts::lock_server(lock != FALSE);
    return S_OK;
  }

 private:
  bool answers(REFIID iid) const noexcept override { return iid == IID_IClassFactory; }
};

}  // namespace

namespace module {

HINSTANCE instance() noexcept { return g_instance; }

Addin& acquire_addin() { return g_state.acquire(g_instance).addin; }

void release_addin() noexcept { g_state.release(); }

bool addin_idle() noexcept { return !g_state.held() && host::CallbackScope::idle(); }

}  // namespace module

}  // namespace plovera::win32

using namespace plovera::win32;

// Thread notifications stay on: the statically linked C runtime uses them.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  // Unloaded by FreeLibrary (not at the process's end): the provider is
  // unregistered before the DLL's code goes.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) stop_diagnostics();
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_Connect) return CLASS_E_CLASSNOTAVAILABLE;
  start_diagnostics();
  HRESULT hr = E_UNEXPECTED;
  const plovera::status_t made = plovera::boundary_guard([&] {
    ComPtr<ConnectFactory> factory = make_com<ConnectFactory>();
    hr = factory->QueryInterface(iid, out);
  });
  return plovera::failed(made) ? made : hr;
}

// Not while an add-in state lives or waits for a callback to return: its
// windows and code would outlive the DLL.
STDAPI DllCanUnloadNow() {
  return module_counts::idle() && module::addin_idle() ? S_OK : S_FALSE;
}
