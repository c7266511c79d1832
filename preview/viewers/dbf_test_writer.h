// Small dBASE tables written by the tests: a 32-byte header, the descriptors, the terminator, records.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

class DbfWriter {
 public:
  DbfWriter& Field(const std::string& name, char type, uint8_t length) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, std::min<size_t>(name.size(), 11), name.substr(0, 11));
    descriptor[11] = type;
    descriptor[16] = static_cast<char>(length);
    descriptors_ += descriptor;
    return *this;
  }
  // A record: its flag byte (' ' kept, '*' deleted) and the fields' bytes already laid out.
  DbfWriter& Record(const std::string& fields, char flag = ' ') {
    records_ += flag;
    records_ += fields;
    return *this;
  }
  // Bytes between the terminator and the first record (the header's padding).
  DbfWriter& Padding(const std::string& bytes) {
    padding_ = bytes;
    return *this;
  }
  // The language byte, which names the code page of the table's text (by default 0: none).
  DbfWriter& Language(uint8_t language) {
    language_ = language;
    return *this;
  }
  // The header's length field as a damaged header has it (by default: where the first record starts).
  DbfWriter& HeaderLength(uint16_t length) {
    headerLength_ = length;
    return *this;
  }
  std::string Bytes(bool withEof = true) const {
    std::string header(32, '\0');
    header[0] = 0x03;
    const size_t length = headerLength_ >= 0 ? static_cast<size_t>(headerLength_) : 32 + descriptors_.size() + 1 + padding_.size();
    header[8] = static_cast<char>(length & 0xFF);
    header[9] = static_cast<char>(length >> 8);
    header[29] = static_cast<char>(language_);
    return header + descriptors_ + "\x0D" + padding_ + records_ + (withEof ? "\x1A" : "");
  }

 private:
  std::string descriptors_, records_, padding_;
  int headerLength_ = -1;
  uint8_t language_ = 0;
};

// A binary field's bytes, little-endian.
template <typename Integer>
std::string LittleEndianBytes(Integer value) {
  std::string bytes;
  for (size_t i = 0; i < sizeof value; ++i) bytes += static_cast<char>(static_cast<uint64_t>(value) >> (8 * i));
  return bytes;
}
inline std::string Int32Bytes(int32_t value) { return LittleEndianBytes(value); }
