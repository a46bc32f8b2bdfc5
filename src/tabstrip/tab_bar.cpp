// The bar's form: loading, its background theme, the reset of the strip,
// and the routing of its events.
#include "tabstrip/tab_bar.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/numbers.h"
#include "base/ui_texts.h"
#include "host/form_design.h"
#include "host/word_versions.h"

namespace plovera {

using host::Element;
using host::Part;
using host::Picture;
using host::Timer;

TabBar::TabBar(BarHost& host, TabModel& model) : host_(host), model_(model) {}

TabBar::~TabBar() { unload(); }

std::int16_t TabBar::narrow(Slot s) {
  if (s.value < INT16_MIN || s.value > INT16_MAX) throw_host_error(status::overflow, "tab slot");
  return static_cast<std::int16_t>(s.value);
}

host::Form& TabBar::form() {
  if (!form_) throw_host_error(status::unexpected, "tab bar not loaded");
  return *form_;
}

// The form's window is read once, when it loads: the docking check asks for
// it on every safety-net tick.
host::Hwnd TabBar::window() {
  if (!form_) load_form();
  return window_;
}

// A bar shows the model while its form is loaded: from then on it hears of
// every change, and the tabs it shows are built anew. The tables are empty
// before anything is asked of Word (whose answer may run a message loop in
// which the bar's handlers run); a form that cannot be set up is unloaded
// again, so that a bar is either loaded and whole or not loaded at all.
void TabBar::load_form() {
  reset_tables();
  form_ = host_.forms().CreateForm(*this);
  try {
    window_ = form_->hWnd();
    model_.add_view(*this);
    const std::int32_t language = host_.ui_language();
    form().Language(language);
    right_to_left_ = reads_right_to_left(language) ||
                     host_.window_system().mirrored(host_.main_window());
    form().RightToLeft(right_to_left_);
    reset_form();
    theme_ = {};
    show_theme(host_.bar_theme(), false);
  } catch (...) {
    unload();
    throw;
  }
}

void TabBar::show() { form().Show(); }

// Every table goes with the form: nothing of a bar unloaded is left to
// point at elements of the next one.
void TabBar::unload() noexcept {
  model_.remove_view(*this);
  form_.reset();
  window_ = 0;
  reset_tables();
}

// No call out: a few members read.
bool TabBar::busy() const noexcept {
  return form_ && (hovered_ != Slot() || hot_close_ != Slot() || pending_drag_ != Slot() ||
                   hover_check_running_ || arrow_held_ || !slots_to_hide_.empty());
}

// The bar's background and colours follow Word's version and Office's
// theme (tabstrip/theme.h); the form is told only what changed, and it
// repaints once: a new picture or look repaints it, and only without one
// does a change of the system's colours ask for a repaint of its own.
void TabBar::show_theme(const BarTheme& theme, bool system_colours_changed) {
  bool repainted = false;
  if (theme.background != theme_.background) {
    form().Picture(theme.background);
    theme_.background = theme.background;
    repainted = true;
  }
  if (theme.look != theme_.look) {
    form().Look(theme.look);
    theme_.look = theme.look;
    repainted = true;
  }
  if (system_colours_changed && !repainted) form().Refresh();
}

// The counters and looks go back to none with the tables.
void TabBar::reset_tables() noexcept {
  slots_.clear();
  selected_ = hovered_ = hot_close_ = pending_drag_ = middle_pressed_ = built_ = Slot();
  dragged_.reset();
  slots_to_hide_.clear();
  unsaved_slots_.clear();
  hover_check_running_ = false;
  arrow_held_ = false;
  removing_ = false;
  appending_ = false;
  skipped_append_ = false;
  read_back_ = false;
  layout_.clear();
}

// The form's width as designed and no arrow shown.
void TabBar::reset_form() {
  form().Width(13000.0f);
  mirror_in(form().Width());
  form().Visible(kLeftArrow, false);
  form().Visible(kRightArrow, false);
}

// The elements stay where they are; nothing is left to show.
void TabBar::tabs_cleared() noexcept {
  layout_.drop_pending();
  slots_.forget_tabs();
  selected_ = hovered_ = hot_close_ = pending_drag_ = middle_pressed_ = Slot();
  dragged_.reset();
}

void TabBar::foreground_to_word() { host_.window_system().bring_to_foreground(host_.main_window()); }

const host::Ref<host::Window>& TabBar::window_of(Slot s) const {
  return model_.window_at(position_of(s));
}

void TabBar::TimerTick(Timer t) {
  host_.events().run([&] {
    switch (t) {
      case Timer::poll: return;  // the add-in's one timer runs the ticks
      case Timer::scroll_left: return scroll_by_arrow(Part::left_arrow);
      case Timer::scroll_right: return scroll_by_arrow(Part::right_arrow);
    }
  });
}

namespace {
bool is_tab_body(Part p) { return p == Part::face || p == Part::icon || p == Part::caption; }
bool is_tab_part(Part p) { return is_tab_body(p) || p == Part::close_button; }
}  // namespace

// A right press opens the menu: a tab's own (on any part of a tab) or the
// bar's. A middle press and release on one tab closes it.
void TabBar::MouseDown(Element e, std::int16_t button) {
  host_.events().run([&] {
    if (e.part == Part::bar) foreground_to_word();
    if (button == host::kRightButton) return show_menu_for(e);
    if (button == host::kMiddleButton)
      middle_pressed_ = is_tab_part(e.part) ? slot_of(e) : Slot();
    if (button != host::kLeftButton) return;
    if (e.part == Part::left_arrow || e.part == Part::right_arrow) arrow_held_ = true;
    if (e.part == Part::left_arrow) form().TimerEnabled(Timer::scroll_left, true);
    if (e.part == Part::right_arrow) form().TimerEnabled(Timer::scroll_right, true);
    if (is_tab_body(e.part)) pending_drag_ = slot_of(e);
  });
}

void TabBar::MouseMove(Element e, std::int16_t /*button*/) {
  host_.events().run([&] {
    if (is_tab_body(e.part)) return on_pointer_over_tab(slot_of(e));
    if (e.part == Part::close_button) {
      set_hovered(slot_of(e));
      return set_hot_close(slot_of(e));
    }
    set_hovered(Slot());
    clear_hot_close();
  });
}

// The release of an arrow reaches it even when the pointer has left it (the
// engine keeps the capture), so a held scroll always stops.
void TabBar::MouseUp(Element e, std::int16_t button) {
  host_.events().run([&] {
    if (e.part == Part::left_arrow || e.part == Part::right_arrow) {
      arrow_held_ = false;
      form().TimerEnabled(e.part == Part::left_arrow ? Timer::scroll_left : Timer::scroll_right,
                          false);
      return foreground_to_word();
    }
    if (button == host::kMiddleButton && is_tab_part(e.part) &&
        std::exchange(middle_pressed_, Slot()) == slot_of(e))
      return request_close(slot_of(e));
    if (is_tab_body(e.part)) pending_drag_ = Slot();
  });
}

void TabBar::show_menu_for(Element e) {
  host::Ref<host::Window> tab;
  if (is_tab_part(e.part)) ignore_errors([&] { tab = window_of(slot_of(e)); });
  host_.show_menu(tab);
}

void TabBar::Click(Element e) {
  host_.events().run([&] {
    if (e.part == Part::bar) return foreground_to_word();
    if (is_tab_body(e.part)) return activate_tab(slot_of(e));
    if (e.part == Part::close_button) return request_close(slot_of(e));
  });
}

// While the tabs overflow (the arrows show), each notch of the wheel is one
// step of an arrow: away from the user towards the start, towards the user
// towards the end; tilted, as the arrow on that side scrolls (to the right
// towards the end of a left-to-right strip, towards the start of a
// right-to-left one, whose start is at the right).
void TabBar::MouseWheel(std::int16_t notches, bool horizontal) {
  host_.events().run([&] {
    if (!form().Visible(kRightArrow)) return;
    const bool to_end =
        horizontal ? scrolls_towards_end(notches > 0 ? Part::right_arrow : Part::left_arrow)
                   : notches < 0;
    for (std::int32_t n = notches < 0 ? -notches : notches; n > 0; --n) {
      if (to_end) scroll_towards_end();
      else scroll_towards_start();
    }
  });
}

void TabBar::DblClick(Element e) {
  host_.events().run([&] {
    if (e.part == Part::bar || is_tab_body(e.part)) foreground_to_word();
  });
}

// Resting on a tab shows its document's full path (a never-saved document's
// name); Word is asked only now, when the tooltip is about to show. A
// failing read leaves the engine's own text (the caption).
void TabBar::TooltipText(Element e, std::u16string& out) {
  if (!is_tab_body(e.part)) return;
  host_.events().run([&] {
    std::u16string path;
    ignore_errors([&] { window_of(slot_of(e))->Document()->FullName(path); });
    if (!path.empty()) out = std::move(path);
  });
}

// The Word window of a tab comes to the front; the tab becomes the selected
// one on the next synchronisation pass, which sees Word's new active window.
void TabBar::activate_tab(Slot s) {
  host::Ref<host::Window> w = window_of(s);
  w->Activate();
  w->Activate();
  host_.window_system().bring_to_foreground(host_.main_window_of(w));
}

// Asks Word to close the tab's window, with Word's defaults (its own save
// prompt). The tab goes when a later pass finds the window gone.
void TabBar::request_close(Slot s) {
  foreground_to_word();
  host::Ref<host::Window> w;
  ignore_errors([&] { w = window_of(s); });
  if (w) ignore_errors([&] { w->Close(); });
}

std::string TabBar::check_invariants_for_testing(bool layout, bool behind_allowed) {
  if (!form_) return {};
  host::Form& f = *form_;
  const std::int32_t n = count();
  if (n > model_.count()) return "the bar shows more tabs than the model holds";
  if (n < model_.count() && !behind_allowed) return "the bar's tab count differs from the model's";
  if (n < 0 || n > kMaxTabs) return "tab count out of range";
  if (layout && !removing_ && layout_.any_pending()) return "a layout not shown on the form";
  const std::int32_t loaded = f.Count(Part::caption);
  std::vector<bool> in_strip(static_cast<std::size_t>(loaded) + 1, false);
  for (std::int32_t p = 1; p <= n; ++p) {
    const Slot s = slot_at(Position(p));
    const std::string at = " at " + std::to_string(p);
    if (s.value < 1 || s.value >= loaded) return "no loaded tab" + at;
    if (position_of(s) != Position(p)) return "position_of(slot_at(p)) != p" + at;
    in_strip[static_cast<std::size_t>(s.value)] = true;
    for (Element e : {caption(s), face(s), close_button(s), icon(s)})
      if (!f.Visible(e)) return "a part of the tab is hidden" + at;
    if (!model_.window_at(Position(p))) return "no window" + at;
    if (behind_allowed && f.Caption(caption(s)) != model_.caption_at(Position(p)))
      return "a caption that is not the model's" + at;
    const Slot before = p > 1 ? slot_at(Position(p - 1)) : Slot();
    // Left to right each face starts 30 twips after the one before ends;
    // right to left each ends 30 twips before the one before starts.
    const Slot lefter = right_to_left_ ? s : before, righter = right_to_left_ ? before : s;
    if (layout && p > 1 &&
        f.Left(face(righter)) != f.Left(face(lefter)) + f.Width(face(lefter)) + 30.0f)
      return "faces not 30 twips apart" + at;
    if (layout && !read_back_ &&
        layout_.tab(s).shown != TabPlacement{f.Left(face(s)), f.Left(icon(s)), f.Left(caption(s)),
                                             f.Left(close_button(s)), f.Width(face(s))})
      return "the form does not hold what the bar last told it" + at;
  }
  for (std::int32_t c = 1; c < loaded; ++c) {
    if (in_strip[static_cast<std::size_t>(c)]) continue;
    if (std::find(slots_to_hide_.begin(), slots_to_hide_.end(), Slot(c)) != slots_to_hide_.end())
      continue;  // to be hidden again
    for (Element e : {caption(Slot(c)), face(Slot(c)), close_button(Slot(c)), icon(Slot(c))})
      if (f.Visible(e)) return "an element of free slot " + std::to_string(c) + " is visible";
  }
  for (Slot s : {selected_, hovered_, hot_close_, pending_drag_})
    if (s.value < 0 || s.value >= loaded) return "a look names no loaded slot";
  return {};
}

}  // namespace plovera
