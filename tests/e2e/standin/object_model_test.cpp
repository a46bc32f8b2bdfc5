// Word's object model as the add-in sees it: names, identity, closed
// windows, captions of several views, the save-as dialog object, and the
// reference accounting that the end-to-end runs rely on.
#include "automation.h"
#include "check.h"
#include "documents.h"

namespace standin_test {
namespace {

constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr WORD kMethod = DISPATCH_METHOD;

STANDIN_TEST(names_resolve_case_insensitively) {
  WordFixture f;
  DISPID ids[3] = {};
  const wchar_t* spellings[3] = {L"ShowWindowsInTaskbar", L"showwindowsintaskbar", L"SHOWWINDOWSINTASKBAR"};
  for (int i = 0; i < 3; ++i) {
    LPOLESTR name = const_cast<LPOLESTR>(spellings[i]);
    f.app()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &ids[i]);
  }
  expect(ids[0] == 0x1C4 && ids[1] == 0x1C4 && ids[2] == 0x1C4, "every spelling gives Word's DISPID 0x1C4");
  DISPID unknown = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"NoSuchMember");
  expect_hr(f.app()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &unknown),
            DISP_E_UNKNOWNNAME, "an unknown name is refused");
  expect(unknown == DISPID_UNKNOWN, "and its DISPID reads DISPID_UNKNOWN");
  const IID application = {0x00020970, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  IUnknown* as_application = nullptr;
  expect_hr(f.app()->QueryInterface(application, reinterpret_cast<void**>(&as_application)), S_OK,
            "the Application answers for Word's _Application interface");
  if (as_application) as_application->Release();
}

STANDIN_TEST(windows_keep_their_identity) {
  WordFixture f;
  f.word->open(L"Alpha", standin::DocumentState::saved);
  f.word->open(L"Beta", standin::DocumentState::saved);
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* first = get_object(windows, L"Item", {v_long(1)});
  IDispatch* again = get_object(windows, L"Item", {v_long(1)});
  IDispatch* second = get_object(windows, L"Item", {v_long(2)});
  IDispatch* active = get_object(f.app(), L"ActiveWindow");
  expect(first && first == again, "Windows.Item(1) is the same object every time");
  expect(second && second == active, "the active window is the same object as its Windows item");
  expect(first != second, "two windows are two objects");
  IUnknown* unknown_a = nullptr;
  IUnknown* unknown_b = nullptr;
  first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown_a));
  again->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown_b));
  expect(unknown_a == unknown_b, "their IUnknown identity is the same");
  unknown_a->Release();
  unknown_b->Release();
  expect_hr(invoke(windows, L"Item", kGet, {v_long(3)}), standin::kNoSuchMember, "Item(3) of 2 fails");
  expect_hr(invoke(windows, L"Item", kGet, {v_long(0)}), standin::kNoSuchMember, "Item(0) fails: 1-based");
  for (IDispatch* d : {windows, first, again, second, active}) d->Release();
  expect_number(references_held(), 0, "every reference the test took is given back");
}

STANDIN_TEST(a_closed_window_stops_answering) {
  WordFixture f;
  f.word->open(L"Alpha", standin::DocumentState::changed);
  f.word->open(L"Beta", standin::DocumentState::saved);
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* alpha = get_object(windows, L"Item", {v_long(1)});
  expect_text(get_text(alpha, L"Caption"), L"Alpha", "the window answers while open");
  // Close(SaveChanges:=wdDoNotSaveChanges): no prompt.
  expect_hr(invoke(alpha, L"Close", kMethod, {v_long(0), v_missing()}), S_OK, "Close without saving");
  expect_hr(invoke(alpha, L"Caption", kGet), RPC_E_DISCONNECTED, "the closed window's Caption fails");
  expect_hr(invoke(alpha, L"Activate", kMethod), RPC_E_DISCONNECTED, "so does Activate");
  expect_number(get_long(windows, L"Count"), 1, "Word has one window left");
  IDispatch* active = get_object(f.app(), L"ActiveWindow");
  expect_text(get_text(active, L"Caption"), L"Beta", "Beta is active");
  active->Release();
  windows->Release();
  expect_number(static_cast<long>(alpha->Release()), 0, "the closed window is released normally");
  expect_number(references_held(), 0, "nothing is held after that");
}

STANDIN_TEST(several_views_of_a_document) {
  WordFixture f;
  standin::WindowObj* one = f.word->open(L"Alpha", standin::DocumentState::saved);
  standin::WindowObj* two = f.word->new_window(one->document);
  expect_text(one->caption() + L" " + two->caption(), L"Alpha:1 Alpha:2", "two views are numbered");
  f.word->close_window(one, standin::SaveOption::prompt);
  expect_text(two->caption(), L"Alpha", "the last view takes the document's name again");
  expect_number(static_cast<long>(f.word->documents().size()), 1, "the document stays open");
  f.word->save_as(two->document, L"C:\\Work\\Renamed.docx");
  expect_text(two->caption() + L" " + two->document->path, L"Renamed.docx C:\\Work",
              "save as changes the caption and the folder");
}

STANDIN_TEST(the_file_dialog_keeps_its_proposal) {
  WordFixture f;
  IDispatch* first = get_object(f.app(), L"FileDialog", {v_long(2)});
  expect_hr(put(first, L"InitialFileName", v_text(L"Report")), S_OK, "InitialFileName can be set");
  IDispatch* second = get_object(f.app(), L"FileDialog", {v_long(2)});
  expect(first == second, "FileDialog(2) is one object");
  expect_text(get_text(second, L"InitialFileName"), L"Report", "a later fetch sees the proposed name");
  expect_hr(invoke(f.app(), L"FileDialog", kGet, {v_long(9)}), E_INVALIDARG, "an unknown dialog type fails");
  first->Release();
  second->Release();
}

STANDIN_TEST(references_are_counted_per_holder) {
  WordFixture f;
  f.word->open(L"Alpha", standin::DocumentState::saved);
  IDispatch* documents = get_object(f.app(), L"Documents");
  IDispatch* doc = get_object(documents, L"Item", {v_long(1)});
  expect_number(references_held(), 2, "two objects taken, two references held");
  const auto report = standin::outstanding_references();
  bool names_document = false;
  for (const auto& h : report.holders) names_document = names_document || h == L"Document Alpha: 1";
  expect(names_document, "the report names the document and its count");
  documents->Release();
  doc->Release();
  expect_number(references_held(), 0, "released, nothing is held");
  const long before = standin::outstanding_references().over_released;
  f.app()->Release();
  expect_number(standin::outstanding_references().over_released - before, 1,
                "a Release never earned is counted as an over-release");
}

STANDIN_TEST(application_width_is_in_points) {
  WordFixture f;
  RECT r;
  GetWindowRect(f.word->frame().main(), &r);
  const long expected = MulDiv(r.right - r.left, 72, f.word->dpi());
  expect_number(get_long(f.app(), L"Width"), expected, "Width = window width x 72 / dpi");
  expect_hr(put(f.app(), L"ShowWindowsInTaskbar", v_bool(false)), S_OK, "ShowWindowsInTaskbar can be set");
  expect(!f.word->show_windows_in_taskbar(), "and Word holds the new value");
  expect_hr(invoke(f.app(), L"ActiveWindow", kGet), standin::kNoDocumentOpen,
            "ActiveWindow fails while no document is open");
}

}  // namespace
}  // namespace standin_test
