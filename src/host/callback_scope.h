// Lifetimes across calls into the add-in.
//
// A call out of the add-in may run a message loop (a popup menu, a save
// prompt, a dialog) in which the host disconnects and releases the add-in.
// Whatever the released state was doing is still on the stack underneath:
// a window procedure, a timer, an event sink, a COM method. So every entry
// from the outside opens a CallbackScope for its duration, and state that is
// let go while any scope is open is destroyed only when the outermost scope
// closes. What a handler on the stack touches after its call out then still
// exists; the logic finds the host released (its calls fail) and unwinds.
//
// Everything here runs on the host's user-interface thread (an STA), as all
// calls into the add-in do; nothing is locked.
#pragma once

#include <utility>

namespace plovera::host {

// Something whose destruction may wait for the stack to unwind: the node of
// CallbackScope's list of pending destructions.
class Deferred {
 public:
  Deferred() noexcept = default;
  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;
  virtual ~Deferred() = default;

 private:
  friend class CallbackScope;
  Deferred* next_pending_ = nullptr;
};

class CallbackScope {
 public:
  CallbackScope() noexcept { ++state().depth; }
  ~CallbackScope() {
    if (--state().depth == 0) destroy_pending();
  }
  CallbackScope(const CallbackScope&) = delete;
  CallbackScope& operator=(const CallbackScope&) = delete;

  // Destroys `d` now when no callback is on the stack, otherwise when the
  // outermost one returns. Takes ownership; null is ignored.
  static void destroy_when_idle(Deferred* d) noexcept {
    if (!d) return;
    State& s = state();
    if (s.depth == 0) {
      CallbackScope destroying;  // a destructor may call out, and so back in
      delete d;
      return;
    }
    d->next_pending_ = s.pending;
    s.pending = d;
  }

  // No callback is on the stack and nothing waits to be destroyed.
  static bool idle() noexcept { return state().depth == 0 && !state().pending; }
  static int depth() noexcept { return state().depth; }

 private:
  struct State {
    int depth = 0;
    Deferred* pending = nullptr;
  };
  static State& state() noexcept {
    static State s;
    return s;
  }
  // Destroys the pending list, newest first, as a callback of its own: what
  // those destructors let go of joins a fresh list, destroyed in the next
  // round.
  static void destroy_pending() noexcept {
    State& s = state();
    ++s.depth;
    while (Deferred* d = std::exchange(s.pending, nullptr)) {
      while (d) delete std::exchange(d, d->next_pending_);
    }
    --s.depth;
  }
};

// One T shared by its users (the host's connection objects): made for the
// first, destroyed when the last one lets go — at once, or when the
// outermost callback on the stack returns. A user who comes after the last
// one left gets a new T, even while the old one still waits.
template <class T>
class SharedState {
 public:
  SharedState() = default;
  SharedState(const SharedState&) = delete;
  SharedState& operator=(const SharedState&) = delete;
  ~SharedState() { delete node_; }

  template <class... Args>
  T& acquire(Args&&... args) {
    if (!node_) node_ = new Node(std::forward<Args>(args)...);
    ++users_;
    return node_->value;
  }
  void release() noexcept {
    if (users_ > 0 && --users_ == 0) CallbackScope::destroy_when_idle(std::exchange(node_, nullptr));
  }
  // A T that users hold now (not one that only waits to be destroyed).
  bool held() const noexcept { return node_ != nullptr; }

 private:
  struct Node final : Deferred {
    template <class... Args>
    explicit Node(Args&&... args) : value(std::forward<Args>(args)...) {}
    T value;
  };
  Node* node_ = nullptr;
  long users_ = 0;
};

}  // namespace plovera::host
