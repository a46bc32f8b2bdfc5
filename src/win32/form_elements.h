// The drawn elements of the tab-bar form: control arrays of records whose
// element 0 is the hidden design-time template, plus the two single arrows.
// Geometry is twips as the logic set it; nothing here knows about pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win32/form_label.h"
#include "win32/form_seam.h"

namespace plovera::win32 {

struct ElementState {
  float left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
  host::Picture picture = host::Picture::none;
  bool stretch = false;
  // Faces only: a new number each time the face is shown (a new tab).
  std::uint32_t incarnation = 0;
  // Faces only: the tab's document has unsaved changes.
  bool unsaved = false;
  // Labels only.
  std::u16string caption;
  bool auto_size = false;
  std::shared_ptr<const LabelFont> font;
  float max_width = 0;  // the widest an auto size grows; 0 for no limit
  bool cut = false;     // the text is wider than the label: drawn with an ellipsis
};

// Sizes an auto-sized label to its text's measured pixels, no wider than its
// limit (its text is then cut).
void fit_label(ElementState& s, SIZE text_px, int twips_per_px_x, int twips_per_px_y);

bool is_label(host::Part part) noexcept;
bool is_control_array(host::Part part) noexcept;

class ElementTable {
 public:
  // Puts the design-time element of `part` at index 0 (the template of an
  // array, or the single element of an arrow).
  void define(host::Part part, ElementState design);

  // Loaded elements of `part`, template included.
  std::int16_t count(host::Part part) const;
  // Loads `index` of a control array as a copy of its template, hidden.
  // Fails for a single control, an index below 1 or one already loaded.
  ElementState& load(host::Part array, std::int16_t index);

  // The loaded element, or nullptr.
  const ElementState* find(host::Element e) const noexcept;
  ElementState* find(host::Element e) noexcept;
  // The loaded element; host_error naming `member` when it is not loaded.
  ElementState& at(host::Element e, const char* member);

  // One past the highest index loaded in any array: the bound of a walk
  // over tabs in control-index order.
  std::int16_t index_bound() const noexcept;

  // Calls f(ElementState&) for every loaded element of `part`.
  template <class F>
  void for_each_loaded(host::Part part, F&& f) {
    if (Slots* slots = slots_of(part))
      for (auto& slot : *slots)
        if (slot) f(*slot);
  }

 private:
  using Slots = std::vector<std::optional<ElementState>>;
  const Slots* slots_of(host::Part part) const noexcept;
  Slots* slots_of(host::Part part) noexcept;

  std::array<Slots, 7> slots_;  // by host::Part; Form has none
};

}  // namespace plovera::win32
