// The image manager on the real system: icons from the program's toolbar resource and from image
// lists, state images and scaled icons, alpha drawing, the archive form and the clipboard copy and
// paste. The gallery of the toolbar's icons (normal, faded, shadowed, disabled) goes to
// screenshots/toolkit_images.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "platform/classlib/win/cimagelist.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_image_record.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/tkp_prop_values.h"
#include "toolkit/common/tkp_prop_exchange_registry.h"

namespace {

// The icon the manager holds for a command, checked after the manager's own exit handler has run: exit
// handlers run last-registered first, and this one is registered before the manager exists.
HICON g_heldAtExit = nullptr;
void CheckTheManagerLetItsIconsGo() {
  ICONINFO info{};
  if (g_heldAtExit != nullptr && ::GetIconInfo(g_heldAtExit, &info)) {
    std::fputs("The image manager still held its icons at exit\n", stderr);
    std::_Exit(3);
  }
}
const int g_exitCheckRegistered = std::atexit(CheckTheManagerLetItsIconsGo);

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ToolkitImages")) {}
};
TestApp theApp;

const UINT kToolCommands[] = {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_LOAD_SNAPSHOT,
                              ID_FIND_FILES, ID_SETTINGS,        ID_HELP};

// A 32-bit top-down bitmap of the size, every pixel the BGRA value.
HBITMAP AlphaBitmap(int width, int height, DWORD bgra) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (int i = 0; i < width * height; ++i) static_cast<DWORD*>(bits)[i] = bgra;
  return bitmap;
}

// An icon of any width and height, every pixel of the colour.
HICON SizedIcon(int cx, int cy, COLORREF colour) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP color = ::CreateCompatibleBitmap(screen, cx, cy);
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, color);
  RECT r{0, 0, cx, cy};
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
  ::SelectObject(dc, mask);
  ::PatBlt(dc, 0, 0, cx, cy, BLACKNESS);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ICONINFO ii{TRUE, 0, 0, mask, color};
  HICON icon = ::CreateIconIndirect(&ii);
  ::DeleteObject(color);
  ::DeleteObject(mask);
  return icon;
}

HICON ColourIcon(int size, COLORREF colour) { return SizedIcon(size, size, colour); }

// Draws the handle of the icon on white and reads the pixel back.
COLORREF DrawnPixel(CTKPImageManagerIcon* icon, CTKPImageManagerIconHandle& handle, int x, int y, CSize size = CSize()) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HBITMAP target = AlphaBitmap(64, 64, 0x00FFFFFF);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, target);
  icon->Draw(&dc, CPoint(0, 0), handle, size);
  const COLORREF c = ::GetPixel(dc.m_hDC, x, y);
  ::SelectObject(dc.m_hDC, old);
  ::DeleteObject(target);
  return c;
}

TEST(ImageManager, ToolbarResourceFilesOneIconPerCommand) {
  CTKPImageManager images;
  ASSERT_TRUE(images.SetIconsFromToolBar(IDR_MAINFRAME));
  EXPECT_EQ(images.GetIconSetCount(), 7);
  HBITMAP strip = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  BITMAP bm{};
  ::GetObjectW(strip, sizeof bm, &bm);
  ::DeleteObject(strip);
  CTKPImageManagerIcon* icon = images.GetImage(ID_HELP, bm.bmWidth / 7);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->GetWidth(), bm.bmWidth / 7);
  EXPECT_FALSE(icon->IsScaled());
  EXPECT_EQ(images.GetImage(ID_EDIT_UNDO, 16), nullptr);
  // The edit menu's toolbar: 16-pixel icons.
  ASSERT_TRUE(images.SetIconsFromToolBar(IDR_TK_EDIT_TOOLBAR));
  ASSERT_NE(images.GetImage(ID_EDIT_PASTE, 16), nullptr);
  EXPECT_EQ(images.GetImage(ID_EDIT_PASTE, 16)->GetHeight(), 15);
  // Its commands with the images of another bitmap, both named by resource ids; no state beyond checked.
  CTKPImageManager other;
  ASSERT_TRUE(other.SetIconsFromToolBar(IDR_TK_EDIT_TOOLBAR, IDB_DATABASE_TREE));
  EXPECT_NE(other.GetImage(ID_EDIT_PASTE, 16), nullptr);
  EXPECT_FALSE(other.SetIconsFromToolBar(IDR_TK_EDIT_TOOLBAR, IDB_DATABASE_TREE, 4));
}

TEST(ImageManager, ZeroCountsAndExtentsFailOrDrawNothing) {
  CTKPImageManager images;
  EXPECT_FALSE(images.SetIconsFromResource(IDR_MAINFRAME, nullptr, 0, CSize(0, 0)));
  HBITMAP strip = AlphaBitmap(40, 16, 0xFF00FF00);
  const UINT ids[] = {1, 2, 3};
  EXPECT_FALSE(images.SetIcons(strip, ids, 3, CSize(0, 16), 0, TRUE));
  EXPECT_FALSE(images.SetIcons(strip, ids, 3, CSize(16, 16), 0, TRUE));  // 40 is not a multiple of 16
  EXPECT_TRUE(images.SetIcons(strip, ids, 3, CSize(20, 16), 0, TRUE));   // two pieces for three ids
  EXPECT_EQ(images.GetIconSetCount(), 2);
  ::DeleteObject(strip);
  // A strip without alpha on its mask colour: the caller's bitmap keeps that colour.
  HBITMAP masked = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_DATABASE_TREE));
  EXPECT_TRUE(images.SetIcons(masked, ids, 3, CSize(16, 16), 0, FALSE));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, masked);
  EXPECT_EQ(::GetPixel(dc.m_hDC, 0, 0), RGB(255, 0, 255));
  ::SelectObject(dc.m_hDC, old);
  ::DeleteObject(masked);
  EXPECT_FALSE(images.SetIcon(CTKPImageManagerIconHandle(), 4));
  CTKPImageManagerIcon empty(5, 0, 0, nullptr);
  HBITMAP alpha = AlphaBitmap(16, 16, 0xFF000000);
  CTKPImageManagerIconHandle handle(alpha);
  EXPECT_EQ(DrawnPixel(&empty, handle, 2, 2), RGB(255, 255, 255));
  ::DeleteObject(alpha);
}

TEST(ImageManager, IconResourcesLoadBySizeFromTheirDirectory) {
  CTKPImageManagerIconHandle handle;
  ASSERT_TRUE(handle.LoadFromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), 32, 32, TRUE));
  EXPECT_EQ(handle.GetExtent(), CSize(32, 32));
  EXPECT_FALSE(handle.LoadFromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME), 17, 17, TRUE));
  EXPECT_TRUE(handle.IsEmpty());
  EXPECT_FALSE(handle.LoadFromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(4711), 16, 16, TRUE));
}

TEST(ImageManager, ImageListsStatesCustomIdsAndScaledIcons) {
  CTKPImageManager images;
  CImageList list;
  ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 5, 1));
  for (int i = 0; i < 5; ++i) {
    HICON icon = ColourIcon(16, RGB(40 * i, 0, 0));
    list.Add(icon);
    ::DestroyIcon(icon);
  }
  const UINT ids[] = {101, 102, 0, 103, 104, 105};
  ASSERT_TRUE(images.SetIconsFromImageList(&list, ids, 6, CSize(0, 0)));
  EXPECT_EQ(images.GetIconSetCount(), 5);  // the zero id used no image
  EXPECT_EQ(images.GetImage(0, 16), nullptr);

  HICON red = ColourIcon(16, RGB(255, 0, 0));
  EXPECT_FALSE(images.SetIcon(red, 900, CSize(0, 0), 2));  // a hot image needs the normal one first
  EXPECT_TRUE(images.SetIcon(red, 900));
  EXPECT_TRUE(images.SetIcon(red, 900, CSize(0, 0), 2));
  EXPECT_EQ(images.AddCustomIcon(red), 0x10AABu);
  EXPECT_EQ(images.AddCustomIcon(red), 0x10AACu);

  CTKPImageManagerIcon* scaled = images.GetImage(900, 24);
  ASSERT_NE(scaled, nullptr);
  EXPECT_TRUE(scaled->IsScaled());
  EXPECT_EQ(scaled->GetWidth(), 24);
  EXPECT_EQ(scaled->GetHeight(), 24);
  EXPECT_EQ(images.GetImage(900, 24), scaled);
  CTKPImageManagerIcon* other = images.GetImage(900, 32);  // drops the 24
  EXPECT_TRUE(other->IsScaled());
  EXPECT_EQ(images.GetIconSet(900)->GetIcons().GetCount(), 2);
  EXPECT_FALSE(images.GetIconSet(900)->GetIcons().Lookup(24, scaled));
  ::DestroyIcon(red);

  // An image list added as an entry serves its run of ids.
  CImageList* entry = new CImageList;
  entry->Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
  HICON blue = ColourIcon(16, RGB(0, 0, 255));
  entry->Add(blue);
  ::DestroyIcon(blue);
  images.AddImageList(entry->Detach(), 5000, TRUE);
  delete entry;
  CTKPImageManagerIcon* listed = images.GetImage(5000, 16);
  ASSERT_NE(listed, nullptr);
  EXPECT_EQ(DrawnPixel(listed, listed->GetIcon(), 8, 8), RGB(0, 0, 255));
  EXPECT_EQ(images.GetImage(5001, 16), nullptr);
}

TEST(ImageManager, AlphaIconsDrawBlendedAndDeriveTheirImages) {
  CTKPImageManager images;
  ASSERT_TRUE(images.IsAlphaIconsSupported());
  HBITMAP half = AlphaBitmap(16, 16, 0x80FF0000);  // red at half alpha
  ASSERT_TRUE(images.SetIcon(half, 7));
  ::DeleteObject(half);
  CTKPImageManagerIcon* icon = images.GetImage(7, 16);
  ASSERT_TRUE(icon->IsAlpha());
  const COLORREF drawn = DrawnPixel(icon, icon->GetIcon(), 4, 4);
  EXPECT_NEAR(GetRValue(drawn), 255, 2);
  EXPECT_NEAR(GetGValue(drawn), 127, 2);
  EXPECT_EQ(DrawnPixel(icon, icon->GetIcon(), 20, 4), RGB(255, 255, 255));
  // Drawn at (32, 0): 32 by 32.
  EXPECT_NEAR(GetGValue(DrawnPixel(icon, icon->GetIcon(), 30, 30, CSize(32, 0))), 127, 2);
  EXPECT_EQ(images.GetImage(7, 24), icon);  // alpha icons are not scaled

  HBITMAP black = AlphaBitmap(16, 16, 0xFF000000);
  images.SetIcon(black, 8);
  ::DeleteObject(black);
  CTKPImageManagerIcon* dark = images.GetImage(8, 16);
  EXPECT_EQ(DrawnPixel(dark, dark->GetFadedIcon(), 3, 3), RGB(76, 76, 76));
  EXPECT_EQ(DrawnPixel(dark, dark->GetDisabledIcon(), 3, 3), RGB(0, 0, 0));
  EXPECT_FALSE(dark->GetShadowIcon().IsEmpty());
  EXPECT_TRUE(dark->GetDisabledIcon(FALSE).IsAlpha());
}

// An icon whose left half is the colour and whose right half is transparent.
HICON LeftHalfIcon(int size, COLORREF colour) {
  HICON whole = ColourIcon(size, colour);
  ICONINFO ii{};
  ::GetIconInfo(whole, &ii);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, ii.hbmMask);
  ::PatBlt(dc, size / 2, 0, size - size / 2, size, WHITENESS);  // the right half shows what lies below
  ::SelectObject(dc, ii.hbmColor);
  ::PatBlt(dc, size / 2, 0, size - size / 2, size, BLACKNESS);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  HICON half = ::CreateIconIndirect(&ii);
  ::DeleteObject(ii.hbmColor);
  ::DeleteObject(ii.hbmMask);
  ::DestroyIcon(whole);
  return half;
}

TEST(ImageManager, MonoSilhouetteKeepsItsSidesRightToLeftAsWell) {
  for (BOOL rightToLeft : {FALSE, TRUE}) {
    CTKPImageManager images;
    images.SetRightToLeft(rightToLeft);
    HICON icon = LeftHalfIcon(16, RGB(200, 0, 0));
    ASSERT_TRUE(images.SetIcon(icon, 21));
    ::DestroyIcon(icon);
    CTKPImageManagerIcon* image = images.GetImage(21, 16);
    ASSERT_NE(image, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HBITMAP target = AlphaBitmap(32, 32, 0x00FFFFFF);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, target);
    image->DrawMono(&dc, CPoint(4, 4), image->GetIcon(), RGB(0, 0, 160));
    EXPECT_EQ(::GetPixel(dc.m_hDC, 4 + 3, 4 + 8), RGB(0, 0, 160)) << rightToLeft;
    EXPECT_EQ(::GetPixel(dc.m_hDC, 4 + 12, 4 + 8), RGB(255, 255, 255)) << rightToLeft;
    EXPECT_EQ(::GetPixel(dc.m_hDC, 2, 8), RGB(255, 255, 255)) << rightToLeft;
    ::SelectObject(dc.m_hDC, old);
    ::DeleteObject(target);
  }
}

// The whole manager through its archive form into another.
void RoundTrip(CTKPImageManager& from, CTKPImageManager& to) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    from.Serialize(ar);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  to.Serialize(ar);
}

TEST(ImageManager, ArchiveFormKeepsAlphaAndSkipsScaledIcons) {
  CTKPImageManager images;
  HBITMAP alpha = AlphaBitmap(16, 16, 0xFF00FF00);
  images.SetIcon(alpha, 11);
  ::DeleteObject(alpha);
  HICON red = ColourIcon(16, RGB(255, 0, 0));
  images.SetIcon(red, 12);
  ::DestroyIcon(red);
  images.GetImage(12, 24);  // a scaled icon, not stored
  CTKPImageManager loaded;
  RoundTrip(images, loaded);
  EXPECT_EQ(loaded.GetIconSetCount(), 2);
  EXPECT_EQ(loaded.GetIconSet(12)->GetIcons().GetCount(), 1);
  CTKPImageManagerIcon* green = loaded.GetImage(11, 16);
  ASSERT_NE(green, nullptr);
  EXPECT_TRUE(green->IsAlpha());
  EXPECT_EQ(DrawnPixel(green, green->GetIcon(), 5, 5), RGB(0, 255, 0));
  CTKPImageManagerIcon* masked = loaded.GetImage(12, 16);
  EXPECT_FALSE(masked->IsAlpha());
  EXPECT_EQ(DrawnPixel(masked, masked->GetIcon(), 5, 5), RGB(255, 0, 0));
}

// Icons wider or taller than an icon record may be are not written, by the archive or the clipboard:
// loading refuses their record and ends the stream there, which lost every icon after them.
TEST(ImageManager, IconsLargerThanARecordAreNotWrittenAndTheOthersLoad) {
  CTKPImageManager images;
  const int sizes[] = {16, 300, 24, 257, 256};
  for (int i = 0; i < 5; ++i) {
    HICON icon = ColourIcon(sizes[i], RGB(0, 0, 255));
    ASSERT_TRUE(images.SetIcon(icon, 21));
    ASSERT_TRUE(images.SetIcon(icon, static_cast<UINT>(31 + i)));
    ::DestroyIcon(icon);
  }
  ASSERT_NE(images.GetImage(21, 300), nullptr);
  CTKPImageManager loaded;
  RoundTrip(images, loaded);
  EXPECT_EQ(loaded.GetIconSet(21)->GetIcons().GetCount(), 3);
  for (int i = 0; i < 5; ++i) {
    const bool fits = sizes[i] <= 256;
    CTKPImageManagerIconSet* set = loaded.GetIconSet(static_cast<UINT>(31 + i));
    EXPECT_EQ(set != nullptr && set->GetIcons().GetCount() == 1, fits) << sizes[i];
    CTKPImageManagerIcon* icon = nullptr;
    EXPECT_EQ(loaded.GetIconSet(21)->GetIcons().Lookup(sizes[i], icon) != FALSE, fits) << sizes[i];
  }
  // The icons of a command copied and pasted: those a record can hold come back.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    images.SerializeIcons(21, ar);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CTKPImageManager pasted;
  pasted.SerializeIcons(21, ar);
  EXPECT_EQ(pasted.GetIconSet(21)->GetIcons().GetCount(), 3);
}

// The icons of a command in the registry: one icon's record damaged is passed over, and the command's
// other icon and the other commands still load.
TEST(ImageManager, ADamagedIconRecordOfItsOwnIsPassedOverAndTheRestLoads) {
  const wchar_t* root = L"Software\\Dorvane\\ImageManagerTest";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, root);
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, root, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  {
    CTKPImageManager images;
    HICON small = ColourIcon(16, RGB(255, 0, 0)), large = ColourIcon(32, RGB(0, 0, 255)),
          other = ColourIcon(16, RGB(0, 128, 0));
    ASSERT_TRUE(images.SetIcon(small, 5));
    ASSERT_TRUE(images.SetIcon(large, 5));
    ASSERT_TRUE(images.SetIcon(other, 6));
    for (HICON icon : {small, large, other}) ::DestroyIcon(icon);
    ASSERT_EQ(images.GetIconSet(5)->GetIcons().GetCount(), 2);
    CTKPPropExchangeRegistry px(FALSE, key, L"Images");
    images.DoPropExchange(&px);
  }
  // Cut the record of the first stored icon of command 5 short.
  const std::wstring path = L"Images\\IconSet0\\Icon0";
  DWORD size = 0;
  ASSERT_EQ(::RegGetValueW(key, path.c_str(), L"Data", RRF_RT_REG_SZ, nullptr, nullptr, &size), ERROR_SUCCESS);
  std::vector<wchar_t> text(size / 2 + 1, 0);
  ASSERT_EQ(::RegGetValueW(key, path.c_str(), L"Data", RRF_RT_REG_SZ, nullptr, text.data(), &size), ERROR_SUCCESS);
  const std::wstring record(text.data());
  ASSERT_GT(record.size(), 200u);
  const std::wstring half = record.substr(0, record.size() / 4 * 2);  // whole bytes, half of them
  ::RegSetKeyValueW(key, path.c_str(), L"Data", REG_SZ, half.c_str(), static_cast<DWORD>((half.size() + 1) * 2));
  DWORD id = 0, idSize = sizeof id;
  ASSERT_EQ(::RegGetValueW(key, L"Images\\IconSet0", L"Id", RRF_RT_REG_DWORD, nullptr, &id, &idSize), ERROR_SUCCESS);
  DWORD width = 16, widthSize = sizeof width;  // a width of 16 is the default, not stored
  ::RegGetValueW(key, path.c_str(), L"Width", RRF_RT_REG_DWORD, nullptr, &width, &widthSize);

  CTKPImageManager loaded;
  {
    CTKPPropExchangeRegistry px(TRUE, key, L"Images");
    loaded.DoPropExchange(&px);
  }
  ::RegCloseKey(key);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, root);
  ASSERT_EQ(loaded.GetIconSetCount(), 2);
  CTKPImageManagerIconSet* damagedSet = loaded.GetIconSet(id);
  ASSERT_NE(damagedSet, nullptr);
  EXPECT_EQ(damagedSet->GetIcons().GetCount(), id == 5 ? 1 : 0);
  CTKPImageManagerIcon* damaged = nullptr;
  EXPECT_FALSE(damagedSet->GetIcons().Lookup(static_cast<int>(width), damaged));
  const UINT otherId = id == 5 ? 6 : 5;
  CTKPImageManagerIcon* sound = loaded.GetImage(otherId, 16);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(DrawnPixel(sound, sound->GetIcon(), 5, 5), otherId == 6 ? RGB(0, 128, 0) : RGB(255, 0, 0));
  const int soundWidth = width == 16 ? 32 : 16;
  CTKPImageManagerIcon* sibling = nullptr;
  if (id == 5 && damagedSet->GetIcons().Lookup(soundWidth, sibling)) {
    EXPECT_FALSE(sibling->GetIcon().IsEmpty());
    EXPECT_EQ(DrawnPixel(sibling, sibling->GetIcon(), 5, 5), soundWidth == 32 ? RGB(0, 0, 255) : RGB(255, 0, 0));
  }
}

TEST(ImageManager, ClipboardCopyPastesAsNewCustomIcons) {
  CTKPImageManager images;
  HICON red = ColourIcon(16, RGB(255, 0, 0));
  images.SetIcon(red, 40);
  ::DestroyIcon(red);
  HBITMAP alpha = AlphaBitmap(24, 24, 0xFFFF0000);
  images.SetIcon(alpha, 40);
  ::DeleteObject(alpha);

  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ASSERT_TRUE(images.CopyImage(40));
  ::CloseClipboard();
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HGLOBAL data = ::GetClipboardData(TKPToolBarImageFormat());
  ASSERT_NE(data, nullptr);
  const UINT first = images.PasteCustomImage(data);
  const UINT second = images.PasteCustomImage(data);
  EXPECT_EQ(first, 0x10AABu);
  EXPECT_EQ(second, 0x10AACu);
  for (UINT id : {first, second}) {
    ASSERT_NE(images.GetIconSet(id), nullptr);
    EXPECT_EQ(images.GetIconSet(id)->GetIcons().GetCount(), 2);
    CTKPImageManagerIcon* icon = images.GetImage(id, 24);
    EXPECT_TRUE(icon->IsAlpha());
    EXPECT_EQ(DrawnPixel(icon, icon->GetIcon(), 2, 2), RGB(255, 0, 0));
  }

  // A stream of another program: its checksum is wrong, the paste fails and nothing stays.
  const SIZE_T size = ::GlobalSize(data);
  HGLOBAL foreign = ::GlobalAlloc(GMEM_MOVEABLE, size);
  auto* bytes = static_cast<BYTE*>(::GlobalLock(foreign));
  std::memcpy(bytes, ::GlobalLock(data), size);
  ::GlobalUnlock(data);
  bytes[6] = 'X';  // inside the "CheckSum" text
  ::GlobalUnlock(foreign);
  EXPECT_EQ(images.PasteCustomImage(foreign), 0u);
  // A truncated one fails too.
  HGLOBAL cut = ::GlobalAlloc(GMEM_MOVEABLE, 60);
  std::memcpy(::GlobalLock(cut), ::GlobalLock(data), 60);
  ::GlobalUnlock(cut);
  ::GlobalUnlock(data);
  EXPECT_EQ(images.PasteCustomImage(cut), 0u);
  // A sound stream inside a block far larger than any icon set is refused before it is copied.
  constexpr SIZE_T kHuge = (16u << 20) + 1;
  HGLOBAL huge = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kHuge);
  ASSERT_NE(huge, nullptr);
  std::memcpy(::GlobalLock(huge), ::GlobalLock(data), size);
  ::GlobalUnlock(huge);
  ::GlobalUnlock(data);
  EXPECT_EQ(images.PasteCustomImage(huge), 0u);
  EXPECT_EQ(images.GetIconSetCount(), 3);
  ::GlobalFree(foreign);
  ::GlobalFree(cut);
  ::GlobalFree(huge);
  ::CloseClipboard();
}

// The icons of one command in their archive form, as the clipboard carries them.
std::vector<BYTE> IconsBytes(CTKPImageManager& images, UINT id) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    images.SerializeIcons(id, ar);
    ar.Close();
  }
  std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

UINT Paste(CTKPImageManager& images, const std::vector<BYTE>& bytes) {
  HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(data), bytes.data(), bytes.size());
  ::GlobalUnlock(data);
  const UINT id = images.PasteCustomImage(data);
  ::GlobalFree(data);
  return id;
}

// A pasted icon whose record claims a height far beyond its image is drawn at the image's own size,
// and stored ids at the top of the range leave no custom id rather than one that wraps to 0.
TEST(ImageManager, StoredHeightsAndIdsAreCheckedWhenLoaded) {
  CTKPImageManager images;
  HICON red = ColourIcon(16, RGB(255, 0, 0));
  ASSERT_TRUE(images.SetIcon(red, 40));
  ::DestroyIcon(red);
  std::vector<BYTE> bytes = IconsBytes(images, 40);
  // The icon record starts with its height and schema (16 each), then the 52-byte header's count.
  const BYTE record[] = {16, 0, 0, 0, 16, 0, 0, 0, 52, 0};
  auto at = std::search(bytes.begin(), bytes.end(), std::begin(record), std::end(record));
  ASSERT_NE(at, bytes.end());
  at[0] = 0xE8;  // 1000
  at[1] = 0x03;
  const UINT pasted = Paste(images, bytes);
  ASSERT_NE(pasted, 0u);
  CTKPImageManagerIcon* icon = images.GetImage(pasted, 16);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->GetHeight(), 16);
  EXPECT_EQ(DrawnPixel(icon, icon->GetIcon(), 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(DrawnPixel(icon, icon->GetIcon(), 5, 30), RGB(255, 255, 255));

  CTKPImageManager top;
  HICON blue = ColourIcon(16, RGB(0, 0, 255));
  ASSERT_TRUE(top.SetIcon(blue, UINT_MAX));
  ::DestroyIcon(blue);
  CTKPImageManager loaded;
  RoundTrip(top, loaded);
  ASSERT_NE(loaded.GetIconSet(UINT_MAX), nullptr);
  CTKPImageManagerIconHandle handle(loaded.GetIconSet(UINT_MAX)->GetIcon(16, FALSE)->GetIcon());
  EXPECT_EQ(loaded.AddCustomIcon(handle), 0u);
  EXPECT_EQ(Paste(loaded, bytes), 0u);
  EXPECT_EQ(loaded.GetIconSet(0), nullptr);
  EXPECT_EQ(loaded.GetIconSetCount(), 1);
}

// The icons of one command as one stream, as the clipboard and the saved controls carry them, made by hand:
// an alpha icon of width 16 under each stored width, the record at `damagedAt` cut short in its pixels.
std::vector<BYTE> IconStream(const std::vector<LONG>& widths, size_t damagedAt) {
  return TKPArchiveStore([&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    CString check(L"CTKPImageManagerIcons");
    PX_String(&px, L"CheckSum", check, L"CTKPImageManagerIcons");
    std::unique_ptr<CTKPSectionEnumerator> icons(px.GetEnumerator(L"Icon"));
    POSITION pos = icons->GetPosition(static_cast<DWORD>(widths.size()));
    for (size_t i = 0; i < widths.size(); ++i) {
      std::unique_ptr<CTKPPropExchange> item(icons->GetNext(pos));
      LONG width = widths[i];
      PX_Long(item.get(), L"Width", width, 16);
      TKPIconRecord record;
      record.height = 16;
      record.normal.a = TKPMakeBitmapRecord(16, 16);
      if (i == damagedAt) record.normal.a.bits.resize(10);
      TKPWriteIconRecord(ar, record);
    }
  });
}

std::vector<int> Widths(CTKPImageManagerIconSet* set) {
  std::vector<int> widths;
  POSITION pos = set != nullptr ? set->GetIcons().GetStartPosition() : nullptr;
  while (pos != nullptr) {
    int width = 0;
    CTKPImageManagerIcon* icon = nullptr;
    set->GetIcons().GetNextAssoc(pos, width, icon);
    widths.push_back(width);
  }
  std::sort(widths.begin(), widths.end());
  return widths;
}

// Sets of icons as a program makes them: ids over the whole range, icons of every width and height up
// to and past what a record holds, masked and alpha, with their state images. Whatever the saver writes
// is read back: every set, each icon a record can hold at its size and kind, none of those it cannot.
TEST(ImageManager, WhateverTheSaverWritesIsReadBack) {
  const UINT ids[] = {0, 1, 40, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  const int sides[] = {1, 16, 255, 256, 257, 300};
  unsigned state = 5;
  const auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
  for (int seed = 0; seed < 4; ++seed) {
    SCOPED_TRACE(seed);
    CTKPImageManager images;
    std::map<UINT, std::map<int, std::pair<int, bool>>> expected;  // id: width: height, alpha
    for (UINT id : ids) {
      auto& set = expected[id];
      for (int n = 0; n < 3; ++n) {
        const int cx = sides[next() % 6], cy = next() % 3 == 0 ? sides[next() % 6] : cx;
        if (set.count(cx) != 0) continue;
        const bool alpha = next() % 2 == 0;
        for (int imageState = 0; imageState < 4; ++imageState) {
          if (imageState > 0 && next() % 2 == 0) continue;
          if (alpha) {
            HBITMAP bitmap = AlphaBitmap(cx, cy, 0xFF00FF00);
            ASSERT_TRUE(images.SetIcon(bitmap, id, CSize(0, 0), imageState));
            ::DeleteObject(bitmap);
          } else {
            HICON icon = SizedIcon(cx, cy, RGB(0, 0, 255));
            ASSERT_TRUE(images.SetIcon(icon, id, CSize(0, 0), imageState));
            ::DestroyIcon(icon);
          }
        }
        set[cx] = {cy, alpha};
      }
    }
    CTKPImageManager loaded;
    RoundTrip(images, loaded);
    for (const auto& [id, set] : expected) {
      std::vector<int> widths;
      for (const auto& [cx, icon] : set) {
        if (cx <= 256 && icon.first <= 256) widths.push_back(cx);
      }
      EXPECT_EQ(Widths(loaded.GetIconSet(id)), widths) << id;
      for (int cx : widths) {
        CTKPImageManagerIcon* icon = loaded.GetImage(id, cx);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->GetIcon().GetExtent(), CSize(cx, set.at(cx).first)) << id << " " << cx;
        EXPECT_EQ(icon->IsAlpha() != FALSE, set.at(cx).second) << id << " " << cx;
      }
    }
  }
}

// Widths outside 1..256 make no icon, and a damaged record ends a stream: nothing after it is read, the
// icons before it stay. The same in the whole manager's form: the sets after the damaged one are not read.
TEST(ImageManager, PastedWidthsOutOfRangeArePassedOverAndADamagedRecordEndsTheStream) {
  CTKPImageManager images;
  const std::vector<LONG> widths = {16, 300, 0, -5, 24, 256, 4096, 48, 32};
  const UINT pasted = Paste(images, IconStream(widths, 7));
  ASSERT_NE(pasted, 0u);
  EXPECT_EQ(Widths(images.GetIconSet(pasted)), (std::vector<int>{16, 24, 256}));
  for (int width : {16, 24, 256}) {
    CTKPImageManagerIcon* icon = nullptr;
    ASSERT_TRUE(images.GetIconSet(pasted)->GetIcons().Lookup(width, icon));
    EXPECT_TRUE(icon->IsAlpha()) << width;
  }
  // Out of range only: nothing to paste.
  EXPECT_EQ(Paste(images, IconStream({0, 257, -1}, 99)), 0u);

  // Three sets, the second damaged after one sound icon: the first set whole, the second up to the damage.
  const std::vector<BYTE> whole = TKPArchiveStore([&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    std::unique_ptr<CTKPSectionEnumerator> sets(px.GetEnumerator(L"IconSet"));
    POSITION pos = sets->GetPosition(3);
    for (LONG id : {501, 502, 503}) {
      std::unique_ptr<CTKPPropExchange> item(sets->GetNext(pos));
      PX_LongNoDefault(item.get(), L"Id", id);
      const std::vector<BYTE> icons = IconStream({16, 24}, id == 502 ? 1 : 99);
      ar.Write(icons.data(), static_cast<UINT>(icons.size()));
    }
  });
  CTKPImageManager loaded;
  {
    CMemFile file(const_cast<BYTE*>(whole.data()), static_cast<UINT>(whole.size()));
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
  }
  EXPECT_EQ(loaded.GetIconSetCount(), 2);
  EXPECT_EQ(Widths(loaded.GetIconSet(501)), (std::vector<int>{16, 24}));
  EXPECT_EQ(Widths(loaded.GetIconSet(502)), (std::vector<int>{16}));
  EXPECT_EQ(loaded.GetIconSet(503), nullptr);
}

// The toolbar's own icons in each of the images a bar draws.
class Gallery : public CWnd {
 public:
  bool Open() {
    CRect frame(0, 0, 560, 250);
    ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    m_list.Create(32, 32, ILC_COLOR32 | ILC_MASK, 7, 1);
    const UINT icons[] = {IDI_TOOL_OPEN, IDI_TOOL_RECOVER, IDI_TOOL_SAVE_SNAPSHOT, IDI_TOOL_LOAD_SNAPSHOT,
                          IDI_TOOL_FIND, IDI_TOOL_SETTINGS, IDI_TOOL_HELP};
    for (UINT id : icons) {
      HICON icon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
      m_list.Add(icon);
      ::DestroyIcon(icon);
    }
    m_images.SetIconsFromImageList(&m_list, kToolCommands, 7, CSize(32, 32));
    return CreateEx(0, cls, _T("Toolkit images"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 30, 30, frame.Width(),
                    frame.Height(), nullptr, nullptr) != FALSE;
  }
  CTKPImageManager m_images;
  CImageList m_list;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(client);
    paint.FillSolidRect(client, RGB(0xFB, 0xF8, 0xF0));
    CTKPFontDC font(&paint, &TKPAuxData().font);
    paint.SetBkMode(TRANSPARENT);
    paint.SetTextColor(RGB(0x14, 0x2A, 0x52));
    const TCHAR* rows[] = {_T("Normal"), _T("Faded"), _T("Shadow"), _T("Disabled")};
    for (int row = 0; row < 4; ++row) {
      const int y = 16 + row * 56;
      CRect label(16, y, 120, y + 40);
      paint.DrawText(rows[row], label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      for (int i = 0; i < 7; ++i) {
        CTKPImageManagerIcon* icon = m_images.GetImage(kToolCommands[i], 32);
        if (icon == nullptr) continue;
        CTKPImageManagerIconHandle& image = row == 0   ? icon->GetIcon()
                                            : row == 1 ? icon->GetFadedIcon()
                                            : row == 2 ? icon->GetShadowIcon()
                                                       : icon->GetDisabledIcon();
        const CPoint at(130 + i * 60, y + 4);
        // The shadow sits behind the hot icon, one pixel down and to the right.
        if (row == 2) {
          icon->Draw(&paint, CPoint(at.x + 1, at.y + 1), image);
          icon->Draw(&paint, CPoint(at.x - 1, at.y - 1), icon->GetHotIcon());
        } else {
          icon->Draw(&paint, at, image);
        }
      }
    }
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Gallery, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(ImageManagerGallery, ShowsTheToolbarIconsInEachState) {
  Gallery gallery;
  ASSERT_TRUE(gallery.Open());
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(gallery.GetSafeHwnd(), "toolkit_images").empty());
  CTKPImageManagerIcon* icon = gallery.m_images.GetImage(ID_OPEN_IMAGE, 32);
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->GetFadedIcon().IsEmpty());
  EXPECT_FALSE(icon->GetDisabledIcon(FALSE).IsEmpty());
  gallery.DestroyWindow();
}

TEST(ImageManagerLife, TheProcessWideManagerIsDestroyedAtExit) {
  const UINT command = 0x7A01;
  HICON icon = ColourIcon(16, RGB(0, 128, 255));
  ASSERT_TRUE(TKPImageManager()->SetIcon(CTKPImageManagerIconHandle(icon), command));
  ::DestroyIcon(icon);  // the manager keeps its own copy
  CTKPImageManagerIcon* held = TKPImageManager()->GetImage(command, 16);
  ASSERT_NE(held, nullptr);
  g_heldAtExit = held->GetIcon().GetIcon();
  ASSERT_NE(g_heldAtExit, nullptr);
  (void)g_exitCheckRegistered;
}

}  // namespace
