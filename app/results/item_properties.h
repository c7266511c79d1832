// The properties of a results item (a list row or a tree folder), handed to the properties dialog.
#pragma once

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
};

// Shows the properties dialog modally over owner. Filled in by the properties dialog; until then it shows
// nothing.
void ShowItemPropertiesDialog(CWnd* owner, const ItemProperties& properties);

}  // namespace results
