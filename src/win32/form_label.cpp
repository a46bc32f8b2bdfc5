#include "win32/form_label.h"

#include <climits>

#include "win32/form_seam.h"
#include "win32/form_units.h"

namespace plovera::win32 {

LabelFont LabelFont::create(const std::u16string& face, float points, int dots_per_inch_y) {
  LOGFONTW lf{};
  lf.lfHeight = font_height_px(points, dots_per_inch_y);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  const std::size_t n = std::min(face.size(), std::size(lf.lfFaceName) - 1);
  face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), n);

  LabelFont f;
  f.face = face;
  f.points = points;
  f.handle.reset(CreateFontIndirectW(&lf));
  if (!f.handle) throw_host_error(status::fail, "Label.Font");

  HDC screen = GetDC(nullptr);
  if (!screen) throw_host_error(status::fail, "Label.Font");
  TEXTMETRICW tm{};
  {
    ScopedSelect select(screen, f.handle.get());
    GetTextMetricsW(screen, &tm);
  }
  ReleaseDC(nullptr, screen);
  f.line_height_px = tm.tmHeight;
  return f;
}

SIZE measure_text(HDC dc, const LabelFont& font, const std::u16string& text) {
  SIZE size{0, font.line_height_px};
  if (text.empty()) return size;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw_host_error(status::overflow, "Label.Caption");
  ScopedSelect select(dc, font.handle.get());
  SIZE extent{};
  if (!GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &extent))
    throw_host_error(status::fail, "Label.Caption");
  size.cx = extent.cx;
  return size;
}

}  // namespace plovera::win32
