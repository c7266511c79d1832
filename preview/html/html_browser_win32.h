// The built-in page viewer: a small browser drawn with GDI into a window it does not own. It keeps the
// page's URL, the history of pages shown, the form controls and one document, which parses, lays out and
// draws the page; it answers the document's requests (fetching, navigation, progress, title, controls).
// Image fetches run on the document's fetch threads: they only post to the window, which changes its
// texts and layout on its own thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "preview/html/gdi_text_measurer_win32.h"
#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_document.h"
#include "preview/html/html_draw_win32.h"
#include "preview/html/html_fetch_win32.h"
#include "preview/html/string_table.h"

namespace htmlview {

// Posted to the view: lay the page out again (images arrived).
constexpr UINT kRelayoutMessage = WM_USER + 22;
// Posted by a fetch thread: an image fetch ended (wParam loaded, lParam total).
constexpr UINT kImagesLoadedMessage = WM_USER + 23;
// Posted by a fetch thread: bytes read so far (wParam) of lParam (0: length unknown).
constexpr UINT kReadProgressMessage = WM_USER + 24;
// Posted once a page shown only in part is shown: the note that says what is left out.
constexpr UINT kCutPageMessage = WM_USER + 25;

class HtmlBrowser : public HtmlBrowserCallbacks {
 public:
  HtmlBrowser(HWND view, HWND title, HWND status, HWND address, HWND back);
  ~HtmlBrowser() override;
  HtmlBrowser(const HtmlBrowser&) = delete;
  HtmlBrowser& operator=(const HtmlBrowser&) = delete;

  void OnParseProgress(int flag, int done, int total) override;
  void Navigate(const char16_t* url) override;
  void OnLinkHover(int overLink, const char16_t* url) override;
  void SetTitle(const char16_t* text) override;
  char16_t* ReadText(const char16_t* url, int* outByteCount) override;
  uint8_t* ReadBinary(const char16_t* url, int* outByteCount) override;
  void OnImagesLoaded(int loaded, int total) override;
  int AddForm(const char16_t* action, const char16_t* method) override;
  HtmlWindowHandle CreateEdit(int hasLimit, int limit, int width, int height, const char16_t* text, int multiLine,
                              const char16_t* name, int form, int password) override;
  HtmlWindowHandle CreatePushButton(int width, int height, const char16_t* caption, const char16_t* name,
                                    int form) override;
  HtmlWindowHandle CreateRadioButton(int width, int height, const char16_t* caption, const char16_t* name,
                                     int form) override;
  HtmlWindowHandle CreateCheckBox(int width, int height, const char16_t* caption, const char16_t* name,
                                  int form) override;
  HtmlWindowHandle CreateDropDownList(int width, int height, const StringTable& options, int selected,
                                      const char16_t* name, int form) override;
  void PlaceControl(HtmlWindowHandle window, int x, int y) override;
  void InvalidateDocumentRect(const HtmlRect& rect) override;

  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Relayout();
  void DestroyControls();
  // formIndex -1: the form of the push button (window and id) that was clicked. Does nothing while a
  // navigation runs.
  void SubmitForm(int formIndex, HWND button, int buttonId);
  void ShowReadProgress(long long bytes, long long total);

  const char16_t* CurrentUrl() const { return m_currentUrl; }
  const StringTable& History() const { return m_history; }
  const StringTable& Controls() const { return m_controls; }
  const StringTable& Forms() const { return m_forms; }
  HtmlDocument& Document() { return *m_document; }

 private:
  // Sets the flag for the life of a navigation or a submission.
  class NavigationScope {
   public:
    explicit NavigationScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~NavigationScope() { flag_ = false; }
    NavigationScope(const NavigationScope&) = delete;
    NavigationScope& operator=(const NavigationScope&) = delete;

   private:
    bool& flag_;
  };
  // Shows the page at url (a picture URL on a page of its own), or leaves everything as it was when
  // nothing came.
  void Open(const std::u16string& url);
  // The wait cursor, and no ready text to come back to.
  void ShowWaiting();
  void Submit(int formIndex, HWND button, int buttonId);
  // A page fetch when navigating follows redirections and records where it ended in m_currentUrl.
  char16_t* FetchText(const char16_t* url, bool navigating, int* outByteCount);
  // Shows text, its links relative to baseUrl. address is where the page came from: a page the user went
  // to on the network may show that network's pictures; a page from the disk fetches none from outside.
  void ShowPage(const std::u16string& text, const std::u16string& baseUrl, const std::u16string& address);
  void SaveTextCopy(const std::u16string& text);
  void SetStatus(const std::u16string& text);
  void RememberScrollPosition();
  void AfterNavigation();
  void UpdateBackButton();
  // Adds the history row [url, page].
  void AddHistory(const std::u16string& url, const std::u16string& page);
  HWND AddControl(const wchar_t* cls, DWORD exStyle, DWORD style, int width, int height, const char16_t* text,
                  const char16_t* name, int form, int type, const char16_t* caption, bool fixedFont);
  std::u16string ControlValue(int row) const;
  void ImagesLoaded();
  // "Ready, items:..." in the status line, kept to show again when the mouse leaves a link.
  void ShowReadyStatus();
  void Paint(HWND window);
  void ResetBackBuffer();
  void MouseMove(HWND window, int x, int y);
  int ScrollPos(UINT which) const;

  HWND m_hwndView;
  HWND m_hwndTitle;
  HWND m_hwndStatus;
  HWND m_hwndAddress;
  HWND m_hwndBack;
  char16_t m_currentUrl[2048] = {};
  char16_t m_statusText[128] = {};
  StringTable m_history;  // only grows: a page left is never shown from it again
  OlePictureDecoder m_decoder;  // before the document: its pictures are freed through it
  GdiTextMeasurer m_measurer;
  FetchCancel m_imageFetches;  // before the document: its fetch threads use it until they end
  std::unique_ptr<HtmlDocument> m_document;
  HBITMAP m_backBuffer = nullptr;
  int m_selAnchorX = 0, m_selAnchorY = 0;
  int m_selPointX = 0, m_selPointY = 0;
  StringTable m_controls;
  StringTable m_forms;
  HtmlLinkHover m_hover;  // the link last reported under the mouse
  std::u16string m_pageNote;  // what the page shown leaves out, until its note is shown
  int m_parseShown = 0;  // the parse progress last shown
  int m_imagesShown = 0;  // the fetched pictures the last report taken counted
  std::atomic<bool> m_progressWaiting{false};  // a picture's read progress is posted and not yet shown
  bool m_inNavigation = false;  // a navigation or a submission runs
  int m_fontSize = 15;
  char16_t m_fontFace[50] = u"Arial";
  DWORD m_uiThread;
};

}  // namespace htmlview
