// A skinned dialog from the program's resources, driven as a user would: the "Please Select" template
// with its skin as background and window region, a radio button and OK clicked through the driver, and
// the question that OK asks answered from the script.
#include <gtest/gtest.h>

#include "driver.h"
#include "res/resource.h"
#include "seam_test.h"
#include "ui/skin/skin_region.h"

namespace harness {
namespace {

const char16_t kQuestion[] = u"Search the whole disk for partitions? This may take a while.";

struct SkinnedDialog {
  HBITMAP skin = nullptr;
  bool searchWanted = false;
};

INT_PTR CALLBACK SkinnedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SkinnedDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<SkinnedDialog*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state->skin = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SKIN_SMALL_DIALOG));
      BITMAP info;
      ::GetObjectW(state->skin, sizeof info, &info);
      // The skin draws the caption band itself.
      ::SetWindowLongPtrW(dialog, GWL_STYLE, ::GetWindowLongPtrW(dialog, GWL_STYLE) & ~WS_CAPTION);
      ::SetWindowPos(dialog, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      ::SetWindowRgn(dialog, skin::CreateRegionFromBitmap(state->skin, skin::kSkinKeyColour, FALSE), FALSE);
      ::CheckRadioButton(dialog, IDC_USE_EXISTING_PARTITIONS, IDC_SEARCH_PARTITIONS, IDC_USE_EXISTING_PARTITIONS);
      return TRUE;
    }
    case WM_ERASEBKGND: {
      HDC memory = ::CreateCompatibleDC(reinterpret_cast<HDC>(wParam));
      HGDIOBJ old = ::SelectObject(memory, state->skin);
      BITMAP info;
      ::GetObjectW(state->skin, sizeof info, &info);
      ::BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
      ::SelectObject(memory, old);
      ::DeleteDC(memory);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Texts stand on the skin: white on the caption band, navy on the body.
      HDC dc = reinterpret_cast<HDC>(wParam);
      bool title = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_STATIC;
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, title ? RGB(255, 255, 255) : RGB(20, 42, 82));
      return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        state->searchWanted = ::IsDlgButtonChecked(dialog, IDC_SEARCH_PARTITIONS) == BST_CHECKED;
        if (state->searchWanted) {
          seams::MessageBoxRequest box{dialog, kQuestion, u"Dorvane", seams::kButtonsYesNo | seams::kIconQuestion};
          if (seams::MessageBoxes().Show(box) != seams::kYes) return TRUE;
        }
        ::DestroyWindow(dialog);
      } else if (LOWORD(wParam) == IDCANCEL) {
        ::DestroyWindow(dialog);
      }
      return TRUE;
    case WM_DESTROY:
      ::DeleteObject(state->skin);
      return TRUE;
    default:
      return FALSE;
  }
}

class SkinnedDialogTest : public SeamTest {};

TEST_F(SkinnedDialogTest, ClickingThroughAsksAndCloses) {
  SkinnedDialog state;
  HWND dialog = OpenDialog(IDD_PARTITION_CHOICE, SkinnedProc, reinterpret_cast<LPARAM>(&state));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog), L"Please Select");
  EXPECT_EQ(StateOf(Control(dialog, IDC_USE_EXISTING_PARTITIONS)).check, BST_CHECKED);

  ClickCentre(Control(dialog, IDC_SEARCH_PARTITIONS));
  EXPECT_EQ(StateOf(Control(dialog, IDC_SEARCH_PARTITIONS)).check, BST_CHECKED);
  EXPECT_EQ(StateOf(Control(dialog, IDC_USE_EXISTING_PARTITIONS)).check, BST_UNCHECKED);

  // The window is cut to the skin: its corners lie outside.
  RECT window;
  ::GetWindowRect(dialog, &window);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(dialog, region), ERROR);
  EXPECT_FALSE(::PtInRegion(region, 0, 0));
  EXPECT_TRUE(::PtInRegion(region, (window.right - window.left) / 2, (window.bottom - window.top) / 2));
  ::DeleteObject(region);
  EXPECT_FALSE(CaptureWindow(dialog, "skinned_dialog").empty());

  seams.boxes.Answer(seams::kYes);
  ClickCentre(Control(dialog, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
  EXPECT_TRUE(state.searchWanted);
  auto log = seams.boxes.Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, kQuestion);
  EXPECT_EQ(log[0].icon(), seams::kIconQuestion);
  EXPECT_EQ(log[0].buttons(), seams::kButtonsYesNo);
}

TEST_F(SkinnedDialogTest, AnsweringNoKeepsTheDialogOpen) {
  SkinnedDialog state;
  HWND dialog = OpenDialog(IDD_PARTITION_CHOICE, SkinnedProc, reinterpret_cast<LPARAM>(&state));
  ASSERT_NE(dialog, nullptr);
  ClickCentre(Control(dialog, IDC_SEARCH_PARTITIONS));
  seams.boxes.Answer(seams::kNo);
  ClickCentre(Control(dialog, IDOK));
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_EQ(seams.boxes.Log().size(), 1u);
  // Esc cancels through the dialog manager.
  PressKey(Control(dialog, IDC_SEARCH_PARTITIONS), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
}

}  // namespace
}  // namespace harness
