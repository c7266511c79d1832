#include "preview/html/html_image_table.h"

namespace htmlview {

int HtmlImageTable::AddImage(const std::u16string& url, int key) {
  entries_.push_back({url, key});
  return Count() - 1;
}

int HtmlImageTable::Find(const std::u16string& url, int key) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].key == key && entries_[i].url == url) return static_cast<int>(i);
  return -1;
}

}  // namespace htmlview
