// File Trace: the recovery mode that finds files by their signatures alone. Its worker reads the sectors
// of ScanRange in blocks and tests the start of every sector against SelectedSignatureList; each match
// becomes a FileTraceHit named by its running number and extension, and the results tree shows one folder
// per group.
//
// The scan page writes stop 0 and running 1 before it starts the worker, and watches for running 0 with
// stop 1, the worker's last act on every path. A stop ends the search; the tree is still built from the
// hits found so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

struct SelectedSignature;

// Sectors read and examined at a time.
constexpr uint32_t kFileTraceBlockSectors = 64;

// The worker. Returns 1 after a search (also one the user stopped), 0 when it could not search: a logical
// drive that does not open, or no usable partition parameters (each reported to the user, with the page
// made idle again).
uint32_t FileTraceThread();

// The search over ScanRange and the results tree built from its hits. The search reads block after block
// from the start sector; it ends after the block in which the sectors examined pass the end sector (the
// rest of that block is still examined), at a block that cannot be read (not examined), or on a stop.
void FileTraceSearch();

// How a search finds the first selected signature that the bytes at a sector's start begin with and that
// accept takes, as MatchSelectedSignature does.
using SignatureMatch = const SelectedSignature* (*)(const uint8_t* sectorStart, size_t size,
                                                    const std::function<bool(const SelectedSignature&)>& accept);
// FileTraceSearch finding signatures with match rather than its index (null: the index): the tests hold the
// index to a plain walk of the list through it.
void FileTraceSearchWith(SignatureMatch match);
