// The small control wrappers driven through their members and read back through the windows: buttons
// and bitmap buttons (drawn through the parent's WM_DRAWITEM), statics, edits, list and combo boxes with
// owner drawing, progress bars (also from a worker thread), spin buttons, scroll bars, rich edits,
// menus and image lists.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/classlib/win/controls_test_support.h"
#include "platform/harness/driver.h"
#include "res/resource.h"

namespace {

using cltest::TextOf;

// ---- buttons and statics --------------------------------------------------------------------------

class RecordingBitmapButton : public CBitmapButton {
 public:
  int draws = 0;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
    ++draws;
    CBitmapButton::DrawItem(lpDrawItemStruct);
  }
};

using ButtonTest = cltest::ControlHost;

TEST_F(ButtonTest, CheckBoxesKeepTheirStateAndStyle) {
  CButton box;
  ASSERT_TRUE(box.Create(_T("Select All"), WS_VISIBLE | BS_AUTOCHECKBOX, RECT{0, 0, 120, 20}, &host, 1001));
  box.SetCheck(BST_CHECKED);
  EXPECT_EQ(box.GetCheck(), BST_CHECKED);
  EXPECT_EQ(harness::StateOf(box.m_hWnd).check, BST_CHECKED);
  EXPECT_NE(box.GetState() & BST_CHECKED, 0u);
  EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_AUTOCHECKBOX));
  box.SetButtonStyle(BS_PUSHBUTTON);
  EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_PUSHBUTTON));
  HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);
  box.SetIcon(icon);
  EXPECT_EQ(box.GetIcon(), icon);
}

TEST_F(ButtonTest, ABitmapButtonSizesToItsBitmapAndDrawsIt) {
  RecordingBitmapButton next;
  ASSERT_TRUE(next.Create(nullptr, WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 10, 10}, &host, IDB_NEXT));
  ASSERT_TRUE(next.LoadBitmaps(IDB_NEXT, IDB_NEXT_HOT));
  EXPECT_FALSE(next.LoadBitmaps(54321));
  ASSERT_TRUE(next.LoadBitmaps(IDB_NEXT, IDB_NEXT_HOT));
  next.SizeToContent();
  CRect window;
  next.GetWindowRect(window);
  EXPECT_EQ(window.Size(), CSize(85, 35));

  // The parent's WM_DRAWITEM reaches the button's DrawItem.
  next.Invalidate();
  next.UpdateWindow();
  EXPECT_GE(next.draws, 1);

  // Drawn into a memory bitmap: the up picture normally, the selected one while pushed.
  CClientDC screen(nullptr);
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 85, 35));
  CBitmap* old = memory.SelectObject(&canvas);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.hDC = memory.m_hDC;
  item.rcItem = RECT{0, 0, 85, 35};
  auto pixelOf = [&](CBitmap& bitmap) {
    CDC source;
    source.CreateCompatibleDC(&screen);
    CBitmap* previous = source.SelectObject(&bitmap);
    COLORREF colour = source.GetPixel(42, 17);
    source.SelectObject(previous);
    return colour;
  };
  next.DrawItem(&item);
  EXPECT_EQ(memory.GetPixel(42, 17), pixelOf(next.m_bitmap));
  item.itemState = ODS_SELECTED;
  next.DrawItem(&item);
  EXPECT_EQ(memory.GetPixel(42, 17), pixelOf(next.m_bitmapSel));
  memory.SelectObject(old);
}

TEST_F(ButtonTest, StaticsShowIconsAndBitmaps) {
  CStatic picture;
  ASSERT_TRUE(picture.Create(nullptr, WS_VISIBLE | SS_ICON, RECT{0, 0, 32, 32}, &host));
  HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
  EXPECT_EQ(picture.SetIcon(icon), nullptr);
  EXPECT_EQ(picture.GetIcon(), icon);
  CStatic frame;
  ASSERT_TRUE(frame.Create(nullptr, WS_VISIBLE | SS_BITMAP, RECT{40, 0, 80, 40}, &host));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadBitmap(IDB_HOME));
  frame.SetBitmap(bitmap);
  EXPECT_EQ(frame.GetBitmap(), HBITMAP(bitmap));
  CStatic label;
  ASSERT_TRUE(label.Create(_T("Selected Size : 0 MB"), WS_VISIBLE, RECT{0, 50, 200, 70}, &host, 61488));
  EXPECT_EQ(harness::Text(label.m_hWnd), L"Selected Size : 0 MB");
  EXPECT_EQ(label.GetDlgCtrlID(), 61488);
}

// ---- edits, list boxes and combo boxes ------------------------------------------------------------

using EditTest = cltest::ControlHost;

TEST_F(EditTest, SelectionReplacingLinesAndLimits) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, RECT{0, 0, 200, 80}, &host, 61492));
  edit.SetWindowText(_T("first\r\nsecond"));
  EXPECT_EQ(edit.GetLineCount(), 2);
  EXPECT_EQ(edit.LineIndex(1), 7);
  EXPECT_EQ(edit.LineLength(7), 6);
  EXPECT_EQ(edit.LineFromChar(8), 1);
  wchar_t line[16] = {};
  EXPECT_EQ(edit.GetLine(1, line, 16), 6);
  EXPECT_EQ(std::wstring(line, 6), L"second");

  edit.SetSel(0, 5);
  int start = -1;
  int end = -1;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
  EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(0, 5)));
  edit.ReplaceSel(_T("1st"), TRUE);
  EXPECT_EQ(harness::Text(edit.m_hWnd), L"1st\r\nsecond");
  EXPECT_TRUE(edit.GetModify());
  EXPECT_TRUE(edit.CanUndo());
  edit.Undo();
  EXPECT_EQ(harness::Text(edit.m_hWnd), L"first\r\nsecond");
  edit.SetModify(FALSE);
  EXPECT_FALSE(edit.GetModify());

  edit.SetLimitText(40);
  EXPECT_EQ(edit.GetLimitText(), 40u);
  edit.SetReadOnly();
  EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
  edit.SetMargins(3, 4);
  EXPECT_EQ(edit.GetMargins(), static_cast<DWORD>(MAKELONG(3, 4)));
  CPoint where = edit.PosFromChar(7);
  EXPECT_EQ(LOWORD(edit.CharFromPos(where)), 7);
}

class OwnerDrawnList : public CListBox {
 public:
  std::vector<int> measured;
  std::vector<int> drawn;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override {
    measured.push_back(static_cast<int>(item->itemID));
    item->itemHeight = 20;
  }
  void DrawItem(LPDRAWITEMSTRUCT item) override { drawn.push_back(static_cast<int>(item->itemID)); }
};

TEST_F(EditTest, ListBoxesHoldStringsDataAndSelections) {
  CListBox list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, RECT{0, 0, 150, 120}, &host, 300));
  EXPECT_EQ(list.AddString(_T("one")), 0);
  EXPECT_EQ(list.AddString(_T("three")), 1);
  EXPECT_EQ(list.InsertString(1, _T("two")), 1);
  EXPECT_EQ(harness::Items(list.m_hWnd), (std::vector<std::wstring>{L"one", L"two", L"three"}));
  CString text;
  list.GetText(2, text);
  EXPECT_EQ(TextOf(text), L"three");
  EXPECT_EQ(list.GetTextLen(1), 3);
  list.SetItemData(1, 22);
  EXPECT_EQ(list.GetItemData(1), 22u);
  EXPECT_EQ(list.FindStringExact(-1, _T("TWO")), 1);
  EXPECT_EQ(list.FindString(-1, _T("th")), 2);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(harness::Selection(list.m_hWnd), 2);
  CRect row;
  ASSERT_NE(list.GetItemRect(1, row), LB_ERR);
  BOOL outside = TRUE;
  EXPECT_EQ(list.ItemFromPoint(row.CenterPoint(), outside), 1u);
  EXPECT_FALSE(outside);
  EXPECT_EQ(list.DeleteString(0), 2);
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);

  OwnerDrawnList drawnList;
  ASSERT_TRUE(
      drawnList.Create(WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, RECT{160, 0, 300, 120}, &host, 301));
  drawnList.AddString(_T("a"));
  drawnList.AddString(_T("b"));
  EXPECT_EQ(drawnList.measured, (std::vector<int>{0, 1}));
  EXPECT_EQ(drawnList.GetItemHeight(1), 20);
  drawnList.Invalidate();
  drawnList.UpdateWindow();
  EXPECT_FALSE(drawnList.drawn.empty());
}

TEST_F(EditTest, ComboBoxesHoldStringsAndShowTheSelection) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, RECT{0, 0, 150, 200}, &host, 400));
  for (LPCTSTR item : {_T("Quick Scan"), _T("Extensive Scan"), _T("File Trace")}) combo.AddString(item);
  EXPECT_EQ(combo.GetCount(), 3);
  CString text;
  combo.GetLBText(1, text);
  EXPECT_EQ(TextOf(text), L"Extensive Scan");
  EXPECT_EQ(combo.GetLBTextLen(2), 10);
  EXPECT_EQ(combo.SelectString(-1, _T("File")), 2);
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(harness::Text(combo.m_hWnd), L"File Trace");
  combo.SetItemDataPtr(0, &combo);
  EXPECT_EQ(combo.GetItemDataPtr(0), &combo);
  EXPECT_EQ(combo.FindStringExact(-1, _T("quick scan")), 0);
  COMBOBOXINFO info{};
  ASSERT_TRUE(combo.GetComboBoxInfo(&info));
  EXPECT_EQ(info.hwndCombo, combo.m_hWnd);
  EXPECT_NE(info.hwndList, nullptr);
  EXPECT_GT(combo.GetItemHeight(-1), 0);
  EXPECT_FALSE(combo.GetDroppedState());
}

// ---- progress, spin and scroll bars ---------------------------------------------------------------

// A progress bar that notes which thread carries out its position messages.
class WatchedProgress : public CProgressCtrl {
 public:
  DWORD setBy = 0;

 protected:
  afx_msg LRESULT OnSetPos(WPARAM, LPARAM) {
    setBy = ::GetCurrentThreadId();
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WatchedProgress, CProgressCtrl)
  ON_MESSAGE(PBM_SETPOS, OnSetPos)
END_MESSAGE_MAP()

using BarTest = cltest::ControlHost;

TEST_F(BarTest, ProgressBarsTakeTheirPositionFromAWorkerAsOneMessageToTheirThread) {
  WatchedProgress progress;
  ASSERT_TRUE(progress.Create(WS_VISIBLE, RECT{0, 0, 200, 20}, &host, 500));
  progress.SetRange32(0, 100);
  int lower = -1;
  int upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 100);
  EXPECT_EQ(progress.SetPos(10), 0);
  EXPECT_EQ(progress.OffsetPos(5), 10);
  progress.SetStep(7);
  EXPECT_EQ(progress.StepIt(), 15);
  EXPECT_EQ(progress.GetPos(), 22);

  DWORD worker = cltest::RunOnWorker([&] { progress.SetPos(99); });
  EXPECT_EQ(progress.GetPos(), 99);
  EXPECT_NE(worker, ::GetCurrentThreadId());
  EXPECT_EQ(progress.setBy, ::GetCurrentThreadId());
}

TEST_F(BarTest, SpinButtonsDriveTheirBuddy) {
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_VISIBLE | WS_BORDER, RECT{0, 0, 60, 22}, &host, 600));
  CSpinButtonCtrl spin;
  ASSERT_TRUE(
      spin.Create(WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, RECT{0, 0, 0, 0}, &host, 601));
  EXPECT_EQ(spin.SetBuddy(&buddy), nullptr);
  EXPECT_EQ(spin.GetBuddy()->m_hWnd, buddy.m_hWnd);
  spin.SetRange32(1, 5000);
  int lower = 0;
  int upper = 0;
  spin.GetRange32(lower, upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 5000);
  spin.SetPos32(1234);
  EXPECT_EQ(harness::Text(buddy.m_hWnd), L"1234");
  buddy.SetWindowText(_T("42"));
  BOOL error = TRUE;
  EXPECT_EQ(spin.GetPos32(&error), 42);
  EXPECT_FALSE(error);
  EXPECT_EQ(spin.GetBase(), 10u);
}

TEST_F(BarTest, ScrollBarsKeepPositionRangeAndPage) {
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_HORZ, RECT{0, 0, 200, 16}, &host, 700));
  bar.SetScrollRange(0, 100);
  bar.SetScrollPos(40);
  EXPECT_EQ(bar.GetScrollPos(), 40);
  int lower = -1;
  int upper = -1;
  bar.GetScrollRange(&lower, &upper);
  EXPECT_EQ(upper, 100);
  SCROLLINFO info{};
  info.fMask = SIF_PAGE;
  info.nPage = 10;
  bar.SetScrollInfo(&info);
  EXPECT_EQ(bar.GetScrollLimit(), 91);
  SCROLLINFO back{};
  ASSERT_TRUE(bar.GetScrollInfo(&back));
  EXPECT_EQ(back.nPage, 10u);
  EXPECT_EQ(back.nPos, 40);
  EXPECT_EQ(CScrollBar::FromHandle(bar.m_hWnd), &bar);
}

// ---- rich edit ------------------------------------------------------------------------------------

DWORD CALLBACK ReadString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
  auto* rest = reinterpret_cast<std::string*>(cookie);
  LONG n = std::min<LONG>(count, static_cast<LONG>(rest->size()));
  std::copy_n(rest->data(), n, buffer);
  rest->erase(0, static_cast<size_t>(n));
  *read = n;
  return 0;
}

using RichEditTest = cltest::ControlHost;

TEST_F(RichEditTest, RtfStreamsInAndTheSelectionReadsBack) {
  ASSERT_TRUE(AfxInitRichEdit());
  CRichEditCtrl rich;
  ASSERT_TRUE(rich.Create(WS_VISIBLE | WS_BORDER | ES_MULTILINE, RECT{0, 0, 300, 200}, &host, 800));
  std::string rtf = "{\\rtf1\\ansi Hello {\\b bold} world}";
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, ReadString};
  EXPECT_GT(rich.StreamIn(SF_RTF, stream), 0);
  EXPECT_EQ(harness::Text(rich.m_hWnd), L"Hello bold world");
  EXPECT_EQ(rich.GetTextLength(), 16);
  rich.SetSel(6, 10);
  long start = 0;
  long end = 0;
  rich.GetSel(start, end);
  EXPECT_EQ(end - start, 4);
  EXPECT_EQ(TextOf(rich.GetSelText()), L"bold");
  rich.ReplaceSel(_T("plain"));
  EXPECT_EQ(harness::Text(rich.m_hWnd), L"Hello plain world");
  CHARFORMAT format{};
  format.dwMask = CFM_BOLD;
  rich.GetSelectionCharFormat(format);
  EXPECT_NE(format.dwEffects & CFE_BOLD, 0u);
  rich.SetEventMask(ENM_CHANGE);
  EXPECT_EQ(rich.GetEventMask(), static_cast<DWORD>(ENM_CHANGE));
  rich.SetReadOnly();
  EXPECT_NE(rich.GetStyle() & ES_READONLY, 0u);
}

// ---- menus and image lists ------------------------------------------------------------------------

TEST(CMenuTest, AResourceMenuIsReadAndChanged) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_MAIN_MENU));
  EXPECT_EQ(menu.GetMenuItemCount(), 4);
  CString title;
  menu.GetMenuString(1, title, MF_BYPOSITION);
  EXPECT_EQ(TextOf(title), L"View");
  CMenu* recovery = menu.GetSubMenu(0);
  ASSERT_NE(recovery, nullptr);
  EXPECT_EQ(recovery->GetMenuItemID(0), static_cast<UINT>(ID_OPEN_IMAGE));
  EXPECT_EQ(recovery->GetMenuItemID(2), 0u);                // a separator
  EXPECT_EQ(menu.GetMenuItemID(0), static_cast<UINT>(-1));  // a submenu
  CString item;
  recovery->GetMenuString(ID_EXIT, item, MF_BYCOMMAND);
  EXPECT_EQ(TextOf(item), L"E&xit");

  EXPECT_EQ(recovery->EnableMenuItem(ID_EXIT, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_NE(recovery->GetMenuState(ID_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
  recovery->CheckMenuItem(ID_OPEN_IMAGE, MF_BYCOMMAND | MF_CHECKED);
  EXPECT_NE(recovery->GetMenuState(ID_OPEN_IMAGE, MF_BYCOMMAND) & MF_CHECKED, 0u);
  ASSERT_TRUE(recovery->SetDefaultItem(ID_OPEN_IMAGE));
  EXPECT_EQ(recovery->GetDefaultItem(0), static_cast<UINT>(ID_OPEN_IMAGE));
  int before = recovery->GetMenuItemCount();
  ASSERT_TRUE(recovery->DeleteMenu(ID_EXIT, MF_BYCOMMAND));
  EXPECT_EQ(recovery->GetMenuItemCount(), before - 1);
}

TEST(CMenuTest, BuiltMenusAreOwnedUntilDetached) {
  HMENU kept = nullptr;
  HMENU destroyed = nullptr;
  {
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_STRING, 9158, _T("Sort Ascending")));
    ASSERT_TRUE(popup.AppendMenu(MF_SEPARATOR));
    ASSERT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 9159, _T("Sort Descending")));
    ASSERT_TRUE(popup.ModifyMenu(9159, MF_BYCOMMAND | MF_STRING, 9160, _T("Align Left")));
    EXPECT_EQ(popup.GetMenuItemID(0), 9160u);
    ASSERT_TRUE(popup.CheckMenuRadioItem(0, 1, 1, MF_BYPOSITION));
    EXPECT_NE(popup.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_EQ(CMenu::FromHandle(popup.m_hMenu), &popup);
    destroyed = popup.m_hMenu;
    CMenu other;
    other.CreateMenu();
    kept = other.Detach();
  }
  EXPECT_FALSE(::IsMenu(destroyed));
  EXPECT_TRUE(::IsMenu(kept));
  ::DestroyMenu(kept);
}

TEST(CImageListTest, ImagesFromABitmapStripAndIconsAreDrawn) {
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_TREE_STATE_IMAGES, 16, 1, RGB(255, 255, 255)));
  EXPECT_EQ(list.GetImageCount(), 4);
  EXPECT_FALSE(list.Create(16, 16, ILC_COLOR24, 0, 1));  // it holds a list already
  IMAGEINFO info{};
  ASSERT_TRUE(list.GetImageInfo(2, &info));
  EXPECT_EQ(CRect(info.rcImage).Size(), CSize(16, 16));
  EXPECT_NE(info.hbmMask, nullptr);
  EXPECT_EQ(list.Add(::LoadIconW(nullptr, IDI_APPLICATION)), 4);
  HICON extracted = list.ExtractIcon(4);
  EXPECT_NE(extracted, nullptr);
  ::DestroyIcon(extracted);
  EXPECT_EQ(CImageList::FromHandle(list.m_hImageList), &list);

  // Image 0 of the strip is empty: drawn transparently it leaves the canvas as it was.
  CClientDC screen(nullptr);
  CDC canvas;
  canvas.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 32, 16);
  CBitmap* old = canvas.SelectObject(&bitmap);
  canvas.FillSolidRect(0, 0, 32, 16, RGB(0, 0, 255));
  ASSERT_TRUE(list.Draw(&canvas, 0, CPoint(0, 0), ILD_TRANSPARENT));
  ASSERT_TRUE(list.Draw(&canvas, 2, CPoint(16, 0), ILD_TRANSPARENT));
  EXPECT_EQ(canvas.GetPixel(8, 8), RGB(0, 0, 255));
  int changed = 0;
  for (int x = 16; x < 32; ++x) {
    for (int y = 0; y < 16; ++y) changed += canvas.GetPixel(x, y) != RGB(0, 0, 255) ? 1 : 0;
  }
  EXPECT_GT(changed, 20);
  canvas.SelectObject(old);

  ASSERT_TRUE(list.Remove(-1));
  EXPECT_EQ(list.GetImageCount(), 0);
  HIMAGELIST handle = list.Detach();
  EXPECT_EQ(list.m_hImageList, nullptr);
  ::ImageList_Destroy(handle);
}

}  // namespace
