#include "addin/tab_main_windows.h"

#include <algorithm>
#include <utility>

#include "host/error.h"

namespace plovera {

// Word's answer is trusted only as far as it can be checked: a top-level
// "OpusApp" window of this process. Anything else (a failing read, 0, a
// child window, another program's window) names no main window, and the
// tab is shown in every bar all the same.
TabMainWindows::Entry TabMainWindows::read_main_window(Position p) {
  host::Hwnd h = 0;
  if (!ignore_errors([&] { h = model_.window_at(p)->Hwnd(); })) return {};
  return {checked_main_window(h), true};
}

// A pass in which Word named any of them starts the back-off afresh for
// those left: Word is answering again.
void TabMainWindows::read_again(std::uint32_t now) {
  if (unread_ == 0) return retry_.clear();
  if (!retry_.pending()) return retry_.failed(now);  // the refusal was just seen
  if (!retry_.due(now)) return;
  const std::int32_t before = unread_;
  for (std::size_t i = 0; i < main_of_.size(); ++i) {
    if (main_of_[i].read) continue;
    main_of_[i] = read_main_window(Position(static_cast<std::int32_t>(i) + 1));
    if (!main_of_[i].read) continue;
    --unread_;
    changed_ = true;
  }
  if (unread_ < before) retry_.clear();
  if (unread_ > 0) retry_.failed(now);
}

host::Hwnd TabMainWindows::checked_main_window(host::Hwnd h) {
  if (h == 0) return 0;
  ws_.window_class(h, class_);
  if (class_ != u"OpusApp" || !ws_.in_this_process(h) || ws_.parent_of(h) != 0) return 0;
  return h;
}

void TabMainWindows::tab_appended(Position p) {
  const Entry e = documents_ == host::DocumentWindows::main_window_per_document
                      ? read_main_window(p)
                      : Entry{0, true};
  main_of_.insert(main_of_.begin() + (p.value - 1), e);
  if (!e.read) ++unread_;
  changed_ = true;
}

void TabMainWindows::tab_removed(Position p, std::int32_t /*count_before*/) {
  const auto at = main_of_.begin() + (p.value - 1);
  if (!at->read && --unread_ == 0) retry_.clear();
  main_of_.erase(at);
  changed_ = true;
}

void TabMainWindows::tab_moved(Position from, Position to) {
  move_entry(main_of_, from, to);
}

void TabMainWindows::tabs_cleared() noexcept {
  main_of_.clear();
  unread_ = 0;
  retry_.clear();
  changed_ = true;
}

host::Hwnd TabMainWindows::main_window_at(Position p) const {
  if (p.value < 1 || p.value > static_cast<std::int32_t>(main_of_.size())) return 0;
  return main_of_[static_cast<std::size_t>(p.value - 1)].main;
}

Position TabMainWindows::first_shown_in(host::Hwnd main) const noexcept {
  for (std::size_t i = 0; i < main_of_.size(); ++i)
    if (main_of_[i].main == main) return Position(static_cast<std::int32_t>(i) + 1);
  return Position();
}

std::vector<host::Hwnd> TabMainWindows::main_windows() const {
  std::vector<host::Hwnd> out;
  for (const Entry& e : main_of_)
    if (e.main != 0 && std::find(out.begin(), out.end(), e.main) == out.end()) out.push_back(e.main);
  return out;
}

}  // namespace plovera
