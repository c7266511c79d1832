#include "app/results/item_properties.h"

namespace results {

void ShowItemPropertiesDialog(CWnd*, const ItemProperties&) {}

}  // namespace results
