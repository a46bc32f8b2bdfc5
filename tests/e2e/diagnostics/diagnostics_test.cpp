// The log file and the Win32 outputs of the diagnostics, under Wine. One
// line per check (check.h); "measure NAME: X us" lines give the costs.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/failure_reporter.h"
#include "check.h"
#include "host/error.h"
#include "win32/diagnostics.h"
#include "win32/log_file.h"

using check::expect;
using plovera::win32::LogFile;

namespace {

std::wstring g_root;  // a fresh folder for each case

std::string read_file(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long long size_of(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return -1;
  return (static_cast<long long>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

int lines_of(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

std::wstring folder(const wchar_t* name) { return g_root + L"\\" + name + L"\\Logs"; }

double now_us() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

void bound_and_older_file() {
  LogFile log(folder(L"bound"), 4096);
  const std::string line(97, 'x');
  bool all = true;
  for (int i = 0; i < 500; ++i) all = log.append(line + std::to_string(i % 10)) && all;
  expect(all, "every line of 500 is written while the log rotates");
  const long long now = size_of(log.path()), older = size_of(log.older_path());
  expect(now > 0 && now <= 4096, "the log stays within its bound", std::to_string(now));
  expect(older > 3000 && older <= 4096, "one older file is kept, within the bound", std::to_string(older));
  const std::string text = read_file(log.path());
  expect(text.rfind("\xEF\xBB\xBF", 0) == 0, "a new log starts with the UTF-8 byte-order mark");
  expect(read_file(log.older_path()).rfind("\xEF\xBB\xBF", 0) == 0, "the older file too");
  expect(text.size() > 2 && text.substr(text.size() - 3) == "9\r\n", "the last line is at the end");
  // The real bound: 1 MB, with lines of about 130 bytes.
  LogFile big(folder(L"big"));
  for (int i = 0; i < 9000; ++i) big.append(std::string(100, 'y'));
  const long long size = size_of(big.path()), old = size_of(big.older_path());
  expect(size > 0 && size <= 1024 * 1024 && old > 1000 * 1000 && old <= 1024 * 1024,
         "1 MB: the log and its older file within the bound",
         std::to_string(size) + " and " + std::to_string(old));
}

void long_lines_are_cut_at_a_character() {
  LogFile log(folder(L"long"));
  std::string text;
  while (text.size() < 5000) text += "\xE6\x97\xA5";  // 日, three bytes
  expect(log.append(text), "a 5,000-byte line is written");
  const std::string written = read_file(log.path());
  const std::size_t dots = written.find("...\r\n");
  expect(dots != std::string::npos && (dots - written.find("\xE6\x97\xA5")) % 3 == 0 &&
             dots - written.find("\xE6\x97\xA5") <= LogFile::kMaxLine,
         "it is cut whole characters long, within the longest line, and ends in ...");
}

void unwritable_logs_are_given_up() {
  // A file where the log's folder should be: the folder cannot be made.
  const std::wstring blocked = g_root + L"\\blocked";
  HANDLE f = CreateFileW(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  LogFile no_folder(blocked + L"\\Logs");
  expect(!no_folder.append("line") && no_folder.given_up(), "an uncreatable folder gives the log up");
  expect(!no_folder.append("again"), "and it is not tried again");

  // Another program holds the file open and shares nothing.
  LogFile locked(folder(L"locked"));
  locked.append("first");
  HANDLE lock = CreateFileW(locked.path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  expect(lock != INVALID_HANDLE_VALUE, "the test locks the log");
  expect(!locked.append("second") && locked.given_up(), "a locked log is given up");
  CloseHandle(lock);
  expect(!locked.append("third"), "for the rest of the run");

  LogFile nowhere(L"");
  expect(!nowhere.append("x"), "without a folder nothing is written");
}

void set_dword(HKEY root, const wchar_t* key, DWORD v) {
  HKEY k;
  RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr);
  RegSetValueExW(k, L"Log", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  RegCloseKey(k);
}

void set_string(HKEY root, const wchar_t* key, const wchar_t* v, DWORD type = REG_SZ) {
  HKEY k;
  RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr);
  RegSetValueExW(k, L"Log", 0, type, reinterpret_cast<const BYTE*>(v),
                 static_cast<DWORD>((wcslen(v) + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
}

void settings() {
  const wchar_t* user = L"Software\\Quennix\\Plovera";
  const wchar_t* policy = L"Software\\Policies\\Quennix\\Plovera";
  using plovera::win32::log_turned_on;
  expect(!log_turned_on(), "no setting: the log is off");
  set_dword(HKEY_CURRENT_USER, user, 1);
  expect(log_turned_on(), "Log = 1 (DWORD) turns it on");
  set_string(HKEY_CURRENT_USER, user, L"1");
  expect(!log_turned_on(), "Log as a string counts as unset");
  set_string(HKEY_CURRENT_USER, user, L"\x0001\x0002", REG_BINARY);
  expect(!log_turned_on(), "Log as binary data counts as unset");
  set_dword(HKEY_CURRENT_USER, user, 1);
  set_dword(HKEY_LOCAL_MACHINE, policy, 0);
  expect(!log_turned_on(), "the administrator's policy decides where it is set");
  set_dword(HKEY_CURRENT_USER, user, 0);
  set_dword(HKEY_LOCAL_MACHINE, policy, 1);
  expect(log_turned_on(), "a policy turns it on for a user who did not");
  set_string(HKEY_LOCAL_MACHINE, policy, L"0");
  expect(!log_turned_on(), "a policy of the wrong type is passed over");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, policy);
  RegDeleteKeyW(HKEY_CURRENT_USER, user);
}

plovera::host::Failure failure(const char* member, long code, std::u16string_view text = {}) {
  return {"C:\\build\\src\\tabstrip\\sync.cpp", 64, member, static_cast<std::int32_t>(code), text};
}

void reports_through_the_outputs() {
  plovera::win32::Win32DiagnosticOutputs outputs(true, folder(L"reports"));
  plovera::FailureReporter reporter(outputs);
  for (int i = 0; i < 10000; ++i) reporter.report(failure("Window.Caption", E_FAIL));
  const std::u16string log_path = outputs.log_path();
  const std::wstring path(log_path.begin(), log_path.end());
  expect(lines_of(read_file(path)) == 1, "10,000 equal failures: one line");
  for (int i = 0; i < 10000; ++i) reporter.report(failure("Window.Caption", 0x80000000L + i));
  const int lines = lines_of(read_file(path));
  expect(lines == 1 + static_cast<int>(plovera::FailureReporter::kMaxDistinct),
         "10,000 distinct failures: bounded, with one line that says so", std::to_string(lines));
  expect(size_of(path) < 64 * 1024, "the storm leaves the log small", std::to_string(size_of(path)));

  plovera::win32::Win32DiagnosticOutputs any(true, folder(L"any"));
  plovera::FailureReporter any_reporter(any);
  const std::u16string text = u"line one\r\nline two\ttab \\ \x00e9\x65e5\xD83D\xDE00 lone \xD800 end";
  any_reporter.report(failure("Document.Save", E_FAIL, text));
  const std::u16string any_path = any.log_path();
  const std::string written = read_file(std::wstring(any_path.begin(), any_path.end()));
  expect(lines_of(written) == 1, "any characters: one line");
  expect(written.find("Document.Save 0x80004005 \"line one\\r\\nline two\\ttab \\\\ "
                      "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80 lone \xEF\xBF\xBD end\"") != std::string::npos,
         "written as UTF-8 with line breaks escaped", written);
  expect(written.find("sync.cpp:64") != std::string::npos && written.find("build") == std::string::npos,
         "the place is the file's name, no build folder");

  plovera::win32::Win32DiagnosticOutputs off(false, folder(L"off"));
  plovera::FailureReporter off_reporter(off);
  off_reporter.report(failure("Window.Caption", E_FAIL));
  const std::u16string off_path = off.log_path();
  expect(size_of(std::wstring(off_path.begin(), off_path.end())) < 0,
         "with the log off no file is made");
}

void measure() {
  plovera::win32::Win32DiagnosticOutputs outputs(true, folder(L"cost"));
  plovera::FailureReporter reporter(outputs);
  constexpr int kRuns = 150;
  double start = now_us();
  for (int i = 0; i < kRuns; ++i) reporter.report(failure("Window.Caption", 0x80000000L + i));
  const double report_on = (now_us() - start) / kRuns;
  start = now_us();
  for (int i = 0; i < 10000; ++i) reporter.report(failure("Window.Caption", 0x80000000L + (i % kRuns)));
  const double repeat = (now_us() - start) / 10000;
  const std::u16string line =
      u"start Plovera 1.0.0 64-bit; Word 16.0 build 16.0.4000.1000; a main window per document; 96 dpi, "
      u"screen 1920x1080; UI language 1033";
  start = now_us();
  for (int i = 0; i < kRuns; ++i) reporter.note(line);
  const double start_up_on = (now_us() - start) / kRuns;

  plovera::win32::Win32DiagnosticOutputs quiet(false, folder(L"cost-off"));
  plovera::FailureReporter quiet_reporter(quiet);
  start = now_us();
  for (int i = 0; i < kRuns; ++i) quiet_reporter.report(failure("Window.Caption", 0x80000000L + i));
  const double report_off = (now_us() - start) / kRuns;
  start = now_us();
  for (int i = 0; i < kRuns; ++i) quiet_reporter.note(line);
  const double start_up_off = (now_us() - start) / kRuns;
  std::printf("measure report_log_on_us: %.1f\nmeasure report_log_off_us: %.1f\n"
              "measure repeated_report_us: %.2f\nmeasure start_up_line_log_on_us: %.1f\n"
              "measure start_up_line_log_off_us: %.1f\n",
              report_on, report_off, repeat, start_up_on, start_up_off);
  expect(report_on < 20000, "one report with the log on takes well under 20 ms", std::to_string(report_on));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_root = argv[1];
  CreateDirectoryW(g_root.c_str(), nullptr);
  bound_and_older_file();
  long_lines_are_cut_at_a_character();
  unwritable_logs_are_given_up();
  settings();
  reports_through_the_outputs();
  measure();
  return check::failures == 0 ? 0 : 1;
}
