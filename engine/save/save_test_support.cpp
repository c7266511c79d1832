#include "engine/save/save_test_support.h"

#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>

#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/data_runs.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/save/save_state.h"
#include "engine/scan/selected_signatures.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

std::u16string UniqueTempPath(const char16_t* prefix) {
  static std::atomic<uint32_t> counter{0};
  static const uint64_t run = std::random_device{}() ^
                              static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  return os::TempFolderPath() + prefix + os::FromAscii(std::to_string(run) + "_" + std::to_string(counter++));
}

// The path std::filesystem takes; on Windows with the long-path prefix, so that deep folders can be
// listed and removed.
std::filesystem::path FsPath(const std::u16string& path) {
#ifdef _WIN32
  return std::filesystem::path(u"\\\\?\\" + path);
#else
  return std::filesystem::path(NativePath(path));
#endif
}

void PutLe16(Bytes& bytes, size_t at, uint16_t value) {
  bytes.at(at) = static_cast<uint8_t>(value);
  bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

}  // namespace

Bytes Pattern(size_t length, uint8_t seed) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed + i / 251);
  return bytes;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

ScratchFolder::ScratchFolder() : path_(UniqueTempPath(u"dorvane_save_")) {
  EXPECT_TRUE(os::CreateFolder(path_));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FsPath(path_), ignored);
}

std::string NativePath(const std::u16string& path) {
  std::string native = os::ToUtf8(path);
  if (os::PathSeparator() == u'/') std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::vector<std::u16string> FolderNames(const std::u16string& folder) {
  std::vector<std::u16string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder), error)) {
    names.push_back(entry.path().filename().u16string());
  }
  EXPECT_FALSE(error) << "cannot list " << os::ToUtf8(folder);
  std::sort(names.begin(), names.end());
  return names;
}

Bytes ReadAll(const std::u16string& path, bool* readable) {
  os::File file;
  uint64_t size = 0;
  Bytes bytes;
  bool ok = file.OpenRead(path) && file.Size(&size);
  if (ok) {
    bytes.resize(size);
    uint32_t got = 0;
    ok = size == 0 || (file.Read(bytes.data(), static_cast<uint32_t>(size), &got) && got == size);
  }
  if (readable) *readable = ok;
  return ok ? bytes : Bytes();
}

bool WriteAll(const std::u16string& path, const Bytes& bytes) {
  os::File file;
  return file.OpenWrite(path) && file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())) && file.Close();
}

int64_t ModificationTime(const std::u16string& path, bool access) {
#ifdef _WIN32
  struct _stat64 st {};
  if (_wstat64(reinterpret_cast<const wchar_t*>(path.c_str()), &st) != 0) return -1;
#else
  struct stat st {};
  if (stat(NativePath(path).c_str(), &st) != 0) return -1;
#endif
  return static_cast<int64_t>(access ? st.st_atime : st.st_mtime);
}

MountedBytes::MountedBytes(const Bytes& bytes) : file_(UniqueTempPath(u"dorvane_volume_")) {
  EXPECT_TRUE(WriteAll(file_, bytes));
  os::File volume;
  EXPECT_TRUE(volume.OpenRead(file_, os::Share::ReadWrite));
  VolumeHandle.Set(std::move(volume));
  SourceKind = kSourceLogicalDrive;
  CurrentDriveIndex = 0;
}

MountedBytes::~MountedBytes() {
  VolumeHandle.Close();
  SourceKind = kSourceNothing;
  os::RemoveFile(file_);
}

FatVolume::FatVolume(uint32_t sectorsPerCluster, uint32_t clusterCount, uint32_t tableSectors)
    : perCluster_(sectorsPerCluster), tableSectors_(tableSectors) {
  const uint32_t reserved = 2 * perCluster_;
  bytes_.assign(size_t{reserved + 2 * tableSectors + clusterCount * perCluster_} * kSectorSize, 0);
  for (uint32_t table = 1; table <= 2; ++table) {
    SetEntry(table, 0, 0xFFF8);
    SetEntry(table, 1, 0xFFFF);
  }
}

void FatVolume::SetEntry(uint32_t table, uint32_t cluster, uint16_t value) {
  const size_t tableStart = size_t{2 * perCluster_ + (table - 1) * tableSectors_} * kSectorSize;
  PutLe16(bytes_, tableStart + size_t{cluster} * 2, value);
}

void FatVolume::Put(uint32_t cluster, const Bytes& data) {
  // Cluster 2 starts where the second table ends: cluster n at (2 x table sectors + n x per cluster).
  const size_t at = (size_t{2 * tableSectors_} + size_t{cluster} * perCluster_) * kSectorSize;
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
}

void FatVolume::PutChained(const std::vector<uint32_t>& clusters, const Bytes& data, uint32_t tables) {
  const size_t clusterBytes = size_t{perCluster_} * kSectorSize;
  for (size_t i = 0; i < clusters.size(); ++i) {
    const size_t from = std::min(data.size(), i * clusterBytes);
    const size_t to = std::min(data.size(), from + clusterBytes);
    Put(clusters[i], Bytes(data.begin() + static_cast<std::ptrdiff_t>(from), data.begin() + static_cast<std::ptrdiff_t>(to)));
    const uint16_t next = i + 1 < clusters.size() ? static_cast<uint16_t>(clusters[i + 1]) : 0xFFFF;
    for (uint32_t table = 1; table <= 2; ++table) {
      if (tables & table) SetEntry(table, clusters[i], next);
    }
  }
}

std::unique_ptr<MountedBytes> FatVolume::Mount() {
  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = records::kFat16;
  CurrentFileSystem.sectorsPerCluster = perCluster_;
  CurrentFileSystem.sectorsPerFat = tableSectors_;
  CurrentFileSystem.firstFatSector = 2 * perCluster_;
  CurrentFileSystem.secondFatSector = 2 * perCluster_ + tableSectors_;
  CurrentFileSystem.clusterBase = 2 * tableSectors_;
  CurrentFileSystem.lastSector = static_cast<uint32_t>(bytes_.size() / kSectorSize);
  return std::make_unique<MountedBytes>(bytes_);
}

NtfsVolume::NtfsVolume(uint32_t clusterCount) : bytes_(size_t{clusterCount} * kSectorsPerCluster * kSectorSize, 0) {}

uint32_t NtfsVolume::PutRecord(uint32_t number, const Bytes& record) {
  const uint32_t sector = kSectorsPerCluster + 2 * number;
  std::copy(record.begin(), record.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(size_t{sector} * kSectorSize));
  return sector;
}

void NtfsVolume::PutCluster(uint32_t cluster, const Bytes& data) {
  const size_t at = size_t{cluster} * kSectorsPerCluster * kSectorSize;
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
}

std::unique_ptr<MountedBytes> NtfsVolume::Mount() {
  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = records::kNtfs;
  CurrentFileSystem.sectorsPerCluster = kSectorsPerCluster;
  CurrentFileSystem.clusterBase = 0;
  CurrentFileSystem.lastSector = static_cast<uint32_t>(bytes_.size() / kSectorSize);
  return std::make_unique<MountedBytes>(bytes_);
}

Bytes RunList(const std::vector<std::pair<uint32_t, int64_t>>& runs) {
  // The fewest bytes that hold value as a signed number.
  auto width = [](int64_t value) {
    uint8_t n = 1;
    while (n < 8 && (value < -(int64_t{1} << (8 * n - 1)) || value >= (int64_t{1} << (8 * n - 1)))) ++n;
    return n;
  };
  Bytes list;
  int64_t previous = 0;
  for (const auto& [count, start] : runs) {
    const uint8_t lengthBytes = width(count);
    const int64_t delta = start - previous;
    const uint8_t offsetBytes = start < 0 ? 0 : width(delta);
    list.push_back(static_cast<uint8_t>(offsetBytes << 4 | lengthBytes));
    for (uint8_t i = 0; i < lengthBytes; ++i) list.push_back(static_cast<uint8_t>(uint64_t{count} >> (8 * i)));
    for (uint8_t i = 0; i < offsetBytes; ++i) list.push_back(static_cast<uint8_t>(static_cast<uint64_t>(delta) >> (8 * i)));
    if (start >= 0) previous = start;
  }
  list.push_back(0);
  return list;
}

SaveTest::SaveTest() {
  host::Hosts hosts = host::Current();
  hosts.messages = &messages;
  hosts.saveProgress = &dialog;
  hosts.resultTree = &tree;
  hosts.resultList = &list;
  installed_ = std::make_unique<host::ScopedHosts>(hosts);
  ResetState();
  out = root.path() + u"\\inner";
  EXPECT_TRUE(os::CreateFolder(out));
  out += u"\\out";
  EXPECT_TRUE(os::CreateFolder(out));
}

SaveTest::~SaveTest() { ResetState(); }

void SaveTest::ResetState() {
  BeginSave();
  RecoverySettings = RecoverySettingsRecord{};
  FileFilterTable = FileFilterTableRecord{};
  FreeScanRecordLists();
  NtfsFoundEntryList.Free();
  FileTraceHitList.Free();
  ClusterList.Free();
  DataRunList.Free();
  CurrentFileSystem = FileSystemRecord{};
  RecoveryMode = records::kQuickScan;
  SaveDestination.clear();
  SaveFileTime = 0;
  LargeFileSize = 0;
}

std::u16string SaveTest::Out(const std::u16string& relative) const {
  return relative.empty() ? out : out + u"\\" + relative;
}

std::vector<std::u16string> SaveTest::Questions() const {
  std::vector<std::u16string> questions;
  for (const auto& shown : messages.shown) {
    if (shown.question) questions.push_back(shown.text);
  }
  return questions;
}

#ifndef _WIN32
FullDiskPast::FullDiskPast(uint64_t limit) {
  rlimit was{};
  getrlimit(RLIMIT_FSIZE, &was);
  current_ = was.rlim_cur;
  maximum_ = was.rlim_max;
  handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit now = was;
  now.rlim_cur = static_cast<rlim_t>(limit);
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &now), 0);
}

FullDiskPast::~FullDiskPast() {
  rlimit was{};
  was.rlim_cur = static_cast<rlim_t>(current_);
  was.rlim_max = static_cast<rlim_t>(maximum_);
  setrlimit(RLIMIT_FSIZE, &was);
  std::signal(SIGXFSZ, handler_);
}
#endif

}  // namespace save_test
