#include "toolkit/common/tkp_image_manager.h"

#include <commctrl.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/os/library_win32.h"
#include "toolkit/common/tkp_icon_lookup.h"
#include "toolkit/common/toolbar_resource.h"

namespace {

CTKPImageManager* g_pImageManager = nullptr;
UINT g_nToolBarImageFormat = 0;
UINT g_nAlphaBitmapFormat = 0;

HMODULE ResourceModule() { return AfxGetResourceHandle(); }

// Releases every value of a map of reference-counted objects and empties it.
template <class KEY, class VALUE>
void ReleaseAll(CMap<KEY, KEY, VALUE*, VALUE*>& map) {
  POSITION pos = map.GetStartPosition();
  while (pos != nullptr) {
    KEY key{};
    VALUE* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    value->InternalRelease();
  }
  map.RemoveAll();
}

}  // namespace

namespace {

void DestroyImageManager() {
  delete g_pImageManager;
  g_pImageManager = nullptr;
}

}  // namespace

// Made on first use; its icons and image lists are given back at exit.
CTKPImageManager* TKPImageManager() {
  if (g_pImageManager == nullptr) {
    g_pImageManager = new CTKPImageManager();
    static std::once_flag exitRegistered;
    std::call_once(exitRegistered, [] { std::atexit(DestroyImageManager); });
    g_nToolBarImageFormat = ::RegisterClipboardFormatW(L"Toolkit ToolBar Image");
    g_nAlphaBitmapFormat = ::RegisterClipboardFormatW(L"Alpha Bitmap Image");
  }
  return g_pImageManager;
}

UINT TKPToolBarImageFormat() {
  TKPImageManager();
  return g_nToolBarImageFormat;
}

UINT TKPAlphaBitmapFormat() {
  TKPImageManager();
  return g_nAlphaBitmapFormat;
}

// ---- icon sets ----

CTKPImageManagerIconSet::CTKPImageManagerIconSet(UINT nID, CTKPImageManager* pImageManager)
    : m_nID(nID), m_pImageManager(pImageManager) {}

CTKPImageManagerIconSet::~CTKPImageManagerIconSet() { RemoveAll(); }

CTKPImageManagerIcon* CTKPImageManagerIconSet::CreateIcon(int nWidth) {
  CTKPImageManagerIcon* icon = nullptr;
  if (m_icons.Lookup(nWidth, icon)) return icon;
  icon = new CTKPImageManagerIcon(m_nID, nWidth, 15, this);
  m_icons.SetAt(nWidth, icon);
  return icon;
}

void CTKPImageManagerIconSet::SetIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth) {
  CreateIcon(nWidth)->SetIcon(hIcon);
}
void CTKPImageManagerIconSet::SetDisabledIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth) {
  CreateIcon(nWidth)->SetDisabledIcon(hIcon);
}
void CTKPImageManagerIconSet::SetHotIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth) {
  CreateIcon(nWidth)->SetHotIcon(hIcon);
}
void CTKPImageManagerIconSet::SetCheckedIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth) {
  CreateIcon(nWidth)->SetCheckedIcon(hIcon);
}

void CTKPImageManagerIconSet::RefreshAll() {
  POSITION pos = m_icons.GetStartPosition();
  while (pos != nullptr) {
    int width = 0;
    CTKPImageManagerIcon* icon = nullptr;
    m_icons.GetNextAssoc(pos, width, icon);
    if (icon->IsScaled()) {
      m_icons.RemoveKey(width);
      icon->InternalRelease();
    } else {
      icon->Refresh();
    }
  }
}

void CTKPImageManagerIconSet::RemoveAll() { ReleaseAll(m_icons); }

CTKPImageManagerIcon* CTKPImageManagerIconSet::GetIcon(int nWidth, BOOL bScaled) {
  CTKPImageManagerIcon* icon = nullptr;
  if (m_icons.Lookup(nWidth, icon)) return icon;
  int nearest = 0;
  if (!bScaled || !TKPNearestWidth(m_icons, nWidth, &nearest)) return nullptr;
  m_icons.Lookup(nearest, icon);
  if (icon->IsAlpha() || nWidth == 0) return icon;
  const CSize extent = icon->m_hIcon.GetExtent();
  if (extent.cx <= 0 || extent.cy <= 0) return icon;
  HICON normal = CTKPImageManagerIcon::ScaleToFit(icon->m_hIcon.GetIcon(), extent, nWidth);
  if (normal == nullptr) return icon;
  auto* scaled = new CTKPImageManagerIcon(m_nID, nWidth, ::MulDiv(extent.cy, nWidth, extent.cx), this);
  // The state images are scaled before SetIcon refreshes the set: that drops the scaled icon made
  // before, which may be the one chosen here.
  const auto scale = [&](const CTKPImageManagerIconHandle& from) {
    return from.GetIcon() != nullptr ? CTKPImageManagerIcon::ScaleToFit(from.GetIcon(), extent, nWidth) : nullptr;
  };
  HICON disabled = scale(icon->m_hDisabled), hot = scale(icon->m_hHot), checked = scale(icon->m_hChecked);
  CTKPImageManagerIconHandle owned;
  owned.SetIcon(normal);
  scaled->SetIcon(owned);
  scaled->m_nHeight = ::MulDiv(extent.cy, nWidth, extent.cx);
  if (disabled != nullptr) scaled->m_hDisabled.SetIcon(disabled);
  if (hot != nullptr) scaled->m_hHot.SetIcon(hot);
  if (checked != nullptr) scaled->m_hChecked.SetIcon(checked);
  scaled->m_bScaled = TRUE;
  m_icons.SetAt(nWidth, scaled);
  return scaled;
}

// ---- the manager ----

CTKPImageManager::CTKPImageManager() {
  m_hMsImg32 = os::LoadProgramOrSystemLibrary(L"msimg32.dll");
  if (m_hMsImg32 != nullptr) {
    m_pfnAlphaBlend = reinterpret_cast<AlphaBlendFn>(reinterpret_cast<void*>(::GetProcAddress(m_hMsImg32, "AlphaBlend")));
  }
}

CTKPImageManager::~CTKPImageManager() {
  RemoveAll();
  if (m_hMsImg32 != nullptr) ::FreeLibrary(m_hMsImg32);
}

CTKPImageManagerIconSet* CTKPImageManager::GetIconSet(UINT nCommand) const {
  CTKPImageManagerIconSet* set = nullptr;
  return m_iconSets.Lookup(nCommand, set) ? set : nullptr;
}

CTKPImageManagerIconSet* CTKPImageManager::EnsureIconSet(UINT nCommand) {
  CTKPImageManagerIconSet* set = GetIconSet(nCommand);
  if (set == nullptr) {
    set = new CTKPImageManagerIconSet(nCommand, this);
    m_iconSets.SetAt(nCommand, set);
  }
  return set;
}

BOOL CTKPImageManager::SetIcon(const CTKPImageManagerIconHandle& hIcon, UINT nIDCommand, CSize szIcon, int nState) {
  if (hIcon.IsEmpty() || !TKPIsImageState(nState)) return FALSE;
  if (szIcon.cx == 0 && szIcon.cy == 0) szIcon = hIcon.GetExtent();
  if (szIcon.cx <= 0) return FALSE;
  CTKPImageManagerIconSet* set = GetIconSet(nIDCommand);
  if (set == nullptr) {
    if (nState != 0) return FALSE;  // a state image needs the normal icon first
    set = EnsureIconSet(nIDCommand);
  }
  switch (nState) {
    case 0: set->SetIcon(hIcon, szIcon.cx); break;
    case 1: set->SetDisabledIcon(hIcon, szIcon.cx); break;
    case 2: set->SetHotIcon(hIcon, szIcon.cx); break;
    case 3: set->SetCheckedIcon(hIcon, szIcon.cx); break;
    default: break;
  }
  return TRUE;
}

BOOL CTKPImageManager::SetIconsFromImageList(CImageList* pImageList, const UINT* pCommands, int nCount, CSize szIcon,
                                             int nState) {
  if (pImageList == nullptr || pImageList->GetSafeHandle() == nullptr || !TKPIsImageState(nState)) return FALSE;
  HIMAGELIST list = pImageList->GetSafeHandle();
  const int images = ::ImageList_GetImageCount(list);
  if (pCommands == nullptr && nCount == 0) nCount = images;
  if (szIcon.cx == 0 && szIcon.cy == 0 && nCount >= 1) {
    IMAGEINFO info{};
    if (::ImageList_GetImageInfo(list, 0, &info)) {
      szIcon = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    }
  }
  if (nCount < 1) return TRUE;
  const bool exact = images == nCount;
  for (int i = 0, image = 0; i < nCount; ++i) {
    if (pCommands != nullptr && !exact && pCommands[i] == 0) continue;  // a separator without an image
    HICON icon = ::ImageList_GetIcon(list, image, ILD_NORMAL);
    if (icon == nullptr) return FALSE;
    SetIcon(CTKPImageManagerIconHandle(icon), pCommands != nullptr ? pCommands[i] : static_cast<UINT>(i), szIcon, nState);
    ::DestroyIcon(icon);
    ++image;
  }
  return TRUE;
}

BOOL CTKPImageManager::SetIcons(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState,
                                BOOL bAlpha) {
  if (hBitmap == nullptr || szIcon.cx <= 0 || szIcon.cy <= 0 || !TKPIsImageState(nState)) return FALSE;
  if (!bAlpha) {
    COLORREF mask = m_clrMask;
    if (mask == static_cast<COLORREF>(-1)) {
      HDC dc = ::CreateCompatibleDC(nullptr);
      HGDIOBJ old = ::SelectObject(dc, hBitmap);
      mask = ::GetPixel(dc, 0, 0);
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
    }
    CImageList list;
    if (!list.Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1)) return FALSE;
    // The image list blackens the masked pixels of what it is given: a copy, not the caller's bitmap.
    HBITMAP copy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
    if (copy == nullptr) return FALSE;
    ::ImageList_AddMasked(list.GetSafeHandle(), copy, mask);
    ::DeleteObject(copy);
    return SetIconsFromImageList(&list, pCommands, nCount, szIcon, nState);
  }
  BITMAP bm{};
  if (!::GetObjectW(hBitmap, sizeof bm, &bm) || bm.bmWidth % szIcon.cx != 0) return FALSE;
  const int pieces = bm.bmWidth / szIcon.cx;
  std::vector<HBITMAP> parts;
  if (!SplitAlphaBitmap(hBitmap, pieces, parts)) return FALSE;
  const bool exact = pieces == nCount;
  for (int i = 0, j = 0; i < nCount && j < pieces; ++i) {
    if (pCommands != nullptr && !exact && pCommands[i] == 0) continue;
    SetIcon(CTKPImageManagerIconHandle(parts[static_cast<size_t>(j)]),
            pCommands != nullptr ? pCommands[i] : static_cast<UINT>(i), szIcon, nState);
    ++j;
  }
  for (HBITMAP part : parts) ::DeleteObject(part);
  return TRUE;
}

BOOL CTKPImageManager::SetIconsFromResource(UINT nIDBitmap, const UINT* pCommands, int nCount, CSize szIcon,
                                            int nState) {
  const BOOL alpha = IsAlphaBitmapResource(ResourceModule(), nIDBitmap);
  HBITMAP bitmap = alpha ? LoadAlphaBitmap(ResourceModule(), nIDBitmap)
                         : ::LoadBitmapW(ResourceModule(), MAKEINTRESOURCEW(nIDBitmap));
  if (bitmap == nullptr) return FALSE;
  BITMAP bm{};
  ::GetObjectW(bitmap, sizeof bm, &bm);
  // A toolbar of separators only, or a zero icon width, has nothing to cut.
  if (szIcon.cx == 0 && szIcon.cy == 0 && nCount > 0) szIcon = CSize(bm.bmWidth / nCount, bm.bmHeight);
  if (nCount == 0 && szIcon.cx > 0) nCount = bm.bmWidth / szIcon.cx;
  const BOOL result = szIcon.cx > 0 && nCount > 0 && SetIcons(bitmap, pCommands, nCount, szIcon, nState, alpha);
  ::DeleteObject(bitmap);
  return result;
}

BOOL CTKPImageManager::SetIconsFromToolBar(UINT nIDToolBar, UINT nIDBitmap, int nState) {
  HRSRC found = ::FindResourceW(ResourceModule(), MAKEINTRESOURCEW(nIDToolBar), MAKEINTRESOURCEW(241));
  HGLOBAL loaded = found != nullptr ? ::LoadResource(ResourceModule(), found) : nullptr;
  const auto* data = loaded != nullptr ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
  TKToolBarData toolbar;
  if (data == nullptr || !ParseToolBarResource(data, ::SizeofResource(ResourceModule(), found), &toolbar)) return FALSE;
  const std::vector<unsigned> ids = toolbar.ImageIds();
  if (ids.empty()) return FALSE;  // separators only: no image to cut
  std::vector<UINT> commands(ids.begin(), ids.end());
  return SetIconsFromResource(nIDBitmap, commands.data(), static_cast<int>(commands.size()), CSize(0, 0), nState);
}

void CTKPImageManager::AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroy) {
  auto* entry = new CTKPImageManagerImageList();
  entry->hImageList = hImageList;
  entry->nBaseCommand = nBaseCommand;
  entry->bDestroy = bDestroy;
  m_imageLists.push_back(entry);
}

// Stored icons can carry any id, up to the last one: then no custom id is left rather than one that wraps to 0.
UINT CTKPImageManager::NextCustomId() {
  if (m_nCustomID == UINT_MAX) return 0;
  return ++m_nCustomID;
}

UINT CTKPImageManager::AddCustomIcon(const CTKPImageManagerIconHandle& hIcon) {
  const UINT id = NextCustomId();
  if (id != 0) EnsureIconSet(id)->SetIcon(hIcon, hIcon.GetExtent().cx);
  return id;
}

CTKPImageManagerIcon* CTKPImageManager::GetImage(UINT nCommand, int nWidth) {
  if (CTKPImageManagerIconSet* set = GetIconSet(nCommand)) return set->GetIcon(nWidth, TRUE);
  for (CTKPImageManagerImageList* entry : m_imageLists) {
    const int count = ::ImageList_GetImageCount(entry->hImageList);
    if (nCommand < entry->nBaseCommand || nCommand - entry->nBaseCommand >= static_cast<UINT>(count)) continue;
    CTKPImageManagerIcon* icon = nullptr;
    if (!entry->icons.Lookup(nCommand, icon)) {
      int cx = 0, cy = 0;
      ::ImageList_GetIconSize(entry->hImageList, &cx, &cy);
      icon = new CTKPImageManagerIcon(nCommand, cx, cy, nullptr);
      icon->m_pImageList = entry;
      entry->icons.SetAt(nCommand, icon);
    }
    return icon;
  }
  return nullptr;
}

void CTKPImageManager::RefreshAll() {
  POSITION pos = m_iconSets.GetStartPosition();
  while (pos != nullptr) {
    UINT id = 0;
    CTKPImageManagerIconSet* set = nullptr;
    m_iconSets.GetNextAssoc(pos, id, set);
    set->RefreshAll();
  }
  for (CTKPImageManagerImageList* entry : m_imageLists) ReleaseAll(entry->icons);
}

void CTKPImageManager::RemoveAll() {
  ReleaseAll(m_iconSets);
  RefreshAll();  // releases the image-list entries' icons
  for (CTKPImageManagerImageList* entry : m_imageLists) {
    if (entry->bDestroy) ::ImageList_Destroy(entry->hImageList);
    delete entry;
  }
  m_imageLists.clear();
}
