#include "tabstrip/sync.h"

#include "host/error.h"

namespace plovera {

// In the steady state a pass costs, per tab, one read of the active window,
// one identity comparison, one caption read and one comparison, and
// allocates nothing. Word's "show all windows in the taskbar" is kept off:
// the bar stands for the taskbar's list of documents.
void WindowSync::sync_with_word(host::Application& word) {
  ignore_errors([&] {
    if (word.ShowWindowsInTaskbar()) word.ShowWindowsInTaskbar(false);
  });

  const std::int32_t n = model_.count();
  for (std::int32_t b = 1; b <= n && b <= model_.count(); ++b) {
    const Position p(b);
    // A failing read of the active window selects nothing on this pass; it
    // says nothing about this tab's window, so no tab is closed for it.
    host::Ref<host::Window> active;
    ignore_errors([&] { active = word.ActiveWindow(); });
    if (active && active == model_.window_at(p)) model_.activate(p);
    // A window that no longer answers has closed. The tab that slides into
    // its place is looked at on the next pass.
    if (!ignore_errors([&] { model_.window_at(p)->Caption(caption_); })) {
      model_.remove_at(p);
      continue;
    }
    if (model_.caption_differs(p, caption_)) {
      model_.window_at(p)->Caption(caption_);
      model_.rename(p, caption_);
    }
  }

  host::Ref<host::Windows> windows = word.Windows();
  const std::int32_t m = windows->Count();
  if (model_.count() >= m || model_.count() >= kMaxTabs) return;
  for (std::int32_t i = 1; i <= m; ++i) {
    host::Ref<host::Window> w = windows->Item(i);
    if (model_.position_of(w) == Position()) add_tab_for_window(w);
  }
}

// Beyond the strip's capacity the window gets no tab. If the tab cannot be
// built, the model stays as it was and the next pass tries anew.
void WindowSync::add_tab_for_window(const host::Ref<host::Window>& window) {
  if (model_.count() >= kMaxTabs) return;
  window->Caption(caption_);
  model_.append(window, caption_);
}

}  // namespace plovera
