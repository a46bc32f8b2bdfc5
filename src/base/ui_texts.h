// Every text the user sees or hears from the add-in, in the language of
// Word's user interface: menu items, tooltips, the accessibility tree's
// names, descriptions and actions, and the messages. All translations sit
// in one table (ui_texts.cpp), one row per text.
//
// Adding a text: a name in `Text` (before `count_`) and its row in the
// table, in the same order; the build checks both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovera {

enum class Text : std::uint8_t {
  // The popup menu.
  save_all,
  visit_web_site,
  close_document,            // also the close button's tooltip
  close_other_documents,
  close_documents_after,     // "Close Documents to the Right" in a left-to-right strip
  save_document,
  copy_full_path,
  open_containing_folder,
  reopen_closed_document,
  about,                     // the item, and its message box's title
  log_file,                  // the box's line on the log: its label
  log_on,                    // and whether it is on
  log_off,
  // Tooltips.
  scroll,
  // The accessibility tree. %1 and %2 are filled in by `format`.
  tab_list_name,             // the bar: "Document tabs"
  close_named,               // a close button: "Close %1" (%1: the tab's caption)
  scroll_left,
  scroll_right,
  tab_position,              // a tab's description: "%1 of %2"
  tab_position_unsaved,      // the same for a document with unsaved changes
  action_switch,             // a tab's default action
  action_press,              // a button's default action
  // Save All's report.
  documents_not_saved,       // the report's first line
  unnamed_document,          // "(document %1)": a document whose name Word did not give
  count_
};

// The languages of the table, in its column order.
enum class Language : std::uint8_t {
  english, german, french, spanish, italian, portuguese_brazil, portuguese_portugal, dutch, polish,
  russian, japanese, chinese_simplified, arabic, hebrew, count_
};

// The language of the table for a Windows language identifier (LCID) as
// Office reports it through LanguageSettings.LanguageID(msoLanguageIDUI):
// any country's variant of English, German, French, Spanish, Italian,
// Dutch, Polish, Russian, Japanese, Arabic and Hebrew; Portuguese of Brazil,
// and of Portugal for every other country; simplified Chinese (China,
// Singapore, no country). English for every other language, for
// traditional Chinese, and for a value that is no LCID (zero, negative,
// above 16 bits).
Language language_of(std::int32_t language_id) noexcept;

// Whether the language is written from right to left.
bool reads_right_to_left(Language language) noexcept;

// Whether a Windows language identifier names a language written from right
// to left, whether or not the table speaks it: Arabic, Hebrew, Persian,
// Urdu, Pashto, Yiddish, Syriac, Divehi, Uyghur, Central Kurdish and the
// Arabic-script Sindhi of Pakistan. False for a value that is no LCID
// (zero, negative, above 16 bits), as for every other language.
bool reads_right_to_left(std::int32_t language_id) noexcept;

// The text in the language; never null, never empty.
std::u16string_view ui_text(Text text, Language language) noexcept;
inline std::u16string_view ui_text(Text text, std::int32_t language_id) noexcept {
  return ui_text(text, language_of(language_id));
}

// The text with %1 and %2 replaced by the arguments, in one pass: an
// argument that itself holds "%1" (a document's name may) stays as it is.
std::u16string format(std::u16string_view pattern, std::u16string_view first,
                      std::u16string_view second = {});

// A number in decimal digits, for the arguments of `format`.
std::u16string decimal(std::int64_t n);

}  // namespace plovera
