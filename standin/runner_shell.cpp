// Scenario steps on what the add-in hands to the rest of Windows: the
// clipboard's text, the file manager's command line, and the files on disk
// that Word opens again.
#include "file_dialog.h"
#include "runner.h"
#include "system_model.h"
#include "word.h"

namespace standin {
namespace {

// The clipboard's Unicode text, read from this thread; `problem` says why
// there is none.
std::wstring clipboard_text(std::wstring& problem) {
  if (!OpenClipboard(nullptr)) {
    problem = L"the clipboard cannot be opened";
    return L"";
  }
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  } else {
    problem = L"the clipboard holds no text";
  }
  CloseClipboard();
  return text;
}

// What Document.FullName answers for the document named `name`.
std::wstring full_name_of(const DocumentObj& d) {
  if (!d.full_name_override.empty()) return d.full_name_override;
  return d.path.empty() ? d.name : d.path + L"\\" + d.name;
}

// A long text is named by its length and ends in the log.
std::wstring shown(const std::wstring& text) {
  if (text.size() <= 120) return L"\"" + text + L"\"";
  return L"\"" + text.substr(0, 60) + L"...\" (" + std::to_wstring(text.size()) + L" characters)";
}

}  // namespace

void Runner::add_shell_steps() {
  auto expect_clipboard = [this](const std::function<Outcome(std::wstring&)>& wanted) {
    return [this, wanted](const Step&) -> Outcome {
      std::wstring expected;
      if (Outcome problem = wanted(expected); !problem.empty()) return problem;
      return poll_here([&]() -> Outcome {
        std::wstring problem;
        const std::wstring text = clipboard_text(problem);
        if (!problem.empty()) return problem;
        return text == expected ? L"" : L"the clipboard holds " + shown(text);
      });
    };
  };
  handlers_[L"check clipboard"] = [this, expect_clipboard](const Step& s) {
    return expect_clipboard([&](std::wstring& e) {
      e = s.args[0];
      return Outcome();
    })(s);
  };
  handlers_[L"check clipboard fullname"] = [this, expect_clipboard](const Step& s) {
    return expect_clipboard([&](std::wstring& e) {
      return with_word([&](Word& word) -> Outcome {
        DocumentObj* d = word.find_document(s.args[0]);
        if (!d) return L"no document \"" + s.args[0] + L"\"";
        e = full_name_of(*d);
        return L"";
      });
    })(s);
  };
  // Another program opens the clipboard and keeps it, until released.
  handlers_[L"clipboard"] = [this](const Step& s) -> Outcome {
    if (s.args[0] == L"hold") {
      if (holds_clipboard_) return L"the clipboard is held already";
      if (!OpenClipboard(nullptr)) return L"the clipboard cannot be opened";
      holds_clipboard_ = true;
      return L"";
    }
    if (holds_clipboard_) CloseClipboard();
    holds_clipboard_ = false;
    return L"";
  };
  auto expect_file_manager = [this](const std::wstring& expected) {
    return poll_here([&]() -> Outcome {
      const auto calls = system_model::file_manager_calls();
      for (const std::wstring& c : calls)
        if (c == expected) return L"";
      std::wstring list;
      for (const std::wstring& c : calls) list += L" " + shown(c);
      return L"the file manager was started with" + (list.empty() ? L" nothing" : list);
    });
  };
  handlers_[L"check filemanager"] = [expect_file_manager](const Step& s) {
    return expect_file_manager(s.args[0]);
  };
  // explorer.exe /select,"FULLNAME": the document selected in its folder.
  handlers_[L"check filemanager fullname"] = [this, expect_file_manager](const Step& s) {
    std::wstring full;
    const Outcome problem = with_word([&](Word& word) -> Outcome {
      DocumentObj* d = word.find_document(s.args[0]);
      if (!d) return L"no document \"" + s.args[0] + L"\"";
      full = full_name_of(*d);
      return L"";
    });
    if (!problem.empty()) return problem;
    return expect_file_manager(L"explorer.exe /select,\"" + full + L"\"");
  };
  // A document's file is deleted from disk: a name alone is in Word's
  // documents folder.
  handlers_[L"delete file"] = [this](const Step& s) {
    return with_word([&](Word& word) {
      const std::wstring& f = s.args[0];
      word.delete_file(f.find(L'\\') == std::wstring::npos ? std::wstring(kDefaultFolder) + L"\\" + f : f);
      return Outcome();
    });
  };
}

}  // namespace standin
