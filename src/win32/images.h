// The bar's pictures: the seven list pictures, the two arrow buttons
// and the form's design background, drawn in code (nothing is copied from
// elsewhere) and kept as 32-bit premultiplied-alpha DIB sections so that one
// AlphaBlend draws any of them, stretched or not, transparent or opaque.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <deque>
#include <vector>

#include "win32/form_gdi.h"
#include "win32/form_seam.h"

namespace plovera::win32 {

// Pixels in memory, top row first, each 0xAARRGGBB with the colour already
// multiplied by alpha (the layout AlphaBlend wants).
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Draws picture `p` at its design size (host/form_design.h, pixels at 96
// dpi) scaled to `dots_per_inch` (96 where that is unreadable), in the
// colours of `look`. Pure: the same picture every time. An empty image for
// Picture::none.
PixelImage draw_picture(host::Picture p, int dots_per_inch = 96, host::Look look = host::Look::office);

// The captions' colour on the pictures of `look`.
COLORREF caption_colour(host::Look look);

struct StoredPicture {
  UniqueBitmap bitmap;
  int width = 0;
  int height = 0;
};

// The pictures of one engine, each drawn on first use for a resolution and
// kept until the store goes. Forms share the store with their engine.
class ImageStore {
 public:
  // nullptr for Picture::none; host_error when GDI cannot make the bitmap.
  const StoredPicture* get(host::Picture p, int dots_per_inch = 96, host::Look look = host::Look::office);

 private:
  struct AtResolution {
    int dots_per_inch;
    host::Look look;
    std::array<std::optional<StoredPicture>, host::kPictureCount> pictures;
  };
  // One per resolution and look seen (a few at most); a deque, so that pictures
  // handed out stay where they are when another resolution is added.
  std::deque<AtResolution> sets_;
};

// Draws `pic` into the rectangle (x, y, w, h) of `dc`: stretched to fill it,
// or unscaled from its top-left corner and cut to the rectangle. Honours
// the picture's transparency. `source` is a spare memory DC.
void draw_stored_picture(HDC dc, HDC source, const StoredPicture& pic, RECT dest, bool stretch);

}  // namespace plovera::win32
