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
  bool whole = false;   // the format's own end lies within the limit, and the file ends there
};

// Where the file ends. laterHits: the offsets of the hits after this one from its first sector, ascending;
// they end a document whose format can only say "here is an end" (a PDF's %%EOF, which later editions of the
// file repeat). A format whose end cannot be found, and a file whose end lies past the limit, give the
// limit, not whole.
FileEnd FindFileEnd(std::u16string_view extension, HitBytes& bytes, const std::vector<uint64_t>& laterHits = {});

// The extension of what the file is, when its signature is shared by several kinds the table knows (an
// Office Open XML document is a ZIP archive, an AVI video a RIFF file like a WAV sound); empty when it is
// the signature's own kind or cannot be told.
std::u16string ContentExtension(std::u16string_view extension, HitBytes& bytes);

}  // namespace trace
