#include "app/results/item_properties.h"

#include "app/dialogs/properties_dialog.h"
#include "app/logic/folder_totals.h"

namespace results {

namespace {

// A folder row's id is its node in the results tree.
host::TreeKey NodeOf(const ItemProperties& properties) {
  if (properties.node != 0) return properties.node;
  uint32_t node = 0;
  for (char16_t c : properties.id) {
    if (c < u'0' || c > u'9' || node > (UINT32_MAX - 9) / 10) return host::kNoTreeKey;
    node = node * 10 + static_cast<uint32_t>(c - u'0');
  }
  return node;
}

}  // namespace

void ShowItemPropertiesDialog(CWnd* owner, const ItemProperties& properties) {
  PropertiesRequest = PropertiesRequestRecord{properties.name, properties.size, properties.created, properties.modified,
                                              properties.folder ? NodeOf(properties) : host::kNoTreeKey,
                                              properties.folder ? 1u : 0u};
  PropertiesDialog dialog(owner);
  dialog.DoModal();
}

}  // namespace results
