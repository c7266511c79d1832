// The OS layer over Win32.
#include <windows.h>

#include "os_internal.h"
#include "platform/os/win32.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace os {
namespace {

HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

FILETIME ToFiletime(FileTime t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return ft;
}

bool SetHandleTimes(HANDLE h, const FileTime* creation, const FileTime* access, const FileTime* write) {
  creation = SettableTime(creation);
  access = SettableTime(access);
  write = SettableTime(write);
  FILETIME c, a, w;
  if (creation) c = ToFiletime(*creation);
  if (access) a = ToFiletime(*access);
  if (write) w = ToFiletime(*write);
  return ::SetFileTime(h, creation ? &c : nullptr, access ? &a : nullptr, write ? &w : nullptr) != FALSE;
}

bool OpenHandle(intptr_t* handle, const std::u16string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = ::CreateFileW(Wide(SystemPath(path)), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  *handle = reinterpret_cast<intptr_t>(h);
  return true;
}

bool HandleIdentity(HANDLE h, FileIdentity* out) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(h, &info)) return false;
  *out = FileIdentity{info.dwVolumeSerialNumber, uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
  return true;
}

}  // namespace

std::u16string SystemPath(const std::u16string& path) {
  constexpr size_t kShortestLong = MAX_PATH - 12;
  if (path.size() < kShortestLong || path.rfind(u"\\\\?\\", 0) == 0 || path.rfind(u"\\\\.\\", 0) == 0) return path;
  const DWORD needed = ::GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::u16string full(needed, u'\0');
  const DWORD got = ::GetFullPathNameW(Wide(path), needed, reinterpret_cast<wchar_t*>(&full[0]), nullptr);
  if (got == 0 || got >= needed) return path;
  full.resize(got);
  if (full.rfind(u"\\\\", 0) == 0) return u"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == u':' && full[2] == u'\\') return u"\\\\?\\" + full;
  return path;
}

namespace {

std::u16string FromWindowsCodePage(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0) {
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                          reinterpret_cast<wchar_t*>(&out[0]), n);
  }
  return out;
}

}  // namespace

std::u16string FromCodePage(std::string_view text) { return FromWindowsCodePage(CP_ACP, text); }

std::u16string FromOemCodePage(std::string_view text) { return FromWindowsCodePage(CP_OEMCP, text); }

std::u16string FromCodePage(std::string_view text, uint32_t codePage) {
  std::u16string out = FromWindowsCodePage(codePage, text);
  return out.empty() ? FromCodePage(text) : out;
}

uint32_t OemCodePage() { return ::GetOEMCP(); }

bool IsLeadByte(uint8_t byte, uint32_t codePage) { return ::IsDBCSLeadByteEx(codePage, byte) != FALSE; }

bool DecodeCodePage(std::string_view bytes, uint32_t codePage, std::u16string* out) {
  out->clear();
  if (bytes.empty()) return true;
  const auto size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (n > 0) {
    out->resize(static_cast<size_t>(n));
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, reinterpret_cast<wchar_t*>(&(*out)[0]),
                          n);
    return true;
  }
  // Character by character, so that what stands for nothing is U+FFFD (the system's own stand-in may be a '?',
  // which no file name holds) and the rest keeps its characters.
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = IsLeadByte(static_cast<uint8_t>(bytes[i]), codePage) && i + 1 < bytes.size() ? 2 : 1;
    wchar_t c[2] = {};
    const int got = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data() + i, static_cast<int>(length),
                                          c, 2);
    if (got == 1) {
      out->push_back(static_cast<char16_t>(c[0]));
    } else {
      out->push_back(u'\uFFFD');
    }
    i += length;
  }
  return false;
}

bool File::OpenRead(const std::u16string& path, Share share) {
  Close();
  const DWORD mode = share == Share::Read ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  return OpenHandle(&handle_, path, GENERIC_READ, mode, OPEN_EXISTING);
}

bool File::OpenWrite(const std::u16string& path) {
  Close();
  return OpenHandle(&handle_, path, GENERIC_WRITE, 0, CREATE_ALWAYS);
}

bool File::OpenNew(const std::u16string& path) {
  Close();
  return OpenHandle(&handle_, path, GENERIC_WRITE, 0, CREATE_NEW);
}

bool File::Read(void* buffer, uint32_t length, uint32_t* got) {
  *got = 0;
  if (!IsOpen()) return false;
  DWORD n = 0;
  const BOOL ok = ::ReadFile(H(handle_), buffer, length, &n, nullptr);
  *got = n;
  return ok != FALSE;
}

bool File::Write(const void* buffer, uint32_t length) {
  if (!IsOpen()) return false;
  DWORD n = 0;
  return ::WriteFile(H(handle_), buffer, length, &n, nullptr) && n == length;
}

bool File::Seek(int64_t offset, Origin origin, uint64_t* position) {
  if (!IsOpen()) return false;
  const DWORD method = origin == Origin::Begin ? FILE_BEGIN : origin == Origin::Current ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance, at;
  distance.QuadPart = offset;
  if (!::SetFilePointerEx(H(handle_), distance, &at, method)) return false;
  if (position) *position = static_cast<uint64_t>(at.QuadPart);
  return true;
}

bool File::Size(uint64_t* size) const {
  LARGE_INTEGER s;
  if (!IsOpen() || !::GetFileSizeEx(H(handle_), &s)) return false;
  *size = static_cast<uint64_t>(s.QuadPart);
  return true;
}

bool File::IsDiskFile() const { return IsOpen() && ::GetFileType(H(handle_)) == FILE_TYPE_DISK; }

bool File::SetTimes(const FileTime* creation, const FileTime* access, const FileTime* write) {
  return IsOpen() && SetHandleTimes(H(handle_), creation, access, write);
}

bool File::Identity(FileIdentity* out) const { return IsOpen() && HandleIdentity(H(handle_), out); }

bool File::Close() {
  if (!IsOpen()) return false;
  const BOOL ok = ::CloseHandle(H(handle_));
  handle_ = kClosed;
  return ok != FALSE;
}

bool IdentityOf(const std::u16string& path, FileIdentity* out) {
  // No access asked: only the file's information is read; folders open with backup semantics.
  HANDLE h = ::CreateFileW(Wide(SystemPath(path)), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool known = HandleIdentity(h, out);
  ::CloseHandle(h);
  return known;
}

bool FileExists(const std::u16string& path) {
  return ::GetFileAttributesW(Wide(SystemPath(path))) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::u16string& path) {
  const DWORD a = ::GetFileAttributesW(Wide(SystemPath(path)));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(const std::u16string& path) { return ::CreateDirectoryW(Wide(SystemPath(path)), nullptr) != FALSE; }
bool RemoveFolder(const std::u16string& path) { return ::RemoveDirectoryW(Wide(SystemPath(path))) != FALSE; }
bool RemoveFile(const std::u16string& path) { return ::DeleteFileW(Wide(SystemPath(path))) != FALSE; }

bool RenameOver(const std::u16string& from, const std::u16string& to) {
  return ::MoveFileExW(Wide(SystemPath(from)), Wide(SystemPath(to)), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

bool SetFileAttributeBits(const std::u16string& path, uint32_t attributes) {
  DWORD kept = attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive);
  if (kept == 0) kept = FILE_ATTRIBUTE_NORMAL;  // valid only alone
  return ::SetFileAttributesW(Wide(SystemPath(path)), kept) != FALSE;
}

std::u16string TempFolderPath() {
  wchar_t buffer[MAX_PATH + 2];
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH + 1) return u"C:\\";
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
}

char16_t PathSeparator() { return u'\\'; }

bool FileTimeToLocalFileTime(FileTime utc, FileTime* local) {
  const FILETIME in = ToFiletime(utc);
  FILETIME out;
  if (!::FileTimeToLocalFileTime(&in, &out)) return false;
  *local = (static_cast<FileTime>(out.dwHighDateTime) << 32) | out.dwLowDateTime;
  return true;
}

bool LocalFileTimeToFileTime(FileTime local, FileTime* utc) {
  const FILETIME in = ToFiletime(local);
  FILETIME out;
  if (!::LocalFileTimeToFileTime(&in, &out)) return false;
  *utc = (static_cast<FileTime>(out.dwHighDateTime) << 32) | out.dwLowDateTime;
  return true;
}

bool SetFileTimes(const std::u16string& path, const FileTime* creation, const FileTime* access,
                  const FileTime* write) {
  HANDLE h = ::CreateFileW(Wide(SystemPath(path)), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetHandleTimes(h, creation, access, write);
  ::CloseHandle(h);
  return ok;
}

bool OpenSystemVolume(File& file, const std::u16string& volumePath) {
  return file.OpenRead(volumePath, Share::ReadWrite);
}

DriveKind SystemDriveKind(char16_t letter) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
  switch (::GetDriveTypeW(root)) {
    case DRIVE_NO_ROOT_DIR: return DriveKind::NoSuchDrive;
    case DRIVE_REMOVABLE: return DriveKind::Removable;
    case DRIVE_FIXED: return DriveKind::Fixed;
    case DRIVE_REMOTE: return DriveKind::Remote;
    case DRIVE_CDROM: return DriveKind::CdRom;
    case DRIVE_RAMDISK: return DriveKind::RamDisk;
    default: return DriveKind::Unknown;
  }
}

void SleepMs(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint32_t ProcessId() { return ::GetCurrentProcessId(); }

}  // namespace os
