#include "win32/form_elements.h"

#include <algorithm>

namespace plovera::win32 {

using host::Part;
using host::Element;

bool is_label(Part part) noexcept { return part == Part::caption; }

void fit_label(ElementState& s, SIZE text_px, int twips_per_px_x, int twips_per_px_y) {
  const float width = static_cast<float>(text_px.cx) * static_cast<float>(twips_per_px_x);
  s.cut = s.max_width > 0 && width > s.max_width;
  s.width = s.cut ? s.max_width : width;
  s.height = static_cast<float>(text_px.cy) * static_cast<float>(twips_per_px_y);
}

bool is_control_array(Part part) noexcept {
  return part == Part::face || part == Part::close_button || part == Part::icon || part == Part::caption;
}

const ElementTable::Slots* ElementTable::slots_of(Part part) const noexcept {
  const auto i = static_cast<std::size_t>(part);
  if (part == Part::bar || i >= slots_.size()) return nullptr;
  return &slots_[i];
}

ElementTable::Slots* ElementTable::slots_of(Part part) noexcept {
  return const_cast<Slots*>(std::as_const(*this).slots_of(part));
}

void ElementTable::define(Part part, ElementState design) {
  Slots* slots = slots_of(part);
  if (!slots) throw_host_error(status::invalid_arg, "Form.Define");
  if (slots->empty()) slots->resize(1);
  (*slots)[0] = std::move(design);
}

std::int16_t ElementTable::count(Part part) const {
  const Slots* slots = slots_of(part);
  if (!slots) throw_host_error(status::invalid_arg, "Form.Count");
  return static_cast<std::int16_t>(
      std::count_if(slots->begin(), slots->end(), [](const auto& s) { return s.has_value(); }));
}

ElementState& ElementTable::load(Part array, std::int16_t index) {
  Slots* slots = slots_of(array);
  if (!slots || !is_control_array(array) || slots->empty() || !(*slots)[0])
    throw_host_error(status::invalid_arg, "Form.Load");
  if (index < 1) throw_host_error(status::bad_index, "Form.Load");
  const auto i = static_cast<std::size_t>(index);
  if (i < slots->size() && (*slots)[i]) throw_host_error(status::invalid_arg, "Form.Load");
  if (i >= slots->size()) slots->resize(i + 1);
  ElementState copy = *(*slots)[0];
  copy.visible = false;
  (*slots)[i] = std::move(copy);
  return *(*slots)[i];
}

const ElementState* ElementTable::find(Element e) const noexcept {
  const Slots* slots = slots_of(e.part);
  if (!slots || e.index < 0) return nullptr;
  const auto i = static_cast<std::size_t>(e.index);
  if (i >= slots->size() || !(*slots)[i]) return nullptr;
  return &*(*slots)[i];
}

ElementState* ElementTable::find(Element e) noexcept {
  return const_cast<ElementState*>(std::as_const(*this).find(e));
}

ElementState& ElementTable::at(Element e, const char* member) {
  ElementState* s = find(e);
  if (!s) throw_host_error(status::bad_index, member);
  return *s;
}

std::int16_t ElementTable::index_bound() const noexcept {
  std::size_t bound = 0;
  for (const Slots& s : slots_) bound = std::max(bound, s.size());
  return static_cast<std::int16_t>(bound);
}

}  // namespace plovera::win32
