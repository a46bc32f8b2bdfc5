#include "win32/com_object.h"

namespace plovera::win32::module_counts {

namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void object_created() noexcept { ++g_objects; }
void object_destroyed() noexcept { --g_objects; }
// An unlock without a lock is ignored: the count never goes below zero.
void lock_server(bool lock) noexcept {
  if (lock) {
    ++g_locks;
    return;
  }
  long held = g_locks.load();
  while (held > 0 && !g_locks.compare_exchange_weak(held, held - 1)) {
  }
}
long objects() noexcept { return g_objects; }
bool idle() noexcept { return g_objects == 0 && g_locks == 0; }

}  // namespace plovera::win32::module_counts
