// The portable operating-system layer: everything portable code needs of the system, with a POSIX and a
// Win32 implementation behind this one header. Paths and names are UTF-16 (char16_t).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace os {

// ---- text -------------------------------------------------------------------------------------------
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// From the system's 8-bit code page (Windows: the ANSI code page; elsewhere Windows-1252).
std::u16string FromCodePage(std::string_view text);
// From the system's OEM code page (Windows: its own, 437 on United States systems; elsewhere 437).
std::u16string FromOemCodePage(std::string_view text);
// From the Windows code page of that number (0: the system's 8-bit one), or the system's 8-bit code page
// where the system does not have it (elsewhere the code pages of oem_code_pages.h and 1252 are known).
std::u16string FromCodePage(std::string_view text, uint32_t codePage);
// The system's OEM code page, in which DOS and Windows write the short names of FAT entries. Windows: GetOEMCP.
// Elsewhere the code page that the environment's DORVANE_OEM_CODE_PAGE names when the process starts, among those
// oem_code_pages.h holds (how a test picks the system it stands for), else 850, the one the DOS tools of these
// systems write them in; or the one UseOemCodePage chose since.
uint32_t OemCodePage();
#ifndef _WIN32
// From now on OemCodePage reports codePage (850 for one the tables lack): a test stands for a system of that
// code page. Windows has its own.
void UseOemCodePage(uint32_t codePage);
#endif
// Whether byte begins a character of two bytes in codePage (none does in a code page of one byte a character).
bool IsLeadByte(uint8_t byte, uint32_t codePage);
// bytes read in codePage into *out, a lead byte and the byte after it one character (elsewhere than on Windows a
// code page oem_code_pages.h lacks reads as 850). False when a byte or a pair stands for no character there:
// each such one is U+FFFD in *out.
bool DecodeCodePage(std::string_view bytes, uint32_t codePage, std::u16string* out);
std::u16string FromAscii(std::string_view text);
// A-Z to a-z; every other character as it is.
inline char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
// A number in decimal digits.
std::u16string Decimal(uint64_t value);
// A number that may be negative in decimal digits, after a '-' when it is.
std::u16string SignedDecimal(int64_t value);
// What the shell goes by when it names or draws a file by its name alone: the text from its last "." (A-Z
// as a-z), empty without one; a "." before the last "\" or "/" belongs to a folder, not to the file.
std::u16string FileTypeKey(std::u16string_view name);

// ---- files ------------------------------------------------------------------------------------------
enum class Share { Read, ReadWrite };       // what others may do with the file while we hold it
enum class Origin { Begin, Current, End };

// A FILETIME: 100-nanosecond intervals since 1601-01-01 UTC.
using FileTime = uint64_t;

// What names one file or folder on its volume, however a path spells it: the system's own rules of case
// and of short names decide which paths name it. Two paths that name one file give equal identities.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& o) const { return volume == o.volume && index == o.index; }
};

class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file for reading only.
  bool OpenRead(const std::u16string& path, Share share = Share::Read);
  // Creates the file, or truncates an existing one, for writing.
  bool OpenWrite(const std::u16string& path);
  // Creates the file for writing only where nothing exists at path yet (no file, folder or link of that name):
  // false when something does, or when it cannot be made.
  bool OpenNew(const std::u16string& path);
  bool IsOpen() const { return handle_ != kClosed; }
  // Reads up to length bytes; *got receives how many came (fewer at the end of the file).
  bool Read(void* buffer, uint32_t length, uint32_t* got);
  bool Write(const void* buffer, uint32_t length);
  // Moves to offset from origin; *position (optional) receives the new position.
  bool Seek(int64_t offset, Origin origin, uint64_t* position = nullptr);
  bool Size(uint64_t* size) const;
  // A file on a disk (or a whole disk), not a device, pipe or socket.
  bool IsDiskFile() const;
  // Sets the creation, last-access and last-write times of the open file (a null pointer, a time of 0 and
  // one with its top bit set leave that time alone); the file must be open for writing.
  bool SetTimes(const FileTime* creation, const FileTime* access, const FileTime* write);
  // Closes the file; false when the system reported a failure (for writes: data may be lost).
  bool Close();
  // What names the open file on its volume (see FileIdentity).
  bool Identity(FileIdentity* out) const;

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

// False when path names no file or folder.
bool IdentityOf(const std::u16string& path, FileIdentity* out);

bool FileExists(const std::u16string& path);
bool IsFolder(const std::u16string& path);
bool CreateFolder(const std::u16string& path);
bool RemoveFolder(const std::u16string& path);
bool RemoveFile(const std::u16string& path);
// Puts the file from in place of the file to (which may not exist) in one step, so that to is always
// either the old file or the new one whole; false when it could not (both then stay as they were).
bool RenameOver(const std::u16string& from, const std::u16string& to);
// The temporary folder, ending with a path separator.
std::u16string TempFolderPath();
// A path in the temporary folder whose name holds stem and this process's number, so that processes
// running at the same time (tests in parallel) never share it.
std::u16string ProcessTempPath(std::u16string_view stem);
// The file attribute bits this layer sets, as Windows numbers them.
constexpr uint32_t kAttributeReadOnly = 0x01, kAttributeHidden = 0x02, kAttributeSystem = 0x04,
                   kAttributeArchive = 0x20;
// Gives a file the read-only, hidden, system and archive bits of attributes; other bits are ignored. POSIX
// keeps read-only alone: the file loses every write permission, or gets its owner's back.
bool SetFileAttributeBits(const std::u16string& path, uint32_t attributes);
// The separator of paths on this system ('\\' on Windows, '/' elsewhere). Portable code writes paths
// with '\\'; the POSIX layer turns them into '/' when it calls the system.
char16_t PathSeparator();

// ---- times ------------------------------------------------------------------------------------------
struct SystemTime {
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};
// Windows' rules: a FILETIME with its top bit set cannot be converted.
bool FileTimeToSystemTime(FileTime time, SystemTime* out);
// Windows' rules: every field must lie in its range (year 1601..30827, a real day of the month, ...);
// the day of the week is ignored.
bool SystemTimeToFileTime(const SystemTime& time, FileTime* out);
// The local wall clock of a UTC time, with the offset the system applies to it (false when it has none).
bool FileTimeToLocalFileTime(FileTime utc, FileTime* local);
// And back: the UTC time of a local wall clock (as FAT volumes keep their times).
bool LocalFileTimeToFileTime(FileTime local, FileTime* utc);
// Sets the creation, last-access and last-write times; a null pointer leaves that time alone, and so do a
// time of 0 (one its volume never set) and one with its top bit set (none the system converts).
bool SetFileTimes(const std::u16string& path, const FileTime* creation, const FileTime* access,
                  const FileTime* write);

// ---- volumes ----------------------------------------------------------------------------------------
// Opens a logical drive's volume path such as "\\.\E:" for reading (read and write sharing).
bool OpenVolume(File& file, const std::u16string& volumePath);
// Test hook: OpenVolume of volumePath opens file instead. An empty file removes the mapping.
void MapVolumeForTesting(const std::u16string& volumePath, const std::u16string& file);

// What a drive letter stands for, as the system reports it (Windows: GetDriveType).
enum class DriveKind { Unknown, NoSuchDrive, Removable, Fixed, Remote, CdRom, RamDisk };
// The kind of the drive of letter ("S" for "S:\", either case). POSIX has no drive letters: every one
// is Fixed there.
DriveKind KindOfDrive(char16_t letter);
// Test hook: KindOfDrive of letter (either case) reports kind, until ForgetDriveKindsForTesting.
void SetDriveKindForTesting(char16_t letter, DriveKind kind);
void ForgetDriveKindsForTesting();

// ---- process ----------------------------------------------------------------------------------------
void SleepMs(uint32_t milliseconds);
uint32_t ProcessId();

using OutOfMemoryHandler = void (*)(const std::u16string& message);
// Who tells the user that memory ran out (the host installs its message box here).
void SetOutOfMemoryHandler(OutOfMemoryHandler handler);
// Tells the user "Out of memory, close other applications and run again" and ends the process.
[[noreturn]] void OutOfMemory();

}  // namespace os
