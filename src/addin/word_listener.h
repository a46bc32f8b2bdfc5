// Listens to Word's application events for as long as a bar runs. An event
// only records that something may have changed and asks for quick ticks:
// it never calls into Word (it may arrive inside a call of the add-in's, in
// a message loop of Word's, or after Word let go).
#pragma once

#include "host/word.h"

namespace plovera {

class WordListener final : public host::ApplicationEvents {
 public:
  class Receiver {
   public:
    // Word said something happened; called inside Word's event.
    virtual void word_event() noexcept = 0;
    // Word moved the selection (the user may have changed the active
    // document); called inside Word's event, which comes with every key, so
    // it asks for no quick ticks.
    virtual void selection_changed() noexcept = 0;
    // Word is about to save a document.
    virtual void save_announced() noexcept = 0;

   protected:
    ~Receiver() = default;
  };

  explicit WordListener(Receiver& receiver) noexcept : receiver_(receiver) {}

  // Hooks the listener to `word`'s events (throws when Word refuses);
  // listening to nothing unhooks it. Holds only the subscription: Word's
  // Application is the add-in's to hold.
  void listen_to(host::Application* word);
  bool listening() const noexcept { return hook_ != nullptr; }

  void DocumentOpen() override { receiver_.word_event(); }
  void NewDocument() override { receiver_.word_event(); }
  void WindowActivate() override { receiver_.word_event(); }
  void WindowSize() override { receiver_.word_event(); }
  void DocumentChange() override { receiver_.word_event(); }
  void WindowDeactivate() override { receiver_.word_event(); }
  void DocumentBeforeClose() override { receiver_.word_event(); }
  void DocumentBeforeSave() override {
    receiver_.save_announced();
    receiver_.word_event();
  }
  void WindowSelectionChange() override { receiver_.selection_changed(); }

 private:
  Receiver& receiver_;
  host::Ref<host::Subscription> hook_;
};

}  // namespace plovera
