#include "toolkit/taskpanel/tp_props.h"

#include "platform/classlib/cexception.h"

namespace taskpanel {

namespace {

void ExchangeText(CTKPPropExchange* pPX, LPCTSTR name, CString& text) {
  PX_String(pPX, name, text, _T(""));
  if (pPX->IsLoading() && text.GetLength() > kMaxLoadedText) {
    text.Empty();
    AfxThrowArchiveException(CArchiveException::generic);
  }
}

bool InExtent(LONG value) { return value >= 0 && value <= kMaxLoadedExtent; }

void Refuse(CTKPPropExchange* pPX, bool fits) {
  if (pPX->IsLoading() && !fits) AfxThrowArchiveException(CArchiveException::generic);
}

void ExchangeSize(CTKPPropExchange* pPX, LPCTSTR name, CSize& size) {
  PX_Size(pPX, name, size, CSize(0, 0));
  Refuse(pPX, InExtent(size.cx) && InExtent(size.cy));
}

// A side may also be kDefaultSide, the theme's.
bool IsSide(LONG side) { return side == kDefaultSide || (side >= -kMaxLoadedExtent && side <= kMaxLoadedExtent); }

void ExchangeMargins(CTKPPropExchange* pPX, LPCTSTR name, CRect& margins) {
  PX_Rect(pPX, name, margins, DefaultMargins());
  Refuse(pPX, IsSide(margins.left) && IsSide(margins.top) && IsSide(margins.right) && IsSide(margins.bottom));
}

}  // namespace

bool TypeFitsClass(LONG type, bool isGroup, bool isGroupItem) {
  if (isGroup) return type == kTypeGroup;
  return isGroupItem && (type == kTypeLink || type == kTypeText || type == kTypeControl);
}

void ExchangeElementProps(CTKPPropExchange* pPX, ElementProps& p) {
  ExchangeText(pPX, _T("Caption"), p.caption);
  ExchangeText(pPX, _T("Tooltip"), p.tooltip);
  PX_Long(pPX, _T("Id"), p.id, 0);
  PX_Long(pPX, _T("Type"), p.type, kTypeLink);
  PX_Long(pPX, _T("IconIndex"), p.iconIndex, -1);
  PX_Bool(pPX, _T("Enabled"), p.enabled, TRUE);
  PX_Long(pPX, _T("AllowDrag"), p.allowDrag, 1);
  PX_Bool(pPX, _T("AllowDrop"), p.allowDrop, TRUE);
  if (pPX->GetSchema() > 8) {
    PX_Bool(pPX, _T("Visible"), p.visible, TRUE);
    ExchangeMargins(pPX, _T("IconPadding"), p.iconPadding);
  }
}

void ExchangeGroupProps(CTKPPropExchange* pPX, GroupProps& p) {
  PX_Bool(pPX, _T("CaptionVisible"), p.captionVisible, TRUE);
  PX_Bool(pPX, _T("Expandable"), p.expandable, TRUE);
  PX_Bool(pPX, _T("Expanded"), p.expanded, FALSE);
  PX_Bool(pPX, _T("Special"), p.special, FALSE);
  PX_Long(pPX, _T("Layout"), p.layout, 0);
  ExchangeMargins(pPX, _T("MarginsInner"), p.marginsInner);
  ExchangeMargins(pPX, _T("MarginsOuter"), p.marginsOuter);
  ExchangeSize(pPX, _T("IconSize"), p.iconSize);
}

void ExchangeGroupItemProps(CTKPPropExchange* pPX, GroupItemProps& p) {
  ExchangeMargins(pPX, _T("Margins"), p.margins);
  PX_Bool(pPX, _T("Bold"), p.bold, FALSE);
  ExchangeSize(pPX, _T("ItemSize"), p.itemSize);
  PX_Bool(pPX, _T("Selected"), p.selected, FALSE);
  if (pPX->GetSchema() > 8) PX_Bool(pPX, _T("AutoHeight"), p.autoHeight, FALSE);
  if (pPX->GetSchema() > 9) ExchangeText(pPX, _T("DragText"), p.dragText);
}

}  // namespace taskpanel
