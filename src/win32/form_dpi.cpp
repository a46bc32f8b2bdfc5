// Per-monitor resolution. The logic places elements in twips; pixels come
// from the resolution Windows gives the bar's window, which changes when
// Word's window moves to a monitor of another resolution. The bar takes the
// new one up when it is placed again (the add-in docks it anew after Word
// laid out its window for the new resolution) or told so by Windows.
#include <utility>
#include <vector>

#include "win32/form_window.h"
#include "win32/window_dpi.h"

namespace plovera::win32 {

void FormWindow::follow_dpi() {
  if (!hwnd_) return;
  const int dpi = window_dpi(hwnd_);
  if (dpi <= 0 || dpi == dpi_) return;
  // Every label font is made anew for the new resolution; labels that
  // shared a font share its successor. Nothing changes if one fails.
  std::vector<std::pair<const LabelFont*, std::shared_ptr<const LabelFont>>> remade;
  elements_.for_each_loaded(host::Part::caption, [&](ElementState& s) {
    for (const auto& [old, font] : remade)
      if (old == s.font.get()) return;
    remade.emplace_back(s.font.get(), std::make_shared<const LabelFont>(
                                          LabelFont::create(s.font->face, s.font->points, dpi)));
  });
  dpi_ = dpi;
  scale_ = TwipScale::of_dpi(dpi);
  elements_.for_each_loaded(host::Part::caption, [&](ElementState& s) {
    for (const auto& [old, font] : remade)
      if (old == s.font.get()) {
        s.font = font;
        break;
      }
    if (!s.auto_size) return;
    fit_label(s, measure_text(measure_dc_.get(), *s.font, s.caption), scale_.x, scale_.y);
  });
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace plovera::win32
