#include "win32/form_units.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "host/winsys.h"

namespace plovera::win32 {

namespace {
// Far beyond any screen, small enough that sums of a few stay inside int.
constexpr double kPixelLimit = 1 << 26;
}  // namespace

double round_half_even(double v) noexcept {
  const double floor_v = std::floor(v);
  const double diff = v - floor_v;
  if (diff < 0.5) return floor_v;
  if (diff > 0.5) return floor_v + 1.0;
  return std::fmod(floor_v, 2.0) == 0.0 ? floor_v : floor_v + 1.0;
}

int twips_per_pixel(int dots_per_inch) noexcept {
  if (!host::is_readable_resolution(dots_per_inch)) return 15;
  return static_cast<int>(round_half_even(1440.0 / dots_per_inch));
}

TwipScale TwipScale::of_screen() noexcept {
  TwipScale s;
  if (HDC screen = GetDC(nullptr)) {
    s.x = twips_per_pixel(GetDeviceCaps(screen, LOGPIXELSX));
    s.y = twips_per_pixel(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  }
  return s;
}

int to_pixels(float twips, int twips_per_px) noexcept {
  if (!std::isfinite(twips) || twips_per_px <= 0) return 0;
  const double px = round_half_even(static_cast<double>(twips) / twips_per_px);
  return static_cast<int>(std::clamp(px, -kPixelLimit, kPixelLimit));
}

int font_height_px(float points, int dots_per_inch) noexcept {
  return -static_cast<int>(std::floor(points * dots_per_inch / 72.0 + 0.5));
}

}  // namespace plovera::win32
