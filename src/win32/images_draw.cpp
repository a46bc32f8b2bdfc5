// The pictures, drawn pixel by pixel. Shapes with slanted or round edges are
// sampled 4 x 4 times per pixel so that their edges are smooth at the small
// sizes of the close buttons, the icon and the arrows.
#include <algorithm>
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

// Image 1: the face of a tab at rest.
PixelImage draw_face_normal(int w, int h) {
  Canvas c(w, h);
  const Rgb blue{112, 152, 222}, lavender{230, 230, 250};
  c.vertical_ramp({{0, blue}, {0.4, lavender}, {0.6, lavender}, {1, blue}});
  c.fill_rect(0, 0, 1, h, Rgb{92, 128, 196});
  c.fill_rect(w - 1, 0, w, h, Rgb{92, 128, 196});
  return c.take();
}

// Image 2: the face under the pointer.
PixelImage draw_face_hot(int w, int h) {
  Canvas c(w, h);
  c.vertical_ramp({{0, kWhite}, {0.4, Rgb{255, 247, 220}}, {0.6, Rgb{255, 212, 110}},
                   {1, Rgb{246, 176, 44}}});
  c.fill_rect(0, 0, 1, h, Rgb{206, 150, 60});
  c.fill_rect(w - 1, 0, w, h, Rgb{206, 150, 60});
  return c.take();
}

// Images 3 and 4: the close button, flat steel-blue square or red rounded
// square, with a white X.
PixelImage draw_close_button(int size, bool hot) {
  Canvas c(size, size);
  const double s = size;
  if (hot) {
    c.fill_shape([s](double x, double y) { return in_rounded_square(x, y, s, 3.0); },
                 Rgb{212, 44, 40});
  } else {
    c.fill_rect(0, 0, size, size, Rgb{70, 130, 180});
  }
  c.fill_shape([s](double x, double y) { return on_cross(x, y, 3.5, s - 3.5, 0.85); }, kWhite);
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

// The scroll arrows: a raised blue square button with a white triangle.
PixelImage draw_arrow(int size, bool points_left) {
  Canvas c(size, size);
  c.fill_rect(0, 0, size, size, Rgb{52, 104, 196});
  c.fill_rect(0, 0, size, 1, Rgb{128, 168, 236});
  c.fill_rect(0, 0, 1, size, Rgb{128, 168, 236});
  c.fill_rect(0, size - 1, size, size, Rgb{30, 64, 140});
  c.fill_rect(size - 1, 0, size, size, Rgb{30, 64, 140});
  const double s = size, tip = s * 0.28, base = s * 0.68, top = s * 0.24, bottom = s * 0.76;
  const double tip_x = points_left ? tip : s - tip, base_x = points_left ? base : s - base;
  c.fill_shape(
      [=](double x, double y) {
        return in_triangle(x, y, tip_x, s / 2, base_x, top, base_x, bottom);
      },
      kWhite);
  return c.take();
}

}  // namespace

PixelImage draw_picture(host::Picture p, int dots_per_inch) {
  namespace d = host::design;
  using host::Picture;
  const int dpi = host::is_readable_resolution(dots_per_inch) ? dots_per_inch
                                                              : host::kStandardResolution;
  const auto px = [dpi](int design_px) { return std::max(1, (design_px * dpi + 48) / 96); };
  const auto size = [&](int i) {
    return d::Size{px(d::list_image_size[i].w), px(d::list_image_size[i].h)};
  };
  const int rim = px(2);
  switch (p) {
    case Picture::face_normal: return draw_face_normal(size(1).w, size(1).h);
    case Picture::face_hot: return draw_face_hot(size(2).w, size(2).h);
    case Picture::close_normal: return draw_close_button(size(3).w, false);
    case Picture::close_hot: return draw_close_button(size(4).w, true);
    case Picture::document_icon: return draw_document_icon(size(5).w);
    case Picture::bar_grey_blue:
      return draw_bar(size(6).w, size(6).h, Rgb{212, 222, 236}, Rgb{240, 245, 252},
                      Rgb{240, 245, 252}, rim, false);
    case Picture::bar_grey:
      return draw_bar(size(7).w, size(7).h, Rgb{236, 233, 216}, Rgb{236, 233, 216},
                      Rgb{236, 233, 216}, 0, false);
    case Picture::scroll_left: return draw_arrow(px(d::arrow_size.w), true);
    case Picture::scroll_right: return draw_arrow(px(d::arrow_size.w), false);
    case Picture::design_bar:
      return draw_bar(px(d::design_bar_size.w), px(d::design_bar_size.h), Rgb{90, 134, 212},
                      Rgb{146, 182, 240}, Rgb{64, 100, 172}, rim, true);
    case Picture::none: break;
  }
  return {};
}

}  // namespace plovera::win32
