// Scenario steps that act as the user's hand: the pointer, the mouse buttons,
// and the answers to Word's dialogs and popup menus, all with real input.
#include <cwchar>

#include "bar_query.h"
#include "log.h"
#include "prompts.h"
#include "runner.h"

namespace standin {
namespace {

using plovera::host::Part;

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

void button(const std::wstring& which, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  if (which == L"right") in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  else if (which == L"middle") in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
  else in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

// Notches of the wheel where the pointer is: positive away from the user
// (vertical) or to the right (horizontal), one WHEEL_DELTA each.
void wheel(int notches, bool horizontal) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
  in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
  SendInput(1, &in, sizeof in);
}

Part ctl_named(const std::wstring& name) {
  static const wchar_t* const names[] = {L"bar", L"face", L"close_button", L"icon",
                                         L"caption", L"left_arrow", L"right_arrow"};
  for (int i = 0; i < 7; ++i)
    if (name == names[i]) return static_cast<Part>(i);
  return Part::bar;
}

const ElementInfo& part_of(const TabInfo& tab, const std::wstring& part) {
  if (part == L"close") return tab.close;
  if (part == L"icon") return tab.icon;
  if (part == L"caption") return tab.caption;
  return tab.face;
}

// Focus changes that come closer together than this belong to one switch.
constexpr DWORD kFocusQuietMs = 60;

// Under Wine the focus changes of a closing dialog come back from the X
// server as events a little later, and a late focus loss cancels whatever
// menu is open by then. A round trip to the X server (GetCursorPos queries
// it) and a peek at the queue make this thread take those events now.
void settle_window_system() {
  POINT ignored;
  GetCursorPos(&ignored);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

std::wstring prompt_text(HWND dialog) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, kPromptTextId, text, 512);
  return text;
}

}  // namespace

Runner::Outcome Runner::move_pointer(POINT p) {
  // The pointer is moved from Word's own thread: Wine recognises the motion
  // that a warp causes only on the thread that warped, so a warp made here
  // could be undone by a stale motion event that Word's thread reads later.
  Outcome problem = on_ui([p]() -> Outcome {
    if (!SetCursorPos(p.x, p.y)) return L"SetCursorPos failed";
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a move event where the pointer is
    SendInput(1, &in, sizeof in);
    return L"";
  });
  if (!problem.empty()) return problem;
  return poll_here([p]() -> Outcome {
    POINT now;
    GetCursorPos(&now);
    if (now.x == p.x && now.y == p.y) return L"";
    return L"pointer at " + std::to_wstring(now.x) + L"," + std::to_wstring(now.y) + L" instead of " +
           std::to_wstring(p.x) + L"," + std::to_wstring(p.y);
  });
}

Runner::Outcome Runner::click_at(POINT p) {
  Outcome problem = move_pointer(p);
  if (!problem.empty()) return problem;
  button(L"left", true);
  button(L"left", false);
  return L"";
}

// A point found on Word's thread, then the pointer moved there. The target
// may still be on its way (tabs appear on the bar's next tick), so it is
// looked for until the deadline.
Runner::Outcome Runner::point_at(const std::function<Outcome(POINT&)>& locate) {
  POINT p{};
  const Outcome problem = poll([&]() -> Outcome {
    if (!session_.running()) return L"Word has quit";
    return locate(p);
  });
  return problem.empty() ? move_pointer(p) : problem;
}

void Runner::add_pointer_steps() {
  handlers_[L"pointer"] = [this](const Step& s) {
    return move_pointer(POINT{number(s.args[0]), number(s.args[1])});
  };
  // Window pixels of frame N: from its top-left corner.
  handlers_[L"pointer frame"] = [this](const Step& s) {
    return point_at([&](POINT& p) -> std::wstring {
      Frame* frame = frame_of(session_.word(), number(s.args[0]));
      if (!frame) return L"no frame " + s.args[0];
      const RECT r = frame->rect();
      p = POINT{r.left + number(s.args[1]), r.top + number(s.args[2])};
      return L"";
    });
  };
  handlers_[L"pointer bar"] = [this](const Step& s) {
    return point_at([&](POINT& p) -> std::wstring {
      HWND bar = nullptr;
      const std::wstring problem = bar_of(s, bar);
      if (!problem.empty()) return problem;
      p = POINT{number(s.args[0]), number(s.args[1])};
      ClientToScreen(bar, &p);
      return L"";
    });
  };
  handlers_[L"pointer element"] = [this](const Step& s) {
    return point_at([&](POINT& p) -> std::wstring {
      HWND bar = nullptr;
      const std::wstring problem = bar_of(s, bar);
      if (!problem.empty()) return problem;
      ElementInfo e;
      if (!query_element(bar, ctl_named(s.args[0]), number(s.args[1]), e))
        return L"no element " + s.args[0] + L"(" + s.args[1] + L")";
      p = centre_on_screen(bar, e.rect);
      return L"";
    });
  };
  handlers_[L"pointer tab"] = [this](const Step& s) {
    return point_at([&](POINT& p) -> std::wstring {
      HWND bar = nullptr;
      const std::wstring problem = bar_of(s, bar);
      if (!problem.empty()) return problem;
      const auto tabs = visible_tabs(bar);
      const int n = number(s.args[0]);
      if (n < 1 || n > static_cast<int>(tabs.size()))
        return L"no tab " + s.args[0] + L"; tabs: " + describe_tabs(tabs);
      p = centre_on_screen(bar, part_of(tabs[static_cast<size_t>(n - 1)], s.args[1]).rect);
      return L"";
    });
  };
}

Runner::Outcome Runner::find_dialog(const wchar_t* cls, const Step& s, HWND& dialog) {
  return poll_here([&]() -> Outcome {
    dialog = FindWindowW(cls, nullptr);
    if (!dialog || !IsWindowVisible(dialog)) return L"no dialog is open";
    if (s.args.size() > 1 && prompt_text(dialog).find(s.args[1]) == std::wstring::npos)
      return L"the dialog says '" + prompt_text(dialog) + L"'";
    return L"";
  });
}

// Answers a dialog by pressing its button; the optional name must appear in its text.
Runner::Outcome Runner::answer_dialog(const wchar_t* cls, int button_id, const Step& s) {
  HWND dialog = nullptr;
  Outcome problem = find_dialog(cls, s, dialog);
  if (!problem.empty()) return problem;
  RECT r;
  GetWindowRect(GetDlgItem(dialog, button_id), &r);
  problem = click_at(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  if (!problem.empty()) return problem;
  // The answer is complete once the dialog is gone and a frame of Word's (the
  // main window; with a frame per window, the one the dialog belonged to) is
  // in front again and has stopped hearing of focus changes: under Wine the
  // last of them arrive from the X server a few milliseconds later, and a
  // late focus loss would cancel a popup menu opened by the next steps.
  return poll([this, dialog]() -> Outcome {
    if (IsWindow(dialog)) return L"the dialog is still open";
    if (!session_.running()) return L"";
    settle_window_system();
    Word& word = session_.word();
    HWND front = GetForegroundWindow();
    Frame* frame = nullptr;
    for (size_t n = 1; n <= word.frame_count(); ++n)
      if (word.frame_at(n)->main() == front) frame = word.frame_at(n);
    if (!frame || GetActiveWindow() != front) return L"Word's main window is not in front after the dialog";
    if (frame->quiet_for() < kFocusQuietMs) return L"Word's main window is still changing focus";
    return L"";
  });
}

void Runner::add_button_steps() {
  for (const wchar_t* action : {L"press", L"release", L"click"}) {
    handlers_[action] = [action = std::wstring(action)](const Step& s) {
      if (action != L"release") button(s.args[0], true);
      if (action != L"press") button(s.args[0], false);
      return Outcome();
    };
  }
  handlers_[L"wheel"] = [](const Step& s) {
    wheel(number(s.args[0]), false);
    return Outcome();
  };
  handlers_[L"wheel horizontal"] = [](const Step& s) {
    wheel(number(s.args[0]), true);
    return Outcome();
  };
  handlers_[L"answer save"] = [this](const Step& s) {
    const int id = s.args[0] == L"yes" ? IDYES : s.args[0] == L"no" ? IDNO : IDCANCEL;
    return answer_dialog(kSavePromptClass, id, s);
  };
  handlers_[L"answer saveas"] = [this](const Step& s) {
    return answer_dialog(kSaveAsDialogClass, s.args[0] == L"ok" ? IDOK : IDCANCEL, s);
  };
}

}  // namespace standin
