// Windows and their objects: the handle map, PreSubclassWindow for created and subclassed windows,
// Default with the current message, the window's end, reflection to subclassed controls,
// PreTranslateMessage through the parents, system changes forwarded to children, and handlers that
// throw.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/classlib/win/win_test_support.h"

using cltest::calls;
using cltest::Record;

namespace {

// ---- creation, subclassing and the handle map -----------------------------------------------------

class Watched : public CWnd {
 public:
  HWND seenInPreSubclass = nullptr;
  bool createdBeforePreSubclass = false;
  bool* deleted = nullptr;

  void PreSubclassWindow() override {
    seenInPreSubclass = m_hWnd;
    createdBeforePreSubclass = created;
    Record("PreSubclassWindow");
  }
  void PostNcDestroy() override {
    Record("PostNcDestroy");
    if (deleted != nullptr) {
      *deleted = true;
      delete this;
    }
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    created = true;
    Record("OnCreate");
    return CWnd::OnCreate(cs);
  }
  afx_msg LRESULT OnSetTextMessage(WPARAM, LPARAM lParam) {
    // The current message goes on to the window's own procedure, with its own text.
    Record("WM_SETTEXT %ls", reinterpret_cast<LPCWSTR>(lParam));
    return Default();
  }
  DECLARE_MESSAGE_MAP()

 private:
  bool created = false;
};

BEGIN_MESSAGE_MAP(Watched, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(WM_SETTEXT, OnSetTextMessage)
END_MESSAGE_MAP()

TEST(CWndCreation, PreSubclassWindowRunsForACreatedWindowBeforeItsFirstMessage) {
  calls.clear();
  Watched wnd;
  ASSERT_TRUE(cltest::CreateTopLevel(wnd, _T("created")));
  EXPECT_EQ(wnd.seenInPreSubclass, wnd.m_hWnd);
  EXPECT_FALSE(wnd.createdBeforePreSubclass);
  EXPECT_EQ(calls, (std::vector<std::string>{"PreSubclassWindow", "OnCreate"}));
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(CWndCreation, PreSubclassWindowRunsForASubclassedControlAndDefaultKeepsItsBehaviour) {
  calls.clear();
  CWnd parent;
  ASSERT_TRUE(cltest::CreateTopLevel(parent, _T("parent")));
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent.m_hWnd,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  Watched control;
  ASSERT_TRUE(control.SubclassDlgItem(7, &parent));
  EXPECT_EQ(control.seenInPreSubclass, edit);
  EXPECT_EQ(CWnd::FromHandle(edit), &control);
  EXPECT_FALSE(control.SubclassWindow(edit));  // one object per window
  // Our handler runs, then the edit control sets its own text through Default().
  ::SetWindowTextW(edit, L"typed");
  EXPECT_EQ(calls.back(), "WM_SETTEXT typed");
  CString text;
  control.GetWindowText(text);
  EXPECT_EQ(text, _T("typed"));
  EXPECT_EQ(control.UnsubclassWindow(), edit);
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
  calls.clear();
  ::SetWindowTextW(edit, L"again");  // the edit's own procedure again
  EXPECT_TRUE(calls.empty());
  parent.DestroyWindow();
}

TEST(CWndCreation, AWindowThatEndsItselfDeletesItsObjectInPostNcDestroy) {
  bool deleted = false;
  auto* wnd = new Watched;
  wnd->deleted = &deleted;
  ASSERT_TRUE(cltest::CreateTopLevel(*wnd, _T("self-deleting")));
  HWND hWnd = wnd->m_hWnd;
  ::DestroyWindow(hWnd);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(CWndCreation, AnObjectDestroyedFirstTakesItsWindowWithIt) {
  HWND hWnd = nullptr;
  {
    CWnd wnd;
    ASSERT_TRUE(cltest::CreateTopLevel(wnd, _T("scoped")));
    hWnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(CWndHandleMap, ForeignWindowsGetTemporaryObjectsUntilIdle) {
  HWND plain = ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(plain);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hWnd, plain);
  EXPECT_EQ(CWnd::FromHandle(plain), temporary);  // the same until the thread goes idle
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  cltest::App().OnIdle(1);  // the clean-up turn
  CWnd owner;
  ASSERT_TRUE(owner.Attach(plain));  // a permanent owner is found from now on
  EXPECT_EQ(CWnd::FromHandle(plain), &owner);
  owner.Detach();
  ::DestroyWindow(plain);
}

class RefusingCreation : public CWnd {
 public:
  void PreSubclassWindow() override { throw std::runtime_error("no"); }
};

TEST(CWndCreation, AWindowWhoseObjectRefusesItIsNotCreated) {
  RefusingCreation wnd;
  EXPECT_FALSE(cltest::CreateTopLevel(wnd, _T("refused")));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// ---- handlers that throw --------------------------------------------------------------------------

class Throwing : public CWnd {
 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (cs->lpszName != nullptr && ::lstrcmpW(cs->lpszName, L"fail") == 0) throw new CNotSupportedException;
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnPaint() { throw std::runtime_error("cannot paint"); }
  afx_msg LRESULT OnApp(WPARAM, LPARAM) { throw 5; }
  afx_msg void OnCommand1() {
    Record("before throw");
    throw new CNotSupportedException;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Throwing, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_MESSAGE(WM_APP, OnApp)
  ON_COMMAND(1, OnCommand1)
END_MESSAGE_MAP()

TEST(CWndExceptions, AThrowingHandlerEndsItsMessageWithAFailedResult) {
  Throwing failing;
  EXPECT_FALSE(cltest::CreateTopLevel(failing, _T("fail")));  // WM_CREATE answered -1
  EXPECT_EQ(failing.m_hWnd, nullptr);

  Throwing wnd;
  ASSERT_TRUE(cltest::CreateTopLevel(wnd, _T("throwing")));
  calls.clear();
  EXPECT_EQ(wnd.SendMessage(WM_APP, 1, 2), 0);
  EXPECT_EQ(wnd.SendMessage(WM_COMMAND, 1, 0), 0);
  EXPECT_EQ(calls, std::vector<std::string>{"before throw"});
  // A paint that threw is validated, so it does not come back at once.
  wnd.Invalidate();
  wnd.UpdateWindow();
  EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));
  EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
  wnd.DestroyWindow();
}

// ---- reflection -----------------------------------------------------------------------------------

constexpr UINT kButtonId = 11;
constexpr UINT kStaticId = 12;
constexpr UINT kListId = 13;

// A push button that takes its own clicks; it lets the parent see them too when asked.
class SelfClickingButton : public CWnd {
 public:
  BOOL alsoParent = FALSE;
  int drawn = 0;

 protected:
  afx_msg BOOL OnClicked() {
    Record("button BN_CLICKED");
    return !alsoParent;
  }
  afx_msg void DrawItem(LPDRAWITEMSTRUCT item) {
    ++drawn;
    ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  afx_msg void OnUpdateSelf(CCmdUI* pCmdUI) {
    Record("button updates itself");
    pCmdUI->Enable(FALSE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfClickingButton, CWnd)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
  ON_WM_DRAWITEM_REFLECT()
  ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

// A static that paints on its parent's background.
class TransparentStatic : public CWnd {
 protected:
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    Record("static CtlColor %u", nCtlColor);
    ::SetBkMode(pDC->m_hDC, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TransparentStatic, CWnd)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class WatchedList : public CWnd {
 protected:
  afx_msg void OnInsertItem(NMHDR* header, LRESULT*) {
    Record("list LVN_INSERTITEM %d", reinterpret_cast<NMLISTVIEW*>(header)->iItem);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WatchedList, CWnd)
  ON_NOTIFY_REFLECT(LVN_INSERTITEM, OnInsertItem)
END_MESSAGE_MAP()

class Dialogish : public CWnd {
 protected:
  // Its own colour for buttons; the base (which asks the control itself) for the rest.
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_BTN) return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
  }
  afx_msg void OnButton() { Record("parent BN_CLICKED"); }
  afx_msg void OnInsertItem(NMHDR*, LRESULT*) { Record("parent LVN_INSERTITEM"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Dialogish, CWnd)
  ON_WM_CTLCOLOR()
  ON_BN_CLICKED(kButtonId, OnButton)
  ON_NOTIFY(LVN_INSERTITEM, kListId, OnInsertItem)
END_MESSAGE_MAP()

class ReflectionTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cltest::CreateTopLevel(parent, _T("reflection")));
    Control(L"BUTTON", L"Go", BS_PUSHBUTTON, kButtonId, 0);
    Control(L"STATIC", L"text", SS_LEFT, kStaticId, 30);
    Control(WC_LISTVIEWW, L"", LVS_REPORT, kListId, 60);
    ASSERT_TRUE(button.SubclassDlgItem(kButtonId, &parent));
    ASSERT_TRUE(label.SubclassDlgItem(kStaticId, &parent));
    ASSERT_TRUE(list.SubclassDlgItem(kListId, &parent));
    calls.clear();
  }
  void TearDown() override { parent.DestroyWindow(); }

  void Control(LPCWSTR cls, LPCWSTR text, DWORD style, UINT id, int y) {
    ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, y, 120, 25, parent.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }

  Dialogish parent;
  SelfClickingButton button;
  TransparentStatic label;
  WatchedList list;
};

TEST_F(ReflectionTest, ASubclassedButtonTakesItsOwnClickBeforeItsParent) {
  button.SendMessage(BM_CLICK);
  EXPECT_EQ(calls, std::vector<std::string>{"button BN_CLICKED"});
  calls.clear();
  button.alsoParent = TRUE;  // answering FALSE hands the click on
  button.SendMessage(BM_CLICK);
  EXPECT_EQ(calls, (std::vector<std::string>{"button BN_CLICKED", "parent BN_CLICKED"}));
}

TEST_F(ReflectionTest, TheParentsColourHandlerDecidesAndItsBaseAsksTheControl) {
  CDC* pDC = button.GetDC();
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(pDC->m_hDC),
                               reinterpret_cast<LPARAM>(button.m_hWnd)),
            reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)));
  button.ReleaseDC(pDC);
  pDC = label.GetDC();
  LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(pDC->m_hDC),
                                     reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(::GetBkMode(pDC->m_hDC), TRANSPARENT);
  label.ReleaseDC(pDC);
  calls.clear();
  label.RedrawWindow();  // the static's own paint asks its parent, which hands it back
  ASSERT_FALSE(calls.empty());
  for (const std::string& call : calls) EXPECT_EQ(call, "static CtlColor 6");
}

TEST_F(ReflectionTest, AListTakesItsNotificationAndItsParentDoesNotSeeIt) {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 50;
  list.SendMessage(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<LPWSTR>(L"row");
  list.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(calls, std::vector<std::string>{"list LVN_INSERTITEM 0"});
}

TEST_F(ReflectionTest, AnOwnerDrawnButtonDrawsItselfThroughItsParent) {
  button.ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
  button.RedrawWindow();
  EXPECT_GE(button.drawn, 1);
}

TEST_F(ReflectionTest, AControlUpdatesItsOwnStateBeforeItsCommandHandler) {
  parent.UpdateDialogControls(&parent, TRUE);
  EXPECT_EQ(calls, std::vector<std::string>{"button updates itself"});
  EXPECT_FALSE(button.IsWindowEnabled());
}

// ---- pre-translation and forwarding ---------------------------------------------------------------

class KeyWatcher : public CWnd {
 public:
  const char* name = "";
  UINT eats = 0;  // the key this window takes in PreTranslateMessage

  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    Record("%s PreTranslateMessage", name);
    return pMsg->wParam == eats;
  }

 protected:
  afx_msg void OnKeyDown(UINT key, UINT, UINT) { Record("%s OnKeyDown %u", name, key); }
  afx_msg void OnSysColorChange() { Record("%s OnSysColorChange", name); }
  afx_msg void OnSettingChange(UINT, LPCTSTR section) { Record("%s OnSettingChange %ls", name, section); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyWatcher, CWnd)
  ON_WM_KEYDOWN()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

class FamilyTest : public testing::Test {
 protected:
  void SetUp() override {
    top.name = "top";
    middle.name = "middle";
    child.name = "child";
    ASSERT_TRUE(cltest::CreateTopLevel(top, _T("family")));
    ASSERT_TRUE(cltest::CreateChild(middle, top, 1, RECT{0, 0, 200, 100}));
    ASSERT_TRUE(cltest::CreateChild(child, middle, 2));
    cltest::App().m_pMainWnd = &top;
    DrainQueue();
    calls.clear();
  }
  void TearDown() override {
    cltest::App().m_pMainWnd = nullptr;
    top.DestroyWindow();
  }
  // Every waiting message through the application's loop (and so through PreTranslateMessage).
  static void DrainQueue() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) cltest::App().PumpMessage();
  }

  KeyWatcher top;
  KeyWatcher middle;
  KeyWatcher child;
};

TEST_F(FamilyTest, PreTranslateMessageWalksFromTheWindowUpThroughItsParents) {
  child.PostMessage(WM_KEYDOWN, VK_F5, 0);
  DrainQueue();
  EXPECT_EQ(calls, (std::vector<std::string>{"child PreTranslateMessage", "middle PreTranslateMessage",
                                             "top PreTranslateMessage", "child OnKeyDown 116"}));
  calls.clear();
  middle.eats = VK_F6;  // a parent that takes the key: the child never sees it
  child.PostMessage(WM_KEYDOWN, VK_F6, 0);
  DrainQueue();
  EXPECT_EQ(calls, (std::vector<std::string>{"child PreTranslateMessage", "middle PreTranslateMessage"}));
}

TEST_F(FamilyTest, SystemChangesSentToTheTopLevelWindowReachEveryChild) {
  top.SendMessage(WM_SYSCOLORCHANGE);
  top.SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Metrics"));
  EXPECT_EQ(calls, (std::vector<std::string>{"middle OnSysColorChange", "child OnSysColorChange",
                                             "top OnSysColorChange", "middle OnSettingChange Metrics",
                                             "child OnSettingChange Metrics", "top OnSettingChange Metrics"}));
  calls.clear();
  middle.SendMessage(WM_SYSCOLORCHANGE);  // a child does not pass it on again
  EXPECT_EQ(calls, std::vector<std::string>{"middle OnSysColorChange"});
}

TEST_F(FamilyTest, DescendantsAndRelativesAreFound) {
  EXPECT_EQ(top.GetDescendantWindow(2), &child);
  EXPECT_EQ(child.GetTopLevelParent(), &top);
  EXPECT_EQ(child.GetParent(), &middle);
  EXPECT_EQ(child.GetOwner(), &middle);
  child.SetOwner(&top);
  EXPECT_EQ(child.GetOwner(), &top);
  EXPECT_TRUE(top.IsChild(&child));
  EXPECT_EQ(child.GetParentFrame(), nullptr);  // no frame in this family
}

}  // namespace
