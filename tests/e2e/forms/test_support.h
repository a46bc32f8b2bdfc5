// Support for the forms engine's tests under Wine: a receiver that records
// events as text, real input through SendInput, waiting with a deadline,
// and the element query.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/bar_instruments.h"
#include "win32/form_seam.h"

namespace forms_test {

using plovera::host::Part;
using plovera::host::Element;

std::string name_of(Element e);
inline Element el(Part part, int index) { return {part, static_cast<std::int16_t>(index)}; }

// Records every event as one line ("MouseDown close_button(1) 1"). Hooks let a
// test act inside a handler, as the tab strip's logic does.
class Recorder final : public plovera::host::FormEvents {
 public:
  std::vector<std::string> log;
  int ticks[3] = {0, 0, 0};
  std::function<void(Element, std::int16_t)> on_down, on_move;
  std::function<void(Element)> on_click;
  std::function<void(plovera::host::Timer)> on_tick;
  std::function<void(Element, std::u16string&)> on_tooltip;
  int tooltip_asks = 0;

  void MouseDown(Element e, std::int16_t button) override;
  void MouseMove(Element e, std::int16_t button) override;
  void MouseUp(Element e, std::int16_t button) override;
  void Click(Element e) override;
  void DblClick(Element e) override;
  void DragDrop(Element target, std::int16_t source, float x, float y) override;
  void TimerTick(plovera::host::Timer t) override;
  void TooltipText(Element e, std::u16string& text) override;

  // The log without MouseMove lines, joined with "; ".
  std::string presses() const;
  // The last MouseMove line, or "".
  std::string last_move() const;
  void clear() { log.clear(); }
};

// Dispatches messages until `done` holds or `ms` milliseconds have passed.
bool pump_until(const std::function<bool()>& done, DWORD ms = 2000);
// Dispatches messages for `ms` milliseconds.
void pump_for(DWORD ms);
// Dispatches the messages the window posted itself (WM_APP and up), and
// nothing else: no paint, no input.
void dispatch_posted(HWND hwnd);

// Real input at screen pixels.
void move_to(POINT screen);
void button(bool down, bool right = false);
void click_at(POINT screen, bool right = false);
void key(WORD vk, bool down);

// The element's query answer; `ok` is the message's result.
struct Queried {
  bool ok = false;
  plovera::win32::ElementQuery q{};
};
Queried query(HWND bar, Element e);
// The screen point at the centre of the element's rectangle, or inside it
// at (dx, dy) from its top-left corner when given.
POINT centre_of(HWND bar, Element e);
POINT point_in(HWND bar, Element e, int dx, int dy);
POINT to_screen(HWND bar, POINT client);

// The text of the tooltip this thread shows now; empty when none shows.
std::wstring shown_tooltip();

// One line per check; the totals at the end.
class Checks {
 public:
  void expect(bool ok, const std::string& name, const std::string& detail = {});
  int failed() const { return failed_; }
  int passed() const { return passed_; }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace forms_test
