// The basic types and the text type of the class library, the same names in both builds.
//
// Text is UTF-16: TCHAR is wchar_t in the Windows build (so strings pass straight to the W functions of
// Win32) and char16_t in the native build (where wchar_t has 4 bytes). _T("...") makes a literal of
// TCHAR in both builds. In the Windows build the integer typedefs below are exactly those of the Windows
// headers, so a file may include both; natively they have the same sizes (DWORD and LONG are 32 bits).
#pragma once

#include <cstdint>

#if defined(_WIN32) && !(defined(UNICODE) && defined(_UNICODE))
#error "the Windows build is a Unicode build: define UNICODE and _UNICODE (dorvane_flags does)"
#endif

#ifdef _WIN32
#include <tchar.h>  // _T(x) is L##x
typedef wchar_t TCHAR;
typedef unsigned long DWORD;
typedef long LONG;
static_assert(sizeof(wchar_t) == 2, "TCHAR must be a UTF-16 code unit");
#else
typedef char16_t TCHAR;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
#define _T(x) u##x
#endif

typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef int BOOL;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef TCHAR* LPTSTR;
typedef const TCHAR* LPCTSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(WORD) == 2, "Windows integer sizes");

// A place in a list or a map, handed out and taken back by the collection that issued it.
struct PositionTag {};
typedef PositionTag* POSITION;
// Returned by a map's GetStartPosition: "before the first entry".
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
