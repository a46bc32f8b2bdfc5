// The text log: one UTF-8 file, at most a bound in size, with one older file
// kept beside it. Every line is appended on its own (open, append, close),
// so other programs can read the file while Word runs, two Word processes
// can share it, and nothing is held open between reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace plovera::win32 {

class LogFile {
 public:
  static constexpr std::uint64_t kDefaultLimit = 1024 * 1024;
  // Longest line written, in bytes; a longer one is cut (at a character's
  // boundary) and ends in "...".
  static constexpr std::size_t kMaxLine = 4096;

  // `folder` is made (with its parent) when the first line is written.
  explicit LogFile(std::wstring folder, std::uint64_t limit = kDefaultLimit);

  // Appends one line, prefixed with the local time and the process id.
  // Returns false, and gives the log up for good, when the folder cannot be
  // made or the file cannot be opened, moved aside or written (locked by
  // another program, a full disk): an unwritable log never costs Word twice.
  bool append(std::string_view utf8_line) noexcept;

  bool given_up() const noexcept { return given_up_; }
  const std::wstring& path() const noexcept { return path_; }
  const std::wstring& older_path() const noexcept { return older_; }

 private:
  bool make_folder() noexcept;
  bool write(HANDLE file, std::string_view bytes) noexcept;
  HANDLE open() noexcept;

  std::wstring folder_, path_, older_;
  std::uint64_t limit_;
  bool folder_made_ = false;
  bool given_up_ = false;
};

// The folder of the log under the user's local application data
// (%LOCALAPPDATA%\Plovera\Logs); empty when Windows names none.
std::wstring default_log_folder();

}  // namespace plovera::win32
