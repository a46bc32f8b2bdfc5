// The decoy Word: a second process of the stand-in whose top-level
// "OpusApp" window is built like Word's main window (a top dock, a right
// dock, a document area with a document view, at the sizes of
// sim/word_sizes.h) and sits in front of the stand-in's windows. An add-in
// may only ever touch windows of its own Word's process; the decoy is there
// for careless window searches to find. It ends when it is closed or when
// the stand-in ends.
//
// It comes up in one of two ways:
//   - `active`: in front and in the foreground, as when the user switches
//     to another Word (the `decoy open` step);
//   - `aside`: topmost over a corner of the stand-in's window but never
//     activated, so that the scenario's own input and pace go on (the
//     `decoy word` step).
#pragma once

#include <windows.h>

#include <string>

namespace standin {

inline constexpr wchar_t kDecoyCaption[] = L"Decoy Document - Microsoft Word";

enum class DecoyShown { active, aside };

// Starts the decoy over `area` (screen pixels, its window rectangle) and
// waits until its window is up. `process`, when given, receives the
// process's handles (the caller closes them); otherwise they are closed
// here. Returns what went wrong, or "".
std::wstring start_decoy(const RECT& area, DecoyShown shown, PROCESS_INFORMATION* process = nullptr);
// How the decoy's windows differ from how it made them (a tab bar among
// them, a dock or the document area moved); "" when untouched.
std::wstring decoy_problems();

// The decoy process itself (`standin.exe --decoy PID:X,Y,W,H:active|aside`):
// shows its windows at X,Y (W x H) until it is closed or process PID ends.
int run_decoy(const std::wstring& placement);

}  // namespace standin
