// The simulated registry of SimWindowSystem, with the Win32 semantics of
// RegOpenKeyExW, RegQueryValueExW and RegCloseKey.
#include <cstring>
#include <utility>

#include "sim/sim_winsys.h"

namespace plovera::sim {
namespace {

std::u16string lower_ascii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

void append_utf16(std::vector<std::uint8_t>& bytes, const std::u16string& text) {
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.push_back(0);  // the terminating NUL
  bytes.push_back(0);
}

}  // namespace

SimWindowSystem::KeyPath SimWindowSystem::key_path(host::RegRoot root, const std::u16string& key) {
  std::u16string path = lower_ascii(key);
  while (!path.empty() && path.back() == u'\\') path.pop_back();
  while (!path.empty() && path.front() == u'\\') path.erase(path.begin());
  return (root == host::RegRoot::current_user ? u"HKCU\\" : u"HKLM\\") + path;
}

bool SimWindowSystem::key_exists(const KeyPath& path) const {
  if (path.back() == u'\\') return true;  // the root itself (an empty sub-key)
  if (keys_.count(path)) return true;
  // A key on the path of a stored one ("a\b" of "a\b\c").
  const KeyPath prefix = path + u"\\";
  auto it = keys_.lower_bound(prefix);
  return it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

const SimWindowSystem::Value* SimWindowSystem::find_value(const KeyPath& path,
                                                          const std::u16string& name) const {
  auto key = keys_.find(path);
  if (key == keys_.end()) return nullptr;
  auto value = key->second.find(lower_ascii(name));
  return value == key->second.end() ? nullptr : &value->second;
}

// ---- Watches ----------------------------------------------------------------

class SimWindowSystem::KeyWatch final : public host::RegistryWatch {
 public:
  KeyWatch(SimWindowSystem& ws, std::shared_ptr<KeyWatchState> state)
      : ws_(ws), state_(std::move(state)) {}
  bool changed() override {
    if (ws_.failing(WinsysCall::WaitForSingleObject)) return false;
    return std::exchange(state_->signalled, false);
  }

 private:
  SimWindowSystem& ws_;
  std::shared_ptr<KeyWatchState> state_;
};

std::unique_ptr<host::RegistryWatch> SimWindowSystem::watch_keys(
    host::RegRoot root, const std::vector<std::u16string>& keys) {
  if (failing(WinsysCall::RegNotifyChangeKeyValue) || keys.empty()) return nullptr;
  auto state = std::make_shared<KeyWatchState>();
  for (const std::u16string& key : keys) state->keys.push_back(key_path(root, key));
  std::erase_if(key_watches_, [](const std::weak_ptr<KeyWatchState>& w) { return w.expired(); });
  key_watches_.push_back(state);
  return std::make_unique<KeyWatch>(*this, std::move(state));
}

int SimWindowSystem::registry_watches() const noexcept {
  int alive = 0;
  for (const auto& w : key_watches_) alive += w.expired() ? 0 : 1;
  return alive;
}

void SimWindowSystem::key_changed(const KeyPath& path) {
  for (const auto& w : key_watches_)
    if (const auto state = w.lock())
      for (const KeyPath& key : state->keys)
        if (key == path) state->signalled = true;
}

// ---- Test side --------------------------------------------------------------

void SimWindowSystem::create_key(host::RegRoot root, const std::u16string& key) {
  keys_[key_path(root, key)];
}

void SimWindowSystem::set_value(host::RegRoot root, const std::u16string& key,
                                const std::u16string& name, std::uint32_t type,
                                std::vector<std::uint8_t> bytes) {
  const KeyPath path = key_path(root, key);
  keys_[path][lower_ascii(name)] = Value{type, std::move(bytes)};
  key_changed(path);
}

void SimWindowSystem::set_string(host::RegRoot root, const std::u16string& key,
                                 const std::u16string& name, const std::u16string& text,
                                 std::uint32_t type) {
  std::vector<std::uint8_t> bytes;
  append_utf16(bytes, text);
  set_value(root, key, name, type, std::move(bytes));
}

void SimWindowSystem::set_multi(host::RegRoot root, const std::u16string& key,
                                const std::u16string& name,
                                const std::vector<std::u16string>& strings) {
  std::vector<std::uint8_t> bytes;
  for (const auto& s : strings) append_utf16(bytes, s);
  append_utf16(bytes, u"");  // the empty string that ends the list
  set_value(root, key, name, host::reg::type_multi_string, std::move(bytes));
}

void SimWindowSystem::set_dword(host::RegRoot root, const std::u16string& key,
                                const std::u16string& name, std::uint32_t value) {
  std::vector<std::uint8_t> bytes(4);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  set_value(root, key, name, host::reg::type_dword, std::move(bytes));
}

void SimWindowSystem::set_binary(host::RegRoot root, const std::u16string& key,
                                 const std::u16string& name, std::vector<std::uint8_t> bytes) {
  set_value(root, key, name, host::reg::type_binary, std::move(bytes));
}

void SimWindowSystem::remove_value(host::RegRoot root, const std::u16string& key,
                                   const std::u16string& name) {
  auto it = keys_.find(key_path(root, key));
  if (it != keys_.end() && it->second.erase(lower_ascii(name)) == 1) key_changed(it->first);
}

// ---- The Win32 functions ------------------------------------------------------

std::int32_t SimWindowSystem::open_key(host::RegRoot root, const std::u16string& sub_key,
                                           std::uint32_t access, host::RegKey& out) {
  if (failing(WinsysCall::RegOpenKeyEx)) return host::reg::access_denied;
  opened_access_.push_back(access);
  KeyPath path = key_path(root, sub_key);
  if (!key_exists(path)) return host::reg::not_found;
  out = next_key_;
  next_key_ += 4;
  open_keys_.emplace(out, std::move(path));
  return host::reg::ok;
}

std::int32_t SimWindowSystem::query_value(host::RegKey key, const std::u16string& name,
                                              std::uint32_t& type, std::uint8_t* data,
                                              std::uint32_t& size) {
  if (failing(WinsysCall::RegQueryValueEx)) return host::reg::access_denied;
  auto open = open_keys_.find(key);
  if (open == open_keys_.end()) return host::reg::invalid_handle;
  const Value* value = find_value(open->second, name);
  if (!value) return host::reg::not_found;
  const auto needed = static_cast<std::uint32_t>(value->bytes.size());
  type = value->type;
  if (data && size < needed) {
    size = needed;
    return host::reg::more_data;
  }
  if (data && needed > 0) std::memcpy(data, value->bytes.data(), needed);
  size = needed;
  return host::reg::ok;
}

std::int32_t SimWindowSystem::close_key(host::RegKey key) {
  if (failing(WinsysCall::RegCloseKey)) return host::reg::access_denied;
  return open_keys_.erase(key) == 1 ? host::reg::ok : host::reg::invalid_handle;
}

}  // namespace plovera::sim
