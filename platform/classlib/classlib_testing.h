// Helpers of the class library's tests.
#pragma once

#include <vector>

#include "platform/classlib/classlib.h"

// The cause of the E that f raises (the exception is deleted), or -1 when it raises none.
template <class E, class F>
int CauseOf(F&& f) {
  try {
    f();
  } catch (E* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

// Whether f raises an E (deleted).
template <class E, class F>
bool Raises(F&& f) {
  try {
    f();
  } catch (E* e) {
    e->Delete();
    return true;
  }
  return false;
}

// The bytes that store writes into an archive.
template <class F>
std::vector<BYTE> Stored(F&& store) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    store(ar);
  }
  const UINT length = static_cast<UINT>(file.GetLength());
  BYTE* data = file.Detach();
  std::vector<BYTE> bytes(data, data + length);
  free(data);
  return bytes;
}

// Loads from exactly these bytes (a heap copy of that size, so that reading past it is caught).
template <class F>
void Loaded(const std::vector<BYTE>& bytes, F&& load) {
  std::vector<BYTE> copy(bytes);
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  CArchive ar(&file, CArchive::load);
  load(ar);
}

inline CString S(LPCTSTR text) { return CString(text); }

#include <ostream>

// Shows a CString as UTF-8 in failure messages.
inline void PrintTo(const CString& s, std::ostream* out) { *out << '"' << os::ToUtf8(s.ToUtf16()) << '"'; }
