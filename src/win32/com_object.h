// The COM boilerplate of this DLL in one place: the module's object and lock
// counts, a reference-counted base for its COM objects, and the IDispatch
// parts that none of them need (type information).
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>

namespace plovera::win32 {

using Microsoft::WRL::ComPtr;

// Live COM objects and IClassFactory::LockServer locks of this DLL.
// DllCanUnloadNow answers S_OK only when both are zero.
namespace module_counts {
void object_created() noexcept;
void object_destroyed() noexcept;
void lock_server(bool lock) noexcept;
long objects() noexcept;
bool idle() noexcept;
}  // namespace module_counts

// QueryInterface into a ComPtr, by an explicit IID (the interfaces declared
// in this project have no __uuidof).
template <class T>
HRESULT query(IUnknown* from, REFIID iid, ComPtr<T>& out) noexcept {
  out.Reset();
  if (!from) return E_POINTER;
  return from->QueryInterface(iid, reinterpret_cast<void**>(out.GetAddressOf()));
}

// IUnknown for a COM object of this DLL implementing `Interface` (and its
// bases). Objects start with one reference, owned by the creator; the
// derived class lists the interfaces it answers in `answers`.
template <class Interface>
class ComObject : public Interface {
 public:
  ComObject() noexcept { module_counts::object_created(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || answers(iid)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() { module_counts::object_destroyed(); }
  virtual bool answers(REFIID iid) const noexcept = 0;

 private:
  std::atomic<ULONG> refs_{1};
};

// A COM object implementing an IDispatch-based interface without a type
// library: callers find members with GetIDsOfNames.
template <class Interface>
class DispatchObject : public ComObject<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
};

// Creates a COM object of this DLL, adopting its initial reference. (Not
// ComPtr::Attach: mingw-w64's Attach takes a reference of its own, unlike
// WRL's, and the object would never be freed.)
template <class T, class... Args>
ComPtr<T> make_com(Args&&... args) {
  ComPtr<T> p;
  *p.GetAddressOf() = new T(std::forward<Args>(args)...);
  return p;
}

}  // namespace plovera::win32
