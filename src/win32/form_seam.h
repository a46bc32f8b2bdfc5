// The forms seam, included where <windows.h> is in scope too.
//
// host/winsys.h (pulled in by host/forms.h) declares constants that share
// their names with <windows.h> macros (GW_CHILD, SWP_NOZORDER, REG_SZ, ...).
// Parsed after <windows.h>, those declarations would read as numbers, so the
// macros are set aside while the seam is parsed and restored afterwards.
#pragma once

#include <windows.h>


#pragma push_macro("GW_HWNDFIRST")
#pragma push_macro("GW_HWNDNEXT")
#pragma push_macro("GW_CHILD")
#pragma push_macro("SWP_NOZORDER")
#pragma push_macro("SWP_FRAMECHANGED")
#pragma push_macro("HWND_TOP")
#pragma push_macro("ERROR_SUCCESS")
#pragma push_macro("ERROR_FILE_NOT_FOUND")
#pragma push_macro("ERROR_MORE_DATA")
#pragma push_macro("KEY_QUERY_VALUE")
#pragma push_macro("REG_NONE")
#pragma push_macro("REG_SZ")
#pragma push_macro("REG_EXPAND_SZ")
#pragma push_macro("REG_BINARY")
#pragma push_macro("REG_DWORD")
#pragma push_macro("REG_MULTI_SZ")
#undef GW_HWNDFIRST
#undef GW_HWNDNEXT
#undef GW_CHILD
#undef SWP_NOZORDER
#undef SWP_FRAMECHANGED
#undef HWND_TOP
#undef ERROR_SUCCESS
#undef ERROR_FILE_NOT_FOUND
#undef ERROR_MORE_DATA
#undef KEY_QUERY_VALUE
#undef REG_NONE
#undef REG_SZ
#undef REG_EXPAND_SZ
#undef REG_BINARY
#undef REG_DWORD
#undef REG_MULTI_SZ

#include "host/error.h"
#include "host/form_design.h"
#include "host/forms.h"

#pragma pop_macro("GW_HWNDFIRST")
#pragma pop_macro("GW_HWNDNEXT")
#pragma pop_macro("GW_CHILD")
#pragma pop_macro("SWP_NOZORDER")
#pragma pop_macro("SWP_FRAMECHANGED")
#pragma pop_macro("HWND_TOP")
#pragma pop_macro("ERROR_SUCCESS")
#pragma pop_macro("ERROR_FILE_NOT_FOUND")
#pragma pop_macro("ERROR_MORE_DATA")
#pragma pop_macro("KEY_QUERY_VALUE")
#pragma pop_macro("REG_NONE")
#pragma pop_macro("REG_SZ")
#pragma pop_macro("REG_EXPAND_SZ")
#pragma pop_macro("REG_BINARY")
#pragma pop_macro("REG_DWORD")
#pragma pop_macro("REG_MULTI_SZ")
