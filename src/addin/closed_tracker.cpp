#include "addin/closed_tracker.h"

#include <algorithm>
#include <utility>

#include "host/error.h"

namespace plovera {

// Only a document with a path can be opened again. A refused read leaves the
// tab without a name: its closing is not remembered.
std::u16string ClosedTracker::read_full_name(Position p) {
  std::u16string full;
  ignore_errors([&] {
    host::Ref<host::Document> d = model_.window_at(p)->Document();
    d->Path(path_);
    if (!path_.empty()) d->FullName(full);
  });
  return full;
}

void ClosedTracker::tabs_cleared() noexcept {
  names_.clear();
  places_.clear();
  left_.clear();
  removing_ = false;
}

void ClosedTracker::tab_appended(Position p) {
  if (removing_) removals_ended();
  std::u16string full = read_full_name(p);
  if (!full.empty()) closed_.forget(full);
  names_.insert(names_.begin() + (p.value - 1), std::move(full));
}

void ClosedTracker::tab_removed(Position p, std::int32_t /*count_before*/) {
  const auto i = static_cast<std::size_t>(p.value - 1);
  std::u16string full = std::move(names_.at(i));
  names_.erase(names_.begin() + p.value - 1);
  if (!removing_) return closed(full);
  left_.emplace_back(places_.at(i), std::move(full));
  places_.erase(places_.begin() + p.value - 1);
}

void ClosedTracker::removals_began() {
  removing_ = true;
  places_.resize(names_.size());
  for (std::size_t i = 0; i < places_.size(); ++i) places_[i] = static_cast<std::int32_t>(i);
  left_.clear();
}

void ClosedTracker::removals_ended() {
  removing_ = false;
  std::sort(left_.begin(), left_.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [place, full] : left_) closed(full);
  left_.clear();
}

// A document open in another tab still is not closed.
void ClosedTracker::closed(const std::u16string& full_name) {
  if (full_name.empty() || std::find(names_.begin(), names_.end(), full_name) != names_.end()) return;
  closed_.remember(full_name);
}

void ClosedTracker::tab_moved(Position from, Position to) {
  if (removing_) removals_ended();  // a move ends what the go's places mean
  move_entry(names_, from, to);
}

void ClosedTracker::caption_changed(Position p, const std::u16string& /*caption*/) {
  names_.at(static_cast<std::size_t>(p.value - 1)) = read_full_name(p);
}

}  // namespace plovera
