// The receiver of the popup menu's button clicks, and the commands behind
// them. Both buttons share one Tag, and Office raises a custom button's click
// for every receiver hooked to a button with that Tag, so this one receiver
// gets both clicks and tells them apart by the button's Parameter.
#pragma once

#include "host/word.h"

namespace plovera {

class Addin;

class buttonevent final : public host::ButtonEvents {
 public:
  explicit buttonevent(Addin& addin) noexcept : addin_(addin) {}
  ~buttonevent();

  const host::Ref<host::CommandBarButton>& myButton() const noexcept { return myButton_; }
  void myButton(host::Ref<host::CommandBarButton> button);

  void myButton_Click(const host::Ref<host::CommandBarButton>& Ctrl, bool& CancelDefault);
  void saveall();

  void Click(const host::Ref<host::CommandBarButton>& Ctrl, bool& CancelDefault) override {
    myButton_Click(Ctrl, CancelDefault);
  }

 private:
  Addin& addin_;
  host::Ref<host::CommandBarButton> myButton_;
  host::Ref<host::Subscription> hook_;
};

}  // namespace plovera
