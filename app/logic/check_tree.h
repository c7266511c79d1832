// Tri-state check boxes over any tree: ticking or unticking an item sets its whole subtree, and every
// ancestor then shows what its children hold (checked, unchecked or partly checked). The window classes
// implement CheckTree over their tree controls; tests implement it over a plain tree.
#pragma once

#include <cstdint>

namespace app {

// A check state; the tree's state image index is the state + 1.
enum class CheckState : int { kUnchecked = 0, kChecked = 1, kPartly = 2 };

class CheckTree {
 public:
  using Item = uintptr_t;  // 0: no item

  virtual ~CheckTree() = default;
  virtual Item Parent(Item item) const = 0;
  virtual Item FirstChild(Item item) const = 0;
  virtual Item NextSibling(Item item) const = 0;
  virtual CheckState GetState(Item item) const = 0;
  virtual void SetState(Item item, CheckState state) = 0;
};

// Sets the item and every item below it, then corrects its ancestors.
void CheckItem(CheckTree& tree, CheckTree::Item item);
void UncheckItem(CheckTree& tree, CheckTree::Item item);
// A click on the check box: a checked or partly checked item is unticked, an unticked one ticked.
void ToggleItem(CheckTree& tree, CheckTree::Item item);

// What a parent shows for its children: checked when none is unchecked (partly checked ones count as
// ticked), unchecked when all are, partly checked otherwise. An item without children keeps its state.
CheckState StateFromChildren(const CheckTree& tree, CheckTree::Item parent);
// True when the item has no child, or every child is unchecked.
bool AllChildrenUnchecked(const CheckTree& tree, CheckTree::Item parent);

}  // namespace app
