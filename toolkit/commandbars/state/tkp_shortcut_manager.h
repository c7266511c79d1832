// CTKPShortcutManager: the keyboard shortcuts of the command bars: the accelerator table in use, an
// untouched copy of the one loaded from the resources (to reset to), the text a menu or tooltip shows
// for a command's shortcut ("Ctrl+Shift+F5"), translation of keystrokes into commands, and the user's
// table kept in the profile. The command-bars manager owns one.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"

class CTKPCommandBars;

class CTKPShortcutManager : public CCmdTarget {
 public:
  explicit CTKPShortcutManager(CTKPCommandBars* pCommandBars = nullptr);
  ~CTKPShortcutManager() override;
  CTKPShortcutManager(const CTKPShortcutManager&) = delete;
  CTKPShortcutManager& operator=(const CTKPShortcutManager&) = delete;

  // The text of the command's preferred shortcut (text kept when it already is one of them); FALSE and
  // an empty text when no record is for the command or there is no table at all.
  virtual BOOL FindDefaultAccelerator(int nCommand, CString& strText);
  // The text of one record; *pPriority ranks it (no modifier 4, Ctrl 3, Alt 2, Shift 1).
  virtual CString Format(const ACCEL* pAccel, int* pPriority);
  // The display name of a virtual key: the built-in name, or the keyboard driver's (first when
  // m_bUseSystemKeyNameText is set).
  virtual CString GetKeyNameText(UINT uiVirtKey);
  // FALSE for a plain Escape unless m_bAllowEscapeShortcut.
  virtual BOOL IsAccelAllowed(ACCEL accel);
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
  // The table in use becomes a copy of the one from the resources.
  virtual void Reset();

  // The accelerator resource of that id, kept twice (in use and for resetting); a missing one leaves
  // both tables empty.
  void SetAccelerators(UINT nIDResource);
  // A table of the entries becomes the one in use; the resource copy stays. No entries: no shortcuts
  // at all. FALSE when it was refused.
  BOOL SetAccelerators(const ACCEL* pEntries, int nCount);
  // Section's "Accelerators": the table in use as 6-byte records. Only with a resource table; a stored
  // table that is not whole and sound is ignored and the table in use kept.
  void LoadShortcuts(LPCTSTR lpszSection);
  void SaveShortcuts(LPCTSTR lpszSection);

  HACCEL GetAcceleratorTable() const { return m_hAccelTable; }
  HACCEL GetResourceTable() const { return m_hOriginalAccelTable; }
  // A key message that is a shortcut becomes its command, sent to hWnd; TRUE when it was one. Nothing
  // is translated while shortcuts are disabled.
  BOOL TranslateAccelerator(HWND hWnd, MSG* pMsg) const;
  // Counted: each TRUE needs its FALSE.
  void DisableShortcuts(BOOL bDisable) { m_nDisableShortcuts += bDisable ? 1 : -1; }
  int GetCount() const;

  // The shortcut a menu item of that command shows. With no table anywhere (or menu shortcuts from the
  // accelerators switched off) the item keeps the text its caption carried after a tab: FALSE and text
  // untouched. Otherwise TRUE, text the accelerator's (empty when none is for the command).
  BOOL GetMenuShortcut(int nCommand, CString& strText);

  // The character the key produces, or its upper case, is ch; with two or more keyboard layouts, under
  // any of them.
  static BOOL CompareAccelKey(WCHAR chAccel, UINT wParam);

  BOOL m_bAllowEscapeShortcut = FALSE;
  BOOL m_bUseSystemKeyNameText = FALSE;
  // Menus show the accelerators' shortcuts (switch off to keep the menu resource's tab texts).
  BOOL m_bShowMenuShortcutsFromAccelerators = TRUE;

 protected:
  // The table FindDefaultAccelerator reads: the one in use; without it and without a resource table the
  // hosting frame's own.
  HACCEL LookupTable() const;
  static void Destroy(HACCEL& table);

  int m_nDisableShortcuts = 0;
  CTKPCommandBars* m_pCommandBars;
  HACCEL m_hAccelTable = nullptr;
  HACCEL m_hOriginalAccelTable = nullptr;
};

// A copy of a table that its receiver destroys; null for null or an empty table.
HACCEL TKPCopyAccelTable(HACCEL table);
