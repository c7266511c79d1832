#include "platform/classlib/cmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/classlib/classlib_testing.h"

namespace {

using CIdSet = CMap<UINT, UINT, BOOL, BOOL>;

template <class Map, class Key, class Value>
std::vector<Key> KeysInOrder(const Map& map) {
  std::vector<Key> keys;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    Key key;
    Value value;
    map.GetNextAssoc(pos, key, value);
    keys.push_back(key);
  }
  return keys;
}

std::vector<UINT> Ids(const CIdSet& set) { return KeysInOrder<CIdSet, UINT, BOOL>(set); }

TEST(CMapOrder, BucketsUpwardsNewestFirstWithinABucket) {
  // Buckets ((id >> 4) mod 17): 1 -> 0, 17 and 16 -> 1, 33 and 40 -> 2, 0x100 -> 16, 0x110 -> 0.
  CIdSet set;
  for (UINT id : {1u, 17u, 16u, 33u, 40u, 0x100u, 0x110u}) set[id] = TRUE;
  EXPECT_EQ(Ids(set), (std::vector<UINT>{0x110, 1, 16, 17, 40, 33, 0x100}));

  // Changing a value keeps the order; removing a key keeps the others' order.
  set.SetAt(1, FALSE);
  EXPECT_TRUE(set.RemoveKey(16));
  EXPECT_FALSE(set.RemoveKey(16));
  EXPECT_EQ(Ids(set), (std::vector<UINT>{0x110, 1, 17, 40, 33, 0x100}));
  set[16] = TRUE;  // back at the head of its bucket
  EXPECT_EQ(Ids(set), (std::vector<UINT>{0x110, 1, 16, 17, 40, 33, 0x100}));
}

// Ids that differ only in their low bits, as a stored list of command ids can hold any number of, each
// get a bucket of their own in a map hashed on the whole id: 0x100 + k lands in bucket 1 + k of 17, so
// the map walks them upwards, none sharing a chain. The class library's own hash puts all 16 in one.
TEST(CMapOrder, AWholeIdHashSpreadsIdsThatDifferInTheirLowBits) {
  CMap<UINT, UINT, BOOL, BOOL, CMapWholeHash> whole;
  CIdSet shifted;
  std::vector<UINT> ids;
  for (UINT id = 0x100; id < 0x110; ++id) {
    whole[id] = TRUE;
    shifted[id] = TRUE;
    ids.push_back(id);
  }
  std::vector<UINT> walked;
  for (POSITION pos = whole.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    BOOL value = FALSE;
    whole.GetNextAssoc(pos, id, value);
    walked.push_back(id);
  }
  EXPECT_EQ(walked, ids);
  std::reverse(ids.begin(), ids.end());
  EXPECT_EQ(Ids(shifted), ids);
}

TEST(CMapOrder, TableSizeDecidesTheBuckets) {
  CIdSet set;
  set.InitHashTable(3);
  // Buckets ((id >> 4) mod 3): 0x10 -> 1, 0x20 -> 2, 0x30 -> 0, 0x40 -> 1.
  for (UINT id : {0x10u, 0x20u, 0x30u, 0x40u}) set[id] = TRUE;
  EXPECT_EQ(Ids(set), (std::vector<UINT>{0x30, 0x40, 0x10, 0x20}));
  EXPECT_EQ(set.GetHashTableSize(), 3u);
  // Emptying the map frees its table but keeps its size.
  for (UINT id : {0x10u, 0x20u, 0x30u, 0x40u}) set.RemoveKey(id);
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_EQ(set.GetStartPosition(), nullptr);
  set[0x30] = TRUE;
  EXPECT_EQ(Ids(set), (std::vector<UINT>{0x30}));
}

TEST(CMapOrder, StringKeysHashTheirUnits) {
  EXPECT_EQ(HashKey(_T("")), 0u);
  EXPECT_EQ(HashKey(_T("ab")), 97u * 33 + 98);  // 3299, bucket 1
  EXPECT_EQ(HashKey(CString(_T("b"))), 98u);    // bucket 13
  // "a" 97 -> bucket 12, "ab" -> 1, "b" -> 13, "ba" 3331 -> 16, "c" 99 -> 14.
  CMapStringToPtr map;
  int dummy = 0;
  for (LPCTSTR key : {_T("a"), _T("ab"), _T("b"), _T("ba"), _T("c")}) map.SetAt(key, &dummy);
  const std::vector<CString> keys = KeysInOrder<CMapStringToPtr, CString, void*>(map);
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[0] + _T(",") + keys[1] + _T(",") + keys[2] + _T(",") + keys[3] + _T(",") + keys[4],
            _T("ab,a,b,c,ba"));
}

TEST(CMapLookup, LookupIndexAndRemoveAll) {
  CMapStringToString map;
  map[_T("one")] = _T("1");
  map.SetAt(_T("two"), _T("2"));
  map.SetAt(_T("one"), _T("uno"));
  EXPECT_EQ(map.GetCount(), 2);
  CString value;
  EXPECT_TRUE(map.Lookup(_T("one"), value));
  EXPECT_EQ(value, _T("uno"));
  EXPECT_FALSE(map.Lookup(_T("ONE"), value));
  EXPECT_EQ(map[_T("three")], _T(""));  // added, empty
  EXPECT_EQ(map.GetCount(), 3);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_FALSE(map.Lookup(_T("two"), value));

  CMapPtrToPtr pointers;
  int a = 0, b = 0;
  pointers[&a] = &b;
  void* found = nullptr;
  EXPECT_TRUE(pointers.Lookup(&a, found));
  EXPECT_EQ(found, &b);
  EXPECT_FALSE(pointers.Lookup(&b, found));
  CMapWordToPtr words;
  words[7] = &a;
  EXPECT_TRUE(words.Lookup(7, found));
}

TEST(CMapArchive, LoadingAddsInStoredOrderSoABucketComesBackReversed) {
  CIdSet set;
  for (UINT id : {1u, 2u, 3u, 0x20u}) set[id] = TRUE;
  EXPECT_EQ(Ids(set), (std::vector<UINT>{3, 2, 1, 0x20}));
  const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { set.Serialize(ar); });
  // The count, then each key and value (4 bytes each) in map order.
  ASSERT_EQ(bytes.size(), 2u + 4 * 8);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[2], 3);
  EXPECT_EQ(bytes[6], 1);
  EXPECT_EQ(bytes[10], 2);
  CIdSet loaded;
  Loaded(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
  EXPECT_EQ(Ids(loaded), (std::vector<UINT>{1, 2, 3, 0x20}));
}

// A stored list may name a key many times: it is taken where it first comes, with its last value, as
// SetAt of each entry in turn leaves it (1, 18 and 35 share bucket 1 of 17).
TEST(CMapArchive, RepeatedKeysTakeTheirFirstPlaceAndLastValue) {
  CMap<UINT, UINT, int, int, CMapWholeHash> map;
  map.SetLoaded({{1, 10}, {18, 20}, {1, 11}, {35, 30}, {18, 21}, {1, 12}});
  EXPECT_EQ(map.GetCount(), 3);
  std::vector<std::pair<UINT, int>> walked;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    UINT key = 0;
    int value = 0;
    map.GetNextAssoc(pos, key, value);
    walked.emplace_back(key, value);
  }
  EXPECT_EQ(walked, (std::vector<std::pair<UINT, int>>{{35, 30}, {18, 21}, {1, 12}}));
  map.SetLoaded({{2, 40}, {1, 13}});  // into a map that has keys: as SetAt
  EXPECT_EQ(map.GetCount(), 4);
  EXPECT_EQ(map[1], 13);
}

// A long map would take time with the square of its length in the default table: it is loaded into one
// sized to what the data holds, whatever count the data claims; a small one keeps the default. A stream
// that ends inside an entry keeps the entries before it and still raises its error.
TEST(CMapArchive, ALongMapLoadsIntoATableSizedToItsEntries) {
  for (UINT count : {64u, 65u, 5000u, 200000u}) {
    CIdSet set;
    set.InitHashTable(HashTableSizeFor(count));
    for (UINT i = 0; i < count; ++i) set[i * 0x110] = TRUE;  // one bucket of the default table
    const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { set.Serialize(ar); });
    CIdSet loaded;
    Loaded(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetCount(), static_cast<int>(count));
    EXPECT_EQ(loaded.GetHashTableSize(), count <= 64 ? 17u : HashTableSizeFor(count)) << count;
    if (count > 64) {
      EXPECT_GT(loaded.GetHashTableSize(), count) << count;
    }
    // Cut inside its last entry, under a count far beyond the data.
    std::vector<BYTE> damaged = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    damaged.insert(damaged.end(), bytes.begin() + (count < 0xFFFF ? 2 : 6), bytes.end() - 3);
    CIdSet cut;
    bool thrown = false;
    try {
      Loaded(damaged, [&](CArchive& ar) { cut.Serialize(ar); });
    } catch (CArchiveException* e) {
      e->Delete();
      thrown = true;
    }
    EXPECT_TRUE(thrown) << count;
    EXPECT_EQ(cut.GetCount(), static_cast<int>(count) - 1) << count;
    EXPECT_EQ(cut.GetHashTableSize(), count - 1 <= 64 ? 17u : HashTableSizeFor(count - 1)) << count;
  }
  // Table sizes: primes a quarter above the count, bounded.
  for (size_t count : {size_t{65}, size_t{1000}, size_t{99991}, size_t{1} << 30}) {
    const UINT size = HashTableSizeFor(count);
    EXPECT_GE(size, std::min<size_t>(count + count / 4, size_t{1} << 22)) << count;
    for (UINT d = 2; d * d <= size; ++d) EXPECT_NE(size % d, 0u) << count;
  }
}

}  // namespace
