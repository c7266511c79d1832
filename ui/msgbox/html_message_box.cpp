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

// The program's own marks, drawn in its style; the system's where the program's module lacks them.
HICON LoadBoxIcon(const MessageBoxParams& params, bool* own) {
  const int size = ::GetSystemMetrics(SM_CXICON);
  *own = true;
  auto load = [size](HMODULE module, UINT id) {
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  UINT ours = 0;
  const wchar_t* system = nullptr;
  switch (params.style & kIconBits) {
    case kIconError: ours = IDI_MESSAGE_ERROR; system = IDI_HAND; break;
    case kIconQuestion: ours = IDI_MESSAGE_QUESTION; system = IDI_QUESTION; break;
    case kIconWarning: ours = IDI_MESSAGE_WARNING; system = IDI_EXCLAMATION; break;
    case kIconInformation: ours = IDI_MESSAGE_INFORMATION; system = IDI_ASTERISK; break;
    case kIconUser: {
      HMODULE module = params.iconModule != nullptr ? static_cast<HMODULE>(params.iconModule) : ::GetModuleHandleW(nullptr);
      return load(module, params.userIcon);
    }
    default: return nullptr;
  }
  if (HICON icon = load(::GetModuleHandleW(nullptr), ours)) return icon;
  *own = false;
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
