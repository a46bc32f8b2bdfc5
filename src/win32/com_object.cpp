#include "win32/com_object.h"

namespace plovera::win32::module_counts {

namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void object_created() noexcept { ++g_objects; }
void object_destroyed() noexcept { --g_objects; }
void lock_server(bool lock) noexcept { lock ? ++g_locks : --g_locks; }
long objects() noexcept { return g_objects; }
bool idle() noexcept { return g_objects == 0 && g_locks == 0; }

}  // namespace plovera::win32::module_counts
