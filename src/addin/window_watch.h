// The windows of Word's that the add-in watches: each docked frame's main
// window (its size, minimising and restoring, its title, Word becoming or
// ceasing to be the foreground program) and document area (Word laying its
// main window out again: the ribbon collapsed or expanded, a task pane).
// Notices go to the add-in, which only records them.
#pragma once

#include <vector>

#include "host/winsys.h"

namespace plovera {

class WindowWatch {
 public:
  WindowWatch(host::WindowSystem& ws, host::WindowNotices& receiver) noexcept
      : ws_(ws), receiver_(receiver) {}
  ~WindowWatch() { stop(); }
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  // Watches exactly `wanted` (windows watched already are left as they are);
  // false when a window could not be watched.
  bool watch_only(const std::vector<host::Hwnd>& wanted);
  // A watched window is gone: it is no longer watched.
  void forget(host::Hwnd h) noexcept;
  void stop() noexcept;
  const std::vector<host::Hwnd>& watched() const noexcept { return watched_; }

 private:
  host::WindowSystem& ws_;
  host::WindowNotices& receiver_;
  std::vector<host::Hwnd> watched_;
};

}  // namespace plovera
