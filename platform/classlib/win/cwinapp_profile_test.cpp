// The application's profile in the Wine prefix's registry: values written and read back, where they
// are kept, deletion, and what comes back from values another program wrote or that are missing.
#include <gtest/gtest.h>

#include "platform/classlib/win/win_test_support.h"

namespace {

const wchar_t kKey[] = L"Dorvane Class Library Test";
const wchar_t kAppKey[] = L"Software\\Dorvane Class Library Test\\ClassLibTest";

class Profile : public testing::Test {
 protected:
  void SetUp() override {
    Clean();
    app.SetRegistryKey(kKey);
  }
  void TearDown() override {
    Clean();
    app.m_pszRegistryKey = nullptr;
  }
  static void Clean() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Class Library Test"); }

  // A value as the registry holds it.
  static bool Raw(LPCWSTR section, LPCWSTR entry, DWORD* type, std::vector<BYTE>* bytes) {
    std::wstring path = std::wstring(kAppKey) + L"\\" + section;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY | RRF_NOEXPAND, type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return false;
    }
    bytes->resize(size);
    return ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY | RRF_NOEXPAND, type, bytes->data(),
                          &size) == ERROR_SUCCESS;
  }
  static void WriteRaw(LPCWSTR section, LPCWSTR entry, DWORD type, const void* data, DWORD size) {
    std::wstring path = std::wstring(kAppKey) + L"\\" + section;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), entry, type, data, size);
  }

  CWinApp& app = cltest::App();
};

TEST_F(Profile, ValuesAreWrittenUnderTheApplicationsKeyAndReadBack) {
  EXPECT_TRUE(app.WriteProfileInt(L"Settings", L"Count", -5));
  EXPECT_TRUE(app.WriteProfileString(L"Most Recent Check Book File", L"File", L"C:\\disk.vsnp"));
  BYTE placement[6] = {1, 2, 3, 0, 255, 7};
  EXPECT_TRUE(app.WriteProfileBinary(L"CommandBars", L"Accelerators", placement, sizeof placement));

  EXPECT_EQ(static_cast<int>(app.GetProfileInt(L"Settings", L"Count", 0)), -5);
  EXPECT_EQ(app.GetProfileString(L"Most Recent Check Book File", L"File"), L"C:\\disk.vsnp");
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary(L"CommandBars", L"Accelerators", &data, &size));
  EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(placement, placement + 6));
  delete[] data;

  DWORD type = 0;
  std::vector<BYTE> bytes;
  ASSERT_TRUE(Raw(L"Settings", L"Count", &type, &bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  ASSERT_TRUE(Raw(L"Most Recent Check Book File", L"File", &type, &bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes.size(), sizeof(L"C:\\disk.vsnp"));  // with its terminator
}

TEST_F(Profile, MissingValuesGiveTheDefaultWithoutCreatingAnything) {
  EXPECT_EQ(app.GetProfileInt(L"Nowhere", L"Count", 12), 12u);
  EXPECT_EQ(app.GetProfileString(L"Nowhere", L"Text", L"fallback"), L"fallback");
  EXPECT_EQ(app.GetProfileString(L"Nowhere", L"Text"), L"");
  BYTE* data = reinterpret_cast<BYTE*>(1);
  UINT size = 9;
  EXPECT_FALSE(app.GetProfileBinary(L"Nowhere", L"Blob", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
  HKEY key = nullptr;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kAppKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Profile, ValuesOfAnotherTypeOrShapeAreNotTrusted) {
  app.WriteProfileInt(L"S", L"placeholder", 0);
  WriteRaw(L"S", L"TextForInt", REG_SZ, L"12", 6);
  const BYTE shortDword[2] = {1, 2};
  WriteRaw(L"S", L"ShortInt", REG_BINARY, shortDword, 2);
  const wchar_t unterminated[3] = {L'a', L'b', L'c'};
  WriteRaw(L"S", L"NoTerminator", REG_SZ, unterminated, 6);
  const BYTE odd[5] = {'x', 0, 'y', 0, 'z'};
  WriteRaw(L"S", L"OddLength", REG_SZ, odd, 5);
  WriteRaw(L"S", L"EmptyBlob", REG_BINARY, nullptr, 0);

  EXPECT_EQ(app.GetProfileInt(L"S", L"TextForInt", 3), 3u);
  EXPECT_EQ(app.GetProfileInt(L"S", L"ShortInt", 4), 4u);
  EXPECT_EQ(app.GetProfileString(L"S", L"NoTerminator"), L"abc");
  EXPECT_EQ(app.GetProfileString(L"S", L"OddLength"), L"xy");
  EXPECT_EQ(app.GetProfileString(L"S", L"placeholder", L"not text"), L"not text");
  BYTE* data = nullptr;
  UINT size = 0;
  // An empty binary value is there, with no bytes; one of another type is not.
  ASSERT_TRUE(app.GetProfileBinary(L"S", L"EmptyBlob", &data, &size));
  EXPECT_EQ(size, 0u);
  EXPECT_NE(data, nullptr);
  delete[] data;
  EXPECT_FALSE(app.GetProfileBinary(L"S", L"TextForInt", &data, &size));
  EXPECT_EQ(data, nullptr);
}

TEST_F(Profile, ANullValueDeletesTheEntryAndANullEntryTheSection) {
  app.WriteProfileString(L"Gone", L"A", L"1");
  app.WriteProfileString(L"Gone", L"B", L"2");
  EXPECT_TRUE(app.WriteProfileString(L"Gone", L"A", nullptr));
  EXPECT_EQ(app.GetProfileString(L"Gone", L"A", L"none"), L"none");
  EXPECT_EQ(app.GetProfileString(L"Gone", L"B"), L"2");
  EXPECT_TRUE(app.WriteProfileString(L"Gone", nullptr, nullptr));
  EXPECT_EQ(app.GetProfileString(L"Gone", L"B", L"none"), L"none");
}

TEST_F(Profile, WithoutARegistryKeyNothingIsWrittenAndDefaultsComeBack) {
  app.m_pszRegistryKey = nullptr;
  EXPECT_FALSE(app.WriteProfileInt(L"Settings", L"Count", 1));
  EXPECT_FALSE(app.WriteProfileString(L"Settings", L"Text", L"x"));
  EXPECT_EQ(app.GetProfileInt(L"Settings", L"Count", 8), 8u);
  EXPECT_EQ(app.GetAppRegistryKey(), nullptr);
}

TEST_F(Profile, TheRecentFilesAreLoadedKeptNewestFirstAndSavedAtExit) {
  app.WriteProfileString(L"Recent File List", L"File1", L"C:\\one.vsnp");
  app.WriteProfileString(L"Recent File List", L"File2", L"C:\\two.vsnp");
  app.LoadStdProfileSettings(3);
  ASSERT_EQ(app.GetRecentFiles().GetSize(), 2);
  app.AddToRecentFileList(L"C:\\three.vsnp");
  app.AddToRecentFileList(L"c:\\TWO.vsnp");  // the same file, in another case: moves up
  app.AddToRecentFileList(L"C:\\four.vsnp");  // the oldest drops out
  app.SaveStdProfileSettings();
  EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File1"), L"C:\\four.vsnp");
  EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File2"), L"c:\\TWO.vsnp");
  EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File3"), L"C:\\three.vsnp");
  app.LoadStdProfileSettings(0);  // the list is forgotten: ExitInstance of other tests writes nothing
}

}  // namespace
