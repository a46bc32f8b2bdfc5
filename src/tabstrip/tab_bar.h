// The tab bar: one strip of tabs drawn on a form, a view of the tab model.
//
// The bar owns its form (from its first use until it is unloaded), its
// tables from positions to element sets (slots), its looks that follow the
// pointer (the selected, hovered and hot-close tabs, the tab pressed before
// a drag) and the strip's layout (StripLayout: the faces' lefts and widths,
// the captions' widths, the arrows), from which it tells the form only what
// changed. It shows the tab model and changes it only through the model's
// operations (a drag).
//
// Geometry of one tab in twips, for an icon at x and a caption Wl wide:
// face at x - 15 (width Wl + 540), icon at x, caption at x + 270, close
// button at x + 300 + Wl; consecutive faces stand 30 twips apart. Where
// Word reads from right to left the whole strip is shown reflected (the
// first tab at the right edge, each tab's close button at its left) and
// the arrows swap roles; see StripLayout.
//
// Every call out of here can re-enter: Word's Close, ShowPopup and the save
// dialog run message loops. Handlers therefore run one at a time (the
// host's EventGate): an event or tick that arrives while another one is
// still on the stack is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/forms.h"
#include "host/word.h"
#include "tabstrip/bar_host.h"
#include "tabstrip/slot_map.h"
#include "tabstrip/strip_layout.h"
#include "tabstrip/tab_model.h"
#include "tabstrip/theme.h"

namespace plovera {

class TabBar final : public TabView, public host::FormEvents {
 public:
  TabBar(BarHost& host, TabModel& model);
  ~TabBar();
  TabBar(const TabBar&) = delete;
  TabBar& operator=(const TabBar&) = delete;

  // The form: its window (the first use loads the form, which sets the
  // background and resets the strip; a form that fails to load is not
  // kept), showing, unloading (which empties the strip's tables).
  host::Hwnd window();
  bool loaded() const noexcept { return form_ != nullptr; }
  host::Form& form();
  void show();
  void unload() noexcept;
  // Office's theme: the form hears what differs from what it was told, and
  // is repainted when the system's colours changed (high contrast on or off).
  void show_theme(const BarTheme& theme, bool system_colours_changed);

  // Builds a tab for every tab the model holds (a bar that starts showing
  // the model late).
  void show_all_tabs();
  // Builds tabs for at most `most` of the model's tabs that the bar does not
  // show yet, the leftmost first, so that a bar that starts showing the
  // model late can catch up over several ticks; returns how many it built.
  std::int32_t show_more_tabs(std::int32_t most);
  // Whether the model holds tabs this bar does not show yet. Such a bar
  // shows the model's first count() tabs: changes to the tabs beyond them
  // wait for show_more_tabs, and a move across that edge gives the moved
  // tabs back to it.
  bool behind() const noexcept { return form_ != nullptr && count() < model_.count(); }
  // Selects the tab at `p` (the bar's own window, where every document has
  // a main window of its own).
  void select_own_window(Position p);

  // The strip's tables, read-only.
  std::int32_t count() const noexcept { return slots_.count(); }
  Slot slot_at(Position p) const { return slots_.slot_at(p); }
  Position position_of(Slot s) const { return slots_.position_of(s); }
  bool contains(Slot s) const noexcept { return slots_.contains(s); }

  // Whether something on the bar is under way that the add-in's ticks must
  // follow quickly: a hover look (the pointer-left check), a tab pressed
  // before a drag, a held scroll arrow.
  bool busy() const noexcept;

  // The looks that follow the pointer.
  Slot selected() const noexcept { return selected_; }
  Slot hovered() const noexcept { return hovered_; }
  Slot hot_close() const noexcept { return hot_close_; }
  Slot pending_drag() const noexcept { return pending_drag_; }
  bool hover_check_running() const noexcept { return hover_check_running_; }

  bool right_to_left() const noexcept { return right_to_left_; }

  // Layout of one tab.
  void place_tab(Slot s, std::int32_t x);
  void set_tab_caption(Slot s, const std::u16string& caption);

  // Pointer looks.
  void select_tab(Slot s);
  void set_hovered(Slot s);
  void set_hot_close(Slot s);
  void clear_hot_close();
  void on_pointer_over_tab(Slot s);
  void clear_hover_if_outside();
  void clear_pointer_looks();

  // Dragging: `source` takes the place of `dest`, or of the tab under x.
  void move_tab(Slot source, Slot dest);
  // The window of the tab being dragged, while the drag lasts.
  const host::Ref<host::Window>& dragged() const noexcept { return dragged_; }
  void drop_on_bar(Slot source, float x, float y);

  // Scrolling.
  void align_right();
  void align_left();
  void scroll_towards_end();
  void scroll_towards_start();
  // What a press of an arrow (Part::left_arrow or right_arrow) does.
  bool scrolls_towards_end(host::Part arrow) const noexcept;
  void bring_into_view(Slot s);
  // The scroll-arrow rules applied after the bar was docked again.
  void arrows_after_redock();

  // Clicks on a tab: its window comes to the front, or is asked to close.
  void activate_tab(Slot s);
  void request_close(Slot s);

  // The invariants of the strip; an empty string when they hold, else a
  // description of the first one broken. Only the tests call it; it lives
  // here because it reads the bar's private tables. Without `layout`, the
  // tables and what is shown only, not where: a failing call of the forms
  // engine may leave an element where it was.
  // With `behind_allowed`, a bar behind the model passes when it shows the
  // model's first tabs, each with the model's caption.
  std::string check_invariants_for_testing(bool layout = true, bool behind_allowed = false);
  // Whether elements of slots that hold no tab still wait to be hidden.
  bool hides_pending() const noexcept { return !slots_to_hide_.empty(); }
  // Hides again the elements of slots that hold no tab and could not all be
  // hidden before; run on the add-in's ticks (one empty test when none wait).
  void hide_leftovers() noexcept;
  // The bar is the form's only writer; a test that changes the form by hand
  // calls this, and the bar reads its layout back from the form before it
  // next uses it.
  void read_layout_back_for_testing() noexcept { read_back_ = true; }

  // TabView
  void prepare_tab(const std::u16string& caption) override;
  void discard_built_tab() noexcept override;
  void tab_appended(Position p) override;
  void tab_removed(Position p, std::int32_t count_before) override;
  void tab_moved(Position from, Position to) override;
  void caption_changed(Position p, const std::u16string& caption) override;
  void tab_activated(Position p) override;
  void unsaved_changed(Position p, bool unsaved) override;
  void tabs_cleared() noexcept override;
  void appends_began() override;
  void appends_ended() override;
  void removals_began() override;
  void removals_ended() override;

  // host::FormEvents
  void MouseDown(host::Element e, std::int16_t button) override;
  void MouseMove(host::Element e, std::int16_t button) override;
  void MouseUp(host::Element e, std::int16_t button) override;
  void Click(host::Element e) override;
  void DblClick(host::Element e) override;
  void DragDrop(host::Element target, std::int16_t source, float x, float y) override;
  void TimerTick(host::Timer t) override;
  void TooltipText(host::Element e, std::u16string& out) override;
  void MouseLeave() override;
  void MouseWheel(std::int16_t notches, bool horizontal) override;

 private:
  static host::Element face(Slot s) { return {host::Part::face, narrow(s)}; }
  static host::Element close_button(Slot s) { return {host::Part::close_button, narrow(s)}; }
  static host::Element icon(Slot s) { return {host::Part::icon, narrow(s)}; }
  static host::Element caption(Slot s) { return {host::Part::caption, narrow(s)}; }
  static constexpr host::Element kLeftArrow{host::Part::left_arrow, 0};
  static constexpr host::Element kRightArrow{host::Part::right_arrow, 0};
  static std::int16_t narrow(Slot s);
  static Slot slot_of(host::Element e) { return Slot(e.index); }

  void load_form();
  void build_new_tab(const std::u16string& caption);
  void record_appended(Position p);
  void show_tabs_before(Position p);
  void reset_tables() noexcept;
  void reset_form();
  Slot free_slot();
  void ensure_elements(Slot s);
  void build_elements(Slot s, std::int32_t x, const std::u16string& caption);
  StripLayout& layout();
  void read_layout_from_form();
  void show_layout();
  void show_tab(Slot s);
  void reveal_tab(Slot s);
  void hide_tab(Slot s) noexcept;
  void set_left(host::Element e, float left, float& shown);
  void show_arrows();
  void scroll_by_arrow(host::Part arrow);
  void mirror_in(float form_width);
  void drop_on_tab(Slot source, Slot dest, bool activate);
  void begin_drag(Slot s);
  Slot dragged_slot(std::int16_t source_index);
  void end_drag_if_gone() noexcept;
  void foreground_to_word();
  void show_menu_for(host::Element e);
  host::Picture close_picture(Slot s) const noexcept;
  bool shows_unsaved(Slot s) const noexcept;
  void show_unsaved(Slot s, bool unsaved);
  const host::Ref<host::Window>& window_of(Slot s) const;

  BarHost& host_;
  TabModel& model_;
  std::unique_ptr<host::Form> form_;
  host::Hwnd window_ = 0;  // the form's window, while it is loaded
  BarTheme theme_;  // what the form was told
  // Whether the strip reads from right to left (Word's interface language
  // or its mirrored main window), decided when the form loads.
  bool right_to_left_ = false;
  SlotMap slots_;
  Slot selected_, hovered_, hot_close_, pending_drag_;
  // The drag carries the Word window it began on: a slot alone may be taken
  // up by another tab before the drop.
  host::Ref<host::Window> dragged_;
  Slot middle_pressed_;  // the tab a middle press began on, until its release
  bool hover_check_running_ = false;
  bool arrow_held_ = false;  // a scroll arrow is pressed (its timer runs)
  Slot built_;               // prepared by prepare_tab, recorded by tab_appended
  bool skipped_append_ = false;  // prepare_tab built nothing: the bar is behind
  // Slots whose face the form holds as showing unsaved changes (a slot keeps
  // it until it is built again for another tab).
  std::vector<Slot> unsaved_slots_;
  // Slots of no tab whose elements could not all be hidden: tried again.
  std::vector<Slot> slots_to_hide_;
  // While several tabs are appended in one go: whether one overflowed the
  // bar, and the last one appended (to be selected at the end).
  bool appending_ = false;
  bool overflowed_ = false;
  Slot appended_last_;
  Position appended_last_at_;
  // The strip's layout, and whether the form was changed by hand since the
  // bar last told it anything (tests): then it is read back first.
  StripLayout layout_{slots_};
  bool read_back_ = false;
  // While several tabs are removed in one go: the layout they leave is shown
  // when they end, or when another change shows the strip.
  bool removing_ = false;
};

}  // namespace plovera
