// Documents closed and opened while a tab is dragged, and random sequences of the calls a program and
// its user make on the MDI tab client (documents opened, closed and activated, workspace commands, tabs
// and splitters dragged while documents come and go, appearances changed), with and without groups,
// seeded. After every call each document has one tab, in one group, and every group's tabs, selection
// and hot tab are its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace tab_drag_sequence_test {
namespace {

constexpr UINT kOpenLater = WM_APP + 7;  // posted: the frame opens a document when it comes

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

class Frame : public CMDIFrameWnd {
 public:
  CTKPTabClientWnd tabs;
  std::function<void()> openLater;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kOpenLater) {
      if (openLater) openLater();
      return 0;
    }
    return CMDIFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// An MDI frame with its tab client and documents of its own.
class Documents {
 public:
  explicit Documents(BOOL grouping) : frame(new Frame) {
    EXPECT_TRUE(frame->Create(nullptr, _T("Documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 740, 500}));
    EXPECT_TRUE(frame->tabs.Attach(frame, grouping));
    frame->openLater = [this] { Open(); };
  }
  ~Documents() {
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  Documents(const Documents&) = delete;
  Documents& operator=(const Documents&) = delete;

  HWND Open() {
    auto* child = new CMDIChildWnd;
    const CString title = CString(_T("Recovered ")) + CString(std::to_wstring(++opened).c_str()) + _T(".txt");
    if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame)) {
      return nullptr;
    }
    child->ActivateFrame();
    return child->m_hWnd;
  }
  void Close(HWND child) { ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0); }
  std::vector<HWND> Children() const {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(Client(), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
      if ((::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0) children.push_back(h);
    }
    return children;
  }
  HWND Client() const { return frame->m_hWndMDIClient; }
  CTKPTabClientWnd& Tabs() { return frame->tabs; }
  // Presses at start and lets the script post the rest; TRUE when the script ran to its end.
  bool Press(CPoint start, const std::function<void()>& whileHeld) {
    harness::ModalScript script;
    script.Step("held", [] { return ::GetCapture() != nullptr; }, whileHeld);
    script.Start();
    ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    harness::PumpMessages();
    return script.Finished();
  }

  Frame* frame;
  int opened = 0;
};

bool Holds(const CTKPTabManager* group, const CTKPTabManagerItem* item) {
  for (int i = 0; i < group->GetItemCount(); ++i) {
    if (group->GetItem(i) == item) return true;
  }
  return false;
}

// Each document has one tab, in one group; each group's tabs stand at their indexes and name it as
// their strip; selection and hot tab are tabs of the group; no group is empty beside others.
::testing::AssertionResult Sound(Documents& docs) {
  // The frame's idle update, as the program's message loop gives it.
  ::SendMessageW(docs.Client(), WM_IDLEUPDATECMDUI, TRUE, 0);
  CTKPTabClientWnd& tabs = docs.Tabs();
  if (::GetCapture() != nullptr) return ::testing::AssertionFailure() << "the mouse is still held";
  if (tabs.GetGroupCount() < 1) return ::testing::AssertionFailure() << "no group";
  std::map<HWND, int> tabsOf;
  for (int g = 0; g < tabs.GetGroupCount(); ++g) {
    CTKPTabClientGroup* group = tabs.GetGroup(g);
    if (group->GetItemCount() == 0 && tabs.GetGroupCount() > 1) return ::testing::AssertionFailure() << "group " << g << " is empty";
    for (int i = 0; i < group->GetItemCount(); ++i) {
      const CTKPTabManagerItem* item = group->GetItem(i);
      if (item->GetIndex() != i || item->GetTabManager() != group)
        return ::testing::AssertionFailure() << "tab " << i << " of group " << g << " is out of place";
      ++tabsOf[reinterpret_cast<HWND>(item->GetData())];
    }
    const CTKPTabManagerItem* selected = group->GetSelectedItem();
    if (selected != nullptr ? !Holds(group, selected) : group->GetItemCount() > 0)
      return ::testing::AssertionFailure() << "group " << g << " selects no tab of its own";
    if (group->GetHotItem() != nullptr && !Holds(group, group->GetHotItem()))
      return ::testing::AssertionFailure() << "group " << g << " has a hot tab of another";
  }
  const std::vector<HWND> children = docs.Children();
  for (HWND child : children) {
    if (tabsOf[child] != 1) return ::testing::AssertionFailure() << "a document has " << tabsOf[child] << " tabs";
  }
  int total = 0;
  for (const auto& entry : tabsOf) total += entry.second;
  if (total != static_cast<int>(children.size()))
    return ::testing::AssertionFailure() << total << " tabs for " << children.size() << " documents";
  return ::testing::AssertionSuccess();
}

// Without groups: the dragged tab's places were those of the drag's start; after another document
// closed, the pointer over the last tab's old place swapped with one past the strip's end, the dragged tab
// dropped out and another was listed twice.
TEST(TabDragWhileDocumentsClose, AnotherDocumentClosedLeavesEveryTabOnce) {
  Documents docs(FALSE);
  std::vector<HWND> children;
  for (int i = 0; i < 5; ++i) children.push_back(docs.Open());
  harness::PumpMessages();
  CTKPTabClientGroup* group = docs.Tabs().GetGroup(0);
  ASSERT_EQ(group->GetItemCount(), 5);
  CTKPTabManagerItem* dragged = group->GetItem(0);
  const CPoint lastPlace = group->GetItem(4)->GetRect().CenterPoint();
  const CPoint thirdPlace = group->GetItem(2)->GetRect().CenterPoint();
  ASSERT_TRUE(docs.Press(dragged->GetRect().CenterPoint(), [&] {
    ::PostMessageW(docs.Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(children[2]), 0);
    ::PostMessageW(docs.Client(), WM_MOUSEMOVE, MK_LBUTTON, At(lastPlace));
    ::PostMessageW(docs.Client(), WM_MOUSEMOVE, MK_LBUTTON, At(thirdPlace));
    ::PostMessageW(docs.Client(), WM_LBUTTONUP, 0, At(thirdPlace));
  }));
  EXPECT_TRUE(Sound(docs));
  ASSERT_EQ(group->GetItemCount(), 4);
  EXPECT_TRUE(Holds(group, dragged));
  EXPECT_EQ(group->GetSelectedItem(), dragged);
}

// With groups: the dragged tab's document closes while it is its group's only tab. The group stays
// until the press ends (it was deleted under the drag's loop), then goes.
TEST(TabDragWhileDocumentsClose, TheDraggedTabsGroupOutlivesTheDrag) {
  Documents docs(TRUE);
  for (int i = 0; i < 4; ++i) docs.Open();
  harness::PumpMessages();
  ASSERT_TRUE(docs.Tabs().ExecuteWorkspaceCommand(tkmdi::kCmdNewVertGroup));
  ASSERT_EQ(docs.Tabs().GetGroupCount(), 2);
  CTKPTabClientGroup* second = docs.Tabs().GetGroup(1);
  ASSERT_EQ(second->GetItemCount(), 1);
  const HWND closing = reinterpret_cast<HWND>(second->GetItem(0)->GetData());
  const CPoint start = second->GetItem(0)->GetRect().CenterPoint();
  int groupsWhileHeld = 0;
  ASSERT_TRUE(docs.Press(start, [&] {
    docs.Close(closing);
    groupsWhileHeld = docs.Tabs().GetGroupCount();
    ::PostMessageW(docs.Client(), WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(start.x + 40, start.y)));
    ::PostMessageW(docs.Client(), WM_LBUTTONUP, 0, At(CPoint(start.x + 40, start.y)));
  }));
  EXPECT_EQ(groupsWhileHeld, 2);
  EXPECT_EQ(docs.Tabs().GetGroupCount(), 1);
  EXPECT_EQ(docs.Tabs().FindItem(closing), nullptr);
  EXPECT_TRUE(Sound(docs));
}

// One seeded run: documents opened, closed and activated, workspace commands, tabs dragged (with
// documents closed or opened along the way, let go or abandoned with Esc), splitters dragged, the
// strips' appearance, colours, layout and side changed.
class Sequence {
 public:
  Sequence(Documents& docs, unsigned seed) : m_docs(docs), m_random(seed) {}

  // What the step did, for the failure message.
  std::string Step() {
    const std::vector<HWND> children = m_docs.Children();
    switch (Pick(9)) {
      case 0:
        if (children.size() < 9) m_docs.Open();
        return "open";
      case 1:
        if (!children.empty()) m_docs.Close(children[Pick(children.size())]);
        return "close";
      case 2:
        if (!children.empty()) m_docs.frame->MDIActivate(CWnd::FromHandle(children[Pick(children.size())]));
        return "activate";
      case 3:
        ::SendMessageW(m_docs.frame->m_hWnd, WM_COMMAND, tkmdi::kCmdPrevGroup + Pick(4), 0);
        return "workspace command";
      case 4:
      case 5:
        return DragTab();
      case 6:
        return DragSplitter();
      case 7: {
        CTKPTabPaintManager* paint = m_docs.Tabs().GetPaintManager();
        const int colours[] = {0, 1, 2, 4, 8, 16};
        paint->SetAppearance(Pick(10));
        paint->SetColor(colours[Pick(6)]);
        paint->SetLayout(Pick(6));
        paint->SetPosition(Pick(4));
        m_docs.Tabs().Refresh(TRUE);
        return "appearance";
      }
      default:
        m_docs.Tabs().Refresh(TRUE);
        return "refresh";
    }
  }

 private:
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }
  int Pick(int n) { return static_cast<int>(Pick(static_cast<size_t>(n))); }

  // A point over some group's strip, or anywhere in the client.
  CPoint SomePoint() {
    CTKPTabClientWnd& tabs = m_docs.Tabs();
    const CTKPTabClientGroup* group = tabs.GetGroup(Pick(tabs.GetGroupCount()));
    CRect area = Pick(2) == 0 ? group->GetHeaderRect() : group->m_rcGroup;
    if (area.IsRectEmpty()) ::GetClientRect(m_docs.Client(), area);
    return CPoint(area.left + Pick(std::max(1, area.Width())), area.top + Pick(std::max(1, area.Height())));
  }

  // Posts the moves along a path, a document closed or opened between them now and then, and the end.
  void PostGesture() {
    const HWND client = m_docs.Client();
    std::vector<HWND> children = m_docs.Children();
    CPoint last;
    for (int i = 0, moves = 1 + Pick(4); i < moves; ++i) {
      if (Pick(3) == 0 && !children.empty()) {
        const size_t closing = Pick(children.size());
        ::PostMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(children[closing]), 0);
        children.erase(children.begin() + static_cast<std::ptrdiff_t>(closing));
      } else if (Pick(6) == 0) {
        ::PostMessageW(m_docs.frame->m_hWnd, kOpenLater, 0, 0);
      }
      last = SomePoint();
      ::PostMessageW(client, WM_MOUSEMOVE, MK_LBUTTON, At(last));
    }
    if (Pick(4) == 0) {
      ::PostMessageW(client, WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
      ::PostMessageW(client, WM_LBUTTONUP, 0, At(last));
    }
  }

  std::string DragTab() {
    CTKPTabClientWnd& tabs = m_docs.Tabs();
    CTKPTabClientGroup* group = tabs.GetGroup(Pick(tabs.GetGroupCount()));
    if (group->GetItemCount() == 0) return "no tab to drag";
    CTKPTabManagerItem* item = group->GetItem(Pick(group->GetItemCount()));
    const CPoint start = item->GetRect().CenterPoint();
    // Only a tab in view can be pressed (a scrolled strip hides some).
    if (group->HitTest(start) != item || !group->StripHolds(start)) return "tab out of view";
    if (!m_docs.Press(start, [this] { PostGesture(); })) ADD_FAILURE() << "the drag did not end";
    return "drag a tab";
  }

  std::string DragSplitter() {
    CTKPTabClientWnd& tabs = m_docs.Tabs();
    if (tabs.GetGroupCount() < 2 || tabs.GetGroup(0)->m_rcSplitter.IsRectEmpty()) return "no splitter";
    tabs.SetOutlineTracking(FALSE);
    if (!m_docs.Press(tabs.GetGroup(0)->m_rcSplitter.CenterPoint(), [this] { PostGesture(); })) {
      ADD_FAILURE() << "the splitter's drag did not end";
    }
    return "drag a splitter";
  }

  Documents& m_docs;
  std::mt19937 m_random;
};

void RunSequences(BOOL grouping, unsigned seeds, int steps) {
  std::map<std::string, int> done;  // what the steps did, so that a run that never reaches a call shows
  for (unsigned seed = 1; seed <= seeds; ++seed) {
    Documents docs(grouping);
    for (int i = 0; i < 5; ++i) docs.Open();
    harness::PumpMessages();
    Sequence sequence(docs, seed);
    for (int step = 0; step < steps; ++step) {
      const std::string what = sequence.Step();
      ++done[what];
      harness::PumpMessages();
      ASSERT_TRUE(Sound(docs)) << "seed " << seed << ", step " << step << " (" << what << ")";
    }
  }
  for (const auto& [what, count] : done) std::printf("%s: %d\n", what.c_str(), count);
  EXPECT_GE(done["drag a tab"], 20);
  if (grouping) {
    EXPECT_GE(done["drag a splitter"], 5);
  }
}

TEST(TabClientSequences, WithGroupsEveryDocumentKeepsOneTab) { RunSequences(TRUE, 8, 50); }

TEST(TabClientSequences, WithoutGroupsEveryDocumentKeepsOneTab) { RunSequences(FALSE, 4, 40); }

}  // namespace
}  // namespace tab_drag_sequence_test
