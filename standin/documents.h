// Word's documents and document windows as automation objects, and the two
// collections that list them. Each Word window is one object for its whole
// life, so the add-in can compare windows by identity; once closed, the
// object stays alive for whoever holds it but every call on it fails.
#pragma once

#include <string>
#include <vector>

#include "dispatch.h"

namespace standin {

class Frame;
class Word;
class WindowObj;

class DocumentObj final : public DispatchObject {
 public:
  DocumentObj(Word& word, std::wstring name, std::wstring path, bool saved);

  std::wstring name;
  std::wstring path;  // empty: never saved
  bool saved;
  std::vector<WindowObj*> windows;  // in the order they were opened
  // FullName as the scenario set it, or failing with `full_name_failure`;
  // by default the path, a backslash and the name (the name alone unsaved).
  std::wstring full_name_override;
  HRESULT full_name_failure = S_OK;

  std::wstring describe() const override { return L"Document " + name; }
  int ordinal() const override;

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
};

class WindowObj final : public DispatchObject {
 public:
  WindowObj(Word& word, DocumentObj* document, Frame* frame, HWND view);

  DocumentObj* document;
  Frame* frame;  // the frame that shows it (Window.Hwnd)
  HWND view;     // the "_WwB" window showing it
  // Word's caption: the document's name, or "Name:n" while it has several windows.
  std::wstring caption() const;
  // The window was closed: it keeps its last caption for reports.
  void forget_document();
  // A macro's Window.Caption: shown instead of Word's own until Word
  // captions the window again (empty: Word's own).
  void set_macro_caption(std::wstring text) { macro_caption_ = std::move(text); }

  std::wstring describe() const override { return L"Window " + caption(); }
  int ordinal() const override;

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
  std::wstring last_caption_;
  std::wstring macro_caption_;
};

// Office's LanguageSettings: LanguageID(msoLanguageIDUI) and every other
// identifier answer Word's user-interface language.
class LanguageSettingsObj final : public DispatchObject {
 public:
  explicit LanguageSettingsObj(Word& word);
  std::wstring describe() const override { return L"LanguageSettings"; }

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
};

class WindowsObj final : public DispatchObject {
 public:
  explicit WindowsObj(Word& word);
  std::wstring describe() const override { return L"Windows"; }

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
};

class DocumentsObj final : public DispatchObject {
 public:
  explicit DocumentsObj(Word& word);
  std::wstring describe() const override { return L"Documents"; }

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
};

// Word's runtime error when a member needs an open document and there is none
// (4248), and for a collection index out of range (5941).
inline constexpr HRESULT kNoDocumentOpen = static_cast<HRESULT>(0x800A1098);
inline constexpr HRESULT kNoSuchMember = static_cast<HRESULT>(0x800A1735);

}  // namespace standin
