// Playlists among the files the media player would be given. A playlist names media elsewhere, often on
// the network, and the player follows it: a recovered one is not handed to the player at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace preview {

// The bytes a caller reads from the start of a file for IsMediaPlaylist.
constexpr size_t kPlaylistHeadBytes = 512;

// True for a playlist by its extension (lower-cased, with its "."): ".asx", ".wvx", ".wmx"; or by its first
// bytes, which the player reads whatever the name says: "<asx", "[Reference]", "<?wpl", "<smil", "#EXTM3U"
// or "[playlist]" (any case), after a byte-order mark, blanks and an XML declaration, in 8-bit text or
// UTF-16.
bool IsMediaPlaylist(std::u16string_view extension, const uint8_t* head, size_t size);

}  // namespace preview
