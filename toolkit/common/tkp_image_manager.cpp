#include "toolkit/commandbars/tkp_image_manager.h"

#include <commctrl.h>

#include "platform/classlib/win/cimagelist.h"

CTKPImageManager::~CTKPImageManager() {
  for (auto& entry : m_icons) ::DestroyIcon(entry.second);
}

BOOL CTKPImageManager::SetIconsFromImageList(const UINT* ids, int nCount, CImageList* pImages, int nSize) {
  if (ids == nullptr || pImages == nullptr || pImages->GetSafeHandle() == nullptr || nCount < 0) return FALSE;
  m_nSize = nSize;
  BOOL all = TRUE;
  for (int i = 0; i < nCount; ++i) {
    HICON icon = ::ImageList_GetIcon(pImages->GetSafeHandle(), i, ILD_NORMAL);
    if (icon == nullptr) {
      all = FALSE;
      continue;
    }
    auto found = m_icons.find(ids[i]);
    if (found != m_icons.end()) ::DestroyIcon(found->second);
    m_icons[ids[i]] = icon;
  }
  return all;
}

HICON CTKPImageManager::GetIcon(UINT nCommand) const {
  auto found = m_icons.find(nCommand);
  return found != m_icons.end() ? found->second : nullptr;
}
