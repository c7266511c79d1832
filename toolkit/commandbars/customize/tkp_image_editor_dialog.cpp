// The button image editor's dialog: its toolbars, palette, commands, tooltips and the icon in and out.
#include "toolkit/commandbars/customize/tkp_image_editor_dialog.h"

#include <commdlg.h>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/messages.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/resource_manager.h"

using tkp_image_editor::EditorImage;
using tkp_image_editor::kTransparent;
using tkp_image_editor::Tool;

namespace {
constexpr int kSwatch = 11;      // a palette swatch's side
constexpr int kSwatchStep = 13;  // from one swatch to the next, by column and row
constexpr int kButtonSide = 23;
constexpr int kImageSide = 16;

struct PaletteEntry {
  UINT id;
  int column, row;
  COLORREF colour;
};
constexpr PaletteEntry kPalette[CTKPButtonEditorDialog::kPaletteCount] = {
    {9450, 0, 0, RGB(0, 0, 0)},         {9465, 1, 0, RGB(128, 128, 128)}, {9458, 2, 0, RGB(128, 0, 0)},
    {9460, 3, 0, RGB(128, 128, 0)},     {9461, 4, 0, RGB(0, 128, 0)},     {9462, 5, 0, RGB(0, 128, 128)},
    {9455, 6, 0, RGB(0, 0, 128)},       {9472, 7, 0, RGB(128, 0, 128)},   {9489, 0, 1, RGB(255, 255, 255)},
    {9481, 1, 1, RGB(192, 192, 192)},   {9466, 2, 1, RGB(255, 0, 0)},     {9476, 3, 1, RGB(255, 255, 0)},
    {9477, 4, 1, RGB(0, 255, 0)},       {9478, 5, 1, RGB(0, 255, 255)},   {9463, 6, 1, RGB(0, 0, 255)},
    {9474, 7, 1, RGB(255, 0, 255)},
};

// The Tools toolbar in its order (four a row); the strip holds the images by command, 9363 first, then
// the Move commands.
constexpr UINT kToolButtons[] = {ID_TK_EDITOR_PENCIL,  ID_TK_EDITOR_FILL,      ID_TK_EDITOR_UNDO,  ID_TK_EDITOR_REDO,
                                 ID_TK_EDITOR_PICK_COLOR, ID_TK_EDITOR_LINE,  ID_TK_EDITOR_COPY,  ID_TK_EDITOR_PASTE,
                                 ID_TK_EDITOR_RECTANGLE, ID_TK_EDITOR_ELLIPSE, ID_TK_EDITOR_CLEAR, ID_TK_EDITOR_IMPORT};
constexpr UINT kMoveButtons[] = {ID_TK_EDITOR_MOVE_LEFT, ID_TK_EDITOR_MOVE_DOWN, ID_TK_EDITOR_MOVE_UP,
                                 ID_TK_EDITOR_MOVE_RIGHT};

int ImageOf(UINT id) {
  if (id >= ID_TK_EDITOR_PENCIL && id <= ID_TK_EDITOR_IMPORT) return static_cast<int>(id - ID_TK_EDITOR_PENCIL);
  return 12 + static_cast<int>(id - ID_TK_EDITOR_MOVE_LEFT);
}

// The tip of a command: what follows "\n" in its string (all of it when there is no "\n").
CString TipOf(UINT id) {
  CString text;
  if (!TKPResourceManager()->LoadString(&text, id)) return CString();
  int newline = text.Find(_T('\n'));
  return newline >= 0 ? text.Mid(newline + 1) : text;
}

// The command a tip is asked for: the tool's id, or the id of the window it names.
UINT ToolId(const NMHDR* pHeader, UINT nFlags) {
  const UINT id = static_cast<UINT>(pHeader->idFrom);
  return (nFlags & TTF_IDISHWND) != 0 ? static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pHeader->idFrom))) : id;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTKPButtonEditorDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
  ON_COMMAND_RANGE(ID_TK_EDITOR_PENCIL, ID_TK_EDITOR_ELLIPSE, OnTool)
  ON_UPDATE_COMMAND_UI_RANGE(ID_TK_EDITOR_PENCIL, ID_TK_EDITOR_ELLIPSE, OnUpdateTool)
  ON_COMMAND(ID_TK_EDITOR_UNDO, OnUndo)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_UNDO, OnUpdateUndo)
  ON_COMMAND(ID_TK_EDITOR_REDO, OnRedo)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_REDO, OnUpdateRedo)
  ON_COMMAND(ID_TK_EDITOR_CLEAR, OnClear)
  ON_COMMAND(ID_TK_EDITOR_COPY, OnCopy)
  ON_COMMAND(ID_TK_EDITOR_PASTE, OnPaste)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_PASTE, OnUpdatePaste)
  ON_COMMAND(ID_TK_EDITOR_IMPORT, OnImport)
  ON_COMMAND_RANGE(ID_TK_EDITOR_MOVE_LEFT, ID_TK_EDITOR_MOVE_RIGHT, OnMove)
  ON_UPDATE_COMMAND_UI_RANGE(ID_TK_EDITOR_MOVE_LEFT, ID_TK_EDITOR_MOVE_RIGHT, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_CLEAR, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_COPY, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_IMPORT, OnUpdateAlways)
END_MESSAGE_MAP()

CTKPButtonEditorDialog::CTKPButtonEditorDialog(CWnd* pParent) : m_icon(16, 16) { m_pParentWnd = pParent; }

CTKPButtonEditorDialog::~CTKPButtonEditorDialog() = default;

// ---- the icon in and out ----------------------------------------------------------------------------

void CTKPButtonEditorDialog::SetIconSize(CSize size) {
  m_szIcon = CSize(std::max<LONG>(1, std::min<LONG>(size.cx, 128)), std::max<LONG>(1, std::min<LONG>(size.cy, 128)));
  m_icon = EditorImage(m_szIcon.cx, m_szIcon.cy);
  m_model = tkp_image_editor::EditorModel(m_szIcon.cx, m_szIcon.cy);
}

EditorImage TKPEditorImageFromIcon(const CTKPImageManagerIconHandle& icon, CSize size) {
  if (icon.IsAlpha()) {
    EditorImage image = TKPEditorImageFromBitmap(icon.GetBitmap(), size.cx, size.cy, TRUE, 0, 0);
    tkp_image_editor::MarkEmptyPixelsTransparent(image);
    return image;
  }
  if (icon.GetIcon() == nullptr) return EditorImage(size.cx, size.cy);
  // Drawn onto the transparent colour: what the icon leaves uncovered stays transparent.
  HBITMAP hBitmap = TKPCreateEditorBitmap(EditorImage(size.cx, size.cy));
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(hDC, hBitmap);
  ::DrawIconEx(hDC, 0, 0, icon.GetIcon(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
  ::SelectObject(hDC, previous);
  ::DeleteDC(hDC);
  EditorImage image = TKPEditorImageFromBitmap(hBitmap, size.cx, size.cy, FALSE, 0, 0);
  ::DeleteObject(hBitmap);
  return image;
}

void CTKPButtonEditorDialog::SetIcon(const CTKPImageManagerIconHandle& icon) {
  m_icon = TKPEditorImageFromIcon(icon, m_szIcon);
  m_model.Reset(m_icon);
}

void CTKPButtonEditorDialog::GetIcon(CTKPImageManagerIconHandle& icon) const {
  const EditorImage& image = m_model.Image();
  HBITMAP hBitmap = TKPCreateEditorBitmap(image);
  if (hBitmap == nullptr) return;
  if (image.HasAlpha()) {
    icon.SetBitmap(hBitmap);
    ::DeleteObject(hBitmap);
    return;
  }
  HIMAGELIST hList = ImageList_Create(m_szIcon.cx, m_szIcon.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
  ImageList_AddMasked(hList, hBitmap, kTransparent);
  if (ImageList_GetImageCount(hList) == 1) icon.SetIcon(ImageList_GetIcon(hList, 0, ILD_NORMAL));
  ImageList_Destroy(hList);
  ::DeleteObject(hBitmap);
}

INT_PTR CTKPButtonEditorDialog::DoModal() {
  // From the resource manager, so that a resource library can replace the template.
  LPCDLGTEMPLATE lpTemplate = TKPResourceManager()->LoadDialogTemplate(IDD_TK_IMAGE_EDITOR);
  if (lpTemplate == nullptr || !InitModalIndirect(lpTemplate, m_pParentWnd)) return -1;
  return CDialog::DoModal();
}

// ---- the dialog's parts -----------------------------------------------------------------------------

BOOL CTKPButtonEditorDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  m_model.Reset(m_icon);
  m_wndPicture.Attach(IDC_TK_EDITOR_PICTURE);
  m_wndPreview.SubclassDlgItem(IDC_TK_EDITOR_PREVIEW, this);

  // The 32-bit strip where the system draws alpha images, else the one on the toolbar face.
  CBitmap strip;
  BOOL alpha = TKPResourceManager()->LoadBitmap(&strip, IDB_TK_IMAGE_EDITOR_TOOLS32);
  if (alpha && m_images.Create(kImageSide, kImageSide, ILC_COLOR32 | ILC_MASK, 16, 0)) {
    ImageList_Add(m_images.GetSafeHandle(), static_cast<HBITMAP>(strip.GetSafeHandle()), nullptr);
  } else if (TKPResourceManager()->LoadBitmap(&strip, IDB_TK_IMAGE_EDITOR_TOOLS) &&
             m_images.Create(kImageSide, kImageSide, ILC_COLOR24 | ILC_MASK, 16, 0)) {
    ImageList_AddMasked(m_images.GetSafeHandle(), static_cast<HBITMAP>(strip.GetSafeHandle()), RGB(192, 192, 192));
  }
  CreateToolBar(m_wndTools, IDC_TK_EDITOR_TOOLS, kToolButtons, static_cast<int>(std::size(kToolButtons)), 4);
  CreateToolBar(m_wndMove, ID_TK_EDITOR_MOVE_LEFT, kMoveButtons, static_cast<int>(std::size(kMoveButtons)), 2);
  CreatePickers();
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
  return TRUE;
}

BOOL CTKPButtonEditorDialog::CreateToolBar(CToolBar& bar, UINT nPlaceholder, const UINT* ids, int count, int perRow) {
  CWnd* pPlace = GetDlgItem(static_cast<int>(nPlaceholder));
  if (pPlace == nullptr) return FALSE;
  CRect rect;
  pPlace->GetWindowRect(rect);
  ScreenToClient(rect);
  // The placeholder's id goes to nobody: the Move placeholder shares it with a command.
  pPlace->SetDlgCtrlID(0xFFFF);
  if (!bar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                    nPlaceholder)) {
    return FALSE;
  }
  bar.SetOwner(this);
  bar.SetImageList(m_images.GetSafeHandle());
  bar.SetSizes(SIZE{kButtonSide, kButtonSide}, SIZE{kImageSide, kImageSide});
  std::vector<int> images;
  for (int i = 0; i < count; ++i) images.push_back(ImageOf(ids[i]));
  bar.SetButtons(ids, count, images.data());
  for (int i = perRow - 1; i < count - 1; i += perRow) bar.SetWrap(i, TRUE);
  bar.MoveWindow(rect.left, rect.top, perRow * kButtonSide, ((count + perRow - 1) / perRow) * kButtonSide);
  CSize used = bar.GetButtonsSize();
  if (used.cx > 0) bar.MoveWindow(rect.left, rect.top, used.cx, used.cy);
  return TRUE;
}

void CTKPButtonEditorDialog::CreatePickers() {
  LPCTSTR className = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  CRect place;
  if (CWnd* pPlace = GetDlgItem(IDC_TK_EDITOR_COLORS)) {
    pPlace->GetWindowRect(place);
    ScreenToClient(place);
  }
  for (int i = 0; i < kPaletteCount; ++i) {
    const PaletteEntry& entry = kPalette[i];
    CRect rect(CPoint(place.left + entry.column * kSwatchStep, place.top + entry.row * kSwatchStep),
               CSize(kSwatch, kSwatch));
    m_palette[static_cast<size_t>(i)].m_clr = entry.colour;
    m_palette[static_cast<size_t>(i)].CreateEx(0, className, nullptr, WS_CHILD | WS_VISIBLE | SS_NOTIFY, rect, this,
                                               entry.id);
  }
  m_wndTransparent.m_clr = kTransparent;
  m_wndTransparent.SubclassDlgItem(IDC_TK_EDITOR_TRANSPARENT, this);
  m_wndCustom.m_clr = RGB(0, 0, 0);
  m_wndCustom.SubclassDlgItem(IDC_TK_EDITOR_CUSTOM, this);
  for (CTKPImageEditorPicker* pPicker : {&m_wndTransparent, &m_wndCustom}) {
    CRect rect;
    pPicker->GetWindowRect(rect);
    ScreenToClient(rect);
    pPicker->MoveWindow(rect.left, rect.top, kSwatch, kSwatch);
  }
  SelectPicker(&m_palette[0]);  // black
  // Each swatch names its colour in a tip, asked of the dialog (TTN_NEEDTEXT) when it shows.
  if (m_tips.Create(this)) {
    auto addTip = [&](CWnd& picker) {
      TOOLINFOW tool{};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = m_hWnd;
      tool.uId = reinterpret_cast<UINT_PTR>(picker.m_hWnd);
      tool.lpszText = LPSTR_TEXTCALLBACKW;
      m_tips.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    for (CTKPImageEditorPicker& picker : m_palette) addTip(picker);
    addTip(m_wndTransparent);
    addTip(m_wndCustom);
  }
}

CTKPImageEditorPicker* CTKPButtonEditorDialog::GetPicker(UINT nID) {
  if (nID == IDC_TK_EDITOR_TRANSPARENT) return &m_wndTransparent;
  if (nID == IDC_TK_EDITOR_CUSTOM) return &m_wndCustom;
  for (int i = 0; i < kPaletteCount; ++i) {
    if (kPalette[i].id == nID) return &m_palette[static_cast<size_t>(i)];
  }
  return nullptr;
}

void CTKPButtonEditorDialog::SelectPicker(CTKPImageEditorPicker* pPicker) {
  if (m_pSelected != nullptr && m_pSelected != pPicker) m_pSelected->SetSelected(FALSE);
  m_pSelected = pPicker;
  if (pPicker != nullptr) pPicker->SetSelected(TRUE);
}

COLORREF CTKPButtonEditorDialog::GetDrawingColor() const {
  return m_pSelected != nullptr ? m_pSelected->m_clr : RGB(0, 0, 0);
}

void CTKPButtonEditorDialog::SetPickedColor(COLORREF clr) {
  m_wndCustom.SetColor(clr);
  SelectPicker(&m_wndCustom);
}

void CTKPButtonEditorDialog::OnPickerClick(UINT nID) {
  CTKPImageEditorPicker* pPicker = GetPicker(nID);
  if (pPicker == nullptr) return;
  if (nID != IDC_TK_EDITOR_CUSTOM) {
    SelectPicker(pPicker);
    return;
  }
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = m_hWnd;
  choose.rgbResult = pPicker->m_clr;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (::ChooseColorW(&choose)) SetPickedColor(choose.rgbResult);
}

void CTKPButtonEditorDialog::RefreshImage() {
  if (m_wndPicture.m_hWnd != nullptr) m_wndPicture.Invalidate(FALSE);
  if (m_wndPreview.m_hWnd != nullptr) m_wndPreview.Invalidate(FALSE);
}

// ---- messages -----------------------------------------------------------------------------------------

BOOL CTKPButtonEditorDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code == static_cast<UINT>(NM_CLICK) && GetPicker(static_cast<UINT>(header->idFrom)) != nullptr) {
    OnPickerClick(static_cast<UINT>(header->idFrom));
    *pResult = 0;
    return TRUE;
  }
  if (header->code == TTN_NEEDTEXTW) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    lstrcpynW(tip->szText, TipOf(ToolId(header, tip->uFlags)), static_cast<int>(std::size(tip->szText)));
    *pResult = 0;
    return TRUE;
  }
  if (header->code == TTN_NEEDTEXTA) {
    // A tooltip window of the narrow kind asks in the code page.
    auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    const CString text = TipOf(ToolId(header, tip->uFlags));
    const int size = static_cast<int>(std::size(tip->szText));
    if (::WideCharToMultiByte(CP_ACP, 0, text, -1, tip->szText, size, nullptr, nullptr) == 0) tip->szText[0] = 0;
    tip->szText[size - 1] = 0;
    *pResult = 0;
    return TRUE;
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

LRESULT CTKPButtonEditorDialog::OnKickIdle(WPARAM, LPARAM) {
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
  return 0;
}

void CTKPButtonEditorDialog::OnTool(UINT nID) { m_model.SelectTool(static_cast<Tool>(nID - ID_TK_EDITOR_PENCIL)); }

void CTKPButtonEditorDialog::OnUpdateTool(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetCheck(static_cast<UINT>(m_model.CurrentTool()) == pCmdUI->m_nID - ID_TK_EDITOR_PENCIL);
}

void CTKPButtonEditorDialog::OnUndo() {
  m_model.Undo();
  RefreshImage();
}

void CTKPButtonEditorDialog::OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_model.CanUndo()); }

void CTKPButtonEditorDialog::OnRedo() {
  m_model.Redo();
  RefreshImage();
}

void CTKPButtonEditorDialog::OnUpdateRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_model.CanRedo()); }

void CTKPButtonEditorDialog::OnClear() {
  m_model.Clear();
  RefreshImage();
}

void CTKPButtonEditorDialog::OnMove(UINT nID) {
  switch (nID) {
    case ID_TK_EDITOR_MOVE_LEFT: m_model.Shift(-1, 0); break;
    case ID_TK_EDITOR_MOVE_RIGHT: m_model.Shift(1, 0); break;
    case ID_TK_EDITOR_MOVE_UP: m_model.Shift(0, -1); break;
    default: m_model.Shift(0, 1); break;
  }
  RefreshImage();
}

void CTKPButtonEditorDialog::OnUpdateAlways(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
