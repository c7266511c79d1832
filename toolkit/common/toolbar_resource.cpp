#include "toolkit/common/toolbar_resource.h"

namespace {
unsigned Word(const std::uint8_t* p) { return static_cast<unsigned>(p[0] | (p[1] << 8)); }
}  // namespace

std::vector<unsigned> TKToolBarData::ImageIds() const {
  std::vector<unsigned> ids;
  for (unsigned id : items) {
    if (id != 0) ids.push_back(id);
  }
  return ids;
}

bool ParseToolBarResource(const std::uint8_t* data, std::size_t size, TKToolBarData* toolbar) {
  if (!data || size < 8) return false;
  const std::size_t count = Word(data + 6);
  if ((size - 8) / 2 < count) return false;
  toolbar->width = static_cast<int>(Word(data + 2));
  toolbar->height = static_cast<int>(Word(data + 4));
  toolbar->items.clear();
  for (std::size_t i = 0; i < count; ++i) toolbar->items.push_back(Word(data + 8 + 2 * i));
  return true;
}
