// The error model of the add-in.
//
// Every call into Word, Office, a form control or the window system reports a
// status. The host adapters turn a failing status into a thrown host_error that
// names the failing member ("Window.Caption"). The error ends the current
// operation and travels up to the event or tick that started it.
//
// Only three kinds of place catch:
//  - boundaries (COM methods, DLL exports, window procedures, timer and drop
//    callbacks) use boundary_guard, which turns anything thrown into a status;
//  - "errors ignored" stretches wrap each step on its own in ignore_errors;
//  - the few places where the behaviour reads a failure as information (a
//    window that stopped answering has closed).
//
// The first two, and FirstFailure, report what they caught to the
// diagnostics receiver (host/diagnostics.h), with the file and line of the
// catching place; report_failure is the same call for a failure that comes
// back as a status instead.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <source_location>
#include <string>

#include "host/diagnostics.h"

namespace plovera {

// HRESULT-like status codes. Negative values are failures.
using status_t = std::int32_t;
namespace status {
inline constexpr status_t ok = 0;
inline constexpr status_t fail = static_cast<status_t>(0x80004005u);          // E_FAIL
inline constexpr status_t no_interface = static_cast<status_t>(0x80004002u);  // E_NOINTERFACE
inline constexpr status_t pointer = static_cast<status_t>(0x80004003u);       // E_POINTER
inline constexpr status_t out_of_memory = static_cast<status_t>(0x8007000Eu); // E_OUTOFMEMORY
inline constexpr status_t invalid_arg = static_cast<status_t>(0x80070057u);   // E_INVALIDARG
inline constexpr status_t unexpected = static_cast<status_t>(0x8000FFFFu);    // E_UNEXPECTED
inline constexpr status_t overflow = static_cast<status_t>(0x8002000Au);      // DISP_E_OVERFLOW
inline constexpr status_t bad_index = static_cast<status_t>(0x8002000Bu);     // DISP_E_BADINDEX
inline constexpr status_t disconnected = static_cast<status_t>(0x80010108u);  // RPC_E_DISCONNECTED
inline constexpr status_t not_connected = static_cast<status_t>(0x800401FDu); // CO_E_OBJNOTCONNECTED
inline constexpr status_t server_died = static_cast<status_t>(0x80010007u);   // RPC_E_SERVER_DIED
inline constexpr status_t server_died_dne = static_cast<status_t>(0x80010012u);  // RPC_E_SERVER_DIED_DNE
}  // namespace status

inline constexpr bool failed(status_t s) noexcept { return s < 0; }

// Whether a failure says that the object is gone for good (Word closed the
// window, or Word itself went away), rather than that the call was refused.
inline constexpr bool object_gone(status_t s) noexcept {
  return s == status::disconnected || s == status::not_connected || s == status::server_died ||
         s == status::server_died_dne;
}

// The one exception type of the add-in. `member` is a string literal naming
// the failing call; it is reported where the failure is caught, never shown.
class host_error : public std::exception {
 public:
  host_error(status_t code, const char* member) noexcept : code_(code), member_(member) {}
  status_t code() const noexcept { return code_; }
  const char* member() const noexcept { return member_; }
  const char* what() const noexcept override { return member_ ? member_ : "host_error"; }

 private:
  status_t code_;
  const char* member_;
};

// Word's own words on the last call that failed, where Word gave any (the
// adapters keep them); empty otherwise. Word's thread only.
inline std::u16string& last_failure_text() noexcept {
  thread_local std::u16string text;
  return text;
}

// The member whose failure last_failure_text describes (the label the
// adapters throw with), so that a report attaches Word's words only to the
// failure they belong to. Word's thread only.
inline const char*& last_failure_member() noexcept {
  thread_local const char* member = nullptr;
  return member;
}

// Reports a failure to the diagnostics receiver: `member` names the call
// (Word's member or the system call), `where` the place that caught it.
// Failures saying that the object is gone for good (Word closed the window
// or let go of the add-in) are how Word ends things, not faults, and are
// not reported.
inline void report_failure(const char* member, status_t code,
                           const std::source_location& where = std::source_location::current()) noexcept {
  if (!failed(code) || object_gone(code)) return;
  host::Diagnostics* receiver = host::diagnostics();
  if (!receiver) return;
  std::u16string_view text;
  if (member && member == last_failure_member()) text = last_failure_text();
  receiver->report({where.file_name(), where.line(), member ? member : "(unnamed)", code, text});
}

[[noreturn]] inline void throw_host_error(status_t code, const char* member) {
  throw host_error(failed(code) ? code : status::fail, member);
}

// Throws when `s` is a failure; the adapters' one-liner for checking a status.
inline void check(status_t s, const char* member) {
  if (failed(s)) throw_host_error(s, member);
}

// The status that an exception in flight stands for, and the call it names.
inline status_t status_of_current_exception(const char** member = nullptr) noexcept {
  try {
    throw;
  } catch (const host_error& e) {
    if (member) *member = e.member();
    return e.code();
  } catch (const std::bad_alloc&) {
    if (member) *member = "operator new";
    return status::out_of_memory;
  } catch (...) {
    if (member) *member = "(exception)";
    return status::unexpected;
  }
}

// Inside a catch block: reports the exception in flight as caught at
// `where` and returns its status.
inline status_t report_current_exception(const std::source_location& where) noexcept {
  const char* member = nullptr;
  const status_t code = status_of_current_exception(&member);
  report_failure(member, code, where);
  return code;
}

// Runs `f` at a boundary into Word, COM or Win32: nothing thrown crosses it.
// Returns status::ok, or the status of what `f` threw.
template <class F>
status_t boundary_guard(F&& f, const std::source_location& where = std::source_location::current()) noexcept {
  try {
    f();
    return status::ok;
  } catch (...) {
    return report_current_exception(where);
  }
}

// Runs one step of an "errors ignored" stretch: a failure skips this step only.
// Returns true when the step completed.
template <class F>
bool ignore_errors(F&& f, const std::source_location& where = std::source_location::current()) noexcept {
  try {
    f();
    return true;
  } catch (...) {
    report_current_exception(where);
    return false;
  }
}

}  // namespace plovera
