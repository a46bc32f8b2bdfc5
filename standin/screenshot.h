// Screenshots of Word's main window, as the screen shows it (the add-in's bar
// included), saved as 24-bit BMP files; the harness converts them to PNG.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// Returns an empty string on success, otherwise what failed.
std::wstring save_screenshot(HWND window, const std::wstring& path);

}  // namespace standin
