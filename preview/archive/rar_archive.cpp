#include "preview/archive/rar_archive.h"

#include <memory>
#include <stdexcept>

#include "platform/os/library_win32.h"
#include "platform/os/win32.h"
#include "preview/archive/archive_text.h"
#include "preview/archive/archive_time.h"
#include "preview/archive/unrar_api.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

constexpr unsigned kCommentBytes = 16384;

archive::RarEntry EntryOf(const unrar::HeaderDataEx& header) {
  archive::RarEntry entry;
  // The wide name when the library gives one; the narrow one (in the OEM code page) through the bounded
  // conversion otherwise.
  if (header.FileNameW[0] != L'\0') {
    size_t n = 0;
    while (n < 1024 && n < archive::kArchiveNameUnits && header.FileNameW[n] != L'\0') ++n;
    entry.name.assign(reinterpret_cast<const char16_t*>(header.FileNameW), n);
  } else {
    entry.name = archive::ArchiveTextToWide(header.FileName, sizeof header.FileName, archive::NameCoding::kOem);
  }
  entry.flags = header.Flags;
  entry.packedSize = (static_cast<uint64_t>(header.PackSizeHigh) << 32) | header.PackSize;
  entry.unpackedSize = (static_cast<uint64_t>(header.UnpSizeHigh) << 32) | header.UnpSize;
  entry.time = archive::DosDateTimeToFileTime(static_cast<uint16_t>(header.FileTime >> 16),
                                              static_cast<uint16_t>(header.FileTime & 0xFFFF));
  entry.attributes = header.FileAttr;
  return entry;
}

}  // namespace

RarArchive::RarArchive() { LoadUnrar(); }

RarArchive::~RarArchive() { FreeUnrar(); }

void RarArchive::LoadUnrar() {
  m_library = os::LoadProgramOrSystemLibrary(L"unrar.dll");
  m_libraryMissing = m_library == nullptr;
  if (m_libraryMissing) m_lastError = "Load Error: unrar.dll could not be loaded";
}

void RarArchive::FreeUnrar() {
  if (m_library != nullptr) ::FreeLibrary(m_library);
  m_library = nullptr;
  m_entries.clear();
}

int RarArchive::List(const std::u16string& path) {
  if (m_library == nullptr) return 0;
  const auto open = os::LibraryEntry<unrar::OpenArchiveExFn>(m_library, "RAROpenArchiveEx");
  const auto close = os::LibraryEntry<unrar::CloseArchiveFn>(m_library, "RARCloseArchive");
  const auto process = os::LibraryEntry<unrar::ProcessFileFn>(m_library, "RARProcessFile");
  const auto readHeader = os::LibraryEntry<unrar::ReadHeaderExFn>(m_library, "RARReadHeaderEx");
  if (open == nullptr || close == nullptr || process == nullptr || readHeader == nullptr) {
    m_libraryMissing = true;  // a library of that name, but not the RAR library
    m_lastError = "Load Error: unrar.dll could not be loaded";
    return 0;
  }
  m_path = path;
  unrar::OpenArchiveDataEx data{};
  // The wide name reaches the library whole; no 8-bit copy of the path is made.
  data.ArcNameW = reinterpret_cast<wchar_t*>(&m_path[0]);
  data.OpenMode = unrar::kOpenForList;
  HANDLE archive = open(&data);
  if (archive == nullptr || data.OpenResult != 0) {
    if (archive != nullptr) close(archive);
    m_lastError = "Open Error: Failed to open RAR file";
    return 0;
  }
  m_entries.clear();
  m_headers = 0;
  auto header = std::make_unique<unrar::HeaderDataEx>();
  std::vector<char> comment(kCommentBytes);
  header->CmtBuf = comment.data();
  header->CmtBufSize = kCommentBytes;
  while (readHeader(archive, header.get()) == 0) {
    // Past the list's limit the headers are only counted, for the list's note.
    if (m_entries.size() < archive::kMaxListedMembers) m_entries.push_back(EntryOf(*header));
    ++m_headers;
    if (process(archive, unrar::kSkip, nullptr, nullptr) != 0) break;
  }
  close(archive);
  return 1;
}

archive::RarEntry RarArchive::GetEntry(size_t index) const {
  if (index >= m_entries.size()) throw std::out_of_range("invalid vector<T> subscript");
  return m_entries[index];
}
