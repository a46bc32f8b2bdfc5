// The stand-in Word for end-to-end tests under Wine.
//
//   standin.exe [--version 12.0] [--sdi on|off] [--size 1000x700] [--at 0,0]
//               [--scenario FILE --out DIR]
//   standin.exe --record-url URL
//   standin.exe --decoy PID:X,Y,W,H:active|aside   (the decoy Word, decoy.h)
//
// Without a scenario it starts like Word (loads the add-ins, raises the
// start-up events) and runs until its main window is closed. --sdi chooses
// a frame per document window (the default from version 15 on). --decoy
// is another Word process for scenarios (decoy.h).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "decoy.h"
#include "frame.h"
#include "dispatch_meter.h"
#include "log.h"
#include "runner.h"
#include "scenario.h"
#include "session.h"
#include "shell_log.h"
#include "ui_bridge.h"

namespace standin {
namespace {

struct CommandLine {
  WordOptions word;
  std::wstring scenario_file;
  std::wstring out_dir = L".";
  std::wstring record_url;
  std::wstring decoy;
  std::wstring error;
};

CommandLine parse_command_line() {
  CommandLine c;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) { c.error = L"missing value after " + arg; break; }
    ++i;
    if (arg == L"--version") c.word.version = value;
    else if (arg == L"--scenario") c.scenario_file = value;
    else if (arg == L"--out") c.out_dir = value;
    else if (arg == L"--record-url") c.record_url = value;
    else if (arg == L"--decoy") c.decoy = value;
    else if (arg == L"--sdi") {
      const std::wstring on = value;
      if (on != L"on" && on != L"off") c.error = L"--sdi wants on or off";
      c.word.sdi = on == L"on";
    }
    else if (arg == L"--size") {
      int w = 0, h = 0;
      if (swscanf(value, L"%dx%d", &w, &h) != 2) c.error = L"--size wants WIDTHxHEIGHT";
      c.word.placement.right = c.word.placement.left + w;
      c.word.placement.bottom = c.word.placement.top + h;
    } else if (arg == L"--at") {
      int x = 0, y = 0;
      if (swscanf(value, L"%d,%d", &x, &y) != 2) c.error = L"--at wants X,Y";
      OffsetRect(&c.word.placement, x - c.word.placement.left, y - c.word.placement.top);
    } else {
      c.error = L"unknown option " + arg;
    }
  }
  LocalFree(argv);
  return c;
}

bool read_text_file(const std::wstring& path, std::wstring& text) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return false;
  std::string bytes;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
  fclose(f);
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  text.assign(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
  return true;
}

// Command bars persist here between runs, as Word keeps them in its template.
std::wstring command_bar_file() {
  wchar_t appdata[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appdata))) return L"";
  const std::wstring dir = std::wstring(appdata) + L"\\StandinWord";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir + L"\\commandbars.txt";
}

void report(const std::wstring& text) {
  fwprintf(stderr, L"%ls\n", text.c_str());
  log_line(text);
}

struct RunnerThread {
  Runner* runner;
  UiBridge* bridge;
  int result = 1;
  static DWORD WINAPI main(void* p) {
    auto* self = static_cast<RunnerThread*>(p);
    self->result = self->runner->run();
    self->bridge->post([] { PostQuitMessage(0); });
    return 0;
  }
};

int run_program(HINSTANCE instance, CommandLine& c, const Scenario* scenario) {
  Session session(instance, c.word);
  UiBridge bridge;
  const bool interactive = scenario == nullptr;
  session.word().on_close_requested = [&] {
    session.quit();
    if (interactive) PostQuitMessage(0);
  };
  RunnerThread thread_state{nullptr, &bridge};
  HANDLE thread = nullptr;
  std::unique_ptr<Runner> runner;
  if (interactive) {
    session.start(true);
  } else {
    runner = std::make_unique<Runner>(session, bridge, *scenario, c.out_dir);
    thread_state.runner = runner.get();
    thread = CreateThread(nullptr, 0, &RunnerThread::main, &thread_state, 0, nullptr);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    dispatch_meter().dispatch(msg);
  }
  session.quit();
  if (!thread) return 0;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return thread_state.result;
}

}  // namespace
}  // namespace standin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace standin;
  CommandLine c = parse_command_line();
  if (!c.error.empty()) {
    fwprintf(stderr, L"standin: %ls\n", c.error.c_str());
    return 2;
  }
  if (!c.record_url.empty()) return append_shell_log(c.record_url) ? 0 : 1;
  if (!c.decoy.empty()) return run_decoy(c.decoy);
  c.word.command_bar_file = command_bar_file();
  open_log(c.out_dir + L"\\standin.log");
  Scenario scenario;
  if (!c.scenario_file.empty()) {
    std::wstring text;
    if (!read_text_file(c.scenario_file, text)) {
      report(L"standin: cannot read " + c.scenario_file);
      return 2;
    }
    scenario = parse_scenario(text);
    if (!scenario.error.empty()) {
      report(L"standin: " + c.scenario_file + L": " + scenario.error);
      return 2;
    }
  }
  OleInitialize(nullptr);
  const int result = run_program(instance, c, c.scenario_file.empty() ? nullptr : &scenario);
  OleUninitialize();
  log_line(result == 0 ? L"scenario passed" : L"scenario failed");
  return result;
}
