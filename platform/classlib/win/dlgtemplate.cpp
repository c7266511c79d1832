// Dialog templates, read field by field: a classic template starts with its style; an extended one
// with version 1 and the signature 0xFFFF. Strings are UTF-16 and end with 0, or are 0xFFFF and an
// ordinal, or a single 0 for none; every item starts on a 4-byte boundary.
#include "platform/classlib/win/dlgtemplate.h"

#include <cstring>

namespace {

// A bounded reader over the template's bytes.
class Cursor {
 public:
  Cursor(const BYTE* data, size_t limit) : data_(data), limit_(limit) {}

  bool Ok() const { return ok_; }
  size_t Offset() const { return offset_; }

  WORD Word() { return static_cast<WORD>(Bytes(2)); }
  DWORD Dword() { return static_cast<DWORD>(Bytes(4)); }
  short Short() { return static_cast<short>(Word()); }
  void Skip(size_t n) {
    if (n > limit_ - offset_) return Fail();
    offset_ += n;
  }
  void AlignDword() { Skip((4 - offset_ % 4) % 4); }
  // A string, an ordinal or nothing.
  void StringOrOrdinal() {
    WORD first = Word();
    if (first == 0xFFFF) {
      Word();
    } else if (first != 0) {
      String();
    }
  }
  // A 0-terminated UTF-16 string.
  void String() {
    while (ok_ && Word() != 0) {
    }
  }

 private:
  unsigned long long Bytes(size_t n) {
    if (!ok_ || n > limit_ - offset_) {
      Fail();
      return 0;
    }
    unsigned long long value = 0;
    for (size_t i = 0; i < n; ++i) value |= static_cast<unsigned long long>(data_[offset_ + i]) << (8 * i);
    offset_ += n;
    return value;
  }
  void Fail() {
    ok_ = false;
    offset_ = limit_;
  }

  const BYTE* data_;
  size_t limit_;
  size_t offset_ = 0;
  bool ok_ = true;
};

bool IsExtended(const BYTE* data, size_t limit) {
  return limit >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
}

// The header fields up to the place (both kinds), and the number of items.
WORD ReadHeader(Cursor& cursor, bool extended, DialogTemplateHeader* pHeader) {
  pHeader->extended = extended;
  WORD items = 0;
  if (extended) {
    cursor.Dword();  // version and signature
    cursor.Dword();  // help id
    pHeader->exStyle = cursor.Dword();
    pHeader->style = cursor.Dword();
  } else {
    pHeader->style = cursor.Dword();
    pHeader->exStyle = cursor.Dword();
  }
  items = cursor.Word();
  pHeader->x = cursor.Short();
  pHeader->y = cursor.Short();
  pHeader->cx = cursor.Short();
  pHeader->cy = cursor.Short();
  return items;
}

}  // namespace

bool AfxReadDialogTemplateHeader(const void* lpTemplate, size_t limit, DialogTemplateHeader* pHeader) {
  if (lpTemplate == nullptr || pHeader == nullptr) return false;
  auto* data = static_cast<const BYTE*>(lpTemplate);
  Cursor cursor(data, limit);
  ReadHeader(cursor, IsExtended(data, limit), pHeader);
  return cursor.Ok();
}

size_t AfxDialogTemplateSize(const void* lpTemplate, size_t limit) {
  if (lpTemplate == nullptr) return 0;
  auto* data = static_cast<const BYTE*>(lpTemplate);
  const bool extended = IsExtended(data, limit);
  Cursor cursor(data, limit);
  DialogTemplateHeader header;
  WORD items = ReadHeader(cursor, extended, &header);
  cursor.StringOrOrdinal();  // menu
  cursor.StringOrOrdinal();  // class
  cursor.String();           // title
  if ((header.style & DS_SETFONT) != 0) {
    cursor.Word();  // point size
    if (extended) cursor.Skip(4);  // weight, italic, character set
    cursor.String();
  }
  for (WORD i = 0; i < items && cursor.Ok(); ++i) {
    cursor.AlignDword();
    cursor.Skip(extended ? 12 + 8 + 4 : 8 + 8 + 2);  // (help id,) styles, place, id
    cursor.StringOrOrdinal();  // class
    cursor.StringOrOrdinal();  // title
    cursor.Skip(cursor.Word());  // creation data
  }
  return cursor.Ok() ? cursor.Offset() : 0;
}

std::vector<BYTE> AfxCopyDialogTemplate(const void* lpTemplate, size_t limit, DWORD style, DWORD exStyle) {
  size_t size = AfxDialogTemplateSize(lpTemplate, limit);
  if (size == 0) return {};
  auto* data = static_cast<const BYTE*>(lpTemplate);
  std::vector<BYTE> copy(data, data + size);
  auto put = [&](size_t offset, DWORD value) {
    for (int i = 0; i < 4; ++i) copy[offset + i] = static_cast<BYTE>(value >> (8 * i));
  };
  if (IsExtended(data, size)) {
    put(8, exStyle);
    put(12, style);
  } else {
    put(0, style);
    put(4, exStyle);
  }
  return copy;
}
