// The adapters, event sinks and window system of the add-in, driven in
// process. Usage: host_test.exe <folder of this program> <screen dpi>
#include "win32/window_system.h"

#include <objbase.h>

#include <cstdlib>
#include <new>
#include <string>

#include "check.h"

// Every allocation through operator new, so that tests can show that a path
// allocates nothing.
long g_allocations = 0;

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

void word_adapter_tests();
void event_sink_tests();
void window_system_tests(const std::u16string& folder, int dpi);

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::printf("FAIL host_test usage: host_test.exe <folder> <dpi>\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  word_adapter_tests();
  event_sink_tests();
  window_system_tests(reinterpret_cast<const char16_t*>(argv[1]), _wtoi(argv[2]));
  CoUninitialize();
  return check::failures ? 1 : 0;
}
