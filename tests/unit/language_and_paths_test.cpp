// What the bar's tooltips, its menu language and its band height read from
// Word and Windows: Window.Document.FullName, LanguageSettings.LanguageID
// and a window's own resolution, in the simulated host.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

}  // namespace
}  // namespace plovera
