// The one reporting hook of the add-in: every place that catches a failure
// (boundary_guard, ignore_errors, FirstFailure) tells it what failed, so that
// a bar that stays empty on someone's PC leaves a trace.
//
// The logic sees only this interface. The DLL installs a receiver that
// writes to the debugger, to an event-tracing provider and (when turned on)
// to a log file (win32/diagnostics.h); the native tests install one that
// records (sim/sim_diagnostics.h). Without a receiver reports go nowhere.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace plovera::host {

// One caught failure: where it was caught (source file and line), the call
// that failed (Word's member "Window.Caption" or a system call), its status
// and Word's own words on it (empty where Word gave none).
struct Failure {
  const char* file;
  std::uint32_t line;
  const char* member;
  std::int32_t code;
  std::u16string_view text;
};

class Diagnostics {
 public:
  // Never throws, never blocks for long, and may drop the report (a storm,
  // a report made while another is written).
  virtual void report(const Failure& failure) noexcept = 0;
  // A line that is not a failure: the start-up line.
  virtual void note(std::u16string_view line) noexcept = 0;
  // Whether the text log is on, and where it is (empty where there is none).
  virtual bool log_enabled() const noexcept = 0;
  virtual std::u16string log_path() const = 0;

 protected:
  ~Diagnostics() = default;
};

inline std::atomic<Diagnostics*>& diagnostics_receiver() noexcept {
  static std::atomic<Diagnostics*> receiver{nullptr};
  return receiver;
}

// Installs the receiver of every later report (null: none). The caller
// keeps it alive until it installs another.
inline void install_diagnostics(Diagnostics* receiver) noexcept {
  diagnostics_receiver().store(receiver, std::memory_order_release);
}

inline Diagnostics* diagnostics() noexcept {
  return diagnostics_receiver().load(std::memory_order_acquire);
}

}  // namespace plovera::host
