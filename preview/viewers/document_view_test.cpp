// The document view in real windows: text files in their encodings, RTF streamed in, the flag for files
// that show nothing, a PDF without its control (not available, no box), Word documents through the test's
// stand-in Office and through the test converter, the rich-edit control's object storages and the objects
// it lets in (static pictures only). Screenshots preview_text.png and preview_rtf.png.
#include "preview/viewers/document_view.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "preview/preview_host.h"
#include "preview/viewers/office_automation.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

class HostFrame : public CFrameWnd, public PreviewHost {};
int g_documentsDestroyed = 0;

class HostDocument : public CDocument, public PreviewDocument {
 public:
  ~HostDocument() override { ++g_documentsDestroyed; }
};
class PaneView : public CView {
 protected:
  void OnDraw(CDC*) override {}
};

CWinApp& App() {
  static CWinApp app(_T("DocumentViewTest"));
  return app;
}

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return folder;
}

CString WriteTemp(const std::wstring& name, const std::string& bytes) {
  const std::wstring path = TempFolder() + name;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return CString(path.c_str());
}


// A frame that is the preview's host, a document, and a pane-like view the document views are children of.
class Host {
 public:
  explicit Host(int width = 520, int height = 300) : width_(width), height_(height) {
    frame = new HostFrame;
    CRect rect(0, 0, width, height);
    ::AdjustWindowRectEx(rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    frame->Create(nullptr, _T("Document"), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                  RECT{40, 40, 40 + rect.Width(), 40 + rect.Height()});
    App().m_pMainWnd = frame;
    CCreateContext context;
    context.m_pCurrentDoc = &document;
    pane = new PaneView;
    pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}, frame, 0xE901, &context);
    frame->SetActiveView(pane, FALSE);
    harness::PumpMessages();
  }
  ~Host() {
    App().m_pMainWnd = nullptr;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    harness::PumpMessages();
  }

  // As the pane does: the path to the document, the flag set, the view created and sized.
  CAdobeReaderView* Show(const CString& path) {
    document.m_previewPath = path;
    frame->m_bPreviewOk = 1;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CAdobeReaderView);
    context.m_pCurrentDoc = &document;
    CWnd* view = CFrameWnd::CreateView(pane, &context, 0xE902 + shown_++);
    if (view == nullptr) return nullptr;
    views_.push_back(view);
    view->MoveWindow(0, 0, width_, height_);
    view->ShowWindow(SW_SHOW);
    view->UpdateWindow();
    harness::PumpMessages();
    return static_cast<CAdobeReaderView*>(view);
  }

  static std::wstring Text(CAdobeReaderView* view) {
    HWND edit = view->m_richEdit.GetSafeHwnd();
    const int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), length + 1)));
    return text;
  }

  void DestroyViews() {
    for (CWnd* view : views_)
      if (::IsWindow(view->GetSafeHwnd())) view->DestroyWindow();
    views_.clear();
    harness::PumpMessages();
  }

  HostFrame* frame = nullptr;
  HostDocument document;
  PaneView* pane = nullptr;

 private:
  int width_;
  int height_;
  int shown_ = 0;
  std::vector<CWnd*> views_;
};

class DocumentView : public harness::SeamTest {
 protected:
  // COM for the whole suite; a frame of its own for every test.
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  void SetUp() override {
    harness::SeamTest::SetUp();
    host_ = new Host;
  }
  void TearDown() override {
    host_->DestroyViews();
    delete host_;
    host_ = nullptr;
    harness::SeamTest::TearDown();
  }
  static Host* host_;
};

Host* DocumentView::host_ = nullptr;

const char kGreekAndCyrillic[] =
    "\xEF\xBB\xBF"
    "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5\r\n"
    "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80\n"
    "Recovered notes: caf\xC3\xA9, na\xC3\xAF" "ve, \xE2\x82\xAC" "12\n"
    "int main() { return 0; }\n";
const wchar_t kGreekAndCyrillicText[] =
    L"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u03BA\u03CC\u03C3\u03BC\u03B5\r\n"
    L"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440\r\n"
    L"Recovered notes: caf\u00E9, na\u00EFve, \u20AC12\r\n"
    L"int main() { return 0; }\r\n";

TEST_F(DocumentView, Utf8TextShowsInTheViewsFontAndIsReadOnly) {
  Host& host = *host_;
  const CString path = WriteTemp(L"dorvane notes.txt", kGreekAndCyrillic);
  CAdobeReaderView* view = host.Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(Host::Text(view), kGreekAndCyrillicText);
  EXPECT_NE(view->m_richEdit.GetStyle() & ES_READONLY, 0u);
  wchar_t className[32] = {};
  ::GetClassNameW(view->m_richEdit.GetSafeHwnd(), className, 32);
  EXPECT_STREQ(className, RICHEDIT_CLASSW);
  CRect client, edit;
  view->GetClientRect(client);
  view->m_richEdit.GetClientRect(edit);
  EXPECT_GT(edit.Width(), client.Width() - 30);  // the control covers the view (less border and bar)
  harness::CaptureWindow(host.frame->m_hWnd, "preview_text");
  ::DeleteFileW(path);
}

TEST_F(DocumentView, Utf16FilesInBothOrdersAndTheExtensionRules) {
  Host& host = *host_;
  const std::string little("\xFF\xFE" "A\0\x3B\x04\r\0\n\0" "b\0", 12);
  const std::string big("\xFE\xFF\0A\x04\x3B\0\n\0b", 10);
  const std::pair<std::wstring, std::string> files[] = {
      {L"little.TXT", little}, {L"big.cpp", big}, {L"report.backup.ini", little}, {L"no_extension_at_all", big}};
  for (const auto& [name, bytes] : files) {
    const CString path = WriteTemp(name, bytes);
    CAdobeReaderView* view = host.Show(path);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
    EXPECT_EQ(Host::Text(view), L"A\u043B\r\nb") << name;
    host.DestroyViews();
    ::DeleteFileW(path);
  }
}

// Filled while it has no width, the control wraps nothing; once sized, long lines wrap at its edge and
// the text keeps the view's font.
TEST_F(DocumentView, LongLinesWrapAtTheEdgeOnceTheViewIsSized) {
  Host& host = *host_;
  std::string line;
  for (int i = 0; i < 40; ++i) line += "word" + std::to_string(i) + " ";
  const CString path = WriteTemp(L"dorvane long line.txt", line + "\r\nshort\r\n");
  CAdobeReaderView* view = host.Show(path);
  ASSERT_NE(view, nullptr);
  const LRESULT lines = view->m_richEdit.SendMessage(EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 3) << "the long line is wrapped";
  EXPECT_LT(lines, 20) << "at the edge, not at every character";
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  view->m_richEdit.SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_STREQ(format.szFaceName, L"Arial");
  EXPECT_EQ(format.bPitchAndFamily, FF_SWISS | DEFAULT_PITCH);  // Arial's family, the pitch left to the face
  ::DeleteFileW(path);
}

TEST_F(DocumentView, AMissingTextFileClearsTheFlagAndLeavesTheControlEmpty) {
  Host& host = *host_;
  CAdobeReaderView* view = host.Show(CString(TempFolder().c_str()) + _T("no such file.txt"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(Host::Text(view), L"");
}

const char kRtf[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red0\\green0\\blue0;"
    "\\red31\\green78\\blue121;}\\f0\\fs20 "
    "\\cf2\\b Quarterly report\\b0\\cf1\\par "
    "Recovered from a deleted folder of a VHDX image.\\par "
    "\\i Figures\\i0 : \\u1040?\\u1041?\\u1042? \\u945?\\u946?\\u947?\\par "
    "\\f1 total = 42;\\f0\\par }";

TEST_F(DocumentView, RtfStreamsIn) {
  Host& host = *host_;
  const CString path = WriteTemp(L"dorvane report.rtf", kRtf);
  CAdobeReaderView* view = host.Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  const std::wstring text = Host::Text(view);
  EXPECT_NE(text.find(L"Quarterly report"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"\u0410\u0411\u0412 \u03B1\u03B2\u03B3"), std::wstring::npos);
  EXPECT_EQ(text.find(L"\\rtf"), std::wstring::npos);  // read as RTF, not as text
  harness::CaptureWindow(host.frame->m_hWnd, "preview_rtf");
  ::DeleteFileW(path);
}

// The character format of the first character of the words in the control.
CHARFORMAT2W FormatOf(CAdobeReaderView* view, const std::wstring& words) {
  const std::wstring text = Host::Text(view);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  const size_t at = text.find(words);
  EXPECT_NE(at, std::wstring::npos) << text;
  if (at == std::wstring::npos) return format;
  view->m_richEdit.SendMessage(EM_SETSEL, at, at + 1);
  view->m_richEdit.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

// As WordPad writes it: no \plain, so the text before the first \b0 takes the control's default format.
const char kWordPadRtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Regular opening line.\\par\r\n"
    "\\b Bold heading\\b0\\par\r\n"
    "Regular closing line.\\par\r\n}\r\n";

TEST_F(DocumentView, WordPadRtfIsRegularWhereItSaysNothingElse) {
  Host& host = *host_;
  const CString path = WriteTemp(L"dorvane wordpad.rtf", kWordPadRtf);
  CAdobeReaderView* view = host.Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  for (const auto& [words, bold] : {std::pair<const wchar_t*, bool>{L"Regular opening", false}, {L"Bold heading", true},
                                    {L"Regular closing", false}}) {
    const CHARFORMAT2W format = FormatOf(view, words);
    ASSERT_NE(format.dwMask & CFM_BOLD, 0u) << words;
    EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, bold) << words;
    EXPECT_EQ(format.yHeight, 220) << words;  // \fs22: 11 points
  }
  harness::CaptureWindow(host.frame->m_hWnd, "preview_rtf_wordpad");
  ::DeleteFileW(path);
}

// Text without a byte-order mark whose bytes are UTF-8 shows its letters; a UTF-16 text shows past a
// stretch of NULs.
TEST_F(DocumentView, UnmarkedUtf8AndTextAfterNulsShow) {
  Host& host = *host_;
  const CString utf8 = WriteTemp(L"dorvane lettre.txt", "Voil\xC3\xA0 la lettre \xE2\x80\x94 \xC3\xA9l\xC3\xA8ve\r\n");
  CAdobeReaderView* view = host.Show(utf8);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Host::Text(view), L"Voil\u00E0 la lettre \u2014 \u00E9l\u00E8ve\r\n");
  harness::CaptureWindow(host.frame->m_hWnd, "preview_text_utf8");
  host.DestroyViews();
  std::string zeroed("\xFF\xFE" "b\0e\0f\0o\0r\0e\0", 14);
  zeroed += std::string(64, '\0') + std::string("a\0f\0t\0e\0r\0", 10);
  const CString wide = WriteTemp(L"dorvane zeroed.txt", zeroed);
  view = host.Show(wide);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Host::Text(view), L"before" + std::wstring(32, L' ') + L"after");
  ::DeleteFileW(utf8);
  ::DeleteFileW(wide);
}

TEST_F(DocumentView, RtfThatShowsNothingClearsTheFlag) {
  Host& host = *host_;
  const CString empty = WriteTemp(L"empty.rtf", "");
  ASSERT_NE(host.Show(empty), nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  ::DeleteFileW(empty);
  ASSERT_NE(host.Show(CString(TempFolder().c_str()) + _T("missing.rtf")), nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  // Plain text named ".rtf" is read as RTF, which it is not: nothing shows.
  const CString plain = WriteTemp(L"plain.rtf", "Just a few words, no markup.\r\n");
  CAdobeReaderView* view = host.Show(plain);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(Host::Text(view), L"");
  ::DeleteFileW(plain);
}

TEST_F(DocumentView, APdfWithoutItsControlIsNotAvailableWithoutABox) {
  Host& host = *host_;
  const CString path = WriteTemp(L"scan.PDF", "%PDF-1.4\n%%EOF\n");
  host.frame->m_bComponentMissing = 0;
  EXPECT_EQ(host.Show(path), nullptr);  // the pane then shows its not-available picture
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(host.frame->m_bComponentMissing, 1u);
  EXPECT_TRUE(seams.boxes.Log().empty());
  ::DeleteFileW(path);
}

TEST_F(DocumentView, TheOleCallbackNamesItsStoragesInOrder) {
  RichEditOleCallback* callback = new RichEditOleCallback;
  callback->AddRef();
  IStorage* storages[3] = {};
  for (IStorage*& storage : storages) ASSERT_EQ(callback->GetNewStorage(&storage), S_OK);
  std::vector<std::wstring> names;
  IEnumSTATSTG* elements = nullptr;
  ASSERT_EQ(callback->Root()->EnumElements(0, nullptr, 0, &elements), S_OK);
  STATSTG stat{};
  while (elements->Next(1, &stat, nullptr) == S_OK) {
    names.push_back(stat.pwcsName);
    ::CoTaskMemFree(stat.pwcsName);
  }
  elements->Release();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"REOLEStorage1", L"REOLEStorage2", L"REOLEStorage3"}));
  for (IStorage* storage : storages) storage->Release();
  void* unknown = nullptr;
  EXPECT_EQ(callback->QueryInterface(IID_IDataObject, &unknown), E_NOINTERFACE);
  EXPECT_EQ(unknown, nullptr);
  EXPECT_EQ(callback->Release(), 0u);
}

// Recovered RTF comes from an untrusted disk: an embedded object of any class but a static picture is
// refused before it could be loaded (which would start the server its class names).
TEST_F(DocumentView, OnlyStaticPicturesAreLetIntoTheText) {
  RichEditOleCallback* callback = new RichEditOleCallback;
  callback->AddRef();
  const CLSID package = {0x0003000C, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  const CLSID anyControl = {0xD8D3A8F6, 0x46EF, 0x4424, {0xAE, 0x49, 0x43, 0x76, 0xF1, 0xFE, 0x1E, 0xB4}};
  const CLSID staticMetafile = {0x00000315, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  const CLSID staticDib = {0x00000316, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  const CLSID enhMetafile = {0x00000319, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  for (CLSID refused : {package, anyControl}) EXPECT_NE(callback->QueryInsertObject(&refused, nullptr, 0), S_OK);
  for (CLSID taken : {staticMetafile, staticDib, enhMetafile, CLSID_NULL})
    EXPECT_EQ(callback->QueryInsertObject(&taken, nullptr, 0), S_OK);
  // Without a class named, the one written in the object's storage decides; with neither, nothing goes in.
  IStorage* storage = nullptr;
  ASSERT_EQ(callback->GetNewStorage(&storage), S_OK);
  ASSERT_EQ(::WriteClassStg(storage, package), S_OK);
  EXPECT_NE(callback->QueryInsertObject(nullptr, storage, 0), S_OK);
  ASSERT_EQ(::WriteClassStg(storage, staticDib), S_OK);
  EXPECT_EQ(callback->QueryInsertObject(nullptr, storage, 0), S_OK);
  storage->Release();
  EXPECT_NE(callback->QueryInsertObject(nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(callback->Release(), 0u);

  // A picture in the RTF still shows, as one object among the text.
  const char picture[] =
      "{\\rtf1\\ansi Before {\\pict\\dibitmap0\\picw1\\pich1\\picwgoal600\\pichgoal600 "
      "28000000010000000100000001001800000000000400000000000000000000000000000000000000"
      "0000ff00} after.\\par}";
  const CString path = WriteTemp(L"dorvane picture.rtf", picture);
  CAdobeReaderView* view = host_->Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host_->frame->m_bPreviewOk, 1u);
  IRichEditOle* ole = nullptr;
  view->m_richEdit.SendMessage(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
  ASSERT_NE(ole, nullptr);
  EXPECT_EQ(ole->GetObjectCount(), 1);
  ole->Release();
  ::DeleteFileW(path);
}

// An in-process COM server of the test's, registered (in the machine's classes: COM here does not read the
// current user's) while it lives.
class RegisteredServer {
 public:
  RegisteredServer(const wchar_t* clsid, const char* dll, const wchar_t* progId = nullptr)
      : clsid_(clsid), progId_(progId) {
    std::wstring path(dll, dll + std::strlen(dll));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (progId_ != nullptr) Set(std::wstring(progId_) + L"\\CLSID", nullptr, clsid_);
    const std::wstring server = std::wstring(L"CLSID\\") + clsid_ + L"\\InprocServer32";
    Set(server, nullptr, L"Z:" + path);
    Set(server, L"ThreadingModel", L"Apartment");
  }
  ~RegisteredServer() {
    if (progId_ != nullptr) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, progId_);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid_).c_str());
  }

 private:
  static void Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    ::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
  }
  const wchar_t* clsid_;
  const wchar_t* progId_;
};

// The stand-in Office as "Word.Application".
class FakeWord : public RegisteredServer {
 public:
  FakeWord()
      : RegisteredServer(L"{5B0E4C1A-7D3F-4E21-9A8B-1F2E3D4C5B61}", DORVANE_FAKE_OFFICE_DLL, L"Word.Application") {}
};

// ---- PDF through the test's control ------------------------------------------------------------------

class FakePdfControl : public RegisteredServer {
 public:
  FakePdfControl() : RegisteredServer(L"{D8D3A8F6-46EF-4424-AE49-4376F1FE1EB4}", DORVANE_FAKE_PDF_CONTROL_DLL) {}
};

TEST_F(DocumentView, ThePdfControlsAnswerIsThePreviewsOutcome) {
  FakePdfControl control;
  host_->frame->m_bComponentMissing = 0;
  ::SetEnvironmentVariableW(L"FAKE_PDF_ACTIVATIONS", nullptr);
  const std::pair<std::string, uint32_t> files[] = {
      {"%PDF-1.4\n%%EOF\n", 1u},  // opened
      {"not a PDF at all", 0u},    // refused: not shown as a success
      {"%FAIL", 0u},               // the call itself fails
  };
  for (const auto& [bytes, ok] : files) {
    const CString path = WriteTemp(L"scan.pdf", bytes);
    CAdobeReaderView* view = host_->Show(path);
    ASSERT_NE(view, nullptr) << bytes;
    EXPECT_EQ(host_->frame->m_bPreviewOk, ok) << bytes;
    EXPECT_EQ(host_->frame->m_bComponentMissing, 0u) << bytes;  // a refused file is the file's fault
    EXPECT_NE(view->m_pdf.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(view->m_pdf.IsInPlaceActive());
    EXPECT_EQ(view->m_richEdit.GetSafeHwnd(), nullptr);
    CRect client, pdf;
    view->GetClientRect(client);
    view->m_pdf.GetWindowRect(pdf);
    EXPECT_EQ(pdf.Size(), client.Size());
    host_->DestroyViews();
    ::DeleteFileW(path);
  }
  wchar_t activations[16] = {};
  ::GetEnvironmentVariableW(L"FAKE_PDF_ACTIVATIONS", activations, 16);
  EXPECT_STREQ(activations, L"3");  // each view activated its control in place
}

// The control is on the machine but cannot be put in its window: "Unable to open." as an error, and no view.
TEST_F(DocumentView, APdfControlThatCannotBeShownSaysUnableToOpen) {
  FakePdfControl control;
  ::SetEnvironmentVariableW(L"FAKE_PDF_REFUSE_ACTIVATION", L"1");
  const CString path = WriteTemp(L"scan.pdf", "%PDF-1.4\n%%EOF\n");
  host_->frame->m_bComponentMissing = 0;
  seams.boxes.Answer(IDOK);
  EXPECT_EQ(host_->Show(path), nullptr);
  ::SetEnvironmentVariableW(L"FAKE_PDF_REFUSE_ACTIVATION", nullptr);
  EXPECT_EQ(host_->frame->m_bPreviewOk, 0u);
  EXPECT_EQ(host_->frame->m_bComponentMissing, 0u);
  const auto boxes = seams.boxes.Log();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"Unable to open.");
  EXPECT_EQ(boxes[0].kind(), 2u);
  ::DeleteFileW(path);
}

// ---- Word documents ------------------------------------------------------------------------------------

// A folder holding the test converter as the text converters' folder, while it lives.
class ConverterFolder {
 public:
  explicit ConverterFolder(bool withConverter) {
    const std::wstring folder = TempFolder() + (withConverter ? L"view_converters" : L"view_no_converters");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (withConverter) ::CopyFileA(DORVANE_FAKE_CONVERTER, (std::string(folder.begin(), folder.end()) + "\\fake.cnv").c_str(), FALSE);
    ::SetEnvironmentVariableW(L"WORDCNV_DIR", folder.c_str());
  }
  ~ConverterFolder() { ::SetEnvironmentVariableW(L"WORDCNV_DIR", nullptr); }
};

bool Exists(const CString& path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

TEST_F(DocumentView, AWordDocumentThroughWordBecomesRtfAndIsShown) {
  FakeWord word;
  ConverterFolder noConverters(false);
  const CString path = WriteTemp(L"dorvane letter.doc", "a Word file");
  CAdobeReaderView* view = host_->Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host_->frame->m_bPreviewOk, 1u);
  EXPECT_EQ(Host::Text(view), L"Converted by Fake Office.");
  EXPECT_FALSE(Exists(WordRtfPath()));  // the intermediate RTF is gone
  ::DeleteFileW(path);
}

TEST_F(DocumentView, WithoutWordTheTextConvertersMakeTheRtf) {
  ConverterFolder converters(true);
  const CString path = WriteTemp(L"letter.DOCX", "Dear reader, this came through the converter.");
  CAdobeReaderView* view = host_->Show(path);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host_->frame->m_bPreviewOk, 1u);
  EXPECT_EQ(Host::Text(view), L"Dear reader, this came through the converter.");
  EXPECT_FALSE(Exists(WordRtfPath()));
  ::DeleteFileW(path);
}

TEST_F(DocumentView, WithoutWordOrAConverterAWordDocumentIsNotAvailable) {
  ConverterFolder noConverters(false);
  const CString path = WriteTemp(L"letter.doc", "a Word file");
  host_->frame->m_bComponentMissing = 0;
  ASSERT_NE(host_->Show(path), nullptr);
  EXPECT_EQ(host_->frame->m_bPreviewOk, 0u);
  EXPECT_EQ(host_->frame->m_bComponentMissing, 1u);
  EXPECT_FALSE(Exists(WordRtfPath()));
  ::DeleteFileW(path);
}

TEST_F(DocumentView, AWordDocumentThePresentConverterOrWordRefusesIsTheFilesFault) {
  const CString path = WriteTemp(L"letter.doc", "ERR -5");
  {
    ConverterFolder converters(true);  // the converter fails the conversion of this file
    host_->frame->m_bComponentMissing = 0;
    ASSERT_NE(host_->Show(path), nullptr);
    EXPECT_EQ(host_->frame->m_bPreviewOk, 0u);
    EXPECT_EQ(host_->frame->m_bComponentMissing, 0u);
  }
  {
    FakeWord word;
    ConverterFolder noConverters(false);
    ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_FAIL", L"Open");  // Word refuses the file
    host_->frame->m_bComponentMissing = 0;
    ASSERT_NE(host_->Show(path), nullptr);
    ::SetEnvironmentVariableW(L"DORVANE_FAKE_OFFICE_FAIL", nullptr);
    EXPECT_EQ(host_->frame->m_bPreviewOk, 0u);
    EXPECT_EQ(host_->frame->m_bComponentMissing, 0u);
  }
  EXPECT_FALSE(Exists(WordRtfPath()));
  ::DeleteFileW(path);
}

// A new frame with its rich-edit view for every round, as the suite builds one per test: the host's
// document (a member) outlives its last view and is destroyed once, by the host, so nothing a later
// frame allocates is freed twice.
class DocumentViewLifetime : public harness::SeamTest {};

TEST_F(DocumentViewLifetime, ThirtyFramesWithARichEditViewMadeAndDestroyed) {
  ::CoInitialize(nullptr);
  const CString path = WriteTemp(L"dorvane cycles.txt", "Recovered notes\n");
  g_documentsDestroyed = 0;
  for (int cycle = 0; cycle < 30; ++cycle) {
    {
      Host host;
      CAdobeReaderView* view = host.Show(path);
      ASSERT_NE(view, nullptr) << cycle;
      EXPECT_EQ(Host::Text(view), L"Recovered notes\r\n") << cycle;
    }
    ASSERT_EQ(g_documentsDestroyed, cycle + 1);
  }
  ::DeleteFileW(path);
  ::CoUninitialize();
}

}  // namespace
