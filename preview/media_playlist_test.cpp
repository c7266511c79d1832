// Playlists by name and by their first bytes, in each text form the player reads.
#include "preview/media_playlist.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Playlist(const char16_t* extension, const std::string& head) {
  return preview::IsMediaPlaylist(extension, reinterpret_cast<const uint8_t*>(head.data()), head.size());
}

std::string Utf16(const std::string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

TEST(MediaPlaylistTest, ByNameOrByFirstBytes) {
  for (const char16_t* extension : {u".asx", u".wvx", u".wmx"}) EXPECT_TRUE(Playlist(extension, "RIFF")) << extension[1];
  const std::string playlists[] = {
      "<ASX version=\"3.0\"><Entry><Ref href=\"http://example.com/a.wmv\"/></Entry></ASX>",
      "  \r\n<asx version=\"3\">",
      "\xEF\xBB\xBF<Asx>",
      "<?xml version=\"1.0\"?>\n<asx version=\"3.0\">",
      "[Reference]\r\nRef1=http://example.com/a.asf\r\n",
      "<?wpl version=\"1.0\"?><smil>",
      "<smil><body><seq><media src=\"\\\\host\\s\\a.wma\"/></seq></body></smil>",
      "#EXTM3U\nhttp://example.com/a.mp3\n",
      "[playlist]\nFile1=http://example.com/a.mp3\n",
      Utf16("<ASX version=\"3.0\">", false),
      Utf16("<ASX version=\"3.0\">", true),
  };
  for (const std::string& head : playlists) {
    EXPECT_TRUE(Playlist(u".wmv", head)) << head;
    EXPECT_TRUE(Playlist(u".mp3", head)) << head;
  }
  const std::string media[] = {"RIFF\x24\0\0\0WAVEfmt ", std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8), "ID3\x03",
                               "", "<?xml version=\"1.0\"?>", "<as", "asx"};
  for (const std::string& head : media) EXPECT_FALSE(Playlist(u".wmv", head)) << head;
  EXPECT_FALSE(preview::IsMediaPlaylist(u".wav", nullptr, 0));
}

}  // namespace
