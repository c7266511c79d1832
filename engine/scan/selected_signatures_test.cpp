#include "engine/scan/selected_signatures.h"

#include <gtest/gtest.h>

#include "engine/scan/compound_file.h"
#include "engine/scan/scan_test_support.h"

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

}  // namespace
