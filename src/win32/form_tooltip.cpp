// Tooltips. When the pointer rests on an element for the system's hover
// time (TrackMouseEvent), the element's tooltip shows below the pointer:
// a tab's caption, "Close" on a close button, "Scroll" on an arrow (in
// Word's user-interface language). The
// receiver is asked then, and only then, whether it has a better text
// (TooltipText: a tab's full path); a text that fails, is empty or is
// unreasonably long gives way to the engine's own. The tooltip goes when
// the pointer moves to another element or leaves the bar, or at a press.
#include "win32/form_window.h"

#include <commctrl.h>  // after <windows.h>

namespace plovera::win32 {

using host::Element;
using host::Part;

namespace {

// Longer texts (a path of Windows' extended length is 32,767 characters)
// are no help in a tooltip.
constexpr std::size_t kMaxTooltipChars = 2048;
constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW tool_of(HWND owner) noexcept {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 since 4.70
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = owner;
  tool.uId = kToolId;
  return tool;
}

}  // namespace

std::u16string FormWindow::own_tooltip_text(Element e) const {
  switch (e.part) {
    case Part::face:
    case Part::icon:
    case Part::caption:
      if (const ElementState* label = elements_.find({Part::caption, e.index})) return label->caption;
      return {};
    case Part::close_button: return std::u16string(text(Text::close_document));
    case Part::left_arrow:
    case Part::right_arrow: return std::u16string(text(Text::scroll));
    case Part::bar: break;
  }
  return {};
}

// A new element under the pointer: its hover time starts (and Windows
// tells when the pointer leaves the bar).
void FormWindow::track_hover(Element over) {
  if (hover_element_ && *hover_element_ == over) return;
  hide_tooltip();
  hover_element_ = over;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = hwnd_;
  track.dwHoverTime = HOVER_DEFAULT;
  TrackMouseEvent(&track);
}

void FormWindow::on_mouse_hover() {
  if (!hover_element_ || press_.active || drag_.active || !hwnd_) return;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  const std::optional<Element> hit = hit_test(p);
  if (!hit || *hit != *hover_element_ || hit->part == Part::bar) return;
  const std::u16string own = own_tooltip_text(*hit);
  if (own.empty()) return;
  std::u16string text = own;
  // The receiver may call into Word, which can run a message loop: the
  // form may be gone, or the pointer elsewhere, when it returns.
  const std::shared_ptr<bool> alive = alive_;
  ++delivery_depth_;
  const status_t asked = boundary_guard([&] { events_.TooltipText(*hit, text); });
  if (!*alive) return;
  --delivery_depth_;
  if (failed(asked) || text.empty() || text.size() > kMaxTooltipChars) text = own;
  if (hover_element_ && *hover_element_ == *hit) show_tooltip(text);
}

// Windows says the pointer left the bar (TrackMouseEvent): the receiver
// hears it at once; the tick's own check is only the fallback.
void FormWindow::on_mouse_leave() noexcept {
  hover_element_.reset();
  hide_tooltip();
  if (drag_.active || unloaded_) return;
  boundary_guard([&] { deliver([](host::FormEvents& ev) { ev.MouseLeave(); }); });
}

void FormWindow::show_tooltip(const std::u16string& text) {
  if (!tooltip_) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               nullptr, nullptr);
    if (!tooltip_) return;
    TTTOOLINFOW tool = tool_of(hwnd_);
    // Right to left, a path or caption mixing scripts reads in its natural
    // order (the bar's own window is never mirrored, so this is the opposite
    // of its direction).
    if (right_to_left_) tool.uFlags |= TTF_RTLREADING;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // Long paths wrap rather than run off the screen.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(480, dpi_, 96));
  TTTOOLINFOW tool = tool_of(hwnd_);
  tool.lpszText = const_cast<wchar_t*>(wide(text));
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT at{};
  GetCursorPos(&at);
  at.y += MulDiv(20, dpi_, 96);  // below the pointer's arrow
  SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void FormWindow::hide_tooltip() noexcept {
  if (!tooltip_ || !IsWindowVisible(tooltip_)) return;
  TTTOOLINFOW tool = tool_of(hwnd_);
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// The tooltip is a top-level window owned by Word's frame once the bar is
// docked, so it goes with the bar explicitly.
void FormWindow::destroy_tooltip() noexcept {
  if (tooltip_) DestroyWindow(tooltip_);
  tooltip_ = nullptr;
  hover_element_.reset();
}

}  // namespace plovera::win32
