// SimFormEngine: creating the form, delivering its events, and the clock
// that drives its timers.
#include <cmath>
#include <stdexcept>

#include "host/callback_scope.h"
#include "host/form_design.h"
#include "sim/sim_forms.h"

namespace plovera::sim {
namespace {

constexpr const char* kNames[] = {
    "FormEngine.CreateForm",
    "Form.hWnd", "Form.Width.get", "Form.Width.let", "Form.Height", "Form.Picture",
    "Form.Show", "Form.Count", "Form.Load", "Form.Drag",
    "Form.TimerInterval", "Form.TimerEnabled.get", "Form.TimerEnabled.let",
    "Element.Left.get", "Element.Left.let", "Element.Top.get", "Element.Top.let",
    "Element.Width.get", "Element.Width.let", "Element.Height.get", "Element.Height.let",
    "Element.Visible.get", "Element.Visible.let", "Element.Picture.get", "Element.Picture.let",
    "Element.Stretch", "Element.Caption.get", "Element.Caption.let", "Element.AutoSize",
    "Element.CopyFont", "Form.Look", "Form.Language", "Form.Refresh", "Form.RightToLeft",
    "Element.MaxWidth", "Element.Unsaved",
};
static_assert(std::size(kNames) == static_cast<std::size_t>(FormCall::count_));

constexpr host::Timer kTimers[] = {host::Timer::poll, host::Timer::scroll_left,
                                   host::Timer::scroll_right};

std::int32_t to_pixels(float twips, std::int32_t twips_per_pixel) {
  return static_cast<std::int32_t>(std::nearbyint(twips / static_cast<float>(twips_per_pixel)));
}

}  // namespace

const std::span<const char* const> kFormCallNames{kNames};

SimFormEngine::SimFormEngine(SimWindowSystem& ws) : CallMeter(kFormCallNames), ws_(ws) {}

SimFormEngine::~SimFormEngine() {
  for (SimForm* f : forms_) f->engine_ = nullptr;
}

std::unique_ptr<host::Form> SimFormEngine::CreateForm(host::FormEvents& events) {
  const status_t s = enter(static_cast<std::size_t>(FormCall::CreateForm));
  if (failed(s)) throw host_error(s, kNames[0]);
  const host::Rect design{0, 0, to_pixels(host::design::form_width, ws_.twips_per_pixel_x()),
                          to_pixels(host::design::form_height, ws_.twips_per_pixel_y())};
  const host::Hwnd hwnd =
      ws_.create_window(ws_.desktop(), u"PloveraBar", u"Plovera tab bar", design);
  std::shared_ptr<SimForm> form(new SimForm(*this, events, hwnd));
  forms_.push_back(form.get());
  form_ = form.get();  // an older form still living no longer receives events
  drag_.reset();
  ++forms_created_;
  return std::make_unique<host::FormHandle>(std::move(form));
}

SimForm& SimFormEngine::live_form() const {
  if (!form_) throw std::logic_error("no live form to deliver to");
  return *form_;
}

// ---- Events ---------------------------------------------------------------------

// The guard of the real engine: a throwing handler ends the event only. The
// handler may unload the form; the object stays until the delivery returns.
template <class Deliver>
status_t SimFormEngine::deliver(Deliver fn) {
  return deliver_to(live_form(), fn);
}

template <class Deliver>
status_t SimFormEngine::deliver_to(SimForm& form, Deliver fn) {
  const host::CallbackScope scope;
  const std::shared_ptr<SimForm> pin = form.shared_from_this();
  host::FormEvents& events = pin->events_;
  const status_t s = boundary_guard([&] { fn(events); });
  if (failed(s)) ++failed_events_;
  return s;
}

void SimFormEngine::require_shown(host::Element e) const {
  const SimForm& f = live_form();
  if (e.part == host::Part::bar) return;
  if (!f.loaded(e) || !f.element(e).visible) {
    throw std::logic_error("the pointer cannot reach an element that is not shown");
  }
}

status_t SimFormEngine::mouse_down(host::Element e, std::int16_t button) {
  require_shown(e);
  return deliver([&](host::FormEvents& ev) { ev.MouseDown(e, button); });
}

status_t SimFormEngine::mouse_move(host::Element e, std::int16_t buttons) {
  require_shown(e);
  return deliver([&](host::FormEvents& ev) { ev.MouseMove(e, buttons); });
}

status_t SimFormEngine::mouse_up(host::Element e, std::int16_t button) {
  if (e.part != host::Part::bar && !live_form().loaded(e)) {
    throw std::logic_error("mouse_up on an element that is not loaded");
  }
  return deliver([&](host::FormEvents& ev) { ev.MouseUp(e, button); });
}

status_t SimFormEngine::wheel(std::int16_t notches, bool horizontal) {
  return deliver([&](host::FormEvents& ev) { ev.MouseWheel(notches, horizontal); });
}

status_t SimFormEngine::click(host::Element e) {
  require_shown(e);
  return deliver([&](host::FormEvents& ev) { ev.Click(e); });
}

status_t SimFormEngine::dbl_click(host::Element e) {
  require_shown(e);
  return deliver([&](host::FormEvents& ev) { ev.DblClick(e); });
}

status_t SimFormEngine::drop(host::Element target, float x, float y) {
  if (!drag_) throw std::logic_error("drop without a drag in progress");
  require_shown(target);
  const std::int16_t source = drag_->index;
  drag_.reset();
  return deliver([&](host::FormEvents& ev) { ev.DragDrop(target, source, x, y); });
}

// ---- Time -----------------------------------------------------------------------

void SimFormEngine::advance(std::uint32_t ms) {
  const std::uint64_t until = now_ + ms;
  while (fire_next_timer(until)) {
  }
  if (now_ < until) now_ = until;
}

// Fires the enabled timer due first, of every live form, not later than
// `until`; false when none is due. Re-read on every call: a tick may change
// the timers or the forms. Of timers due together, the older form's fires
// first.
bool SimFormEngine::fire_next_timer(std::uint64_t until) {
  SimForm* owner = nullptr;
  const SimForm::TimerState* next = nullptr;
  host::Timer which = host::Timer::poll;
  for (SimForm* f : forms_) {
    for (host::Timer t : kTimers) {
      const auto& timer = f->timers_[SimForm::index(t)];
      if (!timer.enabled || timer.interval == 0 || timer.due > until) continue;
      if (!next || timer.due < next->due) next = &timer, which = t, owner = f;
    }
  }
  if (!next) return false;
  if (now_ < next->due) now_ = next->due;
  owner->timers_[SimForm::index(which)].due += next->interval;
  deliver_to(*owner, [&](host::FormEvents& ev) { ev.TimerTick(which); });
  return true;
}

}  // namespace plovera::sim
