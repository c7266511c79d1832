// CList and the typed lists built on it: a doubly linked list walked by POSITION.
// The block size of the constructor is accepted for compatibility; nodes are allocated one by one.
#pragma once

#include <cassert>

#include "platform/classlib/carchive.h"
#include "platform/classlib/cobject.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  explicit CList(int nBlockSize = 10) { (void)nBlockSize; }
  ~CList() override { RemoveAll(); }
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;

  int GetCount() const { return m_nCount; }
  int GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return Node(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return Node(m_pNodeHead)->data; }
  TYPE& GetTail() { return Node(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return Node(m_pNodeTail)->data; }

  TYPE RemoveHead();
  TYPE RemoveTail();
  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(ToPosition(m_pNodeHead), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(ToPosition(m_pNodeTail), newElement); }
  void AddHead(const CList* pNewList);
  void AddTail(const CList* pNewList);
  void RemoveAll();

  POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
  // The element at rPosition; rPosition moves to the next (previous) one, null after the last.
  TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true)->data; }
  const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true)->data; }
  TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false)->data; }
  const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false)->data; }
  TYPE& GetAt(POSITION position) { return Node(FromPosition(position))->data; }
  const TYPE& GetAt(POSITION position) const { return Node(FromPosition(position))->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(FromPosition(pos))->data = newElement; }
  void RemoveAt(POSITION position);
  // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  // The first element equal to searchValue after startAfter (from the head when null), or null.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
  // The position of the element at that index, or null.
  POSITION FindIndex(int nIndex) const;

  // The count (archive count encoding), then each element from the head (SerializeElements).
  void Serialize(CArchive& ar) override;

 private:
  static CNode* FromPosition(POSITION position) { return reinterpret_cast<CNode*>(position); }
  static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
  static CNode* Node(CNode* node) {
    assert(node != nullptr);
    return node;
  }
  CNode* Step(POSITION& rPosition, bool forward) const {
    CNode* node = Node(FromPosition(rPosition));
    rPosition = ToPosition(forward ? node->pNext : node->pPrev);
    return node;
  }
  // Puts a new node between prev and next (either null at an end of the list).
  POSITION Link(CNode* prev, CNode* next, ARG_TYPE newElement);
  void Unlink(CNode* node);

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  int m_nCount = 0;
};

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Unlink(CNode* node) {
  (node->pPrev != nullptr ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
  (node->pNext != nullptr ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
  delete node;
  --m_nCount;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  TYPE value = Node(m_pNodeHead)->data;
  Unlink(m_pNodeHead);
  return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  TYPE value = Node(m_pNodeTail)->data;
  Unlink(m_pNodeTail);
  return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList) {
  // Walking backwards keeps the other list's order; a list added to itself is added once.
  const int count = pNewList->m_nCount;
  POSITION pos = pNewList->GetTailPosition();
  for (int i = 0; i < count; ++i) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList) {
  const int count = pNewList->m_nCount;
  POSITION pos = pNewList->GetHeadPosition();
  for (int i = 0; i < count; ++i) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  while (m_pNodeHead != nullptr) Unlink(m_pNodeHead);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  Unlink(Node(FromPosition(position)));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Link(CNode* prev, CNode* next, ARG_TYPE newElement) {
  CNode* node = new CNode{next, prev, TYPE(newElement)};
  (prev != nullptr ? prev->pNext : m_pNodeHead) = node;
  (next != nullptr ? next->pPrev : m_pNodeTail) = node;
  ++m_nCount;
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  CNode* next = position != nullptr ? FromPosition(position) : m_pNodeHead;
  return Link(next != nullptr ? next->pPrev : nullptr, next, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  CNode* prev = position != nullptr ? FromPosition(position) : m_pNodeTail;
  return Link(prev, prev != nullptr ? prev->pNext : nullptr, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  CNode* node = startAfter != nullptr ? FromPosition(startAfter)->pNext : m_pNodeHead;
  for (; node != nullptr; node = node->pNext) {
    if (node->data == searchValue) return ToPosition(node);
  }
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  CNode* node = m_pNodeHead;
  while (nIndex-- > 0) node = node->pNext;
  return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_nCount));
    for (CNode* node = m_pNodeHead; node != nullptr; node = node->pNext) {
      SerializeElements<TYPE>(ar, &node->data, 1);
    }
    return;
  }
  const DWORD count = ar.ReadCount();
  for (DWORD i = 0; i < count; ++i) {
    TYPE element{};
    SerializeElements<TYPE>(ar, &element, 1);
    AddTail(element);
  }
}

class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)

 public:
  explicit CPtrList(int nBlockSize = 10) : CList(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*> {
  DECLARE_SERIAL(CObList)

 public:
  explicit CObList(int nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
  DECLARE_SERIAL(CStringList)

 public:
  explicit CStringList(int nBlockSize = 10) : CList(nBlockSize) {}
};
