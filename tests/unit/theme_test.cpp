// The bar's background chosen from Word's version and the Office theme, the
// registry reader behind it, and the reset of the strip when the form loads.
#include "base/registry_value.h"
#include "fixture.h"

namespace plovera::testing {
namespace {

using host::Picture;
using host::RegRoot;

struct ThemeCase {
  const char16_t* version;
  int theme;  // -1: no value
  Picture expected;
};

class Theme : public ::testing::TestWithParam<ThemeCase> {};

TEST_P(Theme, ChoosesTheBackground) {
  const ThemeCase& c = GetParam();
  WordFixture f(c.version);
  if (c.theme >= 0)
    f.ws.set_dword(RegRoot::current_user,
                   u"Software\\Microsoft\\Office\\" + std::u16string(c.version) + u"\\Common",
                   u"Theme", static_cast<std::uint32_t>(c.theme));
  f.start();
  EXPECT_EQ(f.form().picture(), c.expected);
  EXPECT_EQ(f.ws.open_keys(), 0);
}

constexpr Picture blue = Picture::design_bar, grey_blue = Picture::bar_grey_blue, grey = Picture::bar_grey;
INSTANTIATE_TEST_SUITE_P(
    VersionsAndThemes, Theme,
    ::testing::Values(ThemeCase{u"11.0", -1, grey}, ThemeCase{u"11.0", 1, grey},
                      ThemeCase{u"11.0", 2, grey}, ThemeCase{u"11.0", 3, grey},
                      ThemeCase{u"12.0", -1, grey_blue}, ThemeCase{u"12.0", 1, blue},
                      ThemeCase{u"12.0", 2, grey_blue}, ThemeCase{u"12.0", 3, grey_blue},
                      ThemeCase{u"13.0", -1, blue}, ThemeCase{u"13.0", 1, blue},
                      ThemeCase{u"13.0", 2, blue}, ThemeCase{u"13.0", 3, blue},
                      ThemeCase{u"14.0", -1, grey_blue}, ThemeCase{u"14.0", 1, blue},
                      ThemeCase{u"14.0", 2, grey_blue}, ThemeCase{u"14.0", 3, grey_blue},
                      ThemeCase{u"16.0", 1, blue}, ThemeCase{u"16.0", 3, grey_blue}));

class Registry : public ::testing::Test, public WordFixture {
 protected:
  const std::u16string key = u"Software\\Test";
  std::u16string read(const char16_t* name, std::uint32_t type) {
    return read_registry_value(ws, RegRoot::current_user, key, name, type);
  }
};

TEST_F(Registry, ReadsStringsWithoutTheirTerminator) {
  ws.set_string(RegRoot::current_user, key, u"s", u"  Office 2007 ");
  ws.set_string(RegRoot::current_user, key, u"e", u"%TEMP%\\x", host::reg::type_expandable_string);
  ws.set_string(RegRoot::current_user, key, u"empty", u"");
  EXPECT_EQ(read(u"s", host::reg::type_string), u"Office 2007");  // blanks trimmed
  EXPECT_EQ(read(u"e", host::reg::type_string), u"%TEMP%\\x");
  EXPECT_EQ(read(u"empty", host::reg::type_string), u"");
  ws.set_value(RegRoot::current_user, key, u"zero", host::reg::type_string, {});  // no data at all
  EXPECT_EQ(read(u"zero", host::reg::type_string), u"");
}

TEST_F(Registry, ReadsAMultiStringAsStored) {
  ws.set_multi(RegRoot::current_user, key, u"m", {u"a", u"b"});
  EXPECT_EQ(read(u"m", host::reg::type_string), std::u16string(u"a\0b\0", 4));
}

TEST_F(Registry, ReadsAStringLongerThanTheBufferWhole) {
  const std::u16string long_text(3000, u'\u00e9');
  ws.set_string(RegRoot::current_user, key, u"long", long_text);
  EXPECT_EQ(read(u"long", host::reg::type_string), long_text);
}

TEST_F(Registry, ReadsNumbersAsUnsignedDecimal) {
  ws.set_dword(RegRoot::current_user, key, u"all", 0xFFFFFFFFu);
  ws.set_dword(RegRoot::current_user, key, u"one", 1);
  EXPECT_EQ(read(u"all", host::reg::type_dword), u"4294967295");
  EXPECT_EQ(read(u"one", host::reg::type_dword), u"1");
}

TEST_F(Registry, ReadsBinaryAsHexBytes) {
  ws.set_binary(RegRoot::current_user, key, u"b", {0x0A, 0xFF});
  EXPECT_EQ(read(u"b", host::reg::type_binary), u"0A FF");
}

TEST_F(Registry, MissingValueOrKeyIsNoError) {
  ws.create_key(RegRoot::current_user, key);
  std::uint32_t type = host::reg::type_dword;
  EXPECT_EQ(read_registry_value(ws, RegRoot::current_user, key, u"none", type), u"0");
  EXPECT_EQ(type, host::reg::type_dword);
  type = host::reg::type_string;
  EXPECT_EQ(read_registry_value(ws, RegRoot::current_user, u"Software\\Missing", u"x", type), u"");
  EXPECT_EQ(ws.open_keys(), 0);
  EXPECT_EQ(ws.calls("RegQueryValueEx"), 1);  // no query on a key that did not open
}

TEST_F(Registry, OpensForReadingOnly) {
  ws.set_dword(RegRoot::current_user, key, u"one", 1);
  read(u"one", host::reg::type_dword);
  ASSERT_EQ(ws.opened_access().size(), 1u);
  EXPECT_EQ(ws.opened_access()[0], host::reg::read_access);
}

TEST_F(Registry, TypeComesFromTheRegistry) {
  ws.set_string(RegRoot::current_user, key, u"s", u"7");
  std::uint32_t type = host::reg::type_dword;
  EXPECT_EQ(read_registry_value(ws, RegRoot::current_user, key, u"s", type), u"7");
  EXPECT_EQ(type, host::reg::type_string);
}

class FormLoad : public ::testing::Test, public WordFixture {};

TEST_F(FormLoad, ResetsTheStrip) {
  open(2);
  start();
  EXPECT_EQ(form().width_twips(), 11910.0f);  // docked: (600 * 20 - 80) \ 15 pixels
  EXPECT_FALSE(el(host::Part::left_arrow, 0).visible);
  EXPECT_FALSE(el(host::Part::right_arrow, 0).visible);
  EXPECT_EQ(bar.count(), 0);
}

// Unloading the form and starting the bar again while the add-in stays
// loaded brings the counters back to 0 together with the new tables.
TEST_F(FormLoad, RestartBringsTheCountersBackToZero) {
  open(3);
  start();
  tick(2);
  ASSERT_EQ(bar.count(), 3);
  connect.unload_bar();
  EXPECT_EQ(forms.form(), nullptr);
  EXPECT_EQ(addin.dock_offset_for_testing(), 0);
  addin.start_bar();
  EXPECT_EQ(bar.count(), 0);
  EXPECT_EQ(addin.model().count(), 0);
  EXPECT_EQ(bar.selected(), Slot(0));
  tick(2);
  EXPECT_EQ(strip(), "Doc1 Doc2 Doc3*");
  EXPECT_EQ(invariants(), "");
}

// The theme is read once when the bar starts, not by each bar as it loads:
// a bar built again asks Word nothing for it.
TEST_F(FormLoad, LoadingTheFormAsksWordNothingForTheTheme) {
  connect.on_connection(word.host_object(), 1, nullptr);
  addin.find_main_window();
  word.fail("Application.Version", 1);
  EXPECT_NO_THROW(bar.window());
  EXPECT_TRUE(bar.loaded());
  EXPECT_EQ(word.calls("Application.Version"), 0);
}

}  // namespace
}  // namespace plovera::testing
