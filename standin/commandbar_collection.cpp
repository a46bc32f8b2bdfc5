// The command-bar collection: lookup, creation, the Click fan-out by Tag and
// the file in which bars outlive a run.
#include <cstdio>
#include <cwchar>

#include "commandbars.h"
#include "guids.h"
#include "log.h"

namespace standin {
namespace {

constexpr Member kBarsMembers[] = {{L"Item", 0}, {L"Add", 0x60030002}, {L"Count", 0x60030003}};
constexpr IID kBarsIids[] = {iid::CommandBars};

std::vector<std::wstring> split_tabs(const std::wstring& line) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find(L'\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::wstring::npos) return fields;
    start = tab + 1;
  }
}

long number(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

}  // namespace

CommandBarsObj::CommandBarsObj(std::function<HWND()> owner, std::wstring file)
    : DispatchObject(kBarsMembers, kBarsIids), owner_(std::move(owner)), file_(std::move(file)) {
  // Word's own bars, always there and never written to the file.
  for (const wchar_t* name : {L"Menu Bar", L"Standard", L"Formatting"}) {
    auto* bar = new CommandBarObj(*this, name, name[0] == L'M' ? 6 : 1, false, true);
    bar->own();
    bars.push_back(bar);
  }
}

CommandBarObj* CommandBarsObj::find(const std::wstring& name) const {
  for (CommandBarObj* b : bars)
    if (_wcsicmp(b->name.c_str(), name.c_str()) == 0) return b;
  return nullptr;
}

void CommandBarsObj::call(DISPID member, const Args& args, VARIANT* result) {
  switch (member) {
    case 0x60030003: put_long(result, static_cast<long>(bars.size())); return;
    case 0x60030002: put_object(result, add_bar(args)); return;
    case 0: {
      const VARIANT* index = args.at(0);
      CommandBarObj* bar = nullptr;
      if (index && index->vt == VT_BSTR) {
        bar = find(args.as_string(0));
      } else {
        const long i = args.as_long(0);
        if (i >= 1 && i <= static_cast<long>(bars.size())) bar = bars[static_cast<size_t>(i - 1)];
      }
      if (!bar) fail(E_INVALIDARG, L"Invalid procedure call or argument");
      put_object(result, bar);
      return;
    }
  }
  fail(DISP_E_MEMBERNOTFOUND, L"CommandBars member");
}

CommandBarObj* CommandBarsObj::add_bar(const Args& args) {
  // Add(Name, Position, MenuBar, Temporary)
  const std::wstring name = args.has(0) ? args.as_string(0) : L"Custom " + std::to_wstring(bars.size() + 1);
  if (find(name)) fail(E_INVALIDARG, L"A command bar of that name exists");
  const long position = args.has(1) ? args.as_long(1) : 4;
  const bool temporary = args.has(3) && args.as_bool(3);
  auto* bar = new CommandBarObj(*this, name, position, temporary, false);
  bar->own();
  bars.push_back(bar);
  log_line(L"command bar added: " + name + L" position " + std::to_wstring(position) +
           (temporary ? L" temporary" : L""));
  return bar;
}

void CommandBarsObj::click(CommandBarButtonObj* button) {
  log_line(L"click on button " + button->values.caption + L" tag " + button->values.tag);
  std::vector<CommandBarButtonObj*> targets;
  for (CommandBarObj* bar : bars)
    for (CommandBarButtonObj* b : bar->controls)
      if (b == button || (!button->values.tag.empty() && b->values.tag == button->values.tag))
        targets.push_back(b);
  if (targets.empty()) targets.push_back(button);  // a button no longer on a bar
  for (CommandBarButtonObj* b : targets) b->add_ref();
  button->add_ref();
  VARIANT_BOOL cancel_default = VARIANT_FALSE;
  VARIANT ctrl, cancel;
  ctrl.vt = VT_DISPATCH;
  ctrl.pdispVal = static_cast<IDispatch*>(button);
  cancel.vt = VT_BOOL | VT_BYREF;
  cancel.pboolVal = &cancel_default;
  for (CommandBarButtonObj* b : targets) b->clicks().raise(event::Click, {ctrl, cancel}, L"Click");
  button->release();
  for (CommandBarButtonObj* b : targets) b->release();
}

size_t CommandBarsObj::button_sinks() const {
  size_t n = 0;
  for (CommandBarObj* bar : bars)
    for (CommandBarButtonObj* b : bar->controls) n += b->clicks().sink_count();
  return n;
}

void CommandBarsObj::save() const {
  if (file_.empty()) return;
  FILE* f = _wfopen(file_.c_str(), L"w, ccs=UTF-8");
  if (!f) return log_line(L"cannot write " + file_);
  for (CommandBarObj* bar : bars) {
    if (bar->built_in || bar->temporary) continue;
    fwprintf(f, L"bar\t%ls\t%ld\n", bar->name.c_str(), bar->position);
    for (CommandBarButtonObj* b : bar->controls) {
      const ButtonValues& v = b->values;
      if (v.temporary) continue;
      fwprintf(f, L"button\t%ld\t%ld\t%ld\t%ld\t%ls\t%ls\t%ls\t%ls\n", v.type, v.id, v.face_id,
               v.style, v.caption.c_str(), v.tooltip.c_str(), v.tag.c_str(), v.parameter.c_str());
    }
  }
  fclose(f);
}

void CommandBarsObj::load() {
  if (file_.empty()) return;
  FILE* f = _wfopen(file_.c_str(), L"r, ccs=UTF-8");
  if (!f) return;
  wchar_t buf[2048];
  CommandBarObj* bar = nullptr;
  while (fgetws(buf, 2048, f)) {
    std::wstring line(buf);
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
    const auto fields = split_tabs(line);
    if (fields[0] == L"bar" && fields.size() == 3 && !find(fields[1])) {
      bar = new CommandBarObj(*this, fields[1], number(fields[2]), false, false);
      bar->own();
      bars.push_back(bar);
    } else if (fields[0] == L"button" && fields.size() == 9 && bar) {
      ButtonValues v{number(fields[1]), number(fields[2]), number(fields[3]), number(fields[4]),
                     fields[5], fields[6], fields[7], fields[8], false, true};
      bar->add(std::move(v), 0);
    }
  }
  fclose(f);
}

void CommandBarsObj::close_all() {
  std::vector<CommandBarObj*> gone;
  gone.swap(bars);
  for (CommandBarObj* bar : gone) bar->remove();
  disconnect();
}

}  // namespace standin
