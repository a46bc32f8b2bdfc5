// The reporting hook: what reaches the debugger, the event trace and the
// log; each distinct failure once per Word run; the start-up line; the
// "About Plovera" box and the policy that hides the web site.
#include <algorithm>
#include <string>

#include "base/failure_reporter.h"
#include "base/first_failure.h"
#include "commands/menu.h"
#include "base/ui_texts.h"
#include "fixture.h"
#include "sim/sim_diagnostics.h"

namespace plovera::testing {
namespace {

using ::testing::HasSubstr;

int count_containing(const std::vector<std::u16string>& lines, const std::u16string& part) {
  int n = 0;
  for (const auto& l : lines) n += l.find(part) != std::u16string::npos;
  return n;
}

// ---- The reporter on its own ---------------------------------------------

class Reporter : public ::testing::Test {
 protected:
  sim::RecordedReports reports;
  std::vector<std::u16string>& traced() { return reports.outputs.traced; }
};

TEST_F(Reporter, EachDistinctPlaceMemberAndCodeOnceWithTheFileNameOnly) {
  reports.outputs.log_on = true;
  for (int i = 0; i < 3; ++i) {
    ignore_errors([] { throw_host_error(status::fail, "Window.Caption"); });
    ignore_errors([] { throw_host_error(status::bad_index, "Window.Caption"); });
    ignore_errors([] { throw_host_error(status::fail, "Windows.Count"); });
  }
  for (int i = 0; i < 2; ++i) boundary_guard([] { throw std::bad_alloc(); });
  ASSERT_EQ(traced().size(), 4u);
  EXPECT_THAT(utf8(traced()[0]), ::testing::MatchesRegex(
                                     "failure at diagnostics_test\\.cpp:[0-9]+: Window\\.Caption 0x80004005"));
  EXPECT_THAT(utf8(traced()[1]), HasSubstr("Window.Caption 0x8002000B"));
  EXPECT_THAT(utf8(traced()[2]), HasSubstr("Windows.Count 0x80004005"));
  EXPECT_THAT(utf8(traced()[3]), HasSubstr("operator new 0x8007000E"));
  EXPECT_EQ(reports.outputs.logged.size(), 4u);
  reports.reporter.forget();  // a new Word run
  ignore_errors([] { throw_host_error(status::fail, "Windows.Count"); });
  EXPECT_EQ(traced().size(), 5u);
}

TEST_F(Reporter, GoneObjectsAndSuccessAreNoFailures) {
  for (status_t gone : {status::disconnected, status::not_connected, status::server_died})
    ignore_errors([gone] { throw_host_error(gone, "Window.Caption"); });
  report_failure("Window.Caption", status::ok);
  EXPECT_TRUE(traced().empty());
}

TEST_F(Reporter, NothingGoesToTheLogWhileItIsOff) {
  ignore_errors([] { throw_host_error(status::fail, "CommandBars.Add"); });
  EXPECT_EQ(traced().size(), 1u);
  EXPECT_TRUE(reports.outputs.logged.empty());
}

// The first failure kept is reported where it is finally caught; later
// ones end in the collector and are reported there.
TEST_F(Reporter, FirstFailureReportsEachFailureOnce) {
  const status_t st = boundary_guard([] {
    FirstFailure failure;
    failure.run([] { throw_host_error(status::fail, "first"); });
    failure.run([] { throw_host_error(status::fail, "second"); });
    failure.run([] {});
    failure.rethrow();
  });
  EXPECT_EQ(st, status::fail);
  ASSERT_EQ(traced().size(), 2u);
  EXPECT_EQ(count_containing(traced(), u": second "), 1);
  EXPECT_EQ(count_containing(traced(), u": first "), 1);
}

TEST_F(Reporter, AStormOfTenThousandIsBounded) {
  reports.outputs.log_on = true;
  for (int i = 0; i < 10000; ++i) ignore_errors([] { throw_host_error(status::fail, "Window.Caption"); });
  EXPECT_EQ(traced().size(), 1u);
  // Ten thousand distinct failures: the bound, then one line that says so.
  for (int i = 0; i < 10000; ++i) report_failure("Window.Caption", static_cast<status_t>(0x80000000u + i));
  EXPECT_EQ(traced().size(), FailureReporter::kMaxDistinct + 1);
  EXPECT_EQ(utf8(traced().back()), "further failures are not reported in this Word run");
  EXPECT_EQ(reports.outputs.logged.size(), traced().size());
}

TEST_F(Reporter, WordsTextGoesWithItsOwnFailureOnlyOnOneEscapedLine) {
  last_failure_member() = "Document.Save";
  last_failure_text() = u"Disk full.\r\nC:\\docs\\a\tb \x0001 \u2028 日本 \xD83D\xDE00";
  report_failure("Document.Save", status::fail);
  report_failure("Window.Close", status::fail);  // another member: Word's words are not its
  ASSERT_EQ(traced().size(), 2u);
  EXPECT_EQ(traced()[0].substr(traced()[0].find(u'"')),
            u"\"Disk full.\\r\\nC:\\\\docs\\\\a\\tb \\u0001 \\u2028 日本 \xD83D\xDE00\"");
  EXPECT_EQ(traced()[1].find(u'"'), std::u16string::npos);
  last_failure_member() = nullptr;
  last_failure_text().clear();
}

TEST(Utf8, SurrogatePairsBecomeFourBytesAndLoneOnesTheReplacementCharacter) {
  EXPECT_EQ(to_utf8(u"a\u00e9\u65e5"), "a\xC3\xA9\xE6\x97\xA5");
  EXPECT_EQ(to_utf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(to_utf8(std::u16string(1, u'\xD83D') + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(to_utf8(std::u16string(1, u'\xDE00')), "\xEF\xBF\xBD");
  EXPECT_EQ(to_utf8(std::u16string(1, u'\xD83D')), "\xEF\xBF\xBD");
}

TEST_F(Reporter, AReportMadeWhileAnotherIsWrittenIsDroppedNotWaitedFor) {
  struct Reentering final : DiagnosticOutputs {
    int calls = 0;
    void trace(std::u16string_view, bool) noexcept override {
      ++calls;
      report_failure("inner", status::fail);
    }
    void log(std::string_view) noexcept override {}
    bool log_enabled() const noexcept override { return false; }
    std::u16string log_path() const override { return {}; }
  } outputs;
  FailureReporter reporter(outputs);
  host::install_diagnostics(&reporter);
  report_failure("outer", status::fail);
  host::install_diagnostics(&reports.reporter);
  EXPECT_EQ(outputs.calls, 1);
}

// ---- The add-in's reports --------------------------------------------------

class AddinReports : public ::testing::Test, public WordFixture {
 protected:
  AddinReports() : WordFixture(u"16.0") {
    reports.outputs.log_on = true;
    ws.set_rect(ws.desktop(), {0, 0, 1920, 1080});
    word.ui_language(1031);
  }
  sim::RecordedReports reports;
  const std::vector<std::u16string>& traced() { return reports.outputs.traced; }
};

TEST_F(AddinReports, StartUpLineComesFirstWithTheFactsOfThisRun) {
  open(1);
  start();
  ASSERT_FALSE(traced().empty());
  EXPECT_EQ(utf8(traced()[0]),
            "start Plovera " PLOVERA_VERSION " " + std::to_string(sizeof(void*) * 8) +
                "-bit; Word 16.0 build 16.0.4000.1000; a main window per document; 96 dpi, "
                "screen 1920x1080; UI language 1031");
  EXPECT_EQ(reports.outputs.logged.size(), traced().size());
  tick(5);
  connect.on_disconnection(0);
  EXPECT_EQ(count_containing(traced(), u"start Plovera"), 1);
}

TEST_F(AddinReports, CaptionAndCommandBarsFailingAreEachReportedOnceNotOnEveryTick) {
  open(2);
  word.fail("Application.CommandBars");
  start();
  word.fail("Window.Caption");
  tick(50);
  ASSERT_EQ(forms.mouse_down({host::Part::bar, 0}, host::kRightButton), status::ok);
  ASSERT_EQ(forms.mouse_down({host::Part::bar, 0}, host::kRightButton), status::ok);
  EXPECT_EQ(count_containing(traced(), u"Window.Caption 0x80004005"), 1);
  EXPECT_GE(count_containing(traced(), u"Application.CommandBars 0x80004005"), 1);
  // Once per place: deleting a leftover menu, building it at start-up and
  // when first opened, showing it.
  EXPECT_LE(count_containing(traced(), u"Application.CommandBars 0x80004005"), 4);
  const std::size_t before = traced().size();
  tick(50);
  forms.mouse_down({host::Part::bar, 0}, host::kRightButton);
  EXPECT_EQ(traced().size(), before);
}

TEST_F(AddinReports, AWindowWordClosedIsNoFailure) {
  open(2);
  start();
  tick(2);
  const std::size_t before = traced().size();
  word.close_window(window(u"Doc1"));
  tick(5);
  EXPECT_EQ(traced().size(), before);
}

// ---- "About Plovera" ---------------------------------------------------------

class About : public ::testing::Test, public WordFixture {
 protected:
  About() : WordFixture(u"14.0") {}
  sim::SimButton& about_button() { return *word.bar(u"tabPopup")->buttons().back(); }
  sim::RecordedReports reports;
};

TEST_F(About, ShowsVersionsBitnessTheLogAndTheWebSite) {
  reports.outputs.log_on = true;
  open(1);
  start();
  ASSERT_EQ(word.click(about_button()), status::ok);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"About Plovera");
  EXPECT_EQ(ws.messages()[0].second,
            u"Plovera " PLOVERA_VERSION u" (" + std::u16string(sizeof(void*) == 8 ? u"64" : u"32") +
                u"-bit)\nMicrosoft Word 14.0 (14.0.4000.1000)\n\nLog file: " + reports.outputs.path +
                u" (on)\n\n" + kWebSite);
}

TEST_F(About, InWordsLanguageAndWithoutWhatWordRefuses) {
  word.ui_language(1031);
  open(1);
  start();
  word.fail("Application.Version");
  word.fail("Application.Build");
  ASSERT_EQ(word.click(about_button()), status::ok);
  ASSERT_EQ(ws.messages().size(), 1u);
  EXPECT_EQ(ws.messages()[0].first, u"Über Plovera");
  const std::u16string& text = ws.messages()[0].second;
  EXPECT_EQ(text.find(u"Microsoft Word"), std::u16string::npos);
  EXPECT_NE(text.find(u"Protokolldatei: " + reports.outputs.path + u" (aus)"), std::u16string::npos);
  EXPECT_NE(text.find(kWebSite), std::u16string::npos);
}

TEST_F(About, EveryLanguageNamesTheItemAndTheLog) {
  for (std::int32_t lcid : {1033, 1031, 1036, 3082, 1040, 1046, 2070, 1043, 1045, 1049, 1041, 2052}) {
    EXPECT_NE(ui_text(Text::about, lcid).find(u"Plovera"), std::u16string::npos) << lcid;
    EXPECT_NE(ui_text(Text::log_on, lcid), ui_text(Text::log_off, lcid)) << lcid;
  }
  EXPECT_NE(ui_text(Text::about, 1031), ui_text(Text::about, 1033));
}

// ---- The policy that hides "Visit our web site" -------------------------------

TEST(WebSitePolicy, ADwordOtherThanZeroHidesTheItemAnythingElseDoesNot) {
  const std::u16string key = u"Software\\Policies\\Quennix\\Plovera";
  struct Case {
    int type;  // 0: none, 1: DWORD, 2: string
    std::uint32_t value;
    bool hidden;
  };
  for (const Case c : {Case{0, 0, false}, Case{1, 1, true}, Case{1, 7, true}, Case{1, 0, false},
                       Case{2, 1, false}}) {
    WordFixture f;
    if (c.type == 1) f.ws.set_dword(host::RegRoot::local_machine, key, u"HideWebSite", c.value);
    if (c.type == 2) f.ws.set_string(host::RegRoot::local_machine, key, u"HideWebSite", u"1");
    f.open(1);
    f.start();
    sim::SimCommandBar* popup = f.word.bar(u"tabPopup");
    ASSERT_NE(popup, nullptr);
    std::vector<std::u16string> captions;
    for (const auto& b : popup->buttons()) captions.push_back(b->caption());
    const bool has_web_site =
        std::find(captions.begin(), captions.end(), u"Visit our web site") != captions.end();
    EXPECT_EQ(has_web_site, !c.hidden) << c.type << " " << c.value;
    EXPECT_EQ(captions.size(), c.hidden ? kMenuItems - 1 : kMenuItems) << c.type << " " << c.value;
    EXPECT_EQ(captions.back(), u"About Plovera") << c.type;
    // The user policy key is not the administrator's: it hides nothing.
  }
  WordFixture f;
  f.ws.set_dword(host::RegRoot::current_user, key, u"HideWebSite", 1);
  f.open(1);
  f.start();
  EXPECT_EQ(f.word.bar(u"tabPopup")->buttons().size(), kMenuItems);
}

}  // namespace
}  // namespace plovera::testing
