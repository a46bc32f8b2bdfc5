// Failures injected into Word's object model for robustness scenarios: a
// member of one kind of object fails on every call the add-in makes, or only
// on the N-th Word window or document (in Word's Windows / Documents order).
// An injected failure comes back as Word raises its errors: DISP_E_EXCEPTION
// whose EXCEPINFO carries E_FAIL. Only calls through IDispatch (the add-in's)
// fail; the stand-in's own code is not affected.
#pragma once

#include <string>

namespace standin {

class DispatchObject;

// `member` is "Kind.Member" ("Window.Caption", "CommandBar.ShowPopup") or a
// bare member of Application ("CommandBars"); `nth` 0 means every object of
// the kind. Returns what is wrong with the request, or "" when it is armed.
std::wstring inject_fault(const std::wstring& member, int nth);
void clear_faults();

// Whether the call of `id` on `object` is to fail now.
bool fault_injected(const DispatchObject& object, long id);

}  // namespace standin
