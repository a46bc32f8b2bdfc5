// One line per check, "PASS what" or "FAIL what (detail)", read by run.sh,
// which counts them. A program exits non-zero when any check failed.
#pragma once

#include <cstdio>
#include <string>

#include "host/error.h"

namespace check {

inline int failures = 0;

inline void expect(bool ok, const std::string& what, const std::string& detail = {}) {
  if (!ok) ++failures;
  std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", what.c_str(),
              ok || detail.empty() ? "" : " -- ", ok ? "" : detail.c_str());
  std::fflush(stdout);
}

inline std::string hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

inline void expect_status(long actual, long wanted, const std::string& what) {
  expect(actual == wanted, what, "got " + hex(actual) + ", wanted " + hex(wanted));
}

// What `f` threw: its code and member, or code 0 when it returned normally.
struct Thrown {
  long code = 0;
  std::string member;
};
template <class F>
Thrown thrown_by(F&& f) {
  try {
    f();
  } catch (const plovera::host_error& e) {
    return {e.code(), e.member() ? e.member() : ""};
  } catch (...) {
    return {-1, "(not a host_error)"};
  }
  return {};
}

inline void expect_thrown(const Thrown& t, long code, const char* member, const std::string& what) {
  expect(t.code == code && t.member == member, what,
         "threw " + hex(t.code) + " " + t.member + ", wanted " + hex(code) + " " + member);
}

}  // namespace check
