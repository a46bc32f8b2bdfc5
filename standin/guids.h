// The stand-in's names for the interface and dispatch IDs of Word and Office.
#pragma once

#include <windows.h>

#include "win32/extensibility.h"
#include "win32/office_ids.h"
#include <oaidl.h>

namespace standin {

namespace iid = plovera::office::iid;
namespace event = plovera::office::event;

// Office's add-in connection interface, declared once for the add-in and the
// stand-in that loads it.
using plovera::win32::IDTExtensibility2;

inline constexpr int ext_cm_AfterStartup = 0;  // ticked in the COM Add-ins dialog
inline constexpr int ext_cm_Startup = 1;
inline constexpr int ext_dm_HostShutdown = 0;
inline constexpr int ext_dm_UserClosed = 1;     // unticked in the COM Add-ins dialog

}  // namespace standin
