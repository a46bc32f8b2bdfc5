// The Word and Office adapters against scripted automation objects: what
// goes over IDispatch (names, DISPIDs, flags, arguments), what comes back,
// identity, errors, and that every reference is given back.
#include <vector>

#include "win32/window_system.h"

#include "check.h"
#include "fake_automation.h"
#include "win32/guids.h"
#include "win32/office_adapters.h"
#include "win32/word_adapters.h"

using check::expect;
using check::expect_thrown;
using check::thrown_by;
using plovera::host::Ref;
namespace win32 = plovera::win32;

extern long g_allocations;  // counted by host_test_main.cpp

namespace {

bool is_missing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }
bool is_int(const VARIANT& v, LONG n) { return v.vt == VT_I4 && v.lVal == n; }
bool is_text(const VARIANT& v, const wchar_t* s) {
  return v.vt == VT_BSTR && std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) == s;
}
bool is_bool(const VARIANT& v, bool b) {
  return v.vt == VT_BOOL && v.boolVal == (b ? VARIANT_TRUE : VARIANT_FALSE);
}

void make_window(fake::Dispatch& w, const wchar_t* caption) {
  w.names = {{L"Caption", 0}, {L"Activate", 0x64}, {L"Close", 0x66}, {L"Hwnd", 0x27}};
  w.on[0] = fake::returns_text(caption);
}

void make_application(fake::Dispatch& app) {
  app.names = {{L"Version", 0x18},     {L"Windows", 2},
               {L"ActiveWindow", 4},   {L"ShowWindowsInTaskbar", 0x1C4},
               {L"Width", 0x59},       {L"Documents", 6},
               {L"FileDialog", 0x1C2}, {L"CommandBars", 0x39}};
  app.also_answers = {win32::IID_WordApplication};
  app.on[0x18] = fake::returns_text(L"16.0");
}

Ref<plovera::host::Application> application_of(fake::Dispatch& app) {
  return win32::wrap_host_object(&app)->QueryApplication();
}

// Runs first: the DISPID cache is per adapter type for the whole program.
void windows_and_captions() {
  fake::Dispatch app, doc1, doc2;
  make_application(app);
  const wchar_t* caption = L"Документ 1 — 文書 \U0001D11E";
  make_window(doc1, caption);
  make_window(doc2, L"Doc2");
  fake::Dispatch windows;
  windows.names = {{L"Count", 2}, {L"Item", 0}};
  windows.on[2] = fake::returns_int(2);
  windows.on[0] = fake::returns_object(&doc1);
  app.on[2] = fake::returns_object(&windows);
  app.on[4] = fake::returns_object(&doc1);
  {
    auto word = application_of(app);
    std::u16string version;
    word->Version(version);
    expect(version == u"16.0", "Application.Version reads the version text");

    auto active = word->ActiveWindow();
    expect(active == word->ActiveWindow(), "ActiveWindow twice gives the same adapter");
    auto list = word->Windows();
    expect(list->Count() == 2, "Windows.Count");
    expect(list->Item(1) == active, "Windows.Item of the active window gives its adapter");
    const fake::Call* item = windows.last(0);
    expect(item && item->args.size() == 1 && is_int(item->args[0], 1) &&
               item->flags == (DISPATCH_METHOD | DISPATCH_PROPERTYGET),
           "Windows.Item passes the 1-based index");

    std::u16string text;
    active->Caption(text);
    expect(text == reinterpret_cast<const char16_t*>(caption),
           "Window.Caption reads text of any script whole");
    const char16_t* buffer = text.data();
    active->Caption(text);
    expect(text.data() == buffer, "a second Caption reuses the caller's buffer");

    windows.on[0] = fake::returns_object(&doc2);
    auto second = list->Item(2);
    expect(!(second == active), "another window gets another adapter");
    second->Caption(text);
    expect(text == u"Doc2", "Caption of the second window");
    expect(fake::g_lookups[L"Caption"] == 1, "Caption is looked up by name once for all windows",
           std::to_string(fake::g_lookups[L"Caption"]) + " lookups");

    // Window.Hwnd: a Long; a handle with the high bit set comes back whole
    // and turns into the same HWND again.
    doc1.on[0x27] = fake::returns_int(0x000A01F2);
    doc2.on[0x27] = fake::returns_int(static_cast<LONG>(0xFFFF8C2Eu));
    expect(active->Hwnd() == 0x000A01F2u && doc1.last(0x27) &&
               doc1.last(0x27)->flags == DISPATCH_PROPERTYGET && doc1.last(0x27)->args.empty(),
           "Window.Hwnd is a property get answering the frame's handle");
    const plovera::host::Hwnd high = second->Hwnd();
    expect(high == 0xFFFF8C2Eu &&
               win32::to_hwnd(high) == reinterpret_cast<HWND>(static_cast<INT_PTR>(-29650)),
           "a sign-extended handle survives Window.Hwnd and to_hwnd");
    doc2.on[0x27] = fake::fails_with(RPC_E_DISCONNECTED);
    expect_thrown(thrown_by([&] { second->Hwnd(); }), RPC_E_DISCONNECTED, "Window.Hwnd",
                  "a closed window's Hwnd fails naming the member");

    active->Activate();
    expect(doc1.last(0x64) && doc1.last(0x64)->args.empty() &&
               doc1.last(0x64)->flags == DISPATCH_METHOD,
           "Window.Activate is a method call without arguments");
    active->Close();
    const fake::Call* close = doc1.last(0x66);
    expect(close && close->args.size() == 2 && is_missing(close->args[0]) &&
               is_missing(close->args[1]),
           "Window.Close passes SaveChanges and RouteDocument omitted");
  }
  expect(app.refs() == 1 && doc1.refs() == 1 && doc2.refs() == 1 && windows.refs() == 1,
         "every reference on Word's objects is given back",
         std::to_string(app.refs()) + " " + std::to_string(doc1.refs()) + " " +
             std::to_string(doc2.refs()) + " " + std::to_string(windows.refs()));
}

// What one tick asks Word through the real adapters, with `count` windows
// whose adapters the tab model holds: the taskbar option, the active window,
// the held window collection's count and every window's caption. Returns the
// time per tick in microseconds; counts allocations into `allocations`.
double time_ticks(int count, int ticks, long& allocations, bool& same) {
  std::vector<fake::Dispatch> windows_fakes(static_cast<std::size_t>(count));
  fake::Dispatch app, windows;
  make_application(app);
  for (int i = 0; i < count; ++i) make_window(windows_fakes[static_cast<std::size_t>(i)], L"A caption of a usual length.docx");
  windows.on[2] = fake::returns_int(count);
  app.on[2] = fake::returns_object(&windows);
  app.on[4] = fake::returns_object(&windows_fakes.back());
  app.on[0x1C4] = fake::returns_bool(false);
  app.record = windows.record = false;
  for (auto& w : windows_fakes) w.record = false;
  auto word = application_of(app);
  std::vector<plovera::host::Ref<plovera::host::Window>> held;  // as the tab model holds its windows
  for (auto& w : windows_fakes) {
    app.on[4] = fake::returns_object(&w);
    held.push_back(word->ActiveWindow());
  }
  auto collection = word->Windows();  // held between ticks
  std::u16string text;
  text.reserve(64);
  const auto tick = [&] {
    if (word->ShowWindowsInTaskbar()) word->ShowWindowsInTaskbar(false);
    const plovera::host::Ref<plovera::host::Window> active = word->ActiveWindow();
    same = same && active == held.back();
    same = same && collection->Count() == count;
    for (const auto& w : held) w->Caption(text);
  };
  same = true;
  tick();  // the first use of each member looks its DISPID up, once
  const long before = g_allocations;
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceCounter(&start);
  for (int t = 0; t < ticks; ++t) tick();
  QueryPerformanceCounter(&end);
  allocations = g_allocations - before;  // before building any message
  QueryPerformanceFrequency(&frequency);
  return 1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / ticks;
}

// The tick runs 100 times a second: through the real adapters it must
// allocate nothing, and its cost must grow with the number of windows, not
// with its square (every read finds its adapter in constant time).
void steady_state_poll() {
  long allocations = 0;
  bool same = false;
  const double small = time_ticks(20, 2000, allocations, same);
  expect(same, "each tick finds the held window's adapter and the window count");
  expect(allocations == 0, "a steady-state tick with 20 windows allocates nothing",
         std::to_string(allocations) + " allocations in 2000 ticks");
  const double large = time_ticks(400, 100, allocations, same);
  expect(allocations == 0, "a steady-state tick with 400 windows allocates nothing",
         std::to_string(allocations) + " allocations in 100 ticks");
  // 20 times the windows: linear cost is about 20 times; quadratic would be 400.
  expect(large < small * 80, "the tick's cost grows linearly with the windows",
         std::to_string(small) + " us at 20, " + std::to_string(large) + " us at 400");
  std::printf("INFO one tick through the real adapters: %.2f us at 20 windows, %.2f us at 400\n",
              small, large);
}

void application_properties() {
  fake::Dispatch app;
  make_application(app);
  app.on[0x1C4] = fake::returns_bool(true);
  app.on[0x59] = fake::returns_text(L"612");  // a string that converts
  {
    auto word = application_of(app);
    expect(word->ShowWindowsInTaskbar(), "ShowWindowsInTaskbar reads a Boolean");
    word->ShowWindowsInTaskbar(false);
    const fake::Call* put = app.last(0x1C4);
    expect(put && put->put && put->flags == DISPATCH_PROPERTYPUT && put->args.size() == 1 &&
               is_bool(put->args[0], false),
           "ShowWindowsInTaskbar(false) is a property put of VARIANT_FALSE");
    expect(word->Width() == 612, "Width converts the result to a number");
  }
  expect(app.refs() == 1, "no reference kept on Application");
}

void failures_become_host_errors() {
  fake::Dispatch plain;  // an automation object that is not Word
  expect_thrown(thrown_by([&] { win32::wrap_host_object(&plain)->QueryApplication(); }),
                E_NOINTERFACE, "Application.QueryInterface",
                "an object without Word's Application interface gives E_NOINTERFACE");

  fake::Dispatch app, window;
  make_application(app);
  make_window(window, L"x");
  app.on[4] = fake::returns_object(nullptr);
  auto word = application_of(app);
  expect_thrown(thrown_by([&] { word->ActiveWindow(); }), E_POINTER, "Application.ActiveWindow",
                "a null object result is an error, not an empty reference");

  app.on[4] = fake::returns_object(&window);
  auto w = word->ActiveWindow();
  std::u16string text = u"unchanged";
  window.on[0] = fake::raises(static_cast<HRESULT>(0x800A1066));
  expect_thrown(thrown_by([&] { w->Caption(text); }), 0x800A1066, "Window.Caption",
                "a Word exception carries its own code and names the member");
  window.on[0] = fake::fails_with(RPC_E_DISCONNECTED);
  expect_thrown(thrown_by([&] { w->Caption(text); }), RPC_E_DISCONNECTED, "Window.Caption",
                "a failing Invoke status names the member");
  expect(text == u"unchanged", "a failed Caption leaves the caller's text alone");

  fake::Dispatch documents, doc;
  documents.names = {{L"Count", 2}, {L"Item", 0}};
  documents.on[0] = fake::returns_object(&doc);
  app.on[6] = fake::returns_object(&documents);
  auto d = word->Documents()->Item(1);
  expect_thrown(thrown_by([&] { d->Save(); }), DISP_E_UNKNOWNNAME, "Document.Save",
                "an unknown member name is an error naming the member");
  doc.names[L"Save"] = 0x6C;
  expect(thrown_by([&] { d->Save(); }).code == 0 && doc.last(0x6C),
         "a failed name lookup is not cached: the next call resolves it");
}

void documents_and_save_dialog() {
  fake::Dispatch app, documents, doc, window, dialog;
  make_application(app);
  make_window(window, L"Doc1");
  documents.names = {{L"Count", 2}, {L"Item", 0}};
  documents.on[2] = fake::returns_int(3);
  documents.on[0] = fake::returns_object(&doc);
  doc.names = {{L"Name", 0}, {L"Path", 3}, {L"Saved", 0x28}, {L"Save", 0x6C},
               {L"ActiveWindow", 0x2A}};
  doc.on[0] = fake::returns_text(L"Doc1");
  doc.on[3] = [](const fake::Call&, VARIANT* r, EXCEPINFO*) {
    r->vt = VT_BSTR;
    r->bstrVal = nullptr;  // a null BSTR is the empty string
    return S_OK;
  };
  doc.on[0x28] = fake::returns_bool(false);
  doc.on[0x2A] = fake::returns_object(&window);
  dialog.names = {{L"InitialFileName", 0x6003000C}, {L"Show", 0x60030011},
                  {L"Execute", 0x60030012}};
  dialog.on[0x60030011] = fake::returns_int(-1);
  app.on[6] = fake::returns_object(&documents);
  app.on[4] = fake::returns_object(&window);
  app.on[0x1C2] = fake::returns_object(&dialog);
  {
    auto word = application_of(app);
    auto docs = word->Documents();
    expect(docs->Count() == 3, "Documents.Count");
    auto d = docs->Item(2);
    expect(documents.last(0) && is_int(documents.last(0)->args[0], 2), "Documents.Item(2)");
    std::u16string text;
    d->Name(text);
    expect(text == u"Doc1", "Document.Name");
    d->Path(text);
    expect(text.empty(), "Document.Path of a never-saved document is empty");
    expect(!d->Saved(), "Document.Saved");
    expect(d->ActiveWindow() == word->ActiveWindow(),
           "Document.ActiveWindow gives the same adapter as Application.ActiveWindow");

    auto fd = word->FileDialog(2);
    const fake::Call* get = app.last(0x1C2);
    expect(get && get->args.size() == 1 && is_int(get->args[0], 2),
           "Application.FileDialog passes the dialog type");
    fd->InitialFileName(u"Doc1");
    const fake::Call* name = dialog.last(0x6003000C);
    expect(name && name->put && is_text(name->args[0], L"Doc1"),
           "FileDialog.InitialFileName is a property put of the text");
    expect(fd->Show() == -1, "FileDialog.Show returns Word's number");
    fd->Execute();
    expect(dialog.last(0x60030012) != nullptr, "FileDialog.Execute is called");
  }
  expect(doc.refs() == 1 && window.refs() == 1 && dialog.refs() == 1 && documents.refs() == 1,
         "documents, window and dialog references are given back");
}

void command_bars() {
  fake::Dispatch app, bars, bar, controls, button;
  make_application(app);
  bars.names = {{L"Item", 0}, {L"Add", 0x60030002}};
  bars.on[0] = fake::returns_object(&bar);
  bars.on[0x60030002] = fake::returns_object(&bar);
  bar.names = {{L"Delete", 0x60040004}, {L"Controls", 0x60040003}, {L"ShowPopup", 0x6004001A}};
  bar.on[0x60040003] = fake::returns_object(&controls);
  controls.names = {{L"Add", 0x60030000}};
  controls.on[0x60030000] = fake::returns_object(&button);
  button.names = {{L"FaceId", 0x60050003}, {L"Caption", 0x60040003},
                  {L"TooltipText", 0x60040025}, {L"Style", 0x6005000A},
                  {L"Tag", 0x60040023}, {L"Parameter", 0x6004001D}};
  button.on[0x6004001D] = [](const fake::Call& c, VARIANT* r, EXCEPINFO*) {
    if (!c.put) r->vt = VT_BSTR, r->bstrVal = SysAllocString(L"website");
    return S_OK;
  };
  app.on[0x39] = fake::returns_object(&bars);
  {
    auto word = application_of(app);
    auto all = word->CommandBars();
    all->Item(u"tabPopup")->Delete();
    expect(bars.last(0) && is_text(bars.last(0)->args[0], L"tabPopup") &&
               bar.last(0x60040004),
           "CommandBars.Item by name, then CommandBar.Delete");
    auto popup = all->Add(u"tabPopup", 5, true);
    const fake::Call* add = bars.last(0x60030002);
    expect(add && add->flags == DISPATCH_METHOD && add->args.size() == 4 &&
               is_text(add->args[0], L"tabPopup") && is_int(add->args[1], 5) &&
               is_missing(add->args[2]) && is_bool(add->args[3], true),
           "CommandBars.Add(Name, Position, MenuBar omitted, Temporary)");

    auto b = popup->Controls()->Add(1, 1, std::nullopt, true);
    const fake::Call* c = controls.last(0x60030000);
    expect(c && c->args.size() == 5 && is_int(c->args[0], 1) && is_int(c->args[1], 1) &&
               is_missing(c->args[2]) && is_missing(c->args[3]) && is_bool(c->args[4], true),
           "Controls.Add(Type, Id, Parameter omitted, Before omitted, Temporary)");
    popup->Controls()->Add(1, 1, 1, true);
    c = controls.last(0x60030000);
    expect(c && is_int(c->args[3], 1) && is_missing(c->args[2]),
           "Controls.Add with an insert position passes Before");

    b->FaceId(1016);
    b->Caption(u"Visit our web site");
    b->TooltipText(u"Visit our web site");
    b->Style(3);
    b->Tag(u"marrowick");
    b->Parameter(u"website");
    expect(button.calls.size() == 6 && button.last(0x60050003)->put &&
               is_int(button.last(0x60050003)->args[0], 1016) &&
               is_text(button.last(0x60040003)->args[0], L"Visit our web site") &&
               is_int(button.last(0x6005000A)->args[0], 3) &&
               is_text(button.last(0x60040023)->args[0], L"marrowick") &&
               is_text(button.last(0x6004001D)->args[0], L"website"),
           "button properties are property puts of their values");
    std::u16string parameter;
    b->Parameter(parameter);
    expect(parameter == u"website", "CommandBarButton.Parameter reads back");

    popup->ShowPopup();
    const fake::Call* show = bar.last(0x6004001A);
    expect(show && show->args.size() == 2 && is_missing(show->args[0]) &&
               is_missing(show->args[1]),
           "ShowPopup passes both coordinates omitted (at the pointer)");
  }
  expect(bars.refs() == 1 && bar.refs() == 1 && controls.refs() == 1 && button.refs() == 1,
         "command-bar references are given back");
}

}  // namespace

void word_adapter_tests() {
  windows_and_captions();
  steady_state_poll();
  application_properties();
  failures_become_host_errors();
  documents_and_save_dialog();
  command_bars();
}
