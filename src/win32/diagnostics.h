// The diagnostics' outputs in the DLL: the debugger (OutputDebugStringW),
// Plovera's own event-tracing provider (EventRegister, EventWriteString),
// and the text log when the user or an administrator turned it on:
//   HKLM\Software\Policies\Quennix\Plovera  Log (DWORD)  -- decides where set
//   HKCU\Software\Quennix\Plovera           Log (DWORD)  -- else this one
// A value other than 0 turns it on; a value of another type counts as unset.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/failure_reporter.h"
#include "win32/log_file.h"

namespace plovera::win32 {

// Plovera's event-tracing provider, "Quennix-Plovera":
// {A05E14C0-E68C-4CED-A235-356C3DD73A68}. Failures are written at level 2
// (error), the start-up line at level 4 (information).
inline constexpr GUID kTraceProvider = {
    0xA05E14C0, 0xE68C, 0x4CED, {0xA2, 0x35, 0x35, 0x6C, 0x3D, 0xD7, 0x3A, 0x68}};

// Whether the settings turn the log on (read once per Word run).
bool log_turned_on() noexcept;

class Win32DiagnosticOutputs final : public DiagnosticOutputs {
 public:
  Win32DiagnosticOutputs(bool log_on, std::wstring log_folder);
  ~Win32DiagnosticOutputs();
  Win32DiagnosticOutputs(const Win32DiagnosticOutputs&) = delete;
  Win32DiagnosticOutputs& operator=(const Win32DiagnosticOutputs&) = delete;

  void trace(std::u16string_view line, bool failure) noexcept override;
  void log(std::string_view utf8_line) noexcept override;
  bool log_enabled() const noexcept override { return log_on_ && !log_.given_up(); }
  std::u16string log_path() const override;

 private:
  bool log_on_;
  LogFile log_;
  std::uint64_t provider_ = 0;  // REGHANDLE; 0 where Windows has no event tracing (XP)
  void* write_event_ = nullptr;  // EventWriteString
};

// Starts the diagnostics of this Word run once: reads the settings,
// registers the provider and installs the reporter. Idempotent.
void start_diagnostics() noexcept;
// Uninstalls the reporter and unregisters the provider (the DLL unloads).
void stop_diagnostics() noexcept;

}  // namespace plovera::win32
