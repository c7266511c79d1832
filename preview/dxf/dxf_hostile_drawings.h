// Drawings whose work grows faster than their bytes when blocks are expanded or painted, sized to about
// the bytes asked for: for the reader's tests, the growth benchmark and the fuzz seeds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "preview/dxf/dxf_test_drawings.h"

namespace dxf_test {

// A reference to the block at the origin; placing: groups that scale, turn or mirror it.
inline std::string Insert(const std::string& block, const std::string& placing = "") {
  return "0\nINSERT\n2\n" + block + "\n10\n0\n20\n0\n" + placing;
}

inline std::string Circle(double radius) {
  return "0\nCIRCLE\n10\n0\n20\n0\n40\n" + std::to_string(radius) + "\n";
}

// Adds references to `block` until the text reaches bytes.
inline std::string ReferencesUpTo(std::string text, const std::string& block, size_t bytes,
                                  const std::string& placing = "") {
  do text += Insert(block, placing);
  while (text.size() < bytes);
  return text;
}

// Entities of each kind the reader knows, the i-th (1 to 10) sized by i, as a drawing program writes them.
inline std::string Number(double v) {
  std::string text = std::to_string(v);
  return text.substr(0, text.find_last_not_of('0') + 1);
}
inline std::string LineOf(int i) { return "0\nLINE\n10\n0\n20\n0\n11\n" + Number(10 * i) + "\n21\n" + Number(5 * i) + "\n"; }
inline std::string ArcOf(int i) { return "0\nARC\n10\n0\n20\n0\n40\n" + Number(10 * i) + "\n50\n30\n51\n250\n"; }
inline std::string CircleOf(int i) { return Circle(10.0 * i); }
inline std::string EllipseOf(int i) {
  return "0\nELLIPSE\n10\n0\n20\n0\n11\n" + Number(10 * i) + "\n21\n" + Number(3 * i) + "\n40\n0.5\n";
}
// A cubic zig-zag through count control points, with its knots.
inline std::string ZigZagSpline(int count, double size) {
  std::string text = "0\nSPLINE\n71\n3\n72\n" + std::to_string(count + 4) + "\n73\n" + std::to_string(count) + "\n";
  for (int k = 0; k < count + 4; ++k) text += "40\n" + std::to_string(std::min(std::max(k - 3, 0), count - 3)) + "\n";
  for (int k = 0; k < count; ++k) text += "10\n" + Number(size * k) + "\n20\n" + Number(size * (k % 2)) + "\n";
  return text;
}
inline std::string SplineOf(int i) { return ZigZagSpline(8, i); }
// A closed square of four arcs' worth of bulges; count vertices of alternating bulges for a long one.
inline std::string BulgedPolyline(int count, double size) {
  std::string text = "0\nLWPOLYLINE\n90\n" + std::to_string(count) + "\n70\n1\n";
  for (int k = 0; k < count; ++k)
    text += "10\n" + Number(size * k) + "\n20\n" + Number(size * (k % 2)) + "\n42\n" + (k % 2 ? "-0.5" : "0.5") + "\n";
  return text;
}
inline std::string BulgedPolylineOf(int i) {
  return "0\nLWPOLYLINE\n90\n4\n70\n1\n10\n0\n20\n0\n42\n0.4\n10\n" + Number(10 * i) + "\n20\n0\n42\n0.4\n10\n" +
         Number(10 * i) + "\n20\n" + Number(10 * i) + "\n42\n0.4\n10\n0\n20\n" + Number(10 * i) + "\n42\n0.4\n";
}
inline std::string TextOf(int i) { return "0\nTEXT\n10\n0\n20\n0\n40\n" + Number(i) + "\n1\nRoom " + std::to_string(i) + "\n"; }
inline std::string ParagraphOf(int i) {
  return "0\nMTEXT\n10\n0\n20\n0\n40\n" + Number(i) + "\n1\n{\\fArial|b1;Ground} floor\\PRoom " + std::to_string(i) + "\n";
}
inline std::string HatchOf(int i) {
  return "0\nHATCH\n10\n0\n20\n0\n91\n1\n92\n2\n72\n1\n73\n1\n93\n3\n10\n0\n20\n0\n42\n0.5\n10\n" + Number(10 * i) +
         "\n20\n0\n42\n0\n10\n0\n20\n" + Number(10 * i) + "\n42\n0\n97\n0\n";
}
inline std::string SolidOf(int i) {
  const std::string s = Number(10 * i);
  return "0\nSOLID\n10\n0\n20\n0\n11\n" + s + "\n21\n0\n12\n0\n22\n" + s + "\n13\n" + s + "\n23\n" + s + "\n";
}
// A polyface mesh of a square's four corners and two triangles, the diagonal between them hidden.
inline std::string PolyfaceOf(int i) {
  const std::string s = Number(10 * i);
  std::string text = "0\nPOLYLINE\n66\n1\n70\n64\n71\n4\n72\n2\n";
  for (const auto& [x, y] : {std::pair<std::string, std::string>{"0", "0"}, {s, "0"}, {s, s}, {"0", s}})
    text += "0\nVERTEX\n70\n192\n10\n" + x + "\n20\n" + y + "\n30\n" + s + "\n";
  return text + "0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n-3\n0\nVERTEX\n70\n128\n71\n3\n72\n4\n73\n-1\n0\nSEQEND\n";
}
// A 3 x 3 polygon mesh closed in N.
inline std::string MeshOf(int i) {
  std::string text = "0\nPOLYLINE\n66\n1\n70\n48\n71\n3\n72\n3\n";
  for (int m = 0; m < 3; ++m)
    for (int n = 0; n < 3; ++n)
      text += "0\nVERTEX\n70\n64\n10\n" + Number(5 * i * n) + "\n20\n" + Number(5 * i * m + n) + "\n30\n1\n";
  return text + "0\nSEQEND\n";
}
// One of each kind.
inline std::string MixOf(int i) {
  return LineOf(i) + ArcOf(i) + CircleOf(i) + EllipseOf(i) + SplineOf(i) + BulgedPolylineOf(i) + TextOf(i) +
         ParagraphOf(i) + HatchOf(i) + SolidOf(i) + PolyfaceOf(i) + MeshOf(i);
}

using EntityMaker = std::string (*)(int i);
struct EntityKindMaker {
  const char* name;
  EntityMaker make;
};
inline const std::vector<EntityKindMaker>& EveryKind() {
  static const std::vector<EntityKindMaker> kinds = {
      {"lines", LineOf},          {"arcs", ArcOf},   {"circles", CircleOf},
      {"ellipses", EllipseOf},    {"splines", SplineOf},
      {"polylines with bulges", BulgedPolylineOf}, {"texts", TextOf}, {"paragraph texts", ParagraphOf},
      {"hatches", HatchOf},       {"solids", SolidOf}, {"polyface meshes", PolyfaceOf}, {"polygon meshes", MeshOf}};
  return kinds;
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

// Entities of one kind side by side at the top, sized 1 to 10 in turn.
inline std::string SideBySide(EntityMaker entity, size_t bytes) {
  std::string entities;
  for (int i = 0; entities.size() < bytes; ++i) entities += entity(1 + i % 10);
  return Drawing(entities);
}

// Ten entities in a block named `fan` times by each of five levels of blocks, each reference placed so:
// a few hundred bytes make a million entities (fan 10). The levels share the bytes asked for.
inline std::string Nested(EntityMaker entity, size_t bytes, const std::string& placing = "") {
  std::string blocks = "0\nBLOCK\n2\nL0\n";
  for (int i = 1; i <= 10; ++i) blocks += entity(i);
  blocks += "0\nENDBLK\n";
  for (int level = 1; level <= 5; ++level) {
    const std::string head = "0\nBLOCK\n2\nL" + std::to_string(level) + "\n";
    blocks += ReferencesUpTo(head, "L" + std::to_string(level - 1), head.size() + bytes / 5, placing) + "0\nENDBLK\n";
  }
  return Drawing(Insert("L5"), blocks);
}

inline std::string NestedCircles(size_t bytes) { return Nested(CircleOf, bytes); }

// References that scale 1:2, turn by 30 degrees and mirror, each nesting one entity of every kind.
inline std::string NestedScaled(size_t bytes) { return Nested(MixOf, bytes, "41\n1\n42\n2\n"); }
inline std::string NestedTurned(size_t bytes) { return Nested(MixOf, bytes, "50\n30\n"); }
inline std::string NestedMirrored(size_t bytes) { return Nested(MixOf, bytes, "41\n-1\n"); }

// One long curve in a block (a zig-zag spline of 250 control points, a polyline of 250 vertices of
// alternating bulges), referenced until the bytes are spent: close to a million points from 100 KB.
inline std::string ReferencedLongCurve(const std::string& curve, size_t bytes) {
  const std::string block = "0\nBLOCK\n2\nLONG\n" + curve + "0\nENDBLK\n";
  return Drawing(ReferencesUpTo("", "LONG", bytes > block.size() ? bytes - block.size() : 1), block);
}
inline std::string ReferencedLongSpline(size_t bytes) { return ReferencedLongCurve(ZigZagSpline(250, 1), bytes); }
inline std::string ReferencedLongPolyline(size_t bytes) { return ReferencedLongCurve(BulgedPolyline(250, 1), bytes); }

}  // namespace dxf_test
