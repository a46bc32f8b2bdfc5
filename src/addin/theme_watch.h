// Office's theme as the bars show it, followed while Word runs. It is read
// when the bar starts and read again only after a change was heard: a value
// written under the keys it is kept in (a registry watch, asked without
// waiting on each safety-net tick and on every fiftieth quick one, so within
// a second while Word is in front, and costing most quick ticks no system
// call), or Windows telling Word's main windows that the
// system's look changed (high contrast, the colours, the light or dark app
// mode: the broadcast itself quickens the ticks). However many changes come
// between two ticks, the theme is read once and the bars are told once.
#pragma once

#include <memory>
#include <string>

#include "host/winsys.h"
#include "tabstrip/theme.h"

namespace plovera {

class ThemeWatch {
 public:
  explicit ThemeWatch(host::WindowSystem& ws) noexcept : ws_(ws) {}

  // Reads the theme of Word `version` (Application.Version's text) and
  // watches the keys it is read from. Without a watch (the registry refuses)
  // the theme still follows the system's broadcasts.
  void start(const std::u16string& version);
  void stop() noexcept;
  bool watching_registry() const noexcept { return watch_ != nullptr; }

  // The theme as last read.
  const BarTheme& theme() const noexcept { return theme_; }

  // Windows told one of Word's main windows that the system's look changed.
  // Only records: it comes from inside a window's message handling.
  void system_look_changed() noexcept { system_look_changed_ = true; }

  // What a tick must tell the bars: a theme read anew that differs from the
  // last, and whether the system's colours may have changed (high contrast
  // is drawn in them, read by the form as it paints).
  struct Change {
    bool theme = false;
    bool system_colours = false;
    bool any() const noexcept { return theme || system_colours; }
  };
  // `safety_net`: the tick is a safety-net tick (not a quick one).
  Change take_change(bool safety_net);
  // Quick ticks between two questions to the registry watch: half a
  // second's, so that a change is seen within a second whatever the phase.
  static constexpr int quick_ticks_per_check = 50;

 private:
  bool registry_due(bool safety_net) noexcept;

  host::WindowSystem& ws_;
  std::u16string version_;
  BarTheme theme_;
  std::unique_ptr<host::RegistryWatch> watch_;
  bool system_look_changed_ = false;
  int quick_ticks_unchecked_ = 0;
};

}  // namespace plovera
