// The selected signatures arranged by their bytes, so that File Trace looks each sector's first bytes up
// once, whatever the number of types ticked: a tree with one branch per byte value, walked along the
// sector's bytes for at most kSignatureCompareLimit steps; each node where signatures end holds them in the
// order of SelectedSignatureList. The candidates met on the way are offered in that order, as the list
// itself would offer them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/records/record_list.h"
#include "engine/scan/selected_signatures.h"

class SignatureIndex {
 public:
  // Indexes the nodes of list that can match (their bytes are known). It points into list, which must not
  // change while the index is in use.
  explicit SignatureIndex(const records::RecordList<SelectedSignature>& list);

  // The first node, in list order, whose signature the bytes at a sector's start begin with (size is how
  // many bytes there are; at most kSignatureCompareLimit are looked at) and that accept(node) takes; or
  // null. accept is asked of the matching nodes only, in list order, until it takes one.
  template <typename Accept>
  const SelectedSignature* Match(const uint8_t* sectorStart, size_t size, Accept&& accept) const;

 private:
  struct Node {
    uint32_t firstEdge = 0;  // its branches: edgeBytes_ and edgeNodes_ from here, ordered by byte
    uint32_t edgeCount = 0;
    uint32_t firstEnd = 0;  // the signatures ending here: ends_ from here, ascending
    uint32_t endCount = 0;
  };
  struct Path {
    // The nodes along the walk where signatures end, nearest the root first.
    std::array<const Node*, kSignatureCompareLimit> ending{};
    size_t count = 0;
  };

  Path Walk(const uint8_t* sectorStart, size_t size) const;
  uint32_t Child(const Node& node, uint8_t byte) const;

  std::array<uint32_t, 256> rootChildren_{};  // the node of each first byte, 0 for none (0 is the root)
  std::vector<Node> nodes_;
  std::vector<uint8_t> edgeBytes_;
  std::vector<uint32_t> edgeNodes_;
  std::vector<uint32_t> ends_;                     // positions in signatures_
  std::vector<const SelectedSignature*> signatures_;  // the list's nodes, in its order
};

template <typename Accept>
const SelectedSignature* SignatureIndex::Match(const uint8_t* sectorStart, size_t size, Accept&& accept) const {
  const Path path = Walk(sectorStart, size);
  // The ends of each node are ascending: merging them offers the candidates in list order.
  std::array<uint32_t, kSignatureCompareLimit> taken{};
  for (;;) {
    size_t best = path.count;
    uint32_t bestPosition = 0;
    for (size_t i = 0; i < path.count; ++i) {
      const Node& node = *path.ending[i];
      if (taken[i] == node.endCount) continue;
      const uint32_t position = ends_[node.firstEnd + taken[i]];
      if (best == path.count || position < bestPosition) {
        best = i;
        bestPosition = position;
      }
    }
    if (best == path.count) return nullptr;
    ++taken[best];
    const SelectedSignature* candidate = signatures_[bestPosition];
    if (accept(*candidate)) return candidate;
  }
}
