// The class library's exceptions. They are thrown as pointers to heap objects, and the handler that
// catches one ends it with Delete():
//
//   try { ar >> value; } catch (CArchiveException* e) { cause = e->m_cause; e->Delete(); }
//
// A handler for CException* catches them all. CMemoryException is one static object that Delete()
// leaves alone, since it is raised when memory has run out.
#pragma once

#include "platform/classlib/cobject.h"
#include "platform/classlib/cstring.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  // Ends the exception: deletes it unless it is a static one.
  void Delete();

 protected:
  BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  CMemoryException() : CException(FALSE) {}
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
};

// A window or other system resource could not be made.
class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)

 public:
  enum {
    none,
    generic,
    readOnly,   // storing into an archive that loads
    endOfFile,  // the data ended before the value
    writeOnly,  // loading from an archive that stores
    badIndex,   // an object or class reference that leads nowhere
    badClass,   // an unknown class, or one of the wrong kind
    badSchema,  // the stored schema is not the class's
  };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

  int m_cause;
  CString m_strFileName;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)

 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
