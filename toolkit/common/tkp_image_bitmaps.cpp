// The image manager's 32-bit bitmap helpers: reading rows, copying, splitting, loading alpha bitmaps
// from resources and files, premultiplying, AlphaBlend, and the conversion to and from records.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "toolkit/common/tkp_icon_pixels.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_image_record.h"

namespace {

// A BITMAPINFO with room for the largest colour table (256 entries), so that GetDIBits never writes
// past it whatever the bitmap's format.
struct InfoBlock {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// A DIB header is acceptable when its extent is positive and bounded and its 32-bit pixel size fits.
bool Sane32(const BITMAPINFOHEADER& h, std::uint64_t* pBytes) {
  const std::int64_t height = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
  if (h.biWidth <= 0 || height == 0 || h.biWidth > 0x8000 || height > 0x8000) return false;
  *pBytes = static_cast<std::uint64_t>(h.biWidth) * static_cast<std::uint64_t>(height) * 4;
  return true;
}

HBITMAP CreateSection(const BITMAPINFOHEADER& header, void** ppBits) {
  InfoBlock info{};
  info.header = header;
  HDC screen = ::GetDC(nullptr);
  HBITMAP section = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, ppBits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  return section;
}

BITMAPINFOHEADER Header32(int width, int height) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = 32;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height < 0 ? -height : height) * 4;
  return h;
}

// The rows of any bitmap as 32-bit pixels (bottom-up), with its own header queried first.
bool Read32(HBITMAP hBitmap, int bitCount, BITMAPINFOHEADER* pHeader, std::vector<BYTE>& bits) {
  if (hBitmap == nullptr) return false;
  InfoBlock info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  HDC dc = ::CreateCompatibleDC(nullptr);
  bool ok = ::GetDIBits(dc, hBitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != 0;
  std::uint64_t bytes = 0;
  if (ok && Sane32(info.header, &bytes) && (bitCount != 0 || info.header.biBitCount == 32)) {
    const LONG height = info.header.biHeight < 0 ? -info.header.biHeight : info.header.biHeight;
    info.header = Header32(info.header.biWidth, height);
    if (bitCount == 1) info.header.biBitCount = 1;
    bits.assign(static_cast<size_t>(bytes), 0);
    ok = ::GetDIBits(dc, hBitmap, 0, static_cast<UINT>(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                     DIB_RGB_COLORS) != 0;
    *pHeader = info.header;
  } else {
    ok = false;
  }
  ::DeleteDC(dc);
  return ok;
}

}  // namespace

BOOL CTKPImageManager::ReadBits32(HBITMAP hBitmap, BITMAPINFOHEADER* pHeader, std::vector<BYTE>& bits, BOOL bAnyFormat) {
  return Read32(hBitmap, bAnyFormat ? 32 : 0, pHeader, bits);
}

void CTKPImageManager::WriteBits32(HBITMAP hBitmap, const BITMAPINFOHEADER& header, const std::vector<BYTE>& bits) {
  InfoBlock info{};
  info.header = header;
  HDC dc = ::CreateCompatibleDC(nullptr);
  const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  ::SetDIBits(dc, hBitmap, 0, static_cast<UINT>(rows), bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteDC(dc);
}

BOOL CTKPImageManager::GetBitmapBits(HBITMAP hBitmap, std::vector<BYTE>& info, std::vector<BYTE>& bits) {
  BITMAPINFOHEADER header{};
  if (!Read32(hBitmap, 0, &header, bits)) return FALSE;
  info.assign(kTKPRecordInfoSize, 0);
  std::memcpy(info.data(), &header, sizeof header);
  return TRUE;
}

HBITMAP CTKPImageManager::CopyAlphaBitmap(HBITMAP hBitmap) {
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;
  if (!Read32(hBitmap, 0, &header, bits)) return nullptr;
  void* target = nullptr;
  HBITMAP copy = CreateSection(header, &target);
  if (copy != nullptr) std::memcpy(target, bits.data(), bits.size());
  return copy;
}

BOOL CTKPImageManager::SplitAlphaBitmap(HBITMAP hBitmap, int nCount, std::vector<HBITMAP>& pieces) {
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;
  if (nCount <= 0 || !Read32(hBitmap, 0, &header, bits) || header.biWidth % nCount != 0) return FALSE;
  const int width = header.biWidth, pieceWidth = width / nCount;
  const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const BITMAPINFOHEADER pieceHeader = Header32(pieceWidth, header.biHeight);
  for (int k = 0; k < nCount; ++k) {
    void* target = nullptr;
    HBITMAP piece = CreateSection(pieceHeader, &target);
    if (piece == nullptr) {
      for (HBITMAP made : pieces) ::DeleteObject(made);
      pieces.clear();
      return FALSE;
    }
    for (int row = 0; row < rows; ++row) {
      std::memcpy(static_cast<BYTE*>(target) + static_cast<size_t>(row) * pieceWidth * 4,
                  bits.data() + (static_cast<size_t>(row) * width + static_cast<size_t>(k) * pieceWidth) * 4,
                  static_cast<size_t>(pieceWidth) * 4);
    }
    pieces.push_back(piece);
  }
  return TRUE;
}

// The resource's header, which may be longer than 40 bytes (the pixels follow it, after any masks).
static const BITMAPINFOHEADER* BitmapResource(HMODULE hModule, UINT nIDBitmap, DWORD* pSize) {
  HRSRC found = ::FindResourceW(hModule, MAKEINTRESOURCEW(nIDBitmap), MAKEINTRESOURCEW(2));
  HGLOBAL loaded = found != nullptr ? ::LoadResource(hModule, found) : nullptr;
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  *pSize = found != nullptr ? ::SizeofResource(hModule, found) : 0;
  if (data == nullptr || *pSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(data);
  return header->biSize >= sizeof(BITMAPINFOHEADER) && header->biSize <= *pSize ? header : nullptr;
}

BOOL CTKPImageManager::IsAlphaBitmapResource(HMODULE hModule, UINT nIDBitmap) {
  DWORD size = 0;
  const BITMAPINFOHEADER* header = BitmapResource(hModule, nIDBitmap, &size);
  return header != nullptr && header->biBitCount == 32;
}

HBITMAP CTKPImageManager::LoadAlphaBitmap(HMODULE hModule, UINT nIDBitmap) {
  DWORD size = 0;
  const BITMAPINFOHEADER* header = BitmapResource(hModule, nIDBitmap, &size);
  std::uint64_t bytes = 0;
  if (header == nullptr || header->biBitCount != 32 || !Sane32(*header, &bytes)) return nullptr;
  // Bit-field masks sit after a 40-byte header, or inside a longer one; only the plain byte order
  // (red, green, blue masks 0xFF0000, 0xFF00, 0xFF) is copied as it is.
  const bool fields = header->biCompression == BI_BITFIELDS;
  if (header->biCompression != BI_RGB && !fields) return nullptr;
  const std::uint64_t offset = header->biSize + (header->biSize == 40 && fields ? 12 : 0);
  if (offset + bytes > size) return nullptr;
  if (fields) {
    DWORD masks[3];
    std::memcpy(masks, reinterpret_cast<const BYTE*>(header) + 40, sizeof masks);
    if (masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF) return nullptr;
  }
  void* target = nullptr;
  HBITMAP section = CreateSection(Header32(header->biWidth, header->biHeight), &target);
  if (section != nullptr) std::memcpy(target, reinterpret_cast<const BYTE*>(header) + offset, static_cast<size_t>(bytes));
  return section;
}

BOOL CTKPImageManager::IsAlphaBitmapFile(LPCTSTR lpszPath) {
  HANDLE file = ::CreateFileW(lpszPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  BYTE headers[54];
  DWORD read = 0;
  const BOOL ok = ::ReadFile(file, headers, sizeof headers, &read, nullptr) && read == sizeof headers;
  ::CloseHandle(file);
  return ok && (headers[14 + 14] | headers[14 + 15] << 8) == 32;
}

HBITMAP CTKPImageManager::PreMultiplyAlphaBitmap(HBITMAP hBitmap) {
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;
  if (!Read32(hBitmap, 0, &header, bits)) return nullptr;
  TKPPremultiplyPixels(bits.data(), bits.size() / 4);
  void* target = nullptr;
  HBITMAP section = CreateSection(header, &target);
  if (section != nullptr) std::memcpy(target, bits.data(), bits.size());
  return section;
}

void CTKPImageManager::AlphaBlendBitmap(HDC hDC, HBITMAP hBitmap, CRect rcDest, CRect rcSrc) const {
  if (m_pfnAlphaBlend == nullptr || hBitmap == nullptr || rcDest.Width() <= 0 || rcDest.Height() <= 0) return;
  if (rcSrc.Width() == 0 && rcSrc.Height() == 0) rcSrc = CRect(0, 0, rcDest.Width(), rcDest.Height());
  HDC memory = ::CreateCompatibleDC(hDC);
  HGDIOBJ old = ::SelectObject(memory, hBitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  m_pfnAlphaBlend(hDC, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), memory, rcSrc.left, rcSrc.top,
                  rcSrc.Width(), rcSrc.Height(), blend);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

// Colour bitmaps are stored as 32 bits per pixel and masks as 1 bit, so the colour table of the
// record never needs more than its 12 bytes.
void CTKPImageManager::MakeBitmapRecord(HBITMAP hBitmap, TKPBitmapRecord& record) {
  record = TKPBitmapRecord();
  BITMAP bm{};
  if (hBitmap == nullptr || !::GetObjectW(hBitmap, sizeof bm, &bm)) return;
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;
  if (!Read32(hBitmap, bm.bmBitsPixel == 1 ? 1 : 32, &header, bits)) return;
  record.info.assign(kTKPRecordInfoSize, 0);
  std::memcpy(record.info.data(), &header, sizeof header);
  if (header.biBitCount == 1) {
    const RGBQUAD mono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    std::memcpy(record.info.data() + 40, mono, sizeof mono);
  }
  record.bits = std::move(bits);
}

HBITMAP CTKPImageManager::CreateBitmapFromRecord(const TKPBitmapRecord& record) {
  if (record.IsEmpty()) return nullptr;
  InfoBlock info{};
  std::memcpy(&info, record.info.data(), record.info.size());
  void* target = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP section = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &target, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (section == nullptr) return nullptr;
  DIBSECTION dib{};
  ::GetObjectW(section, sizeof dib, &dib);
  const size_t stride = ((static_cast<size_t>(dib.dsBm.bmWidth) * dib.dsBm.bmBitsPixel + 31) / 32) * 4;
  const size_t own = stride * static_cast<size_t>(dib.dsBm.bmHeight);
  std::memcpy(target, record.bits.data(), own < record.bits.size() ? own : record.bits.size());
  return section;
}
