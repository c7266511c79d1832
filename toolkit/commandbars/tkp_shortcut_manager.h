// CTKPShortcutManager: the keyboard shortcuts of the command bars: an accelerator table from the
// resources, kept in the profile so that the user's changes survive.
#pragma once

#include <windows.h>

class CTKPShortcutManager {
 public:
  CTKPShortcutManager() = default;
  ~CTKPShortcutManager();
  CTKPShortcutManager(const CTKPShortcutManager&) = delete;
  CTKPShortcutManager& operator=(const CTKPShortcutManager&) = delete;

  // The accelerator resource of that id; without one no keys are bound.
  void SetAccelerators(UINT nIDResource);
  // section + "-Shortcuts", value "Accelerators": the table as ACCEL records.
  void LoadShortcuts(LPCTSTR lpszSection);
  void SaveShortcuts(LPCTSTR lpszSection);

  HACCEL GetAcceleratorTable() const { return m_hAccel; }
  // A key message that is a shortcut becomes its command, sent to hWnd; TRUE when it was one.
  BOOL TranslateAccelerator(HWND hWnd, MSG* pMsg) const;
  int GetCount() const;

 private:
  void Replace(HACCEL table);
  HACCEL m_hAccel = nullptr;
};
