// CSharedFile: a memory file in global memory, which can be handed to the clipboard or taken from it.
// Windows build only.
#pragma once

#include <windows.h>

#include "platform/classlib/cmemfile.h"

class CSharedFile : public CMemFile {
  DECLARE_DYNAMIC(CSharedFile)

 public:
  explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
  ~CSharedFile() override;

  // Hands the global memory to the caller (unlocked) and leaves the file empty.
  HGLOBAL Detach();
  // Reads and writes the given global memory, whose whole size is the file's data. The memory stays
  // the caller's: the file never frees it (growing moves the data into memory of its own).
  void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);
  void Close() override;

 protected:
  BYTE* Alloc(UINT nBytes) override;
  BYTE* Realloc(BYTE* lpMem, UINT nBytes) override;
  void Free(BYTE* lpMem) override;

 private:
  UINT m_nAllocFlags;
  HGLOBAL m_hGlobalMemory = nullptr;  // the file's own memory, locked
  HGLOBAL m_hCallerMemory = nullptr;  // memory given by SetHandle, locked until Close or Detach
};
