#include "tabstrip/sync.h"

#include <unordered_set>

#include "base/first_failure.h"
#include "host/error.h"

namespace plovera {

// In the steady state a pass makes one call per tab (its caption) and three
// more (the taskbar option, the active window, the window count), and
// allocates nothing.
//
// The tabs a pass removes leave in one go, so that the bars lay their strips
// out once: the go opens at the first removal (a pass that removes nothing
// announces nothing more) and ends before any tab is appended, or with the
// pass, however it ends.
void WindowSync::sync_with_word(host::Application& word, bool keep_taskbar_off) {
  if (keep_taskbar_off) ignore_errors([&] {
      if (word.ShowWindowsInTaskbar()) word.ShowWindowsInTaskbar(false);
    });
  FirstFailure failure;
  failure.run([&] {
    refresh_tabs(word);
    add_missing_tabs(word);
  });
  failure.run([&] { end_removals(); });
  failure.rethrow();
}

void WindowSync::remove_tab(Position p) {
  if (!removing_) {
    removing_ = true;
    model_.begin_removals();
  }
  model_.remove_at(p);
}

void WindowSync::end_removals() {
  if (!removing_) return;
  removing_ = false;
  model_.end_removals();
}

// Word's active window cannot change during the pass (nothing else runs on
// Word's thread meanwhile), so it is read once, when the first tab needs it.
// A failing read selects nothing on this pass and closes nothing.
//
// A window is gone only when Word says so: a call on it reports the object
// disconnected. A call that is refused otherwise keeps the tab, and the next
// pass asks again, so a passing failure neither loses the user's order nor
// moves the tab to the end.
void WindowSync::refresh_tabs(host::Application& word) {
  host::Ref<host::Window> active;
  bool active_read = false;
  const std::int32_t n = model_.count();
  for (std::int32_t b = 1; b <= n && b <= model_.count(); ++b) {
    const Position p(b);
    if (!active_read) {
      active_read = true;
      ignore_errors([&] { active = word.ActiveWindow(); });
    }
    if (active && active == model_.window_at(p)) model_.activate(p);
    const status_t read = boundary_guard([&] { model_.window_at(p)->Caption(caption_); });
    if (failed(read)) {
      // The tab that slides into a removed tab's place is looked at next.
      if (object_gone(read)) {
        remove_tab(p);
        --b;
      }
      continue;
    }
    if (model_.caption_differs(p, caption_)) {
      model_.window_at(p)->Caption(caption_);
      model_.rename(p, caption_);
    }
  }
}

// Windows without a tab get one at the right end, in Word's order. A window
// that does not answer is skipped for this pass and gets its tab when it
// answers; the windows after it are not held up. The tabs of one pass are
// appended in one go, so the strip is aligned and the selection moved once.
void WindowSync::add_missing_tabs(host::Application& word) {
  if (!windows_) windows_ = word.Windows();
  std::int32_t m = 0;
  if (status_t st = boundary_guard([&] { m = windows_->Count(); }); failed(st)) {
    windows_.reset();  // asked for anew on the next pass
    throw_host_error(st, "Windows.Count");
  }
  if (model_.count() > m) remove_tabs_not_in(*windows_, m);
  end_removals();
  if (model_.count() >= m || model_.count() >= kMaxTabs) return;
  FirstFailure failure;
  failure.run([&] { model_.begin_appends(); });
  failure.run([&] { append_new_windows(m); });
  failure.run([&] { model_.end_appends(); });
  failure.rethrow();
}

// Word lists a new window last, so the windows without a tab are looked for
// from the end of Word's list, until as many were found as tabs are missing
// (one window opened: one call), then given their tabs in Word's order. When
// not all of them fit, the first ones in Word's order get the tabs left.
void WindowSync::append_new_windows(std::int32_t m) {
  const std::int32_t missing = m - model_.count();
  if (missing > kMaxTabs - model_.count()) {
    for (std::int32_t i = 1; i <= m && model_.count() < kMaxTabs; ++i) {
      ignore_errors([&] {
        host::Ref<host::Window> w = windows_->Item(i);
        if (!model_.has_tab(w)) add_tab_for_window(w);
      });
    }
    return;
  }
  new_windows_.clear();
  for (std::int32_t i = m; i >= 1 && static_cast<std::int32_t>(new_windows_.size()) < missing; --i) {
    ignore_errors([&] {
      host::Ref<host::Window> w = windows_->Item(i);
      if (!model_.has_tab(w)) new_windows_.push_back(std::move(w));
    });
  }
  for (auto w = new_windows_.rbegin(); w != new_windows_.rend(); ++w)
    ignore_errors([&] { add_tab_for_window(*w); });
  new_windows_.clear();
}

// More tabs than Word has windows: a tab whose window Word no longer lists
// (and that did not say it was gone) leaves. Only then is Word's list read
// whole.
void WindowSync::remove_tabs_not_in(host::Windows& windows, std::int32_t count) {
  std::unordered_set<const host::Window*> listed;
  for (std::int32_t i = 1; i <= count; ++i) listed.insert(windows.Item(i).get());
  for (std::int32_t p = model_.count(); p >= 1; --p)
    if (listed.count(model_.window_at(Position(p)).get()) == 0) remove_tab(Position(p));
}

// If the tab cannot be built, the model stays as it was and a later pass
// tries anew.
void WindowSync::add_tab_for_window(const host::Ref<host::Window>& window) {
  window->Caption(caption_);
  model_.append(window, caption_);
}

}  // namespace plovera
