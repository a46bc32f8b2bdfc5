// Word's own window layout in the simulated window tree (see sim_winsys.h).
#include "sim/sim_winsys.h"

namespace plovera::sim {

SimWordWindows::SimWordWindows(SimWindowSystem& system, host::Rect screen, std::u16string caption)
    : ws(system) {
  main = ws.create_window(ws.desktop(), u"OpusApp", std::move(caption), screen);
  // Created bottom first: each new window goes on top of its siblings, so
  // the top dock ends up first in Z order and the document area last.
  doc_area = ws.create_window(main, u"_WwF", u"", screen);
  dock_bottom = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockBottom", screen);
  dock_right = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockRight", screen);
  dock_left = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockLeft", screen);
  dock_top = ws.create_window(main, u"MsoCommandBarDock", u"MsoDockTop", screen);
  view = ws.create_window(doc_area, u"_WwB", u"Document1", screen);
  page = ws.create_window(view, u"_WwG", u"Microsoft Word Document", screen);
  relayout(screen.right - screen.left, screen.bottom - screen.top);
}

void SimWordWindows::relayout(std::int32_t w, std::int32_t h) {
  const host::Rect frame = ws.rect(main);
  const std::int32_t x = frame.left, y = frame.top;
  // Screen rectangle of a window placed at (l, t)-(r, b) in the main window.
  auto at = [&](std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return host::Rect{x + l, y + t, x + r, y + b};
  };
  ws.set_rect(main, at(0, 0, w, h));
  ws.set_rect(dock_top, at(0, 0, w, dock_height));
  ws.set_rect(dock_left, at(0, dock_height, 0, h));
  ws.set_rect(dock_right, at(w - dock_width, dock_height, w, h));
  ws.set_rect(dock_bottom, at(0, h, w - dock_width, h));
  ws.set_rect(doc_area, at(0, dock_height, w - dock_width, h));
  ws.set_rect(view, at(0, dock_height, w - dock_width, h));
  ws.set_rect(page, at(20, dock_height + 20, w - dock_width - 20, h - 20));
}

}  // namespace plovera::sim
