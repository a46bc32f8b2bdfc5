// What a bar needs from the add-in that hosts it, and nothing more.
#pragma once

#include <cstdint>

#include "base/event_gate.h"
#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"
#include "tabstrip/tab_model.h"
#include "tabstrip/theme.h"

namespace plovera {

class BarHost {
 public:
  virtual host::FormEngine& forms() = 0;
  virtual host::WindowSystem& window_system() = 0;
  // Word's Application; fails like a call on an empty reference when the
  // add-in is not connected.
  virtual host::Application& word() = 0;
  // The Word main window that holds the bar: it gets the foreground back
  // after a click on the bar.
  virtual host::Hwnd main_window() = 0;
  // The Word main window that shows `window`: it gets the foreground after
  // the window was activated from a tab.
  virtual host::Hwnd main_window_of(const host::Ref<host::Window>& window) = 0;
  // Whether the bar's main window shows the window of the tab at `p` (where
  // every document has a main window of its own, a bar selects only a
  // window of its own main window).
  virtual bool is_own_window(Position p) = 0;
  // Shows the popup menu at the pointer, for the tab showing `tab` (null:
  // for the bar); returns when it closes.
  virtual void show_menu(const host::Ref<host::Window>& tab) = 0;
  // One handler at a time, across every bar.
  virtual EventGate& events() = 0;
  // The language of Word's user interface (a Windows language identifier),
  // which the bar's tooltips and accessible texts speak.
  virtual std::int32_t ui_language() = 0;
  // Office's theme as last read: the look a bar takes when it loads.
  virtual const BarTheme& bar_theme() = 0;

 protected:
  ~BarHost() = default;
};

}  // namespace plovera
