// What assistive technology (screen readers, through Microsoft Active
// Accessibility) sees of the tab bar: the bar answers WM_GETOBJECT with a
// tree of IAccessible objects built from its drawn elements.
//
//   bar          page-tab list "Document tabs"
//     tab        page tab named by its caption, selected when its face shows
//                no picture; description "3 of 7"; default action "Switch"
//       close    push button "Close <caption>", default action "Press"
//     left/right push buttons "Scroll left" / "Scroll right", invisible
//                while hidden; default action "Press" (one scroll step)
//
// Tabs come first, left to right, then the two arrows. A tab is the set of
// elements of one control index from the moment its face is shown until it
// is hidden again; an object kept by a client after that (or after the bar
// was destroyed) answers every call with CO_E_OBJNOTCONNECTED. The objects
// reach their bar only through an AccessibleLink, which the bar cuts when it
// goes, and they read nothing but the bar's elements: no call is made into
// Word on a client's behalf, except the activation or close that a default
// action asks for, which reaches the bar's receiver as a click would.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <cstdint>
#include <memory>

namespace plovera::win32 {

class FormWindow;

// IAccessible's IID. (mingw-w64's oleacc import library turns oleacc.dll's
// exported IID_IAccessible into a code thunk: its address is no IID.)
inline constexpr IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct AccessibleLink {
  FormWindow* form = nullptr;  // null once the bar is gone
};

// Child identifiers in events: a tab and its close button keep theirs for
// the tab's life (get_accChild also takes 1..count, the position).
inline constexpr LONG kTabChildIdBase = 0x100000;
inline constexpr LONG kLeftArrowChildId = kTabChildIdBase - 2;
inline constexpr LONG kRightArrowChildId = kTabChildIdBase - 1;
inline LONG tab_child_id(std::uint32_t incarnation) noexcept {
  return kTabChildIdBase + static_cast<LONG>(incarnation & 0x1FFFFFF) * 2;
}

// The root of the bar's tree, with one reference for the caller; nullptr
// when it cannot be made.
IAccessible* new_bar_accessible(const std::shared_ptr<AccessibleLink>& link) noexcept;

}  // namespace plovera::win32
