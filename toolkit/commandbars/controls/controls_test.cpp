// Controls and their collection: the program's main menu (343) loaded item by item, the texts a control
// takes from its command's string, adding, removing, copies and originals, keyboard walks, and a click on
// a bar's button that runs the command through the site frame (the notification first, WM_COMMAND next).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace {

using tkptest::PlainTheme;
using tkptest::TestBar;

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Controls Test")) {}
};
TestApp theApp;

constexpr int kCommand = 4711;
constexpr int kAnsweredCommand = 4712;

// A collection that lets go of itself at the end of the scope.
struct Collection {
  CTKPControls* controls = new CTKPControls;
  ~Collection() { controls->InternalRelease(); }
  CTKPControls* operator->() { return controls; }
};

std::vector<int> Ids(CTKPControls* controls) {
  std::vector<int> ids;
  for (int i = 0; i < controls->GetCount(); ++i) ids.push_back(controls->GetAt(i)->GetID());
  return ids;
}

// ---- the main menu -------------------------------------------------------------------------------

TEST(ControlsFromMenu, TheMainMenuGivesItsFourMenusAndEachMenuItsCommands) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_MAIN_MENU));
  Collection top;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) top->AddMenuItem(&menu, i);
  ASSERT_EQ(top->GetCount(), 4);
  const TCHAR* titles[] = {_T("Recovery"), _T("View"), _T("Tools"), _T("Help")};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(top->GetAt(i)->GetType(), tkpControlPopup);
    EXPECT_EQ(top->GetAt(i)->GetCaption(), CString(titles[i]));
    EXPECT_EQ(top->GetAt(i)->GetIndex(), i);
  }

  // The first menu: its commands in order, separators making no control.
  CMenu recovery;
  recovery.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
  Collection commands;
  for (int i = 0; i < recovery.GetMenuItemCount(); ++i) {
    if (::GetMenuItemID(recovery.GetSafeHmenu(), i) == 0) continue;
    commands->AddMenuItem(&recovery, i);
  }
  recovery.Detach();
  EXPECT_EQ(Ids(commands.controls), std::vector<int>({ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT,
                                                       ID_LOAD_SNAPSHOT, ID_EXIT}));
  CTKPControl* open = commands->FindControl(ID_OPEN_IMAGE);
  ASSERT_NE(open, nullptr);
  EXPECT_TRUE(open->IsKindOf(RUNTIME_CLASS(CTKPControlButton)));
  EXPECT_EQ(open->GetCaption(), CString(_T("&Open")));
  EXPECT_EQ(open->GetTooltip(), CString(_T("Open")));  // from the command's string "Open \nOpen"
  EXPECT_EQ(open->GetDescription(), CString(_T("Open ")));
  EXPECT_EQ(commands->FindControl(tkpControlButton, ID_EXIT, TRUE, FALSE)->GetCaption(), CString(_T("E&xit")));
  EXPECT_EQ(commands->FindControl(tkpControlPopup, -1, FALSE, FALSE), nullptr);
  EXPECT_EQ(commands->AddMenuItem(&menu, 99), nullptr);
  EXPECT_EQ(commands->AddMenuItem(nullptr, 0), nullptr);
}

// ---- texts ---------------------------------------------------------------------------------------

TEST(ControlTexts, PromptsCaptionsAndImages) {
  Collection c;
  CTKPControl* control = c->Add(tkpControlButton, 0);
  control->SetPrompt(CString(_T("Saves the list\nSave list")));
  EXPECT_EQ(control->GetDescription(), CString(_T("Saves the list")));
  EXPECT_EQ(control->GetTooltip(), CString(_T("Save list")));
  EXPECT_EQ(control->GetCaption(), CString(_T("Save list")));  // an empty caption takes the tooltip
  control->SetCaption(CString(_T("&Save\tCtrl+S")));
  EXPECT_EQ(control->GetCaption(), CString(_T("&Save")));
  EXPECT_EQ(control->GetShortcutText(), CString(_T("Ctrl+S")));
  EXPECT_EQ(control->GetImage(16), nullptr);  // no id, no icon
  control->SetIconId(-1);
  control->SetID(kCommand);
  EXPECT_EQ(control->GetEffectiveIconId(), kCommand);
  control->SetCustomIconId(77);
  EXPECT_EQ(control->GetEffectiveIconId(), 77);
  EXPECT_TRUE(control->IsCaptionVisible());  // a button without an image shows its caption
  control->SetStyle(tkpButtonIcon);
  EXPECT_FALSE(control->IsCaptionVisible());
}

TEST(ControlTexts, AControlOfAPopupBarAlwaysShowsItsCaption) {
  TestBar* bar = new TestBar;
  bar->SetTypeForTest(tkpBarTypePopup);
  CTKPControl* control = bar->GetControls()->Add(tkpControlButton, 0);
  control->SetStyle(tkpButtonIcon);
  EXPECT_TRUE(control->IsCaptionVisible());
  bar->InternalRelease();
}

// ---- stored keys ---------------------------------------------------------------------------------

// Records the names of the keys saved; loading finds nothing stored and takes every default.
class NamesExchange : public CTKPPropExchange {
 public:
  explicit NamesExchange(BOOL bLoading) { m_bLoading = bLoading; }
  std::vector<CString> names;
  BOOL ExchangeProp(LPCTSTR name, int nType, void* pv, const void* pvDefault) override {
    names.push_back(CString(name));
    return m_bLoading ? TKPPropCopyValue(nType, pv, pvDefault) : TRUE;
  }
  CTKPPropExchange* GetSection(LPCTSTR) override { return nullptr; }
};

TEST(ControlKeys, SavedInTheirOrderAndMissingOnesLoadTheirDefaults) {
  Collection c;
  CTKPControl* control = c->Add(tkpControlButton, kCommand);
  NamesExchange save(FALSE);
  control->DoPropExchange(&save);
  const std::vector<CString> expected = {
      _T("Type"), _T("Id"), _T("IconId"), _T("BeginGroup"), _T("Tag"), _T("Flags"), _T("HideFlags"),
      _T("Caption"), _T("ShortcutText"), _T("TooltipText"), _T("DescriptionText"), _T("Parameter"),
      _T("CustomIconId"), _T("CustomCaption"), _T("Category"), _T("DefaultItem"), _T("CloseSubMenuOnClick"),
      _T("CustomStyle"), _T("Style")};  // a button adds its style to the control's keys
  EXPECT_EQ(save.names, expected);

  CTKPControl* loaded = c->Add(tkpControlButton, 0);
  loaded->SetCloseSubMenuOnClick(FALSE);
  NamesExchange load(TRUE);
  loaded->DoPropExchange(&load);
  EXPECT_EQ(loaded->GetID(), -1);  // a stored control without an id
  EXPECT_EQ(loaded->GetType(), tkpControlButton);
  EXPECT_TRUE(loaded->GetCloseSubMenuOnClick());
}

TEST(ControlKeys, AnArchiveRoundTripGivesAnEqualControl) {
  Collection c;
  CTKPControl* control = c->Add(tkpControlButton, kCommand);
  control->SetCaption(CString(_T("&Run")));
  control->SetBeginGroup(TRUE);
  control->SetFlags(tkpFlagRightAlign);
  control->SetParameter(CString(_T("p")));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CTKPPropExchangeArchive px(ar);
    control->DoPropExchange(&px);
    ar.Close();
  }
  file.SeekToBegin();
  CTKPControl* copy = c->Add(tkpControlButton, 0);
  {
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    copy->DoPropExchange(&px);
    ar.Close();
  }
  EXPECT_TRUE(copy->Compare(control));
  EXPECT_EQ(copy->GetCaption(), CString(_T("&Run")));
}

// ---- the collection ------------------------------------------------------------------------------

TEST(ControlsCollection, AddingInsertsWhereAskedAndAppendsOtherwise) {
  Collection c;
  c->Add(tkpControlButton, 1, CString(), 0);  // before 0 on an empty collection
  c->Add(tkpControlButton, 2);
  c->Add(tkpControlButton, 3);
  c->Add(tkpControlButton, 4, CString(), 5);  // past the end
  c->Add(tkpControlButton, 5, CString(), 1);
  EXPECT_EQ(Ids(c.controls), std::vector<int>({1, 5, 2, 3, 4}));
  c->Remove(c->FindControl(5));
  c->Remove(17);
  c->Remove(static_cast<CTKPControl*>(nullptr));
  EXPECT_EQ(Ids(c.controls), std::vector<int>({1, 2, 3, 4}));
  for (int i = 0; i < c->GetCount(); ++i) EXPECT_EQ(c->GetAt(i)->GetIndex(), i);
  EXPECT_EQ(c->GetNext(c->GetAt(3)), nullptr);
  EXPECT_EQ(c->GetAt(-1), nullptr);
}

TEST(ControlsCollection, KeyboardWalkSkipsHiddenAndUnfocusableControlsAndWraps) {
  Collection c;
  for (int id = 1; id <= 4; ++id) c->Add(tkpControlButton, id);
  c->GetAt(1)->SetFlags(tkpFlagSkipFocus);
  c->GetAt(2)->SetHideFlags(tkpHideGeneric);
  EXPECT_EQ(c->GetNext(0, 1), 3);
  EXPECT_EQ(c->GetNext(3, 1), 0);    // wraps
  EXPECT_EQ(c->GetNext(-1, -1), 3);  // from the end
  c->GetAt(3)->SetHideFlags(tkpHideExpand);  // reachable: shown when the popup expands
  EXPECT_EQ(c->GetNext(0, 1), 3);
  EXPECT_EQ(c->GetNext(0, 1, TRUE, FALSE, TRUE), 0);  // a full circle comes back
  for (int i = 0; i < 4; ++i) c->GetAt(i)->SetFlags(tkpFlagSkipFocus);
  EXPECT_EQ(c->GetNext(-1, 1), -1);
  EXPECT_EQ(c->GetVisibleCount(), 2);
}

TEST(ControlsCollection, OriginalsTellWhetherTheBarWasChanged) {
  Collection c;
  EXPECT_TRUE(c->IsChanged());  // nothing to compare with
  c->Add(tkpControlButton, 1);
  c->Add(tkpControlButton, 2);
  c->CreateOriginalControls();
  EXPECT_FALSE(c->IsChanged());
  c->Add(tkpControlButton, 3, CString(), -1, TRUE);  // temporary controls do not count
  EXPECT_FALSE(c->IsChanged());
  c->GetAt(1)->SetCaption(CString(_T("Other")));
  EXPECT_TRUE(c->IsChanged());
  CTKPControls* copy = c->Duplicate();
  EXPECT_EQ(Ids(copy), std::vector<int>({1, 2}));
  EXPECT_NE(copy->GetOriginalControls(), nullptr);
  EXPECT_TRUE(copy->GetAt(0)->IsKindOf(RUNTIME_CLASS(CTKPControlButton)));
  copy->InternalRelease();
}

TEST(ControlsCollection, HitTestFindsTheFirstVisibleControlUnderThePoint) {
  Collection c;
  c->Add(tkpControlButton, 1)->SetRect(CRect(0, 0, 20, 20));
  c->Add(tkpControlButton, 2)->SetRect(CRect(20, 0, 40, 20));
  EXPECT_EQ(c->HitTest(CPoint(25, 5))->GetID(), 2);
  c->GetAt(1)->SetHideFlags(tkpHideWrap);
  EXPECT_EQ(c->HitTest(CPoint(25, 5)), nullptr);
  EXPECT_EQ(c->HitTest(CPoint(20, 20)), nullptr);
}

// ---- a click on a bar's button -------------------------------------------------------------------

class SiteFrame : public CFrameWnd {
 public:
  int commands = 0;
  int notifications = 0;
  int answeredCommands = 0;
  int created = 0;
  CTKPControl* supplied = nullptr;

 protected:
  afx_msg void OnCommandRun() { ++commands; }
  afx_msg void OnAnsweredRun() { ++answeredCommands; }
  afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam) {
    ++notifications;
    const NMTKPCONTROL* record = reinterpret_cast<const NMTKPCONTROL*>(lParam);
    EXPECT_EQ(record->code, static_cast<UINT>(TKP_CN_EXECUTE));
    EXPECT_EQ(record->idFrom, wParam);
    return wParam == kAnsweredCommand ? 1 : 0;  // the site runs that one itself
  }
  // The site makes the Exit item's control itself and hears of every control made.
  afx_msg LRESULT OnBeforeCreateControl(WPARAM, LPARAM lParam) {
    auto* record = reinterpret_cast<TKP_CREATE_CONTROL*>(lParam);
    if (record->nID != ID_EXIT) return 0;
    supplied = new CTKPControlButton;
    supplied->SetTag(99);
    record->pControl = supplied;
    return 1;
  }
  afx_msg LRESULT OnAfterCreateControl(WPARAM, LPARAM lParam) {
    EXPECT_NE(reinterpret_cast<TKP_CREATE_CONTROL*>(lParam)->pControl, nullptr);
    ++created;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SiteFrame, CFrameWnd)
  ON_MESSAGE(TKP_WM_BEFORE_CREATE_CONTROL, OnBeforeCreateControl)
  ON_MESSAGE(TKP_WM_AFTER_CREATE_CONTROL, OnAfterCreateControl)
  ON_COMMAND(kCommand, OnCommandRun)
  ON_COMMAND(kAnsweredCommand, OnAnsweredRun)
  ON_MESSAGE(TKP_WM_CONTROL_NOTIFY, OnControlNotify)
END_MESSAGE_MAP()

class ControlClick : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new SiteFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Controls test"), WS_OVERLAPPEDWINDOW, CRect(80, 80, 480, 280)));
    frame->ShowWindow(SW_SHOW);
    bar = new TestBar;
    ASSERT_TRUE(bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), _T(""),
                              WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 40), frame, 100));
    theme = new PlainTheme;
    bar->SetPaintManager(theme);  // the bar takes over the reference
    button = bar->GetControls()->Add(tkpControlButton, kCommand);
    button->SetCaption(CString(_T("&Run")));
    button->SetRect(CRect(4, 4, 64, 30));
    other = bar->GetControls()->Add(tkpControlButton, kAnsweredCommand);
    other->SetRect(CRect(70, 4, 130, 30));
    harness::PumpMessages();
  }
  void TearDown() override {
    bar->InternalRelease();
    frame->DestroyWindow();
  }

  SiteFrame* frame = nullptr;
  TestBar* bar = nullptr;
  PlainTheme* theme = nullptr;
  CTKPControl* button = nullptr;
  CTKPControl* other = nullptr;
};

TEST_F(ControlClick, ClickingAButtonRunsItsCommandThroughTheSite) {
  harness::Click(bar->GetSafeHwnd(), POINT{30, 15});
  harness::WaitUntil([&] { return frame->commands == 1; });
  EXPECT_EQ(frame->commands, 1);
  EXPECT_EQ(frame->notifications, 1);
  EXPECT_EQ(button->GetPressed(), 2);  // until the bar's next update pass
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ControlClick, ASiteThatAnswersTheNotificationGetsNoCommand) {
  harness::Click(bar->GetSafeHwnd(), POINT{100, 15});
  harness::WaitUntil([&] { return frame->notifications == 1; });
  EXPECT_EQ(frame->notifications, 1);
  EXPECT_EQ(frame->answeredCommands, 0);
}

TEST_F(ControlClick, ReleasingOutsideTheButtonRunsNothing) {
  const LPARAM outside = MAKELPARAM(200, 35);
  ::PostMessageW(bar->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, outside);
  ::PostMessageW(bar->GetSafeHwnd(), WM_LBUTTONUP, 0, outside);
  button->OnClick(FALSE, CPoint(30, 15));
  harness::PumpMessages();
  EXPECT_EQ(frame->commands, 0);
  EXPECT_EQ(frame->notifications, 0);
}

TEST_F(ControlClick, AReleaseWithoutAnyMoveRunsTheCommand) {
  ::PostMessageW(bar->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(200, 35));
  button->OnClick(FALSE, CPoint(30, 15));
  EXPECT_EQ(frame->commands, 1);
  EXPECT_EQ(button->GetPressed(), 2);
}

TEST_F(ControlClick, TheClickLoopEndsOnQuitAndLeavesItForTheMainLoop) {
  ::PostQuitMessage(5);
  button->OnClick(FALSE, CPoint(30, 15));
  EXPECT_EQ(frame->commands, 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(ControlClick, AKeyboardClickRunsAtOnceAndADisabledButtonDoesNothing) {
  button->OnClick(TRUE);
  EXPECT_EQ(frame->commands, 1);
  button->SetEnabled(FALSE);
  button->OnClick(TRUE);
  EXPECT_EQ(frame->commands, 1);
}

TEST_F(ControlClick, TheSiteMaySupplyTheControlOfAMenuItem) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_MAIN_MENU));
  CMenu recovery;
  recovery.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
  CTKPControls* controls = bar->GetControls();
  const int before = controls->GetCount();
  for (int i = 0; i < recovery.GetMenuItemCount(); ++i) {
    if (::GetMenuItemID(recovery.GetSafeHmenu(), i) != 0) controls->AddMenuItem(&recovery, i);
  }
  recovery.Detach();
  EXPECT_EQ(controls->GetCount(), before + 5);
  EXPECT_EQ(frame->created, 5);
  CTKPControl* exit = controls->FindControl(ID_EXIT);
  ASSERT_EQ(exit, frame->supplied);
  EXPECT_EQ(exit->GetTag(), 99u);
  EXPECT_EQ(exit->GetCaption(), CString(_T("E&xit")));
  EXPECT_EQ(exit->GetParent(), bar);
}

TEST_F(ControlClick, AnExpandingPopupEndsOnItsFullPicture) {
  CRect client;
  bar->GetClientRect(client);
  button->SetHiddenByUsage(TRUE);  // a band shown only when expanded, above the other button's band
  tkptest::Canvas source(client.Width(), client.Height()), target(client.Width(), client.Height());
  source.dc.FillSolidRect(CRect(0, 4, client.Width(), 30), RGB(0, 128, 0));
  theme->m_nAnimationSteps = 3;
  theme->m_nAnimationTime = 0;
  theme->AnimateExpanding(bar, &target.dc, &source.dc, TRUE);
  EXPECT_EQ(target.Pixel(10, 10), RGB(0, 128, 0));
  EXPECT_EQ(target.Pixel(100, 20), RGB(0, 128, 0));
  theme->m_nAnimationSteps = 0;  // no steps: nothing drawn
  target.Clear();
  theme->AnimateExpanding(bar, &target.dc, &source.dc, FALSE);
  EXPECT_EQ(target.Pixel(10, 10), RGB(255, 255, 255));
}

VARIANT Self() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

TEST_F(ControlClick, AScreenReaderReadsTheButtonAndCanUseIt) {
  IAccessible* acc = static_cast<IAccessible*>(button);
  button->SetShortcutText(CString(_T("Ctrl+R")));
  BSTR name = nullptr;
  ASSERT_EQ(acc->get_accName(Self(), &name), S_OK);
  EXPECT_STREQ(name, L"Run\tCtrl+R");
  ::SysFreeString(name);
  VARIANT role, state;
  ASSERT_EQ(acc->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);  // on a toolbar
  button->SetChecked(TRUE);
  other->SetEnabled(FALSE);
  button->OnSetSelected(0);  // the pointer may rest on either from an earlier test
  other->OnSetSelected(0);
  ASSERT_EQ(acc->get_accState(Self(), &state), S_OK);
  EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED);
  ASSERT_EQ(static_cast<IAccessible*>(other)->get_accState(Self(), &state), S_OK);
  EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);

  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, Self()), S_OK);
  POINT origin = {4, 4};
  ::ClientToScreen(bar->GetSafeHwnd(), &origin);
  EXPECT_EQ(x, origin.x);
  EXPECT_EQ(y, origin.y);
  EXPECT_EQ(w, 60);
  EXPECT_EQ(h, 26);
  VARIANT hit;
  EXPECT_EQ(acc->accHitTest(origin.x + 2, origin.y + 2, &hit), S_OK);
  EXPECT_EQ(hit.lVal, CHILDID_SELF);
  EXPECT_EQ(acc->accHitTest(origin.x - 2, origin.y, &hit), S_FALSE);

  VARIANT wrong = Self();
  wrong.lVal = 3;
  EXPECT_EQ(acc->get_accName(wrong, &name), E_INVALIDARG);
  EXPECT_EQ(acc->get_accName(Self(), nullptr), E_INVALIDARG);
  EXPECT_EQ(acc->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(frame->commands, 1);
}

TEST_F(ControlClick, AControlWithoutABarWindowHasNoPlace) {
  Collection loose;
  CTKPControl* control = loose->Add(tkpControlButton, kCommand);
  control->SetRect(CRect(5, 5, 50, 30));
  long x = 1, y = 1, w = 1, h = 1;
  EXPECT_EQ(static_cast<IAccessible*>(control)->accLocation(&x, &y, &w, &h, Self()), S_OK);
  EXPECT_EQ(x + y + w + h, 0);
  VARIANT hit;
  EXPECT_EQ(static_cast<IAccessible*>(control)->accHitTest(10, 10, &hit), S_FALSE);
  VARIANT state;
  static_cast<IAccessible*>(control)->get_accState(Self(), &state);
  EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE);
}

TEST_F(ControlClick, TheBarDrawsItsButtonsThroughThePaintManager) {
  other->OnSetSelected(0);  // the pointer may rest on it from an earlier test
  button->OnSetSelected(1);
  CTKPControls* controls = bar->GetControls();
  RECT client;
  ::GetClientRect(bar->GetSafeHwnd(), &client);
  tkptest::Canvas canvas(client.right, client.bottom);
  theme->entries.clear();
  for (int i = 0; i < controls->GetCount(); ++i) controls->GetAt(i)->Draw(&canvas.dc);
  ASSERT_EQ(theme->entries.size(), 2u);
  EXPECT_EQ(canvas.Pixel(6, 6), PlainTheme::kHot);
  EXPECT_EQ(canvas.Pixel(72, 6), RGB(255, 255, 255));
  const CSize size = button->GetSize(&canvas.dc);
  EXPECT_GE(size.cy, 23);
  EXPECT_GT(size.cx, 20);
  harness::CaptureWindow(frame->GetSafeHwnd(), "commandbars_controls");
}

}  // namespace
