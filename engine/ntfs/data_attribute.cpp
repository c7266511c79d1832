#include "engine/ntfs/data_attribute.h"

#include "engine/ntfs/mft_record.h"

uint32_t FindDataAttribute(const uint8_t* record, uint32_t& offsetOut) {
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data)) return kNoDataAttribute;
  offsetOut = data.offset;
  return data.nonResident ? kNonResidentData : kResidentData;
}

uint32_t ReadDataSize(uint32_t sector, uint64_t& sizeOut, const uint8_t* recordIn, uint32_t readFromDisk) {
  uint8_t buffer[ntfs::kMaxMftRecordSize];
  const uint8_t* record = recordIn;
  if (readFromDisk != 0) {
    if (!ntfs::ReadMftRecord(ntfs::CurrentDevicePath(), sector, buffer)) return 0;
    record = buffer;
  }
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data)) return 0;
  sizeOut = data.nonResident ? data.realSize : data.valueLength;
  return 1;
}
