#include "engine/records/pause_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(PauseGateTest, AWorkerWaitsWhileClosedAndGoesOnWhenOpened) {
  PauseGate gate;
  gate.Pass();  // open: at once
  std::atomic<int> passed{0};
  gate.Close();
  std::thread worker([&] {
    gate.Pass();
    passed = 1;
  });
  // However long the question stays open, the worker does not pass.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(passed.load(), 0);
  EXPECT_TRUE(gate.IsClosed());
  gate.Open();
  worker.join();
  EXPECT_EQ(passed.load(), 1);
  EXPECT_FALSE(gate.IsClosed());
}

TEST(PauseGateTest, TheClosingThreadPassesItsOwnGate) {
  PauseGate gate;
  {
    ClosedGate closed(gate);
    EXPECT_TRUE(gate.IsClosed());
    gate.Pass();
  }
  EXPECT_FALSE(gate.IsClosed());
}

}  // namespace
