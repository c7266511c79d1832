#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"

#include <algorithm>

#include "res/toolkit_resource.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/splitter_tracker.h"
#include "toolkit/dockingpane/dock_live_drag.h"
#include "toolkit/dockingpane/dock_sizing.h"
#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"

namespace {

void DelaySiteLayout(CWnd* pSite) {
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return;
  if (CFrameWnd* frame = pSite->AsFrameWnd()) {
    frame->DelayRecalcLayout();
  }
}

// The extent of a child along the direction, from its min/max info.
void TrackAlong(const CTKPDockingPaneBase* pChild, BOOL bHoriz, int* pMin, int* pMax) {
  MINMAXINFO mmi;
  pChild->GetMinMaxInfo(&mmi);
  *pMin = bHoriz ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
  *pMax = bHoriz ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
}

}  // namespace

// ---- the container -----------------------------------------------------------------------------------

CTKPDockingPaneSplitterContainer::CTKPDockingPaneSplitterContainer(CTKPDockingPaneLayout* pLayout)
    : CTKPDockingPaneBase(dock::kSplitterContainer, pLayout) {}

CTKPDockingPaneSplitterContainer::~CTKPDockingPaneSplitterContainer() { DeleteSplitters(); }

int CTKPDockingPaneSplitterContainer::GetSplitterSize() const {
  CTKPDockingPanePaintManager* paint = GetPaintManager();
  return paint != nullptr ? paint->m_nSplitterSize : 4;
}

void CTKPDockingPaneSplitterContainer::DelayLayout() const { DelaySiteLayout(m_pDockingSite); }

void CTKPDockingPaneSplitterContainer::Init(CTKPDockingPaneBase* pPane, BOOL bHorizontal, CWnd* pSite) {
  m_pDockingSite = pSite;
  m_bHoriz = bHorizontal;
  m_lstChildren.push_back(pPane);
  pPane->SetParentContainer(this);
  m_nDockingCX = pPane->m_nDockingCX;
  m_nDockingCY = pPane->m_nDockingCY;
}

void CTKPDockingPaneSplitterContainer::AddPane(CTKPDockingPaneBase* pPane, CTKPDockingPaneBase* pNeighbour,
                                               BOOL bAfter) {
  auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pNeighbour);
  if (it == m_lstChildren.end()) {
    it = bAfter ? m_lstChildren.end() : m_lstChildren.begin();
  } else if (bAfter) {
    ++it;
  }
  m_lstChildren.insert(it, pPane);
  pPane->SetParentContainer(this);
  pPane->SetDockingSite(m_pDockingSite);
  DelayLayout();
  RebuildSplitters();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  pPane->OnParentContainerChanged(this);
}

CTKPDockingPaneBase* CTKPDockingPaneSplitterContainer::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap,
                                                             DWORD dwSkipOptions) {
  auto* clone = static_cast<CTKPDockingPaneSplitterContainer*>(NewObject(pLayout, dock::kSplitterContainer));
  if (clone == nullptr) return nullptr;
  clone->m_bHoriz = m_bHoriz;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  clone->m_pDockingSite = manager != nullptr ? manager->GetSite() : nullptr;
  // Cloning a child may change this container (panes leave it): walk a copy.
  const std::vector<CTKPDockingPaneBase*> children = m_lstChildren;
  for (CTKPDockingPaneBase* child : children) {
    if (pMap == nullptr && child->IsEmpty()) continue;
    if (CTKPDockingPaneBase* copy = child->Clone(pLayout, pMap, dwSkipOptions)) clone->AddPane(copy);
  }
  clone->m_nDockingCX = m_nDockingCX;
  clone->m_nDockingCY = m_nDockingCY;
  clone->m_rcWindow = m_rcWindow;
  RecordClone(pMap, this, clone);
  return clone;
}

void CTKPDockingPaneSplitterContainer::ReplacePane(CTKPDockingPaneBase* pOld, CTKPDockingPaneBase* pNew) {
  auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pOld);
  if (it != m_lstChildren.end()) {
    *it = pNew;
  } else {
    m_lstChildren.push_back(pNew);
  }
  pNew->SetParentContainer(this);
  RebuildSplitters();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
}

BOOL CTKPDockingPaneSplitterContainer::ContainsPane(const CTKPDockingPaneBase* pPane) const {
  if (pPane == this) return TRUE;
  return std::any_of(m_lstChildren.begin(), m_lstChildren.end(),
                     [pPane](const CTKPDockingPaneBase* child) { return child->ContainsPane(pPane); });
}

void CTKPDockingPaneSplitterContainer::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  for (CTKPDockingPaneBase* child : m_lstChildren) {
    if (child->IsEmpty()) continue;
    if (child->GetType() == nType) {
      pList->push_back(child);
    } else {
      child->FindPane(nType, pList);
    }
  }
}

void CTKPDockingPaneSplitterContainer::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const {
  CTKPDockingPaneBase::GetMinMaxInfo(pMinMaxInfo);
  const std::vector<CTKPDockingPaneBase*> visible = VisibleChildren();
  bool first = true;
  for (const CTKPDockingPaneBase* child : visible) {
    MINMAXINFO c;
    child->GetMinMaxInfo(&c);
    if (first) {
      pMinMaxInfo->ptMinTrackSize = c.ptMinTrackSize;
      pMinMaxInfo->ptMaxTrackSize = c.ptMaxTrackSize;
      first = false;
      continue;
    }
    LONG& minAlong = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y;
    LONG& maxAlong = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y;
    LONG& minAcross = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
    LONG& maxAcross = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
    minAlong = std::min<LONG>(dock::kMaxTrack, minAlong + (m_bHoriz ? c.ptMinTrackSize.x : c.ptMinTrackSize.y));
    maxAlong = std::min<LONG>(dock::kMaxTrack, maxAlong + (m_bHoriz ? c.ptMaxTrackSize.x : c.ptMaxTrackSize.y));
    minAcross = std::max(minAcross, m_bHoriz ? c.ptMinTrackSize.y : c.ptMinTrackSize.x);
    maxAcross = std::min(maxAcross, m_bHoriz ? c.ptMaxTrackSize.y : c.ptMaxTrackSize.x);
  }
  if (visible.size() > 1) {
    const LONG gaps = static_cast<LONG>(visible.size() - 1) * GetSplitterSize();
    (m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y) += gaps;
    (m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) += gaps;
  }
}

std::vector<CTKPDockingPaneBase*> CTKPDockingPaneSplitterContainer::VisibleChildren() const {
  std::vector<CTKPDockingPaneBase*> visible;
  for (CTKPDockingPaneBase* child : m_lstChildren) {
    if (!child->IsEmpty()) visible.push_back(child);
  }
  return visible;
}

void CTKPDockingPaneSplitterContainer::OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  m_pDockingSite = pParent;
  m_rcWindow = rect;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  const BOOL hideClient = manager != nullptr && manager->IsClientHidden();
  CTKPDockingPaneBase* client = m_pLayout != nullptr ? m_pLayout->GetClientPane() : nullptr;
  const std::vector<CTKPDockingPaneBase*> visible = VisibleChildren();
  if (hideClient && client != nullptr && ContainsPane(client)) client->OnSizeParent(pParent, CRect(), lpLayout);
  if (visible.empty()) return;
  if (!SplittersMatch(visible)) RebuildSplitters();
  if (visible.size() == 1) {
    visible[0]->OnSizeParent(pParent, rect, lpLayout);
    return;
  }
  if (m_bRecalcLayout) return;
  m_bRecalcLayout = TRUE;
  const int splitter = GetSplitterSize();
  std::vector<dock::SizeItem> items;
  for (CTKPDockingPaneBase* child : visible) {
    dock::SizeItem item;
    item.preferred = child->GetDockingLength(m_bHoriz);
    TrackAlong(child, m_bHoriz, &item.minimum, &item.maximum);
    const bool holdsClient = client != nullptr && child->ContainsPane(client);
    item.clientHolder = holdsClient && !(hideClient && (child->m_nDockingCX != 0 || child->m_nDockingCY != 0));
    items.push_back(item);
  }
  const int start = m_bHoriz ? rect.left : rect.top;
  const int extent = m_bHoriz ? rect.Width() : rect.Height();
  const dock::SizeResult sizes = dock::AdjustPanesLength(items, extent, splitter);
  if (sizes.clientIndex >= 0) {
    CTKPDockingPaneBase* holder = visible[static_cast<size_t>(sizes.clientIndex)];
    holder->m_nDockingCX = holder->m_nDockingCY = 0;
    holder->SetDockingLength(m_bHoriz, sizes.clientPreferred);
  }
  const std::vector<dock::Span> spans = dock::PlaceLengths(sizes, start, extent, splitter);
  for (size_t i = 0; i < visible.size(); ++i) {
    visible[i]->m_nLength = sizes.lengths[i];
    CRect child = rect;
    CRect bar = rect;
    if (m_bHoriz) {
      child.left = spans[i].begin;
      child.right = spans[i].end;
      bar.left = spans[i].end;
      bar.right = spans[i].end + splitter;
    } else {
      child.top = spans[i].begin;
      child.bottom = spans[i].end;
      bar.top = spans[i].end;
      bar.bottom = spans[i].end + splitter;
    }
    visible[i]->OnSizeParent(pParent, child, lpLayout);
    if (lpLayout != nullptr && lpLayout->hDWP != nullptr && i < m_lstSpliters.size()) {
      CTKPDockingPaneSplitterWnd* wnd = m_lstSpliters[i];
      if (wnd->GetSafeHwnd() != nullptr) {
        bar.IntersectRect(bar, rect);
        ::SetWindowPos(wnd->GetSafeHwnd(), HWND_BOTTOM, bar.left, bar.top, bar.Width(), bar.Height(), SWP_NOACTIVATE);
        wnd->Invalidate(FALSE);
      }
    }
  }
  m_bRecalcLayout = FALSE;
}

CRect CTKPDockingPaneSplitterContainer::CalcShare(const std::vector<CTKPDockingPaneBase*>& row,
                                                 const CTKPDockingPaneBase* pPane, BOOL bHorizontal, CRect rect) {
  CTKPDockingPaneManager* manager = pPane->GetDockingPaneManager();
  CTKPDockingPaneLayout* layout = manager != nullptr ? manager->GetLayout() : nullptr;
  const CTKPDockingPaneBase* client = layout != nullptr ? layout->GetClientPane() : nullptr;
  const BOOL hideClient = manager != nullptr && manager->IsClientHidden();
  std::vector<dock::SizeItem> items;
  size_t index = 0;
  for (size_t i = 0; i < row.size(); ++i) {
    const CTKPDockingPaneBase* child = row[i];
    if (child == pPane) index = i;
    dock::SizeItem item;
    item.preferred = child->GetDockingLength(bHorizontal);
    TrackAlong(child, bHorizontal, &item.minimum, &item.maximum);
    const bool holdsClient = client != nullptr && child != pPane && child->ContainsPane(client);
    item.clientHolder = holdsClient && !(hideClient && (child->m_nDockingCX != 0 || child->m_nDockingCY != 0));
    items.push_back(item);
  }
  CTKPDockingPanePaintManager* paint = manager != nullptr ? manager->GetPaintManager() : nullptr;
  const int splitter = paint != nullptr ? paint->m_nSplitterSize : 4;
  const int start = bHorizontal ? rect.left : rect.top;
  const int extent = bHorizontal ? rect.Width() : rect.Height();
  const std::vector<dock::Span> spans =
      dock::PlaceLengths(dock::AdjustPanesLength(items, extent, splitter), start, extent, splitter);
  if (index >= spans.size()) return CRect();
  CRect share = rect;
  (bHorizontal ? share.left : share.top) = spans[index].begin;
  (bHorizontal ? share.right : share.bottom) = spans[index].end;
  return share;
}

CRect CTKPDockingPaneSplitterContainer::CalcDockingRect(CTKPDockingPaneBase* pPane, int nSide,
                                                        CTKPDockingPaneBase* pNeighbour) const {
  std::vector<CTKPDockingPaneBase*> row;
  for (CTKPDockingPaneBase* child : VisibleChildren()) {
    if (child != pPane) row.push_back(child);
  }
  auto it = std::find(row.begin(), row.end(), pNeighbour);
  const bool after = nSide == 1 || nSide == 3;
  if (it == row.end()) {
    it = after ? row.end() : row.begin();
  } else if (after) {
    ++it;
  }
  row.insert(it, pPane);
  CRect share = CalcShare(row, pPane, m_bHoriz, m_rcWindow);
  if (m_pDockingSite != nullptr && m_pDockingSite->GetSafeHwnd() != nullptr) {
    ::MapWindowPoints(m_pDockingSite->GetSafeHwnd(), nullptr, reinterpret_cast<LPPOINT>(&share), 2);
  }
  return share;
}

void CTKPDockingPaneSplitterContainer::OnChildContainerChanged(CTKPDockingPaneBase* pContainer) {
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(pContainer);
  RebuildSplitters();
  DelayLayout();
}

void CTKPDockingPaneSplitterContainer::OnParentContainerChanged(CTKPDockingPaneBase* pContainer) {
  m_pDockingSite = pContainer->GetDockingSite();
  RebuildSplitters();
  for (CTKPDockingPaneBase* child : m_lstChildren) child->OnParentContainerChanged(this);
}

void CTKPDockingPaneSplitterContainer::RemovePane(CTKPDockingPaneBase* pPane) {
  auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pPane);
  if (it == m_lstChildren.end()) return;
  m_lstChildren.erase(it);
  RebuildSplitters();
  DelayLayout();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  pPane->SetParentContainer(nullptr);
  if (m_lstChildren.empty() && m_pParentContainer != nullptr) m_pParentContainer->RemovePane(this);
}

BOOL CTKPDockingPaneSplitterContainer::IsEmpty() const {
  return std::all_of(m_lstChildren.begin(), m_lstChildren.end(),
                     [](const CTKPDockingPaneBase* child) { return child->IsEmpty(); });
}

void CTKPDockingPaneSplitterContainer::ReleaseChildren() {
  m_lstChildren.clear();
  DeleteSplitters();
}

void CTKPDockingPaneSplitterContainer::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  pRecord->horizontal = m_bHoriz;
  for (const CTKPDockingPaneBase* child : m_lstChildren) pRecord->children.push_back(child->m_nIndex);
}

void CTKPDockingPaneSplitterContainer::LoadRecord(const dock::ObjectRecord& record,
                                                  const std::vector<CTKPDockingPaneBase*>& objects) {
  CTKPDockingPaneBase::LoadRecord(record, objects);
  m_bHoriz = record.horizontal;
  for (int index : record.children) {
    CTKPDockingPaneBase* child = objects[static_cast<size_t>(index) - 1];
    m_lstChildren.push_back(child);
    child->SetParentContainer(this);
  }
}

// One splitter window between each two visible neighbours, in order.
bool CTKPDockingPaneSplitterContainer::SplittersMatch(const std::vector<CTKPDockingPaneBase*>& visible) const {
  if (m_lstSpliters.size() + 1 != visible.size()) return false;
  for (size_t i = 0; i < m_lstSpliters.size(); ++i) {
    if (m_lstSpliters[i]->GetFirst() != visible[i] || m_lstSpliters[i]->GetSecond() != visible[i + 1]) return false;
  }
  return true;
}

void CTKPDockingPaneSplitterContainer::DeleteSplitters() {
  for (CTKPDockingPaneSplitterWnd* wnd : m_lstSpliters) delete wnd;
  m_lstSpliters.clear();
}

void CTKPDockingPaneSplitterContainer::RebuildSplitters() {
  if (m_bRecalcLayout) return;
  DeleteSplitters();
  const bool live = m_pLayout != nullptr && !m_pLayout->IsNotLive();
  if (!live || m_pDockingSite == nullptr || m_pDockingSite->GetSafeHwnd() == nullptr) return;
  const std::vector<CTKPDockingPaneBase*> visible = VisibleChildren();
  for (size_t i = 1; i < visible.size(); ++i) {
    CTKPDockingPaneSplitterWnd* wnd = CreateSplitterWnd();
    wnd->Create(this, visible[i - 1], visible[i]);
    m_lstSpliters.push_back(wnd);
  }
}

// ---- the splitter window ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPDockingPaneSplitterWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CTKPDockingPaneSplitterWnd::~CTKPDockingPaneSplitterWnd() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

BOOL CTKPDockingPaneSplitterWnd::Create(CTKPDockingPaneSplitterContainer* pContainer, CTKPDockingPaneBase* pFirst,
                                        CTKPDockingPaneBase* pSecond) {
  m_pContainer = pContainer;
  m_pFirst = pFirst;
  m_pSecond = pSecond;
  // The bars of a row move left and right, those of a column up and down.
  const BOOL row = pContainer->IsHorizontal();
  m_hCursor = TKPResourceManager()->LoadCursor(row ? IDC_TK_SPLIT_HORZ : IDC_TK_SPLIT_VERT);
  if (m_hCursor == nullptr) m_hCursor = ::LoadCursorW(nullptr, row ? IDC_SIZEWE : IDC_SIZENS);
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  return CreateEx(0, cls, _T(""), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  pContainer->GetDockingSite()->GetSafeHwnd(), nullptr);
}

BOOL CTKPDockingPaneSplitterWnd::IsHorizontal() const { return !m_pContainer->IsHorizontal(); }

void CTKPDockingPaneSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  if (CTKPDockingPanePaintManager* paint = m_pContainer->GetPaintManager()) {
    paint->DrawSplitter(&dc, client, IsHorizontal(), this);
  }
}

BOOL CTKPDockingPaneSplitterWnd::GetLimits(int* pNear, int* pFar) const {
  CTKPDockingPaneManager* manager = m_pContainer->GetDockingPaneManager();
  const BOOL row = m_pContainer->IsHorizontal();
  CRect u;
  u.UnionRect(m_pFirst->GetWindowRect(), m_pSecond->GetWindowRect());
  dock::SplitterNeighbours n;
  n.unionBegin = row ? u.left : u.top;
  n.unionEnd = row ? u.right : u.bottom;
  TrackAlong(m_pFirst, row, &n.firstMin, &n.firstMax);
  TrackAlong(m_pSecond, row, &n.secondMin, &n.secondMax);
  const dock::SplitterLimits limits = dock::ComputeSplitterLimits(
      n, m_pContainer->GetSplitterSize(), manager != nullptr ? manager->GetSplitterGap() : 22);
  *pNear = limits.nearBound;
  *pFar = limits.farBound;
  return limits.CanMove();
}

BOOL CTKPDockingPaneSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  CTKPDockingPaneManager* manager = m_pContainer->GetDockingPaneManager();
  int nearBound = 0, farBound = 0;
  if ((manager != nullptr && manager->IsSplittersLocked()) || !GetLimits(&nearBound, &farBound)) {
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
  }
  ::SetCursor(m_hCursor);
  return TRUE;
}

// Before a drag the container and its visible children keep their current lengths as preferred sizes,
// so that the drop changes only the two neighbours.
void CTKPDockingPaneSplitterWnd::PrepareSizes() {
  const BOOL row = m_pContainer->IsHorizontal();
  auto current = [row](const CTKPDockingPaneBase* pane) {
    const CRect r = pane->GetPaneWindowRect();
    return row ? r.Width() : r.Height();
  };
  m_pContainer->SetDockingLength(row, current(m_pContainer));
  for (CTKPDockingPaneBase* child : m_pContainer->VisibleChildren()) child->SetDockingLength(row, current(child));
}

void CTKPDockingPaneSplitterWnd::ApplyPosition(int position) {
  const BOOL row = m_pContainer->IsHorizontal();
  CRect u;
  u.UnionRect(m_pFirst->GetWindowRect(), m_pSecond->GetWindowRect());
  int first = m_pFirst->GetDockingLength(row);
  int second = m_pSecond->GetDockingLength(row);
  const bool mirrored = row && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  if (!dock::ApplySplitterPosition(position, row ? u.left : u.top, row ? u.right : u.bottom,
                                   m_pContainer->GetSplitterSize(), mirrored, &first, &second)) {
    return;
  }
  m_pFirst->SetDockingLength(row, first);
  m_pSecond->SetDockingLength(row, second);
}

void CTKPDockingPaneSplitterWnd::OnLButtonDown(UINT, CPoint point) {
  CTKPDockingPaneManager* manager = m_pContainer->GetDockingPaneManager();
  int nearBound = 0, farBound = 0;
  if (manager == nullptr || manager->IsSplittersLocked() || !GetLimits(&nearBound, &farBound)) return;
  PrepareSizes();
  CWnd* site = m_pContainer->GetDockingSite();
  if (!manager->IsSplitterTrackerUsed()) {
    TrackLive(point, nearBound, farBound);
    return;
  }
  CRect bar;
  ::GetWindowRect(m_hWnd, bar);
  CRect limits = bar;
  const BOOL row = m_pContainer->IsHorizontal();
  if (row) {
    limits.left = nearBound;
    limits.right = farBound;
  } else {
    limits.top = nearBound;
    limits.bottom = farBound;
  }
  POINT screenPoint{point.x, point.y};
  ::ClientToScreen(m_hWnd, &screenPoint);
  point = CPoint(screenPoint.x, screenPoint.y);
  CTKPSplitterTracker tracker;
  if (tracker.Track(m_hWnd, limits, bar, point, row)) {
    ApplyPosition(row ? bar.left : bar.top);
    DelaySiteLayout(site);
    if (CFrameWnd* frame = site != nullptr ? site->AsFrameWnd() : nullptr) frame->RecalcLayout();
  }
}

// The panes follow the mouse: every move that changes the bar's place lays the site out at once.
void CTKPDockingPaneSplitterWnd::TrackLive(CPoint point, int nearBound, int farBound) {
  const BOOL row = m_pContainer->IsHorizontal();
  CRect bar;
  ::GetWindowRect(m_hWnd, bar);
  POINT screenPoint{point.x, point.y};
  ::ClientToScreen(m_hWnd, &screenPoint);
  const int offset = row ? bar.left - screenPoint.x : bar.top - screenPoint.y;
  int position = row ? bar.left : bar.top;
  CWnd* site = m_pContainer->GetDockingSite();
  TKPDockTrackLive(m_hWnd, [&](POINT screen) {
    const int moved = std::clamp(static_cast<int>(row ? screen.x : screen.y) + offset, nearBound, std::max(nearBound, farBound));
    if (moved == position) return;
    position = moved;
    ApplyPosition(position);
    if (CFrameWnd* frame = site != nullptr ? site->AsFrameWnd() : nullptr) frame->RecalcLayout();
  });
}
