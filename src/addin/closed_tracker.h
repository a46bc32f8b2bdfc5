// Remembers which documents close, for "Reopen Closed Document": the full
// name of each tab's document with a path, read when the tab is appended
// and when its caption changes (a save under another name), kept beside the
// model's positions. A tab that leaves hands its document to the closed
// list, unless another tab still shows that document; a tab that appears
// takes its document off the list. Nothing is read on a tick.
//
// Tabs that leave in one go (windows closed while a handler of the add-in's
// ran, such as "Close Other Documents") closed in an order Word does not
// tell; they are taken as closed from right to left, the order in which
// the menu's commands close windows, so the leftmost is the most recent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands/closed_documents.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class ClosedTracker final : public TabView {
 public:
  ClosedTracker(TabModel& model, ClosedDocuments& closed) : model_(model), closed_(closed) {}

  // TabView
  void prepare_tab(const std::u16string&) override {}
  void tab_appended(Position p) override;
  void tab_removed(Position p, std::int32_t count_before) override;
  void tab_moved(Position from, Position to) override;
  void caption_changed(Position p, const std::u16string& caption) override;
  void tab_activated(Position) override {}
  void tabs_cleared() noexcept override;
  void appends_began() override {}
  void appends_ended() override {}
  void removals_began() override;
  void removals_ended() override;

 private:
  std::u16string read_full_name(Position p);
  void closed(const std::u16string& full_name);

  TabModel& model_;
  ClosedDocuments& closed_;
  std::vector<std::u16string> names_;  // names_[p - 1]
  std::u16string path_;                // scratch
  // While tabs leave in one go: where each tab stood when the go began
  // (beside names_), and the names that left with those places.
  bool removing_ = false;
  std::vector<std::int32_t> places_;
  std::vector<std::pair<std::int32_t, std::u16string>> left_;
};

}  // namespace plovera
