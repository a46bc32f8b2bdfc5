// The bar in high contrast: the bar in the button face colour; tab faces
// outlined in the window text colour (twice as thick under the pointer);
// the selected tab filled with the highlight colour, its caption in the
// highlight text colour; close buttons and arrows as glyphs in the colour
// of the text around them, outlined while hot. The document icon keeps its
// picture: it carries no text.
#include <algorithm>

#include "win32/form_window.h"

namespace plovera::win32 {

using host::Element;
using host::Part;
using host::Picture;

namespace {

void frame(HDC dc, RECT r, int thickness, COLORREF colour) {
  UniqueBrush brush(CreateSolidBrush(colour));
  for (int i = 0; i < thickness && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
    FrameRect(dc, &r, brush.get());
    InflateRect(&r, -1, -1);
  }
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  UniqueBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

// Two strokes corner to corner, inset by a fifth of the button.
void cross(HDC dc, const RECT& r, COLORREF colour) {
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  const int inset = std::max(2, size / 4), width = std::max(1, size / 8);
  const HPEN pen = CreatePen(PS_SOLID, width, colour);
  if (!pen) return;
  {
    ScopedSelect select(dc, pen);
    const int l = r.left + inset, t = r.top + inset, rt = r.left + size - inset, b = r.top + size - inset;
    MoveToEx(dc, l, t, nullptr);
    LineTo(dc, rt, b);
    MoveToEx(dc, rt - 1, t, nullptr);
    LineTo(dc, l - 1, b);
  }
  DeleteObject(pen);
}

// A filled dot in the middle, a fifth of the button across either side.
void dot(HDC dc, const RECT& r, COLORREF colour) {
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  const int radius = std::max(2, size / 5);
  const int cx = r.left + size / 2, cy = r.top + size / 2;
  UniqueBrush brush(CreateSolidBrush(colour));
  const HPEN pen = CreatePen(PS_SOLID, 1, colour);
  {
    ScopedSelect select_brush(dc, brush.get());
    ScopedSelect select_pen(dc, pen);
    Ellipse(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
  }
  DeleteObject(pen);
}

void triangle(HDC dc, const RECT& r, bool points_left, COLORREF colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int tip = points_left ? r.left + w * 3 / 10 : r.right - w * 3 / 10;
  const int base = points_left ? r.right - w * 3 / 10 : r.left + w * 3 / 10;
  const POINT corners[] = {{tip, r.top + h / 2}, {base, r.top + h / 4}, {base, r.bottom - h / 4}};
  UniqueBrush brush(CreateSolidBrush(colour));
  const HPEN pen = CreatePen(PS_SOLID, 1, colour);
  {
    ScopedSelect select_brush(dc, brush.get());
    ScopedSelect select_pen(dc, pen);
    Polygon(dc, corners, 3);
  }
  DeleteObject(pen);
}

}  // namespace

bool FormWindow::tab_selected(std::int16_t index) const noexcept {
  const ElementState* face = elements_.find({Part::face, index});
  return index > 0 && face && face->visible && face->picture == Picture::none;
}

void FormWindow::paint_contrast_image(HDC dc, Element e, const ElementState& s, const RECT& r) const {
  const COLORREF text = GetSysColor(tab_selected(e.index) && e.part != Part::left_arrow &&
                                            e.part != Part::right_arrow
                                        ? COLOR_HIGHLIGHTTEXT
                                        : COLOR_BTNTEXT);
  const COLORREF outline = GetSysColor(COLOR_WINDOWTEXT);
  const int line = std::max(1, dpi_ / 96);
  switch (e.part) {
    case Part::face:
      fill(dc, r, GetSysColor(s.picture == Picture::none ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
      frame(dc, r, s.picture == Picture::face_hot ? 2 * line : line, outline);
      break;
    case Part::close_button:
      if (s.picture == Picture::close_unsaved) dot(dc, r, text);
      else cross(dc, r, text);
      if (s.picture == Picture::close_hot) frame(dc, r, line, text);
      break;
    case Part::left_arrow:
    case Part::right_arrow:
      fill(dc, r, GetSysColor(COLOR_BTNFACE));
      frame(dc, r, line, outline);
      triangle(dc, r, e.part == Part::left_arrow, text);
      break;
    default: break;
  }
}

}  // namespace plovera::win32
