// The add-in's own class, and the interfaces of Word and Office it asks for.
#pragma once

#include <windows.h>

#include "win32/office_ids.h"

namespace plovera::win32 {

// The Connect class of this add-in (ProgID quennix.Connect).
inline constexpr GUID CLSID_Connect = {
    0x2ee200ca, 0xe848, 0x43cf, {0x89, 0xed, 0xd2, 0xf5, 0xa0, 0xc7, 0xb0, 0x7d}};
inline constexpr const wchar_t* kClsidText = L"{2EE200CA-E848-43CF-89ED-D2F5A0C7B07D}";
inline constexpr const wchar_t* kProgId = L"quennix.Connect";

// The interfaces the add-in asks for, by the names its code uses.
inline constexpr GUID IID_IDTExtensibility2 = office::iid::DTExtensibility2;
inline constexpr GUID IID_WordApplication = office::iid::Application;
inline constexpr GUID DIID_ApplicationEvents4 = office::iid::ApplicationEvents4;
inline constexpr GUID DIID_ApplicationEvents3 = office::iid::ApplicationEvents3;
inline constexpr GUID DIID_ApplicationEvents2 = office::iid::ApplicationEvents2;
inline constexpr GUID DIID_CommandBarButtonEvents = office::iid::CommandBarButtonEvents;

}  // namespace plovera::win32
