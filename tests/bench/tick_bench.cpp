// The cost of the bar's 10-ms tick while nothing changes, against the
// simulated host: time, and per tick the Word calls, heap allocations,
// repaints, window-system and form calls (counted over ticks outside the
// timed loop, so the counts are exact).
#include "bench_session.h"

namespace plovera::bench {
namespace {

void BM_IdleTick(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  CostMeter costs(s);
  for (int i = 0; i < 100; ++i) costs.measure([&] { s.tick(); });
  for (auto _ : state) s.tick();
  costs.report(state);
}
BENCHMARK(BM_IdleTick)->Apply(strip_sizes);

void BM_RedockCheckInPlace(benchmark::State& state) {
  Session s(1);
  for (auto _ : state) s.addin.redock_if_moved();
}
BENCHMARK(BM_RedockCheckInPlace);

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
BENCHMARK(BM_MoveTab)->Arg(20)->Arg(100)->Arg(300)->Arg(1000);

}  // namespace
}  // namespace plovera::bench
