// An automation query on the tab bar's window, for accessibility tools and
// end-to-end tests running in the same process: the bar's elements are drawn
// items, so no window handle exists for them.
//
//   UINT msg = RegisterWindowMessageW(kQueryElementMessage);
//   ElementQuery q{}; q.size = sizeof q; q.part = ...; q.index = ...;
//   if (SendMessageW(bar, msg, 0, reinterpret_cast<LPARAM>(&q)) == 1) { ... }
//
// The answer is 1 when the element exists (is loaded), 0 otherwise.
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

}  // namespace plovera::win32
