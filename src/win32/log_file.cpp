#include "win32/log_file.h"

#include <shlobj.h>

#include <cstdio>

namespace plovera::win32 {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// "2026-12-08 01:23:45.678 [1234] ": local time, as the user reads the clock.
std::string line_prefix() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds,
                static_cast<unsigned long>(GetCurrentProcessId()));
  return text;
}

// Cut at a character's boundary: never in the middle of a UTF-8 sequence.
std::string_view cut(std::string_view line, std::size_t max) {
  if (line.size() <= max) return line;
  std::size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80) --n;
  return line.substr(0, n);
}

}  // namespace

LogFile::LogFile(std::wstring folder, std::uint64_t limit)
    : folder_(std::move(folder)), limit_(limit) {
  if (folder_.empty()) {
    given_up_ = true;
    return;
  }
  path_ = folder_ + L"\\plovera.log";
  older_ = folder_ + L"\\plovera.old.log";
}

bool LogFile::make_folder() noexcept {
  if (folder_made_) return true;
  const std::size_t last = folder_.find_last_of(L'\\');
  if (last != std::wstring::npos && last > 0) CreateDirectoryW(folder_.substr(0, last).c_str(), nullptr);
  if (!CreateDirectoryW(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  folder_made_ = true;
  return true;
}

HANDLE LogFile::open() noexcept {
  return CreateFileW(path_.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool LogFile::write(HANDLE file, std::string_view bytes) noexcept {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool LogFile::append(std::string_view utf8_line) noexcept {
  if (given_up_) return false;
  try {
    const std::string_view body = cut(utf8_line, kMaxLine);
    std::string line = line_prefix();
    line.append(body);
    if (body.size() < utf8_line.size()) line += "...";
    line += "\r\n";
    if (!make_folder()) {
      given_up_ = true;
      return false;
    }
    HANDLE file = open();
    LARGE_INTEGER size{};
    if (file != INVALID_HANDLE_VALUE && !GetFileSizeEx(file, &size)) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
    }
    // Full: the file becomes the older one (replacing it) and a new one
    // starts. A file that cannot be moved aside is not written past its bound.
    if (file != INVALID_HANDLE_VALUE &&
        static_cast<std::uint64_t>(size.QuadPart) + line.size() + (size.QuadPart ? 0 : 3) > limit_) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
      if (MoveFileExW(path_.c_str(), older_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        file = open();
        size.QuadPart = 0;
      }
    }
    if (file == INVALID_HANDLE_VALUE) {
      given_up_ = true;
      return false;
    }
    // A new file starts with the byte-order mark, so that every editor reads it as UTF-8.
    bool ok = size.QuadPart != 0 || write(file, kBom);
    ok = ok && write(file, line);
    CloseHandle(file);
    if (!ok) given_up_ = true;
    return ok;
  } catch (...) {
    given_up_ = true;
    return false;
  }
}

std::wstring default_log_folder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)) ||
      base[0] == 0)
    return {};
  return std::wstring(base) + L"\\Plovera\\Logs";
}

}  // namespace plovera::win32
