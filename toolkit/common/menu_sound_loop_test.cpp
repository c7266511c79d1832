#include "toolkit/common/menu_sound_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A player whose sounds last until the test releases them.
struct FakePlayer {
  std::shared_ptr<std::atomic<int>> played = std::make_shared<std::atomic<int>>(0);
  std::shared_ptr<std::atomic<int>> lastSound = std::make_shared<std::atomic<int>>(0);
  std::shared_ptr<std::atomic<bool>> release = std::make_shared<std::atomic<bool>>(true);
  std::shared_ptr<std::atomic<bool>> playing = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<std::atomic<int>> purged = std::make_shared<std::atomic<int>>(0);

  tk::MenuSoundLoop::Player Make() const {
    auto p = *this;
    return {[p](int sound) {
              p.playing->store(true);
              while (!p.release->load()) std::this_thread::sleep_for(1ms);
              p.lastSound->store(sound);
              ++*p.played;
              p.playing->store(false);
            },
            [p] { ++*p.purged; }, nullptr};
  }
};

template <typename F>
bool WaitFor(F done) {
  for (int i = 0; i < 2000 && !done(); ++i) std::this_thread::sleep_for(1ms);
  return done();
}

TEST(MenuSoundLoop, PlaysEachRequestOnItsThreadAndStops) {
  FakePlayer fake;
  tk::MenuSoundLoop loop(fake.Make());
  EXPECT_FALSE(loop.IsRunning());
  loop.PlaySystemSound(2);
  EXPECT_TRUE(loop.IsRunning());
  ASSERT_TRUE(WaitFor([&] { return fake.played->load() == 1; }));
  EXPECT_EQ(fake.lastSound->load(), 2);
  loop.PlaySystemSound(1);
  ASSERT_TRUE(WaitFor([&] { return fake.played->load() == 2; }));
  EXPECT_EQ(fake.lastSound->load(), 1);
  loop.PlaySystemSound(7);  // not a sound
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(loop.StopThread(60s));  // ended (how fast depends on the machine's load)
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("sound thread stopped after %lld ms\n", static_cast<long long>(took.count()));
  EXPECT_FALSE(loop.IsRunning());
  EXPECT_EQ(fake.purged->load(), 1);
  EXPECT_EQ(fake.played->load(), 2);
}

TEST(MenuSoundLoop, DisabledStartsNoThreadAndPlaysNothing) {
  FakePlayer fake;
  tk::MenuSoundLoop loop(fake.Make());
  loop.SetEnabled(false);
  loop.PlaySystemSound(1);
  EXPECT_FALSE(loop.IsRunning());
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(fake.played->load(), 0);
}

TEST(MenuSoundLoop, AStopDuringASoundIsKeptWhenTheSoundEnds) {
  FakePlayer fake;
  fake.release->store(false);
  auto loop = std::make_unique<tk::MenuSoundLoop>(fake.Make());
  loop->PlaySystemSound(1);
  ASSERT_TRUE(WaitFor([&] { return fake.playing->load(); }));
  // The sound outlasts the wait: the owner goes anyway, and the thread must not touch it afterwards.
  EXPECT_FALSE(loop->StopThread(10ms));
  loop.reset();
  fake.release->store(true);
  // The stop survived the end of the sound: the thread purges and ends instead of idling for ever.
  EXPECT_TRUE(WaitFor([&] { return fake.purged->load() == 1; }));
  EXPECT_EQ(fake.played->load(), 1);
}

}  // namespace
