// The numeric rules of the add-in, in one place: window geometry is 32-bit
// signed arithmetic in which an overflow is an error; positions are twips
// held as float and rounded to whole twips with halves going to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "host/error.h"
#include "host/winsys.h"

namespace plovera {

inline std::int32_t add32(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw_host_error(status::overflow, "add32");
  return r;
}

inline std::int32_t sub32(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw_host_error(status::overflow, "sub32");
  return r;
}

inline std::int32_t mul32(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw_host_error(status::overflow, "mul32");
  return r;
}

// Integer division truncating toward zero.
inline std::int32_t div32(std::int32_t a, std::int32_t b) {
  if (b == 0 || (a == INT32_MIN && b == -1)) throw_host_error(status::overflow, "div32");
  return a / b;
}

// Remainder of a truncating division; a zero divisor is an overflow.
inline std::int32_t mod32(std::int32_t a, std::int32_t b) {
  if (b == 0 || (a == INT32_MIN && b == -1)) throw_host_error(status::overflow, "mod32");
  return a % b;
}

inline std::int32_t abs32(std::int32_t a) { return a < 0 ? sub32(0, a) : a; }

// Rounds to the nearest whole number, halves to even (0.5 -> 0, 1.5 -> 2,
// 2.5 -> 2, -2.5 -> -2). Values outside 32 bits, and NaN, are an overflow.
inline std::int32_t round_half_even(double x) {
  if (!(x >= -2147483648.5 && x <= 2147483647.5)) throw_host_error(status::overflow, "round");
  const double lower = std::floor(x);
  const double diff = x - lower;
  double r = lower;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0)) r = lower + 1.0;
  if (r > 2147483647.0 || r < -2147483648.0) throw_host_error(status::overflow, "round");
  return static_cast<std::int32_t>(r);
}

// Twips per pixel for a logical resolution: 1440 / dpi, rounded half to even
// (96 dpi -> 15, 120 dpi -> 12, 1536 dpi -> 1). Never zero: an unreadable
// resolution is refused.
inline std::int32_t twips_per_pixel(std::int32_t dpi) {
  if (!host::is_readable_resolution(dpi)) throw_host_error(status::invalid_arg, "twips_per_pixel");
  const std::int32_t q = 1440 / dpi, rem = 1440 % dpi;
  if (2 * rem > dpi || (2 * rem == dpi && q % 2 != 0)) return q + 1;
  return q;
}

// Pixels at `dpi` as whole points (72 to the inch), halves rounded away from
// zero, as Windows' MulDiv rounds.
inline std::int32_t pixels_to_points(std::int32_t pixels, std::int32_t dpi) {
  if (!host::is_readable_resolution(dpi)) throw_host_error(status::invalid_arg, "pixels_to_points");
  const std::int64_t scaled = static_cast<std::int64_t>(pixels) * 72;
  const std::int64_t half = dpi / 2;
  const std::int64_t q = scaled >= 0 ? (scaled + half) / dpi : -((-scaled + half) / dpi);
  if (q > INT32_MAX || q < INT32_MIN) throw_host_error(status::overflow, "pixels_to_points");
  return static_cast<std::int32_t>(q);
}

// The numeric value of a version text: its leading decimal number, as Word's
// "12.0" gives 12; a text with no leading number gives 0.
inline double version_number(const std::u16string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  double value = 0.0;
  bool any = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, any = true)
    value = value * 10.0 + (text[i] - u'0');
  if (i < text.size() && text[i] == u'.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10.0, any = true)
      value += (text[i] - u'0') * scale;
  }
  return any ? value : 0.0;
}

}  // namespace plovera
