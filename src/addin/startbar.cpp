// Start-up of the tab bar and its docking in Word's main window.
//
// The bar occupies a band of `barheight` pixels directly below Word's top
// command-bar dock. Word knows nothing of the band, so the add-in makes room
// by moving Word's document area and right dock down by one band. When Word
// lays out its windows again (after a resize) the geometry no longer matches,
// and checkdock, run on every tick, docks the bar again.
#include "addin/addin.h"
#include "tabstrip/numbers.h"

namespace plovera {
namespace {

constexpr const char16_t* kDockClass = u"MsoCommandBarDock";
constexpr std::int32_t kBandTwips = 360;

}  // namespace

void Addin::startbar() {
  findword();
  if (wordhwnd == 0) return;
  frmAddIn.create_wins();
  buildmenu();
  ignore_errors([&] { app().ShowWindowsInTaskbar(false); });
  ws().set_parent(frmAddIn.hWnd(), wordhwnd);
  docktop = ws().find_child(wordhwnd, 0, kDockClass, u"MsoDockTop");
  scanwindows(wordhwnd);
  if (word_version() < 12) docwnd = ws().parent_of(hwwb);
  dockright = ws().find_child(wordhwnd, 0, kDockClass, u"MsoDockRight");
  const std::int32_t t = twips_per_pixel(ws().dpi_y());
  barheight = div32(sub32(kBandTwips, kBandTwips % t), t);
  frmAddIn.Show();
  checkdock();
  ws().bring_to_foreground(wordhwnd);
  frmAddIn.enable_mouse_timer();
}

bool Addin::bar_in_place(const host::Rect& T, const host::Rect& B, const host::Rect& D) const {
  const std::int32_t h = barheight;
  const std::int32_t gap = abs32(sub32(D.top, T.bottom));
  return sub32(h, 6) <= gap && gap <= add32(h, 6) && sub32(B.bottom, h / 2) <= D.top &&
         dockoffset == sub32(D.top, T.top);
}

// In place, a tick costs three rectangle reads and no call into Word.
void Addin::checkdock() {
  host::Rect T, B, D;
  const bool found = ws().window_rect(docktop, T) && ws().window_rect(docwnd, D);
  // Without the top dock or the document area there is nothing to dock
  // against; moving the bar on every tick would only make it flicker.
  if (!found) return;
  ws().window_rect(frmAddIn.hWnd(), B);
  if (bar_in_place(T, B, D)) return;

  pushdown();
  ws().window_rect(docktop, T);
  ws().window_rect(docwnd, D);
  const std::int32_t h = barheight;
  const std::int32_t width_twips = sub32(mul32(app().Width(), 20), 80);
  const std::int32_t tx = twips_per_pixel(ws().dpi_x());
  ws().place_window(frmAddIn.hWnd(), host::kTopOfZOrder, 0, sub32(sub32(D.top, T.top), h),
                    div32(width_twips, tx), add32(h, 2), host::place::frame_changed);
  dockoffset = docoffset();
  frmAddIn.arrows_after_redock();
  ws().bring_to_foreground(wordhwnd);
}

// Moves window `h` (a child of Word's main window, whose positions count from
// the top dock's top-left corner) so that it starts `shift` pixels below the
// top dock's bottom, keeping its bottom edge.
void Addin::move_below_top_dock(host::Hwnd h, std::int32_t shift) {
  host::Rect R, T;
  ws().window_rect(h, R);
  ws().window_rect(docktop, T);
  ws().place_window(h, 0, sub32(R.left, T.left), add32(sub32(T.bottom, T.top), shift),
                    sub32(R.right, R.left), sub32(sub32(R.bottom, R.top), shift),
                    host::place::keep_z_order);
}

void Addin::pushdown() {
  move_below_top_dock(docwnd, barheight);
  move_below_top_dock(dockright, barheight);
}

std::int32_t Addin::docoffset() {
  host::Rect D, T;
  ws().window_rect(docwnd, D);
  ws().window_rect(docktop, T);
  return sub32(D.top, T.top);
}

// Gives the band back to Word: while the bar is in place, the document area
// and the right dock move up by one band again. If Word has laid out its
// windows since, they are where Word wants them and stay.
void Addin::pullup() noexcept {
  ignore_errors([&] {
    host::Rect T, B, D;
    if (!ws().window_rect(docktop, T) || !ws().window_rect(docwnd, D)) return;
    ws().window_rect(frmAddIn.hWnd(), B);
    if (dockoffset == 0 || !bar_in_place(T, B, D)) return;
    for (host::Hwnd h : {docwnd, dockright}) {
      host::Rect R;
      if (!ws().window_rect(h, R)) continue;
      ws().place_window(h, 0, sub32(R.left, T.left), sub32(sub32(R.top, T.top), barheight),
                        sub32(R.right, R.left), add32(sub32(R.bottom, R.top), barheight),
                        host::place::keep_z_order);
    }
  });
}

}  // namespace plovera
