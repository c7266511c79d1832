#include "platform/os/oem_code_pages.h"

namespace os {

namespace {

#include "platform/os/code_page_tables.inc"

constexpr uint32_t kJapanese = 932;
constexpr uint32_t kMultilingual = 850;
constexpr char16_t kReplacement = 0xFFFD;

const SingleByteTable* SingleByteTableOf(uint32_t codePage) {
  const SingleByteTable* multilingual = nullptr;
  for (const SingleByteTable& table : kSingleByteTables) {
    if (table.codePage == codePage) return &table;
    if (table.codePage == kMultilingual) multilingual = &table;
  }
  return multilingual;
}

// The row of kCodePage932Pairs of a lead byte (0x81-0x9F, 0xE0-0xFC); -1 for any other byte.
int LeadRow(uint8_t byte) {
  if (byte >= 0x81 && byte <= 0x9F) return byte - 0x81;
  if (byte >= 0xE0 && byte <= 0xFC) return byte - 0xE0 + (0x9F - 0x81 + 1);
  return -1;
}

bool IsTrailByte(uint8_t byte) {
  return byte >= kCodePage932FirstTrail && uint32_t{byte} - kCodePage932FirstTrail < kCodePage932Trails;
}

// The character of a lead byte and a trail byte; 0 for none.
char16_t Pair932(uint8_t lead, uint8_t trail) {
  const int row = LeadRow(lead);
  return row < 0 || !IsTrailByte(trail) ? 0 : kCodePage932Pairs[row][trail - kCodePage932FirstTrail];
}

}  // namespace

char16_t OemCharacter(uint8_t byte, uint32_t codePage) {
  if (byte < 0x80) return byte;
  return SingleByteTableOf(codePage == 437 ? 437 : kMultilingual)->high[byte - 0x80];
}

bool IsTableCodePage(uint32_t codePage) {
  if (codePage == kJapanese) return true;
  for (const SingleByteTable& table : kSingleByteTables) {
    if (table.codePage == codePage) return true;
  }
  return false;
}

bool IsTableLeadByte(uint8_t byte, uint32_t codePage) { return codePage == kJapanese && LeadRow(byte) >= 0; }

bool DecodeWithTable(std::string_view bytes, uint32_t codePage, std::u16string* out) {
  out->clear();
  out->reserve(bytes.size());
  const SingleByteTable* single = codePage == kJapanese ? nullptr : SingleByteTableOf(codePage);
  bool whole = true;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<uint8_t>(bytes[i]);
    char16_t c = byte;
    if (byte < 0x80) {
      c = byte;
    } else if (single != nullptr) {
      c = single->high[byte - 0x80];
    } else if (LeadRow(byte) < 0) {
      c = kCodePage932Single[byte - 0x80];
    } else {
      // A lead byte takes the byte after it when that may follow one: a pair that stands for nothing is one
      // unknown character; a lead byte before any other byte, or at the end, is one alone.
      const bool paired = i + 1 < bytes.size() && IsTrailByte(static_cast<uint8_t>(bytes[i + 1]));
      c = paired ? Pair932(byte, static_cast<uint8_t>(bytes[i + 1])) : 0;
      if (paired) ++i;
    }
    if (c == 0 && byte != 0) {
      c = kReplacement;
      whole = false;
    }
    out->push_back(c);
  }
  return whole;
}

}  // namespace os
