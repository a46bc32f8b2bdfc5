// Which Word main window shows each tab's window, where every document
// window has a main window of its own (Word 2013 and later): Window.Hwnd,
// read once when the tab is appended, kept beside the model's positions.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/backoff.h"
#include "host/winsys.h"
#include "host/word_versions.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class TabMainWindows final : public TabView {
 public:
  // Reads each appended window's main window where `documents` (the
  // add-in's, decided at start-up) says every document has one of its own.
  TabMainWindows(TabModel& model, host::WindowSystem& ws, const host::DocumentWindows& documents)
      : model_(model), ws_(ws), documents_(documents) {}
  // Whether the tabs changed since the last take_changes.
  bool take_changes() noexcept { return std::exchange(changed_, false); }
  // Reads again the main windows that Word failed to name (a refused call):
  // only those windows are asked, only while there are any, and only once
  // the retry's wait is over: 10 ms after the refusal, then twice as long
  // after each pass in which Word named none of them, up to a second.
  void read_again(std::uint32_t now);
  // How many main windows Word failed to name so far.
  std::int32_t unread() const noexcept { return unread_; }
  // Milliseconds from `now` until the next read_again asks Word.
  std::uint32_t retry_in(std::uint32_t now) const noexcept { return retry_.remaining(now); }

  // `h` when it is a main window the add-in may dock in, else 0.
  host::Hwnd checked_main_window(host::Hwnd h);
  // The main window of the tab at `p`, or 0 when Word named none that the
  // add-in may dock in.
  host::Hwnd main_window_at(Position p) const;
  // The first position whose window `main` shows, or Position().
  Position first_shown_in(host::Hwnd main) const noexcept;
  // The distinct main windows of the tabs, in tab order.
  std::vector<host::Hwnd> main_windows() const;

  // TabView
  void prepare_tab(const std::u16string&) override {}
  void tab_appended(Position p) override;
  void tab_removed(Position p, std::int32_t count_before) override;
  void tab_moved(Position from, Position to) override;
  void caption_changed(Position, const std::u16string&) override {}
  void tab_activated(Position) override {}
  void tabs_cleared() noexcept override;
  void appends_began() override {}
  void appends_ended() override {}
  void removals_began() override {}
  void removals_ended() override {}

 private:
  struct Entry {
    host::Hwnd main = 0;
    bool read = false;  // Word answered (main may still be 0: none usable)
  };
  Entry read_main_window(Position p);

  TabModel& model_;
  host::WindowSystem& ws_;
  std::vector<Entry> main_of_;  // main_of_[p - 1]
  std::int32_t unread_ = 0;
  Backoff retry_;  // pending while unread_ > 0
  const host::DocumentWindows& documents_;
  bool changed_ = false;
  std::u16string class_;
};

}  // namespace plovera
