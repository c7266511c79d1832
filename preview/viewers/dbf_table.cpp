#include "preview/viewers/dbf_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace dbf {

namespace {

// The bytes up to the first NUL, at most `length` of them.
std::string CutAtNul(const uint8_t* bytes, size_t length) {
  const void* nul = std::memchr(bytes, 0, length);
  const size_t used = nul != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes) : length;
  return std::string(reinterpret_cast<const char*>(bytes), used);
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string Printf(const char* format, double value) {
  const int length = std::snprintf(nullptr, 0, format, value);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<size_t>(length));
  return text;
}

// The first `width` bytes as a little-endian signed integer; nothing when the field is shorter.
template <typename Integer>
std::optional<Integer> IntegerOf(const std::string& bytes) {
  constexpr size_t width = sizeof(Integer);
  if (bytes.size() < width) return std::nullopt;
  uint64_t value = 0;
  for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[i]);
  return static_cast<Integer>(value);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string TrimmedUpper(const std::string& bytes) {
  size_t first = 0;
  size_t last = bytes.size();
  while (first < last && IsBlank(bytes[first])) ++first;
  while (last > first && IsBlank(bytes[last - 1])) --last;
  std::string text = bytes.substr(first, last - first);
  for (char& c : text) {
    const auto u = static_cast<uint8_t>(c);
    if (u >= 'a' && u <= 'z') c = static_cast<char>(u - 0x20);
    // Cyrillic small letters of code page 1251, so that the Russian words pass in either case.
    if (u >= 0xE0) c = static_cast<char>(u - 0x20);
  }
  return text;
}

bool IsTrueWord(const std::string& word) {
  static const char* const kWords[] = {"T", "Y", "YES", "TRUE", "\xC4\xC0", "\xC8\xD1\xD2\xC8\xCD\xC0"};
  for (const char* candidate : kWords) {
    if (word == candidate) return true;
  }
  return false;
}

// A currency field: an 8-byte integer of ten-thousandths.
std::u16string CurrencyText(const std::string& bytes, const TextServices& text) {
  const std::optional<int64_t> value = IntegerOf<int64_t>(bytes);
  return value ? text.FormatCurrency(*value) : std::u16string();
}

// YYYYMMDD as YYYY/MM/DD; a shorter text keeps what it has of each part.
std::u16string DateText(const std::u16string& digits) {
  const auto part = [&](size_t at, size_t count) {
    return at < digits.size() ? digits.substr(at, count) : std::u16string();
  };
  return part(0, 4) + u"/" + part(4, 2) + u"/" + part(6, 2);
}

// The code pages of the language bytes dBASE, FoxPro and the programs after them write. Kamenicky (0x68) and
// Mazovia (0x69) are code pages Windows does not have.
struct Language {
  uint8_t id;
  uint16_t codePage;
};
constexpr Language kLanguages[] = {
    {0x01, 437},   {0x02, 850},   {0x03, 1252},  {0x04, 10000}, {0x08, 865},   {0x09, 437},   {0x0A, 850},
    {0x0B, 437},   {0x0D, 437},   {0x0E, 850},   {0x0F, 437},   {0x10, 850},   {0x11, 437},   {0x12, 850},
    {0x13, 932},   {0x14, 850},   {0x15, 437},   {0x16, 850},   {0x17, 865},   {0x18, 437},   {0x19, 437},
    {0x1A, 850},   {0x1B, 437},   {0x1C, 863},   {0x1D, 850},   {0x1F, 852},   {0x22, 852},   {0x23, 852},
    {0x24, 860},   {0x25, 850},   {0x26, 866},   {0x37, 850},   {0x40, 852},   {0x4D, 936},   {0x4E, 949},
    {0x4F, 950},   {0x50, 874},   {0x58, 1252},  {0x59, 1252},  {0x64, 852},   {0x65, 866},   {0x66, 865},
    {0x67, 861},   {0x6A, 737},   {0x6B, 857},   {0x6C, 863},   {0x78, 950},   {0x79, 949},   {0x7A, 936},
    {0x7B, 932},   {0x7C, 874},   {0x86, 737},   {0x87, 852},   {0x88, 857},   {0x96, 10007}, {0x97, 10029},
    {0x98, 10006}, {0xC8, 1250},  {0xC9, 1251},  {0xCA, 1254},  {0xCB, 1253},  {0xCC, 1257},
};

constexpr size_t kLanguageOffset = 29;

}  // namespace

uint32_t LanguageCodePage(uint8_t language) {
  for (const Language& entry : kLanguages)
    if (entry.id == language) return entry.codePage;
  return 0;
}

Table ReadTable(const uint8_t* data, size_t size, size_t maxRecords, size_t maxCells) {
  Table table;
  if (size > kLanguageOffset) table.codePage = LanguageCodePage(data[kLanguageOffset]);
  size_t position = kHeaderSize;
  bool terminated = false;
  while (position < size) {
    if (data[position] == kDescriptorEnd) {
      terminated = true;
      break;
    }
    if (size - position < kDescriptorSize) {
      table.status = Status::kTruncatedField;
      table.fields.clear();
      return table;
    }
    if (table.fields.size() == kMaxFields) {
      table.status = Status::kTooManyFields;
      table.fields.clear();
      return table;
    }
    Field field;
    field.name = CutAtNul(data + position, 11);
    field.type = static_cast<char>(data[position + 11]);
    field.length = data[position + 16];
    table.fields.push_back(field);
    position += kDescriptorSize;
  }
  if (table.fields.empty()) {
    table.status = Status::kNoFields;
    return table;
  }
  if (!terminated) return table;  // the descriptors fill the file: no records follow

  // The header's length (bytes 8 and 9) says where the first record's flag byte is. Only a length that
  // cannot be one (before the terminator, past the end) sends the reader looking for that flag: the first
  // byte after the terminator that marks a record kept or deleted.
  const size_t headerLength = data[8] | (static_cast<size_t>(data[9]) << 8);
  size_t flag = headerLength;
  if (headerLength <= position || headerLength > size) {
    const uint8_t* first = std::find_if(data + position + 1, data + size, [](uint8_t c) { return c == ' ' || c == '*'; });
    if (first == data + size) return table;
    flag = static_cast<size_t>(first - data);
  }
  size_t start = flag + 1;  // the first record's fields

  // Records follow one another, each after a flag byte that is not looked at (deleted ones show too).
  // A record cut short by the end of the file still shows what it has: a damaged table's last rows are
  // often what the user is looking for. A table of short records holds millions of them: they are
  // counted, and only the first maxRecords read, fewer where that many rows would pass maxCells values.
  size_t recordLength = 1;
  for (const Field& field : table.fields) recordLength += field.length;
  if (start < size) table.totalRecords = (size - start + recordLength - 1) / recordLength;
  const size_t rows = std::min(maxRecords, std::max<size_t>(maxCells / table.fields.size(), 1));
  table.records.reserve(std::min(table.totalRecords, rows));
  while (start < size && table.records.size() < rows) {
    std::vector<std::string> values;
    values.reserve(table.fields.size());
    size_t at = start;
    for (const Field& field : table.fields) {
      const size_t length = std::min<size_t>(field.length, size - at);
      values.emplace_back(reinterpret_cast<const char*>(data + at), length);
      at += length;
    }
    table.records.push_back(std::move(values));
    start = at + 1;
  }
  return table;
}

std::u16string ValueText(char type, const std::string& raw, uint32_t codePage, const TextServices& text) {
  // Text fields end at their first NUL; the binary ones use their bytes as they are.
  const std::string bytes = raw.substr(0, raw.find('\0'));
  switch (type) {
    case 'N':
    case 'F': return Ascii(Printf("%f", std::strtod(bytes.c_str(), nullptr)));
    case 'C':
    case 'B': return text.FromCodePage(bytes, codePage);
    case 'Y': return CurrencyText(raw, text);
    case 'I': {
      const std::optional<int32_t> value = IntegerOf<int32_t>(raw);
      return value ? Ascii(std::to_string(*value)) : std::u16string();
    }
    case 'D': return DateText(text.FromCodePage(bytes, codePage));
    case 'L': return IsTrueWord(TrimmedUpper(bytes)) ? u"TRUE" : u"FALSE";
    case 'M': return u"Memo";
    case 'G': return u"General";
    case 'P': return u"Picture";
    default: return std::u16string();
  }
}

}  // namespace dbf
