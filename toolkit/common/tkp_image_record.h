// The archive records of the image manager's icons: a bitmap record (a 52-byte info block and the
// rows in its format), an image record (two bitmap records: colour or alpha bitmap, then mask) and
// the icon record (height, schema, the state images). What comes from the clipboard or saved state is
// checked here before anything is allocated from its counts.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classlib/carchive.h"

// The largest icon side we accept from a record.
constexpr int kTKPMaxRecordExtent = 256;
inline bool TKPRecordExtentInRange(long extent) { return extent >= 1 && extent <= kTKPMaxRecordExtent; }
constexpr UINT kTKPRecordInfoSize = 52;  // the 40-byte header and room for three masks or colours

struct TKPBitmapRecord {
  std::vector<BYTE> info;  // empty for an empty record, else kTKPRecordInfoSize bytes
  std::vector<BYTE> bits;  // width x |height| x 4 bytes

  bool IsEmpty() const { return info.empty(); }
  int Width() const;
  int Height() const;  // negative for a top-down bitmap
  int BitCount() const;
};

struct TKPImageRecord {
  TKPBitmapRecord a;  // colour bitmap, or the alpha bitmap
  TKPBitmapRecord b;  // the mask; empty for an alpha image
};

struct TKPIconRecord {
  int height = 0;
  int schema = 16;
  TKPImageRecord normal, disabled, hot, checked;
};

// FALSE (with a reason) for a record we did not write: a bad info length or header, a width or
// height outside 1..kTKPMaxRecordExtent, an unknown bit count or compression, masks and colours beyond
// the block's 12 bytes, a bits length other than width x height x 4. Data that ends early raises CArchiveException endOfFile.
BOOL TKPReadBitmapRecord(CArchive& ar, TKPBitmapRecord& record, const char** pszReason = nullptr);
void TKPWriteBitmapRecord(CArchive& ar, const TKPBitmapRecord& record);
// A 32-bit record of the size with zeroed bits (what the writers fill).
TKPBitmapRecord TKPMakeBitmapRecord(int width, int height, int bitCount = 32);

BOOL TKPReadIconRecord(CArchive& ar, TKPIconRecord& record, const char** pszReason = nullptr);
void TKPWriteIconRecord(CArchive& ar, const TKPIconRecord& record);
