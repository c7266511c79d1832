// CString: a UTF-16 string of TCHAR with the class library's interface. Indexes and lengths count
// UTF-16 code units. A CString passed to Format's "..." must be passed as (LPCTSTR)s or s.GetString().
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/classlib/cltypes.h"

class CString {
 public:
  CString() = default;
  CString(const CString& other) = default;
  CString(CString&& other) noexcept = default;
  CString(LPCTSTR psz);  // a null pointer gives an empty string
  CString(LPCTSTR pch, int nLength);
  CString(TCHAR ch, int nRepeat = 1);
  // From text in the system's 8-bit code page (Windows-1252 natively).
  CString(LPCSTR psz);
  ~CString() = default;

  // Between CString and the char16_t text of portable code (the same units in both builds).
  static CString FromUtf16(std::u16string_view text);
  std::u16string ToUtf16() const;

  CString& operator=(const CString& other) = default;
  CString& operator=(CString&& other) noexcept = default;
  CString& operator=(LPCTSTR psz);
  CString& operator=(LPCSTR psz);
  CString& operator=(TCHAR ch);
  CString& operator+=(const CString& other);
  CString& operator+=(LPCTSTR psz);
  CString& operator+=(TCHAR ch);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  TCHAR GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
  TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, TCHAR ch) { m_str[static_cast<size_t>(nIndex)] = ch; }
  operator LPCTSTR() const { return m_str.c_str(); }
  LPCTSTR GetString() const { return m_str.c_str(); }

  // Ordinal comparison of the code units: <0, 0 or >0.
  int Compare(LPCTSTR psz) const;
  // The same after folding both sides to lower case (see MakeLower).
  int CompareNoCase(LPCTSTR psz) const;

  // Substrings; a start or count outside the string is clamped to it.
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;

  // Case mapping of Latin (ASCII, Latin-1, Latin Extended-A), Greek and Cyrillic letters.
  CString& MakeUpper();
  CString& MakeLower();

  // Trimming removes white space (tab, line feed, vertical tab, form feed, carriage return, space),
  // the one character, or any character of the set.
  CString& TrimLeft();
  CString& TrimLeft(TCHAR chTarget);
  CString& TrimLeft(LPCTSTR pszTargets);
  CString& TrimRight();
  CString& TrimRight(TCHAR chTarget);
  CString& TrimRight(LPCTSTR pszTargets);

  // Each returns the number of replacements or removals.
  int Replace(TCHAR chOld, TCHAR chNew);
  int Replace(LPCTSTR pszOld, LPCTSTR pszNew);  // an empty pszOld replaces nothing
  int Remove(TCHAR chRemove);
  // Each returns the new length; an index past the end appends.
  int Insert(int nIndex, TCHAR ch);
  int Insert(int nIndex, LPCTSTR psz);
  int Delete(int nIndex, int nCount = 1);

  // The index of the first match at or after nStart, or -1.
  int Find(TCHAR ch, int nStart = 0) const;
  int Find(LPCTSTR pszSub, int nStart = 0) const;
  // The index of the last occurrence of ch, or -1.
  int ReverseFind(TCHAR ch) const;

  // printf-style formatting, the same in both builds (see cstring_format.cpp for what is understood).
  void Format(LPCTSTR pszFormat, ...);
  void FormatV(LPCTSTR pszFormat, va_list args);

  // Direct access: at least nMinBufLength characters (plus the terminator) may be written; then
  // ReleaseBuffer sets the length (to the first zero when nNewLength is -1).
  LPTSTR GetBuffer(int nMinBufLength);
  LPTSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);

#ifdef _WIN32
#pragma push_macro("LoadString")
#undef LoadString
  // The string resource nID of the resource module; FALSE (string unchanged) when there is none.
  BOOL LoadString(UINT nID);
  // <windows.h> turns calls of LoadString into LoadStringW.
  BOOL LoadStringW(UINT nID) { return LoadString(nID); }
#pragma pop_macro("LoadString")
#endif

 private:
  std::basic_string<TCHAR> m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, TCHAR b);
CString operator+(TCHAR a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCTSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCTSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, LPCTSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCTSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, LPCTSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCTSTR a, const CString& b) { return b.Compare(a) <= 0; }

// Case mapping of one code unit, as CString uses it.
TCHAR ClToUpper(TCHAR ch);
TCHAR ClToLower(TCHAR ch);
