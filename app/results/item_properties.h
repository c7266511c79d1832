// The properties of a results item (a list row or a tree folder), handed to the properties dialog.
#pragma once

#include <cstdint>
#include <string>

class CWnd;

namespace results {

struct ItemProperties {
  bool folder = false;
  std::u16string id;
  std::u16string name;
  std::u16string size;  // "N KB", rounded up
  std::u16string created;
  std::u16string modified;
  uint32_t node = 0;  // a folder's results-tree node (host::TreeKey); 0: a list row's id names it
};

// Shows the properties dialog modally over owner: the texts as given, and for a folder what lies below its
// node, counted by the dialog.
void ShowItemPropertiesDialog(CWnd* owner, const ItemProperties& properties);

}  // namespace results
