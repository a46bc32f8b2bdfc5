#include <gtest/gtest.h>

#include "host/error.h"

namespace plovera {
namespace {

TEST(ErrorModel, BoundaryGuardTurnsAnErrorIntoItsStatus) {
  EXPECT_EQ(boundary_guard([] { throw_host_error(status::no_interface, "x"); }),
            status::no_interface);
  EXPECT_EQ(boundary_guard([] {}), status::ok);
  EXPECT_EQ(boundary_guard([] { throw 42; }), status::unexpected);
}

TEST(ErrorModel, IgnoreErrorsSkipsOnlyTheFailingStep) {
  int done = 0;
  EXPECT_FALSE(ignore_errors([&] { throw_host_error(status::fail, "x"); }));
  EXPECT_TRUE(ignore_errors([&] { ++done; }));
  EXPECT_EQ(done, 1);
}

}  // namespace
}  // namespace plovera
