#include "addin/frame.h"

#include "base/numbers.h"

namespace plovera {
namespace {

constexpr const char16_t* kDockClass = u"MsoCommandBarDock";
constexpr const char16_t* kAreaClass = u"_WwF";
constexpr const char16_t* kLegacyViewClass = u"_WwB";
constexpr std::int32_t kBandTwips = 360;

}  // namespace

Frame::Frame(BarHost& addin, FrameOwner& owner, TabModel& model)
    : addin_(addin), owner_(owner), bar_(*this, model) {}

// The first use of the bar's window loads its form.
void Frame::dock_in(host::Hwnd main, double version, host::DocumentWindows documents) {
  windows_ = {};
  main_window_gone_ = false;
  version_ = version;
  windows_.main_window = main;
  documents_ = documents;
  main_mirrored_ = ws().mirrored(main);
  ws().set_parent(bar_.window(), main);
  windows_.top_dock = ws().find_child(main, 0, kDockClass, u"MsoDockTop");
  find_document_area(main, version);
  if (version < host::word2007)
    windows_.document_area = ws().parent_of(windows_.legacy_document_view);
  windows_.right_dock = ws().find_child(main, 0, kDockClass, u"MsoDockRight");
  measure_band();
  bar_.show();
  redock_if_moved();
  // Where every document has a main window of its own, Word decides which
  // one is in front.
  if (documents == host::DocumentWindows::one_main_window) ws().bring_to_foreground(main);
}

// Word's document area ("_WwF") is a direct child of its main window; before
// Word 2007 the view inside it ("_WwB", captioned with the document's name)
// is one of the area's children. Only those children are looked at, never
// the whole tree below: with a thousand document views a walk of every
// window costs Word tens of milliseconds. Of several matches the last in Z
// order is kept; a caption's length is asked only of the views.
void Frame::find_document_area(host::Hwnd main, double version) {
  host::WindowSystem& w = ws();
  for (host::Hwnd area = w.find_child(main, 0, kAreaClass, nullptr); area != 0;
       area = w.find_child(main, area, kAreaClass, nullptr)) {
    if (version >= host::word2007) {
      windows_.document_area = area;
      continue;
    }
    for (host::Hwnd view = w.find_child(area, 0, kLegacyViewClass, nullptr); view != 0;
         view = w.find_child(area, view, kLegacyViewClass, nullptr))
      if (w.window_text_length(view) > 1) windows_.legacy_document_view = view;
  }
}

bool Frame::bar_in_place(const host::Rect& top, const host::Rect& bar,
                         const host::Rect& doc) const {
  const std::int32_t h = band_height_;
  const std::int32_t gap = abs32(sub32(doc.top, top.bottom));
  return sub32(h, 6) <= gap && gap <= add32(h, 6) && sub32(bar.bottom, h / 2) <= doc.top &&
         dock_offset_ == sub32(doc.top, top.top);
}

// The resolution of the monitor Word's window is on; where Windows answers
// one it cannot have (none, or beyond what it scales to), the screen's, and
// failing that the standard one.
std::int32_t Frame::resolution() {
  const std::int32_t own = ws().dpi_of_window(windows_.main_window);
  if (host::is_readable_resolution(own)) return own;
  const std::int32_t screen = ws().dpi_y();
  return host::is_readable_resolution(screen) ? screen : host::kStandardResolution;
}

// The band is 360 twips at the resolution of the monitor Word's window is
// on, in whole pixels.
void Frame::measure_band() {
  const std::int32_t t = twips_per_pixel(resolution());
  band_height_ = div32(sub32(kBandTwips, mod32(kBandTwips, t)), t);
}

// Application.Width is Word's main window's width in whole points; where
// every document has its own main window it describes only the active one,
// and the frame's own width, in points as Word counts them, stands in for it.
std::int32_t Frame::width_in_twips() {
  std::int32_t points = 0;
  if (documents_ == host::DocumentWindows::one_main_window) {
    points = word().Width();
  } else {
    host::Rect main;
    if (!ws().window_rect(windows_.main_window, main))
      throw_host_error(status::fail, "main window's width");
    points = pixels_to_points(sub32(main.right, main.left), resolution());
  }
  return sub32(mul32(points, 20), 80);
}

// Undone on failure as a failed start-up is: nothing half-docked stays,
// and the frame keeps only its main window and the time of its next try.
void Frame::dock_or_wait(host::Hwnd main, double version, host::DocumentWindows documents,
                         TabsAtDocking tabs) {
  try {
    dock_in(main, version, documents);
    if (tabs == TabsAtDocking::all) bar_.show_all_tabs();
  } catch (...) {
    undock();
    retry_.failed(addin_.forms().milliseconds());
    throw;
  }
  retry_.clear();
}

// In place, a tick costs three rectangle reads and no call into Word.
void Frame::redock_if_moved() {
  if (!bar_.loaded()) {
    if (retry_.due(addin_.forms().milliseconds())) dock_again();
    return;
  }
  host::Rect top, bar, doc;
  const bool found = ws().window_rect(windows_.top_dock, top) &&
                     ws().window_rect(windows_.document_area, doc);
  // Without the top dock or the document area there is nothing to dock
  // against; moving the bar on every tick would only make it flicker.
  if (!found) {
    host::Rect main;
    main_window_gone_ = !ws().window_rect(windows_.main_window, main);
    return;
  }
  if (!ws().window_rect(bar_.window(), bar)) return rebuild_bar();
  if (bar_in_place(top, bar, doc)) return;

  // Word's window may have moved to a monitor of another resolution: the
  // band is measured again, only here, never on the in-place path. Word is
  // asked for the width before anything moves: a refusal leaves Word's
  // layout as it is (a docking tried again later would otherwise move
  // Word's document area down and back up on every try).
  measure_band();
  const std::int32_t width_twips = width_in_twips();
  make_room();
  ws().window_rect(windows_.top_dock, top);
  ws().window_rect(windows_.document_area, doc);
  const std::int32_t h = band_height_;
  const std::int32_t tx = twips_per_pixel(resolution());
  ws().place_window(bar_.window(), host::kTopOfZOrder, 0, sub32(sub32(doc.top, top.top), h),
                    div32(width_twips, tx), add32(h, 2), host::place::frame_changed);
  dock_offset_ = measure_dock_offset();
  bar_.arrows_after_redock();
  if (documents_ == host::DocumentWindows::one_main_window)
    ws().bring_to_foreground(windows_.main_window);
}

// Moves window `h` (a child of Word's main window, whose positions count from
// the top dock's top-left corner) so that it starts `shift` pixels below the
// top dock's bottom, keeping its bottom edge.
void Frame::move_below_top_dock(host::Hwnd h, std::int32_t shift) {
  host::Rect r, top;
  ws().window_rect(h, r);
  ws().window_rect(windows_.top_dock, top);
  ws().place_window(h, 0, x_in_main_window(r, top), add32(sub32(top.bottom, top.top), shift),
                    sub32(r.right, r.left), sub32(sub32(r.bottom, r.top), shift),
                    host::place::keep_z_order);
}

// Where a window of Word's lies across its main window, as place_window
// counts: from the top dock's left edge, which spans the main window's
// width; in a mirrored main window (right-to-left Word) client positions
// count from the right edge, so from the top dock's right.
std::int32_t Frame::x_in_main_window(const host::Rect& r, const host::Rect& top) const {
  return main_mirrored_ ? sub32(top.right, r.right) : sub32(r.left, top.left);
}

void Frame::make_room() {
  move_below_top_dock(windows_.document_area, band_height_);
  move_below_top_dock(windows_.right_dock, band_height_);
}

std::int32_t Frame::measure_dock_offset() {
  host::Rect doc, top;
  ws().window_rect(windows_.document_area, doc);
  ws().window_rect(windows_.top_dock, top);
  return sub32(doc.top, top.top);
}

void Frame::unload_bar() noexcept {
  bar_.unload();
  dock_offset_ = 0;
}

// The bar's window was destroyed from outside (another program, or Word
// destroying its children): Word gets its band back and the frame a new bar
// with every tab.
void Frame::rebuild_bar() {
  give_band_back_after_failed_dock();
  unload_bar();
  dock_again();
}

// A main window that is gone (Word closed it while the frame waited) is not
// docked in: with a main window per document the add-in retires the frame;
// with Word's one main window, Word is closing and lets go of the add-in.
void Frame::dock_again() {
  host::Rect main;
  if (!ws().window_rect(windows_.main_window, main)) {
    main_window_gone_ = true;
    return retry_.failed(addin_.forms().milliseconds());
  }
  dock_or_wait(windows_.main_window, version_, documents_, TabsAtDocking::all);
  bar_rebuilt_ = true;
}

// The bar leaves and Word gets its band back: while the bar is in place the
// document area and the right dock move up by one band. If Word has laid out
// its windows since, they are where Word wants them and stay. A docking that
// failed half-way may have taken the band without placing the bar.
void Frame::undock() noexcept {
  if (bar_.loaded()) {
    if (dock_offset_ != 0) give_band_back();
    else give_band_back_after_failed_dock();
  }
  unload_bar();
}

void Frame::give_band_back() noexcept {
  ignore_errors([&] {
    host::Rect top, bar, doc;
    if (!ws().window_rect(windows_.top_dock, top) ||
        !ws().window_rect(windows_.document_area, doc))
      return;
    ws().window_rect(bar_.window(), bar);
    if (!bar_in_place(top, bar, doc)) return;
    move_up_by_one_band();
  });
}

void Frame::give_band_back_after_failed_dock() noexcept {
  ignore_errors([&] {
    host::Rect top, doc;
    if (band_height_ <= 0 || !ws().window_rect(windows_.top_dock, top) ||
        !ws().window_rect(windows_.document_area, doc))
      return;
    if (sub32(doc.top, top.bottom) != band_height_) return;
    move_up_by_one_band();
  });
}

void Frame::move_up_by_one_band() noexcept {
  ignore_errors([&] {
    host::Rect top;
    if (!ws().window_rect(windows_.top_dock, top)) return;
    for (host::Hwnd h : {windows_.document_area, windows_.right_dock}) {
      host::Rect r;
      if (!ws().window_rect(h, r)) continue;
      ws().place_window(h, 0, x_in_main_window(r, top), sub32(sub32(r.top, top.top), band_height_),
                        sub32(r.right, r.left), add32(sub32(r.bottom, r.top), band_height_),
                        host::place::keep_z_order);
    }
  });
}

}  // namespace plovera
