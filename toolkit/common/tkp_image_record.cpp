#include "toolkit/common/tkp_image_record.h"

namespace {

std::int32_t Int32At(const std::vector<BYTE>& b, size_t at) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
                                   static_cast<std::uint32_t>(b[at + 2]) << 16 |
                                   static_cast<std::uint32_t>(b[at + 3]) << 24);
}
int Int16At(const std::vector<BYTE>& b, size_t at) { return b[at] | b[at + 1] << 8; }
void PutInt32(std::vector<BYTE>& b, size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<BYTE>(static_cast<std::uint32_t>(v) >> (8 * i));
}

BOOL Fail(const char** pszReason, const char* reason) {
  if (pszReason != nullptr) *pszReason = reason;
  return FALSE;
}

bool KnownBitCount(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

BOOL ReadImage(CArchive& ar, TKPImageRecord& image, const char** pszReason) {
  return TKPReadBitmapRecord(ar, image.a, pszReason) && TKPReadBitmapRecord(ar, image.b, pszReason);
}
void WriteImage(CArchive& ar, const TKPImageRecord& image) {
  TKPWriteBitmapRecord(ar, image.a);
  TKPWriteBitmapRecord(ar, image.b);
}

}  // namespace

int TKPBitmapRecord::Width() const { return info.empty() ? 0 : Int32At(info, 4); }
int TKPBitmapRecord::Height() const { return info.empty() ? 0 : Int32At(info, 8); }
int TKPBitmapRecord::BitCount() const { return info.empty() ? 0 : Int16At(info, 14); }

BOOL TKPReadBitmapRecord(CArchive& ar, TKPBitmapRecord& record, const char** pszReason) {
  record = TKPBitmapRecord();
  const DWORD infoLength = ar.ReadCount();
  if (infoLength == 0) return TRUE;
  if (infoLength != kTKPRecordInfoSize) return Fail(pszReason, "the bitmap header has the wrong length");
  std::vector<BYTE> info(kTKPRecordInfoSize);
  if (ar.Read(info.data(), kTKPRecordInfoSize) != kTKPRecordInfoSize) {
    AfxThrowArchiveException(CArchiveException::endOfFile);
  }
  record.info = std::move(info);
  const int width = record.Width();
  const int height = record.Height();
  const int compression = Int32At(record.info, 16);
  if (Int32At(record.info, 0) != 40) return Fail(pszReason, "the bitmap header is not 40 bytes");
  if (width < 1 || width > kTKPMaxRecordExtent || height == 0 || height < -kTKPMaxRecordExtent ||
      height > kTKPMaxRecordExtent) {
    return Fail(pszReason, "the bitmap is too large or empty");
  }
  if (Int16At(record.info, 12) != 1 || !KnownBitCount(record.BitCount())) {
    return Fail(pszReason, "the bitmap has an unknown pixel format");
  }
  if (compression != 0 && compression != 3) return Fail(pszReason, "the bitmap is compressed");
  // The masks and colours a header names are read after it: they must lie in the block's 12 bytes.
  const std::uint64_t tableBytes = (compression == 3 ? 12u : 0u) + 4u * static_cast<std::uint32_t>(Int32At(record.info, 32));
  if (tableBytes > kTKPRecordInfoSize - 40) return Fail(pszReason, "the bitmap names more colours than it holds");
  const std::uint64_t expected = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height < 0 ? -height : height) * 4;
  const DWORD bitsLength = ar.ReadCount();
  if (bitsLength != expected) return Fail(pszReason, "the bitmap's pixels have the wrong length");
  record.bits.resize(bitsLength);
  if (ar.Read(record.bits.data(), bitsLength) != bitsLength) AfxThrowArchiveException(CArchiveException::endOfFile);
  return TRUE;
}

void TKPWriteBitmapRecord(CArchive& ar, const TKPBitmapRecord& record) {
  if (record.IsEmpty()) {
    ar.WriteCount(0);
    return;
  }
  ar.WriteCount(static_cast<DWORD>(record.info.size()));
  ar.Write(record.info.data(), static_cast<UINT>(record.info.size()));
  ar.WriteCount(static_cast<DWORD>(record.bits.size()));
  ar.Write(record.bits.data(), static_cast<UINT>(record.bits.size()));
}

TKPBitmapRecord TKPMakeBitmapRecord(int width, int height, int bitCount) {
  TKPBitmapRecord record;
  record.info.assign(kTKPRecordInfoSize, 0);
  PutInt32(record.info, 0, 40);
  PutInt32(record.info, 4, width);
  PutInt32(record.info, 8, height);
  record.info[12] = 1;
  record.info[14] = static_cast<BYTE>(bitCount);
  const std::uint64_t size = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height < 0 ? -height : height) * 4;
  PutInt32(record.info, 20, static_cast<std::int32_t>(size));
  record.bits.assign(static_cast<size_t>(size), 0);
  return record;
}

BOOL TKPReadIconRecord(CArchive& ar, TKPIconRecord& record, const char** pszReason) {
  record = TKPIconRecord();
  ar >> record.height >> record.schema;
  if (!ReadImage(ar, record.normal, pszReason) || !ReadImage(ar, record.disabled, pszReason) ||
      !ReadImage(ar, record.hot, pszReason)) {
    return FALSE;
  }
  // Records older than schema 8 have no checked image.
  return record.schema <= 7 || ReadImage(ar, record.checked, pszReason);
}

void TKPWriteIconRecord(CArchive& ar, const TKPIconRecord& record) {
  ar << record.height << 16;
  WriteImage(ar, record.normal);
  WriteImage(ar, record.disabled);
  WriteImage(ar, record.hot);
  WriteImage(ar, record.checked);
}
