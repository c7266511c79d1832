// Paths longer than the Win32 limit of MAX_PATH characters: files and folders deep below the temporary
// folder are made, written, read, stamped and removed through the OS layer like any other; on Windows
// the layer hands such paths to the system in their long form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/os.h"
#include "platform/os/os_internal.h"

namespace {

TEST(OsLongPath, DeepFilesAndFoldersWorkLikeShortOnes) {
  const std::u16string top = os::TempFolderPath() + u"dorvane_long_path_test";
  std::vector<std::u16string> folders{top};
  for (char16_t c : std::u16string(u"abc")) folders.push_back(folders.back() + u"\\" + std::u16string(110, c));
  for (const std::u16string& folder : folders) {
    if (!os::IsFolder(folder)) {
      ASSERT_TRUE(os::CreateFolder(folder)) << os::ToUtf8(folder);
    }
  }
  const std::u16string file = folders.back() + u"\\" + std::u16string(40, u'f') + u".bin";
  ASSERT_GT(file.size(), 330u);
  const std::string bytes = "long path contents";
  {
    os::File out;
    ASSERT_TRUE(out.OpenWrite(file));
    ASSERT_TRUE(out.Write(bytes.data(), static_cast<uint32_t>(bytes.size())));
    ASSERT_TRUE(out.Close());
  }
  EXPECT_TRUE(os::FileExists(file));
  EXPECT_FALSE(os::IsFolder(file));
  const os::FileTime stamp = 132223104000000000ull;
  EXPECT_TRUE(os::SetFileTimes(file, &stamp, &stamp, &stamp));
  os::File in;
  ASSERT_TRUE(in.OpenRead(file));
  std::string back(64, '\0');
  uint32_t got = 0;
  ASSERT_TRUE(in.Read(&back[0], 64, &got));
  EXPECT_EQ(back.substr(0, got), bytes);
  in.Close();
  EXPECT_TRUE(os::RemoveFile(file));
  EXPECT_FALSE(os::FileExists(file));
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) EXPECT_TRUE(os::RemoveFolder(*folder));
}

#ifdef _WIN32
TEST(OsLongPath, LongPathsGoToTheSystemInTheirLongForm) {
  const std::u16string deep = u"C:\\" + std::u16string(120, u'x') + u"\\" + std::u16string(130, u'y');
  EXPECT_EQ(os::SystemPath(u"C:\\short\\name.txt"), u"C:\\short\\name.txt");
  EXPECT_EQ(os::SystemPath(deep), u"\\\\?\\" + deep);
  // Separators, "." and ".." are the system's to resolve, which it no longer does behind the prefix.
  EXPECT_EQ(os::SystemPath(u"C:/" + std::u16string(120, u'x') + u"/./z/../" + std::u16string(130, u'y')),
            u"\\\\?\\" + deep);
  EXPECT_EQ(os::SystemPath(u"\\\\server\\share\\" + std::u16string(250, u's')),
            u"\\\\?\\UNC\\server\\share\\" + std::u16string(250, u's'));
  EXPECT_EQ(os::SystemPath(u"\\\\?\\" + deep), u"\\\\?\\" + deep);
  const std::u16string device = u"\\\\.\\" + std::u16string(300, u'd');
  EXPECT_EQ(os::SystemPath(device), device);
  // A relative long path is made full from the current folder.
  const std::u16string relative = std::u16string(300, u'r');
  const std::u16string full = os::SystemPath(relative);
  EXPECT_EQ(full.rfind(u"\\\\?\\", 0), 0u);
  EXPECT_EQ(full.substr(full.size() - relative.size()), relative);
}
#endif

}  // namespace
