// CArray and the typed arrays built on it: a growable array with the class library's growth rule.
//
// Growth: SetSize to more than the array holds allocates max(new size, capacity + grow-by) elements,
// where grow-by is the value given to SetSize, or, when it is 0 (the default), the size / 8 clamped to
// 4 ... 1024. The first allocation is max(new size, grow-by). Shrinking keeps the memory (FreeExtra
// returns it); SetSize(0) and RemoveAll free it. New elements are value-initialised (zero for numbers
// and pointers).
#pragma once

#include <cassert>
#include <new>
#include <utility>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cobject.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  ~CArray() override { RemoveAll(); }
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;

  int GetSize() const { return m_nSize; }
  int GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  int GetUpperBound() const { return m_nSize - 1; }
  // The number of elements the memory holds (grows by the rule above).
  int GetAllocSize() const { return m_nMaxSize; }

  // nGrowBy -1 keeps the present grow-by.
  void SetSize(int nNewSize, int nGrowBy = -1);
  void FreeExtra() { Reallocate(m_nSize); }
  void RemoveAll() { SetSize(0); }

  const TYPE& GetAt(int nIndex) const { return m_pData[Checked(nIndex)]; }
  TYPE& GetAt(int nIndex) { return m_pData[Checked(nIndex)]; }
  void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[Checked(nIndex)] = newElement; }
  TYPE& ElementAt(int nIndex) { return m_pData[Checked(nIndex)]; }
  const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return GetAt(nIndex); }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  // Sets the element, growing the array to reach it.
  void SetAtGrow(int nIndex, ARG_TYPE newElement);
  // Returns the new element's index.
  int Add(ARG_TYPE newElement) {
    const int index = m_nSize;
    SetAtGrow(index, newElement);
    return index;
  }
  // Returns the index of the first element appended.
  int Append(const CArray& src);
  void Copy(const CArray& src);
  // Inserts nCount copies at nIndex; an index at or past the end grows the array to put them there.
  void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
  void InsertAt(int nStartIndex, const CArray* pNewArray);
  void RemoveAt(int nIndex, int nCount = 1);

  // The count (archive count encoding), then each element (SerializeElements).
  void Serialize(CArchive& ar) override;

 private:
  int Checked(int nIndex) const {
    assert(nIndex >= 0 && nIndex < m_nSize);
    return nIndex;
  }
  // Moves the elements into a block of nNewMax (>= m_nSize) elements.
  void Reallocate(int nNewMax);

  TYPE* m_pData = nullptr;
  int m_nSize = 0;
  int m_nMaxSize = 0;
  int m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(int nNewMax) {
  if (nNewMax == m_nMaxSize) return;
  TYPE* data = nNewMax > 0 ? static_cast<TYPE*>(::operator new(sizeof(TYPE) * static_cast<size_t>(nNewMax)))
                           : nullptr;
  for (int i = 0; i < m_nSize; ++i) {
    new (data + i) TYPE(std::move(m_pData[i]));
    m_pData[i].~TYPE();
  }
  ::operator delete(m_pData);
  m_pData = data;
  m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
  if (nNewSize < 0) nNewSize = 0;
  while (m_nSize > nNewSize) m_pData[--m_nSize].~TYPE();
  if (nNewSize == 0) {
    Reallocate(0);
    return;
  }
  if (nNewSize > m_nMaxSize) {
    long long newMax;
    if (m_pData == nullptr) {
      newMax = nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy;
    } else {
      int grow = m_nGrowBy;
      if (grow == 0) grow = m_nSize / 8 < 4 ? 4 : (m_nSize / 8 > 1024 ? 1024 : m_nSize / 8);
      newMax = static_cast<long long>(m_nMaxSize) + grow;
      if (newMax < nNewSize) newMax = nNewSize;
    }
    const long long limit = 0x7FFFFFFF / static_cast<long long>(sizeof(TYPE));
    if (nNewSize > limit) AfxThrowMemoryException();
    Reallocate(static_cast<int>(newMax < limit ? newMax : limit));
  }
  for (; m_nSize < nNewSize; ++m_nSize) new (m_pData + m_nSize) TYPE();
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement) {
  if (nIndex < m_nSize) {
    SetAt(nIndex, newElement);
    return;
  }
  TYPE copy(newElement);  // newElement may be an element that the growth moves
  SetSize(nIndex + 1);
  m_pData[nIndex] = std::move(copy);
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  const int first = m_nSize;
  const int count = src.m_nSize;  // read first: src may be this array
  SetSize(m_nSize + count);
  for (int i = 0; i < count; ++i) m_pData[first + i] = src.m_pData[i];
  return first;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (&src == this) return;
  SetSize(src.m_nSize);
  for (int i = 0; i < m_nSize; ++i) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount) {
  if (nIndex < 0 || nCount <= 0) return;
  TYPE copy(newElement);  // newElement may be an element that moves
  if (nIndex >= m_nSize) {
    SetSize(nIndex + nCount);
  } else {
    const int oldSize = m_nSize;
    SetSize(m_nSize + nCount);
    for (int i = oldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
  }
  for (int i = 0; i < nCount; ++i) m_pData[nIndex + i] = copy;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, const CArray* pNewArray) {
  if (pNewArray == nullptr || pNewArray->GetSize() == 0 || pNewArray == this) return;
  InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
  for (int i = 1; i < pNewArray->GetSize(); ++i) SetAt(nStartIndex + i, pNewArray->GetAt(i));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize) return;
  if (nCount > m_nSize - nIndex) nCount = m_nSize - nIndex;
  for (int i = nIndex + nCount; i < m_nSize; ++i) m_pData[i - nCount] = std::move(m_pData[i]);
  for (int i = 0; i < nCount; ++i) m_pData[--m_nSize].~TYPE();
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_nSize));
    SerializeElements<TYPE>(ar, m_pData, m_nSize);
    return;
  }
  // One element at a time: a damaged count cannot make the array larger than the data it reads.
  const DWORD count = ar.ReadCount();
  RemoveAll();
  for (DWORD i = 0; i < count; ++i) {
    TYPE element{};
    SerializeElements<TYPE>(ar, &element, 1);
    Add(element);
  }
}

class CObArray : public CArray<CObject*, CObject*> {
  DECLARE_SERIAL(CObArray)
};

class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&> {
  DECLARE_SERIAL(CStringArray)
};
