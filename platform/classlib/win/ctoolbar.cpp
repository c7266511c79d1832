// CToolBar: buttons over the common toolbar window, and their idle update.
#include "platform/classlib/win/ctoolbar.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/controlsupport.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {
// A toolbar button an update handler sets: enabled and checked are the button's states.
class CToolCmdUI : public CCmdUI {
 public:
  explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    m_pBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
  }
  void SetCheck(int nCheck) override { m_pBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0)); }
  void SetText(LPCTSTR) override {}

 private:
  CToolBar* m_pBar;
};
}  // namespace

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  AfxInitCommonControls(ICC_BAR_CLASSES);
  SetBarStyle(dwStyle);
  // The bar's parent places it: the toolbar window must not move or size itself along its parent.
  DWORD windowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                      CCS_NORESIZE;
  if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, windowStyle, RECT{0, 0, 0, 0}, pParentWnd, nID)) return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

void CToolBar::SetImageList(HIMAGELIST hImageList) {
  SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount, const int* lpImages) {
  if (m_hWnd == nullptr || nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0)) return FALSE;
  while (SendMessage(TB_DELETEBUTTON, 0) != 0) {
  }
  std::vector<TBBUTTON> buttons(static_cast<size_t>(nIDCount));
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON& button = buttons[static_cast<size_t>(i)];
    button = TBBUTTON{};
    button.idCommand = static_cast<int>(lpIDArray[i]);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = lpIDArray[i] == 0 ? BTNS_SEP : BTNS_BUTTON;
    button.iBitmap = lpImages != nullptr ? lpImages[i] : i;
  }
  return nIDCount == 0 ||
         SendMessage(TB_ADDBUTTONSW, static_cast<WPARAM>(nIDCount), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

int CToolBar::CommandToIndex(UINT nIDFind) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind)); }

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON button{};
  if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button))) return 0;
  return static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect))) {
    ::SetRectEmpty(lpRect);
  }
}

void CToolBar::SetWrap(int nIndex, BOOL bWrap) {
  UINT id = GetItemID(nIndex);
  auto state = static_cast<UINT>(SendMessage(TB_GETSTATE, id));
  state = bWrap ? state | TBSTATE_WRAP : state & ~TBSTATE_WRAP;
  SendMessage(TB_SETSTATE, id, MAKELPARAM(state, 0));
}

CSize CToolBar::GetButtonsSize() const {
  CSize size(0, 0);
  for (int i = 0; i < GetCount(); ++i) {
    CRect item;
    GetItemRect(i, item);
    size.cx = std::max(size.cx, item.right);
    size.cy = std::max(size.cy, item.bottom);
  }
  return size;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  CToolCmdUI state(this);
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    state.m_nID = GetItemID(i);
    if (state.m_nID == 0) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.DoUpdate(pTarget, bDisableIfNoHandler);
  }
}
