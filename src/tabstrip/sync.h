// Keeping the tab model in step with Word's windows by polling: one pass per
// tick, for every bar at once.
#pragma once

#include <string>

#include "host/word.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class WindowSync {
 public:
  explicit WindowSync(TabModel& model) noexcept : model_(model) {}

  // One pass: select the tab of Word's active window, refresh changed
  // captions, remove tabs whose window no longer answers, add tabs for
  // windows that have none.
  void sync_with_word(host::Application& word);
  // A window without a tab gets one at the right end.
  void add_tab_for_window(const host::Ref<host::Window>& window);

 private:
  TabModel& model_;
  std::u16string caption_;  // scratch, reused so a pass allocates nothing
};

}  // namespace plovera
