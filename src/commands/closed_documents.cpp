#include "commands/closed_documents.h"

#include <algorithm>

namespace plovera {

void ClosedDocuments::remember(const std::u16string& full_name) {
  if (full_name.empty()) return;
  forget(full_name);
  if (names_.size() == kKept) names_.pop_back();
  names_.insert(names_.begin(), full_name);
}

void ClosedDocuments::forget(const std::u16string& full_name) noexcept {
  names_.erase(std::remove(names_.begin(), names_.end(), full_name), names_.end());
}

}  // namespace plovera
