// A small handle-based layer over minizip's unzip API: opens a ZIP archive from an open file, a file name
// or memory, describes its items and extracts one item to a file, a named file under the extraction
// root, or memory. Every public call returns a result code and stores it in ZipLastError.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os/os.h"

enum ZipResult : uint32_t {
  kZipOk = 0,
  kZipDuplicateFailed = 0x100,
  kZipCreateFailed = 0x200,      // opening or creating a file failed, or its name would leave the root
  kZipReadWriteFailed = 0x400,   // reading, checking (CRC, length) or writing an item failed
  kZipMoreData = 0x600,          // extraction into memory filled the buffer; more data may follow
  kZipLocalHeader = 0x700,       // the item's local header disagrees with the central directory
  kZipExtraField = 0x800,        // the item's local extra field could not be read
  kZipUnsupportedMethod = 0x900, // the item is compressed or encrypted in a way this reader cannot undo
  kZipNotZip = 0x1000,           // the data are not a ZIP archive
  kZipBadArgument = 0x10000,
  kZipNotReader = 0x80000,
  kZipAlreadyOpen = 0x1000000,
  kZipNotDiskFile = 0x2000000,
  kZipDecompressFailed = 0x5000000,
};

// Where an archive comes from, and where an item goes.
enum ZipKind : uint32_t {
  kZipHandleKind = 1,    // an open os::File (the caller's; it stays open while the reader uses it)
  kZipFileNameKind = 2,  // a NUL-terminated UTF-16 file name
  kZipMemoryKind = 3,    // a memory block of the given length
};

constexpr uint32_t kZipAttrReadOnly = 0x01, kZipAttrHidden = 0x02, kZipAttrSystem = 0x04,
                   kZipAttrDirectory = 0x10, kZipAttrArchive = 0x20, kZipAttrNormal = 0x80;

// Which times of an entry are UTC (from the "UT" block); the others hold the DOS local wall clock.
constexpr uint32_t kZipUtcModification = 0x01, kZipUtcAccess = 0x02, kZipUtcCreation = 0x04;

struct ZipEntry {
  int32_t index = 0;            // for item -1: the number of items (the central headers the directory chains
                                // to, whatever its end record claims)
  char16_t name[260] = {};      // NUL-terminated, at most 259 units
  uint32_t attributes = 0;      // Windows file attribute bits
  os::FileTime accessTime = 0;  // 0: none
  os::FileTime creationTime = 0;
  os::FileTime modificationTime = 0;
  int64_t compressedSize = 0;
  int64_t uncompressedSize = 0;
  uint32_t utcTimes = 0;  // kZipUtc... bits: the times taken from the "UT" block, which are UTC
  uint16_t method = 0;    // the compression method (0 stored, 8 deflated, 14 LZMA, 99 AES encryption, ...)
  bool encrypted = false;
};

// Only stored and deflated items without encryption are extracted; the others are listed all the same.
bool ZipCanExtract(const ZipEntry& entry);
// What stands in the way of extracting an item, for a message: "LZMA (method 14)", "AES encryption
// (method 99)", "encryption"; "" for an item that can be extracted.
std::string ZipMethodText(const ZipEntry& entry);

struct ZipHandle;

// What an open archive's directory holds beside what its end record claims.
struct ZipDirectoryState {
  uint64_t claimed = 0;  // the items the end record counts
  bool whole = true;     // false: the chain of central headers broke before that count, or ran past it
};

extern uint32_t ZipLastError;

// Null on failure (ZipLastError says why).
ZipHandle* ZipOpen(const void* source, uint32_t length, uint32_t kind);
uint32_t ZipGetItem(ZipHandle* handle, int32_t index, ZipEntry* entry);
uint32_t ZipGetDirectoryState(ZipHandle* handle, ZipDirectoryState* state);
// Kind 2 names a file relative to the extraction root (the current folder when the archive was opened);
// a name with "..", a leading separator or a drive is refused (kZipCreateFailed) and nothing is written.
// The file gets the item's times and its read-only, hidden, system and archive bits. Kind 1 writes to
// the caller's open file (open for writing) and gives it the item's times.
// Kind 3 reads the next length bytes of the item; got (optional) receives how many came. An item that
// cannot be extracted (ZipCanExtract) gives kZipUnsupportedMethod and nothing is written.
uint32_t ZipUnzipItem(ZipHandle* handle, int32_t index, const void* destination, uint32_t length, uint32_t kind,
                      uint32_t* got = nullptr);
uint32_t ZipCloseReader(ZipHandle* handle);
// True for a null handle or a reader handle.
bool ZipIsReaderHandle(const ZipHandle* handle);

// The Windows attribute bits of an item, from its external attributes and the system that made it (the
// high byte of "version made by"): the Unix write bit counts only for archives made on Unix.
uint32_t ZipItemAttributes(uint32_t externalAttributes, uint32_t versionMadeBy);
// The "UT" block of an extra field: sets the times its flags name (modification, access, creation).
void ReadZipExtendedTimes(const uint8_t* extra, uint32_t length, ZipEntry* entry);
// A relative path that stays under its root: no "..", no leading separator, no drive, no empty name.
bool IsSafeRelativePath(const char16_t* path);
