#include "toolkit/taskpanel/tp_props.h"

#include <algorithm>

#include "platform/classlib/cexception.h"

namespace taskpanel {

namespace {

// What is written is what a load takes back: a text cut to the bound (never inside a surrogate pair),
// sizes and margins held within a screen. What is read beyond them was not written by us.
void ExchangeText(CTKPPropExchange* pPX, LPCTSTR name, CString& text) {
  if (!pPX->IsLoading() && text.GetLength() > kMaxLoadedText) {
    int kept = kMaxLoadedText;
    if (text[kept - 1] >= 0xD800 && text[kept - 1] <= 0xDBFF) --kept;
    CString cut = text.Left(kept);
    PX_String(pPX, name, cut, _T(""));
    return;
  }
  PX_String(pPX, name, text, _T(""));
  if (pPX->IsLoading() && text.GetLength() > kMaxLoadedText) {
    text.Empty();
    AfxThrowArchiveException(CArchiveException::generic);
  }
}

bool InExtent(LONG value) { return value >= 0 && value <= kMaxLoadedExtent; }
LONG ToExtent(LONG value) { return std::clamp<LONG>(value, 0, kMaxLoadedExtent); }

void Refuse(CTKPPropExchange* pPX, bool fits) {
  if (pPX->IsLoading() && !fits) AfxThrowArchiveException(CArchiveException::generic);
}

void ExchangeSize(CTKPPropExchange* pPX, LPCTSTR name, CSize& size) {
  if (!pPX->IsLoading()) {
    CSize stored(ToExtent(size.cx), ToExtent(size.cy));
    PX_Size(pPX, name, stored, CSize(0, 0));
    return;
  }
  PX_Size(pPX, name, size, CSize(0, 0));
  Refuse(pPX, InExtent(size.cx) && InExtent(size.cy));
}

// A side may also be kDefaultSide, the theme's.
bool IsSide(LONG side) { return side == kDefaultSide || (side >= -kMaxLoadedExtent && side <= kMaxLoadedExtent); }
LONG ToSide(LONG side) { return side == kDefaultSide ? side : std::clamp<LONG>(side, -kMaxLoadedExtent, kMaxLoadedExtent); }

void ExchangeMargins(CTKPPropExchange* pPX, LPCTSTR name, CRect& margins) {
  if (!pPX->IsLoading()) {
    CRect stored(ToSide(margins.left), ToSide(margins.top), ToSide(margins.right), ToSide(margins.bottom));
    PX_Rect(pPX, name, stored, DefaultMargins());
    return;
  }
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
