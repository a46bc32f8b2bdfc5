// The cost of the bar's 10 ms tick and of the tab operations as the number of
// tabs grows, against the simulated host. Reports host calls and heap
// allocations per operation beside the time.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "addin/addin.h"
#include "addin/connect.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace {

std::atomic<std::int64_t> g_allocations{0};

}  // namespace

void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace plovera {
namespace {

// Word with `tabs` documents and the bar started and settled.
struct Session {
  sim::SimWord word;
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Addin addin{HostServices{ws, forms}};
  Connect connect{addin};

  explicit Session(int tabs) {
    word.version(u"16.0");
    word.width_points(600);
    const host::Hwnd main =
        ws.create_window(ws.desktop(), u"OpusApp", u"Document1 - Microsoft Word", {0, 0, 1000, 700});
    ws.create_window(main, u"MsoCommandBarDock", u"MsoDockTop", {0, 0, 1000, 60});
    ws.create_window(main, u"MsoCommandBarDock", u"MsoDockRight", {976, 60, 1000, 700});
    ws.create_window(main, u"_WwF", u"", {0, 60, 976, 700});
    for (int i = 0; i < tabs; ++i) word.open_document(u"Document " + std::u16string(1, u'A' + i % 26));
    connect.on_connection(word.host_object(), 1, nullptr);
    word.raise_NewDocument();
    forms.advance(30);
  }
};

void report(benchmark::State& state, Session& s, std::int64_t calls0, std::int64_t allocs0) {
  const double n = static_cast<double>(state.iterations());
  state.counters["word_calls"] = static_cast<double>(s.word.total_calls() - calls0) / n;
  state.counters["allocs"] = static_cast<double>(g_allocations.load() - allocs0) / n;
}

void BM_Tick(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  const std::int64_t calls0 = s.word.total_calls(), allocs0 = g_allocations.load();
  s.forms.reset_paints();
  for (auto _ : state) s.forms.advance(10);
  report(state, s, calls0, allocs0);
  state.counters["paints"] = static_cast<double>(s.forms.paints());  // in all iterations
}
BENCHMARK(BM_Tick)->Arg(1)->Arg(20)->Arg(200)->Arg(1000);

void BM_RedockCheckInPlace(benchmark::State& state) {
  Session s(1);
  for (auto _ : state) s.addin.redock_if_moved();
}
BENCHMARK(BM_RedockCheckInPlace);

// A new window: its tab is added at the right end and selected.
void BM_OpenAndCloseWindow(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  const std::int64_t calls0 = s.word.total_calls(), allocs0 = g_allocations.load();
  for (auto _ : state) {
    sim::SimDocument& d = s.word.open_document(u"New");
    s.forms.advance(10);
    s.word.close_document(d);
    s.forms.advance(10);
  }
  report(state, s, calls0, allocs0);
}
BENCHMARK(BM_OpenAndCloseWindow)->Arg(1)->Arg(20)->Arg(200);

// Moving the first tab to the end and back re-places every tab twice.
void BM_MoveTab(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  TabBar& bar = s.addin.bar();
  const auto slot = [&](std::int32_t p) { return bar.slot_at(Position(p)); };
  for (auto _ : state) {
    bar.move_tab(slot(1), slot(bar.count()));
    bar.move_tab(slot(bar.count()), slot(1));
  }
}
BENCHMARK(BM_MoveTab)->Arg(20)->Arg(200)->Arg(1000);

}  // namespace
}  // namespace plovera
