// CTKPPropExchangeRegistry: the property exchange over a registry key. Each property is a value of the
// section's key, each section a sub-key; numbers are REG_DWORD, floating-point values REG_BINARY of
// their IEEE bytes, strings, BSTR texts, rectangles and sizes REG_SZ, date-times and variants REG_BINARY
// of their archive form (tkp_prop_values.h), blobs REG_BINARY, serialised objects (PX_Serialize) REG_SZ
// of their bytes as letters "A".."P" (raw REG_BINARY ones are read too). A value equal to its default
// is deleted instead of written.
#pragma once

#include <windows.h>

#include "toolkit/common/tkp_prop_exchange.h"

class CTKPPropExchangeRegistry : public CTKPPropExchange {
  DECLARE_DYNAMIC(CTKPPropExchangeRegistry)

 public:
  // The parent key is not owned; the section's key is created under it on the first exchange.
  CTKPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection);
  ~CTKPPropExchangeRegistry() override;

  BOOL ExchangeProp(LPCTSTR pszPropName, int nType, void* pvProp, const void* pvDefault) override;
  BOOL ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pSize) override;
  CTKPPropExchange* GetSection(LPCTSTR pszSection) override;
  void EmptySection() override;
  DWORD ReadCount() override;
  BOOL AllowsBinaryValues() const override { return TRUE; }
  BOOL OnBeforeExchange() override;

 private:
  BOOL Save(LPCTSTR pszPropName, int nType, const void* pvProp, const void* pvDefault);
  BOOL Load(LPCTSTR pszPropName, int nType, void* pvProp, const void* pvDefault);

  HKEY m_hSectionKey = nullptr;
  HKEY m_hParentKey;
  CString m_strSectionName;
};
