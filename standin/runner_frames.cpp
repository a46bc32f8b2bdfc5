// Scenario steps and checks on Word's frames (its top-level "OpusApp"
// windows): the frame model, resizing, moving and tiling them, which is in
// front; the bar destroyed from outside; and a decoy Word of another process.
#include <cwchar>
#include <utility>
#include <vector>

#include "bar_query.h"
#include "log.h"
#include "decoy.h"
#include "runner.h"

namespace standin {
namespace {

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

constexpr RECT kDecoyPlace{120, 90, 120 + 900, 90 + 600};
// A new process under Wine takes a while to show its first window.
constexpr DWORD kDecoyStartMs = 15000;
constexpr DWORD kDecoyEndMs = 5000;

// The top-level "OpusApp" windows in Z order (top first): of process `pid`,
// or of every process when it is 0; only the visible ones if asked.
std::vector<HWND> word_frames(DWORD pid, bool visible_only) {
  std::vector<HWND> list;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    if (lstrcmpW(cls, L"OpusApp") != 0 || (visible_only && !IsWindowVisible(w))) continue;
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (pid == 0 || owner == pid) list.push_back(w);
  }
  return list;
}

std::wstring title_of(HWND w) {
  wchar_t text[260] = {};
  GetWindowTextW(w, text, 260);
  return text;
}

// Another program in front of Word: a window of a thread of its own (Word's
// user-interface thread is told WM_ACTIVATEAPP as for another process, and
// the add-in's check of the foreground asks the thread), with its own message
// loop so that Word's thread never waits on it.
constexpr wchar_t kOtherProgramClass[] = L"StandinOtherProgram";

DWORD other_program_thread = 0;

DWORD WINAPI run_other_program(void*) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kOtherProgramClass;
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, kOtherProgramClass, L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           200, 200, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(w);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(w);
  return 0;
}

}  // namespace

Frame* Runner::frame_of(Word& word, int n) {
  if (n == 0) return &word.frame();
  return word.frame_at(static_cast<size_t>(n));
}

void Runner::add_frame_steps() {
  handlers_[L"sdi"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      if (word.set_sdi(s.args[0] == L"on")) return L"";
      return L"Word has windows open: choose the frame model before the first document";
    });
  };
  // Frame N's size, place, or all frames side by side.
  auto with_frame = [this](const Step& s, std::function<void(Word&, Frame&)> act) {
    return with_word([&](Word& word) -> Outcome {
      Frame* frame = word.frame_at(static_cast<size_t>(number(s.args[0])));
      if (!frame) return L"no frame " + s.args[0];
      act(word, *frame);
      return L"";
    });
  };
  // The user minimises or restores frame N.
  handlers_[L"minimise frame"] = [=](const Step& s) {
    return with_frame(s, [&](Word&, Frame& f) { ShowWindow(f.main(), SW_MINIMIZE); });
  };
  handlers_[L"restore frame"] = [=](const Step& s) {
    return with_frame(s, [&](Word&, Frame& f) { ShowWindow(f.main(), SW_RESTORE); });
  };
  // Another program comes to the front; Word comes back (frame N clicked).
  handlers_[L"other program"] = [this](const Step&) -> Outcome {
    if (other_program_thread) return L"another program is in front already";
    HANDLE thread = CreateThread(nullptr, 0, &run_other_program, nullptr, 0, &other_program_thread);
    if (!thread) return L"CreateThread failed";
    CloseHandle(thread);
    log_line(L"another program comes to the front");
    // The step ends once the window is in front, so that what follows
    // measures Word in the background however slowly the window came.
    return poll_here([]() -> Outcome {
      wchar_t name[64] = L"";
      GetClassNameW(GetForegroundWindow(), name, 64);
      return std::wcscmp(name, kOtherProgramClass) == 0 ? L"" : L"the other program's window is not in front";
    });
  };
  handlers_[L"word front"] = [=](const Step& s) {
    if (other_program_thread) PostThreadMessageW(std::exchange(other_program_thread, 0), WM_QUIT, 0, 0);
    HWND main = nullptr;
    const Outcome problem = with_frame(s, [&](Word&, Frame& f) {
      main = f.main();
      SetForegroundWindow(main);
    });
    if (!problem.empty()) return problem;
    return poll_here([main]() -> Outcome {
      return GetForegroundWindow() == main ? L"" : L"Word's main window is not in front";
    });
  };
  handlers_[L"resize frame"] = [=](const Step& s) {
    return with_frame(s, [&](Word& word, Frame& f) { word.resize_frame(f, number(s.args[1]), number(s.args[2])); });
  };
  handlers_[L"move frame"] = [=](const Step& s) {
    return with_frame(s, [&](Word& word, Frame& f) { word.move_frame(f, number(s.args[1]), number(s.args[2])); });
  };
  // The user collapses or expands the ribbon of frame N (the main window
  // without "frame N"): Word lays the frame's children out again.
  handlers_[L"ribbon"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      Frame* frame = frame_of(word, s.frame);
      if (!frame) return L"no frame " + std::to_wstring(s.frame);
      log_line(L"ribbon " + s.args[0] + L" in frame " + std::to_wstring(s.frame));
      frame->set_ribbon_collapsed(s.args[0] == L"collapse");
      return L"";
    });
  };
  handlers_[L"tile frames"] = [this](const Step&) {
    return with_word([](Word& word) { word.tile_frames(); return Outcome(); });
  };
  // The bar's window destroyed by someone other than the add-in (as Word
  // does when it closes a frame the bar is docked in).
  handlers_[L"destroy bar"] = [this](const Step& s) {
    return on_ui([&]() -> Outcome {
      HWND bar = nullptr;
      Outcome problem = bar_of(s, bar);
      if (!problem.empty()) return problem;
      log_line(L"destroying the tab bar window");
      if (!DestroyWindow(bar)) return L"DestroyWindow failed: " + std::to_wstring(GetLastError());
      return L"";
    });
  };
}

void Runner::add_frame_checks() {
  handlers_[L"check frames"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      const size_t shown = word_frames(GetCurrentProcessId(), true).size();
      const size_t want = static_cast<size_t>(number(s.args[0]));
      if (word.frame_count() == want && shown == want) return L"";
      return L"Word has " + std::to_wstring(word.frame_count()) + L" frames, " +
             std::to_wstring(shown) + L" shown";
    });
  };
  handlers_[L"check frame"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      Frame* frame = frame_of(word, number(s.args[0]));
      if (!frame) return L"no frame " + s.args[0];
      const std::wstring title = title_of(frame->main());
      return title == s.args[1] ? L"" : L"the frame's title is \"" + title + L"\"";
    });
  };
  // In front: the foreground window, and the first of Word's frames in Z order.
  handlers_[L"check front"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      Frame* frame = frame_of(word, number(s.args[0]));
      if (!frame) return L"no frame " + s.args[0];
      const std::vector<HWND> order = word_frames(GetCurrentProcessId(), true);
      if (order.empty() || order.front() != frame->main())
        return L"\"" + (order.empty() ? L"" : title_of(order.front())) + L"\" is Word's first frame";
      HWND front = GetForegroundWindow();
      return front == frame->main() ? L"" : L"\"" + title_of(front) + L"\" is in the foreground";
    });
  };
}

void Runner::add_decoy_steps() {
  handlers_[L"decoy open"] = [this](const Step&) { return open_decoy(); };
  handlers_[L"decoy close"] = [this](const Step&) {
    if (!decoy_.hProcess) return Outcome(L"no decoy Word is running");
    return close_decoy();
  };
}

// Starts this program again as a decoy: another process's Word frame, in
// front of Word's own.
Runner::Outcome Runner::open_decoy() {
  if (decoy_.hProcess) return L"a decoy Word is running already";
  const Outcome problem = start_decoy(kDecoyPlace, DecoyShown::active, &decoy_);
  if (!problem.empty()) {
    decoy_ = {};
    return problem;
  }
  log_line(L"decoy Word started, process " + std::to_wstring(decoy_.dwProcessId));
  return poll_here([this]() -> Outcome {
    const std::vector<HWND> decoy = word_frames(decoy_.dwProcessId, true);
    if (decoy.empty()) return L"the decoy's frame is not shown";
    if (word_frames(0, true).front() != decoy.front()) return L"the decoy's frame is behind Word's";
    if (GetForegroundWindow() != decoy.front()) return L"the decoy's frame is not in the foreground";
    return L"";
  }, kDecoyStartMs);
}

// Closes the decoy through its window, or ends its process by its handle.
Runner::Outcome Runner::close_decoy() {
  if (!decoy_.hProcess) return L"";
  for (HWND w : word_frames(decoy_.dwProcessId, false)) PostMessageW(w, WM_CLOSE, 0, 0);
  Outcome problem;
  if (WaitForSingleObject(decoy_.hProcess, kDecoyEndMs) != WAIT_OBJECT_0) {
    TerminateProcess(decoy_.hProcess, 1);
    WaitForSingleObject(decoy_.hProcess, kDecoyEndMs);
    problem = L"the decoy Word did not close and was ended";
  }
  CloseHandle(decoy_.hThread);
  CloseHandle(decoy_.hProcess);
  decoy_ = {};
  log_line(L"decoy Word closed");
  return problem;
}

}  // namespace standin
