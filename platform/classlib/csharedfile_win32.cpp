#include "platform/classlib/csharedfile.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes) : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags) {}

// CMemFile's destructor would free through its own Free, not ours.
CSharedFile::~CSharedFile() { Close(); }

HGLOBAL CSharedFile::Detach() {
  // The data lives in the file's own memory once it has grown, else still in the caller's.
  HGLOBAL memory = m_hGlobalMemory != nullptr ? m_hGlobalMemory : m_hCallerMemory;
  if (m_hGlobalMemory != nullptr) ::GlobalUnlock(m_hGlobalMemory);
  if (m_hCallerMemory != nullptr) ::GlobalUnlock(m_hCallerMemory);
  m_hGlobalMemory = m_hCallerMemory = nullptr;
  CMemFile::Detach();
  return memory;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow) {
  Close();
  BYTE* data = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
  const SIZE_T size = data != nullptr ? ::GlobalSize(hGlobalMemory) : 0;
  CMemFile::Attach(data, static_cast<UINT>(size), 0);
  m_hCallerMemory = data != nullptr ? hGlobalMemory : nullptr;
  m_nGrowBytes = bAllowGrow ? 4096 : 0;
}

void CSharedFile::Close() {
  CMemFile::Close();
  if (m_hCallerMemory != nullptr) ::GlobalUnlock(m_hCallerMemory);
  m_hCallerMemory = nullptr;
}

BYTE* CSharedFile::Alloc(UINT nBytes) {
  m_hGlobalMemory = ::GlobalAlloc(m_nAllocFlags, nBytes);
  return m_hGlobalMemory != nullptr ? static_cast<BYTE*>(::GlobalLock(m_hGlobalMemory)) : nullptr;
}

BYTE* CSharedFile::Realloc(BYTE*, UINT nBytes) {
  ::GlobalUnlock(m_hGlobalMemory);
  HGLOBAL memory = ::GlobalReAlloc(m_hGlobalMemory, nBytes, GMEM_MOVEABLE);
  if (memory == nullptr) {
    ::GlobalLock(m_hGlobalMemory);  // the old block stays the file's
    return nullptr;
  }
  m_hGlobalMemory = memory;
  return static_cast<BYTE*>(::GlobalLock(memory));
}

void CSharedFile::Free(BYTE*) {
  if (m_hGlobalMemory == nullptr) return;
  ::GlobalUnlock(m_hGlobalMemory);
  ::GlobalFree(m_hGlobalMemory);
  m_hGlobalMemory = nullptr;
}
