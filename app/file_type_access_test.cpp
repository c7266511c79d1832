// The snapshot file type's association, written and read back from the prefix's registry.
#include "app/file_type_access.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t kClasses[] = L"Software\\Classes\\";

// The default value of HKEY_CURRENT_USER\Software\Classes\subKey, or "(missing)".
std::wstring DefaultOf(const std::wstring& subKey) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  const std::wstring key = kClasses + subKey;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS) {
    return L"(missing)";
  }
  return value;
}

void Forget(const std::wstring& subKey) { ::RegDeleteTreeW(HKEY_CURRENT_USER, (kClasses + subKey).c_str()); }

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

class FileTypeAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const wchar_t* key : {L".vsnp", L"Vantor.Document", L".vsnptest", L"Vantor.TestDocument"}) Forget(key);
  }
};

TEST_F(FileTypeAccessTest, TheSnapshotTypeIsRegisteredWithItsDocumentTypeCommandAndIcon) {
  // As the program does at start-up.
  const std::wstring command = L"\"" + ModulePath() + L"\" \"%0\"";
  const std::wstring icon = ModulePath() + L",0";
  CGCFileTypeAccess access;
  access.SetExtension(L"vsnp");
  access.SetShellOpenCommand(command.c_str());
  access.SetDocumentShellOpenCommand(command.c_str());
  access.SetDocumentClassName(L"Vantor.Document");
  access.SetDocumentDefaultIcon(icon.c_str());
  EXPECT_EQ(access.WriteAll(), 1);

  EXPECT_EQ(DefaultOf(L".vsnp"), L"Vantor.Document");
  EXPECT_EQ(DefaultOf(L".vsnp\\shell\\open\\command"), command);
  EXPECT_EQ(DefaultOf(L"Vantor.Document"), L"");
  EXPECT_EQ(DefaultOf(L"Vantor.Document\\DefaultIcon"), icon);
  EXPECT_EQ(DefaultOf(L"Vantor.Document\\shell\\open\\command"), command);

}

TEST_F(FileTypeAccessTest, WithoutAnExtensionOnlyTheDocumentTypeIsWritten) {
  CGCFileTypeAccess access;
  access.SetShellOpenCommand(L"x.exe \"%0\"");
  access.SetDocumentClassName(L"Vantor.TestDocument");
  EXPECT_EQ(access.WriteAll(), 1);
  EXPECT_EQ(DefaultOf(L"Vantor.TestDocument\\shell\\open\\command"), L"x.exe \"%0\"");
  EXPECT_EQ(DefaultOf(L"Vantor.TestDocument\\DefaultIcon"), L"(missing)");
  EXPECT_EQ(DefaultOf(L"."), L"(missing)");

  // Cleared, nothing is written at all.
  access.ClearAllData();
  access.SetExtension(L"vsnptest");
  EXPECT_EQ(access.WriteAll(), 1);
  EXPECT_EQ(DefaultOf(L".vsnptest"), L"");
  EXPECT_EQ(DefaultOf(L".vsnptest\\shell\\open\\command"), L"(missing)");
}

TEST(SetRegistryString, MissingArgumentsFailWithInvalidArgument) {
  const struct {
    HKEY root;
    const wchar_t *subKey, *name, *data;
  } cases[] = {{nullptr, L"Software\\Classes\\.vsnptest", L"", L"x"},
               {HKEY_CURRENT_USER, nullptr, L"", L"x"},
               {HKEY_CURRENT_USER, L"", L"", L"x"},
               {HKEY_CURRENT_USER, L"Software\\Classes\\.vsnptest", nullptr, L"x"},
               {HKEY_CURRENT_USER, L"Software\\Classes\\.vsnptest", L"", nullptr}};
  for (const auto& c : cases) {
    ::SetLastError(0);
    EXPECT_EQ(SetRegistryString(c.root, c.subKey, c.name, c.data), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(E_INVALIDARG));
  }
  EXPECT_EQ(DefaultOf(L".vsnptest"), L"(missing)");
}

}  // namespace
