#include <gtest/gtest.h>

#include "base/numbers.h"

namespace plovera {
namespace {

TEST(Numbers, RoundsHalvesToEven) {
  EXPECT_EQ(round_half_even(0.5), 0);
  EXPECT_EQ(round_half_even(1.5), 2);
  EXPECT_EQ(round_half_even(2.5), 2);
  EXPECT_EQ(round_half_even(-2.5), -2);
  EXPECT_EQ(round_half_even(-1.5), -2);
  EXPECT_EQ(round_half_even(2.4999f), 2);
  EXPECT_EQ(round_half_even(-0.6), -1);
}

TEST(Numbers, RoundingOutside32BitsIsAnOverflow) {
  EXPECT_THROW(round_half_even(3e9), host_error);
  EXPECT_THROW(round_half_even(-3e9), host_error);
  EXPECT_THROW(round_half_even(std::nan("")), host_error);
  EXPECT_EQ(round_half_even(2147483647.0), INT32_MAX);
}

TEST(Numbers, WindowArithmeticDetectsOverflow) {
  EXPECT_EQ(add32(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_THROW(add32(INT32_MAX, 1), host_error);
  EXPECT_THROW(sub32(INT32_MIN, 1), host_error);
  EXPECT_THROW(mul32(600000, 20000), host_error);
  EXPECT_THROW(abs32(INT32_MIN), host_error);
  EXPECT_THROW(div32(1, 0), host_error);
  EXPECT_EQ(div32(-7, 2), -3);  // truncates toward zero
  EXPECT_THROW(mod32(360, 0), host_error);
  EXPECT_THROW(mod32(INT32_MIN, -1), host_error);
  EXPECT_EQ(mod32(-7, 2), -1);
  try {
    add32(INT32_MAX, 1);
  } catch (const host_error& e) {
    EXPECT_EQ(e.code(), status::overflow);
  }
}

TEST(Numbers, TwipsPerPixelRoundsHalfToEven) {
  EXPECT_EQ(twips_per_pixel(96), 15);
  EXPECT_EQ(twips_per_pixel(120), 12);
  EXPECT_EQ(twips_per_pixel(144), 10);
  EXPECT_EQ(twips_per_pixel(192), 8);  // 7.5
  EXPECT_EQ(twips_per_pixel(160), 9);
  EXPECT_EQ(twips_per_pixel(1536), 1);  // the highest Windows scales to
  // Beyond it 1440 / dpi would round to no twips at all (from 2,880 dpi):
  // unreadable, as are none and a negative one.
  for (std::int32_t dpi : {0, -96, 1537, 2880, 10000, INT32_MAX}) {
    EXPECT_THROW(twips_per_pixel(dpi), host_error) << dpi;
    EXPECT_THROW(pixels_to_points(1000, dpi), host_error) << dpi;
  }
}

TEST(Numbers, VersionTextGivesItsLeadingNumber) {
  EXPECT_EQ(version_number(u"12.0"), 12.0);
  EXPECT_EQ(version_number(u"11.0"), 11.0);
  EXPECT_EQ(version_number(u"16.0.4266"), 16.0);
  EXPECT_DOUBLE_EQ(version_number(u"12.5"), 12.5);
  EXPECT_EQ(version_number(u"Word"), 0.0);
  EXPECT_EQ(version_number(u""), 0.0);
}

}  // namespace
}  // namespace plovera
