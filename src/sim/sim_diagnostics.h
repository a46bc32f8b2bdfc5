// The diagnostics' outputs in the simulated host: every line is recorded,
// traced lines and log lines apart, so that the tests see what the DLL would
// write to the debugger and to the log file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/failure_reporter.h"

namespace plovera::sim {

class RecordedDiagnostics final : public DiagnosticOutputs {
 public:
  void trace(std::u16string_view line, bool /*failure*/) noexcept override {
    try {
      traced.emplace_back(line);
    } catch (...) {
    }
  }
  void log(std::string_view utf8_line) noexcept override {
    try {
      logged.emplace_back(utf8_line);
    } catch (...) {
    }
  }
  bool log_enabled() const noexcept override { return log_on; }
  std::u16string log_path() const override { return path; }

  bool log_on = false;
  std::u16string path = u"C:\\Users\\user\\AppData\\Local\\Plovera\\Logs\\plovera.log";
  std::vector<std::u16string> traced;
  std::vector<std::string> logged;
};

// Installs a reporter over recorded outputs for the life of a test.
class RecordedReports {
 public:
  RecordedReports() noexcept { host::install_diagnostics(&reporter); }
  ~RecordedReports() { host::install_diagnostics(nullptr); }
  RecordedReports(const RecordedReports&) = delete;
  RecordedReports& operator=(const RecordedReports&) = delete;

  RecordedDiagnostics outputs;
  FailureReporter reporter{outputs};
};

}  // namespace plovera::sim
