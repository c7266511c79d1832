#include "platform/classlib/cfile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

// The OS layer gives no error codes; tell a missing file apart from one that would not open.
int OpenFailureCause(const std::u16string& path, bool reading) {
  if (reading && !os::FileExists(path)) return CFileException::fileNotFound;
  return CFileException::accessDenied;
}

}  // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error)) AfxThrowFileException(error.m_cause, -1, lpszFileName);
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  Abort();
  m_strFileName = lpszFileName;
  const std::u16string path = m_strFileName.ToUtf16();
  const UINT access = nOpenFlags & 3;
  const UINT share = nOpenFlags & 0x70;
  int cause = CFileException::none;
  if (access == modeRead && (nOpenFlags & (modeCreate | modeNoTruncate)) == 0) {
    const os::Share others = share == shareDenyNone ? os::Share::ReadWrite : os::Share::Read;
    if (!m_file.OpenRead(path, others)) cause = OpenFailureCause(path, true);
  } else if (access == modeWrite && (nOpenFlags & (modeCreate | modeNoTruncate)) == modeCreate) {
    if (!m_file.OpenWrite(path)) cause = OpenFailureCause(path, false);
  } else {
    cause = CFileException::generic;
  }
  if (cause == CFileException::none) return TRUE;
  if (pError != nullptr) {
    pError->m_cause = cause;
    pError->m_lOsError = -1;
    pError->m_strFileName = lpszFileName;
  }
  return FALSE;
}

void CFile::ThrowFileException(int cause) const { AfxThrowFileException(cause, -1, m_strFileName); }

ULONGLONG CFile::GetPosition() const {
  uint64_t position = 0;
  // Seek is not const in the OS layer; asking for the position moves nothing.
  if (!const_cast<os::File&>(m_file).Seek(0, os::Origin::Current, &position)) {
    ThrowFileException(CFileException::badSeek);
  }
  return position;
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  const os::Origin origin = nFrom == begin ? os::Origin::Begin : (nFrom == current ? os::Origin::Current
                                                                                   : os::Origin::End);
  uint64_t position = 0;
  if (nFrom > end || !m_file.Seek(lOff, origin, &position)) ThrowFileException(CFileException::badSeek);
  return position;
}

ULONGLONG CFile::GetLength() const {
  uint64_t size = 0;
  if (!m_file.Size(&size)) ThrowFileException(CFileException::generic);
  return size;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  uint32_t got = 0;
  if (nCount > 0 && !m_file.Read(lpBuf, nCount, &got)) ThrowFileException(CFileException::hardIO);
  return got;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount > 0 && !m_file.Write(lpBuf, nCount)) ThrowFileException(CFileException::diskFull);
}

void CFile::Flush() {}

void CFile::Close() {
  if (m_file.IsOpen() && !m_file.Close()) ThrowFileException(CFileException::generic);
}

void CFile::Abort() {
  if (m_file.IsOpen()) m_file.Close();
}
