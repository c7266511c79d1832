#include "modal_script.h"

#include <map>
#include <utility>

#include "driver.h"

namespace harness {
namespace {

// Thread timers carry no pointer of their own: their ids lead back to the scripts.
std::map<UINT_PTR, ModalScript*>& Scripts() {
  static std::map<UINT_PTR, ModalScript*> scripts;
  return scripts;
}

// A dialog box is cancelled rather than closed: a dialog that refuses to close while it works (a save) would
// ask about the close and leave a second box over the failure, where Cancel lets it end when its work does.
BOOL CALLBACK EndThreadDialog(HWND window, LPARAM) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32770") {
    ::EndDialog(window, IDCANCEL);
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// The dialog a step runs in: the thread's active window when it is a dialog box or modal (its owner
// disabled); none otherwise.
HWND ModalWindow() {
  HWND active = ::GetActiveWindow();
  if (active == nullptr || !::IsWindowVisible(active)) return nullptr;
  wchar_t name[16] = {};
  ::GetClassNameW(active, name, 16);
  HWND owner = ::GetWindow(active, GW_OWNER);
  return std::wstring(name) == L"#32770" || (owner != nullptr && !::IsWindowEnabled(owner)) ? active : nullptr;
}

std::string Caption(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  std::string narrow;
  for (const wchar_t* c = text; *c; ++c) narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
  return narrow;
}

}  // namespace

void ModalScript::FailAll(const std::string& why) {
  std::map<UINT_PTR, ModalScript*> scripts = Scripts();
  for (auto& [id, script] : scripts) script->Fail(why);
  ::EnumThreadWindows(::GetCurrentThreadId(), EndThreadDialog, 0);
}

ModalScript::~ModalScript() { Stop(); }

ModalScript& ModalScript::Step(std::string name, std::function<bool()> ready, std::function<void()> act,
                               unsigned timeoutMs) {
  steps_.push_back({std::move(name), std::move(ready), std::move(act), timeoutMs});
  return *this;
}

ModalScript& ModalScript::OnWindow(const std::wstring& text, std::function<void(HWND)> act, unsigned timeoutMs) {
  std::string name(text.begin(), text.end());
  return Step(
      "window \"" + name + "\"", [text] { return FindThreadWindow(text) != nullptr; },
      [text, act] { act(FindThreadWindow(text)); }, timeoutMs);
}

void ModalScript::Start() {
  started_ = true;
  headSince_ = ::GetTickCount();
  timer_ = ::SetTimer(nullptr, 0, 20, &ModalScript::OnTimer);
  if (timer_) Scripts()[timer_] = this;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = Scripts().find(id);
  if (found != Scripts().end()) found->second->Tick();
}

void ModalScript::Tick() {
  if (steps_.empty()) {
    if (lastDialog_ != nullptr && ::IsWindow(lastDialog_) && ::IsWindowVisible(lastDialog_)) {
      if (::GetTickCount() - headSince_ < kLastDialogMs) return;
      return Fail("the last step left the dialog \"" + Caption(lastDialog_) + "\" open");
    }
    return Stop();
  }
  Entry& head = steps_.front();
  if (!head.ready()) {
    if (::GetTickCount() - headSince_ >= head.timeoutMs) Fail("timed out waiting for " + head.name);
    return;
  }
  // Taken off before it runs: its action may enter a modal loop of its own that runs the next steps.
  Entry step = std::move(head);
  steps_.pop_front();
  headSince_ = ::GetTickCount();
  lastDialog_ = steps_.empty() ? ModalWindow() : nullptr;
  step.act();
}

void ModalScript::Fail(const std::string& why) {
  failure_ = why;
  lastDialog_ = nullptr;
  steps_.clear();
  Stop();
  ::EnumThreadWindows(::GetCurrentThreadId(), EndThreadDialog, 0);
}

void ModalScript::Stop() {
  if (!timer_) return;
  ::KillTimer(nullptr, timer_);
  Scripts().erase(timer_);
  timer_ = 0;
}

}  // namespace harness
