// The bars' text fields, combo boxes, hosted windows and special lists in a real MDI frame under Wine:
// typing into a bar's edit and combo box, the hint shown, replaced and a text equal to it kept, Escape,
// completion of a recent path from the combo's list and from the shell, the window list of the frame's
// MDI children, the grid selector picking 3 x 4, and a hosted window that follows its bar's width.
#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_custom.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/controls/tkp_edit_window.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "platform/classlib/carchive.h"
#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Edit Combo Test")) {}
  void KeepRecentFiles() { LoadStdProfileSettings(4); }
};
TestApp theApp;

constexpr int kFind = 5101;
constexpr int kPath = 5102;
constexpr int kProgress = 5103;
constexpr int kGrid = 5104;
constexpr int kWindows = 35000;
constexpr int kRecent = 35003;
constexpr int kHostedId = 5201;

// A bar that lays its controls out in one row; the hosted window's control takes what is left.
class FieldBar : public CTKPCommandBar {
 public:
  FieldBar() { m_barPosition = tkpBarTop; }
  BOOL Create(CWnd* pParent) {
    return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), _T("Fields"),
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParent, 0);
  }
  BOOL IsVisible() const override { return m_hWnd != nullptr; }
  void OnRecalcLayout() override { Layout(); }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(GetPaintManager()->GetRegularFont(this));
    std::vector<CSize> sizes;
    int used = 4;
    for (int i = 0; i < GetControlCount(); ++i) {
      GetControl(i)->OnCalcDynamicSize(dwMode);
      sizes.push_back(GetControl(i)->IsVisible() ? GetControl(i)->GetSize(&dc) : CSize());
      if (GetControl(i) != stretch && GetControl(i)->IsVisible()) used += sizes.back().cx + 6;
    }
    int x = 4;
    for (int i = 0; i < GetControlCount(); ++i) {
      CTKPControl* control = GetControl(i);
      if (!control->IsVisible()) continue;
      CSize size = sizes[static_cast<size_t>(i)];
      if (control == stretch) {
        stretch->SetSize(CSize(std::max(nLength - used - 4, 20), 16));
        size = stretch->GetSize(&dc);
      }
      control->SetRect(CRect(CPoint(x, 3), size));
      x += size.cx + 6;
    }
    dc.SelectObject(old);
    return CSize(x, 30);
  }
  void Layout() {
    CRect rc;
    GetClientRect(rc);
    CalcDynamicLayout(rc.Width(), 0);
    Invalidate(FALSE);
  }
  CTKPControlCustom* stretch = nullptr;

 protected:
  afx_msg void OnSize(UINT, int, int) { Layout(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FieldBar, CTKPCommandBar)
  ON_WM_SIZE()
END_MESSAGE_MAP()

// The MDI frame with the bar along its top; it records what the controls tell it.
class TestFrame : public CMDIFrameWnd {
 public:
  static constexpr int kBarHeight = 30;
  FieldBar* bar = nullptr;
  std::vector<UINT> codes;       // control notifications, in order
  std::vector<UINT> commands;    // commands the controls ran
  std::vector<UINT> popupNotices;  // popups opening and closing

  void RecalcLayout(BOOL bNotify = TRUE) override {
    CMDIFrameWnd::RecalcLayout(bNotify);
    CRect rc;
    GetClientRect(rc);
    if (bar != nullptr && bar->m_hWnd != nullptr) bar->MoveWindow(CRect(0, 0, rc.right, kBarHeight), TRUE);
    if (m_hWndMDIClient != nullptr) ::MoveWindow(m_hWndMDIClient, 0, kBarHeight, rc.right, rc.bottom - kBarHeight, TRUE);
  }
  size_t Count(UINT code) const { return static_cast<size_t>(std::count(codes.begin(), codes.end(), code)); }

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message == TKP_WM_CONTROL_NOTIFY) {
      codes.push_back(reinterpret_cast<NMTKPCONTROL*>(lParam)->code);
      *pResult = 0;
      return TRUE;
    }
    if (message == TKP_WM_INITCOMMANDSPOPUP || message == TKP_WM_UNINITCOMMANDSPOPUP) popupNotices.push_back(message);
    return CMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (lParam == 0 && LOWORD(wParam) >= kFind && LOWORD(wParam) <= kGrid) {
      commands.push_back(LOWORD(wParam));
      return TRUE;
    }
    return CMDIFrameWnd::OnCommand(wParam, lParam);
  }
};

std::wstring WindowText(HWND hwnd) { return harness::Text(hwnd); }

// Keys as the bar's keyboard hook hands them on: the bar sees each first, and what it leaves to the
// focused window (2) goes there as the character.
void TypeThroughBar(CTKPCommandBar* bar, HWND field, const std::wstring& text) {
  for (wchar_t c : text) {
    const UINT key = c == L'\b' ? VK_BACK : LOBYTE(::VkKeyScanW(c));
    if (bar->OnHookKeyDown(key, 0) == 2) ::SendMessageW(field, WM_CHAR, c, 1);
  }
  harness::PumpMessages();
}

class EditCombo : public testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    frame = new TestFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Dorvane - command bar fields"), WS_OVERLAPPEDWINDOW,
                              RECT{30, 30, 30 + 720, 30 + 420}));
    frame->bar = new FieldBar;
    ASSERT_TRUE(frame->bar->Create(frame));
    bar = frame->bar;

    find = new CTKPControlEdit;
    bar->GetControls()->Add(find, kFind);
    find->SetCaption(_T("Find:"));
    find->SetWidth(190);

    path = new CTKPControlComboBox;
    bar->GetControls()->Add(path, kPath);
    path->SetDropDownListStyle(TRUE);
    path->SetWidth(220);
    path->EnableAutoComplete(TRUE);
    for (const TCHAR* item : {_T("C:\\Images\\disk1.vhd"), _T("C:\\Images\\backup.vhdx"), _T("D:\\Recovered")}) {
      path->AddString(item);
    }

    hosted.Create(_T("msctls_progress32"), nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
    ::SetWindowLongPtrW(hosted.m_hWnd, GWLP_ID, kHostedId);
    ::SendMessageW(hosted.m_hWnd, PBM_SETPOS, 60, 0);
    custom = new CTKPControlCustom;
    bar->GetControls()->Add(custom, kProgress);
    custom->SetCaption(_T("Progress"));
    custom->SetBorders(CRect(2, 4, 2, 4));
    custom->SetControl(&hosted);
    bar->stretch = custom;

    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    ::SetForegroundWindow(frame->m_hWnd);
    frame->SetFocus();
    harness::PumpMessages();
  }
  void TearDown() override {
    if (::IsWindow(hosted.m_hWnd)) hosted.DestroyWindow();
    frame->DestroyWindow();
    harness::PumpMessages();
    bar->InternalRelease();
    ::CoUninitialize();
  }
  // The dropped list's screen rectangle; its items' height.
  CRect ListRect(int* itemHeight) const {
    CTKPControlComboBoxList* list = path->GetListWnd();
    *itemHeight = static_cast<int>(list->SendMessage(LB_GETITEMHEIGHT));
    CRect window;
    list->GetWindowRect(window);
    return window;
  }
  HWND FindWnd() const { return find->GetEditCtrl()->GetSafeHwnd(); }
  HWND PathWnd() const { return path->GetEditCtrl()->GetSafeHwnd(); }

  TestFrame* frame = nullptr;
  FieldBar* bar = nullptr;
  CTKPControlEdit* find = nullptr;
  CTKPControlComboBox* path = nullptr;
  CTKPControlCustom* custom = nullptr;
  CWnd hosted;
};

TEST_F(EditCombo, TypingIntoTheEditTracksTheBarAndTellsTheSite) {
  ASSERT_NE(FindWnd(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(FindWnd()));
  const int lockBefore = TKPMouseManager()->m_nLockButtonUp;
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  EXPECT_TRUE(find->IsFocused());
  EXPECT_TRUE(bar->IsTrackingMode());
  EXPECT_EQ(bar->GetSelected(), find->GetIndex());
  EXPECT_EQ(TKPMouseManager()->m_nLockButtonUp, lockBefore + 1);
  TypeThroughBar(bar, FindWnd(), L"disk.vhd");
  EXPECT_EQ(find->GetEditText(), CString(_T("disk.vhd")));
  EXPECT_EQ(frame->Count(EN_SETFOCUS), 1u);
  EXPECT_EQ(frame->Count(EN_CHANGE), 8u);
  // Return runs the field's command through the site.
  EXPECT_EQ(bar->OnHookKeyDown(VK_RETURN, 0), 1);
  harness::PumpMessages();
  EXPECT_EQ(frame->commands, std::vector<UINT>({kFind}));
  // The focus leaves: the bar stops tracking and the counter falls again.
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_FALSE(find->IsFocused());
  EXPECT_FALSE(bar->IsTrackingMode());
  EXPECT_EQ(TKPMouseManager()->m_nLockButtonUp, lockBefore);
  EXPECT_EQ(frame->Count(EN_KILLFOCUS), 1u);
  EXPECT_EQ(find->GetEditText(), CString(_T("disk.vhd")));
}

// The frame's shortcuts leave keys to a focused field of a bar, whatever the field's window class.
TEST_F(EditCombo, TheFocusedFieldIsKnownAsTheBarsEdit) {
  ASSERT_NE(FindWnd(), nullptr);
  wchar_t name[32] = {};
  ::GetClassNameW(FindWnd(), name, 32);
  EXPECT_EQ(CString(name), TKPRichEditLoader()->GetClassName().IsEmpty() ? CString(_T("Edit"))
                                                                         : TKPRichEditLoader()->GetClassName());
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  ASSERT_NE(TKPCommandBarEditWithFocus(), nullptr) << name;
  EXPECT_EQ(TKPCommandBarEditWithFocus()->m_hWnd, FindWnd());
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  ASSERT_NE(TKPCommandBarEditWithFocus(), nullptr);
  EXPECT_EQ(TKPCommandBarEditWithFocus()->m_hWnd, PathWnd());
  // A field that is not a bar's child is not one of them.
  CWnd loose;
  ASSERT_TRUE(loose.CreateEx(0, _T("Edit"), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), frame, 77));
  loose.SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(TKPCommandBarEditWithFocus(), nullptr);
  loose.DestroyWindow();
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(TKPCommandBarEditWithFocus(), nullptr);
}

// Cut, Copy and Paste of the frame run in the focused field alone: the frame learns that the field took them.
TEST_F(EditCombo, TheFramesClipboardCommandsRunInTheFocusedFieldOnce) {
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  bars->SetSite(frame);
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  ::SetWindowTextW(FindWnd(), L"disk.vhd");
  ::SendMessageW(FindWnd(), EM_SETSEL, 0, 5);
  LRESULT result = 0;
  EXPECT_TRUE(bars->OnFrameWndMsg(WM_COMMAND, ID_EDIT_CUT, 0, &result));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(WindowText(FindWnd()), L"vhd");
  // Other commands are the frame's; without a focused field so are Cut, Copy and Paste.
  EXPECT_FALSE(bars->OnFrameWndMsg(WM_COMMAND, ID_FILE_OPEN, 0, &result));
  frame->SetFocus();
  harness::PumpMessages();
  ::SendMessageW(FindWnd(), EM_SETSEL, 0, -1);
  EXPECT_FALSE(bars->OnFrameWndMsg(WM_COMMAND, ID_EDIT_CUT, 0, &result));
  EXPECT_EQ(WindowText(FindWnd()), L"vhd");
  bars->InternalRelease();
}

TEST_F(EditCombo, TheHintIsShownInGreyAndReplacedByTypedText) {
  find->SetEditHint(_T("Search files"));
  EXPECT_TRUE(find->IsHintShown());
  EXPECT_EQ(WindowText(FindWnd()), L"Search files");
  EXPECT_EQ(find->GetEditText(), CString());
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  ::SendMessageW(FindWnd(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, ::GetSysColor(COLOR_GRAYTEXT));

  ::SetFocus(FindWnd());
  harness::PumpMessages();
  EXPECT_EQ(WindowText(FindWnd()), L"");  // the hint makes way
  TypeThroughBar(bar, FindWnd(), L"abc");
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(WindowText(FindWnd()), L"abc");
  EXPECT_EQ(find->GetEditText(), CString(_T("abc")));
  EXPECT_FALSE(find->IsHintShown());
  ::SendMessageW(FindWnd(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, ::GetSysColor(COLOR_BTNTEXT));

  // Emptied by the program: the hint comes back.
  find->SetEditText(CString());
  EXPECT_EQ(WindowText(FindWnd()), L"Search files");
  EXPECT_EQ(find->GetEditText(), CString());
}

TEST_F(EditCombo, ATextEqualToTheHintIsKept) {
  find->SetEditHint(_T("Search files"));
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  TypeThroughBar(bar, FindWnd(), L"Search files");
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_FALSE(find->IsHintShown());
  EXPECT_EQ(find->GetEditText(), CString(_T("Search files")));
  // The window goes and comes back (a new bar layout after the bar was taken away): the text stays.
  find->SetParent(nullptr);
  EXPECT_EQ(find->GetEditCtrl()->GetSafeHwnd(), nullptr);
  find->SetParent(bar);
  bar->Layout();
  ASSERT_NE(FindWnd(), nullptr);
  EXPECT_EQ(WindowText(FindWnd()), L"Search files");
  EXPECT_EQ(find->GetEditText(), CString(_T("Search files")));
  // Focus and leave again without typing: still the user's text, not a hint.
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  EXPECT_EQ(WindowText(FindWnd()), L"Search files");
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(find->GetEditText(), CString(_T("Search files")));
}

TEST_F(EditCombo, EscapeRestoresTheTextAndGivesTheFocusBack) {
  find->SetEditText(_T("first"));
  frame->SetFocus();
  harness::PumpMessages();
  HWND before = ::GetFocus();  // the frame hands its focus to the MDI client
  ASSERT_NE(before, nullptr);
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  ::SendMessageW(FindWnd(), EM_SETSEL, 5, 5);
  TypeThroughBar(bar, FindWnd(), L" second");
  EXPECT_EQ(find->GetEditText(), CString(_T("first second")));
  EXPECT_EQ(bar->OnHookKeyDown(VK_ESCAPE, 0), 1);
  harness::PumpMessages();
  EXPECT_EQ(find->GetEditText(), CString(_T("first")));
  EXPECT_EQ(::GetFocus(), before);
  EXPECT_FALSE(bar->IsTrackingMode());
}

TEST_F(EditCombo, TheComboCompletesARecentPathFromItsList) {
  ASSERT_NE(PathWnd(), nullptr);
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  EXPECT_TRUE(path->IsFocused());
  TypeThroughBar(bar, PathWnd(), L"c:\\images\\b");
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\backup.vhdx")));
  DWORD start = 0, end = 0;
  ::SendMessageW(PathWnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 11u);  // what completion added is selected, ready to be typed over
  EXPECT_EQ(end, 21u);
  EXPECT_EQ(path->GetCurSel(), 1);
  // Backspace takes the completion away and does not complete again.
  TypeThroughBar(bar, PathWnd(), L"\b");
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\b")));
  EXPECT_EQ(path->GetCurSel(), -1);
  EXPECT_GE(frame->Count(CBN_EDITCHANGE), 2u);
  EXPECT_EQ(frame->Count(CBN_SETFOCUS), 1u);
}

TEST_F(EditCombo, TheListDropsDownAsHighAsItsItemsAndAClickTakesOne) {
  path->OnClick(FALSE, path->GetRect().CenterPoint());
  harness::PumpMessages();
  ASSERT_TRUE(path->IsDroppedDown());
  CTKPControlComboBoxList* list = path->GetListWnd();
  int itemHeight = 0;
  const CRect window = ListRect(&itemHeight);
  EXPECT_EQ(window.Height(), 3 * itemHeight + 4);
  EXPECT_EQ(window.Width(), path->GetRect().Width());
  EXPECT_EQ(frame->Count(CBN_DROPDOWN), 1u);
  // Release over the third item.
  const LPARAM at = MAKELPARAM(10, 2 * itemHeight + itemHeight / 2);
  list->SendMessage(WM_MOUSEMOVE, 0, at);
  list->SendMessage(WM_LBUTTONUP, 0, at);
  harness::PumpMessages();
  EXPECT_FALSE(path->IsDroppedDown());
  EXPECT_EQ(path->GetCurSel(), 2);
  EXPECT_EQ(path->GetEditText(), CString(_T("D:\\Recovered")));
  EXPECT_EQ(frame->Count(CBN_SELCHANGE), 1u);
  EXPECT_EQ(frame->Count(CBN_SELENDOK), 1u);
  EXPECT_EQ(frame->Count(CBN_CLOSEUP), 1u);
  EXPECT_EQ(frame->commands, std::vector<UINT>({kPath}));
}

// Near the bottom of the work area the list opens above the combo, whole and on the screen (it opened
// below, past the screen's edge); the picture commandbars_combo_dropped_above.png.
TEST_F(EditCombo, NearTheBottomOfTheWorkAreaTheListOpensAboveTheCombo) {
  RECT work{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  frame->SetWindowPos(nullptr, 30, work.bottom - 90, 720, 420, SWP_NOZORDER | SWP_NOACTIVATE);
  harness::PumpMessages();
  CRect combo = path->GetRect();
  bar->ClientToScreen(combo);
  ASSERT_LT(combo.bottom, work.bottom);
  path->ShowDropDown(TRUE);
  harness::PumpMessages();
  ASSERT_TRUE(path->IsDroppedDown());
  int itemHeight = 0;
  CRect window = ListRect(&itemHeight);
  EXPECT_EQ(window.bottom, combo.top);
  EXPECT_EQ(window.Height(), 3 * itemHeight + 4);
  EXPECT_GE(window.top, work.top);
  EXPECT_EQ(window.left, combo.left);
  CTKPControlComboBoxList* list = path->GetListWnd();
  list->SendMessage(LB_SETCURSEL, 1);
  list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  harness::PumpFor(300);
  EXPECT_FALSE(harness::CaptureScreen("commandbars_combo_dropped_above").empty());
  path->ShowDropDown(FALSE);
  // Back where there is room below, it drops down again.
  frame->SetWindowPos(nullptr, 30, 30, 720, 420, SWP_NOZORDER | SWP_NOACTIVATE);
  harness::PumpMessages();
  combo = path->GetRect();
  bar->ClientToScreen(combo);
  path->ShowDropDown(TRUE);
  window = ListRect(&itemHeight);
  EXPECT_EQ(window.top, combo.bottom);
  path->ShowDropDown(FALSE);
}

// The list is a popup bar: it tracks while down (its keys come through the keyboard hook, the wheel scrolls
// it), a real click elsewhere closes it, and its window keeps the items for the next drop.
TEST_F(EditCombo, TheDroppedListTracksAsAPopupAndAClickElsewhereClosesIt) {
  path->SetDropDownItemCount(2);
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  path->ShowDropDown(TRUE);
  CTKPControlComboBoxList* list = path->GetListWnd();
  ASSERT_TRUE(path->IsDroppedDown());
  EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)));
  EXPECT_TRUE(list->IsTrackingMode());
  EXPECT_EQ(frame->popupNotices, std::vector<UINT>({TKP_WM_INITCOMMANDSPOPUP}));
  EXPECT_EQ(list->OnHookKeyDown(VK_DOWN, 0), 1);
  EXPECT_EQ(list->OnHookKeyDown(VK_DOWN, 0), 1);
  EXPECT_EQ(path->GetCurSel(), 1);
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\backup.vhdx")));
  EXPECT_EQ(list->OnHookKeyDown('X', 0), 0);        // typing is the field's
  EXPECT_EQ(list->OnHookKeyDown(VK_ESCAPE, 0), 0);  // the focused combo restores its text itself
  EXPECT_TRUE(path->IsDroppedDown());
  // Two rows of three items: the wheel brings the third in.
  WPARAM wheel = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
  LPARAM where = 0;
  LRESULT result = 0;
  EXPECT_EQ(list->OnHookMessage(nullptr, WM_MOUSEWHEEL, wheel, where, result), 1);
  EXPECT_EQ(list->SendMessage(LB_GETTOPINDEX), 1);

  CRect client;
  frame->GetWindowRect(client);
  ::SetCursorPos(client.left + 60, client.bottom - 60);  // the MDI client, away from the list
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(::SendInput(2, click, sizeof(INPUT)), 2u);
  ASSERT_TRUE(harness::WaitUntil([&] { return !path->IsDroppedDown(); }));
  EXPECT_FALSE(list->IsTrackingMode());
  EXPECT_EQ(frame->Count(CBN_CLOSEUP), 1u);
  EXPECT_EQ(frame->popupNotices, std::vector<UINT>({TKP_WM_INITCOMMANDSPOPUP, TKP_WM_UNINITCOMMANDSPOPUP}));
  ASSERT_TRUE(::IsWindow(list->GetSafeHwnd()));
  EXPECT_FALSE(list->IsWindowVisible());
  EXPECT_EQ(path->GetCount(), 3);
  EXPECT_EQ(TKPMouseManager()->IsTracked(), FALSE);
  path->ShowDropDown(TRUE);
  EXPECT_TRUE(list->IsWindowVisible());
  EXPECT_EQ(path->GetLBText(2), CString(_T("D:\\Recovered")));
  path->ShowDropDown(FALSE);
}

TEST_F(EditCombo, EscapeWhileDroppedRestoresTheSelectionAndText) {
  path->SetCurSel(0);
  frame->SetFocus();
  harness::PumpMessages();
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  path->ShowDropDown(TRUE);
  EXPECT_EQ(bar->OnHookKeyDown(VK_DOWN, 0), 1);  // the list moves on
  EXPECT_EQ(path->GetCurSel(), 1);
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\backup.vhdx")));
  EXPECT_EQ(bar->OnHookKeyDown(VK_ESCAPE, 0), 1);
  harness::PumpMessages();
  EXPECT_FALSE(path->IsDroppedDown());
  EXPECT_EQ(path->GetCurSel(), 0);
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\disk1.vhd")));
  EXPECT_FALSE(path->IsFocused());
}

TEST_F(EditCombo, F4DropsTheListAndReturnTakesTheItem) {
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  EXPECT_EQ(bar->OnHookKeyDown(VK_F4, 0), 1);
  EXPECT_TRUE(path->IsDroppedDown());
  EXPECT_EQ(bar->OnHookKeyDown(VK_DOWN, 0), 1);
  EXPECT_EQ(bar->OnHookKeyDown(VK_DOWN, 0), 1);
  EXPECT_EQ(path->GetCurSel(), 1);
  EXPECT_EQ(bar->OnHookKeyDown(VK_RETURN, 0), 1);
  harness::PumpMessages();
  EXPECT_FALSE(path->IsDroppedDown());
  EXPECT_EQ(path->GetEditText(), CString(_T("C:\\Images\\backup.vhdx")));
  EXPECT_EQ(frame->Count(CBN_SELENDOK), 1u);
  EXPECT_EQ(frame->commands, std::vector<UINT>({kPath}));
  // The command ran: the bar ends its tracking and the field gives the focus back.
  EXPECT_FALSE(path->IsFocused());
  EXPECT_FALSE(bar->IsTrackingMode());
  // Focused again with the list closed, Return runs the command on the text shown.
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  EXPECT_EQ(bar->OnHookKeyDown(VK_RETURN, 0), 1);
  harness::PumpMessages();
  EXPECT_EQ(frame->commands, std::vector<UINT>({kPath, kPath}));
  EXPECT_EQ(frame->Count(CBN_SELENDOK), 1u);
}

// Wine's SHAutoComplete accepts the window and shows no suggestions, so what can be seen here is the
// attachment: the field holds the shell library for as long as its auto-complete lives, across a new
// window, and lets go when the flags are cleared.
TEST_F(EditCombo, TheShellAutoCompleteHoldsItsLibraryWhileUsed) {
  find->SetShellAutoComplete(SHACF_FILESYSTEM | SHACF_AUTOAPPEND_FORCE_ON);
  ASSERT_NE(find->GetAutoComplete(), nullptr);
  EXPECT_EQ(find->GetAutoComplete()->GetLibrary(), ::GetModuleHandleW(L"shlwapi.dll"));
  ::SetFocus(FindWnd());
  harness::PumpMessages();
  TypeThroughBar(bar, FindWnd(), L"C:\\win");
  EXPECT_EQ(find->GetEditText(), CString(_T("C:\\win")));
  frame->SetFocus();
  harness::PumpMessages();
  // A new window gets a new auto-complete with the same flags.
  find->SetParent(nullptr);
  EXPECT_EQ(find->GetAutoComplete(), nullptr);
  find->SetParent(bar);
  bar->Layout();
  ASSERT_NE(find->GetAutoComplete(), nullptr);
  EXPECT_NE(find->GetAutoComplete()->GetLibrary(), nullptr);
  find->SetShellAutoComplete(0);
  EXPECT_EQ(find->GetAutoComplete(), nullptr);
}

// The shell's suggestion list as the field sees it: a window of the shell's class, its list the window
// after its first child.
HWND ShowSuggestionList() {
  WNDCLASSW cls{};
  cls.lpfnWndProc = ::DefWindowProcW;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"Auto-Suggest Dropdown";
  ::RegisterClassW(&cls);
  HWND drop = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls.lpszClassName, L"", WS_POPUP | WS_BORDER, 60, 90,
                                220, 80, nullptr, nullptr, cls.hInstance, nullptr);
  ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 200, 60, 20, 20, drop, nullptr, nullptr, nullptr);
  HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 200,
                                60, drop, nullptr, nullptr, nullptr);
  for (const wchar_t* item : {L"C:\\windows", L"C:\\winnt", L"C:\\work"}) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  ::SetWindowPos(drop, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  harness::PumpMessages();
  return drop;
}

TEST_F(EditCombo, AShownSuggestionListTakesTheWheelAndTheArrowsAndClosesTheDroppedList) {
  path->SetShellAutoComplete(SHACF_FILESYSTEM);
  ASSERT_NE(path->GetAutoComplete(), nullptr);
  ::SetFocus(PathWnd());
  harness::PumpMessages();
  ASSERT_EQ(bar->OnHookKeyDown(VK_F4, 0), 1);
  ASSERT_TRUE(path->IsDroppedDown());
  CTKPKeyboardManager* keys = TKPKeyboardManager();
  const WPARAM wheel = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
  const LPARAM where = MAKELPARAM(100, 100);
  // The frame hands the wheel to the tracking bars, which take it.
  EXPECT_TRUE(keys->ProcessKeyboardHooks(WM_MOUSEWHEEL, wheel, where));

  HWND drop = ShowSuggestionList();
  EXPECT_EQ(path->GetAutoComplete()->GetSuggestionWnd(), drop);
  // The dropped list made way for the suggestions, which stay.
  EXPECT_FALSE(path->IsDroppedDown());
  EXPECT_TRUE(::IsWindowVisible(drop));
  // Now the wheel goes on to the suggestions, and the arrows move in their list.
  EXPECT_FALSE(keys->ProcessKeyboardHooks(WM_MOUSEWHEEL, wheel, where));
  HWND list = ::GetWindow(::GetWindow(drop, GW_CHILD), GW_HWNDNEXT);
  EXPECT_EQ(bar->OnHookKeyDown(VK_DOWN, 0), 1);
  EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 0);

  // Hidden, the list is forgotten and the bars take the wheel again.
  ::SetWindowPos(drop, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  harness::PumpMessages();
  EXPECT_EQ(path->GetAutoComplete()->GetSuggestionWnd(), nullptr);
  EXPECT_TRUE(keys->ProcessKeyboardHooks(WM_MOUSEWHEEL, wheel, where));

  // Shown again and the focus goes: nothing is left hooked to take the keys of other windows.
  ::SetWindowPos(drop, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  harness::PumpMessages();
  ASSERT_EQ(path->GetAutoComplete()->GetSuggestionWnd(), drop);
  frame->SetFocus();
  harness::PumpMessages();
  EXPECT_FALSE(path->IsFocused());
  EXPECT_EQ(path->GetAutoComplete()->GetSuggestionWnd(), nullptr);
  EXPECT_FALSE(keys->IsKeyboardHooked());
  ::DestroyWindow(drop);
}

TEST_F(EditCombo, AHostedWindowFollowsItsBarsWidth) {
  ASSERT_EQ(::GetParent(hosted.m_hWnd), bar->m_hWnd);
  EXPECT_TRUE(::IsWindowVisible(hosted.m_hWnd));
  EXPECT_EQ(::GetWindowLongW(hosted.m_hWnd, GWL_STYLE) & WS_POPUP, 0);
  CRect before;
  ::GetWindowRect(hosted.m_hWnd, before);
  frame->SetWindowPos(nullptr, 0, 0, 720 + 150, 420, SWP_NOMOVE | SWP_NOZORDER);
  harness::PumpMessages();
  CRect after;
  ::GetWindowRect(hosted.m_hWnd, after);
  EXPECT_EQ(after.Width(), before.Width() + 150);
  EXPECT_EQ(after.Height(), 16);
  CRect expected = custom->GetRect();
  expected.DeflateRect(2, 4, 2, 4);
  bar->ScreenToClient(after);
  EXPECT_EQ(after, expected);
  // Hidden, the window leaves the control a plain button with its caption.
  hosted.ShowWindow(SW_HIDE);
  CClientDC dc(bar);
  EXPECT_NE(custom->GetSize(&dc).cx, 0);
  custom->SetHideFlags(tkpHideGeneric);
  EXPECT_FALSE(::IsWindowVisible(hosted.m_hWnd));
  custom->SetHideFlags(0);
  EXPECT_TRUE(::IsWindowVisible(hosted.m_hWnd));
  // Docked vertically the control goes, and comes back docked across.
  custom->OnCalcDynamicSize(TKP_LAYOUT_VERTICAL_DOCK);
  EXPECT_FALSE(custom->IsVisible());
  EXPECT_FALSE(::IsWindowVisible(hosted.m_hWnd));
  custom->OnCalcDynamicSize(0);
  EXPECT_TRUE(custom->IsVisible());
  EXPECT_TRUE(::IsWindowVisible(hosted.m_hWnd));
}

TEST_F(EditCombo, TheWindowListShowsTheFirstNineChildrenNumbered) {
  std::vector<CMDIChildWnd*> children;
  for (int i = 0; i < 11; ++i) {
    auto* child = new CMDIChildWnd;
    CString title;
    title.Format(i == 1 ? _T("R&D notes %d") : _T("Disk %d"), i + 1);
    ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    children.push_back(child);
  }
  frame->MDIActivate(children[2]);
  harness::PumpMessages();
  auto* menu = new FieldBar;
  ASSERT_TRUE(menu->Create(frame));
  CTKPControl* placeholder = menu->GetControls()->Add(new CTKPControlWindowList, kWindows);
  placeholder->SetCaption(_T("&Windows"));
  placeholder->OnCalcDynamicSize(0);
  ASSERT_EQ(menu->GetControlCount(), 10);
  EXPECT_FALSE(placeholder->IsVisible());
  CTKPControl* first = menu->GetControl(1);
  EXPECT_EQ(first->GetCaption(), CString(_T("&1 Disk 1")));
  EXPECT_TRUE(first->GetBeginGroup());
  EXPECT_TRUE(first->IsTemporary());
  EXPECT_EQ(menu->GetControl(2)->GetCaption(), CString(_T("&2 R&&D notes 2")));
  EXPECT_EQ(menu->GetControl(9)->GetCaption(), CString(_T("&9 Disk 9")));
  EXPECT_TRUE(menu->GetControl(3)->GetChecked());
  EXPECT_FALSE(menu->GetControl(4)->GetChecked());
  EXPECT_EQ(menu->GetControl(3)->GetID(), ::GetDlgCtrlID(children[2]->m_hWnd));
  EXPECT_NE(menu->GetControl(1)->GetFlags() & tkpFlagManualUpdate, 0u);
  // Laid out again: the old items go before the new come.
  placeholder->OnCalcDynamicSize(0);
  EXPECT_EQ(menu->GetControlCount(), 10);
  menu->DestroyWindow();
  menu->InternalRelease();
}

TEST_F(EditCombo, TheRecentFilesListNamesRelativeToTheCurrentFolder) {
  auto* menu = new FieldBar;
  ASSERT_TRUE(menu->Create(frame));
  menu->GetControls()->Add(tkpControlButton, 100);
  CTKPControl* placeholder = menu->GetControls()->Add(new CTKPControlRecentFileList, kRecent);
  placeholder->SetCaption(_T("Recent files"));
  placeholder->OnCalcDynamicSize(0);
  EXPECT_TRUE(placeholder->IsVisible());  // nothing recent: a greyed entry
  EXPECT_FALSE(placeholder->GetEnabled());
  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  theApp.KeepRecentFiles();
  theApp.AddToRecentFileList(L"Z:\\elsewhere\\old.vsnp");
  theApp.AddToRecentFileList((std::wstring(current) + L"\\Tom & Jerry.vsnp").c_str());
  placeholder->SetEnabled(TRUE);
  placeholder->OnCalcDynamicSize(0);
  ASSERT_EQ(menu->GetControlCount(), 4);
  EXPECT_FALSE(placeholder->IsVisible());
  EXPECT_EQ(menu->GetControl(2)->GetCaption(), CString(_T("&1 Tom && Jerry.vsnp")));
  EXPECT_EQ(menu->GetControl(2)->GetID(), 57616);
  EXPECT_TRUE(menu->GetControl(2)->GetBeginGroup());
  EXPECT_EQ(menu->GetControl(3)->GetCaption(), CString(_T("&2 Z:\\elsewhere\\old.vsnp")));
  menu->DestroyWindow();
  menu->InternalRelease();
}

// Controls made by type and reserved id, and from a menu's items, are of their own classes.
TEST_F(EditCombo, ControlsAreMadeOfTheirOwnClasses) {
  auto* made = new FieldBar;
  ASSERT_TRUE(made->Create(frame));
  CTKPControls* controls = made->GetControls();
  EXPECT_TRUE(controls->Add(tkpControlComboBox, 1)->IsKindOf(RUNTIME_CLASS(CTKPControlComboBox)));
  EXPECT_TRUE(controls->Add(tkpControlEdit, 2)->IsKindOf(RUNTIME_CLASS(CTKPControlEdit)));
  EXPECT_TRUE(controls->Add(tkpControlCustom, 3)->IsKindOf(RUNTIME_CLASS(CTKPControlCustom)));
  EXPECT_TRUE(controls->Add(tkpControlButton, kWindows)->IsKindOf(RUNTIME_CLASS(CTKPControlWindowList)));
  EXPECT_TRUE(controls->Add(tkpControlButton, 35002)->IsKindOf(RUNTIME_CLASS(CTKPControlWorkspaceActions)));
  EXPECT_TRUE(controls->Add(tkpControlButton, kRecent)->IsKindOf(RUNTIME_CLASS(CTKPControlRecentFileList)));
  CTKPControl* plain = controls->Add(tkpControlButton, 57616);  // only a menu's item stands for the list
  EXPECT_FALSE(plain->IsKindOf(RUNTIME_CLASS(CTKPControlRecentFileList)));
  EXPECT_EQ(controls->GetAt(0)->GetType(), tkpControlComboBox);
  EXPECT_EQ(controls->GetAt(2)->GetType(), tkpControlCustom);
  EXPECT_EQ(controls->GetAt(3)->GetType(), tkpControlButton);

  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 100, _T("&Open"));
  menu.AppendMenu(MF_STRING, kWindows, _T("Windows"));
  menu.AppendMenu(MF_STRING, 35002, _T("Tab groups"));
  menu.AppendMenu(MF_STRING, kRecent, _T("Recent files"));
  menu.AppendMenu(MF_STRING, 57616, _T("Recent file"));
  ASSERT_TRUE(made->LoadMenu(&menu));
  ASSERT_EQ(made->GetControlCount(), 5);
  EXPECT_FALSE(made->GetControl(0)->IsKindOf(RUNTIME_CLASS(CTKPControlWindowList)));
  EXPECT_TRUE(made->GetControl(1)->IsKindOf(RUNTIME_CLASS(CTKPControlWindowList)));
  EXPECT_TRUE(made->GetControl(2)->IsKindOf(RUNTIME_CLASS(CTKPControlWorkspaceActions)));
  EXPECT_TRUE(made->GetControl(3)->IsKindOf(RUNTIME_CLASS(CTKPControlRecentFileList)));
  EXPECT_TRUE(made->GetControl(4)->IsKindOf(RUNTIME_CLASS(CTKPControlRecentFileList)));
  EXPECT_EQ(made->GetControl(4)->GetID(), 57616);
  made->DestroyWindow();
  made->InternalRelease();
}

TEST_F(EditCombo, TheTabGroupCommandsThatApplyAreListed) {
  auto* menu = new FieldBar;
  ASSERT_TRUE(menu->Create(frame));
  CTKPControl* placeholder = menu->GetControls()->Add(new CTKPControlWorkspaceActions, 35002);
  placeholder->SetBeginGroup(TRUE);
  placeholder->OnCalcDynamicSize(0);
  EXPECT_EQ(menu->GetControlCount(), 1);  // a plain MDI client: nothing to list
  CTKPTabClientWnd tabs;
  ASSERT_TRUE(tabs.Attach(frame, TRUE));
  for (const TCHAR* title : {_T("disk1.vhd"), _T("disk2.vhd")}) {
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
  }
  harness::PumpMessages();
  placeholder->OnCalcDynamicSize(0);
  // Two documents in one group: a new group can be made, there is no other group to move to.
  ASSERT_EQ(menu->GetControlCount(), 3);
  EXPECT_FALSE(placeholder->IsVisible());
  EXPECT_EQ(menu->GetControl(1)->GetID(), 9422);
  EXPECT_EQ(menu->GetControl(1)->GetCaption(), CString(_T("New Hori&zontal Tab Group")));
  EXPECT_TRUE(menu->GetControl(1)->GetBeginGroup());
  EXPECT_EQ(menu->GetControl(2)->GetID(), 9423);
  EXPECT_FALSE(menu->GetControl(2)->GetBeginGroup());
  tabs.ExecuteWorkspaceCommand(9423);
  placeholder->OnCalcDynamicSize(0);
  ASSERT_EQ(menu->GetControlCount(), 2);  // one document in each group now: it can move back only
  EXPECT_EQ(menu->GetControl(1)->GetID(), 9420);
  tabs.Detach();
  menu->DestroyWindow();
  menu->InternalRelease();
}

TEST_F(EditCombo, TheGridSelectorPicksThreeByFour) {
  auto* grid = new FieldBar;
  ASSERT_TRUE(grid->Create(frame));
  auto* selector = new CTKPControlSelector;
  grid->GetControls()->Add(selector, kGrid);
  grid->MoveWindow(CRect(20, 60, 20 + 160, 60 + 130));
  grid->Layout();
  EXPECT_EQ(selector->GetShown(), CSize(5, 4));
  EXPECT_EQ(selector->GetSelectedCells(), CSize(0, 0));
  const CRect rc = selector->GetRect();
  EXPECT_EQ(rc.Size(), CSize(5 * 28, 4 * 28));
  frame->codes.clear();
  const CPoint cell(rc.left + 2 * 28 + 14, rc.top + 3 * 28 + 14);  // inside column 3, row 4
  selector->OnMouseMove(cell);
  EXPECT_EQ(selector->GetSelectedCells(), CSize(3, 4));
  EXPECT_EQ(frame->Count(TKP_SELECTOR_CHANGED), 1u);
  selector->OnMouseMove(cell);
  EXPECT_EQ(frame->Count(TKP_SELECTOR_CHANGED), 1u);  // unchanged: no notice
  selector->OnClick(FALSE, cell);
  harness::PumpMessages();
  EXPECT_EQ(selector->GetChosen(), CSize(3, 4));
  EXPECT_EQ(frame->commands, std::vector<UINT>({kGrid}));
  // Dragged far past its edges with the button held, the grid grows to its maximum and no further.
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_LBUTTON] = 0x80;
  ::SetKeyboardState(keys);
  selector->OnMouseMove(CPoint(rc.left + 5 * 28, rc.top + 10));
  EXPECT_EQ(selector->GetShown(), CSize(6, 4));
  selector->OnMouseMove(CPoint(rc.left + 4000, rc.top + 4000));
  EXPECT_EQ(selector->GetShown(), CSize(12, 12));
  EXPECT_EQ(selector->GetSelectedCells(), CSize(12, 12));
  keys[VK_LBUTTON] = 0;
  ::SetKeyboardState(keys);
  grid->DestroyWindow();
  grid->InternalRelease();
}

TEST(ComboState, AStoredComboComesBackWithItsItemsHintAndStyle) {
  CTKPControlComboBox source;
  source.SetDropDownListStyle(TRUE);
  source.SetWidth(180);
  source.SetEditHint(_T("Image path"));
  source.EnableAutoComplete(TRUE);
  source.SetDropDownItemCount(5);
  for (const TCHAR* item : {_T("C:\\a.vhd"), _T("C:\\b.vhdx"), _T("")}) source.AddString(item);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CTKPPropExchangeArchive px(ar);
    source.DoPropExchange(&px);
    ar.Close();
  }
  file.SeekToBegin();
  CTKPControlComboBox loaded;
  {
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    loaded.DoPropExchange(&px);
  }
  EXPECT_TRUE(loaded.GetDropDownListStyle());
  EXPECT_NE(loaded.GetEditCtrl(), nullptr);
  EXPECT_EQ(loaded.GetWidth(), 180);
  EXPECT_EQ(loaded.GetEditHint(), CString(_T("Image path")));
  EXPECT_EQ(loaded.GetDropDownItemCount(), 5);
  ASSERT_EQ(loaded.GetCount(), 3);
  EXPECT_EQ(loaded.GetLBText(0), CString(_T("C:\\a.vhd")));
  EXPECT_EQ(loaded.GetLBText(1), CString(_T("C:\\b.vhdx")));
  EXPECT_EQ(loaded.GetLBText(2), CString());
  EXPECT_TRUE(loaded.Compare(&source));
}

// A combo box is a popup control whose popup bar is its list; a copy keeps the list's items and width.
TEST(ComboState, TheComboIsAPopupOfItsListAndACloneKeepsTheListsWidth) {
  CTKPControlComboBox source;
  EXPECT_TRUE(source.IsKindOf(RUNTIME_CLASS(CTKPControlPopup)));
  ASSERT_NE(source.GetCommandBar(), nullptr);
  EXPECT_EQ(source.GetCommandBar(), source.GetListWnd());
  source.AddString(_T("C:\\a.vhd"));
  source.GetListWnd()->SetListWidth(260);
  CTKPControl* clone = source.Clone(FALSE);
  ASSERT_NE(clone, nullptr);
  auto* copy = static_cast<CTKPControlComboBox*>(clone);
  EXPECT_NE(copy->GetListWnd(), source.GetListWnd());
  EXPECT_EQ(copy->GetListWnd()->GetListWidth(), 260);
  EXPECT_EQ(copy->GetCount(), 1);
  clone->InternalRelease();
}

// A stored list that claims more items than a list holds (every item it has is empty).
class ClaimingExchange : public CTKPPropExchange {
 public:
  ClaimingExchange() { m_bLoading = TRUE; }
  BOOL ExchangeProp(LPCTSTR, int, void*, const void*) override { return TRUE; }
  DWORD ReadCount() override { return 0xFFFFFFFFu; }
  CTKPPropExchange* GetSection(LPCTSTR) override { return new ClaimingExchange; }
};

TEST(ComboState, LoadingStopsWhereTheListIsFull) {
  auto* list = static_cast<CTKPControlComboBoxList*>(RUNTIME_CLASS(CTKPControlComboBoxList)->CreateObject());
  ClaimingExchange px;
  list->ExchangeItems(&px);
  EXPECT_EQ(list->GetItemCount(), TKP_COMBO_MAX_ITEMS);
  list->InternalRelease();
}

TEST_F(EditCombo, Screenshot) {
  find->SetEditHint(_T("Search files"));
  path->SetCurSel(0);
  auto* child = new CMDIChildWnd;
  ASSERT_TRUE(child->Create(nullptr, _T("disk1.vhd"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                            frame));
  frame->RecalcLayout();
  harness::PumpFor(200);  // the child takes the focus first
  path->ShowDropDown(TRUE);
  path->GetListWnd()->SendMessage(LB_SETCURSEL, 1);
  path->GetListWnd()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  harness::PumpFor(600);
  EXPECT_TRUE(path->IsDroppedDown());
  EXPECT_FALSE(harness::CaptureThreadWindows("commandbars_edit_combo").empty());
  path->ShowDropDown(FALSE);
}

}  // namespace
