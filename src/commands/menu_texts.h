// The captions of the bar's popup menu in the language of Word's user
// interface. All translations sit in one table (menu_texts.cpp).
#pragma once

#include <cstdint>

namespace plovera {

struct MenuCaptions {
  const char16_t* save_all;
  const char16_t* visit_web_site;
  // "About Plovera" (the item and its message box's title), and the box's
  // line on the log: its label and whether it is on.
  const char16_t* about;
  const char16_t* log_file;
  const char16_t* log_on;
  const char16_t* log_off;
};

// The captions for a Windows language identifier (LCID) as Office reports it
// through LanguageSettings.LanguageID(msoLanguageIDUI): English, German,
// French, Spanish, Italian, Portuguese (Brazil and Portugal), Dutch, Polish,
// Russian, Japanese and Chinese (simplified); English for any other
// language, for traditional Chinese and for a value that is no LCID.
MenuCaptions menu_captions(std::int32_t language_id) noexcept;

}  // namespace plovera
