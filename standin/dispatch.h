// IDispatch for the stand-in's objects: members resolved by name
// (case-insensitively, as Word's type library does) to Word's own DISPIDs,
// arguments read in declared order from the reversed DISPPARAMS.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>

#include "com_object.h"

namespace standin {

struct Member {
  const wchar_t* name;
  DISPID id;
};

// The arguments of one Invoke, in declared order (index 0 = first parameter).
// Omitted optional arguments (missing, or VT_ERROR DISP_E_PARAMNOTFOUND) read
// as absent; by-reference variants are followed.
class Args {
 public:
  Args(const DISPPARAMS* params, WORD flags);
  bool is_get() const { return (flags_ & DISPATCH_PROPERTYGET) != 0; }
  bool is_put() const { return (flags_ & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
  bool is_method() const { return (flags_ & DISPATCH_METHOD) != 0; }

  bool has(unsigned i) const { return at(i) != nullptr; }
  long as_long(unsigned i) const;
  bool as_bool(unsigned i) const;
  std::wstring as_string(unsigned i) const;
  const VARIANT* at(unsigned i) const;

  // The value of a property put.
  long put_long() const;
  bool put_bool() const;
  std::wstring put_string() const;

 private:
  const VARIANT* put_value() const;
  const DISPPARAMS* params_;
  WORD flags_;
  unsigned positional_;
};

class DispatchObject : public IDispatch, public Counted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return add_ref(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* arg_err) override;

  // Every later call on the object fails, as on a closed Word window.
  void disconnect() noexcept { connected_ = false; }
  bool connected() const noexcept { return connected_; }

  // Whether `name` (case-insensitive) is one of this object's members with `id`.
  bool has_member(const wchar_t* name, DISPID id) const;
  // The object's 1-based place in Word's list of its kind (windows,
  // documents), 0 for objects that are not listed.
  virtual int ordinal() const { return 0; }

 protected:
  DispatchObject(std::span<const Member> members, std::span<const IID> iids);
  // Carries out member `id`; throws ComError. `result` may be null.
  virtual void call(DISPID id, const Args& args, VARIANT* result) = 0;
  // Interfaces beyond IUnknown/IDispatch/the dual IIDs (connection points).
  virtual void* other_interface(REFIID) { return nullptr; }

 private:
  HRESULT invoke_member(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep);
  std::span<const Member> members_;
  std::span<const IID> iids_;
  bool connected_ = true;
};

// Calls of the add-ins into Word's objects that have not returned yet (a
// member that runs a message loop: a popup menu, a prompt, a dialog).
int calls_in_progress();

// Results.
void put_long(VARIANT* result, long v);
void put_bool(VARIANT* result, bool v);
void put_string(VARIANT* result, const std::wstring& v);
void put_object(VARIANT* result, IDispatch* v);  // takes a reference for the caller

}  // namespace standin
