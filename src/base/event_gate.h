// Lets handlers run one at a time. A call into Word may run a message loop
// (the save prompt of Close, the popup menu, the save-as dialog) in which
// timer ticks and mouse events arrive; those are skipped rather than run
// nested on top of a half-finished operation.
#pragma once

#include "base/scope_exit.h"

namespace plovera {

class EventGate {
 public:
  // Runs `body` unless another handler is on the stack.
  template <class F>
  void run(F&& body) {
    if (busy_) return;
    busy_ = true;
    ScopeExit reopen([this] { busy_ = false; });
    body();
  }
  bool busy() const noexcept { return busy_; }

 private:
  bool busy_ = false;
};

}  // namespace plovera
