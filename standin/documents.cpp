#include "documents.h"

#include <algorithm>

#include "file_dialog.h"
#include "frame.h"
#include "guids.h"
#include "word.h"

namespace standin {
namespace {

constexpr Member kDocumentMembers[] = {
    {L"Name", 0},         {L"Path", 3},          {L"FullName", 0x1D}, {L"Saved", 0x28},
    {L"ActiveWindow", 0x2A}, {L"Save", 0x6C},    {L"Activate", 0x71},
};
constexpr IID kDocumentIids[] = {iid::Document};

constexpr Member kWindowMembers[] = {
    {L"Caption", 0}, {L"Document", 2}, {L"Active", 0x1A}, {L"Index", 0x1C},
    {L"Hwnd", 0x27}, {L"Activate", 0x64}, {L"Close", 0x66},
};
constexpr IID kWindowIids[] = {iid::Window};

constexpr Member kCollectionMembers[] = {{L"Item", 0}, {L"Count", 2}};
constexpr Member kDocumentsMembers[] = {{L"Item", 0}, {L"Count", 2}, {L"Open", 0x13}};
constexpr IID kWindowsIids[] = {iid::Windows};
constexpr IID kDocumentsIids[] = {iid::Documents};

// Item(i) of a 1-based collection; Word also accepts a name.
template <class T, class Named>
T* item(const std::vector<T*>& list, const Args& args, Named name_of) {
  const VARIANT* index = args.at(0);
  if (!index) fail(DISP_E_PARAMNOTFOUND, L"Item needs an index");
  if (index->vt == VT_BSTR) {
    const std::wstring wanted = args.as_string(0);
    for (T* t : list)
      if (_wcsicmp(name_of(t).c_str(), wanted.c_str()) == 0) return t;
    fail(kNoSuchMember, L"The requested member of the collection does not exist.");
  }
  const long i = args.as_long(0);
  if (i < 1 || i > static_cast<long>(list.size()))
    fail(kNoSuchMember, L"The requested member of the collection does not exist.");
  return list[static_cast<size_t>(i - 1)];
}

}  // namespace

DocumentObj::DocumentObj(Word& word, std::wstring name_, std::wstring path_, bool saved_)
    : DispatchObject(kDocumentMembers, kDocumentIids),
      name(std::move(name_)),
      path(std::move(path_)),
      saved(saved_),
      word_(word) {}

void DocumentObj::call(DISPID id, const Args& args, VARIANT* result) {
  switch (id) {
    case 0: put_string(result, name); return;
    case 3: put_string(result, path); return;
    case 0x1D:
      word_.count_full_name_read();
      if (FAILED(full_name_failure)) fail(full_name_failure, L"FullName failed");
      if (!full_name_override.empty()) return put_string(result, full_name_override);
      put_string(result, path.empty() ? name : path + L"\\" + name);
      return;
    case 0x28:
      if (args.is_put()) saved = args.put_bool();
      else put_bool(result, saved);
      return;
    case 0x2A: {
      WindowObj* active = word_.active_window();
      WindowObj* w = active && active->document == this ? active : windows.front();
      put_object(result, w);
      return;
    }
    case 0x6C:
      // A never-saved document would need Word's save-as dialog; the add-in
      // handles those itself through FileDialog, so Save just records it.
      // Word raises DocumentBeforeSave for its add-ins' saves too.
      if (path.empty()) path = kDefaultFolder;
      word_.save(this);
      word_.refresh_captions();
      return;
    case 0x71: word_.activate(windows.front()); return;
  }
  fail(DISP_E_MEMBERNOTFOUND, L"Document member");
}

WindowObj::WindowObj(Word& word, DocumentObj* document_, Frame* frame_, HWND view_)
    : DispatchObject(kWindowMembers, kWindowIids),
      document(document_),
      frame(frame_),
      view(view_),
      word_(word) {}

namespace {
// The place in Word's Windows / Documents order; 0 once closed.
template <class T>
int place_in(const std::vector<T*>& list, const T* object) {
  const auto at = std::find(list.begin(), list.end(), object);
  return at == list.end() ? 0 : static_cast<int>(at - list.begin()) + 1;
}
}  // namespace

int DocumentObj::ordinal() const { return place_in(word_.documents(), this); }
int WindowObj::ordinal() const { return place_in(word_.windows(), this); }

std::wstring WindowObj::caption() const {
  if (!document) return last_caption_;
  if (!macro_caption_.empty()) return macro_caption_;
  const auto& views = document->windows;
  if (views.size() < 2) return document->name;
  const auto at = std::find(views.begin(), views.end(), this) - views.begin();
  return document->name + L":" + std::to_wstring(at + 1);
}

void WindowObj::forget_document() {
  last_caption_ = caption();
  document = nullptr;
  frame = nullptr;
  view = nullptr;
}

void WindowObj::call(DISPID id, const Args& args, VARIANT* result) {
  switch (id) {
    case 0: put_string(result, caption()); return;
    case 2: put_object(result, document); return;
    case 0x1A: put_bool(result, word_.active_window() == this); return;
    case 0x1C: {
      const auto& all = word_.windows();
      put_long(result, static_cast<long>(std::find(all.begin(), all.end(), this) - all.begin()) + 1);
      return;
    }
    case 0x27:  // the frame's handle, as a Long (handles fit in 32 bits)
      put_long(result, static_cast<long>(reinterpret_cast<LONG_PTR>(frame->main())));
      return;
    case 0x64: word_.activate(this); return;
    case 0x66: {
      const auto option = args.has(0) ? static_cast<SaveOption>(args.as_long(0)) : SaveOption::prompt;
      if (!word_.close_window(this, option)) fail(kCommandFailed, L"Command failed");
      return;
    }
  }
  fail(DISP_E_MEMBERNOTFOUND, L"Window member");
}

constexpr Member kLanguageSettingsMembers[] = {{L"LanguageID", 1}};
constexpr IID kLanguageSettingsIids[] = {iid::LanguageSettings};

LanguageSettingsObj::LanguageSettingsObj(Word& word)
    : DispatchObject(kLanguageSettingsMembers, kLanguageSettingsIids), word_(word) {}

void LanguageSettingsObj::call(DISPID id, const Args& args, VARIANT* result) {
  if (id != 1) fail(DISP_E_MEMBERNOTFOUND, L"LanguageSettings member");
  if (!args.has(0)) fail(DISP_E_PARAMNOTFOUND, L"LanguageID needs an identifier");
  const long which = args.as_long(0);
  if (which < 1 || which > 5) fail(E_INVALIDARG, L"Invalid procedure call or argument");
  put_long(result, word_.ui_language());
}

WindowsObj::WindowsObj(Word& word) : DispatchObject(kCollectionMembers, kWindowsIids), word_(word) {}

void WindowsObj::call(DISPID id, const Args& args, VARIANT* result) {
  if (id == 2) return put_long(result, static_cast<long>(word_.windows().size()));
  if (id != 0) fail(DISP_E_MEMBERNOTFOUND, L"Windows member");
  put_object(result, item(word_.windows(), args, [](WindowObj* w) { return w->caption(); }));
}

DocumentsObj::DocumentsObj(Word& word)
    : DispatchObject(kDocumentsMembers, kDocumentsIids), word_(word) {}

// Open(FileName, ...): only the file name is looked at; the document is not
// handed back (the add-in lets go of it at once).
void DocumentsObj::call(DISPID id, const Args& args, VARIANT* result) {
  if (id == 2) return put_long(result, static_cast<long>(word_.documents().size()));
  if (id == 0x13) {
    if (!args.has(0)) fail(DISP_E_PARAMNOTFOUND, L"Open needs a file name");
    return word_.open_file(args.as_string(0));
  }
  if (id != 0) fail(DISP_E_MEMBERNOTFOUND, L"Documents member");
  put_object(result, item(word_.documents(), args, [](DocumentObj* d) { return d->name; }));
}

}  // namespace standin
