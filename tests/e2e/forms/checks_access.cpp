// The bar's accessible objects inside the bar's own process: the tree a
// client on this thread and on another thread sees, default actions that
// arrive as clicks, and objects that outlive their tab or their bar.
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "checks.h"
#include "win32/form_accessible.h"

namespace forms_test {

using plovera::host::Part;
using plovera::win32::kIidAccessible;
using plovera::host::Picture;

namespace {

VARIANT self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

std::u16string name_of(IAccessible* a, HRESULT* status = nullptr) {
  BSTR b = nullptr;
  const HRESULT hr = a->get_accName(self(), &b);
  if (status) *status = hr;
  std::u16string s = SUCCEEDED(hr) && b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : u"";
  SysFreeString(b);
  return s;
}

IAccessible* object_of(HWND bar) {
  IAccessible* a = nullptr;
  AccessibleObjectFromWindow(bar, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                             reinterpret_cast<void**>(&a));
  return a;
}

IAccessible* child(IAccessible* parent, LONG id) {
  VARIANT v = self();
  v.lVal = id;
  IDispatch* d = nullptr;
  IAccessible* a = nullptr;
  if (parent->get_accChild(v, &d) == S_OK && d) {
    d->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&a));
    d->Release();
  }
  return a;
}

LONG state_of(IAccessible* a) {
  VARIANT v;
  VariantInit(&v);
  return SUCCEEDED(a->get_accState(self(), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

// The tab names left to right, "*" after the selected one.
std::u16string tabs_seen(IAccessible* root) {
  std::u16string line;
  LONG count = 0;
  root->get_accChildCount(&count);
  for (LONG i = 1; i <= count - 2; ++i) {
    IAccessible* tab = child(root, i);
    if (!tab) return u"<no child " + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u">";
    if (!line.empty()) line += u' ';
    line += name_of(tab) + ((state_of(tab) & STATE_SYSTEM_SELECTED) ? u"*" : u"");
    tab->Release();
  }
  return line;
}

std::string utf8ish(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

void check_accessible(Bar& bar, Checks& t) {
  auto& f = *bar.form;
  f.Picture(el(Part::face, 3), Picture::none);  // the selected tab
  IAccessible* root = object_of(bar.hwnd);
  t.expect(root != nullptr, "the bar answers WM_GETOBJECT with an accessible object");
  if (!root) return;
  t.expect(name_of(root) == u"Document tabs" && tabs_seen(root) == u"Document1 Report \u2013 \u03a9 Notes*",
           "its tabs are named by their captions, left to right, the selected one marked",
           utf8ish(tabs_seen(root)));

  // A client on another thread gets the same tree through COM's marshalling.
  struct Other {
    HWND bar;
    std::u16string seen;
    static DWORD WINAPI run(void* p) {
      auto* self = static_cast<Other*>(p);
      CoInitialize(nullptr);
      if (IAccessible* there = object_of(self->bar)) {
        self->seen = tabs_seen(there);
        there->Release();
      }
      CoUninitialize();
      return 0;
    }
  } other{bar.hwnd, {}};
  HANDLE thread = CreateThread(nullptr, 0, &Other::run, &other, 0, nullptr);
  pump_until([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 5000);
  CloseHandle(thread);
  const std::u16string seen_there = other.seen;
  t.expect(seen_there == tabs_seen(root), "a client on another thread sees the same tabs", utf8ish(seen_there));

  // Default actions arrive later, as clicks on the element.
  IAccessible* second = child(root, 2);
  IAccessible* close = second ? child(second, 1) : nullptr;
  bar.events.clear();
  if (second) second->accDoDefaultAction(self());
  if (close) close->accDoDefaultAction(self());
  t.expect(bar.events.log.empty(), "a default action does not run inside the client's call");
  pump_until([&] { return bar.events.presses().find("Click close_button(2)") != std::string::npos; });
  t.expect(bar.events.presses() ==
               "MouseDown face(2) 1; MouseUp face(2) 1; Click face(2); "
               "MouseDown close_button(2) 1; MouseUp close_button(2) 1; Click close_button(2)",
           "Switch and Press reach the receiver as clicks on the face and the close button",
           bar.events.presses());

  // A tab that goes leaves its objects disconnected, even when its control
  // index shows a new tab again.
  for (Part p : {Part::caption, Part::icon, Part::close_button, Part::face}) f.Visible(el(p, 2), false);
  HRESULT status = S_OK;
  if (second) name_of(second, &status);
  t.expect(status == CO_E_OBJNOTCONNECTED, "a closed tab's object answers 'not connected'");
  bar.add_tab(2, f.Left(el(Part::face, 2)) + 15, u"Reused");
  if (second) name_of(second, &status);
  HRESULT close_status = S_OK;
  if (close) name_of(close, &close_status);
  t.expect(status == CO_E_OBJNOTCONNECTED && close_status == CO_E_OBJNOTCONNECTED,
           "and so it stays when the index shows another document");
  t.expect(tabs_seen(root) == u"Document1 Reused Notes*", "the new tab is in the tree in its place",
           utf8ish(tabs_seen(root)));
  if (close) close->Release();
  if (second) second->Release();
  root->Release();
}

// Objects that a client keeps after the bar is destroyed fail harmlessly.
void check_accessible_outlives_bar(Engine& engine, Checks& t) {
  IAccessible* root = nullptr;
  IAccessible* tab = nullptr;
  {
    Bar bar(engine, {40, 200}, 500);
    bar.add_tab(1, 75, u"Gone soon");
    root = object_of(bar.hwnd);
    if (root) tab = child(root, 1);
  }
  HRESULT root_status = S_OK, tab_status = S_OK;
  LONG count = 0;
  if (root) root_status = root->get_accChildCount(&count);
  if (tab) name_of(tab, &tab_status);
  t.expect(root && tab && root_status == CO_E_OBJNOTCONNECTED && tab_status == CO_E_OBJNOTCONNECTED,
           "objects kept after the bar was destroyed answer 'not connected'");
  if (tab) tab->Release();
  if (root) root->Release();
}

// A client's hook that runs inside NotifyWinEvent and pumps messages, in
// which the bar changes again: the raise those changes ask for waits until
// the walk that is raising events has ended, so the hook is never entered
// again from inside itself, and every change is still announced.
namespace reentrant_hook {
HWND bar_window = nullptr;
Bar* bar = nullptr;
int depth = 0, deepest = 0, heard = 0, created = 0, destroyed = 0, changes_left = 0;
int next_index = 0;
bool called_inside = false;

void CALLBACK on_probe(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { called_inside = true; }

void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
  if (hwnd != bar_window || object != OBJID_CLIENT) return;
  ++depth;
  deepest = std::max(deepest, depth);
  ++heard;
  if (event == EVENT_OBJECT_CREATE) ++created;
  if (event == EVENT_OBJECT_DESTROY) ++destroyed;
  if (changes_left > 0) {
    --changes_left;
    // Another tab appears, and the oldest goes: both ask for a raise.
    auto& f = *bar->form;
    bar->add_tab(next_index, bar->after(next_index - 1), u"Nested");
    for (Part p : {Part::caption, Part::icon, Part::close_button, Part::face})
      f.Visible(el(p, next_index - 3), false);
    ++next_index;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  --depth;
}
}  // namespace reentrant_hook

void check_accessible_events_reentered(Engine& engine, Checks& t) {
  namespace h = reentrant_hook;
  // Whether Wine calls a hook of this thread inside NotifyWinEvent, as an
  // in-context hook runs on Windows: otherwise nothing here can nest.
  const HMODULE here = GetModuleHandleW(nullptr);
  HWINEVENTHOOK probe = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, here,
                                        &h::on_probe, GetCurrentProcessId(), GetCurrentThreadId(),
                                        WINEVENT_INCONTEXT);
  Bar bar(engine, {40, 200}, 900);
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, bar.hwnd, OBJID_CLIENT, CHILDID_SELF);
  UnhookWinEvent(probe);
  t.expect(h::called_inside, "Wine calls a hook of the bar's thread inside NotifyWinEvent");
  if (!h::called_inside) return;

  bar.add_tab(1, 75, u"One");
  bar.add_tab(2, bar.after(1), u"Two");
  bar.add_tab(3, bar.after(2), u"Three");
  bar.settle();
  h::bar_window = bar.hwnd;
  h::bar = &bar;
  h::next_index = 4;
  h::changes_left = 4;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, here, &h::on_event,
                                       GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_INCONTEXT);
  auto& f = *bar.form;
  f.Caption(el(Part::caption, 2), u"Two, renamed");  // the first raise
  pump_until([&] { return h::changes_left == 0 && bar.settle(); });
  UnhookWinEvent(hook);
  IAccessible* root = object_of(bar.hwnd);
  LONG children = 0;
  if (root) root->get_accChildCount(&children);
  if (root) root->Release();
  t.expect(h::changes_left == 0 && h::deepest == 1,
           "a raise asked for while events are raised waits for the walk: the hook is never re-entered",
           "deepest " + std::to_string(h::deepest) + ", changes left " + std::to_string(h::changes_left));
  // Three tabs, four added and four removed: three left, each announced.
  t.expect(h::created == 4 && h::destroyed == 4 && children == 3 + 2,
           "every tab that came or went in the nested changes is announced once",
           "created " + std::to_string(h::created) + ", destroyed " + std::to_string(h::destroyed) +
               ", children " + std::to_string(children));
  h::bar = nullptr;
  h::bar_window = nullptr;
}

}  // namespace forms_test
