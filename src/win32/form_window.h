// The tab-bar form: one window, its drawn elements, its timers and the
// routing of mouse input to the elements.
//
// Elements are records (form_elements.h); the window paints them back to
// front with double buffering and hit-tests them front to back. Every
// message handler delivers at most a few events to FormEvents, each inside
// boundary_guard. A handler may unload the form (through its FormHandle):
// the window procedure holds the object for the message's duration, and
// after every delivery the code checks whether the form is still loaded
// before it goes on.
#pragma once

#include <windows.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ui_texts.h"
#include "host/form_handle.h"
#include "win32/form_accessible.h"
#include "win32/form_elements.h"
#include "win32/form_gdi.h"
#include "win32/form_seam.h"
#include "win32/form_units.h"
#include "win32/images.h"

namespace plovera::win32 {

class FormWindow final : public host::UnloadableForm,
                         public std::enable_shared_from_this<FormWindow> {
 public:
  FormWindow(HINSTANCE module, const wchar_t* window_class, std::shared_ptr<ImageStore> images,
             host::FormEvents& events);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

  // host::UnloadableForm
  void unload() noexcept override;
  host::Hwnd hWnd() override;
  float Width() override;
  void Width(float twips) override;
  float Height() override;
  void Picture(host::Picture p) override;
  void Show() override;
  void Look(host::Look look) override;
  void Refresh() override;
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

  // The paint counter of the stand-in's instruments (bar_instruments.h).
  std::uint32_t paint_count_for_testing() const noexcept { return paint_count_; }

  // What the accessible objects read (form_access.cpp). A tab is a control
  // index whose face is shown; `incarnation` tells apart the tabs that one
  // index shows over time.
  struct TabView {
    std::int16_t index;
    std::uint32_t incarnation;
  };
  HWND window() const noexcept { return hwnd_; }
  // One of the engine's own texts in Word's user-interface language.
  std::u16string_view text(Text t) const noexcept { return ui_text(t, language_); }
  bool right_to_left() const noexcept { return right_to_left_; }
  // The tabs in reading order (by the left edge of their face; from the
  // right in a right-to-left strip).
  std::vector<TabView> tabs_in_order() const;
  bool tab_alive(std::int16_t index, std::uint32_t incarnation) const noexcept;
  const ElementState* element_state(host::Element e) const noexcept { return elements_.find(e); }
  // In screen pixels; empty for an element that is not loaded.
  RECT screen_rect(host::Element e) const noexcept;
  RECT screen_client_rect() const noexcept;
  std::optional<host::Element> element_at_screen(POINT screen) const noexcept;
  // Asks for the element's default action, carried out from the message
  // loop as a click on it; false when it cannot be asked.
  bool request_default_action(host::Element e, std::uint32_t incarnation) const noexcept;

 private:
  static constexpr UINT_PTR kFirstTimerId = 1;  // host::Timer t runs as kFirstTimerId + t
  static constexpr UINT_PTR kEscapePollTimerId = 100;
  static constexpr UINT kEscapePollMs = 50;
  // Messages of the bar's own class, posted to itself.
  static constexpr UINT kAccessibleChangedMessage = WM_APP + 0x40;
  static constexpr UINT kDefaultActionMessage = WM_APP + 0x41;
  static constexpr UINT kFlushStaleMessage = WM_APP + 0x42;
  // Sent to child windows when their top-level window's resolution changed
  // (Windows 10 1607 and later); not in every SDK's headers.
  static constexpr UINT kDpiChangedAfterParent = 0x02E3;  // wp: part << 16 | index; lp: incarnation

  struct TimerState {
    std::uint32_t interval_ms = 0;
    bool enabled = false;
    UINT_PTR id = 0;  // the running thread timer, 0 when none
  };
  // The element that took the press, held until every button is up.
  struct PressState {
    bool active = false;
    host::Element element;
    std::int16_t held = 0;        // buttons down, as a host button mask
    bool click_armed = false;     // a left press that may end in a Click
    bool spent = false;           // its drag was cancelled: no more events
  };
  struct DragState {
    bool active = false;
    std::int16_t source = 0;
    POINT grab{};    // pointer offset from the face's top-left corner
    SIZE size{};     // the face, in pixels
    RECT outline{};  // where the outline is drawn now; empty when off the bar
  };

  // form_window.cpp: window life, messages, timers
  void create_window(HINSTANCE module, const wchar_t* window_class);
  // Takes up the resolution of the monitor the window is on now: twips per
  // pixel, label fonts and their sizes, pictures (form_dpi.cpp).
  void follow_dpi();
  void define_design_elements();
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  bool adopt_parent_style();
  void on_window_pos_changing(WINDOWPOS* pos);
  void on_timer(UINT_PTR id);
  void apply_timer(host::Timer t);
  HWND live_hwnd(const char* member) const;
  template <class F>
  bool deliver(F&& f);

  // form_properties.cpp: element properties and what they repaint
  ElementState& element(host::Element e, const char* member);
  ElementState& label(host::Element e, const char* member);
  ElementState& image(host::Element e, const char* member);
  template <class F>
  void change(ElementState& s, F&& mutate);

  // form_paint.cpp: geometry in pixels, painting, hit-testing
  RECT pixel_rect(const ElementState& s) const noexcept;
  // Marks a rectangle of the client area stale. Stale rectangles are
  // gathered and handed to Windows as one, when the message or timer tick
  // being handled ends (or, for a change made outside one, from a message
  // the form posts itself): under Wine every InvalidateRect is a round trip
  // to the server, and a tick that moves every tab changes hundreds of
  // elements, most of them outside the bar.
  void invalidate(const RECT& r) noexcept;
  void flush_stale() noexcept;
  void paint();
  void paint_elements(HDC dc, HDC source, const RECT& clip);
  void paint_element(HDC dc, HDC source, const RECT& clip, host::Element e);
  void paint_drag_outline(HDC dc) const;
  // High contrast (form_contrast.cpp): faces, close buttons and arrows in
  // the system's colours instead of their pictures.
  void paint_contrast_image(HDC dc, host::Element e, const ElementState& s, const RECT& r) const;
  bool tab_selected(std::int16_t index) const noexcept;
  // The top-most visible element under a point of the client area, the form
  // where there is none; nothing for a point outside the client area.
  std::optional<host::Element> hit_test(POINT client) const noexcept;

  // form_input.cpp: mouse routing, capture, click and drag
  void on_button_down(std::int16_t button, POINT pt, bool double_click);
  void on_button_up(std::int16_t button, POINT pt);
  void on_wheel(int delta, bool horizontal);
  void on_mouse_move(WPARAM keys, POINT pt);
  void on_capture_lost();
  void end_press();
  void move_drag_outline(POINT pt);
  void finish_drag(POINT pt);
  void cancel_drag();
  void end_drag();
  bool pointer_over_bar(POINT client) const noexcept;
  // The form's timers are the thread's, not the window's: they keep running
  // when the window is destroyed from outside, so the tick can notice and
  // build the bar again.
  static UINT_PTR start_thread_timer(UINT ms) noexcept;
  static void CALLBACK on_thread_timer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
  void stop_timers() noexcept;

  // form_tooltip.cpp: the tooltip of the element the pointer rests on
  void track_hover(host::Element over);
  void on_mouse_hover();
  void on_mouse_leave() noexcept;
  void show_tooltip(const std::u16string& text);
  void hide_tooltip() noexcept;
  void destroy_tooltip() noexcept;
  std::u16string own_tooltip_text(host::Element e) const;

  // form_instruments.cpp: the element query of tests on the bar's thread
  static WPARAM new_element_query_key() noexcept;
  LRESULT answer_element_query(WPARAM key, LPARAM lp) noexcept;

  // form_access.cpp: WM_GETOBJECT, accessibility events, default actions
  LRESULT answer_get_object(WPARAM wp, LPARAM lp);
  // Something a client sees changed: events are raised once the current
  // message is handled, from the difference to what was last announced.
  void accessible_changed() noexcept;
  void raise_accessible_events();
  struct AccessibleEvent {
    DWORD event;
    LONG child;
  };
  std::vector<AccessibleEvent> accessible_events();
  void perform_default_action(WPARAM wp, LPARAM lp);
  void disconnect_accessible() noexcept;

  HWND hwnd_ = nullptr;
  host::FormEvents& events_;
  std::shared_ptr<ImageStore> images_;
  bool unloaded_ = false;
  TwipScale scale_;
  int dpi_ = 96;  // the resolution Windows gives the bar's window
  UniqueMemoryDc measure_dc_;
  ElementTable elements_;
  host::Picture picture_ = host::Picture::design_bar;
  host::Look look_ = host::Look::office;
  std::int32_t language_ = 1033;  // English (United States) until told
  bool right_to_left_ = false;    // captions read from right to left
  std::array<TimerState, 3> timers_{};
  PressState press_;
  // The wheel's turns not yet a whole notch (fine-grained wheels report
  // fractions of WHEEL_DELTA), per direction.
  int wheel_rest_[2] = {0, 0};
  // Where the last left press landed, until that element is hidden: the
  // first half of a double click.
  std::optional<host::Element> last_left_press_;
  DragState drag_;
  int delivery_depth_ = 0;
  // Calls from the message loop (window procedure, thread timer) under way.
  int entry_depth_ = 0;
  RECT stale_{};              // the union of what changed since the last flush
  bool flush_posted_ = false;  // a kFlushStaleMessage is on its way
  // False once the form is unloaded: code that called out (a tooltip's text,
  // a deferred default action) checks it before touching a member again.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  WPARAM element_query_key_ = new_element_query_key();
  std::uint32_t paint_count_ = 0;
  bool high_contrast_ = false;  // as the last paint found it
  // The element whose hover time runs (or whose tooltip shows), and the
  // tooltip window, made on first use.
  std::optional<host::Element> hover_element_;
  HWND tooltip_ = nullptr;

  // Accessibility: the link the accessible objects hold, the root handed
  // to clients, and the tabs as last announced in events.
  struct AnnouncedTab {
    std::uint32_t incarnation;
    std::u16string caption;
    bool selected;
  };
  std::shared_ptr<AccessibleLink> accessible_link_ = std::make_shared<AccessibleLink>();
  Microsoft::WRL::ComPtr<IAccessible> accessible_root_;
  std::vector<AnnouncedTab> announced_tabs_;
  std::array<bool, 2> announced_arrows_{};
  bool accessible_pending_ = false;
  // Events are being raised; a raise asked for meanwhile follows the walk.
  bool raising_accessible_ = false;
  bool accessible_again_ = false;
  std::uint32_t next_incarnation_ = 0;
};

// Delivers one event: whatever the handler throws stays here. Returns false
// when the handler unloaded the form; the caller must then deliver nothing
// more and return.
template <class F>
bool FormWindow::deliver(F&& f) {
  ++delivery_depth_;
  boundary_guard([&] { f(events_); });
  --delivery_depth_;
  return !unloaded_;
}

}  // namespace plovera::win32
