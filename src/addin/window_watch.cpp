#include "addin/window_watch.h"

#include <algorithm>

namespace plovera {

bool WindowWatch::watch_only(const std::vector<host::Hwnd>& wanted) {
  const auto unwanted = [&](host::Hwnd h) {
    return std::find(wanted.begin(), wanted.end(), h) == wanted.end();
  };
  for (host::Hwnd h : watched_)
    if (unwanted(h)) ws_.stop_watching(h);
  watched_.erase(std::remove_if(watched_.begin(), watched_.end(), unwanted), watched_.end());
  bool all = true;
  for (host::Hwnd h : wanted) {
    if (h == 0 || std::find(watched_.begin(), watched_.end(), h) != watched_.end()) continue;
    if (!ws_.watch_window(h, receiver_)) {
      all = false;
      continue;
    }
    watched_.push_back(h);
  }
  return all;
}

void WindowWatch::forget(host::Hwnd h) noexcept {
  watched_.erase(std::remove(watched_.begin(), watched_.end(), h), watched_.end());
}

void WindowWatch::stop() noexcept {
  for (host::Hwnd h : watched_) ws_.stop_watching(h);
  watched_.clear();
}

}  // namespace plovera
