#include "com_object.h"

#include <set>

namespace standin {
namespace {

std::set<Counted*>& live_objects() {
  static std::set<Counted*> objects;
  return objects;
}
long g_over_released = 0;

}  // namespace

Counted::Counted() { live_objects().insert(this); }

Counted::~Counted() { live_objects().erase(this); }

ULONG Counted::add_ref() noexcept { return static_cast<ULONG>(++refs_); }

ULONG Counted::release() noexcept {
  if (refs_ <= 0) {
    // A Release the caller never earned: an over-release by the add-in.
    ++g_over_released;
    return 0;
  }
  const LONG left = --refs_;
  if (left == 0) die_if_unused();
  return static_cast<ULONG>(left);
}

void Counted::disown() noexcept {
  owned_ = false;
  die_if_unused();
}

void Counted::die_if_unused() noexcept {
  if (!owned_ && refs_ == 0) delete this;
}

RefReport outstanding_references() {
  RefReport r;
  r.over_released = g_over_released;
  for (Counted* o : live_objects()) {
    if (o->refs() == 0) continue;
    r.total += o->refs();
    r.holders.push_back(o->describe() + L": " + std::to_wstring(o->refs()));
  }
  return r;
}

void fail(HRESULT hr, const wchar_t* what) { throw ComError{hr, what}; }

}  // namespace standin
