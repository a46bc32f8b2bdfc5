// Element properties. A setter that changes nothing returns before touching
// the window; one that changes a visible element invalidates only the
// element's old and new rectangles, so the bar repaints no more than what
// moved or changed its look.
#include <cmath>
#include <optional>

#include "win32/form_window.h"

namespace plovera::win32 {

using host::Element;

namespace {

void check_finite(float twips, const char* member) {
  if (!std::isfinite(twips)) throw_host_error(status::invalid_arg, member);
}

void check_size(float twips, const char* member) {
  check_finite(twips, member);
  if (twips < 0) throw_host_error(status::invalid_arg, member);
}

void check_picture(host::Picture p, const char* member) {
  if (static_cast<int>(p) >= host::kPictureCount)
    throw_host_error(status::invalid_arg, member);
}

}  // namespace

ElementState& FormWindow::element(Element e, const char* member) {
  return elements_.at(e, member);
}

ElementState& FormWindow::label(Element e, const char* member) {
  if (!is_label(e.part)) throw_host_error(status::invalid_arg, member);
  return elements_.at(e, member);
}

ElementState& FormWindow::image(Element e, const char* member) {
  if (is_label(e.part)) throw_host_error(status::invalid_arg, member);
  return elements_.at(e, member);
}

// Applies `mutate` and invalidates what became stale: nothing for an element
// hidden before and after; otherwise the old and the new rectangle, and
// for a change of geometry alone only when the pixels moved.
template <class F>
void FormWindow::change(ElementState& s, F&& mutate) {
  const bool was_visible = s.visible;
  const RECT before = pixel_rect(s);
  const bool look_changed = mutate(s);
  if (!was_visible && !s.visible) return;
  const RECT after = pixel_rect(s);
  if (!look_changed && was_visible == s.visible && EqualRect(&before, &after)) return;
  if (was_visible) invalidate(before);
  if (s.visible) invalidate(after);
}

std::int16_t FormWindow::Count(host::Part array) { return elements_.count(array); }

void FormWindow::Load(host::Part array, std::int16_t index) { elements_.load(array, index); }

float FormWindow::Left(Element e) { return element(e, "Element.Left").left; }
float FormWindow::Top(Element e) { return element(e, "Element.Top").top; }
float FormWindow::Width(Element e) { return element(e, "Element.Width").width; }
float FormWindow::Height(Element e) { return element(e, "Element.Height").height; }
bool FormWindow::Visible(Element e) { return element(e, "Element.Visible").visible; }
host::Picture FormWindow::Picture(Element e) { return image(e, "Image.Picture").picture; }
const std::u16string& FormWindow::Caption(Element e) {
  return label(e, "Label.Caption").caption;
}

void FormWindow::Left(Element e, float twips) {
  check_finite(twips, "Element.Left");
  ElementState& s = element(e, "Element.Left");
  if (s.left == twips) return;
  change(s, [twips](ElementState& st) { st.left = twips; return false; });
  if (e.part == host::Part::face && s.visible) accessible_changed();  // the order may change
}

void FormWindow::Top(Element e, float twips) {
  check_finite(twips, "Element.Top");
  ElementState& s = element(e, "Element.Top");
  if (s.top == twips) return;
  change(s, [twips](ElementState& st) { st.top = twips; return false; });
}

void FormWindow::Width(Element e, float twips) {
  check_size(twips, "Element.Width");
  ElementState& s = element(e, "Element.Width");
  if (s.width == twips || (is_label(e.part) && s.auto_size)) return;
  change(s, [twips](ElementState& st) { st.width = twips; return false; });
}

void FormWindow::Height(Element e, float twips) {
  check_size(twips, "Element.Height");
  ElementState& s = element(e, "Element.Height");
  if (s.height == twips || (is_label(e.part) && s.auto_size)) return;
  change(s, [twips](ElementState& st) { st.height = twips; return false; });
}

void FormWindow::Visible(Element e, bool v) {
  ElementState& s = element(e, "Element.Visible");
  if (!v && last_left_press_ == e) last_left_press_.reset();  // its tab is gone
  // Hiding the dragged face (its tab left) ends the drag without a drop,
  // whatever tab takes the element up afterwards.
  if (!v && drag_.active && e.part == host::Part::face && e.index == drag_.source) cancel_drag();
  if (s.visible == v) return;
  change(s, [v](ElementState& st) { st.visible = v; return true; });
  if (e.part == host::Part::face && v) s.incarnation = ++next_incarnation_;  // a new tab
  if (e.part != host::Part::icon && e.part != host::Part::caption) accessible_changed();
}

void FormWindow::Picture(Element e, host::Picture p) {
  check_picture(p, "Image.Picture");
  ElementState& s = image(e, "Image.Picture");
  if (s.picture == p) return;
  const bool was_selected = s.picture == host::Picture::none;
  change(s, [p](ElementState& st) { st.picture = p; return true; });
  if (e.part == host::Part::face && was_selected != (p == host::Picture::none)) accessible_changed();
}

void FormWindow::Stretch(Element e, bool v) {
  ElementState& s = image(e, "Image.Stretch");
  if (s.stretch == v) return;
  const bool drawn = s.picture != host::Picture::none;
  change(s, [v, drawn](ElementState& st) { st.stretch = v; return drawn; });
}

// Sets the label's size to `text_px`, the measured size of its text.
static void apply_fit(ElementState& s, SIZE text_px, const TwipScale& scale) {
  fit_label(s, text_px, scale.x, scale.y);
}

void FormWindow::Caption(Element e, const std::u16string& text) {
  ElementState& s = label(e, "Label.Caption");
  if (s.caption == text) return;
  // Measure first: a failure leaves the label as it was.
  std::optional<SIZE> fit;
  if (s.auto_size) fit = measure_text(measure_dc_.get(), *s.font, text);
  change(s, [&](ElementState& st) {
    st.caption = text;
    if (fit) apply_fit(st, *fit, scale_);
    return true;
  });
  accessible_changed();
}

void FormWindow::AutoSize(Element e, bool v) {
  ElementState& s = label(e, "Label.AutoSize");
  if (s.auto_size == v) return;
  std::optional<SIZE> fit;
  if (v) fit = measure_text(measure_dc_.get(), *s.font, s.caption);
  change(s, [&](ElementState& st) {
    st.auto_size = v;
    if (fit) apply_fit(st, *fit, scale_);
    return false;
  });
}

void FormWindow::MaxWidth(Element e, float twips) {
  check_size(twips, "Label.MaxWidth");
  ElementState& s = label(e, "Label.MaxWidth");
  if (s.max_width == twips) return;
  std::optional<SIZE> fit;
  if (s.auto_size) fit = measure_text(measure_dc_.get(), *s.font, s.caption);
  change(s, [&](ElementState& st) {
    st.max_width = twips;
    if (fit) apply_fit(st, *fit, scale_);
    return true;
  });
}

// Only what accessibility clients read changes: nothing is repainted.
void FormWindow::Unsaved(Element e, bool v) {
  if (e.part != host::Part::face) throw_host_error(status::invalid_arg, "Image.Unsaved");
  element(e, "Image.Unsaved").unsaved = v;
}

void FormWindow::CopyFont(Element to, Element from) {
  const std::shared_ptr<const LabelFont> font = label(from, "Label.Font").font;
  ElementState& s = label(to, "Label.Font");
  if (s.font == font) return;
  std::optional<SIZE> fit;
  if (s.auto_size) fit = measure_text(measure_dc_.get(), *font, s.caption);
  change(s, [&](ElementState& st) {
    st.font = font;
    if (fit) apply_fit(st, *fit, scale_);
    return true;
  });
}

}  // namespace plovera::win32
