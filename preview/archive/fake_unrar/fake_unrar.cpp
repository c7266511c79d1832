// A stand-in RAR library for the tests alone (the real one is not on this machine): the four entry
// points of unrar_api.h over a text listing. The file starts with the line "FAKE-RAR"; every further line
// is one member: name|flags|packed size|unpacked size|DOS date-time|attributes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "preview/archive/unrar_api.h"

namespace {

struct Member {
  std::string name;
  unsigned long long flags = 0, packed = 0, unpacked = 0, time = 0, attributes = 0;
};

struct Archive {
  std::vector<Member> members;
  size_t next = 0;
};

bool ReadListing(const wchar_t* path, std::vector<Member>* members) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return false;
  char line[2048];
  bool ok = std::fgets(line, sizeof line, file) != nullptr && std::strncmp(line, "FAKE-RAR", 8) == 0;
  while (ok && std::fgets(line, sizeof line, file) != nullptr) {
    line[std::strcspn(line, "\r\n")] = '\0';
    if (line[0] == '\0') continue;
    Member member;
    char* field = std::strchr(line, '|');
    if (field == nullptr) continue;
    member.name.assign(line, static_cast<size_t>(field - line));
    unsigned long long* values[] = {&member.flags, &member.packed, &member.unpacked, &member.time, &member.attributes};
    for (unsigned long long* value : values) {
      if (field == nullptr) break;
      *value = std::strtoull(field + 1, &field, 10);
      if (*field != '|') field = nullptr;
    }
    members->push_back(member);
  }
  std::fclose(file);
  return ok;
}

}  // namespace

extern "C" {

__declspec(dllexport) HANDLE RAR_CALL RAROpenArchiveEx(unrar::OpenArchiveDataEx* data) {
  auto* archive = new Archive;
  if (data->OpenMode != unrar::kOpenForList || data->ArcNameW == nullptr ||
      !ReadListing(data->ArcNameW, &archive->members)) {
    delete archive;
    data->OpenResult = unrar::kBadArchive;
    return nullptr;
  }
  data->OpenResult = 0;
  return archive;
}

__declspec(dllexport) int RAR_CALL RARCloseArchive(HANDLE handle) {
  delete static_cast<Archive*>(handle);
  return 0;
}

__declspec(dllexport) int RAR_CALL RARReadHeaderEx(HANDLE handle, unrar::HeaderDataEx* header) {
  auto* archive = static_cast<Archive*>(handle);
  if (archive->next >= archive->members.size()) return unrar::kEndOfArchive;
  const Member& member = archive->members[archive->next];
  std::memset(header->FileName, 0, sizeof header->FileName);
  std::memset(header->FileNameW, 0, sizeof header->FileNameW);
  std::strncpy(header->FileName, member.name.c_str(), sizeof header->FileName - 1);
  header->Flags = static_cast<unsigned>(member.flags);
  header->PackSize = static_cast<unsigned>(member.packed);
  header->PackSizeHigh = static_cast<unsigned>(member.packed >> 32);
  header->UnpSize = static_cast<unsigned>(member.unpacked);
  header->UnpSizeHigh = static_cast<unsigned>(member.unpacked >> 32);
  header->FileTime = static_cast<unsigned>(member.time);
  header->FileAttr = static_cast<unsigned>(member.attributes);
  return 0;
}

__declspec(dllexport) int RAR_CALL RARProcessFile(HANDLE handle, int operation, char*, char*) {
  auto* archive = static_cast<Archive*>(handle);
  if (operation != unrar::kSkip || archive->next >= archive->members.size()) return unrar::kEndOfArchive;
  ++archive->next;
  return 0;
}

}  // extern "C"
