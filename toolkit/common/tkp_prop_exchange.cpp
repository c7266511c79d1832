#include "toolkit/common/tkp_prop_exchange.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CTKPPropExchange, CObject)
IMPLEMENT_DYNAMIC(CTKPPropExchangeArchive, CTKPPropExchange)

int TKPPropTypeSize(int nType) {
  switch (nType) {
    case tkpUI1: return 1;
    case tkpI2: return 2;
    case tkpI4: case tkpR4: case tkpBool: return 4;
    case tkpR8: case tkpCurrency: case tkpSize: return 8;
    case tkpRect: return 16;
    default: return 0;
  }
}

namespace {

// Values held as raw bytes of a known size (rectangles and sizes as their LONG fields).
bool IsPlainType(int nType) { return nType != tkpString && TKPPropTypeSize(nType) != 0; }

void PlainBytes(int nType, const void* pv, BYTE* out) {
  if (nType == tkpRect) {
    const CRect& rc = *static_cast<const CRect*>(pv);
    const LONG v[4] = {rc.left, rc.top, rc.right, rc.bottom};
    std::memcpy(out, v, 16);
  } else if (nType == tkpSize) {
    const CSize& sz = *static_cast<const CSize*>(pv);
    const LONG v[2] = {sz.cx, sz.cy};
    std::memcpy(out, v, 8);
  } else {
    std::memcpy(out, pv, static_cast<size_t>(TKPPropTypeSize(nType)));
  }
}

void SetPlainBytes(int nType, void* pv, const BYTE* in) {
  if (nType == tkpRect) {
    LONG v[4];
    std::memcpy(v, in, 16);
    *static_cast<CRect*>(pv) = CRect(v[0], v[1], v[2], v[3]);
  } else if (nType == tkpSize) {
    LONG v[2];
    std::memcpy(v, in, 8);
    *static_cast<CSize*>(pv) = CSize(v[0], v[1]);
  } else {
    std::memcpy(pv, in, static_cast<size_t>(TKPPropTypeSize(nType)));
  }
}

}  // namespace

namespace {

// Values of class type: compared and copied as what they are.
template <class T>
bool ObjectsEqual(const void* pv1, const void* pv2) {
  return *static_cast<const T*>(pv1) == *static_cast<const T*>(pv2);
}
template <class T>
void CopyObject(void* pvDest, const void* pvSrc) {
  *static_cast<T*>(pvDest) = *static_cast<const T*>(pvSrc);
}

// The archive form of a value of class type, written or read.
template <class T>
void ExchangeObject(CArchive& ar, BOOL bLoading, void* pv) {
  if (bLoading) {
    ar >> *static_cast<T*>(pv);
  } else {
    ar << *static_cast<const T*>(pv);
  }
}

}  // namespace

BOOL TKPPropValuesEqual(int nType, const void* pv1, const void* pv2) {
  if (pv1 == pv2) return TRUE;
  if (pv1 == nullptr || pv2 == nullptr) return FALSE;
  switch (nType) {
    case tkpString: return static_cast<const CString*>(pv1)->Compare(*static_cast<const CString*>(pv2)) == 0;
    case tkpDate: return ObjectsEqual<CTKPDateTime>(pv1, pv2);
    case tkpBstr: return ObjectsEqual<std::u16string>(pv1, pv2);
    case tkpVariant: return ObjectsEqual<CTKPVariant>(pv1, pv2);
    default: break;
  }
  if (!IsPlainType(nType)) return FALSE;
  BYTE a[16], b[16];
  PlainBytes(nType, pv1, a);
  PlainBytes(nType, pv2, b);
  return std::memcmp(a, b, static_cast<size_t>(TKPPropTypeSize(nType))) == 0;
}

BOOL TKPPropCopyValue(int nType, void* pvDest, const void* pvSrc) {
  if (pvSrc == nullptr || pvDest == nullptr) return FALSE;
  if (pvSrc == pvDest) return TRUE;
  switch (nType) {
    case tkpString: CopyObject<CString>(pvDest, pvSrc); return TRUE;
    case tkpDate: CopyObject<CTKPDateTime>(pvDest, pvSrc); return TRUE;
    case tkpBstr: CopyObject<std::u16string>(pvDest, pvSrc); return TRUE;
    case tkpVariant: CopyObject<CTKPVariant>(pvDest, pvSrc); return TRUE;
    default: break;
  }
  if (!IsPlainType(nType)) return FALSE;
  BYTE bytes[16];
  PlainBytes(nType, pvSrc, bytes);
  SetPlainBytes(nType, pvDest, bytes);
  return TRUE;
}

// ---- the base ----

struct CTKPPropExchange::MemoryArchive : CArchive {
  MemoryArchive(std::unique_ptr<CMemFile> file, UINT nMode, BYTE* pOwned)
      : CArchive(file.get(), nMode, 4096), m_file(std::move(file)), m_pOwned(pOwned) {}
  ~MemoryArchive() { std::free(m_pOwned); }
  std::unique_ptr<CMemFile> m_file;  // declared after the archive's base, so it outlives nothing it needs
  BYTE* m_pOwned;
};

void CTKPPropExchange::ExchangeSchema() { PX_Int(this, _T("Schema"), m_nSchema, 16); }

BOOL CTKPPropExchange::OnBeforeExchange() {
  m_bInitialized = TRUE;
  return TRUE;
}

void CTKPPropExchange::InitSection(CTKPPropExchange* pSection, BOOL bCopyEmptied) const {
  pSection->m_dwData = m_dwData;
  pSection->m_nSchema = m_nSchema;
  if (bCopyEmptied) pSection->m_bEmptied = m_bEmptied;
  pSection->m_bUseDefaultOnLoad = m_bUseDefaultOnLoad;
  pSection->m_bUseDefaultOnSave = m_bUseDefaultOnSave;
  pSection->m_bChildSection = TRUE;
}

// Each byte as two letters from "A": the low four bits, then the high four bits.
BOOL CTKPPropExchange::ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pSize) {
  const CString empty;
  CString text;
  if (!m_bLoading) {
    const BYTE* data = *ppData;
    for (DWORD i = 0; data != nullptr && i < *pSize; ++i) {
      text += static_cast<TCHAR>(_T('A') + (data[i] & 0x0F));
      text += static_cast<TCHAR>(_T('A') + (data[i] >> 4));
    }
    return ExchangeProp(pszPropName, tkpString, &text, &empty);
  }
  if (!ExchangeProp(pszPropName, tkpString, &text, &empty)) return FALSE;
  if (text.IsEmpty()) return TRUE;
  if (text.GetLength() % 2 != 0) return FALSE;
  const DWORD size = static_cast<DWORD>(text.GetLength() / 2);
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] < _T('A') || text[i] > _T('P')) return FALSE;  // not one of our letters
  }
  if (*ppData == nullptr) {
    *ppData = static_cast<BYTE*>(std::malloc(size));
    if (*ppData == nullptr) return FALSE;
    *pSize = size;
  } else if (*pSize < size) {
    return FALSE;
  }
  for (DWORD i = 0; i < size; ++i) {
    (*ppData)[i] = static_cast<BYTE>((text[static_cast<int>(2 * i + 1)] - _T('A')) * 16 +
                                     (text[static_cast<int>(2 * i)] - _T('A')));
  }
  return TRUE;
}

BOOL CTKPPropExchange::ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass** ppClass,
                                            CRuntimeClass* pDefaultClass) {
  if (!m_bLoading) {
    CString name((*ppClass)->m_lpszClassName);
    CString def(pDefaultClass != nullptr ? pDefaultClass->m_lpszClassName : "");
    return ExchangeProp(pszPropName, tkpString, &name, &def);
  }
  CString name;
  if (!ExchangeProp(pszPropName, tkpString, &name, nullptr) || name.IsEmpty()) {
    *ppClass = pDefaultClass;
    return TRUE;
  }
  CRuntimeClass* pClass = CRuntimeClass::FromName(name.GetString());
  if (pClass == nullptr) return FALSE;
  *ppClass = pClass;
  return TRUE;
}

BOOL CTKPPropExchange::ExchangeObjectInstance(CObject** ppObject, CRuntimeClass* pObjectRuntime) {
  CRuntimeClass* pClass = nullptr;
  if (!m_bLoading) {
    if (*ppObject == nullptr) return FALSE;
    pClass = (*ppObject)->GetRuntimeClass();
    return ExchangeRuntimeClass(_T("Class"), &pClass, pObjectRuntime);
  }
  *ppObject = nullptr;
  pClass = pObjectRuntime;
  if (!ExchangeRuntimeClass(_T("Class"), &pClass, pObjectRuntime) || pClass == nullptr) return FALSE;
  if (pObjectRuntime != nullptr && !pClass->IsDerivedFrom(pObjectRuntime)) return FALSE;
  *ppObject = pClass->CreateObject();
  return *ppObject != nullptr;
}

CArchive* CTKPPropExchange::GetArchive(LPCTSTR pszPropName) {
  if (m_bLoading) {
    // A serialised object is kept as the letter text, whatever the back-end's own blobs are; raw
    // bytes stored by the back-end's blob form are read too.
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!CTKPPropExchange::ExchangeBlobProp(pszPropName, &data, &size) || data == nullptr || size == 0) {
      std::free(data);
      data = nullptr;
      size = 0;
      if (!ExchangeBlobProp(pszPropName, &data, &size) || data == nullptr || size == 0) {
        std::free(data);
        return nullptr;
      }
    }
    return new MemoryArchive(std::make_unique<CMemFile>(data, size), CArchive::load, data);
  }
  return new MemoryArchive(std::make_unique<CMemFile>(1024), CArchive::store, nullptr);
}

void CTKPPropExchange::ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) {
  if (pArchive == nullptr) return;
  auto* archive = static_cast<MemoryArchive*>(pArchive);
  if (!m_bLoading) {
    try {
      archive->Flush();
      DWORD size = static_cast<DWORD>(archive->m_file->GetLength());
      BYTE* data = archive->m_file->Detach();
      CTKPPropExchange::ExchangeBlobProp(pszPropName, &data, &size);
      std::free(data);
    } catch (CException* e) {
      e->Delete();
    }
  }
  archive->Abort();
  delete archive;
}

void CTKPPropExchange::EmptySection() { m_bEmptied = TRUE; }

void CTKPPropExchange::WriteCount(DWORD dwCount) {
  LONG count = static_cast<LONG>(dwCount);
  PX_Long(this, _T("Count"), count, 0);
}

DWORD CTKPPropExchange::ReadCount() {
  LONG count = 0;
  PX_Long(this, _T("Count"), count, 0);
  return count < 0 ? 0 : static_cast<DWORD>(count);
}

void CTKPPropExchange::Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount) {
  BYTE* data = static_cast<BYTE*>(const_cast<void*>(lpBuf));
  DWORD size = nCount;
  ExchangeBlobProp(pszPropName, &data, &size);
}

UINT CTKPPropExchange::Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount) {
  BYTE* data = static_cast<BYTE*>(lpBuf);
  DWORD size = nCount;
  return ExchangeBlobProp(pszPropName, &data, &size) ? size : 0;
}

CTKPSectionEnumerator* CTKPPropExchange::GetEnumerator(LPCTSTR pszSection) {
  return new CTKPSectionEnumerator(this, pszSection);
}

// ---- the archive back-end ----

CTKPPropExchangeArchive::CTKPPropExchangeArchive(CArchive& ar) : m_ar(ar) { m_bLoading = ar.IsLoading(); }

BOOL CTKPPropExchangeArchive::ExchangeProp(LPCTSTR, int nType, void* pvProp, const void*) {
  if (!OnBeforeExchange()) return FALSE;
  switch (nType) {
    case tkpString: ExchangeObject<CString>(m_ar, m_bLoading, pvProp); return TRUE;
    case tkpDate: ExchangeObject<CTKPDateTime>(m_ar, m_bLoading, pvProp); return TRUE;
    case tkpVariant: ExchangeObject<CTKPVariant>(m_ar, m_bLoading, pvProp); return TRUE;
    default: break;
  }
  if (!IsPlainType(nType)) return TRUE;  // nothing is stored for these
  const UINT size = static_cast<UINT>(TKPPropTypeSize(nType));
  BYTE bytes[16];
  if (m_bLoading) {
    if (m_ar.Read(bytes, size) != size) AfxThrowArchiveException(CArchiveException::endOfFile);
    SetPlainBytes(nType, pvProp, bytes);
  } else {
    PlainBytes(nType, pvProp, bytes);
    m_ar.Write(bytes, size);
  }
  return TRUE;
}

BOOL CTKPPropExchangeArchive::ExchangeBlobProp(LPCTSTR, BYTE** ppData, DWORD* pSize) {
  if (!OnBeforeExchange()) return FALSE;
  if (!m_bLoading) {
    m_ar.WriteCount(*pSize);
    if (*pSize != 0) m_ar.Write(*ppData, *pSize);
    return TRUE;
  }
  const DWORD size = m_ar.ReadCount();
  if (*ppData != nullptr && *pSize < size) return FALSE;
  // The count is only what the stream claims: the bytes are read as they come, and nothing is handed
  // over until all of them are there.
  constexpr DWORD kChunk = 64 * 1024;
  std::vector<BYTE> bytes;
  for (DWORD done = 0; done < size;) {
    const DWORD n = std::min(size - done, kChunk);
    bytes.resize(done + n);
    if (m_ar.Read(bytes.data() + done, n) != n) return FALSE;
    done += n;
  }
  if (*ppData == nullptr) {
    *ppData = static_cast<BYTE*>(std::malloc(size == 0 ? 1 : size));
    if (*ppData == nullptr) return FALSE;
  }
  if (size != 0) std::memcpy(*ppData, bytes.data(), size);
  *pSize = size;
  return TRUE;
}

BOOL CTKPPropExchangeArchive::ExchangeRuntimeClass(LPCTSTR, CRuntimeClass** ppClass, CRuntimeClass*) {
  if (!OnBeforeExchange()) return FALSE;
  if (m_bLoading) {
    *ppClass = m_ar.ReadClass();
    return *ppClass != nullptr;
  }
  m_ar.WriteClass(*ppClass);
  return TRUE;
}

BOOL CTKPPropExchangeArchive::ExchangeObjectInstance(CObject** ppObject, CRuntimeClass* pObjectRuntime) {
  if (!CTKPPropExchange::ExchangeObjectInstance(ppObject, pObjectRuntime)) return FALSE;
  m_ar.MapObject(*ppObject);
  return TRUE;
}

CArchive* CTKPPropExchangeArchive::GetArchive(LPCTSTR) { return &m_ar; }
void CTKPPropExchangeArchive::ReleaseArchive(LPCTSTR, CArchive*) {}

CTKPPropExchange* CTKPPropExchangeArchive::GetSection(LPCTSTR) {
  auto* section = new CTKPPropExchangeArchive(m_ar);
  InitSection(section);
  return section;
}

void CTKPPropExchangeArchive::WriteCount(DWORD dwCount) { m_ar.WriteCount(dwCount); }
DWORD CTKPPropExchangeArchive::ReadCount() { return m_ar.ReadCount(); }
void CTKPPropExchangeArchive::Write(LPCTSTR, const void* lpBuf, UINT nCount) { m_ar.Write(lpBuf, nCount); }
UINT CTKPPropExchangeArchive::Read(LPCTSTR, void* lpBuf, UINT nCount) { return m_ar.Read(lpBuf, nCount); }

// ---- numbered sections ----

CTKPSectionEnumerator::CTKPSectionEnumerator(CTKPPropExchange* pExchange, LPCTSTR pszSection)
    : m_pExchange(pExchange), m_strSection(pszSection) {}

POSITION CTKPSectionEnumerator::GetPosition(DWORD dwCount, BOOL bCountOperations) {
  m_dwCount = dwCount;
  if (m_pExchange == nullptr) return nullptr;
  if (!bCountOperations) {
    LONG count = static_cast<LONG>(dwCount);
    PX_Long(m_pExchange, _T("Count"), count, 0);
    m_dwCount = count < 0 ? 0 : static_cast<DWORD>(count);
  } else if (m_pExchange->IsLoading()) {
    m_dwCount = m_pExchange->ReadCount();
  } else {
    m_pExchange->WriteCount(dwCount);
  }
  return m_dwCount == 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

CTKPPropExchange* CTKPSectionEnumerator::GetNext(POSITION& pos) {
  const auto index = static_cast<DWORD>(reinterpret_cast<uintptr_t>(pos));
  if (index == 0 || index > m_dwCount) {
    pos = nullptr;
    return nullptr;
  }
  CString name;
  name.Format(_T("%s%i"), m_strSection.GetString(), static_cast<int>(index - 1));
  CTKPPropExchange* section = m_pExchange->GetSection(name);
  pos = index >= m_dwCount ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(index + 1));
  return section;
}

// ---- helpers ----

BOOL PX_LongNoDefault(CTKPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue) {
  return pPX->ExchangeProp(pszPropName, tkpI4, &nValue, nullptr);
}
BOOL PX_Long(CTKPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue, LONG nDefault) {
  return pPX->ExchangeProp(pszPropName, tkpI4, &nValue, &nDefault);
}
BOOL PX_Int(CTKPPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault) {
  static_assert(sizeof(int) == 4, "an int property is 32 bits");
  return pPX->ExchangeProp(pszPropName, tkpI4, &nValue, &nDefault);
}
BOOL PX_Bool(CTKPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault) {
  return pPX->ExchangeProp(pszPropName, tkpBool, &bValue, &bDefault);
}
BOOL PX_StringNoDefault(CTKPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue) {
  return pPX->ExchangeProp(pszPropName, tkpString, &strValue, nullptr);
}
BOOL PX_String(CTKPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR pszDefault) {
  const CString def(pszDefault);
  return pPX->ExchangeProp(pszPropName, tkpString, &strValue, &def);
}
BOOL PX_Float(CTKPPropExchange* pPX, LPCTSTR pszPropName, float& fValue, float fDefault) {
  return pPX->ExchangeProp(pszPropName, tkpR4, &fValue, &fDefault);
}
BOOL PX_Double(CTKPPropExchange* pPX, LPCTSTR pszPropName, double& dValue, double dDefault) {
  return pPX->ExchangeProp(pszPropName, tkpR8, &dValue, &dDefault);
}
BOOL PX_Size(CTKPPropExchange* pPX, LPCTSTR pszPropName, CSize& szValue, CSize szDefault) {
  return pPX->ExchangeProp(pszPropName, tkpSize, &szValue, &szDefault);
}
BOOL PX_Rect(CTKPPropExchange* pPX, LPCTSTR pszPropName, CRect& rcValue, CRect rcDefault) {
  return pPX->ExchangeProp(pszPropName, tkpRect, &rcValue, &rcDefault);
}
BOOL PX_RuntimeClass(CTKPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                     CRuntimeClass* pDefaultClass) {
  return pPX->ExchangeRuntimeClass(pszPropName, &pClass, pDefaultClass);
}
BOOL PX_Blob(CTKPPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes) {
  return pPX->ExchangeBlobProp(pszPropName, &pData, &nBytes);
}

namespace {

// An archive or OLE exception means the stored object cannot be read or written: the exchange fails.
// The OLE exceptions live in the Windows part of the class library, so they are recognised by their
// registered class.
bool IsSerializeFailure(CException* e) {
  if (e->IsKindOf(RUNTIME_CLASS(CArchiveException))) return true;
  const CRuntimeClass* ole = CRuntimeClass::FromName("COleException");
  return ole != nullptr && e->IsKindOf(ole);
}

}  // namespace

BOOL PX_Serialize(CTKPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject) {
  CArchive* archive = pPX->GetArchive(pszPropName);
  if (archive == nullptr) return FALSE;
  BOOL result = TRUE;
  try {
    pObject->Serialize(*archive);
  } catch (CException* e) {
    if (!IsSerializeFailure(e)) {
      pPX->ReleaseArchive(pszPropName, archive);
      throw;
    }
    e->Delete();
    result = FALSE;
  } catch (...) {
    pPX->ReleaseArchive(pszPropName, archive);
    throw;
  }
  pPX->ReleaseArchive(pszPropName, archive);
  return result;
}
