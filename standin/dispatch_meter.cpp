#include "dispatch_meter.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <intrin.h>

#include "log.h"
#include "win32/bar_instruments.h"

namespace standin {
namespace {

// The scenario's steps reach Word's thread as requests to this window.
constexpr wchar_t kStepWindowClass[] = L"StandinScenarioBridge";

// Linux counts processor time in clock ticks of 1/100 s (USER_HZ).
constexpr double kMsPerClockTick = 10.0;

// A whole (small) file read through Wine's Z: drive, "" when it cannot be.
std::string read_unix_file(const std::wstring& path) {
  HANDLE f = CreateFileW((L"Z:" + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "";
  std::string text;
  char buf[4096];
  DWORD n = 0;
  while (text.size() < 1 << 20 && ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) text.append(buf, n);
  CloseHandle(f);
  return text;
}

// The scheduler's own account of every thread's processor time, in
// nanoseconds (the first field of /proc/<pid>/task/<tid>/schedstat); -1 when
// the kernel keeps none. A thread that ends between two readings takes its
// time with it, which an idle process does not do.
double schedstat_cpu_ms(const std::wstring& proc_dir) {
  WIN32_FIND_DATAW entry;
  HANDLE list = FindFirstFileW((L"Z:" + proc_dir + L"\\task\\*").c_str(), &entry);
  if (list == INVALID_HANDLE_VALUE) return -1;
  double total_ns = 0;
  int threads = 0;
  do {
    if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
    const std::string line = read_unix_file(proc_dir + L"\\task\\" + entry.cFileName + L"\\schedstat");
    char* end = nullptr;
    const double ns = std::strtod(line.c_str(), &end);
    if (end == line.c_str()) continue;
    total_ns += ns;
    ++threads;
  } while (FindNextFileW(list, &entry));
  FindClose(list);
  return threads > 0 ? total_ns / 1e6 : -1;
}

// Processor time from the scheduler's account, else from the clock ticks of
// /proc/<pid>/stat (10 ms each).
double stat_cpu_ms(const std::wstring& proc_dir, const wchar_t** how = nullptr) {
  const double precise = schedstat_cpu_ms(proc_dir);
  if (how) *how = precise >= 0 ? L"/proc/<pid>/task/*/schedstat" : L"/proc/<pid>/stat";
  if (precise >= 0) return precise;
  std::uint64_t ticks = 0;
  if (!parse_proc_stat_ticks(read_unix_file(proc_dir + L"\\stat"), ticks)) return -1;
  return static_cast<double>(ticks) * kMsPerClockTick;
}

// The /proc folder of the Linux process of this Wine prefix (the one whose
// environment names the same WINEPREFIX) whose command name starts with
// `name`; "" when there is none. Several candidates are counted in `found`.
std::wstring find_process(const std::string& name, int& found) {
  found = 0;
  wchar_t prefix[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH)) return L"";
  std::string wanted = "WINEPREFIX=";
  for (const wchar_t* c = prefix; *c; ++c) wanted += static_cast<char>(*c);
  wanted += '\0';
  WIN32_FIND_DATAW entry;
  HANDLE list = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (list == INVALID_HANDLE_VALUE) return L"";
  std::wstring dir;
  do {
    if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
    const std::wstring candidate = std::wstring(L"\\proc\\") + entry.cFileName;
    if (read_unix_file(candidate + L"\\comm").rfind(name, 0) != 0) continue;
    if (read_unix_file(candidate + L"\\environ").find(wanted) == std::string::npos) continue;
    if (++found == 1) dir = candidate;
  } while (FindNextFileW(list, &entry));
  FindClose(list);
  return dir;
}

// Looks a process up once and logs what was found.
std::wstring process_dir(const wchar_t* what, const std::string& name) {
  int found = 0;
  const std::wstring dir = find_process(name, found);
  log_line(std::wstring(what) + L": " + (dir.empty() ? L"not found" : dir) +
           (found > 1 ? L" (the first of " + std::to_wstring(found) + L")" : L""));
  return dir;
}

// Linux names a process by the first 15 bytes of its program's file name.
std::string own_command_name() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const wchar_t* file = path;
  for (const wchar_t* c = path; *c; ++c)
    if (*c == L'\\' || *c == L'/') file = c + 1;
  std::string name;
  for (; *file && name.size() < 15; ++file) name += static_cast<char>(*file);
  return name;
}

bool class_is(HWND hwnd, const wchar_t* name) {
  wchar_t cls[64] = {};
  return GetClassNameW(hwnd, cls, 64) > 0 && lstrcmpW(cls, name) == 0;
}

// A dispatch of a measurement this long is named in the log, so that a
// figure can be traced to the messages that made it.
constexpr double kSlowDispatchMs = 5.0;

void log_slow_dispatch(const MSG& msg, DispatchOwner owner, double took_ms) {
  wchar_t cls[64] = L"-";
  if (msg.hwnd) GetClassNameW(msg.hwnd, cls, 64);
  wchar_t text[160];
  swprintf(text, 160, L"slow dispatch: %.3f ms, message 0x%04x to %ls (%ls)", took_ms, msg.message, cls,
           owner == DispatchOwner::addin ? L"the bar's" : owner == DispatchOwner::word ? L"Word's" : L"timer's");
  log_line(text);
}

}  // namespace

DispatchMeter& dispatch_meter() {
  static DispatchMeter meter;
  return meter;
}

double DispatchMeter::now_ms() {
  static const double per_ms = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / per_ms;
}

DispatchOwner DispatchMeter::owner_of(const MSG& msg) {
  const HWND hwnd = msg.hwnd;
  if (!hwnd) {
    // A message to the thread: a tick of a thread timer is the add-in's (the
    // stand-in sets none of its own), anything else Word's. The next
    // window is looked up afresh.
    last_hwnd_ = nullptr;
    last_is_step_ = false;
    return msg.message == WM_TIMER ? DispatchOwner::addin : DispatchOwner::word;
  }
  if (hwnd != last_hwnd_) {
    last_hwnd_ = hwnd;
    last_is_step_ = false;
    if (class_is(hwnd, plovera::win32::kBarWindowClass)) last_owner_ = DispatchOwner::addin;
    else if (class_is(hwnd, kBareTimerClass)) last_owner_ = DispatchOwner::bare_timer;
    else {
      last_owner_ = DispatchOwner::word;
      last_is_step_ = class_is(hwnd, kStepWindowClass);
    }
  }
  return last_owner_;
}

void DispatchMeter::dispatch(const MSG& msg) {
  if (state_ != State::armed && state_ != State::running) {
    DispatchMessageW(&msg);
    return;
  }
  const DispatchOwner owner = owner_of(msg);
  const double start = now_ms();
  if (state_ == State::armed) {
    if (!last_is_step_) {
      DispatchMessageW(&msg);
      return;
    }
    state_ = State::running;
    started_ = start;
    started_cycles_ = __rdtsc();
  }
  DispatchMessageW(&msg);
  const double stop = now_ms();
  // The step that began the measurement may have ended it.
  if (state_ != State::running) return;
  DispatchTotals& t = m_.by_owner[static_cast<int>(owner)];
  ++t.count;
  t.busy_ms += stop - start;
  if (stop - start > t.longest_ms) t.longest_ms = stop - start;
  // What the meter does itself (its log line, the condition's queries of the
  // bar) holds up Word's thread too: it is timed and left out of the figures.
  const double since_start = stop - started_ - m_.looking_ms;
  if (stop - start >= kSlowDispatchMs) log_slow_dispatch(msg, owner, stop - start);
  check_condition(since_start);
  m_.looking_ms += now_ms() - stop;
}

void DispatchMeter::check_condition(double since_start) {
  if (!condition_) return;
  const Progress p = condition_();
  if (p != Progress::not_yet && m_.shown_ms < 0) m_.shown_ms = since_start;
  if (p != Progress::painted) return;
  m_.painted_ms = since_start;
  m_.elapsed_ms = since_start;
  state_ = State::stopped;
  reached_.store(true);
}

void DispatchMeter::begin(bool at_next_step, std::function<Progress()> condition) {
  m_ = Measurement{};
  condition_ = std::move(condition);
  reached_.store(false);
  last_hwnd_ = nullptr;  // windows come and go: look owners up afresh
  state_ = at_next_step ? State::armed : State::running;
  started_ = now_ms();
  started_cycles_ = __rdtsc();
  object_model_cycles_ = 0;
}

Measurement DispatchMeter::end() {
  if (state_ == State::idle) return Measurement{};
  const double wall = now_ms() - started_;
  const std::uint64_t cycles = __rdtsc() - started_cycles_;
  if (wall > 0 && cycles > 0) m_.object_model_ms = static_cast<double>(object_model_cycles_) * wall / static_cast<double>(cycles);
  if (state_ == State::running) m_.elapsed_ms = now_ms() - started_ - m_.looking_ms;
  state_ = State::idle;
  condition_ = nullptr;
  return m_;
}

double wineserver_cpu_ms() {
  static const std::wstring dir = process_dir(L"wineserver of this prefix", "wineserver");  // or wineserver64
  return dir.empty() ? -1 : stat_cpu_ms(dir);
}

bool parse_proc_stat_ticks(const std::string& line, std::uint64_t& ticks) {
  // "pid (comm) state ppid ...": comm may hold blanks and parentheses, so
  // fields are counted after the last ')'. utime and stime are fields 14
  // and 15, the 12th and 13th after it.
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return false;
  const char* p = line.c_str() + close + 1;
  std::uint64_t values[2] = {};
  for (int field = 3; field <= 15; ++field) {
    while (*p == ' ') ++p;
    if (!*p) return false;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(p, &end, 10);
    if (field >= 14) {
      if (end == p) return false;
      values[field - 14] = v;
    }
    p = end == p ? p + 1 : end;
    while (*p && *p != ' ') ++p;
  }
  ticks = values[0] + values[1];
  return true;
}

double process_cpu_ms(std::wstring& source) {
  // Wine opens files in the wineserver, so /proc/self would be the server's:
  // the process is looked up by its name and prefix instead.
  static const std::wstring dir = process_dir(L"Word's own process", own_command_name());
  const wchar_t* how = L"";
  const double from_proc = dir.empty() ? -1 : stat_cpu_ms(dir, &how);
  if (from_proc >= 0) {
    source = how;
    return from_proc;
  }
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
    source = L"none";
    return 0;
  }
  const auto hundred_ns = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  source = L"GetProcessTimes";
  return (hundred_ns(kernel) + hundred_ns(user)) / 10000.0;
}

}  // namespace standin
