#include "session.h"

#include "commandbars.h"
#include "dispatch.h"
#include "log.h"

namespace standin {

Session::Session(HINSTANCE instance, const WordOptions& options)
    : word_(new Word(instance, options)) {
  addins_ = std::make_unique<AddinHost>(*word_);
}

Session::~Session() { quit(); }

void Session::start(bool raise_events) {
  // Word opens its blank document before it loads add-ins; the add-ins hear
  // of it through the start-up events.
  if (word_->windows().empty()) word_->open(L"Document1", DocumentState::blank);
  log_line(L"loading add-ins");
  log_line(L"add-ins connected: " + std::to_wstring(addins_->load_all()));
  if (!raise_events) return;
  WindowObj* active = word_->active_window();
  const bool fresh = active && active->document->path.empty();
  word_->raise_event(fresh ? L"NewDocument" : L"DocumentOpen");
  word_->raise_event(L"DocumentChange");
  word_->raise_event(L"WindowActivate");
}

int Session::remove_addins() {
  log_line(L"removing add-ins");
  const int removed = addins_->remove_all();
  log_line(L"add-ins removed: " + std::to_wstring(removed));
  return removed;
}

int Session::add_addins() {
  log_line(L"adding add-ins");
  const int added = addins_->add_all();
  log_line(L"add-ins connected: " + std::to_wstring(added));
  return added;
}

void Session::quit() {
  if (!word_) return;
  log_line(L"quitting");
  addins_->unload_all();
  report_.done = true;
  report_.inside_addin_call = calls_in_progress() > 0;
  report_.application_sinks = word_->application_sinks();
  report_.button_sinks = word_->command_bars().button_sinks();
  report_.refs = outstanding_references();
  log_line(L"references still held by add-ins: " + std::to_wstring(report_.refs.total) +
           (report_.inside_addin_call ? L" (quit inside a call of an add-in)" : L""));
  for (const std::wstring& holder : report_.refs.holders) log_line(L"  " + holder);
  if (report_.refs.over_released) log_line(L"over-released: " + std::to_wstring(report_.refs.over_released));
  word_->shut_down();
  Word* word = word_;
  word_ = nullptr;
  word->disown();
}

}  // namespace standin
