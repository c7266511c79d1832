// Dragging, floating, auto-hide and the caption buttons in the docking test frame: a group dragged by its
// caption onto a docking guide docks there (docking_drag_guides.png shows the drag with its guides), a
// group dragged into the middle floats in a frame of its own and a double click on that frame's caption
// docks it back; an auto-hidden group slides out on hover and back in when the mouse has gone, on a clock
// of the test's own (docking_autohide.png); the close button of a group closes its selected pane; a
// floating frame dragged by its caption where nothing docks keeps its size (docking_frame_after_caption_drag.png);
// a group whose pane has no caption takes a dragged pane only on its tabs; a pane docked below a group of a
// side-by-side floating frame stays in that frame, which gets the idle update.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/classlib_testing.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/modal_steps_test_support.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_tooltip_context.h"
#include "toolkit/dockingpane/dock_drag_geometry.h"
#include "toolkit/dockingpane/docking_test_frame.h"
#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"
#include "toolkit/dockingpane/tkp_docking_pane_drag_context.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("DockingDragTest")) {}
};
TestApp theApp;

using namespace docktest;

CPoint Centre(const dock::Box& b) { return CPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2); }

class DockingDragTest : public DockingFrameTest {
 protected:
  CTKPDockingPaneTabbedContainer* Group(UINT id) const {
    return static_cast<CTKPDockingPaneTabbedContainer*>(frame->manager.FindPane(id)->GetContainer());
  }
  // Queues the mouse's way for the drag loop: moves (screen points) to the window that will hold the
  // capture, then the step, then the release.
  void QueueDrag(HWND capture, const std::vector<CPoint>& path, std::function<void()> step) {
    for (CPoint pt : path) {
      POINT local{pt.x, pt.y};
      ::ScreenToClient(capture, &local);
      ::PostMessageW(capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(local.x, local.y));
    }
    // The release is queued by the step itself: a step that pumps messages (a screenshot) must not take it.
    tkpsteps::g_steps.push_back([capture, step] {
      step();
      ::PostMessageW(capture, WM_LBUTTONUP, 0, 0);
    });
    ::PostMessageW(tkpsteps::Probe(), WM_APP, 0, 0);
  }
  // The actions the site was told of, activation aside.
  std::vector<int> Actions() const {
    std::vector<int> actions;
    for (const auto& note : frame->notes) {
      if (note.first == TKP_DPN_ACTION && note.second != tkpPaneActionActivated &&
          note.second != tkpPaneActionDeactivated) {
        actions.push_back(note.second);
      }
    }
    return actions;
  }
  static bool Has(const std::vector<int>& actions, int action) {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
  }
  // Properties floated in a frame of its own.
  CTKPDockingPaneMiniWnd* FloatProperties() {
    frame->manager.ToggleDocking(frame->manager.FindPane(kProperties));
    Relayout();
    return FrameOf(kProperties);
  }
  // Properties floated with Search docked at its right: a frame of two groups side by side; null when
  // Search did not land in that frame.
  CTKPDockingPaneMiniWnd* FloatSideBySide() {
    CTKPDockingPaneMiniWnd* floating = FloatProperties();
    if (floating == nullptr) return nullptr;
    frame->manager.DockPane(frame->manager.FindPane(kSearch), tkpPaneDockRight, frame->manager.FindPane(kProperties));
    Relayout();
    return FrameOf(kSearch) == floating ? floating : nullptr;
  }
  // Search's group dragged by its caption onto the left arrow of the outer guides, the guides shown; the
  // step runs while the mouse is over the arrow.
  // The guides a drag shows are on; the outer arrows of the given style around the arrangement.
  std::vector<dock::PlacedGuide> ShowOuterGuides(int style) {
    CTKPDockingPaneManager& m = frame->manager;
    m.SetAlphaDockingContext(TRUE);
    m.SetShowDockingGuides(TRUE);
    const CRect top = m.GetTopPane()->GetWindowRect();
    return dock::OuterGuides(dock::Box{top.left, top.top, top.right, top.bottom}, style, 15);
  }
  void DragSearchToTheLeftGuide(std::function<void()> step) {
    CTKPDockingPaneTabbedContainer* search = Group(kSearch);
    const std::vector<dock::PlacedGuide> outer = ShowOuterGuides(0);
    ASSERT_EQ(outer[1].code, dock::kGuideLeft);
    const CPoint leftGuide = Centre(outer[1].rect);
    const CPoint start(search->CTKPDockingPaneBase::GetWindowRect().left + 60,
                       search->CTKPDockingPaneBase::GetWindowRect().top + 8);
    QueueDrag(search->GetSafeHwnd(), {start + CPoint(12, 12), leftGuide + CPoint(-3, 0), leftGuide}, std::move(step));
    frame->manager.GetDragContext()->Drag(search, start);
  }
  // Properties floated in a themed frame.
  CTKPDockingPaneMiniWnd* FloatThemed() {
    frame->manager.SetThemedFloatingFrames(TRUE);
    return FloatProperties();
  }
  // A collapsed frame with the mouse and the focus away: six polls, then the steps down to its caption.
  void ShrinkCollapsed(CTKPDockingPaneMiniWnd* floating) {
    ::SetFocus(frame->view);
    for (int i = 0; i < 6; ++i) floating->OnTimerTick(1);
    for (int i = 0; i < 9; ++i) floating->OnTimerTick(3);
  }
  // The arrangement saved and loaded back in place.
  void Reload() {
    CTKPDockingPaneManager& m = frame->manager;
    const std::vector<BYTE> saved = Stored([&m](CArchive& ar) { m.GetLayout()->Serialize(ar); });
    Loaded(saved, [&m](CArchive& ar) {
      CTKPPropExchangeArchive px(ar);
      EXPECT_TRUE(m.GetLayout()->DoPropExchange(&px));
    });
  }
  CTKPDockingPaneMiniWnd* FrameOf(UINT id) const {
    for (CTKPDockingPaneBase* p = frame->manager.FindPane(id)->GetContainer(); p != nullptr; p = p->GetContainer()) {
      if (p->GetType() == dock::kMiniFrame) return static_cast<CTKPDockingPaneMiniWnd*>(p);
    }
    return nullptr;
  }
};

TEST_F(DockingDragTest, AGroupDraggedOntoAGuideDocksThere) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneDragContext* drag = m.GetDragContext();
  bool seen = false;
  frame->notes.clear();
  DragSearchToTheLeftGuide([&] {
    seen = true;
    // Over the guide: the whole arrangement's left side is the target, its arrow lit.
    EXPECT_EQ(drag->GetTarget(), m.GetTopPane());
    EXPECT_EQ(drag->GetDirection(), 0);
    EXPECT_FALSE(drag->IsAttach());
    ASSERT_GE(drag->GetGuides().size(), 5u);  // the cross over Folders and the four outer arrows
    int lit = 0;
    for (CTKPDockingPaneGuideWnd* guide : drag->GetGuides()) {
      EXPECT_TRUE(guide->IsWindowVisible());
      if (guide->m_nHighlighted != 0) {
        ++lit;
        EXPECT_EQ(guide->GetCode(), dock::kGuideLeft);
      }
      guide->UpdateWindow();
    }
    EXPECT_EQ(lit, 1);
    ::RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::CaptureThreadWindows("docking_drag_guides");
  });
  EXPECT_TRUE(seen);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(drag->GetGuides().empty());
  Relayout();
  const CRect client = ClientArea();
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kSearch)), 0);
  EXPECT_EQ(Place(kSearch).left, 0);
  EXPECT_EQ(Place(kSearch).top, 0);
  EXPECT_EQ(Place(kSearch).bottom, client.bottom);
  EXPECT_GT(Place(kFolders).left, Place(kSearch).right);
  const std::vector<int> actions = Actions();
  EXPECT_TRUE(Has(actions, tkpPaneActionFloating));
  EXPECT_TRUE(Has(actions, tkpPaneActionDocking));
  EXPECT_EQ(actions.back(), tkpPaneActionDocked);
}

// Moves the manager refuses silently are not told to the site as done: a drag whose docking the factory
// refuses, a toggle whose floating frame cannot be made, a pin with no panel to go to. Each pane stays
// where it was, and the site hears no "docked", "floated" or "pinned".
TEST_F(DockingDragTest, MovesTheManagerRefusesAreNotToldAsDone) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* search = Group(kSearch);
  frame->manager.refuseTypes = {dock::kSplitterContainer};
  frame->notes.clear();
  DragSearchToTheLeftGuide([] {});
  Relayout();
  EXPECT_EQ(m.FindPane(kSearch)->GetContainer(), search);
  EXPECT_NE(m.GetPaneDirection(m.FindPane(kSearch)), 0);
  EXPECT_FALSE(Has(Actions(), tkpPaneActionDocked));

  // The check before the toggle passes; the floating frame itself is then refused.
  frame->manager.refuseTypes.clear();
  frame->manager.objectsLeft = 3;
  frame->notes.clear();
  m.ToggleDocking(m.FindPane(kFolders));
  Relayout();
  frame->manager.objectsLeft = -1;
  EXPECT_EQ(FrameOf(kFolders), nullptr);
  EXPECT_TRUE(Has(Actions(), tkpPaneActionFloating));
  EXPECT_FALSE(Has(Actions(), tkpPaneActionFloated));

  frame->manager.refuseTypes = {dock::kAutoHidePanel};
  frame->notes.clear();
  CTKPDockingPaneTabbedContainer* folders = Group(kFolders);
  folders->OnCaptionButtonClick(folders->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE));
  Relayout();
  frame->manager.refuseTypes.clear();
  EXPECT_FALSE(m.IsPaneHidden(m.FindPane(kFolders)));
  EXPECT_TRUE(Has(Actions(), tkpPaneActionPinning));
  EXPECT_FALSE(Has(Actions(), tkpPaneActionPinned));
}

TEST_F(DockingDragTest, TheRoundGuidesDockAtTheirSideToo) {
  CTKPDockingPaneManager& m = frame->manager;
  m.SetTheme(9);  // the second guide style
  Relayout();
  ASSERT_EQ(m.GetDockingGuideStyle(), 1);
  CTKPDockingPaneTabbedContainer* folders = Group(kFolders);
  const std::vector<dock::PlacedGuide> outer = ShowOuterGuides(1);
  ASSERT_EQ(outer[2].code, dock::kGuideBottom);
  const CPoint start(folders->CTKPDockingPaneBase::GetWindowRect().left + 40,
                     folders->CTKPDockingPaneBase::GetWindowRect().top + 8);
  QueueDrag(folders->GetSafeHwnd(), {start + CPoint(12, 12), Centre(outer[2].rect)}, [&] {
    for (CTKPDockingPaneGuideWnd* guide : m.GetDragContext()->GetGuides()) guide->UpdateWindow();
    harness::CaptureThreadWindows("docking_drag_guides_round");
    EXPECT_EQ(m.GetDragContext()->GetDirection(), 3);
  });
  m.GetDragContext()->Drag(folders, start);
  Relayout();
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kFolders)), 3);
  EXPECT_EQ(Place(kFolders).bottom, ClientArea().bottom);
  EXPECT_EQ(Place(kFolders).left, 0);
}

TEST_F(DockingDragTest, TheCentreOfTheCrossJoinsTheGroupAsATab) {
  CTKPDockingPaneManager& m = frame->manager;
  m.SetAlphaDockingContext(TRUE);
  m.SetShowDockingGuides(TRUE);
  CTKPDockingPaneTabbedContainer* search = Group(kSearch);
  const CRect folders = Group(kFolders)->CTKPDockingPaneBase::GetWindowRect();
  const CPoint centre = Centre(dock::CentreGuideRect(dock::Box{folders.left, folders.top, folders.right, folders.bottom}, 0));
  const CPoint start(search->CTKPDockingPaneBase::GetWindowRect().left + 60, search->CTKPDockingPaneBase::GetWindowRect().top + 8);
  QueueDrag(search->GetSafeHwnd(), {start + CPoint(12, 12), centre}, [&] {
    EXPECT_TRUE(m.GetDragContext()->IsAttach());
    EXPECT_EQ(m.GetDragContext()->GetTarget(), Group(kFolders));
  });
  m.GetDragContext()->Drag(search, start);
  Relayout();
  EXPECT_EQ(m.FindPane(kSearch)->GetContainer(), m.FindPane(kFolders)->GetContainer());
  EXPECT_EQ(Group(kFolders)->GetItemCount(), 2);
}

TEST_F(DockingDragTest, ATabDraggedOutOfTheStripDragsItsPaneAlone) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const CPoint tab = bottom->GetItem(1)->GetRect().CenterPoint();
  // A site that refuses the detaching keeps the tab in its strip.
  frame->refuse = {tkpPaneActionDetaching};
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  bottom->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(tab.x, 30));
  EXPECT_EQ(::GetCapture(), bottom->GetSafeHwnd());
  bottom->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(tab.x, 30));
  EXPECT_EQ(m.FindPane(kLog)->GetContainer(), bottom);
  frame->refuse.clear();
  // Allowed: the Event log alone is dragged into the middle and floats there.
  CRect view;
  ::GetWindowRect(frame->view, view);
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  QueueDrag(bottom->GetSafeHwnd(), {view.CenterPoint()}, [] {});
  bottom->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(tab.x, 30));
  Relayout();
  ASSERT_NE(FrameOf(kLog), nullptr);
  EXPECT_TRUE(FrameOf(kLog)->IsWindowVisible());
  EXPECT_EQ(m.FindPane(kOutput)->GetContainer(), bottom);
  EXPECT_EQ(bottom->GetItemCount(), 1);
}

TEST_F(DockingDragTest, AReleaseWithinFivePixelsChangesNothing) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* search = Group(kSearch);
  const CRect before = Place(kSearch);
  const CPoint start(search->CTKPDockingPaneBase::GetWindowRect().left + 60, search->CTKPDockingPaneBase::GetWindowRect().top + 8);
  QueueDrag(search->GetSafeHwnd(), {start + CPoint(4, -4)}, [] {});
  frame->notes.clear();
  m.GetDragContext()->Drag(search, start);
  Relayout();
  EXPECT_EQ(Place(kSearch), before);
  EXPECT_FALSE(Has(Actions(), tkpPaneActionFloated));
  EXPECT_FALSE(Has(Actions(), tkpPaneActionDocked));
}

TEST_F(DockingDragTest, DraggedAwayItFloatsAndADoubleClickOnTheCaptionDocksItBack) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* properties = Group(kProperties);
  const CRect docked = Place(kProperties);
  CRect view;
  ::GetWindowRect(frame->view, view);
  const CPoint start(properties->CTKPDockingPaneBase::GetWindowRect().left + 30,
                     properties->CTKPDockingPaneBase::GetWindowRect().top + 8);
  // The classic preview: an inverted frame on the desktop, far from every edge nothing docks.
  QueueDrag(properties->GetSafeHwnd(), {start + CPoint(-20, 20), view.CenterPoint()}, [&] {
    EXPECT_EQ(m.GetDragContext()->GetTarget(), nullptr);
    EXPECT_FALSE(m.GetDragContext()->IsAlphaPreview());
  });
  frame->notes.clear();
  m.GetDragContext()->Drag(properties, start);
  Relayout();
  CTKPDockingPaneMiniWnd* floating = FrameOf(kProperties);
  ASSERT_NE(floating, nullptr);
  ASSERT_NE(floating->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_EQ(harness::Text(floating->GetSafeHwnd()), L"Properties");
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kProperties)->GetChild()));
  EXPECT_TRUE(::IsChild(floating->GetSafeHwnd(), m.FindPane(kProperties)->GetChild()));
  EXPECT_EQ(Actions().back(), tkpPaneActionFloated);
  // The frame holds the pane where it was let go: the cursor lies inside it.
  CRect rc;
  floating->CWnd::GetWindowRect(rc);
  EXPECT_TRUE(rc.PtInRect(view.CenterPoint()));
  // The view took the room the pane left.
  ::GetWindowRect(frame->view, view);
  frame->ScreenToClient(view);
  EXPECT_EQ(view.right, ClientArea().right);

  frame->notes.clear();
  floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rc.left + 20, rc.top + 5));
  Relayout();
  EXPECT_EQ(FrameOf(kProperties), nullptr);
  EXPECT_FALSE(floating->IsWindowVisible());
  EXPECT_EQ(Place(kProperties), docked);
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kProperties)), 1);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kProperties)->GetChild()));
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionDocking, tkpPaneActionDocked}));
  // Toggled again, it floats once more in the same kind of frame.
  m.ToggleDocking(m.FindPane(kProperties));
  Relayout();
  ASSERT_NE(FrameOf(kProperties), nullptr);
  EXPECT_TRUE(FrameOf(kProperties)->IsWindowVisible());
  // A layout with a floating frame, saved and loaded back: the frame opens where it was, with the pane.
  FrameOf(kProperties)->CWnd::GetWindowRect(rc);
  Reload();
  Relayout();
  ASSERT_NE(FrameOf(kProperties), nullptr);
  ASSERT_NE(FrameOf(kProperties)->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(FrameOf(kProperties)->IsWindowVisible());
  CRect loaded;
  FrameOf(kProperties)->CWnd::GetWindowRect(loaded);
  EXPECT_EQ(loaded, rc);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kProperties)->GetChild()));
  EXPECT_TRUE(::IsChild(FrameOf(kProperties)->GetSafeHwnd(), m.FindPane(kProperties)->GetChild()));
  // And it still docks back where it was docked.
  m.ToggleDocking(m.FindPane(kProperties));
  Relayout();
  EXPECT_EQ(FrameOf(kProperties), nullptr);
  EXPECT_EQ(Place(kProperties), docked);
}

TEST_F(DockingDragTest, AFloatingFrameDraggedByItsCaptionWhereNothingDocksKeepsItsSize) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatProperties();
  ASSERT_NE(floating, nullptr);
  CRect first;
  floating->CWnd::GetWindowRect(first);
  CRect view;
  ::GetWindowRect(frame->view, view);
  // Two drags in a row, each let go over the middle of the view: the frame follows the cursor whole.
  for (int drag = 0; drag < 2; ++drag) {
    CRect before;
    floating->CWnd::GetWindowRect(before);
    const CPoint start(before.left + 30, before.top + 8);  // on its caption
    const CPoint end = view.CenterPoint() + CPoint(drag * 40 - 60, drag * 30 - 140);
    QueueDrag(floating->GetSafeHwnd(), {start + CPoint(10, 10), end},
              [&] { EXPECT_EQ(m.GetDragContext()->GetTarget(), nullptr); });
    m.GetDragContext()->Drag(floating->GetTopPane(), start);
    Relayout();
    ASSERT_EQ(FrameOf(kProperties), floating) << drag;
    CRect after;
    floating->CWnd::GetWindowRect(after);
    EXPECT_EQ(after.Size(), first.Size()) << drag;
    EXPECT_EQ(after.TopLeft(), before.TopLeft() + (end - start)) << drag;
  }
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kProperties)->GetChild()));
  ::RedrawWindow(floating->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::CaptureThreadWindows("docking_frame_after_caption_drag");
}

TEST_F(DockingDragTest, AGroupWhosePaneHasNoCaptionTakesAPaneOnlyOnItsTabs) {
  CTKPDockingPaneManager& m = frame->manager;
  m.FindPane(kOutput)->SetOptions(tkpPaneNoCaption);
  Relayout();
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  const CRect rc = bottom->CTKPDockingPaneBase::GetWindowRect();
  CTKPDockingPaneTabbedContainer* properties = Group(kProperties);
  const CPoint start(properties->CTKPDockingPaneBase::GetWindowRect().left + 30,
                     properties->CTKPDockingPaneBase::GetWindowRect().top + 8);
  // Over the group's top strip (where a caption would be) it joins nothing; over its tabs it joins.
  const CPoint top(rc.CenterPoint().x, rc.top + 6), tabs(rc.CenterPoint().x, rc.bottom - 6);
  QueueDrag(properties->GetSafeHwnd(), {start + CPoint(-20, 20), top}, [&] {
    EXPECT_FALSE(m.GetDragContext()->IsAttach() && m.GetDragContext()->GetTarget() == bottom);
    ::PostMessageW(properties->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  m.GetDragContext()->Drag(properties, start);
  Relayout();
  EXPECT_EQ(Group(kProperties), properties);  // Escape: nothing changed
  QueueDrag(properties->GetSafeHwnd(), {start + CPoint(-20, 20), tabs}, [&] {
    EXPECT_TRUE(m.GetDragContext()->IsAttach());
    EXPECT_EQ(m.GetDragContext()->GetTarget(), bottom);
  });
  m.GetDragContext()->Drag(properties, start);
  Relayout();
  EXPECT_EQ(m.FindPane(kProperties)->GetContainer(), bottom);
}

TEST_F(DockingDragTest, APaneDockedBelowAGroupOfASideBySideFrameStaysInThatFrame) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatSideBySide();
  ASSERT_NE(floating, nullptr);
  // Below Properties: a new column splitter takes its place inside the frame.
  m.DockPane(m.FindPane(kLog), tkpPaneDockBottom, m.FindPane(kProperties));
  Relayout();
  CTKPDockingPane* log = m.FindPane(kLog);
  ASSERT_EQ(FrameOf(kLog), floating);
  CTKPDockingPaneBase* column = Group(kLog)->GetContainer();
  ASSERT_EQ(column->GetType(), dock::kSplitterContainer);
  EXPECT_EQ(column->GetDockingSite(), static_cast<CWnd*>(floating));
  EXPECT_EQ(Group(kLog)->GetDockingSite(), static_cast<CWnd*>(floating));
  EXPECT_TRUE(::IsChild(floating->GetSafeHwnd(), log->GetChild()));
  EXPECT_TRUE(::IsWindowVisible(log->GetChild()));
  CRect logRect, propertiesRect;
  ::GetWindowRect(Group(kLog)->GetSafeHwnd(), logRect);
  ::GetWindowRect(Group(kProperties)->GetSafeHwnd(), propertiesRect);
  EXPECT_EQ(logRect.top, propertiesRect.bottom + column->GetPaintManager()->m_nSplitterSize);
  // The idle update reaches the floating frame: the focus in it makes it active.
  ::SetFocus(log->GetChild());
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_TRUE(floating->IsActive());
}

// Beside a group of a floating frame that holds two groups side by side, the preview lies over that group
// in its frame, where the drop lands, not over the main window.
TEST_F(DockingDragTest, ThePreviewBesideAGroupOfATwoGroupFrameLiesInThatFrame) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatSideBySide();
  ASSERT_NE(floating, nullptr);
  floating->MoveWindow(CRect(560, 260, 1040, 600));
  Relayout();
  CTKPDockingPaneTabbedContainer* properties = Group(kProperties);
  CTKPDockingPaneTabbedContainer* output = Group(kOutput);
  const CRect group = properties->CTKPDockingPaneBase::GetWindowRect();
  CRect frameRect;
  floating->CWnd::GetWindowRect(frameRect);
  ASSERT_TRUE(CRect().IntersectRect(group, frameRect));
  // Across the frame's split (above and below) the group's own rectangle is shared; along it, the frame's
  // splitter shares the row. Either way the preview lies in the frame.
  for (int side : {tkpPaneDockLeft, tkpPaneDockRight, tkpPaneDockTop, tkpPaneDockBottom}) {
    const CRect preview = m.CalcDockingRect(output, side, properties);
    CRect inside;
    inside.IntersectRect(preview, frameRect);
    EXPECT_EQ(inside, preview) << side;
    EXPECT_FALSE(preview.IsRectEmpty()) << side;
    if (side == tkpPaneDockTop || side == tkpPaneDockBottom) {
      EXPECT_EQ(preview.left, group.left) << side;
      EXPECT_EQ(preview.right, group.right) << side;
      EXPECT_EQ(side == tkpPaneDockTop ? preview.top : preview.bottom, side == tkpPaneDockTop ? group.top : group.bottom);
    }
  }
  // Dragged over the top arrow of the cross on the group: the translucent preview shows there.
  m.SetAlphaDockingContext(TRUE);
  m.SetShowDockingGuides(TRUE);
  const dock::Box cross = dock::CentreGuideRect(dock::Box{group.left, group.top, group.right, group.bottom}, 0);
  const CPoint topArrow((cross.left + cross.right) / 2, cross.top + 12);
  const CPoint start(output->CTKPDockingPaneBase::GetWindowRect().left + 60,
                     output->CTKPDockingPaneBase::GetWindowRect().top + 8);
  bool seen = false;
  QueueDrag(output->GetSafeHwnd(), {start + CPoint(12, 12), topArrow + CPoint(0, 3), topArrow}, [&] {
    seen = true;
    CTKPDockingPaneDragContext* drag = m.GetDragContext();
    EXPECT_EQ(drag->GetTarget(), properties);
    EXPECT_EQ(drag->GetDirection(), tkpPaneDockTop);
    const CRect preview = drag->GetDockRect();
    EXPECT_EQ(preview.left, group.left);
    EXPECT_EQ(preview.top, group.top);
    EXPECT_EQ(preview.right, group.right);
    EXPECT_LT(preview.bottom, group.bottom);
    for (CTKPDockingPaneGuideWnd* guide : drag->GetGuides()) guide->UpdateWindow();
    ::RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::CaptureThreadWindows("docking_preview_floating_frame");
  });
  m.GetDragContext()->Drag(output, start);
  EXPECT_TRUE(seen);
  Relayout();
  EXPECT_EQ(FrameOf(kOutput), floating);
  EXPECT_EQ(FrameOf(kLog), floating);
  const CRect landed = Group(kOutput)->CTKPDockingPaneBase::GetWindowRect();
  EXPECT_EQ(landed.left, Group(kProperties)->CTKPDockingPaneBase::GetWindowRect().left);
  EXPECT_LT(landed.bottom, Group(kProperties)->CTKPDockingPaneBase::GetWindowRect().top + 1);
}

TEST_F(DockingDragTest, AThemedFloatingFrameDrawsItsCaptionAndCollapsesToIt) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatThemed();
  ASSERT_NE(floating, nullptr);
  ASSERT_TRUE(floating->IsWindowVisible());
  // The caption is the frame's own: the client area starts below the paint manager's caption.
  CRect window, client;
  floating->CWnd::GetWindowRect(window);
  floating->GetClientRect(client);
  floating->ClientToScreen(client);
  const int title = m.GetPaintManager()->m_nTitleHeight;
  EXPECT_GE(client.top - window.top, title + 2);
  EXPECT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 30, window.top + 6)), HTCAPTION);
  floating->SendMessage(WM_NCPAINT, 1, 0);
  CTKPDockingPaneCaptionButton* close = nullptr;
  for (CTKPDockingPaneCaptionButton* button : floating->GetCaptionButtons()) {
    if (button->GetID() == TKP_IDC_DOCKING_CLOSE) close = button;
  }
  ASSERT_NE(close, nullptr);
  EXPECT_FALSE(close->GetRect().IsRectEmpty());
  harness::CaptureWindow(floating->GetSafeHwnd(), "docking_floating");
  // Collapsed, and the mouse away: after six polls it shrinks in eight steps to its caption.
  ::SetCursorPos(1, 1);
  floating->Collapse(TRUE);
  EXPECT_TRUE(floating->IsCollapsed());
  ShrinkCollapsed(floating);
  floating->CWnd::GetWindowRect(window);
  EXPECT_EQ(window.Height(), title + 8);
  // A double click on the caption of a collapsed frame expands it instead of docking.
  floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(window.left + 20, window.top + 5));
  EXPECT_FALSE(floating->IsCollapsed());
  EXPECT_EQ(FrameOf(kProperties), floating);
  floating->CWnd::GetWindowRect(window);
  EXPECT_GT(window.Height(), title + 8);
}

// A themed floating frame's caption buttons have tips, fed to the manager's tooltips by the frame
// itself; the collapse button follows its switch; a collapsed frame follows a caption that changes height.
TEST_F(DockingDragTest, AThemedFloatingFramesButtonsHaveTipsAndItsCollapsedHeightFollowsTheCaption) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatThemed();
  ASSERT_NE(floating, nullptr);
  floating->SendMessage(WM_NCPAINT, 1, 0);
  CRect window;
  floating->CWnd::GetWindowRect(window);
  auto button = [&](UINT id) -> CTKPDockingPaneCaptionButton* {
    for (CTKPDockingPaneCaptionButton* b : floating->GetCaptionButtons()) {
      if (b->GetID() == id) return b;
    }
    return nullptr;
  };
  auto clientPointOf = [&](UINT id) {
    const CPoint centre = button(id)->GetRect().CenterPoint();
    POINT pt{window.left + centre.x, window.top + centre.y};
    ::ScreenToClient(floating->m_hWnd, &pt);
    return CPoint(pt.x, pt.y);
  };
  ASSERT_FALSE(button(TKP_IDC_DOCKING_CLOSE)->GetRect().IsRectEmpty());
  ASSERT_FALSE(button(TKP_IDC_DOCKING_AUTOHIDE)->GetRect().IsRectEmpty());
  for (auto [id, text] : {std::pair<UINT, const wchar_t*>(TKP_IDC_DOCKING_CLOSE, L"Close"),
                          std::pair<UINT, const wchar_t*>(TKP_IDC_DOCKING_AUTOHIDE, L"Auto Hide")}) {
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(floating->OnToolHitTest(clientPointOf(id), &ti), static_cast<INT_PTR>(id));
    EXPECT_STREQ(ti.lpszText, text);
    CRect tool = ti.rect;
    EXPECT_TRUE(tool.PtInRect(clientPointOf(id))) << "the tool's rectangle in client coordinates";
    ::free(ti.lpszText);
  }
  // A mouse move over the close button reaches the tooltips, which take the button as their tool.
  const CPoint centre = button(TKP_IDC_DOCKING_CLOSE)->GetRect().CenterPoint();
  ::SetCursorPos(window.left + centre.x, window.top + centre.y);
  floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(window.left + centre.x, window.top + centre.y));
  CWnd* tips = m.GetToolTipContext()->GetToolTip();
  ASSERT_NE(tips, nullptr);
  TOOLINFO probe{};
  probe.cbSize = TTTOOLINFOW_V1_SIZE;
  probe.hwnd = floating->m_hWnd;
  probe.uId = TKP_IDC_DOCKING_CLOSE;
  EXPECT_TRUE(tips->SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe)));
  ::SetCursorPos(1, 1);
  // Without the switch there is no collapse button.
  CTKPDockingPaneMiniWnd::SetShowCollapseButton(FALSE);
  floating->SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_TRUE(button(TKP_IDC_DOCKING_AUTOHIDE)->GetRect().IsRectEmpty());
  CTKPDockingPaneMiniWnd::SetShowCollapseButton(TRUE);
  floating->SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_FALSE(button(TKP_IDC_DOCKING_AUTOHIDE)->GetRect().IsRectEmpty());
  // Collapsed to its caption; then the caption grows: the frame follows.
  floating->Collapse(TRUE);
  ShrinkCollapsed(floating);
  CTKPDockingPanePaintManager* paint = m.GetPaintManager();
  floating->CWnd::GetWindowRect(window);
  ASSERT_EQ(window.Height(), paint->m_nTitleHeight + 8);
  LOGFONT lf{};
  lf.lfHeight = -24;
  lstrcpyW(lf.lfFaceName, L"Arial");
  paint->SetCaptionFont(&lf, FALSE);
  ASSERT_GT(paint->m_nTitleHeight + 8, window.Height());
  m.RecalcFrames();
  floating->CWnd::GetWindowRect(window);
  EXPECT_EQ(window.Height(), paint->m_nTitleHeight + 8);
}

TEST_F(DockingDragTest, AFrameFloatedOffTheScreenOpensJustInsideIt) {
  CTKPDockingPaneManager& m = frame->manager;
  m.FloatPane(m.FindPane(kSearch), CRect(5000, 100, 5200, 300));
  ASSERT_NE(FrameOf(kSearch), nullptr);
  CRect rc;
  FrameOf(kSearch)->CWnd::GetWindowRect(rc);
  const CRect work = CTKPDrawHelpers::GetWorkAreaFromPoint(POINT{5100, 200});
  EXPECT_EQ(rc.right, work.right);
  EXPECT_EQ(rc.Width(), 200);
  EXPECT_EQ(rc.top, 100);
  // The group it left stays where it was docked, empty: the place the pane goes back to.
  m.ToggleDocking(m.FindPane(kSearch));
  Relayout();
  EXPECT_EQ(Place(kSearch), CRect(0, 0, ClientArea().right, 90));
}

// The sliding window's timers and the cursor, driven by the test.
struct FakeClock {
  std::map<UINT_PTR, UINT> timers;  // the running timers of the sliding window
  POINT cursor{0, 0};
  TKPAutoHideClock hooks;
  FakeClock() {
    hooks.setTimer = [this](HWND, UINT_PTR id, UINT elapse) { timers[id] = elapse; };
    hooks.killTimer = [this](HWND, UINT_PTR id) { timers.erase(id); };
    hooks.cursorPos = [this] { return cursor; };
    TKPSetAutoHideClock(&hooks);
  }
  ~FakeClock() { TKPSetAutoHideClock(nullptr); }
  bool Running(UINT_PTR id) const { return timers.count(id) != 0; }
  // Fires the timer while it runs, at most `limit` times; how often it fired.
  int Run(CWnd* wnd, UINT_PTR id, int limit) {
    int fired = 0;
    while (Running(id) && fired < limit && ::IsWindow(wnd->GetSafeHwnd())) {
      wnd->SendMessage(WM_TIMER, id);
      ++fired;
    }
    return fired;
  }
};

// Auto-hides a pane of the left side, clicks its tab and lets its group slide all the way out.
CTKPDockingPaneAutoHideWnd* SlideOutLeft(CTKPDockingPane* pane, FakeClock& clock, CTKPDockingPaneAutoHidePanel** panel) {
  CTKPDockingPaneManager* m = pane->GetDockingPaneManager();
  m->HidePane(pane);
  m->GetSite()->RecalcLayout();
  harness::PumpMessages();
  *panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m->GetLayout()->GetPanel(0));
  if (*panel == nullptr || (*panel)->GetTabRows().empty()) return nullptr;
  const CPoint tab = (*panel)->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
  (*panel)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  CTKPDockingPaneAutoHideWnd* sliding = (*panel)->GetSlidingWindow();
  if (sliding != nullptr) clock.Run(sliding, 2, 20);
  return sliding;
}

// A splitter of two groups auto-hidden: each group goes to the panel on its own with a tab of its own,
// so each slides out, shows and closes (the splitter went in whole, with no tab, and never came out).
TEST_F(DockingDragTest, AHiddenSplitterHidesEachOfItsGroupsWithATabOfItsOwn) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* folders = m.FindPane(kFolders);
  CTKPDockingPane* properties = m.FindPane(kProperties);
  m.DockPane(properties, tkpPaneDockBottom, Group(kFolders));
  Relayout();
  CTKPDockingPaneBase* splitter = Group(kFolders)->GetContainer();
  ASSERT_NE(splitter, nullptr);
  ASSERT_EQ(splitter->GetType(), dock::kSplitterContainer);
  ASSERT_EQ(Group(kProperties)->GetContainer(), splitter);
  m.HidePane(splitter);
  Relayout();
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(0));
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->GetContainers().size(), 2u);
  for (CTKPDockingPaneBase* container : panel->GetContainers()) EXPECT_EQ(container->GetType(), dock::kTabbedContainer);
  std::vector<CTKPDockingPane*> tabs;  // the pane under each tab
  for (CTKPDockingPaneAutoHideTabs* row : panel->GetTabRows()) {
    for (int k = 0; k < row->GetItemCount(); ++k) tabs.push_back(panel->HitTestPane(row->GetItem(k)->GetRect().CenterPoint()));
  }
  EXPECT_EQ(tabs.size(), 2u);
  EXPECT_NE(std::find(tabs.begin(), tabs.end(), folders), tabs.end());
  EXPECT_NE(std::find(tabs.begin(), tabs.end(), properties), tabs.end());
  EXPECT_TRUE(m.IsPaneHidden(folders));
  EXPECT_TRUE(m.IsPaneHidden(properties));
  // Shown, the pane slides out of its tab; closed, it leaves the panel.
  m.ShowPane(properties);
  harness::PumpMessages();
  ASSERT_NE(panel->GetSlidingWindow(), nullptr);
  m.ClosePane(properties);
  Relayout();
  EXPECT_TRUE(properties->IsClosed());
  EXPECT_TRUE(m.IsPaneHidden(folders));
}

TEST_F(DockingDragTest, AnAutoHiddenGroupSlidesOutOnHoverAndBackWhenTheMouseHasGone) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* output = m.FindPane(kOutput);
  m.HidePane(output);
  Relayout();
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->GetTabRows().size(), 1u);
  CTKPDockingPaneAutoHideTabs* row = panel->GetTabRows().front();
  ASSERT_EQ(row->GetItemCount(), 2);
  const CPoint tab = row->GetItem(0)->GetRect().CenterPoint();
  EXPECT_EQ(panel->HitTestPane(tab), output);
  ::SetForegroundWindow(frame->GetSafeHwnd());
  ::SetActiveWindow(frame->GetSafeHwnd());
  ::SetFocus(frame->view);
  harness::PumpMessages();
  frame->notes.clear();
  panel->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(tab.x, tab.y));
  CTKPDockingPaneAutoHideWnd* sliding = panel->GetSlidingWindow();
  ASSERT_NE(sliding, nullptr);
  EXPECT_EQ(sliding->GetStepsCount(), 8);
  EXPECT_EQ(sliding->GetStep(), 0);
  EXPECT_TRUE(clock.Running(2));
  EXPECT_EQ(clock.timers[1], 100u);
  EXPECT_EQ(clock.timers[2], 16u);
  EXPECT_EQ(clock.Run(sliding, 2, 20), 8);  // seven steps and the last, which stops the timer
  EXPECT_EQ(sliding->GetStep(), 7);
  CRect rc;
  sliding->CWnd::GetWindowRect(rc);
  frame->ScreenToClient(rc);
  EXPECT_EQ(rc, sliding->GetFinalRect());
  // Out of the bottom edge, over the arrangement, 130 + 4 high (the pane's height and the edge).
  CRect strip;
  panel->CWnd::GetWindowRect(strip);
  frame->ScreenToClient(strip);
  EXPECT_EQ(rc.bottom, strip.top);
  EXPECT_EQ(rc.Height(), 134);
  EXPECT_TRUE(::IsWindowVisible(output->GetChild()));
  EXPECT_TRUE(Has(Actions(), tkpPaneActionExpanding));
  EXPECT_EQ(Actions().back(), tkpPaneActionExpanded);
  ::RedrawWindow(frame->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::CaptureWindow(frame->GetSafeHwnd(), "docking_autohide");

  // The mouse stays over the window: it stays out.
  sliding->CWnd::GetWindowRect(rc);
  clock.cursor = POINT{rc.CenterPoint().x, rc.CenterPoint().y};
  for (int i = 0; i < 10; ++i) sliding->SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(sliding->IsClosing());
  // Away from it for six polls, it starts sliding in; back over it, it slides out again.
  clock.cursor = POINT{2, 2};
  for (int i = 0; i < 5; ++i) sliding->SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(sliding->IsClosing());
  sliding->SendMessage(WM_TIMER, 1);
  EXPECT_TRUE(sliding->IsClosing());
  EXPECT_TRUE(clock.Running(3));
  EXPECT_EQ(clock.Run(sliding, 3, 2), 2);
  EXPECT_EQ(sliding->GetStep(), 5);
  clock.cursor = POINT{rc.CenterPoint().x, rc.CenterPoint().y};
  sliding->SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(sliding->IsClosing());
  EXPECT_FALSE(clock.Running(3));
  EXPECT_TRUE(clock.Running(2));
  clock.Run(sliding, 2, 20);
  EXPECT_EQ(sliding->GetStep(), 7);
  // Gone for good: six polls, eight steps in, and the window ends.
  clock.cursor = POINT{2, 2};
  frame->notes.clear();
  clock.Run(sliding, 1, 6);
  EXPECT_EQ(clock.Run(sliding, 3, 20), 8);
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionCollapsing, tkpPaneActionCollapsed}));
  harness::PumpMessages();
  EXPECT_EQ(panel->GetSlidingWindow(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(output->GetChild()));
  EXPECT_TRUE(m.IsPaneHidden(output));
  // A click on the tab slides it out again, with the focus.
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  ASSERT_NE(panel->GetSlidingWindow(), nullptr);
  EXPECT_TRUE(output->IsFocus());
  // Any layout pass of the frame closes it.
  Relayout();
  harness::PumpMessages();
  EXPECT_EQ(panel->GetSlidingWindow(), nullptr);
}

TEST_F(DockingDragTest, TheEdgeOfASlidingWindowSetsTheWidthItOpensWith) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* folders = m.FindPane(kFolders);
  m.HidePane(folders);
  Relayout();
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(0));
  ASSERT_NE(panel, nullptr);
  const CPoint tab = panel->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
  ASSERT_EQ(panel->HitTestPane(tab), folders);
  // A site that refuses to expand keeps the group hidden.
  frame->refuse = {tkpPaneActionExpanding};
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  EXPECT_EQ(panel->GetSlidingWindow(), nullptr);
  frame->refuse.clear();
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  CTKPDockingPaneAutoHideWnd* sliding = panel->GetSlidingWindow();
  ASSERT_NE(sliding, nullptr);
  clock.Run(sliding, 2, 20);
  CRect rc;
  sliding->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.Width(), 204);  // the pane's 200 and the edge
  // The edge dragged until the window is 300 wide.
  const CPoint press(rc.Width() - 2, 40);
  POINT to{rc.left + 300 - 2, rc.top + 40};
  ::ScreenToClient(frame->GetSafeHwnd(), &to);
  frame->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  frame->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  sliding->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  sliding->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.Width(), 300);
  EXPECT_EQ(folders->m_nDockingCX, 296);
  // A site that refuses to collapse keeps it out; the polls start over.
  clock.cursor = POINT{2, 2};
  frame->refuse = {tkpPaneActionCollapsing};
  clock.Run(sliding, 1, 6);
  EXPECT_FALSE(sliding->IsClosing());
  frame->refuse.clear();
  // Closed and opened again: 300 wide.
  panel->CloseSlidingWindow(FALSE);
  harness::PumpMessages();
  EXPECT_EQ(panel->GetSlidingWindow(), nullptr);
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  ASSERT_NE(panel->GetSlidingWindow(), nullptr);
  clock.Run(panel->GetSlidingWindow(), 2, 20);
  panel->GetSlidingWindow()->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.Width(), 300);
}

// A size kept from a larger frame (or any larger than the frame's docked area) opens no further than that
// area: the window reached past the frame's other side.
TEST_F(DockingDragTest, ASlidingWindowNeverReachesPastTheDockedArea) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* folders = m.FindPane(kFolders);
  folders->m_nDockingCX = 5000;
  CTKPDockingPaneAutoHidePanel* panel = nullptr;
  CTKPDockingPaneAutoHideWnd* sliding = SlideOutLeft(folders, clock, &panel);
  ASSERT_NE(sliding, nullptr);
  const CRect docked = m.GetTopPane()->GetWindowRect();
  CRect rc;
  sliding->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.left, docked.left);
  EXPECT_EQ(rc.right, docked.right);
  EXPECT_EQ(rc.Height(), docked.Height());
  panel->CloseSlidingWindow(TRUE);
  harness::PumpMessages();
  // From the bottom, as tall as the docked area at most.
  CTKPDockingPane* output = m.FindPane(kOutput);
  m.ShowPane(output, FALSE);
  output->m_nDockingCY = 4000;
  m.HidePane(output);
  Relayout();
  auto* bottom = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  ASSERT_NE(bottom, nullptr);
  bottom->ShowSlidingWindow(output, FALSE);
  ASSERT_NE(bottom->GetSlidingWindow(), nullptr);
  clock.Run(bottom->GetSlidingWindow(), 2, 20);
  const CRect dockedNow = m.GetTopPane()->GetWindowRect();
  bottom->GetSlidingWindow()->CWnd::GetWindowRect(rc);
  EXPECT_GE(rc.top, dockedNow.top);
  EXPECT_EQ(rc.bottom, dockedNow.bottom);
}

// Without the splitter tracker the edge follows the pointer live: Esc ends the drag and keeps the width
// the window already took.
TEST_F(DockingDragTest, WithoutTheTrackerTheEdgeOfASlidingWindowMovesLive) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  m.UseSplitterTracker(FALSE);
  CTKPDockingPane* folders = m.FindPane(kFolders);
  CTKPDockingPaneAutoHidePanel* panel = nullptr;
  CTKPDockingPaneAutoHideWnd* sliding = SlideOutLeft(folders, clock, &panel);
  ASSERT_NE(sliding, nullptr);
  CRect rc;
  sliding->CWnd::GetWindowRect(rc);
  ASSERT_EQ(rc.Width(), 204);
  const CPoint press(rc.Width() - 2, 40);
  POINT to{rc.left + 300 - 2, rc.top + 40};
  ::ScreenToClient(frame->GetSafeHwnd(), &to);
  frame->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  frame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  sliding->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  EXPECT_EQ(::GetCapture(), nullptr);
  sliding->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.Width(), 300);
  EXPECT_EQ(folders->m_nDockingCX, 296);
  m.UseSplitterTracker(TRUE);
}

// The panels' gradient spans half the screen at least: the thin left strip stays near its light colour;
// the right strip continues the gradient across the frame and so shows its dark end.
TEST_F(DockingDragTest, ThePanelsGradientSpansHalfTheScreenAndTheFrame) {
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kFolders));
  m.HidePane(m.FindPane(kProperties));
  Relayout();
  CTKPTabColorSet* colours = m.GetPaintManager()->GetPanelPaintManager()->GetColorSet();
  ASSERT_NE(colours, nullptr);
  colours->m_grcHeader.SetStandardValue(RGB(255, 255, 255), RGB(0, 0, 0));
  auto* left = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(0));
  auto* right = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(1));
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  for (CWnd* panel : {static_cast<CWnd*>(left), static_cast<CWnd*>(right)}) {
    panel->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  CRect rc;
  ::GetClientRect(left->m_hWnd, rc);
  const int y = rc.bottom - 4;  // below the tabs
  EXPECT_GE(GetRValue(harness::ClientPixel(left->m_hWnd, rc.right - 1, y)), 200) << "the left strip's far side";
  ::GetClientRect(right->m_hWnd, rc);
  EXPECT_LE(GetRValue(harness::ClientPixel(right->m_hWnd, rc.left, y)), 60) << "the right strip's near side";
}

// The panel's dark colour set to -2 in its custom layer keeps its standard colour.
TEST_F(DockingDragTest, APanelsDarkColourOfMinusTwoKeepsItsStandardColour) {
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kFolders));
  Relayout();
  CTKPTabColorSet* colours = m.GetPaintManager()->GetPanelPaintManager()->GetColorSet();
  ASSERT_NE(colours, nullptr);
  colours->m_grcHeader.SetStandardValue(RGB(0, 128, 0), RGB(0, 128, 0));
  colours->m_grcHeader.clrDark.SetCustomValue(0xFFFFFFFE);
  auto* left = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(0));
  ASSERT_NE(left, nullptr);
  left->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect rc;
  ::GetClientRect(left->m_hWnd, rc);
  const int y = rc.bottom - 4;  // below the tabs
  EXPECT_EQ(harness::ClientPixel(left->m_hWnd, rc.left, y), RGB(0, 128, 0));
  EXPECT_EQ(harness::ClientPixel(left->m_hWnd, rc.right - 1, y), RGB(0, 128, 0));
  colours->m_grcHeader.clrDark.SetCustomValue(kTKPNoColor);
}

// With the close-inactive switch off a group changed while it is out stays out, laid out in its window.
TEST_F(DockingDragTest, WithTheCloseSwitchOffAChangedGroupStaysOut) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  m.SetCloseInactiveWindow(FALSE);
  CTKPDockingPane* folders = m.FindPane(kFolders);
  CTKPDockingPaneAutoHidePanel* panel = nullptr;
  CTKPDockingPaneAutoHideWnd* sliding = SlideOutLeft(folders, clock, &panel);
  ASSERT_NE(sliding, nullptr);
  CTKPDockingPaneTabbedContainer* group = Group(kFolders);
  // A second pane joins the group while it is out.
  m.AttachPane(m.FindPane(kSearch), folders);
  harness::PumpMessages();
  ASSERT_EQ(panel->GetSlidingWindow(), sliding);
  EXPECT_EQ(Group(kSearch), group);
  CRect inside;
  sliding->CWnd::GetWindowRect(inside);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kSearch)->GetChild()) || ::IsWindowVisible(folders->GetChild()));
  CRect shown;
  ::GetWindowRect((::IsWindowVisible(folders->GetChild()) ? folders : m.FindPane(kSearch))->GetChild(), shown);
  CRect both;
  EXPECT_TRUE(both.IntersectRect(shown, inside) && both == shown) << "the shown pane lies in the sliding window";
  m.SetCloseInactiveWindow(TRUE);
}

TEST_F(DockingDragTest, AGroupDockedBackWhileSlidOutLeavesNoWindowBehindItsPanel) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* output = m.FindPane(kOutput);
  m.HidePane(output);
  Relayout();
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  const CPoint tab = panel->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  ASSERT_NE(panel->GetSlidingWindow(), nullptr);
  const HWND sliding = panel->GetSlidingWindow()->GetSafeHwnd();
  // Docked back while out: the window is to close 50 ms later ...
  m.ToggleDocking(output->GetContainer());
  EXPECT_TRUE(clock.Running(4));
  EXPECT_TRUE(::IsWindow(sliding));
  EXPECT_FALSE(m.IsPaneHidden(output));
  EXPECT_TRUE(::IsChild(output->GetContainer()->GetPaneHwnd(), output->GetChild()));
  // ... but the whole arrangement is replaced first: the panel ends its windows with it.
  Reload();
  EXPECT_FALSE(::IsWindow(sliding));
  Relayout();
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kOutput)->GetChild()));
}

TEST_F(DockingDragTest, TheCloseButtonClosesTheSelectedPaneUnlessTheSiteKeepsIt) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CTKPDockingPaneCaptionButton* close = bottom->FindCaptionButton(TKP_IDC_DOCKING_CLOSE);
  ASSERT_NE(close, nullptr);
  ASSERT_FALSE(close->GetRect().IsRectEmpty());
  // The pin shows while docked; maximizing is not offered.
  EXPECT_FALSE(bottom->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE)->GetRect().IsRectEmpty());
  EXPECT_TRUE(bottom->FindCaptionButton(TKP_IDC_DOCKING_MAXIMIZE)->GetRect().IsRectEmpty());
  const CPoint centre = close->GetRect().CenterPoint();
  // Pressed and let go elsewhere: nothing.
  bottom->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x - 60, centre.y));
  bottom->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x - 60, centre.y));
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  EXPECT_FALSE(m.IsPaneClosed(m.FindPane(kOutput)));
  EXPECT_EQ(::GetCapture(), nullptr);
  // A click: Output closes, the Event log is left and shown.
  frame->notes.clear();
  bottom->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  Relayout();
  EXPECT_TRUE(m.IsPaneClosed(m.FindPane(kOutput)));
  EXPECT_EQ(bottom->GetSelected(), m.FindPane(kLog));
  EXPECT_EQ(bottom->GetItemCount(), 1);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kLog)->GetChild()));
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionClosing, tkpPaneActionClosed}));
  // The site keeps the Event log open: it is not reported closed.
  frame->keepOpen = true;
  frame->notes.clear();
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const CPoint again = close->GetRect().CenterPoint();
  bottom->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(again.x, again.y));
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(again.x, again.y));
  EXPECT_FALSE(m.IsPaneClosed(m.FindPane(kLog)));
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionClosing}));
  // A pane that may not close shows no close button.
  m.FindPane(kLog)->SetOptions(tkpPaneNoCloseable);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(close->GetRect().IsRectEmpty());
}

TEST_F(DockingDragTest, ATabDraggedOverAnotherSwapsThem) {
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(bottom->GetItemCount(), 2);
  const CPoint first = bottom->GetItem(0)->GetRect().CenterPoint();
  const CPoint second = bottom->GetItem(1)->GetRect().CenterPoint();
  bottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
  EXPECT_EQ(::GetCapture(), bottom->GetSafeHwnd());
  bottom->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(second.x, second.y));
  bottom->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(bottom->GetPanes().front(), frame->manager.FindPane(kLog));
  EXPECT_EQ(bottom->GetPaneByTab(1), frame->manager.FindPane(kOutput));
  EXPECT_EQ(bottom->GetSelected(), frame->manager.FindPane(kOutput));
  // An OLE drag held over the other tab opens its pane, and nothing is dropped.
  CPoint over = bottom->GetItem(0)->GetRect().CenterPoint();
  bottom->ClientToScreen(over);
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(bottom->GetDropTarget()->DragOver(0, POINTL{over.x, over.y}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(bottom->GetSelected(), frame->manager.FindPane(kLog));
  // Context help names the pane under the point.
  const CPoint tab = bottom->GetItem(1)->GetRect().CenterPoint();
  EXPECT_EQ(bottom->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(tab.x, tab.y)), 0x20000 + kOutput);
}

}  // namespace

namespace {

// A docked group that was never floated floats pane by pane: the first in a frame of its own, the next
// joining it there.
TEST_F(DockingDragTest, AGroupFloatsPaneByPaneAndAPaneThatMayNotFloatStays) {
  CTKPDockingPaneManager& m = frame->manager;
  frame->notes.clear();
  m.ToggleDocking(Group(kOutput));
  Relayout();
  ASSERT_NE(FrameOf(kOutput), nullptr);
  EXPECT_EQ(FrameOf(kLog), FrameOf(kOutput));
  EXPECT_EQ(m.FindPane(kLog)->GetContainer(), m.FindPane(kOutput)->GetContainer());
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionFloating, tkpPaneActionFloated, tkpPaneActionFloating,
                                         tkpPaneActionFloated}));
}

TEST_F(DockingDragTest, APaneThatMayNotFloatStaysWhileTheRestOfItsGroupFloats) {
  CTKPDockingPaneManager& m = frame->manager;
  m.FindPane(kOutput)->SetOptions(tkpPaneNoFloatable);
  m.ToggleDocking(Group(kLog));
  Relayout();
  EXPECT_EQ(FrameOf(kOutput), nullptr);
  ASSERT_NE(FrameOf(kLog), nullptr);
  EXPECT_TRUE(FrameOf(kLog)->IsWindowVisible());
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kOutput)->GetChild()));
}

// A pane hidden before the frame was ever laid out has no docked place to go back to: the pin of its
// slid-out group floats it where it showed.
TEST_F(DockingDragTest, APaneHiddenBeforeAnyLayoutFloatsWhenItsPinIsClicked) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* tasks = m.CreatePane(6, CRect(0, 0, 160, 100), tkpPaneDockLeft);
  Add(tasks, _T("Tasks"), L"LISTBOX");
  CTKPDockingPaneAutoHidePanel* panel = nullptr;
  CTKPDockingPaneAutoHideWnd* sliding = SlideOutLeft(tasks, clock, &panel);
  ASSERT_NE(sliding, nullptr);
  auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(tasks->GetContainer());
  group->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CTKPDockingPaneCaptionButton* pin = group->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE);
  ASSERT_FALSE(pin->GetRect().IsRectEmpty());
  CRect shown;
  group->CWnd::GetWindowRect(shown);
  frame->notes.clear();
  const CPoint centre = pin->GetRect().CenterPoint();
  group->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  group->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  Relayout();
  EXPECT_FALSE(m.IsPaneHidden(tasks));
  CTKPDockingPaneMiniWnd* floating = FrameOf(6);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_TRUE(::IsWindowVisible(tasks->GetChild()));
  CRect rc;
  floating->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc.TopLeft(), shown.TopLeft());
  // Its group's sliding window slid in as it left.
  EXPECT_EQ(Actions(), (std::vector<int>{tkpPaneActionDocking, tkpPaneActionCollapsing, tkpPaneActionCollapsed,
                                         tkpPaneActionDocked}));
}

// A themed frame saved collapsed comes back at its caption's height and opens to its saved height when
// the mouse comes over its caption.
TEST_F(DockingDragTest, AFrameSavedCollapsedComesBackCollapsedAndOpensToItsHeight) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneMiniWnd* floating = FloatThemed();
  ASSERT_NE(floating, nullptr);
  CRect window;
  floating->CWnd::GetWindowRect(window);
  floating->SetWindowPos(nullptr, 0, 0, window.Width(), 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetCursorPos(1, 1);
  floating->Collapse(TRUE);
  ShrinkCollapsed(floating);
  const int caption = m.GetPaintManager()->m_nTitleHeight + 8;
  floating->CWnd::GetWindowRect(window);
  ASSERT_EQ(window.Height(), caption);
  Reload();
  Relayout();
  floating = FrameOf(kProperties);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsCollapsed());
  floating->CWnd::GetWindowRect(window);
  EXPECT_EQ(window.Height(), caption);
  floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(window.left + 20, window.top + 5));
  floating->CWnd::GetWindowRect(window);
  EXPECT_EQ(window.Height(), 300);
  floating->Collapse(FALSE);
}

// Closing one pane of a floating frame while another stays selected: when the one left may not close,
// the frame's close item is greyed.
TEST_F(DockingDragTest, AFloatingFrameLeftWithAPaneThatMayNotCloseGreysItsCloseItem) {
  CTKPDockingPaneManager& m = frame->manager;
  m.ToggleDocking(Group(kOutput));
  Relayout();
  CTKPDockingPaneMiniWnd* floating = FrameOf(kOutput);
  ASSERT_NE(floating, nullptr);
  ASSERT_EQ(FrameOf(kLog), floating);
  m.FindPane(kOutput)->SetOptions(tkpPaneNoCloseable);
  m.ShowPane(m.FindPane(kOutput), FALSE);
  Relayout();
  CMenu* menu = floating->GetSystemMenu(FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  floating->SendMessage(WM_CLOSE);
  Relayout();
  EXPECT_TRUE(m.IsPaneClosed(m.FindPane(kLog)));
  EXPECT_FALSE(m.IsPaneClosed(m.FindPane(kOutput)));
  EXPECT_NE(menu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_FALSE(floating->IsClosable());
}

// The edge of a group slid out from the bottom moves up and down: the program's cursor 9971.
TEST_F(DockingDragTest, TheSlidingWindowsEdgeShowsTheCursorOfItsSide) {
  FakeClock clock;
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kOutput));
  Relayout();
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  ASSERT_NE(panel, nullptr);
  const CPoint tab = panel->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
  panel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.x, tab.y));
  ASSERT_NE(panel->GetSlidingWindow(), nullptr);
  const HWND sliding = panel->GetSlidingWindow()->GetSafeHwnd();
  EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(sliding, GCLP_HCURSOR)),
            ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(9971)));
}

}  // namespace
