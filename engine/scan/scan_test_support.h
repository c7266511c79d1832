// What the tests of this folder share: where their files are, and reading files and tab-separated tables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SelectedSignature;

namespace scan_test {

std::u16string SignatureTablePath();   // tools/signatures/signatures.tsv
std::u16string RawDatPath();           // the Raw.dat that the build wrote from it
std::u16string SharedImage(const std::string& name);
std::u16string CompoundSample(const std::string& name);

// The whole file; an empty vector when it cannot be read (the test then fails on what it expected).
std::vector<uint8_t> ReadFileBytes(const std::u16string& path);
bool WriteFileBytes(const std::u16string& path, const std::vector<uint8_t>& bytes);
// A path in the temporary folder.
std::u16string TempFile(const std::u16string& name);

// The rows of a tab-separated file, without empty lines and lines starting with '#'.
std::vector<std::vector<std::string>> ReadTable(const std::u16string& path);

// The nodes of SelectedSignatureList whose signature the bytes at a sector's start (size of them) match, in
// list order, found the plain way: for each node, the hex text of as many of the sector's first 15 bytes as
// its count says, compared with its signature text without regard to case. A count outside 1 to 15 never
// matches (nothing would, or everything).
std::vector<const SelectedSignature*> PlainSignatureMatches(const uint8_t* sectorStart, size_t size);

// Runs work on a thread of its own and waits at most `seconds` for it. Work that does not return ends the
// test program at once, naming what: its thread can neither be stopped nor joined.
void RunWithinDeadline(int seconds, const std::string& what, const std::function<void()>& work);

}  // namespace scan_test
