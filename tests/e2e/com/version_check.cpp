// The version resource of a DLL as Windows reads it (GetFileVersionInfoW,
// what Explorer's Properties > Details and inventory tools call): every
// NAME=VALUE given must be a string of its US-English string table, and the
// fixed part must say DLL and carry the numbers of "FileVersion" as file and
// product version.
// Usage: version_check.exe DLL NAME=VALUE...
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check.h"

using check::expect;

namespace {

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// A string of the 0409/1200 (US English, Unicode) table; null when absent.
const wchar_t* string_value(const std::vector<BYTE>& block, const std::wstring& name) {
  const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return nullptr;
  return static_cast<const wchar_t*>(value);
}

std::wstring dotted(DWORD high, DWORD low) {
  return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
         std::to_wstring(HIWORD(low));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: version_check DLL NAME=VALUE...\n");
    return 2;
  }
  const std::wstring dll = argv[1];
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(dll.c_str(), &ignored);
  expect(size > 0, "version resource of " + narrow(dll) + " readable",
         "GetFileVersionInfoSizeW failed: " + std::to_string(GetLastError()));
  if (size == 0) return 1;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(dll.c_str(), 0, size, block.data())) {
    expect(false, "GetFileVersionInfoW", std::to_string(GetLastError()));
    return 1;
  }

  for (int i = 2; i < argc; ++i) {
    const std::wstring pair = argv[i];
    const size_t equals = pair.find(L'=');
    if (equals == std::wstring::npos) continue;
    const std::wstring name = pair.substr(0, equals), wanted = pair.substr(equals + 1);
    const wchar_t* actual = string_value(block, name);
    expect(actual && wanted == actual, "version string " + narrow(name) + " = " + narrow(wanted),
           actual ? "got '" + narrow(actual) + "'" : "absent");
  }

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  const bool has_fixed = VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed),
                                        &length) &&
                         fixed && length >= sizeof(VS_FIXEDFILEINFO);
  expect(has_fixed && fixed->dwSignature == 0xFEEF04BD, "fixed version information present");
  if (!has_fixed) return 1;
  expect(fixed->dwFileType == VFT_DLL, "file type is DLL");
  const wchar_t* version = string_value(block, L"FileVersion");
  const std::wstring text = version ? version : L"";
  expect(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) == text,
         "fixed file version = FileVersion " + narrow(text),
         "got " + narrow(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS)));
  expect(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS) == text,
         "fixed product version = FileVersion " + narrow(text),
         "got " + narrow(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS)));
  return check::failures == 0 ? 0 : 1;
}
