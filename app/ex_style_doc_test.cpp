// The document's thumbnail folder, pictures and database, in a real folder under Wine.
#include "app/ex_style_doc.h"
#include "platform/standins/dao_memory_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/harness/seam_test.h"
#include "platform/standins/cximage.h"
#include "platform/standins/dao_memory_engine.h"
#include "platform/os/markup_escape.h"

namespace {

// A folder of its own under the temporary folder, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"dorvane_doc_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() { RemoveAll(path_); }
  const std::wstring& Path() const { return path_; }
  void Write(const std::wstring& name, const std::vector<unsigned char>& bytes = {'x'}) const {
    HANDLE file = ::CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  // The names in the folder (sub-folders end in "\"), sorted.
  std::vector<std::wstring> Names(const std::wstring& sub = L"") const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((path_ + sub + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      names.push_back(name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? L"\\" : L""));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static void RemoveAll(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveAll(folder + L"\\" + name);
        } else {
          ::DeleteFileW((folder + L"\\" + name).c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }
  std::wstring path_;
};

// A 3 x 2 24-bit bitmap file.
std::vector<unsigned char> BitmapFile() {
  const unsigned rowBytes = 12, pixels = rowBytes * 2, size = 54 + pixels;
  std::vector<unsigned char> b(size, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, 3);
  put32(22, 2);
  b[26] = 1;
  b[28] = 24;
  put32(34, pixels);
  for (unsigned i = 54; i < size; ++i) b[i] = 0x80;
  return b;
}

std::vector<std::wstring> ThumbFiles(const CEx_StyleDoc& doc) {
  std::vector<std::wstring> names;
  for (int i = 0; i < doc.m_thumbFiles.GetSize(); ++i) names.emplace_back(doc.m_thumbFiles[i]);
  return names;
}

TEST(ExStyleDoc, EmptyingTheThumbnailFolderDeletesItsFilesAndKeepsItsSubFolders) {
  TempFolder folder;
  folder.Write(L"a.jpg");
  folder.Write(L"notes.txt");
  ::CreateDirectoryW((folder.Path() + L"\\kept").c_str(), nullptr);
  folder.Write(L"kept\\inner.png");
  CEx_StyleDoc doc;
  doc.LoadThumbnailFolder(folder.Path().c_str());
  ASSERT_EQ(ThumbFiles(doc), std::vector<std::wstring>{L"a.jpg"});

  doc.EmptyThumbnailFolder(folder.Path().c_str());
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"kept\\"});
  EXPECT_EQ(folder.Names(L"\\kept"), std::vector<std::wstring>{L"inner.png"});
  EXPECT_EQ(doc.m_thumbFiles.GetSize(), 0);
  EXPECT_EQ(std::wstring(doc.m_thumbFolder), folder.Path());
}

TEST(ExStyleDoc, AnEmptyFolderNameDeletesNothing) {
  // "\\*" would name the files at the top of the current drive: a file put there stays. The current
  // folder is moved into the prefix's own drive first, never the drive that maps the machine's root.
  TempFolder folder;
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().c_str()));
  struct Restore {
    const wchar_t* path;
    ~Restore() { ::SetCurrentDirectoryW(path); }
  } restore{previous};
  wchar_t canary[] = L"\\dorvane_thumbnail_canary.txt";
  HANDLE file = ::CreateFileW(canary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);
  CEx_StyleDoc doc;
  doc.EmptyThumbnailFolder(L"");
  EXPECT_NE(::GetFileAttributesW(canary), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileW(canary);
}

TEST(ExStyleDoc, TheThumbnailListHoldsThePicturesLowerCasedInCodeUnitOrder) {
  TempFolder folder;
  for (const wchar_t* name : {L"b.PNG", L"a.jpg", L"c.txt", L"B.gif", L"d.jpe", L"e.Tiff"}) folder.Write(name);
  ::CreateDirectoryW((folder.Path() + L"\\folder.bmp").c_str(), nullptr);
  CEx_StyleDoc doc;
  doc.LoadThumbnailFolder(folder.Path().c_str());
  EXPECT_EQ(ThumbFiles(doc), (std::vector<std::wstring>{L"a.jpg", L"b.gif", L"b.png", L"e.tiff"}));
}

TEST(ExStyleDoc, SelectingAThumbnailDecodesItOnceAndOutsideTheListShowsNone) {
  TempFolder folder;
  folder.Write(L"a.bmp", BitmapFile());
  folder.Write(L"b.jpg", {'n', 'o', 't'});
  CEx_StyleDoc doc;
  doc.LoadThumbnailFolder(folder.Path().c_str());
  doc.SelectThumbnail(0);
  ASSERT_NE(doc.CurrentPicture, nullptr);
  EXPECT_TRUE(doc.CurrentPicture->IsValid());
  EXPECT_EQ(doc.CurrentPicture->GetWidth(), 3u);
  EXPECT_EQ(doc.CurrentPicture->GetHeight(), 2u);
  const CxImage* first = doc.CurrentPicture;
  doc.SelectThumbnail(0);
  EXPECT_EQ(doc.CurrentPicture, first);  // the same picture, not decoded again

  // A file that is no picture gives a picture object that is not valid.
  doc.SelectThumbnail(1);
  ASSERT_NE(doc.CurrentPicture, nullptr);
  EXPECT_FALSE(doc.CurrentPicture->IsValid());
  doc.SelectThumbnail(5);
  EXPECT_EQ(doc.CurrentPicture, nullptr);
  EXPECT_EQ(doc.CurrentThumbnail, 5);
  doc.SelectThumbnail(-1);
  EXPECT_EQ(doc.CurrentPicture, nullptr);
}

class ExStyleDocDatabase : public harness::SeamTest {};

TEST_F(ExStyleDocDatabase, ADatabaseThatCannotBeOpenedIsReportedAndNothingIsThrown) {
  seams.boxes.Answer(seams::kOk);
  DaoMemoryEngine engine;  // holds no database: the engine is there and refuses the file
  DaoEngine* before = InstallDaoEngine(&engine);
  CEx_StyleDoc doc;
  EXPECT_FALSE(doc.OpenDatabase(L"C:\\data\\<orders>.mdb"));
  InstallDaoEngine(before);
  EXPECT_EQ(doc.m_pDatabase, nullptr);
  doc.RefreshDatabaseViews();  // nothing open: nothing to do
  const auto log = seams.boxes.Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].kind(), 2u);
  EXPECT_NE(log[0].text.find(u"The database could not be opened"), std::u16string::npos);
  // The path is escaped: it shows as written.
  EXPECT_NE(log[0].text.find(msgbox::EscapeMarkup(u"C:\\data\\<orders>.mdb")), std::u16string::npos);
}

TEST_F(ExStyleDocDatabase, WithoutTheEngineNothingIsReported) {
  CEx_StyleDoc doc;  // no database engine on this machine
  EXPECT_FALSE(doc.OpenDatabase(L"C:\\data\\orders.mdb"));
  EXPECT_EQ(doc.m_pDatabase, nullptr);
  EXPECT_TRUE(seams.boxes.Log().empty());
}

}  // namespace
