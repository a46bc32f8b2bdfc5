// Office's command bars (host/word.h) over IDispatch: CommandBars,
// CommandBar, CommandBarControls and CommandBarButton.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "host/word.h"
#include "win32/com_object.h"

namespace plovera::win32 {

host::Ref<host::CommandBars> wrap_command_bars(ComPtr<IDispatch> object);
host::Ref<host::CommandBarButton> wrap_button(ComPtr<IDispatch> object);

}  // namespace plovera::win32
