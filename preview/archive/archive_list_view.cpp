#include "preview/archive/archive_list_view.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "platform/classlib/win/cheaderctrl.h"
#include "platform/classlib/win/cwinapp.h"
#include "preview/archive/archive_rows.h"
#include "preview/archive/cab_lister.h"
#include "preview/archive/rar_archive.h"
#include "preview/archive/zip_reader.h"
#include "preview/partial_preview_note.h"
#include "preview/preview_host.h"
#include "res/resource.h"
#include "ui/controls/list_fill_batch.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

// Posted to the view when its list lacks part of the archive.
constexpr UINT kShowNoteMessage = WM_APP + 0x41;

// Header icon i of column i.
const UINT kHeaderIcons[] = {IDI_HEADER_NAME,     IDI_HEADER_TYPE, IDI_HEADER_SIZE, IDI_HEADER_CREATED,
                             IDI_HEADER_MODIFIED, IDI_HEADER_ID,   IDI_HEADER_PATH};

// The text after the path's last ".", with its "." and lower-cased.
std::u16string ExtensionOf(const CString& path) {
  const int dot = path.ReverseFind(_T('.'));
  CString extension = dot >= 0 ? path.Mid(dot) : CString();
  extension.MakeLower();
  return extension.ToUtf16();
}

CString PreviewPath() {
  PreviewDocument* document = CurrentPreviewDocument();
  return document != nullptr ? document->m_previewPath : CString();
}

}  // namespace

// ---- ArchiveListCtrl ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(ArchiveListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(ArchiveListCtrl, CListCtrl)
  ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnClick)
  ON_NOTIFY_REFLECT(LVN_BEGINDRAG, IgnoreNotify)
  ON_NOTIFY(HDN_BEGINDRAG, 0, IgnoreNotify)
  ON_NOTIFY(HDN_ENDDRAG, 0, IgnoreNotify)
END_MESSAGE_MAP()

ArchiveListCtrl::ArchiveListCtrl() {
  // 32-bit colour keeps the header icons as drawn; each icon is scaled from its large picture.
  if (!m_headerImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 7)) return;
  for (UINT id : kHeaderIcons) {
    HICON icon = static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (icon == nullptr) continue;
    m_headerImages.Add(icon);
    ::DestroyIcon(icon);
  }
}

void ArchiveListCtrl::InsertArchiveColumns(const CString& path) {
  const std::vector<archive::ArchiveColumn> columns = archive::ArchiveColumnsFor(ExtensionOf(path));
  for (size_t i = 0; i < columns.size(); ++i) {
    InsertColumn(static_cast<int>(i), CString::FromUtf16(columns[i].title), LVCFMT_LEFT, columns[i].width);
  }
}

void ArchiveListCtrl::SetHeaderImages() {
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr) return;
  header->SetImageList(&m_headerImages);
  for (int i = 0; i < header->GetItemCount() && i < 7; ++i) {
    HDITEM item{};
    item.mask = HDI_FORMAT;
    header->GetItem(i, &item);
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE;
    item.iImage = i;
    header->SetItem(i, &item);
  }
}

void ArchiveListCtrl::AddRow(const std::vector<std::u16string>& texts, int icon) {
  if (texts.empty()) return;
  const int row = InsertItem(LVIF_TEXT | LVIF_IMAGE, GetItemCount(), CString::FromUtf16(texts[0]), 0, 0, icon, 0);
  if (row < 0) return;
  for (size_t column = 1; column < texts.size(); ++column) {
    SetItemText(row, static_cast<int>(column), CString::FromUtf16(texts[column]));
  }
}

void ArchiveListCtrl::OnClick(NMHDR*, LRESULT* pResult) {
  // A click selects a row and nothing more: no member is opened.
  POINT point{};
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  HitTest(CPoint(point.x, point.y));
  Invalidate();
  *pResult = 0;
}

void ArchiveListCtrl::IgnoreNotify(NMHDR*, LRESULT* pResult) { *pResult = 0; }

// ---- CMyListCtrl -----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMyListCtrl, CView)

BEGIN_MESSAGE_MAP(CMyListCtrl, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_MESSAGE(kShowNoteMessage, OnShowNote)
END_MESSAGE_MAP()

CMyListCtrl::CMyListCtrl() = default;

CMyListCtrl::~CMyListCtrl() { delete m_pList; }

void CMyListCtrl::OnDraw(CDC*) {}

int CMyListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  m_pList = new ArchiveListCtrl;
  // The system's icons are shared: the list must not destroy them.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                      LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS;
  if (!m_pList->Create(style, CRect(0, 0, 0, 0), this, kListId)) {
    delete m_pList;
    m_pList = nullptr;
    if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = 0;
    return 0;
  }
  m_pList->SetExtendedStyle(m_pList->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_viewImages.Create(20, 20, ILC_COLOR4 | ILC_MASK, 4, 1);
  ::SendMessageW(m_pList->m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(m_shell.GetSystemImageList(true)));

  const CString path = PreviewPath();
  m_pList->InsertArchiveColumns(path);
  m_pList->SetHeaderImages();
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
  m_currentFolder = length > 0 && length < MAX_PATH ? CString(folder) : CString();

  PreviewHost* host = CurrentPreviewHost();
  if (host == nullptr || CurrentPreviewDocument() == nullptr) return 0;
  const std::u16string extension = ExtensionOf(path);
  if (extension == u".zip") {
    host->m_bPreviewOk = static_cast<uint32_t>(ListZipArchive(path));
  } else if (extension == u".cab") {
    host->m_bPreviewOk = static_cast<uint32_t>(CabArchiveLister());
  } else if (extension == u".rar") {
    host->m_bPreviewOk = static_cast<uint32_t>(ListRarArchive(path));
  }
  return 0;
}

LRESULT CMyListCtrl::OnShowNote(WPARAM, LPARAM) {
  if (!m_note.IsEmpty()) ReportPartialPreview(m_hWnd, m_note, true);
  return 0;
}

void CMyListCtrl::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_pList != nullptr && ::IsWindow(m_pList->m_hWnd)) m_pList->MoveWindow(0, 0, cx, cy);
}

int CMyListCtrl::IconOf(const std::u16string& name, bool folder) { return m_icons.Of(name, folder); }

int CMyListCtrl::ListZipArchive(const CString& path) {
  const std::u16string wide = path.ToUtf16();
  ZipHandle* zip = ZipOpen(wide.c_str(), 0, kZipFileNameKind);
  if (zip == nullptr) return 0;  // no ZIP archive: the pane says so instead of showing an empty list
  ZipEntry entry;
  const int32_t count = ZipGetItem(zip, -1, &entry) == kZipOk ? entry.index : 0;
  std::u16string note;
  {
    const ui::ListFillBatch batch(m_pList, std::min<size_t>(static_cast<size_t>(count), archive::kMaxListedMembers));
    note = archive::ForEachZipRow(zip, [this](const ZipEntry& item) {
      m_pList->AddRow(archive::ZipRowTexts(item), IconOf(item.name, archive::IsZipDirectory(item)));
    });
  }
  if (ZipIsReaderHandle(zip)) ZipCloseReader(zip);
  ShowNote(note);
  return 1;
}

void CMyListCtrl::ShowNote(const std::u16string& note) {
  m_note = CString::FromUtf16(note);
  // The box shows over the listing, after the pane has placed and drawn the view.
  if (!m_note.IsEmpty()) PostMessage(kShowNoteMessage);
}

int CMyListCtrl::CabArchiveLister() {
  m_pList->DeleteAllItems();
  std::vector<archive::CabEntry> entries;
  CabLister lister;
  if (!ListCabinet(PreviewPath().ToUtf16(), &entries, &lister)) {
    // Without the cabinet library the file was never looked at: the type cannot be previewed here.
    if (lister.errorOperation == kCabMissingEntryPoint) ReportPreviewComponentMissing();
    return 0;
  }
  const size_t shown = std::min(entries.size(), archive::kMaxListedMembers);
  {
    const ui::ListFillBatch batch(m_pList, shown);
    for (size_t i = 0; i < shown; ++i) m_pList->AddRow(archive::CabRowTexts(entries[i]), IconOf(entries[i].name, false));
  }
  ShowNote(lister.damaged ? archive::DamagedMembersNote(shown, lister.claimed)
                          : archive::ListedMembersNote(shown, entries.size()));
  return 1;
}

int CMyListCtrl::ListRarArchive(const CString& path) {
  RarArchive rar;
  if (rar.List(path.ToUtf16()) == 0) {
    if (rar.IsLibraryMissing()) ReportPreviewComponentMissing();
    return 0;
  }
  m_pList->DeleteAllItems();
  {
    const ui::ListFillBatch batch(m_pList, rar.GetEntryCount());
    for (size_t i = 0; i < rar.GetEntryCount(); ++i) {
      const archive::RarEntry entry = rar.GetEntry(i);
      m_pList->AddRow(archive::RarRowTexts(entry), IconOf(entry.name, archive::IsRarDirectory(entry)));
    }
  }
  ShowNote(archive::ListedMembersNote(rar.GetEntryCount(), rar.GetHeaderCount()));
  return 1;
}
