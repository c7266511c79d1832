#include "engine/scan/signature_index.h"

#include <algorithm>
#include <map>

SignatureIndex::SignatureIndex(const records::RecordList<SelectedSignature>& list) {
  records::GuardAllocation([&] {
    // Built with maps first, then laid out flat: the walk reads a few arrays only.
    std::vector<std::map<uint8_t, uint32_t>> children(1);
    std::vector<std::vector<uint32_t>> endsOf(1);
    for (const SelectedSignature& node : list) {
      if (node.bytes.empty() || node.bytes.size() > kSignatureCompareLimit) continue;
      uint32_t at = 0;
      for (uint8_t byte : node.bytes) {
        auto [child, added] = children[at].try_emplace(byte, static_cast<uint32_t>(children.size()));
        if (added) {
          children.emplace_back();
          endsOf.emplace_back();
        }
        at = child->second;
      }
      endsOf[at].push_back(static_cast<uint32_t>(signatures_.size()));
      signatures_.push_back(&node);
    }
    nodes_.resize(children.size());
    for (size_t n = 0; n < children.size(); ++n) {
      Node& node = nodes_[n];
      node.firstEdge = static_cast<uint32_t>(edgeBytes_.size());
      node.edgeCount = static_cast<uint32_t>(children[n].size());
      for (const auto& [byte, child] : children[n]) {
        edgeBytes_.push_back(byte);
        edgeNodes_.push_back(child);
      }
      node.firstEnd = static_cast<uint32_t>(ends_.size());
      node.endCount = static_cast<uint32_t>(endsOf[n].size());
      ends_.insert(ends_.end(), endsOf[n].begin(), endsOf[n].end());
    }
    for (const auto& [byte, child] : children[0]) rootChildren_[byte] = child;
  });
}

uint32_t SignatureIndex::Child(const Node& node, uint8_t byte) const {
  const auto first = edgeBytes_.begin() + node.firstEdge;
  const auto last = first + node.edgeCount;
  const auto found = std::lower_bound(first, last, byte);
  return found != last && *found == byte ? edgeNodes_[static_cast<size_t>(found - edgeBytes_.begin())] : 0;
}

SignatureIndex::Path SignatureIndex::Walk(const uint8_t* sectorStart, size_t size) const {
  Path path;
  const size_t available = std::min<size_t>(size, kSignatureCompareLimit);
  uint32_t at = available > 0 ? rootChildren_[sectorStart[0]] : 0;
  for (size_t depth = 1; at != 0; ++depth) {
    const Node& node = nodes_[at];
    if (node.endCount > 0) path.ending[path.count++] = &node;
    at = depth < available ? Child(node, sectorStart[depth]) : 0;
  }
  return path;
}
