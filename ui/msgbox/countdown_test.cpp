#include "ui/msgbox/countdown.h"

#include <gtest/gtest.h>

namespace msgbox {
namespace {

using T = Countdown::Tick;

TEST(Countdown, TimeoutPressesTheDefaultAtZero) {
  Countdown c(3, 0);
  EXPECT_TRUE(c.Running());
  EXPECT_FALSE(c.Disabling());
  EXPECT_EQ(c.Step(), T::kShow);
  EXPECT_EQ(c.Counter(), 2);
  EXPECT_EQ(c.Step(), T::kShow);
  EXPECT_EQ(c.Step(), T::kPressDefault);
  EXPECT_EQ(c.Step(), T::kNone);
}

TEST(Countdown, DisabledTimeEnablesAtZero) {
  Countdown c(0, 2);
  EXPECT_TRUE(c.Disabling());
  EXPECT_EQ(c.Counter(), 2);
  EXPECT_EQ(c.Step(), T::kShow);
  EXPECT_EQ(c.Step(), T::kEnable);
  EXPECT_FALSE(c.Running());
}

TEST(Countdown, BothStartAtTheTimeoutAndEnableInsteadOfPressing) {
  Countdown c(2, 9);
  EXPECT_EQ(c.Counter(), 2);
  EXPECT_EQ(c.Step(), T::kShow);
  EXPECT_EQ(c.Step(), T::kEnable);
}

TEST(Countdown, NothingRunsWithoutTimes) {
  Countdown c(0, -4);
  EXPECT_FALSE(c.Running());
  EXPECT_EQ(c.Step(), T::kNone);
}

}  // namespace
}  // namespace msgbox
