// Word 16 with a frame (main window) per document window, the add-in
// connected: the fixture of the tests on frames and on the tick.
#pragma once

#include <stdexcept>
#include <string>

#include "addin/addin.h"
#include "addin/connect.h"
#include "fixture.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera::testing {

// Word 16 with a frame per window, the add-in connected.
class SdiWord {
 public:
  sim::SimWord word;
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Addin addin{HostServices{ws, forms}};
  Connect connect{addin};

  SdiWord() {
    word.version(u"16.0");
    word.width_points(600);
    word.sdi(ws, {0, 0, 1000, 700});
  }
  sim::SimWindow& open(const std::u16string& name) {
    return *word.open_document(name).windows().front();
  }
  void start() {
    connect.on_connection(word.host_object(), 1, nullptr);
    ASSERT_EQ(word.raise_NewDocument(), status::ok);
    tick();  // the start runs on the tick after the event
  }
  void tick(int n = 1) { forms.advance(10u * static_cast<std::uint32_t>(n)); }

  Frame* frame_of(sim::SimWindow& w) { return addin.frame_in(w.frame().main); }
  int docked_frames() {
    int n = 0;
    for (const auto& f : addin.frames()) n += f->bar().loaded() ? 1 : 0;
    return n;
  }
  sim::SimForm& form_of(Frame& f) {
    for (sim::SimForm* form : forms.forms())
      if (form->window() == f.bar().window()) return *form;
    throw std::logic_error("no form for the frame's bar");
  }
  // The bar's strip: captions in position order, "*" after the selected one.
  std::string strip(Frame& f) {
    std::string s;
    TabBar& bar = f.bar();
    for (std::int32_t p = 1; p <= bar.count(); ++p) {
      const Slot slot = bar.slot_at(Position(p));
      const auto& label = form_of(f).element({host::Part::caption, static_cast<std::int16_t>(slot.value)});
      s += (s.empty() ? "" : " ") + utf8(label.caption) + (slot == bar.selected() ? "*" : "");
    }
    return s;
  }
  // Empty when every docked bar is consistent and shows every tab, or (with
  // `behind_allowed`) the model's first tabs while it catches up; with
  // `check_layout`, every element also stands where the bar's layout says.
  std::string problems(bool behind_allowed = false, bool check_layout = true) {
    for (const auto& f : addin.frames()) {
      if (!f->bar().loaded()) continue;
      const std::string broken =
          f->bar().check_invariants_for_testing(check_layout, behind_allowed);
      if (!broken.empty()) return broken;
      if (!ws.exists(f->bar().window())) return "a loaded bar whose window is gone";
      if (ws.parent(f->bar().window()) != f->main_window()) return "a bar outside its frame";
      if (!ws.in_this_process(f->main_window())) return "a bar in another process's window";
    }
    return {};
  }
  // The bar sits between the frame's top dock and its document area.
  bool docked(sim::SimWindow& w) {
    Frame* f = frame_of(w);
    if (!f) return false;
    const host::Rect top = ws.rect(w.frame().dock_top), doc = ws.rect(w.frame().doc_area),
                     bar = ws.rect(f->bar().window());
    return doc.top == top.bottom + f->band_height() && bar.top == top.bottom &&
           bar.bottom <= doc.top + 2;
  }
  void click(Frame& f, host::Part part, std::int32_t position) {
    forms.target(form_of(f));
    const host::Element e{part,
                          static_cast<std::int16_t>(f.bar().slot_at(Position(position)).value)};
    ASSERT_EQ(forms.mouse_down(e, host::kLeftButton), status::ok);
    ASSERT_EQ(forms.mouse_up(e, host::kLeftButton), status::ok);
    ASSERT_EQ(forms.click(e), status::ok);
  }
};

}  // namespace plovera::testing
