#include "base/failure_reporter.h"

#include <algorithm>
#include <cstring>
#include <utility>


namespace plovera {
namespace {

// The reporter's own failures (out of memory) are dropped, not reported:
// a report never leads to another.
template <class F>
void quietly(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}

constexpr char16_t kHex[] = u"0123456789ABCDEF";

std::u16string hex32(std::uint32_t v) {
  std::u16string out = u"0x";
  for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(v >> shift) & 0xF];
  return out;
}

std::u16string widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::u16string decimal(std::int64_t v) {
  const std::string s = std::to_string(v);
  return widen(s);
}

// The file's name without its folders: no build machine's path in a report.
std::string_view base_name(const char* file) {
  std::string_view f = file ? file : "";
  const std::size_t slash = f.find_last_of("/\\");
  return slash == std::string_view::npos ? f : f.substr(slash + 1);
}

std::string place_of(const host::Failure& failure) {
  std::string place(base_name(failure.file));
  place += ':';
  place += std::to_string(failure.line);
  return place;
}

}  // namespace

std::u16string escape_line(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\t': out += u"\\t"; break;
      case u'\\': out += u"\\\\"; break;
      default:
        // C0 and C1 controls, and Unicode's own line and paragraph separators.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) {
          out += u"\\u";
          for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string failure_line(const host::Failure& failure) {
  std::u16string line = u"failure at " + widen(place_of(failure)) + u": " +
                        widen(failure.member ? failure.member : "(unnamed)") + u" " +
                        hex32(static_cast<std::uint32_t>(failure.code));
  if (!failure.text.empty()) line += u" \"" + escape_line(failure.text) + u"\"";
  return line;
}

std::u16string start_up_line(const StartUpFacts& f) {
  return u"start Plovera " + std::u16string(f.addin_version) + u" " + decimal(f.addin_bits) +
         u"-bit; Word " + escape_line(f.word_version) + u" build " + escape_line(f.word_build) +
         (f.main_window_per_document ? u"; a main window per document"
                                     : u"; one main window for all documents") +
         u"; " + decimal(f.dpi) + u" dpi, screen " + decimal(f.screen_width) + u"x" +
         decimal(f.screen_height) + u"; UI language " + decimal(f.ui_language);
}

bool FailureReporter::first_time(const host::Failure& failure) {
  const std::string_view file = base_name(failure.file);
  const std::string_view member = failure.member ? failure.member : "";
  for (const Seen& s : seen_)
    if (s.line == failure.line && s.code == failure.code && s.file == file && s.member == member)
      return false;
  seen_.push_back({std::string(file), failure.line, std::string(member), failure.code});
  return true;
}

void FailureReporter::report(const host::Failure& failure) noexcept {
  if (busy_.test_and_set(std::memory_order_acquire)) return;
  quietly([&] {
    if (seen_.size() >= kMaxDistinct) {
      if (!std::exchange(storm_told_, true))
        write(u"further failures are not reported in this Word run", true);
      return;
    }
    if (first_time(failure)) write(failure_line(failure), true);
  });
  busy_.clear(std::memory_order_release);
}

void FailureReporter::note(std::u16string_view line) noexcept {
  if (busy_.test_and_set(std::memory_order_acquire)) return;
  quietly([&] { write(escape_line(line), false); });
  busy_.clear(std::memory_order_release);
}

void FailureReporter::write(std::u16string_view line, bool failure) noexcept {
  outputs_.trace(line, failure);
  if (outputs_.log_enabled()) quietly([&] { outputs_.log(to_utf8(line)); });
}

void FailureReporter::forget() noexcept {
  seen_.clear();
  storm_told_ = false;
}

}  // namespace plovera
