// A toolbar holding fields: in customize mode the size cursor over a field's side edge, the edge dragged to
// a new width (never below the field's least width, Escape keeps the old one), presses on the field's
// window passed to the bar; outside it the field's context menu as a popup bar, the bar's tips shown the
// field's messages, and the combo box's own virtuals (its edit window, character format, edit rectangle).
#include <windows.h>

#include <gtest/gtest.h>
#include <vssym32.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_custom.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_control_toolbars_list.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/customize/tkp_customize_drop_source.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_pages.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/controls/tkp_edit_window.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/visual_style_theme.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Customize Fields Test")) {}
};
TestApp theApp;

class FieldFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
};

class CustomizeFields : public testing::Test {
 protected:
  void SetUp() override {
    frame = new FieldFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Fields"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 300)));
    bar = frame->Bars()->Add(_T("Search"), tkpBarTop);
    ASSERT_NE(bar, nullptr);
    bar->GetControls()->Add(tkpControlButton, ID_FIND_FILES);
    edit = static_cast<CTKPControlEdit*>(bar->GetControls()->Add(tkpControlEdit, ID_FIND_FILES + 1));
    edit->SetCaption(CString(_T("Find")));
    edit->SetWidth(120);
    frame->RecalcLayout();
    harness::PumpMessages();
    ASSERT_NE(edit->GetEditCtrl(), nullptr);
    frame->Bars()->SetCustomizeMode(TRUE);
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->Bars()->SetCustomizeMode(FALSE);
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  // Presses the field's right edge with the moves and the ending message already queued for the loop.
  void DragRightEdge(int dx, UINT end, WPARAM endParam = 0) {
    const CRect rc = edit->GetRect();
    const int y = (rc.top + rc.bottom) / 2;
    frame->Bars()->SetDragControl(edit);
    ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(rc.right - 1 + dx / 2, y));
    ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(rc.right - 1 + dx, y));
    ::PostMessageW(bar->m_hWnd, end, endParam, end == WM_LBUTTONUP ? At(rc.right - 1 + dx, y) : 0);
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(rc.right - 1, y));
    harness::PumpMessages();
  }
  FieldFrame* frame = nullptr;
  CTKPToolBar* bar = nullptr;
  CTKPControlEdit* edit = nullptr;
};

TEST_F(CustomizeFields, TheSizeCursorShowsOverAFieldsSideEdgeOnly) {
  const CRect rc = edit->GetRect();
  const int y = (rc.top + rc.bottom) / 2;
  HCURSOR size = TKPResourceManager()->LoadCursor(IDC_TK_CUSTOMIZE_RESIZE);
  ASSERT_NE(size, nullptr);
  ::SetCursor(nullptr);
  CPoint edge(rc.right - 1, y);
  bar->ClientToScreen(edge);
  ::SetCursorPos(edge.x, edge.y);
  EXPECT_TRUE(bar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), size);
  // In the middle of the field (over the bar beside its window) nothing is set.
  ::SetCursor(nullptr);
  CPoint middle(rc.left + 3, y);
  bar->ClientToScreen(middle);
  ::SetCursorPos(middle.x, middle.y);
  bar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), size);
}

TEST_F(CustomizeFields, DraggingTheSelectedFieldsEdgeSetsItsWidth) {
  const int before = edit->GetRect().Width();
  DragRightEdge(40, WM_LBUTTONUP);
  EXPECT_EQ(edit->GetWidth(), 160);
  EXPECT_EQ(frame->Bars()->GetDragControl(), edit);
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_EQ(edit->GetRect().Width(), before + 40);

  // Escape keeps the width.
  DragRightEdge(30, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(edit->GetWidth(), 160);

  // Never narrower than the field's least width.
  DragRightEdge(-400, WM_LBUTTONUP);
  EXPECT_EQ(edit->GetWidth(), 160 + edit->GetCustomizeMinWidth() - (before + 40));
}

// ---- where controls may drop ------------------------------------------------------------------------------

TEST_F(CustomizeFields, ListsAndHostedWindowsDropOnMenusOnly) {
  CTKPPopupBar* menu = CTKPPopupBar::CreatePopupBar(frame->Bars());
  CTKPControl* button = bar->GetControl(0);
  const CPoint over = button->GetRect().CenterPoint();
  EXPECT_EQ(bar->OnCustomizeDragOver(button, over, tkpcust::kDragMove), tkpcust::kDragMove);
  for (CRuntimeClass* cls : {RUNTIME_CLASS(CTKPControlWindowList), RUNTIME_CLASS(CTKPControlRecentFileList),
                             RUNTIME_CLASS(CTKPControlWorkspaceActions), RUNTIME_CLASS(CTKPControlOleItems),
                             RUNTIME_CLASS(CTKPControlToolbars), RUNTIME_CLASS(CTKPControlCustom)}) {
    auto* control = static_cast<CTKPControl*>(cls->CreateObject());
    int effect = tkpcust::kDragMove;
    EXPECT_FALSE(control->IsCustomizeDragOverAvail(bar, over, effect)) << cls->m_lpszClassName;
    EXPECT_EQ(effect, tkpcust::kDragNone) << cls->m_lpszClassName;
    effect = tkpcust::kDragCopy;
    EXPECT_TRUE(control->IsCustomizeDragOverAvail(menu, CPoint(), effect)) << cls->m_lpszClassName;
    EXPECT_EQ(effect, tkpcust::kDragCopy) << cls->m_lpszClassName;
    // The toolbar refuses it as it passes over, and a drop there changes nothing.
    EXPECT_EQ(bar->OnCustomizeDragOver(control, over, tkpcust::kDragCopy), tkpcust::kDragNone) << cls->m_lpszClassName;
    const int count = bar->GetControlCount();
    int result = tkpcust::kDragCopy;
    bar->OnCustomizeDrop(control, result, over, CPoint());
    EXPECT_EQ(result, tkpcust::kDragNone) << cls->m_lpszClassName;
    EXPECT_EQ(bar->GetControlCount(), count) << cls->m_lpszClassName;
    control->InternalRelease();
  }
  menu->InternalRelease();
}

// ---- the drag loop ----------------------------------------------------------------------------------------

// A button that counts the drags passing over it, and the points it hears.
class CountingButton : public CTKPControlButton {
 public:
  std::vector<std::pair<CTKPControl*, CPoint>> heard;
  void OnCustomizeDragOver(CTKPControl* pDragged, CPoint point) override {
    heard.emplace_back(pDragged, point);
    CTKPControlButton::OnCustomizeDragOver(pDragged, point);
  }
};

TEST_F(CustomizeFields, TheDraggedControlHearsOfTheFirstMoveOnce) {
  auto* button = new CountingButton;
  bar->GetControls()->Add(button, ID_SETTINGS);
  frame->RecalcLayout();
  harness::PumpMessages();
  // Two moves far from every bar, then the release there.
  const LPARAM away = MAKELPARAM(static_cast<WORD>(-400), 250);
  ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, away);
  ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-420), 260));
  ::PostMessageW(bar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  CTKPCustomizeDropSource source(frame->Bars(), bar);
  CPoint start = button->GetRect().CenterPoint();
  bar->ClientToScreen(start);
  EXPECT_EQ(source.DoDragDrop(button, FALSE, &start), tkpcust::kDragCancel);
  ASSERT_EQ(button->heard.size(), 1u);
  EXPECT_EQ(button->heard[0].first, button);
  EXPECT_EQ(button->heard[0].second, CPoint(-400, 250));
}

// ---- presses on the field's window ------------------------------------------------------------------------

// Records the presses that reach the bar's window and swallows them.
std::vector<std::pair<UINT, CPoint>> g_barPresses;
WNDPROC g_barProc = nullptr;
LRESULT CALLBACK RecordPresses(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
    g_barPresses.emplace_back(message, CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
  }
  return ::CallWindowProcW(g_barProc, hWnd, message, wParam, lParam);
}

TEST_F(CustomizeFields, PressesOnTheFieldsWindowGoToTheBarInItsCoordinates) {
  HWND field = edit->GetEditCtrl()->GetSafeHwnd();
  g_barPresses.clear();
  g_barProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(bar->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordPresses)));
  ::SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 4));
  ::SendMessageW(field, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(6, 3));
  ::SetWindowLongPtrW(bar->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProc));
  ASSERT_EQ(g_barPresses.size(), 2u);
  CRect window;
  ::GetWindowRect(field, window);
  bar->ScreenToClient(window);
  EXPECT_EQ(g_barPresses[0].first, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(g_barPresses[0].second, CPoint(window.left + 5, window.top + 4));
  EXPECT_EQ(g_barPresses[1].first, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(g_barPresses[1].second, CPoint(window.left + 6, window.top + 3));
  // A field that may not move keeps its press.
  edit->SetFlags(edit->GetFlags() | tkpFlagNoMovable);
  g_barPresses.clear();
  g_barProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(bar->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordPresses)));
  ::SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 4));
  ::SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(5, 4));
  ::SetWindowLongPtrW(bar->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProc));
  EXPECT_TRUE(g_barPresses.empty());
}

// ---- outside customize mode ------------------------------------------------------------------------------

class PlainFields : public CustomizeFields {
 protected:
  void SetUp() override {
    CustomizeFields::SetUp();
    frame->Bars()->SetCustomizeMode(FALSE);
    harness::PumpMessages();
  }
};

BOOL CALLBACK FindPopup(HWND hWnd, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
  if (wnd != nullptr && ::IsWindowVisible(hWnd) && wnd->IsKindOf(RUNTIME_CLASS(CTKPPopupBar))) {
    *reinterpret_cast<CTKPPopupBar**>(lParam) = static_cast<CTKPPopupBar*>(wnd);
    return FALSE;
  }
  return TRUE;
}

// The popup bar tracked now, found among the thread's windows.
CTKPPopupBar* OpenPopup() {
  CTKPPopupBar* found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(PlainFields, TheFieldsContextMenuIsAPopupBarOfTheClipboardCommands) {
  // Text on the clipboard, nothing selected: only Paste is enabled.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(::GlobalLock(text), "abc", 4);
  ::GlobalUnlock(text);
  ::SetClipboardData(CF_TEXT, text);
  ::CloseClipboard();
  edit->SetEditText(CString(_T("report")));
  HWND field = edit->GetEditCtrl()->GetSafeHwnd();
  std::vector<UINT> ids;
  std::vector<BOOL> enabled;
  tkpsteps::Script({[&] {
                      CTKPPopupBar* popup = OpenPopup();
                      if (popup == nullptr) return false;
                      for (int i = 0; i < popup->GetControlCount(); ++i) {
                        ids.push_back(static_cast<UINT>(popup->GetControl(i)->GetID()));
                        enabled.push_back(popup->GetControl(i)->GetEnabled());
                      }
                      ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
                      return true;
                    }},
                   30, 60, [] { TKPMouseManager()->SendTrackLost(); });
  ::SendMessageW(field, EM_SETSEL, 0, 0);
  ::SendMessageW(field, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
  tkpsteps::StopScript();
  EXPECT_EQ(ids, (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}));
  EXPECT_EQ(enabled, (std::vector<BOOL>{FALSE, FALSE, TRUE}));
  EXPECT_EQ(OpenPopup(), nullptr);
}

// A bar that counts what the fields on it show to its tips.
class RelayBar : public CTKPToolBar {
 public:
  std::vector<UINT> relayed;
  void RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    relayed.push_back(message);
    CTKPToolBar::RelayToolTipMessage(message, wParam, lParam);
  }
};

// A combo box whose virtuals the test replaces.
class OwnEdit : public CTKPEdit {};
class OwnCombo : public CTKPControlComboBox {
 public:
  CHARFORMAT2W GetCharFormat() override {
    CHARFORMAT2W format = CTKPControlComboBox::GetCharFormat();
    format.crTextColor = RGB(200, 0, 0);
    return format;
  }

 protected:
  CTKPEdit* CreateEditWnd() override { return new OwnEdit; }
  void AdjustEditRect(CRect& rc) const override { rc.left += 30; }
};

TEST_F(PlainFields, TheFieldsMessagesReachTheBarsTipsAndTheComboTakesItsOwnVirtuals) {
  auto* own = new RelayBar;
  ASSERT_TRUE(own->Create(frame->Bars()->GetDockBar(tkpBarTop), tkpBarTop));
  frame->Bars()->AddBar(own);
  auto* field = static_cast<CTKPControlEdit*>(own->GetControls()->Add(tkpControlEdit, ID_FIND_FILES + 2));
  auto* combo = new OwnCombo;
  own->GetControls()->Add(combo, ID_FIND_FILES + 3);
  combo->SetDropDownListStyle(TRUE);
  frame->RecalcLayout();
  harness::PumpMessages();
  ASSERT_NE(field->GetEditCtrl(), nullptr);
  ::SendMessageW(field->GetEditCtrl()->GetSafeHwnd(), WM_KEYDOWN, 'A', 1);
  ::SendMessageW(field->GetEditCtrl()->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_NE(std::find(own->relayed.begin(), own->relayed.end(), static_cast<UINT>(WM_KEYDOWN)), own->relayed.end());
  // Mouse moves reach the tips through the bar's own handling, not twice.
  EXPECT_EQ(std::count(own->relayed.begin(), own->relayed.end(), static_cast<UINT>(WM_MOUSEMOVE)), 0);

  ASSERT_NE(combo->GetEditCtrl(), nullptr);
  EXPECT_TRUE(combo->GetEditCtrl()->IsKindOf(RUNTIME_CLASS(CTKPEdit)));
  EXPECT_NE(dynamic_cast<OwnEdit*>(combo->GetEditCtrl()), nullptr);
  CRect window;
  ::GetWindowRect(combo->GetEditCtrl()->GetSafeHwnd(), window);
  own->ScreenToClient(window);
  EXPECT_EQ(window.left, combo->GetRect().left + combo->GetLabelWidth() + 4 + 30);
  if (TKPRichEditLoader()->GetModule() != nullptr) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    ::SendMessageW(combo->GetEditCtrl()->GetSafeHwnd(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.crTextColor, RGB(200, 0, 0));
  }
}

// ---- the options page's section headings -----------------------------------------------------------

TEST(OptionsHeading, TheLineBesideTheTextIsEtchedOrInTheButtonThemesEdgeShadow) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), _T("Headings"), WS_POPUP | WS_VISIBLE, CRect(50, 50, 350, 150),
                              nullptr, 0));
  CTKPCustomizeHeading heading;
  const int width = 240, height = 16;
  ASSERT_TRUE(heading.Create(_T("Other"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + width, 10 + height), &parent,
                             IDC_TK_HEADING_OTHER));
  tkptest::Canvas canvas(width, height);
  heading.DrawHeading(&canvas.dc);
  auto at = [&](int x, int y) { return canvas.Pixel(x, y); };
  const int mid = height / 2;
  // The theme the system would use for it, when visual styles are on.
  CTKPVisualStyleTheme theme;
  if (CTKPVisualStyleTheme::IsAppThemeReady()) theme.OpenThemeData(heading.m_hWnd, L"BUTTON");
  COLORREF edgeShadow = 0;
  if (theme.GetHandle() != nullptr &&
      SUCCEEDED(theme.GetThemeColor(BP_GROUPBOX, GBS_NORMAL, TMT_EDGESHADOWCOLOR, &edgeShadow))) {
    EXPECT_EQ(at(width - 3, mid), edgeShadow);
    EXPECT_EQ(at(width - 3, mid + 1), RGB(255, 255, 255));  // one pixel, not etched
  } else {
    EXPECT_EQ(at(width - 3, mid), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(at(width - 3, mid + 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  EXPECT_EQ(at(width - 3, mid - 1), RGB(255, 255, 255));
  // The line starts 6 pixels after the text: the first pixels of the row hold the text, not the line.
  EXPECT_NE(at(1, mid), at(width - 3, mid));
  heading.DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace
