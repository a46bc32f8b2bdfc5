// Word's versions, as the numbers Application.Version gives, named once, and
// the two ways Word shows its documents. Compare a version only with these.
#pragma once

namespace plovera::host {

inline constexpr double word97 = 8;    // older versions: only the stand-in's events model them
inline constexpr double word2000 = 9;
inline constexpr double word2002 = 10;
inline constexpr double word2003 = 11;  // the document view is a _WwB inside a parent
inline constexpr double word2007 = 12;  // the document area is a _WwF; Office themes
inline constexpr double word2010 = 14;
inline constexpr double word2013 = 15;  // every document window has a main window of its own
inline constexpr double word2016 = 16;  // also 2019, 2021 and Microsoft 365

// How Word shows its document windows. Up to Word 2010 every document can live
// in one main window (the add-in keeps "show all windows in the taskbar" off);
// from Word 2013 on every document window is a top-level main window of its own.
enum class DocumentWindows { one_main_window, main_window_per_document };

constexpr DocumentWindows document_windows_of(double version) noexcept {
  return version >= word2013 ? DocumentWindows::main_window_per_document
                             : DocumentWindows::one_main_window;
}

}  // namespace plovera::host
