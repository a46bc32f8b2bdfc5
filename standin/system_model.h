// Two answers of Windows that the stand-in models for the add-ins it loads,
// because Wine 8 cannot give them: whether high contrast is on (Wine always
// answers SPI_GETHIGHCONTRAST with "off" and refuses SPI_SETHIGHCONTRAST),
// and the resolution of the monitor Word's window is on (Wine gives a
// process one resolution, read at its start, for its whole life). And one
// program it records rather than starts: Windows' file manager, whose
// command line the add-in builds.
//
// attach() makes a loaded module ask the model: its imported
// SystemParametersInfoW answers SPI_GETHIGHCONTRAST from the model, and its
// GetProcAddress hands out the model's GetDpiForWindow, and its
// ShellExecuteW records explorer.exe's command line. Everything else
// goes to Windows unchanged. The colours of a high-contrast scheme are
// Wine's own system colours (SetSysColors), so every program sees them.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>
#include <vector>

namespace standin::system_model {

// The two schemes Windows ships: white on black, black on white; `off`
// puts back the colours that were there before.
enum class Contrast { off, white_on_black, black_on_white };
void set_contrast(Contrast scheme);
bool high_contrast();

// The monitor's resolution; 0 leaves Windows' own.
void set_monitor_dpi(int dpi);
int monitor_dpi();

// Points `module`'s imports at the model; false when it imports neither.
// The file manager started through the add-in's ShellExecuteW: each call's
// command line ("explorer.exe /select,..."), in order; nothing is started.
std::vector<std::wstring> file_manager_calls();

bool attach(HMODULE module);

// The module that holds the code of `object` (its first interface's table).
HMODULE module_of(IUnknown* object);

}  // namespace standin::system_model
