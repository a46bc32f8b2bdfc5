// A simulated forms engine: host/forms.h in memory, with a clock that the
// test advances and mouse, click and drop events that the test delivers.
//
// The form's window is a real window of the SimWindowSystem tree (class
// "PloveraBar", created top-level at the desktop's origin with the design
// size), so SetParent and SetWindowPos work on it and the form's Width and
// Height follow the window: pixels times the screen's twips per pixel
// (1440 / LogPixels, rounded half to even). Setting the width resizes the
// window to twips / twips-per-pixel pixels, rounded half to even.
//
// Elements are plain records (ElementRecord). Pictures never resize an
// element. Labels (caption) measure their text with a fixed metric:
//
//   with AutoSize on:  width  = 100 twips per Unicode code point of the
//                               caption (a surrogate pair counts once;
//                               an empty caption is 0 wide),
//                      height = 270 twips, whatever the text;
//                      no wider than MaxWidth when that is set (the
//                      text is then drawn cut, with an ellipsis).
//
// With AutoSize off a label keeps its size. Setting a label's Width or
// Height is ignored (and counted).
//
// Call names: the form's own members are "Form.<Member>" ("Form.hWnd",
// "Form.Width.get", "Form.Width.let", "Form.Height", "Form.Picture",
// "Form.Show", "Form.Count", "Form.Load", "Form.Drag", "Form.TimerInterval",
// "Form.TimerEnabled.get", "Form.TimerEnabled.let"); an element's are
// "Element.<Member>" ("Element.Left.get", "Element.Left.let", ...,
// "Element.Picture.let", "Element.Stretch", "Element.Caption.get",
// "Element.Caption.let", "Element.AutoSize", "Element.CopyFont", "Element.MaxWidth",
// "Element.Unsaved");
// creating the form is "FormEngine.CreateForm". kFormCallNames lists them.
// A failing call throws host_error and has no effect; a call on an element
// that is not loaded throws bad_index.
//
// Repaints: paints() counts the changes that would make the form repaint.
// A setter that changes nothing (the same value), or that changes an
// invisible element other than making it visible, does not count.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/error.h"
#include "host/form_handle.h"
#include "host/forms.h"
#include "sim/sim_calls.h"
#include "sim/sim_winsys.h"

namespace plovera::sim {

inline constexpr float kLabelTwipsPerCodePoint = 100.0f;
inline constexpr float kLabelHeight = 270.0f;
// The width of an auto-sized label showing `text`.
float label_width(std::u16string_view text) noexcept;

enum class FormCall : std::uint8_t {
  CreateForm,
  hWnd, WidthGet, WidthLet, Height, Picture, Show, Count, Load, Drag,
  TimerInterval, TimerEnabledGet, TimerEnabledLet,
  LeftGet, LeftLet, TopGet, TopLet, ElementWidthGet, ElementWidthLet,
  ElementHeightGet, ElementHeightLet, VisibleGet, VisibleLet,
  ElementPictureGet, ElementPictureLet, Stretch,
  CaptionGet, CaptionLet, AutoSize, CopyFont, Look, Language, Refresh, RightToLeft, MaxWidth,
  Unsaved,
  count_
};
extern const std::span<const char* const> kFormCallNames;

struct ElementRecord {
  float left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
  host::Picture picture = host::Picture::none;
  bool stretch = false;
  std::u16string caption;  // labels
  bool autosize = false;   // labels
  float max_width = 0;     // labels: the widest an auto size grows, 0 for no limit
  bool unsaved = false;    // faces: the tab's document has unsaved changes
  std::u16string font;
  float font_points = 0;
};

class SimFormEngine;

// The form object; the engine hands the logic a host::FormHandle over it.
// Destroying the handle unloads the form (its window goes, events stop);
// the object itself lives on while a delivery of the engine holds it.
class SimForm final : public host::UnloadableForm, public std::enable_shared_from_this<SimForm> {
 public:
  ~SimForm() override;

  void unload() noexcept override;
  host::Hwnd hWnd() override;
  float Width() override;
  void Width(float twips) override;
  float Height() override;
  void Picture(host::Picture p) override;
  void Show() override;
  void Look(host::Look look) override;
  void Refresh() override;  // one paint
  void Language(std::int32_t language_id) override;
  void RightToLeft(bool on) override;
  std::int16_t Count(host::Part array) override;
  void Load(host::Part array, std::int16_t index) override;
  float Left(host::Element e) override;
  void Left(host::Element e, float twips) override;
  float Top(host::Element e) override;
  void Top(host::Element e, float twips) override;
  float Width(host::Element e) override;
  void Width(host::Element e, float twips) override;
  float Height(host::Element e) override;
  void Height(host::Element e, float twips) override;
  bool Visible(host::Element e) override;
  void Visible(host::Element e, bool v) override;
  host::Picture Picture(host::Element e) override;
  void Picture(host::Element e, host::Picture p) override;
  void Stretch(host::Element e, bool v) override;
  const std::u16string& Caption(host::Element e) override;
  void Caption(host::Element e, const std::u16string& text) override;
  void AutoSize(host::Element e, bool v) override;
  void CopyFont(host::Element to, host::Element from) override;
  void MaxWidth(host::Element e, float twips) override;
  void Unsaved(host::Element e, bool v) override;
  void Drag(host::Element e) override;
  void TimerInterval(host::Timer t, std::uint32_t ms) override;
  void TimerEnabled(host::Timer t, bool enabled) override;
  bool TimerEnabled(host::Timer t) override;

  // ---- Test side: reads without counting ---------------------------------
  host::Hwnd window() const noexcept { return hwnd_; }
  bool loaded(host::Element e) const noexcept;
  std::int16_t loaded_count(host::Part array) const;
  // Throws std::out_of_range when the element is not loaded.
  const ElementRecord& element(host::Element e) const;
  host::Picture picture() const noexcept { return picture_; }
  host::Look look() const noexcept { return look_; }
  std::int32_t language() const noexcept { return language_; }
  bool right_to_left() const noexcept { return right_to_left_; }
  bool shown() const noexcept { return shown_; }
  host::Rect window_rect() const noexcept;
  float width_twips() const noexcept;
  float height_twips() const noexcept;
  bool timer_enabled(host::Timer t) const noexcept { return timers_[index(t)].enabled; }
  std::uint32_t timer_interval(host::Timer t) const noexcept { return timers_[index(t)].interval; }

 private:
  friend class SimFormEngine;
  struct TimerState {
    std::uint32_t interval = 0;
    bool enabled = false;
    std::uint64_t due = 0;  // engine clock, ms
  };
  static std::size_t index(host::Timer t) noexcept { return static_cast<std::size_t>(t); }

  SimForm(SimFormEngine& engine, host::FormEvents& events, host::Hwnd hwnd);
  void enter(FormCall call);
  // The control array of `part` (left_arrow and right_arrow are arrays of one), or
  // null for the form.
  const std::deque<ElementRecord>* array(host::Part part) const noexcept;
  std::deque<ElementRecord>* array(host::Part part) noexcept;
  // Counts the call, then finds the loaded element or throws.
  ElementRecord& el(host::Element e, FormCall call);
  ElementRecord& find(host::Element e, FormCall call);
  ElementRecord& label(host::Element e, FormCall call);
  // Counts a repaint when a setter changed something of a visible element.
  void paint_if(const ElementRecord& r, bool changed) noexcept;
  // An auto-sized label takes its size from its caption (the metric above).
  bool size_label(ElementRecord& r) noexcept;

  SimFormEngine* engine_;  // null once the engine is gone
  host::FormEvents& events_;
  mutable host::Rect last_rect_;
  host::Hwnd hwnd_;
  host::Picture picture_ = host::Picture::design_bar;
  host::Look look_ = host::Look::office;
  std::int32_t language_ = 1033;
  bool right_to_left_ = false;
  bool shown_ = false;
  std::deque<ElementRecord> faces_, close_buttons_, icons_, captions_, left_arrow_, right_arrow_;
  TimerState timers_[3];
};

class SimFormEngine final : public host::FormEngine, public CallMeter {
 public:
  explicit SimFormEngine(SimWindowSystem& ws);
  ~SimFormEngine();
  SimFormEngine(const SimFormEngine&) = delete;
  SimFormEngine& operator=(const SimFormEngine&) = delete;

  std::unique_ptr<host::Form> CreateForm(host::FormEvents& events) override;
  // The engine's clock (see advance), wrapping as Windows' tick count does.
  std::uint32_t milliseconds() noexcept override { return static_cast<std::uint32_t>(now_); }

  // The live form (the last one created), or null once it is destroyed.
  SimForm* form() const noexcept { return form_; }
  // Every live form, the oldest first; pointer events go to the one chosen
  // with target (the newest, until another is chosen).
  const std::vector<SimForm*>& forms() const noexcept { return forms_; }
  void target(SimForm& form) noexcept { form_ = &form; }
  int forms_created() const noexcept { return forms_created_; }
  SimWindowSystem& window_system() const noexcept { return ws_; }

  // ---- Events, as the real engine delivers them --------------------------
  // Each delivery is guarded: what the handler throws ends the event and is
  // returned as a status (and counted in failed_events). Each runs as a
  // callback into the add-in (host/callback_scope.h), as a window procedure
  // does, and holds the form until it returns. The element must be
  // loaded and visible (the form itself always is), except for mouse_up,
  // which reaches the pressed element wherever the pointer went; otherwise
  // these throw std::logic_error: the test asked for the impossible.
  status_t mouse_down(host::Element e, std::int16_t button);
  status_t mouse_move(host::Element e, std::int16_t buttons);
  status_t mouse_up(host::Element e, std::int16_t button);
  status_t click(host::Element e);
  // The wheel turned over the form (see FormEvents::MouseWheel).
  status_t wheel(std::int16_t notches, bool horizontal);
  status_t dbl_click(host::Element e);
  // Drops the element being dragged (see drag_source) on `target`, at x, y
  // (twips, form coordinates), and ends the drag. Throws std::logic_error
  // when no drag is in progress.
  status_t drop(host::Element target, float x, float y);
  // The element the form's last Drag began to drag, while the drag lasts.
  std::optional<host::Element> drag_source() const noexcept { return drag_; }
  // The button is released outside the form: the drag ends with no event.
  void cancel_drag() noexcept { drag_.reset(); }
  int failed_events() const noexcept { return failed_events_; }

  // ---- Time --------------------------------------------------------------
  // Moves the clock on by `ms`, firing each enabled timer once per elapsed
  // interval, counted from when it was enabled (or its interval set), in
  // time order; timers due at the same moment fire in the order poll,
  // scroll_left, scroll_right. A tick may change the timers or the form.
  void advance(std::uint32_t ms);
  std::uint64_t now() const noexcept { return now_; }

  // ---- Repaints ----------------------------------------------------------
  std::int64_t paints() const noexcept { return paints_; }
  void reset_paints() noexcept { paints_ = 0; }

 private:
  friend class SimForm;
  template <class Deliver>
  status_t deliver(Deliver fn);
  template <class Deliver>
  status_t deliver_to(SimForm& form, Deliver fn);
  SimForm& live_form() const;
  void require_shown(host::Element e) const;
  bool fire_next_timer(std::uint64_t until);

  SimWindowSystem& ws_;
  std::vector<SimForm*> forms_;  // every live form
  SimForm* form_ = nullptr;      // the one receiving events
  int forms_created_ = 0;
  std::optional<host::Element> drag_;
  int failed_events_ = 0;
  std::uint64_t now_ = 0;
  std::int64_t paints_ = 0;
};

}  // namespace plovera::sim
