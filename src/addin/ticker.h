// The add-in's one timer: it runs every tick of every bar's (the docking
// checks, the pointer-left checks, the synchronisation with Word) at the
// pace the cadence sets, and the start Word's first event asks for. It lives
// on a hidden form of its own, started on that event and stopped with the
// last bar; bars run no timer of their own but their scroll arrows'.
#pragma once

#include <cstdint>
#include <memory>

#include "host/forms.h"

namespace plovera {

class Ticker final : private host::FormEvents {
 public:
  class Receiver {
   public:
    virtual void tick() = 0;

   protected:
    ~Receiver() = default;
  };

  Ticker(Receiver& receiver, host::FormEngine& forms) noexcept
      : receiver_(receiver), forms_(forms) {}

  // Fires every `ms` milliseconds from now on (loading the form first);
  // 0 stops the timer and keeps the form. A period that is already set is
  // left running: asking again does not put the next tick off, unless
  // `from_now` asks for the next tick exactly `ms` from now (a retry's).
  void run_every(std::uint32_t ms, bool from_now = false);
  // Loads the form without starting the timer.
  void load();
  void stop() noexcept;
  bool loaded() const noexcept { return form_ != nullptr; }
  std::uint32_t interval_ms() const noexcept { return interval_ms_; }

 private:
  void TimerTick(host::Timer t) override;
  void MouseDown(host::Element, std::int16_t) override {}
  void MouseMove(host::Element, std::int16_t) override {}
  void MouseUp(host::Element, std::int16_t) override {}
  void Click(host::Element) override {}
  void DblClick(host::Element) override {}
  void DragDrop(host::Element, std::int16_t, float, float) override {}

  Receiver& receiver_;
  host::FormEngine& forms_;
  std::unique_ptr<host::Form> form_;
  std::uint32_t interval_ms_ = 0;
  bool settled_ = false;  // the form runs the timer at interval_ms_
};

}  // namespace plovera
