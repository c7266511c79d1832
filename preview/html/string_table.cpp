#include "preview/html/string_table.h"

namespace htmlview {
namespace {

std::u16string Copy(const char16_t* text, int length) {
  if (length >= 0) return std::u16string(text, static_cast<size_t>(length));
  return std::u16string(text);
}

}  // namespace

int StringList::Add(const char16_t* text, int length) {
  if (!text) return 0;
  strings_.push_back(Copy(text, length));
  return 1;
}

int StringList::Set(int index, const char16_t* text, int length) {
  if (!text || index < 0 || index >= Count()) return 0;
  strings_[static_cast<size_t>(index)] = Copy(text, length);
  return 1;
}

const char16_t* StringList::Get(int index, int* outLength) const {
  if (index < 0 || index >= Count()) {
    if (outLength) *outLength = 0;
    return u"";
  }
  const std::u16string& s = strings_[static_cast<size_t>(index)];
  if (outLength) *outLength = static_cast<int>(s.size());
  return s.c_str();
}

int StringTable::AddRow() {
  rows_.push_back(std::make_unique<StringList>());
  return RowCount();
}

int StringTable::AddCell(int row, const char16_t* text, int length) {
  return Valid(row) ? rows_[static_cast<size_t>(row)]->Add(text, length) : 0;
}

int StringTable::SetCell(int row, int cell, const char16_t* text, int length) {
  return Valid(row) ? rows_[static_cast<size_t>(row)]->Set(cell, text, length) : 0;
}

const StringList& StringTable::GetRow(int index) const {
  return Valid(index) ? *rows_[static_cast<size_t>(index)] : empty_;
}

int StringTable::RemoveRow(int index) {
  if (!Valid(index)) return 0;
  rows_.erase(rows_.begin() + index);
  return 1;
}

}  // namespace htmlview
