#include "addin/ticker.h"

namespace plovera {

void Ticker::load() {
  if (!form_) form_ = forms_.CreateForm(*this);
}

// A change the form takes only half (its interval set, the timer not
// enabled) leaves the period unknown: the next call sets it again, even to
// the period asked for before.
void Ticker::run_every(std::uint32_t ms) {
  if (form_ && settled_ && ms == interval_ms_) return;
  load();
  settled_ = false;
  if (ms == 0) {
    form_->TimerEnabled(host::Timer::poll, false);
  } else {
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
