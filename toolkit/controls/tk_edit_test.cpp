// The edit's context menu and its item states, the flat edit's hot and focused looks, and the flat
// combo box's auto-completion, in real windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/classlib/win/classlib_win.h"
#include "platform/classlib/win/stdids.h"
#include "platform/harness/driver.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/controls/tk_edit.h"
#include "toolkit/controls/tk_flat_combo.h"
#include "toolkit/controls/tk_gallery_test_support.h"

namespace {

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, _T("Edits"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 360, 220,
                                nullptr, nullptr));
  }
  void TearDown() override { m_host.DestroyWindow(); }
  CWnd m_host;
};

// What the open context menu showed: each command's state and where the menu window stood.
struct MenuSeen {
  std::map<UINT, bool> enabled;
  POINT topLeft{-1, -1};
  bool opened = false;
};
MenuSeen* g_seen = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menuWindow = tkgallery::FindOpenMenu();
  if (menuWindow == nullptr) return;
  ::KillTimer(nullptr, id);
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (UINT cmd : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL})
    g_seen->enabled[cmd] = (::GetMenuState(menu, cmd, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  RECT r{};
  ::GetWindowRect(menuWindow, &r);
  g_seen->topLeft = {r.left, r.top};
  g_seen->opened = true;
  ::EndMenu();
}

MenuSeen OpenMenuFromKeyboard(CTKEdit& edit) {
  MenuSeen seen;
  g_seen = &seen;
  ::SetTimer(nullptr, 0, 50, ReadOpenMenu);
  edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(-1, -1));
  g_seen = nullptr;
  return seen;
}

void EmptyClipboard() {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST_F(EditTest, ContextMenuFollowsTheEditsState) {
  CTKEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 250, 34), &m_host, 7));
  EXPECT_TRUE(edit.Initialize(&m_host));
  EmptyClipboard();

  MenuSeen empty = OpenMenuFromKeyboard(edit);
  ASSERT_TRUE(empty.opened);
  EXPECT_FALSE(empty.enabled[ID_EDIT_SELECT_ALL]);  // nothing to select
  EXPECT_FALSE(empty.enabled[ID_EDIT_PASTE]);       // nothing to paste
  POINT corner{0, 0};
  ::ClientToScreen(edit.m_hWnd, &corner);
  EXPECT_EQ(empty.topLeft.x, corner.x + 5);
  EXPECT_EQ(empty.topLeft.y, corner.y + 5);

  edit.SetWindowText(_T("lost.vhdx"));
  edit.SetSel(3, 3);
  MenuSeen noSelection = OpenMenuFromKeyboard(edit);
  EXPECT_FALSE(noSelection.enabled[ID_EDIT_CUT]);
  EXPECT_FALSE(noSelection.enabled[ID_EDIT_COPY]);
  EXPECT_FALSE(noSelection.enabled[ID_EDIT_CLEAR]);
  EXPECT_TRUE(noSelection.enabled[ID_EDIT_SELECT_ALL]);

  // The menu's commands reach the edit without any handler of the owner.
  edit.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
  int start = -1, end = -1;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 9);
  edit.SendMessage(WM_COMMAND, ID_EDIT_COPY);
  MenuSeen selected = OpenMenuFromKeyboard(edit);
  EXPECT_TRUE(selected.enabled[ID_EDIT_CUT]);
  EXPECT_TRUE(selected.enabled[ID_EDIT_CLEAR]);
  EXPECT_TRUE(selected.enabled[ID_EDIT_PASTE]);
  EmptyClipboard();
}

// A read-only edit (the image path box of the first page is one) with text selected, something to paste and
// a change to undo: its menu offers Copy and Select All only, and the other commands change nothing.
TEST_F(EditTest, AReadOnlyEditsMenuOffersNothingThatChangesItsText) {
  CTKEdit plain;
  CTKFlatEdit flat;
  UINT id = 20;
  for (CTKEdit* edit : {&plain, static_cast<CTKEdit*>(&flat)}) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(edit->CreateEx(WS_EX_CLIENTEDGE, _T("EDIT"), _T(""), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                               CRect(10, 10, 250, 34), &m_host, id++));
    edit->SetWindowText(_T("lost.vhdx"));
    edit->SetSel(0, 4);
    edit->SendMessage(WM_CLEAR);  // a change the edit could undo
    edit->SendMessage(EM_SETREADONLY, TRUE);
    edit->SetWindowText(_T("C:\\images\\lost.vhdx"));
    edit->SetSel(0, 2);
    edit->SendMessage(WM_COMMAND, ID_EDIT_COPY);  // the clipboard holds text
    MenuSeen seen = OpenMenuFromKeyboard(*edit);
    ASSERT_TRUE(seen.opened);
    for (UINT cmd : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_CLEAR}) EXPECT_FALSE(seen.enabled[cmd]) << cmd;
    EXPECT_TRUE(seen.enabled[ID_EDIT_COPY]);
    EXPECT_TRUE(seen.enabled[ID_EDIT_SELECT_ALL]);
    for (UINT cmd : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_CLEAR}) {
      edit->SendMessage(WM_COMMAND, cmd);
      CString text;
      edit->GetWindowText(text);
      EXPECT_EQ(text, CString(_T("C:\\images\\lost.vhdx"))) << cmd;
    }
  }
  EmptyClipboard();
}

TEST_F(EditTest, FlatEditLightsUpUnderTheMouseAndWithTheFocus) {
  CTKFlatEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, _T("EDIT"), _T(""), WS_CHILD | WS_VISIBLE, CRect(10, 10, 250, 34),
                            &m_host, 8));
  CRect r;
  edit.GetWindowRect(r);
  ::SetCursorPos(r.CenterPoint().x, r.CenterPoint().y);
  edit.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(edit.IsHotShown());
  EXPECT_EQ(edit.GetDrawState(), tkflat::kStateHot);
  edit.SetFocus();
  EXPECT_EQ(edit.GetDrawState(), tkflat::kStatePressed);
  ::SetCursorPos(r.right + 80, r.bottom + 80);
  EXPECT_TRUE(harness::WaitUntil([&] { return !edit.IsHotShown(); }, 2000));
  m_host.SetFocus();
  EXPECT_EQ(edit.GetDrawState(), tkflat::kStateNormal);
}

// Around its item a drop-down list shows its background colour, and its item's text stays; a box with an
// edit keeps the window colour there.
TEST_F(EditTest, FlatDropListShowsItsBackgroundColourAroundItsText) {
  CTKFlatComboBox list, editable;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 10, 250, 200), &m_host, 10));
  ASSERT_TRUE(editable.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(10, 60, 250, 250), &m_host, 11));
  const COLORREF back = RGB(240, 220, 160);
  for (CTKFlatComboBox* combo : {&list, &editable}) {
    combo->SetBackColor(back);
    combo->AddString(_T("Quick Scan"));
    combo->SendMessage(CB_SETCURSEL, 0);
    combo->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  harness::PumpMessages();
  const int edge = ::GetSystemMetrics(SM_CYEDGE);
  CClientDC listDC(&list), editDC(&editable);
  EXPECT_EQ(::GetPixel(listDC.m_hDC, 20, edge), back);
  EXPECT_EQ(::GetPixel(editDC.m_hDC, 20, edge), TKPColorManager()->GetColor(COLOR_WINDOW));
  CRect client;
  list.GetClientRect(client);
  int ink = 0;  // the item's text, drawn by the box itself
  for (int y = edge + 2; y < client.bottom - edge - 2; ++y) {
    for (int x = edge + 2; x < 100; ++x) {
      const COLORREF c = ::GetPixel(listDC.m_hDC, x, y);
      ink += c != back && c != TKPColorManager()->GetColor(COLOR_WINDOW) &&
             c != TKPColorManager()->GetColor(COLOR_HIGHLIGHT);
    }
  }
  EXPECT_GT(ink, 20);
}

// Disabled, a drop-down list keeps its item's text, greyed by the box itself, inside the flat ring.
TEST_F(EditTest, DisabledFlatDropListKeepsItsText) {
  CTKFlatComboBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 10, 250, 200), &m_host, 10));
  list.AddString(_T("Extensive Scan"));
  list.SendMessage(CB_SETCURSEL, 0);
  list.EnableWindow(FALSE);
  list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpMessages();
  const COLORREF ring = TKPColorManager()->GetColor(51);
  CClientDC dc(&list);
  const int edge = ::GetSystemMetrics(SM_CYEDGE);
  EXPECT_EQ(::GetPixel(dc.m_hDC, 20, edge), ring);
  CRect client;
  list.GetClientRect(client);
  EXPECT_EQ(::GetPixel(dc.m_hDC, 0, 0), TKPColorManager()->GetColor(52));
  std::map<COLORREF, int> seen;
  for (int y = edge + 2; y < client.bottom - edge - 2; ++y)
    for (int x = edge + 2; x < 100; ++x) ++seen[::GetPixel(dc.m_hDC, x, y)];
  // The box's background and its text's ink: more than one colour, and a fair count of the lesser.
  ASSERT_GE(seen.size(), 2u);
  int ink = 0;
  for (const auto& entry : seen) ink += entry.second;
  int most = 0;
  for (const auto& entry : seen) most = std::max(most, entry.second);
  EXPECT_GT(ink - most, 20);
  harness::CaptureWindow(list.m_hWnd, "toolkit_flat_combo_disabled");
}

// A theme object a caller makes draws as its class: the flat edge (theme 1) of the colour manager's colour 32
// around a hot edit, colour 51 around a combo box at rest.
TEST_F(EditTest, AFlatThemeGivenByTheCallerDrawsAsItsClass) {
  CTKFlatEdit edit;
  ASSERT_TRUE(edit.CreateEx(0, _T("EDIT"), _T(""), WS_CHILD | WS_VISIBLE, CRect(10, 10, 250, 34), &m_host, 8));
  CTKFlatComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 60, 250, 200), &m_host, 9));
  harness::PumpMessages();
  CTKFlatEditThemeFlat editTheme;
  CTKFlatComboBoxThemeFlat comboTheme;
  CClientDC editDC(&edit), comboDC(&combo);
  editTheme.DrawBorders(&editDC, &edit, CRect(0, 0, 100, 20), tkflat::kStateHot);
  EXPECT_EQ(::GetPixel(editDC.m_hDC, 0, 0), TKPColorManager()->GetColor(32));
  EXPECT_EQ(::GetPixel(editDC.m_hDC, 99, 19), TKPColorManager()->GetColor(32));
  comboTheme.DrawFlatComboBox(&comboDC, &combo, tkflat::kStateNormal);
  EXPECT_EQ(::GetPixel(comboDC.m_hDC, 0, 0), TKPColorManager()->GetColor(51));
}

TEST_F(EditTest, FlatComboCompletesTypedTextFromItsItems) {
  CTKFlatComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(10, 10, 250, 200), &m_host, 9));
  for (LPCTSTR item : {_T("Apple"), _T("Apricot"), _T("Banana")}) combo.AddString(item);
  HWND edit = ::GetWindow(combo.m_hWnd, GW_CHILD);
  ASSERT_NE(edit, nullptr);
  ::SetFocus(edit);
  harness::TypeText(edit, L"Apr");
  EXPECT_EQ(harness::Text(edit), L"Apricot");
  const LRESULT sel = combo.SendMessage(CB_GETEDITSEL, 0, 0);
  EXPECT_EQ(LOWORD(sel), 3);
  EXPECT_EQ(HIWORD(sel), 7);
  EXPECT_TRUE(combo.HasFocus());
  EXPECT_EQ(combo.GetDrawState(), tkflat::kStatePressed);
  EXPECT_TRUE(combo.IsKindOf(RUNTIME_CLASS(CComboBox)));

  // Backspace takes the completed tail away, and it stays away; the next letter completes again.
  MSG back{edit, WM_KEYDOWN, VK_BACK, 0x000E0001, 0, {}};
  EXPECT_FALSE(combo.PreTranslateMessage(&back));  // as the message loop hands it over first
  ::PostMessageW(edit, WM_KEYDOWN, VK_BACK, 0x000E0001);  // its character comes of the translation
  harness::PumpMessages();
  EXPECT_EQ(harness::Text(edit), L"Apr");
  harness::TypeText(edit, L"i");
  EXPECT_EQ(harness::Text(edit), L"Apricot");

  // Backspace in an empty field and Delete at the end change nothing: the next letter still completes.
  for (const UINT key : {VK_BACK, VK_DELETE}) {
    const bool back = key == VK_BACK;
    combo.SetWindowText(back ? _T("") : _T("B"));
    combo.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(back ? 0 : 1, back ? 0 : 1));
    MSG idle{edit, WM_KEYDOWN, key, 0x000E0001, 0, {}};
    EXPECT_FALSE(combo.PreTranslateMessage(&idle));
    ::PostMessageW(edit, WM_KEYDOWN, key, 0x000E0001);
    harness::PumpMessages();
    EXPECT_EQ(harness::Text(edit), back ? L"" : L"B") << key;
    harness::TypeText(edit, back ? L"Ba" : L"a");
    EXPECT_EQ(harness::Text(edit), L"Banana") << key;
  }

  // Text that starts no item stays as typed, the caret after it.
  combo.SetWindowText(_T(""));
  harness::TypeText(edit, L"Bx");
  EXPECT_EQ(harness::Text(edit), L"Bx");
  const LRESULT caret = combo.SendMessage(CB_GETEDITSEL, 0, 0);
  EXPECT_EQ(LOWORD(caret), 2);
  EXPECT_EQ(HIWORD(caret), 2);

  // Turned off, nothing is completed.
  combo.EnableAutoCompletion(FALSE);
  combo.SetWindowText(_T(""));
  harness::TypeText(edit, L"Ba");
  EXPECT_EQ(harness::Text(edit), L"Ba");
}

}  // namespace
