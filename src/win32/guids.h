// The GUIDs the add-in uses: its own class, Office's add-in connection
// interface, Word's Application interface and the event interfaces of Word
// and Office. The mingw-w64 headers declare none of them.
#pragma once

#include <windows.h>

namespace plovera::win32 {

// The Connect class of this add-in (ProgID quennix.Connect).
inline constexpr GUID CLSID_Connect = {
    0x2ee200ca, 0xe848, 0x43cf, {0x89, 0xed, 0xd2, 0xf5, 0xa0, 0xc7, 0xb0, 0x7d}};
inline constexpr const wchar_t* kClsidText = L"{2EE200CA-E848-43CF-89ED-D2F5A0C7B07D}";
inline constexpr const wchar_t* kProgId = L"quennix.Connect";

// IDTExtensibility2 (Add-in Designer library).
inline constexpr GUID IID_IDTExtensibility2 = {
    0xb65ad801, 0xabaf, 0x11d0, {0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44}};

// Word's _Application.
inline constexpr GUID IID_WordApplication = {
    0x00020970, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Word's application event dispinterfaces, newest first.
inline constexpr GUID DIID_ApplicationEvents4 = {
    0x00020a01, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID DIID_ApplicationEvents3 = {
    0x00020a00, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID DIID_ApplicationEvents2 = {
    0x000209fe, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Office's command-bar button events.
inline constexpr GUID DIID_CommandBarButtonEvents = {
    0x000c0351, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace plovera::win32
