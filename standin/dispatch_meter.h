// Timing of Word's user-interface thread, for the timing runs: the stand-in's
// message loop dispatches every message through the meter, which, while a
// measurement runs, times each dispatch and sorts it by whose window it went
// to: the add-in's tab bar (its ticks, paints and input), the bare timer
// window of the `bare timer` step, or Word's own (its windows and the
// scenario's steps, with whatever event handlers of add-ins they run).
//
// A dispatch is the unit of a freeze: nothing else runs on Word's thread
// until it returns, so the longest dispatch is the longest time Word's user
// interface did not answer.
//
// All of it runs on Word's thread, except reached(), which any thread may poll.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace standin {

// Whose window a dispatch went to.
enum class DispatchOwner { addin, bare_timer, word, count_ };

struct DispatchTotals {
  std::int64_t count = 0;
  double busy_ms = 0;     // all of them together
  double longest_ms = 0;  // the longest one
};

// How far a watched condition is: not yet, shown (what the bar shows holds),
// painted (and the bar has no part left to paint).
enum class Progress { not_yet, shown, painted };

struct Measurement {
  DispatchTotals by_owner[static_cast<int>(DispatchOwner::count_)];
  double shown_ms = -1;    // from the start until the condition first held
  double painted_ms = -1;  // ... and was painted; the measurement stops there
  double elapsed_ms = 0;   // from the start until the stop (or now)
  // The meter's own time on Word's thread (its checks and log lines), left
  // out of the three figures above.
  double looking_ms = 0;
  // Of all dispatches, the time Word's object model spent answering calls
  // (the outermost IDispatch::Invoke of each): Word's share of an add-in's
  // work, which the add-in's code cannot make cheaper than the calls it makes.
  double object_model_ms = 0;
  std::int64_t object_model_calls = 0;
  const DispatchTotals& of(DispatchOwner o) const { return by_owner[static_cast<int>(o)]; }
};

class DispatchMeter {
 public:
  // Dispatches `msg` (DispatchMessageW), timed while a measurement runs.
  void dispatch(const MSG& msg);

  // Starts a measurement now, or (`at_next_step`) when the next scenario
  // step starts running on Word's thread, so that it counts from the action.
  // After every dispatch of the measurement, `condition` (if any) is asked
  // how far things are; the measurement stops once it answers `painted`.
  void begin(bool at_next_step, std::function<Progress()> condition = nullptr);
  // Ends the measurement (if the condition has not ended it) and returns it;
  // an empty one when none was begun.
  Measurement end();
  // The watched condition has been painted (any thread).
  bool reached() const { return reached_.load(); }
  // Whether dispatches are being timed now; an object-model call of that
  // long is counted.
  bool timing() const { return state_ == State::running; }
  // `cycles` of the processor's cycle counter (__rdtsc), turned into
  // milliseconds at the end of the measurement.
  void count_object_model_call(std::uint64_t cycles) {
    object_model_cycles_ += cycles;
    ++m_.object_model_calls;
  }

  static double now_ms();

 private:
  enum class State { idle, armed, running, stopped };
  DispatchOwner owner_of(const MSG& msg);
  void check_condition(double since_start);

  State state_ = State::idle;
  double started_ = 0;
  std::uint64_t started_cycles_ = 0;
  std::uint64_t object_model_cycles_ = 0;
  Measurement m_;
  std::function<Progress()> condition_;
  std::atomic<bool> reached_{false};
  HWND last_hwnd_ = nullptr;  // the owner of the last window looked up
  DispatchOwner last_owner_ = DispatchOwner::word;
  bool last_is_step_ = false;
};

// The meter of Word's thread.
DispatchMeter& dispatch_meter();

// The bare timer window's class (the `bare timer` step).
inline constexpr const wchar_t* kBareTimerClass = L"StandinBareTimer";

// The process's processor time (all threads) in milliseconds, from the
// scheduler's account in /proc/<pid>/task/*/schedstat (nanoseconds) or its
// /proc/<pid>/stat (10-ms clock ticks) through Wine's Z: drive, else from
// GetProcessTimes; `source` names which.
double process_cpu_ms(std::wstring& source);
// The processor time of the wineserver of this process's Wine prefix (the
// wineserver whose environment names the same WINEPREFIX), which does a
// share of the work of every window call and timer under Wine; negative
// when it cannot be found.
double wineserver_cpu_ms();
// Reads the user and system clock ticks (fields 14 and 15) of a
// /proc/<pid>/stat line; false when it is not one.
bool parse_proc_stat_ticks(const std::string& line, std::uint64_t& ticks);

}  // namespace standin
