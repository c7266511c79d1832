// The object side of CArchive: class records, object numbering and references (format in carchive.h).
#include <cstring>

#include "platform/classlib/carchive.h"

namespace {

constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
// No registered class has a longer name; a longer one in a record names nothing.
constexpr WORD kMaxClassName = 64;
// Objects read inside one another deeper than this are taken for damage (it would exhaust the stack).
constexpr int kMaxObjectDepth = 256;

[[noreturn]] void Fail(int cause) { AfxThrowArchiveException(cause); }

}  // namespace

void CRuntimeClass::Store(CArchive& ar) const {
  const WORD length = static_cast<WORD>(std::strlen(m_lpszClassName));
  ar << static_cast<WORD>(m_wSchema) << length;
  ar.Write(m_lpszClassName, length);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
  WORD schema, length;
  ar >> schema >> length;
  *pwSchemaNum = schema;
  if (length >= kMaxClassName) return nullptr;
  char name[kMaxClassName];
  if (ar.Read(name, length) != length) Fail(CArchiveException::endOfFile);
  name[length] = 0;
  return FromName(name);
}

DWORD CArchive::NextMapIndex() {
  if (m_nMapCount >= kMaxMapCount) Fail(CArchiveException::badIndex);
  return m_nMapCount++;
}

void CArchive::WriteTag(DWORD index, bool isClass) {
  if (index < kBigObjectTag) {
    *this << static_cast<WORD>(isClass ? (kClassTag | index) : index);
  } else {
    *this << kBigObjectTag;
    Put(static_cast<DWORD>(isClass ? (kBigClassTag | index) : index));
  }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  CheckStoring();
  if (pClassRef->m_wSchema == kNoSchema) AfxThrowNotSupportedException();
  const auto known = m_storeMap.find(pClassRef);
  if (known != m_storeMap.end()) {
    WriteTag(known->second, true);
    return;
  }
  *this << kNewClassTag;
  pClassRef->Store(*this);
  m_storeMap[pClassRef] = NextMapIndex();
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckStoring();
  if (pOb == nullptr) {
    *this << kNullTag;
    return;
  }
  const auto known = m_storeMap.find(pOb);
  if (known != m_storeMap.end()) {
    WriteTag(known->second, false);
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  m_storeMap[pOb] = NextMapIndex();
  // Serialize is not const, but storing leaves the object as it is.
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  CheckLoading();
  WORD tag;
  *this >> tag;
  DWORD obTag;
  if (tag == kBigObjectTag) {
    Get(obTag);
  } else {
    obTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag & 0xFFFF);
  }
  if ((obTag & kBigClassTag) == 0) {  // an object reference, or null
    if (pObTag == nullptr) Fail(CArchiveException::badIndex);
    *pObTag = obTag;
    return nullptr;
  }
  CRuntimeClass* pClassRef;
  UINT schema;
  if (tag == kNewClassTag) {
    pClassRef = CRuntimeClass::Load(*this, &schema);
    // Only SERIAL classes are ever written; a record naming any other is damage.
    if (pClassRef == nullptr || pClassRef->m_wSchema == kNoSchema) Fail(CArchiveException::badClass);
    if (pClassRef->m_wSchema != schema) Fail(CArchiveException::badSchema);
    if (m_loadArray.size() >= kMaxMapCount) Fail(CArchiveException::badIndex);
    m_loadArray.push_back({pClassRef, true});
  } else {
    const DWORD index = obTag & ~kBigClassTag;
    if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass) {
      Fail(CArchiveException::badIndex);
    }
    pClassRef = static_cast<CRuntimeClass*>(m_loadArray[index].p);
    schema = pClassRef->m_wSchema;
  }
  if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested)) {
    Fail(CArchiveException::badClass);
  }
  if (pSchema != nullptr) *pSchema = schema;
  if (pObTag != nullptr) *pObTag = obTag;
  return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring()) {
    WriteClass(pClassRef);
  } else {
    ReadClass(pClassRef);
  }
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  UINT schema;
  DWORD obTag;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &schema, &obTag);
  if (pClassRef == nullptr) {
    if (obTag >= m_loadArray.size() || m_loadArray[obTag].isClass) Fail(CArchiveException::badIndex);
    CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
    if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested)) {
      Fail(CArchiveException::badClass);
    }
    return pOb;
  }
  if (m_nObjectDepth >= kMaxObjectDepth) Fail(CArchiveException::generic);
  CObject* pOb = pClassRef->CreateObject();
  if (pOb == nullptr) Fail(CArchiveException::badClass);
  // Numbered before it reads itself, so that what it holds may refer back to it.
  MapObject(pOb);
  // When reading fails the object is not deleted: what it read may already point back to it. As with
  // every object read before the failure, the loading code decides what to free.
  ++m_nObjectDepth;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    --m_nObjectDepth;
    throw;
  }
  --m_nObjectDepth;
  return pOb;
}

void CArchive::MapObject(const CObject* pOb) {
  if (pOb == nullptr) return;
  if (IsStoring()) {
    if (m_storeMap.find(pOb) == m_storeMap.end()) m_storeMap[pOb] = NextMapIndex();
  } else {
    if (m_loadArray.size() >= kMaxMapCount) Fail(CArchiveException::badIndex);
    m_loadArray.push_back({const_cast<CObject*>(pOb), false});
  }
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}
