// Scenario steps of Word's COM Add-ins dialog: the user removes the add-ins
// while Word keeps running, and adds them back.
#include "runner.h"

namespace standin {

void Runner::add_addin_steps() {
  handlers_[L"addin remove"] = [this](const Step&) {
    return with_word([this](Word&) -> Outcome {
      return session_.remove_addins() > 0 ? L"" : L"no add-in was connected";
    });
  };
  handlers_[L"addin add"] = [this](const Step&) {
    return with_word([this](Word&) -> Outcome {
      return session_.add_addins() > 0 ? L"" : L"no registered add-in connected";
    });
  };
}

}  // namespace standin
