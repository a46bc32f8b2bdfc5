// The interface IDs and dispatch IDs of Word, Office and the add-in designer
// library: facts of Word's type libraries, declared once for the add-in and
// for the stand-in Word. The mingw-w64 headers declare none of them.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace plovera::office {

namespace iid {

// Word's dual interfaces (type library {00020905-...}).
inline constexpr IID Application = {0x00020970, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID Document = {0x0002096B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID Documents = {0x0002096C, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID Window = {0x00020962, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID Windows = {0x00020961, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Word's application event dispinterfaces, oldest first.
inline constexpr IID ApplicationEvents = {0x000209F7, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID ApplicationEvents2 = {0x000209FE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID ApplicationEvents3 = {0x00020A00, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID ApplicationEvents4 = {0x00020A01, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Office command bars (type library {2DF8D04C-...}).
inline constexpr IID CommandBars = {0x000C0302, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID CommandBar = {0x000C0304, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID CommandBarControls = {0x000C0306, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID CommandBarControl = {0x000C0308, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID CommandBarButton = {0x000C030E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID CommandBarButtonEvents = {0x000C0351, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID FileDialog = {0x000C0362, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID LanguageSettings = {0x000C0353, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The add-in designer's connection interface (MSADDNDR).
inline constexpr IID DTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

}  // namespace iid

// Word's application event DISPIDs (the same on every event interface) and
// the command-bar button's Click.
namespace event {
inline constexpr DISPID DocumentChange = 3;
inline constexpr DISPID DocumentOpen = 4;
inline constexpr DISPID DocumentBeforeClose = 6;
inline constexpr DISPID DocumentBeforeSave = 8;
inline constexpr DISPID NewDocument = 9;
inline constexpr DISPID WindowActivate = 10;
inline constexpr DISPID WindowDeactivate = 11;
inline constexpr DISPID WindowSelectionChange = 12;
inline constexpr DISPID WindowSize = 25;
inline constexpr DISPID Click = 1;  // _CommandBarButtonEvents
}  // namespace event

}  // namespace plovera::office
