// Runs every registered test case, each with the windows it creates, and
// prints "N passed, M failed".
#include <windows.h>
#include <ole2.h>

#include "check.h"

int wmain() {
  OleInitialize(nullptr);
  for (const auto& test : standin_test::test_cases()) {
    standin_test::g_case = test.name;
    test.run();
  }
  OleUninitialize();
  std::printf("%d passed, %d failed\n", standin_test::g_passes, standin_test::g_failures);
  return standin_test::g_failures == 0 ? 0 : 1;
}
