// The captions of the bar's popup menu in the language of Word's user
// interface. All translations sit in one table (menu_texts.cpp).
#pragma once

#include <cstdint>

namespace plovera {

struct MenuCaptions {
  const char16_t* save_all;
  const char16_t* visit_web_site;
  // A tab's own commands, then the one every menu offers.
  const char16_t* close;
  const char16_t* close_others;
  const char16_t* close_to_the_right;
  const char16_t* save;
  const char16_t* copy_full_path;
  const char16_t* open_containing_folder;
  const char16_t* reopen_closed;
};

// The captions for a Windows language identifier (LCID) as Office reports it
// through LanguageSettings.LanguageID(msoLanguageIDUI): English, German,
// French, Spanish, Italian, Portuguese (Brazil and Portugal), Dutch, Polish,
// Russian, Japanese and Chinese (simplified); English for any other
// language, for traditional Chinese and for a value that is no LCID.
MenuCaptions menu_captions(std::int32_t language_id) noexcept;

}  // namespace plovera
