// A query on the tab bar's window for end-to-end tests that run on the bar's
// own thread: the bar's elements are drawn items, so no window handle exists
// for them.
//
//   ElementQuery q{}; q.size = sizeof q; q.part = ...; q.index = ...;
//   if (query_bar_element(bar, q)) { ... }
//
// The bar writes its answer into the caller's ElementQuery, so it answers
// nothing that another thread or process could have sent: the message is
// refused unless it is sent from the bar's own thread, and a posted one
// (whose sender could be anyone) cannot carry the bar's key, which only the
// return value of a send from that thread hands out. A wrong key turns the
// query off for the window's life.
#pragma once

#include <windows.h>

#include <cstdint>

namespace plovera::win32 {

inline constexpr const wchar_t* kQueryElementMessage = L"Plovera.QueryElement";
inline constexpr const wchar_t* kBarWindowClass = L"PloveraTabBar";

struct ElementQuery {
  std::uint32_t size;      // in: sizeof(ElementQuery)
  std::uint8_t part;        // in: host::Part
  std::int16_t index;      // in: control index (0 for Form, left_arrow, right_arrow)
  std::int32_t loaded;     // out: number of loaded elements of that array, template included
  std::int32_t visible;    // out
  RECT rect;               // out: client pixels of the bar window
  std::int32_t picture;    // out: host::Picture
  wchar_t caption[260];    // out: labels only, cut to fit, NUL-terminated
};

// Asks the bar about one element; call on the bar's thread. True when the
// element exists (is loaded) and `q` holds the answer.
inline bool query_bar_element(HWND bar, ElementQuery& q) noexcept {
  static const UINT message = RegisterWindowMessageW(kQueryElementMessage);
  if (!bar || !message) return false;
  const auto key = static_cast<WPARAM>(SendMessageW(bar, message, 0, 0));
  return key != 0 && SendMessageW(bar, message, key, reinterpret_cast<LPARAM>(&q)) == 1;
}

// How many times the bar window `bar` has painted a non-empty area since it
// was created; 0 for a window that is not a live bar of this module on the
// calling thread.
std::uint32_t bar_paint_count(HWND bar) noexcept;

}  // namespace plovera::win32
