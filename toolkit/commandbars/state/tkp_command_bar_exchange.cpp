// The bars and their controls in the stream of customized bars: the keys each kind of bar exchanges,
// the controls collection with its originals, the bars gathered for saving and the popup controls of
// loaded bars linked to the bars they name. What a loaded stream holds is checked by
// tkp_controls_stream.cpp before any of it reaches the live bars.
#include <memory>

#include "toolkit/commandbars/state/controls_stream_rules.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/state/tkp_command_bar_list.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_prop_exchange.h"

static_assert(sizeof(void*) == sizeof(DWORD), "the exchange's word carries a pointer in this build");

void TKPSetExchangeParam(CTKPPropExchange* pPX, TKPCommandBarsExchangeParam* pParam) {
  pPX->m_dwData = static_cast<DWORD>(reinterpret_cast<uintptr_t>(pParam));
}

TKPCommandBarsExchangeParam* TKPGetExchangeParam(CTKPPropExchange* pPX) {
  return reinterpret_cast<TKPCommandBarsExchangeParam*>(static_cast<uintptr_t>(pPX->m_dwData));
}

// ---- the list ------------------------------------------------------------------------------------------

CTKPCommandBarRefList::~CTKPCommandBarRefList() {
  for (CTKPCommandBar* bar : m_bars) bar->InternalRelease();
}

void CTKPCommandBarRefList::Add(CTKPCommandBar* pBar) {
  pBar->InternalAddRef();
  m_bars.push_back(pBar);
}

void CTKPCommandBarRefList::Adopt(CTKPCommandBar* pBar) { m_bars.push_back(pBar); }

BOOL CTKPCommandBarRefList::Contains(const CTKPCommandBar* pBar) const {
  for (CTKPCommandBar* bar : m_bars) {
    if (bar == pBar) return TRUE;
  }
  return FALSE;
}

CTKPCommandBar* CTKPCommandBarRefList::FindPopupBar(UINT nBarID, const CTKPCommandBar* pExcept) const {
  for (CTKPCommandBar* bar : m_bars) {
    if (bar != pExcept && bar->GetBarID() == nBarID && !bar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) return bar;
  }
  return nullptr;
}

namespace {

// The section's exchange, deleted with the holder.
using Section = std::unique_ptr<CTKPPropExchange>;

void ExchangeControlsSection(CTKPPropExchange* pPX, LPCTSTR pszSection, CTKPControls* pControls) {
  Section section(pPX->GetSection(pszSection));
  if (section != nullptr) pControls->DoPropExchange(section.get());
}

[[noreturn]] void Damaged(int nCause = CArchiveException::generic) { AfxThrowArchiveException(nCause); }

}  // namespace

// ---- the bars' keys ------------------------------------------------------------------------------------

void CTKPCommandBar::DoPropExchange(CTKPPropExchange* pPX) {
  LONG type = m_barType, position = m_barPosition, id = static_cast<LONG>(m_nBarID);
  LONG flags = static_cast<LONG>(m_dwFlags), style = static_cast<LONG>(m_dwBarStyle), mru = m_nMRUWidth;
  PX_Long(pPX, _T("Type"), type, tkpBarTypeNormal);
  PX_Long(pPX, _T("Position"), position, 0);
  PX_Long(pPX, _T("BarID"), id, 0);
  PX_Long(pPX, _T("Flags"), flags, 0);
  PX_Long(pPX, _T("Style"), style, 0);
  PX_String(pPX, _T("Title"), m_strTitle, _T(""));
  PX_Bool(pPX, _T("Customizable"), m_bCustomizable, TRUE);
  PX_Long(pPX, _T("MRUWidth"), mru, 0);
  if (pPX->GetSchema() > 2) PX_Size(pPX, _T("IconSize"), m_szIcons, CSize(0, 0));
  if (pPX->IsLoading()) {
    m_barType = static_cast<int>(type);
    m_barPosition = static_cast<int>(position);
    m_nBarID = static_cast<UINT>(id);
    m_dwFlags = static_cast<DWORD>(flags);
    m_dwBarStyle = static_cast<DWORD>(style);
    m_nMRUWidth = static_cast<int>(mru);
    if (TKPCommandBarsExchangeParam* param = TKPGetExchangeParam(pPX)) m_pCommandBars = param->pCommandBars;
  }
  ExchangeControlsSection(pPX, _T("Controls"), m_pControls);
}

void CTKPToolBar::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPCommandBar::DoPropExchange(pPX);
  PX_Bool(pPX, _T("BuiltIn"), m_bBuiltIn, TRUE);
  PX_Bool(pPX, _T("TearOff"), m_bTearOff, FALSE);
  if (pPX->GetSchema() > 6) PX_Bool(pPX, _T("Closeable"), m_bCloseable, TRUE);
  if (pPX->GetSchema() > 7) PX_Bool(pPX, _T("ContextMenuPresent"), m_bContextMenuPresent, TRUE);
}

void CTKPPopupBar::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPCommandBar::DoPropExchange(pPX);
  LONG tearOffId = static_cast<LONG>(m_nTearOffID), tearOffWidth = m_nTearOffWidth;
  PX_Bool(pPX, _T("TearOffPopup"), m_bTearOffPopup, FALSE);
  PX_String(pPX, _T("TearOffCaption"), m_strTearOffCaption, _T(""));
  PX_Long(pPX, _T("TearOffId"), tearOffId, 0);
  PX_Long(pPX, _T("TearOffWidth"), tearOffWidth, 0);
  if (pPX->GetSchema() > 3) {
    PX_Rect(pPX, _T("Borders"), m_rcMargins, CRect(2, 4, 2, 4));
    PX_Bool(pPX, _T("ShowShadow"), m_bShadow, TRUE);
  }
  if (pPX->GetSchema() > 8) PX_Bool(pPX, _T("DoubleGripper"), m_bDoubleGripper, FALSE);
  if (pPX->IsLoading()) {
    m_nTearOffID = static_cast<UINT>(tearOffId);
    m_nTearOffWidth = static_cast<int>(tearOffWidth);
  }
}

// ---- the menu bar's document-type menus ----------------------------------------------------------------

std::vector<CTKPControls*> CTKPMenuBar::GetMdiMenus() const {
  std::vector<CTKPControls*> menus;
  for (POSITION pos = m_mapMenuCache.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    CTKPControls* controls = nullptr;
    m_mapMenuCache.GetNextAssoc(pos, id, controls);
    menus.push_back(controls);
  }
  return menus;
}

void CTKPMenuBar::DoPropExchange(CTKPPropExchange* pPX) {
  // Saved with the default menu on show, so that the bar's own controls are that menu's.
  if (!pPX->IsLoading() && !m_mapMenuCache.IsEmpty()) RestoreCache();
  CTKPToolBar::DoPropExchange(pPX);
  LONG resource = static_cast<LONG>(m_nIDResource);
  PX_Long(pPX, _T("ResourceId"), resource, 0);
  if (!pPX->IsLoading()) {
    pPX->WriteCount(static_cast<DWORD>(m_mapMenuCache.GetCount()));
    int index = 0;
    for (POSITION pos = m_mapMenuCache.GetStartPosition(); pos != nullptr; ++index) {
      UINT id = 0;
      CTKPControls* controls = nullptr;
      m_mapMenuCache.GetNextAssoc(pos, id, controls);
      CString name;
      name.Format(_T("%s%i"), _T("MDIMenu"), index);
      Section section(pPX->GetSection(name));
      LONG menuId = static_cast<LONG>(id);
      PX_Long(section.get(), _T("Id"), menuId, 0);
      controls->DoPropExchange(section.get());
    }
    return;
  }
  m_nIDResource = static_cast<UINT>(resource);
  if (pPX->GetSchema() <= 4) return;
  const DWORD count = pPX->ReadCount();
  if (count > tkpstream::kMostBars) Damaged();
  for (DWORD i = 0; i < count; ++i) {
    CString name;
    name.Format(_T("%s%i"), _T("MDIMenu"), static_cast<int>(i));
    Section section(pPX->GetSection(name));
    LONG menuId = 0;
    PX_Long(section.get(), _T("Id"), menuId, 0);
    // In the cache before it reads, so that a failure frees it with the bar.
    CacheMenu(static_cast<UINT>(menuId), new CTKPControls)->DoPropExchange(section.get());
  }
}

void CTKPMenuBar::Copy(CTKPCommandBar* pSource, BOOL bRecursive) {
  CTKPToolBar::Copy(pSource, bRecursive);
  auto* source = dynamic_cast<CTKPMenuBar*>(pSource);
  if (source == nullptr || source == this) return;
  m_nIDResource = source->m_nIDResource;
  // Each parked menu is a copy of its own, popups included: the two bars must not share a popup bar.
  for (POSITION pos = source->m_mapMenuCache.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    CTKPControls* controls = nullptr;
    source->m_mapMenuCache.GetNextAssoc(pos, id, controls);
    CacheMenu(id, controls->Duplicate(TRUE));
  }
}

CTKPControls* CTKPMenuBar::CacheMenu(UINT nID, CTKPControls* pControls) {
  CTKPControls* previous = nullptr;
  if (m_mapMenuCache.Lookup(nID, previous)) previous->InternalRelease();
  m_mapMenuCache[nID] = pControls;
  pControls->SetParent(this);
  pControls->SetCommandBars(GetCommandBars());
  return pControls;
}

// ---- the controls collection ---------------------------------------------------------------------------

void CTKPControls::DoPropExchange(CTKPPropExchange* pPX) { ExchangeControls(pPX, 0); }

void CTKPControls::ExchangeControls(CTKPPropExchange* pPX, int nDepth) {
  const BOOL loading = pPX->IsLoading();
  std::unique_ptr<CTKPSectionEnumerator> items(pPX->GetEnumerator(_T("Control")));
  if (!loading) {
    DWORD count = 0;
    for (int i = 0; i < GetCount(); ++i) count += m_arrControls[i]->IsTemporary() ? 0 : 1;
    POSITION pos = items->GetPosition(count);
    for (int i = 0; i < GetCount() && pos != nullptr; ++i) {
      CTKPControl* control = m_arrControls[i];
      if (control->IsTemporary()) continue;
      Section item(items->GetNext(pos));
      CObject* object = control;
      item->ExchangeObjectInstance(&object, RUNTIME_CLASS(CTKPControl));
      control->DoPropExchange(item.get());
    }
  } else {
    RemoveAll();
    POSITION pos = items->GetPosition();
    while (pos != nullptr) {
      if (static_cast<size_t>(GetCount()) >= tkpstream::kMostControls) Damaged();
      Section item(items->GetNext(pos));
      CObject* object = nullptr;
      if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(CTKPControl)) || object == nullptr) {
        Damaged(CArchiveException::badClass);
      }
      // In the collection before it reads itself: it finds its managers, and a failure frees it with the rest.
      auto* control = static_cast<CTKPControl*>(object);
      control->m_nIndex = GetCount();
      control->m_pControls = this;
      m_arrControls.Add(control);
      control->SetParent(m_pParent);
      control->DoPropExchange(item.get());
    }
    RefreshIndexes();
  }
  const TKPCommandBarsExchangeParam* param = TKPGetExchangeParam(pPX);
  BOOL original = !loading && m_pOriginalControls != nullptr && (param == nullptr || param->bSaveOriginalControls);
  PX_Bool(pPX, _T("OriginalControls"), original, FALSE);
  if (original) {
    // Originals hold no originals of their own: a stream that says so is damaged.
    if (loading && nDepth > 0) Damaged();
    if (loading) {
      ReleaseOriginalControls();
      m_pOriginalControls = new CTKPControls;
      m_pOriginalControls->m_pCommandBars = GetCommandBars();
    }
    Section section(pPX->GetSection(_T("OriginalControls")));
    m_pOriginalControls->ExchangeControls(section.get(), nDepth + 1);
  }
  BOOL customized = FALSE;  // never written; read past when another writer left one
  PX_Bool(pPX, _T("CustomizedControls"), customized, FALSE);
  if (loading && customized) {
    if (nDepth > 0) Damaged();
    auto* scratch = new CTKPControls;
    scratch->m_pCommandBars = GetCommandBars();
    try {
      Section section(pPX->GetSection(_T("CustomizedControls")));
      scratch->ExchangeControls(section.get(), nDepth + 1);
    } catch (...) {
      scratch->InternalRelease();
      throw;
    }
    scratch->InternalRelease();
  }
}

// ---- gathering the bars to save, linking the loaded ones -----------------------------------------------

void CTKPCommandBar::CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list,
                                       const TKPCommandBarsExchangeParam& param) {
  if (list.Contains(this)) return;
  list.Add(this);
  // Popup bars get ids of their own in this stream, so that their popup controls can name them.
  if (!IsKindOf(RUNTIME_CLASS(CTKPToolBar)) &&
      (m_nBarID == 0 || m_nBarID >= tkpstream::kFirstPopupBarId || list.FindPopupBar(m_nBarID, this) != nullptr)) {
    m_nBarID = nNextId++;
  }
  CollectPopupBars(m_pControls, nNextId, list, param);
}

void CTKPCommandBar::CollectPopupBars(CTKPControls* pControls, UINT& nNextId, CTKPCommandBarRefList& list,
                                      const TKPCommandBarsExchangeParam& param) {
  if (pControls == nullptr) return;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CTKPControl* control = pControls->GetAt(i);
    if (control->IsTemporary()) continue;
    if (CTKPCommandBar* bar = control->GetCommandBar()) bar->CollectBarsToSave(nNextId, list, param);
  }
  if (param.bSaveOriginalControls) CollectPopupBars(pControls->GetOriginalControls(), nNextId, list, param);
}

void CTKPMenuBar::CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list,
                                    const TKPCommandBarsExchangeParam& param) {
  if (list.Contains(this)) return;
  CTKPToolBar::CollectBarsToSave(nNextId, list, param);
  for (CTKPControls* menu : GetMdiMenus()) CollectPopupBars(menu, nNextId, list, param);
}

void CTKPCommandBar::LinkPopupBars(CTKPControls* pControls, CTKPCommandBarRefList& list) {
  if (pControls == nullptr) return;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    auto* popup = dynamic_cast<CTKPControlPopup*>(pControls->GetAt(i));
    if (popup == nullptr || popup->GetCommandBarId() == 0) continue;
    CTKPCommandBar* bar = list.FindPopupBar(popup->GetCommandBarId());
    popup->LinkCommandBar(bar);
    if (bar != nullptr) bar->LinkPopupBars(list);
  }
  LinkPopupBars(pControls->GetOriginalControls(), list);
}

void CTKPCommandBar::LinkPopupBars(CTKPCommandBarRefList& list) { LinkPopupBars(m_pControls, list); }

void CTKPMenuBar::LinkPopupBars(CTKPCommandBarRefList& list) {
  CTKPToolBar::LinkPopupBars(list);
  for (CTKPControls* menu : GetMdiMenus()) CTKPCommandBar::LinkPopupBars(menu, list);
}
