// The stand-in's robustness steps: their scenario forms, failures injected
// into Word's object model, and the decoy Word in a second process.
#include "automation.h"
#include "check.h"
#include "decoy.h"
#include "faults.h"
#include "scenario.h"

namespace standin_test {
namespace {

STANDIN_TEST(robustness_steps_parse) {
  const auto s = standin::parse_scenario(
      L"destroy bar\ndecoy word\ncheck decoy\nfail Window.Caption 2\nfail CommandBars\n"
      L"fail clear\ncheck dialog save Letter.docx\ncheck dialog saveas\n");
  expect(s.error.empty() && s.steps.size() == 8, "every robustness step parses", narrow(s.error));
  expect(s.steps.size() == 8 && s.steps[3].kind == L"fail" && s.steps[3].args.size() == 2 &&
             s.steps[5].kind == L"fail clear" && s.steps[6].kind == L"check dialog",
         "kinds and words");
  expect(!standin::parse_scenario(L"fail Window.Caption two\n").error.empty(),
         "a window's number must be a number");
}

// One call's result, with the code a DISP_E_EXCEPTION carries.
HRESULT call_code(IDispatch* d, const wchar_t* name, WORD flags) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO info{};
  HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, &result, &info, nullptr);
  if (hr == DISP_E_EXCEPTION) hr = info.scode;
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  VariantClear(&result);
  return hr;
}

STANDIN_TEST(injected_failures_hit_the_chosen_member_and_window) {
  WordFixture f;
  f.word->open(L"Alpha", standin::DocumentState::saved);
  f.word->open(L"Beta", standin::DocumentState::saved);
  IDispatch* windows = get_object(f.app(), L"Windows");
  IDispatch* first = get_object(windows, L"Item", {v_long(1)});
  IDispatch* second = get_object(windows, L"Item", {v_long(2)});
  expect(standin::inject_fault(L"Window.Caption", 2).empty(), "Window.Caption 2 is armed");
  expect(standin::inject_fault(L"CommandBars", 0).empty(), "a bare name is Application's");
  expect_hr(call_code(first, L"Caption", DISPATCH_PROPERTYGET), S_OK, "window 1 answers");
  expect_hr(call_code(second, L"Caption", DISPATCH_PROPERTYGET), E_FAIL,
            "window 2's Caption fails as Word raises errors");
  expect_hr(call_code(second, L"Activate", DISPATCH_METHOD), S_OK, "its other members answer");
  expect_hr(call_code(f.app(), L"CommandBars", DISPATCH_PROPERTYGET), E_FAIL,
            "Application.CommandBars fails");
  f.word->close_window(f.word->find_window(L"Alpha"), standin::SaveOption::do_not_save);
  expect_hr(call_code(second, L"Caption", DISPATCH_PROPERTYGET), S_OK,
            "the number is the place in Word's list now: Beta is window 1");
  expect(!standin::inject_fault(L"Windwo.Caption", 0).empty() &&
             !standin::inject_fault(L"CommandBar.ShowPopup", 1).empty(),
         "an unknown kind, or a number on something that is not a window or document, is refused");
  standin::clear_faults();
  expect_hr(call_code(f.app(), L"CommandBars", DISPATCH_PROPERTYGET), S_OK,
            "cleared, every member answers again");
  for (IDispatch* d : {windows, first, second}) d->Release();
}

STANDIN_TEST(the_decoy_reports_what_was_done_to_it) {
  expect(standin::start_decoy({0, 500, 300, 660}, standin::DecoyShown::aside).empty(), "the decoy Word comes up");
  HWND decoy = FindWindowW(L"OpusApp", standin::kDecoyCaption);
  DWORD pid = 0;
  GetWindowThreadProcessId(decoy, &pid);
  expect(decoy && pid != GetCurrentProcessId(), "in a process of its own");
  expect(standin::decoy_problems().empty(), "untouched, it reports nothing",
         narrow(standin::decoy_problems()));
  HWND dock = FindWindowExW(decoy, nullptr, L"MsoCommandBarDock", L"MsoDockTop");
  SetWindowPos(dock, nullptr, 0, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  expect(standin::decoy_problems().find(L"MsoDockTop moved") != std::wstring::npos,
         "a dock moved from outside is reported", narrow(standin::decoy_problems()));
  PostMessageW(decoy, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace standin_test
