// The dBASE reader over arbitrary bytes: every record has one value per field, and each value is as
// long as its field (in the last record at most as long) and turns into text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "preview/viewers/dbf_table.h"

namespace {

class PlainText : public dbf::TextServices {
 public:
  std::u16string FromAnsi(const std::string& bytes) const override { return std::u16string(bytes.begin(), bytes.end()); }
  std::optional<std::u16string> FormatCurrency(const std::u16string& amount) const override { return amount; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const dbf::Table table = dbf::ReadTable(data, size);
  if (table.fields.size() > dbf::kMaxFields) std::abort();
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
      dbf::ValueText(table.fields[i].type, record[i], text);
    }
  }
  return 0;
}
