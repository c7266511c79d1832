// CTKPPropExchange: one description of an object's properties (name, type, default) that saves or
// loads them, depending on the direction of the exchange it is given. CTKPPropExchangeArchive works on
// a class-library archive; the registry back-end (tkp_prop_exchange_registry.h, Windows build) on a
// registry key with nested sections as sub-keys. The type codes and encodings are what the command
// bars, panes and the image manager rely on to read back what another part of the program wrote.
#pragma once

#include "platform/classlib/carchive.h"
#include "platform/classlib/cmemfile.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "toolkit/common/tkp_prop_values.h"

// Type codes of a property.
enum TKPPropType : int {
  tkpI2 = 2,
  tkpI4 = 3,
  tkpR4 = 4,
  tkpR8 = 5,
  tkpCurrency = 6,  // two 32-bit words
  tkpDate = 7,      // CTKPDateTime
  tkpBstr = 8,      // std::u16string, a BSTR's text
  tkpBool = 11,
  tkpVariant = 12,  // CTKPVariant
  tkpUI1 = 17,
  tkpString = 30,  // CString
  tkpRect = 100,
  tkpSize = 101,
};

// Bytes of a value of the code; 0 for codes compared or copied otherwise, or not supported.
int TKPPropTypeSize(int nType);
// Equal values of the code (defaults are compared with this); a null side is unequal.
BOOL TKPPropValuesEqual(int nType, const void* pv1, const void* pv2);
// Copies a value of the code; FALSE for a null source or an unsupported code.
BOOL TKPPropCopyValue(int nType, void* pvDest, const void* pvSrc);

class CTKPSectionEnumerator;

class CTKPPropExchange : public CObject {
  DECLARE_DYNAMIC(CTKPPropExchange)

 public:
  CTKPPropExchange() = default;
  ~CTKPPropExchange() override = default;
  CTKPPropExchange(const CTKPPropExchange&) = delete;
  CTKPPropExchange& operator=(const CTKPPropExchange&) = delete;

  BOOL IsLoading() const { return m_bLoading; }
  int GetSchema() const { return m_nSchema; }
  BOOL IsRootSection() const { return !m_bChildSection; }
  void UseDefaultOnLoad(BOOL bUse) { m_bUseDefaultOnLoad = bUse; }
  void UseDefaultOnSave(BOOL bUse) { m_bUseDefaultOnSave = bUse; }
  // "Schema" with the default 16.
  void ExchangeSchema();

  virtual BOOL ExchangeProp(LPCTSTR pszPropName, int nType, void* pvProp, const void* pvDefault) = 0;
  // *ppData is malloc'ed when null on load (the caller frees it); *pSize its size.
  virtual BOOL ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pSize);
  virtual BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass** ppClass,
                                    CRuntimeClass* pDefaultClass);
  virtual BOOL ExchangeObjectInstance(CObject** ppObject, CRuntimeClass* pObjectRuntime);
  // Null when there is nothing to load. Give it back to ReleaseArchive.
  virtual CArchive* GetArchive(LPCTSTR pszPropName);
  virtual void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive);
  // The caller deletes the section.
  virtual CTKPPropExchange* GetSection(LPCTSTR pszSection) = 0;
  virtual void EmptySection();
  virtual void WriteCount(DWORD dwCount);
  virtual DWORD ReadCount();
  virtual void Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount);
  // The bytes read, or 0.
  virtual UINT Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount);
  virtual BOOL OmitsDefaultValues() const { return TRUE; }
  virtual BOOL AllowsBinaryValues() const { return FALSE; }
  virtual BOOL OnBeforeExchange();
  // The caller deletes the enumerator.
  virtual CTKPSectionEnumerator* GetEnumerator(LPCTSTR pszSection);

  DWORD m_dwData = 0;  // the caller's word, copied into sections

 protected:
  // What a new section takes over from its parent.
  void InitSection(CTKPPropExchange* pSection, BOOL bCopyEmptied = TRUE) const;
  // The archive of GetArchive: the memory file it reads or writes goes with it.
  struct MemoryArchive;

  BOOL m_bLoading = FALSE;
  int m_nSchema = 16;
  BOOL m_bChildSection = FALSE;
  BOOL m_bEmptied = FALSE;
  BOOL m_bInitialized = FALSE;
  BOOL m_bUseDefaultOnLoad = TRUE;
  BOOL m_bUseDefaultOnSave = TRUE;
};

// The exchange over an archive (not owned): values in its binary form, no names, no defaults.
class CTKPPropExchangeArchive : public CTKPPropExchange {
  DECLARE_DYNAMIC(CTKPPropExchangeArchive)

 public:
  explicit CTKPPropExchangeArchive(CArchive& ar);

  BOOL ExchangeProp(LPCTSTR pszPropName, int nType, void* pvProp, const void* pvDefault) override;
  BOOL ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pSize) override;
  BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass** ppClass,
                            CRuntimeClass* pDefaultClass) override;
  BOOL ExchangeObjectInstance(CObject** ppObject, CRuntimeClass* pObjectRuntime) override;
  CArchive* GetArchive(LPCTSTR pszPropName) override;
  void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) override;
  CTKPPropExchange* GetSection(LPCTSTR pszSection) override;
  void WriteCount(DWORD dwCount) override;
  DWORD ReadCount() override;
  void Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount) override;
  UINT Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount) override;
  BOOL OmitsDefaultValues() const override { return FALSE; }
  BOOL AllowsBinaryValues() const override { return TRUE; }

 private:
  CArchive& m_ar;
};

// Numbered item sections: "<section>0", "<section>1", ... under a "Count".
class CTKPSectionEnumerator {
 public:
  CTKPSectionEnumerator(CTKPPropExchange* pExchange, LPCTSTR pszSection);
  virtual ~CTKPSectionEnumerator() = default;
  // Stores the count when saving, reads it when loading; non-zero when there are items.
  // bCountOperations: through WriteCount/ReadCount instead of a "Count" property.
  POSITION GetPosition(DWORD dwCount = 0, BOOL bCountOperations = TRUE);
  // The next item's section (the caller deletes it); the position becomes 0 after the last.
  CTKPPropExchange* GetNext(POSITION& pos);

 private:
  CTKPPropExchange* m_pExchange;
  CString m_strSection;
  DWORD m_dwCount = 0;
};

BOOL PX_LongNoDefault(CTKPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue);
BOOL PX_Long(CTKPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue, LONG nDefault);
BOOL PX_Int(CTKPPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL PX_Bool(CTKPPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL PX_StringNoDefault(CTKPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue);
BOOL PX_String(CTKPPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR pszDefault);
BOOL PX_Float(CTKPPropExchange* pPX, LPCTSTR pszPropName, float& fValue, float fDefault);
BOOL PX_Double(CTKPPropExchange* pPX, LPCTSTR pszPropName, double& dValue, double dDefault);
BOOL PX_Size(CTKPPropExchange* pPX, LPCTSTR pszPropName, CSize& szValue, CSize szDefault);
BOOL PX_Rect(CTKPPropExchange* pPX, LPCTSTR pszPropName, CRect& rcValue, CRect rcDefault);
BOOL PX_RuntimeClass(CTKPPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                     CRuntimeClass* pDefaultClass);
BOOL PX_Blob(CTKPPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes);
BOOL PX_Serialize(CTKPPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject);
