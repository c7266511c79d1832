// CTKPSoundManager: plays the user's menu sounds ("MenuCommand" when a command runs, "MenuPopup" when a
// popup opens) on its own thread, so that a menu never waits for a sound.
#pragma once

#include <windows.h>

#include <chrono>

#include "toolkit/common/menu_sound_loop.h"

class CTKPSoundManager {
 public:
  CTKPSoundManager();
  virtual ~CTKPSoundManager();

  // 1: a command was executed; 2: a popup opened. Nothing while disabled.
  void PlaySystemSound(int nSound) { m_loop.PlaySystemSound(nSound); }
  void EnableSystemSounds(BOOL bEnable) { m_loop.SetEnabled(bEnable != FALSE); }
  BOOL IsRunning() const { return m_loop.IsRunning(); }
  // TRUE when the thread ended within the wait (100 ms unless given); it is forgotten either way.
  BOOL StopThread(std::chrono::milliseconds wait = std::chrono::milliseconds(100)) { return m_loop.StopThread(wait); }

 private:
  tk::MenuSoundLoop m_loop;
};

CTKPSoundManager* TKPSoundManager();
