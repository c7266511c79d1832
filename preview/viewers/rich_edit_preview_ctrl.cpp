#include "preview/viewers/rich_edit_preview_ctrl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/classlib/cfile.h"
#include "platform/classlib/win/coleexception.h"
#include "platform/os/library_win32.h"
#include "preview/preview_host.h"

namespace {
// Transacted, created, exclusive, read-write; the temporary file goes when the root is released.
constexpr DWORD kStorageMode = STGM_TRANSACTED | STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

// Previewed RTF comes from an untrusted disk, and loading an embedded object starts the server its class
// names. Pictures are static objects drawn from their own data (or name no class at all): only they go in.
bool IsStaticPictureClass(const CLSID& clsid) {
  static const CLSID kStaticPictures[] = {
      {0x00000315, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}},  // metafile
      {0x00000316, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}},  // device-independent bitmap
      {0x00000319, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}},  // enhanced metafile
  };
  if (IsEqualCLSID(clsid, CLSID_NULL)) return true;
  for (const CLSID& picture : kStaticPictures)
    if (IsEqualCLSID(clsid, picture)) return true;
  return false;
}
}  // namespace

RichEditOleCallback::RichEditOleCallback() {
  const HRESULT result = ::StgCreateDocfile(nullptr, kStorageMode | STGM_DELETEONRELEASE, 0, &m_root);
  if (FAILED(result) || m_root == nullptr) AfxThrowOleException(FAILED(result) ? result : E_FAIL);
}

RichEditOleCallback::~RichEditOleCallback() {
  if (m_root != nullptr) m_root->Release();
}

HRESULT RichEditOleCallback::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRichEditOleCallback)) {
    *out = static_cast<IRichEditOleCallback*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG RichEditOleCallback::AddRef() { return ++m_references; }

ULONG RichEditOleCallback::Release() {
  if (--m_references == 0) {
    delete this;
    return 0;
  }
  return m_references;
}

HRESULT RichEditOleCallback::GetNewStorage(LPSTORAGE* storage) {
  if (storage == nullptr) return E_POINTER;
  wchar_t name[32];
  std::swprintf(name, 32, L"REOLEStorage%ld", static_cast<long>(++m_storageCount));
  return m_root->CreateStorage(name, kStorageMode, 0, 0, storage);
}

HRESULT RichEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*, LPOLEINPLACEFRAMEINFO) {
  return S_OK;
}
HRESULT RichEditOleCallback::ShowContainerUI(BOOL) { return S_OK; }
HRESULT RichEditOleCallback::QueryInsertObject(LPCLSID clsid, LPSTORAGE storage, LONG) {
  CLSID named = CLSID_NULL;
  if (clsid != nullptr) {
    named = *clsid;
  } else if (storage == nullptr || FAILED(::ReadClassStg(storage, &named))) {
    return S_FALSE;
  }
  return IsStaticPictureClass(named) ? S_OK : S_FALSE;
}
HRESULT RichEditOleCallback::DeleteObject(LPOLEOBJECT) { return S_OK; }
HRESULT RichEditOleCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) { return S_OK; }
HRESULT RichEditOleCallback::ContextSensitiveHelp(BOOL) { return S_OK; }
HRESULT RichEditOleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) { return S_OK; }
HRESULT RichEditOleCallback::GetDragDropEffect(BOOL, DWORD, LPDWORD) { return S_OK; }
HRESULT RichEditOleCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) { return S_OK; }

BEGIN_MESSAGE_MAP(RichEditPreviewCtrl, CRichEditCtrl)
  ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL RichEditPreviewCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  // Loaded for the rest of the process, like the library of the first rich-edit class.
  static const HMODULE library = os::LoadProgramOrSystemLibrary(L"RICHED20.DLL");
  if (library == nullptr) return FALSE;
  return CWnd::Create(RICHEDIT_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

void RichEditPreviewCtrl::PreSubclassWindow() {
  CRichEditCtrl::PreSubclassWindow();
  m_pCallback = nullptr;
  m_pCallback = new RichEditOleCallback;  // COleException ends the creation
  m_bCallbackSet = SetOLECallback(m_pCallback);
}

int RichEditPreviewCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CRichEditCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_bCallbackSet) SetOLECallback(m_pCallback);
  return 0;
}

DWORD CALLBACK RichEditPreviewCtrl::StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
  *read = 0;
  if (count <= 0) return 0;
  try {
    *read = static_cast<LONG>(reinterpret_cast<CFile*>(cookie)->Read(buffer, static_cast<UINT>(count)));
  } catch (CException* e) {  // a read error stops the stream
    e->Delete();
    return 1;
  }
  return 0;
}

namespace {

struct TextStream {
  const BYTE* next;
  size_t left;  // bytes
};

DWORD CALLBACK TextStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
  auto* stream = reinterpret_cast<TextStream*>(cookie);
  const size_t n = std::min(stream->left, static_cast<size_t>(std::max<LONG>(count, 0)));
  std::memcpy(buffer, stream->next, n);
  stream->next += n;
  stream->left -= n;
  *read = static_cast<LONG>(n);
  return 0;
}

}  // namespace

void RichEditPreviewCtrl::StreamInText(const CString& text) {
  TextStream source{reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(text)),
                    static_cast<size_t>(text.GetLength()) * sizeof(wchar_t)};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = &TextStreamCallback;
  StreamIn(SF_TEXT | SF_UNICODE, stream);
}

void RichEditPreviewCtrl::SetRegularDefaultFormat() {
  // RTF as WordPad writes it has no \plain: its text before the first \b0 takes the control's default
  // format, which under Wine is the bold System font. RTF's own default is regular 12-point text.
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_WEIGHT | CFM_SIZE | CFM_FACE |
                  CFM_CHARSET | CFM_COLOR;
  format.dwEffects = CFE_AUTOCOLOR;
  format.wWeight = FW_NORMAL;
  format.yHeight = 240;  // twips
  format.bCharSet = DEFAULT_CHARSET;
  format.bPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  std::wcscpy(format.szFaceName, L"Arial");
  SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void RichEditPreviewCtrl::StreamInRtfFile(const CString& path) {
  PreviewHost* host = CurrentPreviewHost();
  if (host != nullptr) host->m_bPreviewOk = 1;
  CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
  LimitText(kTextLimit);
  SetRegularDefaultFormat();
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&file);
  stream.pfnCallback = &RichEditPreviewCtrl::StreamInCallback;
  const long characters = StreamIn(SF_RTF, stream);
  if (characters < 1 && host != nullptr) host->m_bPreviewOk = 0;
  file.Close();
}
