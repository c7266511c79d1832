// What File Trace knows of the formats of the files it finds, each told by the extension of the signature
// that found it: whether the bytes after the signature are what the format fixes there (a short signature
// also matches by chance), where the file ends, and what the file is when one signature starts several
// kinds (a ZIP archive or an Office document, a sound or a video in a RIFF container ...).
//
// Every reader takes the file's bytes as untrusted: each offset, count and size read is checked against
// what can be read below the limit, and the work done is linear in the bytes below the limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/trace/hit_bytes.h"

namespace trace {

// Whether the bytes of a hit of this extension hold what the format fixes after its signature. True for
// a format File Trace knows nothing more of.
bool PlausibleStart(std::u16string_view extension, HitBytes& bytes);

struct FileEnd {
  uint64_t length = 0;  // the bytes to save: at most the limit
  bool whole = false;   // the format's own end lies within the limit, the file ends there, and its checks saw
                        // no other bytes breaking it off before
};

// Where the file ends. laterHits: the offsets of the hits after this one from its first sector, ascending;
// they end a file whose format can only say "here is an end" (a PostScript %%EOF, which embedded documents
// repeat) or that says nothing (a recording cut off before its size was written). A format whose end cannot
// be found, and a file whose end lies past the limit, give the limit, not whole; a file whose format's checks
// see its bytes broken off by other bytes is saved to the end its format states, not whole.
FileEnd FindFileEnd(std::u16string_view extension, HitBytes& bytes, const std::vector<uint64_t>& laterHits = {});

// Where a file found goes on with a unit that starts as a file of its own would (an MPEG program stream's
// packs, an MP3 song's frames, a ZIP archive's members, the pictures a camera's JPEG lists ...): the sector
// starts inside it, as offsets from its first sector, ascending. A signature found there is this file going
// on, not a new one (a file of its own inside it, a JPEG in a document, is not among them). Empty for the
// formats whose start does not repeat inside them, and for a file whose structure cannot be followed to its
// end or to the limit.
struct FileUnits {
  int format = -1;       // which family of formats followed it (-1: none); one file of each is followed at a time
  uint64_t extent = 0;   // how far its structure was followed: at most the limit
  std::vector<uint64_t> offsets;
};
FileUnits FindFileUnits(std::u16string_view extension, HitBytes& bytes);
// The family of formats FindFileUnits would follow a file of this extension with, -1 for none.
int UnitsFamily(std::u16string_view extension);

// The extension of what the file is, when its signature is shared by several kinds the table knows (an
// Office Open XML document is a ZIP archive, an AVI video a RIFF file like a WAV sound); empty when it is
// the signature's own kind or cannot be told.
std::u16string ContentExtension(std::u16string_view extension, HitBytes& bytes);

}  // namespace trace
