// An element of the task panel in memory blocks, as the clipboard and drag and drop carry it: the
// "TaskPanelGroupItem" record, and plain text for other programs. Windows build only.
#pragma once

#include <windows.h>

class CTKPTaskPanelItem;

namespace taskpanel {

// The element's record in a movable block; null when it cannot be stored.
HGLOBAL ElementRecordBlock(CTKPTaskPanelItem* pItem);
// The element's text in the ANSI code page when it may leave the panel (drag flags 0x08 or 0x80) and has
// one; null otherwise.
HGLOBAL ElementTextBlock(CTKPTaskPanelItem* pItem);
// A new element read back from a record block (the caller holds its reference); null for anything that is
// not a whole record of one of our elements.
CTKPTaskPanelItem* ElementFromBlock(HGLOBAL hData);

}  // namespace taskpanel
