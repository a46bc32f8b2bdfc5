#include "tabstrip/unsaved_watch.h"

#include <algorithm>
#include <limits>

#include "host/error.h"

namespace plovera {
namespace {

std::uint32_t add_saturated(std::uint32_t a, std::uint32_t b) noexcept {
  return b > std::numeric_limits<std::uint32_t>::max() - a ? std::numeric_limits<std::uint32_t>::max()
                                                            : a + b;
}

}  // namespace

bool UnsavedWatch::active_marked() const noexcept {
  return active_.value >= 1 && active_.value <= model_.count() && model_.unsaved_at(active_);
}

void UnsavedWatch::tick(std::uint32_t elapsed_ms) {
  since_every_ms_ = add_saturated(since_every_ms_, elapsed_ms);
  since_quick_ms_ = add_saturated(since_quick_ms_, elapsed_ms);
  const bool after_save = after_save_left_ms_ > 0;
  after_save_left_ms_ -= std::min(after_save_left_ms_, elapsed_ms);
  if (since_every_ms_ >= every_document_ms) {
    since_every_ms_ = since_quick_ms_ = 0;
    active_may_have_changed_ = false;
    return read_every_document();
  }
  if (since_quick_ms_ < quick_read_ms) return;
  const bool active_due = active_may_have_changed_ && active_ != Position() && !active_marked();
  if (!after_save && !active_due) return;
  since_quick_ms_ = 0;
  active_may_have_changed_ = false;
  if (after_save) read_marked_documents();
  if (active_due && active_ != Position() && !active_marked()) read(active_);
}

void UnsavedWatch::read_every_document() {
  for (std::int32_t p = 1; p <= model_.count(); ++p)
    if (!read(Position(p))) return;
}

void UnsavedWatch::read_marked_documents() {
  for (std::int32_t p = 1; p <= model_.count(); ++p)
    if (model_.unsaved_at(Position(p)) && !read(Position(p))) return;
}

// The document is held across the call; a change of the tabs meanwhile
// leaves this position meaning another tab, so nothing is marked.
bool UnsavedWatch::read(Position p) {
  if (p.value < 1 || p.value > model_.count()) return false;
  const std::uint64_t before = changes_;
  host::Ref<host::Document> document = documents_.at(static_cast<std::size_t>(p.value - 1));
  bool unsaved = false;
  const status_t st = boundary_guard([&] {
    if (!document) document = model_.window_at(p)->Document();
    unsaved = !document->Saved();
  });
  if (changes_ != before) return false;
  if (document) documents_[static_cast<std::size_t>(p.value - 1)] = std::move(document);
  model_.mark_unsaved(p, unsaved && !failed(st));
  return true;
}

void UnsavedWatch::tab_appended(Position p) {
  ++changes_;
  documents_.insert(documents_.begin() + (p.value - 1), nullptr);
}

void UnsavedWatch::tab_removed(Position p, std::int32_t /*count_before*/) {
  ++changes_;
  documents_.erase(documents_.begin() + (p.value - 1));
  if (active_ == p) active_ = Position();
  else if (active_ > p) --active_.value;
}

void UnsavedWatch::tab_moved(Position from, Position to) {
  ++changes_;
  move_entry(documents_, from, to);
  if (active_ == from) active_ = to;
  else if (from < to && active_ > from && active_ <= to) --active_.value;
  else if (to < from && active_ >= to && active_ < from) ++active_.value;
}

void UnsavedWatch::tabs_cleared() noexcept {
  ++changes_;
  documents_.clear();
  active_ = Position();
  active_may_have_changed_ = false;
  after_save_left_ms_ = 0;
}

}  // namespace plovera
