// The platform-free half of the diagnostics: which reports go out (each
// distinct failure once per Word run, a storm bounded) and the text of each
// line. Where the lines go is the platform's (host::DiagnosticOutputs).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/diagnostics.h"

namespace plovera {

// Where the lines of the diagnostics go. Each call gets one line without a
// line break; none may throw.
class DiagnosticOutputs {
 public:
  // The debugger and the event-tracing provider: every line (`failure`:
  // a failure's, else the start-up line or a note).
  virtual void trace(std::u16string_view line, bool failure) noexcept = 0;
  // The text log, as UTF-8 (only while it is on).
  virtual void log(std::string_view utf8_line) noexcept = 0;
  virtual bool log_enabled() const noexcept = 0;
  virtual std::u16string log_path() const = 0;

 protected:
  ~DiagnosticOutputs() = default;
};

class FailureReporter final : public host::Diagnostics {
 public:
  // Distinct failures reported in one Word run; past this one line says that
  // further failures go unreported, and nothing more is written.
  static constexpr std::size_t kMaxDistinct = 200;

  explicit FailureReporter(DiagnosticOutputs& outputs) noexcept : outputs_(outputs) {}

  void report(const host::Failure& failure) noexcept override;
  void note(std::u16string_view line) noexcept override;
  bool log_enabled() const noexcept override { return outputs_.log_enabled(); }
  std::u16string log_path() const override { return outputs_.log_path(); }

  // Forgets the failures seen (a new Word run, for tests).
  void forget() noexcept;

 private:
  struct Seen {
    std::string file;  // the file's name without its folders
    std::uint32_t line;
    std::string member;
    std::int32_t code;
  };
  // Whether the failure is new; a repeat is found without allocating.
  bool first_time(const host::Failure& failure);
  void write(std::u16string_view line, bool failure) noexcept;

  DiagnosticOutputs& outputs_;
  std::vector<Seen> seen_;
  bool storm_told_ = false;
  // Set while a report is written: a report from another thread, or from
  // inside the outputs, is dropped instead of waiting.
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};

// The text of a failure's line: "failure at sync.cpp:64: Window.Caption
// 0x80004005 \"Word's words\"". The place is the file's name without its
// folders.
std::u16string failure_line(const host::Failure& failure);

// What goes into one line: line breaks, tabs, other control characters and
// the backslash written as escapes (\n, \r, \t, \\, \u001B), so that every
// report is one line whatever Word's text holds.
std::u16string escape_line(std::u16string_view text);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string to_utf8(std::u16string_view text);

// The start-up line's facts and its text.
struct StartUpFacts {
  std::u16string_view addin_version;
  int addin_bits;
  std::u16string_view word_version;
  std::u16string_view word_build;
  bool main_window_per_document;
  std::int32_t dpi;
  std::int32_t screen_width, screen_height;
  std::int32_t ui_language;
};
std::u16string start_up_line(const StartUpFacts& facts);

}  // namespace plovera
