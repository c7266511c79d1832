#include "platform/classlib/cstring.h"

#include <algorithm>

#include "platform/os/os.h"

namespace {

using Text = std::basic_string<TCHAR>;
using TextView = std::basic_string_view<TCHAR>;

TextView ViewOf(LPCTSTR psz) { return psz != nullptr ? TextView(psz) : TextView(); }

Text FromU16(std::u16string_view text) { return Text(text.begin(), text.end()); }

bool IsTrimSpace(TCHAR ch) { return ch == ' ' || (ch >= 0x09 && ch <= 0x0D); }

// Case pairs inside a block where upper and lower case alternate (upper on the even or odd unit).
bool InAlternatingBlock(unsigned c, bool upperIsEven) {
  if (upperIsEven) return (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

}  // namespace

TCHAR ClToUpper(TCHAR ch) {
  const unsigned c = static_cast<unsigned>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<TCHAR>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<TCHAR>(c - 32);
  if (c == 0xFF) return static_cast<TCHAR>(0x178);
  if (InAlternatingBlock(c, true) && (c & 1) == 1) return static_cast<TCHAR>(c - 1);
  if (InAlternatingBlock(c, false) && (c & 1) == 0) return static_cast<TCHAR>(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9) return static_cast<TCHAR>(c == 0x3C2 ? 0x3A3 : c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<TCHAR>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<TCHAR>(c - 80);
  return ch;
}

TCHAR ClToLower(TCHAR ch) {
  const unsigned c = static_cast<unsigned>(ch);
  if (c >= 'A' && c <= 'Z') return static_cast<TCHAR>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<TCHAR>(c + 32);
  if (c == 0x178) return static_cast<TCHAR>(0xFF);
  if (InAlternatingBlock(c, true) && (c & 1) == 0) return static_cast<TCHAR>(c + 1);
  if (InAlternatingBlock(c, false) && (c & 1) == 1) return static_cast<TCHAR>(c + 1);
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<TCHAR>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<TCHAR>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<TCHAR>(c + 80);
  return ch;
}

CString::CString(LPCTSTR psz) : m_str(ViewOf(psz)) {}

CString::CString(LPCTSTR pch, int nLength)
    : m_str(pch != nullptr && nLength > 0 ? Text(pch, static_cast<size_t>(nLength)) : Text()) {}

CString::CString(TCHAR ch, int nRepeat) : m_str(static_cast<size_t>(std::max(nRepeat, 0)), ch) {}

CString::CString(LPCSTR psz) : m_str(psz != nullptr ? FromU16(os::FromCodePage(psz)) : Text()) {}

CString CString::FromUtf16(std::u16string_view text) {
  CString s;
  s.m_str = FromU16(text);
  return s;
}

std::u16string CString::ToUtf16() const { return std::u16string(m_str.begin(), m_str.end()); }

CString& CString::operator=(LPCTSTR psz) {
  m_str.assign(ViewOf(psz));  // assign copes with psz pointing into this string
  return *this;
}

CString& CString::operator=(LPCSTR psz) { return *this = CString(psz); }

CString& CString::operator=(TCHAR ch) {
  m_str.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const CString& other) {
  m_str += other.m_str;
  return *this;
}

CString& CString::operator+=(LPCTSTR psz) {
  m_str.append(ViewOf(psz));
  return *this;
}

CString& CString::operator+=(TCHAR ch) {
  m_str += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, LPCTSTR b) { return CString(a) += b; }
CString operator+(LPCTSTR a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, TCHAR b) { return CString(a) += b; }
CString operator+(TCHAR a, const CString& b) { return CString(a) += b; }

int CString::Compare(LPCTSTR psz) const {
  const int r = TextView(m_str.c_str()).compare(ViewOf(psz));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCTSTR psz) const {
  LPCTSTR a = m_str.c_str();
  LPCTSTR b = psz != nullptr ? psz : _T("");
  for (;; ++a, ++b) {
    const unsigned ca = static_cast<unsigned>(ClToLower(*a));
    const unsigned cb = static_cast<unsigned>(ClToLower(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  const int first = std::clamp(nFirst, 0, GetLength());
  const int count = std::clamp(nCount, 0, GetLength() - first);
  return CString(m_str.data() + first, count);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  const int count = std::clamp(nCount, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString& CString::MakeUpper() {
  for (TCHAR& ch : m_str) ch = ClToUpper(ch);
  return *this;
}

CString& CString::MakeLower() {
  for (TCHAR& ch : m_str) ch = ClToLower(ch);
  return *this;
}

CString& CString::TrimLeft() {
  const auto first = std::find_if_not(m_str.begin(), m_str.end(), IsTrimSpace);
  m_str.erase(m_str.begin(), first);
  return *this;
}

CString& CString::TrimLeft(TCHAR chTarget) {
  m_str.erase(0, m_str.find_first_not_of(chTarget));
  return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets) {
  m_str.erase(0, m_str.find_first_not_of(ViewOf(pszTargets)));
  return *this;
}

CString& CString::TrimRight() {
  const auto last = std::find_if_not(m_str.rbegin(), m_str.rend(), IsTrimSpace);
  m_str.erase(last.base(), m_str.end());
  return *this;
}

CString& CString::TrimRight(TCHAR chTarget) {
  const size_t last = m_str.find_last_not_of(chTarget);
  m_str.erase(last == Text::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets) {
  const size_t last = m_str.find_last_not_of(ViewOf(pszTargets));
  m_str.erase(last == Text::npos ? 0 : last + 1);
  return *this;
}

int CString::Replace(TCHAR chOld, TCHAR chNew) {
  int count = 0;
  for (TCHAR& ch : m_str) {
    if (ch == chOld) {
      ch = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
  const TextView from = ViewOf(pszOld);
  if (from.empty()) return 0;
  const Text to(ViewOf(pszNew));  // a copy: pszNew may point into this string
  Text result;
  int count = 0;
  size_t start = 0;
  for (size_t hit; (hit = m_str.find(from, start)) != Text::npos; start = hit + from.size()) {
    result.append(m_str, start, hit - start).append(to);
    ++count;
  }
  if (count > 0) m_str = result.append(m_str, start, Text::npos);
  return count;
}

int CString::Remove(TCHAR chRemove) {
  const size_t before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), chRemove), m_str.end());
  return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, TCHAR ch) {
  m_str.insert(static_cast<size_t>(std::clamp(nIndex, 0, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
  const Text text(ViewOf(psz));
  m_str.insert(static_cast<size_t>(std::clamp(nIndex, 0, GetLength())), text);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex >= 0 && nIndex < GetLength() && nCount > 0) {
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
  }
  return GetLength();
}

int CString::Find(TCHAR ch, int nStart) const {
  if (nStart < 0 || nStart >= GetLength()) return -1;
  const size_t hit = m_str.find(ch, static_cast<size_t>(nStart));
  return hit == Text::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
  if (nStart < 0 || nStart > GetLength()) return -1;
  const size_t hit = m_str.find(ViewOf(pszSub), static_cast<size_t>(nStart));
  return hit == Text::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(TCHAR ch) const {
  const size_t hit = m_str.rfind(ch);
  return hit == Text::npos ? -1 : static_cast<int>(hit);
}

void CString::Format(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
  return &m_str[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) {
    const size_t end = m_str.find(TCHAR(0));
    if (end != Text::npos) m_str.resize(end);
  } else if (nNewLength < GetLength()) {
    m_str.resize(static_cast<size_t>(nNewLength));
  }
}
