// CMemFile: a file in a block of memory that grows in steps of nGrowBytes. Its buffer comes from
// malloc, so a buffer taken with Detach is released with free(). A buffer given by the caller
// (Attach, or the buffer constructor) stays the caller's: with nGrowBytes 0 it holds nBufferSize bytes
// of data to read and cannot grow; otherwise it is the first storage, copied to malloc memory on growth.
#pragma once

#include "platform/classlib/cfile.h"

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)

 public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the buffer to the caller and leaves the file empty.
  BYTE* Detach();

  ULONGLONG GetPosition() const override { return m_nPosition; }
  // Seeking past the end is allowed: reads there give nothing, and a write fills the gap with zeros.
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetLength() const override { return m_nFileSize; }
  UINT Read(void* lpBuf, UINT nCount) override;
  // Raises CMemoryException when the file may not grow or memory runs out.
  void Write(const void* lpBuf, UINT nCount) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 protected:
  // The memory a derived file keeps its data in (CSharedFile uses global memory).
  virtual BYTE* Alloc(UINT nBytes);
  virtual BYTE* Realloc(BYTE* lpMem, UINT nBytes);
  virtual void Free(BYTE* lpMem);
  // Makes the buffer hold at least nNewSize bytes.
  void GrowFile(UINT nNewSize);

  UINT m_nGrowBytes;
  UINT m_nPosition = 0;
  UINT m_nBufferSize = 0;
  UINT m_nFileSize = 0;
  BYTE* m_lpBuffer = nullptr;
  BOOL m_bAutoDelete = TRUE;  // the file frees its buffer
};
