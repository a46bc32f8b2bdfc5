// The documents closed since the add-in started that had a path, most
// recent first, for "Reopen Closed Document". Only the last few are kept.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plovera {

class ClosedDocuments {
 public:
  static constexpr std::size_t kKept = 10;

  // `full_name` was closed: it goes first (once), the oldest beyond kKept go.
  void remember(const std::u16string& full_name);
  // `full_name` is open again, or can no longer be opened.
  void forget(const std::u16string& full_name) noexcept;
  bool empty() const noexcept { return names_.empty(); }
  // The most recently closed one; empty when there is none.
  std::u16string most_recent() const { return names_.empty() ? std::u16string() : names_.front(); }
  const std::vector<std::u16string>& names() const noexcept { return names_; }

 private:
  std::vector<std::u16string> names_;  // most recent first, at most kKept
};

}  // namespace plovera
