#include "toolkit/common/tkp_sound_manager.h"

#include <mmsystem.h>

namespace {

tk::MenuSoundLoop::Player SystemPlayer() {
  tk::MenuSoundLoop::Player player;
  player.play = [](int sound) {
    // No default beep where the user has no sound for the event.
    ::PlaySoundW(sound == tk::MenuSoundLoop::kCommand ? L"MenuCommand" : L"MenuPopup", nullptr,
                 SND_ALIAS | SND_NOWAIT | SND_NODEFAULT);
  };
  player.purge = [] { ::PlaySoundW(nullptr, nullptr, SND_PURGE); };
  player.onThreadStart = [] { ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); };
  return player;
}

}  // namespace

CTKPSoundManager::CTKPSoundManager() : m_loop(SystemPlayer()) {}

CTKPSoundManager::~CTKPSoundManager() { m_loop.StopThread(); }

CTKPSoundManager* TKPSoundManager() {
  static CTKPSoundManager manager;
  return &manager;
}
