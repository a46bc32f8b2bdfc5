// Once no bar is left (Word closed its last document window, or a start-up
// failed), Word's next event starts the bar again. Hooking the receiver to
// Word's events can fail like any call into Word; the add-in would then be
// left with no bar and deaf to what could start one. So when the hook does
// not take, this timer asks again once a second until it does. It runs on a
// hidden form of its own: a bar's timers go with the bar.
#pragma once

#include <cstdint>
#include <memory>

#include "host/forms.h"

namespace plovera {

class Addin;

class ListenAgainTimer final : private host::FormEvents {
 public:
  static constexpr std::uint32_t kIntervalMs = 1000;

  ListenAgainTimer(Addin& addin, host::FormEngine& forms) noexcept : addin_(addin), forms_(forms) {}

  // Starts asking (loads the hidden form and runs its timer); a start that
  // fails leaves nothing loaded and throws.
  void start();
  void stop() noexcept { form_.reset(); }
  bool running() const noexcept { return form_ != nullptr; }

 private:
  void TimerTick(host::Timer t) override;
  void MouseDown(host::Element, std::int16_t) override {}
  void MouseMove(host::Element, std::int16_t) override {}
  void MouseUp(host::Element, std::int16_t) override {}
  void Click(host::Element) override {}
  void DblClick(host::Element) override {}
  void DragDrop(host::Element, std::int16_t, float, float) override {}

  Addin& addin_;
  host::FormEngine& forms_;
  std::unique_ptr<host::Form> form_;
};

}  // namespace plovera
