// The menu sound thread on the real system: the two sounds requested, then stopped. The wait given is far
// longer than the program's: the point is that the thread ends, not how fast a loaded machine gets there.
#include "toolkit/common/tkp_sound_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

TEST(SoundManager, PlaysMenuSoundsOnItsThreadAndStops) {
  CTKPSoundManager sounds;
  sounds.EnableSystemSounds(FALSE);
  sounds.PlaySystemSound(1);
  EXPECT_FALSE(sounds.IsRunning());
  sounds.EnableSystemSounds(TRUE);
  sounds.PlaySystemSound(2);
  EXPECT_TRUE(sounds.IsRunning());
  sounds.PlaySystemSound(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(sounds.StopThread(std::chrono::seconds(60)));  // ended
  const auto took = std::chrono::steady_clock::now() - start;
  std::printf("sound thread stopped after %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
  EXPECT_FALSE(sounds.IsRunning());
  EXPECT_TRUE(sounds.StopThread());  // nothing left to stop
}

}  // namespace
