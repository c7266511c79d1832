// The page viewer's one container: rows of UTF-16 cells. It keeps links, tag attributes, form fields and
// drop-down options; numbers are kept in it as decimal text.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace htmlview {

class StringList {
 public:
  // Appends a copy of text (length -1: up to its zero); 0 when text is null.
  int Add(const char16_t* text, int length = -1);
  // Replaces the string at index; 0 when index is outside the list or text is null.
  int Set(int index, const char16_t* text, int length = -1);
  // The string at index, or "" (length 0) outside the list. The pointer stays valid until the list changes.
  const char16_t* Get(int index, int* outLength = nullptr) const;
  const char16_t* GetText(int index) const { return Get(index); }
  int Count() const { return static_cast<int>(strings_.size()); }
  void Clear() { strings_.clear(); }

 private:
  std::vector<std::u16string> strings_;
};

class StringTable {
 public:
  // Appends an empty row; returns the new row count.
  int AddRow();
  int AddCell(int row, const char16_t* text, int length = -1);
  int SetCell(int row, int cell, const char16_t* text, int length = -1);
  // The row, or an empty list for an invalid number.
  const StringList& GetRow(int index) const;
  const char16_t* GetCell(int row, int cell) const { return GetRow(row).GetText(cell); }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int RemoveRow(int index);
  void Clear() { rows_.clear(); }

 private:
  bool Valid(int row) const { return row >= 0 && row < RowCount(); }
  std::vector<std::unique_ptr<StringList>> rows_;
  StringList empty_;
};

}  // namespace htmlview
