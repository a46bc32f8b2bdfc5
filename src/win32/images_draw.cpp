// The pictures, drawn pixel by pixel. Shapes with slanted or round edges are
// sampled 4 x 4 times per pixel so that their edges are smooth at the small
// sizes of the close buttons, the icon and the arrows.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "win32/images.h"

#include "host/winsys.h"

namespace plovera::win32 {

namespace {

struct Rgb {
  int r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
  auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

struct Stop {
  double at;
  Rgb colour;
};

// The colour at `t` (0..1) along a piecewise-linear ramp.
Rgb ramp(std::initializer_list<Stop> stops, double t) {
  const Stop* prev = stops.begin();
  for (const Stop& s : stops) {
    if (t <= s.at) {
      const double span = s.at - prev->at;
      return span <= 0 ? s.colour : mix(prev->colour, s.colour, (t - prev->at) / span);
    }
    prev = &s;
  }
  return prev->colour;
}

class Canvas {
 public:
  Canvas(int w, int h) {
    image_.width = w;
    image_.height = h;
    image_.pixels.assign(static_cast<std::size_t>(w) * h, 0u);  // transparent
  }

  // Paints `c` over pixel (x, y) with the given coverage (0..1).
  void blend(int x, int y, Rgb c, double coverage) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height || coverage <= 0) return;
    std::uint32_t& px = image_.pixels[static_cast<std::size_t>(y) * image_.width + x];
    const double a = std::min(coverage, 1.0);
    auto channel = [&](int shift, int value) {
      const double under = (px >> shift) & 0xFF;
      return static_cast<std::uint32_t>(std::lround(value * a + under * (1 - a))) << shift;
    };
    px = channel(24, 255) | channel(16, c.r) | channel(8, c.g) | channel(0, c.b);
  }

  void fill_rect(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) blend(x, y, c, 1.0);
  }

  // Each row takes the colour of the ramp at its height.
  void vertical_ramp(std::initializer_list<Stop> stops) {
    const int h = image_.height;
    for (int y = 0; y < h; ++y) {
      const double t = h > 1 ? static_cast<double>(y) / (h - 1) : 0.0;
      fill_rect(0, y, image_.width, y + 1, ramp(stops, t));
    }
  }

  // Paints `c` where `inside(x, y)` holds, x and y in pixel units with
  // (0, 0) the image's top-left corner; edges are anti-aliased.
  void fill_shape(const std::function<bool(double, double)>& inside, Rgb c) {
    constexpr int n = 4;
    for (int y = 0; y < image_.height; ++y)
      for (int x = 0; x < image_.width; ++x) {
        int hits = 0;
        for (int sy = 0; sy < n; ++sy)
          for (int sx = 0; sx < n; ++sx)
            hits += inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n) ? 1 : 0;
        blend(x, y, c, hits / double(n * n));
      }
  }

  PixelImage take() { return std::move(image_); }

 private:
  PixelImage image_;
};

// Two strokes from corner to corner of the square [lo, hi]^2.
bool on_cross(double x, double y, double lo, double hi, double half_width) {
  if (x < lo || x > hi || y < lo || y > hi) return false;
  const double d1 = std::abs(x - y) / std::sqrt(2.0);
  const double d2 = std::abs(x + y - (lo + hi)) / std::sqrt(2.0);
  return std::min(d1, d2) <= half_width;
}

bool in_rounded_square(double x, double y, double size, double radius) {
  const double cx = std::clamp(x, radius, size - radius);
  const double cy = std::clamp(y, radius, size - radius);
  return std::hypot(x - cx, y - cy) <= radius;
}

// Inside the triangle (ax, ay), (bx, by), (cx, cy), whatever its winding.
bool in_triangle(double x, double y, double ax, double ay, double bx, double by, double cx,
                 double cy) {
  auto side = [&](double px, double py, double qx, double qy) {
    return (qx - px) * (y - py) - (qy - py) * (x - px);
  };
  const double s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
  return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

constexpr Rgb kWhite{255, 255, 255};

// The colours of one look. A ramp runs from the top row (0) to the bottom
// row (1) through stops at 0.4 and 0.6.
struct Palette {
  std::array<Rgb, 4> face, hot;
  Rgb face_edge, hot_edge;
  Rgb close, close_hot, cross;
  Rgb arrow, arrow_light_edge, arrow_dark_edge, arrow_glyph;
  Rgb bar, bar_rim;
  COLORREF caption;
};

// The bar's own blue look, and Office 2013 and later's White, Light Gray,
// Dark Gray and Black. Captions are black on the light looks and white on
// the dark ones; every face a caption lies on (at rest, hot, or the bar
// itself behind the selected tab) keeps them at least 4.5:1 apart, and the
// close and arrow buttons carry a white glyph on a ground of 4.5:1 or more.
constexpr Palette kOffice{
    {Rgb{112, 152, 222}, Rgb{230, 230, 250}, Rgb{230, 230, 250}, Rgb{112, 152, 222}},
    {kWhite, Rgb{255, 247, 220}, Rgb{255, 212, 110}, Rgb{246, 176, 44}},
    Rgb{92, 128, 196}, Rgb{206, 150, 60},
    Rgb{70, 130, 180}, Rgb{212, 44, 40}, kWhite,
    Rgb{52, 104, 196}, Rgb{128, 168, 236}, Rgb{30, 64, 140}, kWhite,
    Rgb{212, 222, 236}, Rgb{240, 245, 252},
    RGB(0, 0, 0)};
constexpr Palette kWhiteLook{
    {kWhite, Rgb{248, 248, 248}, Rgb{240, 240, 240}, Rgb{230, 230, 230}},
    {Rgb{232, 240, 252}, Rgb{218, 232, 250}, Rgb{205, 223, 246}, Rgb{190, 212, 242}},
    Rgb{198, 198, 198}, Rgb{120, 160, 214},
    Rgb{112, 112, 112}, Rgb{196, 43, 28}, kWhite,
    Rgb{105, 105, 105}, Rgb{150, 150, 150}, Rgb{70, 70, 70}, kWhite,
    Rgb{243, 243, 243}, kWhite,
    RGB(0, 0, 0)};
constexpr Palette kLightGrayLook{
    {Rgb{246, 246, 246}, Rgb{238, 238, 238}, Rgb{230, 230, 230}, Rgb{220, 220, 220}},
    {Rgb{232, 240, 252}, Rgb{218, 232, 250}, Rgb{205, 223, 246}, Rgb{190, 212, 242}},
    Rgb{180, 180, 180}, Rgb{120, 160, 214},
    Rgb{105, 105, 105}, Rgb{196, 43, 28}, kWhite,
    Rgb{100, 100, 100}, Rgb{145, 145, 145}, Rgb{65, 65, 65}, kWhite,
    Rgb{212, 212, 212}, Rgb{228, 228, 228},
    RGB(0, 0, 0)};
constexpr Palette kDarkGrayLook{
    {Rgb{98, 98, 98}, Rgb{92, 92, 92}, Rgb{88, 88, 88}, Rgb{84, 84, 84}},
    {Rgb{52, 96, 164}, Rgb{47, 91, 158}, Rgb{43, 87, 154}, Rgb{38, 78, 140}},
    Rgb{54, 54, 54}, Rgb{30, 62, 112},
    Rgb{110, 110, 110}, Rgb{196, 43, 28}, kWhite,
    Rgb{116, 116, 116}, Rgb{140, 140, 140}, Rgb{60, 60, 60}, kWhite,
    Rgb{68, 68, 68}, Rgb{54, 54, 54},
    RGB(255, 255, 255)};
constexpr Palette kBlackLook{
    {Rgb{58, 58, 58}, Rgb{52, 52, 52}, Rgb{48, 48, 48}, Rgb{44, 44, 44}},
    {Rgb{52, 96, 164}, Rgb{47, 91, 158}, Rgb{43, 87, 154}, Rgb{38, 78, 140}},
    Rgb{86, 86, 86}, Rgb{74, 118, 186},
    Rgb{96, 96, 96}, Rgb{196, 43, 28}, kWhite,
    Rgb{96, 96, 96}, Rgb{120, 120, 120}, Rgb{40, 40, 40}, kWhite,
    Rgb{26, 26, 26}, Rgb{10, 10, 10},
    RGB(255, 255, 255)};

const Palette& palette_of(host::Look look) {
  switch (look) {
    case host::Look::white: return kWhiteLook;
    case host::Look::light_gray: return kLightGrayLook;
    case host::Look::dark_gray: return kDarkGrayLook;
    case host::Look::black: return kBlackLook;
    case host::Look::office: break;
  }
  return kOffice;
}

void ramp_rows(Canvas& c, const std::array<Rgb, 4>& colours) {
  c.vertical_ramp({{0, colours[0]}, {0.4, colours[1]}, {0.6, colours[2]}, {1, colours[3]}});
}

// Images 1 and 2: the face of a tab at rest and under the pointer, with a
// line at either side.
PixelImage draw_face(int w, int h, const std::array<Rgb, 4>& ramp, Rgb edge) {
  Canvas c(w, h);
  ramp_rows(c, ramp);
  c.fill_rect(0, 0, 1, h, edge);
  c.fill_rect(w - 1, 0, w, h, edge);
  return c.take();
}

// Images 3 and 4: the close button, a flat square or (hot) a rounded one,
// with an X.
PixelImage draw_close_button(int size, bool hot, const Palette& look) {
  Canvas c(size, size);
  const double s = size;
  if (hot) {
    c.fill_shape([s](double x, double y) { return in_rounded_square(x, y, s, 3.0); }, look.close_hot);
  } else {
    c.fill_rect(0, 0, size, size, look.close);
  }
  c.fill_shape([s](double x, double y) { return on_cross(x, y, 3.5, s - 3.5, 0.85); }, look.cross);
  return c.take();
}

// The close button of a document with unsaved changes: the button's ground
// with a dot in the cross's colour, the same size as the close button.
PixelImage draw_unsaved_button(int size, const Palette& look) {
  Canvas c(size, size);
  const double s = size, r = s * 0.22;
  c.fill_rect(0, 0, size, size, look.close);
  c.fill_shape([s, r](double x, double y) { return std::hypot(x - s / 2, y - s / 2) <= r; },
               look.cross);
  return c.take();
}

// Image 5: the document icon, a window frame of four coloured panes on a
// transparent ground.
PixelImage draw_document_icon(int size) {
  Canvas c(size, size);
  const double mid = size / 2.0, lo = 1.0, hi = size - 1.0, gap = 0.6;
  auto pane = [&](double x0, double y0, double x1, double y1, Rgb colour) {
    c.fill_shape([=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; },
                 colour);
  };
  pane(lo, lo, mid - gap, mid - gap, Rgb{226, 52, 36});     // red
  pane(mid + gap, lo, hi, mid - gap, Rgb{64, 172, 60});     // green
  pane(lo, mid + gap, mid - gap, hi, Rgb{40, 110, 224});    // blue
  pane(mid + gap, mid + gap, hi, hi, Rgb{250, 196, 24});    // yellow
  return c.take();
}

// Images 6 and 7 and the design background: wide bars drawn at the top-left
// of the form, of which only the top rows are seen.
PixelImage draw_bar(int w, int h, Rgb body, Rgb top_rim, Rgb bottom_rim, int rim, bool left_rim) {
  Canvas c(w, h);
  c.fill_rect(0, 0, w, h, body);
  c.fill_rect(0, 0, w, rim, top_rim);
  if (left_rim) c.fill_rect(0, 0, rim, h, top_rim);
  c.fill_rect(0, h - (left_rim ? 1 : rim), w, h, bottom_rim);
  return c.take();
}

// The scroll arrows: a raised square button with a triangle.
PixelImage draw_arrow(int size, bool points_left, const Palette& look) {
  Canvas c(size, size);
  c.fill_rect(0, 0, size, size, look.arrow);
  c.fill_rect(0, 0, size, 1, look.arrow_light_edge);
  c.fill_rect(0, 0, 1, size, look.arrow_light_edge);
  c.fill_rect(0, size - 1, size, size, look.arrow_dark_edge);
  c.fill_rect(size - 1, 0, size, size, look.arrow_dark_edge);
  const double s = size, tip = s * 0.28, base = s * 0.68, top = s * 0.24, bottom = s * 0.76;
  const double tip_x = points_left ? tip : s - tip, base_x = points_left ? base : s - base;
  c.fill_shape(
      [=](double x, double y) {
        return in_triangle(x, y, tip_x, s / 2, base_x, top, base_x, bottom);
      },
      look.arrow_glyph);
  return c.take();
}

}  // namespace

COLORREF caption_colour(host::Look look) { return palette_of(look).caption; }

PixelImage draw_picture(host::Picture p, int dots_per_inch, host::Look look_name) {
  namespace d = host::design;
  using host::Picture;
  const int dpi = host::is_readable_resolution(dots_per_inch) ? dots_per_inch
                                                              : host::kStandardResolution;
  const auto px = [dpi](int design_px) { return std::max(1, (design_px * dpi + 48) / 96); };
  const auto size = [&](int i) {
    return d::Size{px(d::list_image_size[i].w), px(d::list_image_size[i].h)};
  };
  const int rim = px(2);
  const Palette& look = palette_of(look_name);
  const bool themed = look_name != host::Look::office;
  switch (p) {
    case Picture::face_normal: return draw_face(size(1).w, size(1).h, look.face, look.face_edge);
    case Picture::face_hot: return draw_face(size(2).w, size(2).h, look.hot, look.hot_edge);
    case Picture::close_normal: return draw_close_button(size(3).w, false, look);
    case Picture::close_hot: return draw_close_button(size(4).w, true, look);
    case Picture::close_unsaved: return draw_unsaved_button(size(3).w, look);
    case Picture::document_icon: return draw_document_icon(size(5).w);
    case Picture::bar_grey_blue:
      return draw_bar(size(6).w, size(6).h, look.bar, look.bar_rim, look.bar_rim, rim, false);
    case Picture::bar_grey:
      return draw_bar(size(7).w, size(7).h, Rgb{236, 233, 216}, Rgb{236, 233, 216},
                      Rgb{236, 233, 216}, 0, false);
    case Picture::scroll_left: return draw_arrow(px(d::arrow_size.w), true, look);
    case Picture::scroll_right: return draw_arrow(px(d::arrow_size.w), false, look);
    case Picture::design_bar:
      if (themed) return draw_bar(size(6).w, size(6).h, look.bar, look.bar_rim, look.bar_rim, rim, false);
      return draw_bar(px(d::design_bar_size.w), px(d::design_bar_size.h), Rgb{90, 134, 212},
                      Rgb{146, 182, 240}, Rgb{64, 100, 172}, rim, true);
    case Picture::none: break;
  }
  return {};
}

}  // namespace plovera::win32
