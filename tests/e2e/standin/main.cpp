// Runs every registered test case, each with the windows it creates, and
// prints "N passed, M failed". With `--decoy PID:X,Y,W,H:active|aside` it is the decoy Word that
// a test starts (as standin.exe is for the scenarios).
#include <windows.h>
#include <ole2.h>

#include <cwchar>

#include "check.h"
#include "decoy.h"

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"--decoy") == 0) return standin::run_decoy(argv[2]);
  OleInitialize(nullptr);
  for (const auto& test : standin_test::test_cases()) {
    standin_test::g_case = test.name;
    test.run();
  }
  OleUninitialize();
  std::printf("%d passed, %d failed\n", standin_test::g_passes, standin_test::g_failures);
  return standin_test::g_failures == 0 ? 0 : 1;
}
