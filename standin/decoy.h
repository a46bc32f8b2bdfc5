// A decoy Word: a second process whose top-level "OpusApp" window is built
// like Word's main window (a top dock, a right dock, a document area) and
// sits in front of the stand-in's main window. An add-in may only ever touch
// windows of its own Word's process; the decoy is there for careless window
// searches to find. It covers a corner of the stand-in's window only, never
// takes the activation, and ends with the stand-in.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

inline constexpr wchar_t kDecoyCaption[] = L"Decoy Document - Microsoft Word";

// Starts the decoy over `area` (screen pixels) and waits until its window is
// up. Returns what went wrong, or "".
std::wstring start_decoy(const RECT& area);
// How the decoy's windows differ from how it made them (a tab bar among
// them, a dock or the document area moved); "" when untouched.
std::wstring decoy_problems();

// The decoy process itself (`standin.exe --decoy-word PID:X,Y,W,H`): shows its
// windows at X,Y (W x H) until process PID ends.
int run_decoy(const std::wstring& placement);

}  // namespace standin
