#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "preview/dxf/dxf_hostile_drawings.h"
#include "preview/dxf/dxf_test_drawings.h"

namespace {

using dxf::EntityKind;
using dxf_test::Drawing;

dxf::Drawing Read(const std::string& text) { return dxf::ReadDrawing(text.data(), text.size()); }

TEST(DxfReader, EachEntityKindWithItsValues) {
  const auto d = Read(Drawing(
      "0\nLINE\n8\n0\n10\n1.5\n20\n2\n11\n10\n21\n-3\n"
      "0\nCIRCLE\n10\n5\n20\n5\n40\n2.5\n62\n1\n"
      "0\nARC\n10\n0\n20\n0\n40\n1\n50\n90\n51\n180\n"
      "0\nLWPOLYLINE\n90\n3\n70\n1\n10\n0\n20\n0\n10\n4\n20\n0\n10\n4\n20\n3\n"
      "0\nPOLYLINE\n66\n1\n10\n0\n20\n0\n0\nVERTEX\n10\n1\n20\n1\n0\nVERTEX\n10\n2\n20\n1\n0\nSEQEND\n"
      "0\nPOINT\n10\n7\n20\n8\n"
      "0\nTEXT\n10\n1\n20\n9\n40\n0.5\n50\n90\n1\nKitchen\n"));
  ASSERT_EQ(d.status, dxf::ReadStatus::kOk) << d.message;
  EXPECT_TRUE(d.hasHeader);
  ASSERT_EQ(d.entities.size(), 7u);
  const auto& line = d.entities[0];
  EXPECT_EQ(line.kind, EntityKind::kLine);
  EXPECT_DOUBLE_EQ(line.points[0].x, 1.5);
  EXPECT_DOUBLE_EQ(line.points[1].y, -3);
  EXPECT_EQ(line.colour, 0x00FFFFFFu);
  EXPECT_EQ(d.entities[1].kind, EntityKind::kCircle);
  EXPECT_DOUBLE_EQ(d.entities[1].radius, 2.5);
  EXPECT_EQ(d.entities[1].colour, 0x000000FFu);  // index 1: red
  EXPECT_EQ(d.entities[2].kind, EntityKind::kArc);
  EXPECT_DOUBLE_EQ(d.entities[2].startAngle, 90);
  EXPECT_DOUBLE_EQ(d.entities[2].endAngle, 180);
  EXPECT_EQ(d.entities[3].kind, EntityKind::kPolyline);
  EXPECT_EQ(d.entities[3].points.size(), 3u);
  EXPECT_TRUE(d.entities[3].closed);
  // The classic polyline: its own point is not a vertex.
  ASSERT_EQ(d.entities[4].points.size(), 2u);
  EXPECT_DOUBLE_EQ(d.entities[4].points[1].x, 2);
  EXPECT_FALSE(d.entities[4].closed);
  EXPECT_EQ(d.entities[5].kind, EntityKind::kPoint);
  EXPECT_EQ(d.entities[6].kind, EntityKind::kText);
  EXPECT_EQ(d.entities[6].text, "Kitchen");
  EXPECT_DOUBLE_EQ(d.entities[6].rotation, 90);
}

TEST(DxfReader, ExtentsCoverCirclesAndText) {
  const auto d = Read(Drawing("0\nCIRCLE\n10\n5\n20\n5\n40\n2\n0\nLINE\n10\n-1\n20\n0\n11\n0\n21\n0\n"
                              "0\nTEXT\n10\n0\n20\n10\n40\n1\n1\nABCDE\n"));
  ASSERT_FALSE(d.extents.empty);
  EXPECT_DOUBLE_EQ(d.extents.minX, -1);
  EXPECT_DOUBLE_EQ(d.extents.minY, 0);
  EXPECT_DOUBLE_EQ(d.extents.maxX, 7);
  EXPECT_DOUBLE_EQ(d.extents.maxY, 11);  // the text's height above its insertion point
}

// The extents are each shape's exact box, worked out by hand: where an arc, an ellipse, a bulge or a spline
// turns back, not where a flattening happens to put a point; also through references that scale, turn and
// mirror.
TEST(DxfReader, ExtentsAreTheExactBoxesOfTheShapes) {
  const double r3 = std::sqrt(3.0);
  const std::string quarterArcBlock = "0\nBLOCK\n2\nQ\n10\n0\n20\n0\n0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n90\n0\nENDBLK\n";
  const std::string ringBlock = "0\nBLOCK\n2\nR\n10\n0\n20\n0\n0\nCIRCLE\n10\n0\n20\n0\n40\n1\n0\nENDBLK\n";
  const std::string ovalBlock =
      "0\nBLOCK\n2\nE\n10\n0\n20\n0\n0\nELLIPSE\n10\n0\n20\n0\n11\n2\n21\n0\n40\n0.5\n0\nENDBLK\n";
  const struct {
    const char* shape;
    std::string entities, blocks;
    double minX, minY, maxX, maxY, tolerance;
  } cases[] = {
      {"line", "0\nLINE\n10\n1\n20\n2\n11\n4\n21\n-3\n", "", 1, -3, 4, 2, 1e-12},
      {"circle", "0\nCIRCLE\n10\n5\n20\n5\n40\n2\n", "", 3, 3, 7, 7, 1e-12},
      {"arc over the top", "0\nARC\n10\n0\n20\n0\n40\n2\n50\n30\n51\n120\n", "", -1, 1, r3, 2, 1e-9},
      {"arc through 0 degrees", "0\nARC\n10\n0\n20\n0\n40\n1\n50\n300\n51\n60\n", "", 0.5, -r3 / 2, 1, r3 / 2, 1e-9},
      {"ellipse", "0\nELLIPSE\n10\n0\n20\n0\n11\n6\n21\n0\n40\n0.5\n", "", -6, -3, 6, 3, 1e-9},
      // Major axis (3, 4), minor (-1.6, 1.2): half-widths sqrt(3^2 + 1.6^2) = 3.4 and sqrt(4^2 + 1.2^2).
      {"turned ellipse", "0\nELLIPSE\n10\n10\n20\n0\n11\n3\n21\n4\n40\n0.4\n", "", 6.6, -std::sqrt(17.44), 13.4,
       std::sqrt(17.44), 1e-9},
      {"half an ellipse", "0\nELLIPSE\n10\n0\n20\n0\n11\n2\n21\n0\n40\n0.5\n41\n0\n42\n3.141592653589793\n", "",
       -2, 0, 2, 1, 1e-9},
      {"bulge below", "0\nLWPOLYLINE\n90\n2\n10\n0\n20\n0\n42\n1\n10\n2\n20\n0\n", "", 0, -1, 2, 0, 1e-9},
      {"bulge above", "0\nLWPOLYLINE\n90\n2\n10\n0\n20\n0\n42\n-1\n10\n2\n20\n0\n", "", 0, 0, 2, 1, 1e-9},
      {"two bulges closed: a circle",
       "0\nLWPOLYLINE\n90\n2\n70\n1\n10\n16\n20\n0\n42\n1\n10\n16\n20\n4\n42\n1\n", "", 14, 0, 18, 4, 1e-9},
      {"solid", "0\nSOLID\n10\n0\n20\n0\n11\n4\n21\n0\n12\n0\n22\n3\n13\n4\n23\n3\n", "", 0, 0, 4, 3, 1e-12},
      // One cubic span, (0,0) (1,3) (2,3) (3,0): at its middle y = 3 * 3/8 + 3 * 3/8.
      {"cubic spline", "0\nSPLINE\n71\n3\n72\n8\n73\n4\n40\n0\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n40\n1\n"
       "10\n0\n20\n0\n10\n1\n20\n3\n10\n2\n20\n3\n10\n3\n20\n0\n", "", 0, 0, 3, 2.25, 1e-9},
      {"quadratic spline", "0\nSPLINE\n71\n2\n72\n6\n73\n3\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n"
       "10\n0\n20\n0\n10\n2\n20\n4\n10\n4\n20\n0\n", "", 0, 0, 4, 2, 1e-9},
      // Weights 1, 2, 1: at its middle y = 2 * 2 * 2 / 4 over 1/4 + 2 * 2 / 4 + 1/4 = 4/3.
      {"rational spline", "0\nSPLINE\n71\n2\n72\n6\n73\n3\n40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n"
       "41\n1\n41\n2\n41\n1\n10\n0\n20\n0\n10\n1\n20\n2\n10\n2\n20\n0\n", "", 0, 0, 2, 4.0 / 3, 1e-4},
      {"circle scaled 1:2", "0\nINSERT\n2\nR\n10\n0\n20\n0\n41\n1\n42\n2\n", ringBlock, -1, -2, 1, 2, 1e-9},
      {"ellipse turned 90", "0\nINSERT\n2\nE\n10\n10\n20\n0\n50\n90\n", ovalBlock, 9, -2, 11, 2, 1e-9},
      {"ellipse turned 30", "0\nINSERT\n2\nE\n10\n0\n20\n0\n50\n30\n", ovalBlock, -std::sqrt(3.25), -std::sqrt(1.75),
       std::sqrt(3.25), std::sqrt(1.75), 1e-9},
      {"arc mirrored", "0\nINSERT\n2\nQ\n10\n0\n20\n0\n41\n-1\n", quarterArcBlock, -1, 0, 0, 1, 1e-9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    const auto d = Read(Drawing(c.entities, c.blocks));
    ASSERT_EQ(d.status, dxf::ReadStatus::kOk) << d.message;
    ASSERT_FALSE(d.extents.empty);
    EXPECT_NEAR(d.extents.minX, c.minX, c.tolerance);
    EXPECT_NEAR(d.extents.minY, c.minY, c.tolerance);
    EXPECT_NEAR(d.extents.maxX, c.maxX, c.tolerance);
    EXPECT_NEAR(d.extents.maxY, c.maxY, c.tolerance);
  }
}

TEST(DxfReader, BlockReferencesArePlacedScaledAndTurned) {
  const std::string blocks =
      "0\nBLOCK\n2\nDOOR\n10\n1\n20\n1\n0\nLINE\n10\n1\n20\n1\n11\n2\n21\n1\n0\nENDBLK\n"
      "0\nBLOCK\n2\nPAIR\n10\n0\n20\n0\n0\nINSERT\n2\nDOOR\n10\n0\n20\n0\n0\nENDBLK\n"
      "0\nBLOCK\n2\nSELF\n0\nINSERT\n2\nSELF\n0\nENDBLK\n";
  const auto d = Read(Drawing("0\nINSERT\n2\nDOOR\n10\n10\n20\n0\n41\n3\n42\n3\n50\n90\n"
                              "0\nINSERT\n2\nPAIR\n10\n0\n20\n5\n0\nINSERT\n2\nSELF\n0\nINSERT\n2\nNONE\n",
                              blocks));
  ASSERT_EQ(d.status, dxf::ReadStatus::kOk);
  ASSERT_EQ(d.entities.size(), 2u);
  EXPECT_NEAR(d.entities[0].points[0].x, 10, 1e-9);
  EXPECT_NEAR(d.entities[0].points[1].x, 10, 1e-9);
  EXPECT_NEAR(d.entities[0].points[1].y, 3, 1e-9);  // three units long, turned to point up
  EXPECT_NEAR(d.entities[1].points[0].y, 5, 1e-9);  // through the nested block
}

TEST(DxfReader, LayerColoursApplyAndLayersOffOrFrozenAreLeftOut) {
  const std::string text =
      "0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
      "0\nLAYER\n2\nWALLS\n62\n3\n0\nLAYER\n2\nOff\n62\n-3\n0\nLAYER\n2\nCOLD\n62\n1\n70\n1\n"
      "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n"
      "0\nBLOCK\n2\nB\n0\nLINE\n8\n0\n62\n0\n11\n1\n0\nLINE\n8\nWALLS\n11\n2\n0\nENDBLK\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nwalls\n11\n1\n0\nLINE\n8\nOFF\n11\n1\n0\nLINE\n8\nCOLD\n11\n1\n"
      "0\nINSERT\n8\nCOLD\n2\nB\n0\nINSERT\n8\nOFF\n2\nB\n0\nINSERT\n8\nWALLS\n62\n5\n2\nB\n0\nENDSEC\n0\nEOF\n";
  const auto d = Read(text);
  // Names match whatever their case. The reference on the frozen layer hides all it holds; the one on the
  // layer that is off, what it holds on layer 0; the third gives its colour to the line "by block".
  ASSERT_EQ(d.entities.size(), 4u);
  EXPECT_EQ(d.entities[0].colour, 0x0000FF00u);
  EXPECT_DOUBLE_EQ(d.entities[1].points[1].x, 2);
  EXPECT_EQ(d.entities[1].colour, 0x0000FF00u);
  EXPECT_DOUBLE_EQ(d.entities[2].points[1].x, 1);
  EXPECT_EQ(d.entities[2].colour, 0x00FF0000u);
  EXPECT_DOUBLE_EQ(d.entities[3].points[1].x, 2);
}

TEST(DxfReader, DamagedTruncatedAndEmptyDrawings) {
  const auto damaged = Read(Drawing("0\nLINE\nten\n1\n"));
  EXPECT_EQ(damaged.status, dxf::ReadStatus::kDamaged);
  EXPECT_TRUE(damaged.entities.empty());
  EXPECT_EQ(Read(Drawing("0\nCIRCLE\n10\n1e999\n40\n1\n")).status, dxf::ReadStatus::kDamaged);
  EXPECT_EQ(Read(Drawing("0\nLINE\n10\nnan\n")).status, dxf::ReadStatus::kDamaged);

  std::string cut = Drawing("0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nPOINT\n10\n3\n");
  cut.resize(cut.find("0\nENDSEC\n0\nEOF"));
  const auto truncated = Read(cut);
  EXPECT_EQ(truncated.status, dxf::ReadStatus::kTruncated);
  EXPECT_EQ(truncated.entities.size(), 2u);

  // A polyline without vertices is nothing; one cut short keeps what it has.
  const auto bare = Read(Drawing("0\nPOLYLINE\n70\n1\n0\nSEQEND\n"));
  EXPECT_TRUE(bare.entities.empty());
  const auto open = Read("0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n0\nVERTEX\n10\n1\n0\nVERTEX\n10\n2\n");
  ASSERT_EQ(open.entities.size(), 1u);
  EXPECT_EQ(open.entities[0].points.size(), 2u);

  const auto empty = Read("");
  EXPECT_EQ(empty.status, dxf::ReadStatus::kTruncated);
  EXPECT_TRUE(empty.entities.empty());
  EXPECT_TRUE(empty.extents.empty);
  const auto noEntities = Read(Drawing(""));
  EXPECT_EQ(noEntities.status, dxf::ReadStatus::kOk);
  EXPECT_TRUE(noEntities.entities.empty());
}

TEST(DxfReader, WindowsLineEndsSpacesAndDegenerateEntities) {
  const auto d = Read("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nCIRCLE\r\n 10\r\n1.0\r\n 40\r\n0\r\n"
                      "  0\r\nTEXT\r\n 40\r\n1\r\n  0\r\nLINE\r\n 11\r\n 2.0 \r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
  ASSERT_EQ(d.status, dxf::ReadStatus::kOk);
  EXPECT_FALSE(d.hasHeader);
  ASSERT_EQ(d.entities.size(), 1u);  // no radius, no text: nothing to draw
  EXPECT_DOUBLE_EQ(d.entities[0].points[1].x, 2);
}

TEST(DxfReader, ProgressRisesToOneHundred) {
  const std::string text = Drawing("999\n" + std::string(200, 'x') + "\n0\nPOINT\n");
  int last = -1, calls = 0;
  bool rising = true;
  dxf::ReadDrawing(text.data(), text.size(), [&](int percent) {
    rising = rising && percent >= last;
    last = percent;
    ++calls;
  });
  EXPECT_TRUE(rising);
  EXPECT_EQ(last, 100);
  EXPECT_GT(calls, 3);
}

// A drawing opens a section, whichever it is, after its comments; words alone are no drawing.
TEST(DxfReader, TheSniffWantsASectionOpenedBeforeTheFirstNul) {
  for (const std::string& drawing : {std::string("0\nSECTION\n2\nHEADER\n"), std::string("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"),
                                     std::string("999\nmade by a plotter\n0\nSECTION\n2\nBLOCKS\n")})
    EXPECT_TRUE(dxf::LooksLikeDrawing(drawing.data(), drawing.size())) << drawing;
  for (const std::string& other : {std::string("notes: HEADER and SECTION"), std::string("0\nsection\n2\nHEADER\n"),
                                   std::string("0\nSECTION\n"), std::string("0\nSECTION") + '\0' + "\n2\nHEADER\n",
                                   std::string("0\nLINE\n0\nSECTION\n2\nHEADER\n")})
    EXPECT_FALSE(dxf::LooksLikeDrawing(other.data(), other.size())) << other;
}

// What a layout's paper holds (group 67) is not drawn over the model; a block's entities are placed as the
// reference says, whatever their own group 67.
TEST(DxfReader, PaperSpaceIsLeftOut) {
  const auto d = Read(Drawing("0\nLINE\n67\n1\n10\n0\n20\n0\n11\n297\n21\n0\n0\nCIRCLE\n67\n0\n10\n1\n20\n1\n40\n1\n"
                              "0\nPOLYLINE\n67\n1\n66\n1\n0\nVERTEX\n67\n1\n10\n5\n20\n5\n0\nSEQEND\n0\nINSERT\n67\n1\n2\nB\n",
                              "0\nBLOCK\n67\n1\n2\n*Paper_Space\n0\nLINE\n11\n9\n0\nENDBLK\n67\n1\n"
                              "0\nBLOCK\n2\nB\n0\nLINE\n67\n1\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n"));
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_EQ(d.entities[0].kind, EntityKind::kCircle);
  EXPECT_DOUBLE_EQ(d.extents.maxX, 2);
  EXPECT_EQ(Read(Drawing(dxf_test::Insert("B"), "0\nBLOCK\n2\nB\n0\nLINE\n67\n1\n11\n1\n0\nENDBLK\n")).entities.size(), 1u);
}

// The text of a drawing of 2000 is handed to the decoder with the code page its header names (1252 when it
// names none); without a decoder, or when it refuses, its bytes are Latin-1; of 2007 on it is UTF-8.
TEST(DxfReader, TextIsDecodedFromTheCodePageTheHeaderNames) {
  const auto text = [](const char* version, const char* page, const dxf::CodePageDecoder& decode) {
    const std::string drawing = std::string("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n") + version +
                                "\n9\n$DWGCODEPAGE\n3\n" + page +
                                "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nTEXT\n40\n1\n1\nA\xC4\n0\nENDSEC\n0\nEOF\n";
    return dxf::ReadDrawing(drawing.data(), drawing.size(), {}, decode).entities.at(0).text;
  };
  const dxf::CodePageDecoder decoder = [](std::string_view bytes, unsigned page, std::string& utf8) {
    utf8 = std::string(bytes) + std::to_string(page);
    return page != 1258;
  };
  EXPECT_EQ(text("AC1015", "ANSI_1251", decoder), "A\xC4" "1251");
  EXPECT_EQ(text("AC1009", "nonsense", decoder), "A\xC4" "1252");
  EXPECT_EQ(text("AC1015", "ANSI_1258", decoder), "A\xC3\x84");
  EXPECT_EQ(text("AC1015", "ANSI_1251", {}), "A\xC3\x84");
  EXPECT_EQ(text("AC1021", "ANSI_1251", decoder), "A\xC4");
}

// Meshes as a drawing seen from above shows them: a polyface mesh by its faces' edges (a negative index hides
// the edge from its corner; a face naming a vertex the mesh lacks, or none, is left out; face records are no
// points, wherever they stand), an M x N mesh by its grid, as far as its vertices fill it whatever its counts
// say. Every entity drawn lies on the mesh's own vertices: the extents are their box.
TEST(DxfReader, MeshesAreDrawnByTheirFacesAndTheirGrid) {
  const auto vertex = [](double x, double y) {
    return "0\nVERTEX\n70\n192\n10\n" + std::to_string(x) + "\n20\n" + std::to_string(y) + "\n30\n7\n";
  };
  const auto face = [](const std::string& indexes) {
    std::string text = "0\nVERTEX\n70\n128\n10\n0\n20\n0\n";
    int code = 71;
    for (size_t at = 0; at < indexes.size();) {
      const size_t end = std::min(indexes.find(' ', at), indexes.size());
      text += std::to_string(code++) + "\n" + indexes.substr(at, end - at) + "\n";
      at = end + 1;
    }
    return text;
  };
  const std::string polyface = "0\nPOLYLINE\n66\n1\n70\n64\n71\n4\n72\n6\n" + face("1 2 4") + vertex(10, 10) +
                               vertex(20, 10) + vertex(20, 20) + vertex(10, 20) + face("1 2 3 4") + face("1 -2 3") +
                               face("1 2 9") + face("-1 -999999999 3") + face("0 0 0 0") + face("3 4") +
                               "0\nSEQEND\n";
  auto d = Read(Drawing(polyface));
  ASSERT_EQ(d.status, dxf::ReadStatus::kOk) << d.message;
  // Triangle 1 2 4 and the square whole, the triangle 1 2 3 without its edge 2-3, the edge 3-4.
  ASSERT_EQ(d.entities.size(), 5u);
  EXPECT_EQ(d.entities[0].points.size(), 3u);
  EXPECT_TRUE(d.entities[0].closed);
  EXPECT_EQ(d.entities[1].points.size(), 4u);
  EXPECT_EQ(d.entities[2].kind, EntityKind::kLine);
  EXPECT_DOUBLE_EQ(d.entities[2].points[1].x, 20);  // 1 to 2
  EXPECT_DOUBLE_EQ(d.entities[3].points[0].y, 20);  // 3 to 1
  EXPECT_DOUBLE_EQ(d.entities[3].points[1].x, 10);
  EXPECT_EQ(d.entities[4].points.size(), 2u);
  EXPECT_DOUBLE_EQ(d.extents.minX, 10);
  EXPECT_DOUBLE_EQ(d.extents.minY, 10);
  EXPECT_DOUBLE_EQ(d.extents.maxX, 20);
  // Cut short before its end, in the drawing and in a block: the faces it has.
  EXPECT_EQ(Read("0\nSECTION\n2\nENTITIES\n" + polyface.substr(0, polyface.rfind("0\nSEQEND"))).entities.size(), 5u);
  EXPECT_EQ(Read(Drawing(dxf_test::Insert("M"), "0\nBLOCK\n2\nM\n" + polyface.substr(0, polyface.rfind("0\nSEQEND")) +
                                                     "0\nENDBLK\n")).entities.size(), 5u);

  // A 3 x 4 mesh closed in N: three closed rows of four, four open columns of three.
  std::string mesh = "0\nPOLYLINE\n66\n1\n70\n48\n71\n3\n72\n4\n";
  for (int m = 0; m < 3; ++m)
    for (int n = 0; n < 4; ++n) mesh += "0\nVERTEX\n70\n64\n10\n" + std::to_string(5 + n) + "\n20\n" + std::to_string(5 + m) + "\n";
  d = Read(Drawing(mesh + "0\nSEQEND\n"));
  ASSERT_EQ(d.entities.size(), 7u);
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(d.entities[i].closed && d.entities[i].points.size() == 4) << i;
  for (size_t i = 3; i < 7; ++i) EXPECT_TRUE(!d.entities[i].closed && d.entities[i].points.size() == 3) << i;
  EXPECT_DOUBLE_EQ(d.entities[3].points[2].y, 7);
  EXPECT_DOUBLE_EQ(d.extents.minX, 5);
  EXPECT_DOUBLE_EQ(d.extents.maxY, 7);
  // Counts the vertices do not fill: the rows they fill (two of four points), or nothing at all.
  const auto counted = [&](const std::string& m, const std::string& n) {
    std::string text = "0\nPOLYLINE\n70\n17\n71\n" + m + "\n72\n" + n + "\n";
    for (int k = 0; k < 9; ++k) text += "0\nVERTEX\n10\n" + std::to_string(k) + "\n20\n1\n";
    return Read(Drawing(text + "0\nSEQEND\n")).entities.size();
  };
  EXPECT_EQ(counted("3", "4"), 2u + 4u);
  EXPECT_EQ(counted("1000000000", "1000000000"), 0u);
  EXPECT_EQ(counted("1000000000", "2"), 4u + 2u);
  EXPECT_EQ(counted("0", "4"), 0u);
  EXPECT_EQ(counted("3", "-4"), 0u);
}

// A POLYLINE's flags say what its vertices are: a spline-fit polyline's frame is not on its line, and a 3D
// polyline or mesh keeps world coordinates (it is not mirrored for an extrusion that points down, as a flat
// polyline is).
TEST(DxfReader, PolylineFlagsSayWhatTheVerticesAre) {
  auto d = Read(Drawing("0\nPOLYLINE\n70\n4\n0\nVERTEX\n70\n16\n10\n50\n20\n50\n0\nVERTEX\n70\n8\n10\n1\n20\n1\n"
                        "0\nVERTEX\n70\n8\n10\n2\n20\n3\n0\nVERTEX\n70\n16\n10\n-50\n20\n0\n0\nSEQEND\n"));
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_EQ(d.entities[0].points.size(), 2u);
  EXPECT_DOUBLE_EQ(d.extents.maxX, 2);
  for (const char* flags : {"8", "0"}) {
    d = Read(Drawing(std::string("0\nPOLYLINE\n70\n") + flags + "\n230\n-1\n0\nVERTEX\n10\n1\n20\n1\n0\nVERTEX\n10\n2\n20\n3\n0\nSEQEND\n"));
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_DOUBLE_EQ(d.entities[0].points[0].x, std::string(flags) == "8" ? 1 : -1) << flags;
  }
}

// A drawing saved with a UTF-8 byte-order mark is one, and its text is UTF-8 whatever its version says.
TEST(DxfReader, AUtf8MarkIsPassedOverAndSaysUtf8) {
  const std::string marked = "\xEF\xBB\xBF" + Drawing("0\nTEXT\n40\n1\n1\nCaf\xC3\xA9\n");
  EXPECT_TRUE(dxf::LooksLikeDrawing(marked.data(), marked.size()));
  const auto d = Read(marked);
  ASSERT_EQ(d.status, dxf::ReadStatus::kOk) << d.message;
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_EQ(d.entities[0].text, "Caf\xC3\xA9");
  const std::string half = "\xEF\xBB" + Drawing("");
  EXPECT_FALSE(dxf::LooksLikeDrawing(half.data(), half.size()));
}

}  // namespace

namespace {

// Every block reference counts against the cap of a million, the ones refused for their depth or for a
// block that is not there too: a block naming itself hundreds of times costs at most that many calls.
TEST(DxfReader, EveryBlockReferenceCountsAgainstItsCap) {
  constexpr size_t kCap = 1000000;
  for (const std::string& text : {dxf_test::SelfNamingBlock(13 << 10), dxf_test::MissingBlocks(13 << 10)}) {
    const auto d = Read(text);
    ASSERT_EQ(d.status, dxf::ReadStatus::kOk) << d.message;
    EXPECT_TRUE(d.entities.empty());
    EXPECT_LE(d.blockReferences, kCap);
  }
  // An ordinary nest is expanded whole: seven levels, each naming the next four times, the last one line.
  std::string blocks;
  for (int level = 1; level <= 6; ++level) {
    blocks += "0\nBLOCK\n2\nL" + std::to_string(level) + "\n";
    for (int i = 0; i < 4; ++i) blocks += dxf_test::Insert("L" + std::to_string(level + 1));
    blocks += "0\nENDBLK\n";
  }
  blocks += "0\nBLOCK\n2\nL7\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
  const auto nest = Read(Drawing(dxf_test::Insert("L1"), blocks));
  EXPECT_EQ(nest.entities.size(), 4096u);                                  // 4^6 lines
  EXPECT_EQ(nest.blockReferences, 1u + 4 + 16 + 64 + 256 + 1024 + 4096);  // every reference once
}

}  // namespace
