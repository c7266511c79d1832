#include "app/logic/check_tree.h"

#include <vector>

namespace app {
namespace {

// The subtree is walked with an explicit stack: a deep tree cannot exhaust the call stack.
void SetSubtree(CheckTree& tree, CheckTree::Item item, CheckState state) {
  std::vector<CheckTree::Item> pending{item};
  while (!pending.empty()) {
    const CheckTree::Item current = pending.back();
    pending.pop_back();
    tree.SetState(current, state);
    for (CheckTree::Item child = tree.FirstChild(current); child != 0; child = tree.NextSibling(child)) {
      pending.push_back(child);
    }
  }
}

void CorrectAncestors(CheckTree& tree, CheckTree::Item item) {
  for (CheckTree::Item parent = tree.Parent(item); parent != 0; parent = tree.Parent(parent)) {
    tree.SetState(parent, StateFromChildren(tree, parent));
  }
}

void SetItem(CheckTree& tree, CheckTree::Item item, CheckState state) {
  if (item == 0) return;
  SetSubtree(tree, item, state);
  CorrectAncestors(tree, item);
}

}  // namespace

void CheckItem(CheckTree& tree, CheckTree::Item item) { SetItem(tree, item, CheckState::kChecked); }

void UncheckItem(CheckTree& tree, CheckTree::Item item) { SetItem(tree, item, CheckState::kUnchecked); }

void ToggleItem(CheckTree& tree, CheckTree::Item item) {
  if (item == 0) return;
  if (tree.GetState(item) == CheckState::kUnchecked) {
    CheckItem(tree, item);
  } else {
    UncheckItem(tree, item);
  }
}

CheckState StateFromChildren(const CheckTree& tree, CheckTree::Item parent) {
  bool anyTicked = false;
  bool anyUnticked = false;
  for (CheckTree::Item child = tree.FirstChild(parent); child != 0; child = tree.NextSibling(child)) {
    if (tree.GetState(child) == CheckState::kUnchecked) {
      anyUnticked = true;
    } else {
      anyTicked = true;
    }
  }
  if (!anyTicked && !anyUnticked) return tree.GetState(parent);
  if (!anyUnticked) return CheckState::kChecked;
  return anyTicked ? CheckState::kPartly : CheckState::kUnchecked;
}

bool AllChildrenUnchecked(const CheckTree& tree, CheckTree::Item parent) {
  for (CheckTree::Item child = tree.FirstChild(parent); child != 0; child = tree.NextSibling(child)) {
    if (tree.GetState(child) != CheckState::kUnchecked) return false;
  }
  return true;
}

}  // namespace app
