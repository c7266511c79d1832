// RarArchive: lists the headers of a RAR archive through the RAR library, loaded by name when the object
// is built; every member is skipped after its header is read, nothing is extracted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "preview/archive/archive_rows.h"

struct HINSTANCE__;

class RarArchive {
 public:
  RarArchive();
  ~RarArchive();
  RarArchive(const RarArchive&) = delete;
  RarArchive& operator=(const RarArchive&) = delete;

  // 1 when the archive opened and its headers were read (a header read failing part-way keeps those read).
  int List(const std::u16string& path);
  // Throws std::out_of_range for an index outside the entries.
  archive::RarEntry GetEntry(size_t index) const;
  // The entries kept: the first kMaxListedMembers headers at most.
  size_t GetEntryCount() const { return m_entries.size(); }
  // The headers read, kept or not.
  uint64_t GetHeaderCount() const { return m_headers; }
  const std::string& GetLastErrorText() const { return m_lastError; }
  // The RAR library is not on the machine (or lacks its entry points): no archive could be looked at.
  bool IsLibraryMissing() const { return m_libraryMissing; }

 private:
  void LoadUnrar();
  void FreeUnrar();

  std::string m_lastError;
  std::u16string m_path;
  HINSTANCE__* m_library = nullptr;
  bool m_libraryMissing = false;
  std::vector<archive::RarEntry> m_entries;
  uint64_t m_headers = 0;
};
