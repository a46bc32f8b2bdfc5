// The members of Word's object model that the add-in calls: Application,
// Windows, Window, Documents, Document, FileDialog and the host object.
// Each call is counted first (sim_calls.h), then checked against the state
// it finds (a callback run by the count may have changed it).
#include "sim/sim_word.h"

namespace plovera::sim {
namespace {

template <class T>
host::Ref<T> ref_to(T* object) {
  return host::Ref<T>(object);
}

}  // namespace

// ---- Application --------------------------------------------------------

void SimApplication::Version(std::u16string& out) {
  word_.enter_call(WordCall::ApplicationVersion);
  out.assign(word_.version_);
}

// Word's build: its version with a build and a revision number.
void SimApplication::Build(std::u16string& out) {
  word_.enter_call(WordCall::ApplicationBuild);
  out.assign(word_.version_ + u".4000.1000");
}

host::Ref<host::Windows> SimApplication::Windows() {
  word_.enter_call(WordCall::ApplicationWindows);
  return ref_to<host::Windows>(word_.windows_object_.get());
}

host::Ref<host::Window> SimApplication::ActiveWindow() {
  word_.enter_call(WordCall::ApplicationActiveWindow);
  // Word reports an error when no document window is open.
  if (!word_.active_) throw host_error(status::fail, word_.call_name(WordCall::ApplicationActiveWindow));
  return ref_to<host::Window>(word_.active_);
}

bool SimApplication::ShowWindowsInTaskbar() {
  word_.enter_call(WordCall::ApplicationShowWindowsInTaskbarGet);
  return word_.taskbar_;
}

void SimApplication::ShowWindowsInTaskbar(bool v) {
  word_.enter_call(WordCall::ApplicationShowWindowsInTaskbarLet);
  word_.taskbar_ = v;
}

std::int32_t SimApplication::Width() {
  word_.enter_call(WordCall::ApplicationWidth);
  return word_.width_points_;
}

host::Ref<host::Documents> SimApplication::Documents() {
  word_.enter_call(WordCall::ApplicationDocuments);
  return ref_to<host::Documents>(word_.documents_object_.get());
}

host::Ref<host::FileDialog> SimApplication::FileDialog(std::int32_t type) {
  word_.enter_call(WordCall::ApplicationFileDialog);
  return ref_to<host::FileDialog>(&word_.new_dialog(type));
}

host::Ref<host::CommandBars> SimApplication::CommandBars() {
  word_.enter_call(WordCall::ApplicationCommandBars);
  return ref_to<host::CommandBars>(word_.bars_object_.get());
}

host::Ref<host::LanguageSettings> SimApplication::LanguageSettings() {
  word_.enter_call(WordCall::ApplicationLanguageSettings);
  return ref_to<host::LanguageSettings>(word_.language_settings_.get());
}

std::int32_t SimLanguageSettings::LanguageID(std::int32_t id) {
  word_.enter_call(WordCall::LanguageSettingsLanguageID);
  // Office rejects identifiers outside MsoAppLanguageID (1 to 5).
  if (id < 1 || id > 5) throw host_error(status::invalid_arg, word_.call_name(WordCall::LanguageSettingsLanguageID));
  return word_.ui_language_;
}

host::Ref<host::Subscription> SimApplication::advise(host::ApplicationEvents& sink) {
  word_.enter_call(WordCall::ApplicationAdvise);
  return ref_to<host::Subscription>(&word_.hook(&sink, nullptr, nullptr));
}

host::Ref<host::Application> SimHostObject::QueryApplication() {
  word_.enter_call(WordCall::HostObjectQueryApplication);
  if (word_.lack_application_) {
    throw host_error(status::no_interface, word_.call_name(WordCall::HostObjectQueryApplication));
  }
  return ref_to<host::Application>(word_.app_.get());
}

// ---- Windows --------------------------------------------------------------

std::int32_t SimWindows::Count() {
  word_.enter_call(WordCall::WindowsCount);
  return static_cast<std::int32_t>(word_.windows_.size());
}

host::Ref<host::Window> SimWindows::Item(std::int32_t index) {
  word_.enter_call(WordCall::WindowsItem);
  const auto& list = word_.windows_;
  if (index < 1 || static_cast<std::size_t>(index) > list.size()) {
    throw host_error(status::bad_index, word_.call_name(WordCall::WindowsItem));
  }
  return ref_to<host::Window>(list[static_cast<std::size_t>(index) - 1]);
}

void SimWindow::Caption(std::u16string& out) {
  word_.enter_call(WordCall::WindowCaption);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::WindowCaption));
  if (failed(refusal_)) throw host_error(refusal_, word_.call_name(WordCall::WindowCaption));
  out.assign(caption_);  // reuses the caller's capacity
}

host::Ref<host::Document> SimWindow::Document() {
  word_.enter_call(WordCall::WindowDocument);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::WindowDocument));
  return ref_to<host::Document>(doc_);
}

void SimWindow::Activate() {
  word_.enter_call(WordCall::WindowActivate);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::WindowActivate));
  word_.activate(*this);
}

void SimWindow::Close() {
  word_.enter_call(WordCall::WindowClose);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::WindowClose));
  bool close = true;
  if (word_.close_prompt_) {
    auto prompt = word_.close_prompt_;  // the prompt may replace itself
    close = prompt(*this);
  }
  // Word reports a close the user cancelled at the save prompt as a failed
  // command (its error 4198).
  if (!close) throw host_error(status::fail, word_.call_name(WordCall::WindowClose));
  word_.close_window(*this);
}

host::Hwnd SimWindow::Hwnd() {
  word_.enter_call(WordCall::WindowHwnd);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::WindowHwnd));
  return frame_.main ? frame_.main : word_.single_main_;
}

// ---- Documents --------------------------------------------------------------

void SimDocuments::Open(const std::u16string& file_name) {
  word_.enter_call(WordCall::DocumentsOpen);
  word_.open_file(file_name);
}

std::int32_t SimDocuments::Count() {
  word_.enter_call(WordCall::DocumentsCount);
  return static_cast<std::int32_t>(word_.documents_.size());
}

host::Ref<host::Document> SimDocuments::Item(std::int32_t index) {
  word_.enter_call(WordCall::DocumentsItem);
  const auto& list = word_.documents_;
  if (index < 1 || static_cast<std::size_t>(index) > list.size()) {
    throw host_error(status::bad_index, word_.call_name(WordCall::DocumentsItem));
  }
  return ref_to<host::Document>(list[static_cast<std::size_t>(index) - 1]);
}

void SimDocument::Name(std::u16string& out) {
  word_.enter_call(WordCall::DocumentName);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::DocumentName));
  out.assign(name_);
}

void SimDocument::Path(std::u16string& out) {
  word_.enter_call(WordCall::DocumentPath);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::DocumentPath));
  out.assign(path_);
}

void SimDocument::FullName(std::u16string& out) {
  word_.enter_call(WordCall::DocumentFullName);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::DocumentFullName));
  out.assign(path_);
  if (!path_.empty()) out.push_back(u'\\');
  out.append(name_);
}

bool SimDocument::Saved() {
  word_.enter_call(WordCall::DocumentSaved);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::DocumentSaved));
  return saved_;
}

void SimDocument::Save() {
  word_.enter_call(WordCall::DocumentSave);
  if (!open_) throw host_error(status::disconnected, word_.call_name(WordCall::DocumentSave));
  // Word tells its add-ins of every save, their own included, before it saves.
  word_.raise_DocumentBeforeSave();
  saved_ = true;
  ++save_count_;
  word_.saves_.push_back({this, name_, false});
}

host::Ref<host::Window> SimDocument::ActiveWindow() {
  word_.enter_call(WordCall::DocumentActiveWindow);
  if (!open_ || windows_.empty()) {
    throw host_error(status::disconnected, word_.call_name(WordCall::DocumentActiveWindow));
  }
  return ref_to<host::Window>(windows_.front());
}

// ---- FileDialog -------------------------------------------------------------

void SimFileDialog::InitialFileName(const std::u16string& name) {
  word_.enter_call(WordCall::FileDialogInitialFileName);
  word_.dialog_names_[type_] = name;
  initial_name_ = name;
}

std::int32_t SimFileDialog::Show() {
  word_.enter_call(WordCall::FileDialogShow);
  initial_name_ = word_.dialog_names_[type_];
  ++shows_;
  return word_.next_dialog_answer();
}

void SimFileDialog::Execute() {
  word_.enter_call(WordCall::FileDialogExecute);
  initial_name_ = word_.dialog_names_[type_];
  word_.save_active_document_as(initial_name_);
  ++executes_;
}

}  // namespace plovera::sim
