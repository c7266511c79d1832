// CTKPCommandBarsOptions: the options every bar of a frame follows (full menus, screen tips, icon sizes,
// keyboard cues, the hidden and used commands), kept in the profile through the property exchange. In
// the Windows build it is reference counted like the manager that owns it.
#pragma once

#include "platform/classlib/cmap.h"
#include "platform/classlib/crect.h"
#include "toolkit/common/tkp_prop_exchange.h"

#ifdef _WIN32
#include "platform/classlib/win/ccmdtarget.h"
using CTKPOptionsBase = CCmdTarget;
#else
using CTKPOptionsBase = CObject;
#endif

class CTKPCommandBars;

// A set of command ids (the keys; the values are TRUE).
// Read from the profile at every start: hashed on the whole id (see CMapWholeHash).
using CTKPCommandSet = CMap<UINT, UINT, BOOL, BOOL, CMapWholeHash>;

// "KeyboardCuesUse" bits.
constexpr int TKP_CUES_USE_ALL_BARS = 1;   // mnemonics of other bars take part in the frame-wide search
constexpr int TKP_CUES_USE_NONE = 2;       // the whole value 2: no frame-wide mnemonics
constexpr int TKP_CUES_USE_AMPERSAND = 4;  // a caption without "&" never answers by its first letter

// "KeyboardCuesShow" modes.
enum TKPKeyboardCues { tkpCuesAlways = 0, tkpCuesNever = 1, tkpCuesSystem = 2 };

class CTKPCommandBarsOptions : public CTKPOptionsBase {
 public:
  CTKPCommandBarsOptions();
  ~CTKPCommandBarsOptions() override = default;

  // The keys in their fixed order; with bUserOptionsOnly the exchange ends after "Animation".
  void DoPropExchange(CTKPPropExchange* pPX, BOOL bUserOptionsOnly = FALSE);
  // 0 always shown, 1 never, 2 as the system says (hidden until Alt when the system hides them).
  void ShowKeyboardCues(int nMode);
  int GetKeyboardCuesShow() const { return m_keyboardCuesShow; }

  // Whether the system underlines mnemonics (the Windows build asks it); true elsewhere.
  static bool (*s_pfnSystemShowsCues)();
  // The paint manager owns the three icon options: the Windows build copies them from the manager's
  // paint manager before they are stored (bToPaint false) and into it after they are loaded (true).
  static void (*s_pfnPaintIconOptions)(CTKPCommandBarsOptions* pOptions, bool bToPaint);

  BOOL bAlwaysShowFullMenus = TRUE;
  BOOL bShowFullAfterDelay = TRUE;
  BOOL bToolBarScreenTips = TRUE;
  BOOL bToolBarAccelTips = FALSE;
  BOOL bLargeIcons = FALSE;
  BOOL bSyncFloatingBars = TRUE;
  BOOL bShowExpandButtonAlways = TRUE;
  BOOL bDblClickFloat = FALSE;
  BOOL bShowTextBelowIcons = FALSE;
  BOOL bAltDragCustomization = TRUE;
  BOOL bAutoHideUnusedPopups = TRUE;
  BOOL bDirtyState = FALSE;            // a bar was moved or customized since the last save or load
  BOOL bShowPopupBarToolTips = FALSE;  // tips for every control of popup bars
  int nAnimationType = 0;
  int keyboardCuesUse = TKP_CUES_USE_ALL_BARS;
  BOOL bShowControlDescriptions = TRUE;  // in the status bar
  CSize szIcons;
  CSize szLargeIcons;
  CSize szPopupIcons;
  CTKPCommandSet m_mapHiddenCommands;
  CTKPCommandSet m_mapUsedCommands;
  CTKPCommandBars* m_pCommandBars = nullptr;

  // The paint manager's icon options, exchanged among these keys.
  BOOL bIconsWithShadow = FALSE;
  BOOL bUseDisabledIcons = TRUE;
  BOOL bUseFadedIcons = TRUE;

  // Set by ShowKeyboardCues: the cues show only while the keyboard is used, and whether they show now.
  BOOL m_bCuesUntilAlt = FALSE;
  BOOL m_bCuesVisible = TRUE;

 private:
  int m_keyboardCuesShow = tkpCuesAlways;
};

// A command set under its key: one blob in an archive exchange; elsewhere a section with "Count" and
// one "Item%i" per id, in map order.
void TKPExchangeCommandSet(CTKPPropExchange* pPX, LPCTSTR pszKey, CTKPCommandSet& set);
