// One line per check, "PASS case: what" or "FAIL case: what -- detail", read
// by run.sh. Test cases register themselves; each runs against a fresh Word.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace standin_test {

struct TestCase {
  const char* name;
  void (*run)();
};

inline std::vector<TestCase>& test_cases() {
  static std::vector<TestCase> cases;
  return cases;
}

struct Registrar {
  Registrar(const char* name, void (*run)()) { test_cases().push_back({name, run}); }
};

inline const char* g_case = "";
inline int g_failures = 0;
inline int g_passes = 0;

inline void expect(bool ok, const std::string& what, const std::string& detail = {}) {
  ++(ok ? g_passes : g_failures);
  std::printf("%s %s: %s%s%s\n", ok ? "PASS" : "FAIL", g_case, what.c_str(),
              ok || detail.empty() ? "" : " -- ", ok ? "" : detail.c_str());
  std::fflush(stdout);
}

inline std::string hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

inline std::string narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

inline void expect_hr(HRESULT got, HRESULT want, const std::string& what) {
  expect(got == want, what, "got " + hex(got) + ", wanted " + hex(want));
}

inline void expect_text(const std::wstring& got, const std::wstring& want, const std::string& what) {
  expect(got == want, what, "got \"" + narrow(got) + "\", wanted \"" + narrow(want) + "\"");
}

inline void expect_number(long got, long want, const std::string& what) {
  expect(got == want, what, "got " + std::to_string(got) + ", wanted " + std::to_string(want));
}

}  // namespace standin_test

#define STANDIN_TEST(name)                                                  \
  static void name();                                                       \
  static ::standin_test::Registrar name##_registrar(#name, &name);          \
  static void name()
