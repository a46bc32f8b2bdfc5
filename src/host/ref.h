// Counted references to host objects (Word's windows, documents, command
// bars, ...). A host object counts its own references, as a COM object does;
// Ref<T> is the move-aware smart pointer that holds one. Copying a Ref adds a
// reference, destroying one releases it, so compacting a table of Refs keeps
// the counts right with no extra code.
#pragma once

#include <cstddef>
#include <utility>

namespace plovera::host {

class Object {
 public:
  virtual void add_ref() noexcept = 0;
  virtual void release() noexcept = 0;

 protected:
  ~Object() = default;
};

template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  // Takes a new reference on `p`.
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->add_ref();
  }
  // Adopts a reference that the caller already holds.
  static Ref adopt(T* p) noexcept {
    Ref r;
    r.p_ = p;
    return r;
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& o) noexcept : Ref(o.get()) {}
  ~Ref() { reset(); }

  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->release();
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Identity: the same host object. Backends hand out the same object for the
  // same Word window every time, so this is a pointer comparison.
  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace plovera::host
