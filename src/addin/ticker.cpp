#include "addin/ticker.h"

namespace plovera {

void Ticker::load() {
  if (!form_) form_ = forms_.CreateForm(*this);
}

// A change the form takes only half (its interval set, the timer not
// enabled) leaves the period unknown: the next call sets it again, even to
// the period asked for before.
void Ticker::run_every(std::uint32_t ms, bool from_now) {
  if (form_ && settled_ && ms == interval_ms_ && !from_now) return;
  load();
  settled_ = false;
  // The same period set again would keep the timer's phase: it is stopped
  // first, so that it counts from now.
  if (ms == 0 || (from_now && ms == interval_ms_)) form_->TimerEnabled(host::Timer::poll, false);
  if (ms != 0) {
    form_->TimerInterval(host::Timer::poll, ms);
    form_->TimerEnabled(host::Timer::poll, true);
  }
  interval_ms_ = ms;
  settled_ = true;
}

void Ticker::stop() noexcept {
  form_.reset();
  interval_ms_ = 0;
  settled_ = false;
}

// The form may be unloaded by the tick (the last bar went): nothing of it is
// touched afterwards.
void Ticker::TimerTick(host::Timer t) {
  if (t == host::Timer::poll) receiver_.tick();
}

}  // namespace plovera
