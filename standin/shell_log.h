// The URL recorder: registered in the test prefix as the shell's handler of
// https, so that opening a web address appends it to %TEMP%\plovera-shell.log
// instead of starting a browser.
#pragma once

#include <string>
#include <vector>

namespace standin {

std::wstring shell_log_path();
bool append_shell_log(const std::wstring& url);
std::vector<std::wstring> read_shell_log();

}  // namespace standin
