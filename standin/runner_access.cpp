// Scenario steps for what the bar does for everyone: meeting a client
// program that runs beside the scenario (signal/await), Word's interface
// language, what Document.FullName answers and how often it was read.
#include <cwchar>

#include "runner.h"

namespace standin {
namespace {

long number(const std::wstring& word) { return std::wcstol(word.c_str(), nullptr, 10); }

}  // namespace

void Runner::add_access_steps() {
  // A file in the output folder, made here or awaited from the program
  // running beside the scenario.
  handlers_[L"signal"] = [this](const Step& s) -> Outcome {
    HANDLE f = CreateFileW((out_dir_ + L"\\" + s.args[0]).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return L"cannot make " + s.args[0];
    CloseHandle(f);
    return L"";
  };
  handlers_[L"await"] = [this](const Step& s) {
    const std::wstring path = out_dir_ + L"\\" + s.args[0];
    return poll_here([&]() -> Outcome {
      if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return L"";
      return L"no " + s.args[0] + L" from the program beside";
    });
  };
  handlers_[L"language"] = [this](const Step& s) {
    return with_word([&](Word& word) {
      word.set_ui_language(number(s.args[0]));
      return Outcome();
    });
  };
  // Document.FullName of a document fails from now on, or answers a text of
  // 32,767 characters.
  handlers_[L"fullname"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      DocumentObj* d = word.find_document(s.args[0]);
      if (!d) return L"no document \"" + s.args[0] + L"\"";
      if (s.args[1] == L"fail") d->full_name_failure = E_FAIL;
      else d->full_name_override = L"C:\\" + std::wstring(32764, L'x');
      return L"";
    });
  };
  handlers_[L"check fullname"] = [this](const Step& s) {
    return poll_word([&](Word& word) -> Outcome {
      if (word.full_name_reads() == number(s.args[0])) return L"";
      return L"Document.FullName was read " + std::to_wstring(word.full_name_reads()) + L" times";
    });
  };
}

}  // namespace standin
