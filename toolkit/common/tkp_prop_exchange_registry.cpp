#include "toolkit/common/tkp_prop_exchange_registry.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "toolkit/common/profile_hex.h"

IMPLEMENT_DYNAMIC(CTKPPropExchangeRegistry, CTKPPropExchange)

namespace {

static_assert(sizeof(wchar_t) == 2, "registry text is UTF-16");

// The value as text; FALSE when it is missing or not text.
BOOL QueryText(HKEY key, LPCTSTR name, CString& text) {
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return FALSE;
  std::vector<wchar_t> buffer(size / 2 + 1, 0);
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return FALSE;
  }
  buffer[size / 2] = 0;
  text = buffer.data();
  return TRUE;
}

BOOL QueryBinary(HKEY key, LPCTSTR name, std::vector<std::uint8_t>& bytes) {
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY) return FALSE;
  bytes.assign(size, 0);
  return ::RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) == ERROR_SUCCESS && size == bytes.size();
}

}  // namespace

CTKPPropExchangeRegistry::CTKPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection)
    : m_hParentKey(hParentKey), m_strSectionName(lpszSection) {
  m_bLoading = bLoading;
}

CTKPPropExchangeRegistry::~CTKPPropExchangeRegistry() {
  if (m_hSectionKey != nullptr) ::RegCloseKey(m_hSectionKey);
}

BOOL CTKPPropExchangeRegistry::OnBeforeExchange() {
  if (m_hParentKey == nullptr) return FALSE;
  if (!m_bInitialized) {
    // Created even when loading, so that the sub-sections of a missing section open too.
    ::RegCreateKeyExW(m_hParentKey, m_strSectionName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      m_bLoading ? KEY_READ : KEY_WRITE | KEY_READ, nullptr, &m_hSectionKey, nullptr);
    m_bInitialized = TRUE;
  }
  return m_hSectionKey != nullptr;
}

BOOL CTKPPropExchangeRegistry::ExchangeProp(LPCTSTR pszPropName, int nType, void* pvProp, const void* pvDefault) {
  return m_bLoading ? Load(pszPropName, nType, pvProp, pvDefault) : Save(pszPropName, nType, pvProp, pvDefault);
}

BOOL CTKPPropExchangeRegistry::Save(LPCTSTR name, int nType, const void* pvProp, const void* pvDefault) {
  if (!m_bUseDefaultOnSave) pvDefault = nullptr;
  if (!OnBeforeExchange()) return FALSE;
  if (TKPPropValuesEqual(nType, pvProp, pvDefault)) {
    if (!m_bEmptied) ::RegDeleteValueW(m_hSectionKey, name);
    return TRUE;
  }
  const auto setValue = [&](DWORD type, const void* data, DWORD size) {
    return ::RegSetValueExW(m_hSectionKey, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  };
  CString text;
  switch (nType) {
    case tkpI2: case tkpI4: case tkpBool: case tkpUI1: {
      DWORD word = 0;
      TKPPropCopyValue(nType, &word, pvProp);
      return setValue(REG_DWORD, &word, sizeof word);
    }
    case tkpR4: {
      const std::vector<std::uint8_t> bytes = tkprofile::FloatBytes(*static_cast<const float*>(pvProp));
      return setValue(REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    case tkpR8: {
      const std::vector<std::uint8_t> bytes = tkprofile::DoubleBytes(*static_cast<const double*>(pvProp));
      return setValue(REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    case tkpString: text = *static_cast<const CString*>(pvProp); break;
    case tkpRect: {
      const CRect& rc = *static_cast<const CRect*>(pvProp);
      text.Format(L"%i, %i, %i, %i", static_cast<int>(rc.left), static_cast<int>(rc.top), static_cast<int>(rc.right),
                  static_cast<int>(rc.bottom));
      break;
    }
    case tkpSize: {
      const CSize& sz = *static_cast<const CSize*>(pvProp);
      text.Format(L"%i, %i", static_cast<int>(sz.cx), static_cast<int>(sz.cy));
      break;
    }
    default: return FALSE;
  }
  return setValue(REG_SZ, text.GetString(), static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t)));
}

BOOL CTKPPropExchangeRegistry::Load(LPCTSTR name, int nType, void* pvProp, const void* pvDefault) {
  if (!m_bUseDefaultOnLoad) pvDefault = nullptr;
  if (!OnBeforeExchange()) return TKPPropCopyValue(nType, pvProp, pvDefault);
  switch (nType) {
    case tkpI2: case tkpI4: case tkpBool: case tkpUI1: {
      DWORD word = 0, type = 0, size = sizeof word;
      if (::RegQueryValueExW(m_hSectionKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&word), &size) != ERROR_SUCCESS ||
          type != REG_DWORD) {
        return TKPPropCopyValue(nType, pvProp, pvDefault);
      }
      std::memcpy(pvProp, &word, static_cast<size_t>(TKPPropTypeSize(nType)));
      return TRUE;
    }
    case tkpR4: case tkpR8: {
      // The same stored form as the registry manager's floating-point values.
      std::vector<std::uint8_t> bytes;
      const bool ok = QueryBinary(m_hSectionKey, name, bytes) &&
                      (nType == tkpR4 ? tkprofile::FloatFromBytes(bytes.data(), bytes.size(), static_cast<float*>(pvProp))
                                      : tkprofile::DoubleFromBytes(bytes.data(), bytes.size(), static_cast<double*>(pvProp)));
      return ok ? TRUE : TKPPropCopyValue(nType, pvProp, pvDefault);
    }
    case tkpString: case tkpRect: case tkpSize: break;
    default: return FALSE;
  }
  CString text;
  if (!QueryText(m_hSectionKey, name, text)) return TKPPropCopyValue(nType, pvProp, pvDefault);
  if (nType == tkpString) {
    *static_cast<CString*>(pvProp) = text;
    return TRUE;
  }
  int v[4] = {0, 0, 0, 0};
  if (nType == tkpSize) {
    if (std::swscanf(text.GetString(), L"%i, %i", &v[0], &v[1]) != 2) return TKPPropCopyValue(nType, pvProp, pvDefault);
    *static_cast<CSize*>(pvProp) = CSize(v[0], v[1]);
  } else {
    if (std::swscanf(text.GetString(), L"%i, %i, %i, %i", &v[0], &v[1], &v[2], &v[3]) != 4) {
      return TKPPropCopyValue(nType, pvProp, pvDefault);
    }
    *static_cast<CRect*>(pvProp) = CRect(v[0], v[1], v[2], v[3]);
  }
  return TRUE;
}

BOOL CTKPPropExchangeRegistry::ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pSize) {
  if (!OnBeforeExchange()) return FALSE;
  if (!m_bLoading) {
    return ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_BINARY, *ppData, *pSize) == ERROR_SUCCESS;
  }
  std::vector<std::uint8_t> bytes;
  if (!QueryBinary(m_hSectionKey, pszPropName, bytes)) return FALSE;
  if (*ppData == nullptr) {
    *ppData = static_cast<BYTE*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (*ppData == nullptr) return FALSE;
  } else if (*pSize < bytes.size()) {
    return FALSE;
  }
  if (!bytes.empty()) std::memcpy(*ppData, bytes.data(), bytes.size());
  *pSize = static_cast<DWORD>(bytes.size());
  return TRUE;
}

CTKPPropExchange* CTKPPropExchangeRegistry::GetSection(LPCTSTR pszSection) {
  OnBeforeExchange();
  auto* section = new CTKPPropExchangeRegistry(m_bLoading, m_hSectionKey, pszSection);
  InitSection(section);
  return section;
}

DWORD CTKPPropExchangeRegistry::ReadCount() {
  const DWORD count = CTKPPropExchange::ReadCount();
  // The items a count names are this key's sub-keys or values: a damaged count of billions names no more
  // items than exist, and is not looped over.
  DWORD keys = 0, values = 0;
  if (count == 0 || !OnBeforeExchange() ||
      ::RegQueryInfoKeyW(m_hSectionKey, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  return count < keys + values ? count : keys + values;
}

void CTKPPropExchangeRegistry::EmptySection() {
  CTKPPropExchange::EmptySection();
  if (m_hSectionKey != nullptr) ::RegCloseKey(m_hSectionKey);
  m_hSectionKey = nullptr;
  if (m_hParentKey != nullptr) ::RegDeleteTreeW(m_hParentKey, m_strSectionName);
  m_bInitialized = FALSE;
}
