// How often the add-in's one timer fires. Quick (every 10 ms) while
// something is happening — for two seconds after any event of Word's, any
// notice of the window system, any input on a bar, and for as long as a
// hover look, a drag, a held arrow, a bar still to be built or a close
// awaiting Word's save prompt lasts. Then a safety-net tick catches what Word
// changed without telling: once a second while Word is the foreground
// program, once every ten seconds in the background, and never while every
// one of Word's main windows is minimised (the next restore or event is
// heard).
//
// A retry that backs off (a bar that could not be docked, a window whose
// main window Word would not name) is due at a time of its own: the next
// tick comes no later than that, whatever the pace, and no sooner than the
// pace or the retry needs.
//
// When Word's events cannot be heard the add-in polls as it always did, every
// 10 ms; when the windows cannot be watched the safety net is the docking
// check's, every 100 ms.
#pragma once

#include <cstdint>

namespace plovera {

class Cadence {
 public:
  static constexpr std::uint32_t quick_ms = 10;
  static constexpr std::uint32_t foreground_ms = 1000;
  static constexpr std::uint32_t background_ms = 10000;
  static constexpr std::uint32_t unwatched_ms = 100;
  static constexpr std::uint32_t soon_ms = 250;
  // Two seconds of quick ticks after the last sign of activity.
  static constexpr std::int32_t quick_ticks = 200;

  // Something happened: the next ticks are quick.
  void activity() noexcept { quick_left_ = quick_ticks; }
  // One tick is wanted within a quarter second (the active document's
  // unsaved mark may be due), without the quick ticks that follow activity:
  // Word's selection moves with every key the user types.
  void soon() noexcept { soon_ = true; }
  // A tick ran; `busy` when something is still going on (a look, a drag, a
  // held arrow, a bar still to be built).
  void ticked(bool busy) noexcept {
    soon_ = false;
    if (busy) activity();
    else if (quick_left_ > 0) --quick_left_;
  }
  void foreground(bool on) noexcept { foreground_ = on; }
  void all_minimised(bool on) noexcept { all_minimised_ = on; }
  // Word's events are not heard: every tick is quick.
  void deaf(bool on) noexcept { deaf_ = on; }
  // Word's windows are not watched: no tick slower than the docking check's.
  void blind(bool on) noexcept { blind_ = on; }
  // A retry is due in `ms` milliseconds (0: now), or none (no_retry).
  static constexpr std::uint32_t no_retry = UINT32_MAX;
  void retry_in(std::uint32_t ms) noexcept { retry_in_ms_ = ms; }
  void reset() noexcept { *this = Cadence(); }

  bool quick() const noexcept { return deaf_ || quick_left_ > 0; }
  // Whether the tick now due checks every frame's docking: a safety-net
  // tick, or any tick while the notices that would point at a frame cannot
  // be had (Word's events or its windows unheard).
  bool checks_everything() const noexcept { return deaf_ || blind_ || quick_left_ == 0; }
  bool in_foreground() const noexcept { return foreground_; }
  // The period of the next tick in milliseconds; 0 for none.
  std::uint32_t interval_ms() const noexcept {
    return retry_sets_interval() ? retry_wait_ms() : paced_ms();
  }
  // Whether the next tick is the retry's: then it is due that long from
  // now, not one period after the last tick.
  bool retry_sets_interval() const noexcept {
    if (retry_in_ms_ == no_retry) return false;
    const std::uint32_t pace = paced_ms();
    return pace == 0 || retry_wait_ms() < pace;
  }

 private:
  std::uint32_t retry_wait_ms() const noexcept {
    return retry_in_ms_ < quick_ms ? quick_ms : retry_in_ms_;
  }
  std::uint32_t paced_ms() const noexcept {
    if (quick()) return quick_ms;
    if (blind_) return unwatched_ms;
    if (soon_) return soon_ms;
    if (all_minimised_) return 0;
    return foreground_ ? foreground_ms : background_ms;
  }

  std::uint32_t retry_in_ms_ = no_retry;
  std::int32_t quick_left_ = quick_ticks;
  bool foreground_ = true;
  bool all_minimised_ = false;
  bool deaf_ = false;
  bool blind_ = false;
  bool soon_ = false;
};

}  // namespace plovera
