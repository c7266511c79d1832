#include "toolkit/commandbars/frame/tkp_command_bars_options.h"

#include <memory>
#include <vector>

namespace {

bool AlwaysShowsCues() { return true; }

// Schemas after these store the later keys.
constexpr int kSchemaBeforeSets = 7;
constexpr int kSchemaBeforeCues = 8;

}  // namespace

bool (*CTKPCommandBarsOptions::s_pfnSystemShowsCues)() = &AlwaysShowsCues;
void (*CTKPCommandBarsOptions::s_pfnPaintIconOptions)(CTKPCommandBarsOptions*, bool) = nullptr;

CTKPCommandBarsOptions::CTKPCommandBarsOptions() : szPopupIcons(16, 16) {}

void CTKPCommandBarsOptions::ShowKeyboardCues(int nMode) {
  m_keyboardCuesShow = nMode;
  m_bCuesUntilAlt = FALSE;
  m_bCuesVisible = nMode != tkpCuesNever;
  if (nMode == tkpCuesSystem && !s_pfnSystemShowsCues()) {
    m_bCuesUntilAlt = TRUE;
    m_bCuesVisible = FALSE;
  }
}

void TKPExchangeCommandSet(CTKPPropExchange* pPX, LPCTSTR pszKey, CTKPCommandSet& set) {
  if (pPX->AllowsBinaryValues()) {
    if (pPX->IsLoading()) set.RemoveAll();
    PX_Serialize(pPX, pszKey, &set);
    return;
  }
  std::unique_ptr<CTKPPropExchange> section(pPX->GetSection(pszKey));
  if (section == nullptr) return;
  CString name;
  if (pPX->IsLoading()) {
    set.RemoveAll();
    const DWORD count = section->ReadCount();
    std::vector<std::pair<UINT, BOOL>> ids;
    for (DWORD i = 0; i < count; ++i) {
      LONG id = 0;
      name.Format(_T("Item%i"), static_cast<int>(i));
      // A missing item ends the list: a damaged count does not make up ids.
      if (!PX_LongNoDefault(section.get(), name, id)) break;
      ids.emplace_back(static_cast<UINT>(id), TRUE);
    }
    set.SetLoaded(ids);  // as a map read from an archive is
    return;
  }
  section->EmptySection();
  section->WriteCount(static_cast<DWORD>(set.GetCount()));
  int i = 0;
  for (POSITION pos = set.GetStartPosition(); pos != nullptr; ++i) {
    UINT id = 0;
    BOOL value = FALSE;
    set.GetNextAssoc(pos, id, value);
    LONG stored = static_cast<LONG>(id);
    name.Format(_T("Item%i"), i);
    PX_LongNoDefault(section.get(), name, stored);
  }
}

void CTKPCommandBarsOptions::DoPropExchange(CTKPPropExchange* pPX, BOOL bUserOptionsOnly) {
  pPX->ExchangeSchema();
  const int schema = pPX->GetSchema();
  PX_Bool(pPX, _T("AlwaysShowFullMenus"), bAlwaysShowFullMenus, TRUE);
  PX_Bool(pPX, _T("ShowFullAfterDelay"), bShowFullAfterDelay, TRUE);
  PX_Bool(pPX, _T("ToolBarScreenTips"), bToolBarScreenTips, TRUE);
  PX_Bool(pPX, _T("ToolBarAccelTips"), bToolBarAccelTips, FALSE);
  PX_Bool(pPX, _T("LargeIcons"), bLargeIcons, FALSE);
  if (schema > kSchemaBeforeSets) TKPExchangeCommandSet(pPX, _T("UsedCommands"), m_mapUsedCommands);
  if (schema > kSchemaBeforeSets || bUserOptionsOnly) PX_Int(pPX, _T("Animation"), nAnimationType, 0);
  if (bUserOptionsOnly) return;

  PX_Bool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
  PX_Bool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
  PX_Size(pPX, _T("IconsSize"), szIcons, CSize(0, 0));
  PX_Size(pPX, _T("LargeIconsSize"), szLargeIcons, CSize(0, 0));
  TKPExchangeCommandSet(pPX, _T("HiddenCommands"), m_mapHiddenCommands);
  if (!pPX->IsLoading() && s_pfnPaintIconOptions != nullptr) s_pfnPaintIconOptions(this, false);
  PX_Bool(pPX, _T("IconsWithShadow"), bIconsWithShadow, FALSE);
  PX_Bool(pPX, _T("UseDisabledIcons"), bUseDisabledIcons, TRUE);
  PX_Bool(pPX, _T("UseFadedIcons"), bUseFadedIcons, TRUE);
  if (pPX->IsLoading() && s_pfnPaintIconOptions != nullptr) s_pfnPaintIconOptions(this, true);
  if (schema > kSchemaBeforeSets) {
    PX_Bool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
    PX_Bool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
    PX_Bool(pPX, _T("DblClickFloat"), bDblClickFloat, FALSE);
    PX_Bool(pPX, _T("ShowTextBelowIcons"), bShowTextBelowIcons, FALSE);
    PX_Bool(pPX, _T("AltDragCustomization"), bAltDragCustomization, TRUE);
    PX_Bool(pPX, _T("AutoHideUnusedPopups"), bAutoHideUnusedPopups, TRUE);
    PX_Size(pPX, _T("PopupIconsSize"), szPopupIcons, CSize(16, 16));
  }
  if (schema > kSchemaBeforeCues) {
    PX_Int(pPX, _T("KeyboardCuesUse"), keyboardCuesUse, TKP_CUES_USE_ALL_BARS);
    PX_Int(pPX, _T("KeyboardCuesShow"), m_keyboardCuesShow, tkpCuesAlways);
    if (pPX->IsLoading()) ShowKeyboardCues(m_keyboardCuesShow);
  }
}
