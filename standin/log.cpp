#include "log.h"

#include <windows.h>

#include <cstdio>

namespace standin {
namespace {

FILE* g_file = nullptr;
CRITICAL_SECTION g_lock;

}  // namespace

void open_log(const std::wstring& path) {
  InitializeCriticalSection(&g_lock);
  g_file = _wfopen(path.c_str(), L"w, ccs=UTF-8");
}

void log_line(const std::wstring& line) {
  if (!g_file) return;
  EnterCriticalSection(&g_lock);
  fwprintf(g_file, L"%8lu %ls\n", GetTickCount(), line.c_str());
  fflush(g_file);
  LeaveCriticalSection(&g_lock);
}

std::wstring hex(long value) {
  wchar_t buf[16];
  swprintf(buf, 16, L"0x%08lX", static_cast<unsigned long>(value));
  return buf;
}

}  // namespace standin
