// SimForm: the tab-bar form's members, on plain element records.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "host/form_design.h"
#include "sim/sim_forms.h"

namespace plovera::sim {
namespace {

namespace design = host::design;

ElementRecord image(float width, float height, bool stretch) {
  ElementRecord r;
  r.width = width;
  r.height = height;
  r.stretch = stretch;
  return r;
}

ElementRecord arrow(float left, host::Picture picture) {
  ElementRecord r = image(design::arrow_width, design::arrow_height, true);
  r.left = left;
  r.picture = picture;
  r.visible = true;
  return r;
}

ElementRecord label_template() {
  ElementRecord r;
  r.width = design::caption_template_width;
  r.height = design::caption_template_height;
  r.caption = design::caption_template_text;
  r.font = design::caption_template_font;
  r.font_points = design::caption_template_font_points;
  return r;
}

// face, close_button, icon and caption are control arrays; the arrows are
// single images and the form is none.
bool is_control_array(host::Part part) {
  return part != host::Part::bar && part != host::Part::left_arrow && part != host::Part::right_arrow;
}

}  // namespace

float label_width(std::u16string_view text) noexcept {
  std::size_t points = text.size();
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low_next = text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (high && low_next) {
      --points;  // a surrogate pair is one code point
      ++i;
    }
  }
  return kLabelTwipsPerCodePoint * static_cast<float>(points);
}

SimForm::SimForm(SimFormEngine& engine, host::FormEvents& events, host::Hwnd hwnd)
    : engine_(&engine), events_(events), hwnd_(hwnd) {
  faces_.push_back(image(design::face_template_width, design::face_template_height, false));
  close_buttons_.push_back(
      image(design::close_template_width, design::close_template_height, true));
  icons_.push_back(image(design::icon_template_width, design::icon_template_height, false));
  captions_.push_back(label_template());
  left_arrow_.push_back(arrow(0, host::Picture::scroll_left));
  right_arrow_.push_back(
      arrow(design::form_width - design::arrow_width, host::Picture::scroll_right));
  timers_[index(host::Timer::poll)].interval = design::poll_interval_ms;
  timers_[index(host::Timer::scroll_left)].interval = design::scroll_timer_ms;
  timers_[index(host::Timer::scroll_right)].interval = design::scroll_timer_ms;
}

SimForm::~SimForm() { unload(); }

void SimForm::unload() noexcept {
  if (!engine_) return;
  auto& forms = engine_->forms_;
  forms.erase(std::find(forms.begin(), forms.end(), this));
  if (engine_->form_ == this) {
    engine_->form_ = nullptr;
    engine_->drag_.reset();
  }
  engine_->ws_.destroy_window(hwnd_);
  engine_ = nullptr;
}

void SimForm::enter(FormCall call) {
  const auto member = static_cast<std::size_t>(call);
  if (!engine_) throw host_error(status::disconnected, kFormCallNames[member]);
  const status_t s = engine_->enter(member);
  if (failed(s)) throw host_error(s, kFormCallNames[member]);
}

void SimForm::paint_if(const ElementRecord& r, bool changed) noexcept {
  if (changed && r.visible && engine_) ++engine_->paints_;
}

const std::deque<ElementRecord>* SimForm::array(host::Part part) const noexcept {
  switch (part) {
    case host::Part::face: return &faces_;
    case host::Part::close_button: return &close_buttons_;
    case host::Part::icon: return &icons_;
    case host::Part::caption: return &captions_;
    case host::Part::left_arrow: return &left_arrow_;
    case host::Part::right_arrow: return &right_arrow_;
    case host::Part::bar: break;
  }
  return nullptr;
}

std::deque<ElementRecord>* SimForm::array(host::Part part) noexcept {
  return const_cast<std::deque<ElementRecord>*>(std::as_const(*this).array(part));
}

ElementRecord& SimForm::el(host::Element e, FormCall call) {
  enter(call);
  return find(e, call);
}

ElementRecord& SimForm::find(host::Element e, FormCall call) {
  const char* name = kFormCallNames[static_cast<std::size_t>(call)];
  auto* list = array(e.part);
  if (!list) throw host_error(status::invalid_arg, name);
  if (e.index < 0 || static_cast<std::size_t>(e.index) >= list->size()) {
    throw host_error(status::bad_index, name);
  }
  return (*list)[static_cast<std::size_t>(e.index)];
}

// ---- The form itself ----------------------------------------------------------

host::Hwnd SimForm::hWnd() {
  enter(FormCall::hWnd);
  return hwnd_;
}

// A form whose window was destroyed from outside (its parent went) keeps the
// size it had, as the real engine keeps its own.
host::Rect SimForm::window_rect() const noexcept {
  if (engine_ && engine_->ws_.exists(hwnd_)) last_rect_ = engine_->ws_.rect(hwnd_);
  return last_rect_;
}

float SimForm::width_twips() const noexcept {
  if (!engine_) return 0;
  const host::Rect r = window_rect();
  return static_cast<float>(r.right - r.left) * engine_->ws_.twips_per_pixel_x();
}

float SimForm::height_twips() const noexcept {
  if (!engine_) return 0;
  const host::Rect r = window_rect();
  return static_cast<float>(r.bottom - r.top) * engine_->ws_.twips_per_pixel_y();
}

float SimForm::Width() {
  enter(FormCall::WidthGet);
  return width_twips();
}

void SimForm::Width(float twips) {
  enter(FormCall::WidthLet);
  SimWindowSystem& ws = engine_->ws_;
  host::Rect r = window_rect();
  // nearbyint rounds half to even in the default rounding mode.
  const auto pixels = static_cast<std::int32_t>(std::nearbyint(twips / ws.twips_per_pixel_x()));
  if (r.right - r.left == pixels) return;
  r.right = r.left + pixels;
  last_rect_ = r;
  if (ws.exists(hwnd_)) ws.set_rect(hwnd_, r);
  ++engine_->paints_;
}

float SimForm::Height() {
  enter(FormCall::Height);
  return height_twips();
}

void SimForm::Picture(host::Picture p) {
  enter(FormCall::Picture);
  if (picture_ == p) return;
  picture_ = p;
  ++engine_->paints_;
}

void SimForm::Show() {
  enter(FormCall::Show);
  if (shown_) return;
  shown_ = true;
  ++engine_->paints_;
}

void SimForm::Look(host::Look look) {
  enter(FormCall::Look);
  if (look_ == look) return;
  look_ = look;
  ++engine_->paints_;
}

void SimForm::Refresh() {
  enter(FormCall::Refresh);
  ++engine_->paints_;
}

void SimForm::Language(std::int32_t language_id) {
  enter(FormCall::Language);
  language_ = language_id;
}

std::int16_t SimForm::Count(host::Part part) {
  enter(FormCall::Count);
  if (!is_control_array(part)) {
    throw host_error(status::invalid_arg, kFormCallNames[static_cast<std::size_t>(FormCall::Count)]);
  }
  return static_cast<std::int16_t>(array(part)->size());
}

void SimForm::Load(host::Part part, std::int16_t index) {
  enter(FormCall::Load);
  const char* name = kFormCallNames[static_cast<std::size_t>(FormCall::Load)];
  if (!is_control_array(part)) throw host_error(status::invalid_arg, name);
  auto& list = *array(part);
  if (index >= 0 && static_cast<std::size_t>(index) < list.size()) {
    throw host_error(status::invalid_arg, name);  // already loaded
  }
  if (index < 0 || static_cast<std::size_t>(index) != list.size()) {
    throw host_error(status::bad_index, name);  // not the next index
  }
  ElementRecord copy = list.front();
  copy.visible = false;
  list.push_back(std::move(copy));
}

void SimForm::Drag(host::Element e) {
  el(e, FormCall::Drag);
  engine_->drag_ = e;
}

// ---- Timers -------------------------------------------------------------------

void SimForm::TimerInterval(host::Timer t, std::uint32_t ms) {
  enter(FormCall::TimerInterval);
  TimerState& timer = timers_[index(t)];
  timer.interval = ms;
  if (timer.enabled) timer.due = engine_->now_ + ms;  // a new interval starts counting anew
}

void SimForm::TimerEnabled(host::Timer t, bool enabled) {
  enter(FormCall::TimerEnabledLet);
  TimerState& timer = timers_[index(t)];
  if (enabled && !timer.enabled) timer.due = engine_->now_ + timer.interval;
  timer.enabled = enabled;
}

bool SimForm::TimerEnabled(host::Timer t) {
  enter(FormCall::TimerEnabledGet);
  return timers_[index(t)].enabled;
}

// ---- Test side ----------------------------------------------------------------

bool SimForm::loaded(host::Element e) const noexcept {
  const auto* list = array(e.part);
  return list && e.index >= 0 && static_cast<std::size_t>(e.index) < list->size();
}

std::int16_t SimForm::loaded_count(host::Part part) const {
  const auto* list = array(part);
  if (!list) throw std::out_of_range("the form is not a control array");
  return static_cast<std::int16_t>(list->size());
}

const ElementRecord& SimForm::element(host::Element e) const {
  if (!loaded(e)) throw std::out_of_range("element not loaded");
  return (*array(e.part))[static_cast<std::size_t>(e.index)];
}

}  // namespace plovera::sim
