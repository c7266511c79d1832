#include "platform/os/os.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

std::u16string TestPath(const char16_t* name) { return os::TempFolderPath() + u"dorvane_os_test_" + name; }

TEST(OsText, Utf8RoundTripsEveryPlane) {
  const std::u16string text = u"abc \u00e9\u00df \u4e2d\u6587 \U0001F600 end";
  EXPECT_EQ(os::ToUtf8(text), "abc \xc3\xa9\xc3\x9f \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80 end");
  EXPECT_EQ(os::FromUtf8(os::ToUtf8(text)), text);
}

TEST(OsText, BadUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(os::FromUtf8("a\xff" "b"), u"a\uFFFDb");
  EXPECT_EQ(os::FromUtf8("\xc3"), u"\uFFFD");             // truncated sequence at the end
  EXPECT_EQ(os::FromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");   // overlong form of '/'
  EXPECT_EQ(os::FromUtf8("\xed\xa0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(os::ToUtf8(std::u16string(1, u'\xD800')), "\xef\xbf\xbd");  // lone surrogate
}

TEST(OsText, CodePageKeepsAsciiAndLatin) {
  EXPECT_EQ(os::FromCodePage("Name.txt"), u"Name.txt");
  EXPECT_EQ(os::FromCodePage("\xe9"), u"\u00e9");
  EXPECT_EQ(os::FromCodePage("\x80"), u"\u20ac");
  EXPECT_EQ(os::FromOemCodePage("Caf\x82 \xab\xe1\xff"), u"Caf\u00e9 \u00bd\u00df\u00a0");  // 437
}

TEST(OsText, DecimalDigitsOfTheWholeRange) {
  EXPECT_EQ(os::Decimal(0), u"0");
  EXPECT_EQ(os::Decimal(UINT64_MAX), u"18446744073709551615");
  EXPECT_EQ(os::SignedDecimal(-42), u"-42");
  EXPECT_EQ(os::SignedDecimal(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(os::SignedDecimal(INT64_MAX), u"9223372036854775807");
}

TEST(OsText, FileTypeKeyIsTheTextFromTheLastDotOfTheName) {
  const struct {
    const char16_t* name;
    const char16_t* key;
  } cases[] = {{u"a.TXT", u".txt"}, {u"a.b.JpG", u".jpg"}, {u"noext", u""}, {u"end.", u"."}, {u".hidden", u".hidden"},
               {u"a.b c", u".b c"}, {u"dir.d\\file", u""}, {u"dir.d/file", u""}, {u"dir\\f.Ä", u".Ä"}, {u"", u""}};
  for (const auto& c : cases) EXPECT_EQ(os::FileTypeKey(c.name), c.key) << os::ToUtf8(c.name);
}

TEST(OsTime, FileTimeAndSystemTimeAgree) {
  struct Case { os::FileTime ft; uint16_t y, mo, dow, d, h, mi, s, ms; };
  const Case cases[] = {
      {0, 1601, 1, 1, 1, 0, 0, 0, 0},
      {116444736000000000ull, 1970, 1, 4, 1, 0, 0, 0, 0},
      {125911584000000000ull, 2000, 1, 6, 1, 0, 0, 0, 0},
      {125962560000000000ull, 2000, 2, 2, 29, 0, 0, 0, 0},            // leap day of a /400 year
      {132223104123450000ull, 2020, 1, 3, 1, 0, 0, 12, 345},
      {0x7FFFFFFFFFFFFFFFull, 30828, 9, 4, 14, 2, 48, 5, 477},        // the last convertible tick
  };
  for (const Case& c : cases) {
    os::SystemTime st;
    ASSERT_TRUE(os::FileTimeToSystemTime(c.ft, &st)) << c.ft;
    EXPECT_EQ(st.year, c.y) << c.ft;
    EXPECT_EQ(st.month, c.mo) << c.ft;
    EXPECT_EQ(st.dayOfWeek, c.dow) << c.ft;
    EXPECT_EQ(st.day, c.d) << c.ft;
    EXPECT_EQ(st.hour, c.h) << c.ft;
    EXPECT_EQ(st.minute, c.mi) << c.ft;
    EXPECT_EQ(st.second, c.s) << c.ft;
    EXPECT_EQ(st.milliseconds, c.ms) << c.ft;
    os::FileTime back = 1;
    if (c.y <= 30827) {
      ASSERT_TRUE(os::SystemTimeToFileTime(st, &back));
      EXPECT_EQ(back, c.ft - c.ft % 10000);
    }
  }
}

TEST(OsTime, ConversionsFailOutsideWindowsRanges) {
  os::SystemTime st;
  EXPECT_FALSE(os::FileTimeToSystemTime(0x8000000000000000ull, &st));
  const os::SystemTime good{2001, 2, 0, 28, 23, 59, 59, 999};
  os::FileTime ft = 0;
  EXPECT_TRUE(os::SystemTimeToFileTime(good, &ft));
  auto with = [&](auto change) {
    os::SystemTime t = good;
    change(t);
    return os::SystemTimeToFileTime(t, &ft);
  };
  EXPECT_FALSE(with([](os::SystemTime& t) { t.day = 29; }));           // 2001 is no leap year
  EXPECT_FALSE(with([](os::SystemTime& t) { t.year = 1600; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.year = 30828; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.month = 0; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.month = 13; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.day = 0; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.hour = 24; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.minute = 60; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.second = 60; }));
  EXPECT_FALSE(with([](os::SystemTime& t) { t.milliseconds = 1000; }));
  EXPECT_TRUE(with([](os::SystemTime& t) { t.dayOfWeek = 77; }));       // ignored, as Windows does
}

TEST(OsFile, WriteReadSeekAndSize) {
  const std::u16string path = TestPath(u"file.bin");
  std::vector<uint8_t> data(70000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  {
    os::File out;
    ASSERT_TRUE(out.OpenWrite(path));
    ASSERT_TRUE(out.Write(data.data(), static_cast<uint32_t>(data.size())));
    ASSERT_TRUE(out.Close());
    EXPECT_FALSE(out.Close());  // nothing left to close
  }
  ASSERT_TRUE(os::FileExists(path));
  os::File in;
  ASSERT_TRUE(in.OpenRead(path, os::Share::ReadWrite));
  uint64_t size = 0;
  ASSERT_TRUE(in.Size(&size));
  EXPECT_EQ(size, data.size());
  uint64_t at = 0;
  ASSERT_TRUE(in.Seek(-100, os::Origin::End, &at));
  EXPECT_EQ(at, data.size() - 100);
  uint8_t buffer[300];
  uint32_t got = 0;
  ASSERT_TRUE(in.Read(buffer, sizeof buffer, &got));
  EXPECT_EQ(got, 100u);  // a short read at the end of the file still succeeds
  EXPECT_EQ(buffer[0], data[data.size() - 100]);
  ASSERT_TRUE(in.Seek(1000, os::Origin::Begin));
  ASSERT_TRUE(in.Seek(-10, os::Origin::Current, &at));
  EXPECT_EQ(at, 990u);
  ASSERT_TRUE(in.Read(buffer, 4, &got));
  EXPECT_EQ(buffer[3], data[993]);
  // Far beyond 4 GiB: positioning alone works and reads nothing.
  ASSERT_TRUE(in.Seek(int64_t{5} << 32, os::Origin::Begin, &at));
  EXPECT_EQ(at, uint64_t{5} << 32);
  ASSERT_TRUE(in.Read(buffer, 4, &got));
  EXPECT_EQ(got, 0u);
  in.Close();
  // OpenNew makes a file only where nothing is: the file, and a folder, stay as they are.
  os::File fresh;
  EXPECT_FALSE(fresh.OpenNew(path));
  std::u16string folder = os::TempFolderPath();
  folder.pop_back();  // its separator
  EXPECT_FALSE(fresh.OpenNew(folder));
  ASSERT_TRUE(in.OpenRead(path));
  ASSERT_TRUE(in.Size(&size));
  EXPECT_EQ(size, data.size());
  in.Close();
  EXPECT_TRUE(os::RemoveFile(path));
  EXPECT_FALSE(os::FileExists(path));
  EXPECT_FALSE(in.OpenRead(path));
  ASSERT_TRUE(fresh.OpenNew(path));
  EXPECT_TRUE(fresh.Close());
  EXPECT_TRUE(os::RemoveFile(path));
}

TEST(OsFile, FoldersAndFileTimes) {
  const std::u16string folder = TestPath(u"folder");
  os::RemoveFolder(folder);
  ASSERT_TRUE(os::CreateFolder(folder));
  EXPECT_TRUE(os::IsFolder(folder));
  EXPECT_FALSE(os::CreateFolder(folder));
  const std::u16string file = folder + u"\\times.txt";
  os::File out;
  ASSERT_TRUE(out.OpenWrite(file));
  ASSERT_TRUE(out.Close());
  EXPECT_FALSE(os::IsFolder(file));
  const os::FileTime t = 132223104000000000ull;  // 2020-01-01
  EXPECT_TRUE(os::SetFileTimes(file, &t, &t, &t));
  EXPECT_TRUE(os::SetFileTimes(file, nullptr, nullptr, &t));
  EXPECT_FALSE(os::RemoveFolder(folder));  // not empty
  EXPECT_TRUE(os::RemoveFile(file));
  EXPECT_TRUE(os::RemoveFolder(folder));
}

// The last-write time the system keeps for a file, to the second.
os::FileTime StoredWriteTime(const std::u16string& path) {
  constexpr uint64_t kTicksPerSecond = 10000000;
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(reinterpret_cast<LPCWSTR>(path.c_str()), GetFileExInfoStandard, &data)) return 0;
  const uint64_t ticks = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime;
  return ticks / kTicksPerSecond * kTicksPerSecond;
#else
  struct stat st {};
  if (::stat(os::ToUtf8(path).c_str(), &st) != 0) return 0;
  return (static_cast<uint64_t>(st.st_mtime) + 11644473600ull) * kTicksPerSecond;
#endif
}

TEST(OsFile, AnOpenFileTakesItsTimesAndKnowsItIsOnADisk) {
  const std::u16string file = TestPath(u"open-times.txt");
  os::File out;
  ASSERT_TRUE(out.OpenWrite(file));
  ASSERT_TRUE(out.Write("abc", 3));
  const os::FileTime t = 132223104000000000ull;  // 2020-01-01
  EXPECT_TRUE(out.SetTimes(&t, &t, &t));
  EXPECT_TRUE(out.IsDiskFile());
  ASSERT_TRUE(out.Close());
  EXPECT_FALSE(out.IsDiskFile());
  EXPECT_EQ(StoredWriteTime(file), t);
  EXPECT_FALSE(out.SetTimes(&t, &t, &t));  // closed
  // A time never set (0) and one no system converts leave the file's own: no 1601 nor 1970, and the times
  // beside them are still set.
  const os::FileTime never = 0, beyond = 0x8000000000000000ull, later = t + 86400ull * 10000000ull;
  EXPECT_TRUE(os::SetFileTimes(file, &never, &never, &never));
  EXPECT_EQ(StoredWriteTime(file), t);
  EXPECT_TRUE(os::SetFileTimes(file, &beyond, &beyond, &beyond));
  EXPECT_EQ(StoredWriteTime(file), t);
  EXPECT_TRUE(os::SetFileTimes(file, &never, &beyond, &later));
  EXPECT_EQ(StoredWriteTime(file), later);
  EXPECT_TRUE(os::RemoveFile(file));
#ifndef _WIN32
  os::File device;
  ASSERT_TRUE(device.OpenRead(u"/dev/null"));
  EXPECT_FALSE(device.IsDiskFile());
#endif
}

// The attribute bits the system keeps for a file: Windows' own, or read-only alone from the POSIX mode.
uint32_t StoredAttributes(const std::u16string& path) {
#ifdef _WIN32
  return ::GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.c_str()));
#else
  struct stat st {};
  if (::stat(os::ToUtf8(path).c_str(), &st) != 0) return 0xFFFFFFFF;
  return (st.st_mode & 0222) == 0 ? os::kAttributeReadOnly : 0;
#endif
}

TEST(OsFile, AttributeBits) {
  const std::u16string file = TestPath(u"attributes.txt");
  os::File out;
  ASSERT_TRUE(out.OpenWrite(file));
  ASSERT_TRUE(out.Close());
#ifndef _WIN32
  struct stat st {};
  ASSERT_EQ(::stat(os::ToUtf8(file).c_str(), &st), 0);
  const mode_t created = st.st_mode & 0777;
#endif
  // A folder's and a compressed file's bits are not ours to set: only the four are taken.
  ASSERT_TRUE(os::SetFileAttributeBits(file, 0x10 | 0x800 | os::kAttributeReadOnly | os::kAttributeArchive));
  const uint32_t locked = StoredAttributes(file);
  EXPECT_EQ(locked & (0x10 | 0x800 | os::kAttributeReadOnly), uint32_t{os::kAttributeReadOnly});
#ifdef _WIN32
  EXPECT_EQ(locked & os::kAttributeArchive, uint32_t{os::kAttributeArchive});
#else
  ASSERT_EQ(::stat(os::ToUtf8(file).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, created & ~0222u);  // every write permission gone, the read ones kept
#endif
  ASSERT_TRUE(os::SetFileAttributeBits(file, 0));
  EXPECT_EQ(StoredAttributes(file) & os::kAttributeReadOnly, 0u);
  EXPECT_TRUE(os::RemoveFile(file));
  EXPECT_FALSE(os::SetFileAttributeBits(file, os::kAttributeReadOnly));
}

TEST(OsVolume, TestHookMapsVolumePathToFile) {
  const std::u16string file = TestPath(u"volume.img");
  os::File out;
  ASSERT_TRUE(out.OpenWrite(file));
  const char sector[] = "VOLUME";
  ASSERT_TRUE(out.Write(sector, sizeof sector));
  out.Close();
  os::MapVolumeForTesting(u"\\\\.\\Q:", file);
  os::File volume;
  ASSERT_TRUE(os::OpenVolume(volume, u"\\\\.\\Q:"));
  char buffer[8] = {};
  uint32_t got = 0;
  ASSERT_TRUE(volume.Read(buffer, sizeof sector, &got));
  EXPECT_STREQ(buffer, "VOLUME");
  volume.Close();
  os::MapVolumeForTesting(u"\\\\.\\Q:", u"");
  EXPECT_FALSE(os::OpenVolume(volume, u"\\\\.\\Q:"));
  os::RemoveFile(file);
}

TEST(OsVolumes, ADriveLetterHasTheKindTheSystemOrATestGivesIt) {
  // This machine's own drive (POSIX has no letters: each is a fixed drive), then a fake for each kind.
  EXPECT_EQ(os::KindOfDrive(u'C'), os::DriveKind::Fixed);
  EXPECT_EQ(os::KindOfDrive(u'1'), os::DriveKind::NoSuchDrive);
  os::SetDriveKindForTesting(u's', os::DriveKind::Remote);
  EXPECT_EQ(os::KindOfDrive(u'S'), os::DriveKind::Remote);
  EXPECT_EQ(os::KindOfDrive(u's'), os::DriveKind::Remote);
  os::SetDriveKindForTesting(u'C', os::DriveKind::CdRom);
  EXPECT_EQ(os::KindOfDrive(u'c'), os::DriveKind::CdRom);
  os::ForgetDriveKindsForTesting();
  EXPECT_EQ(os::KindOfDrive(u'C'), os::DriveKind::Fixed);
}

}  // namespace

#ifdef _WIN32
#include <random>

namespace {

// Under Wine the system's own conversions are at hand: ours must agree with them on any value.
TEST(OsTimeWin32, AgreesWithTheSystem) {
  std::mt19937_64 random(42);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t value = i < 10000 ? random() : random() % 0x0400000000000000ull;
    FILETIME ft{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    SYSTEMTIME sys{};
    os::SystemTime ours;
    const bool theirs = ::FileTimeToSystemTime(&ft, &sys) != FALSE;
    ASSERT_EQ(os::FileTimeToSystemTime(value, &ours), theirs) << value;
    if (!theirs) continue;
    ASSERT_EQ(ours.year, sys.wYear) << value;
    ASSERT_EQ(ours.month, sys.wMonth) << value;
    ASSERT_EQ(ours.dayOfWeek, sys.wDayOfWeek) << value;
    ASSERT_EQ(ours.day, sys.wDay) << value;
    ASSERT_EQ(ours.hour, sys.wHour) << value;
    ASSERT_EQ(ours.minute, sys.wMinute) << value;
    ASSERT_EQ(ours.second, sys.wSecond) << value;
    ASSERT_EQ(ours.milliseconds, sys.wMilliseconds) << value;
  }
}

}  // namespace
#endif
