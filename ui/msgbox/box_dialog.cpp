#include "ui/msgbox/box_dialog.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/os/win32.h"
#include "ui/msgbox/box_message.h"
#include "ui/msgbox/box_store.h"
#include "ui/msgbox/html_message_box.h"
#include "ui/msgbox/message_box_style.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace msgbox {
namespace {

constexpr UINT_PTR kCountdownTimer = 1;
constexpr int kCheckboxId = 0;  // command 0 is ignored: ticking never ends the box
// The template: 36 zeroed bytes of which only the style and the size are set.
constexpr DWORD kTemplateStyle = 0x90C80880;  // pop-up, visible, caption, system menu, centred, modal frame
constexpr size_t kTemplateBytes = 36;

using os::Wide;

// A long line is wrapped to this share of the screen rather than running off it.
int MaxTextWidth() { return ::GetSystemMetrics(SM_CXSCREEN) * 2 / 3; }

Extent Measured(html::HtmlDrawer& drawer, HDC dc, const std::u16string& text) {
  if (text.empty()) return {};
  SIZE size{0, 0};
  drawer.Measure(dc, text, &size);
  if (size.cx > MaxTextWidth()) {
    size = {MaxTextWidth(), 0};
    drawer.Measure(dc, text, &size);
  }
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

}  // namespace

std::optional<std::u16string> ModuleStrings::Load(uint32_t id, size_t maxLength) {
  std::wstring buffer(maxLength + 1, L'\0');
  const int length = ::LoadStringW(module_, id, buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(length));
}

BEGIN_MESSAGE_MAP(BoxDialog, CDialog)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_CTLCOLOR()
  ON_WM_DESTROY()
  ON_MESSAGE(kDrawerRepaintMessage, OnDrawerRepaint)
END_MESSAGE_MAP()

BoxDialog::BoxDialog(const MessageBoxParams& params, HICON icon, bool ownIcon)
    : params_(params),
      strings_(params.stringModule != nullptr ? static_cast<HMODULE>(params.stringModule) : ::GetModuleHandleW(nullptr)),
      icon_(icon),
      ownIcon_(ownIcon),
      countdown_(params.timeout, params.disabledTime) {}

BoxDialog::~BoxDialog() {
  if (font_ != nullptr) ::DeleteObject(font_);
  if (background_ != nullptr) ::DeleteObject(background_);
  if (icon_ != nullptr && ownIcon_) ::DestroyIcon(icon_);
}

int BoxDialog::Run() {
  try {
    template_.assign(kTemplateBytes, 0);
  } catch (const std::bad_alloc&) {
    return kCancel;
  }
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(template_.data());
  dialog->style = kTemplateStyle;
  dialog->cx = 100;
  dialog->cy = 100;
  HWND owner = static_cast<HWND>(params_.owner);
  InitModalIndirect(dialog, owner != nullptr ? CWnd::FromHandle(owner) : nullptr);
  const INT_PTR result = DoModal();
  return result == -1 ? kCancel : static_cast<int>(result);
}

std::u16string BoxDialog::Text(int number) const {
  if (number >= kFirstCustom && number < kFirstCustom + static_cast<int>(row_.customTexts.size())) {
    return row_.customTexts[static_cast<size_t>(number - kFirstCustom)];
  }
  return ButtonText(number, params_, params_.style, strings_);
}

BOOL BoxDialog::OnInitDialog() {
  for (Area* area : {&header_, &message_, &details_}) area->drawer.SetHoverTarget(m_hWnd, kDrawerRepaintMessage, 0);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = ::CreateFontIndirectW(&metrics.lfMessageFont);

  const uint32_t style = params_.style;
  messageText_ = ComposeMessage(ResolveText(params_.messageText, style, strings_), (style & kRightAlignText) != 0,
                                icon_ != nullptr, ::GetSystemMetrics(SM_CXICON), reinterpret_cast<uintptr_t>(icon_));
  caption_ = params_.caption;
  countdownFormat_ = ButtonText(kCountdownText, params_, style, strings_);
  moreText_ = ButtonText(kMoreButton, params_, style, strings_);
  lessText_ = ButtonText(kLessButton, params_, style, strings_);
  CreateControlsAndMeasure();

  ::SetWindowTextW(m_hWnd, Wide(CountdownInCaption() && countdown_.Running()
                                    ? FillCountdown(countdownFormat_, caption_, countdown_.Counter())
                                    : caption_));
  GreyCloseItem();
  PlaceControls();
  if (style & kTopmost) ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (style & kSetForeground) ::SetForegroundWindow(m_hWnd);
  if (countdown_.Running()) SetTimer(kCountdownTimer, 1000, nullptr);
  if (HWND focus = ButtonWindow(DefaultNumber())) ::SetFocus(focus);
  return FALSE;  // the focus is set
}

void BoxDialog::CreateControlsAndMeasure() {
  for (HWND button : buttons_) ::DestroyWindow(button);
  buttons_.clear();
  if (checkbox_ != nullptr) ::DestroyWindow(checkbox_);
  if (label_ != nullptr) ::DestroyWindow(label_);
  checkbox_ = label_ = nullptr;

  LayoutInput input;
  MeasureTexts(input);
  row_ = BuildButtonRow({params_.style, ResolveText(params_.customButtons, params_.style, strings_),
                         params_.reportMessage != 0 && params_.owner != nullptr, !detailsText_.empty()});
  for (int number : row_.numbers) {
    if (number == kMoreButton) {
      const std::u16string& wider = MeasureWidth(lessText_) > MeasureWidth(moreText_) ? lessText_ : moreText_;
      input.buttonTexts.push_back(MeasureText(wider));
    } else {
      input.buttonTexts.push_back(MeasureText(Text(number)));
    }
  }
  layout_ = ComputeLayout(input);
  CreateButtons(input);

  // The frame comes from the window's own styles, so the client area is exactly what the layout asks.
  clientWidth_ = layout_.width;
  closedClientHeight_ = layout_.height;
  RECT outer{0, 0, clientWidth_, closedClientHeight_};
  ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateAreaRects();
}

void BoxDialog::MeasureTexts(LayoutInput& input) {
  const uint32_t style = params_.style;
  headerText_ = params_.headerHeight != 0 ? ResolveText(params_.headerText, style, strings_) : u"";
  detailsText_ = ResolveText(params_.detailsText, style, strings_);
  headerCaption_ = ResolveText(params_.headerStyle.caption, style, strings_);
  buttonCaption_ = ResolveText(params_.buttonStyle.caption, style, strings_);
  detailsCaption_ = ResolveText(params_.detailsStyle.caption, style, strings_);

  HDC dc = ::GetDC(m_hWnd);
  input.headerHeight = params_.headerHeight;
  input.headerText = Measured(header_.drawer, dc, headerText_);
  input.messageText = Measured(message_.drawer, dc, messageText_);
  input.detailsText = Measured(details_.drawer, dc, detailsText_);
  ::ReleaseDC(m_hWnd, dc);
  if (params_.headerHeight != 0 && params_.headerStyle.separator != 0) {
    input.headerCaptionWidth = MeasureWidth(headerCaption_);
  }
  input.buttonAreaFilled = params_.buttonStyle.HasFill();
  if (params_.buttonStyle.separator != 0) input.buttonCaptionWidth = MeasureWidth(buttonCaption_);
  input.checkbox = (style & kCheckbox) != 0;
  if (input.checkbox) input.checkboxLabelWidth = MeasureWidth(ButtonText(kCheckboxText, params_, style, strings_));
}

Extent BoxDialog::MeasureText(const std::u16string& text) const {
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, font_);
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

int BoxDialog::MeasureWidth(const std::u16string& text) const { return MeasureText(text).cx; }

void BoxDialog::CreateButtons(LayoutInput& input) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const bool disabling = countdown_.Disabling() && countdown_.Running();
  const int defaultNumber = DefaultNumber();
  for (size_t i = 0; i < row_.numbers.size(); ++i) {
    const int number = row_.numbers[i];
    std::u16string text = number == kMoreButton ? moreText_ : Text(number);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    bool enabled = true;
    if (number == defaultNumber) {
      defaultCaption_ = text;
      if (!disabling) style |= BS_DEFPUSHBUTTON;
      if (countdown_.Running() && !CountdownInCaption()) text = CountingCaption(text, countdown_.Counter());
      if (disabling) enabled = false;
    }
    if (disabling && CountdownInCaption() && number != kHelp) enabled = false;
    if (!enabled) style |= WS_DISABLED;
    HWND button = ::CreateWindowExW(0, L"BUTTON", Wide(text), style, 0, 0, layout_.button.cx, layout_.button.cy,
                                    m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)), instance, nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    buttons_.push_back(button);
  }
  if (!disabling && !row_.numbers.empty()) ::SendMessageW(m_hWnd, DM_SETDEFID, static_cast<WPARAM>(defaultNumber), 0);
  if (input.checkbox) {
    checkbox_ = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0,
                                  kCheckboxSize, kCheckboxSize, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckboxId)), instance, nullptr);
    if (params_.style & kCheckboxTicked) ::SendMessageW(checkbox_, BM_SETCHECK, BST_CHECKED, 0);
    const std::u16string text = ButtonText(kCheckboxText, params_, params_.style, strings_);
    label_ = ::CreateWindowExW(0, L"STATIC", Wide(text), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                               input.checkboxLabelWidth, kCheckboxSize, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, nullptr);
    ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
}

void BoxDialog::PlaceControls() {
  // Centred on the owner's window, else on the screen, and kept inside the work area.
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  RECT around;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner == nullptr || !::IsWindowVisible(owner) || ::IsIconic(owner)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
  } else {
    ::GetWindowRect(owner, &around);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromRect(&around, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  const bool below = (params_.style & kCheckboxBelow) != 0;
  const ButtonPlacement place = PlaceButtons(clientWidth_, closedClientHeight_, static_cast<int>(buttons_.size()),
                                             layout_.button, params_.buttonAlign, below);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    ::MoveWindow(buttons_[i], place.x + static_cast<int>(i) * place.step, place.y, layout_.button.cx,
                 layout_.button.cy, FALSE);
  }
  if (checkbox_ != nullptr) {
    const int top = CheckboxTop(closedClientHeight_, layout_.button, below);
    ::MoveWindow(checkbox_, kCheckboxLeft, top, kCheckboxSize, kCheckboxSize, FALSE);
    const Extent label = MeasureText(ButtonText(kCheckboxText, params_, params_.style, strings_));
    ::MoveWindow(label_, kCheckboxLeft + kCheckboxLabelOffset, top + (kCheckboxSize - label.cy) / 2, label.cx,
                 label.cy, FALSE);
  }
}

void BoxDialog::UpdateAreaRects() {
  auto rect = [this](int top, int height) { return height > 0 ? RECT{0, top, clientWidth_, top + height} : RECT{}; };
  header_.rect = rect(0, layout_.headerHeight);
  message_.rect = rect(layout_.MessageTop(), layout_.messageHeight);
  details_.rect = expanded_ ? rect(layout_.DetailsTop(), layout_.detailsHeight) : RECT{};
}

bool BoxDialog::CountdownInCaption() const { return params_.disabledTime > 0 && params_.countdownInCaption; }

int BoxDialog::DefaultNumber() const {
  return row_.numbers.empty() ? 0 : row_.numbers[static_cast<size_t>(row_.defaultIndex)];
}

HWND BoxDialog::ButtonWindow(int number) const {
  for (size_t i = 0; i < row_.numbers.size() && i < buttons_.size(); ++i) {
    if (row_.numbers[i] == number) return buttons_[i];
  }
  return nullptr;
}

void BoxDialog::GreyCloseItem() {
  const bool disabling = countdown_.Disabling() && countdown_.Running();
  if (!row_.cancelAllowed || (disabling && CountdownInCaption()) || (disabling && DefaultNumber() == kCancel)) {
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  }
}

void BoxDialog::ShowCounter() {
  if (CountdownInCaption()) {
    ::SetWindowTextW(m_hWnd, Wide(FillCountdown(countdownFormat_, caption_, countdown_.Counter())));
  } else if (HWND button = ButtonWindow(DefaultNumber())) {
    ::SetWindowTextW(button, Wide(CountingCaption(defaultCaption_, countdown_.Counter())));
  }
}

void BoxDialog::RestoreAfterDisabledTime() {
  if (row_.cancelAllowed) ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  if (CountdownInCaption()) {
    ::SetWindowTextW(m_hWnd, Wide(caption_));
  } else if (HWND button = ButtonWindow(DefaultNumber())) {
    ::SetWindowTextW(button, Wide(defaultCaption_));
  }
  for (HWND button : buttons_) ::EnableWindow(button, TRUE);
  if (HWND button = ButtonWindow(DefaultNumber())) {
    ::SendMessageW(m_hWnd, DM_SETDEFID, static_cast<WPARAM>(DefaultNumber()), 0);
    ::SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

void BoxDialog::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kCountdownTimer) return;
  switch (countdown_.Step()) {
    case Countdown::Tick::kShow:
      ShowCounter();
      break;
    case Countdown::Tick::kPressDefault:
      KillTimer(kCountdownTimer);
      if (HWND button = ButtonWindow(DefaultNumber())) {
        ::SetWindowTextW(button, Wide(defaultCaption_));
        ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(DefaultNumber(), BN_CLICKED), reinterpret_cast<LPARAM>(button));
      }
      break;
    case Countdown::Tick::kEnable:
      KillTimer(kCountdownTimer);
      RestoreAfterDisabledTime();
      break;
    case Countdown::Tick::kNone:
      KillTimer(kCountdownTimer);
      break;
  }
}

BOOL BoxDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int number = LOWORD(wParam);
  if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) return TRUE;
  if (number == 0) return TRUE;
  HWND button = ButtonWindow(number);
  if (number == kCancel) {
    // Esc and the close box: only where the box has a cancel, and not while its buttons wait.
    if (!row_.cancelAllowed) return TRUE;
    if (button == nullptr && countdown_.Disabling() && countdown_.Running()) return TRUE;
  } else if (button == nullptr) {
    return TRUE;  // Enter on a box without that button
  }
  if (button != nullptr && !::IsWindowEnabled(button)) return TRUE;
  switch (number) {
    case kHelp: {
      wchar_t path[MAX_PATH] = {};
      ::GetModuleFileNameW(nullptr, path, MAX_PATH);
      std::wstring help(path);
      const size_t dot = help.find_last_of(L'.');
      const size_t slash = help.find_last_of(L"\\/");
      if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) help.resize(dot);
      help += L".hlp";
      if (params_.helpContext > 0) {
        ::WinHelpW(m_hWnd, help.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(params_.helpContext));
      } else {
        ::WinHelpW(m_hWnd, help.c_str(), HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(L""));
      }
      return TRUE;
    }
    case kReport:
      ::SendMessageW(static_cast<HWND>(params_.owner), params_.reportMessage, 0, 0);
      return TRUE;
    case kLessButton:
    case kMoreButton:
      ToggleDetails();
      return TRUE;
    default:
      Finish(number);
      return TRUE;
  }
}

void BoxDialog::ToggleDetails() {
  expanded_ = !expanded_;
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  const int change = expanded_ ? layout_.detailsHeight : -layout_.detailsHeight;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + change,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HWND button = ButtonWindow(kMoreButton)) ::SetWindowTextW(button, Wide(expanded_ ? lessText_ : moreText_));
  UpdateAreaRects();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void BoxDialog::Finish(int result) {
  KillTimer(kCountdownTimer);
  if (checkbox_ != nullptr && ::SendMessageW(checkbox_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    if (params_.style & kCheckboxTicked) result |= static_cast<int>(kCheckboxTicked);
    if (!params_.answerName.empty()) StoreAnswer(params_, result);
  }
  EndDialog(result);
}

BOOL BoxDialog::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    POINT point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWnd, &point);
    for (Area* area : {&header_, &message_, &details_}) {
      if (!::IsRectEmpty(&area->rect) && area->drawer.SetCursorAt(point)) return TRUE;
    }
  }
  return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

void BoxDialog::OnLButtonDown(UINT, CPoint point) {
  for (Area* area : {&header_, &message_, &details_}) {
    if (!::IsRectEmpty(&area->rect)) area->drawer.Click(POINT{point.x, point.y});
  }
}

HBRUSH BoxDialog::OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC) {
    ::SetBkMode(pDC->m_hDC, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
  }
  return reinterpret_cast<HBRUSH>(Default());
}

void BoxDialog::OnDestroy() {
  KillTimer(kCountdownTimer);
  for (HWND button : buttons_) ::DestroyWindow(button);
  buttons_.clear();
  if (checkbox_ != nullptr) ::DestroyWindow(checkbox_);
  if (label_ != nullptr) ::DestroyWindow(label_);
  checkbox_ = label_ = nullptr;
  CDialog::OnDestroy();
}

LRESULT BoxDialog::OnDrawerRepaint(WPARAM, LPARAM) {
  for (const Area* area : {&header_, &message_, &details_}) {
    if (!::IsRectEmpty(&area->rect)) ::InvalidateRect(m_hWnd, &area->rect, FALSE);
  }
  return 0;
}

}  // namespace msgbox
