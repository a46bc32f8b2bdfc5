#include "addin/listen_again.h"

#include "addin/addin.h"

namespace plovera {

void ListenAgainTimer::start() {
  if (form_) return;
  std::unique_ptr<host::Form> form = forms_.CreateForm(*this);
  form->TimerInterval(host::Timer::poll, kIntervalMs);
  form->TimerEnabled(host::Timer::poll, true);
  form_ = std::move(form);
}

// The form may be unloaded by the call (the hook took): nothing of it is
// touched afterwards.
void ListenAgainTimer::TimerTick(host::Timer t) {
  if (t == host::Timer::poll) addin_.listen_again();
}

}  // namespace plovera
