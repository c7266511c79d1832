// Drawings whose work grows faster than their bytes when blocks are expanded or painted, sized to about
// the bytes asked for: for the reader's tests, the growth benchmark and the fuzz seeds.
#pragma once

#include <cstddef>
#include <string>

#include "preview/dxf/dxf_test_drawings.h"

namespace dxf_test {

inline std::string Insert(const std::string& block) { return "0\nINSERT\n2\n" + block + "\n10\n0\n20\n0\n"; }

inline std::string Circle(double radius) {
  return "0\nCIRCLE\n10\n0\n20\n0\n40\n" + std::to_string(radius) + "\n";
}

// Adds references to `block` until the text reaches bytes.
inline std::string ReferencesUpTo(std::string text, const std::string& block, size_t bytes) {
  do text += Insert(block);
  while (text.size() < bytes);
  return text;
}

// A block that names itself over and over, inserted once; no entity anywhere.
inline std::string SelfNamingBlock(size_t bytes) {
  return Drawing(Insert("SELF"), ReferencesUpTo("0\nBLOCK\n2\nSELF\n", "SELF", bytes) + "0\nENDBLK\n");
}

// A block that names itself four times and a block that is not there over and over.
inline std::string MissingBlocks(size_t bytes) {
  std::string block = "0\nBLOCK\n2\nSELF\n";
  for (int i = 0; i < 4; ++i) block += Insert("SELF");
  return Drawing(Insert("SELF"), ReferencesUpTo(block, "NONE", bytes) + "0\nENDBLK\n");
}

// References at the top to a block of one circle.
inline std::string TopInserts(size_t bytes) {
  return Drawing(ReferencesUpTo("", "RING", bytes), "0\nBLOCK\n2\nRING\n" + Circle(5) + "0\nENDBLK\n");
}

// Circles of one size, one on top of the other, at the top.
inline std::string TopCircles(size_t bytes) {
  std::string entities;
  while (entities.size() < bytes) entities += Circle(100);
  return Drawing(entities);
}

// Ten circles in a block named `fan` times by each of five levels of blocks: a few hundred bytes make a
// million circles (fan 10). The levels share the bytes asked for.
inline std::string NestedCircles(size_t bytes) {
  std::string blocks = "0\nBLOCK\n2\nL0\n";
  for (int i = 1; i <= 10; ++i) blocks += Circle(10.0 * i);
  blocks += "0\nENDBLK\n";
  for (int level = 1; level <= 5; ++level) {
    const std::string head = "0\nBLOCK\n2\nL" + std::to_string(level) + "\n";
    blocks += ReferencesUpTo(head, "L" + std::to_string(level - 1), head.size() + bytes / 5) + "0\nENDBLK\n";
  }
  return Drawing(Insert("L5"), blocks);
}

}  // namespace dxf_test
