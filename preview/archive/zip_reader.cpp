#include "preview/archive/zip_reader.h"

#include <minizip/unzip.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "preview/archive/archive_text.h"
#include "preview/archive/archive_time.h"
#include "preview/archive/zip_source.h"

uint32_t ZipLastError = kZipOk;

namespace {

constexpr uint32_t kReaderKind = 1;
constexpr uint32_t kCopyBlock = 16384;
constexpr uint32_t kUnixHost = 3;
constexpr uint32_t kUtf8NameFlag = 0x800;
constexpr uint32_t kCentralHeaderSize = 46;  // before its name, extra field and comment
constexpr uint32_t kLocalHeaderSize = 30;    // before its name and extra field
constexpr uint32_t kCentralSignature = 0x02014B50, kLocalSignature = 0x04034B50;
constexpr uint32_t kEncryptedFlag = 0x1, kSizesAfterDataFlag = 0x8;
constexpr uint16_t kZip64Block = 0x0001;
constexpr uint32_t kStored = 0, kDeflated = 8;

uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (static_cast<uint32_t>(Le16(p + 2)) << 16); }
uint64_t Le64(const uint8_t* p) { return Le32(p) | (static_cast<uint64_t>(Le32(p + 4)) << 32); }

// minizip's view of a ZipSource: the "file name" it opens is the source itself.
voidpf SourceOpen(voidpf, const void* source, int) { return const_cast<void*>(source); }
uLong SourceRead(voidpf, voidpf stream, void* buffer, uLong size) {
  return static_cast<ZipSource*>(stream)->Read(buffer, static_cast<uint32_t>(size));
}
uLong SourceWrite(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T SourceTell(voidpf, voidpf stream) { return static_cast<ZipSource*>(stream)->Tell(); }
long SourceSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  const ZipSource::Origin from = origin == ZLIB_FILEFUNC_SEEK_SET   ? ZipSource::kFromStart
                                 : origin == ZLIB_FILEFUNC_SEEK_CUR ? ZipSource::kFromCurrent
                                                                    : ZipSource::kFromEnd;
  return static_cast<ZipSource*>(stream)->Seek(offset, from) ? 0 : -1;
}
int SourceClose(voidpf, voidpf stream) {
  static_cast<ZipSource*>(stream)->Close();
  return 0;
}
int SourceError(voidpf, voidpf stream) { return static_cast<ZipSource*>(stream)->HasError() ? 1 : 0; }

std::u16string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  return error ? std::u16string() : here.u16string();
}

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Creates root + every folder of path up to its last separator (existing folders are fine).
void CreatePathDirectories(const std::u16string& root, const std::u16string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) os::CreateFolder(root + path.substr(0, i));
  }
}

std::u16string WithBackslashes(std::u16string path) {
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

}  // namespace

class UnzipReader {
 public:
  ~UnzipReader() { Close(); }

  uint32_t Open(const void* source, uint32_t length, uint32_t kind);
  uint32_t GetItem(int32_t index, ZipEntry* entry);
  uint32_t UnzipItem(int32_t index, const void* destination, uint32_t length, uint32_t kind, uint32_t* got);
  void Close();
  const ZipDirectoryState& Directory() const { return state_; }

 private:
  void CloseOpenItem();
  // Finds the central header of every item the directory holds.
  void ReadDirectory(uint64_t claimed);
  // size bytes at offset from the start of the data; false when they are not all there.
  bool ReadAt(uint64_t offset, void* buffer, uint32_t size);
  // Where the item's local header says its extra field is, once the header's own 30 bytes agree with
  // the central directory (as minizip's check, for every method: the listing never decompresses).
  uint32_t CheckLocalHeader(int32_t index, const unz_file_info64& info, uint64_t* extraOffset, uint32_t* extraSize);
  // The local header's offset from the central header, its ZIP64 block when the 32 bits overflow.
  bool LocalHeaderOffset(int32_t index, uint64_t* offset);
  // Moves minizip to the item and fills the cache; kZipOk or why not.
  uint32_t LoadItem(int32_t index);
  uint32_t ExtractToFile(os::File* file);
  uint32_t ExtractToName(const char16_t* name);
  uint32_t ReadIntoMemory(int32_t index, void* buffer, uint32_t length, uint32_t* got);

  ZipSource source_;
  unzFile zip_ = nullptr;
  uint64_t base_ = 0;  // bytes before the archive (a self-extracting program), as minizip counts them
  std::vector<ZPOS64_T> directory_;  // where each item's central header is
  ZipDirectoryState state_;
  int32_t count_ = 0;
  int32_t current_ = -1;   // minizip's current item, -1 when unknown
  int32_t openItem_ = -1;  // the item open for reading into memory
  uint64_t openRead_ = 0;  // its bytes read so far
  ZipEntry cached_;
  int32_t cachedIndex_ = -1;
  std::u16string root_;
};

struct ZipHandle {
  uint32_t kind = kReaderKind;
  UnzipReader reader;
};

uint32_t UnzipReader::Open(const void* source, uint32_t length, uint32_t kind) {
  if (zip_ != nullptr || openItem_ >= 0) return kZipAlreadyOpen;
  root_ = CurrentFolder() + u'\\';
  if (kind == kZipHandleKind) {
    auto* file = static_cast<os::File*>(const_cast<void*>(source));
    if (file != nullptr && file->IsOpen() && !file->IsDiskFile()) return kZipNotDiskFile;
    if (!source_.OpenFile(file)) return kZipDuplicateFailed;
  } else if (kind == kZipFileNameKind) {
    if (source == nullptr || !source_.OpenName(static_cast<const char16_t*>(source))) return kZipCreateFailed;
  } else if (kind == kZipMemoryKind) {
    source_.OpenMemory(static_cast<const uint8_t*>(source), length);
  } else {
    return kZipBadArgument;
  }
  zlib_filefunc64_def functions{};
  functions.zopen64_file = SourceOpen;
  functions.zread_file = SourceRead;
  functions.zwrite_file = SourceWrite;
  functions.ztell64_file = SourceTell;
  functions.zseek64_file = SourceSeek;
  functions.zclose_file = SourceClose;
  functions.zerror_file = SourceError;
  zip_ = unzOpen2_64(&source_, &functions);
  unz_global_info64 info{};
  if (zip_ != nullptr && unzGetGlobalInfo64(zip_, &info) != UNZ_OK) {
    unzClose(zip_);
    zip_ = nullptr;
  }
  if (zip_ == nullptr) {
    source_.Close();
    return kZipNotZip;
  }
  ReadDirectory(info.number_entry);
  if (count_ > 0) {
    // minizip reads a central header at its offset plus the bytes before the archive, which it keeps to
    // itself: its first seek for one tells how many there are.
    source_.MarkSeeks();
    uint64_t seek = 0;
    if (unzSetOffset64(zip_, directory_[0]) == UNZ_OK && source_.FirstSeekSinceMark(&seek) && seek >= directory_[0])
      base_ = seek - directory_[0];
    current_ = -1;
  }
  return kZipOk;
}

bool UnzipReader::ReadAt(uint64_t offset, void* buffer, uint32_t size) {
  return source_.Seek(offset, ZipSource::kFromStart) && source_.Read(buffer, size) == size;
}

bool UnzipReader::LocalHeaderOffset(int32_t index, uint64_t* offset) {
  const uint64_t at = base_ + directory_[static_cast<size_t>(index)];
  uint8_t central[kCentralHeaderSize];
  if (!ReadAt(at, central, sizeof central) || Le32(central) != kCentralSignature) return false;
  *offset = Le32(central + 42);
  if (*offset != 0xFFFFFFFF) return true;
  // The 64-bit values follow in the ZIP64 block, each only where its 32-bit field overflowed.
  const uint32_t nameSize = Le16(central + 28), extraSize = Le16(central + 30);
  std::vector<uint8_t> extra(extraSize);
  if (extra.empty() || !ReadAt(at + kCentralHeaderSize + nameSize, extra.data(), extraSize)) return false;
  for (uint32_t p = 0; p + 4 <= extraSize;) {
    const uint32_t id = Le16(&extra[p]), size = Le16(&extra[p + 2]);
    if (id == kZip64Block) {
      const uint32_t skip = (Le32(central + 24) == 0xFFFFFFFF ? 8 : 0) + (Le32(central + 20) == 0xFFFFFFFF ? 8 : 0);
      if (skip + 8 > size || p + 4 + skip + 8 > extraSize) return false;
      *offset = Le64(&extra[p + 4 + skip]);
      return true;
    }
    p += 4 + size;
  }
  return false;
}

uint32_t UnzipReader::CheckLocalHeader(int32_t index, const unz_file_info64& info, uint64_t* extraOffset,
                                       uint32_t* extraSize) {
  uint64_t offset = 0;
  uint8_t local[kLocalHeaderSize];
  if (!LocalHeaderOffset(index, &offset) || offset > UINT64_MAX / 2 - base_ || !ReadAt(base_ + offset, local, sizeof local))
    return kZipLocalHeader;
  const bool sizesAfter = (Le16(local + 6) & kSizesAfterDataFlag) != 0;
  const auto agrees = [sizesAfter](uint32_t local32, uint64_t central, bool overflowAllowed) {
    return sizesAfter || (overflowAllowed && local32 == 0xFFFFFFFF) || local32 == central;
  };
  if (Le32(local) != kLocalSignature || Le16(local + 8) != info.compression_method ||
      !agrees(Le32(local + 14), info.crc, false) || !agrees(Le32(local + 18), info.compressed_size, true) ||
      !agrees(Le32(local + 22), info.uncompressed_size, true) || Le16(local + 26) != info.size_filename)
    return kZipLocalHeader;
  *extraOffset = base_ + offset + kLocalHeaderSize + info.size_filename;
  *extraSize = Le16(local + 28);
  return kZipOk;
}

void UnzipReader::ReadDirectory(uint64_t claimed) {
  // The end record's count is not trusted: a damaged one claims members the directory cannot hold. One
  // walk finds each central header the directory really chains to; a header that does not read ends the
  // walk, since nothing after it can be found. Every item is then reached directly.
  constexpr size_t kMostItems = INT32_MAX - 1;
  directory_.clear();
  int step = unzGoToFirstFile(zip_);
  for (; step == UNZ_OK && directory_.size() < kMostItems; step = unzGoToNextFile(zip_)) {
    directory_.push_back(unzGetOffset64(zip_));
  }
  // minizip stops at the count, even where a count too small leaves headers after it: they are followed.
  bool pastCount = false;
  while (step == UNZ_END_OF_LIST_OF_FILE && !directory_.empty() && directory_.size() < kMostItems) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    const ZPOS64_T next = directory_.back() + kCentralHeaderSize + info.size_filename + info.size_file_extra +
                          info.size_file_comment;
    if (unzSetOffset64(zip_, next) != UNZ_OK) break;
    directory_.push_back(next);
    pastCount = true;
  }
  count_ = static_cast<int32_t>(directory_.size());
  current_ = -1;
  state_.claimed = claimed;
  // Fewer headers than claimed is a broken chain. More is sound only where the count is 0xFFFF, a count that
  // overflowed its 16 bits (minizip then walks to the directory's end).
  state_.whole = !pastCount && directory_.size() >= claimed;
}

void UnzipReader::CloseOpenItem() {
  if (openItem_ < 0) return;
  unzCloseCurrentFile(zip_);
  openItem_ = -1;
}

void UnzipReader::Close() {
  CloseOpenItem();
  if (zip_ != nullptr) unzClose(zip_);  // closes the source too
  zip_ = nullptr;
  directory_.clear();
  state_ = ZipDirectoryState();
  count_ = 0;
  current_ = -1;
  cachedIndex_ = -1;
}

uint32_t UnzipReader::LoadItem(int32_t index) {
  if (index == cachedIndex_ && index == current_) return kZipOk;
  // Whatever was cached or current no longer is once minizip moves, even when the move fails.
  cachedIndex_ = -1;
  current_ = -1;
  if (index < 0 || index >= count_ || unzSetOffset64(zip_, directory_[static_cast<size_t>(index)]) != UNZ_OK) {
    return kZipBadArgument;
  }
  current_ = index;
  unz_file_info64 info{};
  char name[261] = {};
  if (unzGetCurrentFileInfo64(zip_, &info, name, 260, nullptr, 0, nullptr, 0) != UNZ_OK) return kZipBadArgument;
  // The local header is checked by its own bytes: opening the item would also refuse every method the
  // library cannot decompress, and such items are sound.
  uint64_t extraOffset = 0;
  uint32_t extraSize = 0;
  const uint32_t checked = CheckLocalHeader(index, info, &extraOffset, &extraSize);
  if (checked != kZipOk) return checked;
  std::vector<uint8_t> extra(extraSize);
  if (!extra.empty() && !ReadAt(extraOffset, extra.data(), extraSize)) return kZipExtraField;

  ZipEntry entry;
  entry.index = index;
  const archive::NameCoding coding =
      (info.flag & kUtf8NameFlag) != 0 ? archive::NameCoding::kUtf8 : archive::NameCoding::kOem;
  const std::u16string wide = archive::ArchiveTextToWide(name, 260, coding);
  wide.copy(entry.name, wide.size());
  entry.attributes = ZipItemAttributes(static_cast<uint32_t>(info.external_fa), static_cast<uint32_t>(info.version));
  entry.compressedSize = static_cast<int64_t>(info.compressed_size & INT64_MAX);
  entry.uncompressedSize = static_cast<int64_t>(info.uncompressed_size & INT64_MAX);
  const os::FileTime dos = archive::DosDateTimeToFileTime(static_cast<uint16_t>(info.dosDate >> 16),
                                                          static_cast<uint16_t>(info.dosDate & 0xFFFF));
  entry.accessTime = entry.creationTime = entry.modificationTime = dos;
  ReadZipExtendedTimes(extra.data(), static_cast<uint32_t>(extra.size()), &entry);
  entry.method = static_cast<uint16_t>(info.compression_method);
  entry.encrypted = (info.flag & kEncryptedFlag) != 0;
  cached_ = entry;
  cachedIndex_ = index;
  return kZipOk;
}

uint32_t UnzipReader::GetItem(int32_t index, ZipEntry* entry) {
  if (index < -1 || index >= count_) return kZipBadArgument;
  CloseOpenItem();
  if (index == -1) {
    *entry = ZipEntry();
    entry->index = count_;
    return kZipOk;
  }
  const uint32_t result = LoadItem(index);
  if (result == kZipOk) *entry = cached_;
  return result;
}

uint32_t UnzipReader::ExtractToFile(os::File* file) {
  if (!ZipCanExtract(cached_)) return kZipUnsupportedMethod;
  if (unzOpenCurrentFile(zip_) != UNZ_OK) return kZipReadWriteFailed;
  std::vector<uint8_t> block(kCopyBlock);
  uint64_t total = 0;
  bool ok = true;
  for (;;) {
    const int n = unzReadCurrentFile(zip_, block.data(), kCopyBlock);
    if (n == 0) break;
    if (n < 0 || !file->Write(block.data(), static_cast<uint32_t>(n))) {
      ok = false;
      break;
    }
    total += static_cast<uint32_t>(n);
  }
  // Closing checks the CRC once every byte was read; data shorter than announced are damaged too.
  const int closed = unzCloseCurrentFile(zip_);
  if (!ok || closed != UNZ_OK || total != static_cast<uint64_t>(cached_.uncompressedSize)) return kZipReadWriteFailed;
  return kZipOk;
}

uint32_t UnzipReader::ExtractToName(const char16_t* name) {
  const bool folder = (cached_.attributes & kZipAttrDirectory) != 0;
  // A folder item creates the folder its own name gives; a file goes where the caller says.
  std::u16string target = folder ? std::u16string(cached_.name) : std::u16string(name != nullptr ? name : u"");
  while (folder && !target.empty() && IsSeparator(target.back())) target.pop_back();
  if (!IsSafeRelativePath(target.c_str())) return kZipCreateFailed;
  const std::u16string relative = WithBackslashes(target);
  if (folder) {
    CreatePathDirectories(root_, relative + u'\\');
    return kZipOk;
  }
  if (!ZipCanExtract(cached_)) return kZipUnsupportedMethod;
  CreatePathDirectories(root_, relative);
  const std::u16string path = root_ + relative;
  os::File file;
  if (!file.OpenWrite(path)) return kZipCreateFailed;
  uint32_t result = ExtractToFile(&file);
  if (!file.Close()) result = kZipReadWriteFailed;
  if (result != kZipOk) {
    os::RemoveFile(path);  // no damaged copy is left looking whole
    return result;
  }
  // The bytes are whole by now: times and attributes that cannot be set do not undo them. The times come
  // first, while the file may still be written to.
  os::SetFileTimes(path, &cached_.creationTime, &cached_.accessTime, &cached_.modificationTime);
  os::SetFileAttributeBits(path, cached_.attributes);
  return kZipOk;
}

uint32_t UnzipReader::ReadIntoMemory(int32_t index, void* buffer, uint32_t length, uint32_t* got) {
  if (buffer == nullptr) return kZipBadArgument;
  if (openItem_ != index) {
    CloseOpenItem();
    if (index < 0 || index >= count_) return kZipBadArgument;
    const uint32_t loaded = LoadItem(index);
    if (loaded != kZipOk) return loaded;
    if (!ZipCanExtract(cached_)) return kZipUnsupportedMethod;
    if (unzOpenCurrentFile(zip_) != UNZ_OK) return kZipDecompressFailed;
    openItem_ = index;
    openRead_ = 0;
  }
  const int n = unzReadCurrentFile(zip_, buffer, length);
  if (n > 0) {
    openRead_ += static_cast<uint32_t>(n);
    if (got != nullptr) *got = static_cast<uint32_t>(n);
    return kZipMoreData;
  }
  const int closed = unzCloseCurrentFile(zip_);
  openItem_ = -1;
  if (n < 0 || closed != UNZ_OK || openRead_ != static_cast<uint64_t>(cached_.uncompressedSize)) {
    return kZipDecompressFailed;
  }
  return kZipOk;
}

uint32_t UnzipReader::UnzipItem(int32_t index, const void* destination, uint32_t length, uint32_t kind,
                                uint32_t* got) {
  if (got != nullptr) *got = 0;
  if (kind == kZipMemoryKind) return ReadIntoMemory(index, const_cast<void*>(destination), length, got);
  if (kind != kZipHandleKind && kind != kZipFileNameKind) return kZipBadArgument;
  CloseOpenItem();
  if (index < 0 || index >= count_ || destination == nullptr) return kZipBadArgument;
  const uint32_t loaded = LoadItem(index);
  if (loaded != kZipOk) return loaded;
  if (kind == kZipFileNameKind) return ExtractToName(static_cast<const char16_t*>(destination));
  if ((cached_.attributes & kZipAttrDirectory) != 0) return kZipOk;
  auto* file = static_cast<os::File*>(const_cast<void*>(destination));
  const uint32_t result = ExtractToFile(file);
  // The caller's file gets the item's times as a named one does; one that takes none keeps its bytes.
  if (result == kZipOk) file->SetTimes(&cached_.creationTime, &cached_.accessTime, &cached_.modificationTime);
  return result;
}

namespace {

uint32_t Finish(uint32_t result) {
  ZipLastError = result;
  return result;
}

uint32_t CheckHandle(const ZipHandle* handle) {
  if (handle == nullptr) return kZipBadArgument;
  return handle->kind == kReaderKind ? kZipOk : kZipNotReader;
}

}  // namespace

ZipHandle* ZipOpen(const void* source, uint32_t length, uint32_t kind) {
  auto handle = std::make_unique<ZipHandle>();
  const uint32_t result = Finish(handle->reader.Open(source, length, kind));
  return result == kZipOk ? handle.release() : nullptr;
}

uint32_t ZipGetItem(ZipHandle* handle, int32_t index, ZipEntry* entry) {
  const uint32_t checked = CheckHandle(handle);
  if (checked != kZipOk) return Finish(checked);
  if (entry == nullptr) return Finish(kZipBadArgument);
  return Finish(handle->reader.GetItem(index, entry));
}

uint32_t ZipGetDirectoryState(ZipHandle* handle, ZipDirectoryState* state) {
  const uint32_t checked = CheckHandle(handle);
  if (checked != kZipOk) return Finish(checked);
  if (state == nullptr) return Finish(kZipBadArgument);
  *state = handle->reader.Directory();
  return Finish(kZipOk);
}

uint32_t ZipUnzipItem(ZipHandle* handle, int32_t index, const void* destination, uint32_t length, uint32_t kind,
                      uint32_t* got) {
  const uint32_t checked = CheckHandle(handle);
  if (checked != kZipOk) return Finish(checked);
  return Finish(handle->reader.UnzipItem(index, destination, length, kind, got));
}

uint32_t ZipCloseReader(ZipHandle* handle) {
  const uint32_t checked = CheckHandle(handle);
  if (checked != kZipOk) return Finish(checked);
  delete handle;
  return Finish(kZipOk);
}

bool ZipIsReaderHandle(const ZipHandle* handle) { return handle == nullptr || handle->kind == kReaderKind; }

bool ZipCanExtract(const ZipEntry& entry) {
  return !entry.encrypted && (entry.method == kStored || entry.method == kDeflated);
}

std::string ZipMethodText(const ZipEntry& entry) {
  if (ZipCanExtract(entry)) return std::string();
  if (entry.method == kStored || entry.method == kDeflated) return "encryption";
  struct Known {
    uint16_t method;
    const char* name;
  };
  static const Known kKnown[] = {{1, "Shrink"}, {6, "Implode"},    {9, "Deflate64"}, {12, "BZIP2"},
                                 {14, "LZMA"},  {93, "Zstandard"}, {95, "XZ"},       {96, "JPEG"},
                                 {97, "WavPack"}, {98, "PPMd"},    {99, "AES encryption"}};
  const std::string number = std::to_string(entry.method);
  for (const Known& known : kKnown)
    if (known.method == entry.method) return known.name + std::string(" (method ") + number + ")";
  return "method " + number;
}

uint32_t ZipItemAttributes(uint32_t external, uint32_t versionMadeBy) {
  uint32_t attributes = kZipAttrNormal;
  if ((external & (1u << 30)) != 0 || (external & 0x10) != 0) attributes = kZipAttrNormal | kZipAttrDirectory;
  if ((external & 0x20) != 0) attributes |= kZipAttrArchive;
  if ((external & 0x02) != 0) attributes |= kZipAttrHidden;
  // Only Unix-made archives carry a Unix mode in the high word; elsewhere the DOS bit alone says read-only.
  const bool unix = (versionMadeBy >> 8) == kUnixHost;
  const bool ownerWrite = (external & (1u << 23)) != 0;
  if ((external & 0x01) != 0 || (unix && !ownerWrite)) attributes |= kZipAttrReadOnly;
  if ((external & 0x04) != 0) attributes |= kZipAttrSystem;
  return attributes;
}

void ReadZipExtendedTimes(const uint8_t* extra, uint32_t length, ZipEntry* entry) {
  uint32_t at = 0;
  while (extra != nullptr && at <= length && length - at >= 4) {
    const uint32_t size = extra[at + 2] | (extra[at + 3] << 8);
    if (extra[at] == 'U' && extra[at + 1] == 'T') {
      const uint32_t blockEnd = at + 4 + size <= length ? at + 4 + size : length;
      uint32_t p = at + 4;
      if (p >= blockEnd) return;
      const uint8_t flags = extra[p++];
      os::FileTime* targets[] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
      for (int bit = 0; bit < 3; ++bit) {
        if ((flags & (1u << bit)) == 0) continue;
        if (blockEnd - p < 4) return;
        const int32_t seconds = static_cast<int32_t>(extra[p] | (extra[p + 1] << 8) | (extra[p + 2] << 16) |
                                                     (static_cast<uint32_t>(extra[p + 3]) << 24));
        *targets[bit] = archive::UnixTimeToFileTime(seconds);
        entry->utcTimes |= 1u << bit;  // the block's flag bits name the times in kZipUtc... order
        p += 4;
      }
      return;
    }
    at += 4 + size;
  }
}

bool IsSafeRelativePath(const char16_t* path) {
  if (path == nullptr || path[0] == u'\0' || IsSeparator(path[0])) return false;
  std::u16string part;
  for (const char16_t* p = path;; ++p) {
    if (*p == u'\0' || IsSeparator(*p)) {
      if (part == u"..") return false;
      if (*p == u'\0') return !part.empty();  // a name ending in a separator names no file
      part.clear();
      continue;
    }
    if (*p == u':' || *p < 0x20) return false;  // drives, streams and control characters
    part += *p;
  }
}
