// CTKPImageManager: the icons of the command bars, by command id.
#pragma once

#include <windows.h>

#include <map>

class CImageList;

class CTKPImageManager {
 public:
  CTKPImageManager() = default;
  ~CTKPImageManager();
  CTKPImageManager(const CTKPImageManager&) = delete;
  CTKPImageManager& operator=(const CTKPImageManager&) = delete;

  // Binds image i of the list to command ids[i] (copies of the icons); TRUE when every one was bound.
  BOOL SetIconsFromImageList(const UINT* ids, int nCount, CImageList* pImages, int nSize);
  // The icon of a command, or null. The manager keeps it.
  HICON GetIcon(UINT nCommand) const;
  int GetIconSize() const { return m_nSize; }

 private:
  std::map<UINT, HICON> m_icons;
  int m_nSize = 16;
};
