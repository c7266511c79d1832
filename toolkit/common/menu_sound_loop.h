// The background loop that plays menu sounds so that menus never wait for them. The user-interface thread
// stores a request (one atomic store); the loop polls every 5 ms, plays it and goes back to idle. A stop
// request is never lost to the end of a sound, and the loop's shared state outlives the owner, so a
// thread that did not end within the wait never touches a destroyed object.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

namespace tk {

class MenuSoundLoop {
 public:
  enum State : int { kIdle = 0, kCommand = 1, kPopup = 2, kStop = 3 };
  // Plays one sound (kCommand or kPopup) to its end, on the loop's thread; `purge` stops what is playing.
  struct Player {
    std::function<void(int sound)> play;
    std::function<void()> purge;
    std::function<void()> onThreadStart;  // e.g. to lower the thread's priority
  };

  explicit MenuSoundLoop(Player player);
  ~MenuSoundLoop();  // stops the thread
  MenuSoundLoop(const MenuSoundLoop&) = delete;
  MenuSoundLoop& operator=(const MenuSoundLoop&) = delete;

  // Nothing when disabled; starts the thread when none runs; the request replaces a pending one.
  void PlaySystemSound(int sound);
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool IsEnabled() const { return enabled_; }
  bool IsRunning() const { return shared_ != nullptr; }

  // Asks the thread to stop and waits for it at most `wait`; true when it ended within it. Either way the
  // loop forgets the thread, which finishes on its own.
  bool StopThread(std::chrono::milliseconds wait = std::chrono::milliseconds(100));

  struct Shared;

 private:
  void StartThread();

  Player player_;
  bool enabled_ = true;
  std::shared_ptr<Shared> shared_;
};

}  // namespace tk
