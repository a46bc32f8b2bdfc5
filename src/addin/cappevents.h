// The receiver of Word's application events. Its only work: start the tab
// bar, once, on the first event that reports document or window activity.
#pragma once

#include "host/word.h"

namespace plovera {

class Addin;

class cappevents final : public host::ApplicationEvents {
 public:
  explicit cappevents(Addin& addin) noexcept : addin_(addin) {}
  ~cappevents();

  // xlapp: while it holds Word's Application, Word delivers its events here.
  // Assigning nothing unhooks the receiver.
  const host::Ref<host::Application>& xlapp() const noexcept { return xlapp_; }
  void xlapp(host::Ref<host::Application> app);

  void xlapp_DocumentOpen();
  void xlapp_NewDocument();
  void xlapp_WindowActivate();
  void xlapp_WindowSize();
  void xlapp_DocumentChange();

  void DocumentOpen() override { xlapp_DocumentOpen(); }
  void NewDocument() override { xlapp_NewDocument(); }
  void WindowActivate() override { xlapp_WindowActivate(); }
  void WindowSize() override { xlapp_WindowSize(); }
  void DocumentChange() override { xlapp_DocumentChange(); }

 private:
  void unhook_and_start();
  Addin& addin_;
  host::Ref<host::Application> xlapp_;
  host::Ref<host::Subscription> hook_;
};

}  // namespace plovera
