// Scenario steps for the add-in's diagnostics: its settings and policies in
// the registry, its log file (read back, or locked as another program may
// lock it), and its message boxes ("About Plovera").
#include <shlobj.h>

#include <cwchar>
#include <fstream>
#include <sstream>

#include "runner.h"

namespace standin {
namespace {

std::wstring log_folder() {
  wchar_t base[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
  return std::wstring(base) + L"\\Plovera\\Logs";
}

std::string utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

// The text of a message box: its static controls, in order.
std::wstring message_text(HWND box) {
  std::wstring text;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32] = {}, part[1024] = {};
    GetClassNameW(c, cls, 32);
    if (_wcsicmp(cls, L"Static") != 0) continue;
    GetWindowTextW(c, part, 1024);
    text += part;
  }
  return text;
}

HANDLE g_lock = INVALID_HANDLE_VALUE;  // the log, held open without sharing

}  // namespace

void Runner::add_diagnostics_steps() {
  // registry HKCU|HKLM KEY NAME dword N | string TEXT | delete
  handlers_[L"registry"] = [](const Step& s) -> Outcome {
    if (s.args.size() < 4) return L"registry needs a root, a key, a name and a type";
    HKEY root = s.args[0] == L"HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, s.args[1].c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
      return L"cannot create " + s.args[1];
    LSTATUS st = ERROR_SUCCESS;
    if (s.args[3] == L"dword" && s.args.size() > 4) {
      const DWORD v = std::wcstoul(s.args[4].c_str(), nullptr, 0);
      st = RegSetValueExW(key, s.args[2].c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    } else if (s.args[3] == L"string" && s.args.size() > 4) {
      st = RegSetValueExW(key, s.args[2].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(s.args[4].c_str()),
                          static_cast<DWORD>((s.args[4].size() + 1) * sizeof(wchar_t)));
    } else if (s.args[3] == L"delete") {
      RegDeleteValueW(key, s.args[2].c_str());
    } else {
      st = ERROR_INVALID_PARAMETER;
    }
    RegCloseKey(key);
    return st == ERROR_SUCCESS ? L"" : L"cannot set " + s.args[2];
  };
  // check log TEXT N: N lines of the add-in's log contain TEXT; "check log
  // absent": there is no log file.
  handlers_[L"check log absent"] = [](const Step&) -> Outcome {
    const std::wstring path = log_folder() + L"\\plovera.log";
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : L"the log exists";
  };
  handlers_[L"check log"] = [this](const Step& s) -> Outcome {
    const std::wstring path = log_folder() + L"\\plovera.log";
    const std::string part = utf8(s.args[0]);
    const long want = std::wcstol(s.args[1].c_str(), nullptr, 10);
    return poll_here([&]() -> Outcome {
      std::ifstream in(path.c_str(), std::ios::binary);
      if (!in) return L"no log at " + path;
      std::string line;
      long n = 0;
      while (std::getline(in, line)) n += line.find(part) != std::string::npos;
      if (n == want) return L"";
      return L"the log has " + std::to_wstring(n) + L" lines with \"" + s.args[0] + L"\"";
    });
  };
  // Another program holds the log open and shares nothing.
  handlers_[L"lock log"] = [](const Step&) -> Outcome {
    const std::wstring folder = log_folder();
    CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    g_lock = CreateFileW((folder + L"\\plovera.log").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return g_lock != INVALID_HANDLE_VALUE ? L"" : L"cannot lock the log";
  };
  // check message TITLE [TEXT ...]: a message box titled TITLE is open and
  // its text holds every TEXT; it is then closed with its OK button.
  handlers_[L"check message"] = [this](const Step& s) -> Outcome {
    HWND box = nullptr;
    Outcome problem = poll_here([&]() -> Outcome {
      box = FindWindowW(L"#32770", s.args[0].c_str());
      if (!box) return L"no message box \"" + s.args[0] + L"\"";
      const std::wstring text = message_text(box);
      for (std::size_t i = 1; i < s.args.size(); ++i)
        if (text.find(s.args[i]) == std::wstring::npos) return L"the message reads \"" + text + L"\"";
      return L"";
    });
    if (!problem.empty()) return problem;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return poll_here([&]() -> Outcome { return IsWindow(box) ? L"the message box is still open" : L""; });
  };
}

}  // namespace standin
