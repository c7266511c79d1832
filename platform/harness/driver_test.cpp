// The driver against real controls: dialogs from the program's templates, filled by small procedures of
// the tests, driven with clicks, keys and commands, and read back.
#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "modal_script.h"
#include "platform/os/os.h"
#include "res/resource.h"

namespace harness {
namespace {

// File Filters: Add copies the edit's text into the sorted list; Close ends the dialog.
INT_PTR CALLBACK FiltersProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == IDOK) {
    wchar_t text[64] = {};
    ::GetDlgItemTextW(dialog, IDC_FILTER_EDIT, text, 64);
    ::SendDlgItemMessageW(dialog, IDC_FILTER_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SetDlgItemTextW(dialog, IDC_FILTER_EDIT, L"");
  } else if (LOWORD(wParam) == IDCANCEL) {
    ::DestroyWindow(dialog);
  }
  return TRUE;
}

TEST(Driver, TypesClicksAndPressesKeysIntoAListBox) {
  HWND dialog = OpenDialog(IDD_FILE_FILTERS, FiltersProc);
  ASSERT_NE(dialog, nullptr);
  HWND edit = Control(dialog, IDC_FILTER_EDIT);
  HWND list = Control(dialog, IDC_FILTER_LIST);
  ::SetFocus(edit);
  TypeText(edit, L"*.txt");
  EXPECT_EQ(Text(edit), L"*.txt");
  ClickCentre(Control(dialog, IDOK));
  TypeText(edit, L"*.doc");
  PressKey(edit, VK_RETURN);  // the default button, through the dialog manager
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"*.doc", L"*.txt"}));
  EXPECT_EQ(Text(edit), L"");
  EXPECT_EQ(Selection(list), -1);
  ::SendMessageW(list, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(Selection(list), 1);
  ControlState state = StateOf(Control(dialog, IDC_FILTER_REMOVE));
  EXPECT_TRUE(state.exists && state.visible && state.enabled);
  EXPECT_EQ(state.check, BST_UNCHECKED);
  EXPECT_EQ(StateOf(list).check, -1);
  PostCommand(dialog, IDCANCEL);
  EXPECT_FALSE(StateOf(dialog).exists);
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  for (int i = 1; i <= 100; ++i) {
    ::SendDlgItemMessageW(dialog, IDC_SECTORS_PER_READ, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  }
  ::SendDlgItemMessageW(dialog, IDC_SECTORS_PER_READ, CB_SETCURSEL, 59, 0);
  ::CheckRadioButton(dialog, IDC_RENAME_DUPLICATES, IDC_SKIP_DUPLICATES, IDC_RENAME_DUPLICATES);
  return TRUE;
}

TEST(Driver, ReadsComboBoxesAndRadioButtons) {
  HWND dialog = OpenDialog(IDD_RECOVERY_SETTINGS, SettingsProc);
  ASSERT_NE(dialog, nullptr);
  HWND sectors = Control(dialog, IDC_SECTORS_PER_READ);
  EXPECT_EQ(ControlKind(sectors), L"ComboBox");
  std::vector<std::wstring> items = Items(sectors);
  ASSERT_EQ(items.size(), 100u);
  EXPECT_EQ(items[99], L"100");
  EXPECT_EQ(Selection(sectors), 59);
  ClickCentre(Control(dialog, IDC_SKIP_DUPLICATES));
  EXPECT_EQ(StateOf(Control(dialog, IDC_SKIP_DUPLICATES)).check, BST_CHECKED);
  EXPECT_EQ(StateOf(Control(dialog, IDC_RENAME_DUPLICATES)).check, BST_UNCHECKED);
  EXPECT_FALSE(StateOf(Control(dialog, IDC_RETRIES)).visible);
  ::DestroyWindow(dialog);
}

INT_PTR CALLBACK TypesProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  HWND tree = ::GetDlgItem(dialog, IDC_FILE_TYPES_TREE);
  TVINSERTSTRUCTW insert{};
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(L"File Types");
  HTREEITEM root = TreeView_InsertItem(tree, &insert);
  insert.hParent = root;
  insert.item.pszText = const_cast<wchar_t*>(L"Archive Files");
  HTREEITEM group = TreeView_InsertItem(tree, &insert);
  ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(group));
  insert.hParent = group;
  insert.item.pszText = const_cast<wchar_t*>(L"zip");
  TreeView_InsertItem(tree, &insert);
  TreeView_Expand(tree, root, TVE_EXPAND);
  return TRUE;
}

TEST(Driver, ReadsTreeNodesWithTheirDepthAndCheckState) {
  HWND dialog = OpenDialog(IDD_FILE_TYPES, TypesProc);
  ASSERT_NE(dialog, nullptr);
  // A check box tree resets the marks set before it first shows; the group is checked afterwards.
  auto group = reinterpret_cast<HTREEITEM>(::GetWindowLongPtrW(dialog, DWLP_USER));
  TreeView_SetCheckState(Control(dialog, IDC_FILE_TYPES_TREE), group, TRUE);
  std::vector<TreeNode> nodes = TreeNodes(Control(dialog, IDC_FILE_TYPES_TREE));
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].text, L"File Types");
  EXPECT_TRUE(nodes[0].expanded);
  EXPECT_EQ(nodes[1].depth, 1);
  EXPECT_EQ(nodes[1].stateImage, 2);  // checked
  EXPECT_EQ(nodes[2].text, L"zip");
  EXPECT_EQ(nodes[2].depth, 2);
  EXPECT_EQ(nodes[2].stateImage, 1);  // unchecked
  EXPECT_EQ(Items(Control(dialog, IDC_FILE_TYPES_TREE)).size(), 3u);
  ::DestroyWindow(dialog);
}

INT_PTR CALLBACK FindProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  HWND list = ::GetDlgItem(dialog, IDC_FIND_RESULTS);
  const wchar_t* columns[] = {L"File Name", L"Path", L"Size"};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<wchar_t*>(columns[i]);
    ListView_InsertColumn(list, i, &column);
  }
  const wchar_t* rows[2][3] = {{L"a.txt", L"\\docs", L"12"}, {L"b.jpg", L"\\photos", L"3400"}};
  for (int row = 0; row < 2; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(rows[row][0]);
    ListView_InsertItem(list, &item);
    for (int column = 1; column < 3; ++column) {
      ListView_SetItemText(list, row, column, const_cast<wchar_t*>(rows[row][column]));
    }
  }
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
  return TRUE;
}

TEST(Driver, ReadsListViewRows) {
  HWND dialog = OpenDialog(IDD_FIND_FILES, FindProc);
  ASSERT_NE(dialog, nullptr);
  HWND list = Control(dialog, IDC_FIND_RESULTS);
  auto rows = ListViewRows(list);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"b.jpg", L"\\photos", L"3400"}));
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"a.txt", L"b.jpg"}));
  EXPECT_EQ(Selection(list), 1);
  EXPECT_FALSE(StateOf(Control(dialog, IDC_FIND_STOP)).enabled);
  EXPECT_EQ(Text(Control(dialog, IDC_FIND_COUNT)), L"0");
  ::DestroyWindow(dialog);
}

INT_PTR CALLBACK ChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    ::CheckRadioButton(dialog, IDC_USE_EXISTING_PARTITIONS, IDC_SEARCH_PARTITIONS, IDC_USE_EXISTING_PARTITIONS);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    bool search = ::IsDlgButtonChecked(dialog, IDC_SEARCH_PARTITIONS) == BST_CHECKED;
    ::EndDialog(dialog, LOWORD(wParam) == IDOK ? (search ? 2 : 1) : 0);
    return TRUE;
  }
  return FALSE;
}

TEST(ModalScript, DrivesAModalDialog) {
  ModalScript script;
  script.OnWindow(L"Please Select", [](HWND dialog) {
    ClickCentre(Control(dialog, IDC_SEARCH_PARTITIONS));
    ClickCentre(Control(dialog, IDOK));
  });
  script.Start();
  INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PARTITION_CHOICE), nullptr,
                                     ChoiceProc, 0);
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(script.Finished()) << script.Failure();
}

TEST(ModalScript, AStepThatNeverComesEndsTheDialogAndFails) {
  ModalScript script;
  script.OnWindow(L"A window that never opens", [](HWND) {}, 200);
  script.Start();
  INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PARTITION_CHOICE), nullptr,
                                     ChoiceProc, 0);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(script.Finished());
  EXPECT_NE(script.Failure().find("A window that never opens"), std::string::npos);
}

// A control the step looks for is not there: the test fails at once with the control's id and the dialog's
// caption, and the modal loop ends instead of waiting for the click.
TEST(ModalScript, AControlNotFoundFailsAtOnceAndEndsTheDialog) {
  static ModalScript* script;
  ModalScript steps;
  script = &steps;
  steps.OnWindow(L"Please Select", [](HWND dialog) { ClickCentre(Control(dialog, 4242)); });
  EXPECT_NONFATAL_FAILURE(
      {
        script->Start();
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PARTITION_CHOICE), nullptr, ChoiceProc, 0);
      },
      "no control with id 4242 in the window \"Please Select\"");
  EXPECT_NE(steps.Failure().find("no control with id 4242"), std::string::npos);
}

// The last step runs but leaves its dialog open: nobody else ends that modal loop, so the script fails
// with the dialog's caption and ends it.
TEST(ModalScript, ALastStepThatLeavesItsDialogOpenFailsWithItsCaption) {
  ModalScript script;
  script.OnWindow(L"Please Select", [](HWND dialog) { ClickCentre(Control(dialog, IDC_SEARCH_PARTITIONS)); });
  script.Start();
  INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PARTITION_CHOICE), nullptr,
                                     ChoiceProc, 0);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(script.Finished());
  EXPECT_EQ(script.Failure(), "the last step left the dialog \"Please Select\" open");
}

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; }

TEST(Driver, WaitUntilPumpsTimersAndGivesUpAtItsBound) {
  DWORD start = ::GetTickCount();
  EXPECT_FALSE(WaitUntil([] { return false; }, 100));
  EXPECT_GE(::GetTickCount() - start, 100u);
  timerTicks = 0;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 10, CountTick);
  EXPECT_TRUE(WaitUntil([] { return timerTicks >= 2; }));
  ::KillTimer(nullptr, timer);
}

TEST(Capture, WritesAWindowAndTheScreenAsPng) {
  HWND dialog = OpenDialog(IDD_PROPERTIES, FiltersProc);
  ASSERT_NE(dialog, nullptr);
  std::u16string path = CaptureWindow(dialog, "capture_test");
  ASSERT_FALSE(path.empty());
  os::File file;
  ASSERT_TRUE(file.OpenRead(path));
  uint8_t header[24] = {};
  uint32_t got = 0;
  ASSERT_TRUE(file.Read(header, sizeof header, &got));
  ASSERT_EQ(got, sizeof header);
  RECT rect;
  ::GetWindowRect(dialog, &rect);
  auto u32 = [&](int at) { return uint32_t{header[at]} << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
  EXPECT_EQ(u32(16), static_cast<uint32_t>(rect.right - rect.left));
  EXPECT_EQ(u32(20), static_cast<uint32_t>(rect.bottom - rect.top));
  EXPECT_FALSE(CaptureScreen("capture_screen_test").empty());
  ::DestroyWindow(dialog);
}

// The picture of a test's windows holds its visible top-level windows together, clipped to the screen.
TEST(Capture, TheThreadsWindowsAreTakenTogetherWithinTheScreen) {
  HWND dialog = OpenDialog(IDD_PROPERTIES, FiltersProc);
  ASSERT_NE(dialog, nullptr);
  ::SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT box;
  ::GetWindowRect(dialog, &box);
  auto popup = [](int x, int y, DWORD visible) {
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER | visible, x, y, 60, 40,
                             nullptr, nullptr, nullptr, nullptr);
  };
  HWND beside = popup(box.right + 30, box.bottom + 20, WS_VISIBLE);
  HWND hidden = popup(box.right + 300, box.bottom + 300, 0);
  PumpMessages();
  RECT got = ThreadWindowsRect();
  EXPECT_EQ(got.left, box.left);
  EXPECT_EQ(got.top, box.top);
  EXPECT_EQ(got.right, box.right + 90);
  EXPECT_EQ(got.bottom, box.bottom + 60);

  // Past the screen's right edge: the picture ends there.
  const int screenRight = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  ::SetWindowPos(beside, nullptr, screenRight - 20, box.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  got = ThreadWindowsRect();
  EXPECT_EQ(got.right, screenRight);
  EXPECT_EQ(got.bottom, box.bottom);
  EXPECT_FALSE(CaptureThreadWindows("capture_thread_windows_test").empty());

  ::DestroyWindow(beside);
  ::DestroyWindow(hidden);
  ::DestroyWindow(dialog);
  PumpMessages();
  got = ThreadWindowsRect();
  EXPECT_TRUE(::IsRectEmpty(&got));
}

}  // namespace
}  // namespace harness
