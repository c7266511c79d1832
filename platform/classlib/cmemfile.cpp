#include "platform/classlib/cmemfile.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  Close();
  m_lpBuffer = lpBuffer;
  m_nBufferSize = nBufferSize;
  m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* buffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  return buffer;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  const LONGLONG base = nFrom == begin ? 0 : (nFrom == current ? m_nPosition : m_nFileSize);
  const LONGLONG target = base + lOff;
  if (nFrom > end || target < 0 || target > 0xFFFFFFFFLL) ThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<UINT>(target);
  return m_nPosition;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize) return 0;
  const UINT n = nCount < m_nFileSize - m_nPosition ? nCount : m_nFileSize - m_nPosition;
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (nCount > 0xFFFFFFFFu - m_nPosition) AfxThrowMemoryException();
  const UINT newEnd = m_nPosition + nCount;
  GrowFile(newEnd);
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = newEnd;
  if (newEnd > m_nFileSize) m_nFileSize = newEnd;
}

void CMemFile::GrowFile(UINT nNewSize) {
  if (nNewSize <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  // Whole steps of nGrowBytes, so that many small writes reallocate rarely.
  const ULONGLONG steps = (static_cast<ULONGLONG>(nNewSize) + m_nGrowBytes - 1) / m_nGrowBytes;
  const ULONGLONG size = steps * m_nGrowBytes;
  const UINT newSize = size > 0xFFFFFFFFu ? nNewSize : static_cast<UINT>(size);
  BYTE* buffer;
  if (m_lpBuffer != nullptr && m_bAutoDelete) {
    buffer = Realloc(m_lpBuffer, newSize);
  } else {
    // A caller's buffer is copied, never reallocated: it may not come from malloc.
    buffer = Alloc(newSize);
    if (buffer != nullptr && m_lpBuffer != nullptr) std::memcpy(buffer, m_lpBuffer, m_nFileSize);
  }
  if (buffer == nullptr) AfxThrowMemoryException();
  m_lpBuffer = buffer;
  m_bAutoDelete = TRUE;
  m_nBufferSize = newSize;
}

void CMemFile::Close() {
  if (m_bAutoDelete && m_lpBuffer != nullptr) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
}

BYTE* CMemFile::Alloc(UINT nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, UINT nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }
