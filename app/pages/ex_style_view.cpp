#include "app/pages/ex_style_view.h"

#include "app/pages/file_dialog_ex.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/page_background.h"
#include "app/pages/source_logic.h"
#include "app/pages/source_wizard.h"
#include "engine/image/disk_image.h"
#include "engine/image/image_file.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_parameters.h"
#include "platform/seams/seams.h"
#include "res/resource.h"
#include "platform/os/markup_escape.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

constexpr DWORD kBrowseFlags = 0x280206;  // overwrite prompt, hide read-only, multiple, explorer, long names
const char16_t* const kDescriptions[] = {
    u"Please Select Recovery Option.",
    u"Select this mode to recover data from minor corruptions of VHD \\ VHDX files.",
    u"Select the File Trace mode if both Quick scan and Extensive scan mode do not work for you.",
    u"Select this mode to recover data from high corruptions of  VHD \\ VHDX files.",
};

void PlainBox(CWnd* owner, const char16_t* text) {
  seams::MessageBoxRequest request;
  request.owner = owner->GetSafeHwnd();
  request.text = text;
  request.caption = ProductTitle;
  request.style = MB_OK;
  seams::MessageBoxes().Show(request);
}

void MissingFile(const CString& path) {
  MessageText = msgbox::EscapeMarkup(path.ToUtf16()) + u" file does not exists.";
  MessageKind = 3;
  MessageDialog().DoModal();
}

}  // namespace

IMPLEMENT_DYNCREATE(CEx_StyleView, CView)

BEGIN_MESSAGE_MAP(CEx_StyleView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_BN_CLICKED(IDC_QUICK_SCAN, OnQuickScan)
  ON_BN_CLICKED(IDC_EXTENSIVE_SCAN, OnExtensiveScan)
  ON_BN_CLICKED(IDC_FILE_TRACE, OnFileTrace)
  ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

int CEx_StyleView::OnCreate(LPCREATESTRUCT create) {
  if (CView::OnCreate(create) == -1) return -1;
  m_white.CreateSolidBrush(RGB(255, 255, 255));
  m_text.CreateFont(18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  m_bold.CreateFont(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  LOGFONT icon{};
  ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0);
  icon.lfHeight = 24;
  icon.lfWeight = 600;
  ::lstrcpyW(icon.lfFaceName, L"Trebuchet MS");
  m_title.CreateFontIndirect(&icon);
  m_browseFont.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("MS Sans Serif"));

  const CRect none(0, 0, 173, 73);
  struct ModeChoice {
    ui::CHoverButton& button;
    UINT id, normal, hover, code;
  };
  for (const ModeChoice& mode : {ModeChoice{m_quick, IDC_QUICK_SCAN, IDB_QUICK_SCAN, IDB_QUICK_SCAN_HOT, 1},
                               ModeChoice{m_trace, IDC_FILE_TRACE, IDB_FILE_TRACE, IDB_FILE_TRACE_HOT, 2},
                               ModeChoice{m_extensive, IDC_EXTENSIVE_SCAN, IDB_EXTENSIVE_SCAN, IDB_EXTENSIVE_SCAN_HOT, 3}}) {
    mode.button.Create(_T(""), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, none, this, mode.id);
    mode.button.LoadBitmaps(mode.normal, mode.hover);
    mode.button.SetHoverId(mode.code);
    mode.button.SetCompanion(this);
  }
  m_browse.Create(_T("Browse"), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(0, 0, 80, 30), this,
                  IDC_BROWSE);
  m_browseIcon = static_cast<HICON>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_BROWSE), IMAGE_ICON, 16, 16, 0));
  if (m_browseIcon != nullptr) m_browse.SetIcon(m_browseIcon);
  // A one-pixel border that lights up under the mouse; the focus shows as a dotted frame.
  m_browse.SetTKStyle(tkbutton::kStyleSemiFlat | tkbutton::kStyleFocusRect, FALSE);
  m_browse.SetFont(&m_browseFont);
  m_path.CreateEx(WS_EX_CLIENTEDGE, _T("EDIT"), _T(""),
                  WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, CRect(0, 0, 430, 26), this,
                  IDC_IMAGE_PATH);
  m_path.SetFont(&m_text);
  return 0;
}

CWnd& CEx_StyleView::ModeButton(UINT id) {
  if (id == IDC_QUICK_SCAN) return m_quick;
  if (id == IDC_EXTENSIVE_SCAN) return m_extensive;
  return m_trace;
}

void CEx_StyleView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  if (m_quick.GetSafeHwnd() == nullptr) return;
  const int x = cx / 2;
  const int y = cy / 2;
  m_quick.MoveWindow(x - 261, y - 16, 173, 73);
  m_extensive.MoveWindow(x - 86, y - 16, 173, 73);
  m_trace.MoveWindow(x + 89, y - 16, 173, 73);
  m_browse.MoveWindow(x + 179, y - 141, 80, 30);
  m_path.MoveWindow(x - 256, y - 138, 430, 26);
  Invalidate();
}

BOOL CEx_StyleView::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CEx_StyleView::OnCtlColor(CDC* dc, CWnd*, UINT) {
  dc->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(m_white.GetSafeHandle());
}

void CEx_StyleView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  // Drawn off-screen, then copied at once, so the description changes without flicker.
  CDC memory;
  memory.CreateCompatibleDC(pDC);
  CBitmap surface;
  surface.CreateCompatibleBitmap(pDC, client.Width(), client.Height());
  CBitmap* old = memory.SelectObject(&surface);
  PaintPage(&memory, client);
  pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CEx_StyleView::PaintPage(CDC* dc, const CRect& client) {
  PaintPageBackground(dc, client, IDB_HEADER_START);
  const int x = client.Width() / 2;
  const int y = client.Height() / 2;
  dc->SetBkMode(TRANSPARENT);
  CFont* oldFont = dc->SelectObject(&m_text);
  dc->SetTextColor(RGB(0, 0, 0));
  CRect prompt(x - 257, y - 165, x + 370, y - 142);
  dc->DrawText(_T("Please select VHD / VHDX file using browse button."), prompt, DT_LEFT | DT_BOTTOM | DT_SINGLELINE);

  CPen pen;
  pen.CreatePen(PS_SOLID, 1, RGB(172, 168, 153));
  CPen* oldPen = dc->SelectObject(&pen);
  HGDIOBJ oldBrush = ::SelectObject(dc->m_hDC, ::GetStockObject(HOLLOW_BRUSH));
  dc->RoundRect(CRect(x - 400, y - 225, x + 400, y + 225), CPoint(100, 100));
  dc->RoundRect(CRect(x - 300, y - 60, x + 300, y + 100), CPoint(100, 100));
  ::SelectObject(dc->m_hDC, oldBrush);
  dc->SelectObject(oldPen);

  dc->FillSolidRect(CRect(x - 50, y - 60, x + 60, y - 58), RGB(251, 241, 206));
  dc->SelectObject(&m_bold);
  dc->TextOut(x - 50, y - 68, _T(" Recovery Modes "));

  dc->SelectObject(&m_text);
  const uint32_t hovered = ui::HoveredModeButton <= 3 ? ui::HoveredModeButton : 0;
  dc->SetTextColor(hovered == 0 ? RGB(255, 0, 0) : RGB(0, 0, 0));
  CRect description(x - 380, y + 140, x + 360, y + 162);
  dc->DrawText(CString::FromUtf16(kDescriptions[hovered]), description, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc->SelectObject(oldFont);
}

// ---- Browse and the image ------------------------------------------------------------------------

void CEx_StyleView::OnBrowse() {
  const CString path = ChooseImage();
  if (!path.IsEmpty()) m_path.SetWindowText(path);
}

CString CEx_StyleView::ChooseImage() {
  CFileDialogEx dialog(TRUE, nullptr, nullptr, kBrowseFlags, _T("vhd file (.vhd,.vhdx)|*.vhd?||"), this);
  dialog.SetTitle(_T("Add  file to repair"));
  if (dialog.DoModal() != IDOK) return CString();
  CString path;
  for (POSITION at = dialog.GetStartPosition(); at != nullptr;) path = dialog.GetNextPathName(at);
  if (FileExists(path.ToUtf16()) == 0) {
    path.TrimLeft();
    path.TrimRight();
    MissingFile(path);
    return CString();
  }
  return path;
}

int CEx_StyleView::OpenSelectedImage() {
  source::SourceWizard* wizard = source::Wizard();
  CString path;
  m_path.GetWindowText(path);
  path.TrimLeft();
  path.TrimRight();
  if (path.IsEmpty()) {
    PlainBox(this, u"Please select VHD or VHDX file...");
    return 0;
  }
  if (FileExists(path.ToUtf16()) == 0) {
    MissingFile(path);
    return 0;
  }
  // The file's bytes choose the reader, whatever its name says.
  DiskImage* image = wizard != nullptr ? wizard->EnsureDiskImage() : nullptr;
  const ImageOpenResult opened = image != nullptr ? image->OpenFile(path.ToUtf16()) : ImageOpenResult::kRefused;
  const uint32_t kind = image != nullptr ? image->Kind() : kImageVhd;
  ImageFormat = kind == kImageVhdx ? source::kFormatVhdx : source::kFormatVhd;
  if (opened == ImageOpenResult::kRefused || opened == ImageOpenResult::kLargeSectors) {
    // The same image as before that no longer opens is refused as any other.
    m_path.SetWindowText(_T(""));
    PlainBox(this, ImageOpenMessage(opened, kind, path.ToUtf16()).c_str());
    return 0;
  }
  if (opened == ImageOpenResult::kLogNotRead) {
    MessageText = ImageOpenMessage(opened, kind, msgbox::EscapeMarkup(path.ToUtf16()));
    MessageKind = 1;
    MessageDialog().DoModal();
  }
  CFirstView_HDD* source = wizard->SourcePage();
  if (source != nullptr) {
    source->Tree().DeleteAllItems();
    source->EnumeratePhysicalDisks();
  }
  m_lastImagePath = path;
  wizard->SetOpenEnabled(false);
  return 1;
}

// ---- the mode buttons ------------------------------------------------------------------------------

bool CEx_StyleView::ChooseMode(uint32_t mode, const char16_t* modeText, bool fileTrace) {
  source::SourceWizard* wizard = source::Wizard();
  if (wizard == nullptr) return false;
  wizard->SelectStage(source::kSourceStage);
  if (!fileTrace) wizard->SetAtStart(false);
  if (mode != records::kQuickScan) wizard->RememberActiveView();
  if (OpenSelectedImage() == 0) return false;
  // A new recovery: the file system an earlier one read is none of its own (Drive Information shows nothing
  // until a scan reads one).
  CurrentFileSystem = FileSystemRecord{};
  if (fileTrace) wizard->SetAtStart(false);
  wizard->SetSnapshotLoadEnabled(true);
  RecoveryMode = mode;
  wizard->SetModeText(modeText);
  wizard->InsertResultColumns(mode);
  ui::HoveredModeButton = 0;
  wizard->ShowPage(1);
  return true;
}

void CEx_StyleView::OnQuickScan() { ChooseMode(records::kQuickScan, u"Selected Mode : Quick Scan", false); }

void CEx_StyleView::OnExtensiveScan() {
  ChooseMode(records::kExtensiveScan, u"Selected Mode : Extensive Scan", false);
}

void CEx_StyleView::OnFileTrace() { ChooseMode(records::kFileTrace, u"Selected Mode : File Trace", true); }
