// The controls on a skinned dialog, driven in a real window: hover and tool buttons, icon buttons,
// the hyperlink, transparent texts, the group box and the flat combo box; and the screenshot of it all.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cdialog.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "res/resource.h"
#include "ui/controls/flat_combo_box.h"
#include "ui/controls/hover_button.h"
#include "ui/controls/hyperlink_ctrl.h"
#include "ui/controls/icon_button.h"
#include "ui/controls/xp_group_box.h"
#include "ui/skin/skin_region.h"
#include "ui/skin/transparent_controls.h"

namespace ui {
namespace {

constexpr int kTitle = 2001, kModeLabel = 2002, kToolLabel = 2003, kStatus = 2004, kGroup = 2005;
constexpr int kSelectAll = 2010, kSelectNone = 2011, kLink = 2012, kCombo = 2013;
constexpr COLORREF kNavy = RGB(20, 42, 82);

// An empty pop-up template in memory: the controls are made in code.
std::vector<WORD> PopupTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = DS_SETFONT | WS_POPUP | WS_SYSMENU | WS_CLIPSIBLINGS;
  header->cx = 280;
  header->cy = 290;
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  words.push_back(0);  // no title
  words.push_back(8);  // point size
  for (const wchar_t* c = L"Arial"; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

// The title on the skin's navy band is white.
class BandStatic : public skin::CTransparentStatic {
 protected:
  HBRUSH CtlColor(CDC* dc, UINT type) {
    HBRUSH brush = skin::CTransparentStatic::CtlColor(dc, type);
    dc->SetTextColor(RGB(255, 255, 255));
    return brush;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BandStatic, skin::CTransparentStatic)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ControlsDialog : public CDialog {
 public:
  CBitmap skinBitmap;
  BandStatic title;
  skin::CTransparentStatic modeLabel, toolLabel, status;
  CHoverButton quick, extensive;
  CToolButton back, next, stop, home;
  CXPGroupBox group;
  IconButton selectAll, selectNone;
  HyperLinkCtrl link;
  FlatComboBox combo;
  std::map<int, int> clicks;
  int erases = 0;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    skinBitmap.LoadBitmap(IDB_SKIN_SETTINGS);
    BITMAP info{};
    skinBitmap.GetBitmap(&info);
    SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowRgn(skin::CreateRegionFromBitmap(skinBitmap, skin::kSkinKeyColour, FALSE), FALSE);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));

    Subclass(title, L"Skinned controls", 38, 8, 300, 16, SS_LEFT, kTitle, font);
    Subclass(modeLabel, L"Recovery modes (the second one hovered):", 30, 44, 360, 16, SS_LEFT, kModeLabel, font);
    MakeButton(quick, IDC_QUICK_SCAN, 30, 64);
    MakeButton(extensive, IDC_EXTENSIVE_SCAN, 215, 64);
    quick.LoadBitmaps(IDB_QUICK_SCAN, IDB_QUICK_SCAN_HOT);
    extensive.LoadBitmaps(IDB_EXTENSIVE_SCAN, IDB_EXTENSIVE_SCAN_HOT);
    quick.SetHoverId(1);
    extensive.SetHoverId(2);
    quick.SetCompanion(this);
    extensive.SetCompanion(this);

    Subclass(toolLabel, L"Tool buttons: normal, hovered, pressed, normal:", 30, 148, 360, 16, SS_LEFT, kToolLabel, font);
    MakeButton(back, IDC_BACK, 30, 170);
    MakeButton(next, IDC_NEXT, 125, 170);
    MakeButton(stop, IDC_STOP, 220, 170);
    MakeButton(home, IDC_HOME, 320, 165);
    back.LoadBitmaps(IDB_BACK, IDB_BACK_HOT);
    next.LoadBitmaps(IDB_NEXT, IDB_NEXT_HOT);
    stop.LoadBitmaps(IDB_STOP, IDB_STOP_HOT);
    home.LoadBitmaps(IDB_HOME, IDB_HOME_HOT);
    back.SetTooltipText(L"Back");
    next.SetTooltipText(L"Next");

    Subclass(group, L"Select", 30, 224, 360, 78, BS_GROUPBOX, kGroup, font);
    group.SetCaptionTextColor(kNavy).SetBackgroundColor(SkinPixel(40, 226)).SetFontBold(TRUE);
    Subclass(selectAll, L"Select All", 48, 248, 150, 40, BS_AUTOCHECKBOX | WS_TABSTOP, kSelectAll, font);
    Subclass(selectNone, L"Select All", 222, 248, 150, 40, BS_AUTOCHECKBOX | WS_TABSTOP, kSelectNone, font);
    for (IconButton* button : {&selectAll, &selectNone}) {
      button->SetFlat(FALSE);
      button->SetIcon(IDI_SELECT_ALL_IN, IDI_SELECT_ALL_OUT);
    }
    selectAll.SetCheck(1);

    combo.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, RECT{30, 318, 220, 318 + 22}, this, kCombo);
    combo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (const wchar_t* item : {L"All files", L"Documents", L"Pictures"}) combo.AddString(item);
    combo.SetCurSel(0);
    link.SetURL(L"https://www.dorvane.example/help/");
    Subclass(link, L"Dorvane on the web", 240, 322, 160, 16, SS_LEFT, kLink, font);
    Subclass(status, L"Ready.", 30, 360, 360, 16, SS_LEFT, kStatus, font);
    return TRUE;
  }

  // The skin's colour at a point: what a control must match where it paints a background.
  COLORREF SkinPixel(int x, int y) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, skinBitmap.GetSafeHandle());
    COLORREF colour = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return colour;
  }

  void Subclass(CWnd& control, const wchar_t* text, int x, int y, int w, int h, DWORD style, int id, HFONT font) {
    const wchar_t* kind = (style == BS_GROUPBOX || (style & BS_AUTOCHECKBOX)) ? L"Button" : L"Static";
    HWND window = ::CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    control.SubclassWindow(window);
  }

  void MakeButton(CButton& button, int id, int x, int y) {
    button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{x, y, x + 10, y + 10}, this, static_cast<UINT>(id));
  }

 protected:
  BOOL OnEraseBkgnd(CDC* dc) {
    ++erases;
    HDC memory = ::CreateCompatibleDC(dc->m_hDC);
    HGDIOBJ old = ::SelectObject(memory, skinBitmap.GetSafeHandle());
    BITMAP info{};
    skinBitmap.GetBitmap(&info);
    ::BitBlt(dc->m_hDC, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == BN_CLICKED && lParam != 0) ++clicks[LOWORD(wParam)];
    return CDialog::OnCommand(wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ControlsDialog, CDialog)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class SkinnedControlsTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    harness::SeamTest::SetUp();
    words_ = PopupTemplate();
    ASSERT_TRUE(dialog_.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(words_.data())));
    dialog_.CenterWindow();
    dialog_.ShowWindow(SW_SHOW);
    dialog_.UpdateWindow();
    harness::PumpFor(100);
  }
  void TearDown() override {
    dialog_.DestroyWindow();
    harness::PumpMessages();
    harness::SeamTest::TearDown();
  }
  void Send(CWnd& window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    window.SendMessage(message, wParam, lParam);
    harness::PumpMessages();
  }
  // The pixels of a rectangle of the dialog's client area as shown on the screen.
  std::vector<COLORREF> Pixels(const RECT& r) {
    harness::PumpFor(50);
    std::vector<COLORREF> pixels;
    HDC dc = ::GetDC(dialog_.GetSafeHwnd());
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels.push_back(::GetPixel(dc, x, y));
    }
    ::ReleaseDC(dialog_.GetSafeHwnd(), dc);
    return pixels;
  }
  RECT AreaOf(CWnd& control) {
    RECT r;
    ::GetWindowRect(control.GetSafeHwnd(), &r);
    ::MapWindowPoints(nullptr, dialog_.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  std::vector<WORD> words_;
  ControlsDialog dialog_;
};

TEST_F(SkinnedControlsTest, TheWindowIsCutToItsSkinAndShowsEveryControl) {
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(dialog_.GetSafeHwnd(), region), ERROR);
  EXPECT_FALSE(::PtInRegion(region, 0, 0));  // the rounded corner's key colour
  EXPECT_FALSE(::PtInRegion(region, 419, 439));
  EXPECT_TRUE(::PtInRegion(region, 210, 220));
  EXPECT_TRUE(::PtInRegion(region, 20, 0));
  ::DeleteObject(region);

  // Both states of each button: the second mode hovered, Next hovered and Stop pressed.
  Send(dialog_.extensive, WM_MOUSEHOVER);
  Send(dialog_.next, WM_MOUSEHOVER);
  Send(dialog_.stop, BM_SETSTATE, TRUE);
  EXPECT_TRUE(dialog_.extensive.IsHovered());
  EXPECT_TRUE(dialog_.next.IsHovered());
  EXPECT_EQ(dialog_.selectAll.GetCheck(), 1);
  EXPECT_EQ(dialog_.selectNone.GetCheck(), 0);
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(dialog_.GetSafeHwnd(), "skinned_controls").empty());
  Send(dialog_.stop, BM_SETSTATE, FALSE);
}

TEST_F(SkinnedControlsTest, AShorterTextOverALongerOneLeavesNoTrace) {
  RECT area = AreaOf(dialog_.status);
  dialog_.status.SetWindowText(L"");
  std::vector<COLORREF> background = Pixels(area);
  dialog_.status.SetWindowText(L"Scanning sector 1,234,567 of 9,999,999 ... please wait");
  EXPECT_NE(Pixels(area), background);
  // The skin is painted again under the new text, at once.
  const int erases = dialog_.erases;
  dialog_.status.SetWindowText(L"Done.");
  EXPECT_GT(dialog_.erases, erases);
  // Right of the short text the skin shows again, exactly.
  RECT right = area;
  right.left += 60;
  dialog_.status.SetWindowText(L"");
  std::vector<COLORREF> rightBackground = Pixels(right);
  dialog_.status.SetWindowText(L"Scanning sector 1,234,567 of 9,999,999 ... please wait");
  dialog_.status.SetWindowText(L"Done.");
  EXPECT_EQ(Pixels(right), rightBackground);
  EXPECT_FALSE(harness::CaptureWindow(dialog_.GetSafeHwnd(), "transparent_static_shorter_text").empty());
}

TEST_F(SkinnedControlsTest, HoverAndLeaveSetTheHoveredModeButtonAndBack) {
  HoveredModeButton = 0;
  Send(dialog_.quick, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Send(dialog_.quick, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(HoveredModeButton, 1u);
  EXPECT_TRUE(dialog_.quick.IsHovered());
  // From the first button to the second: the first's leave clears it, the second's hover sets 2.
  Send(dialog_.quick, WM_MOUSELEAVE);
  EXPECT_EQ(HoveredModeButton, 0u);
  EXPECT_FALSE(dialog_.quick.IsHovered());
  Send(dialog_.extensive, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(HoveredModeButton, 2u);
  Send(dialog_.extensive, WM_MOUSELEAVE);
  EXPECT_EQ(HoveredModeButton, 0u);
  // Tool buttons light up the same way, without touching the mode.
  Send(dialog_.back, WM_MOUSEHOVER);
  EXPECT_TRUE(dialog_.back.IsHovered());
  EXPECT_EQ(HoveredModeButton, 0u);
  Send(dialog_.back, WM_MOUSELEAVE);
  EXPECT_FALSE(dialog_.back.IsHovered());
}

TEST_F(SkinnedControlsTest, IconButtonChecksAndCountsADoubleClickAsTwoClicks) {
  IconButton& box = dialog_.selectNone;
  EXPECT_TRUE(box.IsCheckBox());
  EXPECT_EQ(::GetWindowLongPtrW(box.GetSafeHwnd(), GWL_STYLE) & 31, BS_OWNERDRAW);
  harness::ClickCentre(box.GetSafeHwnd());
  EXPECT_EQ(box.SendMessage(BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(dialog_.clicks[kSelectNone], 1);
  harness::ClickCentre(box.GetSafeHwnd());
  EXPECT_EQ(box.SendMessage(BM_GETCHECK), BST_UNCHECKED);
  Send(box, BM_SETCHECK, BST_INDETERMINATE);
  EXPECT_EQ(box.GetCheck(), 1);
  Send(box, BM_SETCHECK, BST_UNCHECKED);
  EXPECT_EQ(box.GetCheck(), 0);

  // Down, up, double click, up: two clicks, so the box ends as it began.
  const int before = dialog_.clicks[kSelectNone];
  const LPARAM at = MAKELPARAM(10, 10);
  Send(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
  Send(box, WM_LBUTTONUP, 0, at);
  Send(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  Send(box, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(dialog_.clicks[kSelectNone], before + 2);
  EXPECT_EQ(box.GetCheck(), 0);
  EXPECT_EQ(box.SetPressedStyle(7), 6);
}

TEST_F(SkinnedControlsTest, AGreyOutIconIsAGreyCopyOfTheInIcon) {
  IconButton& box = dialog_.selectNone;
  box.SetIcon(IDI_SELECT_ALL_IN, IconButton::kGreyOutIcon);
  RECT icon = AreaOf(box);
  icon.left += 3;  // the margin; the 16-pixel icon stands vertically centred
  icon.top += (icon.bottom - icon.top - 16) / 2;
  icon.right = icon.left + 16;
  icon.bottom = icon.top + 16;
  auto blues = [](const std::vector<COLORREF>& pixels) {
    int count = 0;
    for (COLORREF c : pixels) count += GetBValue(c) > GetRValue(c) + 40;
    return count;
  };
  Send(box, BM_SETCHECK, BST_CHECKED);
  box.UpdateWindow();
  const int checkedBlues = blues(Pixels(icon));
  Send(box, BM_SETCHECK, BST_UNCHECKED);
  box.UpdateWindow();
  EXPECT_GT(checkedBlues, 10);  // the in icon's blue tick
  EXPECT_EQ(blues(Pixels(icon)), 0);
  box.SetIcon(IDI_SELECT_ALL_IN, IconButton::kDarkOutIcon);
  box.UpdateWindow();
  EXPECT_GT(blues(Pixels(icon)), 10);  // darker, still blue
}

TEST_F(SkinnedControlsTest, ATransparentIconButtonShowsTheSkinBehindIt) {
  IconButton& box = dialog_.selectNone;
  box.SetFlat(TRUE);
  const RECT area = AreaOf(box);
  // A corner clear of the icon and the caption.
  const RECT corner{area.right - 8, area.top + 2, area.right - 2, area.top + 6};
  const COLORREF skin = dialog_.SkinPixel(corner.left, corner.top);
  ASSERT_NE(skin, ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Pixels(corner).front(), ::GetSysColor(COLOR_BTNFACE));
  box.SetTransparent(TRUE);
  box.UpdateWindow();
  const std::vector<COLORREF> shown = Pixels(corner);
  size_t i = 0;
  for (int y = corner.top; y < corner.bottom; ++y) {
    for (int x = corner.left; x < corner.right; ++x) EXPECT_EQ(shown[i++], dialog_.SkinPixel(x, y)) << x << "," << y;
  }
}

bool Underlined(CWnd& control) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(control.SendMessage(WM_GETFONT)), sizeof font, &font);
  return font.lfUnderline != 0;
}

TEST_F(SkinnedControlsTest, TheLinkUnderlinesWhileHoveredUnlessAlwaysUnderlined) {
  HyperLinkCtrl& link = dialog_.link;
  EXPECT_FALSE(Underlined(link));
  Send(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(link.IsOver());
  EXPECT_TRUE(Underlined(link));
  // The leave timer finds the cursor elsewhere.
  ::SetCursorPos(0, 0);
  link.PostMessage(WM_TIMER, 100);
  harness::PumpMessages();
  EXPECT_FALSE(link.IsOver());
  EXPECT_FALSE(Underlined(link));

  link.SetUnderline(HyperLinkCtrl::kUnderlineAlways);
  EXPECT_TRUE(Underlined(link));
  Send(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  link.PostMessage(WM_TIMER, 100);
  harness::PumpMessages();
  EXPECT_FALSE(link.IsOver());
  EXPECT_TRUE(Underlined(link));
}

// The test's own browser registered for ".htm" in the prefix's classes; what was there before comes back.
class ScopedBrowserRegistration {
 public:
  ScopedBrowserRegistration() {
    wchar_t value[MAX_PATH] = {};
    LONG size = sizeof value;
    hadType_ = ::RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", value, &size) == ERROR_SUCCESS;
    if (hadType_) previousType_ = value;
    Set(L".htm", L"DorvaneTestPage");
    Set(L"DorvaneTestPage\\shell\\open\\command", L"\"C:\\Browser\\browse.exe\" -page \"%1\" -x");
  }
  ~ScopedBrowserRegistration() {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"DorvaneTestPage");
    if (hadType_) {
      Set(L".htm", previousType_.c_str());
    } else {
      ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm");
    }
  }

 private:
  static void Set(const wchar_t* key, const wchar_t* value) {
    ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, value, static_cast<DWORD>(wcslen(value) * sizeof(wchar_t)));
  }
  bool hadType_ = false;
  std::wstring previousType_;
};

TEST_F(SkinnedControlsTest, TheLinkFallsBackToTheBrowserWithItsTargetQuoted) {
  ScopedBrowserRegistration browser;
  seams.shell.SetExecuteResult(31);
  dialog_.link.SetURL(L"https://www.dorvane.example/a page\" -evil");
  harness::ClickCentre(dialog_.link.GetSafeHwnd());
  auto executed = seams.shell.Executed();
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0].verb, u"open");
  auto started = seams.shell.Started();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], u"\"C:\\Browser\\browse.exe\" -page \"https://www.dorvane.example/a page%22 -evil\"");
  EXPECT_TRUE(dialog_.link.GetVisited());
  EXPECT_TRUE(seams.boxes.Log().empty());
}

TEST_F(SkinnedControlsTest, ALinkThatCannotOpenSaysWhy) {
  ScopedBrowserRegistration browser;
  seams.shell.SetExecuteResult(31);
  seams.shell.SetStartResult(2);
  seams.boxes.Answer(seams::kOk);
  harness::ClickCentre(dialog_.link.GetSafeHwnd());
  auto log = seams.boxes.Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, u"Unable to open hyperlink:\n\nThe specified file was not found.");
  EXPECT_EQ(log[0].icon(), seams::kIconWarning);
  EXPECT_FALSE(dialog_.link.GetVisited());
  // A link visited before is no longer shown visited once its open fails.
  dialog_.link.SetVisited(TRUE, FALSE);
  seams.boxes.Answer(seams::kOk);
  harness::ClickCentre(dialog_.link.GetSafeHwnd());
  EXPECT_EQ(seams.boxes.Log().size(), 2u);
  EXPECT_FALSE(dialog_.link.GetVisited());
}

TEST_F(SkinnedControlsTest, TheGroupBoxAlignsItsCaption) {
  dialog_.group.SetAlignment(5);
  EXPECT_EQ(dialog_.group.GetAlignment(), CXPGroupBox::kLeft);
  dialog_.group.SetAlignment(CXPGroupBox::kRight);
  EXPECT_EQ(dialog_.group.GetAlignment(), CXPGroupBox::kRight);
  dialog_.group.SetText(L"Options");
  EXPECT_EQ(dialog_.group.GetCaption(), CString(L" Options "));
}

}  // namespace
}  // namespace ui
