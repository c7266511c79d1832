#include "app/logic/check_tree.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace app {
namespace {

// A plain tree of named items; item n is nodes_[n - 1].
class PlainTree : public CheckTree {
 public:
  Item Add(Item parent) {
    nodes_.push_back({parent, 0, 0, CheckState::kUnchecked});
    const Item item = nodes_.size();
    if (parent != 0) {
      Node& p = At(parent);
      if (p.firstChild == 0) {
        p.firstChild = item;
      } else {
        Item last = p.firstChild;
        while (At(last).next != 0) last = At(last).next;
        At(last).next = item;
      }
    }
    return item;
  }
  Item Parent(Item item) const override { return At(item).parent; }
  Item FirstChild(Item item) const override { return At(item).firstChild; }
  Item NextSibling(Item item) const override { return At(item).next; }
  CheckState GetState(Item item) const override { return At(item).state; }
  void SetState(Item item, CheckState state) override { At(item).state = state; }

 private:
  struct Node {
    Item parent, firstChild, next;
    CheckState state;
  };
  Node& At(Item item) { return nodes_.at(item - 1); }
  const Node& At(Item item) const { return nodes_.at(item - 1); }
  std::vector<Node> nodes_;
};

constexpr CheckState kOff = CheckState::kUnchecked, kOn = CheckState::kChecked, kPart = CheckState::kPartly;

// "File Types" with two groups: archives (zip, rar, cab) and documents (doc, pdf).
class CheckTreeTest : public ::testing::Test {
 protected:
  PlainTree tree;
  CheckTree::Item root = tree.Add(0);
  CheckTree::Item archives = tree.Add(root);
  CheckTree::Item zip = tree.Add(archives), rar = tree.Add(archives), cab = tree.Add(archives);
  CheckTree::Item documents = tree.Add(root);
  CheckTree::Item doc = tree.Add(documents), pdf = tree.Add(documents);

  std::vector<CheckState> States() const {
    std::vector<CheckState> states;
    for (CheckTree::Item i : {root, archives, zip, rar, cab, documents, doc, pdf}) states.push_back(tree.GetState(i));
    return states;
  }
};

TEST_F(CheckTreeTest, TogglingTheRootTicksEveryItem) {
  ToggleItem(tree, root);
  EXPECT_EQ(States(), std::vector<CheckState>(8, kOn));
  ToggleItem(tree, root);
  EXPECT_EQ(States(), std::vector<CheckState>(8, kOff));
}

TEST_F(CheckTreeTest, AGroupWithSomeTypesTickedIsPartlyCheckedAndSoIsTheRoot) {
  CheckItem(tree, zip);
  EXPECT_EQ(States(), (std::vector<CheckState>{kPart, kPart, kOn, kOff, kOff, kOff, kOff, kOff}));
  CheckItem(tree, rar);
  CheckItem(tree, cab);
  // All of a group's types ticked: the group is checked, the root still partly.
  EXPECT_EQ(States(), (std::vector<CheckState>{kPart, kOn, kOn, kOn, kOn, kOff, kOff, kOff}));
}

TEST_F(CheckTreeTest, TickingAGroupTicksAllItsTypesAndUntickingThemAll) {
  CheckItem(tree, zip);
  ToggleItem(tree, documents);
  // A partly checked group counts as ticked for the root.
  EXPECT_EQ(States(), (std::vector<CheckState>{kOn, kPart, kOn, kOff, kOff, kOn, kOn, kOn}));
  // A partly checked group is unticked by a click, with all of its types.
  ToggleItem(tree, archives);
  EXPECT_EQ(States(), (std::vector<CheckState>{kPart, kOff, kOff, kOff, kOff, kOn, kOn, kOn}));
  ToggleItem(tree, documents);
  EXPECT_EQ(States(), std::vector<CheckState>(8, kOff));
}

TEST_F(CheckTreeTest, ChildrenThatAreAllPartlyCheckedMakeTheParentChecked) {
  CheckItem(tree, zip);
  CheckItem(tree, doc);
  ASSERT_EQ(tree.GetState(archives), kPart);
  ASSERT_EQ(tree.GetState(documents), kPart);
  EXPECT_EQ(tree.GetState(root), kOn);
  EXPECT_EQ(StateFromChildren(tree, root), kOn);
}

TEST_F(CheckTreeTest, UntickingTheLastTypeUnticksTheGroupAndTheRoot) {
  CheckItem(tree, pdf);
  UncheckItem(tree, pdf);
  EXPECT_EQ(States(), std::vector<CheckState>(8, kOff));
  EXPECT_TRUE(AllChildrenUnchecked(tree, root));
  CheckItem(tree, cab);
  EXPECT_FALSE(AllChildrenUnchecked(tree, root));
}

TEST(CheckTree, ALeafKeepsItsStateAndADeepChainIsWalkedWithoutRecursion) {
  PlainTree tree;
  CheckTree::Item root = tree.Add(0);
  EXPECT_TRUE(AllChildrenUnchecked(tree, root));
  ToggleItem(tree, root);
  EXPECT_EQ(tree.GetState(root), kOn);
  EXPECT_EQ(StateFromChildren(tree, root), kOn);
  CheckTree::Item last = root;
  for (int i = 0; i < 100000; ++i) last = tree.Add(last);
  UncheckItem(tree, root);
  EXPECT_EQ(tree.GetState(last), kOff);
  CheckItem(tree, last);
  EXPECT_EQ(tree.GetState(root), kOn);
  ToggleItem(tree, 0);  // no item: nothing happens
}

}  // namespace
}  // namespace app
