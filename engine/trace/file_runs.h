// What File Trace's search keeps of the files it has found: the sectors ahead where one of them goes on with a
// unit that starts as a new file would (trace_formats.h: FindFileUnits), so that a DVD video's packs or an MP3
// song's frames at sector starts are one file, one hit.
#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <string_view>
#include <vector>

#include "engine/trace/hit_bytes.h"

namespace trace {

class FileRuns {
 public:
  // A hit was made at sector for a file of this extension, whose bytes these are. One file of a family of
  // formats is followed at a time: a hit inside the file of its family being followed (a file of its kind
  // inside it) is not followed, so that the search reads no byte more often than there are families.
  void Found(uint64_t sector, std::u16string_view extension, HitBytes& bytes);
  // Whether a file found before goes on at sector. Sectors are asked in ascending order.
  bool GoesOn(uint64_t sector);

 private:
  std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<uint64_t>> ahead_;
  std::vector<uint64_t> followedTo_;  // by family: the sector past the file followed last
};

}  // namespace trace
