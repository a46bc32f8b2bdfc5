// A retry that backs off: the first one 10 ms after a failure, then twice as
// long after each further failure, up to one second. Something Word refuses
// now is likely refused again at once (Word is busy in a dialog, or shutting
// down), and asking every tick only costs Word's process its time.
//
// Times are a millisecond clock's (the forms engine's, a tick count that
// wraps after 49 days): compared by their difference, never by their order.
#pragma once

#include <algorithm>
#include <cstdint>

namespace plovera {

class Backoff {
 public:
  static constexpr std::uint32_t first_ms = 10;
  static constexpr std::uint32_t longest_ms = 1000;

  // A timer may fire a little before the time it was set for (Windows counts
  // timers in steps of its clock, 10 to 16 ms): a retry is due once less
  // than this is left of its wait, rather than one more tick later.
  static constexpr std::uint32_t early_ms = 10;

  bool pending() const noexcept { return wait_ms_ != 0; }
  // Whether the pending retry may run at `now` (false when none is pending).
  bool due(std::uint32_t now) const noexcept { return pending() && remaining(now) < early_ms; }
  // Milliseconds from `now` until the retry is due: 0 when it is due.
  std::uint32_t remaining(std::uint32_t now) const noexcept {
    const auto left = static_cast<std::int32_t>(due_at_ - now);
    return left > 0 ? static_cast<std::uint32_t>(left) : 0;
  }
  // The attempt at `now` failed: the next one waits twice as long as the
  // last wait (the first, 10 ms).
  void failed(std::uint32_t now) noexcept {
    wait_ms_ = wait_ms_ == 0 ? first_ms : std::min(wait_ms_ * 2, longest_ms);
    due_at_ = now + wait_ms_;
  }
  // The attempt succeeded, or there is nothing left to retry.
  void clear() noexcept { wait_ms_ = 0; }

 private:
  std::uint32_t wait_ms_ = 0;  // the current wait; 0 while nothing is pending
  std::uint32_t due_at_ = 0;
};

}  // namespace plovera
