#include "addin/theme_watch.h"

#include <cmath>
#include <utility>
#include <vector>

#include "base/numbers.h"
#include "host/error.h"
#include "host/word_versions.h"

namespace plovera {

// Windows' app mode matters only where "Use system setting" exists, from
// Word 2013 on; before, only Office's own key is watched.
void ThemeWatch::start(const std::u16string& version) {
  stop();
  version_ = version;
  theme_ = read_bar_theme(ws_, version_);
  std::vector<std::u16string> keys{office_common_key(version_)};
  if (std::trunc(version_number(version_)) >= host::word2013) keys.emplace_back(kPersonalizeKey);
  ignore_errors([&] { watch_ = ws_.watch_keys(host::RegRoot::current_user, keys); });
}

void ThemeWatch::stop() noexcept {
  watch_.reset();
  system_look_changed_ = false;
  quick_ticks_unchecked_ = 0;
}

bool ThemeWatch::registry_due(bool safety_net) noexcept {
  if (!watch_) return false;
  if (!safety_net && ++quick_ticks_unchecked_ < quick_ticks_per_check) return false;
  quick_ticks_unchecked_ = 0;
  return true;
}

ThemeWatch::Change ThemeWatch::take_change(bool safety_net) {
  Change change;
  change.system_colours = std::exchange(system_look_changed_, false);
  const bool written = registry_due(safety_net) && watch_->changed();
  if (!written && !change.system_colours) return change;
  const BarTheme now = read_bar_theme(ws_, version_);
  change.theme = now != theme_;
  theme_ = now;
  return change;
}

}  // namespace plovera
