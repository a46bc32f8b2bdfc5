// DllMain, the class factory of Connect, DllGetClassObject, DllCanUnloadNow
// and the module state.
#include "win32/window_system.h"

#include "win32/module.h"

#include <utility>

#include "addin/addin.h"
#include "host/error.h"
#include "win32/com_object.h"
#include "win32/connect_object.h"
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
ModuleState* g_state = nullptr;
long g_addin_users = 0;

class ConnectFactory final : public ComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override {
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

Addin& acquire_addin() {
  if (!g_state) g_state = new ModuleState(g_instance);
  ++g_addin_users;
  return g_state->addin;
}

void release_addin() noexcept {
  if (--g_addin_users == 0) delete std::exchange(g_state, nullptr);
}

}  // namespace module

}  // namespace plovera::win32

using namespace plovera::win32;

// Thread notifications stay on: the statically linked C runtime uses them.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_Connect) return CLASS_E_CLASSNOTAVAILABLE;
  HRESULT hr = E_UNEXPECTED;
  const plovera::status_t made = plovera::boundary_guard([&] {
    ComPtr<ConnectFactory> factory = make_com<ConnectFactory>();
    hr = factory->QueryInterface(iid, out);
  });
  return plovera::failed(made) ? made : hr;
}

STDAPI DllCanUnloadNow() { return module_counts::idle() ? S_OK : S_FALSE; }
