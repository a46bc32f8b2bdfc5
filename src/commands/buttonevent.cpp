#include "commands/buttonevent.h"

#include <exception>

#include "addin/addin.h"

namespace plovera {
namespace {

constexpr std::int32_t kFileDialogSaveAs = 2;
constexpr std::int32_t kDialogConfirmed = -1;
constexpr std::int32_t kShowNormal = 1;

// The document count is a 16-bit number; more documents than that is an
// overflow, as it would be for the counter.
std::int16_t count16(std::int32_t n) {
  if (n > INT16_MAX || n < INT16_MIN) throw_host_error(status::overflow, "Documents.Count");
  return static_cast<std::int16_t>(n);
}

}  // namespace

buttonevent::~buttonevent() = default;

void buttonevent::myButton(host::Ref<host::CommandBarButton> button) {
  hook_.reset();
  myButton_ = std::move(button);
  if (myButton_) hook_ = myButton_->advise(*this);
}

void buttonevent::myButton_Click(const host::Ref<host::CommandBarButton>& Ctrl,
                                 bool& /*CancelDefault*/) {
  if (!Ctrl) return;
  std::u16string parameter;
  Ctrl->Parameter(parameter);
  if (parameter == u"SaveAll") {
    saveall();
  } else if (parameter == u"website") {
    host::WindowSystem& ws = addin_.ws();
    const host::Hwnd owner = addin_.frmAddIn.loaded() ? addin_.frmAddIn.hWnd() : 0;
    ws.shell_execute(owner, u"open", kWebSite, u"", ws.module_folder(), kShowNormal);
  }
}

// Saves every document with unsaved changes. A never-saved document gets
// Word's save-as dialog, pre-filled with its name; its window is made active
// first, because the dialog saves Word's active document. A document that
// fails to save does not stop the others; the first failure is handed back
// to Word once all have been tried.
void buttonevent::saveall() {
  host::Application& app = addin_.app();
  const std::int16_t n = count16(app.Documents()->Count());
  std::exception_ptr first_failure;
  std::u16string text;
  for (std::int16_t i = 1; i <= n; ++i) {
    try {
      host::Ref<host::Document> d = app.Documents()->Item(i);
      if (d->Saved()) continue;
      d->Path(text);
      if (!text.empty()) {
        d->Save();
        continue;
      }
      d->Name(text);
      d->ActiveWindow()->Activate();
      app.FileDialog(kFileDialogSaveAs)->InitialFileName(text);
      if (app.FileDialog(kFileDialogSaveAs)->Show() == kDialogConfirmed)
        app.FileDialog(kFileDialogSaveAs)->Execute();
    } catch (...) {
      if (!first_failure) first_failure = std::current_exception();
    }
  }
  if (first_failure) std::rethrow_exception(first_failure);
}

}  // namespace plovera
