// The tree control driven through CTreeCtrl and read back through the window (the harness reads the
// tree with its own messages): inserting, walking, state images from the program's check-box strip,
// bold and expanded states, hit testing, sorting, and nodes added from a worker thread.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/classlib/win/controls_test_support.h"
#include "platform/harness/driver.h"
#include "res/resource.h"

namespace {

using cltest::TextOf;

class TreeTest : public cltest::ControlHost {
 protected:
  void SetUp() override {
    ControlHost::SetUp();
    ASSERT_TRUE(tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                            RECT{0, 0, 300, 300}, &host, 100));
    // The check boxes: the strip of 16-pixel images, white as mask (none, unchecked, checked, partly).
    ASSERT_TRUE(states.Create(IDB_TREE_STATE_IMAGES, 16, 1, RGB(255, 255, 255)));
    EXPECT_EQ(tree.SetImageList(&states, TVSIL_STATE), nullptr);
  }
  CTreeCtrl tree;
  CImageList states;
};

TEST_F(TreeTest, NodesInsertedUnderTheirParentsAreWalkedInOrder) {
  HTREEITEM disk = tree.InsertItem(_T("Disk"));
  HTREEITEM a = tree.InsertItem(_T("A"), disk);
  HTREEITEM b = tree.InsertItem(_T("B"), 1, 2, disk);
  HTREEITEM a1 = tree.InsertItem(_T("A1"), a);
  ASSERT_NE(a1, nullptr);
  EXPECT_EQ(tree.GetCount(), 4u);
  EXPECT_EQ(tree.GetRootItem(), disk);
  EXPECT_EQ(tree.GetChildItem(disk), a);
  EXPECT_EQ(tree.GetNextSiblingItem(a), b);
  EXPECT_EQ(tree.GetPrevSiblingItem(b), a);
  EXPECT_EQ(tree.GetNextSiblingItem(b), nullptr);
  EXPECT_EQ(tree.GetParentItem(a1), a);
  EXPECT_TRUE(tree.ItemHasChildren(a));
  EXPECT_FALSE(tree.ItemHasChildren(b));
  EXPECT_EQ(TextOf(tree.GetItemText(b)), L"B");
  int image = 0;
  int selected = 0;
  ASSERT_TRUE(tree.GetItemImage(b, image, selected));
  EXPECT_EQ(image, 1);
  EXPECT_EQ(selected, 2);
  ASSERT_TRUE(tree.SetItemText(b, _T("Bee")));
  ASSERT_TRUE(tree.SetItemData(b, 0xBEEF));
  EXPECT_EQ(tree.GetItemData(b), 0xBEEFu);

  // A label past the first buffer is read whole.
  CString longLabel(_T('x'), 700);
  tree.SetItemText(a1, longLabel);
  EXPECT_EQ(tree.GetItemText(a1), longLabel);

  ASSERT_TRUE(tree.DeleteItem(a));
  EXPECT_EQ(tree.GetCount(), 2u);
  std::vector<std::wstring> texts;
  for (const auto& node : harness::TreeNodes(tree.m_hWnd)) texts.push_back(node.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Disk", L"Bee"}));
}

TEST_F(TreeTest, StateImagesBoldAndExpansionAreWhatTheTreeShows) {
  EXPECT_EQ(tree.GetImageList(TVSIL_STATE), &states);
  EXPECT_EQ(states.GetImageCount(), 4);
  HTREEITEM root = tree.InsertItem(_T("Root"));
  HTREEITEM first = tree.InsertItem(_T("First"), root);
  HTREEITEM second = tree.InsertItem(_T("Second"), root);
  tree.SetItemState(root, INDEXTOSTATEIMAGEMASK(3), TVIS_STATEIMAGEMASK);
  tree.SetItemState(first, INDEXTOSTATEIMAGEMASK(2) | TVIS_BOLD, TVIS_STATEIMAGEMASK | TVIS_BOLD);
  tree.SetCheck(second, FALSE);
  ASSERT_TRUE(tree.Expand(root, TVE_EXPAND));
  ASSERT_TRUE(tree.SelectItem(second));

  EXPECT_EQ(tree.GetCheck(first), TRUE);
  EXPECT_EQ(tree.GetCheck(second), FALSE);
  EXPECT_EQ(tree.GetCheck(root), 2);  // partly checked
  EXPECT_EQ(tree.GetItemState(first, TVIS_BOLD), static_cast<UINT>(TVIS_BOLD));
  EXPECT_EQ(tree.GetSelectedItem(), second);

  auto nodes = harness::TreeNodes(tree.m_hWnd);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].stateImage, 3);
  EXPECT_TRUE(nodes[0].expanded);
  EXPECT_EQ(nodes[1].stateImage, 2);
  EXPECT_TRUE(nodes[1].bold);
  EXPECT_EQ(nodes[2].stateImage, 1);
  EXPECT_FALSE(nodes[2].bold);
  EXPECT_TRUE(nodes[2].selected);

  ASSERT_TRUE(tree.Expand(root, TVE_COLLAPSE));
  EXPECT_FALSE(harness::TreeNodes(tree.m_hWnd)[0].expanded);
  ASSERT_TRUE(tree.Expand(root, TVE_TOGGLE));
  EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), static_cast<UINT>(TVIS_EXPANDED));
}

TEST_F(TreeTest, HitTestFindsTheNodeAndItsPartUnderAPoint) {
  HTREEITEM root = tree.InsertItem(_T("Root"));
  HTREEITEM child = tree.InsertItem(_T("Child"), root);
  tree.SetCheck(child, TRUE);
  tree.Expand(root, TVE_EXPAND);
  tree.UpdateWindow();
  EXPECT_EQ(tree.GetFirstVisibleItem(), root);
  EXPECT_EQ(tree.GetNextVisibleItem(root), child);
  EXPECT_EQ(tree.GetVisibleCount() >= 2, true);

  CRect label;
  ASSERT_TRUE(tree.GetItemRect(child, label, TRUE));
  UINT flags = 0;
  EXPECT_EQ(tree.HitTest(label.CenterPoint(), &flags), child);
  EXPECT_NE(flags & TVHT_ONITEMLABEL, 0u);
  // The state image (the check box) stands left of the label, after the indentation.
  EXPECT_EQ(tree.HitTest(CPoint(label.left - 8, label.CenterPoint().y), &flags), child);
  EXPECT_NE(flags & TVHT_ONITEMSTATEICON, 0u);
  CRect row;
  ASSERT_TRUE(tree.GetItemRect(root, row, FALSE));
  EXPECT_EQ(tree.HitTest(CPoint(5, row.bottom + 200), &flags), nullptr);
}

TEST_F(TreeTest, ChildrenSortByTheirText) {
  HTREEITEM root = tree.InsertItem(_T("Root"));
  for (LPCTSTR text : {_T("pear"), _T("apple"), _T("fig")}) tree.InsertItem(text, root);
  ASSERT_TRUE(tree.SortChildren(root));
  std::vector<std::wstring> order;
  for (HTREEITEM item = tree.GetChildItem(root); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    order.push_back(TextOf(tree.GetItemText(item)));
  }
  EXPECT_EQ(order, (std::vector<std::wstring>{L"apple", L"fig", L"pear"}));
  ASSERT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetCount(), 0u);
}

// The engine's workers add nodes straight from their own thread: each call is one message that the
// tree's thread carries out.
TEST_F(TreeTest, NodesAddedFromAWorkerThreadAreThere) {
  HTREEITEM root = tree.InsertItem(_T("Root"));
  cltest::RunOnWorker([&] {
    HTREEITEM folder = tree.InsertItem(_T("Folder"), root);
    tree.InsertItem(_T("Inner"), folder);
    tree.SetItemState(folder, INDEXTOSTATEIMAGEMASK(2), TVIS_STATEIMAGEMASK);
  });
  auto nodes = harness::TreeNodes(tree.m_hWnd);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[1].text, L"Folder");
  EXPECT_EQ(nodes[1].stateImage, 2);
  EXPECT_EQ(nodes[2].text, L"Inner");
  EXPECT_EQ(nodes[2].depth, 2);
}

}  // namespace
