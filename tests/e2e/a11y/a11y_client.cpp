// A client of the bar's accessible objects in another process, as a screen
// reader is: it finds the bar in the stand-in Word, walks its tree with
// AccessibleObjectFromWindow and AccessibleChildren, listens to its events
// with SetWinEventHook, and takes the default actions. It plays its part
// beside the scenario tree.txt; the two meet through files in OUT
// ("await"/"signal" steps there, wait_for/signal here).
//
//   a11y_client.exe OUT     one "PASS ..."/"FAIL ..." line per check
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// IAccessible's IID (mingw-w64's oleacc import library makes a code thunk
// of the DLL's exported IID_IAccessible).
constexpr IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

int g_failed = 0;

void expect(bool ok, const std::string& what, const std::string& detail = {}) {
  if (!ok) ++g_failed;
  std::printf("%s accessible: %s%s%s\n", ok ? "PASS" : "FAIL", what.c_str(),
              ok || detail.empty() ? "" : " -- ", ok ? "" : detail.c_str());
  std::fflush(stdout);
}

std::string narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

std::wstring g_out;

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Pumps messages (events arrive through them) until `done` or the deadline.
bool wait_until(const std::function<bool()>& done, DWORD ms = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    pump();
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

bool file_exists(const std::wstring& name) {
  return GetFileAttributesW((g_out + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}
void signal(const wchar_t* name) {
  HANDLE f = CreateFileW((g_out + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}
bool wait_for(const wchar_t* name) { return wait_until([&] { return file_exists(name); }, 60000); }

// ---- Events -----------------------------------------------------------------

struct Event {
  DWORD event;
  LONG child;
};
HWND g_bar = nullptr;
std::vector<Event> g_events;

void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (hwnd == g_bar && g_bar && object == OBJID_CLIENT) g_events.push_back({event, child});
}

bool heard(DWORD event) {
  for (const Event& e : g_events)
    if (e.event == event) return true;
  return false;
}

// ---- The tree ---------------------------------------------------------------

struct Acc {
  IAccessible* p = nullptr;
  Acc() = default;
  explicit Acc(IAccessible* a) : p(a) {}
  Acc(const Acc& o) : p(o.p) { if (p) p->AddRef(); }
  Acc& operator=(const Acc& o) {
    if (o.p) o.p->AddRef();
    if (p) p->Release();
    p = o.p;
    return *this;
  }
  ~Acc() { if (p) p->Release(); }
};

VARIANT self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

// A text property: `get` fills the BSTR.
template <class Get>
std::wstring text(Get&& get) {
  BSTR b = nullptr;
  const HRESULT hr = get(&b);
  std::wstring s = SUCCEEDED(hr) && b ? std::wstring(b, SysStringLen(b)) : L"";
  SysFreeString(b);
  return s;
}
std::wstring name(const Acc& a) { return text([&](BSTR* b) { return a.p->get_accName(self(), b); }); }
std::wstring description(const Acc& a) {
  return text([&](BSTR* b) { return a.p->get_accDescription(self(), b); });
}
std::wstring action(const Acc& a) {
  return text([&](BSTR* b) { return a.p->get_accDefaultAction(self(), b); });
}
LONG int_of(HRESULT hr, VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }
LONG role(const Acc& a) { VARIANT v; VariantInit(&v); return int_of(a.p->get_accRole(self(), &v), v); }
LONG state(const Acc& a) { VARIANT v; VariantInit(&v); return int_of(a.p->get_accState(self(), &v), v); }
RECT location(const Acc& a) {
  long x = 0, y = 0, w = 0, h = 0;
  a.p->accLocation(&x, &y, &w, &h, self());
  return {x, y, x + w, y + h};
}

Acc from_dispatch(IDispatch* d) {
  Acc a;
  if (d) {
    d->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&a.p));
    d->Release();
  }
  return a;
}

std::vector<Acc> children(const Acc& a) {
  std::vector<Acc> out;
  LONG count = 0;
  if (FAILED(a.p->get_accChildCount(&count)) || count <= 0) return out;
  std::vector<VARIANT> kids(static_cast<size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(a.p, 0, count, kids.data(), &got))) return out;
  for (LONG i = 0; i < got; ++i) {
    if (kids[i].vt == VT_DISPATCH) out.push_back(from_dispatch(kids[i].pdispVal));
    else VariantClear(&kids[i]);
  }
  return out;
}

HRESULT g_object_status = S_OK;

Acc bar_object(HWND bar) {
  Acc a;
  g_object_status = AccessibleObjectFromWindow(bar, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                               reinterpret_cast<void**>(&a.p));
  return a;
}

// "Name*" for a selected tab, as the scenario writes tabs.
std::wstring tabs_line(const Acc& bar) {
  std::wstring line;
  for (const Acc& c : children(bar)) {
    if (role(c) != ROLE_SYSTEM_PAGETAB) continue;
    if (!line.empty()) line += L' ';
    line += name(c) + ((state(c) & STATE_SYSTEM_SELECTED) ? L"*" : L"");
  }
  return line;
}

HWND find_bar() {
  HWND word = FindWindowW(L"OpusApp", nullptr);
  return word ? FindWindowExW(word, nullptr, L"PloveraTabBar", nullptr) : nullptr;
}

// ---- The checks, in the order the scenario plays ---------------------------

void check_tree(const Acc& bar) {

  expect(name(bar) == L"Document tabs" && role(bar) == ROLE_SYSTEM_PAGETABLIST,
         "the bar is a page-tab list named Document tabs", narrow(name(bar)));
  const std::vector<Acc> kids = children(bar);
  expect(kids.size() == 5, "three tabs and two arrows", std::to_string(kids.size()));
  if (kids.size() != 5) return;
  expect(tabs_line(bar) == L"Document1 Alpha Beta*", "tabs named by their captions, the active one selected",
         narrow(tabs_line(bar)));
  expect(description(kids[1]) == L"2 of 3" && action(kids[1]) == L"Switch",
         "a tab tells its position and its action Switch", narrow(description(kids[1]) + L" / " + action(kids[1])));
  RECT bar_rect{};
  GetWindowRect(g_bar, &bar_rect);
  const RECT first = location(kids[0]), second = location(kids[1]);
  RECT inside{};
  expect(first.right > first.left && first.bottom > first.top && IntersectRect(&inside, &first, &bar_rect) &&
             EqualRect(&inside, &first) && second.left >= first.right,
         "tabs lie left to right inside the bar, in screen pixels");
  const std::vector<Acc> close = children(kids[1]);
  expect(close.size() == 1 && name(close[0]) == L"Close Alpha" && role(close[0]) == ROLE_SYSTEM_PUSHBUTTON &&
             action(close[0]) == L"Press",
         "a tab holds its close button, Close <caption>, action Press");
  if (close.size() == 1) {
    const RECT c = location(close[0]);
    expect(c.left >= second.left && c.right <= second.right, "the close button lies on its tab");
  }
  expect(name(kids[3]) == L"Scroll left" && name(kids[4]) == L"Scroll right" &&
             role(kids[3]) == ROLE_SYSTEM_PUSHBUTTON && (state(kids[3]) & STATE_SYSTEM_INVISIBLE) &&
             (state(kids[4]) & STATE_SYSTEM_INVISIBLE),
         "the arrows are push buttons, invisible while the tabs fit");
  const RECT r = location(kids[2]);
  VARIANT hit;
  VariantInit(&hit);
  const HRESULT hr = bar.p->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit);
  Acc hit_tab = hr == S_OK && hit.vt == VT_DISPATCH ? from_dispatch(hit.pdispVal) : Acc();
  expect(hit_tab.p && name(hit_tab) == L"Beta", "hit-testing the middle of the third tab finds it");
  VARIANT next;
  VariantInit(&next);
  Acc after = kids[0].p->accNavigate(NAVDIR_NEXT, self(), &next) == S_OK && next.vt == VT_DISPATCH
                  ? from_dispatch(next.pdispVal) : Acc();
  expect(after.p && name(after) == L"Alpha", "navigating from the first tab reaches the second");
}

// The words a screen reader speaks for the bar in Word's language.
struct Words {
  const wchar_t* file;  // signalled by the scenario that sets the language
  const wchar_t* bar;
  const wchar_t* second_of_three;
  const wchar_t* switch_action;
  const wchar_t* close_alpha;
  const wchar_t* press_action;
  const wchar_t* scroll_left;
  const wchar_t* scroll_right;
  bool right_to_left;  // the strip reads from the right
};
constexpr Words kLanguages[] = {
    {L"words-german", L"Dokumentregisterkarten", L"2 von 3", L"Wechseln", L"Alpha schließen",
     L"Drücken", L"Nach links blättern", L"Nach rechts blättern", false},
    {L"words-arabic", L"علامات تبويب المستندات", L"2 من 3", L"تبديل", L"إغلاق Alpha", L"ضغط",
     L"تمرير لليسار", L"تمرير لليمين", true},
};

// Names, descriptions and default actions in Word's language; the
// translated Switch still switches.
void check_words(const Acc& bar, const Words& w) {
  const std::string in = " (" + narrow(w.file) + ")";
  expect(name(bar) == w.bar, "the bar's name" + in);
  const std::vector<Acc> kids = children(bar);
  expect(kids.size() == 5, "three tabs and two arrows" + in, std::to_string(kids.size()));
  if (kids.size() != 5) return;
  expect(description(kids[1]) == w.second_of_three && action(kids[1]) == w.switch_action,
         "a tab's description and default action" + in);
  const std::vector<Acc> close = children(kids[1]);
  expect(close.size() == 1 && name(close[0]) == w.close_alpha && action(close[0]) == w.press_action,
         "a close button's name and default action" + in);
  expect(name(kids[3]) == w.scroll_left && name(kids[4]) == w.scroll_right &&
             action(kids[3]) == w.press_action,
         "the arrows' names and default action" + in);
  // Where the reader finds each tab is where it is drawn: the first tab at
  // the right end of a right-to-left strip, its close button at its left.
  const RECT first = location(kids[0]), second = location(kids[1]);
  const RECT close_rect = close.size() == 1 ? location(close[0]) : RECT{};
  const bool first_right = first.left >= second.right;
  const bool close_left = close_rect.left - second.left < second.right - close_rect.right;
  expect(first_right == w.right_to_left && close_left == w.right_to_left,
         "the tabs' and close button's locations follow the strip's direction" + in);
  kids[1].p->accDoDefaultAction(self());
  expect(wait_until([&] { return tabs_line(bar) == L"Document1 Alpha* Beta"; }),
         "the default action of the second tab selects it" + in, narrow(tabs_line(bar)));
  signal(L"switched");
}

int run() {
  expect(wait_until([] { return (g_bar = find_bar()) != nullptr; }, 60000), "the bar appears in Word");
  if (!g_bar) return 1;
  DWORD word_process = 0;
  GetWindowThreadProcessId(g_bar, &word_process);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER + 0x10, nullptr, on_event,
                                       word_process, 0, WINEVENT_OUTOFCONTEXT);
  expect(hook != nullptr, "events hooked in Word's process");
  signal(L"client-hooked");

  expect(wait_for(L"opened"), "Word opened the documents");
  Acc bar = bar_object(g_bar);
  char status[16];
  std::snprintf(status, sizeof status, "0x%08lX", static_cast<unsigned long>(g_object_status));
  expect(bar.p != nullptr, "AccessibleObjectFromWindow answers for the bar", status);
  if (!bar.p) return 1;
  expect(wait_until([&] { return heard(EVENT_OBJECT_CREATE) && heard(EVENT_OBJECT_SELECTION); }),
         "tabs that appear raise create and selection events");
  for (const Words& w : kLanguages)
    if (file_exists(w.file)) {
      check_words(bar, w);
      return 0;
    }
  check_tree(bar);

  // Switch on tab 2 activates window 2, as a click would.
  std::vector<Acc> kids = children(bar);
  if (kids.size() >= 3) kids[1].p->accDoDefaultAction(self());
  expect(wait_until([&] { return tabs_line(bar) == L"Document1 Alpha* Beta"; }),
         "Switch on the second tab selects it", narrow(tabs_line(bar)));
  signal(L"switched");

  // Word renames and reorders; then closes Beta while this client holds it.
  g_events.clear();
  expect(wait_for(L"renamed"), "Word renamed a document");
  expect(wait_until([] { return heard(EVENT_OBJECT_NAMECHANGE); }), "a renamed tab raises a name change");
  expect(wait_for(L"dragged"), "the user dragged a tab");
  expect(wait_until([] { return heard(EVENT_OBJECT_REORDER); }), "a moved tab raises a reorder");
  Acc held;
  for (const Acc& c : children(bar))
    if (name(c) == L"Beta") held = c;
  const std::wstring held_name = held.p ? name(held) : L"";
  expect(held.p != nullptr, "the client holds the tab of the window Word will close");
  signal(L"holding");
  expect(wait_for(L"closed"), "Word closed a window");
  expect(wait_until([&] { return children(bar).size() == 4; }), "the closed window's tab leaves the tree",
         std::to_string(children(bar).size()));
  expect(wait_until([] { return heard(EVENT_OBJECT_DESTROY); }), "the closed tab raises a destroy event");
  if (held.p) {
    BSTR b = nullptr;
    const HRESULT hr = held.p->get_accName(self(), &b);
    SysFreeString(b);
    expect(hr == CO_E_OBJNOTCONNECTED || hr == E_FAIL, "the closed tab's object answers 'not connected'",
           narrow(held_name) + " answered " + std::to_string(hr));
  }

  // Press on a close button closes that window.
  kids = children(bar);
  std::vector<Acc> close = kids.empty() ? std::vector<Acc>() : children(kids[0]);
  if (!close.empty()) close[0].p->accDoDefaultAction(self());
  expect(wait_until([&] { return children(bar).size() == 3; }), "Press on a close button closes its window");
  signal(L"pressed-close");

  // A tab whose document has unsaved changes says so in its description; a
  // caption drawn cut with an ellipsis is named whole.
  expect(wait_for(L"marked"), "Word changed a document and opened one with a long name");
  kids = children(bar);
  expect(kids.size() == 4 && description(kids[0]) == L"1 of 2, unsaved changes" &&
             description(kids[1]) == L"2 of 2",
         "the description of a tab with unsaved changes says so",
         kids.size() == 4 ? narrow(description(kids[0]) + L" / " + description(kids[1])) : "");
  expect(kids.size() == 4 && name(kids[1]) == L"Quarterly-report-for-the-board-of-directors-with-appendices-and-notes-2026.docx",
         "a long caption, drawn cut, is the tab's whole name", kids.size() == 4 ? narrow(name(kids[1])) : "");
  signal(L"checked-marks");

  // The user removes the add-in while Word runs: the bar goes, the objects
  // this client holds stay and fail without harm.
  expect(wait_for(L"removed"), "the add-in was removed");
  LONG count = 0;
  const HRESULT after = bar.p->get_accChildCount(&count);
  expect(after == CO_E_OBJNOTCONNECTED, "the bar's object answers 'not connected' once the bar is gone",
         std::to_string(after));
  BSTR b = nullptr;
  const HRESULT tab_after = kids.empty() ? S_OK : kids[1].p->get_accName(self(), &b);
  SysFreeString(b);
  expect(FAILED(tab_after), "so do its tabs");
  if (hook) UnhookWinEvent(hook);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("FAIL accessible: usage a11y_client.exe OUT\n");
    return 2;
  }
  g_out = argv[1];
  CoInitialize(nullptr);
  const int rc = run();  // every object of Word's process released on return
  CoUninitialize();
  std::printf("%d failed\n", g_failed);
  std::fflush(stdout);
  // Word quits only once this client is done with it: its exit status then
  // depends on its checks alone, never on Word ending first.
  signal(L"client-done");
  return rc != 0 || g_failed ? 1 : 0;
}
