// Reading one registry value as text, for the Office colour theme.
#include <cstring>
#include <vector>

#include "base/registry_value.h"

namespace plovera {
namespace {

constexpr std::uint32_t kInitialBytes = 2048;  // 1024 UTF-16 characters

std::u16string trim_blanks(std::u16string s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

// String data: the characters stored, without the terminating NUL. Data of
// zero length is an empty text.
std::u16string string_of(const std::vector<std::uint8_t>& data, std::uint32_t size) {
  std::u16string s(size / 2, u'\0');
  if (!s.empty()) std::memcpy(s.data(), data.data(), s.size() * 2);
  if (!s.empty() && s.back() == u'\0') s.pop_back();
  return s;
}

std::u16string hex_bytes(const std::vector<std::uint8_t>& data, std::uint32_t size) {
  static constexpr char16_t digits[] = u"0123456789ABCDEF";
  std::u16string s;
  for (std::uint32_t i = 0; i < size; ++i) {
    s += digits[data[i] >> 4];
    s += digits[data[i] & 0xF];
    s += u' ';
  }
  return s;
}

std::u16string unsigned_text(std::uint32_t v) {
  const std::string digits = std::to_string(v);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

// The key is opened for reading only, which also works where an
// administrator has locked the Office key.
std::u16string read_registry_value(host::WindowSystem& ws, host::RegRoot root,
                                   const std::u16string& sub_key,
                                   const std::u16string& value_name, std::uint32_t& value_type) {
  std::vector<std::uint8_t> data(kInitialBytes, 0);
  std::uint32_t size = 0;
  host::RegKey key = 0;
  if (ws.open_key(root, sub_key, host::reg::read_access, key) == host::reg::ok) {
    std::uint32_t type = value_type;
    size = kInitialBytes;
    std::int32_t st = ws.query_value(key, value_name, type, data.data(), size);
    if (st == host::reg::more_data) {  // longer than the buffer: read it whole
      data.assign(size, 0);
      type = value_type;
      st = ws.query_value(key, value_name, type, data.data(), size);
    }
    if (st == host::reg::ok) value_type = type;
    else size = 0;
    ws.close_key(key);
  }
  std::u16string result;
  switch (value_type) {
    case host::reg::type_string:
    case host::reg::type_expandable_string:
    case host::reg::type_multi_string: result = string_of(data, size); break;
    case host::reg::type_binary: result = hex_bytes(data, size); break;
    case host::reg::type_dword: {
      std::uint32_t v = 0;
      if (size >= 4) std::memcpy(&v, data.data(), 4);
      result = unsigned_text(v);
      break;
    }
    default: break;
  }
  return trim_blanks(std::move(result));
}

}  // namespace plovera
