// The stored properties of the task panel's elements, and their exchange in a fixed key order. The
// window classes hold these records; saving, loading and the clipboard form all go through here.
#pragma once

#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/taskpanel/tp_layout.h"

namespace taskpanel {

// Element types.
enum ElementType : LONG { kTypeGroup = 0, kTypeLink = 1, kTypeText = 2, kTypeControl = 3 };

// Texts longer than this are refused when loaded: they come from outside (another program's clipboard).
constexpr int kMaxLoadedText = 32767;
// Sizes and margins loaded are at most this many pixels a side (no screen is larger), so that the panel's
// sums of them stay far inside an int and its group bodies, drawn off screen whole, stay bitmaps a screen
// could show.
constexpr int kMaxLoadedExtent = 4096;

struct ElementProps {
  CString caption;
  CString tooltip;
  LONG id = 0;
  LONG type = kTypeLink;
  LONG iconIndex = -1;
  BOOL enabled = TRUE;
  LONG allowDrag = 1;  // 1: as the group or panel
  BOOL allowDrop = TRUE;
  BOOL visible = TRUE;
  CRect iconPadding = DefaultMargins();
};

struct GroupProps {
  BOOL captionVisible = TRUE;
  BOOL expandable = TRUE;
  BOOL expanded = FALSE;  // what is saved; a live group asks its panel
  BOOL special = FALSE;
  LONG layout = 0;
  CRect marginsInner = DefaultMargins();
  CRect marginsOuter = DefaultMargins();
  CSize iconSize{0, 0};
};

struct GroupItemProps {
  CRect margins = DefaultMargins();
  BOOL bold = FALSE;
  CSize itemSize{0, 0};
  BOOL selected = FALSE;
  BOOL autoHeight = FALSE;
  CString dragText;
};

// Whether a loaded type fits the element's class: a group is type 0, an item in a group a link, a
// text or a control; any other element is none of the panel's.
bool TypeFitsClass(LONG type, bool isGroup, bool isGroupItem);

// Each raises CArchiveException when a loaded text is longer than kMaxLoadedText, a loaded size is
// negative or larger than kMaxLoadedExtent, or a margin's side (other than kDefaultSide) larger than that
// either way. Storing writes what loading takes: texts cut to kMaxLoadedText, sizes and sides held within
// kMaxLoadedExtent.
void ExchangeElementProps(CTKPPropExchange* pPX, ElementProps& p);
void ExchangeGroupProps(CTKPPropExchange* pPX, GroupProps& p);
void ExchangeGroupItemProps(CTKPPropExchange* pPX, GroupItemProps& p);

}  // namespace taskpanel
