// Scenario steps for robustness: the bar's window destroyed from outside, a
// decoy Word in a second process, failures injected into Word's object
// model, and a check that waits for one of Word's dialogs (so that a later
// step acts while Word, and the add-in under it, wait in that dialog).
#include <cwchar>

#include "bar_query.h"
#include "decoy.h"
#include "faults.h"
#include "prompts.h"
#include "runner.h"

namespace standin {

void Runner::add_robustness_steps() {
  handlers_[L"check dialog"] = [this](const Step& s) {
    HWND dialog = nullptr;
    return find_dialog(s.args[0] == L"save" ? kSavePromptClass : kSaveAsDialogClass, s, dialog);
  };
  // Over the lower left corner of Word's main window, clear of the bar, the
  // prompts and the menus that the other steps point at.
  handlers_[L"decoy word"] = [this](const Step&) {
    RECT area{};
    Outcome problem = with_word([&](Word& word) -> Outcome {
      RECT main{};
      GetWindowRect(word.frame().main(), &main);
      area = {main.left, main.bottom - 160, main.left + 300, main.bottom};
      return L"";
    });
    return problem.empty() ? start_decoy(area, DecoyShown::aside) : problem;
  };
  handlers_[L"check decoy"] = [this](const Step&) {
    return poll([]() -> Outcome { return decoy_problems(); });
  };
  handlers_[L"fail clear"] = [this](const Step&) {
    return on_ui([] {
      clear_faults();
      return Outcome();
    });
  };
  handlers_[L"fail"] = [this](const Step& s) {
    const int nth = s.args.size() > 1 ? static_cast<int>(std::wcstol(s.args[1].c_str(), nullptr, 10)) : 0;
    return on_ui([&] { return inject_fault(s.args[0], nth); });
  };
}

}  // namespace standin
