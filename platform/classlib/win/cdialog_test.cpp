// Dialogs in real windows: a modal dialog from the resources and one from a template built in memory
// run in the library's modal loop and end with their result; data exchange, radio groups, the focus
// and the default button; a dialog that ends in OnInitDialog; modeless dialogs, as pop-up and as child;
// PreCreateWindow changing a template's style.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/classlib/win/dlgtemplate.h"
#include "platform/classlib/win/frame_test_support.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"

namespace {

class SampleDialog : public CDialog {
 public:
  SampleDialog() : CDialog(IDD_SAMPLE) {}
  CString name = _T("disk.vhd");
  int enabled = 1;
  int choice = 1;
  int count = 4;
  int initDialogs = 0;
  BOOL endInInit = FALSE;
  CEdit nameEdit;

  BOOL OnInitDialog() override {
    ++initDialogs;
    CDialog::OnInitDialog();
    if (endInInit) EndDialog(42);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_NAME, nameEdit);
    DDX_Text(pDX, IDC_NAME, name);
    DDX_Check(pDX, IDC_ENABLED, enabled);
    DDX_Radio(pDX, IDC_RADIO_FIRST, choice);
    DDX_Text(pDX, IDC_COUNT, count);
  }
};

HWND Item(const CWnd& dialog, int id) { return ::GetDlgItem(dialog.m_hWnd, id); }

TEST(Dialog, AModalDialogFromTheResourcesShowsItsDataAndEndsWithOK) {
  SampleDialog dialog;
  harness::ModalScript script;
  HWND seen = nullptr;
  std::wstring shownName;
  int shownChoice = -1;
  script.OnWindow(L"Sample Dialog", [&](HWND hWnd) {
    seen = hWnd;
    shownName = harness::Text(Item(dialog, IDC_NAME));
    shownChoice = dialog.GetCheckedRadioButton(IDC_RADIO_FIRST, IDC_RADIO_THIRD);
    // The object has the window, and the control its object (DDX_Control).
    EXPECT_EQ(dialog.m_hWnd, hWnd);
    EXPECT_EQ(dialog.nameEdit.m_hWnd, Item(dialog, IDC_NAME));
    EXPECT_TRUE(dialog.IsModal());
    ::SetWindowTextW(Item(dialog, IDC_NAME), L"other.vhdx");
    dialog.CheckRadioButton(IDC_RADIO_FIRST, IDC_RADIO_THIRD, IDC_RADIO_THIRD);
    dialog.CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
    ::SetWindowTextW(Item(dialog, IDC_COUNT), L" 17 ");
    harness::ClickCentre(Item(dialog, IDOK));
  });
  script.Start();
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_NE(seen, nullptr);
  EXPECT_FALSE(::IsWindow(seen));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.initDialogs, 1);
  EXPECT_EQ(shownName, L"disk.vhd");
  EXPECT_EQ(shownChoice, IDC_RADIO_SECOND);
  EXPECT_EQ(dialog.name, _T("other.vhdx"));
  EXPECT_EQ(dialog.choice, 2);
  EXPECT_EQ(dialog.enabled, 0);
  EXPECT_EQ(dialog.count, 17);
}

TEST(Dialog, EscCancelsAndAValueThatIsNoNumberKeepsTheDialog) {
  harness::ScopedSeams seams;
  seams.boxes.Answer(IDOK);
  SampleDialog dialog;
  harness::ModalScript script;
  script.OnWindow(L"Sample Dialog", [&](HWND) {
    ::SetWindowTextW(Item(dialog, IDC_COUNT), L"12a");
    dialog.SendMessage(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(Item(dialog, IDOK)));
  });
  script.Step(
      "the dialog is still there, its focus on the count", [&] { return dialog.m_hWnd != nullptr; },
      [&] {
        EXPECT_EQ(::GetFocus(), Item(dialog, IDC_COUNT));
        harness::PressKey(Item(dialog, IDC_COUNT), VK_ESCAPE);
      });
  script.Start();
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(dialog.count, 4);  // the failed value was not taken
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Please enter an integer.");
}

TEST(Dialog, ADialogThatEndsInOnInitDialogEndsWithItsResult) {
  SampleDialog dialog;
  dialog.endInInit = TRUE;
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_EQ(dialog.initDialogs, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// A box built in memory as the HTML message box builds it: 36 zeroed bytes with only the style set
// (pop-up, visible, caption, system menu, centred, modal frame), no controls; its buttons come later,
// and any of them ends it with its number.
class MemoryBox : public CDialog {
 public:
  CButton yes;
  CButton no;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowText(_T("Memory Box"));
    SetWindowPos(nullptr, 0, 0, 300, 160, SWP_NOMOVE | SWP_NOZORDER);
    yes.Create(_T("Yes"), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, RECT{20, 80, 100, 103}, this, IDYES);
    no.Create(_T("No"), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, RECT{110, 80, 190, 103}, this, IDNO);
    SetDefID(IDNO);
    GotoDlgCtrl(&no);
    return FALSE;  // the focus is set
  }

 protected:
  afx_msg void OnButton(UINT nID) { EndDialog(static_cast<int>(nID)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MemoryBox, CDialog)
  ON_COMMAND_RANGE(IDYES, IDNO, OnButton)
END_MESSAGE_MAP()

HGLOBAL ZeroedTemplate(DWORD style) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_ZEROINIT, 36);
  if (memory == nullptr) return nullptr;
  auto* bytes = static_cast<BYTE*>(::GlobalLock(memory));
  std::memcpy(bytes, &style, sizeof style);
  ::GlobalUnlock(memory);
  return memory;
}

TEST(Dialog, AModalDialogFromATemplateInMemoryEndsWithTheButtonPressed) {
  HGLOBAL memory = ZeroedTemplate(0x90C80880);
  ASSERT_NE(memory, nullptr);
  // The owner is disabled while the box runs, and active again afterwards.
  CWnd owner;
  ASSERT_TRUE(
      owner.CreateEx(0, nullptr, _T("Owner"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, nullptr, nullptr));
  MemoryBox box;
  ASSERT_TRUE(box.InitModalIndirect(memory, &owner));
  harness::ModalScript script;
  DWORD shownStyle = 0;
  HWND focused = nullptr;
  BOOL ownerEnabled = TRUE;
  HWND boxOwner = nullptr;
  HWND noButton = nullptr;
  script.OnWindow(L"Memory Box", [&](HWND hWnd) {
    noButton = box.no.m_hWnd;
    shownStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    focused = ::GetFocus();
    ownerEnabled = owner.IsWindowEnabled();
    boxOwner = ::GetWindow(hWnd, GW_OWNER);
    EXPECT_EQ(LOWORD(box.GetDefID()), IDNO);
    harness::PressKey(focused, VK_RETURN);  // the focused button
  });
  script.Start();
  EXPECT_EQ(box.DoModal(), IDNO);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  const DWORD expected = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(shownStyle & expected, expected);
  EXPECT_EQ(focused, noButton);  // GotoDlgCtrl in OnInitDialog
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(boxOwner, owner.m_hWnd);
  EXPECT_TRUE(owner.IsWindowEnabled());
  owner.DestroyWindow();
  ::GlobalFree(memory);
}

TEST(Dialog, AModalDialogOfATemplatePointerAndTheCloseBox) {
  // The same template given as a pointer; the close box cancels.
  alignas(4) BYTE bytes[36] = {};
  const DWORD style = 0x90C80880;
  std::memcpy(bytes, &style, sizeof style);
  MemoryBox box;
  ASSERT_TRUE(box.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes)));
  harness::ModalScript script;
  script.OnWindow(L"Memory Box", [&](HWND hWnd) { ::PostMessageW(hWnd, WM_CLOSE, 0, 0); });
  script.Start();
  EXPECT_EQ(box.DoModal(), IDCANCEL);
  EXPECT_TRUE(script.Finished()) << script.Failure();
}

TEST(Dialog, TheFocusMovesAsTheDialogManagerMovesIt) {
  SampleDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_SAMPLE));
  dialog.ShowWindow(SW_SHOW);
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(dialog.name, _T("disk.vhd"));
  EXPECT_EQ(harness::Text(Item(dialog, IDC_NAME)), L"disk.vhd");  // OnInitDialog wrote the members
  CWnd* pCount = dialog.GetDlgItem(IDC_COUNT);
  dialog.GotoDlgCtrl(pCount);
  EXPECT_EQ(::GetFocus(), pCount->m_hWnd);
  DWORD selection = static_cast<DWORD>(pCount->SendMessage(EM_GETSEL));
  EXPECT_EQ(HIWORD(selection), 1);  // the edit's text ("4") is selected
  dialog.NextDlgCtrl();
  EXPECT_EQ(::GetFocus(), Item(dialog, IDC_AFTER_GROUP));
  dialog.PrevDlgCtrl();
  EXPECT_EQ(::GetFocus(), pCount->m_hWnd);
  // The radio group ends at the next control that starts a group.
  dialog.choice = 0;
  dialog.UpdateData(FALSE);
  EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_RADIO_FIRST, IDC_RADIO_THIRD), IDC_RADIO_FIRST);
  dialog.choice = 7;  // outside the group: none checked
  dialog.UpdateData(FALSE);
  EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_RADIO_FIRST, IDC_RADIO_THIRD), 0);
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.choice, -1);
  // A modeless dialog's EndDialog only hides it.
  dialog.EndDialog(IDOK);
  EXPECT_FALSE(dialog.IsWindowVisible());
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// A child dialog whose PreCreateWindow adds clipping styles to its template (as the HTML overlay does).
class ChildPanel : public CDialog {
 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CDialog::PreCreateWindow(cs);
  }
};

TEST(Dialog, AChildDialogTakesTheStylesItsPreCreateWindowAdds) {
  CWnd host;
  ASSERT_TRUE(
      host.CreateEx(0, nullptr, _T("Host"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr));
  ChildPanel panel;
  EXPECT_FALSE(panel.Create(IDD_CHILD_PANEL));  // a child template needs its parent
  ASSERT_TRUE(panel.Create(IDD_CHILD_PANEL, &host));
  EXPECT_EQ(panel.GetParent(), &host);
  DWORD style = panel.GetStyle();
  EXPECT_NE(style & WS_CHILD, 0u);
  EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS), static_cast<DWORD>(WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
  EXPECT_EQ(harness::Text(Item(panel, IDC_PANEL_TEXT)), L"Panel");
  // The rectangle of the template, in dialog units.
  CRect units(0, 0, 120, 40);
  panel.MapDialogRect(units);
  CRect client;
  panel.GetClientRect(client);
  EXPECT_EQ(client.Size(), units.Size());
  host.DestroyWindow();
  EXPECT_EQ(panel.m_hWnd, nullptr);
}

TEST(DialogTemplate, SizesOfClassicAndExtendedTemplatesAndACopyWithOtherStyles) {
  alignas(4) BYTE zeroed[36] = {};
  EXPECT_EQ(AfxDialogTemplateSize(zeroed, sizeof zeroed), 24u);  // header, no menu, class or title
  EXPECT_EQ(AfxDialogTemplateSize(zeroed, 20), 0u);              // cut short
  HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_SAMPLE), MAKEINTRESOURCEW(5));
  ASSERT_NE(resource, nullptr);
  const void* sample = ::LockResource(::LoadResource(nullptr, resource));
  size_t limit = ::SizeofResource(nullptr, resource);
  DialogTemplateHeader header;
  ASSERT_TRUE(AfxReadDialogTemplateHeader(sample, limit, &header));
  EXPECT_TRUE(header.extended);
  EXPECT_EQ(header.cx, 200);
  EXPECT_EQ(header.cy, 130);
  size_t size = AfxDialogTemplateSize(sample, limit);
  EXPECT_GT(size, 100u);
  EXPECT_LE(size, limit);
  EXPECT_GE(size + 3, limit);  // the resource is the template, padded to 4 bytes at most
  for (size_t cut = 0; cut < size; cut += 7) EXPECT_EQ(AfxDialogTemplateSize(sample, cut), 0u) << cut;
  std::vector<BYTE> copy = AfxCopyDialogTemplate(sample, limit, header.style | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
  ASSERT_EQ(copy.size(), size);
  DialogTemplateHeader changed;
  ASSERT_TRUE(AfxReadDialogTemplateHeader(copy.data(), copy.size(), &changed));
  EXPECT_EQ(changed.style, header.style | WS_CLIPCHILDREN);
  EXPECT_EQ(changed.exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(std::memcmp(copy.data() + 16, static_cast<const BYTE*>(sample) + 16, size - 16), 0);
}

}  // namespace
