#include "app/results/row_icon_list.h"

#include <commctrl.h>

#include <vector>

#include "app/results/row_icon_cell.h"
#include "ui/draw/gdi_pixels.h"

namespace {

// The icon's pixels and its mask (white where the row shows through).
bool ReadIcon(HICON icon, results::IconPixels* out) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return false;
  const draw::PixelBuffer colour = info.hbmColor != nullptr ? draw::ReadBitmap(info.hbmColor) : draw::PixelBuffer();
  const draw::PixelBuffer mask = info.hbmMask != nullptr ? draw::ReadBitmap(info.hbmMask) : draw::PixelBuffer();
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  if (colour.Empty() || mask.Width() != colour.Width() || mask.Height() != colour.Height()) return false;
  out->width = colour.Width();
  out->height = colour.Height();
  out->colour = colour.Pixels();
  out->transparent.assign(out->colour.size(), false);
  for (size_t i = 0; i < out->transparent.size(); ++i) out->transparent[i] = (mask.Pixels()[i] & 0xFFFFFF) != 0;
  return true;
}

// The cell as a colour bitmap and a monochrome mask (rows padded to 16 bits, set where the row shows).
bool MakeCellBitmaps(const results::IconPixels& cell, HBITMAP* colour, HBITMAP* mask) {
  draw::PixelBuffer pixels(cell.width, cell.height);
  if (!pixels.Empty()) pixels.Pixels() = cell.colour;
  *colour = draw::CreateSectionFrom(pixels);
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
