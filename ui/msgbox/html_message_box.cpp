#include "ui/msgbox/html_message_box.h"

#include "platform/seams/seams.h"
#include "res/resource.h"
#include "ui/msgbox/box_dialog.h"
#include "ui/msgbox/box_store.h"
#include "ui/msgbox/box_thread.h"
#include "ui/msgbox/message_box_style.h"

namespace msgbox {
namespace {

HWND LastActivePopup(HWND window) { return window != nullptr ? ::GetLastActivePopup(window) : nullptr; }

// No owner given: the last active pop-up of the active window, else of the main window.
HWND DefaultOwner() {
  HWND active = ::GetActiveWindow();
  return LastActivePopup(active != nullptr ? active : MainWindow());
}

std::u16string WindowText(HWND window) {
  wchar_t text[261] = {};
  if (window != nullptr) ::GetWindowTextW(window, text, 261);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

// The system's icon of the icon bits (shared: never destroyed), or the user icon of the parameter block.
HICON LoadBoxIcon(const MessageBoxParams& params, bool* own) {
  *own = false;
  const wchar_t* system = nullptr;
  switch (params.style & kIconBits) {
    case kIconError: system = IDI_HAND; break;
    case kIconQuestion: system = IDI_QUESTION; break;
    case kIconWarning: system = IDI_EXCLAMATION; break;
    case kIconInformation: system = IDI_ASTERISK; break;
    case kIconUser: {
      const int size = ::GetSystemMetrics(SM_CXICON);
      HMODULE module = params.iconModule != nullptr ? static_cast<HMODULE>(params.iconModule) : ::GetModuleHandleW(nullptr);
      *own = true;
      return static_cast<HICON>(
          ::LoadImageW(module, MAKEINTRESOURCEW(params.userIcon), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    default: return nullptr;
  }
  return ::LoadIconW(nullptr, system);
}

int ShowOnThisThread(MessageBoxParams params) {
  HWND owner = static_cast<HWND>(params.owner);
  if (owner == nullptr) owner = DefaultOwner();
  params.owner = owner;
  if (params.caption.empty()) params.caption = WindowText(owner);
  if (params.caption.empty()) params.caption = u"Error";

  if ((params.style & kCheckbox) && !params.answerName.empty()) {
    if (const int stored = StoredAnswer(params); stored != 0) return stored;
  }
  // A test's scripted seam answers instead of the box.
  seams::MessageBoxSeam& seam = seams::MessageBoxes();
  if (&seam != &seams::PlatformMessageBoxes()) {
    ModuleStrings strings(params.stringModule != nullptr ? static_cast<HMODULE>(params.stringModule)
                                                         : ::GetModuleHandleW(nullptr));
    seams::MessageBoxRequest request{owner, ResolveText(params.messageText, params.style, strings), params.caption,
                                     params.style, true, params.background.fill};
    return seam.Show(request);
  }
  if (!(params.style & kNoBeep)) ::MessageBeep(params.style & kIconBits);
  bool own = false;
  HICON icon = LoadBoxIcon(params, &own);
  BoxDialog box(params, icon, own);
  return box.Run();
}

}  // namespace
}  // namespace msgbox

int HtmlMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT style,
                   const MessageBoxParams* params) {
  MessageBoxParams block = params != nullptr ? *params : MessageBoxParams{};
  block.owner = owner;
  block.messageText = text;
  block.caption = caption;
  block.style = style;
  if (msgbox::OnInterfaceThread()) return msgbox::ShowOnThisThread(block);
  // A worker's box: shown by the main window's thread, owned by the main window, while the worker waits.
  return msgbox::RunOnInterfaceThread([&block] {
    if (block.owner == nullptr) block.owner = msgbox::LastActivePopup(msgbox::MainWindow());
    return msgbox::ShowOnThisThread(block);
  });
}
