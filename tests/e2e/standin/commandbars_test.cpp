// Office's command bars in the stand-in: the Click fan-out by Tag, the
// failures the add-in's menu code meets, and what survives a restart.
#include "automation.h"
#include "check.h"
#include "commandbars.h"
#include "guids.h"

namespace standin_test {
namespace {

constexpr WORD kMethod = DISPATCH_METHOD;
constexpr WORD kGet = DISPATCH_PROPERTYGET;

// Controls.Add(Type:=1, Id:=1, , , Temporary) with a tag.
IDispatch* add_button(IDispatch* bar, const wchar_t* caption, const wchar_t* tag, bool temporary) {
  IDispatch* controls = get_object(bar, L"Controls");
  IDispatch* button =
      get_object(controls, L"Add", {v_long(1), v_long(1), v_missing(), v_missing(), v_bool(temporary)});
  controls->Release();
  put(button, L"Caption", v_text(caption));
  put(button, L"Tag", v_text(tag));
  return button;
}

std::wstring temp_file(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

STANDIN_TEST(a_click_reaches_every_receiver_of_the_tag) {
  WordFixture f;
  IDispatch* bars = get_object(f.app(), L"CommandBars");
  IDispatch* bar = get_object(bars, L"Add", {v_text(L"menu"), v_long(5)});
  IDispatch* first = add_button(bar, L"One", L"shared", true);
  IDispatch* second = add_button(bar, L"Two", L"shared", true);
  IDispatch* other = add_button(bar, L"Three", L"alone", true);
  RecordingSink on_first, on_other;
  const DWORD c1 = advise(first, standin::iid::CommandBarButtonEvents, &on_first);
  const DWORD c3 = advise(other, standin::iid::CommandBarButtonEvents, &on_other);
  expect_number(static_cast<long>(f.word->command_bars().button_sinks()), 2, "two receivers are counted");
  invoke(second, L"Execute", kMethod);
  expect(on_first.calls.size() == 1 && on_first.calls[0].id == 1,
         "a click on the second button reaches the receiver of the first (same Tag)");
  expect(!on_first.calls.empty() && on_first.calls[0].last == second, "Ctrl is the clicked button");
  expect(!on_first.calls.empty() && on_first.calls[0].types.size() == 2 &&
             on_first.calls[0].types[0] == (VT_BOOL | VT_BYREF),
         "CancelDefault arrives by reference in rgvarg[0]");
  expect(on_other.calls.empty(), "a receiver on another Tag hears nothing");
  invoke(other, L"Execute", kMethod);
  expect(on_other.calls.size() == 1 && on_first.calls.size() == 1, "its own button's click reaches it alone");
  unadvise(first, standin::iid::CommandBarButtonEvents, c1);
  unadvise(other, standin::iid::CommandBarButtonEvents, c3);
  for (IDispatch* d : {bars, bar, first, second, other}) d->Release();
  expect_number(references_held(), 0, "all references given back");
}

STANDIN_TEST(command_bar_calls_fail_as_office_does) {
  WordFixture f;
  IDispatch* bars = get_object(f.app(), L"CommandBars");
  expect_hr(invoke(bars, L"Item", kGet, {v_text(L"tabPopup")}), E_INVALIDARG, "Item of a missing bar fails");
  IDispatch* bar = get_object(bars, L"Add", {v_text(L"tabPopup"), v_long(5)});
  expect(bar != nullptr, "Add(Name, Position) with MenuBar and Temporary omitted");
  expect_hr(invoke(bars, L"Add", kMethod, {v_text(L"tabPopup"), v_long(5)}), E_INVALIDARG,
            "a second bar of the same name is refused");
  IDispatch* found = get_object(bars, L"Item", {v_text(L"TABPOPUP")});
  expect(found == bar, "Item finds the bar by name, case-insensitively");
  IDispatch* toolbar = get_object(bars, L"Item", {v_text(L"Standard")});
  expect_hr(invoke(toolbar, L"ShowPopup", kMethod), E_INVALIDARG, "ShowPopup fails on a bar that is no popup");
  expect_hr(invoke(bar, L"Delete", kMethod), S_OK, "the bar can be deleted");
  expect_hr(invoke(bar, L"Controls", kGet), RPC_E_DISCONNECTED, "a deleted bar stops answering");
  expect_hr(invoke(bars, L"Item", kGet, {v_text(L"tabPopup")}), E_INVALIDARG, "and is gone from the collection");
  for (IDispatch* d : {bars, bar, found, toolbar}) d->Release();
}

STANDIN_TEST(bars_outlive_word_but_temporary_buttons_do_not) {
  const std::wstring file = temp_file(L"standin-test-bars.txt");
  DeleteFileW(file.c_str());
  {
    WordFixture f(L"12.0", file);
    IDispatch* bars = get_object(f.app(), L"CommandBars");
    IDispatch* kept = get_object(bars, L"Add", {v_text(L"kept"), v_long(5)});
    IDispatch* gone = get_object(bars, L"Add", {v_text(L"gone"), v_long(5), v_missing(), v_bool(true)});
    IDispatch* stays = add_button(kept, L"Stays", L"t", false);
    IDispatch* goes = add_button(kept, L"Goes", L"t", true);
    put(stays, L"Parameter", v_text(L"p"));
    put(stays, L"FaceId", v_long(455));
    for (IDispatch* d : {bars, kept, gone, stays, goes}) d->Release();
  }  // Word exits and writes its bars
  WordFixture again(L"12.0", file);
  standin::CommandBarObj* kept = again.word->command_bars().find(L"kept");
  expect(kept != nullptr, "the non-temporary bar is there at the next start");
  expect(again.word->command_bars().find(L"gone") == nullptr, "the temporary bar is not");
  expect(kept && kept->controls.size() == 1 && kept->controls[0]->values.caption == L"Stays",
         "only the non-temporary button came back");
  expect(kept && !kept->controls.empty() && kept->controls[0]->values.parameter == L"p" &&
             kept->controls[0]->values.face_id == 455,
         "with its values");
  DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace standin_test
