// Office 2013 and later's themes: which look "UI Theme" (and, for "Use
// system setting", Windows' app mode) gives the bar in each version, what a
// missing, mistyped or unknown value gives, and that the form hears only
// what changed.
#include "fixture.h"
#include "tabstrip/theme.h"

namespace plovera::testing {
namespace {

using host::Look;
using host::Picture;
using host::RegRoot;

constexpr int kNone = -1;  // no value

struct OfficeThemeCase {
  const char16_t* version;
  int ui_theme;       // "UI Theme", or kNone
  int apps_use_light; // AppsUseLightTheme, or kNone
  Look look;
  Picture background;
};

class OfficeTheme : public ::testing::TestWithParam<OfficeThemeCase> {};

TEST_P(OfficeTheme, ChoosesTheLook) {
  const OfficeThemeCase& c = GetParam();
  sim::SimWindowSystem ws;
  if (c.ui_theme != kNone)
    ws.set_dword(RegRoot::current_user, office_common_key(c.version), u"UI Theme",
                 static_cast<std::uint32_t>(c.ui_theme));
  if (c.apps_use_light != kNone)
    ws.set_dword(RegRoot::current_user, kPersonalizeKey, u"AppsUseLightTheme",
                 static_cast<std::uint32_t>(c.apps_use_light));
  const BarTheme theme = read_bar_theme(ws, c.version);
  EXPECT_EQ(theme.look, c.look);
  EXPECT_EQ(theme.background, c.background);
  EXPECT_EQ(ws.open_keys(), 0);
}

constexpr Picture grey_blue = Picture::bar_grey_blue, blue = Picture::design_bar;
INSTANTIATE_TEST_SUITE_P(
    VersionsAndValues, OfficeTheme,
    ::testing::Values(
        // Word 2013: White, Light Gray, Dark Gray; nothing else.
        OfficeThemeCase{u"15.0", 0, kNone, Look::white, grey_blue},
        OfficeThemeCase{u"15.0", 1, kNone, Look::light_gray, grey_blue},
        OfficeThemeCase{u"15.0", 2, kNone, Look::dark_gray, grey_blue},
        OfficeThemeCase{u"15.0", 3, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"15.0", 6, 0, Look::office, grey_blue},
        OfficeThemeCase{u"15.0", kNone, kNone, Look::office, grey_blue},
        // Word 2016 and later: Colorful, Dark Gray, Black, White, system.
        OfficeThemeCase{u"16.0", 0, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"16.0", 3, kNone, Look::dark_gray, grey_blue},
        OfficeThemeCase{u"16.0", 4, kNone, Look::black, grey_blue},
        OfficeThemeCase{u"16.0", 5, kNone, Look::white, grey_blue},
        OfficeThemeCase{u"16.0", 6, 0, Look::black, grey_blue},
        OfficeThemeCase{u"16.0", 6, 1, Look::white, grey_blue},
        OfficeThemeCase{u"16.0", 6, kNone, Look::white, grey_blue},
        OfficeThemeCase{u"16.0", 6, 7, Look::white, grey_blue},
        // Unknown numbers: Colorful.
        OfficeThemeCase{u"16.0", 1, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"16.0", 2, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"16.0", 7, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"16.0", -5, kNone, Look::office, grey_blue},  // 0xFFFFFFFB
        // Windows' app mode alone changes nothing.
        OfficeThemeCase{u"16.0", kNone, 0, Look::office, grey_blue},
        // Word 2007 and 2010 keep their own themes whatever "UI Theme" says.
        OfficeThemeCase{u"12.0", 4, 0, Look::office, grey_blue},
        OfficeThemeCase{u"14.0", 3, kNone, Look::office, grey_blue},
        OfficeThemeCase{u"11.0", 4, kNone, Look::office, Picture::bar_grey}));

TEST(OfficeThemeValues, OfAnotherTypeGiveColorful) {
  sim::SimWindowSystem ws;
  ws.set_string(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", u"4");
  EXPECT_EQ(read_bar_theme(ws, u"16.0").look, Look::office);
  ws.set_binary(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", {4, 0, 0, 0});
  EXPECT_EQ(read_bar_theme(ws, u"16.0").look, Look::office);
  // "Use system setting" with a mode that is no number: light.
  ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", 6);
  ws.set_string(RegRoot::current_user, kPersonalizeKey, u"AppsUseLightTheme", u"0");
  EXPECT_EQ(read_bar_theme(ws, u"16.0").look, Look::white);
}

// The Colorful look is the bar's look before Word 2013's themes, Office
// 2007's "Theme" value included.
TEST(OfficeThemeValues, ColorfulKeepsTheEarlierBackground) {
  sim::SimWindowSystem ws;
  ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"Theme", 1);
  EXPECT_EQ(read_bar_theme(ws, u"16.0"), (BarTheme{blue, Look::office}));
  ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", 4);
  EXPECT_EQ(read_bar_theme(ws, u"16.0"), (BarTheme{grey_blue, Look::black}));
}

class ThemedForm : public ::testing::Test, public WordFixture {
 protected:
  ThemedForm() : WordFixture(u"16.0") {}
};

TEST_F(ThemedForm, TheFormIsToldTheLookOnceAndOnlyWhatDiffers) {
  ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", 3);
  start();
  EXPECT_EQ(form().look(), Look::dark_gray);
  EXPECT_EQ(form().picture(), grey_blue);
  EXPECT_EQ(forms.calls("Form.Look"), 1);
  EXPECT_EQ(forms.calls("Form.Picture"), 1);
}

TEST_F(ThemedForm, ColorfulTellsTheFormNoLook) {
  start();
  EXPECT_EQ(form().look(), Look::office);
  EXPECT_EQ(forms.calls("Form.Look"), 0);
}

}  // namespace
}  // namespace plovera::testing
