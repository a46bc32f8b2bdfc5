// Office's add-in connection interface, declared here because the mingw-w64
// headers lack it. It is dual: the five methods follow IDispatch in the
// vtable (slots 7 to 11) and are also reachable through Invoke with DISPIDs
// 1 to 5, since it is not documented which path Office takes.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace plovera::win32 {

// ext_ConnectMode and ext_DisconnectMode are 32-bit enums in the vtable.
struct IDTExtensibility2 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, LONG ConnectMode,
                                                 IDispatch* AddInInst, SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDisconnection(LONG RemoveMode, SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

namespace extensibility_dispid {
inline constexpr DISPID OnConnection = 1;
inline constexpr DISPID OnDisconnection = 2;
inline constexpr DISPID OnAddInsUpdate = 3;
inline constexpr DISPID OnStartupComplete = 4;
inline constexpr DISPID OnBeginShutdown = 5;
}  // namespace extensibility_dispid

}  // namespace plovera::win32
