// A frame's bars as the manager keeps them: the expanded-menus state ends with tracking; custom toolbars
// offered to the site, floating when torn off, put on the site's rebar and taken off it when removed; the
// customize selection's change told to the customize dialog while it is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_command_bar_accessible.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/bars/tkp_dialog_bar.h"
#include "toolkit/commandbars/bars/tkp_rebar.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Bar Behaviour Test")) {}
};
TestApp theApp;

class BarsFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
  std::vector<TKP_CREATE_COMMANDBAR> offered;
  int dragChanges = 0;
  CTKPToolBar* supply = nullptr;  // the toolbar the frame gives for a custom bar
  CTKPPopupBar* supplyPopup = nullptr;  // the popup bar it gives for a sub-menu

 protected:
  afx_msg LRESULT OnCreateCommandBar(WPARAM, LPARAM lParam) {
    auto* create = reinterpret_cast<TKP_CREATE_COMMANDBAR*>(lParam);
    offered.push_back(*create);
    if (supply != nullptr && create->bCustomBar) {
      create->pCommandBar = supply;  // the manager lets its own go
      supply = nullptr;
    }
    if (supplyPopup != nullptr && create->bPopup && !create->bExpandBar) {
      create->pCommandBar = supplyPopup;
      supplyPopup = nullptr;
    }
    return 0;
  }
  // Settings buttons show their caption alone; the control itself is left to the bar.
  afx_msg LRESULT OnBeforeCreateControl(WPARAM, LPARAM lParam) {
    auto* create = reinterpret_cast<TKP_CREATE_CONTROL*>(lParam);
    if (create->nID == ID_SETTINGS) create->buttonStyle = tkpButtonCaption;
    return 0;
  }
  afx_msg LRESULT OnDragControlChanged(WPARAM, LPARAM) {
    ++dragChanges;
    return 0;
  }
  afx_msg void OnUpdateSettings(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BarsFrame, CTKPFrameWnd)
  ON_MESSAGE(TKP_WM_CREATE_COMMANDBAR, OnCreateCommandBar)
  ON_MESSAGE(TKP_WM_DRAGCONTROLCHANGED, OnDragControlChanged)
  ON_MESSAGE(TKP_WM_BEFORE_CREATE_CONTROL, OnBeforeCreateControl)
  ON_UPDATE_COMMAND_UI(ID_SETTINGS, OnUpdateSettings)
END_MESSAGE_MAP()

// A toolbar that answers its controls' updates itself through a reflected update handler.
class ReflectingBar : public CTKPToolBar {
 public:
  std::vector<UINT> asked;

 protected:
  afx_msg void OnUpdateReflected(CCmdUI* pCmdUI) {
    asked.push_back(pCmdUI->m_nID);
    pCmdUI->Enable(pCmdUI->m_nID != ID_SETTINGS);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingBar, CTKPToolBar)
  ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateReflected)
END_MESSAGE_MAP()

class BarBehaviour : public testing::Test {
 protected:
  void SetUp() override {
    frame = new BarsFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Bars"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 300)));
    bar = frame->Bars()->Add(_T("Tools"), tkpBarTop);
    ASSERT_NE(bar, nullptr);
    const UINT ids[] = {ID_FIND_FILES, ID_SETTINGS};
    bar->SetButtons(ids, 2);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  BarsFrame* frame = nullptr;
  CTKPToolBar* bar = nullptr;
};

TEST_F(BarBehaviour, LeavingTrackingWithNothingTrackedForgetsThatMenusWereExpanded) {
  bar->SetTrackingMode(1, FALSE, FALSE);
  TKPPopupsExpandedWhileTracking() = TRUE;  // a popup expanded its hidden commands meanwhile
  bar->SetTrackingMode(0, FALSE, FALSE);
  EXPECT_FALSE(TKPMouseManager()->IsTracked());
  EXPECT_FALSE(TKPPopupsExpandedWhileTracking());
}

TEST_F(BarBehaviour, TheButtonStyleTheSiteChoosesIsKept) {
  ASSERT_EQ(bar->GetControlCount() >= 2, true);
  EXPECT_EQ(bar->GetControl(0)->GetStyle(), tkpButtonAutomatic);
  EXPECT_EQ(bar->GetControl(1)->GetID(), ID_SETTINGS);
  EXPECT_EQ(bar->GetControl(1)->GetStyle(), tkpButtonCaption);
}

TEST_F(BarBehaviour, ACustomBarIsOfferedToTheSiteAndIsNotBuiltIn) {
  const int count = frame->Bars()->GetCount();
  CTKPToolBar* mine = frame->Bars()->AddCustomBar(_T("Mine"), 59400);
  ASSERT_NE(mine, nullptr);
  ASSERT_EQ(frame->offered.size(), 1u);
  EXPECT_EQ(frame->offered[0].pCommandBar, mine);
  EXPECT_TRUE(frame->offered[0].bCustomBar);
  EXPECT_FALSE(frame->offered[0].bTearOffBar);
  EXPECT_EQ(frame->offered[0].nID, 59400u);
  EXPECT_EQ(CString(frame->offered[0].lpcstrCaption), CString(_T("Mine")));
  EXPECT_EQ(frame->Bars()->GetCount(), count + 1);
  EXPECT_EQ(mine->GetBarID(), 59400u);
  EXPECT_FALSE(mine->IsBuiltIn());
  EXPECT_FALSE(mine->IsTearOff());
  EXPECT_EQ(mine->GetPosition(), tkpBarTop);
  EXPECT_EQ(mine->GetTitle(), CString(_T("Mine")));

  // Torn off: floating; a toolbar the site supplies is the one added.
  frame->supply = new CTKPToolBar;
  CTKPToolBar* supplied = frame->supply;
  CTKPToolBar* torn = frame->Bars()->AddCustomBar(_T("Torn"), 59401, TRUE);
  EXPECT_EQ(torn, supplied);
  ASSERT_NE(torn, nullptr);
  EXPECT_TRUE(frame->offered.back().bTearOffBar);
  EXPECT_EQ(torn->GetPosition(), tkpBarFloating);
  EXPECT_TRUE(torn->IsTearOff());
  EXPECT_NE(torn->GetFlags(), 0u);  // it docks like any toolbar
}

TEST_F(BarBehaviour, ToolbarsGoOnTheSitesRebarAndComeOffItWhenRemoved) {
  CTKPReBar rebar;
  ASSERT_TRUE(rebar.Create(frame));
  CTKPToolBar* mine = frame->Bars()->AddCustomBar(_T("Mine"), 59402);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(rebar.GetBandCount(), 1);
  EXPECT_EQ(rebar.GetToolBar(0), mine);
  mine->InternalAddRef();  // kept to look at after the manager lets it go
  frame->Bars()->Remove(mine);
  EXPECT_EQ(rebar.GetBandCount(), 0);
  mine->DestroyWindow();
  mine->InternalRelease();
  rebar.DestroyWindow();
}

TEST_F(BarBehaviour, TheCustomizeSelectionsChangeGoesToTheOpenCustomizeDialog) {
  CTKPControl* control = bar->GetControl(0);
  frame->Bars()->SetDragControl(control);
  EXPECT_EQ(frame->dragChanges, 1);
  auto* sheet = new CTKPCustomizeSheet(frame->Bars());
  ASSERT_TRUE(sheet->Create(frame));
  harness::PumpMessages();
  frame->Bars()->SetDragControl(nullptr);
  EXPECT_EQ(frame->dragChanges, 1);  // the dialog heard of it instead
  sheet->DestroyWindow();
  delete sheet;
  frame->Bars()->SetDragControl(control);
  EXPECT_EQ(frame->dragChanges, 2);
  frame->Bars()->SetDragControl(nullptr);
}

TEST_F(BarBehaviour, ASubMenuItemTakesTheSitesPopupBarAndClearsItsPendingRedraw) {
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(frame->Bars());
  popup->DelayRedraw();
  popup->InternalAddRef();  // one for the test, one passed to the item
  frame->supplyPopup = popup;
  CMenu menu, sub;
  menu.CreatePopupMenu();
  sub.CreatePopupMenu();
  sub.AppendMenu(MF_STRING, ID_FIND_FILES, _T("&Find"));
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), _T("&Search"));
  CTKPControl* item = bar->GetControls()->AddMenuItem(&menu, 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(static_cast<CTKPControlPopup*>(item)->GetCommandBar(), popup);
  EXPECT_EQ(popup->m_dwState & CTKPCommandBar::stateRedrawPending, 0u);
  EXPECT_EQ(popup->GetControlCount(), 1);
  menu.DestroyMenu();
  popup->InternalRelease();
}

TEST_F(BarBehaviour, TheBarsReflectedUpdateComesFirstAndTheInitialUpdateRunsIt) {
  auto* own = new ReflectingBar;
  own->SetCommandBars(frame->Bars());
  ASSERT_TRUE(own->Create(frame, tkpBarTop));
  frame->Bars()->AddBar(own);
  const UINT ids[] = {ID_FIND_FILES, ID_SETTINGS};
  own->SetButtons(ids, 2);
  frame->RecalcLayout();
  harness::PumpMessages();
  own->asked.clear();
  own->SendMessage(WM_INITIALUPDATE);
  EXPECT_EQ(own->asked, (std::vector<UINT>{ID_FIND_FILES, ID_SETTINGS}));
  // The bar's answer wins over the frame's handler, which would enable it.
  EXPECT_FALSE(own->GetControl(1)->GetEnabled());
  EXPECT_TRUE(own->GetControl(0)->GetEnabled());
}

TEST_F(BarBehaviour, APopupsAccessibleParentIsTheControlThatOpenedIt) {
  auto* opener = static_cast<CTKPControlPopup*>(bar->GetControls()->Add(tkpControlPopup, ID_HELP));
  opener->SetCaption(CString(_T("&More")));
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(frame->Bars());
  popup->GetControls()->Add(tkpControlButton, ID_APP_ABOUT)->SetCaption(CString(_T("&About")));
  opener->SetCommandBar(popup);
  popup->InternalRelease();
  frame->RecalcLayout();
  harness::PumpMessages();
  bar->SetTrackingMode(1, FALSE, FALSE);
  bar->PopupControl(opener->GetIndex());
  harness::PumpMessages();
  ASSERT_NE(popup->GetSafeHwnd(), nullptr);
  CTKPCommandBarAccessible accessible(popup);
  IDispatch* parent = nullptr;
  ASSERT_EQ(accessible.AccGetParent(&parent), S_OK);
  EXPECT_EQ(parent, static_cast<IAccessible*>(opener));
  if (parent != nullptr) parent->Release();
  bar->SetTrackingMode(0, FALSE, FALSE);
  harness::PumpMessages();
}

TEST_F(BarBehaviour, TheDropMarkerInvertsTheFaceColourInAnIBeam) {
  tkptest::Canvas canvas(40, 40);
  bar->m_rcMarker = CRect(10, 4, 16, 30);  // between two controls of a horizontal bar
  bar->m_bVerticalMarker = TRUE;
  bar->DrawCustomizeMarker(&canvas.dc);
  const COLORREF face = TKPColorManager()->GetColor(COLOR_BTNFACE);
  const COLORREF inverted = RGB(255, 255, 255) ^ face;
  EXPECT_EQ(canvas.Pixel(12, 4), inverted);   // the top cap
  EXPECT_EQ(canvas.Pixel(15, 29), inverted);  // the bottom cap
  EXPECT_EQ(canvas.Pixel(12, 15), inverted);  // the stem, two pixels wide
  EXPECT_EQ(canvas.Pixel(13, 15), inverted);
  EXPECT_EQ(canvas.Pixel(11, 15), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(12, 5), RGB(255, 255, 255) ^ face);  // the stem below the cap, not inverted twice
  // Drawn again it is gone.
  bar->DrawCustomizeMarker(&canvas.dc);
  EXPECT_EQ(canvas.Pixel(12, 15), RGB(255, 255, 255));
  bar->m_rcMarker.SetRectEmpty();
}

TEST_F(BarBehaviour, TheMenuBarRegistersTheSystemCommandsIcons) {
  ASSERT_NE(frame->Bars()->SetMenu(_T("Menu Bar"), 0), nullptr);
  CTKPImageManager* images = frame->Bars()->GetImageManager();
  for (UINT command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
    CTKPImageManagerIcon* icon = images->GetImage(command, 16);
    ASSERT_NE(icon, nullptr) << command;
    EXPECT_EQ(icon->GetWidth(), 16);
  }
  // The close icon: its cross in the art's navy over a transparent ground.
  tkptest::Canvas canvas(16, 16);
  CTKPImageManagerIcon* close = images->GetImage(SC_CLOSE, 16);
  close->Draw(&canvas.dc, CPoint(0, 0), close->GetIcon(), CSize(16, 16));
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(15, 15), RGB(255, 255, 255));
  int ink = 0;
  for (int i = 5; i <= 10; ++i) ink += canvas.Pixel(i, i - 1) != RGB(255, 255, 255) ? 1 : 0;
  EXPECT_GE(ink, 4);
}

TEST_F(BarBehaviour, ADialogBarsClientSizesComeBackWithTheLayout) {
  theApp.SetRegistryKey(_T("Dorvane Bar Behaviour Test"));
  auto* dialog =
      static_cast<CTKPDialogBar*>(frame->Bars()->Add(_T("Folders"), tkpBarLeft, RUNTIME_CLASS(CTKPDialogBar)));
  ASSERT_NE(dialog, nullptr);
  bar->SetBarID(59401);
  dialog->SetBarID(59402);
  dialog->SetDockedClientSize(CSize(180, 240));
  dialog->SetFloatingClientSize(CSize(300, 200));
  frame->Bars()->SaveBarState(_T("BehaviourState"));
  dialog->SetDockedClientSize(CSize(10, 10));
  dialog->SetFloatingClientSize(CSize(20, 20));
  frame->Bars()->LoadBarState(_T("BehaviourState"));
  EXPECT_EQ(dialog->GetDockedClientSize(), CSize(180, 240));
  EXPECT_EQ(dialog->GetFloatingClientSize(), CSize(300, 200));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Bar Behaviour Test");
}

// A manager whose active document type the test chooses, in a frame that customizes.
class DocTemplateBars : public CTKPCommandBars {
 public:
  UINT docTemplate = 0;
  UINT GetActiveDocTemplate() const override { return docTemplate; }
};

class CustomizingFrame : public CTKPFrameWnd {
 public:
  HMENU documentMenu = nullptr;  // the active document's menu
  int menuReapplied = 0;
  // The document's menu goes back on the menu bar, as an MDI frame hands it over.
  void OnUpdateFrameMenu(HMENU hMenuAlt) override {
    ++menuReapplied;
    CTKPMenuBar* menuBar = Bars()->GetMenuBar();
    if (hMenuAlt == nullptr && documentMenu != nullptr && menuBar != nullptr) menuBar->SwitchMenu(documentMenu);
  }
  DocTemplateBars* Bars() {
    if (m_pCommandBars == nullptr) {
      auto* bars = new DocTemplateBars;
      bars->SetSite(this);
      bars->EnableDocking();
      m_pCommandBars = bars;
    }
    return static_cast<DocTemplateBars*>(m_pCommandBars);
  }

 protected:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingFrame, CTKPFrameWnd)
  ON_COMMAND(TKP_ID_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

// The frame with its own menu, which the menu bar takes over, in a manager that customizes.
void OpenMenus(CustomizingFrame* frame, DocTemplateBars** ppBars, CTKPMenuBar** ppMenuBar) {
  ASSERT_TRUE(frame->Create(nullptr, _T("Menus"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  ::SetMenu(frame->m_hWnd, ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU)));
  *ppBars = frame->Bars();
  ASSERT_TRUE((*ppBars)->IsCustomizeAvail());
  *ppMenuBar = (*ppBars)->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU);
  ASSERT_NE(*ppMenuBar, nullptr);
}

TEST(MenuBarCache, AnotherDocumentsMenuParksTheControlsAndTheirMenuBringsThemBack) {
  auto* frame = new CustomizingFrame;
  DocTemplateBars* bars = nullptr;
  CTKPMenuBar* menuBar = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenMenus(frame, &bars, &menuBar));
  CTKPControls* defaults = menuBar->GetControls();
  const int defaultCount = defaults->GetCount();
  // A document type's menu of two items, as a handle the way the MDI client hands it over.
  HMENU other = ::CreateMenu();
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenuW(sub, MF_STRING, ID_FIND_FILES, L"&Find");
  ::AppendMenuW(other, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Document");
  ::AppendMenuW(other, MF_STRING, ID_HELP, L"&Help");
  bars->docTemplate = 700;
  menuBar->SwitchMenu(other);
  EXPECT_EQ(menuBar->GetCurrentMenuID(), 700u);
  ASSERT_GE(menuBar->GetControlCount(), 1);
  EXPECT_STREQ(menuBar->GetControl(0)->GetCaption().GetString(), _T("&Document"));
  EXPECT_EQ(menuBar->GetCachedMenuCount(), 1);  // the default controls wait
  CTKPControls* documents = menuBar->GetControls();
  EXPECT_NE(documents, defaults);
  // The frame's own menu brings the default controls back, and the document's wait in their turn.
  menuBar->SwitchMenu(menuBar->GetFrameMenu());
  EXPECT_EQ(menuBar->GetCurrentMenuID(), static_cast<UINT>(IDR_MAIN_MENU));
  EXPECT_EQ(menuBar->GetControls(), defaults);
  EXPECT_EQ(menuBar->GetControlCount(), defaultCount);
  EXPECT_EQ(menuBar->GetCachedMenuCount(), 1);
  // The same document menu again: the parked controls, not new ones.
  menuBar->SwitchMenu(other);
  EXPECT_EQ(menuBar->GetControls(), documents);
  // A copy knows the default menu and parks copies of its own, down to the popups' bars.
  CTKPCommandBar* clone = menuBar->Clone();
  ASSERT_NE(clone, nullptr);
  auto* copy = static_cast<CTKPMenuBar*>(clone);
  EXPECT_EQ(copy->GetDefaultMenuID(), static_cast<UINT>(IDR_MAIN_MENU));
  ASSERT_EQ(copy->GetCachedMenuCount(), 1);
  CTKPControls* parked = menuBar->GetMdiMenus().front();
  CTKPControls* parkedCopy = copy->GetMdiMenus().front();
  EXPECT_NE(parkedCopy, parked);
  const auto popupBars = [](CTKPControls* controls) {
    std::vector<CTKPCommandBar*> bars;
    for (int i = 0; i < controls->GetCount(); ++i) {
      if (CTKPCommandBar* popup = controls->GetAt(i)->GetCommandBar()) bars.push_back(popup);
    }
    return bars;
  };
  const std::vector<CTKPCommandBar*> originals = popupBars(parked), copies = popupBars(parkedCopy);
  EXPECT_FALSE(originals.empty());
  EXPECT_EQ(copies.size(), originals.size());
  for (CTKPCommandBar* popup : copies) {
    EXPECT_EQ(std::find(originals.begin(), originals.end(), popup), originals.end());
  }
  clone->InternalRelease();
  // Before saving: the default menu is shown again and an unchanged document menu is dropped.
  menuBar->RestoreCache();
  EXPECT_TRUE(menuBar->IsCacheRestored());
  EXPECT_EQ(menuBar->GetControls(), defaults);
  EXPECT_EQ(menuBar->GetCachedMenuCount(), 0);
  ::DestroyMenu(other);
  frame->DestroyWindow();
  harness::PumpMessages();
}

// Parked controls that lost their originals get them again from their menu when they come back.
TEST(MenuBarCache, ParkedControlsWithoutOriginalsTakeThemFromTheirMenu) {
  auto* frame = new CustomizingFrame;
  DocTemplateBars* bars = nullptr;
  CTKPMenuBar* menuBar = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenMenus(frame, &bars, &menuBar));
  HMENU other = ::CreateMenu();
  ::AppendMenuW(other, MF_STRING, ID_FIND_FILES, L"&Find");
  ::AppendMenuW(other, MF_STRING, ID_HELP, L"&Help");
  bars->docTemplate = 700;
  menuBar->SwitchMenu(other);
  CTKPControls* documents = menuBar->GetControls();
  documents->ReleaseOriginalControls();
  menuBar->SwitchMenu(menuBar->GetFrameMenu());
  ASSERT_EQ(menuBar->GetCurrentMenuID(), static_cast<UINT>(IDR_MAIN_MENU));
  menuBar->SwitchMenu(other);
  ASSERT_EQ(menuBar->GetControls(), documents);
  ASSERT_NE(documents->GetOriginalControls(), nullptr);
  EXPECT_EQ(documents->GetOriginalControls()->GetCount(), 2);
  EXPECT_FALSE(documents->IsChanged());
  ::DestroyMenu(other);
  frame->DestroyWindow();
  harness::PumpMessages();
}

// Saving the bars shows the default menu for a moment; the frame then puts its document's menu back.
TEST(MenuBarCache, AfterSavingTheBarsTheDocumentsMenuShowsAgain) {
  theApp.SetRegistryKey(_T("Dorvane Bar Behaviour Test"));
  auto* frame = new CustomizingFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Menus"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  ::SetMenu(frame->m_hWnd, ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU)));
  DocTemplateBars* bars = frame->Bars();
  CTKPMenuBar* menuBar = bars->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU);
  ASSERT_NE(menuBar, nullptr);
  HMENU other = ::CreateMenu();
  ::AppendMenuW(other, MF_STRING, ID_HELP, L"&Help");
  frame->documentMenu = other;
  bars->docTemplate = 700;
  menuBar->SwitchMenu(other);
  ASSERT_EQ(menuBar->GetCurrentMenuID(), 700u);
  bars->SaveBarState(_T("MenuCacheState"));
  EXPECT_EQ(frame->menuReapplied, 1);
  EXPECT_EQ(menuBar->GetCurrentMenuID(), 700u);
  ASSERT_GE(menuBar->GetControlCount(), 1);
  EXPECT_STREQ(menuBar->GetControl(0)->GetCaption().GetString(), _T("&Help"));
  // Without a cache to fold back the frame is left alone.
  auto* plain = new CustomizingFrame;
  ASSERT_TRUE(plain->Create(nullptr, _T("Plain"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  plain->Bars()->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU);
  plain->Bars()->SaveBarState(_T("MenuCacheState"));
  EXPECT_EQ(plain->menuReapplied, 0);
  plain->DestroyWindow();
  frame->DestroyWindow();
  ::DestroyMenu(other);
  harness::PumpMessages();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Bar Behaviour Test");
}

// Controls shown for some document types only: hidden while another type is active and shown again when
// one of theirs is; the excluded ones the other way round.
TEST(DocTemplateControls, AControlHiddenForAnotherDocumentShowsAgainForItsOwn) {
  auto* frame = new CustomizingFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  DocTemplateBars* bars = frame->Bars();
  CTKPToolBar* bar = bars->Add(_T("Tools"), tkpBarTop);
  ASSERT_NE(bar, nullptr);
  CTKPControl* assigned = bar->GetControls()->Add(tkpControlButton, ID_FIND_FILES);
  CTKPControl* excluded = bar->GetControls()->Add(tkpControlButton, ID_HELP);
  assigned->GetDocTemplatesAssigned()[700] = TRUE;
  assigned->GetDocTemplatesAssigned()[710] = TRUE;
  excluded->GetDocTemplatesExcluded()[800] = TRUE;
  const auto hidden = [](CTKPControl* c) { return (c->GetHideFlags() & tkpHideDocTemplate) != 0; };
  struct Step {
    UINT active;
    bool assignedHidden, excludedHidden;
  };
  // 0 is no document at all: the flags stay as the last document left them.
  for (const Step& step : {Step{800, true, true}, Step{700, false, false}, Step{0, false, false},
                           Step{800, true, true}, Step{900, true, false}, Step{710, false, false}}) {
    bars->docTemplate = step.active;
    bar->UpdateDocTemplateControls();
    EXPECT_EQ(hidden(assigned), step.assignedHidden) << step.active;
    EXPECT_EQ(hidden(excluded), step.excludedHidden) << step.active;
  }
  frame->DestroyWindow();
  harness::PumpMessages();
}

// An MDI frame of the toolkit: it holds the bars and hears the toolkit's control notification.
class MdiBarsFrame : public CTKPMDIFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
  int notified = 0;

 protected:
  afx_msg void OnFindNotify(NMHDR*, LRESULT* pResult) {
    ++notified;
    *pResult = 1;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MdiBarsFrame, CTKPMDIFrameWnd)
  ON_NOTIFY(100, ID_FIND_FILES, OnFindNotify)
END_MESSAGE_MAP()

TEST(MdiFrame, TheMdiFrameHoldsBarsAndHearsTheirNotifications) {
  EXPECT_TRUE(RUNTIME_CLASS(CTKPMDIFrameWnd)->IsDerivedFrom(RUNTIME_CLASS(CMDIFrameWnd)));
  auto* frame = new MdiBarsFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("MDI bars"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  CTKPToolBar* tools = frame->Bars()->Add(_T("Tools"), tkpBarTop);
  ASSERT_NE(tools, nullptr);
  EXPECT_EQ(frame->GetCommandBars(), frame->Bars());
  NMHDR header{tools->m_hWnd, ID_FIND_FILES, 100};
  LRESULT handled = frame->SendMessage(TKP_WM_CONTROLNOTIFY, ID_FIND_FILES, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(frame->notified, 1);
  EXPECT_EQ(handled, 1);
  frame->DestroyWindow();
  harness::PumpMessages();
}

}  // namespace
