// What the add-in's tab bar shows, read through the bar window's automation
// query (its elements are drawn items, not windows). Call on the thread that
// owns the bar (Word's user-interface thread).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/form_seam.h"  // host/forms.h beside <windows.h>

namespace standin {

// The bar window: the child of Word's main window of the bar's class, or a
// top-level one while it is not yet docked; nullptr when there is none.
HWND find_bar(HWND main);
// The bar docked in one frame: its child of the bar's class, or nullptr.
HWND find_bar_in(HWND frame);

struct ElementInfo {
  int loaded = 0;  // loaded elements of the array, template included
  bool visible = false;
  RECT rect{};     // client pixels of the bar window
  int picture = 0;
  std::wstring caption;
};

// False when the element is not loaded (or the bar did not answer).
bool query_element(HWND bar, plovera::host::Part part, int index, ElementInfo& out);

struct TabInfo {
  int index = 0;  // control index
  ElementInfo face, close, icon, caption;
};

// The visible tabs, left to right by the left edge of their face.
std::vector<TabInfo> visible_tabs(HWND bar);

// Captions left to right, `*` after the selected tab's (its face shows no
// picture): {"Doc1", "Doc2*", "Doc3"}.
std::vector<std::wstring> tab_words(const std::vector<TabInfo>& tabs);
// The same as one line, captions with blanks in single quotes: "Doc1 'My doc*'".
std::wstring describe_tabs(const std::vector<TabInfo>& tabs);

// Screen point at the centre of a rectangle in the bar's client pixels.
POINT centre_on_screen(HWND bar, const RECT& r);

}  // namespace standin
