// Keeping the tab model in step with Word's windows by polling: one pass per
// tick, for every bar at once.
#pragma once

#include <string>
#include <vector>

#include "host/word.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class WindowSync {
 public:
  explicit WindowSync(TabModel& model) noexcept : model_(model) {}

  // One pass: keep Word's "show all windows in the taskbar" off (when asked:
  // Word 2003 to 2010), select the tab of Word's active window, refresh
  // changed captions, remove tabs whose window has gone, add tabs for
  // windows that have none.
  void sync_with_word(host::Application& word, bool keep_taskbar_off);
  // Lets go of Word's window collection (the add-in lets go of Word).
  void release() noexcept { windows_.reset(); }

 private:
  void refresh_tabs(host::Application& word);
  void add_missing_tabs(host::Application& word);
  void remove_tabs_not_in(host::Windows& windows, std::int32_t count);
  void add_tab_for_window(const host::Ref<host::Window>& window);
  void append_new_windows(std::int32_t word_count);
  // Removes the tab at `p`, the first removal of a pass opening the go.
  void remove_tab(Position p);
  void end_removals();

  TabModel& model_;
  host::Ref<host::Windows> windows_;  // Word's live collection, held between passes
  std::u16string caption_;            // scratch, reused so a pass allocates nothing
  std::vector<host::Ref<host::Window>> new_windows_;  // scratch of one pass's additions
  bool removing_ = false;  // a pass's removals are under way
};

}  // namespace plovera
