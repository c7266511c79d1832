// The OS layer over POSIX. Portable code writes paths with '\\'; they become '/' here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "os_internal.h"
#include "platform/os/oem_code_pages.h"

namespace os {
namespace {

std::string NativePath(const std::u16string& path) {
  std::string out = ToUtf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

int Fd(intptr_t handle) { return static_cast<int>(handle); }

// FILETIME ticks to a timespec; times before 1970 are clamped to the epoch.
timespec ToTimespec(FileTime t) {
  constexpr uint64_t kEpochDelta = 116444736000000000ull;  // 1601 to 1970 in 100 ns
  timespec ts{};
  if (t > kEpochDelta) {
    const uint64_t since = t - kEpochDelta;
    ts.tv_sec = static_cast<time_t>(since / 10000000ull);
    ts.tv_nsec = static_cast<long>(since % 10000000ull * 100);
  }
  return ts;
}

// POSIX keeps no creation time; access and write are set, UTIME_OMIT leaving a missing one alone.
struct TimePair {
  TimePair(const FileTime* access, const FileTime* write) {
    access = SettableTime(access);
    write = SettableTime(write);
    times[0] = access ? ToTimespec(*access) : timespec{0, UTIME_OMIT};
    times[1] = write ? ToTimespec(*write) : timespec{0, UTIME_OMIT};
  }
  timespec times[2];
};

// Windows-1252, the 8-bit code page this program's Windows users most often have; 0x80..0x9F differ
// from Latin-1.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Opens path for writing, made as creation says (O_TRUNC: made or emptied; O_EXCL: made only where nothing is).
bool OpenForWriting(intptr_t* handle, const std::u16string& path, int creation) {
  const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | creation | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  *handle = fd;
  return true;
}

}  // namespace

std::u16string FromCodePage(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char ch : text) {
    const uint8_t b = static_cast<uint8_t>(ch);
    out += b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  }
  return out;
}

std::u16string FromCodePage(std::string_view text, uint32_t codePage) {
  if (!IsTableCodePage(codePage)) return FromCodePage(text);
  std::u16string out;
  DecodeWithTable(text, codePage, &out);
  return out;
}

std::u16string FromOemCodePage(std::string_view text) { return FromCodePage(text, 437); }

namespace {

constexpr uint32_t kDosToolsCodePage = 850;

uint32_t TableCodePageOr850(unsigned long codePage) {
  return codePage <= UINT32_MAX && IsTableCodePage(static_cast<uint32_t>(codePage)) ? static_cast<uint32_t>(codePage)
                                                                                     : kDosToolsCodePage;
}

// Read once: the scans ask for it at every directory entry.
std::atomic<uint32_t>& ChosenOemCodePage() {
  static std::atomic<uint32_t> chosen{[] {
    const char* named = std::getenv("DORVANE_OEM_CODE_PAGE");
    char* end = nullptr;
    const unsigned long codePage = named != nullptr ? std::strtoul(named, &end, 10) : 0;
    return named != nullptr && end != named && *end == '\0' ? TableCodePageOr850(codePage) : kDosToolsCodePage;
  }()};
  return chosen;
}

}  // namespace

uint32_t OemCodePage() { return ChosenOemCodePage().load(std::memory_order_relaxed); }

void UseOemCodePage(uint32_t codePage) { ChosenOemCodePage() = TableCodePageOr850(codePage); }

bool IsLeadByte(uint8_t byte, uint32_t codePage) { return IsTableLeadByte(byte, codePage); }

bool DecodeCodePage(std::string_view bytes, uint32_t codePage, std::u16string* out) {
  return DecodeWithTable(bytes, codePage, out);
}

bool File::OpenRead(const std::u16string& path, Share) {
  Close();
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

bool File::OpenWrite(const std::u16string& path) {
  Close();
  return OpenForWriting(&handle_, path, O_TRUNC);
}

bool File::OpenNew(const std::u16string& path) {
  Close();
  return OpenForWriting(&handle_, path, O_EXCL);
}

bool File::Read(void* buffer, uint32_t length, uint32_t* got) {
  *got = 0;
  if (!IsOpen()) return false;
  auto* p = static_cast<uint8_t*>(buffer);
  while (*got < length) {
    const ssize_t n = ::read(Fd(handle_), p + *got, length - *got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    *got += static_cast<uint32_t>(n);
  }
  return true;
}

bool File::Write(const void* buffer, uint32_t length) {
  if (!IsOpen()) return false;
  const auto* p = static_cast<const uint8_t*>(buffer);
  uint32_t done = 0;
  while (done < length) {
    const ssize_t n = ::write(Fd(handle_), p + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<uint32_t>(n);
  }
  return true;
}

bool File::Seek(int64_t offset, Origin origin, uint64_t* position) {
  if (!IsOpen()) return false;
  const int whence = origin == Origin::Begin ? SEEK_SET : origin == Origin::Current ? SEEK_CUR : SEEK_END;
  const off_t at = ::lseek(Fd(handle_), static_cast<off_t>(offset), whence);
  if (at < 0) return false;
  if (position) *position = static_cast<uint64_t>(at);
  return true;
}

bool File::Size(uint64_t* size) const {
  struct stat st {};
  if (!IsOpen() || fstat(Fd(handle_), &st) != 0) return false;
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool File::IsDiskFile() const {
  struct stat st {};
  return IsOpen() && fstat(Fd(handle_), &st) == 0 && (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode));
}

bool File::SetTimes(const FileTime*, const FileTime* access, const FileTime* write) {
  const TimePair times(access, write);
  return IsOpen() && ::futimens(Fd(handle_), times.times) == 0;
}

bool File::Identity(FileIdentity* out) const {
  struct stat st {};
  if (!IsOpen() || fstat(Fd(handle_), &st) != 0) return false;
  *out = FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

bool File::Close() {
  if (!IsOpen()) return false;
  const int result = ::close(Fd(handle_));
  handle_ = kClosed;
  return result == 0;
}

bool IdentityOf(const std::u16string& path, FileIdentity* out) {
  struct stat st {};
  if (::stat(NativePath(path).c_str(), &st) != 0) return false;
  *out = FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

bool FileExists(const std::u16string& path) {
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0;
}

bool IsFolder(const std::u16string& path) {
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const std::u16string& path) { return ::mkdir(NativePath(path).c_str(), 0755) == 0; }
bool RemoveFolder(const std::u16string& path) { return ::rmdir(NativePath(path).c_str()) == 0; }
bool RemoveFile(const std::u16string& path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool RenameOver(const std::u16string& from, const std::u16string& to) {
  return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool SetFileAttributeBits(const std::u16string& path, uint32_t attributes) {
  const std::string native = NativePath(path);
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) return false;
  const mode_t write = S_IWUSR | S_IWGRP | S_IWOTH;
  const mode_t mode = (attributes & kAttributeReadOnly) != 0 ? st.st_mode & ~write : st.st_mode | S_IWUSR;
  return ::chmod(native.c_str(), mode & 07777) == 0;
}

std::u16string TempFolderPath() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  return FromUtf8(path);
}

char16_t PathSeparator() { return u'/'; }

bool SetFileTimes(const std::u16string& path, const FileTime*, const FileTime* access, const FileTime* write) {
  const TimePair times(access, write);
  return ::utimensat(AT_FDCWD, NativePath(path).c_str(), times.times, 0) == 0;
}

namespace {

constexpr int64_t kTicksPerSecond = 10000000, kSecondsTo1970 = 11644473600;

// The second of a file time broken down by convert (localtime_r or gmtime_r); false when it has none.
bool BrokenDownTime(FileTime time, tm* (*convert)(const time_t*, tm*), tm* parts) {
  if (time >> 63) return false;
  const time_t seconds = static_cast<time_t>(static_cast<int64_t>(time / kTicksPerSecond) - kSecondsTo1970);
  return convert(&seconds, parts) != nullptr;
}

}  // namespace

bool FileTimeToLocalFileTime(FileTime utc, FileTime* local) {
  tm parts{};
  if (!BrokenDownTime(utc, localtime_r, &parts)) return false;
  const int64_t shifted = static_cast<int64_t>(utc) + static_cast<int64_t>(parts.tm_gmtoff) * kTicksPerSecond;
  if (shifted < 0) return false;
  *local = static_cast<FileTime>(shifted);
  return true;
}

bool LocalFileTimeToFileTime(FileTime local, FileTime* utc) {
  tm parts{};
  if (!BrokenDownTime(local, gmtime_r, &parts)) return false;
  parts.tm_isdst = -1;  // the rule of the day, as the system knows it
  const time_t seconds = mktime(&parts);
  if (seconds == static_cast<time_t>(-1)) return false;
  const int64_t ticks = (static_cast<int64_t>(seconds) + kSecondsTo1970) * kTicksPerSecond +
                        static_cast<int64_t>(local % kTicksPerSecond);
  if (ticks < 0) return false;
  *utc = static_cast<FileTime>(ticks);
  return true;
}

bool OpenSystemVolume(File&, const std::u16string&) { return false; }

DriveKind SystemDriveKind(char16_t) { return DriveKind::Fixed; }

uint32_t ProcessId() { return static_cast<uint32_t>(::getpid()); }

void SleepMs(uint32_t milliseconds) {
  timespec ts{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

}  // namespace os
