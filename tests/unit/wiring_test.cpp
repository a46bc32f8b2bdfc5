// The bar's tooltips, the menu's language and the band at the window's own
// resolution, as the logic asks for them.
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Part;

class Wiring : public ::testing::Test, public WordFixture {};

TEST_F(Wiring, TabTooltipIsTheDocumentsFullPathAskedOnlyWhenShown) {
  word.open_document(u"Report.docx", u"C:\\Users\\Ann\\Documents");
  word.open_document(u"Document2");
  start();
  tick(1);
  const int read_for_reopening = word.calls("Document.FullName");  // once per saved document
  EXPECT_EQ(read_for_reopening, 1);
  tick(3);
  EXPECT_EQ(word.calls("Document.FullName"), read_for_reopening);  // never on the tick
  std::u16string text = u"Report.docx";
  bar.TooltipText({Part::caption, static_cast<std::int16_t>(slot(1).value)}, text);
  EXPECT_EQ(text, u"C:\\Users\\Ann\\Documents\\Report.docx");
  text = u"Document2";
  bar.TooltipText({Part::face, static_cast<std::int16_t>(slot(2).value)}, text);
  EXPECT_EQ(text, u"Document2");  // never saved: its name
  // A failing read leaves the caption; the close button keeps the engine's text.
  word.fail("Document.FullName", 1);
  text = u"Report.docx";
  bar.TooltipText({Part::icon, static_cast<std::int16_t>(slot(1).value)}, text);
  EXPECT_EQ(text, u"Report.docx");
  text = u"Close";
  bar.TooltipText({Part::close_button, static_cast<std::int16_t>(slot(1).value)}, text);
  EXPECT_EQ(text, u"Close");
}

TEST_F(Wiring, MenuCaptionsFollowWordsLanguage) {
  word.ui_language(1031);  // German
  open(1);
  start();
  sim::SimCommandBar* popup = word.bar(u"tabPopup");
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->buttons().size(), kMenuItems);
  EXPECT_EQ(menu_button(MenuItem::save_all).caption(), u"Alle speichern");
  EXPECT_EQ(menu_button(MenuItem::about).caption(), u"Über Plovera");
}

TEST_F(Wiring, UnknownOrFailingLanguageGivesEnglish) {
  for (int failing : {0, 1}) {
    WordFixture f;
    f.word.ui_language(0x0436);  // Afrikaans: not translated
    if (failing) f.word.fail("LanguageSettings.LanguageID");
    f.open(1);
    f.start();
    EXPECT_EQ(f.menu_button(MenuItem::save_all).caption(), u"Save All");
  }
}

TEST_F(Wiring, BandFollowsTheResolutionOfWordsWindow) {
  open(2);
  ws.window_dpi(main, 144);
  start();
  tick();
  EXPECT_EQ(addin.band_height_for_testing(), 36);  // 360 twips at 10 twips a pixel
  // Word moves to a 96-dpi monitor and lays its window out again.
  ws.window_dpi(main, 96);
  relayout(1000, 700);
  tick();
  EXPECT_EQ(addin.band_height_for_testing(), 24);
  EXPECT_EQ(ws.rect(document_area).top, 84);
  EXPECT_EQ(invariants(), "");
}

// Windows never scales a window beyond 1536 dpi; an answer of none, or of
// more, is taken as unreadable and the screen's resolution stands in. The
// bar goes on following Word, and takes a real resolution up again.
TEST_F(Wiring, AnUnreadableResolutionFallsBackToTheScreens) {
  ws.log_pixels(120, 120);
  open(2);
  start();
  tick();
  for (std::int32_t absurd : {10000, 2880, 1537}) {
    ws.window_dpi(main, absurd);
    relayout(1000, 700);
    tick();
    EXPECT_EQ(addin.band_height_for_testing(), 30) << absurd;  // 360 twips at 12 a pixel
    EXPECT_EQ(ws.rect(document_area).top, 90) << absurd;
  }
  // Screen and window both unreadable: the standard 96 dpi.
  ws.log_pixels(0, 0);
  relayout(1000, 700);
  tick();
  EXPECT_EQ(addin.band_height_for_testing(), 24);
  // Back to a monitor Windows can have; a new document gets its tab.
  ws.log_pixels(96, 96);
  ws.window_dpi(main, 1536);
  relayout(1000, 700);
  tick();
  EXPECT_EQ(addin.band_height_for_testing(), 360);  // a twip a pixel
  ws.window_dpi(main, 96);
  relayout(1000, 700);
  word.open_document(u"Late");
  tick();
  EXPECT_EQ(addin.band_height_for_testing(), 24);
  EXPECT_EQ(strip(), "Doc1 Doc2 Late*");
  EXPECT_EQ(invariants(), "");
}

TEST_F(Wiring, PointerLeavingClearsTheLooksAtOnceAndTheTickAsksNothing) {
  open(3);
  start();
  tick(2);
  const host::Element close{Part::close_button, static_cast<std::int16_t>(slot(2).value)};
  ASSERT_EQ(forms.mouse_move(close, 0), status::ok);
  ASSERT_EQ(bar.hot_close(), slot(2));
  bar.MouseLeave();
  EXPECT_EQ(bar.hovered(), Slot());
  EXPECT_EQ(bar.hot_close(), Slot());
  EXPECT_EQ(el(Part::face, slot(2)).picture, host::Picture::face_normal);
  EXPECT_EQ(el(Part::close_button, slot(2)).picture, host::Picture::close_normal);
  ws.reset_calls();
  tick();
  EXPECT_EQ(ws.calls("GetCursorPos"), 0);  // no look on: no pointer poll
}

}  // namespace
}  // namespace plovera::testing
