// The image manager's archive form, its property exchange and the clipboard copy and paste of the
// icons of one command.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_image_record.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace {

constexpr LPCTSTR kCheckSum = L"CTKPImageManagerIcons";

void HandleToRecord(const CTKPImageManagerIconHandle& handle, TKPImageRecord& record) {
  record = TKPImageRecord();
  if (handle.IsAlpha()) {
    CTKPImageManager::MakeBitmapRecord(handle.GetBitmap(), record.a);
    return;
  }
  ICONINFO ii{};
  if (handle.GetIcon() == nullptr || !::GetIconInfo(handle.GetIcon(), &ii)) return;
  CTKPImageManager::MakeBitmapRecord(ii.hbmColor, record.a);
  CTKPImageManager::MakeBitmapRecord(ii.hbmMask, record.b);
  if (ii.hbmColor != nullptr) ::DeleteObject(ii.hbmColor);
  if (ii.hbmMask != nullptr) ::DeleteObject(ii.hbmMask);
}

void RecordToHandle(const TKPImageRecord& record, CTKPImageManagerIconHandle& handle) {
  handle.Clear();
  HBITMAP a = CTKPImageManager::CreateBitmapFromRecord(record.a);
  HBITMAP b = CTKPImageManager::CreateBitmapFromRecord(record.b);
  if (a != nullptr && b != nullptr) {
    const int height = record.a.Height() < 0 ? -record.a.Height() : record.a.Height();
    HIMAGELIST list = ::ImageList_Create(record.a.Width(), height, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (list != nullptr) {
      if (::ImageList_Add(list, a, b) >= 0) handle.SetIcon(::ImageList_GetIcon(list, 0, ILD_NORMAL));
      ::ImageList_Destroy(list);
    }
  } else if (a != nullptr) {
    handle.SetBitmap(a);
  }
  if (a != nullptr) ::DeleteObject(a);
  if (b != nullptr) ::DeleteObject(b);
}

}  // namespace

void CTKPImageManagerIcon::Serialize(CArchive& ar) {
  TKPIconRecord record;
  if (ar.IsStoring()) {
    record.height = m_nHeight;
    HandleToRecord(m_hIcon, record.normal);
    HandleToRecord(m_hDisabled, record.disabled);
    HandleToRecord(m_hHot, record.hot);
    HandleToRecord(m_hChecked, record.checked);
    TKPWriteIconRecord(ar, record);
    return;
  }
  // A record we did not write leaves the stream at an unknown place: nothing more is read from it.
  if (!TKPReadIconRecord(ar, record)) AfxThrowArchiveException(CArchiveException::generic);
  for (CTKPImageManagerIconHandle* h : {&m_hIcon, &m_hFaded, &m_hShadow, &m_hHot, &m_hChecked, &m_hDisabled,
                                         &m_hGeneratedDisabled}) {
    h->Clear();
  }
  RecordToHandle(record.normal, m_hIcon);
  RecordToHandle(record.disabled, m_hDisabled);
  RecordToHandle(record.hot, m_hHot);
  RecordToHandle(record.checked, m_hChecked);
  // The stored height is only a number: the image itself tells the size it is drawn at.
  const CSize extent = m_hIcon.GetExtent();
  if (extent.cx > 0 && extent.cy > 0) {
    m_nWidth = extent.cx;
    m_nHeight = extent.cy;
  } else {
    m_nHeight = TKPRecordExtentInRange(record.height) ? record.height : 0;
  }
}

BOOL CTKPImageManagerIcon::FitsRecord() const {
  for (const CTKPImageManagerIconHandle* h : {&m_hIcon, &m_hDisabled, &m_hHot, &m_hChecked}) {
    if (h->IsEmpty()) continue;
    const CSize extent = h->GetExtent();
    if (!TKPRecordExtentInRange(extent.cx) || !TKPRecordExtentInRange(extent.cy)) return FALSE;
  }
  return TRUE;
}

void CTKPImageManager::Serialize(CArchive& ar) {
  CTKPPropExchangeArchive px(ar);
  DoPropExchange(&px);
}

void CTKPImageManager::DoPropExchange(CTKPPropExchange* pPX) {
  std::unique_ptr<CTKPSectionEnumerator> sets(pPX->GetEnumerator(L"IconSet"));
  if (pPX->IsLoading()) {
    LoadIconSets(sets.get());
    return;
  }
  POSITION mapPos = m_iconSets.GetStartPosition();
  POSITION pos = sets->GetPosition(static_cast<DWORD>(m_iconSets.GetCount()));
  while (pos != nullptr && mapPos != nullptr) {
    std::unique_ptr<CTKPPropExchange> item(sets->GetNext(pos));
    UINT key = 0;
    CTKPImageManagerIconSet* set = nullptr;
    m_iconSets.GetNextAssoc(mapPos, key, set);
    LONG id = static_cast<LONG>(key);
    PX_LongNoDefault(item.get(), L"Id", id);
    DoPropExchangeIcon(item.get(), key);
  }
}

void CTKPImageManager::LoadIconSets(CTKPSectionEnumerator* pSets) {
  RemoveAll();
  // The sets are read before they are filed, so that the table is sized to them: thousands of sets in
  // the default table would take time with the square of their number. A later set of an id replaces
  // the earlier one in its place.
  std::vector<CTKPImageManagerIconSet*> loaded;
  std::unordered_map<UINT, size_t> places;
  const auto file = [this, &loaded] {
    m_iconSets.InitHashTable(HashTableSizeFor(loaded.size()), FALSE);
    for (CTKPImageManagerIconSet* set : loaded) m_iconSets.SetAt(set->GetID(), set);
  };
  try {
    POSITION pos = pSets->GetPosition();
    BOOL whole = TRUE;
    while (pos != nullptr && whole) {
      std::unique_ptr<CTKPPropExchange> item(pSets->GetNext(pos));
      LONG id = 0;
      PX_LongNoDefault(item.get(), L"Id", id);
      const UINT nCommand = static_cast<UINT>(id);
      auto* set = new CTKPImageManagerIconSet(nCommand, this);
      const auto [place, added] = places.emplace(nCommand, loaded.size());
      if (added) {
        loaded.push_back(set);
      } else {
        loaded[place->second]->InternalRelease();
        loaded[place->second] = set;
      }
      // After a damaged record nothing more of the stream can be read.
      whole = LoadIcons(item.get(), set);
    }
  } catch (...) {
    file();  // the sets read before the failure stay
    throw;
  }
  file();
}

BOOL CTKPImageManager::LoadIcons(CTKPPropExchange* pPX, CTKPImageManagerIconSet* pSet) {
  const UINT nCommand = pSet->GetID();
  if (nCommand > m_nCustomID) m_nCustomID = nCommand;
  CString check(kCheckSum);
  PX_String(pPX, L"CheckSum", check, kCheckSum);
  if (check.Compare(kCheckSum) != 0) AfxThrowArchiveException(CArchiveException::badClass);
  std::unique_ptr<CTKPSectionEnumerator> icons(pPX->GetEnumerator(L"Icon"));
  POSITION pos = icons->GetPosition();
  while (pos != nullptr) {
    std::unique_ptr<CTKPPropExchange> item(icons->GetNext(pos));
    LONG width = 16;
    PX_Long(item.get(), L"Width", width, 16);
    const bool inRange = TKPRecordExtentInRange(width);
    auto* icon = new CTKPImageManagerIcon(nCommand, inRange ? width : 0, 15, pSet);
    if (!PX_Serialize(item.get(), L"Data", icon)) {
      icon->InternalRelease();
      // In one stream nothing after a damaged record can be read: the loading ends there, the icons
      // before it kept. A record of its own (a registry section) is passed over.
      if (item->IsKindOf(RUNTIME_CLASS(CTKPPropExchangeArchive))) return FALSE;
      continue;
    }
    // A width outside 1..256 is no icon of ours: its record is read and passed over.
    if (!inRange) {
      icon->InternalRelease();
      continue;
    }
    CTKPImageManagerIcon* old = nullptr;
    if (pSet->GetIcons().Lookup(width, old)) old->InternalRelease();
    pSet->GetIcons().SetAt(width, icon);
  }
  return TRUE;
}

BOOL CTKPImageManager::DoPropExchangeIcon(CTKPPropExchange* pPX, UINT nCommand) {
  if (pPX->IsLoading()) {
    CTKPImageManagerIconSet* set = EnsureIconSet(nCommand);
    set->RemoveAll();
    return LoadIcons(pPX, set);
  }
  if (nCommand > m_nCustomID) m_nCustomID = nCommand;
  CString check(kCheckSum);
  PX_String(pPX, L"CheckSum", check, kCheckSum);
  std::unique_ptr<CTKPSectionEnumerator> icons(pPX->GetEnumerator(L"Icon"));
  CTKPImageManagerIconSet* set = GetIconSet(nCommand);
  std::vector<std::pair<int, CTKPImageManagerIcon*>> kept;
  POSITION mapPos = set != nullptr ? set->GetIcons().GetStartPosition() : nullptr;
  while (mapPos != nullptr) {
    int width = 0;
    CTKPImageManagerIcon* icon = nullptr;
    set->GetIcons().GetNextAssoc(mapPos, width, icon);
    // Scaled icons are made again on request. One that loading would refuse is not written either: its
    // record would end the stream, and the icons after it would be lost with it.
    if (!icon->IsScaled() && TKPRecordExtentInRange(width) && icon->FitsRecord()) kept.emplace_back(width, icon);
  }
  POSITION pos = icons->GetPosition(static_cast<DWORD>(kept.size()));
  for (auto& [width, icon] : kept) {
    if (pos == nullptr) break;
    std::unique_ptr<CTKPPropExchange> item(icons->GetNext(pos));
    LONG w = width;
    PX_Long(item.get(), L"Width", w, 16);
    PX_Serialize(item.get(), L"Data", icon);
  }
  return TRUE;
}

void CTKPImageManager::SerializeIcons(UINT nCommand, CArchive& ar) {
  CTKPPropExchangeArchive px(ar);
  DoPropExchangeIcon(&px, nCommand);
}

BOOL CTKPImageManager::CopyImage(UINT nCommand) {
  CMemFile file(1024);
  BOOL put = FALSE;
  {
    CArchive ar(&file, CArchive::store);
    SerializeIcons(nCommand, ar);
    ar.Close();
  }
  const auto size = static_cast<SIZE_T>(file.GetLength());
  BYTE* data = file.Detach();
  HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (global != nullptr) {
    std::memcpy(::GlobalLock(global), data, size);
    ::GlobalUnlock(global);
    put = ::SetClipboardData(TKPToolBarImageFormat(), global) != nullptr;
    if (!put) ::GlobalFree(global);
  }
  std::free(data);
  return put;
}

UINT CTKPImageManager::PasteCustomImage(HGLOBAL hData) {
  if (hData == nullptr) return 0;
  // The clipboard's block comes from any program: one far larger than an icon set is refused before it is copied.
  constexpr SIZE_T kMostPastedBytes = 16u << 20;
  const SIZE_T size = ::GlobalSize(hData);
  if (size > kMostPastedBytes) return 0;
  const void* locked = ::GlobalLock(hData);
  if (locked == nullptr) return 0;
  std::vector<BYTE> bytes(static_cast<const BYTE*>(locked), static_cast<const BYTE*>(locked) + size);
  ::GlobalUnlock(hData);
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  const UINT saved = m_nCustomID;
  const UINT id = NextCustomId();
  if (id == 0) return 0;
  try {
    SerializeIcons(id, ar);
  } catch (CException* e) {
    // Data of another program, or damaged: nothing of it stays.
    e->Delete();
    if (CTKPImageManagerIconSet* set = GetIconSet(id)) {
      m_iconSets.RemoveKey(id);
      set->InternalRelease();
    }
    m_nCustomID = saved;
    return 0;
  }
  CTKPImageManagerIconSet* set = GetIconSet(id);
  if (set == nullptr || set->GetIcons().GetCount() == 0) {  // no icon in it: nothing to paste
    if (set != nullptr) {
      m_iconSets.RemoveKey(id);
      set->InternalRelease();
    }
    m_nCustomID = saved;
    return 0;
  }
  return id;
}
