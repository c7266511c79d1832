#include "toolkit/common/tip_scheduler.h"

#include <gtest/gtest.h>

namespace {

using Action = tk::TipScheduler::Action;

TEST(TipScheduler, ANewToolWaitsForTheDelayAndHidesOnLeave) {
  tk::TipScheduler s;
  auto step = s.Relay(3, false, 1000);
  EXPECT_EQ(step.action, Action::kStartTimer);
  EXPECT_EQ(s.Relay(3, false, 1100).action, Action::kNothing);  // already waiting
  step = s.Timer(3);
  ASSERT_EQ(step.action, Action::kShow);
  EXPECT_EQ(step.tool, 3);
  s.Shown(3, 1500);
  EXPECT_EQ(s.Relay(3, false, 1600).action, Action::kNothing);  // already shown
  step = s.Relay(-1, false, 2000);
  EXPECT_EQ(step.action, Action::kHide);
  s.Hidden(2000);
  EXPECT_EQ(s.Relay(-1, false, 2100).action, Action::kNothing);
}

TEST(TipScheduler, MovingOnWithinTheReshowTimeShowsAtOnceLaterItWaitsAgain) {
  tk::TipScheduler s;
  s.Relay(1, false, 0);
  s.Timer(1);
  s.Shown(1, 500);
  auto step = s.Relay(2, false, 650);
  EXPECT_EQ(step.action, Action::kShow);
  EXPECT_EQ(step.tool, 2);
  s.Shown(2, 650);
  EXPECT_EQ(s.Relay(1, false, 900).action, Action::kStartTimer);  // 250 ms later: the delay again
}

TEST(TipScheduler, TheTimerShowsOnlyTheToolStillUnderTheCursor) {
  tk::TipScheduler s;
  s.Relay(1, false, 0);
  auto step = s.Relay(2, false, 100);  // moved on before the delay: the timer restarts for the new one
  EXPECT_TRUE(step.stopTimer);
  EXPECT_EQ(step.action, Action::kStartTimer);
  EXPECT_EQ(s.Timer(1).action, Action::kNothing);
  EXPECT_EQ(s.pending(), -1);
}

TEST(TipScheduler, AClickedToolStaysQuietUntilAnotherToolIsReached) {
  tk::TipScheduler s;
  s.Relay(4, false, 0);
  s.Timer(4);
  s.Shown(4, 500);
  EXPECT_EQ(s.Relay(4, true, 600).action, Action::kHide);
  s.Hidden(600);
  EXPECT_EQ(s.Relay(4, false, 700).action, Action::kNothing);
  EXPECT_EQ(s.Relay(4, false, 2000).action, Action::kNothing);
  EXPECT_EQ(s.Relay(5, false, 2100).action, Action::kStartTimer);
}

}  // namespace
