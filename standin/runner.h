// Runs a parsed scenario on a thread of its own. Steps that change Word run
// on the user-interface thread through the bridge; pointer steps use real
// input (SetCursorPos, SendInput) from this thread; checks are polled until
// they hold or their deadline passes (never a fixed sleep).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "scenario.h"
#include "session.h"
#include "ui_bridge.h"

namespace standin {

class Runner {
 public:
  Runner(Session& session, UiBridge& bridge, Scenario scenario, std::wstring out_dir);
  // Runs every step, then quits Word if no step did. 0 = passed, 1 = failed.
  int run();

 private:
  // A step's outcome: empty when it succeeded, otherwise what went wrong.
  using Outcome = std::wstring;
  using Handler = std::function<Outcome(const Step&)>;

  Outcome run_step(const Step& step);
  // Runs `work` on the user-interface thread; fails when Word is gone.
  Outcome on_ui(const std::function<Outcome()>& work);
  // Polls `probe` on the user-interface thread until it reports nothing.
  Outcome poll(const std::function<Outcome()>& probe);
  // Polls `probe` from this thread (it must not need the user-interface thread).
  Outcome poll_here(const std::function<Outcome()>& probe);

  // Real input: the pointer moved (and checked) to a screen point; a left click there.
  Outcome move_pointer(POINT p);
  Outcome click_at(POINT p);

  void add_word_steps();
  void add_input_steps();
  void add_menu_steps();
  void add_check_steps();
  void add_bar_checks();

  Session& session_;
  UiBridge& bridge_;
  Scenario scenario_;
  std::wstring out_dir_;
  DWORD deadline_ms_ = 2000;
  std::map<std::wstring, Handler> handlers_;
};

// Splits a blank-separated expectation ("Doc1 'My doc*' Doc3") into words;
// single quotes group a caption with blanks.
std::vector<std::wstring> expectation_words(const std::wstring& text);

}  // namespace standin
