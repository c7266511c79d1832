#include "preview/html/html_browser_win32.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/os/os.h"
#include "platform/os/win32.h"
#include "preview/address_reach.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_document_win32.h"
#include "preview/html/html_fetch_win32.h"
#include "preview/html/html_page_load.h"
#include "preview/html/html_parse_pass.h"
#include "preview/html/html_url.h"
#include "preview/html/scroll_manager.h"
#include "preview/html/scroll_manager_win32.h"
#include "preview/partial_preview_note.h"

namespace htmlview {
namespace {

// The running program's path with its extension replaced by ".txt".
std::u16string TextCopyPath() {
  wchar_t module[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::u16string path(reinterpret_cast<const char16_t*>(module), n);
  const size_t dot = path.rfind(u'.');
  const size_t slash = path.find_last_of(u"\\/");
  if (dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash)) path.resize(dot);
  return path + u".txt";
}

// A window's drawing off (WM_SETREDRAW) for a scope, when it was on: a hidden window stays hidden.
class RedrawOff {
 public:
  explicit RedrawOff(HWND window)
      : window_((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) ? window : nullptr) {
    if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawOff() {
    if (window_) SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND window_;
};

}  // namespace

HtmlBrowser::HtmlBrowser(HWND view, HWND title, HWND status, HWND address, HWND back)
    : m_hwndView(view), m_hwndTitle(title), m_hwndStatus(status), m_hwndAddress(address), m_hwndBack(back),
      m_document(std::make_unique<HtmlDocument>(this, 0)), m_uiThread(GetCurrentThreadId()) {
  m_document->images.SetDecoder(&m_decoder);
  BeepWhenElementsCannotGrow(*m_document);
  UseLayoutPass(*m_document);
}

HtmlBrowser::~HtmlBrowser() {
  DestroyControls();
  if (m_backBuffer) DeleteObject(m_backBuffer);
  // Network image fetches still waiting end now; then the document waits for every fetch and its
  // report before the pictures and this object go.
  m_imageFetches.Cancel();
  m_document.reset();
  HandleScrollMessage(nullptr, 0, 0, 0);
}

void HtmlBrowser::SetStatus(const std::u16string& text) {
  if (m_hwndStatus) SetWindowTextW(m_hwndStatus, os::Wide(text));
}

void HtmlBrowser::OnParseProgress(int flag, int done, int total) {
  if (flag != 0) return;
  // The pass reports every step of a page; the line changes once per hundredth of it.
  const int step = std::max(total / 100, 1);
  if (done != total && done >= m_parseShown && done - m_parseShown < step) return;
  m_parseShown = done;
  SetStatus(ParsingStatus(done, total));
}

void HtmlBrowser::SetTitle(const char16_t* text) {
  if (m_hwndTitle) SetWindowTextW(m_hwndTitle, os::Wide(text ? text : u""));
}

int HtmlBrowser::ScrollPos(UINT which) const {
  return static_cast<int>(HandleScrollMessage(m_hwndView, which, 0, 0));
}

void HtmlBrowser::RememberScrollPosition() {
  const int last = m_history.RowCount() - 1;
  if (last < 0) return;
  const std::u16string pos = os::SignedDecimal(ScrollPos(scrollmsg::kGetVPos));
  if (m_history.GetRow(last).Count() >= 3) {
    m_history.SetCell(last, 2, pos.c_str());
  } else {
    m_history.AddCell(last, pos.c_str());
  }
}

void HtmlBrowser::UpdateBackButton() {
  if (m_hwndBack) EnableWindow(m_hwndBack, m_history.RowCount() >= 2 ? TRUE : FALSE);
}

void HtmlBrowser::AddHistory(const std::u16string& url, const std::u16string& page) {
  const int row = m_history.AddRow() - 1;
  m_history.AddCell(row, url.c_str());
  m_history.AddCell(row, page.c_str());
}

void HtmlBrowser::ShowPage(const std::u16string& text, const std::u16string& baseUrl, const std::u16string& address) {
  DestroyControls();
  m_document->images.SetFetchOutside(preview::ReachesOutside(address));
  LoadPage(*m_document, m_measurer, text, m_fontFace, m_fontSize, baseUrl);
  PageCuts cuts;
  if (m_document->cut) cuts.items = m_document->itemCount;
  if (m_document->nestedCut) cuts.nestedDepth = kMaxParseDepth;
  cuts.listOptionsShown = m_document->cutListsShown;
  cuts.listOptions = m_document->cutListsOptions;
  m_pageNote = PartialPageNote(cuts);
  // The note comes once the page is painted: posted, it is taken after the navigation's paint.
  if (!m_pageNote.empty()) PostMessageW(m_hwndView, kCutPageMessage, 0, 0);
  // Ready comes with the last picture's report; a page whose pictures are all in already (none at all, or
  // every one shared with a page seen before) gets no report, so it is ready now. A fetch ending between
  // the count and this check only shows the same text once more.
  const HtmlImageTable& images = m_document->images;
  if (images.FetchedCount() == images.Count()) ShowReadyStatus();
}

void HtmlBrowser::AfterNavigation() {
  Relayout();
  HandleScrollMessage(m_hwndView, scrollmsg::kSetHPos, 0, 0);
  HandleScrollMessage(m_hwndView, scrollmsg::kSetVPos, 0, 0);
  InvalidateRect(m_hwndView, nullptr, FALSE);
  UpdateWindow(m_hwndView);
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

void HtmlBrowser::Navigate(const char16_t* target) {
  // One navigation at a time: a click that arrives while a page is fetched or shown (a box of the system's
  // pumps messages meanwhile) is dropped.
  if (m_inNavigation) return;
  const NavigationScope scope(m_inNavigation);
  const std::u16string url = target ? target : u"";
  ShowWaiting();
  int formIndex = -1;
  if (IsSubmitUrl(url, formIndex)) {
    Submit(formIndex, nullptr, 0);
    return;
  }
  Open(url);
}

void HtmlBrowser::ShowWaiting() {
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  m_statusText[0] = 0;
}

void HtmlBrowser::Open(const std::u16string& url) {
  RememberScrollPosition();
  if (IsPictureUrl(url)) {
    if (m_hwndAddress) SetWindowTextW(m_hwndAddress, os::Wide(url));
    const std::u16string page = PicturePage(url);
    AddHistory(url, page);
    ShowPage(page, u"", url);
  } else {
    SetStatus(u"From Internet");
    int bytes = 0;
    char16_t* text = FetchText(url.c_str(), true, &bytes);
    if (!text) return;
    const std::u16string page(text);
    delete[] text;
    AddHistory(m_currentUrl, page);
    UpdateBackButton();
    SaveTextCopy(page);
    ShowPage(page, m_currentUrl, m_currentUrl);
    if (m_hwndAddress) SetWindowTextW(m_hwndAddress, os::Wide(m_currentUrl));
  }
  AfterNavigation();
}

void HtmlBrowser::SaveTextCopy(const std::u16string& text) {
  const std::u16string path = TextCopyPath();
  if (path.empty()) return;
  HANDLE file = CreateFileW(os::Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // the preview goes on without it
  // The whole page, as UTF-16 with its byte-order mark.
  const char16_t bom = 0xFEFF;
  DWORD written = 0;
  bool ok = WriteFile(file, &bom, sizeof bom, &written, nullptr);
  const size_t total = text.size() * sizeof(char16_t);
  for (size_t done = 0; ok && done < total; done += written) {
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 20));
    ok = WriteFile(file, reinterpret_cast<const uint8_t*>(text.data()) + done, ask, &written, nullptr) && written > 0;
  }
  CloseHandle(file);
}

void HtmlBrowser::ShowReadProgress(long long bytes, long long total) {
  if (bytes < 0) return;
  if (GetCurrentThreadId() != m_uiThread) {
    // A fetch thread never waits on the window: it posts, the window sets the text. One post waits at a
    // time, as with the fetches' reports.
    if (m_progressWaiting.exchange(true)) return;
    PostMessageW(m_hwndView, kReadProgressMessage, static_cast<WPARAM>(std::min<long long>(bytes, 0x7FFFFFFF)),
                 static_cast<LPARAM>(std::min<long long>(total, 0x7FFFFFFF)));
    return;
  }
  SetStatus(ReadingStatus(bytes, total));
}

char16_t* HtmlBrowser::FetchText(const char16_t* url, bool navigating, int* outByteCount) {
  FetchOptions options;
  options.followRedirects = navigating;
  options.referrer = m_currentUrl;
  options.progress = [this](long long bytes, long long total) { ShowReadProgress(bytes, total); };
  FetchResult result;
  if (!FetchUrl(url ? url : u"", options, result)) return nullptr;
  // A page shown keeps its text after any NUL (a zeroed stretch of a recovered page).
  if (navigating) CopyBounded(result.finalUrl, m_currentUrl, std::size(m_currentUrl));
  return TakeReplyText(result, outByteCount, navigating);
}

char16_t* HtmlBrowser::ReadText(const char16_t* url, int* outByteCount) { return FetchText(url, false, outByteCount); }

uint8_t* HtmlBrowser::ReadBinary(const char16_t* url, int* outByteCount) {
  FetchOptions options;
  // The page's URL belongs to the user-interface thread; image fetches send no referrer.
  options.cancel = &m_imageFetches;
  options.limit = kMaxPictureFetchBytes;
  options.progress = [this](long long bytes, long long total) { ShowReadProgress(bytes, total); };
  FetchResult result;
  if (!FetchUrl(url ? url : u"", options, result)) return nullptr;
  if (outByteCount) *outByteCount = result.size;
  return result.bytes;
}

void HtmlBrowser::OnImagesLoaded(int loaded, int total) {
  // On a fetch thread: only a post, the window does the rest on its own thread.
  PostMessageW(m_hwndView, kImagesLoadedMessage, static_cast<WPARAM>(loaded), static_cast<LPARAM>(total));
}

void HtmlBrowser::ImagesLoaded() {
  // The report stands for every fetch ended since the last one taken.
  int loaded = 0, total = 0;
  m_document->images.TakeReport(loaded, total);
  const int shown = std::min(m_imagesShown, loaded);
  m_imagesShown = loaded;
  if (ImagesLoadedRelayout(shown, loaded, total)) {
    WindowProc(m_hwndView, kRelayoutMessage, 0, 0);
  } else {
    InvalidateRect(m_hwndView, nullptr, FALSE);
  }
  if (loaded == total) ShowReadyStatus();
}

void HtmlBrowser::ShowReadyStatus() {
  int items = 0, images = 0, links = 0, level = 0;
  m_document->GetStatistics(items, images, links, level);
  const std::u16string ready = ReadyStatus(items, images, links, level);
  CopyBounded(ready, m_statusText, std::size(m_statusText));
  SetStatus(m_statusText);
}

void HtmlBrowser::OnLinkHover(int overLink, const char16_t* url) {
  m_hover.Report(*m_document, overLink, url);
  if (overLink == 0) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    SetStatus(m_statusText);
  } else {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    SetStatus(m_hover.Url());
  }
}

void HtmlBrowser::InvalidateDocumentRect(const HtmlRect& rect) {
  const int sx = ScrollPos(scrollmsg::kGetHPos), sy = ScrollPos(scrollmsg::kGetVPos);
  const RECT r{rect.left - sx, rect.top - sy, rect.right - sx, rect.bottom - sy};
  InvalidateRect(m_hwndView, &r, FALSE);
}

void HtmlBrowser::Relayout() {
  RECT client{};
  GetClientRect(m_hwndView, &client);
  HtmlRect rect{client.left, client.top, client.right, client.bottom};
  {
    // The form controls are moved with the view's drawing off, and all painted once after: each one
    // shown and painted as it is placed made a page of many controls take seconds.
    const RedrawOff quiet(m_hwndView);
    m_document->Layout(rect);
  }
  RedrawWindow(m_hwndView, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  HandleScrollMessage(m_hwndView, scrollmsg::kSetContentSize, static_cast<WPARAM>(std::max(rect.right, 0)),
                      static_cast<LPARAM>(std::max(rect.bottom, 0)));
}

void HtmlBrowser::ResetBackBuffer() {
  if (m_backBuffer) DeleteObject(m_backBuffer);
  RECT client{};
  GetClientRect(m_hwndView, &client);
  HDC dc = GetDC(m_hwndView);
  m_backBuffer = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
  ReleaseDC(m_hwndView, dc);
}

void HtmlBrowser::Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!m_backBuffer) ResetBackBuffer();
  RECT client{};
  GetClientRect(window, &client);
  const int sx = ScrollPos(scrollmsg::kGetHPos), sy = ScrollPos(scrollmsg::kGetVPos);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = memory && m_backBuffer ? SelectObject(memory, m_backBuffer) : nullptr;
  if (old != nullptr) {
    DrawDocument(*m_document, memory, client, sx, sy);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
  } else {
    // Without a back buffer (out of memory for one) the page is drawn straight to the window: it may
    // flicker, but the copy of an empty memory bitmap would show black.
    DrawDocument(*m_document, dc, client, sx, sy);
  }
  if (memory) DeleteDC(memory);
  EndPaint(window, &ps);
}

void HtmlBrowser::MouseMove(HWND window, int x, int y) {
  const int sx = ScrollPos(scrollmsg::kGetHPos), sy = ScrollPos(scrollmsg::kGetVPos);
  m_document->OnMouseMove(x + sx, y + sy);
  if (GetCapture() != window) return;
  m_selPointX = x;
  m_selPointY = y;
  m_document->SetSelection({std::min(m_selAnchorX, x) + sx, std::min(m_selAnchorY, y) + sy,
                            std::max(m_selAnchorX, x) + sx, std::max(m_selAnchorY, y) + sy});
  InvalidateRect(window, nullptr, FALSE);
  RECT client{};
  GetClientRect(window, &client);
  // Dragging outside the window scrolls towards the mouse, never past either end.
  int dx = 0, dy = 0;
  if (x < 0) dx = -std::min(-x, sx);
  if (x > client.right) dx = std::min<int>(x - client.right, ScrollPos(scrollmsg::kGetHMax) - sx);
  if (y < 0) dy = -std::min(-y, sy);
  if (y > client.bottom) dy = std::min<int>(y - client.bottom, ScrollPos(scrollmsg::kGetVMax) - sy);
  if (dx > 0 || dx < 0) {
    HandleScrollMessage(window, scrollmsg::kSetHPos, 0, sx + dx);
    m_selAnchorX -= dx;
  }
  if (dy > 0 || dy < 0) {
    HandleScrollMessage(window, scrollmsg::kSetVPos, 0, sy + dy);
    m_selAnchorY -= dy;
  }
}

LRESULT HtmlBrowser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (GetWindowLongW(reinterpret_cast<HWND>(lParam), GWL_STYLE) & 0xF) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_PAINT:
      Paint(window);
      return 1;
    case WM_SIZE:
    case kRelayoutMessage:
      ResetBackBuffer();
      Relayout();
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
      break;
    case kImagesLoadedMessage:
      ImagesLoaded();
      return 0;
    case kCutPageMessage:
      if (!m_pageNote.empty()) ReportPartialPreview(window, CString::FromUtf16(m_pageNote), true);
      m_pageNote.clear();
      return 0;
    case kReadProgressMessage:
      m_progressWaiting = false;
      // Posted before the last report it may come after it: once every picture is in, the status stays.
      if (m_document->images.FetchedCount() < m_document->images.Count())
        SetStatus(ReadingStatus(static_cast<long long>(wParam), static_cast<long long>(lParam)));
      return 0;
    case WM_LBUTTONDOWN: {
      const int sx = ScrollPos(scrollmsg::kGetHPos), sy = ScrollPos(scrollmsg::kGetVPos);
      m_document->OnClick(x + sx, y + sy);
      m_selAnchorX = m_selPointX = x;
      m_selAnchorY = m_selPointY = y;
      m_document->SetSelection({x + sx, y + sy, x + sx, y + sy});
      InvalidateRect(window, nullptr, FALSE);
      HWND focus = GetFocus();
      if (focus && IsChild(window, focus))
        SetFocus(m_hwndAddress ? GetDlgItem(GetParent(m_hwndAddress), 1) : nullptr);
      SetCapture(window);
      return 0;
    }
    case WM_MOUSEMOVE:
      MouseMove(window, x, y);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      break;
    default:
      break;
  }
  return HandleScrollMessage(window, message, wParam, lParam);
}

}  // namespace htmlview
