// What the benchmarks share: Word with N windows and the add-in started on
// the simulated host, a count of heap allocations, and the costs of one
// operation (Word calls, allocations, repaints, window-system and form
// calls) reported as Google Benchmark counters.
#pragma once

#include <algorithm>

#include <benchmark/benchmark.h>

#include <cstdint>

#include "addin/addin.h"
#include "addin/connect.h"
#include "sim/sim_forms.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera::bench {

// Heap allocations since the program started (operator new is replaced).
std::int64_t allocations() noexcept;

// The strip sizes every scaling benchmark runs at.
void strip_sizes(benchmark::internal::Benchmark* b);

// Word 2007 (version 12) with `windows` documents, its main window, docks
// and document area. Versions before 15 cost a Word call more per tick than
// later ones: the add-in keeps their "windows in the taskbar" option off. With `start`, the add-in is connected, Word's first event
// has started the bar and a few ticks have settled it; the last window
// opened is active, so the strip shows its right end.
struct Session {
  sim::SimWord word;
  sim::SimWindowSystem ws;
  sim::SimFormEngine forms{ws};
  Addin addin{HostServices{ws, forms}};
  Connect connect{addin};

  explicit Session(int windows, bool start = true);
  // Connects the add-in, raises Word's first event and runs the first tick,
  // which gives every window its tab.
  void start_bar();
  // The add-in's next tick, whatever its pace: a quick one 10 ms on, a
  // safety-net one a second on once Word idles.
  void tick() { forms.advance(std::max<std::uint32_t>(addin.ticker().interval_ms(), 10)); }
  std::int32_t tabs() { return addin.bar().count(); }
};

// The costs of the measured parts of an operation, added up over `runs`.
class CostMeter {
 public:
  explicit CostMeter(Session& s) : s_(s) {}
  // Counts whatever `part` does, and nothing around it.
  template <class Part>
  void measure(Part&& part) {
    const Snapshot before = snapshot();
    part();
    add(before, snapshot());
  }
  // Reports the costs per run as counters of `state`.
  void report(benchmark::State& state) const;

 private:
  struct Snapshot {
    std::int64_t word_calls, allocations, paints, winsys_calls, form_calls;
  };
  Snapshot snapshot() const noexcept;
  void add(const Snapshot& before, const Snapshot& after) noexcept;

  Session& s_;
  int runs_ = 0;
  std::int64_t word_calls_ = 0, allocations_ = 0, paints_ = 0, winsys_calls_ = 0, form_calls_ = 0;
};

}  // namespace plovera::bench
