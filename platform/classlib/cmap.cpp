#include "platform/classlib/cmap.h"

#include <algorithm>

UINT HashTableSizeFor(size_t count) {
  constexpr size_t kSmall = 64;
  constexpr size_t kMost = size_t{1} << 22;
  if (count <= kSmall) return 17;
  size_t size = std::min(count + count / 4, kMost) | 1;
  const auto prime = [](size_t n) {
    for (size_t d = 3; d * d <= n; d += 2) {
      if (n % d == 0) return false;
    }
    return true;
  };
  while (!prime(size)) size += 2;
  return static_cast<UINT>(size);
}

IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
