#include "win32/images.h"

#include <algorithm>
#include <cstring>

namespace plovera::win32 {

namespace {

StoredPicture to_dib_section(const PixelImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top row first, as drawn
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  StoredPicture stored;
  stored.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!stored.bitmap || !bits) throw_host_error(status::out_of_memory, "pictures");
  std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
  GdiFlush();
  stored.width = image.width;
  stored.height = image.height;
  return stored;
}

}  // namespace

const StoredPicture* ImageStore::get(host::Picture p, int dots_per_inch, host::Look look) {
  const auto i = static_cast<std::size_t>(p);
  if (p == host::Picture::none || i >= std::size_t{host::kPictureCount}) return nullptr;
  auto found = std::find_if(sets_.begin(), sets_.end(), [&](const AtResolution& s) {
    return s.dots_per_inch == dots_per_inch && s.look == look;
  });
  AtResolution* set =
      found != sets_.end() ? &*found : &sets_.emplace_back(AtResolution{dots_per_inch, look, {}});
  if (!set->pictures[i]) set->pictures[i] = to_dib_section(draw_picture(p, dots_per_inch, look));
  return &*set->pictures[i];
}

void draw_stored_picture(HDC dc, HDC source, const StoredPicture& pic, RECT dest, bool stretch) {
  int w = dest.right - dest.left;
  int h = dest.bottom - dest.top;
  int src_w = pic.width;
  int src_h = pic.height;
  if (!stretch) {
    w = src_w = std::min(w, pic.width);
    h = src_h = std::min(h, pic.height);
  }
  if (w <= 0 || h <= 0 || src_w <= 0 || src_h <= 0) return;
  ScopedSelect select(source, pic.bitmap.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SetStretchBltMode(dc, HALFTONE);
  AlphaBlend(dc, dest.left, dest.top, w, h, source, 0, 0, src_w, src_h, blend);
}

}  // namespace plovera::win32
