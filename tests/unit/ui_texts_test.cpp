// The user-visible texts in Word's user-interface language: which language
// an identifier Office reports speaks, the table's words, the filling in of
// placeholders; and the texts reaching the menu, Save All's report and the
// bar's form.
#include <gtest/gtest.h>

#include "base/ui_texts.h"
#include "commands/menu.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

std::u16string captions(std::int32_t lcid) {
  return std::u16string(ui_text(Text::save_all, lcid)) + u" | " +
         std::u16string(ui_text(Text::visit_web_site, lcid));
}

TEST(UiTexts, EachSupportedLanguageHasItsOwnWords) {
  struct Case {
    std::int32_t lcid;
    const char16_t* expected;
  };
  const Case cases[] = {
      {1033, u"Save All | Visit our web site"},        // English (United States)
      {2057, u"Save All | Visit our web site"},        // English (United Kingdom)
      {1031, u"Alle speichern | Unsere Website besuchen"},
      {3079, u"Alle speichern | Unsere Website besuchen"},  // German (Austria)
      {1036, u"Tout enregistrer | Visiter notre site web"},
      {3084, u"Tout enregistrer | Visiter notre site web"},  // French (Canada)
      {3082, u"Guardar todo | Visitar nuestro sitio web"},   // Spanish, modern sort
      {1034, u"Guardar todo | Visitar nuestro sitio web"},   // Spanish, traditional sort
      {1040, u"Salva tutto | Visita il nostro sito web"},
      {1046, u"Salvar tudo | Visitar nosso site"},           // Portuguese (Brazil)
      {2070, u"Guardar tudo | Visitar o nosso site"},        // Portuguese (Portugal)
      {1043, u"Alles opslaan | Onze website bezoeken"},
      {1045, u"Zapisz wszystko | Odwiedź naszą witrynę"},
      {1049, u"Сохранить все | Посетить наш веб-сайт"},
      {1041, u"すべて保存 | Web サイトを表示"},
      {2052, u"全部保存 | 访问我们的网站"},                  // Chinese (PRC)
      {4100, u"全部保存 | 访问我们的网站"},                  // Chinese (Singapore)
      {1025, u"حفظ الكل | زيارة موقعنا على الويب"},          // Arabic (Saudi Arabia)
      {3073, u"حفظ الكل | زيارة موقعنا على الويب"},          // Arabic (Egypt)
      {1037, u"שמור הכל | בקר באתר האינטרנט שלנו"},          // Hebrew
  };
  for (const Case& c : cases) EXPECT_EQ(captions(c.lcid), c.expected) << c.lcid;
}

TEST(UiTexts, AnyOtherLanguageOrNonsenseIsEnglish) {
  // Traditional Chinese, Swedish, Turkish, Persian, Urdu; then no LCID at all.
  for (std::int32_t lcid : {1028, 3076, 1053, 1055, 1065, 1056, 0, -1, -1031, 0x10000, 0x10407,
                            0x7FFFFFFF, INT32_MIN}) {
    EXPECT_EQ(language_of(lcid), Language::english) << lcid;
    EXPECT_EQ(captions(lcid), u"Save All | Visit our web site") << lcid;
  }
}

TEST(UiTexts, OnlyArabicAndHebrewReadRightToLeft) {
  for (int l = 0; l < static_cast<int>(Language::count_); ++l) {
    const auto language = static_cast<Language>(l);
    EXPECT_EQ(reads_right_to_left(language),
              language == Language::arabic || language == Language::hebrew)
        << l;
  }
}

// The texts that take arguments carry both placeholders (or the one they
// need) in every language, so no translation drops the caption or a count.
TEST(UiTexts, EveryTranslationKeepsItsPlaceholders) {
  for (int l = 0; l < static_cast<int>(Language::count_); ++l) {
    const auto language = static_cast<Language>(l);
    const std::u16string position(ui_text(Text::tab_position, language));
    EXPECT_NE(position.find(u"%1"), std::u16string::npos) << l;
    EXPECT_NE(position.find(u"%2"), std::u16string::npos) << l;
    for (Text t : {Text::close_named, Text::unnamed_document}) {
      const std::u16string text(ui_text(t, language));
      EXPECT_NE(text.find(u"%1"), std::u16string::npos) << l;
      EXPECT_EQ(text.find(u"%2"), std::u16string::npos) << l;
    }
    // The other texts are meant as they stand.
    for (Text t : {Text::close_document, Text::scroll, Text::action_switch, Text::tab_list_name})
      EXPECT_EQ(std::u16string(ui_text(t, language)).find(u'%'), std::u16string::npos) << l;
  }
}

TEST(UiTexts, AnIdOutsideTheTablesAnswersSomething) {
  EXPECT_EQ(ui_text(Text::count_, Language::german), u"?");
  EXPECT_EQ(ui_text(Text::save_all, Language::count_), u"Save All");
}

TEST(UiTextsFormat, FillsThePlaceholdersInTheTranslationsOrder) {
  EXPECT_EQ(format(ui_text(Text::tab_position, 1033), u"2", u"5"), u"2 of 5");
  EXPECT_EQ(format(ui_text(Text::tab_position, 1031), u"2", u"5"), u"2 von 5");
  EXPECT_EQ(format(ui_text(Text::tab_position, 1041), u"2", u"5"), u"5 個中 2 個目");
  EXPECT_EQ(format(ui_text(Text::tab_position, 1025), u"2", u"5"), u"2 من 5");
  EXPECT_EQ(format(ui_text(Text::close_named, 1031), u"Bericht.docx"), u"Bericht.docx schließen");
  EXPECT_EQ(format(ui_text(Text::close_named, 1037), u"a.docx"), u"סגור את a.docx");
}

TEST(UiTextsFormat, ArgumentsAreNotReadForPlaceholdersAndStraySignsStay) {
  EXPECT_EQ(format(u"Close %1", u"%2 %1.docx", u"x"), u"Close %2 %1.docx");
  EXPECT_EQ(format(u"100% %3 %", u"a", u"b"), u"100% %3 %");
  EXPECT_EQ(format(u"%1-%2-%1", u"a"), u"a--a");
  EXPECT_EQ(format(u"", u"a", u"b"), u"");
}

TEST(UiTextsDecimal, WritesNumbersWithTheirSign) {
  EXPECT_EQ(decimal(0), u"0");
  EXPECT_EQ(decimal(12), u"12");
  EXPECT_EQ(decimal(-307), u"-307");
  EXPECT_EQ(decimal(INT64_MIN), u"-9223372036854775808");
}

class LanguageOfWord : public ::testing::Test, public WordFixture {};

TEST_F(LanguageOfWord, MenuAndBarSpeakWordsLanguageReadOncePerConnection) {
  word.ui_language(1025);  // Arabic
  start();
  sim::SimCommandBar* popup = word.bar(u"tabPopup");
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->buttons().size(), kMenuItems);
  EXPECT_EQ(menu_button(MenuItem::save_all).caption(), u"حفظ الكل");
  EXPECT_EQ(form().language(), 1025);
  EXPECT_EQ(word.calls("LanguageSettings.LanguageID"), 1);
  // Word lets go and connects again: asked anew.
  addin.release_word();
  word.ui_language(1031);
  start();
  EXPECT_EQ(form().language(), 1031);
  EXPECT_EQ(word.calls("LanguageSettings.LanguageID"), 2);
}

TEST_F(LanguageOfWord, WordNotSayingIsEnglishAndAskedAgainNextTime) {
  word.fail("LanguageSettings.LanguageID", 1);
  start();
  EXPECT_EQ(menu_button(MenuItem::save_all).caption(), u"Save All");
  EXPECT_EQ(form().language(), 1033);
  EXPECT_EQ(word.calls("LanguageSettings.LanguageID"), 2);  // the menu's failed; the bar's asked again
}

class SaveAllReport : public ::testing::Test, public WordFixture {};

// The report names a document Word would not name by its place, all of
// whose digits are written (the twelfth is not "(document 2)").
TEST_F(SaveAllReport, SpeaksWordsLanguageAndNumbersUnnamedDocumentsInFull) {
  word.ui_language(1031);
  start();
  for (int i = 1; i <= 11; ++i) word.open_document(u"Saved" + decimal(i), u"C:\\", true);
  word.open_document(u"Twelfth", u"C:\\", false);
  word.fail("Document.Save", 1);
  word.fail("Document.Name", 1);
  EXPECT_THROW(addin.menu().commands()->save_all(), host_error);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"Alle speichern");
  EXPECT_EQ(ws.messages()[0].second, u"Diese Dokumente konnten nicht gespeichert werden:\n\n(Dokument 12)");
}

}  // namespace
}  // namespace plovera::testing
