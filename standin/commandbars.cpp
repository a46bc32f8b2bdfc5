#include "commandbars.h"

#include <algorithm>

#include "guids.h"
#include "log.h"

namespace standin {
namespace {

namespace id {
constexpr DISPID Item = 0;
constexpr DISPID BarControls = 0x60040003;
constexpr DISPID BarDelete = 0x60040004;
constexpr DISPID BarName = 0x6004000E;
constexpr DISPID BarPosition = 0x60040013;
constexpr DISPID BarShowPopup = 0x6004001A;
constexpr DISPID BarVisible = 0x6004001E;
constexpr DISPID ControlsAdd = 0x60030000;
constexpr DISPID ControlsCount = 0x60030001;
constexpr DISPID BeginGroup = 0x60040000;
constexpr DISPID Caption = 0x60040003;
constexpr DISPID Delete = 0x60040007;
constexpr DISPID Enabled = 0x6004000A;
constexpr DISPID Execute = 0x6004000C;
constexpr DISPID Id = 0x60040013;
constexpr DISPID Parameter = 0x6004001D;
constexpr DISPID Tag = 0x60040023;
constexpr DISPID TooltipText = 0x60040025;
constexpr DISPID Type = 0x60040028;
constexpr DISPID Visible = 0x60040029;
constexpr DISPID FaceId = 0x60050003;
constexpr DISPID Style = 0x6005000A;
}  // namespace id

constexpr Member kBarMembers[] = {
    {L"Controls", id::BarControls}, {L"Delete", id::BarDelete},     {L"Name", id::BarName},
    {L"Position", id::BarPosition}, {L"ShowPopup", id::BarShowPopup}, {L"Visible", id::BarVisible}};
constexpr IID kBarIids[] = {iid::CommandBar};
constexpr Member kControlsMembers[] = {
    {L"Item", id::Item}, {L"Add", id::ControlsAdd}, {L"Count", id::ControlsCount}};
constexpr IID kControlsIids[] = {iid::CommandBarControls};
constexpr Member kButtonMembers[] = {
    {L"Caption", id::Caption}, {L"Delete", id::Delete},         {L"Enabled", id::Enabled},
    {L"Execute", id::Execute}, {L"Id", id::Id},                 {L"Parameter", id::Parameter},
    {L"Tag", id::Tag},         {L"TooltipText", id::TooltipText}, {L"Type", id::Type},
    {L"Visible", id::Visible}, {L"FaceId", id::FaceId},         {L"Style", id::Style},
    {L"BeginGroup", id::BeginGroup}};
constexpr IID kButtonIids[] = {iid::CommandBarControl, iid::CommandBarButton};

// Office's error for an invalid argument, such as an unknown bar name.
constexpr HRESULT kInvalidArgument = E_INVALIDARG;

bool get_or_put_long(const Args& args, long& field, VARIANT* result) {
  if (args.is_put()) field = args.put_long();
  else put_long(result, field);
  return true;
}

bool get_or_put_text(const Args& args, std::wstring& field, VARIANT* result) {
  if (args.is_put()) field = args.put_string();
  else put_string(result, field);
  return true;
}

}  // namespace

// ---- CommandBarButton ----

CommandBarButtonObj::CommandBarButtonObj(CommandBarsObj& bars, CommandBarObj* bar,
                                         ButtonValues v)
    : DispatchObject(kButtonMembers, kButtonIids), values(std::move(v)), bars_(bars), bar_(bar) {
  clicks_ = new ConnectionPoint(this, iid::CommandBarButtonEvents, L"CommandBarButton");
  clicks_->own();
}

CommandBarButtonObj::~CommandBarButtonObj() {
  clicks_->close();
  clicks_->disown();
}

HRESULT CommandBarButtonObj::QueryInterface(REFIID iid, void** out) {
  return DispatchObject::QueryInterface(iid, out);
}

void* CommandBarButtonObj::other_interface(REFIID iid) {
  if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  return nullptr;
}

HRESULT CommandBarButtonObj::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT CommandBarButtonObj::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!connected()) return RPC_E_DISCONNECTED;
  if (iid != iid::CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
  *out = clicks_;
  clicks_->AddRef();
  return S_OK;
}

void CommandBarButtonObj::remove() {
  bar_ = nullptr;
  disconnect();
  clicks_->close();
  disown();
}

bool CommandBarButtonObj::call_text(DISPID member, const Args& args, VARIANT* result) {
  switch (member) {
    case id::Caption: return get_or_put_text(args, values.caption, result);
    case id::Parameter: return get_or_put_text(args, values.parameter, result);
    case id::Tag: return get_or_put_text(args, values.tag, result);
    case id::TooltipText: return get_or_put_text(args, values.tooltip, result);
  }
  return false;
}

void CommandBarButtonObj::call(DISPID member, const Args& args, VARIANT* result) {
  if (call_text(member, args, result)) return;
  switch (member) {
    case id::FaceId: get_or_put_long(args, values.face_id, result); return;
    case id::Style: get_or_put_long(args, values.style, result); return;
    case id::Type: put_long(result, values.type); return;
    case id::Id: put_long(result, values.id); return;
    case id::Enabled:
      if (args.is_put()) values.enabled = args.put_bool();
      else put_bool(result, values.enabled);
      return;
    case id::BeginGroup:
      if (args.is_put()) values.begin_group = args.put_bool();
      else put_bool(result, values.begin_group);
      return;
    case id::Visible:
      if (args.is_put()) values.visible = args.put_bool();
      else put_bool(result, values.visible);
      return;
    case id::Execute: bars_.click(this); return;
    case id::Delete:
      if (bar_) bar_->remove_control(this);
      return;
  }
  fail(DISP_E_MEMBERNOTFOUND, L"CommandBarButton member");
}

// ---- CommandBarControls ----

CommandBarControlsObj::CommandBarControlsObj(CommandBarObj& bar)
    : DispatchObject(kControlsMembers, kControlsIids), bar_(bar) {}

std::wstring CommandBarControlsObj::describe() const {
  return L"CommandBarControls " + bar_.name;
}

void CommandBarControlsObj::call(DISPID member, const Args& args, VARIANT* result) {
  switch (member) {
    case id::ControlsCount: put_long(result, static_cast<long>(bar_.controls.size())); return;
    case id::Item: {
      const long i = args.as_long(0);
      if (i < 1 || i > static_cast<long>(bar_.controls.size())) fail(kInvalidArgument, L"Item");
      put_object(result, bar_.controls[static_cast<size_t>(i - 1)]);
      return;
    }
    case id::ControlsAdd: {
      // Add(Type, Id, Parameter, Before, Temporary); only buttons are offered.
      ButtonValues v;
      v.type = args.has(0) ? args.as_long(0) : 1;
      if (v.type != 1) fail(kInvalidArgument, L"Only buttons can be added");
      v.id = args.has(1) ? args.as_long(1) : 1;
      if (args.has(2)) v.parameter = args.as_string(2);
      const long before = args.has(3) ? args.as_long(3) : 0;
      v.temporary = args.has(4) && args.as_bool(4);
      put_object(result, bar_.add(std::move(v), before));
      return;
    }
  }
  fail(DISP_E_MEMBERNOTFOUND, L"CommandBarControls member");
}

// ---- CommandBar ----

CommandBarObj::CommandBarObj(CommandBarsObj& bars, std::wstring name_, long position_,
                             bool temporary_, bool built_in_)
    : DispatchObject(kBarMembers, kBarIids),
      name(std::move(name_)),
      position(position_),
      temporary(temporary_),
      built_in(built_in_),
      bars_(bars) {
  controls_obj_ = new CommandBarControlsObj(*this);
  controls_obj_->own();
}

CommandBarButtonObj* CommandBarObj::add(ButtonValues values, long before) {
  if (before < 0 || before > static_cast<long>(controls.size()) + 1)
    fail(kInvalidArgument, L"Before is out of range");
  auto* button = new CommandBarButtonObj(bars_, this, std::move(values));
  button->own();
  const auto at = before >= 1 ? controls.begin() + (before - 1) : controls.end();
  controls.insert(at, button);
  return button;
}

void CommandBarObj::remove_control(CommandBarButtonObj* button) {
  controls.erase(std::remove(controls.begin(), controls.end(), button), controls.end());
  button->remove();
}

void CommandBarObj::remove() {
  disconnect();
  controls_obj_->disconnect();
  std::vector<CommandBarButtonObj*> gone;
  gone.swap(controls);
  for (CommandBarButtonObj* b : gone) b->remove();
  controls_obj_->disown();
  disown();
}

void CommandBarObj::call(DISPID member, const Args& args, VARIANT* result) {
  switch (member) {
    case id::BarControls: put_object(result, controls_obj_); return;
    case id::BarName: put_string(result, name); return;
    case id::BarPosition: put_long(result, position); return;
    case id::BarVisible: if (!args.is_put()) put_bool(result, false); return;
    case id::BarShowPopup: show_popup(args); return;
    case id::BarDelete: {
      if (built_in) fail(kInvalidArgument, L"A built-in bar cannot be deleted");
      auto& all = bars_.bars;
      all.erase(std::remove(all.begin(), all.end(), this), all.end());
      log_line(L"command bar deleted: " + name);
      remove();
      return;
    }
  }
  fail(DISP_E_MEMBERNOTFOUND, L"CommandBar member");
}

void CommandBarObj::show_popup(const Args& args) {
  if (position != 5) fail(kInvalidArgument, L"ShowPopup needs a popup bar");
  POINT at;
  GetCursorPos(&at);
  if (args.has(0)) at.x = args.as_long(0);
  if (args.has(1)) at.y = args.as_long(1);
  HMENU menu = CreatePopupMenu();
  std::vector<CommandBarButtonObj*> shown;
  // As Office draws a popup: a separator above a button that begins a group
  // (not above the first shown), a disabled button greyed out.
  for (CommandBarButtonObj* b : controls) {
    if (!b->values.visible) continue;
    if (b->values.begin_group && !shown.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    shown.push_back(b);
    const UINT state = b->values.enabled ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu, MF_STRING | state, shown.size(), b->values.caption.c_str());
  }
  // The buttons stay alive while the menu's loop runs, whatever it dispatches
  // (a reference taken and given back here, so the accounting balances).
  for (CommandBarButtonObj* b : shown) b->add_ref();
  log_line(L"popup " + name + L" at " + std::to_wstring(at.x) + L"," + std::to_wstring(at.y));
  HWND owner = bars_.owner();
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner,
      nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  log_line(L"popup " + name + L" closed, item " + std::to_wstring(chosen));
  if (chosen >= 1 && chosen <= shown.size() && shown[chosen - 1]->connected())
    bars_.click(shown[chosen - 1]);
  for (CommandBarButtonObj* b : shown) b->release();
}

}  // namespace standin
