// The verbs of an embedded object in a command bar menu, in a small container frame under Wine: a view
// that selects items of its container document, each item holding a fake object of the test's own (an
// IOleObject that lists its verbs and records the one it runs). The placeholder of a menu's verb place
// expands into a popup of the verbs, or one entry for one verb; an item active in place gives nothing;
// choosing a verb runs it on the item. AfxOleSetEditMenu puts the same entries into a plain menu.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/coledocument.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane OLE Verbs Test")) {}
};
TestApp theApp;

LPOLESTR TaskText(const wchar_t* text) {
  const size_t bytes = (::lstrlenW(text) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
  std::memcpy(copy, text, bytes);
  return copy;
}

struct FakeVerb {
  LONG number;
  const wchar_t* name;
  DWORD attributes = OLEVERBATTRIB_ONCONTAINERMENU;
};

class FakeVerbList final : public IEnumOLEVERB {
 public:
  explicit FakeVerbList(std::vector<FakeVerb> verbs) : m_verbs(std::move(verbs)) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown || riid == IID_IEnumOLEVERB ? this : nullptr;
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP Next(ULONG count, OLEVERB* verbs, ULONG* fetched) override {
    ULONG n = 0;
    for (; n < count && m_next < m_verbs.size(); ++n, ++m_next) {
      const FakeVerb& verb = m_verbs[m_next];
      verbs[n] = OLEVERB{verb.number, TaskText(verb.name), 0, verb.attributes};
    }
    if (fetched != nullptr) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG) override { return E_NOTIMPL; }
  STDMETHODIMP Reset() override { m_next = 0; return S_OK; }
  STDMETHODIMP Clone(IEnumOLEVERB**) override { return E_NOTIMPL; }

 private:
  std::vector<FakeVerb> m_verbs;
  size_t m_next = 0;
  ULONG m_refs = 1;
};

#define NOT_ASKED(name, ...) \
  STDMETHODIMP name(__VA_ARGS__) override { return E_NOTIMPL; }

// An embedded object of the test: its type, its verbs, and the verbs it was asked to run.
class FakeObject final : public IOleObject {
 public:
  FakeObject(const wchar_t* type, std::vector<FakeVerb> verbs) : m_type(type), m_verbs(std::move(verbs)) {}
  std::vector<LONG> ran;
  HWND ranIn = nullptr;
  ULONG refs = 1;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown || riid == IID_IOleObject ? this : nullptr;
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }  // the test's fixture owns it
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** list) override {
    *list = new FakeVerbList(m_verbs);
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override {
    *type = form == USERCLASSTYPE_SHORT ? TaskText(m_type) : nullptr;
    return *type != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT) override {
    ran.push_back(verb);
    ranIn = parent;
    return S_OK;
  }
  // What a container's menu never asks of an object.
  NOT_ASKED(SetClientSite, IOleClientSite*) NOT_ASKED(GetClientSite, IOleClientSite**)
  NOT_ASKED(SetHostNames, LPCOLESTR, LPCOLESTR) NOT_ASKED(Close, DWORD) NOT_ASKED(SetMoniker, DWORD, IMoniker*)
  NOT_ASKED(GetMoniker, DWORD, DWORD, IMoniker**) NOT_ASKED(InitFromData, IDataObject*, BOOL, DWORD)
  NOT_ASKED(GetClipboardData, DWORD, IDataObject**) NOT_ASKED(Update) NOT_ASKED(IsUpToDate)
  NOT_ASKED(GetUserClassID, CLSID*) NOT_ASKED(SetExtent, DWORD, SIZEL*) NOT_ASKED(GetExtent, DWORD, SIZEL*)
  NOT_ASKED(Advise, IAdviseSink*, DWORD*) NOT_ASKED(Unadvise, DWORD) NOT_ASKED(EnumAdvise, IEnumSTATDATA**)
  NOT_ASKED(GetMiscStatus, DWORD, DWORD*) NOT_ASKED(SetColorScheme, LOGPALETTE*)

 private:
  const wchar_t* m_type;
  std::vector<FakeVerb> m_verbs;
};

// An item whose state the test sets (our items have no in-place site to become active by themselves).
class TestItem : public COleClientItem {
 public:
  using COleClientItem::COleClientItem;
  void SetState(UINT state) { m_nItemState = state; }
};

class ContainerDoc : public COleDocument {
  DECLARE_DYNCREATE(ContainerDoc)
};
IMPLEMENT_DYNCREATE(ContainerDoc, COleDocument)

class ContainerView : public CView {
  DECLARE_DYNCREATE(ContainerView)

 public:
  std::set<const CObject*> selected;
  // A selected object as a framed box.
  void OnDraw(CDC* pDC) override {
    if (selected.empty()) return;
    CRect box(300, 40, 450, 150);
    pDC->FillSolidRect(box, RGB(255, 255, 224));
    pDC->Draw3dRect(box, ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(_T("Bitmap Image"), box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  BOOL IsSelected(const CObject* pDocItem) const override { return selected.count(pDocItem) != 0; }
};
IMPLEMENT_DYNCREATE(ContainerView, CView)

// A menu of buttons along the frame's top.
class MenuBar : public CTKPCommandBar {
 public:
  BOOL Create(CWnd* pParent) {
    return CWnd::Create(AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), _T("Edit"), WS_CHILD | WS_VISIBLE,
                        CRect(0, 0, 400, 24), pParent, 0xE830);
  }
};

const std::vector<FakeVerb> kPaintVerbs = {
    {0, L"&Edit"}, {1, L"&Open"}, {-1, L"Show"}, {2, L"Hidden", 0}, {40, L"Too far"}};

class OleVerbs : public ::testing::Test {
 protected:
  void SetUp() override {
    document = new ContainerDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(ContainerView);
    context.m_pCurrentDoc = document;
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, _T("Container"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 520, 340), nullptr,
                              nullptr, 0, &context));
    frame->InitialUpdateFrame(document, TRUE);
    view = static_cast<ContainerView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    bar = new MenuBar;
    ASSERT_TRUE(bar->Create(frame));
    bar->GetControls()->Add(tkpControlButton, 100)->SetCaption(_T("&Insert New Object..."));
    placeholder = bar->GetControls()->Add(new CTKPControlOleItems, ID_OLE_VERB_FIRST);
    placeholder->SetCaption(_T("<<OLE VERBS GO HERE>>"));
    harness::PumpMessages();
  }
  void TearDown() override {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();  // the view goes, the document and its items with it
    harness::PumpMessages();
    bar->InternalRelease();
  }
  // An object that outlives the frame, its document and their items.
  FakeObject* Make(const wchar_t* type, std::vector<FakeVerb> verbs) {
    objects.push_back(std::make_unique<FakeObject>(type, std::move(verbs)));
    return objects.back().get();
  }
  // An item of the document holding the object, selected in the view.
  TestItem* Select(FakeObject* object) {
    auto* item = new TestItem(document);
    item->SetOleObject(object);
    view->selected.insert(item);
    return item;
  }

  std::vector<std::unique_ptr<FakeObject>> objects;
  ContainerDoc* document = nullptr;
  CFrameWnd* frame = nullptr;
  ContainerView* view = nullptr;
  MenuBar* bar = nullptr;
  CTKPControl* placeholder = nullptr;
};

TEST_F(OleVerbs, TheVerbPlaceOfAMenuMakesTheVerbsControl) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, _T("<<OLE VERBS GO HERE>>"));
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, _T("&Object"));
  ASSERT_TRUE(bar->LoadMenu(&menu, TRUE));
  ASSERT_EQ(bar->GetControlCount(), 2);
  EXPECT_TRUE(bar->GetControl(0)->IsKindOf(RUNTIME_CLASS(CTKPControlOleItems)));
  EXPECT_FALSE(bar->GetControl(1)->IsKindOf(RUNTIME_CLASS(CTKPControlOleItems)));
  EXPECT_EQ(bar->GetControl(1)->GetID(), static_cast<int>(ID_OLE_VERB_FIRST));
}

TEST_F(OleVerbs, SeveralVerbsBecomeAPopupAndChoosingOneRunsIt) {
  FakeObject& paint = *Make(L"Bitmap Image", kPaintVerbs);
  Select(&paint);
  placeholder->OnCalcDynamicSize(0);
  ASSERT_EQ(bar->GetControlCount(), 3);
  EXPECT_FALSE(placeholder->IsVisible());
  CTKPControl* popup = bar->GetControl(2);
  EXPECT_EQ(popup->GetType(), tkpControlPopup);
  EXPECT_EQ(popup->GetCaption(), CString(_T("Bitmap Image &Object")));
  EXPECT_EQ(popup->GetParameter(), CString(_T("OLEMENUPOPUP")));
  EXPECT_EQ(popup->GetID(), 0);
  EXPECT_TRUE(popup->IsTemporary());
  CTKPCommandBar* verbs = popup->GetCommandBar();
  ASSERT_NE(verbs, nullptr);
  ASSERT_EQ(verbs->GetControlCount(), 2);  // no negative verb, none off the container's menu or past the ids
  EXPECT_EQ(verbs->GetControl(0)->GetCaption(), CString(_T("&Edit")));
  EXPECT_EQ(verbs->GetControl(1)->GetCaption(), CString(_T("&Open")));
  EXPECT_EQ(verbs->GetControl(1)->GetID(), static_cast<int>(ID_OLE_VERB_FIRST + 1));

  popup->SetRect(CRect(0, 0, 160, 22));
  ASSERT_TRUE(popup->OnSetPopup(TRUE));  // the verbs open below the entry
  verbs->GetControl(1)->OnExecute();
  EXPECT_EQ(paint.ran, std::vector<LONG>{1});
  EXPECT_EQ(paint.ranIn, view->m_hWnd);

  placeholder->OnCalcDynamicSize(0);  // laid out again: the old popup goes before the new comes
  EXPECT_EQ(bar->GetControlCount(), 3);
  document->DeleteContents();
  EXPECT_EQ(paint.refs, 1u);  // the item let go of its object
}

TEST_F(OleVerbs, OneVerbIsOneEntryThatRunsIt) {
  FakeObject& sound = *Make(L"Sound & Music", {{3, L"&Play"}});
  Select(&sound);
  placeholder->OnCalcDynamicSize(0);
  ASSERT_EQ(bar->GetControlCount(), 3);
  CTKPControl* entry = bar->GetControl(2);
  EXPECT_EQ(entry->GetType(), tkpControlButton);
  EXPECT_EQ(entry->GetCaption(), CString(_T("Play Sound && Music &Object")));
  EXPECT_EQ(entry->GetID(), static_cast<int>(ID_OLE_VERB_FIRST + 3));
  EXPECT_TRUE(entry->GetEnabled());
  entry->OnExecute();
  EXPECT_EQ(sound.ran, std::vector<LONG>{3});
}

TEST_F(OleVerbs, NoSelectionOrAnItemActiveInPlaceGivesNothing) {
  FakeObject& paint = *Make(L"Bitmap Image", kPaintVerbs);
  placeholder->OnCalcDynamicSize(0);
  EXPECT_EQ(bar->GetControlCount(), 2);
  EXPECT_FALSE(placeholder->IsVisible());  // its caption only marks the place
  TestItem* item = Select(&paint);
  Select(&paint);
  placeholder->OnCalcDynamicSize(0);
  EXPECT_EQ(bar->GetControlCount(), 2);  // two selected: neither is the primary one
  view->selected = {item};
  item->SetState(COleClientItem::activeState);
  placeholder->OnCalcDynamicSize(0);
  EXPECT_EQ(bar->GetControlCount(), 2);
  // Without a selected item a verb command is not the document's.
  view->selected.clear();
  frame->SendMessage(WM_COMMAND, ID_OLE_VERB_FIRST, 0);
  EXPECT_TRUE(paint.ran.empty());
}

// The container's Edit menu of the manager, opened with the selected picture's verbs open beside it:
// commandbars_ole_verbs.png.
TEST_F(OleVerbs, TheEditMenuShowsTheVerbsOfTheSelectedObject) {
  Select(Make(L"Bitmap Image", kPaintVerbs));
  bar->ShowWindow(SW_HIDE);
  view->Invalidate();
  auto* bars = static_cast<CTKPCommandBars*>(RUNTIME_CLASS(CTKPCommandBars)->CreateObject());
  bars->SetSite(frame);
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, ID_EDIT_CUT, _T("Cu&t"));
  menu.AppendMenu(MF_STRING, ID_EDIT_PASTE, _T("&Paste"));
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, _T("<<OLE VERBS GO HERE>>"));
  CTKPPopupBar* edit = CTKPPopupBar::CreatePopupBar(bars);
  ASSERT_TRUE(edit->LoadMenu(&menu));
  CRect client;
  frame->GetClientRect(client);
  frame->ClientToScreen(client);
  ASSERT_TRUE(edit->Popup(client.left + 8, client.top + 8, nullptr));
  harness::PumpMessages();
  ASSERT_EQ(edit->GetControlCount(), 4);
  auto* verbs = static_cast<CTKPControlPopup*>(edit->GetControl(3));
  EXPECT_EQ(verbs->GetCaption(), CString(_T("Bitmap Image &Object")));
  EXPECT_TRUE(verbs->GetBeginGroup());  // the separator before the placeholder
  EXPECT_FALSE(verbs->GetRect().IsRectEmpty());
  ASSERT_TRUE(verbs->OnSetPopup(TRUE));
  harness::PumpMessages();
  EXPECT_TRUE(verbs->GetCommandBar()->IsVisible());
  EXPECT_FALSE(harness::CaptureThreadWindows("commandbars_ole_verbs").empty());
  edit->SetTrackingMode(0);
  edit->InternalRelease();
  bars->InternalRelease();
}

TEST_F(OleVerbs, APlainMenusVerbPlaceTakesTheVerbs) {
  FakeObject& paint = *Make(L"Bitmap Image", kPaintVerbs);
  TestItem* item = Select(&paint);
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 100, _T("&Insert New Object..."));
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, _T("<<OLE VERBS GO HERE>>"));
  menu.AppendMenu(MF_STRING, 101, _T("&Links..."));
  AfxOleSetEditMenu(item, &menu, 1, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  ASSERT_EQ(menu.GetMenuItemCount(), 3);
  CString text;
  menu.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, CString(_T("Bitmap Image &Object")));
  ASSERT_NE(menu.GetSubMenu(1), nullptr);
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuItemCount(), 2);
  // Without an item the place is a greyed entry.
  AfxOleSetEditMenu(nullptr, &menu, 1, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  menu.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, CString(_T("&Object")));
  EXPECT_NE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED, 0u);
}

}  // namespace
