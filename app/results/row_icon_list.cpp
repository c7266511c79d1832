#include "app/results/row_icon_list.h"

#include <commctrl.h>

#include <algorithm>

#include "app/results/row_icon_cell.h"

namespace {

// 32-bit pixels in top-down rows.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

// The icon's pixels read back as 32-bit top-down rows, with its mask.
bool ReadIcon(HICON icon, results::IconPixels* out) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return false;
  BITMAP shape = {};
  bool ok = info.hbmColor != nullptr && info.hbmMask != nullptr &&
            ::GetObjectW(info.hbmColor, sizeof shape, &shape) == sizeof shape && shape.bmWidth > 0 &&
            shape.bmHeight > 0 && shape.bmWidth <= 256 && shape.bmHeight <= 256;
  if (ok) {
    out->width = shape.bmWidth;
    out->height = shape.bmHeight;
    const size_t pixels = static_cast<size_t>(shape.bmWidth) * shape.bmHeight;
    out->colour.assign(pixels, 0);
    std::vector<uint32_t> mask(pixels, 0);
    BITMAPINFO format = TopDown32(shape.bmWidth, shape.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ok = ::GetDIBits(screen, info.hbmColor, 0, shape.bmHeight, out->colour.data(), &format, DIB_RGB_COLORS) ==
             shape.bmHeight &&
         ::GetDIBits(screen, info.hbmMask, 0, shape.bmHeight, mask.data(), &format, DIB_RGB_COLORS) == shape.bmHeight;
    ::ReleaseDC(nullptr, screen);
    out->transparent.assign(pixels, false);
    for (size_t i = 0; i < pixels; ++i) out->transparent[i] = (mask[i] & 0xFFFFFF) != 0;
  }
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return ok;
}

// The cell as a colour bitmap and a monochrome mask (rows padded to 16 bits, set where the row shows).
bool MakeCellBitmaps(const results::IconPixels& cell, HBITMAP* colour, HBITMAP* mask) {
  const BITMAPINFO format = TopDown32(cell.width, cell.height);
  void* bits = nullptr;
  *colour = ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  const int stride = (cell.width + 15) / 16 * 2;
  std::vector<uint8_t> maskBits(static_cast<size_t>(stride) * cell.height, 0);
  for (int y = 0; y < cell.height; ++y) {
    for (int x = 0; x < cell.width; ++x) {
      if (cell.transparent[static_cast<size_t>(y) * cell.width + x]) {
        maskBits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  *mask = ::CreateBitmap(cell.width, cell.height, 1, 1, maskBits.data());
  if (*colour != nullptr && bits != nullptr) {
    std::copy(cell.colour.begin(), cell.colour.end(), static_cast<uint32_t*>(bits));
    ::GdiFlush();
  }
  return *colour != nullptr && *mask != nullptr;
}

}  // namespace

bool RowIconList::Create(HIMAGELIST system) {
  m_system = system;
  m_cells.clear();
  // 32-bit colour keeps the icons' soft edges, and a selected row's icon is tinted as the shell's own list
  // tints it (with 16-bit colour it is drawn as a coarse dither).
  return m_images.Create(results::kRowIconCell, results::kRowIconCell, ILC_COLOR32 | ILC_MASK, 4, 1) != FALSE;
}

int RowIconList::CellOf(int systemIndex) {
  const auto known = m_cells.find(systemIndex);
  if (known != m_cells.end()) return known->second;
  const int cell = AddCell(systemIndex);
  m_cells[systemIndex] = cell;
  return cell;
}

int RowIconList::AddCell(int systemIndex) {
  if (m_images.GetSafeHandle() == nullptr || m_system == nullptr || systemIndex < 0 ||
      systemIndex >= ::ImageList_GetImageCount(m_system)) {
    return -1;
  }
  HICON icon = ::ImageList_GetIcon(m_system, systemIndex, ILD_NORMAL);
  if (icon == nullptr) return -1;
  results::IconPixels pixels;
  const bool read = ReadIcon(icon, &pixels);
  ::DestroyIcon(icon);
  if (!read) return -1;
  HBITMAP colour = nullptr, mask = nullptr;
  int cell = -1;
  if (MakeCellBitmaps(results::CentreInCell(pixels), &colour, &mask)) {
    cell = ::ImageList_Add(m_images.GetSafeHandle(), colour, mask);
  }
  if (colour != nullptr) ::DeleteObject(colour);
  if (mask != nullptr) ::DeleteObject(mask);
  return cell;
}
