// The button image editor in a real dialog: strokes of each tool drawn with the mouse on the picture,
// undo and redo from the toolbar, the image copied to the clipboard and pasted back (with and without
// alpha), a bitmap file imported and a broken one refused, the tooltips, and the icon taken back after
// OK. The screenshot image_editor.png.
#include "toolkit/commandbars/customize/tkp_image_editor_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "platform/classlib/win/classlib_win.h"
#include "platform/classlib/win/messages.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/customize/tkp_image_editor_dib.h"
#include "toolkit/common/resource_manager.h"

using tkp_image_editor::Cell;
using tkp_image_editor::EditorImage;
using tkp_image_editor::kTransparent;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
constexpr UINT kRedSwatch = 9466, kBlueSwatch = 9463;

// The dialog without its modal loop, so that the test drives it between its own steps.
class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  void Open(CTKPButtonEditorDialog& dialog) {
    ASSERT_TRUE(dialog.CreateIndirect(TKPResourceManager()->LoadDialogTemplate(IDD_TK_IMAGE_EDITOR), nullptr));
    dialog.ShowWindow(SW_SHOW);
    Idle(dialog);
  }
  static void Idle(CTKPButtonEditorDialog& dialog) {
    dialog.SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, 0);
    harness::PumpMessages();
  }
  static HWND Picture(CTKPButtonEditorDialog& dialog) { return harness::Control(dialog.m_hWnd, IDC_TK_EDITOR_PICTURE); }
  // The centre of a cell in the picture's client coordinates.
  static LPARAM At(CTKPButtonEditorDialog& dialog, Cell c) {
    CWnd* pPicture = dialog.GetDlgItem(IDC_TK_EDITOR_PICTURE);
    CRect client;
    pPicture->GetClientRect(client);
    int side = (client.Width() - 1) / dialog.Model().Width();
    return MAKELPARAM(c.x * side + side / 2, c.y * side + side / 2);
  }
  // A press, moves over each cell given, and a release, as the mouse sends them.
  static void Stroke(CTKPButtonEditorDialog& dialog, std::initializer_list<Cell> cells) {
    HWND hPicture = Picture(dialog);
    auto it = cells.begin();
    ::SendMessageW(hPicture, WM_LBUTTONDOWN, MK_LBUTTON, At(dialog, *it));
    for (++it; it != cells.end(); ++it) ::SendMessageW(hPicture, WM_MOUSEMOVE, MK_LBUTTON, At(dialog, *it));
    ::SendMessageW(hPicture, WM_LBUTTONUP, 0, At(dialog, *(cells.end() - 1)));
    harness::PumpMessages();
  }
  // The dialog run modally: a stroke over the cells, then OK.
  static void StrokeAndOk(CTKPButtonEditorDialog& dialog, std::initializer_list<Cell> cells) {
    harness::ModalScript script;
    script.OnWindow(L"Button Editor", [&](HWND hDialog) {
      Stroke(dialog, cells);
      ::PostMessageW(hDialog, WM_COMMAND, IDOK, 0);
    });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished()) << script.Failure();
  }
  static void Command(CTKPButtonEditorDialog& dialog, UINT id) {
    dialog.SendMessage(WM_COMMAND, id);
    Idle(dialog);
  }
  // The file chosen in the open dialog and imported.
  static void Import(harness::ScopedSeams& seams, CTKPButtonEditorDialog& dialog, const std::wstring& path) {
    seams.dialogs.Choose({std::u16string(path.begin(), path.end())});
    Command(dialog, ID_TK_EDITOR_IMPORT);
  }
  static COLORREF At(const EditorImage& image, int x, int y) { return tkp_image_editor::Rgb(image.At({x, y})); }
  static bool ButtonEnabled(CToolBar& bar, UINT id) { return bar.SendMessage(TB_ISBUTTONENABLED, id) != 0; }
  static bool ButtonChecked(CToolBar& bar, UINT id) { return bar.SendMessage(TB_ISBUTTONCHECKED, id) != 0; }
};

TEST_F(EditorFixture, ToolsDrawWithTheSelectedColourAndUndoRedoFromTheToolbar) {
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  EXPECT_TRUE(ButtonChecked(dialog.GetToolsBar(), ID_TK_EDITOR_PENCIL));
  EXPECT_FALSE(ButtonEnabled(dialog.GetToolsBar(), ID_TK_EDITOR_UNDO));
  EXPECT_EQ(dialog.GetDrawingColor(), kBlack);

  Stroke(dialog, {{1, 1}, {2, 1}, {3, 1}});  // pencil, black
  EXPECT_EQ(At(dialog.Model().Image(), 2, 1), kBlack);
  EXPECT_EQ(::GetCapture(), nullptr);

  harness::ClickCentre(harness::Control(dialog.m_hWnd, kRedSwatch));
  EXPECT_EQ(dialog.GetDrawingColor(), kRed);
  Command(dialog, ID_TK_EDITOR_LINE);
  EXPECT_TRUE(ButtonChecked(dialog.GetToolsBar(), ID_TK_EDITOR_LINE));
  Stroke(dialog, {{0, 15}, {8, 12}, {15, 15}});  // ends as a flat line along the bottom row
  EXPECT_EQ(At(dialog.Model().Image(), 14, 15), kRed);
  EXPECT_EQ(At(dialog.Model().Image(), 15, 15), kTransparent);
  EXPECT_EQ(At(dialog.Model().Image(), 8, 13), kTransparent);  // the line through (8, 12) is gone

  harness::ClickCentre(harness::Control(dialog.m_hWnd, kBlueSwatch));
  Command(dialog, ID_TK_EDITOR_RECTANGLE);
  Stroke(dialog, {{4, 4}, {12, 12}});
  Command(dialog, ID_TK_EDITOR_ELLIPSE);
  harness::ClickCentre(harness::Control(dialog.m_hWnd, kRedSwatch));
  Stroke(dialog, {{5, 5}, {11, 11}});
  Command(dialog, ID_TK_EDITOR_FILL);
  harness::ClickCentre(harness::Control(dialog.m_hWnd, 9476));  // yellow
  Stroke(dialog, {{8, 8}});
  const EditorImage& image = dialog.Model().Image();
  EXPECT_EQ(At(image, 4, 4), kBlue);
  EXPECT_EQ(At(image, 11, 11), kBlue);
  EXPECT_EQ(At(image, 8, 8), RGB(255, 255, 0));
  EXPECT_EQ(At(image, 0, 0), kTransparent);
  EXPECT_EQ(dialog.Model().UndoCount(), 5u);

  Idle(dialog);
  EXPECT_TRUE(ButtonEnabled(dialog.GetToolsBar(), ID_TK_EDITOR_UNDO));
  EXPECT_FALSE(ButtonEnabled(dialog.GetToolsBar(), ID_TK_EDITOR_REDO));
  Command(dialog, ID_TK_EDITOR_UNDO);  // the fill
  EXPECT_EQ(At(dialog.Model().Image(), 8, 8), kTransparent);
  EXPECT_TRUE(ButtonEnabled(dialog.GetToolsBar(), ID_TK_EDITOR_REDO));
  Command(dialog, ID_TK_EDITOR_REDO);
  EXPECT_EQ(At(dialog.Model().Image(), 8, 8), RGB(255, 255, 0));

  // The colour picker takes the custom swatch and hands back to the fill.
  Command(dialog, ID_TK_EDITOR_PICK_COLOR);
  Stroke(dialog, {{4, 4}});
  Idle(dialog);
  EXPECT_EQ(dialog.GetDrawingColor(), kBlue);
  EXPECT_EQ(dialog.GetSelectedPicker(), dialog.GetPicker(IDC_TK_EDITOR_CUSTOM));
  EXPECT_TRUE(ButtonChecked(dialog.GetToolsBar(), ID_TK_EDITOR_FILL));

  harness::PumpFor(100);
  harness::CaptureWindow(dialog.m_hWnd, "image_editor");
  dialog.DestroyWindow();
}

TEST_F(EditorFixture, CopyClearPasteGivesTheImageBack) {
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  Stroke(dialog, {{0, 0}, {1, 0}, {1, 1}});
  EditorImage drawn = dialog.Model().Image();
  Command(dialog, ID_TK_EDITOR_COPY);
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_FALSE(::IsClipboardFormatAvailable(TKPAlphaBitmapFormat()));  // no alpha: the bitmap alone
  Command(dialog, ID_TK_EDITOR_CLEAR);
  EXPECT_EQ(dialog.Model().Image(), EditorImage(16, 16));
  EXPECT_TRUE(ButtonEnabled(dialog.GetToolsBar(), ID_TK_EDITOR_PASTE));
  Command(dialog, ID_TK_EDITOR_PASTE);
  EXPECT_EQ(dialog.Model().Image(), drawn);
  EXPECT_EQ(dialog.Model().UndoCount(), 3u);  // stroke, clear, paste
  Command(dialog, ID_TK_EDITOR_MOVE_RIGHT);
  EXPECT_EQ(At(dialog.Model().Image(), 1, 0), kBlack);
  EXPECT_EQ(At(dialog.Model().Image(), 0, 0), kTransparent);
  dialog.DestroyWindow();
}

TEST_F(EditorFixture, AnAlphaImageTravelsWithItsAlpha) {
  EditorImage source(16, 16, true);
  source.Set({3, 3}, tkp_image_editor::WithAlpha(RGB(10, 20, 30), 0x80));
  HBITMAP hBitmap = TKPCreateEditorBitmap(source);
  CTKPImageManagerIconHandle icon(hBitmap);
  CTKPButtonEditorDialog dialog;
  dialog.SetIcon(icon);
  ::DeleteObject(hBitmap);
  Open(dialog);
  EXPECT_TRUE(dialog.Model().Image().HasAlpha());
  Stroke(dialog, {{5, 5}});
  EXPECT_EQ(dialog.Model().Image().At({5, 5}), tkp_image_editor::WithAlpha(kBlack, 255));
  Command(dialog, ID_TK_EDITOR_COPY);
  EXPECT_TRUE(::IsClipboardFormatAvailable(TKPAlphaBitmapFormat()));
  EditorImage drawn = dialog.Model().Image();
  Command(dialog, ID_TK_EDITOR_CLEAR);
  Command(dialog, ID_TK_EDITOR_PASTE);
  EXPECT_EQ(dialog.Model().Image(), drawn);
  EXPECT_EQ(dialog.Model().Image().At({3, 3}), tkp_image_editor::WithAlpha(RGB(10, 20, 30), 0x80));
  dialog.DestroyWindow();
}

TEST_F(EditorFixture, ABitmapOnTheClipboardPastesWithItsFaceColourTransparent) {
  EditorImage other(4, 4);
  std::fill(other.Pixels().begin(), other.Pixels().end(), ::GetSysColor(COLOR_BTNFACE));
  other.Set({1, 1}, kBlue);
  HBITMAP hBitmap = TKPCreateEditorBitmap(other);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::SetClipboardData(CF_BITMAP, hBitmap);
  ::CloseClipboard();
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  Command(dialog, ID_TK_EDITOR_PASTE);
  EXPECT_EQ(At(dialog.Model().Image(), 1, 1), kBlue);
  EXPECT_EQ(At(dialog.Model().Image(), 0, 0), kTransparent);
  EXPECT_EQ(At(dialog.Model().Image(), 10, 10), kTransparent);
  dialog.DestroyWindow();
}

// A file of the bytes in the temporary folder; its path.
std::wstring TempFile(const wchar_t* name, const uint8_t* data, DWORD size) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + name;
  HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(hFile, data, size, &written, nullptr);
  ::CloseHandle(hFile);
  return path;
}

TEST_F(EditorFixture, ImportsABitmapFileAndRefusesABrokenOne) {
  EditorImage picture(2, 2);
  picture.Pixels() = {kRed, kBlue, kBlue, kRed};
  std::vector<uint8_t> dib = tkp_image_editor::EncodePackedDib32(picture);
  std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  file.insert(file.end(), dib.begin(), dib.end());
  const std::wstring good = TempFile(L"editor_import.bmp", file.data(), static_cast<DWORD>(file.size()));
  const std::wstring bad = TempFile(L"editor_broken.bmp", file.data(), 30);

  harness::ScopedSeams seams;
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  Import(seams, dialog, good);
  EXPECT_EQ(At(dialog.Model().Image(), 0, 0), kRed);
  EXPECT_EQ(At(dialog.Model().Image(), 1, 0), kBlue);
  EXPECT_EQ(At(dialog.Model().Image(), 2, 0), kTransparent);
  ASSERT_EQ(seams.dialogs.FileRequests().size(), 1u);
  EXPECT_EQ(seams.dialogs.FileRequests()[0].filter.substr(0, 17), u"All Picture Files");

  EditorImage before = dialog.Model().Image();
  seams.boxes.Answer(seams::kOk);
  Import(seams, dialog, bad);
  EXPECT_EQ(dialog.Model().Image(), before);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_NE(seams.boxes.Log()[0].text.find(u"cut short"), std::u16string::npos);
  dialog.DestroyWindow();
  ::DeleteFileW(good.c_str());
  ::DeleteFileW(bad.c_str());
}

TEST_F(EditorFixture, ImportsAnIconFilesThirtyTwoBitImageWithItsAlpha) {
  harness::ScopedSeams seams;
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  const int w = dialog.Model().Width(), h = dialog.Model().Height();
  // One image of the button's size: every pixel red at half alpha, the mask rows clear.
  std::vector<uint8_t> dib(40, 0);
  auto put32 = [](std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int b = 0; b < 4; ++b) v[at + static_cast<size_t>(b)] = static_cast<uint8_t>(x >> (8 * b));
  };
  put32(dib, 0, 40);
  put32(dib, 4, static_cast<uint32_t>(w));
  put32(dib, 8, static_cast<uint32_t>(2 * h));
  dib[12] = 1;
  dib[14] = 32;
  for (int i = 0; i < w * h; ++i) dib.insert(dib.end(), {0x00, 0x00, 0x80, 0x80});  // premultiplied red
  dib.resize(dib.size() + static_cast<size_t>(((w + 31) / 32) * 4 * h), 0);
  std::vector<uint8_t> file = {0, 0, 1, 0, 1, 0, static_cast<uint8_t>(w), static_cast<uint8_t>(h), 0, 0, 1, 0, 32, 0};
  file.resize(22, 0);
  put32(file, 14, static_cast<uint32_t>(dib.size()));
  put32(file, 18, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  const std::wstring path = TempFile(L"editor_import.ico", file.data(), static_cast<DWORD>(file.size()));
  Import(seams, dialog, path);
  EXPECT_TRUE(dialog.Model().Image().HasAlpha());
  EXPECT_EQ(dialog.Model().Image().At({0, 0}) >> 24, 0x80u);
  EXPECT_EQ(dialog.Model().Image().At({w - 1, h - 1}) >> 24, 0x80u);
  EXPECT_TRUE(seams.boxes.Log().empty());
  dialog.DestroyWindow();
  ::DeleteFileW(path.c_str());
}

TEST_F(EditorFixture, ImportsAGifThroughTheSystemsPictureLoaderAndRefusesAnUnreadableOne) {
  // One red pixel, stretched over the whole image.
  const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0,
                         1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
  const std::wstring good = TempFile(L"editor_import.gif", gif, sizeof gif);
  const std::wstring bad = TempFile(L"editor_broken.jpg", gif + 6, 12);

  harness::ScopedSeams seams;
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  Import(seams, dialog, good);
  EXPECT_TRUE(seams.boxes.Log().empty());
  EXPECT_EQ(At(dialog.Model().Image(), 0, 0), kRed);
  EXPECT_EQ(At(dialog.Model().Image(), 15, 15), kRed);
  EditorImage before = dialog.Model().Image();
  seams.boxes.Answer(seams::kOk);
  Import(seams, dialog, bad);
  EXPECT_EQ(dialog.Model().Image(), before);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_NE(seams.boxes.Log()[0].text.find(u"not a picture"), std::u16string::npos);
  dialog.DestroyWindow();
  ::DeleteFileW(good.c_str());
  ::DeleteFileW(bad.c_str());
}

// The tip the dialog gives when asked as a tooltip window of the wide (NMTTDISPINFOW) or the narrow
// kind asks: for a command id, or (TTF_IDISHWND) for a window.
template <typename Info>
auto AskTip(CTKPButtonEditorDialog& dialog, HWND hFrom, UINT_PTR id, UINT nFlags) {
  Info info{};
  info.hdr.hwndFrom = hFrom;
  info.hdr.idFrom = id;
  info.hdr.code = std::is_same_v<Info, NMTTDISPINFOW> ? TTN_NEEDTEXTW : TTN_NEEDTEXTA;
  info.uFlags = nFlags;
  dialog.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  return std::basic_string<std::remove_extent_t<decltype(info.szText)>>(info.szText);
}

TEST_F(EditorFixture, TooltipsAreTheTextsAfterTheNewline) {
  CTKPButtonEditorDialog dialog;
  Open(dialog);
  for (auto [id, tip] : {std::pair<UINT, std::wstring>{ID_TK_EDITOR_IMPORT, L"Import from File"},
                         {ID_TK_EDITOR_FILL, L"Fill Color"}, {9465, L"Gray-50%"}}) {
    EXPECT_EQ(AskTip<NMTTDISPINFOW>(dialog, dialog.m_hWnd, id, 0), tip);
  }
  // A swatch's tip, asked by its window as the tooltip control of the swatches does.
  EXPECT_EQ(dialog.GetSwatchTips().SendMessage(TTM_GETTOOLCOUNT), 18);
  HWND hTips = dialog.GetSwatchTips().m_hWnd;
  const UINT_PTR red = reinterpret_cast<UINT_PTR>(harness::Control(dialog.m_hWnd, kRedSwatch));
  EXPECT_EQ(AskTip<NMTTDISPINFOW>(dialog, hTips, red, TTF_IDISHWND), L"Red");
  // A tooltip window of the narrow kind gets the same texts in the code page.
  EXPECT_EQ(AskTip<NMTTDISPINFOA>(dialog, dialog.m_hWnd, ID_TK_EDITOR_REDO, 0), "Redo");
  EXPECT_EQ(AskTip<NMTTDISPINFOA>(dialog, dialog.m_hWnd, 9465, 0), "Gray-50%");
  EXPECT_EQ(AskTip<NMTTDISPINFOA>(dialog, hTips, red, TTF_IDISHWND), "Red");
  dialog.DestroyWindow();
}

TEST_F(EditorFixture, OkHandsBackTheEditedIcon) {
  CTKPButtonEditorDialog dialog;
  dialog.SetIconSize(CSize(16, 16));
  StrokeAndOk(dialog, {{2, 2}, {3, 2}});
  CTKPImageManagerIconHandle icon;
  dialog.GetIcon(icon);
  ASSERT_NE(icon.GetIcon(), nullptr);
  EditorImage back = TKPEditorImageFromIcon(icon, CSize(16, 16));
  EXPECT_EQ(At(back, 2, 2), kBlack);
  EXPECT_EQ(At(back, 3, 2), kBlack);
  EXPECT_EQ(At(back, 4, 2), kTransparent);
}

}  // namespace

namespace {

TEST_F(EditorFixture, OkHandsBackAnAlphaIconThatOutlivesTheDialogsBitmap) {
  // A half-transparent red pixel in an otherwise empty alpha image.
  EditorImage given(16, 16, true);
  given.Set({5, 5}, 0x800000FFu);
  HBITMAP hGiven = TKPCreateEditorBitmap(given);
  ASSERT_NE(hGiven, nullptr);
  CTKPButtonEditorDialog dialog;
  dialog.SetIconSize(CSize(16, 16));
  {
    CTKPImageManagerIconHandle in;
    in.SetBitmap(hGiven);
    ::DeleteObject(hGiven);  // the handle holds its own copy
    ASSERT_EQ(in.GetExtent(), CSize(16, 16));
    dialog.SetIcon(in);
  }
  StrokeAndOk(dialog, {{2, 2}});
  CTKPImageManagerIconHandle icon;
  dialog.GetIcon(icon);
  ASSERT_TRUE(icon.IsAlpha());
  // The bitmap the dialog made for the hand-over is gone; the handle's copy is whole.
  EXPECT_EQ(icon.GetExtent(), CSize(16, 16));
  EditorImage back = TKPEditorImageFromBitmap(icon.GetBitmap(), 16, 16, TRUE, 0, 0);
  EXPECT_EQ(back.At({2, 2}), 0xFF000000u);  // drawn black, made opaque
  EXPECT_EQ(back.At({5, 5}) >> 24, 0x80u);  // the given pixel keeps its alpha
  EXPECT_EQ(back.At({9, 9}) >> 24, 0u);
}

}  // namespace
