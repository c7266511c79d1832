// The tab manager in a real window: tabs in and out, the selection and hot references, keys, the drag
// that reorders and the press loop of the navigate buttons on an injected clock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "toolkit/tabmanager/tab_strip_test_support.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"

namespace {

using tabtest::StripManager;
using tabtest::StripWnd;

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

void AddTabs(StripManager& m, std::initializer_list<LPCTSTR> captions) {
  for (LPCTSTR caption : captions) m.InsertItem(-1, caption);
}

TEST(TabManager, InsertedTabsAppendAndTakeTheBuiltInColoursInTurn) {
  StripWnd strip;
  StripManager& m = strip.Manager();
  for (int i = 0; i < 9; ++i) m.InsertItem(i == 3 ? 99 : -1, _T("Tab"));
  ASSERT_EQ(m.GetItemCount(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(m.GetItem(i)->GetIndex(), i);
  EXPECT_EQ(m.GetItem(0)->GetColorValue(), 0x1000000u);
  EXPECT_EQ(m.GetItem(7)->GetColorValue(), 0x1000007u);
  EXPECT_EQ(m.GetItem(8)->GetColorValue(), 0x1000000u);
  EXPECT_EQ(m.GetItemColor(m.GetItem(1)), RGB(255, 219, 117));
  m.GetItem(2)->SetColor(RGB(1, 2, 3));
  EXPECT_EQ(m.GetItem(2)->GetColor(), RGB(1, 2, 3));
  m.SetScrollOffset(15);
  EXPECT_EQ(m.GetScrollOffset(), 0);
  EXPECT_EQ(m.GetItem(9), nullptr);
  EXPECT_FALSE(m.DeleteItem(9));
}

TEST(TabManager, RemovingTheSelectedTabSelectsItsNeighbourAndForgetsTheHotOne) {
  StripWnd strip;
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions"), _T("Files")});
  m.SetCurSel(2);
  m.SetHotItem(m.GetItem(2));
  EXPECT_TRUE(m.DeleteItem(2));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(1));  // the new last tab
  EXPECT_EQ(m.GetHotItem(), nullptr);
  m.SetCurSel(0);
  EXPECT_TRUE(m.DeleteItem(0));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(0));
  EXPECT_EQ(m.GetSelectedItem()->GetCaption(), CString(_T("Partitions")));
  EXPECT_TRUE(m.DeleteItem(0));
  EXPECT_EQ(m.GetSelectedItem(), nullptr);
  // A tab that leaves through its own Remove is released like the others.
  AddTabs(m, {_T("A"), _T("B")});
  m.SetCurSel(1);
  m.GetItem(1)->Remove();
  EXPECT_EQ(m.GetItemCount(), 1);
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(0));
}

TEST(TabManager, ATabManagerThatDiesLeavesItsPaintManagersObservers) {
  auto* pPaintManager = new CTKPTabPaintManager;
  {
    StripWnd strip;
    pPaintManager->AddObserver(&strip.Manager());
    EXPECT_EQ(pPaintManager->GetObserverCount(), 1);
  }
  EXPECT_EQ(pPaintManager->GetObserverCount(), 0);
  pPaintManager->SetLayout(1);  // would call the dead tab manager
  // And the other way round: a paint manager that dies first is forgotten by the tab manager.
  auto strip = std::make_unique<StripWnd>();
  pPaintManager->AddObserver(&strip->Manager());
  pPaintManager->InternalRelease();
  strip.reset();
}

TEST(TabManager, KeysAndClicksReachOnlyEnabledVisibleTabs) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(400, 120));
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions"), _T("Files"), _T("Lost"), _T("Old")});
  m.GetItem(0)->SetEnabled(FALSE);
  m.GetItem(4)->SetVisible(FALSE);
  m.SetCurSel(2);
  EXPECT_EQ(m.HitTest(m.GetItem(0)->GetRect().CenterPoint()), nullptr);
  EXPECT_EQ(m.HitTest(m.GetItem(2)->GetRect().CenterPoint()), m.GetItem(2));
  EXPECT_TRUE(m.OnKeyDown(strip.m_hWnd, VK_HOME));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(1));
  EXPECT_TRUE(m.OnKeyDown(strip.m_hWnd, VK_END));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(3));
  EXPECT_TRUE(m.OnKeyDown(strip.m_hWnd, VK_LEFT));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(2));
  EXPECT_TRUE(m.OnKeyDown(strip.m_hWnd, VK_DOWN));  // not along a top strip
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(2));
  EXPECT_FALSE(m.OnKeyDown(strip.m_hWnd, 'A'));
  // A plain click (no reordering) selects through OnItemClick.
  m.SetAllowReorder(FALSE);
  const int clicks = m.clicks;
  EXPECT_TRUE(m.PerformClick(strip.m_hWnd, m.GetItem(1)->GetRect().CenterPoint()));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(1));
  EXPECT_EQ(m.clicks, clicks + 1);
  EXPECT_FALSE(m.PerformClick(strip.m_hWnd, m.GetItem(0)->GetRect().CenterPoint()));
}

TEST(TabManager, WithHotTrackingTheTabUnderTheMouseIsHot) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(400, 120));
  strip.PaintManager()->HotTracking = TRUE;
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions"), _T("Files")});
  m.GetItem(2)->SetEnabled(FALSE);
  ::SetForegroundWindow(strip.m_hWnd);
  ::SetActiveWindow(strip.m_hWnd);
  ASSERT_TRUE(harness::WaitUntil([&] { return ::GetActiveWindow() == strip.m_hWnd; }));
  m.PerformMouseMove(strip.m_hWnd, m.GetItem(1)->GetRect().CenterPoint());
  EXPECT_EQ(m.GetHotItem(), m.GetItem(1));
  m.PerformMouseMove(strip.m_hWnd, m.GetItem(2)->GetRect().CenterPoint());
  EXPECT_EQ(m.GetHotItem(), nullptr);
  m.PerformMouseMove(strip.m_hWnd, CPoint(200, 100));
  EXPECT_EQ(m.GetHotItem(), nullptr);
  // Without hot tracking the hot tab stays as it is.
  m.PerformMouseMove(strip.m_hWnd, m.GetItem(0)->GetRect().CenterPoint());
  strip.PaintManager()->HotTracking = FALSE;
  m.PerformMouseMove(strip.m_hWnd, m.GetItem(1)->GetRect().CenterPoint());
  EXPECT_EQ(m.GetHotItem(), m.GetItem(0));
}

TEST(TabManager, InARightToLeftWindowTheRightArrowGoesBack) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(400, 120, WS_EX_LAYOUTRTL));
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions"), _T("Files")});
  m.SetCurSel(1);
  EXPECT_TRUE(m.OnKeyDown(strip.m_hWnd, VK_RIGHT));
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(0));
}

TEST(TabManager, DraggingATabAcrossTwoOthersMovesItStepByStep) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(400, 120));
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions"), _T("Files"), _T("Lost")});
  m.SetCurSel(3);
  CTKPTabManagerItem* pDragged = m.GetItem(0);
  const CPoint overSecond = m.GetItem(1)->GetRect().CenterPoint();
  const CPoint overThird = m.GetItem(2)->GetRect().CenterPoint();
  std::vector<CString> afterFirstMove;
  const int clicks = m.clicks;
  harness::ModalScript script;
  script.Step("move over the second tab", [] { return ::GetCapture() != nullptr; },
              [&] { ::PostMessageW(strip.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(overSecond)); });
  script.Step("move over the third tab", [&] { return pDragged->GetIndex() == 1; }, [&] {
    for (int i = 0; i < m.GetItemCount(); ++i) afterFirstMove.push_back(m.GetItem(i)->GetCaption());
    ::PostMessageW(strip.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(overThird));
  });
  script.Step("release", [&] { return pDragged->GetIndex() == 2; },
              [&] { ::PostMessageW(strip.m_hWnd, WM_LBUTTONUP, 0, At(overThird)); });
  script.Start();
  EXPECT_TRUE(m.PerformClick(strip.m_hWnd, pDragged->GetRect().CenterPoint()));
  EXPECT_TRUE(script.Finished()) << script.Failure();
  ASSERT_EQ(afterFirstMove.size(), 4u);
  EXPECT_EQ(afterFirstMove[0], CString(_T("Partitions")));
  EXPECT_EQ(afterFirstMove[1], CString(_T("Disk")));
  const LPCTSTR expected[] = {_T("Partitions"), _T("Files"), _T("Disk"), _T("Lost")};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(m.GetItem(i)->GetCaption(), CString(expected[i])) << i;
  EXPECT_EQ(m.GetSelectedItem(), pDragged);
  EXPECT_EQ(m.clicks, clicks + 1);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabManager, EscapeEndsADragWhereItStands) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(400, 120));
  StripManager& m = strip.Manager();
  AddTabs(m, {_T("Disk"), _T("Partitions")});
  harness::ModalScript script;
  script.Step("escape", [] { return ::GetCapture() != nullptr; },
              [&] { ::PostMessageW(strip.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); });
  script.Start();
  m.PerformClick(strip.m_hWnd, m.GetItem(1)->GetRect().CenterPoint());
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(m.GetSelectedItem(), m.GetItem(1));
  EXPECT_EQ(::GetCapture(), nullptr);
}

// Twelve tabs in a strip 300 pixels wide: the arrows show.
class HeldArrow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(strip.Create(300, 100));
    for (int i = 0; i < 12; ++i) m().InsertItem(-1, _T("Partition"));
    m().SetCurSel(0);
    m().SetClock([this] { return now; });
  }
  StripManager& m() { return strip.Manager(); }
  CTKPTabManagerNavigateButton* Button(int id) { return m().FindNavigateButton(id); }

  StripWnd strip;
  uint32_t now = 5000;
};

TEST_F(HeldArrow, ScrollsOneStepEachTimeMoreThanTwentyMillisecondsPassUntilTheLastTabShows) {
  CTKPTabManagerNavigateButton* pForward = Button(1);
  ASSERT_FALSE(pForward->GetRect().IsRectEmpty());
  ASSERT_TRUE(pForward->IsEnabled());
  std::vector<int> offsets;
  harness::ModalScript script;
  script.Step("pressed", [] { return ::GetCapture() != nullptr; }, [&] { now += 20; });
  script.Step("not yet after twenty", [] { return true; }, [&] {
    offsets.push_back(m().GetScrollOffset());
    now += 1;
  });
  for (int i = 0; i < 60; ++i) {
    script.Step("hold", [] { return true; }, [&] {
      offsets.push_back(m().GetScrollOffset());
      now += 21;
    });
  }
  script.Step("release outside", [] { return true; }, [&] {
    offsets.push_back(m().GetScrollOffset());
    ::PostMessageW(strip.m_hWnd, WM_LBUTTONUP, 0, At(CPoint(5, 60)));
  });
  script.Start();
  m().PerformClick(strip.m_hWnd, pForward->GetRect().CenterPoint());
  EXPECT_TRUE(script.Finished()) << script.Failure();
  ASSERT_GE(offsets.size(), 3u);
  EXPECT_EQ(offsets[0], 0);   // twenty milliseconds are not enough
  EXPECT_EQ(offsets[1], -20);
  size_t steps = 1;
  while (steps + 1 < offsets.size() && offsets[steps + 1] == offsets[steps] - 20) ++steps;
  EXPECT_GT(steps, 5u);
  // The last step may be shorter; then the button is disabled and the strip stands still.
  EXPECT_FALSE(pForward->IsEnabled());
  EXPECT_EQ(offsets.back(), m().GetScrollOffset());
  EXPECT_LE(m().GetItem(11)->GetRect().right, Button(0)->GetRect().left);
  EXPECT_GE(m().GetItem(11)->GetRect().right, Button(0)->GetRect().left - 6);  // the header's end margin
  EXPECT_TRUE(Button(0)->IsEnabled());
  EXPECT_FALSE(pForward->IsPressed());
  EXPECT_EQ(m().closeClicks, 0);
}

TEST_F(HeldArrow, TheCloseButtonClicksOnceOnReleaseInsideIt) {
  Button(2)->SetShowMode(1);
  m().GetItem(0)->SetClosable(TRUE);
  strip.Relayout();
  CTKPTabManagerNavigateButton* pClose = Button(2);
  ASSERT_FALSE(pClose->GetRect().IsRectEmpty());
  const CPoint inside = pClose->GetRect().CenterPoint();
  harness::ModalScript script;
  script.Step("held a while", [] { return ::GetCapture() != nullptr; }, [&] { now += 500; });
  script.Step("pressed look", [&] { return pClose->IsPressed() != FALSE; },
              [&] { ::PostMessageW(strip.m_hWnd, WM_LBUTTONUP, 0, At(inside)); });
  script.Start();
  m().PerformClick(strip.m_hWnd, inside);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(m().closeClicks, 1);
  // Released outside: no click.
  harness::ModalScript outside;
  outside.Step("release outside", [] { return ::GetCapture() != nullptr; },
               [&] { ::PostMessageW(strip.m_hWnd, WM_LBUTTONUP, 0, At(CPoint(5, 60))); });
  outside.Start();
  m().PerformClick(strip.m_hWnd, inside);
  EXPECT_TRUE(outside.Finished()) << outside.Failure();
  EXPECT_EQ(m().closeClicks, 1);
  // A tab that may not close hides the button.
  m().GetItem(0)->SetClosable(FALSE);
  strip.Relayout();
  EXPECT_TRUE(pClose->GetRect().IsRectEmpty());
}

TEST_F(HeldArrow, SelectingATabOutOfViewScrollsItIn) {
  m().SetCurSel(11);
  const CRect header = m().GetHeaderRect();
  EXPECT_LT(m().GetScrollOffset(), 0);
  EXPECT_LE(m().GetItem(11)->GetRect().right, header.right);
  m().SetCurSel(0);
  EXPECT_GE(m().GetItem(0)->GetRect().left, header.left);
}

}  // namespace
