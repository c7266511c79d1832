#include "engine/scan/selected_signatures.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/scan/compound_file.h"
#include "engine/scan/scan_test_support.h"
#include "engine/scan/signature_index.h"

namespace {

using namespace scan_test;

SignatureRecord MakeRecord(const std::u16string& extension, const std::u16string& offset, const std::string& signature,
                           const std::u16string& group = u"Other Files", const std::string& second = "") {
  SignatureRecord record;
  record.group = group;
  record.extension = extension;
  record.description = extension + u" file";
  record.offset = offset;
  record.signature = signature;
  record.secondField = second;
  return record;
}

std::vector<const SignatureRecord*> All(const std::vector<SignatureRecord>& records) {
  std::vector<const SignatureRecord*> out;
  for (const SignatureRecord& record : records) out.push_back(&record);
  return out;
}

std::vector<std::u16string> ListedExtensions() {
  std::vector<std::u16string> out;
  for (const SelectedSignature& node : SelectedSignatureList) out.push_back(node.extension);
  return out;
}

class SelectedSignatures : public ::testing::Test {
 protected:
  void TearDown() override { FreeFileTraceSignatureList(); }
};

TEST_F(SelectedSignatures, RecordsThatCanNeverMatchAreSkipped) {
  const std::vector<SignatureRecord> records = {
      MakeRecord(u".ok", u"3", "FFD8FF", u"Graphics Files", "12AB"),
      MakeRecord(u".long", u"16", "000102030405060708090A0B0C0D0E0F"),  // more than the 15 bytes compared
      MakeRecord(u".empty", u"0", ""),                                   // would match every sector
      MakeRecord(u".nocount", u"", "FFD8"),                              // offset text without digits: 0
      MakeRecord(u".short", u"2", "FFD8FF"),                             // compares 2 bytes of a 3-byte text
      MakeRecord(u".longer", u"4", "FFD8FF"),
      MakeRecord(u".fifteen", u"15", "000102030405060708090A0B0C0D0E"),
      MakeRecord(u".digits", u"4rest", "504B0304"),                      // leading digits count
  };
  EXPECT_EQ(BuildSelectedSignatureList(All(records)), 3u);
  EXPECT_EQ(SelectedSignatureCount.load(), 3u);
  ASSERT_EQ(ListedExtensions(), (std::vector<std::u16string>{u".ok", u".fifteen", u".digits"}));
  const SelectedSignature& first = SelectedSignatureList[0];
  EXPECT_EQ(first.description, u".ok file");
  EXPECT_EQ(first.offset, 3);
  EXPECT_EQ(first.signature, "FFD8FF");
  EXPECT_EQ(first.secondValue, 12);  // the leading decimal digits of the second field's hex text
  EXPECT_EQ(SelectedSignatureList[2].offset, 4);
}

TEST_F(SelectedSignatures, BuildingEmptiesTheListFirst) {
  const std::vector<SignatureRecord> records = {MakeRecord(u".a", u"1", "41"), MakeRecord(u".b", u"1", "42")};
  BuildSelectedSignatureList(All(records));
  BuildSelectedSignatureList(All(records));  // a second OK of the dialog
  EXPECT_EQ(SelectedSignatureList.size(), 2u);
  EXPECT_EQ(SelectedSignatureCount.load(), 2u);
  FreeFileTraceSignatureList();
  EXPECT_TRUE(SelectedSignatureList.empty());
  EXPECT_EQ(SelectedSignatureCount.load(), 0u);
}

TEST_F(SelectedSignatures, FirstMatchInListOrderWins) {
  AppendSelectedSignature(u".zip", u"ZIP Archive", 4, "504B0304", 0);
  AppendSelectedSignature(u".docx", u"Office Open XML", 8, "504B030414000600", 0);
  AppendSelectedSignature(u".jpg", u"JPEG Image", 3, "ffd8ff", 0);  // stored in lower case: still matches
  AppendSelectedSignature(u".big", u"Too long", 16, "000102030405060708090A0B0C0D0E0F", 0);
  AppendSelectedSignature(u".none", u"Empty", 0, "", 0);
  uint8_t sector[512] = {0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x06, 0x00};
  const SelectedSignature* hit = MatchSelectedSignature(sector, sizeof sector);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->extension, u".zip");

  const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0};
  hit = MatchSelectedSignature(jpeg, sizeof jpeg);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->extension, u".jpg");
  EXPECT_EQ(MatchSelectedSignature(jpeg, 2), nullptr);  // fewer bytes than the signature

  // Neither the 16-byte signature (its first 15 bytes match) nor the empty one matches anything.
  uint8_t counting[512] = {};
  for (int i = 0; i < 16; ++i) counting[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(MatchSelectedSignature(counting, sizeof counting), nullptr);
  EXPECT_EQ(SelectedSignatureCount.load(), 5u);
}

TEST_F(SelectedSignatures, HitExtensionTakesTheClassificationOnlyWhenSelected) {
  AppendSelectedSignature(u".doc", u"MS Office Document", 8, "D0CF11E0A1B11AE1", 0);
  AppendSelectedSignature(u".docx", u"Office Open XML", 8, "504B030414000600", 0);
  AppendSelectedSignature(u".pub", u"Publisher", 8, "D0CF11E0A1B11AE1", 0);
  const SelectedSignature& doc = SelectedSignatureList[0];
  const SelectedSignature& docx = SelectedSignatureList[1];
  EXPECT_EQ(HitExtension(doc, u".xls"), u".doc");  // ".xls" is not ticked
  EXPECT_EQ(HitExtension(doc, u".pub"), u".pub");
  EXPECT_EQ(HitExtension(doc, u""), u".doc");
  EXPECT_EQ(HitExtension(docx, u""), u".docx");
  AppendSelectedSignature(u".xls", u"Excel", 8, "D0CF11E0A1B11AE1", 0);
  EXPECT_EQ(HitExtension(doc, u".xls"), u".xls");
}

// The generated database, ticked as the file-types dialog would tick it.
class GeneratedDatabase : public SelectedSignatures {
 protected:
  void SetUp() override { ASSERT_TRUE(ReadSignatureDatabase(RawDatPath(), &database_)); }
  std::vector<std::u16string> Select(const std::vector<std::u16string>& ticked) {
    BuildSelectedSignatureList(TickedSignatureRecords(database_.records, ticked));
    return ListedExtensions();
  }
  SignatureDatabase database_;
};

TEST_F(GeneratedDatabase, EveryRecordIsUsable) {
  for (const SignatureRecord& record : database_.records) EXPECT_TRUE(IsUsableSignatureRecord(record));
}

TEST_F(GeneratedDatabase, CompoundDocumentTypesComeAfterDoc) {
  EXPECT_EQ(Select({u".pub", u".ppt", u".xls", u".doc"}),
            (std::vector<std::u16string>{u".doc", u".xls", u".ppt", u".pub"}));
  // Every compound file is found through ".doc" when it is ticked.
  const uint8_t compound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0x00};
  const SelectedSignature* hit = MatchSelectedSignature(compound, sizeof compound);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->extension, u".doc");
}

TEST_F(GeneratedDatabase, ZipComesBeforeDocx) {
  EXPECT_EQ(Select({u".docx", u".zip"}), (std::vector<std::u16string>{u".zip", u".docx"}));
  const uint8_t office[] = {0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x06, 0x00, 0x08, 0x00};
  EXPECT_EQ(MatchSelectedSignature(office, sizeof office)->extension, u".zip");
  // Without ".zip" the same bytes are a ".docx"; ticking ".pub" does not rename it, as no ZIP is a
  // compound file.
  Select({u".docx", u".pub"});
  const SelectedSignature* hit = MatchSelectedSignature(office, sizeof office);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->extension, u".docx");
  const std::vector<uint8_t> zip = ReadFileBytes(CompoundSample("office_open_xml.zip"));
  ASSERT_FALSE(zip.empty());
  EXPECT_EQ(HitExtension(*hit, ClassifyCompoundFile(zip.data(), zip.size())), u".docx");
}

TEST_F(GeneratedDatabase, RecordsOfOneTypeFollowEachOtherLastInTheFileFirst) {
  EXPECT_EQ(Select({u".gif", u".jpg"}), (std::vector<std::u16string>{u".jpg", u".gif", u".gif"}));
  EXPECT_EQ(SelectedSignatureList[1].signature, "474946383961");  // GIF89a, then GIF87a
  EXPECT_EQ(SelectedSignatureList[2].signature, "474946383761");
  EXPECT_EQ(Select({u".JPG", u"Graphics Files"}), std::vector<std::u16string>{});  // exact text only
}

TEST_F(GeneratedDatabase, SpecificSignaturesComeFirst) {
  Select({u".tif", u".cr2"});
  const uint8_t canon[] = {0x49, 0x49, 0x2A, 0x00, 0x10, 0x00, 0x00, 0x00, 0x43, 0x52, 0x02, 0x00};
  EXPECT_EQ(MatchSelectedSignature(canon, sizeof canon)->extension, u".cr2");
  const uint8_t tiff[] = {0x49, 0x49, 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00};
  EXPECT_EQ(MatchSelectedSignature(tiff, sizeof tiff)->extension, u".tif");
}

TEST(TickedSignatureRecords, TreeOrder) {
  const std::vector<SignatureRecord> records = {
      MakeRecord(u".b", u"1", "42", u"G2"), MakeRecord(u".a", u"1", "41", u"G1"), MakeRecord(u"", u"1", "00", u"G1"),
      MakeRecord(u".c", u"1", "43", u"G1"), MakeRecord(u".a", u"1", "61", u"G1")};
  const std::vector<const SignatureRecord*> ticked = TickedSignatureRecords(records, {u".a", u".c", u".b", u""});
  ASSERT_EQ(ticked.size(), 4u);
  EXPECT_EQ(ticked[0], &records[0]);  // group G2 appears first
  EXPECT_EQ(ticked[1], &records[4]);  // then G1: ".a" with both its records, the last in the file first
  EXPECT_EQ(ticked[2], &records[1]);
  EXPECT_EQ(ticked[3], &records[3]);  // ".c"; the record without an extension is no type
}

// Two signatures of one extension: the one later in the file is tried first, so a sector both match is a hit
// of the later one; a type ticked in one group takes nothing of the same extension in another group.
TEST_F(SelectedSignatures, TwoSignaturesOfOneExtensionLastInTheFileFirstAndOnlyInTheTickedGroup) {
  const std::vector<SignatureRecord> records = {
      MakeRecord(u".x", u"2", "4142", u"G1"), MakeRecord(u".x", u"3", "414243", u"G1"),
      MakeRecord(u".x", u"4", "41424344", u"G2")};
  ASSERT_EQ(BuildSelectedSignatureList(TickedSignatureRecords(records, std::vector<TickedType>{{u"G1", u".x"}})), 2u);
  EXPECT_EQ(SelectedSignatureList[0].signature, "414243");
  EXPECT_EQ(SelectedSignatureList[1].signature, "4142");
  const uint8_t sector[] = {0x41, 0x42, 0x43, 0x44, 0x45};
  const SelectedSignature* hit = MatchSelectedSignature(sector, sizeof sector);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->signature, "414243");
  // G2's item alone: only its record.
  ASSERT_EQ(BuildSelectedSignatureList(TickedSignatureRecords(records, std::vector<TickedType>{{u"G2", u".x"}})), 1u);
  EXPECT_EQ(SelectedSignatureList[0].signature, "41424344");
  // The extension in every group: G1's two, then G2's.
  ASSERT_EQ(BuildSelectedSignatureList(TickedSignatureRecords(records, std::vector<std::u16string>{u".x"})), 3u);
  EXPECT_EQ(SelectedSignatureList[2].signature, "41424344");
}

TEST(SignatureTypeTree, OneItemPerTypeInEachGroupInFirstAppearanceOrder) {
  const std::vector<SignatureRecord> records = {
      MakeRecord(u".b", u"1", "42", u"G2"), MakeRecord(u".a", u"1", "41", u"G1"), MakeRecord(u"", u"1", "00", u"G3"),
      MakeRecord(u".c", u"1", "43", u"G1"), MakeRecord(u".a", u"1", "61", u"G1"), MakeRecord(u".a", u"1", "61", u"G2")};
  const std::vector<SignatureGroup> tree = SignatureTypeTree(records);
  ASSERT_EQ(tree.size(), 2u);  // a group of records without extensions shows no item
  EXPECT_EQ(tree[0].text, u"G2");
  EXPECT_EQ(tree[0].types, (std::vector<std::u16string>{u".b", u".a"}));
  EXPECT_EQ(tree[1].text, u"G1");
  EXPECT_EQ(tree[1].types, (std::vector<std::u16string>{u".a", u".c"}));
}


// ---- the index File Trace looks sectors up in

// The bytes a hex text stands for (the test's own reading of the list's texts).
std::vector<uint8_t> HexBytes(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

// Sectors that begin with each node's signature, with all but its last byte, and with its last byte changed,
// each followed by the filler's bytes; and sectors of the filler alone.
std::vector<std::vector<uint8_t>> PlantedSectors(const std::function<uint8_t()>& filler) {
  std::vector<std::vector<uint8_t>> sectors;
  auto sector = [&](const std::vector<uint8_t>& start) {
    std::vector<uint8_t> bytes(512);
    for (uint8_t& b : bytes) b = filler();
    std::copy(start.begin(), start.end(), bytes.begin());
    sectors.push_back(bytes);
  };
  for (const SelectedSignature& node : SelectedSignatureList) {
    std::vector<uint8_t> signature = HexBytes(node.signature);
    if (signature.empty()) continue;
    sector(signature);
    signature.pop_back();
    sector(signature);
    signature.push_back(static_cast<uint8_t>(HexBytes(node.signature).back() ^ 0x01));
    sector(signature);
  }
  for (int i = 0; i < 64; ++i) sector({});
  sector(std::vector<uint8_t>(512, 0x00));
  sector(std::vector<uint8_t>(512, 0xFF));
  return sectors;
}

// The nodes the index offers for a sector's start when every one is refused, in the order offered.
std::vector<const SelectedSignature*> Offered(const SignatureIndex& index, const uint8_t* start, size_t size) {
  std::vector<const SelectedSignature*> offered;
  EXPECT_EQ(index.Match(start, size, [&](const SelectedSignature& node) {
    offered.push_back(&node);
    return false;
  }), nullptr);
  return offered;
}

// For every sector and each length of its start up to 16 bytes and whole: the index offers exactly the nodes
// whose signature a plain walk of the list matches, in list order, and gives the one taken.
void ExpectIndexAgreesWithPlainWalk(const std::vector<std::vector<uint8_t>>& sectors) {
  const SignatureIndex index(SelectedSignatureList);
  size_t matched = 0;
  for (const std::vector<uint8_t>& sector : sectors) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{4}, size_t{7}, size_t{8}, size_t{14},
                        size_t{15}, size_t{16}, sector.size()}) {
      const std::vector<const SelectedSignature*> plain = PlainSignatureMatches(sector.data(), size);
      ASSERT_EQ(Offered(index, sector.data(), size), plain) << "size " << size;
      matched += plain.empty() ? 0 : 1;
      if (plain.size() < 2) continue;
      // Refusing the first gives the second; taking any gives the first.
      EXPECT_EQ(index.Match(sector.data(), size, [&](const SelectedSignature& n) { return &n != plain[0]; }), plain[1]);
      EXPECT_EQ(index.Match(sector.data(), size, [](const SelectedSignature&) { return true; }), plain[0]);
    }
  }
  EXPECT_GT(matched, sectors.size() / 4);
}

// Lists of shapes the database does not hold (the trace test walks it with every type ticked): one type ticked in
// many groups (the same signature again and again), a one-byte signature, signatures inside others listed before
// and after them, text in lower case, nodes that can never match; and random signatures of three byte values, so
// that most sectors match several.
TEST_F(SelectedSignatures, IndexFindsWhatAPlainWalkFindsInListsOfEveryShape) {
  AppendSelectedSignature(u".d1", u"Twice", 4, "504B0304", 0);
  AppendSelectedSignature(u".one", u"One Byte", 1, "50", 0);
  AppendSelectedSignature(u".long", u"Longer", 8, "504b030414000600", 0);
  AppendSelectedSignature(u".d2", u"Twice", 4, "504B0304", 0);
  AppendSelectedSignature(u".short", u"Shorter", 2, "504B", 0);
  AppendSelectedSignature(u".big", u"Too long", 16, "504B0304140006000000000000000000", 0);
  AppendSelectedSignature(u".none", u"Empty", 0, "", 0);
  AppendSelectedSignature(u".odd", u"Odd text", 2, "504", 0);
  AppendSelectedSignature(u".fifteen", u"Fifteen", 15, "504B03041400060000000000000000", 0);
  AppendSelectedSignature(u".d3", u"Twice", 4, "504B0304", 0);
  std::mt19937 random(7);
  ExpectIndexAgreesWithPlainWalk(PlantedSectors([&] { return static_cast<uint8_t>(random() % 4 == 0 ? 0x50 : 0); }));

  FreeFileTraceSignatureList();
  const uint8_t values[] = {0x00, 0x01, 0xFF};
  for (int n = 0; n < 200; ++n) {
    const int length = 1 + static_cast<int>(random() % 15);
    std::string hex;
    for (int i = 0; i < length; ++i) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02X", values[random() % 3]);
      hex += digits;
    }
    AppendSelectedSignature(u".r", u"Random", length, hex, 0);
  }
  ExpectIndexAgreesWithPlainWalk(PlantedSectors([&] { return values[random() % 3]; }));
}

}  // namespace
