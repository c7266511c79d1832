// The file-name attribute of an MFT record: name, parent folder and times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File-name name spaces (byte 65 of the value).
constexpr uint8_t kPosixNameSpace = 0;
constexpr uint8_t kWin32NameSpace = 1;
constexpr uint8_t kDosNameSpace = 2;
constexpr uint8_t kWin32AndDosNameSpace = 3;

struct FileNameInfo {
  std::u16string name;
  uint32_t parent = 0;      // low 32 bits of the parent reference: the parent's record number
  uint64_t creation = 0;    // file time
  uint64_t change = 0;      // MFT change time
  uint64_t modification = 0;  // the file's, from its standard information (else the name's copy of it)
  bool directory = false;   // the name's file attributes mark a folder (one with an index)
};

// Finds the first unnamed, resident file-name attribute in nameSpace (kWin32NameSpace also accepts
// kPosixNameSpace) and fills out; 1 when found, else 0. With readFromDisk non-zero the record is read
// from the sectors at sector (fix-up applied); otherwise recordIn holds its bytes. An
// attribute whose value or name does not fit in the record ends the search with 0.
uint32_t ReadFileNameAttribute(uint32_t sector, FileNameInfo& out, uint8_t nameSpace, const uint8_t* recordIn,
                               uint32_t readFromDisk);

// The name in the Win32 name space, else Win32-and-DOS, else DOS, as the scans choose it; 1 when one
// was found. recordIn holds the record's bytes.
uint32_t ReadPreferredFileName(const uint8_t* recordIn, FileNameInfo& out);

// Every name by which a folder lists the file (hard links give it several) into *names, in record order: its
// file-name attributes but the DOS names that stand beside a Win32 name; its DOS names when it has no other. The
// walk ends at a file-name attribute whose fields do not fit, as ReadFileNameAttribute's does.
void ReadLinkNames(const uint8_t* record, std::vector<FileNameInfo>* names);
