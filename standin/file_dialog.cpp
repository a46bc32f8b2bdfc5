#include "file_dialog.h"

#include "prompts.h"
#include "word.h"

namespace standin {
namespace {

constexpr Member kMembers[] = {
    {L"InitialFileName", 0x6003000C},
    {L"Show", 0x60030011},
    {L"Execute", 0x60030012},
    {L"Title", 0x60030004},
};
constexpr IID kIids[] = {{0x000C0362, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}};

}  // namespace

FileDialogObj::FileDialogObj(Word& word, long type)
    : DispatchObject(kMembers, kIids), word_(word), type_(type) {}

void FileDialogObj::call(DISPID id, const Args& args, VARIANT* result) {
  switch (id) {
    case 0x6003000C:
      if (args.is_put()) {
        initial_file_name_ = args.put_string();
      } else {
        put_string(result, initial_file_name_);
      }
      return;
    case 0x60030011: {
      // Show returns -1 when the action button was pressed, 0 for Cancel.
      const int answer = ask_save_as(word_.frame().main(), initial_file_name_);
      put_long(result, answer == IDOK ? -1 : 0);
      return;
    }
    case 0x60030012: {
      // Execute carries out the save-as on Word's active document.
      WindowObj* active = word_.active_window();
      if (!active) fail(kNoDocumentOpen, L"No document is open.");
      if (initial_file_name_.empty()) fail(E_INVALIDARG, L"No file name.");
      word_.save_as(active->document, initial_file_name_);
      return;
    }
    case 0x60030004:
      put_string(result, L"Save As");
      return;
  }
  fail(DISP_E_MEMBERNOTFOUND, L"FileDialog member");
}

}  // namespace standin
