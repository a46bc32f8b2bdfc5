// The receiver of Word's application events. Its only work: start the tab
// bar, once, after the first event that reports document or window activity
// (the event asks for the start; the add-in's next tick runs it).
#pragma once

#include "host/word.h"

namespace plovera {

class Addin;

class StartOnFirstEvent final : public host::ApplicationEvents {
 public:
  explicit StartOnFirstEvent(Addin& addin) noexcept : addin_(addin) {}
  ~StartOnFirstEvent();

  // While it holds Word's Application, Word delivers its events here.
  // Listening to nothing unhooks the receiver.
  const host::Ref<host::Application>& word() const noexcept { return word_; }
  void listen_to(host::Ref<host::Application> word);

  void on_document_open() { unhook_and_start(); }
  void on_new_document() { unhook_and_start(); }
  void on_window_activate() { unhook_and_start(); }
  void on_window_size() { unhook_and_start(); }
  void on_document_change();

  void DocumentOpen() override { on_document_open(); }
  void NewDocument() override { on_new_document(); }
  void WindowActivate() override { on_window_activate(); }
  void WindowSize() override { on_window_size(); }
  void DocumentChange() override { on_document_change(); }

 private:
  void unhook_and_start();
  Addin& addin_;
  host::Ref<host::Application> word_;
  host::Ref<host::Subscription> hook_;
};

}  // namespace plovera
