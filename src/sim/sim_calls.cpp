#include "sim/sim_calls.h"

#include <stdexcept>
#include <utility>

namespace plovera::sim {

CallMeter::CallMeter(std::span<const char* const> names) : names_(names), slots_(names.size()) {}

status_t CallMeter::enter(std::size_t member) {
  Slot& slot = slots_[member];
  ++slot.count;
  ++total_;
  if (logging_) log_.push_back(static_cast<std::uint16_t>(member));

  if (slot.fail_times != 0) {
    if (slot.fail_times > 0) --slot.fail_times;
    return slot.fail_code;
  }
  if (share_ > 0.0 && draw_share_failure()) return status::fail;

  if (slot.callback && !slot.in_callback) {
    slot.in_callback = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{slot.in_callback};
    // A copy: the callback may replace itself through on_call.
    auto callback = slot.callback;
    callback();
  }
  return status::ok;
}

// splitmix64: a fixed sequence per seed, one draw per call while a share is set.
bool CallMeter::draw_share_failure() noexcept {
  std::uint64_t z = (rng_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53 < share_;
}

std::size_t CallMeter::call_index(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (name == names_[i]) return i;
  }
  throw std::out_of_range("no simulated call named " + std::string(name));
}

std::int64_t CallMeter::calls(std::string_view name) const {
  return slots_[call_index(name)].count;
}

void CallMeter::reset_calls() {
  for (Slot& slot : slots_) slot.count = 0;
  total_ = 0;
  log_.clear();
}

std::vector<std::string> CallMeter::call_log() const {
  std::vector<std::string> out;
  out.reserve(log_.size());
  for (std::uint16_t member : log_) out.emplace_back(names_[member]);
  return out;
}

void CallMeter::fail(std::string_view name, int times, status_t code) {
  Slot& slot = slots_[call_index(name)];
  slot.fail_times = times < 0 ? always : times;
  slot.fail_code = failed(code) ? code : status::fail;
}

void CallMeter::fail_share(double share, std::uint64_t seed) {
  share_ = share;
  rng_ = seed;
}

void CallMeter::clear_failures() {
  for (Slot& slot : slots_) slot.fail_times = 0;
  share_ = 0.0;
}

void CallMeter::on_call(std::string_view name, std::function<void()> callback) {
  slots_[call_index(name)].callback = std::move(callback);
}

}  // namespace plovera::sim
