// CMap and the typed maps built on it: a hash table with the class library's hashing and order.
//
// Hashing: numbers and pointers hash to their value shifted right by 4 (as a 32-bit value); strings to
// h = h * 33 + unit over their UTF-16 units, from h = 0. The bucket is hash mod the table size (17
// unless InitHashTable says otherwise); the table is made on the first insertion and freed when the
// map becomes empty.
//
// Order: GetStartPosition / GetNextAssoc walk the buckets from 0 upwards and, inside a bucket, go from
// the key added last to the key added first, because a new key is put at the head of its bucket's
// chain. Removing a key leaves the order of the others as it was; changing a value does not move its
// key. This is the "map order" (hash-table order) in which the toolkit stores and lists its sets and
// icon maps, so what it saves and what it shows follows from it. Loading a map from an archive adds
// the keys in stored order, so within a bucket the loaded map walks in the reverse of the stored order.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"

// A bucket count for a table that is to hold about `count` keys: the default 17 for a small map, else a
// prime a quarter above the count, at most about four million.
UINT HashTableSizeFor(size_t count);

// The hash of a key (before the modulo of the table size).
inline UINT HashKey(LPCTSTR key) {
  UINT hash = 0;
  for (; key != nullptr && *key != 0; ++key) hash = (hash << 5) + hash + static_cast<UINT>(*key);
  return hash;
}
inline UINT HashKey(const CString& key) { return HashKey(key.GetString()); }
template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
  if constexpr (std::is_pointer_v<ARG_KEY>) {
    return static_cast<UINT>(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(key))) >> 4;
  } else {
    return static_cast<UINT>(static_cast<DWORD>(key)) >> 4;
  }
}

// The class library's hash, above; a map may be given another.
struct CMapHash {
  template <class ARG_KEY>
  UINT operator()(ARG_KEY key) const {
    return HashKey(key);
  }
};
// Every bit of a number: a map of ids read from outside, where a stored list could otherwise put ids that
// differ only in their low bits, as many as it likes, into one bucket.
struct CMapWholeHash {
  template <class ARG_KEY>
  UINT operator()(ARG_KEY key) const {
    static_assert(std::is_integral_v<ARG_KEY>, "numbers only");
    return static_cast<UINT>(static_cast<DWORD>(key));
  }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH = CMapHash>
class CMap : public CObject {
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;  // the bucket
    KEY key;
    VALUE value;
  };

 public:
  // The block size is accepted for compatibility; entries are allocated one by one.
  explicit CMap(int nBlockSize = 10) { (void)nBlockSize; }
  ~CMap() override { RemoveAll(); }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  int GetCount() const { return m_nCount; }
  int GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
  // The value of the key, added (value-initialised) when missing.
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  // What SetAt of each entry in turn leaves, for entries read from outside: an empty map's table is sized
  // to them, and repeated keys cost no walk along a bucket's chain (numbers and pointers).
  void SetLoaded(const std::vector<std::pair<KEY, VALUE>>& entries);
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  // The entry at rNextPosition; rNextPosition moves to the next one in map order, null after the last.
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Sets the number of buckets; only while the map is empty.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

  // The count (archive count encoding), then key and value of each entry in map order.
  void Serialize(CArchive& ar) override;

 private:
  CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;

  CAssoc** m_pHashTable = nullptr;
  UINT m_nHashTableSize = 17;
  int m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
  assert(m_nCount == 0 && hashSize > 0);
  if (m_nCount != 0 || hashSize == 0) return;
  delete[] m_pHashTable;
  m_pHashTable = bAllocNow ? new CAssoc*[hashSize]() : nullptr;
  m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::RemoveAll() {
  if (m_pHashTable != nullptr) {
    for (UINT bucket = 0; bucket < m_nHashTableSize; ++bucket) {
      for (CAssoc* assoc = m_pHashTable[bucket]; assoc != nullptr;) {
        CAssoc* next = assoc->pNext;
        delete assoc;
        assoc = next;
      }
    }
  }
  delete[] m_pHashTable;
  m_pHashTable = nullptr;
  m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::GetAssocAt(
    ARG_KEY key, UINT& nHash) const {
  nHash = HASH()(key) % m_nHashTableSize;
  if (m_pHashTable == nullptr) return nullptr;
  for (CAssoc* assoc = m_pHashTable[nHash]; assoc != nullptr; assoc = assoc->pNext) {
    if (assoc->key == key) return assoc;
  }
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::Lookup(ARG_KEY key, VALUE& rValue) const {
  UINT nHash;
  const CAssoc* assoc = GetAssocAt(key, nHash);
  if (assoc == nullptr) return FALSE;
  rValue = assoc->value;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::operator[](ARG_KEY key) {
  UINT nHash;
  CAssoc* assoc = GetAssocAt(key, nHash);
  if (assoc != nullptr) return assoc->value;
  if (m_pHashTable == nullptr) InitHashTable(m_nHashTableSize);
  assoc = new CAssoc{m_pHashTable[nHash], nHash, KEY(key), VALUE()};
  m_pHashTable[nHash] = assoc;  // the head of the chain: see the order above
  ++m_nCount;
  return assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::RemoveKey(ARG_KEY key) {
  if (m_pHashTable == nullptr) return FALSE;
  CAssoc** link = &m_pHashTable[HASH()(key) % m_nHashTableSize];
  for (; *link != nullptr; link = &(*link)->pNext) {
    if ((*link)->key == key) {
      CAssoc* removed = *link;
      *link = removed->pNext;
      delete removed;
      if (--m_nCount == 0) RemoveAll();
      return TRUE;
    }
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
  CAssoc* assoc = reinterpret_cast<CAssoc*>(rNextPosition);
  if (rNextPosition == BEFORE_START_POSITION) {
    assoc = nullptr;
    for (UINT bucket = 0; bucket < m_nHashTableSize && assoc == nullptr; ++bucket) {
      assoc = m_pHashTable[bucket];
    }
  }
  assert(assoc != nullptr);
  CAssoc* next = assoc->pNext;
  for (UINT bucket = assoc->nHashValue + 1; next == nullptr && bucket < m_nHashTableSize; ++bucket) {
    next = m_pHashTable[bucket];
  }
  rNextPosition = reinterpret_cast<POSITION>(next);
  rKey = assoc->key;
  rValue = assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_nCount));
    POSITION pos = GetStartPosition();
    while (pos != nullptr) {
      KEY key;
      VALUE value;
      GetNextAssoc(pos, key, value);
      SerializeElements<KEY>(ar, &key, 1);
      SerializeElements<VALUE>(ar, &value, 1);
    }
    return;
  }
  // The entries are read first and the table of an empty map sized to them: a long map in the default
  // table would take time with the square of its length to load. The count is only a claim; the entries
  // read before a damaged one are kept.
  const DWORD count = ar.ReadCount();
  std::vector<std::pair<KEY, VALUE>> entries;
  try {
    for (DWORD i = 0; i < count; ++i) {
      KEY key{};
      VALUE value{};
      SerializeElements<KEY>(ar, &key, 1);
      SerializeElements<VALUE>(ar, &value, 1);
      entries.emplace_back(std::move(key), std::move(value));
    }
  } catch (...) {
    SetLoaded(entries);
    throw;
  }
  SetLoaded(entries);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, class HASH>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, HASH>::SetLoaded(const std::vector<std::pair<KEY, VALUE>>& entries) {
  if (m_nCount == 0 && m_pHashTable == nullptr) InitHashTable(HashTableSizeFor(entries.size()), FALSE);
  if (entries.empty()) return;
  if constexpr (std::is_integral_v<KEY> || std::is_pointer_v<KEY>) {
    if (m_nCount == 0) {
      // Each key once, where it first comes, with the value it last has; sorting finds the repeats, so a
      // stored list of one key many times over does not walk a long chain once per copy.
      std::vector<size_t> order(entries.size());
      for (size_t i = 0; i < order.size(); ++i) order[i] = i;
      std::stable_sort(order.begin(), order.end(),
                       [&entries](size_t a, size_t b) { return entries[a].first < entries[b].first; });
      std::vector<size_t> lastOf(entries.size(), SIZE_MAX);  // at a key's first entry: its last entry
      for (size_t at = 0; at < order.size();) {
        size_t end = at + 1;
        while (end < order.size() && entries[order[end]].first == entries[order[at]].first) ++end;
        lastOf[order[at]] = order[end - 1];
        at = end;
      }
      if (m_pHashTable == nullptr) InitHashTable(m_nHashTableSize);
      for (size_t i = 0; i < entries.size(); ++i) {
        if (lastOf[i] == SIZE_MAX) continue;
        const UINT nHash = HASH()(static_cast<ARG_KEY>(entries[i].first)) % m_nHashTableSize;
        m_pHashTable[nHash] = new CAssoc{m_pHashTable[nHash], nHash, entries[i].first, entries[lastOf[i]].second};
        ++m_nCount;
      }
      return;
    }
  }
  for (const auto& entry : entries) SetAt(entry.first, entry.second);
}

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)

 public:
  explicit CMapPtrToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)

 public:
  explicit CMapPtrToWord(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)

 public:
  explicit CMapWordToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
  DECLARE_SERIAL(CMapWordToOb)

 public:
  explicit CMapWordToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)

 public:
  explicit CMapStringToPtr(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
  DECLARE_SERIAL(CMapStringToOb)

 public:
  explicit CMapStringToOb(int nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
  DECLARE_SERIAL(CMapStringToString)

 public:
  explicit CMapStringToString(int nBlockSize = 10) : CMap(nBlockSize) {}
};
