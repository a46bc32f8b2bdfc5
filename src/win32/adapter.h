// The base of the adapters that implement the host/word.h interfaces over
// IDispatch: a host reference count, the wrapped object, and identity.
//
// Identity: the logic compares Ref<Window> by pointer, so the same Word
// object must always come back as the same adapter. wrap<T>() keeps, per
// adapter type, a table from the object's canonical IUnknown to its live
// adapter; an adapter leaves the table when its last Ref goes. The tab bar
// polls Word 100 times a second, so a hit allocates nothing and costs the
// same however many windows Word has.
//
// Lifetime: the last Ref's release lets go of Word's object at once, but the
// adapter itself is destroyed only when no callback into the add-in is on
// the stack (host/callback_scope.h). The logic may hold an adapter by plain
// reference across a call into Word in which Word releases the add-in and
// with it the last Ref; such an adapter answers every later call with
// host_error(disconnected) instead of being freed memory.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <utility>
#include <unordered_map>

#include "host/callback_scope.h"
#include "host/ref.h"
#include "win32/com_object.h"

namespace plovera::win32 {

// The canonical IUnknown of `object`, used only as a key: the reference the
// query takes is dropped at once, the caller's reference keeps it valid.
inline IUnknown* identity_of(IUnknown* object) noexcept {
  ComPtr<IUnknown> unknown;
  if (FAILED(query(object, IID_IUnknown, unknown))) return object;
  return unknown.Get();
}

// Live adapters of one type by identity. Word's objects live on one thread,
// so there is no locking.
template <class AdapterT>
class IdentityTable {
 public:
  static IdentityTable& instance() noexcept {
    static IdentityTable table;
    return table;
  }
  AdapterT* find(IUnknown* key) const noexcept {
    const auto at = entries_.find(key);
    return at == entries_.end() ? nullptr : at->second;
  }
  void add(IUnknown* key, AdapterT* adapter) { entries_.emplace(key, adapter); }
  void remove(IUnknown* key) noexcept { entries_.erase(key); }
  std::size_t size() const noexcept { return entries_.size(); }

 private:
  // Hashed, so a read of one of a thousand windows costs what a read of one
  // does.
  std::unordered_map<IUnknown*, AdapterT*> entries_;
};

// `Self` is the adapter class (CRTP), `Interface` the host interface it
// implements. Adapters are made by wrap<Self>() only; their constructor takes
// (ComPtr<IDispatch>, IUnknown* identity).
template <class Self, class Interface>
class Adapter : public Interface, private host::Deferred {
 public:
  using host_type = Interface;

  void add_ref() noexcept override { ++refs_; }
  void release() noexcept override {
    if (--refs_ != 0) return;
    leave_table();
    object_.Reset();
    host::CallbackScope::destroy_when_idle(this);
  }
  IDispatch* dispatch() const noexcept { return object_.Get(); }

  // Public so that `using Adapter::Adapter` makes it callable by wrap().
  Adapter(ComPtr<IDispatch> object, IUnknown* identity) noexcept
      : object_(std::move(object)), identity_(identity) {}

 protected:
  ~Adapter() override { leave_table(); }

  ComPtr<IDispatch> object_;  // empty once the last Ref has gone

 private:
  void leave_table() noexcept {
    if (identity_) IdentityTable<Self>::instance().remove(std::exchange(identity_, nullptr));
  }

  IUnknown* identity_;
  std::uint32_t refs_ = 1;
};

// The adapter of type T for `object`: the live one if there is one, else a
// new one.
template <class T>
host::Ref<typename T::host_type> wrap(ComPtr<IDispatch> object) {
  using Ref = host::Ref<typename T::host_type>;
  IUnknown* key = identity_of(object.Get());
  auto& table = IdentityTable<T>::instance();
  if (T* live = table.find(key)) return Ref(live);
  T* fresh = new T(std::move(object), key);
  try {
    table.add(key, fresh);
  } catch (...) {
    fresh->release();
    throw;
  }
  return Ref::adopt(fresh);
}

}  // namespace plovera::win32
