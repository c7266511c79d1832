// What the saving tests share: the saving dialog's and results page's fakes installed over clean saving
// state, a scratch folder to save into, small volumes put together sector by sector and read as the
// source (a FAT volume with its tables, an NTFS volume with hand-made file records), and reading back
// what was written.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/save_fakes.h"

namespace save_test {

using Bytes = std::vector<uint8_t>;

// Bytes 0, 1, 2 ... of a given length, offset by seed so that files differ.
Bytes Pattern(size_t length, uint8_t seed);
Bytes Text(const std::string& text);

// A folder in the temporary folder, removed with everything in it afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::u16string& path() const { return path_; }

 private:
  std::u16string path_;
};

// path as the system's own functions of the tests take it ('/' on POSIX).
std::string NativePath(const std::u16string& path);
// The names in a folder, sorted.
std::vector<std::u16string> FolderNames(const std::u16string& folder);
// The whole file, or nothing when it cannot be read; *readable says which.
Bytes ReadAll(const std::u16string& path, bool* readable = nullptr);
bool WriteAll(const std::u16string& path, const Bytes& bytes);
// Last-write time in seconds since 1970 (UTC); -1 when the file cannot be examined.
int64_t ModificationTime(const std::u16string& path, bool access = false);

#ifndef _WIN32
// While it lives, a write that would make a file of this process longer than limit bytes fails, as on a disk that
// filled (the process's file-size limit; the signal it raises ignored).
class FullDiskPast {
 public:
  explicit FullDiskPast(uint64_t limit);
  ~FullDiskPast();
  FullDiskPast(const FullDiskPast&) = delete;
  FullDiskPast& operator=(const FullDiskPast&) = delete;

 private:
  uint64_t current_, maximum_;
  void (*handler_)(int);
};
#endif

// A volume read as the current source (a logical drive) for the life of the object.
class MountedBytes {
 public:
  explicit MountedBytes(const Bytes& bytes);
  ~MountedBytes();
  MountedBytes(const MountedBytes&) = delete;
  MountedBytes& operator=(const MountedBytes&) = delete;

 private:
  std::u16string file_;
};

// A FAT16 volume: one reserved sector, two tables of tableSectors each, then clusterCount clusters.
// Mount() makes it the source and its parameters CurrentFileSystem.
class FatVolume {
 public:
  explicit FatVolume(uint32_t sectorsPerCluster = 4, uint32_t clusterCount = 64, uint32_t tableSectors = 16);
  // Writes data from the first byte of cluster on, across as many clusters as it needs.
  void Put(uint32_t cluster, const Bytes& data);
  // Writes data into the clusters given, in order, and chains them in the tables (1, 2 or both = 3).
  void PutChained(const std::vector<uint32_t>& clusters, const Bytes& data, uint32_t tables = 3);
  uint32_t sectorsPerCluster() const { return perCluster_; }
  std::unique_ptr<MountedBytes> Mount();

 private:
  void SetEntry(uint32_t table, uint32_t cluster, uint16_t value);
  uint32_t perCluster_, tableSectors_;
  Bytes bytes_;
};

// An NTFS volume of 4 KiB clusters from sector 0, file records in cluster 1 (two sectors each) and
// data in the clusters from 4 on.
class NtfsVolume {
 public:
  static constexpr uint32_t kSectorsPerCluster = 8;
  explicit NtfsVolume(uint32_t clusterCount = 64);
  // Puts a 1024-byte record as record number `number`; returns its sector (the record's id).
  uint32_t PutRecord(uint32_t number, const Bytes& record);
  void PutCluster(uint32_t cluster, const Bytes& data);
  std::unique_ptr<MountedBytes> Mount();

 private:
  Bytes bytes_;
};

// Encodes a run list: each run is {cluster count, start cluster} with the start absolute (the encoding
// stores the difference from the run before); start -1 makes a sparse run.
Bytes RunList(const std::vector<std::pair<uint32_t, int64_t>>& runs);

// Hosts installed (message box answering Yes, saving dialog, results tree and list), saving state, the
// recovery settings, filters and record lists clean, and a scratch folder `out` inside `root`.
class SaveTest : public ::testing::Test {
 protected:
  SaveTest();
  ~SaveTest() override;
  static void ResetState();

  // out\relative.
  std::u16string Out(const std::u16string& relative = u"") const;
  // The questions the message box was asked, in order.
  std::vector<std::u16string> Questions() const;

  host::RecordingMessages messages;
  host::RecordingSaveProgress dialog;
  host::RecordingResultTree tree;
  host::RecordingResultList list;
  ScratchFolder root;
  std::u16string out;  // root\inner\out

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

}  // namespace save_test
