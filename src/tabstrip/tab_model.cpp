#include "tabstrip/tab_model.h"

#include <algorithm>

#include "base/first_failure.h"
#include "base/scope_exit.h"
#include "host/error.h"

namespace plovera {

void TabModel::check_position(Position p) const {
  if (p.value < 1 || p.value > count()) throw_host_error(status::bad_index, "tab position");
}

const std::u16string& TabModel::caption_at(Position p) const {
  check_position(p);
  return captions_[static_cast<std::size_t>(p.value - 1)];
}

const host::Ref<host::Window>& TabModel::window_at(Position p) const {
  check_position(p);
  return windows_[static_cast<std::size_t>(p.value - 1)];
}

Position TabModel::position_of(const host::Ref<host::Window>& window) const noexcept {
  for (std::size_t i = 0; i < windows_.size(); ++i)
    if (windows_[i] == window) return Position(static_cast<std::int32_t>(i) + 1);
  return Position();
}

// Every view hears of the change; a failing view does not keep the others
// from following the model.
template <class F>
void TabModel::announce(F&& f) {
  FirstFailure failure;
  for (TabView* view : views_) failure.run([&] { f(*view); });
  failure.rethrow();
}

// The views build the tab before the model records it, so that a tab that
// cannot be built leaves the model as it was and the next pass tries again;
// the views that had built it then discard what they built.
void TabModel::append(host::Ref<host::Window> window, const std::u16string& caption) {
  if (count() >= kMaxTabs) return;
  std::size_t built = 0;
  bool recorded = false;
  ScopeExit discard([&] {
    if (recorded) return;
    for (std::size_t i = 0; i < built && i < views_.size(); ++i) views_[i]->discard_built_tab();
  });
  for (TabView* view : views_) {
    view->prepare_tab(caption);
    ++built;
  }
  captions_.push_back(caption);
  try {
    caption_unsure_.push_back(false);
    unsaved_.push_back(false);
    windows_.push_back(std::move(window));
    try {
      known_.insert(windows_.back().get());
    } catch (...) {
      windows_.pop_back();
      throw;
    }
  } catch (...) {
    captions_.resize(windows_.size());
    caption_unsure_.resize(windows_.size());
    unsaved_.resize(windows_.size());
    throw;
  }
  recorded = true;
  announce([p = Position(count())](TabView& v) { v.tab_appended(p); });
}

void TabModel::remove_at(Position p) {
  check_position(p);
  const std::int32_t before = count();
  const auto at = windows_.begin() + (p.value - 1);
  known_.erase(at->get());
  windows_.erase(at);
  captions_.erase(captions_.begin() + (p.value - 1));
  caption_unsure_.erase(caption_unsure_.begin() + (p.value - 1));
  unsaved_.erase(unsaved_.begin() + (p.value - 1));
  announce([&](TabView& v) { v.tab_removed(p, before); });
}

void TabModel::move(Position from, Position to) {
  check_position(from);
  check_position(to);
  if (from == to) return;
  move_entry(windows_, from, to);
  move_entry(captions_, from, to);
  move_entry(caption_unsure_, from, to);
  move_entry(unsaved_, from, to);
  announce([&](TabView& v) { v.tab_moved(from, to); });
}

// A view that fails to show the new caption is told again on the next pass:
// the copy is marked unsure until every view took it.
void TabModel::rename(Position p, const std::u16string& caption) {
  check_position(p);
  const auto i = static_cast<std::size_t>(p.value - 1);
  captions_[i] = caption;
  caption_unsure_[i] = true;
  announce([&](TabView& v) { v.caption_changed(p, caption); });
  caption_unsure_[i] = false;
}

bool TabModel::caption_differs(Position p, const std::u16string& caption) const {
  check_position(p);
  const auto i = static_cast<std::size_t>(p.value - 1);
  return caption_unsure_[i] || captions_[i] != caption;
}

void TabModel::activate(Position p) {
  check_position(p);
  announce([&](TabView& v) { v.tab_activated(p); });
}

bool TabModel::unsaved_at(Position p) const {
  check_position(p);
  return unsaved_[static_cast<std::size_t>(p.value - 1)];
}

// Told only when it changes: a tick that finds the same state tells no view.
void TabModel::mark_unsaved(Position p, bool unsaved) {
  check_position(p);
  const auto i = static_cast<std::size_t>(p.value - 1);
  if (unsaved_[i] == unsaved) return;
  unsaved_[i] = unsaved;
  announce([&](TabView& v) { v.unsaved_changed(p, unsaved); });
}

void TabModel::clear() noexcept {
  windows_.clear();
  captions_.clear();
  caption_unsure_.clear();
  unsaved_.clear();
  known_.clear();
  for (TabView* view : views_) view->tabs_cleared();
}

void TabModel::begin_appends() {
  announce([](TabView& v) { v.appends_began(); });
}

void TabModel::end_appends() {
  announce([](TabView& v) { v.appends_ended(); });
}

void TabModel::begin_removals() {
  announce([](TabView& v) { v.removals_began(); });
}

void TabModel::end_removals() {
  announce([](TabView& v) { v.removals_ended(); });
}

void TabModel::add_view(TabView& view) {
  if (std::find(views_.begin(), views_.end(), &view) == views_.end()) views_.push_back(&view);
}

void TabModel::remove_view(TabView& view) noexcept {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

}  // namespace plovera
