// Runs a cleanup when a scope ends, however it ends (normally or by an
// exception): the one scope guard of the add-in.
#pragma once

#include <utility>

namespace plovera {

template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

}  // namespace plovera
