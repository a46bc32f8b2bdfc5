#include "shell_log.h"

#include <windows.h>

#include <cstdio>

namespace standin {

std::wstring shell_log_path() {
  wchar_t dir[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"plovera-shell.log";
}

bool append_shell_log(const std::wstring& url) {
  FILE* f = _wfopen(shell_log_path().c_str(), L"a, ccs=UTF-8");
  if (!f) return false;
  fwprintf(f, L"%ls\n", url.c_str());
  return fclose(f) == 0;
}

std::vector<std::wstring> read_shell_log() {
  std::vector<std::wstring> urls;
  FILE* f = _wfopen(shell_log_path().c_str(), L"r, ccs=UTF-8");
  if (!f) return urls;
  wchar_t line[2048];
  while (fgetws(line, 2048, f)) {
    std::wstring url(line);
    while (!url.empty() && (url.back() == L'\n' || url.back() == L'\r')) url.pop_back();
    if (!url.empty()) urls.push_back(url);
  }
  fclose(f);
  return urls;
}

}  // namespace standin
