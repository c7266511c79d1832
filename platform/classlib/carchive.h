// CArchive: the class library's binary stream over a CFile, for storing or for loading.
//
// The format (little-endian throughout):
// - numbers: their bytes as they are (BYTE 1, WORD and TCHAR 2, int/LONG/DWORD/float 4, 64-bit and
//   double 8).
// - counts (WriteCount): a WORD, or 0xFFFF followed by a DWORD when the count is 0xFFFF or more.
// - strings: 0xFF, the WORD 0xFFFE (UTF-16 follows), then the length in units as a BYTE when below 0xFF,
//   else 0xFF and a WORD when below 0xFFFE, else 0xFF, 0xFFFF and a DWORD; then the units. A string
//   stored without the 0xFFFE mark holds 8-bit text in the system's code page and is read as such.
// - objects (WriteObject) and classes (WriteClass) share one numbering from 1 in the order they first
//   appear. A null object is the WORD 0. An object or class seen before is its number: a WORD (with
//   0x8000 set for a class) below 0x7FFF, else the WORD 0x7FFF and a DWORD (0x80000000 set for a class).
//   A class seen for the first time is the WORD 0xFFFF and its class record: the WORD schema, the WORD
//   length of the name and the name's ASCII bytes. A new object is its class, then what its Serialize
//   writes.
//
// Loading never reads past the data: a value that the data ends inside raises CArchiveException
// endOfFile; references that lead nowhere raise badIndex, unknown or wrong classes badClass, and a
// stored schema other than the class's badSchema.
#pragma once

#include <type_traits>
#include <utility>
#include <unordered_map>
#include <vector>

#include "platform/classlib/cexception.h"
#include "platform/classlib/cfile.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"

class CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

  // The file is not owned. lpBuf is accepted for compatibility; the archive keeps its own buffer.
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  // Closes the archive (flushing a storing one) unless it was closed, aborted or bNoFlushOnDelete;
  // a failure then is swallowed.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  CFile* GetFile() const { return m_pFile; }

  // Raw bytes. Read returns how many came (fewer at the end of the data).
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  // Storing: writes the buffer to the file. Loading: moves the file back to what was consumed.
  void Flush();
  void Close();
  // Lets go of the file without writing the buffer.
  void Abort();

  DWORD ReadCount();
  void WriteCount(DWORD dwCount);

  // Reads an object; with pClassRefRequested, one of another kind raises badClass. The caller owns
  // a new object; an object read before comes back as the same pointer.
  CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
  // Raises CNotSupportedException for a class that is not SERIAL.
  void WriteObject(const CObject* pOb);
  // Reads a class reference. An object reference instead gives null and its number in *pObTag, or
  // raises badIndex when pObTag is null. *pSchema receives the stored schema.
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);
  void WriteClass(const CRuntimeClass* pClassRef);
  // WriteClass when storing; when loading, ReadClass that must give exactly this class.
  void SerializeClass(const CRuntimeClass* pClassRef);
  // Gives the object the next number, as if it had been written or read here, so that later
  // references to it resolve (for objects made by other means, such as a property exchange).
  void MapObject(const CObject* pOb);

  CArchive& operator<<(BYTE by) { return Put(by); }
  CArchive& operator<<(WORD w) { return Put(w); }
  CArchive& operator<<(TCHAR ch) { return Put(static_cast<WORD>(ch)); }
  CArchive& operator<<(char ch) { return Put(static_cast<BYTE>(ch)); }
  CArchive& operator<<(short n) { return Put(static_cast<WORD>(n)); }
  CArchive& operator<<(int n) { return Put(static_cast<DWORD>(n)); }
  CArchive& operator<<(unsigned u) { return Put(static_cast<DWORD>(u)); }
  CArchive& operator<<(LONGLONG n) { return Put(static_cast<ULONGLONG>(n)); }
  CArchive& operator<<(ULONGLONG u) { return Put(u); }
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
#ifdef _WIN32
  CArchive& operator<<(LONG l) { return Put(static_cast<DWORD>(l)); }
  CArchive& operator<<(DWORD dw) { return Put(dw); }
#endif

  CArchive& operator>>(BYTE& by) { return Get(by); }
  CArchive& operator>>(WORD& w) { return Get(w); }
  CArchive& operator>>(TCHAR& ch) { return GetAs<WORD>(ch); }
  CArchive& operator>>(char& ch) { return GetAs<BYTE>(ch); }
  CArchive& operator>>(short& n) { return GetAs<WORD>(n); }
  CArchive& operator>>(int& n) { return GetAs<DWORD>(n); }
  CArchive& operator>>(unsigned& u) { return GetAs<DWORD>(u); }
  CArchive& operator>>(LONGLONG& n) { return GetAs<ULONGLONG>(n); }
  CArchive& operator>>(ULONGLONG& u) { return Get(u); }
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);
#ifdef _WIN32
  CArchive& operator>>(LONG& l) { return GetAs<DWORD>(l); }
  CArchive& operator>>(DWORD& dw) { return Get(dw); }
#endif

 private:
  // One entry of the loading side's numbering: an object or a class.
  struct Loaded {
    void* p;
    bool isClass;
  };

  template <class T>
  CArchive& Put(T value) {
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<BYTE>(value >> (8 * i));
    Write(bytes, sizeof(T));
    return *this;
  }
  template <class T>
  CArchive& Get(T& value) {
    BYTE bytes[sizeof(T)];
    ReadExact(bytes, sizeof(T));
    T v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v = static_cast<T>(v | static_cast<T>(bytes[i]) << (8 * i));
    value = v;
    return *this;
  }
  template <class Stored, class T>
  CArchive& GetAs(T& value) {
    Stored stored;
    Get(stored);
    value = static_cast<T>(stored);
    return *this;
  }

  // Reads exactly nCount bytes or raises endOfFile.
  void ReadExact(void* lpBuf, UINT nCount);
  void FillBuffer();
  void WriteBuffer();
  void CheckLoading() const;
  void CheckStoring() const;
  // The next number; raises badIndex when the numbering is full.
  DWORD NextMapIndex();
  void WriteTag(DWORD index, bool isClass);

  CFile* m_pFile;
  UINT m_nMode;
  std::vector<BYTE> m_buffer;
  size_t m_nBufCur = 0;  // loading: next unread byte; storing: bytes waiting
  size_t m_nBufMax = 0;  // loading: bytes in the buffer
  DWORD m_nMapCount = 1;  // 0 is the null object
  std::unordered_map<const void*, DWORD> m_storeMap;
  std::vector<Loaded> m_loadArray;
  int m_nObjectDepth = 0;  // objects being read inside one another
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
CArchive& operator<<(CArchive& ar, const CSize& size);
CArchive& operator>>(CArchive& ar, CSize& size);
CArchive& operator<<(CArchive& ar, const CPoint& point);
CArchive& operator>>(CArchive& ar, CPoint& point);
CArchive& operator<<(CArchive& ar, const CRect& rect);
CArchive& operator>>(CArchive& ar, CRect& rect);

namespace classlib_detail {
template <class T, class = void>
struct IsArchivable : std::false_type {};
template <class T>
struct IsArchivable<T, std::void_t<decltype(std::declval<CArchive&>() << std::declval<const T&>()),
                                   decltype(std::declval<CArchive&>() >> std::declval<T&>())>>
    : std::true_type {};
}  // namespace classlib_detail

// How the collections store their elements: strings, objects (a pointer to a CObject kind, read back
// as that kind), and numbers, sizes, points and rectangles, each in its archive form. Elements of any
// other type (other pointers, records) cannot be archived: CNotSupportedException.
template <class T>
void SerializeElements(CArchive& ar, T* pElements, int nCount) {
  if constexpr (std::is_pointer_v<T>) {
    using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
    if constexpr (std::is_base_of_v<CObject, Pointee>) {
      for (int i = 0; i < nCount; ++i) {
        if (ar.IsStoring()) {
          ar.WriteObject(pElements[i]);
        } else {
          pElements[i] = static_cast<T>(ar.ReadObject(Pointee::GetThisClass()));
        }
      }
    } else if (nCount > 0) {
      AfxThrowNotSupportedException();
    }
  } else if constexpr (classlib_detail::IsArchivable<T>::value) {
    for (int i = 0; i < nCount; ++i) {
      if (ar.IsStoring()) {
        ar << pElements[i];
      } else {
        ar >> pElements[i];
      }
    }
  } else if (nCount > 0) {
    AfxThrowNotSupportedException();
  }
}
