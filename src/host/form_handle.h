// The form that a forms engine hands to the logic, over the engine's own form
// object. A form may be unloaded from inside one of its own events (the
// handler closes the bar, or the host releases the add-in in a message loop
// the handler runs). Destroying the handle unloads the form at once — its
// window goes, its timers stop, no further event is delivered — but the
// engine's object lives on while a delivery of the engine still holds it
// (a shared_ptr pinned for the delivery), so the engine's code on the stack
// never returns into freed memory.
#pragma once

#include <memory>
#include <utility>

#include "host/forms.h"

namespace plovera::host {

// An engine's form object: a Form that can be unloaded before it is freed.
class UnloadableForm : public Form {
 public:
  // Destroys the window and stops the timers; no event is delivered after.
  // Calls on an unloaded form fail with host_error. Idempotent.
  virtual void unload() noexcept = 0;
};

class FormHandle final : public Form {
 public:
  explicit FormHandle(std::shared_ptr<UnloadableForm> form) noexcept : form_(std::move(form)) {}
  ~FormHandle() override { form_->unload(); }
  FormHandle(const FormHandle&) = delete;
  FormHandle& operator=(const FormHandle&) = delete;

  Hwnd hWnd() override { return form_->hWnd(); }
  float Width() override { return form_->Width(); }
  void Width(float twips) override { form_->Width(twips); }
  float Height() override { return form_->Height(); }
  void Picture(host::Picture p) override { form_->Picture(p); }
  void Show() override { form_->Show(); }
  void Look(host::Look look) override { form_->Look(look); }
  void Refresh() override { form_->Refresh(); }
  void Language(std::int32_t language_id) override { form_->Language(language_id); }
  void RightToLeft(bool on) override { form_->RightToLeft(on); }
  std::int16_t Count(Part array) override { return form_->Count(array); }
  void Load(Part array, std::int16_t index) override { form_->Load(array, index); }
  float Left(Element e) override { return form_->Left(e); }
  void Left(Element e, float twips) override { form_->Left(e, twips); }
  float Top(Element e) override { return form_->Top(e); }
  void Top(Element e, float twips) override { form_->Top(e, twips); }
  float Width(Element e) override { return form_->Width(e); }
  void Width(Element e, float twips) override { form_->Width(e, twips); }
  float Height(Element e) override { return form_->Height(e); }
  void Height(Element e, float twips) override { form_->Height(e, twips); }
  bool Visible(Element e) override { return form_->Visible(e); }
  void Visible(Element e, bool v) override { form_->Visible(e, v); }
  host::Picture Picture(Element e) override { return form_->Picture(e); }
  void Picture(Element e, host::Picture p) override { form_->Picture(e, p); }
  void Stretch(Element e, bool v) override { form_->Stretch(e, v); }
  const std::u16string& Caption(Element e) override { return form_->Caption(e); }
  void Caption(Element e, const std::u16string& text) override { form_->Caption(e, text); }
  void AutoSize(Element e, bool v) override { form_->AutoSize(e, v); }
  void CopyFont(Element to, Element from) override { form_->CopyFont(to, from); }
  void MaxWidth(Element e, float twips) override { form_->MaxWidth(e, twips); }
  void Unsaved(Element e, bool v) override { form_->Unsaved(e, v); }
  void Drag(Element e) override { form_->Drag(e); }
  void TimerInterval(Timer t, std::uint32_t ms) override { form_->TimerInterval(t, ms); }
  void TimerEnabled(Timer t, bool enabled) override { form_->TimerEnabled(t, enabled); }
  bool TimerEnabled(Timer t) override { return form_->TimerEnabled(t); }

 private:
  std::shared_ptr<UnloadableForm> form_;
};

}  // namespace plovera::host
