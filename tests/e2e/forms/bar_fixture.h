// A bar as the add-in sets it up: a form from the engine, made a child of a
// stand-in for Word's main window, placed, shown, with tabs laid out the way
// the tab strip lays them out (icon, caption, close button over a face).
#pragma once

#include <memory>
#include <string>

#include "test_support.h"
#include "win32/bar_instruments.h"
#include "win32/form_engine.h"

namespace forms_test {

struct Bar {
  HWND host = nullptr;  // the stand-in for Word's main window
  HWND hwnd = nullptr;  // the bar
  Recorder events;
  std::unique_ptr<plovera::host::Form> form;

  Bar(plovera::win32::Win32FormEngine& engine, POINT at, int width_px);
  ~Bar();
  Bar(const Bar&) = delete;
  Bar& operator=(const Bar&) = delete;

  // Shows a tab of control index c whose icon starts at x twips.
  void add_tab(int c, float x, const std::u16string& caption);
  // Places the two arrows at the bar's ends and shows them.
  void show_arrows();
  // The x (twips) where a tab placed after the rightmost face c starts.
  float after(int c);
  // Waits until nothing is left to paint.
  bool settle();
};

}  // namespace forms_test
