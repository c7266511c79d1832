#include "app/results/result_rows.h"

#include "engine/listing/file_name_case.h"

namespace results {
namespace {

std::optional<uint64_t> ParseDecimal(std::u16string_view text, uint64_t limit) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - u'0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

RowKind ClassifyRow(bool parentRow, std::u16string_view type) {
  if (parentRow) return RowKind::kParent;
  const std::u16string upper = file_name::UpperCase(type);
  if (upper == u"FOLDER" || upper == u"DELETED FOLDER") return RowKind::kFolder;
  return RowKind::kFile;
}

uint32_t IdColumn(bool fileTrace) { return fileTrace ? 2 : 5; }

std::optional<uint32_t> ParseId(std::u16string_view text) {
  if (std::optional<uint64_t> value = ParseDecimal(text, 0xFFFFFFFFu)) return static_cast<uint32_t>(*value);
  return std::nullopt;
}

std::u16string PropertiesSizeText(std::u16string_view sizeText) {
  const uint64_t size = ParseDecimal(sizeText, UINT64_MAX / 10 - 9).value_or(0);
  const std::string kb = std::to_string(size / 1024 + 1) + " KB";
  return std::u16string(kb.begin(), kb.end());
}

std::u16string SelectedSizeText(uint64_t bytes) {
  const std::string megabytes = std::to_string(bytes / 1024 / 1024);
  return u"Selected Size : " + std::u16string(megabytes.begin(), megabytes.end()) + u" MB";
}

RowsState SummarizeRows(const std::vector<bool>& checked) {
  size_t count = 0;
  for (bool c : checked) count += c ? 1 : 0;
  if (count == checked.size()) return RowsState::kAllChecked;
  if (count == 0) return RowsState::kAllUnchecked;
  return RowsState::kMixed;
}

}  // namespace results
