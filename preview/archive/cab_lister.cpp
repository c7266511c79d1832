#include "preview/archive/cab_lister.h"

#include <windows.h>
#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/os/library_win32.h"
#include "platform/os/os.h"
#include "platform/os/win32.h"
#include "preview/archive/archive_text.h"
#include "preview/archive/cab_directory.h"
#include "preview/archive/archive_time.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

constexpr unsigned kNameIsUtf8 = 0x80;   // the attribute bit that marks a UTF-8 member name
constexpr size_t kLongestPath = 32767;
constexpr size_t kLongestMemberName = 256;

using CreateFn = HFDI(DIAMONDAPI*)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
using CopyFn = BOOL(DIAMONDAPI*)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
using IsCabinetFn = BOOL(DIAMONDAPI*)(HFDI, INT_PTR, PFDICABINETINFO);
using DestroyFn = BOOL(DIAMONDAPI*)(HFDI);

FNALLOC(CabAlloc) { return ::operator new(cb, std::nothrow); }
FNFREE(CabFree) { ::operator delete(pv); }
// FDI hands back the name we gave it, UTF-8, so that the wide path reaches the system whole.
FNOPEN(CabOpen) {
  const size_t length = ::strnlen(pszFile, kLongestPath * 3);
  const std::u16string path = archive::ArchiveTextToWide(pszFile, length, archive::NameCoding::kUtf8, kLongestPath);
  return _wopen(reinterpret_cast<const wchar_t*>(path.c_str()), oflag | _O_BINARY, pmode);
}
FNREAD(CabRead) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }
FNWRITE(CabWrite) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }
FNCLOSE(CabClose) { return _close(static_cast<int>(hf)); }
FNSEEK(CabSeek) { return _lseek(static_cast<int>(hf), dist, seektype); }

void AddCabEntry(std::vector<archive::CabEntry>* entries, const FDINOTIFICATION& note) {
  archive::CabEntry entry;
  const archive::NameCoding coding =
      (note.attribs & kNameIsUtf8) != 0 ? archive::NameCoding::kUtf8 : archive::NameCoding::kCodePage;
  const std::u16string path = archive::ArchiveTextToWide(note.psz1, ::strnlen(note.psz1, kLongestMemberName), coding);
  archive::SplitCabPath(path, &entry.name, &entry.folder);
  entry.size = static_cast<uint32_t>(note.cb);
  entry.time = archive::DosDateTimeToFileTime(note.date, note.time);
  entry.attributes = note.attribs;
  entries->push_back(entry);  // turned round once the cabinet is read: inserting in front is quadratic
}

FNFDINOTIFY(CabNotify) {
  if (fdint == fdintCOPY_FILE && pfdin != nullptr && pfdin->psz1 != nullptr) {
    AddCabEntry(static_cast<std::vector<archive::CabEntry>*>(pfdin->pv), *pfdin);
  }
  return 0;  // skip the member
}

bool Finish(CabLister* lister, DestroyFn destroy, bool result) {
  if (lister->context != nullptr && destroy != nullptr && destroy(lister->context)) lister->context = nullptr;
  if (lister->module != nullptr) ::FreeLibrary(lister->module);
  lister->module = nullptr;
  return result;
}

}  // namespace

bool ListCabinet(const std::u16string& path, std::vector<archive::CabEntry>* entries, CabLister* lister) {
  entries->clear();
  lister->module = os::LoadProgramOrSystemLibrary(L"Cabinet.dll");
  const auto create = lister->module ? os::LibraryEntry<CreateFn>(lister->module, "FDICreate") : nullptr;
  const auto copy = lister->module ? os::LibraryEntry<CopyFn>(lister->module, "FDICopy") : nullptr;
  const auto isCabinet = lister->module ? os::LibraryEntry<IsCabinetFn>(lister->module, "FDIIsCabinet") : nullptr;
  const auto destroy = lister->module ? os::LibraryEntry<DestroyFn>(lister->module, "FDIDestroy") : nullptr;
  if (create == nullptr || copy == nullptr || isCabinet == nullptr || destroy == nullptr) {
    lister->errorOperation = kCabMissingEntryPoint;
    lister->errorFlag = 1;
    return Finish(lister, nullptr, false);
  }
  ERF error{};
  lister->context = create(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpu80386, &error);
  if (lister->context == nullptr || path.empty()) return Finish(lister, destroy, false);
  // The cabinet's name after the last "\", its folder up to and including it.
  const size_t slash = path.rfind(u'\\');
  std::string name = os::ToUtf8(slash == std::u16string::npos ? path : path.substr(slash + 1));
  std::string folder = os::ToUtf8(slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1));
  const BOOL copied = copy(lister->context, &name[0], &folder[0], 0, CabNotify, nullptr, entries);
  lister->errorOperation = error.erfOper;
  lister->errorType = error.erfType;
  lister->errorFlag = error.fError;
  bool listed = copied != FALSE;
  if (!listed) {
    // Damaged part-way: the members the cabinet's own table still names, as far as it reads.
    // Whichever names more: the table read here, or what the library notified before it stopped.
    archive::CabDirectory own = archive::ReadCabinetDirectory(path);
    if (own.entries.size() < entries->size()) own.entries = std::move(*entries);
    *entries = std::move(own.entries);
    listed = !entries->empty();
    lister->damaged = listed;
    lister->claimed = std::max<uint32_t>(own.claimed, static_cast<uint32_t>(entries->size()));
  }
  std::reverse(entries->begin(), entries->end());
  return Finish(lister, destroy, listed);
}
