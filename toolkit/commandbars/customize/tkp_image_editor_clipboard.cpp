// The button image editor's image to and from the clipboard, and from a picture file.
#include "toolkit/commandbars/customize/tkp_image_editor_dialog.h"

#include <commdlg.h>
#include <olectl.h>

#include <cstring>

#include <string>
#include <vector>

#include "platform/classlib/win/ccmdui.h"
#include "platform/seams/seams.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/customize/tkp_image_editor_dib.h"
#include "toolkit/common/resource_manager.h"

using tkp_image_editor::EditorImage;
using tkp_image_editor::kTransparent;

namespace {
// A picture file larger than this is no button image.
constexpr DWORD kMaxPictureFile = 8 * 1024 * 1024;

// A device-dependent copy of the image, for CF_BITMAP.
HBITMAP CreateScreenBitmap(const EditorImage& image) {
  HBITMAP hDib = TKPCreateEditorBitmap(image);
  if (hDib == nullptr) return nullptr;
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hCopy = ::CreateCompatibleBitmap(hScreen, image.Width(), image.Height());
  HDC hFrom = ::CreateCompatibleDC(hScreen), hTo = ::CreateCompatibleDC(hScreen);
  HGDIOBJ oldFrom = ::SelectObject(hFrom, hDib), oldTo = ::SelectObject(hTo, hCopy);
  ::BitBlt(hTo, 0, 0, image.Width(), image.Height(), hFrom, 0, 0, SRCCOPY);
  ::SelectObject(hFrom, oldFrom);
  ::SelectObject(hTo, oldTo);
  ::DeleteDC(hFrom);
  ::DeleteDC(hTo);
  ::ReleaseDC(nullptr, hScreen);
  ::DeleteObject(hDib);
  return hCopy;
}

HGLOBAL GlobalCopy(const std::vector<uint8_t>& bytes) {
  HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (hData == nullptr) return nullptr;
  void* p = ::GlobalLock(hData);
  if (p != nullptr) memcpy(p, bytes.data(), bytes.size());
  ::GlobalUnlock(hData);
  return hData;
}

// Some format on the clipboard names a 32-bit bitmap with alpha.
bool ClipboardNamesAlpha() {
  for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format)) {
    wchar_t name[255] = {};
    int length = ::GetClipboardFormatNameW(format, name, 255);
    if (length > 0 && tkp_image_editor::NamesAlphaFormat(std::u16string_view(reinterpret_cast<char16_t*>(name),
                                                                               static_cast<size_t>(length)))) {
      return true;
    }
  }
  return false;
}

// The clipboard's "Alpha Bitmap Image", read with every length checked.
bool ReadAlphaFormat(EditorImage& image) {
  HANDLE hData = ::GetClipboardData(TKPAlphaBitmapFormat());
  if (hData == nullptr) return false;
  SIZE_T size = ::GlobalSize(hData);
  const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(hData));
  if (bytes == nullptr) return false;
  tkp_image_editor::DibResult read = tkp_image_editor::DecodePackedDib(bytes, size);
  ::GlobalUnlock(hData);
  if (!read.ok) return false;
  image = std::move(read.image);
  image.SetAlpha(true);
  return true;
}

bool ReadFileBytes(const CString& path, std::vector<uint8_t>& bytes) {
  HANDLE hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(hFile, &size) && size.QuadPart <= kMaxPictureFile;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() || (::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  ::CloseHandle(hFile);
  return ok;
}

void ShowImportError(HWND hOwner, const std::string& why) {
  seams::MessageBoxRequest request;
  request.owner = hOwner;
  request.caption = u"Button Editor";
  request.text = u"The picture cannot be imported. " + std::u16string(why.begin(), why.end());
  request.style = seams::kButtonsOk | seams::kIconWarning;
  seams::MessageBoxes().Show(request);
}
// A metafile, GIF or JPEG file rendered by the system's picture loader onto the transparent colour, at
// the image's size; false when the loader does not take it.
bool RenderPicture(const std::vector<uint8_t>& bytes, CSize size, EditorImage& image) {
  if (bytes.empty()) return false;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return false;
  std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
  ::GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    ::GlobalFree(memory);
    return false;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded = ::OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || picture == nullptr) return false;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture->get_Width(&width);
  picture->get_Height(&height);
  HBITMAP bitmap = TKPCreateEditorBitmap(EditorImage(size.cx, size.cy));
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, bitmap);
  // The picture's units run upwards: drawn from its top edge down.
  const HRESULT drawn = picture->Render(dc, 0, 0, size.cx, size.cy, 0, height, width, -height, nullptr);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  picture->Release();
  if (SUCCEEDED(drawn)) image = TKPEditorImageFromBitmap(bitmap, size.cx, size.cy, FALSE, 0, 0);
  ::DeleteObject(bitmap);
  return SUCCEEDED(drawn);
}

}  // namespace

void CTKPButtonEditorDialog::OnCopy() {
  if (!::OpenClipboard(m_hWnd)) return;
  if (!::EmptyClipboard()) {
    ::CloseClipboard();
    return;
  }
  const EditorImage& image = m_model.Image();
  // The transparent colour shows as the face of a button where the bitmap lands.
  EditorImage shown = tkp_image_editor::CopyReplacing(image, image.Width(), image.Height(), kTransparent,
                                                      ::GetSysColor(COLOR_BTNFACE));
  if (HBITMAP hBitmap = CreateScreenBitmap(shown)) {
    if (::SetClipboardData(CF_BITMAP, hBitmap) == nullptr) ::DeleteObject(hBitmap);
  }
  if (image.HasAlpha()) {
    if (HGLOBAL hData = GlobalCopy(tkp_image_editor::EncodePackedDib32(image))) {
      if (::SetClipboardData(TKPAlphaBitmapFormat(), hData) == nullptr) ::GlobalFree(hData);
    }
  }
  ::CloseClipboard();
}

void CTKPButtonEditorDialog::OnUpdatePaste(CCmdUI* pCmdUI) {
  pCmdUI->Enable(::IsClipboardFormatAvailable(CF_BITMAP) || ::IsClipboardFormatAvailable(TKPAlphaBitmapFormat()));
}

void CTKPButtonEditorDialog::OnPaste() {
  if (!::OpenClipboard(m_hWnd)) return;
  EditorImage pasted;
  bool have = ::IsClipboardFormatAvailable(TKPAlphaBitmapFormat()) && ReadAlphaFormat(pasted);
  if (!have && ::IsClipboardFormatAvailable(CF_BITMAP)) {
    auto hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    bool alpha = ClipboardNamesAlpha();
    if (hBitmap != nullptr) {
      pasted = TKPEditorImageFromBitmap(hBitmap, m_szIcon.cx, m_szIcon.cy, alpha, ::GetSysColor(COLOR_BTNFACE),
                                        kTransparent);
      if (alpha) tkp_image_editor::MarkEmptyPixelsTransparent(pasted);
      have = true;
    }
  }
  ::CloseClipboard();
  if (!have) return;
  m_model.Replace(pasted);
  RefreshImage();
}

void CTKPButtonEditorDialog::OnImport() {
  CString filter;
  TKPResourceManager()->LoadString(&filter, IDS_TK_EDITOR_IMPORT_FILTER);
  seams::FileDialogRequest request;
  request.owner = m_hWnd;
  request.open = true;
  request.filter = std::u16string(reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(filter)),
                                  static_cast<size_t>(filter.GetLength()));
  request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  seams::FileDialogResult chosen = seams::FileDialogs().ChooseFiles(request);
  if (!chosen.ok || chosen.paths.empty()) return;
  ImportFile(CString(reinterpret_cast<const wchar_t*>(chosen.paths.front().c_str())));
}

BOOL CTKPButtonEditorDialog::ImportFile(const CString& path) {
  CString extension = path.Mid(path.ReverseFind(_T('.')) + 1);
  extension.MakeLower();
  EditorImage imported;
  std::vector<uint8_t> iconBytes;
  tkp_image_editor::DibResult alphaIcon;
  // An icon file's 32-bit image of the button's size keeps its alpha; anything else goes to the system.
  if (extension == _T("ico") && ReadFileBytes(path, iconBytes)) {
    alphaIcon = tkp_image_editor::DecodeIconFile(iconBytes.data(), iconBytes.size(), m_szIcon.cx, m_szIcon.cy);
  }
  if (alphaIcon.ok) {
    imported = std::move(alphaIcon.image);
  } else if (extension == _T("ico") || extension == _T("cur")) {
    auto hIcon = static_cast<HICON>(::LoadImageW(nullptr, path, IMAGE_ICON, m_szIcon.cx, m_szIcon.cy,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (hIcon == nullptr) {
      ShowImportError(m_hWnd, "The icon could not be read.");
      return FALSE;
    }
    imported = TKPEditorImageFromIcon(CTKPImageManagerIconHandle(hIcon), m_szIcon);
    ::DestroyIcon(hIcon);
  } else if (extension == _T("bmp") || extension == _T("dib")) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
      ShowImportError(m_hWnd, "The file could not be read.");
      return FALSE;
    }
    tkp_image_editor::DibResult read = tkp_image_editor::DecodeBmpFile(bytes.data(), bytes.size());
    if (!read.ok) {
      ShowImportError(m_hWnd, read.error);
      return FALSE;
    }
    imported = std::move(read.image);
  } else {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
      ShowImportError(m_hWnd, "The file could not be read.");
      return FALSE;
    }
    if (!RenderPicture(bytes, m_szIcon, imported)) {
      ShowImportError(m_hWnd, "It is not a picture this system can read.");
      return FALSE;
    }
  }
  m_model.Replace(imported);
  RefreshImage();
  return TRUE;
}
