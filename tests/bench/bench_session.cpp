#include "bench_session.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

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

namespace plovera::bench {

std::int64_t allocations() noexcept { return g_allocations.load(std::memory_order_relaxed); }

void strip_sizes(benchmark::internal::Benchmark* b) {
  for (int n : {1, 20, 100, 300, 1000}) b->Arg(n);
}

Session::Session(int windows, bool start) {
  word.version(u"12.0");
  word.width_points(600);
  const host::Hwnd main =
      ws.create_window(ws.desktop(), u"OpusApp", u"Document1 - Microsoft Word", {0, 0, 1000, 700});
  ws.create_window(main, u"MsoCommandBarDock", u"MsoDockTop", {0, 0, 1000, 60});
  ws.create_window(main, u"MsoCommandBarDock", u"MsoDockRight", {976, 60, 1000, 700});
  ws.create_window(main, u"_WwF", u"", {0, 60, 976, 700});
  for (int i = 0; i < windows; ++i)
    word.open_document(u"Document " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
  if (!start) return;
  start_bar();
  forms.advance(20);
}

void Session::start_bar() {
  connect.on_connection(word.host_object(), 1, nullptr);
  word.raise_NewDocument();
  tick();
}

CostMeter::Snapshot CostMeter::snapshot() const noexcept {
  return {s_.word.total_calls(), allocations(), s_.forms.paints(), s_.ws.total_calls(),
          s_.forms.total_calls()};
}

void CostMeter::add(const Snapshot& before, const Snapshot& after) noexcept {
  ++runs_;
  word_calls_ += after.word_calls - before.word_calls;
  allocations_ += after.allocations - before.allocations;
  paints_ += after.paints - before.paints;
  winsys_calls_ += after.winsys_calls - before.winsys_calls;
  form_calls_ += after.form_calls - before.form_calls;
}

void CostMeter::report(benchmark::State& state) const {
  const double runs = runs_ > 0 ? runs_ : 1;
  state.counters["word_calls"] = static_cast<double>(word_calls_) / runs;
  state.counters["allocs"] = static_cast<double>(allocations_) / runs;
  state.counters["paints"] = static_cast<double>(paints_) / runs;
  state.counters["winsys_calls"] = static_cast<double>(winsys_calls_) / runs;
  state.counters["form_calls"] = static_cast<double>(form_calls_) / runs;
}

}  // namespace plovera::bench
