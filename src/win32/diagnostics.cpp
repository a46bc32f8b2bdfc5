#include "win32/diagnostics.h"

#include <memory>

namespace plovera::win32 {
namespace {

constexpr const wchar_t* kPolicyKey = L"Software\\Policies\\Quennix\\Plovera";
constexpr const wchar_t* kSettingsKey = L"Software\\Quennix\\Plovera";
constexpr UCHAR kLevelError = 2, kLevelInformation = 4;

// A DWORD value: true with `out` set when it exists with that type.
bool read_dword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD& out) noexcept {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
  DWORD type = REG_NONE, value = 0, size = sizeof value;
  const LSTATUS s = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(k);
  if (s != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return false;
  out = value;
  return true;
}

// Event tracing came with Windows Vista: looked up at run time, so that the
// DLL still loads on Windows XP (Word 2003, 2007).
using EventRegisterFn = ULONG(WINAPI*)(const GUID*, void*, void*, std::uint64_t*);
using EventUnregisterFn = ULONG(WINAPI*)(std::uint64_t);
using EventWriteStringFn = ULONG(WINAPI*)(std::uint64_t, UCHAR, ULONGLONG, PCWSTR);

template <class Fn>
Fn advapi(const char* name) noexcept {
  HMODULE advapi32 = GetModuleHandleW(L"advapi32.dll");
  if (!advapi32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(advapi32, name)));
}

struct Diagnostics {
  Diagnostics() : outputs(log_turned_on(), default_log_folder()), reporter(outputs) {}
  Win32DiagnosticOutputs outputs;
  FailureReporter reporter;
};

std::unique_ptr<Diagnostics>& running() {
  static std::unique_ptr<Diagnostics> d;
  return d;
}

}  // namespace

bool log_turned_on() noexcept {
  DWORD value = 0;
  if (read_dword(HKEY_LOCAL_MACHINE, kPolicyKey, L"Log", value)) return value != 0;
  return read_dword(HKEY_CURRENT_USER, kSettingsKey, L"Log", value) && value != 0;
}

Win32DiagnosticOutputs::Win32DiagnosticOutputs(bool log_on, std::wstring log_folder)
    : log_on_(log_on), log_(std::move(log_folder)) {
  auto reg = advapi<EventRegisterFn>("EventRegister");
  auto write = advapi<EventWriteStringFn>("EventWriteString");
  if (!reg || !write || reg(&kTraceProvider, nullptr, nullptr, &provider_) != ERROR_SUCCESS)
    provider_ = 0;
  else
    write_event_ = reinterpret_cast<void*>(write);
}

Win32DiagnosticOutputs::~Win32DiagnosticOutputs() {
  if (provider_)
    if (auto unreg = advapi<EventUnregisterFn>("EventUnregister")) unreg(provider_);
}

void Win32DiagnosticOutputs::trace(std::u16string_view line, bool failure) noexcept {
  try {
    std::wstring text = L"Plovera: ";
    text.append(line.begin(), line.end());
    if (provider_)
      reinterpret_cast<EventWriteStringFn>(write_event_)(
          provider_, failure ? kLevelError : kLevelInformation, 0, text.c_str() + 9);
    text += L"\n";
    OutputDebugStringW(text.c_str());
  } catch (...) {
  }
}

void Win32DiagnosticOutputs::log(std::string_view utf8_line) noexcept {
  if (log_on_) log_.append(utf8_line);
}

std::u16string Win32DiagnosticOutputs::log_path() const {
  const std::wstring& p = log_.path();
  return {p.begin(), p.end()};
}

void start_diagnostics() noexcept {
  try {
    if (running()) return;
    running() = std::make_unique<Diagnostics>();
    host::install_diagnostics(&running()->reporter);
  } catch (...) {
  }
}

void stop_diagnostics() noexcept {
  host::install_diagnostics(nullptr);
  running().reset();
}

}  // namespace plovera::win32
