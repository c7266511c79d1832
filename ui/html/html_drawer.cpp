#include "ui/html/html_drawer.h"

#include <algorithm>

#include "platform/seams/open_address.h"
#include "ui/draw/draw_manager.h"
#include "ui/html/html_colors_win32.h"
#include "ui/html/html_gdi_metrics_win32.h"
#include "ui/html/html_links.h"
#include "ui/html/html_painter_win32.h"
#include "ui/html/html_text.h"

namespace html {

namespace {

constexpr int kHelpHandCursor = 106;

// The system hand; where there is none, the hand of the help program in the Windows folder (a copy).
HCURSOR LoadHandCursor() {
  if (HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND)) return static_cast<HCURSOR>(::CopyIcon(hand));
  wchar_t folder[MAX_PATH] = {};
  UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path = std::wstring(folder, length) + L"\\winhlp32.exe";
  HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return nullptr;
  HCURSOR copy = nullptr;
  if (HCURSOR help = ::LoadCursorW(module, MAKEINTRESOURCEW(kHelpHandCursor)))
    copy = static_cast<HCURSOR>(::CopyIcon(help));
  ::FreeLibrary(module);
  return copy;
}

}  // namespace

struct HtmlDrawer::State {
  // Where a hover or a message link is reported.
  struct Target {
    HWND window = nullptr;
    UINT message = 0;
    LPARAM parameter = 0;
  };

  Win32SystemColours system;
  HtmlColourTable colours{system};
  HtmlStyleSheet sheet;
  HtmlLayoutSettings settings;
  draw::DrawManager draw;
  HtmlFontCache fonts;
  HtmlLinkTracker links;
  std::u16string prepared;
  int maxWidth = 0;
  bool lineBreaks = true;
  Target hover;
  Target messageLink;
  HCURSOR cursor = nullptr;
  HMODULE imageModule = nullptr;
  std::vector<HtmlDrawer::DrawnRun> drawn;

  HtmlLayoutResult Layout(HDC dc, int left, int top, int width) {
    GdiHtmlMetrics metrics(dc, fonts, imageModule);
    settings.hoveredLink = links.Hovered();
    HtmlLayout layout(metrics, sheet, colours, settings);
    return layout.Run(prepared, left, top, width, maxWidth > 0);
  }
};

HtmlDrawer::HtmlDrawer() : state_(std::make_unique<State>()) {
  state_->settings.disabledColour = state_->system.SystemColour(kSysColourButtonShadow);
  state_->cursor = LoadHandCursor();
}

HtmlDrawer::~HtmlDrawer() {
  if (state_->cursor) ::DestroyCursor(state_->cursor);
}

void HtmlDrawer::Measure(HDC dc, const std::u16string& text, SIZE* size) {
  State& state = *state_;
  state.maxWidth = size ? std::max<LONG>(size->cx, 0) : 0;
  state.prepared = text.empty() ? std::u16string() : PrepareHtmlText(text, state.lineBreaks);
  if (state.prepared.empty()) {
    if (size) *size = SIZE{0, 0};
    return;
  }
  HtmlLayoutResult layout = state.Layout(dc, 0, 0, state.maxWidth);
  int width = layout.width + 1;
  if (state.maxWidth > 0) width = std::min(width, state.maxWidth);
  if (size) *size = SIZE{width, layout.height + 1};
}

void HtmlDrawer::Draw(HDC dc, const RECT& rect) {
  State& state = *state_;
  if (state.prepared.empty()) return;
  HtmlLayoutResult layout = state.Layout(dc, rect.left, rect.top, rect.right - rect.left);
  state.links.SetAreas(layout.hotAreas);
  state.drawn.clear();
  for (const HtmlPaintItem& item : layout.items) {
    if (item.kind != HtmlPaintItem::Kind::kText) continue;
    state.drawn.push_back({item.text, RECT{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}});
  }
  int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  PaintHtml({dc, state.draw, state.fonts, state.imageModule, state.settings.shadow}, layout);
  ::RestoreDC(dc, saved);
}

void HtmlDrawer::SetHoverTarget(HWND window, UINT message, LPARAM parameter) {
  state_->hover = window ? State::Target{window, message, parameter} : State::Target{};
}

void HtmlDrawer::SetMessageLinkTarget(HWND window, UINT message, LPARAM parameter) {
  state_->messageLink = window ? State::Target{window, message, parameter} : State::Target{};
}

bool HtmlDrawer::SetCursorAt(POINT point) {
  State& state = *state_;
  if (state.links.HoverAt(point.x, point.y) && state.hover.window)
    ::SendMessageW(state.hover.window, state.hover.message, static_cast<WPARAM>(state.links.Hovered()),
                   state.hover.parameter);
  const HtmlHotArea* area = state.links.AreaAt(point.x, point.y);
  if (!area || area->target.empty() || !state.cursor) return false;
  ::SetCursor(state.cursor);
  return true;
}

void HtmlDrawer::Click(POINT point) {
  State& state = *state_;
  const HtmlHotArea* area = state.links.AreaAt(point.x, point.y);
  if (!area) return;
  if (area->kind == kHtmlLinkAddress) {
    // The shell opens it; failing that the registered browser starts on it, the target quoted.
    seams::OpenAddress(nullptr, area->target, SW_SHOWNORMAL);
  } else if (area->kind == kHtmlLinkMessage && state.messageLink.window) {
    std::u16string target = area->target;
    ::SendMessageW(state.messageLink.window, state.messageLink.message, reinterpret_cast<WPARAM>(target.c_str()),
                   state.messageLink.parameter);
  }
}

int HtmlDrawer::HoveredLink() const { return state_->links.Hovered(); }

std::vector<HtmlDrawer::DrawnRun> HtmlDrawer::DrawnRuns() const { return state_->drawn; }

void HtmlDrawer::SetLinkCursor(HCURSOR cursor) {
  if (cursor && cursor == state_->cursor) return;
  if (state_->cursor) ::DestroyCursor(state_->cursor);
  state_->cursor = cursor ? cursor : LoadHandCursor();
}

HCURSOR HtmlDrawer::LinkCursor() const { return state_->cursor; }

void HtmlDrawer::SetImageModule(HMODULE module) { state_->imageModule = module; }

void HtmlDrawer::EnableColours(bool enabled) { state_->settings.coloursEnabled = enabled; }

void HtmlDrawer::SetDisabledColour(COLORREF colour) { state_->settings.disabledColour = colour; }

void HtmlDrawer::SetLineBreakConversion(bool on) { state_->lineBreaks = on; }

void HtmlDrawer::SetShadow(int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY) {
  html::SetShadow(state_->settings.shadow, offsetX, offsetY, darkness, gradient, blurX, blurY);
}

void HtmlDrawer::SetStyleSheet(const char16_t* text) {
  if (text) state_->sheet.Load(text);
  else state_->sheet.LoadDefault();
}

}  // namespace html
