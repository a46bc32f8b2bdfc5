// Registry watches (host::RegistryWatch) over RegNotifyChangeKeyValue.
//
// Each key has its own event, so that only the key whose notification fired
// is armed again: a notification left pending on a key handle is completed
// only by a change of that key, and arming a key again before then would
// pile up pending notifications. One WaitForMultipleObjects without waiting
// asks every key at once.
//
// A key that does not exist yet (Office writes its Common key at its first
// run) is stood in for by the nearest key on its path that does: that key's
// notification fires when a sub-key is added, and the watch then moves one
// step closer to the key it wants.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/window_system.h"

namespace plovera::win32 {
namespace {

constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME;

// The key and its ancestors, nearest first ("a\b\c", "a\b", "a").
std::vector<std::wstring> path_to(const std::u16string& key) {
  std::wstring path(key.begin(), key.end());
  std::vector<std::wstring> paths;
  while (!path.empty()) {
    paths.push_back(path);
    const std::size_t slash = path.find_last_of(L'\\');
    path.resize(slash == std::wstring::npos ? 0 : slash);
  }
  return paths;
}

class KeyWatch final : public host::RegistryWatch {
 public:
  explicit KeyWatch(HKEY root) noexcept : root_(root) {}
  ~KeyWatch() override {
    for (Key& k : keys_) {
      if (k.open) RegCloseKey(k.open);
      CloseHandle(k.event);
    }
  }
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;

  // False when the event cannot be made or no key on the path can be watched.
  bool add(const std::u16string& key) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!event) return false;
    keys_.push_back(Key{path_to(key), 0, nullptr, event});
    if (arm(keys_.back())) return true;
    CloseHandle(event);
    keys_.pop_back();
    return false;
  }
  bool empty() const noexcept { return keys_.empty(); }

  // Every key whose notification fired is armed again; a bounded number of
  // rounds, in case a key keeps firing as it is armed.
  bool changed() override {
    bool written = false;
    for (std::size_t round = 0; round < 2 * keys_.size(); ++round) {
      handles_.clear();
      for (const Key& k : keys_) handles_.push_back(k.event);
      const DWORD which = WaitForMultipleObjects(static_cast<DWORD>(handles_.size()),
                                                 handles_.data(), FALSE, 0);
      if (which >= WAIT_OBJECT_0 + handles_.size()) break;
      Key& k = keys_[which - WAIT_OBJECT_0];
      const bool was_wanted = k.level == 0 && k.open;
      arm(k);
      // A value of the wanted key was written, or the wanted key appeared.
      if (was_wanted || (k.level == 0 && k.open)) written = true;
    }
    return written;
  }

 private:
  struct Key {
    std::vector<std::wstring> paths;  // the wanted key, then its ancestors
    std::size_t level;                // which of them is open
    HKEY open;
    HANDLE event;
  };

  bool notify(Key& k) noexcept {
    return RegNotifyChangeKeyValue(k.open, FALSE, kWatchedChanges, k.event, TRUE) == ERROR_SUCCESS;
  }

  // Asks for the next change of the wanted key, or of the nearest key on its
  // path that exists. The wanted key stays open while it can be watched
  // (one deleted cannot: the path is walked again).
  bool arm(Key& k) {
    if (k.open && k.level == 0 && notify(k)) return true;
    if (k.open) {
      RegCloseKey(k.open);
      k.open = nullptr;
      ResetEvent(k.event);  // closing a watched key signals its event
    }
    for (std::size_t level = 0; !k.open && level < k.paths.size(); ++level) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(root_, k.paths[level].c_str(), 0, KEY_NOTIFY, &key) == ERROR_SUCCESS) {
        k.open = key;
        k.level = level;
      }
    }
    return k.open && notify(k);
  }

  HKEY root_;
  std::vector<Key> keys_;
  std::vector<HANDLE> handles_;  // scratch of changed()
};

}  // namespace

std::unique_ptr<host::RegistryWatch> Win32WindowSystem::watch_keys(
    host::RegRoot root, const std::vector<std::u16string>& keys) {
  auto watch = std::make_unique<KeyWatch>(root == host::RegRoot::current_user ? HKEY_CURRENT_USER
                                                                              : HKEY_LOCAL_MACHINE);
  for (const std::u16string& key : keys) watch->add(key);
  if (watch->empty()) return nullptr;
  return watch;
}

}  // namespace plovera::win32
