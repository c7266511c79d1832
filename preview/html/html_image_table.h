// The images of one page: each distinct URL and key once, so elements that show the same picture share
// one entry (and one fetch).
#pragma once

#include <string>
#include <vector>

namespace htmlview {

class HtmlBrowserCallbacks;

class HtmlImageTable {
 public:
  // The fetch threads reach the host through callbacks.
  explicit HtmlImageTable(HtmlBrowserCallbacks* /*callbacks*/) {}
  // Adds an entry; returns its index.
  int AddImage(const std::u16string& url, int key);
  // The index of the first entry with that URL (exact) and key, or -1.
  int Find(const std::u16string& url, int key) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::u16string& Url(int index) const { return entries_[static_cast<size_t>(index)].url; }
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::u16string url;
    int key;
  };
  std::vector<Entry> entries_;
};

}  // namespace htmlview
