// The file types chosen for File Trace (SelectedSignatureList), how they are built from the ticked types of
// the signature database, and how a sector is tested against them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/records/record_list.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/signature_database.h"

// File Trace compares at most this many bytes at the start of a sector.
constexpr uint32_t kSignatureCompareLimit = 15;

struct SelectedSignature {
  std::u16string extension;    // with its leading dot
  std::u16string description;  // File Trace's group text for the hits of this signature
  int32_t offset = 0;          // number of signature bytes compared (the record's offset text)
  std::string signature;       // upper-case hex text as stored
  int32_t secondValue = 0;     // leading decimal digits of the second field's hex text
  // The signature's bytes when it can match: offset bytes, 1 to kSignatureCompareLimit, written as
  // 2 x offset hex digits. Empty for a signature that can never match.
  std::vector<uint8_t> bytes;
};

// In the order File Trace tests them. Filled on the user-interface thread before a File Trace starts
// (or by the snapshot loader), read by the worker and the snapshot writer.
extern records::RecordList<SelectedSignature> SelectedSignatureList;
// Nodes appended since the list was last freed; the snapshot writer stores it.
extern std::atomic<uint32_t> SelectedSignatureCount;

// Appends a node at the tail and raises SelectedSignatureCount.
void AppendSelectedSignature(std::u16string_view extension, std::u16string_view description, int32_t offset,
                             std::string_view signatureHex, int32_t secondValue);
// Frees every node; the list is empty and the count 0 afterwards.
void FreeFileTraceSignatureList();

// True when File Trace can match the record: its offset text's value equals the signature's byte count and
// lies in 1 .. kSignatureCompareLimit. A longer signature can never match the bytes compared, and an empty
// one would match every sector.
bool IsUsableSignatureRecord(const SignatureRecord& record);

// Empties SelectedSignatureList, then appends one node per ticked record, in the order given, skipping the
// records that are not usable. Returns the number of nodes appended.
uint32_t BuildSelectedSignatureList(const std::vector<const SignatureRecord*>& ticked);

// A group of the file-types tree and its types (extensions), each in the order it first appears in the
// database. Records with an empty extension have no type.
struct SignatureGroup {
  std::u16string text;
  std::vector<std::u16string> types;
};
std::vector<SignatureGroup> SignatureTypeTree(const std::vector<SignatureRecord>& records);

// A ticked item of the file-types tree: a type (extension) within its group.
struct TickedType {
  std::u16string group;
  std::u16string extension;
};

// The records of the ticked types in the order of the file-types tree: groups in the order they first
// appear in the database, types within a group likewise, and for each ticked type every record of that
// group whose extension equals it exactly (case-sensitive), the last in the file first (the dialog's
// record list takes each new record at its head). A type ticked in one group takes no record of another
// group. Records with an empty extension have no type and are never ticked.
std::vector<const SignatureRecord*> TickedSignatureRecords(const std::vector<SignatureRecord>& records,
                                                           const std::vector<TickedType>& ticked);
// The same with each extension ticked in every group it stands in.
std::vector<const SignatureRecord*> TickedSignatureRecords(const std::vector<SignatureRecord>& records,
                                                           const std::vector<std::u16string>& tickedExtensions);

// The first node of SelectedSignatureList whose signature the bytes at a sector's start match (size is
// how many bytes there are; at most kSignatureCompareLimit are looked at) and that accept, when given,
// takes; or null. It indexes the list for one look-up: a search over many sectors keeps a SignatureIndex.
const SelectedSignature* MatchSelectedSignature(
    const uint8_t* sectorStart, size_t size, const std::function<bool(const SelectedSignature&)>& accept = {});

// True when the bytes at a sector's start (size of them) begin with a signature of offset bytes written as
// signatureHex, one File Trace can match.
bool BeginsWithSignature(const uint8_t* sectorStart, size_t size, int32_t offset, std::string_view signatureHex);

// True when some node of SelectedSignatureList has this extension.
bool IsSelectedExtension(std::u16string_view extension);

// The extension of a hit of signature matched, after a compound-file classification that chose
// classified (empty: none chosen): classified when it is selected, otherwise the signature's own.
std::u16string HitExtension(const SelectedSignature& matched, std::u16string_view classified);
