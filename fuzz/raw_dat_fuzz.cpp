// The "Raw.dat" reader over arbitrary bytes: it must never read outside them, and whatever it keeps must
// build a signature list whose nodes match only with 1 to 15 signature bytes; the index File Trace looks
// sectors up in offers, for the input's own start, exactly the nodes a plain walk of the list matches, in
// list order.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include <vector>

#include "engine/scan/selected_signatures.h"
#include "engine/scan/signature_database.h"
#include "engine/scan/signature_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy, so that a read past the end lands outside the allocation.
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
  if (size > 0) std::memcpy(copy.get(), data, size);
  const SignatureDatabase database = ParseSignatureDatabase(copy.get(), size);

  std::vector<const SignatureRecord*> ticked;
  for (const SignatureRecord& record : database.records) ticked.push_back(&record);
  const uint32_t appended = BuildSelectedSignatureList(ticked);
  if (appended != SelectedSignatureList.size() || appended > database.records.size()) __builtin_trap();
  for (const SelectedSignature& node : SelectedSignatureList) {
    if (node.bytes.empty() || node.bytes.size() > kSignatureCompareLimit ||
        node.bytes.size() != static_cast<size_t>(node.offset)) {
      __builtin_trap();
    }
  }
  // The input's own start as a sector, at every length up to the compared bytes.
  const SignatureIndex index(SelectedSignatureList);
  for (size_t length = 0; length <= kSignatureCompareLimit && length <= size; ++length) {
    std::vector<const SelectedSignature*> plain;
    for (const SelectedSignature& node : SelectedSignatureList) {
      if (node.bytes.size() <= length && std::memcmp(node.bytes.data(), copy.get(), node.bytes.size()) == 0) {
        plain.push_back(&node);
      }
    }
    std::vector<const SelectedSignature*> offered;
    index.Match(copy.get(), length, [&](const SelectedSignature& node) {
      offered.push_back(&node);
      return false;
    });
    if (offered != plain) __builtin_trap();
    MatchSelectedSignature(copy.get(), length);
  }
  FreeFileTraceSignatureList();
  return 0;
}
