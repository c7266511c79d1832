// CTKPImageManager: the icons of commands, filed by command id and width, with the state images
// (normal, disabled, hot, checked) and the images it derives itself (faded, shadow, grey disabled).
// One process-wide instance (TKPImageManager()) serves the program; a popup menu or a pane may own one
// of its own. Icons come from image lists, bitmaps, bitmap and toolbar resources, or one at a time.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "platform/classlib/cmap.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/win/ccmdtarget.h"

class CArchive;
class CImageList;
class CTKPPropExchange;
class CTKPSectionEnumerator;
class CTKPImageManager;
class CTKPImageManagerIconSet;
struct CTKPImageManagerImageList;
struct TKPBitmapRecord;

// One image: an icon, or a 32-bit bitmap with alpha, or nothing. Handles pass by value: a copy
// shares the other's images without owning them; SetHandle stores an owned copy.
class CTKPImageManagerIconHandle {
 public:
  CTKPImageManagerIconHandle() : m_bOwns(TRUE) {}
  CTKPImageManagerIconHandle(HICON hIcon) : m_hIcon(hIcon) {}  // NOLINT: taken as it is
  CTKPImageManagerIconHandle(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}  // NOLINT
  CTKPImageManagerIconHandle(const CTKPImageManagerIconHandle& other)
      : m_hIcon(other.m_hIcon), m_hBitmap(other.m_hBitmap) {}
  CTKPImageManagerIconHandle& operator=(const CTKPImageManagerIconHandle&) = delete;
  ~CTKPImageManagerIconHandle() { Clear(); }

  BOOL IsEmpty() const { return m_hIcon == nullptr && m_hBitmap == nullptr; }
  BOOL IsAlpha() const { return m_hBitmap != nullptr; }
  HICON GetIcon() const { return m_hIcon; }
  HBITMAP GetBitmap() const { return m_hBitmap; }
  CSize GetExtent() const;
  void Clear();
  // Takes ownership of the icon.
  void SetIcon(HICON hIcon);
  // Stores an owned 32-bit copy of the bitmap; the caller's bitmap stays the caller's.
  void SetBitmap(HBITMAP hBitmap);
  // Stores a copy of the other's image that this handle owns.
  void SetHandle(const CTKPImageManagerIconHandle& other);
  // The premultiplied cache for AlphaBlend; TRUE when it exists.
  BOOL PreMultiply();
  HBITMAP GetPreMultiplied() const { return m_hPreMultiplied; }
  BOOL LoadFromResource(HMODULE hModule, LPCTSTR lpszName, int nWidth, int nHeight, BOOL bSearchGroup);

 private:
  void AdoptBitmap(HBITMAP hBitmap);

  HICON m_hIcon = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HBITMAP m_hPreMultiplied = nullptr;
  BOOL m_bOwns = FALSE;
};

class CTKPImageManagerIcon : public CCmdTarget {
 public:
  CTKPImageManagerIcon(UINT nID, int nWidth, int nHeight, CTKPImageManagerIconSet* pIconSet);
  ~CTKPImageManagerIcon() override;

  UINT GetID() const { return m_nID; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  BOOL IsScaled() const { return m_bScaled; }
  BOOL IsAlpha() const { return m_hIcon.IsAlpha(); }
  CTKPImageManager* GetImageManager() const;
  // Every image of the icon fits an icon record as loading takes it (1..kTKPMaxRecordExtent a side).
  BOOL FitsRecord() const;

  void SetIcon(const CTKPImageManagerIconHandle& hIcon);
  void SetHotIcon(const CTKPImageManagerIconHandle& hIcon);
  void SetCheckedIcon(const CTKPImageManagerIconHandle& hIcon);
  void SetDisabledIcon(const CTKPImageManagerIconHandle& hIcon);

  CTKPImageManagerIconHandle& GetIcon() { return m_hIcon; }
  CTKPImageManagerIconHandle& GetHotIcon() { return m_hHot.IsEmpty() ? m_hIcon : m_hHot; }
  CTKPImageManagerIconHandle& GetCheckedIcon() { return m_hChecked.IsEmpty() ? GetHotIcon() : m_hChecked; }
  CTKPImageManagerIconHandle& GetDisabledIcon(BOOL bBuild = TRUE);
  BOOL HasDisabledIcon() const { return !m_hDisabled.IsEmpty() || !m_hGeneratedDisabled.IsEmpty(); }
  CTKPImageManagerIconHandle& GetFadedIcon();
  CTKPImageManagerIconHandle& GetShadowIcon();
  // -1 for either colour: the grey mapping.
  void CreateDisabledIcon(COLORREF clrLight = static_cast<COLORREF>(-1), COLORREF clrDark = static_cast<COLORREF>(-1));
  // Drops the faded, shadow and generated disabled images.
  void Refresh();

  // A zero cx or cy means the icon's own size (cy keeps the aspect when cx is given).
  void Draw(CDC* pDC, CPoint pt, CTKPImageManagerIconHandle& hIcon, CSize sz = CSize(0, 0));
  void DrawMono(CDC* pDC, CPoint pt, CTKPImageManagerIconHandle& hIcon, COLORREF clr);

  static CSize GetIconExtent(HICON hIcon);
  // A copy of the icon scaled to the width (height kept in proportion); null for a zero size.
  static HICON ScaleToFit(HICON hIcon, CSize szIcon, int nWidth);

  void Serialize(CArchive& ar) override;

 private:
  friend class CTKPImageManagerIconSet;
  friend class CTKPImageManager;
  // Applies a pixel rule to a copy of the image: alpha bitmaps as they are, icons through their mask.
  template <class Rule>
  void Derive(CTKPImageManagerIconHandle& target, CTKPImageManagerIconHandle& source, Rule rule);

  UINT m_nID;
  int m_nWidth;
  int m_nHeight;
  CTKPImageManagerIconHandle m_hIcon, m_hFaded, m_hShadow, m_hHot, m_hChecked, m_hDisabled, m_hGeneratedDisabled;
  BOOL m_bScaled = FALSE;
  CTKPImageManagerIconSet* m_pIconSet;
  CTKPImageManagerImageList* m_pImageList = nullptr;
};

class CTKPImageManagerIconSet : public CCmdTarget {
 public:
  CTKPImageManagerIconSet(UINT nID, CTKPImageManager* pImageManager);
  ~CTKPImageManagerIconSet() override;

  UINT GetID() const { return m_nID; }
  CTKPImageManager* GetImageManager() const { return m_pImageManager; }
  CMap<int, int, CTKPImageManagerIcon*, CTKPImageManagerIcon*>& GetIcons() { return m_icons; }

  CTKPImageManagerIcon* GetIcon(int nWidth, BOOL bScaled = TRUE);
  CTKPImageManagerIcon* CreateIcon(int nWidth);
  void SetIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth);
  void SetDisabledIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth);
  void SetHotIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth);
  void SetCheckedIcon(const CTKPImageManagerIconHandle& hIcon, int nWidth);
  void RefreshAll();
  void RemoveAll();

 private:
  CMap<int, int, CTKPImageManagerIcon*, CTKPImageManagerIcon*> m_icons;
  UINT m_nID;
  CTKPImageManager* m_pImageManager;
};

// Images of an image list that serve as the icons of a run of command ids.
struct CTKPImageManagerImageList {
  HIMAGELIST hImageList = nullptr;
  BOOL bDestroy = FALSE;
  UINT nBaseCommand = 0;
  CMap<UINT, UINT, CTKPImageManagerIcon*, CTKPImageManagerIcon*> icons;
};

// The state images of an icon.
enum TKPImageState : int { tkpImageNormal = 0, tkpImageDisabled = 1, tkpImageHot = 2, tkpImageChecked = 3 };
inline bool TKPIsImageState(int nState) { return nState >= tkpImageNormal && nState <= tkpImageChecked; }

class CTKPImageManager : public CCmdTarget {
 public:
  // The user's own images are numbered after this, above every command id.
  static constexpr UINT kLastCommandImageId = 0x10AAA;

  CTKPImageManager();
  ~CTKPImageManager() override;

  void SetMaskColor(COLORREF clrMask) { m_clrMask = clrMask; }
  void SetRightToLeft(BOOL bRightToLeft) { m_bRightToLeft = bRightToLeft; }
  BOOL IsRightToLeft() const { return m_bRightToLeft; }
  BOOL IsAlphaIconsSupported() const { return m_pfnAlphaBlend != nullptr; }

  // nState: 0 normal, 1 disabled, 2 hot, 3 checked; these calls are FALSE for any other.
  BOOL SetIcon(const CTKPImageManagerIconHandle& hIcon, UINT nIDCommand, CSize szIcon = CSize(0, 0), int nState = 0);
  BOOL SetIconsFromImageList(CImageList* pImageList, const UINT* pCommands, int nCount, CSize szIcon, int nState = 0);
  BOOL SetIcons(HBITMAP hBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState, BOOL bAlpha);
  BOOL SetIconsFromResource(UINT nIDBitmap, const UINT* pCommands, int nCount, CSize szIcon, int nState = 0);
  BOOL SetIconsFromToolBar(UINT nIDToolBar, UINT nIDBitmap, int nState = 0);
  // The toolbar's own bitmap. The state has a type of its own, so that a call with two resource ids
  // takes the form above.
  BOOL SetIconsFromToolBar(UINT nIDToolBar, TKPImageState nState = tkpImageNormal) {
    return SetIconsFromToolBar(nIDToolBar, nIDToolBar, nState);
  }
  // The list's image i serves command nBaseCommand + i; the manager destroys the list when told.
  void AddImageList(HIMAGELIST hImageList, UINT nBaseCommand, BOOL bDestroy);
  UINT AddCustomIcon(const CTKPImageManagerIconHandle& hIcon);

  CTKPImageManagerIcon* GetImage(UINT nCommand, int nWidth = 16);
  CTKPImageManagerIconSet* GetIconSet(UINT nCommand) const;
  int GetIconSetCount() const { return m_iconSets.GetCount(); }
  void RefreshAll();
  void RemoveAll();

  void Serialize(CArchive& ar) override;
  void DoPropExchange(CTKPPropExchange* pPX);
  // Loading: FALSE when a damaged icon record ended a stream (the icons before it are kept); a damaged
  // record of its own, and icons stored under widths outside 1..256, are passed over.
  BOOL DoPropExchangeIcon(CTKPPropExchange* pPX, UINT nCommand);
  void SerializeIcons(UINT nCommand, CArchive& ar);
  // Puts the command's icons on the open clipboard; FALSE when nothing was put.
  BOOL CopyImage(UINT nCommand);
  // The new custom id of the icons in the clipboard data, or 0 (no data, or data we refuse).
  UINT PasteCustomImage(HGLOBAL hData);
  UINT GetLastCustomId() const { return m_nCustomID; }

  // 32-bit bitmap helpers. GetBitmapBits: the header (52-byte block) and the rows of a 32-bit bitmap.
  static BOOL GetBitmapBits(HBITMAP hBitmap, std::vector<BYTE>& info, std::vector<BYTE>& bits);
  // The rows of any bitmap as bottom-up 32-bit pixels (bAnyFormat FALSE: only of a 32-bit bitmap), and
  // back into the bitmap.
  static BOOL ReadBits32(HBITMAP hBitmap, BITMAPINFOHEADER* pHeader, std::vector<BYTE>& bits, BOOL bAnyFormat);
  static void WriteBits32(HBITMAP hBitmap, const BITMAPINFOHEADER& header, const std::vector<BYTE>& bits);
  static HBITMAP CopyAlphaBitmap(HBITMAP hBitmap);
  static BOOL SplitAlphaBitmap(HBITMAP hBitmap, int nCount, std::vector<HBITMAP>& pieces);
  static HBITMAP LoadAlphaBitmap(HMODULE hModule, UINT nIDBitmap);
  static BOOL IsAlphaBitmapResource(HMODULE hModule, UINT nIDBitmap);
  static HBITMAP PreMultiplyAlphaBitmap(HBITMAP hBitmap);
  static BOOL IsAlphaBitmapFile(LPCTSTR lpszPath);
  void AlphaBlendBitmap(HDC hDC, HBITMAP hBitmap, CRect rcDest, CRect rcSrc) const;
  // A bitmap of the record (validated when read), or null.
  static HBITMAP CreateBitmapFromRecord(const TKPBitmapRecord& record);
  // The record of a bitmap as 32 bits per pixel (the mask as 1 bit), or an empty record.
  static void MakeBitmapRecord(HBITMAP hBitmap, TKPBitmapRecord& record);

 private:
  friend class CTKPImageManagerIcon;
  CTKPImageManagerIconSet* EnsureIconSet(UINT nCommand);
  UINT NextCustomId();
  // The whole manager's sets, read and then filed; and the icons of one set, up to the first damaged
  // record (FALSE then).
  void LoadIconSets(CTKPSectionEnumerator* pSets);
  BOOL LoadIcons(CTKPPropExchange* pPX, CTKPImageManagerIconSet* pSet);

  using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
  COLORREF m_clrMask = static_cast<COLORREF>(-1);
  CMap<UINT, UINT, CTKPImageManagerIconSet*, CTKPImageManagerIconSet*> m_iconSets;
  std::vector<CTKPImageManagerImageList*> m_imageLists;
  UINT m_nCustomID = kLastCommandImageId;
  HMODULE m_hMsImg32 = nullptr;
  AlphaBlendFn m_pfnAlphaBlend = nullptr;
  BOOL m_bRightToLeft = FALSE;
};

// The process-wide manager; the clipboard formats are registered with it.
CTKPImageManager* TKPImageManager();
UINT TKPToolBarImageFormat();
UINT TKPAlphaBitmapFormat();
