// The font of a label and the measuring of its text. A label's size follows
// its text exactly as it is drawn: same font, same GDI call, whole string.
#pragma once

#include <windows.h>

#include <string>

#include "win32/form_gdi.h"

namespace plovera::win32 {

struct LabelFont {
  std::u16string face;
  float points = 0;
  UniqueFont handle;
  int line_height_px = 0;  // the height of one line of text, in pixels

  // Creates the GDI font for the screen's vertical resolution; host_error
  // when GDI refuses.
  static LabelFont create(const std::u16string& face, float points, int dots_per_inch_y);
};

// The pixel size of `text` in `font`: width of the whole string (surrogate
// pairs and any script measured as drawn), height of one line. An empty
// text is 0 wide. `dc` is any screen-compatible DC.
SIZE measure_text(HDC dc, const LabelFont& font, const std::u16string& text);

inline const wchar_t* wide(const std::u16string& s) noexcept {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}

}  // namespace plovera::win32
