#include "preview/viewers/word_converter_host.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

constexpr size_t kText = 260;
constexpr SIZE_T kListBytes = 1024;
constexpr SIZE_T kTransferBytes = 1024;
constexpr DWORD kReadChunk = 512;

using PfnRtf = long(WINAPI*)(long, long);
using InitConverterFn = long(WINAPI*)(HANDLE, char*);
using UninitConverterFn = void(WINAPI*)();
using RegisterAppFn = HGLOBAL(WINAPI*)(unsigned long, void*);
using ForeignToRtfFn = short(WINAPI*)(HANDLE, void*, HANDLE, HANDLE, HANDLE, PfnRtf);
using RtfToForeignFn = short(WINAPI*)(HANDLE, void*, HANDLE, HANDLE, PfnRtf);
using IsFormatCorrectFn = short(WINAPI*)(HANDLE, HANDLE);
using FetchErrorFn = long(WINAPI*)(long, char*, long);
using GetNamesFn = void(WINAPI*)(HANDLE, HANDLE, HANDLE);

struct ConverterEntry {
  char file[kText] = {};
  char className[kText] = {};
  char description[kText] = {};
  char extensions[kText] = {};
  int direction = 0;  // 0 import, 1 export
  std::unique_ptr<ConverterEntry> next;
};

struct LoadedConverter {
  HMODULE module = nullptr;
  InitConverterFn init = nullptr;
  UninitConverterFn uninit = nullptr;
  RegisterAppFn registerApp = nullptr;
  ForeignToRtfFn foreignToRtf = nullptr;
  RtfToForeignFn rtfToForeign = nullptr;
  IsFormatCorrectFn isFormatCorrect = nullptr;
  FetchErrorFn fetchError = nullptr;
  GetNamesFn getReadNames = nullptr;
  GetNamesFn getWriteNames = nullptr;
  char file[kText] = {};
};

// The run's state; runs never overlap (user-interface thread, one at a time).
struct RunRecord {
  const char* tool = "wordcnv";
  char importClass[kText] = {};
  char exportClass[kText] = {};
  char inputPath[kText] = {};
  char outputPath[kText] = {};
  char folder[kText] = {};
  std::unique_ptr<ConverterEntry> converters;
  HANDLE output = INVALID_HANDLE_VALUE;
  HANDLE input = INVALID_HANDLE_VALUE;
  HGLOBAL importBuffer = nullptr;
  HGLOBAL exportBuffer = nullptr;
};

RunRecord g_run;
std::function<void(const std::string&)> g_sink;

void Copy(char (&to)[kText], const char* from) {
  std::snprintf(to, kText, "%s", from != nullptr ? from : "");
}

void Report(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (g_sink) {
    g_sink(line);
  } else {
    std::fputs(line, stderr);
    std::fflush(stderr);
  }
}

HGLOBAL MakeGlobalText(const char* text) {
  const size_t length = std::strlen(text) + 1;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length);
  if (block == nullptr) return nullptr;
  if (void* p = ::GlobalLock(block)) {
    std::memcpy(p, text, length);
    ::GlobalUnlock(block);
  }
  return block;
}

struct GlobalBlocks {
  std::initializer_list<HGLOBAL> blocks;
  ~GlobalBlocks() {
    for (HGLOBAL b : blocks)
      if (b != nullptr) ::GlobalFree(b);
  }
};

void ReportConverterError(long code, const LoadedConverter& converter) {
  char text[512] = {};
  if (converter.fetchError != nullptr) {
    const long length = converter.fetchError(code, text, static_cast<long>(sizeof text));
    text[sizeof text - 1] = '\0';
    if (length > 0) {
      Report("%s: converter error %d: %s\n", converter.file, static_cast<int>(code), text);
      return;
    }
  }
  const char* tool = g_run.tool;
  switch (code) {
    case -1: Report("%s: error: converter could not open '%s'\n", tool, g_run.inputPath); break;
    case -2: Report("%s: error: read error\n", tool); break;
    case -4: Report("%s: error: write error\n", tool); break;
    case -5: Report("%s: error: %s: invalid input file\n", tool, g_run.inputPath); break;
    case -8: Report("%s: error: converter ran out of memory\n", tool); break;
    case -13: Report("%s: error: converter cannot create '%s'\n", tool, g_run.outputPath); break;
    case -14: Report("%s: error: converter did not recognise input file '%s'\n", tool, g_run.inputPath); break;
    default: Report("%s: error: converter returned error %x\n", converter.file, static_cast<unsigned>(code)); break;
  }
}

// The wide form of a narrow text of the run (which is always terminated).
std::wstring Widen(const char* text) {
  wchar_t wide[2 * kText + 8] = {};
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(sizeof wide / sizeof wide[0]) - 1);
  return wide;
}

template <typename Fn>
void Resolve(HMODULE module, Fn& fn, const char* name) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

int LoadConverter(LoadedConverter& c) {
  c.module = ::LoadLibraryW((Widen(g_run.folder) + L"/" + Widen(c.file)).c_str());
  if (c.module == nullptr) return 1;
  Resolve(c.module, c.init, "InitConverter32");
  Resolve(c.module, c.isFormatCorrect, "IsFormatCorrect32");
  Resolve(c.module, c.foreignToRtf, "ForeignToRtf32");
  Resolve(c.module, c.rtfToForeign, "RtfToForeign32");
  Resolve(c.module, c.fetchError, "CchFetchLpszError");
  Resolve(c.module, c.uninit, "UninitConverter");
  Resolve(c.module, c.getReadNames, "GetReadNames");
  Resolve(c.module, c.getWriteNames, "GetWriteNames");
  Resolve(c.module, c.registerApp, "RegisterApp");
  if (c.init == nullptr) {
    Report("%s: error: InitConverter32 could not be resolved\n", c.file);
    ::FreeLibrary(c.module);
    c.module = nullptr;
    return 1;
  }
  char module[] = "WORDCNV";
  const long result = c.init(nullptr, module);
  if (result != 1) {
    ReportConverterError(result, c);
    ::FreeLibrary(c.module);
    c.module = nullptr;
    return 1;
  }
  return 0;
}

void UnloadConverter(LoadedConverter& c) {
  if (c.module == nullptr) return;
  if (c.uninit != nullptr) c.uninit();
  ::FreeLibrary(c.module);
  c.module = nullptr;
}

// A converter's double-NUL name list, copied whole into a buffer of kListBytes and terminated there
// whatever the converter left in the block.
void CopyNameList(HGLOBAL block, char* out) {
  std::memset(out, 0, kListBytes);
  const void* p = ::GlobalLock(block);
  if (p == nullptr) return;
  const SIZE_T size = ::GlobalSize(block);
  std::memcpy(out, p, size < kListBytes ? size : kListBytes);
  ::GlobalUnlock(block);
  out[kListBytes - 2] = '\0';
  out[kListBytes - 1] = '\0';
}

int GetConverterNames(const LoadedConverter& c, int direction, char* classes, char* descriptions,
                      char* extensions) {
  GetNamesFn get = direction == 0 ? c.getReadNames : c.getWriteNames;
  if (get == nullptr) return 1;
  HGLOBAL blocks[3];
  for (HGLOBAL& b : blocks) b = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kListBytes);
  GlobalBlocks free{{blocks[0], blocks[1], blocks[2]}};
  if (blocks[0] == nullptr || blocks[1] == nullptr || blocks[2] == nullptr) return 1;
  get(blocks[0], blocks[1], blocks[2]);
  CopyNameList(blocks[0], classes);
  CopyNameList(blocks[1], descriptions);
  CopyNameList(blocks[2], extensions);
  return 0;
}

// The text at *at of a double-NUL list of kListBytes; advances past it. Null at the list's end.
const char* NextName(const char* list, size_t& at) {
  if (at >= kListBytes || list[at] == '\0') return nullptr;
  const char* name = list + at;
  at += std::strlen(name) + 1;  // the list is terminated inside its buffer
  return name;
}

bool HasConverterExtension(const char* name) {
  const size_t length = std::strlen(name);
  if (length <= 5) return false;
  const char* tail = name + length - 4;
  return ::lstrcmpiA(tail, ".cnv") == 0 || ::lstrcmpiA(tail, ".wpc") == 0;
}

int AddConverterNames(const LoadedConverter& c, ConverterEntry*& last) {
  for (int direction = 0; direction <= 1; ++direction) {
    auto lists = std::make_unique<char[]>(3 * kListBytes);
    char* classes = lists.get();
    char* descriptions = classes + kListBytes;
    char* extensions = descriptions + kListBytes;
    if (GetConverterNames(c, direction, classes, descriptions, extensions) != 0) continue;
    size_t a = 0, b = 0, e = 0;
    for (;;) {
      const char* cls = NextName(classes, a);
      const char* desc = NextName(descriptions, b);
      const char* ext = NextName(extensions, e);
      if (cls == nullptr || desc == nullptr || ext == nullptr) break;
      auto entry = std::unique_ptr<ConverterEntry>(new (std::nothrow) ConverterEntry);
      if (entry == nullptr) {
        Report("%s: error: out of memory\n", g_run.tool);
        return 1;
      }
      Copy(entry->file, c.file);
      Copy(entry->className, cls);
      Copy(entry->description, desc);
      Copy(entry->extensions, ext);
      entry->direction = direction;
      std::unique_ptr<ConverterEntry>& link = last == nullptr ? g_run.converters : last->next;
      link = std::move(entry);
      last = link.get();
    }
  }
  return 0;
}

int FindConverters() {
  const DWORD length = ::GetEnvironmentVariableA("WORDCNV_DIR", g_run.folder, kText);
  if (length == 0 || length >= kText)
    Copy(g_run.folder, "C:\\Program Files\\Common Files\\Microsoft Shared\\Textconv");
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((Widen(g_run.folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    Report("%s: error: FindFirstFile failed with error %x\n", g_run.tool, static_cast<unsigned>(::GetLastError()));
    return 1;
  }
  ConverterEntry* last = nullptr;
  int result = 0;
  do {
    char name[kText] = {};
    ::WideCharToMultiByte(CP_ACP, 0, found.cFileName, -1, name, static_cast<int>(kText) - 1, nullptr, nullptr);
    if (!HasConverterExtension(name)) continue;
    LoadedConverter converter;
    Copy(converter.file, name);
    if (LoadConverter(converter) != 0) continue;
    result = AddConverterNames(converter, last);
    UnloadConverter(converter);
  } while (result == 0 && ::FindNextFileW(search, &found));
  const DWORD error = ::GetLastError();
  if (result == 0 && error != ERROR_NO_MORE_FILES)
    Report("%s: error: FindNextFile returned %x\n", g_run.tool, static_cast<unsigned>(error));
  ::FindClose(search);
  return result;
}

const ConverterEntry* FindEntry(int direction, const char* className) {
  for (const ConverterEntry* e = g_run.converters.get(); e != nullptr; e = e->next.get())
    if (e->direction == direction && ::lstrcmpiA(e->className, className) == 0) return e;
  return nullptr;
}

void RegisterWithConverter(const LoadedConverter& c) {
  if (c.registerApp == nullptr) return;
  if (HGLOBAL preferences = c.registerApp(8, nullptr)) ::GlobalFree(preferences);
}

// The converter of an entry, loaded and registered with for one conversion step, unloaded after it.
struct ConverterInUse {
  explicit ConverterInUse(const ConverterEntry& entry) {
    Copy(converter.file, entry.file);
    loaded = LoadConverter(converter) == 0;
    if (loaded) RegisterWithConverter(converter);
  }
  ~ConverterInUse() { UnloadConverter(converter); }
  ConverterInUse(const ConverterInUse&) = delete;
  ConverterInUse& operator=(const ConverterInUse&) = delete;

  LoadedConverter converter;
  bool loaded = false;
};

// Locks a transfer buffer for one callback and unlocks it on every way out.
class LockedBuffer {
 public:
  explicit LockedBuffer(HGLOBAL block)
      : m_block(block), m_data(static_cast<char*>(::GlobalLock(block))), m_size(::GlobalSize(block)) {}
  ~LockedBuffer() {
    if (m_data != nullptr) ::GlobalUnlock(m_block);
  }
  char* data() const { return m_data; }
  SIZE_T size() const { return m_data != nullptr ? m_size : 0; }

 private:
  HGLOBAL m_block;
  char* m_data;
  SIZE_T m_size;
};

long WINAPI WriteRtfCallback(long count, long /*percent*/) {
  if (count <= 0) return count == 0 ? 1 : -1;
  LockedBuffer buffer(g_run.importBuffer);
  const DWORD asked = static_cast<DWORD>(count);
  if (buffer.size() < asked) {  // the converter claims more than its buffer holds
    Report("%s: error: %d of %d bytes written\n", g_run.outputPath, 0, static_cast<int>(count));
    return -1;
  }
  DWORD written = 0;
  if (!::WriteFile(g_run.output, buffer.data(), asked, &written, nullptr)) {
    Report("%s: error: cannot write: %x\n", g_run.outputPath, static_cast<unsigned>(::GetLastError()));
    return -1;
  }
  if (written < asked) {
    Report("%s: error: %d of %d bytes written\n", g_run.outputPath, static_cast<int>(written),
           static_cast<int>(asked));
    return -1;
  }
  return 1;
}

long WINAPI ReadRtfCallback(long, long) {
  LockedBuffer buffer(g_run.exportBuffer);
  const DWORD chunk = buffer.size() < kReadChunk ? static_cast<DWORD>(buffer.size()) : kReadChunk;
  DWORD read = 0;
  if (chunk == 0 || !::ReadFile(g_run.input, buffer.data(), chunk, &read, nullptr)) {
    Report("%s: error: cannot read file: %x\n", g_run.inputPath, static_cast<unsigned>(::GetLastError()));
    return -1;
  }
  return static_cast<long>(read);
}

int ImportToRtf(const char* path, const char* className) {
  const ConverterEntry* entry = FindEntry(0, className);
  if (entry == nullptr) {
    Report("%s: error: Import class %s not found\n", g_run.tool, className);
    return 1;
  }
  ConverterInUse use(*entry);
  if (!use.loaded) return 1;
  const LoadedConverter& c = use.converter;
  if (c.foreignToRtf == nullptr) {
    Report("%s: error: ForeignToRtf could not be resolved\n", c.file);
    return 1;
  }
  HGLOBAL file = MakeGlobalText(path), cls = MakeGlobalText(className), subset = MakeGlobalText("");
  g_run.importBuffer = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kTransferBytes);
  short code = -8;
  {
    GlobalBlocks free{{file, cls, subset, g_run.importBuffer}};
    if (file != nullptr && cls != nullptr && subset != nullptr && g_run.importBuffer != nullptr)
      code = c.foreignToRtf(file, nullptr, g_run.importBuffer, cls, subset, WriteRtfCallback);
  }
  g_run.importBuffer = nullptr;
  if (code != 0) {
    ReportConverterError(code, c);
    return 1;
  }
  return 0;
}

int ExportFromRtf(const char* path, const char* className) {
  const ConverterEntry* entry = FindEntry(1, className);
  if (entry == nullptr) {
    Report("Export class %s not found\n", className);
    return 1;
  }
  ConverterInUse use(*entry);
  if (!use.loaded) return 1;
  const LoadedConverter& c = use.converter;
  if (c.rtfToForeign == nullptr) {
    Report("%s: RtfToForeign could not be resolved\n", c.file);
    return 1;
  }
  HGLOBAL file = MakeGlobalText(path), cls = MakeGlobalText(className);
  g_run.exportBuffer = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kTransferBytes);
  short code = -8;
  {
    GlobalBlocks free{{file, cls, g_run.exportBuffer}};
    if (file != nullptr && cls != nullptr && g_run.exportBuffer != nullptr)
      code = c.rtfToForeign(file, nullptr, g_run.exportBuffer, cls, ReadRtfCallback);
  }
  g_run.exportBuffer = nullptr;
  if (code != 0) {
    ReportConverterError(code, c);
    return 1;
  }
  return 0;
}

// The intermediate RTF, deleted on every way out of the run (unless it became the output).
class TemporaryFile {
 public:
  explicit TemporaryFile(const wchar_t* path) : m_path(path) {}
  ~TemporaryFile() { ::DeleteFileW(m_path.c_str()); }
  const wchar_t* path() const { return m_path.c_str(); }

 private:
  std::wstring m_path;
};

void CloseHandleOf(HANDLE& handle) {
  if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

int ConvertThroughTemporaryFile() {
  wchar_t folder[520];
  if (::GetTempPathW(520, folder) == 0) {
    Report("%s: error: GetTempPath returned %x\n", g_run.tool, static_cast<unsigned>(::GetLastError()));
    return 1;
  }
  // A unique number of 0: the system picks a name no file has and creates it.
  wchar_t name[MAX_PATH];
  if (::GetTempFileNameW(folder, L"cnv", 0, name) == 0) {
    Report("%s: error: GetTempFileName returned %x\n", g_run.tool, static_cast<unsigned>(::GetLastError()));
    return 1;
  }
  TemporaryFile temporary(name);
  char narrowName[kText] = {};
  ::WideCharToMultiByte(CP_ACP, 0, name, -1, narrowName, static_cast<int>(kText) - 1, nullptr, nullptr);
  g_run.output = ::CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_run.output == INVALID_HANDLE_VALUE) {
    Report("%s: error: cannot open temporary file %x\n", narrowName, static_cast<unsigned>(::GetLastError()));
    return 1;
  }
  const int imported = ImportToRtf(g_run.inputPath, g_run.importClass);
  CloseHandleOf(g_run.output);
  if (imported != 0) return 0;
  if (::lstrcmpiA(g_run.exportClass, WordConverterHost::kKeepRtf) == 0) {
    // The caller wants RTF: the intermediate file is the output.
    ::MoveFileExW(name, Widen(g_run.outputPath).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    return 0;
  }
  g_run.input = ::CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (g_run.input == INVALID_HANDLE_VALUE) {
    Report("%s: error: cannot open temporary file %x\n", narrowName, static_cast<unsigned>(::GetLastError()));
    return 1;
  }
  ExportFromRtf(g_run.outputPath, g_run.exportClass);
  CloseHandleOf(g_run.input);
  return 0;
}

}  // namespace

void WordConverterHost::SetErrorSink(std::function<void(const std::string&)> sink) { g_sink = std::move(sink); }

int WordConverterHost::Run(const char* importClass, const char* exportClass, const char* inputPath,
                           const char* outputPath) {
  g_run.converters.reset();
  g_run = RunRecord();
  Copy(g_run.exportClass, "RTF");
  // The argument vector of the tool: wordcnv -x <export class> -i <import class> <input> <output>.
  auto text = [](const char* t) { return t != nullptr ? t : ""; };
  const char* argv[] = {"wordcnv", "-x", text(exportClass), "-i", text(importClass), text(inputPath), text(outputPath)};
  const char* positional[2] = {nullptr, nullptr};
  int positionals = 0;
  for (size_t i = 1; i < sizeof argv / sizeof argv[0]; ++i) {
    if (std::strcmp(argv[i], "-x") == 0 && i + 1 < sizeof argv / sizeof argv[0]) {
      Copy(g_run.exportClass, argv[++i]);
    } else if (std::strcmp(argv[i], "-i") == 0 && i + 1 < sizeof argv / sizeof argv[0]) {
      Copy(g_run.importClass, argv[++i]);
    } else if (positionals < 2) {
      positional[positionals++] = argv[i];
    }
  }
  Copy(g_run.inputPath, positional[0]);
  Copy(g_run.outputPath, positional[1]);

  int result = FindConverters();
  m_importClassFound = FindEntry(0, g_run.importClass) != nullptr;
  if (result == 0) result = ConvertThroughTemporaryFile();
  g_run.converters.reset();
  return result;
}
