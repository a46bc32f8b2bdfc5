// The stand-in's instruments (bar_instruments.h): the answer to the element
// query, and the paint counter.
#include "win32/bar_instruments.h"

#include <ntsecapi.h>

#include <algorithm>

#include "win32/form_window.h"

namespace plovera::win32 {

using host::Part;

namespace {

bool is_high_surrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }

// Copies as much of `text` as fits, never half of a surrogate pair.
void copy_caption(const std::u16string& text, wchar_t (&out)[260]) noexcept {
  std::size_t n = std::min(text.size(), std::size(out) - 1);
  if (n < text.size() && n > 0 && is_high_surrogate(text[n - 1])) --n;
  std::copy_n(text.begin(), n, out);
  out[n] = L'\0';
}

}  // namespace

WPARAM FormWindow::new_element_query_key() noexcept {
  WPARAM key = 0;
  if (!RtlGenRandom(&key, sizeof key)) return 0;  // no key: no query
  return key;
}

// Nothing of the message is looked at before the sender is known to be this
// thread and the key is right: the parameter is an address to write to.
LRESULT FormWindow::answer_element_query(WPARAM key, LPARAM lp) noexcept {
  if (InSendMessageEx(nullptr) != ISMEX_NOSEND) return 0;  // another thread or process
  if (key == 0) return lp == 0 ? static_cast<LRESULT>(element_query_key_) : 0;
  if (key != element_query_key_) {
    element_query_key_ = 0;  // a guess: the query stays off
    return 0;
  }
  auto* q = reinterpret_cast<ElementQuery*>(lp);
  if (!q || q->size < sizeof(ElementQuery)) return 0;
  q->loaded = q->visible = q->picture = 0;
  q->rect = {};
  q->caption[0] = L'\0';
  if (q->part > static_cast<std::uint8_t>(Part::right_arrow)) return 0;
  const auto part = static_cast<Part>(q->part);
  if (part == Part::bar) {
    q->loaded = 1;
    q->visible = hwnd_ && IsWindowVisible(hwnd_);
    if (hwnd_) GetClientRect(hwnd_, &q->rect);
    q->picture = static_cast<std::int32_t>(picture_);
    return 1;
  }
  q->loaded = elements_.count(part);
  const ElementState* s = elements_.find({part, q->index});
  if (!s) return 0;
  q->visible = s->visible;
  q->rect = pixel_rect(*s);
  q->picture = static_cast<std::int32_t>(s->picture);
  if (is_label(part)) copy_caption(s->caption, q->caption);
  return 1;
}

std::uint32_t bar_paint_count(HWND bar) noexcept {
  wchar_t name[64] = {};
  if (!GetClassNameW(bar, name, 64) || lstrcmpW(name, kBarWindowClass) != 0) return 0;
  if (GetWindowThreadProcessId(bar, nullptr) != GetCurrentThreadId()) return 0;
  const auto* form = reinterpret_cast<const FormWindow*>(GetWindowLongPtrW(bar, GWLP_USERDATA));
  return form ? form->paint_count_for_testing() : 0;
}

}  // namespace plovera::win32
