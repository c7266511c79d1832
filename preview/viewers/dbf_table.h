// A dBASE table (".dbf") read for the preview: the field descriptors after the 32-byte file header and
// the records after them, each field's bytes turned into display text by its type letter. Its text is in the
// code page its language byte names (a DOS or Cyrillic table's letters are not the system's), else in the
// system's 8-bit code page.
//
// Nothing in the file is trusted: every descriptor, field and record is checked against the file's
// size; the last record may be cut short by the end of the file. Portable: the system's own text and
// currency conversions come in through DbfTextServices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dbf {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr size_t kMaxFields = 200;
constexpr uint8_t kDescriptorEnd = 0x0D;
// The most field values read: a table of many short fields holds millions of them under any row limit.
constexpr size_t kMaxCells = 250000;

struct Field {
  std::string name;  // bytes of the table's code page, up to the first NUL of the 11
  char type = 0;
  uint8_t length = 0;
};

enum class Status {
  kOk,
  kNoFields,          // no descriptor before the terminator or the end
  kTooManyFields,     // a descriptor past the 200th
  kTruncatedField,    // a descriptor that runs past the end of the file
};

struct Table {
  Status status = Status::kOk;
  std::vector<Field> fields;
  // Each record's field bytes, one string per field, as long as the field; in a last record cut short
  // by the end of the file, what is there (empty past the end).
  std::vector<std::vector<std::string>> records;
  // How many records the file holds, read or not.
  size_t totalRecords = 0;
  // The code page of the table's text, as its language byte names it; 0 when it names none.
  uint32_t codePage = 0;
};

// The Windows code page a table's language byte (byte 29 of its header) names; 0 for none, or for one
// Windows does not have.
uint32_t LanguageCodePage(uint8_t language);

// Reads the table from the file's bytes: its first records, at most maxRecords of them and at most
// maxCells values in all, and how many there are. The first record starts where the header's length
// says.
Table ReadTable(const uint8_t* data, size_t size, size_t maxRecords = SIZE_MAX, size_t maxCells = kMaxCells);

// What the value texts need of the system.
class TextServices {
 public:
  virtual ~TextServices() = default;
  // Bytes of a code page as text; 0: the system's 8-bit code page.
  virtual std::u16string FromCodePage(const std::string& bytes, uint32_t codePage) const = 0;
  // An amount in ten-thousandths of the unit written as a currency for the user's locale.
  virtual std::u16string FormatCurrency(int64_t tenThousandths) const = 0;
};

// The display text of a field's bytes by its type letter; its text in the code page given (the table's).
std::u16string ValueText(char type, const std::string& raw, uint32_t codePage, const TextServices& text);

}  // namespace dbf
