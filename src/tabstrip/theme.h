// The bar's colours, after Office's theme as Word stores it in the registry.
//
// Word 2007 and 2010 keep their colour scheme as "Theme" under
// HKCU\Software\Microsoft\Office\<version>\Common (1 is blue). Word 2013
// and later keep theirs as the DWORD "UI Theme" under the same key:
//
//   Word 2013 (15.0):        0 White, 1 Light Gray, 2 Dark Gray
//   Word 2016 and later:     0 Colorful, 3 Dark Gray, 4 Black, 5 White,
//                            6 Use system setting
//
// "Use system setting" follows Windows' app mode, the DWORD
// AppsUseLightTheme under the key
// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize:
// 0 is dark (the Black look), anything else or nothing light (the White
// look). A missing "UI Theme", one of another type or an
// unknown number gives the Colorful look, which is the bar's own blue look
// as chosen before Word 2013's themes.
#pragma once

#include <string>

#include "host/forms.h"
#include "host/winsys.h"

namespace plovera {

struct BarTheme {
  host::Picture background = host::Picture::design_bar;
  host::Look look = host::Look::office;
  friend bool operator==(const BarTheme&, const BarTheme&) = default;
};

// Reads the theme of Word `version` (Application.Version's text, "16.0").
BarTheme read_bar_theme(host::WindowSystem& ws, const std::u16string& version);

// The registry keys the theme is read from, under HKEY_CURRENT_USER: a
// change under one of them may change the bar's colours.
std::u16string office_common_key(const std::u16string& version);
inline constexpr const char16_t* kPersonalizeKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

}  // namespace plovera
