// One icon of the image manager: its state images, the derived images and drawing.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_icon_pixels.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

// The 32-bit rows of a bitmap and a way to write them back.
struct Pixels32 {
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;

  bool Read(HBITMAP hBitmap) { return CTKPImageManager::ReadBits32(hBitmap, &header, bits, TRUE) != FALSE; }
  void Write(HBITMAP hBitmap) const { CTKPImageManager::WriteBits32(hBitmap, header, bits); }
  size_t Count() const { return bits.size() / 4; }
};

}  // namespace

// ---- handles ----

void CTKPImageManagerIconHandle::Clear() {
  if (m_bOwns) {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
  }
  if (m_hPreMultiplied != nullptr) ::DeleteObject(m_hPreMultiplied);
  m_hIcon = nullptr;
  m_hBitmap = nullptr;
  m_hPreMultiplied = nullptr;
}

void CTKPImageManagerIconHandle::SetIcon(HICON hIcon) {
  Clear();
  m_hIcon = hIcon;
  m_bOwns = TRUE;
}

void CTKPImageManagerIconHandle::SetBitmap(HBITMAP hBitmap) {
  // A copy, so that the caller keeps (and deletes) its own bitmap.
  AdoptBitmap(hBitmap != nullptr ? CTKPImageManager::CopyAlphaBitmap(hBitmap) : nullptr);
}

void CTKPImageManagerIconHandle::AdoptBitmap(HBITMAP hBitmap) {
  Clear();
  m_hBitmap = hBitmap;
  m_bOwns = TRUE;
}

void CTKPImageManagerIconHandle::SetHandle(const CTKPImageManagerIconHandle& other) {
  if (&other == this) return;
  if (other.m_hBitmap != nullptr) {
    SetBitmap(other.m_hBitmap);
  } else if (other.m_hIcon != nullptr) {
    SetIcon(::CopyIcon(other.m_hIcon));
  } else {
    Clear();
  }
}

CSize CTKPImageManagerIconHandle::GetExtent() const {
  if (m_hIcon != nullptr) return CTKPImageManagerIcon::GetIconExtent(m_hIcon);
  BITMAP bm{};
  if (m_hBitmap != nullptr && ::GetObjectW(m_hBitmap, sizeof bm, &bm)) return CSize(bm.bmWidth, bm.bmHeight);
  return CSize(0, 0);
}

BOOL CTKPImageManagerIconHandle::PreMultiply() {
  if (m_hPreMultiplied != nullptr) return TRUE;
  if (m_hIcon != nullptr) {
    ICONINFO ii{};
    if (::GetIconInfo(m_hIcon, &ii)) {
      m_hPreMultiplied = CTKPImageManager::PreMultiplyAlphaBitmap(ii.hbmColor);
      if (ii.hbmColor != nullptr) ::DeleteObject(ii.hbmColor);
      if (ii.hbmMask != nullptr) ::DeleteObject(ii.hbmMask);
    }
  } else if (m_hBitmap != nullptr) {
    m_hPreMultiplied = CTKPImageManager::PreMultiplyAlphaBitmap(m_hBitmap);
  }
  return m_hPreMultiplied != nullptr;
}

BOOL CTKPImageManagerIconHandle::LoadFromResource(HMODULE hModule, LPCTSTR lpszName, int nWidth, int nHeight,
                                                  BOOL bSearchGroup) {
  Clear();
  if (bSearchGroup) {
    HRSRC group = ::FindResourceW(hModule, lpszName, RT_GROUP_ICON);
    if (group != nullptr) {
      const DWORD size = ::SizeofResource(hModule, group);
      const auto* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, group)));
      if (dir == nullptr || size < 6) return FALSE;
      // The directory's entries are bounded by the resource's size, whatever its count says.
      const size_t count = dir[4] | dir[5] << 8;
      const size_t fits = (size - 6) / 14;
      for (size_t i = count < fits ? count : fits; i-- > 0;) {
        const BYTE* entry = dir + 6 + i * 14;
        const WORD id = static_cast<WORD>(entry[12] | entry[13] << 8);
        if (entry[0] == nWidth && entry[1] == nHeight &&
            LoadFromResource(hModule, MAKEINTRESOURCEW(id), nWidth, nHeight, FALSE)) {
          return TRUE;
        }
      }
      return FALSE;
    }
  }
  HRSRC found = ::FindResourceW(hModule, lpszName, RT_ICON);
  const DWORD size = found != nullptr ? ::SizeofResource(hModule, found) : 0;
  auto* data = found != nullptr ? static_cast<BYTE*>(::LockResource(::LoadResource(hModule, found))) : nullptr;
  if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) return FALSE;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  if (header->biBitCount == 32) {
    if (!TKPImageManager()->IsAlphaIconsSupported() || header->biSize != 40) return FALSE;
    const int width = header->biWidth, half = header->biHeight / 2;
    const unsigned long long bytes = static_cast<unsigned long long>(width) * static_cast<unsigned>(half) * 4;
    if (width <= 0 || half <= 0 || width > 256 || half > 256 || 40 + bytes > size) return FALSE;
    BITMAPINFO info{};
    info.bmiHeader = *header;
    info.bmiHeader.biHeight = half;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    void* target = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &target, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (section == nullptr) return FALSE;
    std::memcpy(target, data + 40, static_cast<size_t>(bytes));
    AdoptBitmap(section);
  } else {
    HICON icon = ::CreateIconFromResourceEx(data, size, TRUE, 0x30000, nWidth, nHeight, 0);
    if (icon != nullptr) SetIcon(icon);
  }
  return !IsEmpty();
}

// ---- icons ----

CTKPImageManagerIcon::CTKPImageManagerIcon(UINT nID, int nWidth, int nHeight, CTKPImageManagerIconSet* pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet) {}

CTKPImageManagerIcon::~CTKPImageManagerIcon() = default;

CTKPImageManager* CTKPImageManagerIcon::GetImageManager() const {
  return m_pIconSet != nullptr ? m_pIconSet->GetImageManager() : TKPImageManager();
}

void CTKPImageManagerIcon::Refresh() {
  m_hFaded.Clear();
  m_hShadow.Clear();
  m_hGeneratedDisabled.Clear();
}

void CTKPImageManagerIcon::SetIcon(const CTKPImageManagerIconHandle& hIcon) {
  for (CTKPImageManagerIconHandle* h : {&m_hFaded, &m_hShadow, &m_hHot, &m_hChecked, &m_hDisabled, &m_hGeneratedDisabled}) {
    h->Clear();
  }
  m_hIcon.SetHandle(hIcon);
  const CSize extent = m_hIcon.GetExtent();
  m_nWidth = extent.cx;
  m_nHeight = extent.cy;
  m_bScaled = FALSE;
  if (m_pIconSet != nullptr) m_pIconSet->RefreshAll();
}

void CTKPImageManagerIcon::SetHotIcon(const CTKPImageManagerIconHandle& hIcon) {
  Refresh();
  m_hHot.SetHandle(hIcon);
}
void CTKPImageManagerIcon::SetCheckedIcon(const CTKPImageManagerIconHandle& hIcon) {
  Refresh();
  m_hChecked.SetHandle(hIcon);
}
void CTKPImageManagerIcon::SetDisabledIcon(const CTKPImageManagerIconHandle& hIcon) {
  Refresh();
  m_hDisabled.SetHandle(hIcon);
}

template <class Rule>
void CTKPImageManagerIcon::Derive(CTKPImageManagerIconHandle& target, CTKPImageManagerIconHandle& source, Rule rule) {
  if (source.IsAlpha()) {
    target.SetHandle(source);
    Pixels32 pixels;
    if (pixels.Read(target.GetBitmap())) {
      rule(pixels.bits.data(), pixels.Count(), nullptr);
      pixels.Write(target.GetBitmap());
    }
    return;
  }
  ICONINFO ii{};
  if (source.GetIcon() == nullptr || !::GetIconInfo(source.GetIcon(), &ii)) return;
  Pixels32 color, mask;
  if (ii.hbmColor != nullptr && color.Read(ii.hbmColor) && mask.Read(ii.hbmMask) && mask.Count() >= color.Count()) {
    rule(color.bits.data(), color.Count(), mask.bits.data());
    color.Write(ii.hbmColor);
    target.SetIcon(::CreateIconIndirect(&ii));
  }
  if (ii.hbmColor != nullptr) ::DeleteObject(ii.hbmColor);
  if (ii.hbmMask != nullptr) ::DeleteObject(ii.hbmMask);
}

CTKPImageManagerIconHandle& CTKPImageManagerIcon::GetFadedIcon() {
  if (m_hFaded.IsEmpty()) {
    const bool lowResolution = !m_hIcon.IsAlpha() && CTKPDrawHelpers::IsLowResolution();
    Derive(m_hFaded, m_hIcon, [&](BYTE* bits, size_t count, const BYTE* mask) {
      if (!lowResolution) TKPFadePixels(bits, count, mask);
    });
  }
  return m_hFaded;
}

CTKPImageManagerIconHandle& CTKPImageManagerIcon::GetShadowIcon() {
  if (m_hShadow.IsEmpty()) {
    const COLORREF shadow = TKPShadowColor(TKPColorManager()->GetColor(31));
    Derive(m_hShadow, GetHotIcon(), [&](BYTE* bits, size_t count, const BYTE* mask) {
      TKPShadowPixels(bits, count, shadow, mask);
    });
  }
  return m_hShadow;
}

void CTKPImageManagerIcon::CreateDisabledIcon(COLORREF clrLight, COLORREF clrDark) {
  if (!m_hGeneratedDisabled.IsEmpty()) return;
  Derive(m_hGeneratedDisabled, m_hIcon, [&](BYTE* bits, size_t count, const BYTE* mask) {
    TKPDisabledPixels(bits, count, clrLight, clrDark, mask);
  });
}

CTKPImageManagerIconHandle& CTKPImageManagerIcon::GetDisabledIcon(BOOL bBuild) {
  if (!m_hDisabled.IsEmpty()) return m_hDisabled;
  if (m_hGeneratedDisabled.IsEmpty() && bBuild) CreateDisabledIcon();
  return m_hGeneratedDisabled;
}

void CTKPImageManagerIcon::Draw(CDC* pDC, CPoint pt, CTKPImageManagerIconHandle& hIcon, CSize sz) {
  if (m_nWidth <= 0 || m_nHeight <= 0) return;  // an icon without extent draws nothing
  const int cx = sz.cx != 0 ? sz.cx : m_nWidth;
  const int cy = sz.cy != 0 ? sz.cy : m_nHeight * cx / m_nWidth;
  if (m_pImageList != nullptr) {
    ::ImageList_DrawEx(m_pImageList->hImageList, static_cast<int>(m_nID - m_pImageList->nBaseCommand), pDC->m_hDC, pt.x,
                       pt.y, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    return;
  }
  if (hIcon.IsEmpty()) return;
  if (!hIcon.IsAlpha()) {
    if (GetImageManager()->IsRightToLeft()) {
      ::DrawIconEx(pDC->m_hDC, pt.x + cx, pt.y, hIcon.GetIcon(), -cx, cy, 0, nullptr, DI_NORMAL);
    } else {
      ::DrawIconEx(pDC->m_hDC, pt.x, pt.y, hIcon.GetIcon(), cx, cy, 0, nullptr, DI_NORMAL);
    }
    return;
  }
  if (hIcon.PreMultiply()) {
    TKPImageManager()->AlphaBlendBitmap(pDC->m_hDC, hIcon.GetPreMultiplied(), CRect(pt.x, pt.y, pt.x + cx, pt.y + cy),
                                        CRect(0, 0, m_nWidth, m_nHeight));
  }
}

void CTKPImageManagerIcon::DrawMono(CDC* pDC, CPoint pt, CTKPImageManagerIconHandle& hIcon, COLORREF clr) {
  if (hIcon.IsAlpha() || hIcon.IsEmpty() || m_nWidth <= 0 || m_nHeight <= 0) return;
  HBRUSH brush = ::CreateSolidBrush(clr);
  if (GetImageManager()->IsRightToLeft()) {
    HDC memory = ::CreateCompatibleDC(pDC->m_hDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(pDC->m_hDC, m_nWidth, m_nHeight);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::PatBlt(memory, 0, 0, m_nWidth, m_nHeight, WHITENESS);
    ::DrawIconEx(memory, 0, 0, hIcon.GetIcon(), m_nWidth, m_nHeight, 0, nullptr, DI_NORMAL);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DrawStateW(pDC->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, pt.x, pt.y, m_nWidth, m_nHeight,
                 DST_BITMAP | DSS_MONO);
    ::DeleteObject(bitmap);
  } else {
    ::DrawStateW(pDC->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(hIcon.GetIcon()), 0, pt.x, pt.y, 0, 0,
                 DST_ICON | DSS_MONO);
  }
  ::DeleteObject(brush);
}

CSize CTKPImageManagerIcon::GetIconExtent(HICON hIcon) {
  ICONINFO ii{};
  if (hIcon == nullptr || !::GetIconInfo(hIcon, &ii)) return CSize(0, 0);
  BITMAP bm{};
  CSize extent(0, 0);
  if (ii.hbmMask != nullptr && ::GetObjectW(ii.hbmMask, sizeof bm, &bm)) {
    extent = CSize(bm.bmWidth, ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2);
  }
  if (ii.hbmColor != nullptr) ::DeleteObject(ii.hbmColor);
  if (ii.hbmMask != nullptr) ::DeleteObject(ii.hbmMask);
  return extent;
}

HICON CTKPImageManagerIcon::ScaleToFit(HICON hIcon, CSize szIcon, int nWidth) {
  if (hIcon == nullptr || nWidth <= 0 || szIcon.cx <= 0 || szIcon.cy <= 0) return nullptr;
  if (nWidth == szIcon.cx) return ::CopyIcon(hIcon);
  HIMAGELIST list = ::ImageList_Create(nWidth, ::MulDiv(szIcon.cy, nWidth, szIcon.cx), ILC_COLOR32 | ILC_MASK, 0, 1);
  if (list == nullptr) return nullptr;
  HICON scaled = ::ImageList_ReplaceIcon(list, -1, hIcon) >= 0 ? ::ImageList_GetIcon(list, 0, ILD_NORMAL) : nullptr;
  ::ImageList_Destroy(list);
  return scaled;
}
