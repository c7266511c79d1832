// CFile: a file on disk, read and written through the portable OS layer. Failures raise
// CFileException, except Open, which reports them through its return value.
#pragma once

#include "platform/classlib/cexception.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"
#include "platform/os/os.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile() = default;
  // Opens the file; failure raises CFileException.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;  // closes the file, ignoring failures
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Two ways are open: reading (modeRead with any share mode) and creating or truncating for writing
  // (modeCreate | modeWrite). Anything else fails with CFileException::generic.
  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  // Reads up to nCount bytes; fewer come back at the end of the file.
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void Flush();
  // Close raises CFileException when the system reports a failure; Abort ignores it.
  virtual void Close();
  virtual void Abort();
  CString GetFilePath() const { return m_strFileName; }

 protected:
  [[noreturn]] void ThrowFileException(int cause) const;

 private:
  os::File m_file;
  CString m_strFileName;
};
