#include "engine/scan/signature_database.h"

#include <string_view>

#include "engine/image/byte_order.h"
#include "engine/records/record_list.h"
#include "engine/scan/hex_text.h"
#include "platform/os/os.h"

namespace {

constexpr const char16_t* kGroupTexts[10] = {
    u"Archive Files", u"Document Files", u"Database Files", u"E-mail Files", u"Graphics Files",
    u"Sound Files",   u"Media Files",    u"Internet Files", u"CAD Files",    u"Other Files"};

// Walks the bytes of one record; every take is checked against what remains.
class RecordCursor {
 public:
  RecordCursor(const uint8_t* data, size_t size, size_t position) : data_(data), size_(size), pos_(position) {}

  bool TakeByte(uint8_t* value) {
    if (size_ - pos_ < 1) return false;
    *value = data_[pos_++];
    return true;
  }
  bool TakeU16(uint16_t* value) {
    if (size_ - pos_ < 2) return false;
    *value = LoadLe16(data_ + pos_);
    pos_ += 2;
    return true;
  }
  // A length-prefixed field; false when its length passes the limit or the end of the bytes.
  bool TakeField(std::string_view* field) {
    uint16_t length = 0;
    if (!TakeU16(&length) || length > kSignatureFieldLimit || size_ - pos_ < length) return false;
    *field = std::string_view(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return true;
  }
  size_t Position() const { return pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_;
};

std::string UpperHex(std::string_view bytes) {
  return BytesToUpperHexText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool ReadRecord(RecordCursor& cursor, uint32_t index, SignatureRecord* record) {
  uint16_t unused = 0;
  uint8_t digit = 0;
  std::string_view extension, description, offset, signature, second;
  if (!cursor.TakeU16(&unused) || !cursor.TakeByte(&digit) || !cursor.TakeField(&extension) ||
      !cursor.TakeField(&description) || !cursor.TakeField(&offset) || !cursor.TakeField(&signature) ||
      !cursor.TakeField(&second)) {
    return false;
  }
  record->index = index;
  record->group = SignatureGroupText(digit);
  record->extension = os::FromCodePage(extension);
  record->description = os::FromCodePage(description);
  record->offset = os::FromCodePage(offset);
  record->signature = UpperHex(signature);
  record->secondField = UpperHex(second);
  return true;
}

}  // namespace

std::u16string SignatureGroupText(uint8_t digit) {
  if (digit >= '0' && digit <= '9') return kGroupTexts[digit - '0'];
  return os::FromCodePage(std::string_view(reinterpret_cast<const char*>(&digit), 1));
}

SignatureDatabase ParseSignatureDatabase(const uint8_t* data, size_t size) {
  SignatureDatabase database;
  records::GuardAllocation([&] {
    size_t position = 0;
    while (position < size) {
      RecordCursor cursor(data, size, position);
      SignatureRecord record;
      if (!ReadRecord(cursor, static_cast<uint32_t>(database.records.size()), &record)) {
        database.complete = false;
        break;
      }
      database.records.push_back(std::move(record));
      position = cursor.Position();
    }
  });
  return database;
}

bool ReadSignatureDatabase(const std::u16string& path, SignatureDatabase* database) {
  *database = SignatureDatabase();
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size)) return false;
  const uint32_t length = size < kSignatureFileLimit ? static_cast<uint32_t>(size) : kSignatureFileLimit;
  std::vector<uint8_t> bytes;
  records::GuardAllocation([&] { bytes.resize(length); });
  uint32_t got = 0;
  if (length > 0 && (!file.Read(bytes.data(), length, &got) || got != length)) return false;
  *database = ParseSignatureDatabase(bytes.data(), bytes.size());
  if (size > length) database->complete = false;
  return true;
}
