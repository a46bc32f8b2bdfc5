#include "tabstrip/tab_model.h"

#include <algorithm>

#include "base/first_failure.h"
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
// cannot be built leaves the model as it was and the next pass tries again.
void TabModel::append(host::Ref<host::Window> window, const std::u16string& caption) {
  if (count() >= kMaxTabs) return;
  for (TabView* view : views_) view->prepare_tab(caption);
  captions_.push_back(caption);
  windows_.push_back(std::move(window));
  try {
    known_.insert(windows_.back().get());
  } catch (...) {
    windows_.pop_back();
    captions_.pop_back();
    throw;
  }
  announce([p = Position(count())](TabView& v) { v.tab_appended(p); });
}

void TabModel::remove_at(Position p) {
  check_position(p);
  const std::int32_t before = count();
  const auto at = windows_.begin() + (p.value - 1);
  known_.erase(at->get());
  windows_.erase(at);
  captions_.erase(captions_.begin() + (p.value - 1));
  announce([&](TabView& v) { v.tab_removed(p, before); });
}

void TabModel::move(Position from, Position to) {
  check_position(from);
  check_position(to);
  if (from == to) return;
  const auto rotate = [&](auto& table) {
    const auto first = table.begin();
    if (to < from)
      std::rotate(first + (to.value - 1), first + (from.value - 1), first + from.value);
    else
      std::rotate(first + (from.value - 1), first + from.value, first + to.value);
  };
  rotate(windows_);
  rotate(captions_);
  announce([&](TabView& v) { v.tab_moved(from, to); });
}

void TabModel::rename(Position p, const std::u16string& caption) {
  check_position(p);
  captions_[static_cast<std::size_t>(p.value - 1)] = caption;
  announce([&](TabView& v) { v.caption_changed(p, caption); });
}

bool TabModel::caption_differs(Position p, const std::u16string& caption) {
  check_position(p);
  bool differs = false;
  for (TabView* view : views_) differs = view->caption_differs(p, caption) || differs;
  return differs;
}

void TabModel::activate(Position p) {
  check_position(p);
  announce([&](TabView& v) { v.tab_activated(p); });
}

void TabModel::clear() noexcept {
  windows_.clear();
  captions_.clear();
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
