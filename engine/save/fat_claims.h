// What a user's save learns once of a FAT file system (for its generation): which clusters each table copy links
// to, and which clusters each listed file claims, so that a cluster two listed files claim is saved as at most one
// file's. A directory entry can name a cluster that is not its file's any longer: a file from before a quick format
// beside a new one, two deleted files one of which was written where the other had been, a file read as consecutive
// clusters across another's, a table entry linked into another file's chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace save {

// One file as the save reads it: its first cluster, size, clusters, deleted mark, last write date and name (the
// listed record's), and how its clusters were found: a chain in ClusterList (through table copy `copy`, exactly its
// clusters long or running on past them), else consecutive clusters from its first.
struct FatFileRead {
  uint32_t first = 0;
  uint32_t size = 0;
  uint32_t clusters = 0;
  bool deleted = false;
  uint16_t date = 0;
  const std::u16string* name = nullptr;
  bool chained = false;
  uint32_t copy = 0;
  bool exact = false;
};

// The save's view of CurrentFileSystem's tables and FatEntryList, built again for each save and file system; every
// question takes limit, one past the volume's last cluster.

// Whether table copy (1 or 2) links to cluster: it lies inside a chain, after its first.
bool FatTableLinks(uint32_t copy, uint32_t cluster, uint64_t limit);

// Whether copy links from two entries to one of ClusterList's first `count` clusters after its first: the chain
// meets another there.
bool FatChainMeetsAnother(uint32_t copy, size_t count, uint64_t limit);

// Whether a live file whose first cluster both tables leave free (read as consecutive clusters) holds cluster.
bool FatClusterOfUnchainedLive(uint64_t cluster, uint64_t limit);

// Whether the file gives up a cluster it reads to another listed file that claims it too. Of two claims on one
// cluster the one that stands is, in turn: a live file's before a deleted one's; a file's whose folder the tables
// hold (the root, or a folder whose first cluster is in use) before one's whose folder they do not (a folder from
// before a quick format); between two live files, the entry's own first cluster before a chain through it, a chain
// of exactly its file's clusters before one that runs on past them, and any of these before consecutive clusters
// taken without a chain (both files were there together); the newer by its creation date and time (a copy keeps its
// source's last write date); else neither stands, as where an entry keeps no creation date. A folder claims its first
// cluster as a file of its standing whose creation is not known: while the tables hold it, or while it begins with the
// folder's "." entry (a folder made over a deleted file and removed again). A chain that meets another where no
// listed file's first cluster links stands nowhere. Entries of one first cluster, size and last write date are one
// file (listed twice, as a folder read along another's chain lists it, or renamed, its old entry left deleted), and
// claim nothing of each other, unless the tables hold the folder of one live entry and not the other's.
bool FatFileGivesWay(const FatFileRead& file, uint64_t limit);

}  // namespace save
