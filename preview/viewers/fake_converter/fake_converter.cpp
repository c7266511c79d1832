// A Word text converter for the tests alone. Import classes "MSWord8" (a file of RTF is handed on as it
// is; any other text becomes one RTF paragraph; "ERR <n>" makes the conversion fail with code n;
// "OVERCLAIM" claims more bytes than the transfer buffer holds) and "FakeErr"; export class
// "MSWord6RTFExp" (copies the RTF it reads to the output, and appends each read's size to the file
// named by FAKECNV_LOG). Built in variants: without InitConverter32 (FAKECNV_NO_INIT), with a failing
// InitConverter32 (FAKECNV_INIT_RESULT), with error texts (FAKECNV_ERROR_TEXT) and with name lists that
// run past their block's end unterminated (FAKECNV_UNTERMINATED).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef FAKECNV_INIT_RESULT
#define FAKECNV_INIT_RESULT 1
#endif

namespace {

using PfnRtf = long(WINAPI*)(long, long);

std::string Text(HANDLE block) {
  const char* p = static_cast<const char*>(::GlobalLock(block));
  std::string text = p != nullptr ? std::string(p, strnlen(p, ::GlobalSize(block))) : std::string();
  ::GlobalUnlock(block);
  return text;
}

void Fill(HANDLE block, const char* list, size_t size) {
  char* p = static_cast<char*>(::GlobalLock(block));
  const size_t room = ::GlobalSize(block);
#ifdef FAKECNV_UNTERMINATED
  (void)list;
  (void)size;
  std::memset(p, 'A', room);
#else
  std::memcpy(p, list, size < room ? size : room);
#endif
  ::GlobalUnlock(block);
}

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    std::fclose(f);
  }
  return bytes;
}

}  // namespace

extern "C" {

#ifndef FAKECNV_NO_INIT
__declspec(dllexport) long WINAPI InitConverter32(HANDLE, char*) { return FAKECNV_INIT_RESULT; }
#endif

__declspec(dllexport) void WINAPI UninitConverter() {}

__declspec(dllexport) HGLOBAL WINAPI RegisterApp(unsigned long, void*) {
  return ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
}

__declspec(dllexport) void WINAPI GetReadNames(HANDLE classes, HANDLE descriptions, HANDLE extensions) {
  Fill(classes, "MSWord8\0FakeErr\0", 17);
  Fill(descriptions, "Word 97-2003\0Failing\0", 22);
  Fill(extensions, "*.doc\0*.err\0", 13);
}

__declspec(dllexport) void WINAPI GetWriteNames(HANDLE classes, HANDLE descriptions, HANDLE extensions) {
  Fill(classes, "MSWord6RTFExp\0", 15);
  Fill(descriptions, "Word 6.0\0", 10);
  Fill(extensions, "*.doc\0", 7);
}

__declspec(dllexport) short WINAPI ForeignToRtf32(HANDLE file, void*, HANDLE buffer, HANDLE cls, HANDLE,
                                                  PfnRtf out) {
  if (Text(cls) == "FakeErr") return -5;
  const std::string path = Text(file);
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  std::string bytes = ReadWhole(path);
  if (bytes.rfind("ERR ", 0) == 0) return static_cast<short>(std::atoi(bytes.c_str() + 4));
  if (bytes.rfind("OVERCLAIM", 0) == 0) return out(5000, 0) < 0 ? -4 : 0;
  if (bytes.rfind("{\\rtf", 0) != 0) bytes = "{\\rtf1\\ansi " + bytes + "\\par}";
  for (size_t at = 0; at < bytes.size();) {
    const size_t n = bytes.size() - at < 1024 ? bytes.size() - at : 1024;
    char* p = static_cast<char*>(::GlobalLock(buffer));
    std::memcpy(p, bytes.data() + at, n);
    ::GlobalUnlock(buffer);
    at += n;
    if (out(static_cast<long>(n), static_cast<long>(at * 100 / bytes.size())) < 0) return -4;
  }
  return 0;
}

__declspec(dllexport) short WINAPI RtfToForeign32(HANDLE file, void*, HANDLE buffer, HANDLE, PfnRtf in) {
  FILE* output = std::fopen(Text(file).c_str(), "wb");
  if (output == nullptr) return -13;
  char logPath[MAX_PATH] = {};
  ::GetEnvironmentVariableA("FAKECNV_LOG", logPath, MAX_PATH);
  FILE* log = logPath[0] != '\0' ? std::fopen(logPath, "ab") : nullptr;
  short result = 0;
  for (;;) {
    const long n = in(0, 0);
    if (log != nullptr) std::fprintf(log, "%ld\n", n);
    if (n < 0) {
      result = -2;
      break;
    }
    if (n == 0) break;
    const char* p = static_cast<const char*>(::GlobalLock(buffer));
    std::fwrite(p, 1, static_cast<size_t>(n), output);
    ::GlobalUnlock(buffer);
  }
  if (log != nullptr) std::fclose(log);
  std::fclose(output);
  return result;
}

#ifdef FAKECNV_ERROR_TEXT
__declspec(dllexport) long WINAPI CchFetchLpszError(long code, char* text, long size) {
  return std::snprintf(text, static_cast<size_t>(size), "fake failure %ld", code);
}
#endif

}  // extern "C"
