// The strip's horizontal layout while tabs are removed one after another.
//
// Each removal moves the tabs after the removed one up (the first face at
// 60, or 60 after the shown left arrow; each other face 30 after the one
// before it) and, with 2000 twips free before the right arrow, aligns the
// strip to the right, then, should it fit, hides the arrows and lays it out
// from the left. Those rules change nothing but the faces' lefts (a tab's
// icon, caption and close button follow from its face's left) and the
// arrows' visibility. Here they are followed in memory, by the same rules
// in the same single-precision arithmetic and rounding, so that however
// many tabs leave, the form is told once where each tab ends up.
//
// A face's left and width and the arrows are read from the form when a rule
// first needs them, and kept. A failing read ends the step that needed it,
// as it would on the form: the tab it was to place stays where it was.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/forms.h"
#include "tabstrip/slot_map.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class RemovalLayout {
 public:
  struct Tab {
    host::Element face;
    std::optional<float> left, width;  // the face's, once read or placed
    bool placed = false;               // whether a rule moved it
    std::int32_t placed_at = 0;        // the face's left, once placed
  };

  // Whether a layout is held that the form does not show yet.
  bool started() const noexcept { return started_; }
  // Starts from the strip as the form shows it, with the tabs `slots` holds.
  // Reads nothing yet; a failure leaves nothing started.
  void start(const SlotMap& slots);
  // The tab at `p` leaves. Throws the first failure (a failing read, an
  // overflowing left) once every rule was followed as far as it could go.
  void remove(host::Form& f, Position p);
  // Forgets the layout; the tables keep their capacity for the next one.
  void clear() noexcept;

  // The tabs that stay, in position order.
  const std::vector<Tab>& tabs() const noexcept { return tabs_; }
  // The tabs removed after a rule had moved them: their hidden elements end
  // where that rule left them, as they would one removal at a time.
  const std::vector<Tab>& moved_then_removed() const noexcept { return moved_then_removed_; }
  // Whether a rule hid the arrows.
  bool hides_arrows() const noexcept { return hides_arrows_; }

 private:
  float face_left(host::Form& f, Tab& t);
  float face_width(host::Form& f, Tab& t);
  float face_right(host::Form& f, Tab& t);
  bool arrows_visible(host::Form& f);
  float left_arrow_end(host::Form& f);
  float right_arrow_left(host::Form& f);
  void place(Tab& t, float left);
  void realign(host::Form& f);
  void align_right(host::Form& f);
  void align_left(host::Form& f);

  std::vector<Tab> tabs_;
  std::vector<Tab> moved_then_removed_;
  std::optional<bool> arrows_visible_;
  std::optional<float> left_arrow_end_, right_arrow_left_;
  bool hides_arrows_ = false;
  bool started_ = false;
};

}  // namespace plovera
