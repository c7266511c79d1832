// The toolbars' layout kept between runs: which bar shows, where it is docked or floats and in which
// row, and whether the frame's status bar was hidden. What the profile holds is read and checked by
// bar_layout_state.cpp; a damaged layout is ignored whole and the bars stay as the frame built them.
#include <climits>
#include <string>
#include <vector>

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/state/bar_layout_state.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_dialog_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_context.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

namespace {

constexpr UINT kStatusBarId = 59393;  // the frame's status bar (AFX_IDW_STATUS_BAR)

std::u16string ToU16(LPCTSTR text) { return reinterpret_cast<const char16_t*>(text); }

// The application's profile (registry or file) as the layout code sees it.
class AppProfile : public tkpstate::ProfileReader, public tkpstate::ProfileWriter {
 public:
  explicit AppProfile(CWinApp* app) : m_app(app) {}
  bool GetInt(const std::u16string& section, const std::u16string& name, int& value) const override {
    // The profile answers only with a value or the default: asked with two defaults, a value that is
    // absent (or no integer) gives each back.
    const CString s = CString::FromUtf16(section), n = CString::FromUtf16(name);
    const int first = static_cast<int>(m_app->GetProfileInt(s, n, INT_MIN));
    if (first != INT_MIN) {
      value = first;
      return true;
    }
    if (static_cast<int>(m_app->GetProfileInt(s, n, INT_MAX)) == INT_MAX) return false;
    value = INT_MIN;
    return true;
  }
  void WriteInt(const std::u16string& section, const std::u16string& name, int value) override {
    m_app->WriteProfileInt(CString::FromUtf16(section), CString::FromUtf16(name), value);
  }
  void DeleteValue(const std::u16string& section, const std::u16string& name) override {
    m_app->WriteProfileString(CString::FromUtf16(section), CString::FromUtf16(name), nullptr);
  }
  void DeleteSection(const std::u16string& section) override {
    m_app->WriteProfileString(CString::FromUtf16(section), nullptr, nullptr);
  }

 private:
  CWinApp* m_app;
};

tkpstate::Rect FromRect(const RECT& r) { return tkpstate::Rect{r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<tkpstate::Monitor>*>(list)->push_back(
        tkpstate::Monitor{FromRect(info.rcMonitor), FromRect(info.rcWork)});
  }
  return TRUE;
}

tkpstate::Screen CurrentScreen() {
  if (const auto& source = tkpstate::ScreenSource()) return source();
  tkpstate::Screen screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                          ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), {}};
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&screen.monitors));
  return screen;
}

// The rows of a dock bar: its bars in order, a null entry ending a row.
struct DockRows : CTKPDockBar {
  static std::vector<CTKPToolBar*>& Of(CTKPDockBar* dock) { return dock->*(&DockRows::m_arrBars); }
};

CControlBar* FrameStatusBar(CWnd* site) {
  if (site == nullptr || site->m_hWnd == nullptr || !site->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return nullptr;
  CControlBar* bar = static_cast<CFrameWnd*>(site)->GetControlBar(kStatusBarId);
  return bar != nullptr && bar->m_hWnd != nullptr ? bar : nullptr;
}

// What the profile keeps of one toolbar.
tkpstate::BarRecord LayoutInfo(CTKPToolBar* bar) {
  tkpstate::BarRecord r;
  r.barId = static_cast<int>(bar->GetBarID());
  r.visible = bar->IsVisible() != FALSE;
  r.mruWidth = bar->GetMRUWidth();
  r.floating = bar->GetPosition() == tkpBarFloating;
  if (bar->IsDialogBar()) {
    const auto* dialog = static_cast<const CTKPDialogBar*>(bar);
    r.dialogBar = true;
    r.dockingCx = dialog->GetDockedClientSize().cx;
    r.dockingCy = dialog->GetDockedClientSize().cy;
    r.floatingCx = dialog->GetFloatingClientSize().cx;
    r.floatingCy = dialog->GetFloatingClientSize().cy;
  }
  const CTKPDockContext* context = bar->GetDockContext();
  if (bar->m_hWnd != nullptr) {
    RECT rect{};
    bar->GetWindowRect(&rect);
    POINT at{rect.left, rect.top};
    if (CTKPDockBar* dock = bar->GetDockBar(); dock != nullptr && dock->m_hWnd != nullptr && !r.floating) {
      dock->ScreenToClient(&at);
    }
    r.x = at.x;
    r.y = at.y;
  } else if (context != nullptr) {
    r.x = context->m_ptMRUFloatPos.x;
    r.y = context->m_ptMRUFloatPos.y;
  }
  if (context != nullptr) {
    r.mruDockId = context->m_nMRUDockID;
    r.mruDock = {context->m_rectMRUDock.left, context->m_rectMRUDock.top, context->m_rectMRUDock.right,
                 context->m_rectMRUDock.bottom};
    r.mruFloat = {context->m_ptMRUFloatPos.x, context->m_ptMRUFloatPos.y};
  }
  return r;
}

// The record back on its bar: where it stands, its most recent width and docking places, shown or not.
void ApplyLayoutInfo(CTKPToolBar* bar, const tkpstate::BarRecord& r) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!r.floating) flags |= bar->GetDockBar() != nullptr ? SWP_NOSIZE : SWP_NOSIZE | SWP_NOMOVE;
  flags |= r.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  bar->SetMRUWidth(r.mruWidth);
  if (r.dialogBar && bar->IsDialogBar()) {
    auto* dialog = static_cast<CTKPDialogBar*>(bar);
    dialog->SetDockedClientSize(CSize(r.dockingCx, r.dockingCy));
    dialog->SetFloatingClientSize(CSize(r.floatingCx, r.floatingCy));
  }
  if (CTKPDockContext* context = bar->GetDockContext()) {
    context->m_nMRUDockID = r.mruDockId;
    context->m_rectMRUDock = CRect(r.mruDock.left, r.mruDock.top, r.mruDock.right, r.mruDock.bottom);
    context->m_ptMRUFloatPos = CPoint(r.mruFloat.x, r.mruFloat.y);
  }
  // A bar without a saved place keeps the one the frame gave it.
  if (r.x == tkpstate::kNoPosition && r.y == tkpstate::kNoPosition) flags |= SWP_NOMOVE;
  if (bar->m_hWnd != nullptr) bar->SetWindowPos(nullptr, r.x, r.y, 0, 0, flags);
  // Hiding a tear-off bar closes it: the manager lets it go, so it is held until its record is applied.
  bar->InternalAddRef();
  bar->SetVisible(r.visible);
  CTKPCommandBars* bars = bar->GetCommandBars();
  if (r.floating && bars != nullptr && bars->FindIndex(bar) >= 0) bar->OnRecalcLayout();
  bar->InternalRelease();
}

}  // namespace

void CTKPCommandBars::SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || lpszProfileName == nullptr) return;
  std::vector<tkpstate::BarRecord> records;
  for (int i = 0; i < GetCount(); ++i) {
    if (m_arrBars[i]->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) records.push_back(LayoutInfo(static_cast<CTKPToolBar*>(m_arrBars[i])));
  }
  std::vector<unsigned> slots[tkpstate::kDockBars];
  for (int d = 0; d < tkpstate::kDockBars; ++d) {
    CTKPDockBar* dock = GetDockBar(d);
    if (dock == nullptr) continue;
    for (CTKPToolBar* bar : DockRows::Of(dock)) slots[d].push_back(bar != nullptr ? bar->GetBarID() : 0u);
  }
  CControlBar* status = FrameStatusBar(m_pFrame);
  const int statusBar = status == nullptr ? -1 : status->IsVisible() ? 1 : 0;
  AppProfile profile(app);
  tkpstate::WriteLayout(profile, ToU16(lpszProfileName), records, slots, CurrentScreen(), statusBar);
  if (m_bCustomizeAvail) SaveCustomizedBars(lpszProfileName, bOnlyCustomized);
  // Saving showed the default menu on the menu bar: the frame puts its document's menu back.
  if (m_pMenuBar != nullptr && m_pMenuBar->IsCacheRestored() && m_pFrame != nullptr &&
      m_pFrame->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && m_pFrame->GetSafeHwnd() != nullptr) {
    static_cast<CFrameWnd*>(m_pFrame)->OnUpdateFrameMenu(nullptr);
  }
  m_pOptions->bDirtyState = FALSE;
}

void CTKPCommandBars::LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || lpszProfileName == nullptr) return;
  // The customized bars first, so that the layout below places the toolbars the stream brought back.
  if (m_bCustomizeAvail) LoadCustomizedBars(lpszProfileName, bSilent);
  const AppProfile profile(app);
  const tkpstate::SavedLayout layout = tkpstate::ReadLayout(profile, ToU16(lpszProfileName), CurrentScreen());
  if (layout.damaged) {
    // A layout we could not have written: the bars stay as the frame built them.
    RecalcFrameLayout(TRUE);
    return;
  }
  LoadDockBarsState(layout);
  if (CControlBar* status = FrameStatusBar(m_pFrame); status != nullptr && layout.statusBarHidden) {
    static_cast<CFrameWnd*>(m_pFrame)->ShowControlBar(status, FALSE, FALSE);
  }
  for (const tkpstate::BarRecord& record : layout.bars) {
    CTKPToolBar* bar = GetToolBar(static_cast<UINT>(record.barId));
    if (bar == nullptr) continue;  // a bar of an older build: its record is not applied
    if (record.floating) {
      FloatCommandBar(bar);
    } else {
      bar->Attach(m_pFrame, FALSE);
    }
    ApplyLayoutInfo(bar, record);
  }
  RecalcFrameLayout(TRUE);
  m_pOptions->bDirtyState = FALSE;
}

void CTKPCommandBars::LoadDockBarsState(const tkpstate::SavedLayout& layout) {
  for (int d = 0; d < tkpstate::kDockBars; ++d) {
    CTKPDockBar* dock = GetDockBar(d);
    if (dock == nullptr || layout.rows[d].empty()) continue;
    std::vector<CTKPToolBar*> saved;
    for (int id : layout.rows[d]) {
      CTKPToolBar* bar = id != 0 ? GetToolBar(static_cast<UINT>(id)) : nullptr;
      if (bar != nullptr) {
        // The bar leaves wherever it is now for its saved place here.
        if (CTKPDockBar* previous = bar->GetDockBar()) previous->RemoveCommandBar(bar);
        if (bar->m_hWnd != nullptr && dock->m_hWnd != nullptr && ::GetParent(bar->m_hWnd) != dock->m_hWnd) {
          bar->Attach(m_pFrame, FALSE);
          ::SetParent(bar->m_hWnd, dock->m_hWnd);
        }
        bar->SetDockBar(dock);
        bar->m_barPosition = dock->GetPosition();
      }
      saved.push_back(bar);
    }
    // The saved rows come first, then the rows of bars the save did not know, one null between rows.
    std::vector<CTKPToolBar*>& rows = DockRows::Of(dock);
    std::vector<CTKPToolBar*> merged{nullptr};
    for (CTKPToolBar* bar : saved) merged.push_back(bar);
    merged.push_back(nullptr);
    for (CTKPToolBar* bar : rows) merged.push_back(bar);
    rows.clear();
    for (CTKPToolBar* bar : merged) {
      if (bar != nullptr || rows.empty() || rows.back() != nullptr) rows.push_back(bar);
    }
    if (rows.back() != nullptr) rows.push_back(nullptr);
  }
}
