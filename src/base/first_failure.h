// Runs several steps that must all be tried, keeping the first failure to
// pass on once every step has run: a document that fails to save does not
// stop the others; an element that cannot be moved does not stop the tables
// from being completed.
#pragma once

#include <exception>
#include <source_location>

#include "host/error.h"

namespace plovera {

class FirstFailure {
 public:
  // Runs `step`; a failure is kept if it is the first, and the next step
  // runs. The first failure is reported where it is finally caught; every
  // later one, which goes no further, is reported as caught here.
  // Returns whether the step completed.
  template <class F>
  bool run(F&& step, const std::source_location& where = std::source_location::current()) noexcept {
    try {
      step();
      return true;
    } catch (...) {
      if (!failure_)
        failure_ = std::current_exception();
      else
        report_current_exception(where);
      return false;
    }
  }
  // Throws the first failure kept, if any.
  void rethrow() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  std::exception_ptr failure_;
};

}  // namespace plovera
