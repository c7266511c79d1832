// The image manager's choice among the widths of one command's icons: the exact width, else the
// nearest one, walking the width map in its own order (buckets upwards, each bucket from the width
// added last) so that of two equally near widths the one met first wins.
#pragma once

#include "platform/classlib/cmap.h"

template <class VALUE, class ARG_VALUE>
bool TKPNearestWidth(const CMap<int, int, VALUE, ARG_VALUE>& map, int width, int* pFound) {
  int best = 0;
  long long bestDistance = -1;
  POSITION pos = map.GetStartPosition();
  while (pos != nullptr) {
    int key = 0;
    VALUE value{};
    map.GetNextAssoc(pos, key, value);
    const long long distance = key > width ? static_cast<long long>(key) - width : static_cast<long long>(width) - key;
    if (bestDistance < 0 || distance < bestDistance) {
      best = key;
      bestDistance = distance;
    }
  }
  if (bestDistance < 0) return false;
  *pFound = best;
  return true;
}
