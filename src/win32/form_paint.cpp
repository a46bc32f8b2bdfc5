// Painting and hit-testing, both in one documented order. Back to front:
// the form's background picture; then, tab by tab in control-index order,
// face (face), icon (icon), caption (caption) and close button (close_button);
// then the arrows; then the drag outline. Hit-testing looks front to back
// by kind: arrows, close button, caption, icon, face, with a later control
// index above an earlier one.
//
// In high contrast the bar is drawn in the system's colours (form_contrast.cpp)
// rather than with its fixed pictures, whose pale faces would leave a
// scheme's light text unreadable. Whether it is on is read at each paint:
// Windows repaints every window when the scheme changes, and a child window
// such as the docked bar is not told otherwise.
#include <algorithm>

#include "win32/form_window.h"
#include "win32/window_dpi.h"

namespace plovera::win32 {

using host::Part;
using host::Element;

namespace {

constexpr Part kTabPaintOrder[] = {Part::face, Part::icon, Part::caption, Part::close_button};
constexpr Part kTabHitOrder[] = {Part::close_button, Part::caption, Part::icon, Part::face};
constexpr int kOutlinePx = 2;

// IsRectEmpty's rule without a call into user32 (every tick asks it).
bool is_empty(const RECT& r) noexcept { return r.right <= r.left || r.bottom <= r.top; }

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const noexcept { return dc_; }
  const RECT& area() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

void invert_frame(HDC dc, const RECT& r, int t) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, w, t, DSTINVERT);
  PatBlt(dc, r.left, r.bottom - t, w, t, DSTINVERT);
  PatBlt(dc, r.left, r.top + t, t, h - 2 * t, DSTINVERT);
  PatBlt(dc, r.right - t, r.top + t, t, h - 2 * t, DSTINVERT);
}

}  // namespace

RECT FormWindow::pixel_rect(const ElementState& s) const noexcept {
  const int left = to_pixels(s.left, scale_.x);
  const int top = to_pixels(s.top, scale_.y);
  const int width = std::max(0, to_pixels(s.width, scale_.x));
  const int height = std::max(0, to_pixels(s.height, scale_.y));
  return {left, top, left + width, top + height};
}

void FormWindow::invalidate(const RECT& r) noexcept {
  if (!hwnd_ || is_empty(r)) return;
  UnionRect(&stale_, &stale_, &r);
  // Inside a call from the message loop the flush comes at its end.
  if (entry_depth_ > 0 || flush_posted_) return;
  flush_posted_ = PostMessageW(hwnd_, kFlushStaleMessage, 0, 0) != FALSE;
  if (!flush_posted_) flush_stale();  // no message: at once
}

// Only what lies inside the bar is handed to Windows: elements scrolled out
// of it change without costing a paint.
void FormWindow::flush_stale() noexcept {
  RECT client{}, seen{};
  if (hwnd_ && !is_empty(stale_) && GetClientRect(hwnd_, &client) &&
      IntersectRect(&seen, &stale_, &client))
    InvalidateRect(hwnd_, &seen, FALSE);
  stale_ = {};
}

// Draws the invalid area into a memory bitmap and copies it to the window
// with one BitBlt, so nothing flickers while elements are drawn over each
// other.
void FormWindow::paint() {
  flush_stale();  // whatever is stale is painted now too
  PaintScope ps(hwnd_);
  const RECT area = ps.area();
  if (!ps.dc() || is_empty(area)) return;
  ++paint_count_;
  const int w = area.right - area.left, h = area.bottom - area.top;
  UniqueMemoryDc back(CreateCompatibleDC(ps.dc()));
  UniqueMemoryDc source(CreateCompatibleDC(ps.dc()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(ps.dc(), w, h));
  if (!back || !source || !bitmap) return;
  ScopedSelect select(back.get(), bitmap.get());
  SetViewportOrgEx(back.get(), -area.left, -area.top, nullptr);

  high_contrast_ = high_contrast_on();
  FillRect(back.get(), &area, GetSysColorBrush(COLOR_BTNFACE));
  if (const StoredPicture* pic = high_contrast_ ? nullptr : images_->get(picture_, dpi_, look_))
    draw_stored_picture(back.get(), source.get(), *pic, {0, 0, pic->width, pic->height}, false);
  paint_elements(back.get(), source.get(), area);
  paint_drag_outline(back.get());
  BitBlt(ps.dc(), area.left, area.top, w, h, back.get(), area.left, area.top, SRCCOPY);
}

void FormWindow::paint_elements(HDC dc, HDC source, const RECT& clip) {
  const std::int16_t bound = elements_.index_bound();
  for (std::int16_t i = 0; i < bound; ++i)
    for (Part part : kTabPaintOrder) paint_element(dc, source, clip, {part, i});
  paint_element(dc, source, clip, {Part::left_arrow, 0});
  paint_element(dc, source, clip, {Part::right_arrow, 0});
}

void FormWindow::paint_element(HDC dc, HDC source, const RECT& clip, Element e) {
  const ElementState* s = elements_.find(e);
  if (!s || !s->visible) return;
  const RECT r = pixel_rect(*s);
  RECT seen{};
  if (!IntersectRect(&seen, &r, &clip)) return;
  if (is_label(e.part)) {
    // Transparent and borderless: only the text is drawn, cut to the label.
    // The look's caption colour on its pictures; in high contrast the
    // scheme's text colour for what lies behind it.
    ScopedSelect font(dc, s->font->handle.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !high_contrast_        ? caption_colour(look_)
                     : tab_selected(e.index) ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                             : GetSysColor(COLOR_BTNTEXT));
    // Right to left, a caption mixing scripts (an Arabic name with ".docx")
    // reads in its natural order.
    if (s->cut) {
      // Wider than the label: cut, with an ellipsis at the end.
      RECT box = r;
      DrawTextW(dc, wide(s->caption), static_cast<int>(s->caption.size()), &box,
                DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP | DT_END_ELLIPSIS |
                    (right_to_left_ ? DT_RTLREADING : 0u));
    } else {
      const UINT options = ETO_CLIPPED | (right_to_left_ ? ETO_RTLREADING : 0u);
      ExtTextOutW(dc, r.left, r.top, options, &r, wide(s->caption),
                  static_cast<UINT>(s->caption.size()), nullptr);
    }
  } else if (high_contrast_ && e.part != Part::icon) {
    paint_contrast_image(dc, e, *s, r);
  } else if (const StoredPicture* pic = images_->get(s->picture, dpi_, look_)) {
    draw_stored_picture(dc, source, *pic, r, s->stretch);
  }
}

void FormWindow::paint_drag_outline(HDC dc) const {
  if (drag_.active && !is_empty(drag_.outline)) invert_frame(dc, drag_.outline, kOutlinePx);
}

std::optional<Element> FormWindow::hit_test(POINT pt) const noexcept {
  RECT client{};
  if (!hwnd_ || !GetClientRect(hwnd_, &client) || !PtInRect(&client, pt)) return std::nullopt;
  auto hit = [&](Element e) {
    const ElementState* s = elements_.find(e);
    if (!s || !s->visible) return false;
    const RECT r = pixel_rect(*s);
    return PtInRect(&r, pt) != FALSE;
  };
  for (Part arrow : {Part::right_arrow, Part::left_arrow})
    if (hit({arrow, 0})) return Element{arrow, 0};
  const std::int16_t bound = elements_.index_bound();
  for (Part part : kTabHitOrder)
    for (std::int16_t i = bound - 1; i >= 0; --i)
      if (hit({part, i})) return Element{part, i};
  return Element{Part::bar, 0};
}

}  // namespace plovera::win32
