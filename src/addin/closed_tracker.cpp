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

const std::u16string& ClosedTracker::full_name_at(Position p) const {
  return names_.at(static_cast<std::size_t>(p.value - 1));
}

void ClosedTracker::tab_appended(Position p) {
  std::u16string full = read_full_name(p);
  if (!full.empty()) closed_.forget(full);
  names_.insert(names_.begin() + (p.value - 1), std::move(full));
}

void ClosedTracker::tab_removed(Position p, std::int32_t /*count_before*/) {
  const auto at = names_.begin() + (p.value - 1);
  std::u16string full = std::move(*at);
  names_.erase(at);
  if (full.empty() || std::find(names_.begin(), names_.end(), full) != names_.end()) return;
  closed_.remember(full);
}

void ClosedTracker::tab_moved(Position from, Position to) {
  const auto first = names_.begin();
  if (to < from)
    std::rotate(first + (to.value - 1), first + (from.value - 1), first + from.value);
  else
    std::rotate(first + (from.value - 1), first + from.value, first + to.value);
}

void ClosedTracker::caption_changed(Position p, const std::u16string& /*caption*/) {
  names_.at(static_cast<std::size_t>(p.value - 1)) = read_full_name(p);
}

}  // namespace plovera
