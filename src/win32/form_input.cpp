// Mouse input: which element hears of a press, move or release, when a
// Click happens, and the drag of a tab's face.
//
// The element under the pointer at a press takes the mouse capture until
// every button is up: its moves and its release reach it wherever the
// pointer goes, and a Click follows a left release only over that same
// element. A drag, begun from a move handler, keeps that capture, shows the
// face's outline following the pointer and ends at the left release with
// one DragDrop on whatever lies under the pointer, when that is the bar.
#include "win32/form_window.h"

#include <algorithm>

namespace plovera::win32 {

using host::Part;
using host::Element;
using host::FormEvents;

namespace {

std::int16_t buttons_of(WPARAM keys) noexcept {
  std::int16_t held = 0;
  if (keys & MK_LBUTTON) held |= host::kLeftButton;
  if (keys & MK_RBUTTON) held |= host::kRightButton;
  if (keys & MK_MBUTTON) held |= host::kMiddleButton;
  return held;
}

std::int16_t lowest_button(std::int16_t held) noexcept {
  for (std::int16_t b : {host::kLeftButton, host::kRightButton, host::kMiddleButton})
    if (held & b) return b;
  return host::kLeftButton;
}

bool escape_down() noexcept { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace

// The second press of a double click reports DblClick in place of MouseDown;
// its release is a MouseUp without a Click. Windows makes a double click of
// any two presses at one spot within the double-click time; it is one here
// only when both hit the same element, still shown. When the first click
// closed a tab, the next tab's close button may have slid under the
// pointer: that press is a press of its own.
void FormWindow::on_button_down(std::int16_t button, POINT pt, bool double_click) {
  hide_tooltip();
  if (drag_.active) return;  // only the left release ends a drag
  if (!press_.active) {
    const std::optional<Element> hit = hit_test(pt);
    if (!hit) return;
    if (double_click && last_left_press_ != hit) double_click = false;
    press_ = {true, *hit, 0, false};
    SetCapture(hwnd_);
  }
  if (button == host::kLeftButton) last_left_press_ = press_.element;
  press_.held |= button;
  if (press_.spent) return;
  if (button == host::kLeftButton) press_.click_armed = !double_click;
  const Element target = press_.element;
  if (double_click) {
    deliver([target](FormEvents& ev) { ev.DblClick(target); });
  } else {
    deliver([target, button](FormEvents& ev) { ev.MouseDown(target, button); });
  }
}

void FormWindow::on_button_up(std::int16_t button, POINT pt) {
  if (drag_.active) {
    if (button == host::kLeftButton) finish_drag(pt);
    return;
  }
  const std::optional<Element> hit = hit_test(pt);
  if (!press_.active) {
    // Pressed elsewhere, released here: the element under the pointer hears.
    if (hit) deliver([e = *hit, button](FormEvents& ev) { ev.MouseUp(e, button); });
    return;
  }
  if (press_.spent) {
    press_.held &= static_cast<std::int16_t>(~button);
    if (press_.held == 0) end_press();
    return;
  }
  const Element target = press_.element;
  const bool click = button == host::kLeftButton && press_.click_armed && hit && *hit == target;
  if (button == host::kLeftButton) press_.click_armed = false;
  press_.held &= static_cast<std::int16_t>(~button);
  if (press_.held == 0) end_press();
  if (!deliver([target, button](FormEvents& ev) { ev.MouseUp(target, button); })) return;
  if (click) deliver([target](FormEvents& ev) { ev.Click(target); });
}

// Whole notches are reported; fractions add up until they make one. A turn
// in the other direction drops what was left over.
void FormWindow::on_wheel(int delta, bool horizontal) {
  int& rest = wheel_rest_[horizontal ? 1 : 0];
  if ((rest < 0) != (delta < 0)) rest = 0;
  rest += delta;
  const int notches = rest / WHEEL_DELTA;
  if (notches == 0) return;
  rest -= notches * WHEEL_DELTA;
  const auto n = static_cast<std::int16_t>(std::clamp(notches, -32767, 32767));
  deliver([n, horizontal](FormEvents& ev) { ev.MouseWheel(n, horizontal); });
}

void FormWindow::on_mouse_move(WPARAM keys, POINT pt) {
  if (drag_.active) {
    if (escape_down()) cancel_drag();
    else move_drag_outline(pt);
    return;
  }
  if (press_.spent) return;
  Element target = press_.element;
  // While pressed, the buttons are the ones this window saw go down and not
  // yet up, so that moves and releases reach the handlers in their order.
  std::int16_t held = press_.held;
  if (!press_.active) {
    const std::optional<Element> hit = hit_test(pt);
    if (!hit) return;
    target = *hit;
    held = buttons_of(keys);
    track_hover(target);
  }
  deliver([target, held](FormEvents& ev) { ev.MouseMove(target, held); });
}

// The capture went elsewhere: a drag is cancelled without a drop. A press
// is over too; its release will never come. When that happens outside any
// event handler (the user switched away with the button down) the pressed
// element gets its MouseUp now, so that a held scroll stops. Inside a
// handler it is a menu or dialog of that handler taking over the mouse,
// and no event is nested into it.
void FormWindow::on_capture_lost() {
  if (drag_.active) {
    end_drag();
    press_ = {};
    return;
  }
  if (!press_.active) return;
  if (press_.spent) {
    press_ = {};
    return;
  }
  const Element target = press_.element;
  const std::int16_t button = lowest_button(press_.held);
  press_ = {};
  if (delivery_depth_ > 0) return;
  deliver([target, button](FormEvents& ev) { ev.MouseUp(target, button); });
}

void FormWindow::end_press() {
  press_ = {};
  // Cleared first: the WM_CAPTURECHANGED this sends finds nothing to cancel.
  if (GetCapture() == hwnd_) ReleaseCapture();
}

// Only a face can be dragged, and only while the left button holds the
// press that will end the drag; otherwise nothing happens.
void FormWindow::Drag(Element e) {
  if (e.part != Part::face) throw_host_error(status::invalid_arg, "face.Drag");
  const ElementState& face = element(e, "face.Drag");
  if (!hwnd_ || drag_.active || !press_.active || !(press_.held & host::kLeftButton)) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(hwnd_, &cursor);
  const RECT r = pixel_rect(face);
  drag_ = {true, e.index, {cursor.x - r.left, cursor.y - r.top},
           {r.right - r.left, r.bottom - r.top}, {}};
  press_.click_armed = false;
  // Escape goes to the window with the keyboard focus, which is Word's, so
  // the drag watches the key itself.
  SetTimer(hwnd_, kEscapePollTimerId, kEscapePollMs, nullptr);
  move_drag_outline(cursor);
}

bool FormWindow::pointer_over_bar(POINT client) const noexcept {
  RECT r{};
  if (!hwnd_ || !GetClientRect(hwnd_, &r) || !PtInRect(&r, client)) return false;
  POINT screen = client;
  ClientToScreen(hwnd_, &screen);
  return WindowFromPoint(screen) == hwnd_;
}

// The outline is the bar's own overlay: shown while the pointer is over the
// bar, where a drop can land.
void FormWindow::move_drag_outline(POINT pt) {
  RECT next{};
  if (pointer_over_bar(pt)) {
    const int left = pt.x - drag_.grab.x, top = pt.y - drag_.grab.y;
    next = {left, top, left + drag_.size.cx, top + drag_.size.cy};
  }
  if (EqualRect(&next, &drag_.outline)) return;
  invalidate(drag_.outline);
  drag_.outline = next;
  invalidate(next);
}

void FormWindow::finish_drag(POINT pt) {
  const std::int16_t source = drag_.source;
  const std::optional<Element> target =
      pointer_over_bar(pt) ? hit_test(pt) : std::optional<Element>{};
  end_drag();
  end_press();
  if (!target) return;  // released outside the bar
  const float x = to_twips(pt.x, scale_.x), y = to_twips(pt.y, scale_.y);
  deliver([&](FormEvents& ev) { ev.DragDrop(*target, source, x, y); });
}

// Escape: the drag ends without a drop. The press keeps the capture until
// its buttons are up, and its release is swallowed rather than reported to
// whatever element lies under the pointer then.
void FormWindow::cancel_drag() {
  end_drag();
  press_.spent = true;
  press_.click_armed = false;
}

void FormWindow::end_drag() {
  const RECT outline = drag_.outline;
  drag_ = {};
  KillTimer(hwnd_, kEscapePollTimerId);
  invalidate(outline);
}

}  // namespace plovera::win32
