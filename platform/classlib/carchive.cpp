#include "platform/classlib/carchive.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kMinBufferSize = 128;
// Strings are read in pieces of this many units, so that a damaged length costs no more memory than
// the data really holds.
constexpr DWORD kStringChunk = 4096;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<size_t>(std::max(nBufSize, kMinBufferSize))) {
  m_loadArray.push_back({nullptr, false});  // number 0: the null object
}

CArchive::~CArchive() {
  if (m_pFile == nullptr || (m_nMode & bNoFlushOnDelete) != 0) return;
  try {
    Close();
  } catch (CException* e) {
    e->Delete();
  }
}

void CArchive::CheckLoading() const {
  if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const {
  if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly);
}

void CArchive::FillBuffer() {
  m_nBufCur = 0;
  m_nBufMax = m_pFile != nullptr ? m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size())) : 0;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckLoading();
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nMax) {
    if (m_nBufCur == m_nBufMax) {
      FillBuffer();
      if (m_nBufMax == 0) break;
    }
    const size_t n = std::min<size_t>(nMax - done, m_nBufMax - m_nBufCur);
    std::memcpy(out + done, m_buffer.data() + m_nBufCur, n);
    m_nBufCur += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount) {
  if (Read(lpBuf, nCount) != nCount) AfxThrowArchiveException(CArchiveException::endOfFile);
}

void CArchive::WriteBuffer() {
  if (m_nBufCur > 0 && m_pFile != nullptr) m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_nBufCur));
  m_nBufCur = 0;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  CheckStoring();
  const BYTE* in = static_cast<const BYTE*>(lpBuf);
  while (nMax > 0) {
    if (m_nBufCur == m_buffer.size()) WriteBuffer();
    const size_t n = std::min<size_t>(nMax, m_buffer.size() - m_nBufCur);
    std::memcpy(m_buffer.data() + m_nBufCur, in, n);
    m_nBufCur += n;
    in += n;
    nMax -= static_cast<UINT>(n);
  }
}

void CArchive::Flush() {
  if (IsStoring()) {
    WriteBuffer();
    if (m_pFile != nullptr) m_pFile->Flush();
  } else if (m_pFile != nullptr && m_nBufCur < m_nBufMax) {
    m_pFile->Seek(-static_cast<LONGLONG>(m_nBufMax - m_nBufCur), CFile::current);
    m_nBufCur = m_nBufMax = 0;
  }
}

void CArchive::Close() {
  if (m_pFile != nullptr) Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_pFile = nullptr;
  m_nBufCur = m_nBufMax = 0;
}

DWORD CArchive::ReadCount() {
  WORD w;
  *this >> w;
  if (w != 0xFFFF) return w;
  DWORD dw;
  GetAs<DWORD>(dw);
  return dw;
}

void CArchive::WriteCount(DWORD dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
  } else {
    *this << static_cast<WORD>(0xFFFF);
    Put(dwCount);
  }
}

CArchive& CArchive::operator<<(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return Put(bits);
}

CArchive& CArchive::operator<<(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return Put(bits);
}

CArchive& CArchive::operator>>(float& f) {
  uint32_t bits;
  Get(bits);
  std::memcpy(&f, &bits, sizeof f);
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  uint64_t bits;
  Get(bits);
  std::memcpy(&d, &bits, sizeof d);
  return *this;
}

// ---- strings ----------------------------------------------------------------------------------------

namespace {

// The length prefix of a stored string: a BYTE, a WORD or a DWORD, as small as the length allows.
void WriteStringLength(CArchive& ar, DWORD length) {
  if (length < 0xFF) {
    ar << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<unsigned>(length);
  }
}

// Reads a length prefix; *wide tells whether the 0xFFFE mark of UTF-16 text came first.
DWORD ReadStringLength(CArchive& ar, bool* wide) {
  *wide = false;
  BYTE b;
  ar >> b;
  if (b < 0xFF) return b;
  WORD w;
  ar >> w;
  if (w == 0xFFFE) {
    *wide = true;
    ar >> b;
    if (b < 0xFF) return b;
    ar >> w;
  }
  if (w < 0xFFFF) return w;
  unsigned dw;
  ar >> dw;
  return dw;
}

}  // namespace

CArchive& operator<<(CArchive& ar, const CString& string) {
  const DWORD length = static_cast<DWORD>(string.GetLength());
  ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);  // UTF-16 follows
  WriteStringLength(ar, length);
  std::vector<BYTE> bytes(2 * static_cast<size_t>(length));
  for (DWORD i = 0; i < length; ++i) {
    const unsigned unit = static_cast<unsigned>(string[static_cast<int>(i)]);
    bytes[2 * i] = static_cast<BYTE>(unit);
    bytes[2 * i + 1] = static_cast<BYTE>(unit >> 8);
  }
  ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
  bool wide;
  const DWORD length = ReadStringLength(ar, &wide);
  const size_t unitSize = wide ? 2 : 1;
  std::u16string text;
  std::string narrow;
  std::vector<BYTE> chunk;
  for (DWORD done = 0; done < length;) {
    const DWORD n = std::min(length - done, kStringChunk);
    chunk.resize(n * unitSize);
    if (ar.Read(chunk.data(), static_cast<UINT>(chunk.size())) != chunk.size()) {
      AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    for (DWORD i = 0; i < n; ++i) {
      if (wide) {
        text += static_cast<char16_t>(chunk[2 * i] | chunk[2 * i + 1] << 8);
      } else {
        narrow += static_cast<char>(chunk[i]);
      }
    }
    done += n;
  }
  string = wide ? CString::FromUtf16(text) : CString::FromUtf16(os::FromCodePage(narrow));
  return ar;
}

// ---- sizes, points and rectangles -------------------------------------------------------------------

CArchive& operator<<(CArchive& ar, const CSize& size) {
  return ar << static_cast<int>(size.cx) << static_cast<int>(size.cy);
}

CArchive& operator>>(CArchive& ar, CSize& size) {
  int cx, cy;
  ar >> cx >> cy;
  size = CSize(cx, cy);
  return ar;
}

CArchive& operator<<(CArchive& ar, const CPoint& point) {
  return ar << static_cast<int>(point.x) << static_cast<int>(point.y);
}

CArchive& operator>>(CArchive& ar, CPoint& point) {
  int x, y;
  ar >> x >> y;
  point = CPoint(x, y);
  return ar;
}

CArchive& operator<<(CArchive& ar, const CRect& rect) {
  return ar << static_cast<int>(rect.left) << static_cast<int>(rect.top) << static_cast<int>(rect.right)
            << static_cast<int>(rect.bottom);
}

CArchive& operator>>(CArchive& ar, CRect& rect) {
  int l, t, r, b;
  ar >> l >> t >> r >> b;
  rect = CRect(l, t, r, b);
  return ar;
}
