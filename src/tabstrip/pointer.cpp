// The looks that follow the pointer: the hot face, the hot close button and
// the selected tab. Each operation writes its state variable last, so a
// failed picture change leaves the state as it was and the next event
// tries again. An unchanged index costs a single comparison.
#include "addin/addin.h"
#include "tabstrip/frm_addin.h"

namespace plovera {

using host::Picture;

void frmAddIn::mmove(std::int16_t index) {
  if (hoveridx == index) return;
  const std::int16_t h = hoveridx;
  form().Picture(Image1(h), h == activeidx ? Picture::none : host::Picture::face_normal);
  form().Picture(Image1(index), host::Picture::face_hot);
  hoveridx = index;
}

void frmAddIn::cmove() {
  if (closeidx == 0) return;
  form().Picture(Image2(closeidx), host::Picture::close_normal);
  closeidx = 0;
}

void frmAddIn::cmmove(std::int16_t index) {
  if (closeidx == index) return;
  if (closeidx != 0) form().Picture(Image2(closeidx), host::Picture::close_normal);
  form().Picture(Image2(index), host::Picture::close_hot);
  closeidx = index;
}

// Selects tab `index`: the previous selection gets its face back, the tab is
// scrolled into view and shows the bar's background through its face.
void frmAddIn::mdown(std::int32_t index) {
  if (activeidx == index) return;
  const std::int16_t a = activeidx;
  form().Picture(Image1(a), a == hoveridx ? host::Picture::face_hot : host::Picture::face_normal);
  bringintoview(index);
  form().Picture(Image1(index), Picture::none);
  activeidx = narrow(index);
}

// Mouse moves over a tab's face, icon or caption. The first move of a tab
// pressed with the left button begins dragging its face.
void frmAddIn::MouseM(std::int16_t index) {
  if (mousebusy == 1) return;
  mousebusy = 1;
  struct Clear {
    std::int16_t& busy;
    ~Clear() { busy = 0; }  // also when a step fails: hover must keep working
  } clear{mousebusy};
  mmove(index);
  cmove();
  if (static_cast<std::int32_t>(index) == pressidx) {
    pressidx = 0;
    form().Drag(Image1(index));
  }
}

// No element reports the pointer leaving the bar, so the tick polls it. A
// pointer on the rectangle's edge counts as outside.
void frmAddIn::testmouse() {
  host::Rect r;
  host::Point pt;
  addin_.ws().window_rect(hWnd(), r);
  addin_.ws().cursor_pos(pt);
  if (r.left < pt.x && pt.x < r.right && r.top < pt.y && pt.y < r.bottom) return;
  if (hoveridx != 0) {
    form().Picture(Image1(hoveridx), hoveridx == activeidx ? Picture::none : host::Picture::face_normal);
    hoveridx = 0;
  }
  if (closeidx != 0) {
    form().Picture(Image2(closeidx), host::Picture::close_normal);
    closeidx = 0;
  }
}

}  // namespace plovera
