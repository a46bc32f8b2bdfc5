// Move-only owners of the GDI handles the forms engine creates, so that every
// bitmap, font, brush and memory DC is deleted exactly once, whatever throws.
#pragma once

#include <windows.h>

#include <utility>

namespace plovera::win32 {

template <class H, BOOL(WINAPI* Delete)(H)>
class GdiHandle {
 public:
  GdiHandle() noexcept = default;
  explicit GdiHandle(H h) noexcept : h_(h) {}
  GdiHandle(GdiHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiHandle& operator=(GdiHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  GdiHandle(const GdiHandle&) = delete;
  GdiHandle& operator=(const GdiHandle&) = delete;
  ~GdiHandle() { reset(); }

  void reset(H h = nullptr) noexcept {
    if (h_) Delete(h_);
    h_ = h;
  }
  H get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

inline BOOL WINAPI delete_bitmap(HBITMAP h) { return DeleteObject(h); }
inline BOOL WINAPI delete_font(HFONT h) { return DeleteObject(h); }
inline BOOL WINAPI delete_brush(HBRUSH h) { return DeleteObject(h); }

using UniqueBitmap = GdiHandle<HBITMAP, delete_bitmap>;
using UniqueFont = GdiHandle<HFONT, delete_font>;
using UniqueBrush = GdiHandle<HBRUSH, delete_brush>;
using UniqueMemoryDc = GdiHandle<HDC, DeleteDC>;

// Selects an object into a DC for one scope and puts the previous one back,
// so that no bitmap or font is deleted while still selected.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~ScopedSelect() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A DC borrowed from a window (or the screen, for nullptr) for one scope.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

}  // namespace plovera::win32
