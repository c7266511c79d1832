// LZNT1 streams put together token by token: what each construct gives, and every malformed one refused. The
// files ntfs-3g writes compressed are judged by their bytes in the NTFS histories tests.
#include "engine/ntfs/lznt1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lznt1_test {
namespace {

using Bytes = std::vector<uint8_t>;

// A compressed chunk of the given token bytes (flag bytes included).
Bytes Chunk(const Bytes& tokens, uint16_t signature = 0x3000) {
  const uint16_t header = static_cast<uint16_t>(0x8000 | signature | (tokens.size() + 2 - 3));
  Bytes out(tokens.size() + 2);
  out[0] = static_cast<uint8_t>(header);
  out[1] = static_cast<uint8_t>(header >> 8);
  for (size_t i = 0; i < tokens.size(); ++i) out[i + 2] = tokens[i];
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) {
    for (uint8_t b : p) out.push_back(b);
  }
  return out;
}

// "abc", then a back-reference 3 back of 9 bytes (distance - 1 in the top 4 bits this near the start).
const Bytes kAbc = Chunk({0x08, 'a', 'b', 'c', 0x06, 0x20});

struct Result {
  bool ok;
  std::string text;
  size_t produced;
};

Result Decode(const Bytes& stream, size_t outputSize) {
  Bytes out(outputSize, 0xEE);
  size_t produced = 99;
  const bool ok = ntfs::DecompressLznt1(stream.data(), stream.size(), out.data(), out.size(), &produced);
  return {ok, std::string(out.begin(), out.end()), produced};
}

TEST(Lznt1, LiteralsBackReferencesAndStoredChunksEachFillTheirFourKilobytes) {
  const Result abc = Decode(kAbc, 12);
  EXPECT_TRUE(abc.ok);
  EXPECT_EQ(abc.text, "abcabcabcabc");
  EXPECT_EQ(abc.produced, 12u);

  // A stored chunk (header 0x3FFF) after it: the first chunk's short output is followed by zeros up to 4096.
  Bytes stored{0xFF, 0x3F};
  for (int i = 0; i < 4096; ++i) stored.push_back(static_cast<uint8_t>('A' + i % 26));
  const Result two = Decode(Join({kAbc, stored}), 8192);
  ASSERT_TRUE(two.ok);
  EXPECT_EQ(two.text.substr(0, 12), "abcabcabcabc");
  EXPECT_EQ(two.text.substr(12, 4084), std::string(4084, '\0'));
  EXPECT_EQ(two.text.substr(4096, 3), "ABC");
  EXPECT_EQ(two.produced, 8192u);

  // Far into a chunk the distance takes more bits: at 20 bytes in, 5 bits of distance and 11 of length.
  const Bytes tokens = Join({{0x00, '0', '1', '2', '3', '4', '5', '6', '7'},
                             {0x00, '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'},
                             {0x00, 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n'},
                             {0x01, 0x02, 0x98}});  // 24 bytes in: back 20 (19 << 11), 5 bytes (2 + 3)
  const Result far = Decode(Chunk(tokens), 29);
  ASSERT_TRUE(far.ok);
  EXPECT_EQ(far.text, std::string("0123456789abcdefghijklmn") + "4567" + "8");
}

TEST(Lznt1, AStreamThatEndsEarlyLeavesZerosAndSaysHowFarItReached) {
  for (const Bytes& stream : {Join({kAbc, {0, 0}, kAbc}), kAbc}) {
    const Result r = Decode(stream, 8192);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.produced, 12u);
    EXPECT_EQ(r.text.substr(12), std::string(8192 - 12, '\0'));
  }
  // Only what the output holds is decoded: a malformed chunk past it is never read.
  const Result cut = Decode(Join({kAbc, Chunk({0x01, 0x00, 0x00})}), 5);
  EXPECT_TRUE(cut.ok);
  EXPECT_EQ(cut.text, "abcab");
  EXPECT_EQ(cut.produced, 5u);
}

TEST(Lznt1, EveryMalformedChunkIsRefused) {
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"a signature other than 3", Chunk({0x00, 'a'}, 0x2000)},
      {"a chunk past the input", Bytes{0x10, 0xB0, 0x00, 'a'}},
      {"a stored chunk shorter than 4096 bytes", Bytes{0x02, 0x30, 'a', 'b', 'c'}},
      {"a back-reference at the chunk's start", Chunk({0x01, 0x00, 0x00})},
      {"a back-reference before the chunk's start", Chunk({0x02, 'a', 0x00, 0x10})},
      {"a back-reference cut off", Chunk({0x02, 'a', 0x00})},
      {"a back-reference past 4096 bytes", Chunk({0x02, 'a', 0xFF, 0x0F, 0x02, 'a', 0xFF, 0x0F})},
  };
  for (const auto& [name, stream] : cases) {
    const Result r = Decode(stream, 8192);
    EXPECT_FALSE(r.ok) << name;
    EXPECT_LE(r.produced, 8192u) << name;
  }
}

}  // namespace
}  // namespace lznt1_test
