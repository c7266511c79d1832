// The RAR library's entry points as this program calls them: exported undecorated, __stdcall, with the
// open-archive and header records laid out as below (32-bit build: 164 and 10,300 bytes). The test's
// stand-in library is built from this same header.
#pragma once

#include <windows.h>

#define RAR_CALL __stdcall

namespace unrar {

constexpr unsigned kOpenForList = 0;
constexpr int kSkip = 0;
constexpr int kEndOfArchive = 10;
constexpr unsigned kBadArchive = 13;

struct OpenArchiveDataEx {
  char* ArcName;            // narrow archive name, or null when ArcNameW is given
  wchar_t* ArcNameW;        // wide archive name (taken when not null)
  unsigned int OpenMode;    // kOpenForList
  unsigned int OpenResult;  // 0 on success
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
  unsigned int Flags;
  void* Callback;
  LPARAM UserData;
  unsigned int Reserved[30];
};

struct HeaderDataEx {
  char ArcName[1024];
  wchar_t ArcNameW[1024];
  char FileName[1024];
  wchar_t FileNameW[1024];
  unsigned int Flags;
  unsigned int PackSize;
  unsigned int PackSizeHigh;
  unsigned int UnpSize;
  unsigned int UnpSizeHigh;
  unsigned int HostOS;
  unsigned int FileCRC;
  unsigned int FileTime;  // DOS date (high word) and time (low word)
  unsigned int UnpVer;
  unsigned int Method;
  unsigned int FileAttr;
  char* CmtBuf;
  unsigned int CmtBufSize;
  unsigned int CmtSize;
  unsigned int CmtState;
  unsigned int Reserved[1024];
};

#if defined(__i386__)
static_assert(sizeof(OpenArchiveDataEx) == 164, "open-archive record");
static_assert(sizeof(HeaderDataEx) == 10300, "header record");
#endif

using OpenArchiveExFn = HANDLE(RAR_CALL*)(OpenArchiveDataEx* data);
using CloseArchiveFn = int(RAR_CALL*)(HANDLE archive);
using ProcessFileFn = int(RAR_CALL*)(HANDLE archive, int operation, char* destPath, char* destName);
using ReadHeaderExFn = int(RAR_CALL*)(HANDLE archive, HeaderDataEx* header);

}  // namespace unrar
