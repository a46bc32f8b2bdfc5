// SimForm: the properties of the form's elements.
#include <cmath>

#include "sim/sim_forms.h"

namespace plovera::sim {
namespace {

// Sets `field` and tells whether it changed.
template <class T>
bool assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

bool is_label(host::Element e) noexcept { return e.part == host::Part::caption; }

}  // namespace

// Captions and auto-sizing belong to labels only.
ElementRecord& SimForm::label(host::Element e, FormCall call) {
  ElementRecord& r = el(e, call);
  if (!is_label(e)) throw host_error(status::invalid_arg, kFormCallNames[static_cast<std::size_t>(call)]);
  return r;
}

bool SimForm::size_label(ElementRecord& r) noexcept {
  if (!r.autosize) return false;
  const float text = label_width(r.caption);
  const bool width_changed =
      assign(r.width, r.max_width > 0 && text > r.max_width ? r.max_width : text);
  const bool height_changed = assign(r.height, kLabelHeight);
  return width_changed || height_changed;
}

float SimForm::Left(host::Element e) { return el(e, FormCall::LeftGet).left; }

void SimForm::Left(host::Element e, float twips) {
  ElementRecord& r = el(e, FormCall::LeftLet);
  paint_if(r, assign(r.left, twips));
}

float SimForm::Top(host::Element e) { return el(e, FormCall::TopGet).top; }

void SimForm::Top(host::Element e, float twips) {
  ElementRecord& r = el(e, FormCall::TopLet);
  paint_if(r, assign(r.top, twips));
}

float SimForm::Width(host::Element e) { return el(e, FormCall::ElementWidthGet).width; }

void SimForm::Width(host::Element e, float twips) {
  ElementRecord& r = el(e, FormCall::ElementWidthLet);
  if (!is_label(e)) paint_if(r, assign(r.width, twips));
}

float SimForm::Height(host::Element e) { return el(e, FormCall::ElementHeightGet).height; }

void SimForm::Height(host::Element e, float twips) {
  ElementRecord& r = el(e, FormCall::ElementHeightLet);
  if (!is_label(e)) paint_if(r, assign(r.height, twips));
}

bool SimForm::Visible(host::Element e) { return el(e, FormCall::VisibleGet).visible; }

void SimForm::Visible(host::Element e, bool v) {
  ElementRecord& r = el(e, FormCall::VisibleLet);
  // Hiding repaints too: check before the element turns invisible.
  if (r.visible != v && engine_) ++engine_->paints_;
  r.visible = v;
  // As the Windows engine: a drag whose face is hidden (its tab left) ends
  // without a drop.
  if (!v && engine_ && engine_->drag_ == e) engine_->drag_.reset();
}

host::Picture SimForm::Picture(host::Element e) {
  return el(e, FormCall::ElementPictureGet).picture;
}

void SimForm::Picture(host::Element e, host::Picture p) {
  ElementRecord& r = el(e, FormCall::ElementPictureLet);
  paint_if(r, assign(r.picture, p));
}

void SimForm::Stretch(host::Element e, bool v) {
  ElementRecord& r = el(e, FormCall::Stretch);
  paint_if(r, assign(r.stretch, v));
}

const std::u16string& SimForm::Caption(host::Element e) {
  return label(e, FormCall::CaptionGet).caption;
}

void SimForm::Caption(host::Element e, const std::u16string& text) {
  ElementRecord& r = label(e, FormCall::CaptionLet);
  if (r.caption == text) return;
  r.caption.assign(text);  // reuses the element's capacity
  size_label(r);
  paint_if(r, true);
}

void SimForm::AutoSize(host::Element e, bool v) {
  ElementRecord& r = label(e, FormCall::AutoSize);
  r.autosize = v;
  paint_if(r, size_label(r));
}

void SimForm::CopyFont(host::Element to, host::Element from) {
  ElementRecord& target = el(to, FormCall::CopyFont);
  const ElementRecord& source = find(from, FormCall::CopyFont);
  const bool name_changed = assign(target.font, source.font);
  const bool size_changed = assign(target.font_points, source.font_points);
  paint_if(target, name_changed || size_changed);
}

void SimForm::MaxWidth(host::Element e, float twips) {
  ElementRecord& r = label(e, FormCall::MaxWidth);
  if (!std::isfinite(twips) || twips < 0)
    throw host_error(status::invalid_arg, kFormCallNames[static_cast<std::size_t>(FormCall::MaxWidth)]);
  r.max_width = twips;
  paint_if(r, size_label(r));
}

// Only the accessible description changes: nothing is repainted.
void SimForm::Unsaved(host::Element e, bool v) {
  if (e.part != host::Part::face)
    throw host_error(status::invalid_arg, kFormCallNames[static_cast<std::size_t>(FormCall::Unsaved)]);
  el(e, FormCall::Unsaved).unsaved = v;
}

}  // namespace plovera::sim
