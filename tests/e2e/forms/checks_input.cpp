// Real input on a shown bar: which element hears a press, capture, clicks
// and double clicks, the drag of a face, handlers that throw or destroy
// the form, and the timers.
#include <cstdio>

#include "checks.h"

namespace forms_test {

using plovera::host::Part;
using plovera::host::Picture;
using plovera::host::Timer;

namespace {

constexpr POINT kBackground{700, 12};  // client pixels right of the last tab

bool is_tab_part(Element e) {
  return e.part == Part::face || e.part == Part::icon || e.part == Part::caption;
}

// A point on face c that no icon, caption or close button covers: the two
// pixels between the icon and the caption.
POINT face_only(HWND bar, int c) {
  const RECT icon = query(bar, el(Part::icon, c)).q.rect;
  return to_screen(bar, {icon.right, icon.top + 4});
}

bool wait_for(Recorder& ev, const std::string& prefix) {
  return pump_until([&] {
    for (const std::string& line : ev.log)
      if (line.rfind(prefix, 0) == 0) return true;
    return false;
  });
}

std::string clicked(Bar& bar, POINT at, bool right = false) {
  bar.events.clear();
  click_at(at, right);
  wait_for(bar.events, "MouseUp");
  pump_for(50);
  return bar.events.presses();
}

// Moves in a few steps, as a hand does, so that moves arrive on the way.
void glide_to(POINT from, POINT to) {
  for (int i = 1; i <= 4; ++i)
    move_to({from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
}

// Arms a drag the way the tab strip does: a left press on a tab part
// records it, and the first move reporting that part drags its face.
void arm_drag_like_the_strip(Bar& bar) {
  auto pressed = std::make_shared<int>(0);
  bar.events.on_down = [pressed](Element e, std::int16_t b) {
    if (b == plovera::host::kLeftButton && is_tab_part(e)) *pressed = e.index;
  };
  bar.events.on_move = [&bar, pressed](Element e, std::int16_t) {
    if (!is_tab_part(e) || e.index != *pressed) return;
    *pressed = 0;
    bar.form->Drag(el(Part::face, e.index));
  };
}

// Waits out the double-click time, so that the next press at the same
// place is a press of its own and not the second half of a double click.
void new_gesture() { pump_for(GetDoubleClickTime() + 50); }

std::string dragged(Bar& bar, POINT from, POINT to) {
  new_gesture();
  bar.events.clear();
  move_to(from);
  button(true);
  glide_to(from, to);
  button(false);
  pump_for(80);
  return bar.events.presses();
}

std::string drop_at(int source, const char* target, POINT client) {
  return "MouseDown caption(" + std::to_string(source) + ") 1; DragDrop " + target + " " +
         std::to_string(source) + " " + std::to_string(client.x * 15) + " " +
         std::to_string(client.y * 15);
}

}  // namespace

void lay_out_three_tabs(Bar& bar, float first_x) {
  bar.add_tab(1, first_x, u"Document1");
  bar.add_tab(2, bar.after(1), u"Report \u2013 \u03a9");
  bar.add_tab(3, bar.after(2), u"Notes");
  bar.show_arrows();
  bar.settle();
}

void check_clicks_and_hits(Bar& bar, Checks& t) {
  const HWND h = bar.hwnd;
  std::string got = clicked(bar, centre_of(h, el(Part::close_button, 2)));
  t.expect(got == "MouseDown close_button(2) 1; MouseUp close_button(2) 1; Click close_button(2)",
           "a click on a close button reaches it, not the face beneath", got);
  got = clicked(bar, centre_of(h, el(Part::caption, 2)));
  t.expect(got == "MouseDown caption(2) 1; MouseUp caption(2) 1; Click caption(2)",
           "a click on a caption reaches the caption", got);
  got = clicked(bar, centre_of(h, el(Part::icon, 2)));
  t.expect(got == "MouseDown icon(2) 1; MouseUp icon(2) 1; Click icon(2)",
           "a click on an icon reaches the icon", got);
  got = clicked(bar, face_only(h, 2));
  t.expect(got == "MouseDown face(2) 1; MouseUp face(2) 1; Click face(2)",
           "a click on bare face reaches the face", got);
  got = clicked(bar, centre_of(h, el(Part::left_arrow, 0)));
  t.expect(got == "MouseDown left_arrow(0) 1; MouseUp left_arrow(0) 1; Click left_arrow(0)",
           "an arrow lies above the tab under it", got);
  got = clicked(bar, to_screen(h, kBackground));
  t.expect(got == "MouseDown bar 1; MouseUp bar 1; Click bar",
           "a click on no element reaches the form", got);

  auto& f = *bar.form;
  const Element face3 = el(Part::face, 3);
  const float left3 = f.Left(face3);
  f.Left(face3, f.Left(el(Part::face, 2)));
  got = clicked(bar, face_only(h, 2));
  f.Left(face3, left3);
  t.expect(got == "MouseDown face(3) 1; MouseUp face(3) 1; Click face(3)",
           "of two overlapping faces the later control index is on top", got);

  got = clicked(bar, centre_of(h, el(Part::caption, 2)), true);
  t.expect(got == "MouseDown caption(2) 2; MouseUp caption(2) 2",
           "a right click reports button 2 and no Click", got);

  bar.events.clear();
  move_to(centre_of(h, el(Part::caption, 3)));
  pump_until([&] { return !bar.events.last_move().empty(); });
  t.expect(bar.events.last_move() == "MouseMove caption(3) 0",
           "a move without buttons reaches the element under the pointer",
           bar.events.last_move());

  bar.events.clear();
  const POINT caption = centre_of(h, el(Part::caption, 2));
  move_to(caption);
  for (int i = 0; i < 2; ++i) {
    button(true);
    button(false);
  }
  pump_for(80);
  got = bar.events.presses();
  t.expect(got == "MouseDown caption(2) 1; MouseUp caption(2) 1; Click caption(2); "
                  "DblClick caption(2); MouseUp caption(2) 1",
           "a double click reports DblClick on the second press", got);
  const HWND active = GetActiveWindow(), foreground = GetForegroundWindow();
  t.expect(active != h && foreground != h, "clicks never activate the bar",
           std::to_string(reinterpret_cast<std::uintptr_t>(active)) + " " +
               std::to_string(reinterpret_cast<std::uintptr_t>(foreground)) + " bar " +
               std::to_string(reinterpret_cast<std::uintptr_t>(h)));
}

void check_capture(Bar& bar, Checks& t) {
  const HWND h = bar.hwnd;
  new_gesture();
  const POINT start = face_only(h, 2);
  move_to(start);
  bar.events.clear();
  button(true);
  glide_to(start, to_screen(h, kBackground));
  move_to(to_screen(h, {kBackground.x, -12}));  // above the bar, outside it
  button(false);
  pump_for(80);
  bool moves_to_pressed = true;
  int moves = 0;
  std::string odd;
  for (const std::string& line : bar.events.log)
    if (line.rfind("MouseMove", 0) == 0) {
      ++moves;
      if (line != "MouseMove face(2) 1") odd = line;
    }
  moves_to_pressed = odd.empty();
  std::string got = bar.events.presses();
  t.expect(got == "MouseDown face(2) 1; MouseUp face(2) 1",
           "a release off the pressed element still reaches it, without a Click", got);
  t.expect(moves > 0 && moves_to_pressed, "moves while pressed go to the pressed element",
           std::to_string(moves) + " moves, " + odd);

  bar.events.clear();
  move_to(centre_of(h, el(Part::right_arrow, 0)));
  button(true);
  SetCapture(bar.host);  // something else takes the mouse while the arrow is held
  pump_for(50);
  button(false);
  pump_for(50);
  ReleaseCapture();
  got = bar.events.presses();
  t.expect(got == "MouseDown right_arrow(0) 1; MouseUp right_arrow(0) 1",
           "lost capture ends the press with one MouseUp and no Click", got);
}

void check_drag(Bar& bar, Checks& t) {
  const HWND h = bar.hwnd;
  arm_drag_like_the_strip(bar);
  const POINT caption1 = centre_of(h, el(Part::caption, 1));
  const POINT caption3 = centre_of(h, el(Part::caption, 3));
  const std::uint32_t paints = plovera::win32::bar_paint_count(h);
  std::string got = dragged(bar, caption1, caption3);
  POINT client = caption3;
  ScreenToClient(h, &client);
  t.expect(got == drop_at(1, "caption(3)", client),
           "a drag drops on the element under the pointer, with no MouseUp or Click", got);
  t.expect(plovera::win32::bar_paint_count(h) > paints + 2,
           "the drag outline is redrawn as the pointer moves");

  got = dragged(bar, caption1, to_screen(h, kBackground));
  t.expect(got == drop_at(1, "bar", kBackground),
           "a drop on no element reaches the form with the point in twips", got);

  got = dragged(bar, caption1, to_screen(h, {kBackground.x, -12}));
  t.expect(got == "MouseDown caption(1) 1" && GetCapture() != h,
           "a release outside the bar drops nothing and frees the mouse", got);

  new_gesture();
  bar.events.clear();
  move_to(caption1);
  button(true);
  glide_to(caption1, centre_of(h, el(Part::caption, 2)));
  key(VK_ESCAPE, true);
  pump_for(120);
  key(VK_ESCAPE, false);
  glide_to(centre_of(h, el(Part::caption, 2)), caption3);
  button(false);
  pump_for(80);
  got = bar.events.presses();
  t.expect(got == "MouseDown caption(1) 1" && GetCapture() != h, "Escape cancels a drag", got);

  bar.events.on_down = nullptr;
  bar.events.on_move = nullptr;
  got = clicked(bar, caption3);
  t.expect(got == "MouseDown caption(3) 1; MouseUp caption(3) 1; Click caption(3)",
           "after a drag, clicks work as before", got);
}

void check_handlers_that_fail_or_destroy(Engine& engine, Checks& t) {
  Bar bar(engine, {40, 160}, 600);
  bar.add_tab(1, 75, u"Doc");
  bar.settle();
  const POINT caption = centre_of(bar.hwnd, el(Part::caption, 1));
  bar.events.on_down = [](Element, std::int16_t) {
    plovera::throw_host_error(plovera::status::fail, "Test.MouseDown");
  };
  std::string got = clicked(bar, caption);
  t.expect(got == "MouseDown caption(1) 1; MouseUp caption(1) 1; Click caption(1)",
           "a handler that throws ends its own event only", got);

  const HWND h = bar.hwnd;
  bar.events.on_down = [&bar](Element, std::int16_t) { bar.form.reset(); };
  new_gesture();
  bar.events.clear();
  click_at(caption);
  new_gesture();
  click_at(caption);
  pump_for(100);
  t.expect(!IsWindow(h) && bar.events.presses() == "MouseDown caption(1) 1",
           "a handler may destroy the form; nothing is delivered after", bar.events.presses());

  Recorder ev;
  auto form = engine.CreateForm(ev);
  const HWND timed = hwnd_of(*form);
  ev.on_tick = [&form](plovera::host::Timer) { form.reset(); };
  form->TimerEnabled(Timer::poll, true);
  form->TimerEnabled(Timer::scroll_left, true);
  pump_for(300);
  t.expect(!form && !IsWindow(timed) && ev.ticks[0] + ev.ticks[1] == 1,
           "a tick may destroy the form; its timers stop with it",
           std::to_string(ev.ticks[0] + ev.ticks[1]) + " ticks");
}

// Closing tabs one after another with quick clicks on the close button:
// each click closes its tab and the next one slides under the pointer, so
// the second press, which Windows reports as a double click, lands on
// another tab's close button and is a press of its own.
void check_quick_clicks_on_sliding_tabs(Engine& engine, Checks& t) {
  Bar bar(engine, {40, 360}, 900);
  lay_out_three_tabs(bar);
  auto& f = *bar.form;
  const Part parts[] = {Part::face, Part::icon, Part::caption, Part::close_button};
  // As the strip does on a tick after Word closed the window: the tab's
  // parts are hidden and the tabs right of it move left into its place.
  bar.events.on_click = [&](Element e) {
    if (e.part != Part::close_button) return;
    float lefts[4];
    for (int i = 0; i < 4; ++i) lefts[i] = f.Left(el(parts[i], e.index));
    for (int c = e.index; c <= 3; ++c) {
      for (int i = 0; i < 4; ++i) {
        const Element part = el(parts[i], c);
        if (c == e.index) {
          f.Visible(part, false);
        } else {
          const float here = f.Left(part);
          f.Left(part, lefts[i]);
          lefts[i] = here;
        }
      }
    }
  };
  new_gesture();
  bar.events.clear();
  move_to(centre_of(bar.hwnd, el(Part::close_button, 1)));
  for (int i = 0; i < 2; ++i) {
    button(true);
    button(false);
    pump_for(60);  // the click is handled and the next tab is in place
  }
  pump_for(80);
  const std::string got = bar.events.presses();
  t.expect(got == "MouseDown close_button(1) 1; MouseUp close_button(1) 1; Click close_button(1); "
                  "MouseDown close_button(2) 1; MouseUp close_button(2) 1; Click close_button(2)",
           "a quick second click on the close button that slid under the pointer is a click",
           got);
  bar.events.on_click = nullptr;
}

void check_timers(Bar& bar, Checks& t) {
  auto& f = *bar.form;
  int* ticks = bar.events.ticks;
  f.TimerEnabled(Timer::poll, true);
  const DWORD start = GetTickCount();
  pump_until([&] { return ticks[0] >= 50; }, 3000);
  const DWORD took = GetTickCount() - start;
  f.TimerEnabled(Timer::poll, false);
  const int at_stop = ticks[0];
  pump_for(200);
  t.expect(at_stop >= 50 && took < 2000, "mouseTimer ticks every 10 ms",
           "50 ticks in " + std::to_string(took) + " ms");
  std::printf("  measured: %d mouseTimer ticks in %lu ms\n", at_stop, took);
  t.expect(ticks[0] == at_stop, "a disabled timer stops ticking");

  f.TimerEnabled(Timer::scroll_left, true);
  pump_for(550);
  f.TimerEnabled(Timer::scroll_left, false);
  t.expect(ticks[1] >= 3 && ticks[1] <= 6, "leftTimer ticks every 100 ms",
           std::to_string(ticks[1]) + " ticks in 550 ms");

  f.TimerEnabled(Timer::scroll_right, true);
  f.TimerInterval(Timer::scroll_right, 20);
  pump_for(300);
  f.TimerEnabled(Timer::scroll_right, false);
  t.expect(ticks[2] >= 8 && ticks[1] <= 6 && ticks[0] == at_stop,
           "a new interval applies at once; each timer ticks its own event",
           std::to_string(ticks[2]) + " ticks in 300 ms");
}

}  // namespace forms_test
