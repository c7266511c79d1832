#include "toolkit/common/menu_sound_loop.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tk {

struct MenuSoundLoop::Shared {
  explicit Shared(Player p) : player(std::move(p)) {}
  Player player;
  std::atomic<int> state{kIdle};
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
};

namespace {

constexpr auto kPoll = std::chrono::milliseconds(5);

// Back to idle after a sound, unless a stop arrived meanwhile: that one must survive.
void ResetAfterSound(std::atomic<int>& state) {
  int current = state.load();
  while (current != MenuSoundLoop::kStop && !state.compare_exchange_weak(current, MenuSoundLoop::kIdle)) {
  }
}

void Run(std::shared_ptr<MenuSoundLoop::Shared> shared) {
  if (shared->player.onThreadStart) shared->player.onThreadStart();
  for (;;) {
    const int request = shared->state.load();
    if (request == MenuSoundLoop::kStop) break;
    if (request == MenuSoundLoop::kCommand || request == MenuSoundLoop::kPopup) {
      if (shared->player.play) shared->player.play(request);
      ResetAfterSound(shared->state);
      continue;
    }
    std::this_thread::sleep_for(kPoll);
  }
  if (shared->player.purge) shared->player.purge();
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->finished = true;
  shared->ended.notify_all();
}

}  // namespace

MenuSoundLoop::MenuSoundLoop(Player player) : player_(std::move(player)) {}

MenuSoundLoop::~MenuSoundLoop() { StopThread(); }

void MenuSoundLoop::StartThread() {
  auto shared = std::make_shared<Shared>(player_);
  std::thread(Run, shared).detach();  // the thread holds its own reference to what it shares
  shared_ = std::move(shared);
}

void MenuSoundLoop::PlaySystemSound(int sound) {
  if (!enabled_ || (sound != kCommand && sound != kPopup)) return;
  if (shared_ == nullptr) StartThread();
  shared_->state.store(sound);
}

bool MenuSoundLoop::StopThread(std::chrono::milliseconds wait) {
  if (shared_ == nullptr) return true;
  std::shared_ptr<Shared> shared = std::move(shared_);
  shared->state.store(kStop);
  std::unique_lock<std::mutex> lock(shared->mutex);
  return shared->ended.wait_for(lock, wait, [&] { return shared->finished; });
}

}  // namespace tk
