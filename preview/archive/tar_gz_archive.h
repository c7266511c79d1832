// TarGzArchive: a file read as a ZIP archive, a plain gzip stream, or a tar archive inside a gzip
// stream; it counts the members and hands out one member's bytes with a short description. Decompressed
// data are held whole, so they are capped (kMaxArchiveData): a small file never inflates into gigabytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/os.h"

struct gzFile_s;
struct ZipHandle;

// The most decompressed bytes a preview holds.
constexpr uint64_t kMaxArchiveData = 64ull << 20;

// A gzip stream through zlib, for reading or writing.
class ArchiveReader {
 public:
  enum Mode { kClosed = 0, kWriting = 1, kReading = 2 };

  ArchiveReader() = default;
  virtual ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // The path reaches zlib whole (wide on Windows, UTF-8 elsewhere). True when the stream opened.
  bool OpenGzip(const std::u16string& path, int mode);
  virtual bool SetMode(int mode);
  virtual bool Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual bool Write(const void* bytes, uint32_t length) = 0;
  virtual bool WriteString(const std::u16string& text) = 0;
  virtual int Read(void* buffer, uint32_t length) = 0;
  // The whole decompressed stream; false on a damaged or truncated stream, an empty one, or more than
  // kMaxArchiveData bytes.
  virtual bool ReadAll(std::vector<uint8_t>* data) = 0;
  virtual bool SetParams() = 0;

 protected:
  int mode_ = kClosed;
  int level_ = -1;
  int strategy_ = 0;
  gzFile_s* stream_ = nullptr;
  uint64_t fileLength_ = 0;
};

// One member as GetFileAt describes it. data points into the archive's held data (valid until Close).
struct ArchiveMember {
  const uint8_t* data = nullptr;
  uint64_t size = 0;
  bool isFile = false;
  std::u16string name;
  std::string typeText;
  os::FileTime accessTime = 0, creationTime = 0, modificationTime = 0;
  uint32_t modificationSeconds = 0;
};

class TarGzArchive : public ArchiveReader {
 public:
  enum Kind { kNotOpened = 0, kZip = 1, kGzip = 2, kTar = 3 };

  ~TarGzArchive() override;

  // 1 when opened, 0 with the last error text set.
  int Open(const std::u16string& path);
  // The number of members, or -1.
  int32_t GetFileCount();
  // 1 when the member was found.
  int GetFileAt(int32_t index, ArchiveMember* member);
  bool Close() override;

  bool IsOpen() const override;
  bool Write(const void* bytes, uint32_t length) override;
  bool WriteString(const std::u16string& text) override;
  int Read(void* buffer, uint32_t length) override;
  bool ReadAll(std::vector<uint8_t>* data) override;
  bool SetParams() override;

  Kind GetKind() const { return kind_; }
  const std::string& GetLastErrorText() const { return lastError_; }

 private:
  bool HoldData();
  int GetZipMember(int32_t index, ArchiveMember* member);
  int GetTarMember(int32_t index, ArchiveMember* member);
  int Fail(const char* text);

  ZipHandle* zip_ = nullptr;
  std::vector<uint8_t> data_;
  bool held_ = false;
  std::string lastError_;
  Kind kind_ = kNotOpened;
};

// The text of the archive's first member: its bytes up to its size or first NUL, from the 8-bit code
// page. False when the file cannot be opened or has no first member.
bool LoadGzipText(TarGzArchive& archive, const std::u16string& path, std::u16string* text);
