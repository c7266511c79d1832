// A property sheet with two pages from the resources, modal and modeless: the pages' captions, their
// data shown and taken back as the user moves between them, OK applying every page that was shown,
// Cancel taking nothing, and a modeless sheet that ends itself.
#include <gtest/gtest.h>

#include <string>

#include "platform/classlib/win/frame_test_support.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"

namespace {

class PageOne : public CPropertyPage {
 public:
  PageOne() : CPropertyPage(IDD_PAGE_ONE, IDS_FIRST_PAGE) {}
  CString name = _T("one");
  int activations = 0;
  int applies = 0;

  BOOL OnSetActive() override {
    ++activations;
    return CPropertyPage::OnSetActive();
  }
  BOOL OnApply() override {
    ++applies;
    return CPropertyPage::OnApply();
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_EDIT, name); }
};

class PageTwo : public CPropertyPage {
 public:
  PageTwo() : CPropertyPage(IDD_PAGE_TWO) {}
  int large = 0;
  int applies = 0;

  BOOL OnApply() override {
    ++applies;
    return CPropertyPage::OnApply();
  }
  void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_PAGE_CHECK, large); }
};

std::wstring TabText(HWND tab, int index) {
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  ::SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST(PropertySheets, TwoPagesTheirDataAndOK) {
  PageOne one;
  PageTwo two;
  CPropertySheet sheet(_T("Customize"));
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_EQ(sheet.GetPage(1), &two);
  EXPECT_EQ(one.GetSheet(), &sheet);

  harness::ModalScript script;
  std::wstring shownName;
  std::wstring tabs;
  script.OnWindow(L"Customize", [&](HWND hWnd) {
    EXPECT_EQ(sheet.m_hWnd, hWnd);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(sheet.GetActivePage(), &one);
    HWND tab = sheet.GetTabControl()->m_hWnd;
    tabs = TabText(tab, 0) + L"|" + TabText(tab, 1);
    shownName = harness::Text(::GetDlgItem(one.m_hWnd, IDC_PAGE_EDIT));
    ::SetWindowTextW(::GetDlgItem(one.m_hWnd, IDC_PAGE_EDIT), L"changed");
    EXPECT_TRUE(sheet.SetActivePage(&two));  // page one gives its data back as it is left
  });
  script.Step(
      "the second page", [&] { return sheet.GetActivePage() == &two && two.m_hWnd != nullptr; },
      [&] {
        EXPECT_EQ(one.name, _T("changed"));
        ::SendMessageW(::GetDlgItem(two.m_hWnd, IDC_PAGE_CHECK), BM_SETCHECK, BST_CHECKED, 0);
        two.SetModified();
        sheet.PressButton(PSBTN_OK);
      });
  script.Start();
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  EXPECT_EQ(one.m_hWnd, nullptr);
  EXPECT_EQ(tabs, L"First|Two");  // a caption string, else the template's caption
  EXPECT_EQ(shownName, L"one");
  EXPECT_EQ(one.name, _T("changed"));
  EXPECT_EQ(two.large, 1);
  EXPECT_EQ(one.applies, 1);
  EXPECT_EQ(two.applies, 1);
  EXPECT_EQ(one.activations, 1);

  // Again, from the second page, cancelled: nothing is taken.
  sheet.SetActivePage(1);
  harness::ModalScript cancel;
  cancel.OnWindow(L"Customize", [&](HWND) {
    EXPECT_EQ(sheet.GetActivePage(), &two);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(two.m_hWnd, IDC_PAGE_CHECK), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(::GetDlgItem(two.m_hWnd, IDC_PAGE_CHECK), BM_SETCHECK, BST_UNCHECKED, 0);
    harness::PressKey(::GetDlgItem(two.m_hWnd, IDC_PAGE_CHECK), VK_ESCAPE);
  });
  cancel.Start();
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_TRUE(cancel.Finished()) << cancel.Failure();
  EXPECT_EQ(two.large, 1);
  EXPECT_EQ(two.applies, 1);
  EXPECT_EQ(one.activations, 1);  // page one was never shown this time
}

TEST(PropertySheets, AModelessSheetEndsItselfWhenCancelled) {
  PageOne one;
  PageTwo two;
  CPropertySheet sheet(_T("Modeless Sheet"));
  sheet.AddPage(&one);
  ASSERT_TRUE(sheet.Create());
  EXPECT_TRUE(sheet.IsWindowVisible());
  EXPECT_EQ(sheet.GetActivePage(), &one);
  sheet.AddPage(&two);  // while it is open
  HWND tab = sheet.GetTabControl()->m_hWnd;
  EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(sheet.GetActivePage(), &two);
  sheet.RemovePage(&one);
  EXPECT_EQ(sheet.GetPageCount(), 1);
  EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
  HWND hWnd = sheet.m_hWnd;
  sheet.PressButton(PSBTN_CANCEL);
  cltest::Pump();
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

}  // namespace
