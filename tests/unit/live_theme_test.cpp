// Following Office's theme while Word runs: a value written under Office's
// key or Windows' app mode, and Windows' broadcast of a new system look,
// reach every bar within a second; a storm of changes costs one read and
// one repaint per tick; an idle Word pays nothing for it.
#include <gtest/gtest.h>

#include "addin/cadence.h"
#include "fixture.h"
#include "sdi_fixture.h"
#include "tabstrip/theme.h"

namespace plovera::testing {
namespace {

using host::Look;
using host::RegRoot;

constexpr std::uint32_t kQuickPeriodMs = Cadence::quick_ticks * Cadence::quick_ms + 10;

class LiveTheme : public ::testing::Test, public WordFixture {
 protected:
  LiveTheme() : WordFixture(u"16.0") {}
  void ui_theme(std::uint32_t n) {
    ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", n);
  }
  void app_mode_light(std::uint32_t n) {
    ws.set_dword(RegRoot::current_user, kPersonalizeKey, u"AppsUseLightTheme", n);
  }
  // What reading the theme once costs the registry.
  std::int64_t queries_of_one_read() {
    const std::int64_t before = ws.calls("RegQueryValueEx");
    read_bar_theme(ws, u"16.0");
    const std::int64_t once = ws.calls("RegQueryValueEx") - before;
    ws.reset_calls();
    return once;
  }
  // Started, the quick ticks after the start run out: Word idles in front.
  void start_idle(int documents = 2) {
    open(documents);
    start();
    forms.advance(kQuickPeriodMs);
    forms.reset_calls();
    ws.reset_calls();
    forms.reset_paints();
  }
};

TEST_F(LiveTheme, AnOfficeThemePickedWhileWordIdlesShowsWithinASecond) {
  ui_theme(3);
  start_idle();
  ASSERT_EQ(form().look(), Look::dark_gray);
  ui_theme(4);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::black);
  EXPECT_EQ(forms.calls("Form.Look"), 1);
  EXPECT_EQ(forms.calls("Form.Picture"), 0) << "the background stays grey-blue";
  ui_theme(0);  // Colorful
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::office);
  EXPECT_EQ(ws.open_keys(), 0);
}

// While something keeps the ticks quick, the watch is asked once every
// fifty ticks: the other quick ticks make no system call for it.
TEST_F(LiveTheme, QuickTicksAskTheWatchTwiceASecond) {
  start_idle();
  word.raise_WindowActivate();
  ui_theme(4);
  tick(ThemeWatch::quick_ticks_per_check - 1);
  EXPECT_EQ(ws.calls("WaitForSingleObject"), 0);
  EXPECT_EQ(form().look(), Look::office);
  tick();
  EXPECT_EQ(ws.calls("WaitForSingleObject"), 1);
  EXPECT_EQ(form().look(), Look::black);
}

// A storm of writes between two ticks: one read of the theme, one word to
// the form, one repaint; writes that end where they began tell it nothing.
TEST_F(LiveTheme, AStormOfChangesIsReadOnceAndPaintedOnce) {
  ui_theme(3);
  start_idle();
  const std::int64_t one_read = queries_of_one_read();
  for (std::uint32_t i = 0; i < 50; ++i) ui_theme(i % 2 == 0 ? 4u : 5u);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::white);
  EXPECT_EQ(forms.calls("Form.Look"), 1);
  EXPECT_EQ(forms.paints(), 1);
  EXPECT_EQ(ws.calls("RegQueryValueEx"), one_read);
  forms.reset_calls();
  for (std::uint32_t i = 0; i < 50; ++i) ui_theme(i % 2 == 0 ? 4u : 5u);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(forms.total_calls(), 0) << "the theme ended as it was";
}

TEST_F(LiveTheme, AnIdleWordReadsNoThemeAndRepaintsNothing) {
  ui_theme(4);
  start_idle();
  forms.advance(10 * Cadence::foreground_ms);
  EXPECT_EQ(ws.calls("RegOpenKeyEx"), 0);
  EXPECT_EQ(ws.calls("RegQueryValueEx"), 0);
  EXPECT_EQ(ws.calls("WaitForSingleObject"), 10);
  EXPECT_EQ(forms.paints(), 0);
}

// "Use system setting": Windows switching between light and dark is heard
// by its broadcast (and by the watch of its key).
TEST_F(LiveTheme, UseSystemSettingFollowsWindowsAppMode) {
  ui_theme(6);
  app_mode_light(1);
  start_idle();
  ASSERT_EQ(form().look(), Look::white);
  app_mode_light(0);
  ws.system_look_changed();
  EXPECT_EQ(addin.ticker().interval_ms(), Cadence::quick_ms) << "the broadcast quickens the ticks";
  tick();
  EXPECT_EQ(form().look(), Look::black);
  EXPECT_EQ(forms.paints(), 1);
  // Without a broadcast the watch of Windows' key sees it too.
  forms.advance(kQuickPeriodMs);
  app_mode_light(1);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::white);
}

// High contrast turned on or off changes no theme: the form draws itself in
// the system's colours, so it is asked to repaint, once however many
// broadcasts came.
TEST_F(LiveTheme, HighContrastSwitchedRepaintsTheBarOnce) {
  start_idle();
  ws.system_look_changed();
  ws.system_look_changed();
  ws.system_look_changed();
  tick();
  EXPECT_EQ(forms.calls("Form.Refresh"), 1);
  EXPECT_EQ(forms.calls("Form.Look"), 0);
  EXPECT_EQ(forms.paints(), 1);
  tick(5);
  EXPECT_EQ(forms.calls("Form.Refresh"), 1);
}

TEST_F(LiveTheme, DamagedOrUnknownValuesGiveColorful) {
  ui_theme(4);
  start_idle();
  ws.set_string(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", u"3");
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::office);
  ui_theme(4);
  forms.advance(Cadence::foreground_ms);
  ASSERT_EQ(form().look(), Look::black);
  ui_theme(99);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::office);
  ui_theme(4);
  forms.advance(Cadence::foreground_ms);
  ws.remove_value(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme");
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::office);
}

// Where the registry refuses a watch, the broadcasts still bring changes.
TEST_F(LiveTheme, WithoutARegistryWatchBroadcastsStillCount) {
  ws.fail("RegNotifyChangeKeyValue");
  start_idle();
  EXPECT_FALSE(addin.theme_watch().watching_registry());
  ui_theme(4);
  forms.advance(5 * Cadence::foreground_ms);
  EXPECT_EQ(form().look(), Look::office);
  EXPECT_EQ(ws.calls("WaitForSingleObject"), 0);
  ws.system_look_changed();
  tick();
  EXPECT_EQ(form().look(), Look::black);
}

TEST_F(LiveTheme, TheWatchEndsWithTheBarAndWithWord) {
  start_idle();
  EXPECT_EQ(ws.registry_watches(), 1);
  connect.unload_bar();
  EXPECT_EQ(ws.registry_watches(), 0);
  ui_theme(4);
  addin.start_bar();
  EXPECT_EQ(form().look(), Look::black) << "read again at the start";
  EXPECT_EQ(ws.registry_watches(), 1);
  addin.release_word();
  EXPECT_EQ(ws.registry_watches(), 0);
}

// A bar destroyed from outside is built again in the theme of the moment.
TEST_F(LiveTheme, ABarBuiltAgainTakesTheCurrentTheme) {
  start_idle();
  ui_theme(3);
  forms.advance(Cadence::foreground_ms);
  ASSERT_EQ(form().look(), Look::dark_gray);
  ws.destroy_window(bar.window());
  forms.advance(Cadence::foreground_ms);
  ASSERT_TRUE(bar.loaded());
  EXPECT_EQ(form().look(), Look::dark_gray);
}

// Word 2010's colour scheme ("Theme": 1 blue) changes the background.
TEST(LiveClassicTheme, Word2010SchemeChangesTheBackground) {
  WordFixture f(u"14.0");
  f.open(1);
  f.start();
  ASSERT_EQ(f.form().picture(), host::Picture::bar_grey_blue);
  f.ws.set_dword(RegRoot::current_user, office_common_key(u"14.0"), u"Theme", 1);
  f.forms.advance(kQuickPeriodMs + Cadence::foreground_ms);
  EXPECT_EQ(f.form().picture(), host::Picture::design_bar);
}

// Every bar (a main window per document) is told once; the theme is read
// once for all of them.
class LiveThemeSdi : public ::testing::Test, public SdiWord {};

TEST_F(LiveThemeSdi, EveryBarIsToldOnceAndTheThemeReadOnce) {
  for (int i = 0; i < 5; ++i) open(u"Doc" + std::u16string(1, u'a' + i));
  start();
  tick(5);  // one new bar per tick
  forms.advance(kQuickPeriodMs);
  ASSERT_EQ(docked_frames(), 5);
  forms.reset_calls();
  ws.reset_calls();
  forms.reset_paints();
  ws.set_dword(RegRoot::current_user, office_common_key(u"16.0"), u"UI Theme", 4);
  forms.advance(Cadence::foreground_ms);
  EXPECT_EQ(forms.calls("Form.Look"), 5);
  EXPECT_EQ(forms.paints(), 5);
  EXPECT_EQ(ws.calls("RegQueryValueEx"), 1) << "one read of \"UI Theme\" for five bars";
  for (const auto& f : addin.frames())
    if (f->bar().loaded()) EXPECT_EQ(form_of(*f).look(), Look::black);
  EXPECT_EQ(problems(), "");
}

}  // namespace
}  // namespace plovera::testing
