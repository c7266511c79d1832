// The task panel's elements on the clipboard: the "TaskPanelGroupItem" form, and plain text for other
// programs when the element may leave the panel.
#include <cstring>

#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_transfer.h"
#include "toolkit/taskpanel/tp_clip_record.h"

static_assert(sizeof(wchar_t) == 2, "TCHAR text is UTF-16");

namespace {

// Drag flags that let a copy leave the panel.
constexpr int kOutsideFlags = 0x08 | 0x80;

void ExchangeElement(CObject* pObject, CTKPPropExchange* pPX) {
  static_cast<CTKPTaskPanelItem*>(pObject)->DoPropExchange(pPX);
}

// An element that could not be read is released like any other.
void DiscardElement(CObject* pObject) { static_cast<CTKPTaskPanelItem*>(pObject)->InternalRelease(); }

HGLOBAL GlobalCopy(const void* data, size_t size, UINT flags) {
  HGLOBAL hGlobal = ::GlobalAlloc(flags, size);
  if (hGlobal == nullptr) return nullptr;
  void* p = ::GlobalLock(hGlobal);
  if (p == nullptr) {
    ::GlobalFree(hGlobal);
    return nullptr;
  }
  std::memcpy(p, data, size);
  ::GlobalUnlock(hGlobal);
  return hGlobal;
}

// The text in the ANSI code page, sized by what the conversion gives (not by the UTF-16 length).
HGLOBAL AnsiText(const CString& text) {
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(static_cast<LPCTSTR>(text));
  const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, text.GetLength(), nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return nullptr;
  HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(needed) + 1);
  if (hGlobal == nullptr) return nullptr;
  char* p = static_cast<char*>(::GlobalLock(hGlobal));
  if (p == nullptr) {
    ::GlobalFree(hGlobal);
    return nullptr;
  }
  const int written = ::WideCharToMultiByte(CP_ACP, 0, wide, text.GetLength(), p, needed, nullptr, nullptr);
  p[written > 0 ? written : 0] = '\0';
  ::GlobalUnlock(hGlobal);
  return hGlobal;
}

void PutOnClipboard(UINT format, HGLOBAL hGlobal) {
  if (hGlobal && ::SetClipboardData(format, hGlobal) == nullptr) ::GlobalFree(hGlobal);
}

}  // namespace

namespace taskpanel {

HGLOBAL ElementRecordBlock(CTKPTaskPanelItem* pItem) {
  const std::vector<BYTE> record = StoreRecord(pItem, ExchangeElement);
  return record.empty() ? nullptr : GlobalCopy(record.data(), record.size(), GMEM_MOVEABLE | GMEM_DDESHARE);
}

HGLOBAL ElementTextBlock(CTKPTaskPanelItem* pItem) {
  if ((pItem->GetAllowDrag() & kOutsideFlags) == 0) return nullptr;
  auto* pGroupItem = dynamic_cast<CTKPTaskPanelGroupItem*>(pItem);
  const CString text = pGroupItem ? pGroupItem->GetDragText() : pItem->GetCaption();
  return text.IsEmpty() ? nullptr : AnsiText(text);
}

CTKPTaskPanelItem* ElementFromBlock(HGLOBAL hData) {
  if (hData == nullptr) return nullptr;
  const SIZE_T size = ::GlobalSize(hData);
  const void* p = ::GlobalLock(hData);
  if (p == nullptr) return nullptr;
  // The element joins a panel when the caller adds it to a collection.
  CObject* pObject = LoadRecord(static_cast<const BYTE*>(p), size, RUNTIME_CLASS(CTKPTaskPanelItem), ExchangeElement,
                                DiscardElement);
  ::GlobalUnlock(hData);
  return static_cast<CTKPTaskPanelItem*>(pObject);
}

}  // namespace taskpanel

UINT CTKPTaskPanel::GetClipboardFormat() {
  static const UINT format = ::RegisterClipboardFormatW(L"TaskPanelGroupItem");
  return format;
}

BOOL CTKPTaskPanel::CopyToClipboard(CTKPTaskPanelItem* pItem) {
  if (pItem == nullptr || m_hWnd == nullptr) return FALSE;
  HGLOBAL hRecord = taskpanel::ElementRecordBlock(pItem);
  if (hRecord == nullptr) return FALSE;
  if (!::OpenClipboard(m_hWnd)) {
    ::GlobalFree(hRecord);
    return FALSE;
  }
  if (!::EmptyClipboard()) {
    ::CloseClipboard();
    ::GlobalFree(hRecord);
    return FALSE;
  }
  PutOnClipboard(GetClipboardFormat(), hRecord);
  PutOnClipboard(CF_TEXT, taskpanel::ElementTextBlock(pItem));
  ::CloseClipboard();
  return TRUE;
}

CTKPTaskPanelItem* CTKPTaskPanel::PasteFromClipboard() {
  const UINT format = GetClipboardFormat();
  if (m_hWnd == nullptr || !::IsClipboardFormatAvailable(format) || !::OpenClipboard(m_hWnd)) return nullptr;
  CTKPTaskPanelItem* pItem = taskpanel::ElementFromBlock(::GetClipboardData(format));
  ::CloseClipboard();
  return pItem;
}
