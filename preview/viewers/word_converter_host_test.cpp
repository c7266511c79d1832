// The converter host against the test converters: conversions both ways, the exact error lines and
// results, the read sizes of the export step, and no temporary file left behind.
#include "preview/viewers/word_converter_host.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Temp() {
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, folder);
  return folder;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CountTemporaries() {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((Temp() + "cnv*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return count;
}

// A converter folder holding the named variants of the test converter.
std::string MakeFolder(const std::string& name, const std::vector<std::pair<std::string, const char*>>& files) {
  const std::string folder = Temp() + name;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  for (const auto& [file, dll] : files) ::CopyFileA(dll, (folder + "\\" + file).c_str(), FALSE);
  return folder;
}

class WordConverterHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WordConverterHost::SetErrorSink([this](const std::string& line) { lines.push_back(line); });
    input = Temp() + "host_input.doc";
    output = Temp() + "host_output.rtf";
    ::DeleteFileA(output.c_str());
    temporaries = CountTemporaries();
  }
  void TearDown() override {
    WordConverterHost::SetErrorSink({});
    ::SetEnvironmentVariableA("WORDCNV_DIR", nullptr);
    EXPECT_EQ(CountTemporaries(), temporaries);  // the intermediate RTF never stays
  }
  int Run(const std::string& folder, const std::string& content, const char* importClass = "MSWord8",
          const char* exportClass = "RTF") {
    ::SetEnvironmentVariableA("WORDCNV_DIR", folder.c_str());
    WriteFile(input, content);
    lines.clear();
    WordConverterHost host;
    return host.Run(importClass, exportClass, input.c_str(), output.c_str());
  }

  std::vector<std::string> lines;
  std::string input, output;
  int temporaries = 0;
};

const std::string& GoodFolder() {
  static const std::string folder = MakeFolder("cnv_good", {{"fake.cnv", DORVANE_FAKE_CONVERTER}});
  return folder;
}

TEST_F(WordConverterHostTest, ImportsToRtfAndKeepsItWhenRtfIsWanted) {
  EXPECT_EQ(Run(GoodFolder(), "Hello"), 0);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(ReadFile(output), "{\\rtf1\\ansi Hello\\par}");
}

TEST_F(WordConverterHostTest, ExportReadsTheRtfIn512ByteSteps) {
  std::string rtf = "{\\rtf1 ";
  rtf += std::string(1300 - rtf.size() - 1, 'x') + "}";
  const std::string log = Temp() + "fakecnv.log";
  ::DeleteFileA(log.c_str());
  ::SetEnvironmentVariableA("FAKECNV_LOG", log.c_str());
  EXPECT_EQ(Run(GoodFolder(), rtf, "MSWord8", "MSWord6RTFExp"), 0);
  ::SetEnvironmentVariableA("FAKECNV_LOG", nullptr);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(ReadFile(log), "512\n512\n276\n0\n");
  EXPECT_EQ(ReadFile(output), rtf);
}

TEST_F(WordConverterHostTest, ConverterErrorCodesGiveTheirLines) {
  const std::pair<const char*, std::string> cases[] = {
      {"ERR -1", "wordcnv: error: converter could not open '" + input + "'\n"},
      {"ERR -2", "wordcnv: error: read error\n"},
      {"ERR -4", "wordcnv: error: write error\n"},
      {"ERR -5", "wordcnv: error: " + input + ": invalid input file\n"},
      {"ERR -8", "wordcnv: error: converter ran out of memory\n"},
      {"ERR -13", "wordcnv: error: converter cannot create '" + output + "'\n"},
      {"ERR -14", "wordcnv: error: converter did not recognise input file '" + input + "'\n"},
      {"ERR 7", "fake.cnv: error: converter returned error 7\n"},
      {"ERR -20", "fake.cnv: error: converter returned error ffffffec\n"},
  };
  for (const auto& [content, line] : cases) {
    EXPECT_EQ(Run(GoodFolder(), content), 0) << content;  // a failed conversion still ends the run
    EXPECT_EQ(lines, std::vector<std::string>{line}) << content;
    EXPECT_FALSE(Exists(output)) << content;
  }
  // A converter that claims more bytes than its buffer holds is stopped.
  EXPECT_EQ(Run(GoodFolder(), "OVERCLAIM"), 0);
  EXPECT_EQ(lines, (std::vector<std::string>{output + ": error: 0 of 5000 bytes written\n",
                                             "wordcnv: error: write error\n"}));
}

TEST_F(WordConverterHostTest, ConverterErrorTexts) {
  const std::string folder = MakeFolder("cnv_text", {{"errtext.cnv", DORVANE_FAKE_CONVERTER_TEXT}});
  EXPECT_EQ(Run(folder, "ERR -5"), 0);
  EXPECT_EQ(lines, std::vector<std::string>{"errtext.cnv: converter error -5: fake failure -5\n"});
  EXPECT_EQ(Run(folder, "x", "FakeErr"), 0);
  EXPECT_EQ(lines, std::vector<std::string>{"errtext.cnv: converter error -5: fake failure -5\n"});
}

TEST_F(WordConverterHostTest, ClassesNotFound) {
  const std::string empty = MakeFolder("cnv_empty", {});
  EXPECT_EQ(Run(empty, "x"), 0);
  EXPECT_EQ(lines, std::vector<std::string>{"wordcnv: error: Import class MSWord8 not found\n"});
  EXPECT_FALSE(Exists(output));
  EXPECT_EQ(Run(GoodFolder(), "x", "MSWord8", "Nope"), 0);
  EXPECT_EQ(lines, std::vector<std::string>{"Export class Nope not found\n"});
  EXPECT_EQ(Run(GoodFolder(), "x", "msword8", "msword6rtfexp"), 0);  // classes match without case
  EXPECT_TRUE(lines.empty());
}

TEST_F(WordConverterHostTest, BrokenConvertersAreSkipped) {
  const std::string folder = MakeFolder("cnv_broken", {{"noinit.cnv", DORVANE_FAKE_CONVERTER_NOINIT},
                                                       {"badinit.WPC", DORVANE_FAKE_CONVERTER_BADINIT},
                                                       {"names.cnv", DORVANE_FAKE_CONVERTER_UNTERMINATED},
                                                       {"a.cnv.txt", DORVANE_FAKE_CONVERTER},
                                                       {".cnv", DORVANE_FAKE_CONVERTER}});
  EXPECT_EQ(Run(folder, "x"), 0);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"badinit.WPC: error: converter returned error 5\n",
                                             "noinit.cnv: error: InitConverter32 could not be resolved\n",
                                             "wordcnv: error: Import class MSWord8 not found\n"}));
}

TEST_F(WordConverterHostTest, MissingFolders) {
  EXPECT_EQ(Run(Temp() + "no_such_folder", "x"), 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("wordcnv: error: FindFirstFile failed with error ", 0), 0u) << lines[0];
  // Without WORDCNV_DIR the shared Textconv folder is searched (it holds no converter here).
  ::SetEnvironmentVariableA("WORDCNV_DIR", nullptr);
  lines.clear();
  const int result = WordConverterHost().Run("MSWord8", "RTF", input.c_str(), output.c_str());
  if (Exists("C:\\Program Files\\Common Files\\Microsoft Shared\\Textconv")) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lines, std::vector<std::string>{"wordcnv: error: Import class MSWord8 not found\n"});
  } else {
    EXPECT_EQ(result, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("wordcnv: error: FindFirstFile failed with error ", 0), 0u) << lines[0];
  }
}

TEST(NarrowPath, BoundedAndExact) {
  char buffer[9];
  EXPECT_TRUE(NarrowPath(CString(_T("C:\\a.rtf")), buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\a.rtf");
  EXPECT_FALSE(NarrowPath(CString(_T("C:\\ab.rtf")), buffer, sizeof buffer));  // no room for the NUL
  EXPECT_STREQ(buffer, "");
  char wide[260];
  EXPECT_FALSE(NarrowPath(CString(L"C:\\\u4E2D.doc"), wide, sizeof wide));  // not in the code page
  EXPECT_FALSE(NarrowPath(CString(std::wstring(300, L'a').c_str()), wide, sizeof wide));
}

// The system's conversion as Windows has it: code pages such as UTF-8 refuse the best-fit flag and the
// report of approximated characters (Wine's lets them pass).
int WINAPI StrictWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int size,
                                     LPCCH defaultChar, LPBOOL usedDefault) {
  if (codePage == CP_UTF8 && ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0 || defaultChar || usedDefault)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WideCharToMultiByte(codePage, flags, text, length, out, size, defaultChar, usedDefault);
}

bool Utf8Path(const wchar_t* path, char* buffer, size_t size) {
  return NarrowPathInCodePage(CString(path), CP_UTF8, buffer, size, StrictWideCharToMultiByte);
}

TEST(NarrowPath, AUtf8AnsiCodePageSpellsEveryPath) {
  // A system whose ANSI code page is UTF-8 takes the path as it is; only a text that is no UTF-16 (a lone
  // surrogate) has no narrow form, and its short form stands in as for any path the code page cannot spell.
  char buffer[260];
  ASSERT_TRUE(Utf8Path(L"C:\\\u4E2D\u00E9.doc", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\\xE4\xB8\xAD\xC3\xA9.doc");
  ASSERT_TRUE(Utf8Path(L"C:\\a.rtf", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\a.rtf");
  EXPECT_FALSE(Utf8Path(L"C:\\\xD800x.doc", buffer, sizeof buffer));
  EXPECT_FALSE(Utf8Path(L"C:\\\u4E2D.doc", buffer, 8));  // no room
  // A single-byte code page still refuses what it can only approximate.
  EXPECT_FALSE(NarrowPathInCodePage(CString(L"C:\\\u4E2D.doc"), 1252, buffer, sizeof buffer));
  ASSERT_TRUE(NarrowPathInCodePage(CString(L"C:\\\u00E9.doc"), 1252, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\\xE9.doc");
}

TEST(NarrowPath, AFolderTheCodePageCannotSpellIsNamedByItsShortForm) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"\u4E2D\u6587 preview folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring document = folder + L"\\letter.doc", output = folder + L"\\New.rtf";
  HANDLE file = CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  // The document is there: its narrow name opens it. The output is not yet: its narrow name makes it in
  // that folder.
  char narrow[260];
  ASSERT_TRUE(NarrowPath(CString(document.c_str()), narrow, sizeof narrow));
  EXPECT_NE(GetFileAttributesA(narrow), INVALID_FILE_ATTRIBUTES) << narrow;
  ASSERT_TRUE(NarrowPath(CString(output.c_str()), narrow, sizeof narrow));
  file = CreateFileA(narrow, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << narrow;
  CloseHandle(file);
  EXPECT_NE(GetFileAttributesW(output.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(output.c_str());
  DeleteFileW(document.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
