#include "bar_query.h"

#include <algorithm>

#include "win32/bar_instruments.h"

namespace standin {

using plovera::host::Part;
using plovera::win32::ElementQuery;

HWND find_bar_in(HWND frame) {
  return frame ? FindWindowExW(frame, nullptr, plovera::win32::kBarWindowClass, nullptr) : nullptr;
}

HWND find_bar(HWND main) {
  if (HWND child = find_bar_in(main)) return child;
  return FindWindowW(plovera::win32::kBarWindowClass, nullptr);
}

bool query_element(HWND bar, Part part, int index, ElementInfo& out) {
  ElementQuery q{};
  q.size = sizeof q;
  q.part = static_cast<std::uint8_t>(part);
  q.index = static_cast<std::int16_t>(index);
  if (!plovera::win32::query_bar_element(bar, q)) return false;
  q.caption[259] = L'\0';
  out.loaded = q.loaded;
  out.visible = q.visible != 0;
  out.rect = q.rect;
  out.picture = q.picture;
  out.caption = q.caption;
  return true;
}

std::vector<TabInfo> visible_tabs(HWND bar) {
  std::vector<TabInfo> tabs;
  ElementInfo templ;
  if (!query_element(bar, Part::caption, 0, templ)) return tabs;
  for (int i = 1; i < templ.loaded; ++i) {
    TabInfo t;
    t.index = i;
    if (!query_element(bar, Part::caption, i, t.caption) || !t.caption.visible) continue;
    query_element(bar, Part::face, i, t.face);
    query_element(bar, Part::close_button, i, t.close);
    query_element(bar, Part::icon, i, t.icon);
    tabs.push_back(t);
  }
  std::stable_sort(tabs.begin(), tabs.end(), [](const TabInfo& a, const TabInfo& b) {
    return a.face.rect.left < b.face.rect.left;
  });
  return tabs;
}

std::vector<std::wstring> tab_words(const std::vector<TabInfo>& tabs) {
  std::vector<std::wstring> words;
  for (const TabInfo& t : tabs) {
    const bool selected = t.face.picture == static_cast<int>(plovera::host::Picture::none);
    words.push_back(t.caption.caption + (selected ? L"*" : L""));
  }
  return words;
}

std::wstring describe_tabs(const std::vector<TabInfo>& tabs) {
  std::wstring s;
  for (const std::wstring& w : tab_words(tabs)) {
    if (!s.empty()) s += L' ';
    s += w.find(L' ') == std::wstring::npos ? w : L"'" + w + L"'";
  }
  return s;
}

POINT centre_on_screen(HWND bar, const RECT& r) {
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  return p;
}

}  // namespace standin
