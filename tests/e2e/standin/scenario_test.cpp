// The scenario language and Word's add-in list: what parses, what fails
// with its line, and which registered add-ins load.
#include "addins.h"
#include "check.h"
#include "scenario.h"

namespace standin_test {
namespace {

std::string steps_text(const standin::Scenario& s) {
  std::string text;
  for (const auto& step : s.steps) {
    text += "[" + std::to_string(step.line) + " " + narrow(step.kind);
    for (const auto& a : step.args) text += "|" + narrow(a);
    if (step.frame) text += "@" + std::to_string(step.frame);
    text += "]";
  }
  return text;
}

STANDIN_TEST(scenarios_parse_into_steps) {
  const auto s = standin::parse_scenario(
      L"# comment\r\n\nstart\nopen \"My Doc\" unsaved  # trailing comment\n"
      L"check tabs \"A B* C\"\ncheck button tabPopup 1 caption=\"Save All\" faceid=455\n"
      L"pointer bar 10 -2\nanswer save no\naddin remove\ncheck undocked\naddin add\n");
  expect(s.error.empty(), "a valid file parses", narrow(s.error));
  const std::string want =
      "[3 start][4 open|My Doc|unsaved][5 check tabs|A B* C]"
      "[6 check button|tabPopup|1|caption=Save All|faceid=455][7 pointer bar|10|-2][8 answer save|no]"
      "[9 addin remove][10 check undocked][11 addin add]";
  expect(steps_text(s) == want, "kinds, words and line numbers", steps_text(s));
}

STANDIN_TEST(steps_may_name_a_frame) {
  const auto s = standin::parse_scenario(
      L"sdi off\ncheck tabs \"A B*\" frame 2\npointer tab 1 close frame 3\ncheck docked\n"
      L"destroy bar frame 1\nscreenshot shot screen\nscreenshot shot frame 2\nresize frame 2 800 600\n"
      L"check frame 1 \"A - Word\"\ncheck tabs frame\n");
  expect(s.error.empty(), "a valid file parses", narrow(s.error));
  const std::string want =
      "[1 sdi|off][2 check tabs|A B*@2][3 pointer tab|1|close@3][4 check docked][5 destroy bar@1]"
      "[6 screenshot|shot|screen][7 screenshot|shot@2][8 resize frame|2|800|600]"
      "[9 check frame|1|A - Word][10 check tabs|frame]";
  expect(steps_text(s) == want, "a trailing \"frame N\" becomes the step's frame, not a word",
         steps_text(s));
  for (const wchar_t* bad : {L"check docked frame", L"check docked frame two", L"sdi maybe",
                             L"check hot 1 frame 2 3", L"tile"}) {
    const auto b = standin::parse_scenario(bad);
    expect(b.error.rfind(L"line 1: malformed", 0) == 0, "refused: " + narrow(bad), narrow(b.error));
  }
}

STANDIN_TEST(a_bad_line_fails_with_its_number) {
  struct Case {
    const wchar_t* text;
    const wchar_t* starts;
    const char* what;
  };
  const Case cases[] = {
      {L"start\nfrobnicate now\n", L"line 2: unknown step 'frobnicate'", "an unknown step"},
      {L"start\n\nresize 10\n", L"line 3: malformed step 'resize 10'", "too few words"},
      {L"resize ten 20\n", L"line 1: malformed", "a word where a number belongs"},
      {L"check taskbar maybe\n", L"line 1: malformed", "a word outside its choices"},
      {L"addin reload\n", L"line 1: malformed step 'addin reload'", "an add-in step that does not exist"},
      {L"quit\ncheck tabs \"A B\n", L"line 2: unterminated quote", "an open quote"},
  };
  for (const Case& c : cases) {
    const auto s = standin::parse_scenario(c.text);
    expect(s.error.rfind(c.starts, 0) == 0, c.what, narrow(s.error));
  }
}

// Writes a Word add-in entry under `root` with the given LoadBehavior.
void register_addin(HKEY root, const wchar_t* prog_id, DWORD load_behavior) {
  const std::wstring key = std::wstring(L"Software\\Microsoft\\Office\\Word\\Addins\\") + prog_id;
  RegSetKeyValueW(root, key.c_str(), L"LoadBehavior", REG_DWORD, &load_behavior, sizeof load_behavior);
}

void unregister_addin(HKEY root, const wchar_t* prog_id) {
  const std::wstring key = std::wstring(L"Software\\Microsoft\\Office\\Word\\Addins\\") + prog_id;
  RegDeleteTreeW(root, key.c_str());
}

bool contains(const std::vector<std::wstring>& list, const wchar_t* item) {
  for (const auto& s : list)
    if (s == item) return true;
  return false;
}

STANDIN_TEST(add_ins_load_by_their_load_behavior) {
  register_addin(HKEY_CURRENT_USER, L"Test.User", 3);
  register_addin(HKEY_CURRENT_USER, L"Test.Disabled", 2);
  register_addin(HKEY_LOCAL_MACHINE, L"Test.Machine", 3);
  register_addin(HKEY_LOCAL_MACHINE, L"Test.Overridden", 3);
  register_addin(HKEY_CURRENT_USER, L"Test.Overridden", 2);
  const auto load = standin::registered_addins();
  expect(contains(load, L"Test.User") && contains(load, L"Test.Machine"), "LoadBehavior 3 loads, per user or machine");
  expect(!contains(load, L"Test.Disabled"), "LoadBehavior 2 does not");
  expect(!contains(load, L"Test.Overridden"), "a per-user entry overrides the machine's");
  for (const wchar_t* id : {L"Test.User", L"Test.Disabled", L"Test.Overridden"}) unregister_addin(HKEY_CURRENT_USER, id);
  for (const wchar_t* id : {L"Test.Machine", L"Test.Overridden"}) unregister_addin(HKEY_LOCAL_MACHINE, id);
}

}  // namespace
}  // namespace standin_test
