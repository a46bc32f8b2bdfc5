// The timing runs' instruments: the steps parse, the meter times what Word's
// thread dispatches from the next scenario step on and sorts it by window,
// stops once the watched outcome is painted, and the processor time is read
// from a /proc stat line.
#include "check.h"
#include "dispatch_meter.h"
#include "scenario.h"
#include "ui_bridge.h"

namespace standin_test {
namespace {

using standin::DispatchOwner;
using standin::Progress;

STANDIN_TEST(timing_steps_parse) {
  const auto s = standin::parse_scenario(
      L"open documents 300\nmeasure far-end until selected Doc1\nmeasure long until caption \"A b\"\n"
      L"measure alone idle 10000\nmeasure end\nbare timer on\n");
  expect(s.error.empty(), "the timing steps parse", narrow(s.error));
  std::string kinds;
  for (const auto& step : s.steps) kinds += "[" + narrow(step.kind) + ":" + std::to_string(step.args.size()) + "]";
  expect(kinds == "[open documents:1][measure:4][measure:4][measure:3][measure end:0][bare timer:1]",
         "kinds and words", kinds);
  const wchar_t* bad[] = {L"measure x until colour 5\n", L"measure x idle soon\n", L"bare timer maybe\n"};
  for (const wchar_t* text : bad)
    expect(!standin::parse_scenario(text).error.empty(), "rejected: " + narrow(text));
}

STANDIN_TEST(proc_stat_gives_user_and_system_ticks) {
  std::uint64_t ticks = 0;
  expect(standin::parse_proc_stat_ticks("4242 (standin.exe) S 1 4242 4242 0 -1 4194560 5000 0 12 0 731 269 0 0 20 0",
                                        ticks) && ticks == 1000,
         "utime 731 + stime 269", std::to_string(ticks));
  expect(standin::parse_proc_stat_ticks("7 (a (b) c) R 1 2 3 4 5 6 7 8 9 10 11 12 13", ticks) && ticks == 23,
         "a command name with blanks and parentheses", std::to_string(ticks));
  expect(!standin::parse_proc_stat_ticks("7 (short) R 1 2 3", ticks), "a cut line is refused");
  expect(!standin::parse_proc_stat_ticks("no parenthesis", ticks), "a line that is not a stat line is refused");
}

LRESULT CALLBACK sleepy_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    Sleep(static_cast<DWORD>(wp));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A message-only window of class `cls` whose WM_APP sleeps wParam ms.
HWND sleepy_window(const wchar_t* cls) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = sleepy_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void dispatch_all(standin::DispatchMeter& meter) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) meter.dispatch(msg);
}

STANDIN_TEST(the_meter_counts_from_the_next_step_until_the_outcome_is_painted) {
  standin::UiBridge bridge;
  HWND bar = sleepy_window(L"PloveraTabBar");
  HWND timer = sleepy_window(standin::kBareTimerClass);
  standin::DispatchMeter meter;
  int asked = 0;
  meter.begin(true, [&] {
    ++asked;
    return asked < 2 ? Progress::not_yet : asked < 3 ? Progress::shown : Progress::painted;
  });
  PostMessageW(bar, WM_APP, 30, 0);  // before the step: not counted
  dispatch_all(meter);
  expect_number(asked, 0, "nothing counts before the next step");
  bridge.post([] { Sleep(20); });                  // the step: the clock starts
  PostMessageW(bar, WM_APP, 15, 0);                // the add-in's part: shown
  PostMessageW(timer, WM_APP, 0, 0);               // painted: the measurement stops
  PostMessageW(bar, WM_APP, 40, 0);                // after the stop: not counted
  dispatch_all(meter);
  expect(meter.reached(), "the painted outcome is reached");
  const standin::Measurement m = meter.end();
  expect_number(static_cast<long>(m.of(DispatchOwner::word).count), 1, "the step is Word's");
  expect_number(static_cast<long>(m.of(DispatchOwner::addin).count), 1, "one dispatch to the bar");
  expect_number(static_cast<long>(m.of(DispatchOwner::bare_timer).count), 1, "one to the bare timer");
  const double addin = m.of(DispatchOwner::addin).longest_ms, word = m.of(DispatchOwner::word).longest_ms;
  expect(addin >= 14 && addin < 40, "the bar's longest dispatch is its 15 ms", std::to_string(addin));
  expect(word >= 19, "the step's 20 ms are Word's", std::to_string(word));
  expect(m.shown_ms >= 34 && m.shown_ms <= m.painted_ms && m.painted_ms == m.elapsed_ms,
         "shown after the step and the bar's work, painted last",
         std::to_string(m.shown_ms) + " " + std::to_string(m.painted_ms));
  DestroyWindow(bar);
  DestroyWindow(timer);
}

STANDIN_TEST(an_idle_measurement_counts_from_now_until_its_end) {
  HWND timer = sleepy_window(standin::kBareTimerClass);
  standin::DispatchMeter meter;
  meter.begin(false);
  for (int i = 0; i < 3; ++i) PostMessageW(timer, WM_APP, 1, 0);
  dispatch_all(meter);
  const standin::Measurement m = meter.end();
  expect_number(static_cast<long>(m.of(DispatchOwner::bare_timer).count), 3, "every dispatch counts");
  expect(!meter.reached() && m.painted_ms < 0, "nothing watched, nothing reached");
  PostMessageW(timer, WM_APP, 0, 0);
  dispatch_all(meter);
  expect_number(static_cast<long>(meter.end().of(DispatchOwner::bare_timer).count), 0,
                "after the end nothing counts");
  DestroyWindow(timer);
}

}  // namespace
}  // namespace standin_test
