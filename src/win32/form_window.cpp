#include "win32/form_window.h"

#include <unordered_map>
#include <utility>

#include <windowsx.h>

#include "host/callback_scope.h"
#include "win32/bar_instruments.h"
#include "win32/window_dpi.h"

namespace plovera::win32 {

using host::Part;
using host::Element;
namespace design = host::design;

namespace {

UINT query_message() noexcept {
  static const UINT message = RegisterWindowMessageW(kQueryElementMessage);
  return message;
}

std::size_t timer_slot(host::Timer t) {
  const auto i = static_cast<std::size_t>(t);
  if (i >= 3) throw_host_error(status::invalid_arg, "Form.Timer");
  return i;
}

POINT client_point(LPARAM lp) noexcept { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

}  // namespace

FormWindow::FormWindow(HINSTANCE module, const wchar_t* window_class,
                       std::shared_ptr<ImageStore> images, host::FormEvents& events)
    : events_(events), images_(std::move(images)) {
  dpi_ = screen_dpi();
  scale_ = TwipScale::of_dpi(dpi_);
  accessible_link_->form = this;
  measure_dc_.reset(CreateCompatibleDC(nullptr));
  if (!measure_dc_) throw_host_error(status::fail, "Form.Load");
  define_design_elements();
  create_window(module, window_class);
  // Nothing may throw once the window exists: a failure here leaves the
  // screen's resolution.
  ignore_errors([&] { follow_dpi(); });
}

FormWindow::~FormWindow() { unload(); }

void FormWindow::unload() noexcept {
  unloaded_ = true;
  stop_timers();
  *alive_ = false;
  disconnect_accessible();
  destroy_tooltip();
  if (hwnd_) {
    // Messages sent while the window goes away (capture loss, timers) must
    // not reach an unloaded form.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

void FormWindow::define_design_elements() {
  ElementState label;
  label.caption = design::caption_template_text;
  label.width = design::caption_template_width;
  label.height = design::caption_template_height;
  label.font = std::make_shared<const LabelFont>(
      LabelFont::create(design::caption_template_font, design::caption_template_font_points, dpi_));
  elements_.define(Part::caption, label);

  auto image = [](float w, float h, bool stretch) {
    ElementState s;
    s.width = w;
    s.height = h;
    s.stretch = stretch;
    return s;
  };
  elements_.define(Part::face,
                   image(design::face_template_width, design::face_template_height, false));
  elements_.define(Part::close_button,
                   image(design::close_template_width, design::close_template_height, true));
  elements_.define(Part::icon,
                   image(design::icon_template_width, design::icon_template_height, false));

  ElementState arrow = image(design::arrow_width, design::arrow_height, true);
  arrow.visible = true;
  arrow.picture = host::Picture::scroll_left;
  elements_.define(Part::left_arrow, arrow);
  arrow.picture = host::Picture::scroll_right;
  arrow.left = design::form_width - design::arrow_width;
  elements_.define(Part::right_arrow, arrow);

  timers_[static_cast<std::size_t>(host::Timer::poll)].interval_ms = design::poll_interval_ms;
  timers_[static_cast<std::size_t>(host::Timer::scroll_left)].interval_ms = design::scroll_timer_ms;
  timers_[static_cast<std::size_t>(host::Timer::scroll_right)].interval_ms = design::scroll_timer_ms;
}

void FormWindow::create_window(HINSTANCE module, const wchar_t* window_class) {
  const int w = to_pixels(design::form_width, scale_.x);
  const int h = to_pixels(design::form_height, scale_.y);
  // A frameless popup that never takes activation: it lives inside Word's
  // main window once re-parented, and clicking it must not take the
  // focus away from the document.
  CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, window_class, L"Plovera tab bar",
                  WS_POPUP | WS_CLIPSIBLINGS, 0, 0, w, h, nullptr, nullptr, module, this);
  if (!hwnd_) throw_host_error(status::fail, "Form.Load");
  // A right-to-left Word may make every new window of its process mirrored
  // (SetProcessDefaultLayout). The strip reflects itself (in its layout), so
  // its window keeps left-to-right coordinates: mirrored too, it would be
  // reflected twice and its pictures drawn back to front.
  const LONG ex_style = GetWindowLongW(hwnd_, GWL_EXSTYLE);
  if (ex_style & WS_EX_LAYOUTRTL) SetWindowLongW(hwnd_, GWL_EXSTYLE, ex_style & ~WS_EX_LAYOUTRTL);
}

LRESULT CALLBACK FormWindow::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // Whatever the handlers unload or release, the form (and the add-in that
  // owns it) stays until this message has been handled.
  const host::CallbackScope scope;
  const std::shared_ptr<FormWindow> pin = self->weak_from_this().lock();
  LRESULT result = 0;
  ++self->entry_depth_;
  boundary_guard([&] { result = self->handle(msg, wp, lp); });
  --self->entry_depth_;
  self->flush_stale();
  return result;
}

// Translates one message. After a call that delivers events the form may be
// gone, so those cases return without touching a member.
LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND hwnd = hwnd_;
  switch (msg) {
    case WM_NCDESTROY:
      destroy_tooltip();
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      press_ = {};
      drag_ = {};
      return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_PAINT: paint(); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING: on_window_pos_changing(reinterpret_cast<WINDOWPOS*>(lp)); break;
    case WM_WINDOWPOSCHANGED:
      adopt_parent_style();
      follow_dpi();  // docked again: perhaps on another monitor
      break;
    case WM_DPICHANGED:
    case kDpiChangedAfterParent: follow_dpi(); break;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED: InvalidateRect(hwnd, nullptr, FALSE); break;  // high contrast on or off
    case WM_LBUTTONDOWN: on_button_down(host::kLeftButton, client_point(lp), false); return 0;
    case WM_LBUTTONDBLCLK: on_button_down(host::kLeftButton, client_point(lp), true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: on_button_down(host::kRightButton, client_point(lp), false); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: on_button_down(host::kMiddleButton, client_point(lp), false); return 0;
    case WM_LBUTTONUP: on_button_up(host::kLeftButton, client_point(lp)); return 0;
    case WM_RBUTTONUP: on_button_up(host::kRightButton, client_point(lp)); return 0;
    case WM_MBUTTONUP: on_button_up(host::kMiddleButton, client_point(lp)); return 0;
    case WM_MOUSEMOVE: on_mouse_move(wp, client_point(lp)); return 0;
    case WM_MOUSEWHEEL: on_wheel(GET_WHEEL_DELTA_WPARAM(wp), false); return 0;
    case WM_MOUSEHWHEEL: on_wheel(GET_WHEEL_DELTA_WPARAM(wp), true); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd) on_capture_lost();
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE && drag_.active) cancel_drag();
      return 0;
    case WM_TIMER: on_timer(wp); return 0;
    case WM_GETOBJECT: return answer_get_object(wp, lp);
    case WM_MOUSEHOVER: on_mouse_hover(); return 0;
    case WM_MOUSELEAVE: on_mouse_leave(); return 0;
    case kAccessibleChangedMessage: raise_accessible_events(); return 0;
    case kDefaultActionMessage: perform_default_action(wp, lp); return 0;
    case kFlushStaleMessage: flush_posted_ = false; return 0;  // flushed as the call ends
    default:
      if (msg == query_message() && msg != 0) return answer_element_query(wp, lp);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// SetParent leaves WS_POPUP in place; a window with a parent other than the
// desktop is made a true child (clipped by its parent, positioned in its
// parent's client area, never activated), and a popup again when it goes
// back to the desktop. Returns whether the window is now a child.
bool FormWindow::adopt_parent_style() {
  const HWND parent = GetAncestor(hwnd_, GA_PARENT);
  const bool child = parent && parent != GetDesktopWindow();
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR wanted = child ? (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD
                                : (style & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP;
  if (wanted != style) SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);
  return child;
}

// Wine moves a re-parented popup with a SetWindowPos that would activate
// it, taking the activation from Word's main window; the move is turned
// into one that does not activate.
void FormWindow::on_window_pos_changing(WINDOWPOS* pos) {
  if (adopt_parent_style() && pos) pos->flags |= SWP_NOACTIVATE;
}

// The window's own timer: the Escape poll of a drag.
void FormWindow::on_timer(UINT_PTR id) {
  if (id != kEscapePollTimerId) return;
  if (!drag_.active) KillTimer(hwnd_, id);
  else if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) cancel_drag();
}

namespace {

// The forms whose thread timers run, by timer id: the add-in's UI thread is
// Word's only one, so no lock.
std::unordered_map<UINT_PTR, std::pair<std::weak_ptr<FormWindow>, host::Timer>>& running_timers() {
  static std::unordered_map<UINT_PTR, std::pair<std::weak_ptr<FormWindow>, host::Timer>> map;
  return map;
}

}  // namespace

// A timer of a second or more may be late by a tenth of its period: Windows
// (8 and later) then fires it together with other timers and lets the
// processor sleep longer. Faster timers (the 10-ms tick, the scroll arrows)
// keep their exact period.
UINT_PTR FormWindow::start_thread_timer(UINT ms) noexcept {
  using SetCoalescable = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
  static const auto set_coalescable = reinterpret_cast<SetCoalescable>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetCoalescableTimer")));
  if (ms >= 1000 && set_coalescable)
    if (const UINT_PTR id = set_coalescable(nullptr, 0, ms, &FormWindow::on_thread_timer, ms / 10))
      return id;
  return SetTimer(nullptr, 0, ms, &FormWindow::on_thread_timer);
}

void CALLBACK FormWindow::on_thread_timer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  const host::CallbackScope scope;
  const auto at = running_timers().find(id);
  if (at == running_timers().end()) return;
  const std::shared_ptr<FormWindow> self = at->second.first.lock();
  const host::Timer t = at->second.second;
  if (!self || self->unloaded_ || !self->timers_[timer_slot(t)].enabled) return;
  ++self->entry_depth_;
  boundary_guard([&] { self->deliver([t](host::FormEvents& ev) { ev.TimerTick(t); }); });
  --self->entry_depth_;
  self->flush_stale();
}

void FormWindow::apply_timer(host::Timer t) {
  TimerState& timer = timers_[timer_slot(t)];
  if (timer.id != 0) {
    KillTimer(nullptr, timer.id);
    running_timers().erase(timer.id);
    timer.id = 0;
  }
  if (!timer.enabled || timer.interval_ms == 0 || unloaded_) return;
  const UINT_PTR id = start_thread_timer(timer.interval_ms);
  if (id == 0) throw_host_error(status::fail, "Timer.Enabled");
  try {
    running_timers().emplace(id, std::make_pair(weak_from_this(), t));
  } catch (...) {
    KillTimer(nullptr, id);
    throw;
  }
  timer.id = id;
}

void FormWindow::stop_timers() noexcept {
  for (TimerState& timer : timers_) {
    if (timer.id == 0) continue;
    KillTimer(nullptr, timer.id);
    running_timers().erase(timer.id);
    timer.id = 0;
  }
}

void FormWindow::TimerInterval(host::Timer t, std::uint32_t ms) {
  TimerState& timer = timers_[timer_slot(t)];
  if (timer.interval_ms == ms) return;
  timer.interval_ms = ms;
  apply_timer(t);
}

void FormWindow::TimerEnabled(host::Timer t, bool enabled) {
  TimerState& timer = timers_[timer_slot(t)];
  if (timer.enabled == enabled) return;
  timer.enabled = enabled;
  apply_timer(t);
}

bool FormWindow::TimerEnabled(host::Timer t) { return timers_[timer_slot(t)].enabled; }

HWND FormWindow::live_hwnd(const char* member) const {
  if (!hwnd_) throw_host_error(status::fail, member);
  return hwnd_;
}

host::Hwnd FormWindow::hWnd() {
  // Window handles fit in 32 bits (host/winsys.h).
  return static_cast<host::Hwnd>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

float FormWindow::Width() {
  RECT r{};
  GetClientRect(live_hwnd("Form.Width"), &r);
  return to_twips(r.right - r.left, scale_.x);
}

float FormWindow::Height() {
  RECT r{};
  GetClientRect(live_hwnd("Form.Height"), &r);
  return to_twips(r.bottom - r.top, scale_.y);
}

void FormWindow::Width(float twips) {
  const HWND hwnd = live_hwnd("Form.Width");
  const int px = to_pixels(twips, scale_.x);
  if (px < 0) throw_host_error(status::invalid_arg, "Form.Width");
  RECT client{}, window{};
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &window);
  if (client.right - client.left == px) return;
  const int frame = (window.right - window.left) - (client.right - client.left);
  SetWindowPos(hwnd, nullptr, 0, 0, px + frame, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Picture(host::Picture p) {
  if (static_cast<int>(p) >= host::kPictureCount)
    throw_host_error(status::invalid_arg, "Form.Picture");
  if (p == picture_) return;
  picture_ = p;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::Show() { ShowWindow(live_hwnd("Form.Show"), SW_SHOWNA); }

void FormWindow::Look(host::Look look) {
  if (static_cast<int>(look) > static_cast<int>(host::Look::black))
    throw_host_error(status::invalid_arg, "Form.Look");
  if (look == look_) return;
  look_ = look;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::Refresh() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::Language(std::int32_t language_id) { language_ = language_id; }

// The strip places its elements itself; only the captions' reading order
// follows the direction here. The window stays unmirrored, so its
// coordinates, pictures and hit-testing are the strip's own.
void FormWindow::RightToLeft(bool on) {
  if (right_to_left_ == on) return;
  right_to_left_ = on;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace plovera::win32
