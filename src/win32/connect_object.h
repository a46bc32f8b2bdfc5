// The COM class Connect (ProgID quennix.Connect): Word's entry point into the
// add-in. It implements IDTExtensibility2 both through the vtable and through
// IDispatch::Invoke, and hands the connection and disconnection to the
// add-in's Connect logic. No exception and no C++ type crosses into Word.
#pragma once

#include "addin/connect.h"
#include "win32/com_object.h"
#include "win32/extensibility.h"

namespace plovera::win32 {

class ConnectObject final : public DispatchObject<IDTExtensibility2> {
 public:
  ConnectObject();  // joins the module's add-in state (module::acquire_addin)

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, LONG ConnectMode,
                                         IDispatch* AddInInst,
                                         SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnDisconnection(LONG RemoveMode, SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) noexcept override { return S_OK; }

  // OnConnection .. OnBeginShutdown are DISPIDs 1 to 5; aa is DISPID 6.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* arg_error) noexcept override;

 private:
  ~ConnectObject() override;  // leaves the module's add-in state
  bool answers(REFIID iid) const noexcept override;
  HRESULT invoke_method(DISPID id, DISPPARAMS& params, UINT* arg_error) noexcept;

  Connect logic_;
};

}  // namespace plovera::win32
