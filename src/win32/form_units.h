// Twips and pixels. Element geometry is kept in twips (float) as the logic
// sets it; pixels appear only when drawing, hit-testing and sizing windows.
#pragma once

#include <cstdint>

namespace plovera::win32 {

// Rounds to the nearest whole number, halves to even (0.5 -> 0, 1.5 -> 2,
// -2.5 -> -2). Written out rather than left to the floating-point
// environment, which a host process may have changed.
double round_half_even(double v) noexcept;

// 1440 divided by the screen's dots per inch, rounded half to even:
// 15 at 96 dpi, 12 at 120, 10 at 144; 15 for a resolution Windows cannot
// have (host::is_readable_resolution), so never zero.
int twips_per_pixel(int dots_per_inch) noexcept;

// The screen's twips per pixel, horizontally and vertically.
struct TwipScale {
  int x = 15;
  int y = 15;
  static TwipScale of_screen() noexcept;
  // Square pixels at `dots_per_inch`, as Windows scales a window per monitor.
  static TwipScale of_dpi(int dots_per_inch) noexcept {
    const int t = twips_per_pixel(dots_per_inch);
    return {t, t};
  }
};

// Twips to whole pixels, rounded half to even. Values beyond what a window
// can show (a caption of thousands of characters pushes an element far off
// the bar) are clamped so that pixel arithmetic stays inside int.
int to_pixels(float twips, int twips_per_px) noexcept;
inline float to_twips(int pixels, int twips_per_px) noexcept {
  return static_cast<float>(pixels) * static_cast<float>(twips_per_px);
}

// Point size to the negative character height GDI expects in a LOGFONT.
int font_height_px(float points, int dots_per_inch) noexcept;

}  // namespace plovera::win32
