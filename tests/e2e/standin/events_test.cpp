// Word's application events: which interfaces each version offers, the order
// and arguments of the start-up events, WindowSize on a resize, and the
// fresh layout of Word's windows that a resize brings.
#include "automation.h"
#include "check.h"
#include "guids.h"

namespace standin_test {
namespace {

namespace iid = standin::iid;
using standin::DocumentState;

std::string ids_text(const std::vector<DISPID>& ids) {
  std::string s;
  for (DISPID id : ids) s += (s.empty() ? "" : " ") + std::to_string(id);
  return s;
}

RECT rect_of(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

STANDIN_TEST(event_interfaces_follow_the_version) {
  struct Case {
    const wchar_t* version;
    const IID* iid;
    HRESULT want;
    const char* what;
  };
  const Case cases[] = {
      {L"11.0", &iid::ApplicationEvents4, S_OK, "Word 11 offers ApplicationEvents4"},
      {L"10.0", &iid::ApplicationEvents4, CONNECT_E_NOCONNECTION, "Word 10 has no ApplicationEvents4"},
      {L"10.0", &iid::ApplicationEvents3, S_OK, "Word 10 offers ApplicationEvents3"},
      {L"12.0", &iid::ApplicationEvents2, S_OK, "Word 12 still offers ApplicationEvents2"},
      {L"12.0", &iid::CommandBarButtonEvents, CONNECT_E_NOCONNECTION, "the Application raises no clicks"},
  };
  for (const Case& c : cases) {
    WordFixture f(c.version);
    RecordingSink sink;
    HRESULT hr = E_FAIL;
    const DWORD cookie = advise(f.app(), *c.iid, &sink, &hr);
    expect_hr(hr, c.want, c.what);
    if (cookie) unadvise(f.app(), *c.iid, cookie);
    expect_number(sink.refs, 1, std::string(c.what) + ": the sink is let go at Unadvise");
  }
}

STANDIN_TEST(opening_raises_events_in_words_order) {
  WordFixture f;
  RecordingSink sink;
  const DWORD cookie = advise(f.app(), iid::ApplicationEvents4, &sink);
  expect_number(static_cast<long>(f.word->application_sinks()), 1, "one receiver is counted");
  standin::WindowObj* w = f.word->open(L"Alpha", DocumentState::saved);
  f.word->open(L"Draft", DocumentState::never_saved);
  // The second document's window takes over: Word tells the first one's
  // window of it (WindowDeactivate, 11) before it activates the new one.
  expect(ids_text(sink.ids()) == "4 3 10 9 11 3 10",
         "DocumentOpen, DocumentChange, WindowActivate; then NewDocument, WindowDeactivate ...",
         "got " + ids_text(sink.ids()));
  const auto& activate = sink.calls[2];
  expect(activate.types.size() == 2 && activate.last == static_cast<IDispatch*>(w->document) &&
             activate.second == static_cast<IDispatch*>(w),
         "WindowActivate(Doc, Wn) arrives reversed: rgvarg[1] = Doc, rgvarg[0] = Wn");
  sink.calls.clear();
  f.word->activate(w);
  f.word->activate(w);
  expect(ids_text(sink.ids()) == "11 3 10",
         "activating another document, once: WindowDeactivate, DocumentChange, WindowActivate",
         "got " + ids_text(sink.ids()));
  unadvise(f.app(), iid::ApplicationEvents4, cookie);
  expect_number(static_cast<long>(f.word->application_sinks()), 0, "after Unadvise none is counted");
}

STANDIN_TEST(a_resize_lays_word_out_afresh) {
  WordFixture f;
  f.word->open(L"Alpha", DocumentState::saved);
  RecordingSink newer, older;
  const DWORD c4 = advise(f.app(), iid::ApplicationEvents4, &newer);
  const DWORD c2 = advise(f.app(), iid::ApplicationEvents2, &older);
  standin::Frame& frame = f.word->frame();
  const RECT top = rect_of(frame.dock_top());
  // What an add-in's docking does: the document area and right dock move down.
  POINT origin{0, 0};
  ClientToScreen(frame.main(), &origin);
  const RECT area = rect_of(frame.document_area());
  SetWindowPos(frame.document_area(), nullptr, 0, 84, area.right - area.left, area.bottom - area.top - 24,
               SWP_NOZORDER);
  expect_number(rect_of(frame.document_area()).top - origin.y, 84, "the document area was moved");
  f.word->resize(800, 500);
  const RECT after_top = rect_of(frame.dock_top()), after_area = rect_of(frame.document_area());
  const RECT after_right = rect_of(frame.dock_right());
  expect_number(after_area.top, after_top.bottom, "the document area starts right below the top dock again");
  expect_number(after_right.top, after_top.bottom, "so does the right dock");
  expect_number(after_top.bottom - top.top, 60, "the top dock keeps its height");
  expect_number(after_right.left, after_area.right, "the right dock sits beside the document area");
  expect(ids_text(newer.ids()) == "25", "WindowSize reaches ApplicationEvents4", "got " + ids_text(newer.ids()));
  expect(older.calls.empty(), "but not ApplicationEvents2, which has no WindowSize");
  unadvise(f.app(), iid::ApplicationEvents4, c4);
  unadvise(f.app(), iid::ApplicationEvents2, c2);
}

STANDIN_TEST(word_windows_have_words_classes) {
  WordFixture f(L"11.0");
  standin::WindowObj* w = f.word->open(L"Alpha", DocumentState::saved);
  HWND main = FindWindowW(L"OpusApp", nullptr);
  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  expect(main == f.word->frame().main(), "the main window is the frontmost OpusApp");
  expect(lstrlenW(title) >= 14, "its caption is at least 14 characters", narrow(title));
  expect(FindWindowExW(main, nullptr, L"MsoCommandBarDock", L"MsoDockTop") == f.word->frame().dock_top(),
         "MsoDockTop is a direct child");
  expect(FindWindowExW(main, nullptr, L"MsoCommandBarDock", L"MsoDockRight") != nullptr,
         "MsoDockRight is a direct child");
  wchar_t cls[32] = {};
  GetClassNameW(w->view, cls, 32);
  GetWindowTextW(w->view, title, 64);
  expect(lstrcmpW(cls, L"_WwB") == 0 && lstrcmpW(title, L"Alpha") == 0, "each Word window is a _WwB with its caption");
  expect(GetParent(w->view) == f.word->frame().document_area(), "inside the document area");
}

}  // namespace
}  // namespace standin_test
