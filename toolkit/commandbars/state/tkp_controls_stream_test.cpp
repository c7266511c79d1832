// The stream of customized bars in real frames: a customized set saved and loaded back equal in a new
// frame, the 16000-byte line between the profile value and the hidden file, damaged streams refused whole
// with the bars as they were, and the file kept to the application's own folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/state/controls_stream_rules.h"
#include "toolkit/commandbars/state/tkp_command_bar_list.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_custom.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_rebar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/common/stored_state_testing.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Stream Test")) {}
};
TestApp theApp;

const wchar_t kProfileKey[] = L"Software\\Dorvane Stream Test";
const TCHAR kProfile[] = _T("CommandBars");
const TCHAR kSection[] = _T("CommandBars-Controls");
constexpr UINT kMine = 0xE800;
constexpr int kFindField = 40001;
constexpr int kPlaces = 40002;

// A control of a kind that cannot be stored.
class PlainControl : public CTKPControlButton {
  DECLARE_DYNCREATE(PlainControl)
};
IMPLEMENT_DYNCREATE(PlainControl, CTKPControlButton)

// A frame that offers customizing, with the program's two toolbars as it builds them.
class StreamFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() const { return m_pCommandBars; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this);
    CTKPToolBar* standard = m_pCommandBars->Add(_T("Standard"), tkpBarTop);
    standard->LoadToolBar(IDR_MAINFRAME);
    CTKPToolBar* tools = m_pCommandBars->Add(_T("Tools"), tkpBarTop);
    const UINT ids[] = {ID_FIND_FILES, 0, ID_SETTINGS};
    tools->SetButtons(ids, 3);
    tools->SetBarID(200);
    return 0;
  }
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(StreamFrame, CTKPFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(TKP_ID_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

// What a person sees of the bars: each bar and its lasting controls, popups with their menus.
std::wstring Describe(CTKPControls* controls, int depth);
std::wstring Describe(CTKPCommandBar* bar, int depth) {
  // Popup bars are numbered afresh at each save: only toolbars' ids are the user's.
  const bool toolbar = bar->IsKindOf(RUNTIME_CLASS(CTKPToolBar)) != FALSE;
  std::wstring text = (toolbar ? std::to_wstring(bar->GetBarID()) : L"") + L" " + bar->GetTitle().GetString() + L" " +
                      CString(bar->GetRuntimeClass()->m_lpszClassName).GetString() +
                      (bar->IsVisible() ? L" shown" : L"") + L" {" + Describe(bar->GetControls(), depth) + L"}";
  return text;
}
std::wstring Describe(CTKPControls* controls, int depth) {
  std::wstring text;
  for (int i = 0; i < controls->GetCount(); ++i) {
    CTKPControl* c = controls->GetAt(i);
    if (c->IsTemporary()) continue;
    text += L"[" + std::wstring(CString(c->GetRuntimeClass()->m_lpszClassName).GetString()) + L" " +
            std::to_wstring(c->GetType()) + L" " + std::to_wstring(c->GetID()) + L" '" + c->GetCaption().GetString() +
            L"' style " + std::to_wstring(c->GetStyle()) + (c->GetBeginGroup() ? L" group" : L"");
    if (auto* combo = dynamic_cast<CTKPControlComboBox*>(c)) {
      for (int n = 0; n < combo->GetCount(); ++n) text += L" item " + std::wstring(combo->GetLBText(n).GetString());
    }
    if (auto* edit = dynamic_cast<CTKPControlEdit*>(c)) text += L" width " + std::to_wstring(edit->GetWidth());
    if (c->GetCustomIconId() > 0) {
      text += c->GetImageManager()->GetIconSet(static_cast<UINT>(c->GetCustomIconId())) ? L" own icon" : L" icon lost";
    }
    if (!c->GetDocTemplatesAssigned().IsEmpty()) text += L" documents " + std::to_wstring(c->GetDocTemplatesAssigned().GetCount());
    if (CTKPCommandBar* popup = c->GetCommandBar(); popup != nullptr && depth < 4) text += L" " + Describe(popup, depth + 1);
    text += L"]";
  }
  return text;
}

std::wstring Describe(CTKPCommandBars* bars) {
  std::wstring text;
  for (int i = 0; i < bars->GetCount(); ++i) text += Describe(bars->GetAt(i), 0) + L"\n";
  return text;
}

// The stream as the last save left it, from the profile or from the file it names.
std::vector<BYTE> StoredStream(bool* inFile = nullptr) {
  std::vector<BYTE> bytes;
  const bool fromFile = theApp.GetProfileInt(kSection, _T("LoadFromFile"), 0) != 0;
  if (inFile != nullptr) *inFile = fromFile;
  if (fromFile) {
    HANDLE file = ::CreateFileW(theApp.GetProfileString(kSection, _T("Controls")), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    return bytes;
  }
  BYTE* data = nullptr;
  UINT size = 0;
  if (theApp.GetProfileBinary(kSection, _T("Controls"), &data, &size)) bytes.assign(data, data + size);
  delete[] data;
  return bytes;
}

// The bars a save would put into the stream.
void CollectBars(CTKPCommandBars* bars, TKPCommandBarsExchangeParam& param, CTKPCommandBarRefList& list) {
  param.bOnlyCustomized = TRUE;
  param.pCommandBars = bars;
  UINT next = tkpstream::kFirstPopupBarId;
  bars->CollectBarsToSave(next, list, param);
}
int BarsToSave(CTKPCommandBars* bars) {
  TKPCommandBarsExchangeParam param;
  CTKPCommandBarRefList list;
  CollectBars(bars, param, list);
  return list.GetCount();
}
// The stream of the bars as the saver makes it, before the saver's own look at it decides whether it is
// written.
std::vector<BYTE> RawStream(CTKPCommandBars* bars) {
  TKPCommandBarsExchangeParam param;
  CTKPCommandBarRefList list;
  CollectBars(bars, param, list);
  CMemFile file(1024);
  {
    CArchive ar(&file, CArchive::store, 4096);
    CTKPPropExchangeArchive px(ar);
    TKPSetExchangeParam(&px, &param);
    bars->SaveBarList(&px, list);
    ar.Close();
  }
  const size_t size = static_cast<size_t>(file.GetLength());
  BYTE* data = file.Detach();
  std::vector<BYTE> bytes(data, data + size);
  std::free(data);
  return bytes;
}

void WriteFileBytes(const CString& path, const std::vector<BYTE>& bytes) {
  ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

// The stream with the one stored 32-bit value from changed to to.
std::vector<BYTE> WithValueChanged(std::vector<BYTE> bytes, int from, int to) {
  EXPECT_EQ(tktest::ChangeInt32(bytes, from, to), 1) << from;
  return bytes;
}

class ControlsStream : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    theApp.SetRegistryKey(_T("Dorvane Stream Test"));
  }
  void TearDown() override {
    for (StreamFrame* frame : frames) {
      if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    }
    harness::PumpMessages();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  }
  StreamFrame* Start() {
    auto* frame = new StreamFrame;
    EXPECT_TRUE(frame->Create(nullptr, _T("Stream"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 900, 500)));
    frame->RecalcLayout();
    harness::PumpMessages();
    frames.push_back(frame);
    return frame;
  }
  // The program ends: the bars are saved and the window goes.
  void Stop(StreamFrame* frame) {
    frame->Bars()->SaveBarState(kProfile);
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  // The user's own toolbar with a button, a popup menu, an edit and a combo box.
  static CTKPToolBar* AddMine(StreamFrame* frame, const CString& caption = _T("&Open")) {
    CTKPToolBar* mine = frame->Bars()->Add(_T("Mine"), tkpBarTop);
    mine->SetBarID(kMine);
    mine->SetBuiltIn(FALSE);
    CTKPControls* controls = mine->GetControls();
    CTKPControl* open = controls->Add(tkpControlButton, ID_OPEN_IMAGE);
    open->SetCustomCaption(caption);
    open->SetStyle(tkpButtonIconAndCaption);
    // An image of the user's own, as the customize menu pastes one.
    CTKPImageManager* images = frame->Bars()->GetImageManager();
    open->SetCustomIconId(static_cast<int>(images->AddCustomIcon(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)))));
    CTKPControl* more = controls->Add(tkpControlPopup, 0);
    more->SetCaption(CString(_T("&More")));
    more->SetBeginGroup(TRUE);
    CTKPControls* menu = more->GetCommandBar()->GetControls();
    CTKPControl* findFiles = menu->Add(tkpControlButton, ID_FIND_FILES);
    findFiles->SetCaption(CString(_T("&Find Files")));
    findFiles->GetDocTemplatesAssigned()[128] = TRUE;  // shown with one kind of document only
    menu->Add(tkpControlButton, ID_SETTINGS)->SetCustomCaption(CString(_T("Se&ttings")));
    CTKPControl* find = controls->Add(tkpControlEdit, kFindField);
    find->SetCaption(CString(_T("Find:")));
    find->SetWidth(150);
    auto* places = static_cast<CTKPControlComboBox*>(controls->Add(tkpControlComboBox, kPlaces));
    places->SetCaption(CString(_T("Places")));
    places->AddString(CString(_T("One")));
    places->AddString(CString(_T("Two")));
    mine->OnRecalcLayout();
    return mine;
  }
  // Changes to the program's own Standard toolbar: a caption and style, a button gone.
  static void ChangeStandard(StreamFrame* frame) {
    CTKPToolBar* standard = frame->Bars()->GetToolBar(frame->Bars()->GetAt(0)->GetBarID());
    CTKPControl* first = standard->GetControl(0);
    first->SetCustomCaption(CString(_T("Open &Image")));
    first->SetCustomStyle(tkpButtonIconAndCaption);
    CTKPControl* last = standard->GetControl(standard->GetControlCount() - 1);
    if (last->IsTemporary()) last = standard->GetControl(standard->GetControlCount() - 2);
    standard->GetControls()->Remove(last);
  }

  // The bars are saved and the program starts again: the stream they were saved in.
  std::vector<BYTE> SavedAndStartedAgain(StreamFrame*& frame) {
    frame->Bars()->SaveBarState(kProfile);
    std::vector<BYTE> stream = StoredStream();
    Stop(frame);
    TKPImageManager()->RemoveAll();
    frame = Start();
    return stream;
  }
  // The stream with each one value changed as given is refused, and the bars stay as they were.
  static void ExpectEachRefused(CTKPCommandBars* bars, const std::vector<BYTE>& good,
                                std::initializer_list<std::pair<int, int>> changes) {
    const std::wstring before = Describe(bars);
    for (const auto& [from, to] : changes) {
      const std::vector<BYTE> bytes = WithValueChanged(good, from, to);
      EXPECT_FALSE(bars->LoadCustomizedBars(bytes.data(), static_cast<UINT>(bytes.size()), TRUE)) << from << " " << to;
      EXPECT_EQ(Describe(bars), before);
    }
  }

  std::vector<StreamFrame*> frames;
};

TEST_F(ControlsStream, ACustomizedSetComesBackEqualInANewFrame) {
  StreamFrame* frame = Start();
  ASSERT_TRUE(frame->Bars()->IsCustomizeAvail());
  const std::wstring built = Describe(frame->Bars());
  AddMine(frame);
  ChangeStandard(frame);
  frame->Bars()->GetAt(1)->SetTitle(_T("My Tools"));
  const std::wstring customized = Describe(frame->Bars());
  ASSERT_NE(customized, built);
  Stop(frame);
  TKPImageManager()->RemoveAll();  // the next run starts without the user's images
  EXPECT_EQ(theApp.GetProfileInt(kSection, _T("LoadFromFile"), -1), 0u);
  EXPECT_FALSE(StoredStream().empty());

  frame = Start();
  EXPECT_EQ(Describe(frame->Bars()), built);
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(Describe(frame->Bars()), customized);
  // The popup's menu came with its own bar, which opens.
  CTKPToolBar* mine = frame->Bars()->GetToolBar(kMine);
  ASSERT_NE(mine, nullptr);
  EXPECT_FALSE(mine->IsBuiltIn());
  CTKPCommandBar* menu = mine->GetControl(1)->GetCommandBar();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->GetCommandBars(), frame->Bars());
  // The program's own bar keeps its original controls, so that a reset brings its buttons back.
  CTKPControls* standard = frame->Bars()->GetAt(0)->GetControls();
  ASSERT_NE(standard->GetOriginalControls(), nullptr);
  EXPECT_TRUE(standard->IsChanged());

  // Loaded again: the same set, no second toolbar.
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(Describe(frame->Bars()), customized);
  // A set that cannot be stored leaves the one saved before.
  const std::vector<BYTE> before = StoredStream();
  mine->GetControls()->Add(new PlainControl, ID_APP_ABOUT);
  frame->Bars()->SaveBarState(kProfile);
  EXPECT_EQ(StoredStream(), before);
}

TEST_F(ControlsStream, TheMenuBarComesBackWithItsCustomizedMenus) {
  StreamFrame* frame = Start();
  CTKPMenuBar* menuBar = frame->Bars()->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU);
  ASSERT_NE(menuBar, nullptr);
  const std::wstring built = Describe(menuBar, 0);
  CTKPCommandBar* first = menuBar->GetControl(0)->GetCommandBar();
  ASSERT_NE(first, nullptr);
  first->GetControl(0)->SetCustomCaption(CString(_T("&Open the Image...")));
  menuBar->GetControl(menuBar->GetControlCount() - 1)->SetCustomCaption(CString(_T("&Assistance")));
  const std::wstring customized = Describe(menuBar, 0);
  ASSERT_NE(customized, built);
  Stop(frame);

  frame = Start();
  menuBar = frame->Bars()->SetMenu(_T("Menu Bar"), IDR_MAIN_MENU);
  ASSERT_EQ(Describe(menuBar, 0), built);
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(frame->Bars()->GetMenuBar(), menuBar);
  EXPECT_EQ(Describe(menuBar, 0), customized);
  EXPECT_TRUE(menuBar->GetControls()->IsChanged());  // its originals came back with it
}

// The user's own toolbar, made again from the stream, takes its band on the frame's rebar.
TEST_F(ControlsStream, AUsersToolbarMadeFromTheStreamJoinsTheRebar) {
  StreamFrame* frame = Start();
  AddMine(frame);
  Stop(frame);
  frame = Start();
  CTKPReBar rebar;
  ASSERT_TRUE(rebar.Create(frame));
  frame->Bars()->LoadBarState(kProfile);
  CTKPToolBar* mine = frame->Bars()->GetToolBar(kMine);
  ASSERT_NE(mine, nullptr);
  ASSERT_EQ(rebar.GetBandCount(), 1);
  EXPECT_EQ(rebar.GetToolBar(0), mine);
  frame->Bars()->RemoveFromReBar(mine);
  rebar.DestroyWindow();
}

// A toolbar torn off a popup that names no bar id gets one of the users' own: it is saved, and comes back
// floating after a restart.
TEST_F(ControlsStream, ATearOffBarMadeWithoutAnIdComesBack) {
  StreamFrame* frame = Start();
  CTKPToolBar* torn = frame->Bars()->AddCustomBar(_T("Torn"), 0, TRUE);
  ASSERT_NE(torn, nullptr);
  torn->GetControls()->Add(tkpControlButton, ID_APP_ABOUT);
  const UINT id = torn->GetBarID();
  EXPECT_NE(id, 0u);
  Stop(frame);
  frame = Start();
  frame->Bars()->LoadBarState(kProfile);
  CTKPToolBar* back = frame->Bars()->GetToolBar(id);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetPosition(), tkpBarFloating);
  EXPECT_EQ(back->GetControl(0)->GetID(), static_cast<int>(ID_APP_ABOUT));
}

// A popup's "DoubleGripper" survives a load and the save after it.
TEST_F(ControlsStream, APopupsDoubleGripperLastsThroughLoadAndSaveAgain) {
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame);
  auto* menu = static_cast<CTKPPopupBar*>(mine->GetControl(1)->GetCommandBar());
  ASSERT_TRUE(menu->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)));
  menu->SetDoubleGripper(TRUE);
  Stop(frame);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    frame = Start();
    frame->Bars()->LoadBarState(kProfile);
    mine = frame->Bars()->GetToolBar(kMine);
    ASSERT_NE(mine, nullptr);
    menu = static_cast<CTKPPopupBar*>(mine->GetControl(1)->GetCommandBar());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->IsDoubleGripper());
    Stop(frame);
  }
}

TEST_F(ControlsStream, SixteenThousandBytesStayInTheProfileAndOneMoreGoesToTheHiddenFile) {
  // The stream's size is set by the length of a caption (2 bytes a character) and by whether a window
  // list (a class record of odd length) is there: between them every size can be reached.
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame, CString(_T('x'), 2000));
  const auto measure = [&] {
    frame->Bars()->SaveBarState(kProfile);
    return static_cast<long>(StoredStream().size());
  };
  const long plain = measure();
  const auto addOdd = [mine] { return mine->GetControls()->Add(tkpControlButton, TKP_ID_WINDOWLIST); };
  CTKPControl* label = addOdd();
  const long labelled = measure();
  ASSERT_EQ((labelled - plain) % 2, 1) << "the window list's bytes must change the parity";
  for (long target : {16000L, 16001L}) {
    const bool withLabel = (target - plain) % 2 != 0;
    if (!withLabel && label != nullptr) {
      mine->GetControls()->Remove(label);
      label = nullptr;
    }
    if (withLabel && label == nullptr) label = addOdd();
    const long base = withLabel ? labelled : plain;
    mine->GetControl(0)->SetCustomCaption(CString(_T('x'), static_cast<int>(2000 + (target - base) / 2)));
    bool inFile = false;
    frame->Bars()->SaveBarState(kProfile);
    EXPECT_EQ(static_cast<long>(StoredStream(&inFile).size()), target);
    EXPECT_EQ(inFile, target > 16000);
  }
  // The file sits hidden in the application's own folder, its path in "Controls".
  const CString path = theApp.GetProfileString(kSection, _T("Controls"));
  EXPECT_EQ(path, GetAppDataFileName(_T("CommandBars")));
  EXPECT_NE(path.Find(_T("\\Dorvane Stream Test\\CommandBars")), -1);
  const DWORD attributes = ::GetFileAttributesW(path);
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  // A file that cannot be written leaves the stream saved before whole, and the profile naming it.
  ::CreateDirectoryW(path + _T(".new"), nullptr);
  mine->GetControl(0)->SetCustomCaption(CString(_T('y'), 9000));
  frame->Bars()->SaveBarState(kProfile);
  ::RemoveDirectoryW(path + _T(".new"));
  EXPECT_EQ(theApp.GetProfileString(kSection, _T("Controls")), path);
  EXPECT_EQ(StoredStream().size(), 16001u);
  // A profile name that tries to climb out of the folder makes one file name inside it.
  frame->Bars()->SaveBarState(_T("..\\..\\Bars:1"));
  const CString climbed = theApp.GetProfileString(_T("..\\..\\Bars:1-Controls"), _T("Controls"));
  EXPECT_EQ(climbed, path.Left(path.GetLength() - 11) + _T("_.._.._Bars_1"));
  EXPECT_NE(::GetFileAttributesW(climbed), INVALID_FILE_ATTRIBUTES);
  ::SetFileAttributesW(climbed, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(climbed);
  const std::wstring saved = Describe(frame->Bars());
  const std::vector<BYTE> good = StoredStream();
  Stop(frame);
  // "Controls" naming a sound stream anywhere else is not read; our own file is.
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const CString elsewhere = CString(temp) + _T("stream-elsewhere.bin");
  WriteFileBytes(elsewhere, good);
  theApp.WriteProfileString(kSection, _T("Controls"), elsewhere);
  frame = Start();
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(frame->Bars()->GetToolBar(kMine), nullptr);
  ::DeleteFileW(elsewhere);
  theApp.WriteProfileString(kSection, _T("Controls"), path);
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(Describe(frame->Bars()), saved);
  // A stream that shrinks moves back into the profile and its file goes.
  frame->Bars()->GetToolBar(kMine)->GetControl(0)->SetCustomCaption(CString(_T("short")));
  frame->Bars()->SaveBarState(kProfile);
  EXPECT_EQ(theApp.GetProfileInt(kSection, _T("LoadFromFile"), -1), 0u);
  EXPECT_EQ(::GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ControlsStream, AToolbarTheProgramChangedSinceIsMergedOnlyWhenTheUserSaysSo) {
  StreamFrame* frame = Start();
  frame->Bars()->GetToolBar(IDR_MAINFRAME)->GetControl(0)->SetCustomCaption(CString(_T("Mine")));
  Stop(frame);
  // A later version of the program drops the Standard toolbar's last button.
  const auto updated = [this] {
    StreamFrame* next = Start();
    CTKPControls* standard = next->Bars()->GetToolBar(IDR_MAINFRAME)->GetControls();
    int last = standard->GetCount() - 1;
    while (standard->GetAt(last)->IsTemporary()) --last;  // the expand button stays
    standard->Remove(last);
    standard->CreateOriginalControls();
    return next->Bars()->GetToolBar(IDR_MAINFRAME);
  };
  harness::ScopedSeams seams;
  CTKPToolBar* standard = updated();
  const int newCount = standard->GetControls()->GetOriginalControls()->GetCount();
  standard->GetCommandBars()->LoadBarState(kProfile, TRUE);  // silent: the new bar stays
  EXPECT_EQ(standard->GetControl(0)->GetCustomCaption(), CString());
  EXPECT_TRUE(seams.boxes.Log().empty());

  seams.boxes.Answer(IDYES);  // reset to the new bar
  standard->GetCommandBars()->LoadBarState(kProfile);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Due to a software update the toolbar 'Standard' has changed. Would you like "
                                       u"to reset your customized toolbar and load the new one?");
  EXPECT_EQ(standard->GetControl(0)->GetCustomCaption(), CString());

  seams.boxes.Answer(IDNO);  // keep the customized one, with the new bar's originals for a later reset
  standard->GetCommandBars()->LoadBarState(kProfile);
  EXPECT_EQ(standard->GetControl(0)->GetCustomCaption(), CString(_T("Mine")));
  EXPECT_EQ(standard->GetControls()->GetOriginalControls()->GetCount(), newCount);
}

TEST_F(ControlsStream, DamagedStreamsAreRefusedWholeAndTheBarsStayAsTheyWere) {
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame);
  ChangeStandard(frame);
  frame->Bars()->SaveBarState(kProfile);
  const std::vector<BYTE> good = StoredStream();
  ASSERT_GT(good.size(), 200u);
  // Damage only our own program could not have written: a button that claims to open a popup, and a
  // menu whose item opens that same menu.
  mine->GetControl(0)->SetType(tkpControlPopup);
  const std::vector<BYTE> wrongType = RawStream(frame->Bars());
  frame->Bars()->SaveBarState(kProfile);
  EXPECT_EQ(StoredStream(), good);  // the saver does not write what the loader would refuse
  mine->GetControl(0)->SetType(tkpControlButton);
  auto* more = static_cast<CTKPControlPopup*>(mine->GetControl(1));
  CTKPControl* loop = more->GetCommandBar()->GetControls()->Add(tkpControlPopup, 0);
  static_cast<CTKPControlPopup*>(loop)->SetCommandBar(more->GetCommandBar());
  const std::vector<BYTE> selfOpening = RawStream(frame->Bars());
  frame->Bars()->SaveBarState(kProfile);
  EXPECT_EQ(StoredStream(), good);
  static_cast<CTKPControlPopup*>(loop)->SetCommandBar(nullptr);  // the loop would keep the bars alive
  const UINT icon = static_cast<UINT>(mine->GetControl(0)->GetCustomIconId());
  Stop(frame);
  TKPImageManager()->RemoveAll();

  frame = Start();
  CTKPCommandBars* bars = frame->Bars();
  const std::wstring before = Describe(bars);
  const auto refused = [&](const std::vector<BYTE>& bytes, const char* what) {
    EXPECT_FALSE(bars->LoadCustomizedBars(bytes.data(), static_cast<UINT>(bytes.size()), TRUE)) << what;
    EXPECT_EQ(Describe(bars), before) << what;
  };
  for (size_t cut = 1; cut < good.size(); cut += 1 + good.size() / 97) {
    refused(std::vector<BYTE>(good.begin(), good.begin() + static_cast<long>(cut)), "cut short");
  }
  std::vector<BYTE> longer = good;
  longer.push_back(0);
  refused(longer, "a byte after the bars");
  refused(wrongType, "a button of the popup type");
  refused(selfOpening, "a menu that opens itself");
  unsigned seed = 7;
  for (int n = 0; n < 40; ++n) {
    std::vector<BYTE> garbage(1 + n * 37);
    for (BYTE& b : garbage) b = static_cast<BYTE>((seed = seed * 1103515245u + 12345u) >> 16);
    refused(garbage, "garbage");
  }
  // Garbage in the middle of a sound stream's class records.
  std::vector<BYTE> overwritten = good;
  for (size_t i = 4; i < 40 && i < overwritten.size(); ++i) overwritten[i] = 0xFF;
  refused(overwritten, "overwritten");

  // Through the profile value and through the file, at start-up: the layout is still read.
  std::vector<BYTE> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  theApp.WriteProfileBinary(kSection, _T("Controls"), cut.data(), static_cast<UINT>(cut.size()));
  theApp.WriteProfileInt(kSection, _T("LoadFromFile"), 0);
  bars->LoadBarState(kProfile);
  EXPECT_EQ(Describe(bars), before);
  const CString path = GetAppDataFileName(_T("CommandBars"));
  WriteFileBytes(path, cut);
  theApp.WriteProfileString(kSection, _T("Controls"), path);
  theApp.WriteProfileInt(kSection, _T("LoadFromFile"), 1);
  bars->LoadBarState(kProfile);
  EXPECT_EQ(Describe(bars), before);
  // Not even the images of a refused stream were taken; those of the sound stream in the same file are.
  EXPECT_EQ(bars->GetImageManager()->GetIconSet(icon), nullptr);
  WriteFileBytes(path, good);
  bars->LoadBarState(kProfile);
  EXPECT_NE(bars->GetToolBar(kMine), nullptr);
  EXPECT_NE(bars->GetImageManager()->GetIconSet(icon), nullptr);
  ::DeleteFileW(path);
}

TEST_F(ControlsStream, ImageIdsOutsideTheUsersOwnRangeAreRefused) {
  // A control's stored image id names the icons read with it: one that names a command would replace the
  // program's own icons of that command, one near the top of the range would leave no id for the next
  // image the user makes. Neither is written by this program.
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame);
  CTKPCommandBars* bars = frame->Bars();
  const UINT command = static_cast<UINT>(bars->GetToolBar(bars->GetAt(0)->GetBarID())->GetControl(0)->GetID());
  ASSERT_NE(bars->GetImageManager()->GetImage(command, 16), nullptr);
  // A stream as saved with the image id changed (a save would raise the manager's own count to it), and
  // the image set stored with it empty.
  const int own = mine->GetControl(0)->GetCustomIconId();
  TKPImageManager()->RemoveAll();
  bars->SaveBarState(kProfile);
  const std::vector<BYTE> good = StoredStream();
  const auto savedWith = [&](int id) { return WithValueChanged(good, own, id); };
  const std::vector<BYTE> namesCommand = savedWith(static_cast<int>(command));
  const std::vector<BYTE> topOfRange = savedWith(0x7FFFFFFF);
  const std::vector<BYTE> negative = savedWith(-5);
  Stop(frame);
  TKPImageManager()->RemoveAll();

  frame = Start();
  bars = frame->Bars();
  const std::wstring before = Describe(bars);
  EXPECT_FALSE(bars->LoadCustomizedBars(namesCommand.data(), static_cast<UINT>(namesCommand.size()), TRUE));
  EXPECT_NE(bars->GetImageManager()->GetImage(command, 16), nullptr);
  EXPECT_FALSE(bars->LoadCustomizedBars(topOfRange.data(), static_cast<UINT>(topOfRange.size()), TRUE));
  EXPECT_FALSE(bars->LoadCustomizedBars(negative.data(), static_cast<UINT>(negative.size()), TRUE));
  EXPECT_EQ(Describe(bars), before);
  const UINT next = bars->GetImageManager()->AddCustomIcon(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
  EXPECT_GT(static_cast<int>(next), 0);
}

TEST_F(ControlsStream, WidthsAndMarginsBeyondAnyScreenAreRefused) {
  // An edit or combo box as wide as an int, or a popup's margin, would overflow the layout's sums (the
  // toolbar came up empty).
  StreamFrame* frame = Start();
  AddMine(frame);
  auto* more = static_cast<CTKPPopupBar*>(frame->Bars()->GetToolBar(kMine)->GetControl(1)->GetCommandBar());
  more->SetMargins(CRect(2, 4, 1234, 4));
  const std::vector<BYTE> good = SavedAndStartedAgain(frame);
  CTKPCommandBars* bars = frame->Bars();
  ExpectEachRefused(bars, good, {{150, 0x7FFFFFF0}, {150, -1}, {1234, 0x7FFFFFF0}});
  // The same stream with widths a screen can hold is taken.
  const std::vector<BYTE> wide = WithValueChanged(good, 150, 32767);
  EXPECT_TRUE(bars->LoadCustomizedBars(wide.data(), static_cast<UINT>(wide.size()), TRUE));
}

TEST_F(ControlsStream, GridSelectorsAndHostedWindowsBeyondAnyScreenAreRefused) {
  // A grid of two billion columns is drawn cell by cell (the program hung), and a hosted window's size
  // or borders near an int overflow the bar's layout sums.
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame);
  auto* grid = new CTKPControlSelector;
  grid->SetItemsCount(CSize(5, 4));
  grid->SetItemsMax(CSize(12, 12));
  grid->SetItemSize(CSize(1231, 28));
  mine->GetControls()->Add(grid, 40003);
  auto* host = new CTKPControlCustom;
  host->SetSize(CSize(1233, 22));
  host->SetBorders(CRect(2, 1235, 2, 3));
  mine->GetControls()->Add(host, 40004);
  const std::vector<BYTE> good = SavedAndStartedAgain(frame);
  CTKPCommandBars* bars = frame->Bars();
  ExpectEachRefused(bars, good,
                    {{1231, 0}, {1231, 0x7FFFFFF0}, {1231, 3000}, {1233, 0x7FFFFFF0}, {1233, -4}, {1235, 32767}});
  // Sizes a screen can hold are taken, and come back as saved.
  EXPECT_TRUE(bars->LoadCustomizedBars(good.data(), static_cast<UINT>(good.size()), TRUE));
  CTKPToolBar* loaded = bars->GetToolBar(kMine);
  ASSERT_NE(loaded, nullptr);
  CTKPControl* loadedGrid = loaded->GetControls()->FindControl(40003);
  auto* selector = dynamic_cast<CTKPControlSelector*>(loadedGrid);
  ASSERT_NE(selector, nullptr);
  EXPECT_EQ(selector->GetItemSize(), CSize(1231, 28));
}

// Popup bars each opened by two popup controls of the bar before them, 32 deep: a stream of a few KB with
// 2^31 paths to its last bar, which comparing, copying or linking the bars would each walk (the program
// hung at start). It is refused, and the bars stay as they were.
TEST_F(ControlsStream, PopupsSharedAlongADeepChainAreRefused) {
  StreamFrame* frame = Start();
  CTKPToolBar* mine = AddMine(frame);
  CTKPCommandBar* bar = mine->GetControl(1)->GetCommandBar();
  ASSERT_NE(bar, nullptr);
  for (size_t depth = 1; depth < tkpstream::kMostPopupDepth; ++depth) {
    CTKPControl* first = bar->GetControls()->Add(tkpControlPopup, 0);
    CTKPCommandBar* next = first->GetCommandBar();
    ASSERT_NE(next, nullptr);
    static_cast<CTKPControlPopup*>(bar->GetControls()->Add(tkpControlPopup, 0))->SetCommandBar(next);
    bar = next;
  }
  // The saver does not write it: nothing is stored.
  const std::vector<BYTE> stream = RawStream(frame->Bars());
  EXPECT_LT(stream.size(), 32000u);
  EXPECT_TRUE(SavedAndStartedAgain(frame).empty());
  CTKPCommandBars* bars = frame->Bars();
  const std::wstring before = Describe(bars);
  EXPECT_FALSE(bars->LoadCustomizedBars(stream.data(), static_cast<UINT>(stream.size()), TRUE));
  EXPECT_EQ(Describe(bars), before);
}

// The loader itself over damaged copies of a real stream (the user's toolbar with its menu, popups shared
// along a short chain): cuts, and bytes with their bits flipped, through the whole stream either load whole or are refused
// with the bars left exactly as they were; none hangs or crashes.
TEST_F(ControlsStream, DamagedCopiesOfARealStreamLoadWholeOrAreRefusedWhole) {
  StreamFrame* frame = Start();
  CTKPCommandBar* bar = AddMine(frame)->GetControl(1)->GetCommandBar();
  for (int depth = 0; depth < 3; ++depth) {
    CTKPCommandBar* next = bar->GetControls()->Add(tkpControlPopup, 0)->GetCommandBar();
    static_cast<CTKPControlPopup*>(bar->GetControls()->Add(tkpControlPopup, 0))->SetCommandBar(next);
    bar = next;
  }
  const std::vector<BYTE> good = SavedAndStartedAgain(frame);
  CTKPCommandBars* bars = frame->Bars();
  std::wstring shown = Describe(bars);
  int loaded = 0, refused = 0;
  const auto load = [&](const std::vector<BYTE>& bytes) {
    if (bars->LoadCustomizedBars(bytes.data(), static_cast<UINT>(bytes.size()), TRUE)) {
      ++loaded;
      shown = Describe(bars);
      return;
    }
    ++refused;
    EXPECT_EQ(Describe(bars), shown);
  };
  for (size_t length = 1; length < good.size(); length += 1 + good.size() / 50) {
    load(std::vector<BYTE>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)));
  }
  for (size_t at = 0; at < good.size(); at += 1 + good.size() / 150) {
    std::vector<BYTE> bytes = good;
    bytes[at] ^= 0xFF;
    load(bytes);
  }
  EXPECT_GT(refused, 0);
  EXPECT_TRUE(bars->LoadCustomizedBars(good.data(), static_cast<UINT>(good.size()), TRUE));
  std::printf("damaged streams of %zu bytes: %d loaded, %d refused\n", good.size(), loaded, refused);
}

// Popup menus under a bar: count of them on it, each with the same number again under it (a menu tree
// of count * (count + 1) bars besides the bar itself).
void AddMenuTree(CTKPCommandBar* bar, int count, int depth = 2) {
  for (int i = 0; i < count; ++i) {
    CTKPControl* popup = bar->GetControls()->Add(tkpControlPopup, 0);
    popup->SetCaption(CString(_T("Menu ")) + CString(std::to_wstring(depth * 1000 + i).c_str()));
    if (depth > 1) AddMenuTree(popup->GetCommandBar(), count, depth - 1);
  }
}

// A big menu tree, more than a thousand popup bars, is saved and comes back whole at the next start.
TEST_F(ControlsStream, AMenuTreeOfThousandsOfBarsComesBack) {
  StreamFrame* frame = Start();
  AddMenuTree(AddMine(frame), 40);
  ASSERT_GT(BarsToSave(frame->Bars()), 1640);
  const std::wstring built = Describe(frame->Bars());
  Stop(frame);
  frame = Start();
  frame->Bars()->LoadBarState(kProfile);
  EXPECT_EQ(Describe(frame->Bars()), built);
}

// States a user or the program can build, at and past the most a stream holds, and random ones of every
// kind of control with their sizes at and past their ends. Whatever the saver writes, the loader takes
// back as it was; what it does not write (the older stream stays) the loader would have refused.
TEST_F(ControlsStream, WhateverTheSaverWritesTheLoaderTakes) {
  struct Case {
    const char* what;
    std::function<void(StreamFrame*, CTKPToolBar*)> build;
    bool written;
  };
  const auto popupsTo = [](size_t bars) {
    return [bars](StreamFrame* frame, CTKPToolBar* mine) {
      // Each new popup brings one bar (it has no original copy): menus of 64 popups reach the count exactly.
      CTKPCommandBar* menu = nullptr;
      for (size_t n = static_cast<size_t>(BarsToSave(frame->Bars())); n < bars; ++n) {
        if (menu == nullptr || menu->GetControls()->GetCount() == 64) {
          menu = mine->GetControls()->Add(tkpControlPopup, 0)->GetCommandBar();
        } else {
          menu->GetControls()->Add(tkpControlPopup, 0);
        }
      }
      ASSERT_EQ(static_cast<size_t>(BarsToSave(frame->Bars())), bars);
    };
  };
  const auto controls = [](int count) {
    return [count](StreamFrame*, CTKPToolBar* mine) {
      CTKPControls* menu = mine->GetControl(1)->GetCommandBar()->GetControls();
      while (menu->GetCount() < count) menu->Add(tkpControlButton, ID_SETTINGS);
    };
  };
  const auto chain = [](size_t depth) {
    return [depth](StreamFrame*, CTKPToolBar* mine) {
      CTKPCommandBar* bar = mine->GetControl(1)->GetCommandBar();  // the first popup, one deep
      for (size_t d = 1; d < depth; ++d) bar = bar->GetControls()->Add(tkpControlPopup, 0)->GetCommandBar();
    };
  };
  const auto width = [](int cx) {
    return [cx](StreamFrame*, CTKPToolBar* mine) { mine->GetControl(2)->SetWidth(cx); };
  };
  std::vector<Case> cases = {
      {"the most bars", popupsTo(tkpstream::kMostBars), true},
      {"a bar more", popupsTo(tkpstream::kMostBars + 1), false},
      {"the most controls in a menu", controls(static_cast<int>(tkpstream::kMostControls)), true},
      {"a control more", controls(static_cast<int>(tkpstream::kMostControls) + 1), false},
      {"popups as deep as they go", chain(tkpstream::kMostPopupDepth), true},
      {"a popup deeper", chain(tkpstream::kMostPopupDepth + 1), false},
      {"an edit as wide as a layout sums", width(tkpstream::kMostExtent), true},
      {"an edit wider", width(tkpstream::kMostExtent + 1), false},
  };
  // Random states: controls of every kind, captions of any length, sizes near and past their ends.
  for (unsigned seed = 1; seed <= 6; ++seed) {
    cases.push_back({"random", [seed](StreamFrame*, CTKPToolBar* mine) {
                       unsigned state = seed;
                       const auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 8; };
                       const int sizes[] = {0, 1, 255, 256, 257, 32767, 32768};
                       CTKPCommandBar* bar = mine;
                       for (int n = 0; n < 60; ++n) {
                         const int kinds[] = {tkpControlButton, tkpControlPopup, tkpControlEdit, tkpControlComboBox,
                                              tkpControlLabel, tkpControlButtonPopup, tkpControlSplitButtonPopup};
                         CTKPControl* c = bar->GetControls()->Add(kinds[next() % 7], 40100 + n);
                         c->SetCaption(CString(_T('c'), static_cast<int>(next() % 300)));
                         c->SetBeginGroup(next() % 2);
                         if (next() % 4 == 0) c->SetWidth(sizes[next() % 7]);
                         // Into a menu (a combo box's list is its items, not a bar of controls).
                         const bool menu = c->GetCommandBar() != nullptr && dynamic_cast<CTKPControlComboBox*>(c) == nullptr;
                         if (menu && next() % 2 == 0) bar = c->GetCommandBar();
                         if (next() % 9 == 0) bar->SetIconSize(CSize(sizes[next() % 7], 16));
                       }
                     },
                     true});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StreamFrame* frame = Start();
    CTKPToolBar* mine = AddMine(frame);
    frame->Bars()->SaveBarState(kProfile);
    const std::vector<BYTE> before = StoredStream();
    c.build(frame, mine);
    const std::wstring built = Describe(frame->Bars());
    const std::vector<BYTE> raw = RawStream(frame->Bars());
    frame->Bars()->SaveBarState(kProfile);
    const bool written = StoredStream() != before;
    if (std::string(c.what) != "random") {
      EXPECT_EQ(written, c.written);
    }
    frame->DestroyWindow();
    harness::PumpMessages();
    TKPImageManager()->RemoveAll();
    frame = Start();
    if (written) {
      frame->Bars()->LoadBarState(kProfile);
      EXPECT_EQ(Describe(frame->Bars()), built);
    } else {
      const std::wstring shown = Describe(frame->Bars());
      EXPECT_FALSE(frame->Bars()->LoadCustomizedBars(raw.data(), static_cast<UINT>(raw.size()), TRUE));
      EXPECT_EQ(Describe(frame->Bars()), shown);
    }
    frame->DestroyWindow();
    harness::PumpMessages();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
  }
}

// A stored custom control takes the window it names only when a custom control of the program hosts that
// window: one naming the frame's view leaves the view where it is and shows as a plain button.
TEST_F(ControlsStream, AStoredCustomControlTakesOnlyAWindowTheProgramPutOnABar) {
  constexpr UINT kEdit = 40010, kHost = 40004;
  // As the program builds its Tools bar: an edit box hosted by a custom control.
  const auto build = [](StreamFrame* frame) {
    auto* edit = new CEdit;
    edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 80, 20), frame, kEdit);
    auto* host = new CTKPControlCustom;
    host->SetSize(CSize(80, 20));
    CTKPToolBar* tools = frame->Bars()->GetToolBar(200);
    tools->GetControls()->Add(host, kHost);
    host->SetControl(edit);
    tools->OnRecalcLayout();
    return edit;
  };
  StreamFrame* frame = Start();
  build(frame);
  const std::vector<BYTE> good = SavedAndStartedAgain(frame);
  const auto hostOf = [](StreamFrame* f) {
    auto* custom = dynamic_cast<CTKPControlCustom*>(f->Bars()->GetToolBar(200)->GetControls()->FindControl(kHost));
    return custom != nullptr ? custom->GetControl() : reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
  };
  // The next run: the frame's view, and the Tools bar as the program builds it.
  CWnd view;
  ASSERT_TRUE(view.Create(_T("STATIC"), _T("view"), WS_CHILD | WS_VISIBLE, CRect(0, 100, 300, 300), frame, AFX_IDW_PANE_FIRST));
  CEdit* edit = build(frame);
  ASSERT_TRUE(frame->Bars()->LoadCustomizedBars(good.data(), static_cast<UINT>(good.size()), TRUE));
  EXPECT_EQ(hostOf(frame), edit->m_hWnd);
  EXPECT_EQ(::GetParent(edit->m_hWnd), frame->Bars()->GetToolBar(200)->m_hWnd);

  const std::vector<BYTE> namesView = WithValueChanged(good, static_cast<int>(kEdit), static_cast<int>(AFX_IDW_PANE_FIRST));
  ASSERT_TRUE(frame->Bars()->LoadCustomizedBars(namesView.data(), static_cast<UINT>(namesView.size()), TRUE));
  EXPECT_EQ(hostOf(frame), nullptr);
  EXPECT_EQ(::GetParent(view.m_hWnd), frame->m_hWnd);
  view.DestroyWindow();
}

}  // namespace
