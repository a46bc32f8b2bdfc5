// What a user does in Word, with the application events Word raises for it:
// a document or window that becomes active raises WindowDeactivate for the
// window that was active, DocumentChange (when the active document changes)
// and then WindowActivate; a resize of the main window raises WindowSize; a
// document's close raises DocumentBeforeClose (before its save prompt) and
// the closing active window's WindowDeactivate; a save raises
// DocumentBeforeSave. A macro that sets a window's caption raises nothing.
#include <algorithm>

#include "file_dialog.h"
#include "guids.h"
#include "log.h"
#include "prompts.h"
#include "word.h"

namespace standin {
namespace {

template <class T>
void erase_value(std::vector<T*>& list, T* value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

}  // namespace

namespace {
std::wstring lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}
std::wstring full_name_of(const DocumentObj* d) { return d->path + L"\\" + d->name; }
// Word's error 5174, as a Word 2013 and later words it.
constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x800A142E);
}  // namespace

void Word::remember_file(const DocumentObj* document) {
  if (!document->path.empty()) files_.insert(lower(full_name_of(document)));
}

void Word::delete_file(const std::wstring& full_name) {
  files_.erase(lower(full_name));
  log_line(L"file deleted: " + full_name);
}

void Word::open_file(const std::wstring& full_name) {
  for (DocumentObj* d : documents_)
    if (!d->path.empty() && lower(full_name_of(d)) == lower(full_name))
      return activate(d->windows.front());
  if (!files_.count(lower(full_name))) {
    // The words outlive this call: the dispatcher copies them into EXCEPINFO.
    failure_text_ =
        L"Sorry, we couldn't find your file. Was it moved, renamed, or deleted?\n(" + full_name + L")";
    log_line(L"open failed: " + full_name);
    fail(kFileNotFound, failure_text_.c_str());
  }
  const size_t slash = full_name.find_last_of(L"\\/");
  if (slash == std::wstring::npos) fail(kFileNotFound, L"Sorry, we couldn't find your file.");
  open(full_name.substr(slash + 1), DocumentState::saved, full_name.substr(0, slash));
}

WindowObj* Word::open(const std::wstring& name, DocumentState state) {
  return open(name, state, kDefaultFolder);
}

WindowObj* Word::open(const std::wstring& name, DocumentState state, const std::wstring& folder) {
  const bool on_disk = state == DocumentState::saved || state == DocumentState::changed;
  const bool saved = state == DocumentState::saved || state == DocumentState::blank;
  auto* doc = new DocumentObj(*this, name, on_disk ? folder : L"", saved);
  doc->own();
  remember_file(doc);
  documents_.push_back(doc);
  log_line(L"open " + name);
  WindowObj* previous = active_;
  WindowObj* window = new_window(doc);
  const bool fresh = state == DocumentState::never_saved || state == DocumentState::blank;
  raise(fresh ? event::NewDocument : event::DocumentOpen, fresh ? L"NewDocument" : L"DocumentOpen",
        doc, nullptr);
  raise_deactivation(previous);
  raise_activation(window, previous ? previous->document : nullptr);
  return window;
}

WindowObj* Word::new_window(DocumentObj* document) {
  Frame* frame = sdi_ ? frame_for_new_window() : frames_.front().get();
  HWND view = frame->add_view(document->name);
  if (sdi_) frame->show_only(view);
  auto* window = new WindowObj(*this, document, frame, view);
  window->own();
  document->windows.push_back(window);
  windows_.push_back(window);
  active_ = window;
  recent_.push_back(window);
  show_active();
  return window;
}

void Word::activate(WindowObj* window, bool to_front) {
  if (!window || window == active_ || !window->connected()) return;
  WindowObj* previous_window = active_;
  DocumentObj* previous = active_ ? active_->document : nullptr;
  active_ = window;
  erase_value(recent_, window);
  recent_.push_back(window);
  show_active(to_front);
  raise_deactivation(previous_window);
  raise_activation(window, previous);
}

void Word::raise_deactivation(WindowObj* window) {
  if (window && window->connected())
    raise(event::WindowDeactivate, L"WindowDeactivate", window->document, window);
}

void Word::raise_activation(WindowObj* window, DocumentObj* previous_document) {
  if (!window || !window->connected()) return;
  if (window->document != previous_document) raise(event::DocumentChange, L"DocumentChange", nullptr, nullptr);
  if (window->connected()) raise(event::WindowActivate, L"WindowActivate", window->document, window);
}

bool Word::close_window(WindowObj* window, SaveOption option) {
  DocumentObj* doc = window->document;
  const bool last_view = doc->windows.size() == 1;
  if (last_view) {
    window->add_ref();
    raise(event::DocumentBeforeClose, L"DocumentBeforeClose", doc, nullptr);
    const bool still_open = window->connected();
    window->release();
    if (!still_open) return true;
  }
  if (last_view && !doc->saved && option != SaveOption::do_not_save) {
    // The prompts run message loops: anything may happen meanwhile, so the
    // window is looked at again afterwards.
    window->add_ref();
    HWND owner = window->frame->main();
    int answer = option == SaveOption::save ? IDYES : ask_save_changes(owner, doc->name);
    if (answer == IDYES && window->connected() && doc->path.empty())
      answer = ask_save_as(owner, doc->name) == IDOK ? IDYES : IDCANCEL;
    const bool still_open = window->connected();
    if (answer == IDYES && still_open) {
      doc->saved = true;
      if (doc->path.empty()) doc->path = kDefaultFolder;
    }
    window->release();
    if (answer == IDCANCEL) return false;
    if (!still_open) return true;
  }
  log_line(L"close " + window->caption());
  const bool was_active = window == active_;
  if (was_active) {
    window->add_ref();
    raise_deactivation(window);
    const bool still_open = window->connected();
    window->release();
    if (!still_open) return true;
  }
  DocumentObj* surviving_document = last_view ? nullptr : doc;
  forget_window(window);
  if (was_active && active_) raise_activation(active_, surviving_document);
  return true;
}

void Word::forget_window(WindowObj* window) {
  DocumentObj* doc = window->document;
  Frame* frame = window->frame;
  erase_value(windows_, window);
  erase_value(recent_, window);
  erase_value(doc->windows, window);
  frame->remove_view(window->view);
  window->forget_document();
  // Word's last frame stays, empty, for the next window.
  if (sdi_ && !windows_.empty()) retire_frame(frame);
  window->disconnect();
  if (doc->windows.empty()) {
    remember_file(doc);  // a saved document's file stays on disk
    erase_value(documents_, doc);
    doc->disconnect();
    doc->disown();
  }
  if (active_ == window) active_ = recent_.empty() ? nullptr : recent_.back();
  window->disown();
  show_active();
}

void Word::save_as(DocumentObj* document, const std::wstring& file_name) {
  raise(event::DocumentBeforeSave, L"DocumentBeforeSave", document, nullptr);
  const size_t slash = file_name.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    document->name = file_name;
    if (document->path.empty()) document->path = kDefaultFolder;
  } else {
    document->name = file_name.substr(slash + 1);
    document->path = file_name.substr(0, slash);
  }
  document->saved = true;
  log_line(L"saved as " + document->path + L"\\" + document->name);
  refresh_captions();
}

// Word passes the window's Selection with the event; the stand-in has no
// Selection object and passes the window itself (the add-in reads nothing
// of the argument).
void Word::type_in(WindowObj* window) {
  if (active_ != window) activate(window);
  window->document->saved = false;
  log_line(L"typed in " + window->caption());
  raise(event::WindowSelectionChange, L"WindowSelectionChange", nullptr, window);
}

void Word::save(DocumentObj* document) {
  raise(event::DocumentBeforeSave, L"DocumentBeforeSave", document, nullptr);
  document->saved = true;
  log_line(L"saved " + document->path + L"\\" + document->name);
}

void Word::resize(int width, int height) { resize_frame(frame(), width, height); }

// With one frame, Word reports its resize for the active window; with a
// frame per window, for the window it shows.
void Word::on_resized(Frame& frame) {
  WindowObj* window = sdi_ ? window_in(frame) : active_;
  if (window) raise(event::WindowSize, L"WindowSize", window->document, window);
}

bool Word::raise_event(const std::wstring& name) {
  DocumentObj* doc = active_ ? active_->document : nullptr;
  if (name == L"DocumentChange") raise(event::DocumentChange, L"DocumentChange", nullptr, nullptr);
  else if (!active_) return false;
  else if (name == L"DocumentOpen") raise(event::DocumentOpen, L"DocumentOpen", doc, nullptr);
  else if (name == L"NewDocument") raise(event::NewDocument, L"NewDocument", doc, nullptr);
  else if (name == L"WindowActivate") raise(event::WindowActivate, L"WindowActivate", doc, active_);
  else if (name == L"WindowSize") raise(event::WindowSize, L"WindowSize", doc, active_);
  else return false;
  return true;
}

WindowObj* Word::find_window(const std::wstring& caption) const {
  for (WindowObj* w : windows_)
    if (w->caption() == caption) return w;
  return nullptr;
}

DocumentObj* Word::find_document(const std::wstring& name) const {
  for (DocumentObj* d : documents_)
    if (d->name == name) return d;
  return nullptr;
}

void Word::show_active(bool to_front) {
  if (!sdi_) frames_.front()->show_only(active_ ? active_->view : nullptr);
  else if (active_ && to_front) active_->frame->bring_to_front();
  refresh_captions();
}

// Titles: "Name - Microsoft Word" on the one main window (Word 2003-2010);
// "Name - Word" on each window's own frame (2013 and later), "Word" alone
// on an empty one.
void Word::refresh_captions() {
  for (WindowObj* w : windows_) w->frame->set_view_caption(w->view, w->caption());
  if (!sdi_) {
    frames_.front()->set_title(active_ ? active_->caption() + L" - Microsoft Word" : L"Microsoft Word");
    return;
  }
  for (const auto& f : frames_) {
    const WindowObj* w = window_in(*f);
    f->set_title(w ? w->caption() + L" - Word" : L"Word");
  }
}

}  // namespace standin
