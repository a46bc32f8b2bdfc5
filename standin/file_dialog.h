// Office's FileDialog as Word hands it out from Application.FileDialog(type):
// one object per dialog type, so a name proposed through one fetch is still
// there when the next fetch shows the dialog.
#pragma once

#include <string>

#include "dispatch.h"

namespace standin {

class Word;

class FileDialogObj final : public DispatchObject {
 public:
  FileDialogObj(Word& word, long type);
  long type() const { return type_; }
  std::wstring describe() const override { return L"FileDialog " + std::to_wstring(type_); }

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  Word& word_;
  long type_;
  std::wstring initial_file_name_;
};

// Where a document saved without a folder goes.
inline constexpr wchar_t kDefaultFolder[] = L"C:\\Documents";

}  // namespace standin
