// Finding Word's main window and its document area in the window tree.
#include "fixture.h"

namespace plovera::testing {
namespace {

class Discovery : public ::testing::Test, public WordFixture {
 protected:
  void SetUp() override { connect.on_connection(word.host_object(), 1, nullptr); }
  host::Hwnd top_level(const char16_t* cls, const char16_t* caption) {
    return ws.create_window(ws.desktop(), cls, caption, {0, 0, 100, 100});  // goes in front
  }
};

TEST_F(Discovery, SkipsAnOpusAppWithACaptionOf13CharactersOrFewer) {
  top_level(u"OpusApp", u"13 characters");
  top_level(u"OpusApp", u"");
  addin.find_main_window();
  EXPECT_EQ(addin.windows().main_window, main);
}

TEST_F(Discovery, TakesTheFrontMostOfTwoWordWindows) {
  const host::Hwnd front = top_level(u"OpusApp", u"Other - Microsoft Word");
  top_level(u"opusapp", u"Lower case class - Word");  // classes compare exactly
  addin.find_main_window();
  EXPECT_EQ(addin.windows().main_window, front);
}

TEST_F(Discovery, FindsNothingWithoutWord) {
  addin.find_main_window();
  ASSERT_EQ(addin.windows().main_window, main);
  ws.destroy_window(main);
  addin.find_main_window();
  EXPECT_EQ(addin.windows().main_window, 0u);
}

TEST_F(Discovery, CaptionsInAnyScriptAndOfAnyLengthAreMeasuredWhole) {
  ws.set_caption(main, std::u16string(10000, u'\u6587'));  // Chinese, far beyond any buffer
  addin.find_main_window();
  EXPECT_EQ(addin.windows().main_window, main);
}

TEST_F(Discovery, Version12TakesTheLastWwFInDepthFirstOrder) {
  const host::Hwnd inner = ws.create_window(document_area, u"_WwF", u"", {0, 60, 10, 10});
  const host::Hwnd later = ws.create_window(main, u"Pane", u"", {0, 0, 1, 1});
  ws.create_window(later, u"_WwB", u"ignored from 12 on", {0, 0, 1, 1});
  // Z order, top first: later, document_area (with inner), right_dock, top_dock.
  // Depth-first pre-order visits later, later's _WwB, document_area, inner, ...
  addin.find_document_area(main);
  EXPECT_EQ(addin.windows().document_area, inner);
  EXPECT_EQ(addin.windows().legacy_document_view, 0u);
}

TEST_F(Discovery, Version11TakesTheLastWwBWithAtLeastTwoCharacters) {
  word.version(u"11.0");
  const host::Hwnd first = ws.create_window(document_area, u"_WwB", u"Doc", {0, 0, 1, 1});
  ws.create_window(document_area, u"_WwB", u"X", {0, 0, 1, 1});  // one character: ignored
  // document_area's children, top first: "X", first, the fixture's none (v12 fixture).
  addin.find_document_area(main);
  EXPECT_EQ(addin.windows().legacy_document_view, first);
  EXPECT_EQ(addin.windows().document_area, 0u);  // _WwF is ignored below 12
}

TEST_F(Discovery, ReadsTheVersionOncePerWalk) {
  addin.find_document_area(main);
  EXPECT_EQ(word.calls("Application.Version"), 1);
}

TEST_F(Discovery, FailingVersionReadEndsTheWalkWithTheError) {
  word.fail("Application.Version", 1);
  EXPECT_THROW(addin.find_document_area(main), host_error);
  EXPECT_EQ(addin.windows().document_area, 0u);
}

TEST_F(Discovery, UnmatchedHandlesKeepTheirValue) {
  addin.find_document_area(main);
  ASSERT_EQ(addin.windows().document_area, document_area);
  ws.destroy_window(document_area);
  addin.find_document_area(main);
  EXPECT_EQ(addin.windows().document_area, document_area);
}

}  // namespace
}  // namespace plovera::testing
