// One run of the stand-in Word on its user-interface thread: Word itself, the
// add-ins it loads, and what was left over when it quit.
#pragma once

#include <memory>

#include "addins.h"
#include "com_object.h"
#include "word.h"

namespace standin {

// Taken after the add-ins were disconnected and released, before Word
// closes its own objects: what the add-ins failed to let go of.
struct QuitReport {
  bool done = false;
  // Word quit inside a call of an add-in (in the message loop of a popup
  // menu or a prompt): that call still held what it was using.
  bool inside_addin_call = false;
  RefReport refs;
  size_t application_sinks = 0;
  size_t button_sinks = 0;
};

class Session {
 public:
  Session(HINSTANCE instance, const WordOptions& options);
  ~Session();

  // Word is up (not yet quit).
  bool running() const { return word_ != nullptr; }
  Word& word() { return *word_; }

  // Loads the add-ins; with `raise_events`, then raises Word's start-up
  // events for the active (by default a new blank) document.
  void start(bool raise_events);
  // The COM Add-ins dialog while Word runs: the user removes every connected
  // add-in / adds back every registered one. Each returns how many; neither
  // raises an application event.
  int remove_addins();
  int add_addins();
  bool addins_connected() const { return addins_->loaded() > 0; }
  void quit();
  const QuitReport& quit_report() const { return report_; }

 private:
  Word* word_;
  std::unique_ptr<AddinHost> addins_;
  QuitReport report_;
};

}  // namespace standin
