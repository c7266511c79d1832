#include "engine/scan/selected_signatures.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/scan/hex_text.h"
#include "engine/scan/signature_index.h"

records::RecordList<SelectedSignature> SelectedSignatureList;
std::atomic<uint32_t> SelectedSignatureCount{0};

namespace {

// The value of the leading decimal digits of text (0 when there are none), held at INT32_MAX.
template <typename Char>
int32_t LeadingDecimal(std::basic_string_view<Char> text) {
  int64_t value = 0;
  for (Char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<int32_t>(value);
}

// The bytes of a signature that File Trace can match, or none.
std::vector<uint8_t> MatchableBytes(int32_t offset, std::string_view signatureHex) {
  std::vector<uint8_t> bytes;
  if (offset < 1 || static_cast<uint32_t>(offset) > kSignatureCompareLimit) return {};
  if (!HexTextToBytes(signatureHex, &bytes) || bytes.size() != static_cast<size_t>(offset)) return {};
  return bytes;
}

// Whether the first available bytes at a sector's start begin with bytes (empty ones never do). Comparing
// the bytes is comparing their hex texts without regard to case.
bool BeginsWith(const uint8_t* sectorStart, size_t available, const std::vector<uint8_t>& bytes) {
  return !bytes.empty() && bytes.size() <= available && std::memcmp(bytes.data(), sectorStart, bytes.size()) == 0;
}

}  // namespace

void AppendSelectedSignature(std::u16string_view extension, std::u16string_view description, int32_t offset,
                             std::string_view signatureHex, int32_t secondValue) {
  records::GuardAllocation([&] {
    SelectedSignature node;
    node.extension = extension;
    node.description = description;
    node.offset = offset;
    node.signature = signatureHex;
    node.secondValue = secondValue;
    node.bytes = MatchableBytes(offset, signatureHex);
    SelectedSignatureList.Append(std::move(node));
  });
  SelectedSignatureCount.fetch_add(1);
}

void FreeFileTraceSignatureList() {
  SelectedSignatureList.Free();
  SelectedSignatureCount.store(0);
}

bool IsUsableSignatureRecord(const SignatureRecord& record) {
  return !MatchableBytes(LeadingDecimal(std::u16string_view(record.offset)), record.signature).empty();
}

uint32_t BuildSelectedSignatureList(const std::vector<const SignatureRecord*>& ticked) {
  // A second OK of the dialog must not add the types again.
  FreeFileTraceSignatureList();
  uint32_t appended = 0;
  for (const SignatureRecord* record : ticked) {
    if (record == nullptr || !IsUsableSignatureRecord(*record)) continue;
    AppendSelectedSignature(record->extension, record->description,
                            LeadingDecimal(std::u16string_view(record->offset)), record->signature,
                            LeadingDecimal(std::string_view(record->secondField)));
    ++appended;
  }
  return appended;
}

std::vector<SignatureGroup> SignatureTypeTree(const std::vector<SignatureRecord>& records) {
  return records::GuardAllocation([&] {
    std::vector<SignatureGroup> tree;
    for (const SignatureRecord& record : records) {
      if (record.extension.empty()) continue;
      auto group = std::find_if(tree.begin(), tree.end(), [&](const auto& g) { return g.text == record.group; });
      if (group == tree.end()) group = tree.insert(tree.end(), SignatureGroup{record.group, {}});
      if (std::find(group->types.begin(), group->types.end(), record.extension) == group->types.end()) {
        group->types.push_back(record.extension);
      }
    }
    return tree;
  });
}

std::vector<const SignatureRecord*> TickedSignatureRecords(const std::vector<SignatureRecord>& records,
                                                           const std::vector<TickedType>& ticked) {
  const std::vector<SignatureGroup> tree = SignatureTypeTree(records);
  return records::GuardAllocation([&] {
    std::vector<const SignatureRecord*> chosen;
    for (const SignatureGroup& group : tree) {
      for (const std::u16string& type : group.types) {
        const bool isTicked = std::any_of(ticked.begin(), ticked.end(), [&](const TickedType& t) {
          return t.group == group.text && t.extension == type;
        });
        if (!isTicked) continue;
        for (auto record = records.rbegin(); record != records.rend(); ++record) {
          if (record->extension == type && record->group == group.text) chosen.push_back(&*record);
        }
      }
    }
    return chosen;
  });
}

std::vector<const SignatureRecord*> TickedSignatureRecords(const std::vector<SignatureRecord>& records,
                                                           const std::vector<std::u16string>& tickedExtensions) {
  std::vector<TickedType> ticked;
  records::GuardAllocation([&] {
    for (const SignatureGroup& group : SignatureTypeTree(records)) {
      for (const std::u16string& extension : tickedExtensions) ticked.push_back({group.text, extension});
    }
  });
  return TickedSignatureRecords(records, ticked);
}

const SelectedSignature* MatchSelectedSignature(const uint8_t* sectorStart, size_t size,
                                                const std::function<bool(const SelectedSignature&)>& accept) {
  return SignatureIndex(SelectedSignatureList).Match(sectorStart, size, [&](const SelectedSignature& node) {
    return !accept || accept(node);
  });
}

bool BeginsWithSignature(const uint8_t* sectorStart, size_t size, int32_t offset, std::string_view signatureHex) {
  return BeginsWith(sectorStart, std::min<size_t>(size, kSignatureCompareLimit), MatchableBytes(offset, signatureHex));
}

bool IsSelectedExtension(std::u16string_view extension) {
  return std::any_of(SelectedSignatureList.begin(), SelectedSignatureList.end(),
                     [&](const SelectedSignature& node) { return node.extension == extension; });
}

std::u16string HitExtension(const SelectedSignature& matched, std::u16string_view classified) {
  if (!classified.empty() && IsSelectedExtension(classified)) return std::u16string(classified);
  return matched.extension;
}
