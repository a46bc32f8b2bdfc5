#include "faults.h"

#include <wchar.h>

#include <vector>

#include "dispatch.h"
#include "log.h"

namespace standin {
namespace {

struct Fault {
  std::wstring kind;
  std::wstring member;
  int nth = 0;
  bool reported = false;  // logged the first time it fires, not on every tick
};

std::vector<Fault>& faults() {
  static std::vector<Fault> list;
  return list;
}

constexpr const wchar_t* kKinds[] = {L"Application", L"Windows", L"Window", L"Documents",
                                     L"Document", L"FileDialog", L"CommandBars", L"CommandBar",
                                     L"CommandBarControls", L"CommandBarButton"};

// "Window Doc1" -> "Window": the object's kind is the first word of its description.
std::wstring kind_of(const DispatchObject& object) {
  const std::wstring d = object.describe();
  return d.substr(0, d.find(L' '));
}

}  // namespace

std::wstring inject_fault(const std::wstring& member, int nth) {
  const size_t dot = member.find(L'.');
  Fault f;
  f.kind = dot == std::wstring::npos ? L"Application" : member.substr(0, dot);
  f.member = dot == std::wstring::npos ? member : member.substr(dot + 1);
  f.nth = nth;
  bool known = false;
  for (const wchar_t* k : kKinds) known = known || f.kind == k;
  if (!known || f.member.empty()) return L"no object member '" + member + L"'";
  if (nth < 0 || (nth > 0 && f.kind != L"Window" && f.kind != L"Document"))
    return L"only Word's windows and documents are picked by number";
  faults().push_back(f);
  log_line(L"failure injected: " + f.kind + L"." + f.member +
           (nth ? L" on number " + std::to_wstring(nth) : L""));
  return L"";
}

void clear_faults() {
  faults().clear();
  log_line(L"injected failures cleared");
}

bool fault_injected(const DispatchObject& object, long id) {
  if (faults().empty()) return false;
  const std::wstring kind = kind_of(object);
  for (Fault& f : faults()) {
    if (f.kind != kind || !object.has_member(f.member.c_str(), id)) continue;
    if (f.nth != 0 && object.ordinal() != f.nth) continue;
    if (!f.reported) log_line(L"injected failure of " + kind + L"." + f.member + L" on " + object.describe());
    f.reported = true;
    return true;
  }
  return false;
}

}  // namespace standin
