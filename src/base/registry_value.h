// Reading one registry value as text (the Office colour theme).
#pragma once

#include <cstdint>
#include <string>

#include "host/winsys.h"

namespace plovera {

// Returns the value as text: strings as stored, binary data as hexadecimal
// bytes ("0A FF"), a 32-bit number as its unsigned decimal value, blanks at
// either end trimmed. A missing key or value is no error: the type stays as
// the caller passed it and the result is empty ("0" for a number).
std::u16string read_registry_value(host::WindowSystem& ws, host::RegRoot root,
                                   const std::u16string& sub_key,
                                   const std::u16string& value_name, std::uint32_t& value_type);

}  // namespace plovera
