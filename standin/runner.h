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
  ~Runner();
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;
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
  // Polls `probe` from this thread (it must not need the user-interface
  // thread), until the scenario's deadline or `deadline_ms` when given.
  Outcome poll_here(const std::function<Outcome()>& probe, DWORD deadline_ms = 0);

  // Runs `work` on Word's thread with Word, failing when Word has quit.
  Outcome with_word(const std::function<Outcome(Word&)>& work);
  // The same with the Word window whose caption is the step's first word.
  Outcome with_window(const Step& s, const std::function<void(Word&, WindowObj*)>& act);
  // Polls `probe` with Word on Word's thread.
  Outcome poll_word(const std::function<Outcome(Word&)>& probe);

  // Real input: the pointer moved (and checked) to a screen point; a left click there.
  Outcome move_pointer(POINT p);
  Outcome click_at(POINT p);
  Outcome point_at(const std::function<Outcome(POINT&)>& locate);

  // Frame `number` (from 1; see Word::frame_at), or with 0 Word's main
  // window (the active window's frame); null when there is no such frame.
  static Frame* frame_of(Word& word, int number);
  // The tab bar a step means: docked in frame N, or (naming none) in Word's
  // main window or still top-level. On Word's thread.
  Outcome bar_of(const Step& s, HWND& bar);
  // The decoy Word process: started, and ended by its own window and id.
  Outcome open_decoy();
  Outcome close_decoy();
  // Waits for the open dialog of class `cls` (whose text names the step's
  // second word, when given).
  Outcome find_dialog(const wchar_t* cls, const Step& s, HWND& dialog);
  // Presses button `button_id` of the open dialog of class `cls`.
  Outcome answer_dialog(const wchar_t* cls, int button_id, const Step& s);

  void add_document_steps();
  void add_session_steps();
  void add_addin_steps();
  void add_pointer_steps();
  void add_button_steps();
  void add_menu_steps();
  void add_word_checks();
  void add_addin_checks();
  void add_bar_checks();
  void add_frame_steps();
  void add_frame_checks();
  void add_decoy_steps();
  void add_robustness_steps();
  void add_diagnostics_steps();
  void add_access_steps();
  void add_timing_steps();
  void add_shell_steps();

  Session& session_;
  UiBridge& bridge_;
  Scenario scenario_;
  std::wstring out_dir_;
  DWORD deadline_ms_ = 10000;
  std::map<std::wstring, Handler> handlers_;
  PROCESS_INFORMATION decoy_{};
  bool holds_clipboard_ = false;  // this thread has the clipboard open
};

// Splits a blank-separated expectation ("Doc1 'My doc*' Doc3") into words;
// single quotes group a caption with blanks.
std::vector<std::wstring> expectation_words(const std::wstring& text);

}  // namespace standin
