// The dBASE view's whole loop over arbitrary bytes: the table read up to the list's row limit, every value
// turned into text. Every record has one value per field, each as long as its field (in the last record at
// most as long); the records read are the first of those counted, never more than the limit nor more rows
// than the bound of values allows.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "fuzz/fuzz_flags.h"
#include "preview/viewers/database_settings.h"
#include "preview/viewers/dbf_table.h"

namespace {

class PlainText : public dbf::TextServices {
 public:
  std::u16string FromCodePage(const std::string& bytes, uint32_t) const override {
    return std::u16string(bytes.begin(), bytes.end());
  }
  std::u16string FormatCurrency(int64_t) const override { return u"$"; }
};

}  // namespace

DORVANE_FUZZ_FLAGS("-max_len=65536")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t limit = static_cast<size_t>(DatabaseViewSettings().m_nMaxRecords);
  const dbf::Table table = dbf::ReadTable(data, size, limit);
  if (table.fields.size() > dbf::kMaxFields) std::abort();
  const size_t rows = table.fields.empty() ? limit : std::max<size_t>(dbf::kMaxCells / table.fields.size(), 1);
  if (table.records.size() != std::min({table.totalRecords, limit, rows}) || table.totalRecords > size) std::abort();
  if (table.status != dbf::Status::kOk && !(table.fields.empty() && table.records.empty())) std::abort();
  const PlainText text;
  for (size_t r = 0; r < table.records.size(); ++r) {
    const auto& record = table.records[r];
    if (record.size() != table.fields.size()) std::abort();
    const bool last = r + 1 == table.records.size();
    for (size_t i = 0; i < record.size(); ++i) {
      // Only the last record may be cut short by the end of the data.
      if (record[i].size() > table.fields[i].length || (!last && record[i].size() != table.fields[i].length)) {
        std::abort();
      }
      dbf::ValueText(table.fields[i].type, record[i], table.codePage, text);
    }
  }
  return 0;
}
