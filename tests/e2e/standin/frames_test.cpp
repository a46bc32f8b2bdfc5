// Word's frames: from version 15 on a top-level "OpusApp" window per
// document window, with Word's classes inside, named by Window.Hwnd; opened
// cascaded, brought to the front on activation, destroyed on close. Before
// version 15, one main window holds every document window.
#include <functional>
#include <vector>

#include "automation.h"
#include "check.h"
#include "guids.h"

namespace standin_test {
namespace {

using standin::DocumentState;
namespace iid = standin::iid;
namespace event = standin::event;

constexpr WORD kMethod = DISPATCH_METHOD;

// Window.Hwnd of Windows.Item(index), as a window handle (a Long: sign-extended).
HWND hwnd_of_item(WordFixture& f, long index) {
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* window = windows ? get_object(windows, L"Item", {v_long(index)}) : nullptr;
  const long handle = window ? get_long(window, L"Hwnd") : 0;
  if (window) window->Release();
  if (windows) windows->Release();
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
}

std::wstring title_of(HWND w) {
  wchar_t text[260] = {};
  GetWindowTextW(w, text, 260);
  return text;
}

// This process's visible top-level "OpusApp" windows, top of the Z order first.
std::vector<HWND> own_frames() {
  std::vector<HWND> list;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (lstrcmpW(cls, L"OpusApp") == 0 && IsWindowVisible(w) && pid == GetCurrentProcessId())
      list.push_back(w);
  }
  return list;
}

// Lets the window system deliver what it owes (under Wine, focus changes
// come back from the X server) until `holds` or two seconds pass.
bool eventually(const std::function<bool()>& holds) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (holds()) return true;
    if (GetTickCount() - start > 2000) return false;
    Sleep(10);
  }
}

bool in_front(HWND frame) {
  return eventually([frame] {
    const auto order = own_frames();
    return GetForegroundWindow() == frame && !order.empty() && order.front() == frame;
  });
}

// Word's windows inside a frame, as the add-in looks for them.
bool has_words_children(HWND frame, const wchar_t* view_caption) {
  HWND area = FindWindowExW(frame, nullptr, L"_WwF", nullptr);
  HWND view = area ? FindWindowExW(area, nullptr, L"_WwB", nullptr) : nullptr;
  return FindWindowExW(frame, nullptr, L"MsoCommandBarDock", L"MsoDockTop") &&
         FindWindowExW(frame, nullptr, L"MsoCommandBarDock", L"MsoDockRight") && view &&
         title_of(view) == view_caption && IsWindowVisible(view);
}

STANDIN_TEST(from_version_15_every_window_has_its_own_frame) {
  WordFixture f(L"16.0");
  expect(f.word->sdi(), "version 16 has a frame per window");
  HWND empty = f.word->frame().main();
  expect_text(title_of(empty), L"Word", "before any document, one empty frame titled Word");
  f.word->open(L"Alpha", DocumentState::saved);
  f.word->open(L"Beta", DocumentState::saved);
  HWND alpha = hwnd_of_item(f, 1), beta = hwnd_of_item(f, 2);
  expect(alpha == empty, "the first document takes the empty frame over");
  expect(alpha && beta && alpha != beta, "Window.Hwnd names a frame of each window's own");
  for (HWND frame : {alpha, beta}) {
    wchar_t cls[32] = {};
    GetClassNameW(frame, cls, 32);
    expect(lstrcmpW(cls, L"OpusApp") == 0 && GetAncestor(frame, GA_PARENT) == GetDesktopWindow(),
           "each frame is a top-level OpusApp window");
  }
  expect_text(title_of(alpha) + L" | " + title_of(beta), L"Alpha - Word | Beta - Word",
              "each frame is titled after its window");
  expect(has_words_children(alpha, L"Alpha") && has_words_children(beta, L"Beta"),
         "each has its own top dock, right dock, document area and view");
  expect_number(static_cast<long>(own_frames().size()), 2, "two frames are shown");
  expect_hr(put(f.app(), L"ShowWindowsInTaskbar", v_bool(false)), S_OK, "ShowWindowsInTaskbar can be set");
  expect(!f.word->show_windows_in_taskbar() && own_frames().size() == 2,
         "and is kept, with no effect on the frames");
}

STANDIN_TEST(a_further_window_opens_a_cascaded_frame) {
  WordFixture f(L"15.0");
  standin::WindowObj* one = f.word->open(L"Alpha", DocumentState::saved);
  standin::WindowObj* two = f.word->new_window(one->document);
  const RECT a = one->frame->rect(), b = two->frame->rect();
  expect(b.left - a.left == 32 && b.top - a.top == 32 && b.right - b.left == a.right - a.left &&
             b.bottom - b.top == a.bottom - a.top,
         "32 pixels right and down, the same size",
         std::to_string(b.left) + "," + std::to_string(b.top));
  expect_text(title_of(one->frame->main()) + L" | " + title_of(two->frame->main()),
              L"Alpha:1 - Word | Alpha:2 - Word", "both frames show the numbered captions");
  expect(in_front(two->frame->main()), "the new frame is in front");
  expect(hwnd_of_item(f, 2) == two->frame->main(), "Window.Hwnd of the new window is the new frame");
}

STANDIN_TEST(activating_a_window_brings_its_frame_to_the_front) {
  WordFixture f(L"16.0");
  f.word->open(L"Alpha", DocumentState::saved);
  standin::WindowObj* beta = f.word->open(L"Beta", DocumentState::saved);
  HWND alpha_frame = hwnd_of_item(f, 1);
  expect(in_front(beta->frame->main()), "the last opened window's frame is in front");
  RecordingSink sink;
  const DWORD cookie = advise(f.app(), iid::ApplicationEvents4, &sink);
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* alpha = get_object(windows, L"Item", {v_long(1)});
  expect_hr(invoke(alpha, L"Activate", kMethod), S_OK, "Window.Activate");
  expect(in_front(alpha_frame), "brings the window's frame to the front");
  expect(sink.ids() == std::vector<DISPID>{event::WindowDeactivate, event::DocumentChange,
                                           event::WindowActivate} &&
             sink.calls.back().second == alpha,
         "and raises WindowDeactivate for the window before, DocumentChange, then WindowActivate");
  sink.calls.clear();
  // The user clicks Beta's frame.
  SendMessageW(beta->frame->main(), WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  expect(f.word->active_window() == beta, "a click on a frame activates its window");
  expect(sink.ids() == std::vector<DISPID>{event::WindowDeactivate, event::DocumentChange,
                                           event::WindowActivate},
         "with Word's events");
  unadvise(f.app(), iid::ApplicationEvents4, cookie);
  alpha->Release();
  windows->Release();
}

STANDIN_TEST(closing_a_window_destroys_its_frame) {
  WordFixture f(L"16.0");
  f.word->open(L"Alpha", DocumentState::saved);
  f.word->open(L"Beta", DocumentState::saved);
  HWND alpha_frame = hwnd_of_item(f, 1), beta_frame = hwnd_of_item(f, 2);
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* beta = get_object(windows, L"Item", {v_long(2)});
  expect_hr(invoke(beta, L"Close", kMethod), S_OK, "Window.Close");
  expect(!IsWindow(beta_frame), "the closed window's frame is destroyed, its docks with it");
  expect_hr(invoke(beta, L"Hwnd", DISPATCH_PROPERTYGET), RPC_E_DISCONNECTED, "its Hwnd fails");
  expect(in_front(alpha_frame), "the window that becomes active has its frame in front");
  expect_number(static_cast<long>(f.word->frame_count()), 1, "one frame is left");
  beta->Release();

  IDispatch* alpha = get_object(windows, L"Item", {v_long(1)});
  expect_hr(invoke(alpha, L"Close", kMethod), S_OK, "closing the last window");
  alpha->Release();
  expect(IsWindow(alpha_frame) && title_of(alpha_frame) == L"Word", "leaves its frame open, titled Word");
  HWND area = FindWindowExW(alpha_frame, nullptr, L"_WwF", nullptr);
  expect(area && !FindWindowExW(area, nullptr, L"_WwB", nullptr), "with no view in it");
  expect_number(get_long(windows, L"Count"), 0, "Word has no window");
  f.word->open(L"Gamma", DocumentState::saved);
  expect(hwnd_of_item(f, 1) == alpha_frame, "the next document takes the empty frame over");
  windows->Release();

  // The user closes a frame while another is open: only its window closes.
  f.word->open(L"Delta", DocumentState::saved);
  bool quit_asked = false;
  f.word->on_close_requested = [&] { quit_asked = true; };
  HWND delta_frame = hwnd_of_item(f, 2);
  SendMessageW(delta_frame, WM_CLOSE, 0, 0);
  expect(!IsWindow(delta_frame) && f.word->windows().size() == 1 && !quit_asked,
         "closing a frame closes its window, Word keeps running");
  SendMessageW(alpha_frame, WM_CLOSE, 0, 0);
  expect(quit_asked, "closing the last frame asks Word to quit");
}

STANDIN_TEST(a_resized_frame_is_laid_out_and_reports_its_window) {
  WordFixture f(L"16.0");
  standin::WindowObj* alpha = f.word->open(L"Alpha", DocumentState::saved);
  f.word->open(L"Beta", DocumentState::saved);
  RecordingSink sink;
  const DWORD cookie = advise(f.app(), iid::ApplicationEvents4, &sink);
  standin::Frame& frame = *f.word->frame_at(1);
  expect(&frame == alpha->frame, "frame 1 is the first window's");
  f.word->resize_frame(frame, 700, 500);
  RECT client{}, right{};
  GetClientRect(frame.main(), &client);
  GetWindowRect(frame.dock_right(), &right);
  POINT corner{client.right, client.bottom};
  ClientToScreen(frame.main(), &corner);
  expect(right.right == corner.x && right.bottom == corner.y, "its right dock follows the new size");
  expect(sink.ids() == std::vector<DISPID>{event::WindowSize} &&
             sink.calls.back().second == static_cast<IDispatch*>(alpha),
         "WindowSize names the frame's window, though another is active");
  unadvise(f.app(), iid::ApplicationEvents4, cookie);
}

// A right-to-left interface mirrors every frame, those open and those
// opened later: the right dock stands at the frame's left, the document
// area right of it; another language leaves them as they are.
STANDIN_TEST(a_right_to_left_interface_mirrors_every_frame) {
  WordFixture f(L"16.0");
  f.word->open(L"Alpha", DocumentState::saved);
  auto dock_at_left = [](standin::Frame& frame) {
    RECT main{}, right{}, area{};
    GetWindowRect(frame.main(), &main);
    GetWindowRect(frame.dock_right(), &right);
    GetWindowRect(frame.document_area(), &area);
    return right.left < area.left && right.right <= area.left &&
           (GetWindowLongW(frame.main(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  };
  f.word->set_ui_language(1031);
  expect(!f.word->mirrored() && !dock_at_left(*f.word->frame_at(1)), "German leaves the frame as it is");
  f.word->set_ui_language(1025);
  expect(f.word->mirrored() && dock_at_left(*f.word->frame_at(1)), "Arabic mirrors the open frame");
  f.word->open(L"Beta", DocumentState::saved);
  expect(dock_at_left(*f.word->frame_at(2)), "a frame opened later is mirrored too");
  f.word->set_mirrored(false);
  RECT right{}, area{};
  GetWindowRect(f.word->frame_at(1)->dock_right(), &right);
  GetWindowRect(f.word->frame_at(1)->document_area(), &area);
  expect(area.right <= right.left, "mirror off puts the right dock back at the right");
}

STANDIN_TEST(before_version_15_one_main_window_holds_them_all) {
  struct Case {
    const wchar_t* version;
    std::optional<bool> sdi;
    const char* what;
  };
  const Case cases[] = {{L"14.0", std::nullopt, "version 14"}, {L"16.0", false, "version 16 with SDI off"}};
  for (const Case& c : cases) {
    WordFixture f(c.version, L"", c.sdi);
    f.word->open(L"Alpha", DocumentState::saved);
    f.word->open(L"Beta", DocumentState::saved);
    HWND main = f.word->frame().main();
    expect(hwnd_of_item(f, 1) == main && hwnd_of_item(f, 2) == main,
           std::string(c.what) + ": every window's Hwnd is the main window");
    expect(own_frames().size() == 1 && title_of(main) == L"Beta - Microsoft Word",
           std::string(c.what) + ": one frame, titled after the active window");
  }
  WordFixture f(L"12.0");
  expect(f.word->set_sdi(true), "the frame model can be switched before any document");
  standin::WindowObj* a = f.word->open(L"Alpha", DocumentState::saved);
  standin::WindowObj* b = f.word->open(L"Beta", DocumentState::saved);
  expect(a->frame != b->frame, "switched on, a further document opens a frame of its own");
  expect(!f.word->set_sdi(false), "but not while windows are open");
}

}  // namespace
}  // namespace standin_test
