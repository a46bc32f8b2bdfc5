// Scenario steps of the timing runs: many documents at once, measurements of
// Word's user-interface thread from an action until the bar shows (and has
// painted) its outcome, the process's processor time while Word idles, and a
// bare 10-ms timer to compare the add-in's tick with. They measure; beyond
// the deadline of a measurement's condition nothing in them fails.
#include <cwchar>
#include <memory>

#include "bar_query.h"
#include "dispatch_meter.h"
#include "log.h"
#include "runner.h"

namespace standin {
namespace {

using plovera::host::Part;
using plovera::host::Picture;

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

std::wstring ms(double value) {
  wchar_t text[32];
  swprintf(text, 32, L"%.3f", value);
  return text;
}

// What the timing steps keep between steps; touched on Word's thread only.
struct TimingState {
  std::wstring name;  // of the running measurement
  std::wstring note;  // how far its condition got, for a failure message
  HWND bar = nullptr;
  HWND bare_timer = nullptr;
};

LRESULT CALLBACK bare_timer_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) return 0;  // the tick does nothing: the cost of a timer alone
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND create_bare_timer_window() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = bare_timer_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kBareTimerClass;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
  return CreateWindowExW(0, kBareTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The bar has painted all it was asked to.
bool painted(HWND bar) { return IsWindowVisible(bar) && !GetUpdateRect(bar, nullptr, FALSE); }

// Visible captions (tabs in the strip, scrolled into view or not).
int strip_tabs(HWND bar, int loaded) {
  int tabs = 0;
  ElementInfo e;
  for (int i = 1; i < loaded; ++i)
    if (query_element(bar, Part::caption, i, e) && e.visible) ++tabs;
  return tabs;
}

// The caption element shows `want` (the query gives 259 characters at most).
bool shows(const std::wstring& caption, const std::wstring& want) {
  if (want.size() < 259) return caption == want;
  return caption.size() >= 258 && want.compare(0, caption.size(), caption) == 0;
}

// The control index of the visible tab captioned `want`, 0 when none is.
int tab_captioned(HWND bar, int loaded, const std::wstring& want) {
  ElementInfo e;
  for (int i = 1; i < loaded; ++i)
    if (query_element(bar, Part::caption, i, e) && e.visible && shows(e.caption, want)) return i;
  return 0;
}

}  // namespace

void Runner::add_timing_steps() {
  auto state = std::make_shared<TimingState>();

  // The bar of Word's main window, looked up again until it is docked there
  // and then only once it is gone: before, the window of the bar's class
  // found may be one of the add-in's hidden forms (its timer's), which the
  // add-in loads on Word's first event, before the bar.
  auto bar_now = [this, state]() -> HWND {
    if (state->bar && IsWindow(state->bar)) return state->bar;
    if (!session_.running()) return nullptr;
    const HWND main = session_.word().frame().main();
    state->bar = find_bar_in(main);
    return state->bar ? state->bar : find_bar(main);
  };

  // How far the bar is towards what `what value` asks for.
  auto condition = [state, bar_now](const std::wstring& what, const std::wstring& value) {
    return [state, bar_now, what, value]() -> Progress {
      HWND bar = bar_now();
      ElementInfo templ;
      if (!bar || !query_element(bar, Part::caption, 0, templ)) {
        state->note = L"there is no tab bar";
        return Progress::not_yet;
      }
      if (what == L"tabs") {
        const int want = number(value);
        // Counting is skipped until enough elements exist for the tabs.
        const int tabs = templ.loaded - 1 < want ? templ.loaded - 1 : strip_tabs(bar, templ.loaded);
        if (tabs != want) {
          state->note = L"the bar has " + std::to_wstring(tabs) + L" tabs";
          return Progress::not_yet;
        }
      } else {
        const int i = tab_captioned(bar, templ.loaded, value);
        if (i == 0) {
          state->note = L"no tab shows the caption";
          return Progress::not_yet;
        }
        ElementInfo face, whole;
        query_element(bar, Part::face, i, face);
        query_element(bar, Part::bar, 0, whole);
        const bool selected = face.picture == static_cast<int>(Picture::none);
        const bool in_view = face.rect.left >= 0 && face.rect.right <= whole.rect.right;
        if (what == L"selected" && !(selected && in_view)) {
          state->note = selected ? L"the selected tab is out of view" : L"the tab is not selected";
          return Progress::not_yet;
        }
      }
      state->note = L"the bar has not painted it yet";
      return painted(bar) ? Progress::painted : Progress::shown;
    };
  };

  // Opens documents "Doc<k>" one after another, as Word opening files; in
  // turns of half a second on Word's thread, so that no turn outlasts the
  // wait for Word's thread and Word paints meanwhile.
  handlers_[L"open documents"] = [this](const Step& s) {
    int left = number(s.args[0]);
    while (left > 0) {
      Outcome problem = with_word([&](Word& word) -> Outcome {
        const DWORD turn = GetTickCount();
        for (int k = static_cast<int>(word.windows().size()) + 1; left > 0 && GetTickCount() - turn < 500; ++k) {
          const std::wstring name = L"Doc" + std::to_wstring(k);
          if (word.find_document(name)) continue;
          word.open(name, DocumentState::saved);
          --left;
        }
        return L"";
      });
      if (!problem.empty()) return problem;
    }
    return Outcome();
  };

  // measure NAME until tabs|selected|caption VALUE: from the start of the
  // next step on Word's thread until the bar shows it and has painted it.
  // measure NAME idle MS: Word's processor time while nothing happens.
  handlers_[L"measure"] = [this, state, condition](const Step& s) -> Outcome {
    const std::wstring name = s.args[0];
    if (s.args[1] == L"until") {
      return on_ui([&]() -> Outcome {
        state->name = name;
        state->note.clear();
        dispatch_meter().begin(true, condition(s.args[2], s.args[3]));
        return L"";
      });
    }
    std::wstring idle_state;
    Outcome problem = with_word([&](Word& word) -> Outcome {
      idle_state = L"windows=" + std::to_wstring(word.windows().size()) +
                   L" addin=" + (session_.addins_connected() ? L"yes" : L"no") +
                   L" bare_timer=" + (state->bare_timer ? L"on" : L"off");
      dispatch_meter().begin(false);
      return L"";
    });
    if (!problem.empty()) return problem;
    std::wstring source;
    process_cpu_ms(source);  // the first reads look the processes up: not within the measurement
    const double server0 = wineserver_cpu_ms();
    const double cpu0 = process_cpu_ms(source), wall0 = DispatchMeter::now_ms();
    Sleep(static_cast<DWORD>(number(s.args[2])));
    const double cpu1 = process_cpu_ms(source), wall1 = DispatchMeter::now_ms();
    const double server1 = wineserver_cpu_ms();
    Measurement m;
    problem = on_ui([&] { m = dispatch_meter().end(); return Outcome(); });
    if (!problem.empty()) return problem;
    const DispatchTotals& addin = m.of(DispatchOwner::addin);
    const DispatchTotals& bare = m.of(DispatchOwner::bare_timer);
    // Per second: the add-in's ticks, its calls into Word's object model, and
    // every message Word's user-interface thread woke up for.
    const double seconds = (wall1 - wall0) / 1000.0;
    const double wakeups = static_cast<double>(addin.count + m.of(DispatchOwner::word).count) / seconds;
    const double ticks = static_cast<double>(addin.count) / seconds;
    const double calls = static_cast<double>(m.object_model_calls) / seconds;
    log_line(L"idle " + name + L": ticks_per_s=" + ms(ticks) + L" word_calls_per_s=" + ms(calls) +
             L" wakeups_per_s=" + ms(wakeups) + L" addin_longest_ms=" + ms(addin.longest_ms));
    if (s.args.size() >= 6 && s.args[3] == L"budget") {
      const double wakeup_budget = std::wcstod(s.args[4].c_str(), nullptr);
      const double call_budget = std::wcstod(s.args[5].c_str(), nullptr);
      if (wakeups > wakeup_budget || calls > call_budget)
        return L"idle " + name + L" over budget: " + ms(wakeups) + L" wake-ups/s (at most " +
               s.args[4] + L"), " + ms(calls) + L" Word calls/s (at most " + s.args[5] + L")";
    }
    log_line(L"idle " + name + L": " + idle_state + L" wall_ms=" + ms(wall1 - wall0) +
             L" cpu_ms=" + ms(cpu1 - cpu0) + L" cpu_percent=" + ms(100.0 * (cpu1 - cpu0) / (wall1 - wall0)) +
             L" addin_dispatches=" + std::to_wstring(addin.count) + L" addin_busy_ms=" + ms(addin.busy_ms) +
             L" bare_timer_dispatches=" + std::to_wstring(bare.count) + L" object_model_ms=" +
             ms(m.object_model_ms) + L" object_model_calls=" + std::to_wstring(m.object_model_calls) +
             L" wineserver_cpu_ms=" + (server0 < 0 ? L"unknown" : ms(server1 - server0)) + L" source=" + source);
    return L"";
  };

  handlers_[L"measure end"] = [this, state](const Step&) -> Outcome {
    Outcome problem = poll_here([]() -> Outcome {
      return dispatch_meter().reached() ? L"" : L"the measured outcome is not painted";
    });
    Measurement m;
    std::wstring name, note;
    const Outcome ended = on_ui([&] {
      m = dispatch_meter().end();
      name = state->name;
      note = state->note;
      return Outcome();
    });
    if (!problem.empty()) return note + L"; " + problem;
    if (!ended.empty()) return ended;
    const DispatchTotals& addin = m.of(DispatchOwner::addin);
    const DispatchTotals& word = m.of(DispatchOwner::word);
    log_line(L"measure " + name + L": shown_ms=" + ms(m.shown_ms) + L" painted_ms=" + ms(m.painted_ms) +
             L" addin_longest_ms=" + ms(addin.longest_ms) + L" addin_busy_ms=" + ms(addin.busy_ms) +
             L" addin_dispatches=" + std::to_wstring(addin.count) + L" word_longest_ms=" +
             ms(word.longest_ms) + L" word_busy_ms=" + ms(word.busy_ms) +
             L" word_dispatches=" + std::to_wstring(word.count) + L" looking_ms=" + ms(m.looking_ms) +
             L" object_model_ms=" + ms(m.object_model_ms) + L" object_model_calls=" +
             std::to_wstring(m.object_model_calls));
    return L"";
  };

  handlers_[L"bare timer"] = [this, state](const Step& s) {
    return on_ui([&]() -> Outcome {
      if (s.args[0] == L"on") {
        if (!state->bare_timer) state->bare_timer = create_bare_timer_window();
        if (!state->bare_timer || !SetTimer(state->bare_timer, 1, 10, nullptr)) return L"SetTimer failed";
      } else if (state->bare_timer) {
        DestroyWindow(state->bare_timer);  // ends its timer
        state->bare_timer = nullptr;
      }
      return L"";
    });
  };
}

}  // namespace standin
