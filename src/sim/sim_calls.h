// Call counting, call logging, failure injection and re-entrance hooks,
// shared by the simulated Word, window system and forms engine.
//
// Each simulator names its members once, in a fixed table ("Window.Caption",
// "GetWindowRect", "Element.Left.let"); a call is identified by its index in
// that table, so the steady-state path of a call is a counter increment and
// a few flag tests: no string is built and nothing is allocated (the log
// allocates only while it is switched on).
//
// Test-side functions take the member's name and throw std::out_of_range for
// a name that is not in the table, so that a misspelt name in a test fails
// loudly instead of counting nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/error.h"

namespace plovera::sim {

class CallMeter {
 public:
  // `names` must outlive the meter (a static table of string literals).
  explicit CallMeter(std::span<const char* const> names);

  // ---- The simulator side ----------------------------------------------
  // Counts one call of `member` and decides its fate, in this order:
  //  1. the call is counted (and logged when the log is on), failing or not;
  //  2. an injected failure returns its status: the caller then fails the
  //     call without any effect (and no callback runs);
  //  3. the member's on_call callback runs (not re-entered if the callback
  //     itself calls the same member), then status::ok is returned and the
  //     caller carries out the call.
  status_t enter(std::size_t member);
  const char* name(std::size_t member) const noexcept { return names_[member]; }

  // ---- The test side ---------------------------------------------------
  static constexpr int always = -1;

  std::int64_t calls(std::string_view name) const;
  std::int64_t total_calls() const noexcept { return total_; }
  // Zeroes the counters and empties the log (failures and callbacks stay).
  void reset_calls();

  // The ordered log of member names, recorded while switched on.
  void log_calls(bool on) { logging_ = on; }
  std::vector<std::string> call_log() const;

  // Makes calls of `name` fail with `code`: every call (times = always) or
  // the next `times` calls.
  void fail(std::string_view name, int times = always, status_t code = status::fail);
  // Makes a random share (0..1) of all calls fail with status::fail; the
  // choice is a fixed function of the seed and the sequence of calls.
  void fail_share(double share, std::uint64_t seed);
  void clear_failures();
  // Runs `callback` inside every call of `name`, before the call takes
  // effect (as a message arriving while the host pumps messages would).
  // An empty callback removes it.
  void on_call(std::string_view name, std::function<void()> callback);

 private:
  struct Slot {
    std::int64_t count = 0;
    int fail_times = 0;  // always (-1), none (0) or how many more
    status_t fail_code = status::fail;
    bool in_callback = false;
    std::function<void()> callback;
  };

  std::size_t call_index(std::string_view name) const;
  bool draw_share_failure() noexcept;

  std::span<const char* const> names_;
  std::vector<Slot> slots_;
  std::int64_t total_ = 0;
  bool logging_ = false;
  std::vector<std::uint16_t> log_;
  double share_ = 0.0;
  std::uint64_t rng_ = 0;
};

}  // namespace plovera::sim
