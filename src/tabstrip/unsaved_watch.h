// Which tabs' documents have unsaved changes (Word's Document.Saved), read
// at a bounded rate and only where the state may have changed:
//
// - every document once a second at most (the safety net: a macro may save
//   a document, or set Saved, without telling), which on an idle Word is one
//   call per document per second;
// - the active document after Word moved its selection (typing does), at
//   most every 250 ms, and not while its tab shows the mark already: only a
//   save clears it;
// - the documents that show the mark after Word announced a save, at most
//   every 250 ms for the two seconds that follow (the save comes after the
//   announcement, and a save-as dialog may hold it up; the safety net
//   catches a later one).
//
// Time is what the add-in's timer was set to between ticks: never more than
// what really passed, so the reads are never more frequent than the rates
// above. Each tab's Document is asked for once and held while the tab
// lasts (a window shows one document for its whole life). A read that
// fails shows no mark.
#pragma once

#include <cstdint>
#include <vector>

#include "host/word.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class UnsavedWatch final : public TabView {
 public:
  static constexpr std::uint32_t every_document_ms = 1000;
  static constexpr std::uint32_t quick_read_ms = 250;
  static constexpr std::uint32_t after_save_ms = 2000;

  explicit UnsavedWatch(TabModel& model) noexcept : model_(model) {}

  // Word moved the selection: the user may have changed the active document.
  void selection_changed() noexcept { active_may_have_changed_ = true; }
  // Word announced a save: a mark may go.
  void save_announced() noexcept { after_save_left_ms_ = after_save_ms; }
  // Whether the active tab shows the mark already (more edits change nothing).
  bool active_marked() const noexcept;
  // One tick, `elapsed_ms` after the last: reads what is due and marks the
  // tabs. Stops early when the tabs change during a read (a call into Word
  // may run a message loop).
  void tick(std::uint32_t elapsed_ms);

  // TabView
  void prepare_tab(const std::u16string&) override {}
  void tab_appended(Position p) override;
  void tab_removed(Position p, std::int32_t count_before) override;
  void tab_moved(Position from, Position to) override;
  void caption_changed(Position, const std::u16string&) override {}
  void tab_activated(Position p) override { active_ = p; }
  void tabs_cleared() noexcept override;
  void appends_began() override {}
  void appends_ended() override {}
  void removals_began() override {}
  void removals_ended() override {}

 private:
  void read_every_document();
  void read_marked_documents();
  // Reads the tab's Saved and marks it; false when the tabs changed meanwhile.
  bool read(Position p);

  TabModel& model_;
  std::vector<host::Ref<host::Document>> documents_;  // documents_[p - 1], asked for on first read
  Position active_;
  std::uint32_t since_every_ms_ = every_document_ms;  // the first tick reads every document
  std::uint32_t since_quick_ms_ = quick_read_ms;
  std::uint32_t after_save_left_ms_ = 0;
  bool active_may_have_changed_ = false;
  std::uint64_t changes_ = 0;  // counts changes of the tabs, to spot one during a read
};

}  // namespace plovera
