// Where addresses take the program: a table of the forms pages, playlists and documents use.
#include "preview/address_reach.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/os/os.h"

namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

struct Case {
  const char16_t* address;
  bool shareOrDevice;
  bool outside;
};

const Case kCases[] = {
    // This machine's disks.
    {u"file://C:\\t\\page.html", false, false},
    {u"file:///C:/t/page.html", false, false},
    {u"FILE://\\C:\\t\\a.gif", false, false},
    {u"file:///t/rooted.html", false, false},
    {u"C:\\Users\\a\\song.wma", false, false},
    {u"relative/page.html", false, false},
    {u"console.html", false, false},
    {u"comics\\lpt.txt", false, false},
    {u"C:\\t\\COM10", false, false},
    {u"about:blank", false, false},
    {u"res://ieframe.dll/navcancl.htm", false, false},
    {u"res://C:\\t\\app.dll/page.htm", false, false},
    {u"", false, false},
    // Network shares, however they are spelt.
    {u"file:////host/share/x.html", true, true},
    {u"file://\\\\host\\share\\x.gif", true, true},
    {u"file://host/share/x.html", true, true},
    {u"file:\\\\host\\share\\x.gif", true, true},
    {u"file:/host/share/x.gif", true, true},
    {u"file:C:/odd.gif", true, true},
    {u"\\\\host\\share\\x.html", true, true},
    {u"//host/share/x.html", true, true},
    {u"  \\\\host\\share\\x.html", true, true},
    {u"\\\\?\\UNC\\host\\s\\x.gif", true, true},
    {u"file://\\??\\UNC\\host\\s\\x.gif", true, true},
    // Devices.
    {u"file://\\\\.\\pipe\\x", true, true},
    {u"\\\\.\\PhysicalDrive0", true, true},
    {u"file:///C:/t/CON", true, true},
    {u"file://C:\\t\\con.html", true, true},
    {u"C:\\t\\nul.txt", true, true},
    {u"lpt1", true, true},
    {u"COM3:", true, true},
    {u"c:aux .wav", true, true},
    {u"C:\\t\\CONIN$", true, true},
    {u"C:\\t\\com\u00B9.txt", true, true},
    // Network protocols.
    {u"http://example.com/a.html", false, true},
    {u"HTTPS://example.com/a.png", false, true},
    {u"ftp://example.com/a.zip", false, true},
    {u"mms://media.example.com/stream", false, true},
    {u"rtsp://media.example.com/stream", false, true},
    {u" http://example.com/", false, true},
    {u"mk:@MSITStore:C:\\t\\help.chm::/a.htm", false, true},
    {u"mailto:someone@example.com", false, true},
    {u"res://\\\\host\\share\\x.dll/a.htm", false, true},
    {u"res:////host/share/x.dll/a.htm", false, true},
    // Escaped forms are judged as the system reads them once it has undone the escapes.
    {u"file:///%5C%5Chost/share/x.gif", true, true},
    {u"file:///%5c%5chost/share/x.gif", true, true},
    {u"file:///%5C%5C%5Chost/share/x.gif", true, true},
    {u"file:///%2F%2Fhost/share/x.gif", true, true},
    {u"file:///%255C%255Chost/share/x.gif", true, true},
    {u"file:///%25255C%25255Chost/share/x.gif", true, true},
    {u"file:///%2525255C%2525255Chost/x.gif", true, true},  // escaped deeper than anything undoes
    {u"%5C%5Chost\\share\\x.html", true, true},
    {u"%20\\\\host\\share\\x.html", true, true},
    {u"file:///C:/t/%43ON", true, true},
    {u"file:///C:/t/con%2Ehtml", true, true},
    {u"file:///C:/t/nul%00.gif", true, true},
    {u"C:\\t\\com%B9.txt", true, true},
    {u"C:\\t\\com%C2%B9.txt", true, true},
    {u"file:///C:%5Ct%5Cpage.html", false, false},
    {u"file:///C:/t/a%20b%25.gif", false, false},
    {u"file:///C:/t/100%.gif", false, false},
    {u"page%2Ehtml", false, false},
    {u"http%3A//example.com/", false, true},
    // A "res:" address by the library it names.
    {u"res://%5C%5Chost%5Cshare%5Cx.dll/a.htm", false, true},
    {u"RES://%2f%2fhost/share/x.dll/a.htm", false, true},
    {u"Res://%2F/host\\share/x.dll/a.htm", false, true},
    {u"res://%255C%255Chost%255Cshare%255Cx.dll/a.htm", false, true},
    {u"res://c:\\t\\com1/a.htm", false, true},
    {u"res://c:\\t\\COM1.dll/a.htm", false, true},
    {u"res://c:/t/lpt2/23/a.htm", false, true},
    {u"res://c:\\t\\com%31/a.htm", false, true},
    {u"res://c:\\t\\aux/a.htm", false, true},
    {u"res://c:\\t\\nul", true, true},
    {u"res://c:\\t\\comics.dll/a.htm", false, false},
    {u"res://c:/t/app.dll/23/page.htm", false, false},
    {u"res://app.dll/%41.htm", false, false},
};

TEST(AddressReachTest, EachFormGoesWhereTheSystemWouldTakeIt) {
  for (const Case& c : kCases) {
    EXPECT_EQ(preview::NamesShareOrDevice(c.address), c.shareOrDevice) << Narrow(c.address);
    EXPECT_EQ(preview::ReachesOutside(c.address), c.outside) << Narrow(c.address);
  }
}

TEST(AddressReachTest, ADriveLetterIsJudgedByTheKindOfDriveItIs) {
  // S: mapped to a share, and the letters of this machine's own drives, in the forms pages use.
  const std::pair<os::DriveKind, bool> kinds[] = {
      {os::DriveKind::Remote, true},     {os::DriveKind::Unknown, true}, {os::DriveKind::Fixed, false},
      {os::DriveKind::Removable, false}, {os::DriveKind::CdRom, false},  {os::DriveKind::RamDisk, false},
      {os::DriveKind::NoSuchDrive, false},
  };
  for (const auto& [kind, outside] : kinds) {
    os::SetDriveKindForTesting(u'S', kind);
    for (const char16_t* address : {u"file:///S:/pictures/a.gif", u"file://s:\\pictures\\a.gif", u"S:\\a.gif",
                                    u"s:a.gif", u"file:///%53:/a.gif", u"res://S:\\t\\app.dll/page.htm"}) {
      SCOPED_TRACE(Narrow(address) + " on a drive of kind " + std::to_string(static_cast<int>(kind)));
      EXPECT_EQ(preview::ReachesOutside(address), outside);
      if (address[0] != u'r') {
        EXPECT_EQ(preview::NamesShareOrDevice(address), outside);
      }
    }
    EXPECT_FALSE(preview::ReachesOutside(u"file:///C:/pictures/a.gif"));
  }
  os::ForgetDriveKindsForTesting();
}

TEST(AddressReachTest, FileUrlPaths) {
  EXPECT_EQ(preview::FileUrlPath(u"file://C:\\t\\a.html"), u"C:\\t\\a.html");
  EXPECT_EQ(preview::FileUrlPath(u"file:///C:/t/a.html"), u"C:\\t\\a.html");
  EXPECT_EQ(preview::FileUrlPath(u"file:////host/share"), u"\\\\host\\share");
  EXPECT_EQ(preview::FileUrlPath(u"http://h/"), u"");
}

}  // namespace
