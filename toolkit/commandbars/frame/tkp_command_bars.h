// CTKPCommandBars: the one object per frame that owns its command bars: the bars (menu bar, toolbars),
// the four dock bars along the frame's edges, the options, the keyboard shortcuts and the tooltip context.
// The frame hands it every pre-translated message and every window message first: it turns Alt and
// Alt+letter into keyboard cues and mnemonics, gives accelerators to the shortcut manager, refreshes
// colours and metrics on system changes, keeps the hidden and used commands and lays the frame out again
// when bars change. It lives by reference count; the frame releases it.
#pragma once

#include <windows.h>

#include "platform/classlib/carray.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"

class CFrameWnd;
class CMenu;
class CTKPControl;
class CTKPDockBar;
class CTKPImageManager;
class CTKPMenuBar;
class CTKPMouseManager;
class CTKPPaintManager;
class CTKPPopupBar;
class CTKPShortcutManager;
class CTKPToolBar;
class CTKPReBar;
class CTKPToolTipContext;
class CWnd;
class CTKPCommandBarRefList;
class CTKPPropExchange;
struct TKPCommandBarsExchangeParam;
namespace tkpstate {
struct SavedLayout;
}

// The customize command: a site that handles it lets the user customize its bars.
constexpr UINT TKP_ID_CUSTOMIZE = 35001;
// Dock bar ids, top, left, right, bottom.
constexpr UINT TKP_IDW_DOCKBAR_TOP = 59419;
constexpr UINT TKP_IDW_DOCKBAR_LEFT = 59420;
constexpr UINT TKP_IDW_DOCKBAR_RIGHT = 59421;
constexpr UINT TKP_IDW_DOCKBAR_BOTTOM = 59422;
// The site hears that the customize drag control changed.
constexpr UINT TKP_WM_DRAGCONTROLCHANGED = 10327;

// The path of a file of that name in the application's own folder of the user's application data (the
// folder made when missing); empty when there is none.
CString GetAppDataFileName(LPCTSTR lpszFileName);

class CTKPCommandBars : public CCmdTarget {
  DECLARE_DYNCREATE(CTKPCommandBars)

 public:
  CTKPCommandBars();
  ~CTKPCommandBars() override;

  // ---- set-up, in the order the frame uses it ---------------------------------------------------
  // Stores the site and asks it (without calling) whether it handles the customize command.
  void SetSite(CWnd* pFrame);
  // The four dock bars along the site's edges; a failed creation throws a resource exception.
  void EnableDocking();
  // The menu bar (bar id 1, docked at the top, alone in its row) with the items of the menu resource,
  // the frame's own menu taken away; null when it could not be made or loaded.
  CTKPMenuBar* SetMenu(LPCTSTR lpszTitle, UINT nID);
  // A new toolbar at the position (0 top, 1 bottom, 2 left, 3 right), of pClass or the toolbar class;
  // null when it could not be created.
  CTKPToolBar* Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pClass = nullptr);
  // Takes a bar made elsewhere into the list (the list holds the caller's reference).
  void AddBar(CTKPCommandBar* pBar);
  // Hides the bar, takes it from its dock bar and the list, and releases it.
  void Remove(CTKPCommandBar* pBar);

  // ---- lookups --------------------------------------------------------------------------------------
  int GetCount() const { return static_cast<int>(m_arrBars.GetSize()); }
  CTKPCommandBar* GetAt(int nIndex) const;
  CTKPToolBar* GetToolBar(UINT nBarID) const;
  int FindIndex(const CTKPCommandBar* pBar) const;
  CWnd* GetSite() const { return m_pFrame; }
  CTKPDockBar* GetDockBar(int nPosition) const;
  CTKPShortcutManager* GetShortcutManager() const { return m_pShortcutManager; }
  CTKPMenuBar* GetMenuBar() const { return m_pMenuBar; }
  CTKPCommandBarsOptions* GetOptions() const { return m_pOptions; }
  CTKPCommandBarsOptions* GetCommandBarsOptions() const { return m_pOptions; }
  CTKPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
  // The own paint manager, else the process's current one.
  CTKPPaintManager* GetPaintManager() const;
  void SetPaintManager(CTKPPaintManager* pPaintManager);
  // The own image manager, else the process's.
  CTKPImageManager* GetImageManager() const;
  void SetImageManager(CTKPImageManager* pImageManager);
  BOOL IsCustomizeAvail() const { return m_bCustomizeAvail; }
  BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
  BOOL IsLayoutRTL() const;

  // ---- visibility -----------------------------------------------------------------------------------
  void ToggleVisible(int nIndex);
  // The first visible bar after nIndex in nDirection (+1 or -1), wrapping once; nIndex when the walk
  // comes back to it; -1 when none.
  int GetNextVisible(int nIndex, int nDirection) const;
  // Tracking goes to the next visible bar after pBar; TRUE when one took it.
  BOOL ActivateNextBar(CTKPCommandBar* pBar, int nDirection);

  // ---- commands -------------------------------------------------------------------------------------
  void HideCommands(const UINT* ids, int nCount);
  void HideCommand(UINT nID);
  void SetCommandUsed(UINT nID);
  void ResetUsageData();
  virtual BOOL IsControlHidden(UINT nID) const;
  // The control's command is hidden; or, with "AutoHideUnusedPopups", it opens a popup whose controls
  // are all hidden (a popup without controls is not).
  virtual BOOL IsControlHidden(CTKPControl* pControl) const;
  // The menu resource that goes with the active document: 0 for a frame that is not MDI.
  virtual UINT GetActiveDocTemplate() const;
  BOOL IsCommandHidden(UINT nID) const { return IsControlHidden(nID); }
  virtual void OnTrackingModeChanged(CTKPCommandBar* pBar, int nMode);
  void SetCustomizeMode(BOOL bMode);
  void SetDragControl(CTKPControl* pControl);
  CTKPControl* GetDragControl() const { return m_pDragControl; }
  // Every bar window of this manager, popups included, in the order they were created: what a
  // customize drag may drop on, a menu that was already open when the drag began included.
  void RegisterDropTarget(CTKPCommandBar* pBar);
  void UnregisterDropTarget(CTKPCommandBar* pBar);
  const CArray<CTKPCommandBar*, CTKPCommandBar*>& GetDropTargets() const { return m_arrDropTargets; }

  // ---- frame messages -------------------------------------------------------------------------------
  BOOL PreTranslateFrameMessage(MSG* pMsg);
  BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The frame-wide mnemonic search; TRUE when a control answered.
  BOOL OnFrameAccel(UINT nKey);
  // The control that answers ch, from the one after pBar's selection, across the bars that take part;
  // ppBar receives its bar. -1 when none.
  int FindAccel(CTKPCommandBar* pBar, TCHAR ch, BOOL* pbAmbiguous, CTKPCommandBar** ppBar) const;
  void SetPreviewMode(BOOL bPreview);
  void IdleRecalcLayout();

  // ---- keyboard cues ----------------------------------------------------------------------------------
  void ShowKeyboardCues(BOOL bShow);
  BOOL IsKeyboardCuesVisible() const { return m_pOptions->m_bCuesVisible; }

  // ---- docking ------------------------------------------------------------------------------------------
  // The dock bar that takes a dragged bar's screen point (the current one asked first), or null.
  CTKPDockBar* CanDock(CPoint ptScreen, CTKPDockBar* pCurrent = nullptr) const;
  // The bar's window moves into the dock bar: into the row under the rectangle (screen), or without
  // one into a new last row; its position becomes the dock bar's. FALSE when the window failed.
  BOOL DockCommandBar(CTKPToolBar* pBar, LPCRECT pRect, CTKPDockBar* pDockBar);
  BOOL DockCommandBar(CTKPToolBar* pBar, int nPosition) { return DockCommandBar(pBar, nullptr, GetDockBar(nPosition)); }
  // The bar's window becomes a floating popup owned by the site; it leaves its dock bar.
  BOOL FloatCommandBar(CTKPToolBar* pBar);
  BOOL IsCustomizeLayout() const { return m_bCustomizeLayout; }
  // Into a toolbar's expand popup: the controls its row (the bar alone when it floats) could not show,
  // and an entry per bar of the row for adding or removing its buttons (tkp_tool_bar_expand.cpp).
  virtual void GetHiddenControls(CTKPToolBar* pBar, CTKPPopupBar* pExpandBar);
  virtual void AddAddOrRemovePopups(CTKPToolBar* pBar, CTKPPopupBar* pExpandBar);

  // ---- layout -------------------------------------------------------------------------------------------
  // The site's layout now, or (bDelay) at its next idle turn.
  void RecalcFrameLayout(BOOL bDelay = FALSE);
  // A toolbar the user made: the site may adjust it (0x2861 with bCustomBar set); floating when torn off,
  // else at the top; not built in; then put on the site's rebar when there is one. Id 0 gives it
  // NewToolbarId(): a bar without an id is never saved. Null when it fails.
  virtual CTKPToolBar* AddCustomBar(LPCTSTR lpszTitle, UINT nID, BOOL bTearOff = FALSE);
  // The first id of the users' own toolbars that no bar has; 0 when they are all taken.
  UINT NewToolbarId() const;
  // The toolbar as a band of the site's rebar (child AFX_IDW_REBAR), and back out; nothing without one.
  virtual BOOL AddToReBar(CTKPToolBar* pBar);
  virtual void RemoveFromReBar(CTKPToolBar* pBar);
  void RedrawCommandBars();
  void RecalcCommandBarsLayout();
  void LockLayout(BOOL bLock) { m_bRecalcLayout = bLock; }

  // ---- popups -------------------------------------------------------------------------------------------
  // Every tracked popup closes.
  void ClosePopups() const;
  // Shows the menu as a popup at a screen point and tracks it; with TPM_RETURNCMD the chosen command
  // comes back (0 when dismissed) instead of being sent.
  static UINT TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT rcExclude = nullptr,
                             CWnd* pWndOwner = nullptr, CTKPCommandBars* pCommandBars = nullptr);
  // Shows the popup at the point (away from rcExclude) and tracks it until it closes; the TPM_ flags
  // as TrackPopupMenu takes them. With TPM_RECURSE the popups already open stay open.
  static UINT TrackPopupBar(CTKPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd,
                            LPCRECT rcExclude = nullptr, CWnd* pWndOwner = nullptr);
  // A new popup holding the toolbars list (and the customize command when the site offers it); the
  // caller holds its one reference.
  virtual CTKPPopupBar* GetToolbarsPopup();
  // The toolbar menu at the screen point (a right click on a bar or a dock bar).
  virtual void ContextMenu(CTKPCommandBar* pBar, CPoint pt);
  // The thread's messages while pBar is tracking (a popup or the toolbar context menu). A message that
  // comes after the tracking ended goes back to the queue; so does WM_QUIT, which ends the loop: FALSE
  // then, so that the caller unwinds without waiting for more.
  static BOOL PumpTrackingLoop(CTKPCommandBar* pBar);

  // ---- persistence ------------------------------------------------------------------------------------
  // "<section>-Options" under the application's key: the user's options.
  void SaveOptions(LPCTSTR lpszProfileName);
  void LoadOptions(LPCTSTR lpszProfileName);
  // The toolbars' layout (tkp_bar_state.cpp): "<section>-Summary", "-Bar<n>" (each toolbar: shown,
  // docked or floating, where), "-DockBar<d>" (the rows) and "StatusBar"; a damaged layout is ignored.
  void LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
  void SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);

  // ---- the stream of customized bars (tkp_controls_stream.cpp) ------------------------------------------
  // With customizing available, the bars the user may have changed are kept whole in "<section>-Controls":
  // "Controls" holds the stream (up to 16000 bytes) or the path of the hidden file that holds it, and
  // "LoadFromFile" says which. The file is the one named here, else one in the application's own folder
  // of the user's application data; a path that names any other file is not read.
  void SetControlsFileName(LPCTSTR lpszFileName) { m_strControlsFileName = lpszFileName; }
  virtual BOOL GetControlsFileName(CString& strFileName, LPCTSTR lpszProfileName) const;
  virtual BOOL SaveBarList(CTKPPropExchange* pPX, CTKPCommandBarRefList& list);
  // FALSE when an item yields no bar; a stream that is cut short raises an archive exception.
  virtual BOOL LoadBarList(CTKPPropExchange* pPX, CTKPCommandBarRefList& list);
  virtual void CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list, const TKPCommandBarsExchangeParam& param);
  // Loaded toolbars replace the controls of ours of the same id; new custom toolbars are added.
  virtual void MergeLoadedBars(CTKPCommandBarRefList& list, BOOL bSilent);
  // The stream's bars merged into ours. A stream that is damaged in any part is refused whole (FALSE)
  // and the bars stay as they were.
  BOOL LoadCustomizedBars(const BYTE* pData, UINT nBytes, BOOL bSilent);

  BOOL m_bIgnoreShiftMenuKey = FALSE;

 protected:
  // The site's rebar (child AFX_IDW_REBAR) when it is the toolkit's.
  CTKPReBar* GetSiteReBar() const;
  void OnFinalRelease() override;
  CTKPMouseManager* MouseManager() const;
  BOOL IsControlHidden(CTKPControl* pControl, int nDepth) const;
  BOOL IsTracking() const;  // a popup or bar is tracked
  // The saved rows of the dock bars, bars moved to their saved places.
  void LoadDockBarsState(const tkpstate::SavedLayout& layout);
  void SaveCustomizedBars(LPCTSTR lpszProfileName, BOOL bOnlyCustomized);
  void LoadCustomizedBars(LPCTSTR lpszProfileName, BOOL bSilent);

  CCmdTarget* m_pExtraObject = nullptr;
  CTKPPaintManager* m_pPaintManager = nullptr;
  CTKPImageManager* m_pImageManager = nullptr;
  CTKPControl* m_pDragControl = nullptr;
  BOOL m_bCustomizeMode = FALSE;
  BOOL m_bCustomizeAvail = FALSE;
  UINT m_nMenuID = 0;
  BOOL m_bCustomizeLayout = FALSE;
  CString m_strControlsFileName;
  CTKPCommandBarsOptions* m_pOptions = nullptr;
  CArray<CTKPCommandBar*, CTKPCommandBar*> m_arrBars;
  CArray<CTKPCommandBar*, CTKPCommandBar*> m_arrDropTargets;  // no references held
  CTKPDockBar* m_pDocks[4] = {nullptr, nullptr, nullptr, nullptr};
  CWnd* m_pFrame = nullptr;
  CTKPToolTipContext* m_pToolTipContext = nullptr;
  mutable CTKPMouseManager* m_pMouseManager = nullptr;
  CTKPShortcutManager* m_pShortcutManager = nullptr;
  CTKPMenuBar* m_pMenuBar = nullptr;  // one of the bars (the list holds its reference)
  BOOL m_bRecalcLayout = FALSE;  // the layout is locked
  BOOL m_bRightToLeft = FALSE;

  friend class CTKPCommandBar;
};
