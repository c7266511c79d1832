// The file types dialog in a real window, over the Raw.dat that tools/signatures writes into the build.
#include "app/dialogs/file_types_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/scan/selected_signatures.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/seam_test.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kRawDatFolder[] = L"" DORVANE_RAW_DAT_FOLDER;
constexpr int kUnchecked = 1, kChecked = 2, kPartly = 3;

class FileTypesDialogTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    FreeFileTraceSignatureList();
    LargeFileSize = 0;
  }
  void TearDown() override {
    if (dialog_ != nullptr && dialog_->GetSafeHwnd() != nullptr) dialog_->DestroyWindow();
    harness::PumpMessages();
    FreeFileTraceSignatureList();
    harness::SeamTest::TearDown();
  }
  void Open(const CString& folder = kRawDatFolder) {
    dialog_ = std::make_unique<FileTypesDialog>(folder);
    ASSERT_TRUE(dialog_->Create(IDD_FILE_TYPES));
    dialog_->ShowWindow(SW_SHOW);
    dialog_->UpdateWindow();
    harness::PumpFor(50);
  }
  HWND Tree() { return dialog_->m_tree.GetSafeHwnd(); }
  // The item of this text: a child of parent, or the root.
  HTREEITEM Item(const CString& text, HTREEITEM parent = nullptr) {
    CTreeCtrl& tree = dialog_->m_tree;
    for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item != nullptr;
         item = tree.GetNextSiblingItem(item)) {
      if (tree.GetItemText(item) == text) return item;
    }
    return nullptr;
  }
  // A click where the hit test says the item's check box is.
  void ClickCheckBox(HTREEITEM item) {
    dialog_->m_tree.EnsureVisible(item);
    harness::PumpMessages();
    RECT label{};
    ASSERT_TRUE(dialog_->m_tree.GetItemRect(item, &label, TRUE));
    const int y = (label.top + label.bottom) / 2;
    for (int x = 0; x < label.left; ++x) {
      UINT where = 0;
      if (dialog_->m_tree.HitTest(CPoint(x, y), &where) == item && (where & TVHT_ONITEMSTATEICON)) {
        harness::Click(Tree(), POINT{x + 3, y});
        return;
      }
    }
    FAIL() << "no check box beside the item";
  }
  int StateOf(HTREEITEM item) { return static_cast<int>(dialog_->m_tree.GetCheck(item)) + 1; }
  bool BoldOf(HTREEITEM item) { return (dialog_->m_tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0; }

  std::unique_ptr<FileTypesDialog> dialog_;
};

// Raw.dat's groups and types as this test reads them itself.
std::vector<SignatureGroup> DatabaseTree(std::vector<SignatureRecord>* records = nullptr) {
  SignatureDatabase database;
  EXPECT_TRUE(ReadSignatureDatabase((CString(kRawDatFolder) + L"Raw.dat").ToUtf16(), &database));
  if (records != nullptr) *records = database.records;
  return SignatureTypeTree(database.records);
}

TEST_F(FileTypesDialogTest, OpensWithEveryTypeTickedUnderItsGroup) {
  Open();
  const std::vector<SignatureGroup> groups = DatabaseTree();
  ASSERT_GE(groups.size(), 5u);
  const std::vector<harness::TreeNode> nodes = harness::TreeNodes(Tree());
  ASSERT_FALSE(nodes.empty());
  EXPECT_EQ(nodes[0].text, L"File Types");
  EXPECT_TRUE(nodes[0].expanded);
  size_t at = 1;
  for (const SignatureGroup& group : groups) {
    ASSERT_LT(at, nodes.size());
    EXPECT_EQ(nodes[at].text, std::wstring(CString::FromUtf16(group.text)));
    EXPECT_EQ(nodes[at].depth, 1);
    EXPECT_FALSE(nodes[at].expanded);
    ++at;
    for (const std::u16string& type : group.types) {
      ASSERT_LT(at, nodes.size());
      EXPECT_EQ(nodes[at].text, std::wstring(CString::FromUtf16(type)));
      EXPECT_EQ(nodes[at].depth, 2);
      ++at;
    }
  }
  EXPECT_EQ(at, nodes.size());
  for (const harness::TreeNode& node : nodes) {
    EXPECT_EQ(node.stateImage, kChecked) << std::string(node.text.begin(), node.text.end());
    EXPECT_TRUE(node.bold);
  }
  const std::vector<std::wstring> sizes = harness::Items(harness::Control(dialog_->GetSafeHwnd(), IDC_FILE_SIZE_LIST));
  ASSERT_EQ(sizes.size(), 20u);
  EXPECT_EQ(sizes.front(), L"1 MB");
  EXPECT_EQ(sizes.back(), L"20 MB");
  EXPECT_EQ(dialog_->m_sizeList.GetCurSel(), 1);  // "2 MB" while no size was chosen
  EXPECT_EQ(harness::Text(harness::Control(dialog_->GetSafeHwnd(), IDC_FILE_TYPES_NOTE)),
            L"What file types would you like to recover? [Please check file types] and click [Ok] to continue with "
            L"recovery.");
}

TEST_F(FileTypesDialogTest, AClickOnACheckBoxTogglesTheItemAndWhatIsAboveAndBelowIt) {
  Open();
  HTREEITEM root = Item(L"File Types");
  HTREEITEM graphics = Item(L"Graphics Files", root);
  ASSERT_NE(graphics, nullptr);
  dialog_->m_tree.Expand(graphics, TVE_EXPAND);
  HTREEITEM first = dialog_->m_tree.GetChildItem(graphics);
  HTREEITEM second = dialog_->m_tree.GetNextSiblingItem(first);
  ASSERT_NE(second, nullptr);

  ClickCheckBox(first);
  EXPECT_EQ(StateOf(first), kUnchecked);
  EXPECT_FALSE(BoldOf(first));
  EXPECT_EQ(StateOf(graphics), kPartly);
  EXPECT_FALSE(BoldOf(graphics));
  EXPECT_EQ(StateOf(root), kChecked);  // a partly checked group counts as ticked
  EXPECT_EQ(StateOf(second), kChecked);
  dialog_->m_tree.SendMessage(WM_VSCROLL, SB_TOP);
  harness::PumpFor(100);
  EXPECT_FALSE(harness::CaptureWindow(dialog_->GetSafeHwnd(), "file_types").empty());

  // The archives group unticked whole: the root is partly checked.
  HTREEITEM archives = Item(L"Archive Files", root);
  dialog_->m_tree.Expand(archives, TVE_EXPAND);
  ClickCheckBox(archives);
  EXPECT_EQ(StateOf(archives), kUnchecked);
  for (HTREEITEM type = dialog_->m_tree.GetChildItem(archives); type; type = dialog_->m_tree.GetNextSiblingItem(type)) {
    EXPECT_EQ(StateOf(type), kUnchecked);
  }
  EXPECT_EQ(StateOf(root), kPartly);

  // A partly checked group is unticked by a click; the last type ticked again ticks it.
  ClickCheckBox(graphics);
  EXPECT_EQ(StateOf(graphics), kUnchecked);
  EXPECT_EQ(StateOf(second), kUnchecked);
  ClickCheckBox(root);
  EXPECT_EQ(StateOf(root), kUnchecked);
  ClickCheckBox(first);
  EXPECT_EQ(StateOf(graphics), kPartly);
  EXPECT_EQ(StateOf(root), kPartly);

  // On the label a click selects and ticks nothing; on the button it folds the group.
  RECT label{};
  dialog_->m_tree.EnsureVisible(second);
  dialog_->m_tree.GetItemRect(second, &label, TRUE);
  harness::Click(Tree(), POINT{label.left + 4, (label.top + label.bottom) / 2});
  EXPECT_EQ(dialog_->m_tree.GetSelectedItem(), second);
  EXPECT_EQ(StateOf(second), kUnchecked);
  dialog_->m_tree.EnsureVisible(archives);
  dialog_->m_tree.GetItemRect(archives, &label, TRUE);
  const int y = (label.top + label.bottom) / 2;
  for (int x = 0; x < label.left; ++x) {
    UINT where = 0;
    if (dialog_->m_tree.HitTest(CPoint(x, y), &where) == archives && (where & TVHT_ONITEMBUTTON)) {
      harness::Click(Tree(), POINT{x, y});
      break;
    }
  }
  EXPECT_FALSE(dialog_->m_tree.GetItemState(archives, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(StateOf(archives), kUnchecked);
}

TEST_F(FileTypesDialogTest, SpaceTicksTheSelectedItemAsAClickWould) {
  Open();
  HTREEITEM root = Item(L"File Types");
  HTREEITEM email = Item(L"E-mail Files", root);
  dialog_->m_tree.SelectItem(email);
  dialog_->m_tree.SetFocus();
  harness::PressKey(Tree(), VK_SPACE);
  EXPECT_EQ(StateOf(email), kUnchecked);
  EXPECT_EQ(StateOf(dialog_->m_tree.GetChildItem(email)), kUnchecked);
  EXPECT_EQ(StateOf(root), kPartly);
  harness::PressKey(Tree(), VK_SPACE);
  EXPECT_EQ(StateOf(email), kChecked);
  EXPECT_EQ(StateOf(root), kChecked);
}

TEST_F(FileTypesDialogTest, OkWithNothingTickedSaysSoAndStaysOpen) {
  Open();
  AppendSelectedSignature(u".keep", u"kept", 1, "41", 0);
  ClickCheckBox(Item(L"File Types"));
  seams.boxes.Answer(seams::kOk);
  harness::PostCommand(dialog_->GetSafeHwnd(), IDOK);
  const auto log = seams.boxes.Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, u"Please select a file types and then \r\nclick [Next] to continue with recovery.");
  EXPECT_EQ(log[0].kind(), 2u);
  EXPECT_TRUE(dialog_->IsWindowVisible());
  EXPECT_EQ(SelectedSignatureCount.load(), 1u);
  EXPECT_EQ(LargeFileSize.load(), 0u);
}

TEST_F(FileTypesDialogTest, WithoutTheDatabaseOnlyTheRootShowsAndOkRefuses) {
  Open(L"C:\\no such folder\\");
  const std::vector<harness::TreeNode> nodes = harness::TreeNodes(Tree());
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_EQ(nodes[0].text, L"File Types");
  seams.boxes.Answer(seams::kOk);
  harness::PostCommand(dialog_->GetSafeHwnd(), IDOK);
  EXPECT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_TRUE(dialog_->IsWindowVisible());
}

// The (extension, signature) pairs of a list of nodes or records, sorted.
using Pairs = std::vector<std::pair<std::u16string, std::string>>;
Pairs Sorted(Pairs pairs) {
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

TEST_F(FileTypesDialogTest, OkBuildsFileTracesListFromTheTickedTypesOnceHoweverOftenPressed) {
  Open();
  HTREEITEM root = Item(L"File Types");
  ClickCheckBox(Item(L"Archive Files", root));
  HTREEITEM documents = Item(L"Document Files", root);
  dialog_->m_tree.Expand(documents, TVE_EXPAND);
  ClickCheckBox(dialog_->m_tree.GetChildItem(documents));
  dialog_->m_sizeList.SetCurSel(4);

  // What the tree shows ticked, read from the window.
  std::vector<std::u16string> ticked;
  for (const harness::TreeNode& node : harness::TreeNodes(Tree())) {
    if (node.depth == 2 && node.stateImage == kChecked) ticked.push_back(CString(node.text.c_str()).ToUtf16());
  }
  std::vector<SignatureRecord> records;
  DatabaseTree(&records);
  Pairs expected;
  for (const SignatureRecord& record : records) {
    if (std::find(ticked.begin(), ticked.end(), record.extension) != ticked.end() && IsUsableSignatureRecord(record)) {
      expected.emplace_back(record.extension, record.signature);
    }
  }
  ASSERT_FALSE(expected.empty());
  ASSERT_LT(expected.size(), records.size());

  for (int press = 0; press < 2; ++press) {
    harness::PostCommand(dialog_->GetSafeHwnd(), IDOK);
    Pairs listed;
    for (const SelectedSignature& node : SelectedSignatureList) listed.emplace_back(node.extension, node.signature);
    EXPECT_EQ(Sorted(listed), Sorted(expected)) << "press " << press;
    EXPECT_EQ(SelectedSignatureCount.load(), expected.size());
    EXPECT_EQ(LargeFileSize.load(), 5u);
  }
  EXPECT_FALSE(dialog_->IsWindowVisible());
}

TEST_F(FileTypesDialogTest, CancelKeepsTheSizeAndTheList) {
  LargeFileSize = 7;
  AppendSelectedSignature(u".keep", u"kept", 1, "41", 0);
  Open();
  EXPECT_EQ(dialog_->m_sizeList.GetCurSel(), 6);
  dialog_->m_sizeList.SetCurSel(0);
  harness::PostCommand(dialog_->GetSafeHwnd(), IDCANCEL);
  EXPECT_FALSE(dialog_->IsWindowVisible());
  EXPECT_EQ(LargeFileSize.load(), 7u);
  EXPECT_EQ(SelectedSignatureCount.load(), 1u);
}

TEST_F(FileTypesDialogTest, RunModallyOkWithoutAChangeKeepsTheStoredSize) {
  LargeFileSize = 12;
  FileTypesDialog dialog(kRawDatFolder);
  harness::ModalScript script;
  script.OnWindow(L"File Types", [](HWND window) { harness::PostCommand(window, IDOK); });
  script.Start();
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(LargeFileSize.load(), 12u);
  EXPECT_GT(SelectedSignatureCount.load(), 0u);
}

}  // namespace
