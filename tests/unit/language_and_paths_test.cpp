// What the bar's tooltips, its menu language and its band height read from
// Word and Windows: Window.Document.FullName, LanguageSettings.LanguageID
// and a window's own resolution, in the simulated host; and the menu's
// captions for the languages Office reports.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "commands/menu_texts.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word.h"

namespace plovera {
namespace {

using host::Ref;

std::u16string full_name_of(const Ref<host::Window>& w) {
  std::u16string text;
  w->Document()->FullName(text);
  return text;
}

TEST(SimWordFullName, SavedDocumentsJoinFolderAndNameUnsavedOnesAreTheirName) {
  sim::SimWord word;
  word.open_document(u"Report.docx", u"C:\\Users\\Ann\\Documents");
  word.open_document(u"Document2", u"", false);
  Ref<host::Windows> list = word.application().Windows();
  EXPECT_EQ(full_name_of(list->Item(1)), u"C:\\Users\\Ann\\Documents\\Report.docx");
  EXPECT_EQ(full_name_of(list->Item(2)), u"Document2");
  EXPECT_EQ(word.calls("Window.Document"), 2);
  EXPECT_EQ(word.calls("Document.FullName"), 2);
}

TEST(SimWordFullName, AClosedWindowAndItsDocumentStopAnswering) {
  sim::SimWord word;
  sim::SimDocument& doc = word.open_document(u"Gone", u"C:\\x");
  Ref<host::Window> w = word.application().Windows()->Item(1);
  Ref<host::Document> d = w->Document();
  word.close_document(doc);
  std::u16string text;
  EXPECT_EQ(boundary_guard([&] { w->Document(); }), status::disconnected);
  EXPECT_EQ(boundary_guard([&] { d->FullName(text); }), status::disconnected);
}

TEST(SimWordLanguage, LanguageIdReportsTheUserInterfaceLanguage) {
  sim::SimWord word;
  Ref<host::LanguageSettings> settings = word.application().LanguageSettings();
  EXPECT_EQ(settings->LanguageID(host::kLanguageIdUi), 1033);
  word.ui_language(1031);
  EXPECT_EQ(settings->LanguageID(host::kLanguageIdUi), 1031);
  EXPECT_EQ(boundary_guard([&] { settings->LanguageID(0); }), status::invalid_arg);
  word.fail("LanguageSettings.LanguageID", 1);
  EXPECT_EQ(boundary_guard([&] { settings->LanguageID(host::kLanguageIdUi); }), status::fail);
}

TEST(SimWindowSystemDpi, AWindowHasItsMonitorsResolutionElseTheScreens) {
  sim::SimWindowSystem ws;
  ws.log_pixels(120, 120);
  EXPECT_EQ(ws.dpi_of_window(42), 120);
  ws.window_dpi(42, 144);  // moved to a 150 % monitor
  EXPECT_EQ(ws.dpi_of_window(42), 144);
  EXPECT_EQ(ws.dpi_of_window(43), 120);
  ws.fail("GetDpiForWindow", 1);
  EXPECT_EQ(ws.dpi_of_window(42), 0);
  EXPECT_EQ(ws.calls("GetDpiForWindow"), 4);
}

std::u16string captions(std::int32_t lcid) {
  const MenuCaptions c = menu_captions(lcid);
  return std::u16string(c.save_all) + u" | " + c.visit_web_site;
}

TEST(MenuCaptions, EachSupportedLanguageHasItsOwnWords) {
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
  };
  for (const Case& c : cases) EXPECT_EQ(captions(c.lcid), c.expected) << c.lcid;
}

TEST(MenuCaptions, AnyOtherLanguageOrNonsenseIsEnglish) {
  for (std::int32_t lcid : {1028, 3076, 1053, 1055, 1081, 0, -1, 0x10000, 0x7FFFFFFF})
    EXPECT_EQ(captions(lcid), u"Save All | Visit our web site") << lcid;  // incl. traditional Chinese
}

}  // namespace
}  // namespace plovera
