// CTKPCommandBars: the command bars of a frame: the menu bar, the toolbars, their icons, the keyboard
// shortcuts and the options, with their state kept in the profile. Popup menus are tracked through it too.
#pragma once

#include <set>
#include <vector>

#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/commandbars/tkp_shortcut_manager.h"

class CFrameWnd;
class CMenu;
class CTKPCommandBar;
class CTKPToolBar;
class CWnd;

// Where a bar is docked.
enum TKPBarPosition { tkpBarTop = 0, tkpBarBottom = 1, tkpBarLeft = 2, tkpBarRight = 3 };

struct CTKPCommandBarsOptions {
  BOOL bAlwaysShowFullMenus = TRUE;
  BOOL bShowFullAfterDelay = TRUE;
  BOOL bToolBarScreenTips = TRUE;
  BOOL bLargeIcons = FALSE;
};

class CTKPCommandBars : public CCmdTarget {
  DECLARE_DYNCREATE(CTKPCommandBars)

 public:
  CTKPCommandBars() = default;
  ~CTKPCommandBars() override;

  void SetSite(CFrameWnd* pFrame) { m_pSite = pFrame; }
  CFrameWnd* GetSite() const { return m_pSite; }
  // Docking along the four sides of the site: bars are docked at the top so far.
  void EnableDocking() {}

  // The menu bar from a menu resource (the hidden commands left out); non-zero on success.
  BOOL SetMenu(LPCTSTR lpszTitle, UINT nIDMenu);
  // A new toolbar docked at the position; null when its window could not be created.
  CTKPToolBar* Add(LPCTSTR lpszTitle, TKPBarPosition nPosition);
  int GetCount() const { return static_cast<int>(m_bars.size()); }
  CTKPCommandBar* GetAt(int nIndex) const;

  // Commands that show in no bar and no menu.
  void HideCommands(const UINT* ids, int nCount);
  BOOL IsCommandHidden(UINT nID) const { return m_hidden.count(nID) != 0; }

  CTKPShortcutManager* GetShortcutManager() { return &m_shortcuts; }
  CTKPImageManager* GetImageManager() { return &m_images; }
  CTKPCommandBarsOptions* GetCommandBarsOptions() { return &m_options; }

  // section + "-Options": the options.
  void LoadOptions(LPCTSTR lpszSection);
  void SaveOptions(LPCTSTR lpszSection);
  // section + "-Summary" (the bar count) and section + "-Bar" + n (each bar's visibility).
  void LoadBarState(LPCTSTR lpszSection, BOOL bSilent = FALSE);
  void SaveBarState(LPCTSTR lpszSection, BOOL bSaveControls = TRUE);

  // Shows the menu as a popup at a screen point and tracks it; with TPM_RETURNCMD (and TPM_NONOTIFY)
  // the chosen command comes back (0 when dismissed).
  static UINT TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd);

 private:
  CFrameWnd* m_pSite = nullptr;
  std::vector<CTKPCommandBar*> m_bars;  // windows owned by the site; objects deleted with them
  std::set<UINT> m_hidden;
  CTKPShortcutManager m_shortcuts;
  CTKPImageManager m_images;
  CTKPCommandBarsOptions m_options;
};
