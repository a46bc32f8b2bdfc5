// The seam to the forms engine that draws the tab bar.
//
// A form is one window that can be made a child of a foreign window. Its
// elements are windowless: image elements (left, top, width, height,
// picture, stretch, visible) and auto-sizing transparent labels, in control
// arrays whose element 0 is a hidden template from which new elements are
// loaded at run time. Positions and sizes are twips held as float, in form
// coordinates (0,0 = the form's top-left corner).
//
// Events carry the element, its control index and the mouse button; they are
// delivered to one FormEvents receiver. Calls on an element that is not
// loaded fail with host_error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/winsys.h"

namespace plovera::host {

// The parts of the tab bar. A tab is drawn by four parts that share one
// index: its face (background picture), close button, document icon and
// caption label; each of the four is an array whose element 0 is the hidden
// template. The scroll arrows are single images addressed with index 0; `bar`
// is the form itself, used as an event target and drop target.
enum class Part : std::uint8_t { bar, face, close_button, icon, caption, left_arrow, right_arrow };

struct Element {
  Part part = Part::bar;
  std::int16_t index = 0;
  friend bool operator==(Element a, Element b) noexcept {
    return a.part == b.part && a.index == b.index;
  }
};

// Pictures: the seven list pictures (faces, close buttons, icon, backgrounds), the two arrow
// buttons, the form's design background, and the close button's mark of unsaved changes.
enum class Picture : std::uint8_t {
  none = 0,
  face_normal, face_hot, close_normal, close_hot, document_icon, bar_grey_blue, bar_grey,
  scroll_left,
  scroll_right,
  design_bar,
  // The close button of a tab whose document has unsaved changes, while the
  // pointer is not on it: the same size as close_normal, a dot for the cross.
  close_unsaved,
};
// How many values Picture has, `none` included.
inline constexpr int kPictureCount = static_cast<int>(Picture::close_unsaved) + 1;

enum class Timer : std::uint8_t { poll, scroll_left, scroll_right };

// The colours the pictures are drawn in, after Office's theme: `office` is
// the bar's own blue look (Word 2003 to 2010, and Office 2013 and later in
// their Colorful theme); the others follow the themes of Office 2013 and
// later. High contrast overrides every look with the system's colours.
enum class Look : std::uint8_t { office, white, light_gray, dark_gray, black };

// Mouse buttons as the events report them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// The receiver of a form's events. The engine guards every delivery: whatever
// a handler throws ends that event and goes no further.
class FormEvents {
 public:
  virtual void MouseDown(Element e, std::int16_t button) = 0;
  // `button`: the buttons held during the move (bit mask of the values above).
  virtual void MouseMove(Element e, std::int16_t button) = 0;
  virtual void MouseUp(Element e, std::int16_t button) = 0;
  virtual void Click(Element e) = 0;
  virtual void DblClick(Element e) = 0;
  // The face face(source) was dragged and dropped on `target`. x and y are
  // the drop point in twips, form coordinates (used for drops on the form).
  virtual void DragDrop(Element target, std::int16_t source, float x, float y) = 0;
  virtual void TimerTick(Timer t) = 0;
  // The pointer has rested on `e` for the system's hover time and its
  // tooltip is about to show. `out` holds the engine's own text (a tab's
  // caption, "Close", "Scroll"); a receiver may replace it, for example
  // with a tab's full document path. Asked only then, never on a tick.
  virtual void TooltipText(Element /*e*/, std::u16string& /*out*/) {}
  // The pointer left the form (no button held).
  virtual void MouseLeave() {}
  // The mouse wheel turned over the form by `notches` whole notches:
  // positive away from the user (vertical) or to the right (horizontal),
  // as Windows counts them.
  virtual void MouseWheel(std::int16_t /*notches*/, bool /*horizontal*/) {}

 protected:
  ~FormEvents() = default;
};

class Form {
 public:
  // Destroying the form unloads it: its elements are destroyed, its timers
  // stop and its window goes away.
  virtual ~Form() = default;

  virtual Hwnd hWnd() = 0;
  virtual float Width() = 0;
  virtual void Width(float twips) = 0;
  virtual float Height() = 0;
  virtual void Picture(host::Picture p) = 0;  // the form's background
  virtual void Show() = 0;                    // modeless
  // The colours of every picture and caption; the form repaints when the
  // look changes.
  virtual void Look(host::Look look) = 0;
  // Draws the whole form again: the system's colours changed (high contrast
  // turned on or off), which the form reads when it paints.
  virtual void Refresh() = 0;
  // The language of Word's user interface (a Windows language identifier):
  // the engine's own texts (tooltips, the accessible objects' names,
  // descriptions and actions) speak it. English until set.
  virtual void Language(std::int32_t language_id) = 0;
  // Whether the strip reads from right to left: captions are then drawn in
  // right-to-left reading order. Where elements stand is the caller's
  // business (the form itself is never mirrored). Left to right until set.
  virtual void RightToLeft(bool on) = 0;

  // Number of loaded elements of a control array, template included.
  virtual std::int16_t Count(Part array) = 0;
  // Loads element `index` of a control array from its template element 0
  // (font and design values copied; the new element starts hidden).
  virtual void Load(Part array, std::int16_t index) = 0;

  virtual float Left(Element e) = 0;
  virtual void Left(Element e, float twips) = 0;
  virtual float Top(Element e) = 0;
  virtual void Top(Element e, float twips) = 0;
  virtual float Width(Element e) = 0;
  virtual void Width(Element e, float twips) = 0;   // labels size themselves; ignored there
  virtual float Height(Element e) = 0;
  virtual void Height(Element e, float twips) = 0;  // labels size themselves; ignored there
  virtual bool Visible(Element e) = 0;
  virtual void Visible(Element e, bool v) = 0;
  virtual host::Picture Picture(Element e) = 0;
  virtual void Picture(Element e, host::Picture p) = 0;
  virtual void Stretch(Element e, bool v) = 0;

  // Labels: the caption (the label resizes itself to its text when AutoSize
  // is on) and the font, copied from another label.
  virtual const std::u16string& Caption(Element e) = 0;
  virtual void Caption(Element e, const std::u16string& text) = 0;
  virtual void AutoSize(Element e, bool v) = 0;
  virtual void CopyFont(Element to, Element from) = 0;
  // The widest an auto-sized label grows (0: no limit). A text wider than
  // that is drawn cut, with an ellipsis at its end; the caption itself (what
  // Caption returns and accessibility clients read) stays whole.
  virtual void MaxWidth(Element e, float twips) = 0;
  // On a tab's face: whether the tab's document has unsaved changes, which
  // the tab's accessible description then says.
  virtual void Unsaved(Element e, bool v) = 0;

  // Begins dragging the element (the face of a tab). The drag ends with a
  // DragDrop event on the element under the pointer, or with nothing when
  // the button is released outside the form or the face is hidden meanwhile.
  virtual void Drag(Element e) = 0;

  virtual void TimerInterval(Timer t, std::uint32_t ms) = 0;
  virtual void TimerEnabled(Timer t, bool enabled) = 0;
  virtual bool TimerEnabled(Timer t) = 0;
};

class FormEngine {
 public:
  // Creates (loads) the tab-bar form, hidden, with its design-time controls:
  // the templates face(0), close_button(0), icon(0), caption(0), the arrows and
  // the three timers (disabled). Events go to `events` for the form's life.
  virtual std::unique_ptr<Form> CreateForm(FormEvents& events) = 0;
  // The clock the forms' timers run by, in milliseconds; it wraps (Windows'
  // tick count does after 49 days), so two readings compare by difference.
  virtual std::uint32_t milliseconds() noexcept = 0;

 protected:
  ~FormEngine() = default;
};

}  // namespace plovera::host
