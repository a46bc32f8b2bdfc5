// Scenario steps on an open popup menu (a command bar shown with ShowPopup):
// read its entries, choose one with a real click, or dismiss it. They work
// from the scenario's thread, since Word's thread is inside the menu's loop.
#include <cwchar>

#include "runner.h"

namespace standin {
namespace {

constexpr wchar_t kMenuClass[] = L"#32768";
constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

struct OpenMenu {
  HWND window = nullptr;
  HMENU menu = nullptr;
};

std::wstring find_menu(OpenMenu& m) {
  m.window = FindWindowW(kMenuClass, nullptr);
  if (!m.window || !IsWindowVisible(m.window)) return L"no popup menu is open";
  m.menu = reinterpret_cast<HMENU>(SendMessageW(m.window, kGetMenuHandle, 0, 0));
  return m.menu ? L"" : L"the popup menu has no menu";
}

// Each entry's text; "-" for a separator, "(text)" for a greyed-out entry.
std::vector<std::wstring> entries(HMENU menu) {
  std::vector<std::wstring> list;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      list.push_back(L"-");
      continue;
    }
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    list.push_back(state & (MF_GRAYED | MF_DISABLED) ? L"(" + std::wstring(text) + L")" : text);
  }
  return list;
}

}  // namespace

void Runner::add_menu_steps() {
  handlers_[L"check menu"] = [this](const Step& s) {
    return poll_here([&]() -> Outcome {
      OpenMenu m;
      Outcome problem = find_menu(m);
      if (!problem.empty()) return problem;
      const auto shown = entries(m.menu);
      if (shown == s.args) return L"";
      std::wstring list;
      for (const auto& e : shown) list += L" \"" + e + L"\"";
      return L"the menu shows" + list;
    });
  };
  handlers_[L"menu choose"] = [this](const Step& s) {
    OpenMenu m;
    Outcome problem = poll_here([&] { return find_menu(m); });
    if (!problem.empty()) return problem;
    const int n = static_cast<int>(std::wcstol(s.args[0].c_str(), nullptr, 10));
    RECT r;
    if (n < 1 || !GetMenuItemRect(nullptr, m.menu, static_cast<UINT>(n - 1), &r))
      return L"the menu has no entry " + s.args[0];
    problem = click_at(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    if (!problem.empty()) return problem;
    return poll_here([] { return FindWindowW(kMenuClass, nullptr) && IsWindowVisible(FindWindowW(kMenuClass, nullptr)) ? L"the menu is still open" : L""; });
  };
  handlers_[L"menu cancel"] = [this](const Step&) {
    OpenMenu m;
    Outcome problem = poll_here([&] { return find_menu(m); });
    if (!problem.empty()) return problem;
    // The menu's loop reads the keyboard messages of Word's thread.
    PostMessageW(m.window, WM_KEYDOWN, VK_ESCAPE, 0);
    return poll_here([] { return FindWindowW(kMenuClass, nullptr) && IsWindowVisible(FindWindowW(kMenuClass, nullptr)) ? L"the menu is still open" : L""; });
  };
}

}  // namespace standin
