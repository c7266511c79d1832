// The signature database "Raw.dat": the file types that File Trace can look for.
//
// The file is a flat run of records from offset 0 to its end, with no header, count or checksum:
//   u16 (not used) | group digit '0'..'9' | u16 L1, extension | u16 L2, description |
//   u16 L3, offset text (decimal digits) | u16 L4, signature bytes | u16 L5, second byte field
// u16 values are little-endian; texts are 8-bit in the system code page. File Trace takes the offset text
// as the number of signature bytes it compares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The file's name in the program folder.
constexpr char16_t kSignatureDatabaseName[] = u"Raw.dat";
// The longest field the reader takes: a longer one marks the record as damaged.
constexpr uint16_t kSignatureFieldLimit = 759;

struct SignatureRecord {
  uint32_t index = 0;              // position in the file, from 0
  std::u16string group;            // group text named by the record's group digit
  std::u16string extension;        // with its leading dot; may be empty
  std::u16string description;      // the type's description
  std::string signature;           // upper-case hex, two digits per byte in file order
  std::u16string offset;           // the offset text as read
  std::string secondField;         // upper-case hex
};

struct SignatureDatabase {
  std::vector<SignatureRecord> records;  // in file order
  // False when a damaged or truncated record ended reading; the records before it are kept.
  bool complete = true;
};

// The group text of a group digit: '0' "Archive Files" ... '9' "Other Files"; any other character names
// its group by itself.
std::u16string SignatureGroupText(uint8_t digit);

// Reads the records of the bytes of a "Raw.dat". Every length is checked against the bytes that remain
// and against kSignatureFieldLimit; the first record that fails ends reading.
SignatureDatabase ParseSignatureDatabase(const uint8_t* data, size_t size);

// Reads the file at path; false when it cannot be opened or read (then *database is empty). A file larger
// than kSignatureFileLimit is read up to that size only, its cut record counting as truncated.
constexpr uint32_t kSignatureFileLimit = 64u << 20;
bool ReadSignatureDatabase(const std::u16string& path, SignatureDatabase* database);
