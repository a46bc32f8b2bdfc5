// What the user waits for as the strip grows, against the simulated host:
// the tick that adds a tab for a new window, removes the tab of a closed
// one, selects the far end of the strip, or shows a renamed window's new
// caption, and the start-up that gives every window its tab.
//
// Only the add-in's part is timed: Word's own change before the tick and
// the undoing afterwards run with the timer paused. Each benchmark checks
// once that the operation did what it is named for, and counts its costs
// over a few runs outside the timed loop.
#include <optional>
#include <string>
#include <utility>

#include "bench_session.h"

namespace plovera::bench {
namespace {

constexpr int kCostRuns = 4;

// Each run: `word_side` with the timer paused (Word's change, after undoing
// the previous run's), then the tick, timed. One pause per run: its own cost
// is what BM_TimerPauseOverhead reports.
template <class WordSide>
void run_ticks(benchmark::State& state, Session& s, WordSide&& word_side) {
  for (auto _ : state) {
    state.PauseTiming();
    word_side();
    state.ResumeTiming();
    s.tick();
  }
}

// The N-th window opens: its tab is built at the right end, selected and
// brought into view (the strip grows from N - 1 to N tabs).
void BM_AddTab(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Session s(n - 1);
  sim::SimDocument* opened = nullptr;
  const auto open = [&] { opened = &s.word.open_document(u"New document"); };
  const auto undo = [&] {
    s.word.close_document(*opened);
    s.tick();
  };
  CostMeter costs(s);
  for (int i = 0; i < kCostRuns; ++i) {
    open();
    costs.measure([&] { s.tick(); });
    if (s.tabs() != n) state.SkipWithError("the new window got no tab");
    undo();
  }
  opened = nullptr;
  run_ticks(state, s, [&] {
    if (opened) undo();
    open();
  });
  undo();
  costs.report(state);
}
BENCHMARK(BM_AddTab)->Apply(strip_sizes)->Unit(benchmark::kMicrosecond);

// Of N windows the oldest closes: its tab, the first, leaves and every
// other tab moves left. A new window at the end restores N (untimed).
void BM_CloseTab(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Session s(n);
  const auto close = [&] { s.word.close_document(*s.word.documents().front()); };
  const auto undo = [&] {
    s.word.open_document(u"Reopened");
    s.tick();
  };
  CostMeter costs(s);
  for (int i = 0; i < kCostRuns; ++i) {
    close();
    costs.measure([&] { s.tick(); });
    if (s.tabs() != n - 1) state.SkipWithError("the closed window kept its tab");
    undo();
  }
  bool closed = false;
  run_ticks(state, s, [&] {
    if (std::exchange(closed, true)) undo();
    close();
  });
  costs.report(state);
}
BENCHMARK(BM_CloseTab)->Apply(strip_sizes)->Unit(benchmark::kMicrosecond);

// Word already has N windows when the add-in connects: Word's first event
// starts the bar and the first tick gives every window its tab.
void BM_StartUp(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::optional<Session> s;
  {
    s.emplace(n, false);
    CostMeter costs(*s);
    costs.measure([&] { s->start_bar(); });
    if (s->tabs() != n) state.SkipWithError("not every window got its tab");
    costs.report(state);
  }
  for (auto _ : state) {
    state.PauseTiming();
    s.reset();
    s.emplace(n, false);
    state.ResumeTiming();
    s->start_bar();
  }
}
BENCHMARK(BM_StartUp)->Apply(strip_sizes)->Unit(benchmark::kMicrosecond);

// Word activates the window at the other end of the strip: the tick selects
// its tab and scrolls it into view. Runs alternate between the two ends (a
// strip of one tab has none).
void BM_SelectFarEnd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Session s(n);
  bool to_first = true;
  const auto activate_far_end = [&] {
    s.word.activate(to_first ? *s.word.windows().front() : *s.word.windows().back());
  };
  const auto selected_far_end = [&] {
    const Position far(to_first ? 1 : n);
    return s.addin.bar().selected() == s.addin.bar().slot_at(far);
  };
  CostMeter costs(s);
  for (int i = 0; i < kCostRuns; ++i, to_first = !to_first) {
    activate_far_end();
    costs.measure([&] { s.tick(); });
    if (!selected_far_end()) state.SkipWithError("the far end was not selected");
  }
  run_ticks(state, s, [&] {
    activate_far_end();
    to_first = !to_first;
  });
  costs.report(state);
}
BENCHMARK(BM_SelectFarEnd)->Arg(20)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The document of the first window is saved under another name, alternately
// longer and shorter: its tab changes width and every tab after it moves.
void BM_Rename(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Session s(n);
  sim::SimDocument& first = *s.word.documents().front();
  bool longer = true;
  const auto rename = [&] {
    s.word.rename_document(first, longer ? u"Quarterly report, final version.docx" : u"Notes.docx");
  };
  CostMeter costs(s);
  for (int i = 0; i < kCostRuns; ++i, longer = !longer) {
    rename();
    costs.measure([&] { s.tick(); });
  }
  run_ticks(state, s, [&] {
    rename();
    longer = !longer;
  });
  costs.report(state);
}
BENCHMARK(BM_Rename)->Apply(strip_sizes)->Unit(benchmark::kMicrosecond);

// What pausing and resuming the timer adds to each timed run above.
void BM_TimerPauseOverhead(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TimerPauseOverhead);

}  // namespace
}  // namespace plovera::bench
