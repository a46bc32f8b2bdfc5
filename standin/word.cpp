// The Application object: its members, its connection points, and the life
// of the stand-in's objects from start-up to shutdown.
#include "word.h"

#include <cwchar>

#include "commandbars.h"
#include "file_dialog.h"
#include "guids.h"
#include "host/word_versions.h"
#include "log.h"
#include "system_model.h"

namespace standin {
namespace {

namespace id {
constexpr DISPID Name = 0;
constexpr DISPID Windows = 2;
constexpr DISPID ActiveDocument = 3;
constexpr DISPID ActiveWindow = 4;
constexpr DISPID Documents = 6;
constexpr DISPID Visible = 0x17;
constexpr DISPID Version = 0x18;
constexpr DISPID Build = 0x2F;
constexpr DISPID CommandBars = 0x39;
constexpr DISPID Caption = 0x50;
constexpr DISPID Left = 0x57;
constexpr DISPID Top = 0x58;
constexpr DISPID Width = 0x59;
constexpr DISPID Height = 0x5A;
constexpr DISPID FileDialog = 0x1C2;
constexpr DISPID ShowWindowsInTaskbar = 0x1C4;
// Not taken from Word's type library: the add-in resolves it by name.
constexpr DISPID LanguageSettings = 0x1B7;
constexpr DISPID Quit = 0x451;
}  // namespace id

constexpr Member kAppMembers[] = {
    {L"Name", id::Name},         {L"Windows", id::Windows},
    {L"ActiveDocument", id::ActiveDocument}, {L"ActiveWindow", id::ActiveWindow},
    {L"Documents", id::Documents}, {L"Visible", id::Visible},
    {L"Version", id::Version},   {L"Build", id::Build},
    {L"CommandBars", id::CommandBars},
    {L"Caption", id::Caption},   {L"Left", id::Left},
    {L"Top", id::Top},           {L"Width", id::Width},
    {L"Height", id::Height},     {L"FileDialog", id::FileDialog},
    {L"ShowWindowsInTaskbar", id::ShowWindowsInTaskbar}, {L"Quit", id::Quit},
    {L"LanguageSettings", id::LanguageSettings},
};
constexpr IID kAppIids[] = {iid::Application};

// The event interfaces, oldest first, and the Word version that added each.
struct EventInterface {
  IID iid;
  double since;
};
constexpr EventInterface kEventInterfaces[] = {
    {iid::ApplicationEvents, plovera::host::word97},
    {iid::ApplicationEvents2, plovera::host::word2000},
    {iid::ApplicationEvents3, plovera::host::word2002},
    {iid::ApplicationEvents4, plovera::host::word2003},
};

// Whether the event `id` exists on the interface at `level` (0 = oldest).
bool carries(size_t level, DISPID id) {
  if (id <= event::DocumentChange) return true;
  if (id == event::WindowSize) return level >= 2;
  return level >= 1;
}

}  // namespace

Word::Word(HINSTANCE instance, const WordOptions& options)
    : DispatchObject(kAppMembers, kAppIids),
      instance_(instance),
      options_(options),
      sdi_(options.sdi.value_or(plovera::host::document_windows_of(version_number()) ==
                                plovera::host::DocumentWindows::main_window_per_document)) {
  own();
  frames_.push_back(make_frame(options.placement));
  windows_obj_ = new WindowsObj(*this);
  windows_obj_->own();
  documents_obj_ = new DocumentsObj(*this);
  documents_obj_->own();
  language_settings_ = new LanguageSettingsObj(*this);
  language_settings_->own();
  command_bars_ = new CommandBarsObj([this] { return frame().main(); }, options.command_bar_file);
  command_bars_->own();
  command_bars_->load();
  for (const EventInterface& e : kEventInterfaces) {
    auto* point = new ConnectionPoint(this, e.iid, L"Application");
    point->own();
    event_points_.push_back(point);
  }
  refresh_captions();
}

Word::~Word() = default;

HRESULT Word::QueryInterface(REFIID iid, void** out) { return DispatchObject::QueryInterface(iid, out); }

void* Word::other_interface(REFIID iid) {
  if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  return nullptr;
}

HRESULT Word::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT Word::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!connected()) return RPC_E_DISCONNECTED;
  for (size_t i = 0; i < event_points_.size(); ++i) {
    if (event_points_[i]->iid() != iid) continue;
    if (version_number() < kEventInterfaces[i].since) break;
    *out = event_points_[i];
    event_points_[i]->AddRef();
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

size_t Word::application_sinks() const {
  size_t n = 0;
  for (ConnectionPoint* p : event_points_) n += p->sink_count();
  return n;
}

double Word::version_number() const { return std::wcstod(options_.version.c_str(), nullptr); }

int Word::dpi() const {
  if (const int monitor = system_model::monitor_dpi()) return monitor;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void Word::call(DISPID member, const Args& args, VARIANT* result) {
  switch (member) {
    case id::Name: put_string(result, L"Microsoft Word"); return;
    case id::Caption: put_string(result, L"Microsoft Word"); return;
    case id::Version: put_string(result, options_.version); return;
    // Word's full build: its version with a build and a revision number.
    case id::Build: put_string(result, options_.version + L".4000.1000"); return;
    case id::Visible: if (!args.is_put()) put_bool(result, true); return;
    case id::Windows: put_object(result, windows_obj_); return;
    case id::Documents: put_object(result, documents_obj_); return;
    case id::CommandBars: put_object(result, command_bars_); return;
    case id::ActiveWindow:
    case id::ActiveDocument:
      if (!active_) fail(kNoDocumentOpen, L"This command is not available because no document is open.");
      if (member == id::ActiveWindow) put_object(result, active_);
      else put_object(result, active_->document);
      return;
    case id::ShowWindowsInTaskbar:
      if (args.is_put()) {
        show_in_taskbar_ = args.put_bool();
        log_line(std::wstring(L"ShowWindowsInTaskbar = ") + (show_in_taskbar_ ? L"True" : L"False"));
      } else {
        put_bool(result, show_in_taskbar_);
      }
      return;
  }
  call_more(member, args, result);
}

void Word::call_more(DISPID member, const Args& args, VARIANT* result) {
  const RECT r = frame().rect();
  const int dpi_now = dpi();
  switch (member) {
    case id::Left: put_long(result, MulDiv(r.left, 72, dpi_now)); return;
    case id::Top: put_long(result, MulDiv(r.top, 72, dpi_now)); return;
    case id::Width: put_long(result, MulDiv(r.right - r.left, 72, dpi_now)); return;
    case id::Height: put_long(result, MulDiv(r.bottom - r.top, 72, dpi_now)); return;
    case id::FileDialog: put_object(result, file_dialog(args.as_long(0))); return;
    case id::LanguageSettings: put_object(result, language_settings_); return;
    case id::Quit: PostMessageW(frame().main(), Frame::kQuitMessage, 0, 0); return;
  }
  fail(DISP_E_MEMBERNOTFOUND, L"Application member");
}

FileDialogObj* Word::file_dialog(long type) {
  if (type < 1 || type > 4) fail(E_INVALIDARG, L"Invalid procedure call or argument");
  for (FileDialogObj* d : file_dialogs_)
    if (d->type() == type) return d;
  auto* d = new FileDialogObj(*this, type);
  d->own();
  file_dialogs_.push_back(d);
  return d;
}

void Word::raise(DISPID member, const wchar_t* name, DocumentObj* doc, WindowObj* window) {
  std::vector<VARIANT> args;
  for (IDispatch* object : {static_cast<IDispatch*>(doc), static_cast<IDispatch*>(window)}) {
    if (!object) continue;
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    object->AddRef();
    args.push_back(v);
  }
  log_line(std::wstring(L"raising ") + name);
  AddRef();  // Word stays alive whatever the sinks do
  for (size_t level = 0; level < event_points_.size(); ++level)
    if (carries(level, member) && version_number() >= kEventInterfaces[level].since)
      event_points_[level]->raise(member, args, name);
  for (VARIANT& v : args) v.pdispVal->Release();
  Release();
}

void Word::shut_down() {
  for (ConnectionPoint* p : event_points_) p->close();
  command_bars_->save();
  while (!windows_.empty()) forget_window(windows_.back());
  command_bars_->close_all();
  for (DispatchObject* o :
       std::initializer_list<DispatchObject*>{windows_obj_, documents_obj_, language_settings_})
    o->disconnect();
  for (FileDialogObj* d : file_dialogs_) d->disconnect();
  disconnect();
  for (auto& f : frames_) f->destroy();
  // Whatever the add-in still holds stays alive for it, answering nothing.
  for (ConnectionPoint* p : event_points_) p->disown();
  for (FileDialogObj* d : file_dialogs_) d->disown();
  event_points_.clear();
  file_dialogs_.clear();
  windows_obj_->disown();
  documents_obj_->disown();
  language_settings_->disown();
  command_bars_->disown();
}

}  // namespace standin
