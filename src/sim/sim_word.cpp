// SimWord: Word's windows and documents, saving, and the test-side API.
// The members the add-in calls are in sim_word_objects.cpp, the command
// bars and events in sim_office.cpp.
#include "sim/sim_word.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace plovera::sim {
namespace {

constexpr const char* kNames[] = {
    "Application.Version", "Application.Windows", "Application.ActiveWindow",
    "Application.ShowWindowsInTaskbar.get", "Application.ShowWindowsInTaskbar.let",
    "Application.Width", "Application.Documents", "Application.FileDialog",
    "Application.CommandBars", "Application.advise",
    "Windows.Count", "Windows.Item",
    "Window.Caption", "Window.Activate", "Window.Close", "Window.Hwnd",
    "Documents.Count", "Documents.Item",
    "Document.Name", "Document.Path", "Document.Saved", "Document.Save",
    "Document.ActiveWindow",
    "FileDialog.InitialFileName", "FileDialog.Show", "FileDialog.Execute",
    "CommandBars.Item", "CommandBars.Add",
    "CommandBar.Delete", "CommandBar.Controls", "CommandBar.ShowPopup",
    "CommandBarControls.Add",
    "CommandBarButton.FaceId", "CommandBarButton.Caption", "CommandBarButton.TooltipText",
    "CommandBarButton.Style", "CommandBarButton.Tag", "CommandBarButton.Parameter.let",
    "CommandBarButton.Parameter.get", "CommandBarButton.advise",
    "HostObject.QueryApplication",
    "Window.Document", "Document.FullName", "Application.LanguageSettings",
    "LanguageSettings.LanguageID", "Application.Build",
    "Documents.Open", "CommandBarButton.Visible", "CommandBarButton.Enabled",
    "CommandBarButton.BeginGroup",
};
static_assert(std::size(kNames) == static_cast<std::size_t>(WordCall::count_));

std::u16string decimal(std::size_t n) {
  std::u16string text;
  for (char c : std::to_string(n)) text.push_back(static_cast<char16_t>(c));
  return text;
}

template <class T>
void erase_value(std::vector<T*>& list, T* value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

}  // namespace

const std::span<const char* const> kWordCallNames{kNames};

SimWord::SimWord()
    : CallMeter(kWordCallNames),
      app_(new SimApplication(*this, ledger_)),
      host_object_(new SimHostObject(*this, ledger_)),
      windows_object_(new SimWindows(*this, ledger_)),
      documents_object_(new SimDocuments(*this, ledger_)),
      bars_object_(new SimCommandBars(*this, ledger_)),
      language_settings_(new SimLanguageSettings(*this, ledger_)) {}

SimWord::~SimWord() = default;

void SimWord::enter_call(WordCall call) {
  const status_t s = enter(static_cast<std::size_t>(call));
  if (failed(s)) throw host_error(s, call_name(call));
}

host::Ref<host::HostObject> SimWord::host_object() {
  return host::Ref<host::HostObject>(host_object_.get());
}

// ---- Windows and documents ------------------------------------------------

SimDocument& SimWord::open_document(std::u16string name, std::u16string path, bool saved) {
  document_store_.emplace_back(new SimDocument(*this, ledger_));
  SimDocument& doc = *document_store_.back();
  doc.name_ = std::move(name);
  doc.path_ = std::move(path);
  doc.saved_ = saved;
  if (!doc.path_.empty()) files_.insert(doc.path_ + u"\\" + doc.name_);
  documents_.push_back(&doc);
  new_window(doc, [this] { raise_DocumentOpen(); });
  return doc;
}

std::u16string SimWord::missing_file_text(const std::u16string& full_name) {
  return u"Sorry, we couldn't find your file. Was it moved, renamed, or deleted?\n(" + full_name +
         u")";
}

// As Word: a document open under that name is activated; a file on disk
// opens in a new window; no such file fails with Word's words.
void SimWord::open_file(const std::u16string& full_name) {
  for (SimDocument* d : documents_)
    if (d->path_ + u"\\" + d->name_ == full_name) return activate(*d->windows_.front());
  if (!files_.count(full_name)) {
    last_failure_text() = missing_file_text(full_name);
    throw host_error(status::fail, call_name(WordCall::DocumentsOpen));
  }
  const std::size_t slash = full_name.rfind(u'\\');
  if (slash == std::u16string::npos) return void(open_document(full_name));
  open_document(full_name.substr(slash + 1), full_name.substr(0, slash), true);
}

SimWindow& SimWord::new_window(SimDocument& doc) { return new_window(doc, [] {}); }

SimWindow& SimWord::new_window(SimDocument& doc, const std::function<void()>& opened) {
  if (!doc.open_) throw std::logic_error("new_window on a closed document");
  window_store_.emplace_back(new SimWindow(*this, ledger_, doc));
  SimWindow& w = *window_store_.back();
  doc.windows_.push_back(&w);
  windows_.push_back(&w);
  if (frames_) give_frame(w);
  caption_windows(doc);
  SimWindow* previous = active_;
  set_active(w);
  opened();
  raise_activation(previous, w);
  return w;
}

void SimWord::close_window(SimWindow& w) {
  if (!w.open_) return;
  if (w.doc_->windows_.size() == 1) raise_DocumentBeforeClose();
  if (active_ == &w) raise_WindowDeactivate();
  if (!w.open_) return;  // a receiver closed it meanwhile
  w.open_ = false;
  erase_value(windows_, &w);
  if (frames_) close_frame(w);
  SimDocument& doc = *w.doc_;
  erase_value(doc.windows_, &w);
  if (doc.windows_.empty()) {
    doc.open_ = false;
    erase_value(documents_, &doc);
  } else {
    caption_windows(doc);
  }
  if (active_ == &w) {
    activate_next_after_close();
    if (active_) raise_DocumentChange(), raise_WindowActivate();
  }
}

void SimWord::unlist_window(SimWindow& w) { erase_value(windows_, &w); }

void SimWord::close_document(SimDocument& doc) {
  while (!doc.windows_.empty()) close_window(*doc.windows_.back());
}

void SimWord::set_caption(SimWindow& w, std::u16string text) { set_window_caption(w, std::move(text)); }

void SimWord::rename_document(SimDocument& doc, std::u16string name) {
  raise_DocumentBeforeSave();
  doc.name_ = std::move(name);
  caption_windows(doc);
}

void SimWord::edit(SimDocument& doc) {
  doc.saved_ = false;
  raise_WindowSelectionChange();
}

void SimWord::save(SimDocument& doc) {
  raise_DocumentBeforeSave();
  doc.saved_ = true;
  ++doc.save_count_;
}

void SimWord::activate(SimWindow& w) {
  if (!w.open_) throw std::logic_error("activate on a closed window");
  if (active_ == &w) return;
  SimWindow* previous = active_;
  set_active(w);
  raise_activation(previous, w);
}

void SimWord::set_active(SimWindow& w) {
  active_ = &w;
  w.last_activated_ = ++activation_clock_;
  if (frames_) frames_->bring_to_top(w.frame_.main);
}

// As Word: the window that was active is deactivated, then the new one
// activated (DocumentChange first when the document changes).
void SimWord::raise_activation(SimWindow* previous, SimWindow& w) {
  if (previous && previous->open_) raise_WindowDeactivate();
  if (!previous || previous->doc_ != w.doc_) raise_DocumentChange();
  if (w.open_) raise_WindowActivate();
}

// Word's captions: the name alone for a single window, "Name:k" for each of
// several, numbered in creation order.
void SimWord::caption_windows(SimDocument& doc) {
  const auto& list = doc.windows_;
  if (list.size() == 1) {
    set_window_caption(*list.front(), doc.name_);
    return;
  }
  for (std::size_t k = 0; k < list.size(); ++k) {
    set_window_caption(*list[k], doc.name_ + u":" + decimal(k + 1));
  }
}

void SimWord::activate_next_after_close() {
  active_ = nullptr;
  for (SimWindow* w : windows_) {
    if (!active_ || w->last_activated_ > active_->last_activated_) active_ = w;
  }
  if (frames_ && active_) frames_->bring_to_top(active_->frame_.main);
}

// ---- Saving ------------------------------------------------------------

void SimWord::dialog_answers(std::vector<std::int32_t> answers) {
  dialog_answers_ = std::move(answers);
  next_answer_ = 0;
}

std::int32_t SimWord::next_dialog_answer() {
  if (next_answer_ < dialog_answers_.size()) return dialog_answers_[next_answer_++];
  return -1;
}

SimFileDialog& SimWord::new_dialog(std::int32_t type) {
  dialog_store_.emplace_back(new SimFileDialog(*this, ledger_, type));
  dialog_list_.push_back(dialog_store_.back().get());
  return *dialog_store_.back();
}

// The dialog saves Word's active document under `file`: a name with a folder
// gives both the document's folder and its name; no name keeps the
// document's own.
void SimWord::save_active_document_as(std::u16string file) {
  if (!active_) throw host_error(status::fail, call_name(WordCall::FileDialogExecute));
  SimDocument& doc = *active_->doc_;
  raise_DocumentBeforeSave();  // before the save, and before the new name
  if (file.empty()) file = doc.name_;
  const auto slash = file.find_last_of(u"\\/");
  if (slash != std::u16string::npos) {
    doc.path_ = file.substr(0, slash);
    doc.name_ = file.substr(slash + 1);
  } else {
    doc.name_ = file;
  }
  doc.saved_ = true;
  ++doc.save_count_;
  saves_.push_back({&doc, file, true});
  caption_windows(doc);
}

}  // namespace plovera::sim
