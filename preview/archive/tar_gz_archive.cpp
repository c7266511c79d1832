#include "preview/archive/tar_gz_archive.h"

#include <zlib.h>

#include <string_view>

#include "preview/archive/tar_walk.h"
#include "preview/archive/zip_reader.h"

namespace {

constexpr char kTextNotOpened[] = "Archive not opened";
constexpr char kTextUnknownType[] = "Could not determine archive type !";
constexpr char kTextNoGzipData[] = "Could not read data from gzip archive !";
constexpr char kTextNoFiles[] = "Could not get files from the archive !";
constexpr char kTextNoFileAt[] = "Could not get file at the specified position from the archive !";
constexpr char kTextNoUnzip[] = "Could not unzip file at the specified position from the archive !";
constexpr char kTextBadPosition[] = "Invalid file position !";

gzFile OpenStream(const std::u16string& path, const char* mode) {
#ifdef _WIN32
  static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");
  return gzopen_w(reinterpret_cast<const wchar_t*>(path.c_str()), mode);
#else
  return gzopen(os::ToUtf8(path).c_str(), mode);
#endif
}

// The first of the attribute bits that names a kind, else the normal-file text.
const char* ZipTypeText(uint32_t attributes) {
  if ((attributes & kZipAttrDirectory) != 0) return "FILE_ATTRIBUTE_DIRECTORY";
  if ((attributes & kZipAttrArchive) != 0) return "FILE_ATTRIBUTE_ARCHIVE";
  if ((attributes & kZipAttrHidden) != 0) return "FILE_ATTRIBUTE_HIDDEN";
  if ((attributes & kZipAttrReadOnly) != 0) return "FILE_ATTRIBUTE_READONLY";
  if ((attributes & kZipAttrSystem) != 0) return "FILE_ATTRIBUTE_SYSTEM";
  return (attributes & kZipAttrNormal) != 0 ? "FILE_ATTRIBUTE_NORMAL" : "";
}

}  // namespace

ArchiveReader::~ArchiveReader() {
  if (stream_ != nullptr) gzclose(stream_);
}

bool ArchiveReader::SetMode(int mode) {
  mode_ = mode;
  return true;
}

bool ArchiveReader::OpenGzip(const std::u16string& path, int mode) {
  if (stream_ != nullptr) return false;
  gzFile stream = nullptr;
  if (mode == kWriting) {
    stream = OpenStream(path, "wb");
    if (stream != nullptr) gzsetparams(stream, level_, strategy_);
  } else if (mode == kReading) {
    os::File file;
    uint64_t length = 0;
    if (!file.OpenRead(path) || !file.Size(&length)) return false;
    file.Close();
    fileLength_ = length;
    stream = OpenStream(path, "rb");
  }
  if (stream == nullptr) return false;
  stream_ = stream;
  mode_ = mode;
  return true;
}

TarGzArchive::~TarGzArchive() { TarGzArchive::Close(); }

bool TarGzArchive::IsOpen() const { return stream_ != nullptr; }

bool TarGzArchive::Write(const void* bytes, uint32_t length) {
  if (mode_ != kWriting || stream_ == nullptr || length > INT32_MAX) return false;
  return length == 0 || gzwrite(stream_, bytes, length) == static_cast<int>(length);
}

bool TarGzArchive::WriteString(const std::u16string& text) {
  if (text.size() > INT32_MAX / 2) return false;
  return Write(text.data(), static_cast<uint32_t>(text.size() * 2));
}

int TarGzArchive::Read(void* buffer, uint32_t length) {
  if (mode_ != kReading || stream_ == nullptr || length > INT32_MAX) return -1;
  return gzread(stream_, buffer, length);
}

bool TarGzArchive::SetParams() {
  return mode_ == kWriting && stream_ != nullptr && gzsetparams(stream_, level_, strategy_) == Z_OK;
}

bool TarGzArchive::ReadAll(std::vector<uint8_t>* data) {
  data->clear();
  if (mode_ != kReading || stream_ == nullptr || fileLength_ == 0) return false;
  // Blocks as large as the compressed file, within bounds that keep a tiny or huge file sensible.
  const uint64_t wanted = fileLength_ < 4096 ? 4096 : fileLength_ > (1u << 20) ? 1u << 20 : fileLength_;
  const uint32_t block = static_cast<uint32_t>(wanted);
  std::vector<uint8_t> piece(block);
  for (;;) {
    const int n = Read(piece.data(), block);
    if (n < 0) break;
    if (n == 0) {
      // zlib ends a truncated stream quietly; its error state tells.
      int error = Z_OK;
      gzerror(stream_, &error);
      if (error != Z_OK) break;
      return !data->empty();
    }
    if (data->size() + static_cast<uint32_t>(n) > kMaxArchiveData) break;
    data->insert(data->end(), piece.begin(), piece.begin() + n);
  }
  data->clear();
  data->shrink_to_fit();
  return false;
}

bool TarGzArchive::Close() {
  if (zip_ != nullptr) ZipCloseReader(zip_);
  zip_ = nullptr;
  bool closed = true;
  if (stream_ != nullptr) closed = gzclose(stream_) == Z_OK;
  stream_ = nullptr;
  mode_ = kClosed;
  data_.clear();
  data_.shrink_to_fit();
  held_ = false;
  lastError_.clear();
  kind_ = kNotOpened;
  return closed;
}

int TarGzArchive::Fail(const char* text) {
  lastError_ = text;
  return 0;
}

bool TarGzArchive::HoldData() {
  if (!held_) held_ = ReadAll(&data_);
  if (!held_) lastError_ = kTextNoGzipData;
  return held_;
}

int TarGzArchive::Open(const std::u16string& path) {
  Close();
  zip_ = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  if (zip_ != nullptr) {
    kind_ = kZip;
    return 1;
  }
  if (!OpenGzip(path, kReading)) return Fail(kTextUnknownType);
  if (!HoldData()) return 0;
  kind_ = data_.size() >= archive::kTarBlock && archive::TarHeaderValid(data_.data()) ? kTar : kGzip;
  return 1;
}

int32_t TarGzArchive::GetFileCount() {
  switch (kind_) {
    case kNotOpened: lastError_ = kTextNotOpened; return -1;
    case kZip: {
      ZipEntry entry;
      if (ZipGetItem(zip_, -1, &entry) != kZipOk) return lastError_ = kTextNoFiles, -1;
      return entry.index;
    }
    case kGzip: return 1;
    case kTar: return HoldData() ? archive::CountTarMembers(data_.data(), data_.size()) : -1;
  }
  return -1;
}

int TarGzArchive::GetZipMember(int32_t index, ArchiveMember* member) {
  if (zip_ == nullptr) return 0;
  ZipEntry entry;
  if (ZipGetItem(zip_, index, &entry) != kZipOk || index < 0) return Fail(kTextNoFileAt);
  // A sound item in a method this reader does not have is not called damaged: the message says which.
  if (!ZipCanExtract(entry)) {
    lastError_ = "Could not unzip file at the specified position from the archive: " + ZipMethodText(entry) +
                 " is not supported !";
    return 0;
  }
  // The size comes from the archive: checked before anything is allocated for it.
  if (entry.uncompressedSize < 0 || static_cast<uint64_t>(entry.uncompressedSize) > kMaxArchiveData) {
    return Fail(kTextNoUnzip);
  }
  const uint64_t size = static_cast<uint64_t>(entry.uncompressedSize);
  data_.assign(size + 1, 0);
  uint64_t at = 0;
  for (;;) {
    // Once the announced bytes are in, one more read ends the item and checks its CRC.
    const uint32_t want = at < size ? static_cast<uint32_t>(size - at) : 1;
    uint32_t got = 0;
    const uint32_t result = ZipUnzipItem(zip_, index, data_.data() + at, want, kZipMemoryKind, &got);
    if (result == kZipOk) break;
    if (result != kZipMoreData || at + got > size) return Fail(kTextNoUnzip);
    at += got;
  }
  if (at != size) return Fail(kTextNoUnzip);
  data_[size] = 0;
  member->data = data_.data();
  member->size = size;
  member->isFile = (entry.attributes & kZipAttrDirectory) == 0;
  member->typeText = ZipTypeText(entry.attributes);
  member->name = entry.name;
  member->accessTime = entry.accessTime;
  member->creationTime = entry.creationTime;
  member->modificationTime = entry.modificationTime;
  return 1;
}

int TarGzArchive::GetTarMember(int32_t index, ArchiveMember* member) {
  if (!HoldData()) return 0;
  archive::TarMember tar;
  uint64_t offset = 0;
  for (int32_t i = 0; i < index; ++i) {
    if (!archive::ReadTarMember(data_.data(), data_.size(), offset, &tar)) return Fail(kTextBadPosition);
    offset = tar.next;
  }
  if (index < 0) return Fail(kTextBadPosition);
  if (!archive::ReadTarMember(data_.data(), data_.size(), offset, &tar)) return 0;
  member->data = data_.data() + tar.dataOffset;
  member->size = tar.size;
  member->isFile = tar.type == '0' || tar.type == '\0';
  member->typeText = archive::TarTypeText(tar.type);
  member->name = tar.name;
  member->modificationSeconds = tar.modificationSeconds;
  return 1;
}

int TarGzArchive::GetFileAt(int32_t index, ArchiveMember* member) {
  *member = ArchiveMember();
  switch (kind_) {
    case kNotOpened: return Fail(kTextNotOpened);
    case kZip: return GetZipMember(index, member);
    case kGzip:
      if (!HoldData()) return 0;
      member->data = data_.data();
      member->size = data_.size();
      member->isFile = true;
      member->name = u"unknown";
      return 1;
    case kTar: return GetTarMember(index, member);
  }
  return 0;
}

bool LoadGzipText(TarGzArchive& archive, const std::u16string& path, std::u16string* text) {
  text->clear();
  if (archive.Open(path) == 0) return false;
  archive.GetFileCount();
  ArchiveMember member;
  if (archive.GetFileAt(0, &member) == 0) return false;
  const char* bytes = reinterpret_cast<const char*>(member.data);
  std::string_view view(bytes, member.size);
  const size_t nul = view.find('\0');
  if (nul != std::string_view::npos) view = view.substr(0, nul);
  *text = os::FromCodePage(view);
  return true;
}
