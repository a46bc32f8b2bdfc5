// The groups of checks of the forms engine's Wine test.
#pragma once

#include "bar_fixture.h"

namespace forms_test {

using Engine = plovera::win32::Win32FormEngine;

void check_design_and_units(Engine& engine, Checks& t);
void check_units(Engine& engine, Checks& t);
void check_labels_and_query(Engine& engine, Checks& t);
void check_query_from_another_process(Engine& engine, Checks& t);
int query_from_outside(HWND bar, LPARAM address);
void check_quick_clicks_on_sliding_tabs(Engine& engine, Checks& t);
void check_repaint(Bar& bar, Checks& t);
void check_clicks_and_hits(Bar& bar, Checks& t);
void check_capture(Bar& bar, Checks& t);
void check_drag(Bar& bar, Checks& t);
void check_handlers_that_fail_or_destroy(Engine& engine, Checks& t);
void check_timers(Bar& bar, Checks& t);
void check_accessible(Bar& bar, Checks& t);
void check_tooltips(Bar& bar, Checks& t);
void check_pictures_per_resolution(Checks& t);
void check_accessible_outlives_bar(Engine& engine, Checks& t);
void check_accessible_events_reentered(Engine& engine, Checks& t);

// Lays out the three tabs every input and paint check runs on, the first
// icon at `first_x` twips, and shows the arrows.
void lay_out_three_tabs(Bar& bar, float first_x = 75);

inline HWND hwnd_of(plovera::host::Form& f) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(f.hWnd()));
}

template <class F>
bool throws_host_error(F&& f) {
  try {
    f();
  } catch (const plovera::host_error&) {
    return true;
  }
  return false;
}

}  // namespace forms_test
