// The stand-in's log: one line per step, add-in load, event and failure, so a
// failed end-to-end run can be read afterwards. Written from either thread.
#pragma once

#include <string>

namespace standin {

// Opens (and truncates) the log file; without it lines go nowhere.
void open_log(const std::wstring& path);
void log_line(const std::wstring& line);
std::wstring hex(long value);

}  // namespace standin
