#include "test_support.h"

#include <cstdio>

namespace forms_test {

using plovera::host::Part;

std::string name_of(Element e) {
  static const char* const names[] = {"bar", "face", "close_button", "icon",
                                      "caption", "left_arrow", "right_arrow"};
  std::string s = names[static_cast<int>(e.part)];
  if (e.part == Part::bar) return s;
  return s + "(" + std::to_string(e.index) + ")";
}

void Recorder::MouseDown(Element e, std::int16_t b) {
  log.push_back("MouseDown " + name_of(e) + " " + std::to_string(b));
  if (on_down) on_down(e, b);
}
void Recorder::MouseMove(Element e, std::int16_t b) {
  log.push_back("MouseMove " + name_of(e) + " " + std::to_string(b));
  if (on_move) on_move(e, b);
}
void Recorder::MouseUp(Element e, std::int16_t b) {
  log.push_back("MouseUp " + name_of(e) + " " + std::to_string(b));
}
void Recorder::Click(Element e) {
  log.push_back("Click " + name_of(e));
  if (on_click) on_click(e);
}
void Recorder::DblClick(Element e) { log.push_back("DblClick " + name_of(e)); }
void Recorder::DragDrop(Element target, std::int16_t source, float x, float y) {
  char buf[96];
  std::snprintf(buf, sizeof buf, " %d %.0f %.0f", source, x, y);
  log.push_back("DragDrop " + name_of(target) + buf);
}
void Recorder::TimerTick(plovera::host::Timer t) {
  ++ticks[static_cast<int>(t)];
  if (on_tick) on_tick(t);
}

void Recorder::TooltipText(Element e, std::u16string& text) {
  ++tooltip_asks;
  if (on_tooltip) on_tooltip(e, text);
}

static BOOL CALLBACK find_tooltip(HWND w, LPARAM found) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (lstrcmpiW(cls, L"tooltips_class32") != 0 || !IsWindowVisible(w)) return TRUE;
  wchar_t buffer[4096] = {};
  GetWindowTextW(w, buffer, 4096);
  *reinterpret_cast<std::wstring*>(found) = buffer;
  return FALSE;
}

std::wstring shown_tooltip() {
  std::wstring text;
  EnumThreadWindows(GetCurrentThreadId(), find_tooltip, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::string Recorder::presses() const {
  std::string out;
  for (const std::string& line : log) {
    if (line.rfind("MouseMove", 0) == 0) continue;
    if (!out.empty()) out += "; ";
    out += line;
  }
  return out;
}

std::string Recorder::last_move() const {
  for (auto it = log.rbegin(); it != log.rend(); ++it)
    if (it->rfind("MouseMove", 0) == 0) return *it;
  return {};
}

static void dispatch_pending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void dispatch_posted(HWND hwnd) {
  MSG msg;
  while (PeekMessageW(&msg, hwnd, WM_APP, 0xBFFF, PM_REMOVE)) DispatchMessageW(&msg);
}

bool pump_until(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    dispatch_pending();
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void pump_for(DWORD ms) {
  pump_until([] { return false; }, ms);
}

static void send_mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

void move_to(POINT p) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = static_cast<LONG>((p.x * 65535LL + (w - 1) / 2) / (w - 1));
  const LONG dy = static_cast<LONG>((p.y * 65535LL + (h - 1) / 2) / (h - 1));
  SetCursorPos(p.x, p.y);
  send_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
  pump_until([p] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == p.x && now.y == p.y;
  }, 500);
  pump_for(30);
}

void button(bool down, bool right) {
  const DWORD flag = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                           : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  send_mouse(flag);
  pump_for(30);
}

void click_at(POINT p, bool right) {
  move_to(p);
  button(true, right);
  button(false, right);
}

void key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  pump_for(30);
}

Queried query(HWND bar, Element e) {
  Queried r;
  r.q.size = sizeof r.q;
  r.q.part = static_cast<std::uint8_t>(e.part);
  r.q.index = e.index;
  r.ok = plovera::win32::query_bar_element(bar, r.q);
  return r;
}

POINT to_screen(HWND bar, POINT client) {
  ClientToScreen(bar, &client);
  return client;
}

POINT point_in(HWND bar, Element e, int dx, int dy) {
  const RECT r = query(bar, e).q.rect;
  return to_screen(bar, {r.left + dx, r.top + dy});
}

POINT centre_of(HWND bar, Element e) {
  const RECT r = query(bar, e).q.rect;
  return to_screen(bar, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Checks::expect(bool ok, const std::string& name, const std::string& detail) {
  if (ok) {
    ++passed_;
    std::printf("PASS %s\n", name.c_str());
  } else {
    ++failed_;
    std::printf("FAIL %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  }
  std::fflush(stdout);
}

}  // namespace forms_test
