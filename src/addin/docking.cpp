// Start-up of the tab bar and its docking in Word's main window.
//
// The bar occupies a band of band_height pixels directly below Word's top
// command-bar dock. Word knows nothing of the band, so the add-in makes room
// by moving Word's document area and right dock down by one band. When Word
// lays out its windows again (after a resize) the geometry no longer matches,
// and redock_if_moved, run on every tick, docks the bar again.
#include "addin/addin.h"
#include "base/numbers.h"

namespace plovera {
namespace {

constexpr const char16_t* kDockClass = u"MsoCommandBarDock";
constexpr std::int32_t kBandTwips = 360;

}  // namespace

// The popup menu is not needed for the tabs: a menu that cannot be built now
// is built when it is first opened. Word 2013 and later have no option to
// show all windows in the taskbar, so it is neither read nor written there.
bool Addin::start_bar() {
  find_main_window();
  const host::Hwnd main = windows_.main_window;
  if (main == 0) return false;
  model_.clear();
  ignore_errors([&] { menu_.build_menu(); });
  const double version = word_version();
  if (version < 15) {
    keeps_taskbar_off_ = true;
    ignore_errors([&] { remember_taskbar_option(); });
    ignore_errors([&] { word().ShowWindowsInTaskbar(false); });
  }
  ws().set_parent(bar_.window(), main);
  windows_.top_dock = ws().find_child(main, 0, kDockClass, u"MsoDockTop");
  find_document_area(main, version);
  if (version < 12) windows_.document_area = ws().parent_of(windows_.word11_view);
  windows_.right_dock = ws().find_child(main, 0, kDockClass, u"MsoDockRight");
  const std::int32_t t = twips_per_pixel(ws().dpi_y());
  band_height_ = div32(sub32(kBandTwips, kBandTwips % t), t);
  bar_.show();
  redock_if_moved();
  ws().bring_to_foreground(main);
  bar_.enable_poll_timer();
  return true;
}

bool Addin::bar_in_place(const host::Rect& top, const host::Rect& bar,
                         const host::Rect& doc) const {
  const std::int32_t h = band_height_;
  const std::int32_t gap = abs32(sub32(doc.top, top.bottom));
  return sub32(h, 6) <= gap && gap <= add32(h, 6) && sub32(bar.bottom, h / 2) <= doc.top &&
         dock_offset_ == sub32(doc.top, top.top);
}

// In place, a tick costs three rectangle reads and no call into Word.
void Addin::redock_if_moved() {
  host::Rect top, bar, doc;
  const bool found = ws().window_rect(windows_.top_dock, top) &&
                     ws().window_rect(windows_.document_area, doc);
  // Without the top dock or the document area there is nothing to dock
  // against; moving the bar on every tick would only make it flicker.
  if (!found) return;
  ws().window_rect(bar_.window(), bar);
  if (bar_in_place(top, bar, doc)) return;

  make_room();
  ws().window_rect(windows_.top_dock, top);
  ws().window_rect(windows_.document_area, doc);
  const std::int32_t h = band_height_;
  const std::int32_t width_twips = sub32(mul32(word().Width(), 20), 80);
  const std::int32_t tx = twips_per_pixel(ws().dpi_x());
  ws().place_window(bar_.window(), host::kTopOfZOrder, 0, sub32(sub32(doc.top, top.top), h),
                    div32(width_twips, tx), add32(h, 2), host::place::frame_changed);
  dock_offset_ = measure_dock_offset();
  bar_.arrows_after_redock();
  ws().bring_to_foreground(windows_.main_window);
}

// Moves window `h` (a child of Word's main window, whose positions count from
// the top dock's top-left corner) so that it starts `shift` pixels below the
// top dock's bottom, keeping its bottom edge.
void Addin::move_below_top_dock(host::Hwnd h, std::int32_t shift) {
  host::Rect r, top;
  ws().window_rect(h, r);
  ws().window_rect(windows_.top_dock, top);
  ws().place_window(h, 0, sub32(r.left, top.left), add32(sub32(top.bottom, top.top), shift),
                    sub32(r.right, r.left), sub32(sub32(r.bottom, r.top), shift),
                    host::place::keep_z_order);
}

void Addin::make_room() {
  move_below_top_dock(windows_.document_area, band_height_);
  move_below_top_dock(windows_.right_dock, band_height_);
}

std::int32_t Addin::measure_dock_offset() {
  host::Rect doc, top;
  ws().window_rect(windows_.document_area, doc);
  ws().window_rect(windows_.top_dock, top);
  return sub32(doc.top, top.top);
}

// While the bar is in place, the document area and the right dock move up
// by one band again. If Word has laid out its windows since, they are where
// Word wants them and stay.
void Addin::give_band_back() noexcept {
  ignore_errors([&] {
    host::Rect top, bar, doc;
    if (!ws().window_rect(windows_.top_dock, top) ||
        !ws().window_rect(windows_.document_area, doc))
      return;
    ws().window_rect(bar_.window(), bar);
    if (dock_offset_ == 0 || !bar_in_place(top, bar, doc)) return;
    move_up_by_one_band();
  });
}

// After a start-up that failed while docking, the band may have been taken
// with the bar never placed: the document area stands one band below the
// top dock.
void Addin::give_band_back_after_failed_start() noexcept {
  ignore_errors([&] {
    host::Rect top, doc;
    if (band_height_ <= 0 || !ws().window_rect(windows_.top_dock, top) ||
        !ws().window_rect(windows_.document_area, doc))
      return;
    if (sub32(doc.top, top.bottom) != band_height_) return;
    move_up_by_one_band();
  });
}

void Addin::move_up_by_one_band() noexcept {
  ignore_errors([&] {
    host::Rect top;
    if (!ws().window_rect(windows_.top_dock, top)) return;
    for (host::Hwnd h : {windows_.document_area, windows_.right_dock}) {
      host::Rect r;
      if (!ws().window_rect(h, r)) continue;
      ws().place_window(h, 0, sub32(r.left, top.left), sub32(sub32(r.top, top.top), band_height_),
                        sub32(r.right, r.left), add32(sub32(r.bottom, r.top), band_height_),
                        host::place::keep_z_order);
    }
  });
}

}  // namespace plovera
