// Word's small modal dialogs: the save prompt on closing a changed document
// and the save-as file dialog. Each runs its own message loop until a button
// is pressed, with the main window disabled, as a modal dialog does; posted
// work (timer ticks, scenario requests) keeps being dispatched meanwhile.
//
// The scenario finds them by window class and presses their buttons with
// real input; a button's control ID is the answer (IDYES, IDNO, IDCANCEL, IDOK).
#pragma once

#include <windows.h>

#include <string>

namespace standin {

inline constexpr wchar_t kSavePromptClass[] = L"StandinSavePrompt";
inline constexpr wchar_t kSaveAsDialogClass[] = L"StandinSaveAsDialog";

// "Do you want to save the changes to NAME?" Returns IDYES, IDNO or IDCANCEL.
int ask_save_changes(HWND owner, const std::wstring& document_name);
// The save-as dialog with the proposed file name. Returns IDOK or IDCANCEL.
int ask_save_as(HWND owner, const std::wstring& proposed_name);

// The text a prompt shows, for checks: its static text control.
inline constexpr int kPromptTextId = 100;

}  // namespace standin
