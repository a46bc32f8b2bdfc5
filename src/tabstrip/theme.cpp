#include "tabstrip/theme.h"

#include <cmath>
#include <optional>

#include "base/numbers.h"
#include "base/registry_value.h"
#include "host/word_versions.h"

namespace plovera {
namespace {

using host::Look;
using host::Picture;

// A DWORD value as a number; nothing for a missing value or one of another
// type.
std::optional<std::uint32_t> read_dword(host::WindowSystem& ws, const std::u16string& key,
                                        const char16_t* name) {
  std::uint32_t type = host::reg::type_none;
  const std::u16string text = read_registry_value(ws, host::RegRoot::current_user, key, name, type);
  if (type != host::reg::type_dword || text.empty()) return std::nullopt;
  std::uint32_t n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + static_cast<std::uint32_t>(c - u'0');
  }
  return n;
}

// Windows' app mode: dark only when it says so.
Look system_look(host::WindowSystem& ws) {
  return read_dword(ws, kPersonalizeKey, u"AppsUseLightTheme") == 0u ? Look::black : Look::white;
}

// Office 2013 and later: the look for "UI Theme", nothing for Colorful or
// a value this version does not know.
std::optional<Look> office_look(host::WindowSystem& ws, const std::u16string& version, double major) {
  const std::optional<std::uint32_t> theme = read_dword(ws, office_common_key(version), u"UI Theme");
  if (!theme) return std::nullopt;
  if (major == host::word2013) {
    switch (*theme) {
      case 0: return Look::white;
      case 1: return Look::light_gray;
      case 2: return Look::dark_gray;
      default: return std::nullopt;
    }
  }
  switch (*theme) {
    case 3: return Look::dark_gray;
    case 4: return Look::black;
    case 5: return Look::white;
    case 6: return system_look(ws);
    default: return std::nullopt;  // 0: Colorful
  }
}

// Word 2007 and 2010 (and the Colorful look after them): grey-blue for
// Word 2010 and later unless the theme is 1 (blue), and for Word 2007 with a
// theme other than blue; grey before Word 2007; else the design's blue.
Picture classic_background(host::WindowSystem& ws, const std::u16string& version, double v) {
  const double major = std::trunc(v);
  std::uint32_t type = host::reg::type_dword;
  const std::u16string theme =
      read_registry_value(ws, host::RegRoot::current_user, office_common_key(version), u"Theme", type);
  if (v < host::word2007) return Picture::bar_grey;
  if (major >= host::word2010 && theme != u"1") return Picture::bar_grey_blue;
  if (major == host::word2007 && theme != u"" && theme != u"1") return Picture::bar_grey_blue;
  return Picture::design_bar;
}

}  // namespace

std::u16string office_common_key(const std::u16string& version) {
  return u"Software\\Microsoft\\Office\\" + version + u"\\Common";
}

BarTheme read_bar_theme(host::WindowSystem& ws, const std::u16string& version) {
  const double v = version_number(version);
  const double major = std::trunc(v);
  if (major >= host::word2013)
    if (const std::optional<Look> look = office_look(ws, version, major))
      return {Picture::bar_grey_blue, *look};
  return {classic_background(ws, version, v), Look::office};
}

}  // namespace plovera
