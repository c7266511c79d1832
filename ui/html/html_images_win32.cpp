#include "ui/html/html_images_win32.h"

#include "platform/os/win32.h"
#include "ui/draw/draw_manager.h"
#include "ui/html/html_style_values.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace html {

namespace {

using os::Wide;

}  // namespace

HtmlLoadedImage::HtmlLoadedImage(const HtmlImageSource& source, HMODULE imageModule)
    : isIcon_(source.kind == HtmlImageKind::kIcon) {
  // The sources given are tried in their order until one gives an image.
  HANDLE handle = nullptr;
  bool callers = false;  // a handle the caller gave is kept
  if (source.handle != 0) {
    HANDLE given = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(source.handle));
    callers = IsImage(given);
    if (callers) handle = given;
  }
  if (handle == nullptr && source.idres != 0) handle = Load(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(source.idres), 0);
  if (handle == nullptr && source.iddll != 0) {
    HMODULE library = nullptr;
    if (!source.srcdll.empty()) library = ::LoadLibraryExW(Wide(source.srcdll), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE module = library ? library : imageModule;
    if (module) handle = Load(module, MAKEINTRESOURCEW(source.iddll), 0);
    if (library) ::FreeLibrary(library);
  }
  if (handle == nullptr && !source.file.empty()) handle = Load(nullptr, Wide(source.file), LR_LOADFROMFILE);
  owned_ = handle != nullptr && !callers;
  if (isIcon_) icon_ = static_cast<HICON>(handle);
  else bitmap_ = static_cast<HBITMAP>(handle);
}

bool HtmlLoadedImage::IsImage(HANDLE handle) const {
  if (!isIcon_) return ::GetObjectType(handle) == OBJ_BITMAP;
  ICONINFO info{};
  if (!::GetIconInfo(static_cast<HICON>(handle), &info)) return false;
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return true;
}

HANDLE HtmlLoadedImage::Load(HMODULE module, const wchar_t* name, UINT flags) {
  if (isIcon_) return ::LoadImageW(module, name, IMAGE_ICON, 0, 0, flags | LR_DEFAULTSIZE);
  return ::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION);
}

HtmlLoadedImage::~HtmlLoadedImage() {
  if (!owned_) return;
  if (icon_) ::DestroyIcon(icon_);
  if (bitmap_) ::DeleteObject(bitmap_);
}

HtmlSize HtmlLoadedImage::Size() const {
  SIZE size = isIcon_ ? draw::DrawManager::IconSize(icon_) : draw::DrawManager::BitmapSize(bitmap_);
  return {size.cx, size.cy};
}

HBITMAP LoadBackgroundBitmap(const std::u16string& value, HMODULE imageModule) {
  size_t colon = value.find(u':');
  if (colon == std::u16string::npos) return nullptr;
  std::u16string kind = value.substr(0, colon);
  std::u16string rest = value.substr(colon + 1);
  HtmlImageSource source;
  if (kind == u"idres") source.idres = static_cast<uint32_t>(ReadStyleNumber(rest));
  else if (kind == u"iddll") source.iddll = static_cast<uint32_t>(ReadStyleNumber(rest));
  else if (kind == u"file") source.file = rest;
  else return nullptr;
  HtmlLoadedImage image(source, imageModule);
  // A copy that outlives the loader.
  return image.Bitmap() ? static_cast<HBITMAP>(::CopyImage(image.Bitmap(), IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

}  // namespace html
