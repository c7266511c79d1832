#include "ui/controls/status_list_ctrl.h"

#include "ui/controls/status_colors.h"

namespace ui {

BEGIN_MESSAGE_MAP(StatusListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_WM_CREATE()
END_MESSAGE_MAP()

void StatusListCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
  *result = CDRF_DODEFAULT;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
    case CDDS_ITEMPREPAINT:
      *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYSUBITEMDRAW;
      break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      CString status = GetItemText(static_cast<int>(draw->nmcd.dwItemSpec), 1);
      const auto* chars = reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(status));
      CellColors colors = StatusCellColors(draw->iSubItem, std::u16string(chars, static_cast<size_t>(status.GetLength())));
      if (colors.hasBackground) draw->clrTextBk = colors.background;
      if (colors.hasText) draw->clrText = colors.text;
      break;
    }
    default:
      break;
  }
}

int StatusListCtrl::OnCreate(LPCREATESTRUCT) { return Default() == -1 ? -1 : 0; }

}  // namespace ui
