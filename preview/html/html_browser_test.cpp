// The ".html" preview on real windows: a generated page with a table, a list, a relative picture, a link
// and forms shows its title, its ready status and its link count; a click on the link navigates and the
// history only grows; a push button's click does nothing by itself, and the viewer's entry for it submits
// its form to a local HTTP server (started and stopped here, on a free port of 127.0.0.1); endless
// redirections stop at the cap and a reply without a length is read whole; a page beyond the element bound
// shows its beginning and a box says so; a page's controls are placed without a paint each.
// Screenshot preview_html.png.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <mshtmdid.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/harness/driver.h"
#include "platform/os/os.h"
#include "platform/harness/scripted_seams.h"
#include "preview/html/custom_html_viewer.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_browser_view.h"
#include "preview/html/html_browser_win32.h"
#include "preview/html/resource_html_callbacks.h"
#include "preview/html/scroll_manager.h"
#include "preview/preview_test_support.h"
#include "res/resource.h"

namespace html_browser_test {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");
using htmlview::HtmlBrowser;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::wstring Wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
std::wstring Lower(std::wstring s) {
  CharLowerBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// One request per connection, answered by path; every request is recorded. Stops when destroyed.
class LocalHttpServer {
 public:
  LocalHttpServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // a free port
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 16);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LocalHttpServer() {
    stop_ = true;
    thread_.join();
    for (SOCKET held : held_) closesocket(held);
    closesocket(listener_);
    WSACleanup();
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
  }
  int Hits(const std::string& prefix) {
    int n = 0;
    for (const std::string& r : Requests()) n += r.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }

  int port = 0;

 private:
  void Serve() {
    while (!stop_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait{0, 50000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      DWORD timeout = 3000;
      setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
      if (!Answer(client)) {
        held_.push_back(client);  // never answered
        continue;
      }
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  static std::string ReadRequest(SOCKET client) {
    std::string in;
    char buffer[4096];
    size_t expected = std::string::npos;
    while (in.size() < 1000000) {
      const size_t end = in.find("\r\n\r\n");
      if (end != std::string::npos) {
        if (expected == std::string::npos) {
          const size_t at = in.find("Content-Length: ");
          expected = end + 4 + (at != std::string::npos && at < end ? std::stoul(in.substr(at + 16)) : 0);
        }
        if (in.size() >= expected) break;
      }
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      in.append(buffer, static_cast<size_t>(got));
    }
    return in;
  }

  static void Send(SOCKET client, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
      const int n = send(client, text.data() + done, static_cast<int>(text.size() - done), 0);
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }

  static std::string Reply(const std::string& head, const std::string& body, bool withLength = true) {
    std::string r = "HTTP/1.1 " + head + "\r\nContent-Type: text/html\r\nConnection: close\r\n";
    if (withLength) r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return r + "\r\n" + body;
  }

  // False for a request that is held without an answer.
  bool Answer(SOCKET client) {
    const std::string request = ReadRequest(client);
    const std::string line = request.substr(0, request.find("\r\n"));
    const size_t bodyAt = request.find("\r\n\r\n");
    const std::string body = bodyAt == std::string::npos ? "" : request.substr(bodyAt + 4);
    const size_t referer = request.find("Referer: ");
    {
      std::lock_guard<std::mutex> hold(lock_);
      requests_.push_back(line + (body.empty() ? "" : " BODY " + body) +
                          (referer == std::string::npos ? "" : " REFERER " +
                                                                   request.substr(referer + 9, request.find("\r\n", referer) - referer - 9)));
    }
    if (line.rfind("GET /stall", 0) == 0) return false;
    if (line.rfind("GET /result", 0) == 0) {
      Send(client, Reply("200 OK", "<title>Result</title>Query " + line.substr(4, line.find(' ', 4) - 4)));
    } else if (line.rfind("POST /post", 0) == 0) {
      Send(client, Reply("200 OK", "<title>Posted</title>Received " + body));
    } else if (line.rfind("GET /online.html", 0) == 0) {
      Send(client, Reply("200 OK", "<title>Online</title><img src=\"/online.gif\"> text"));
    } else if (line.rfind("GET /waiting.html", 0) == 0) {
      Send(client, Reply("200 OK", "<title>Stalled</title><img src=\"/stall.gif\"> text"));
    } else if (line.rfind("GET /loop", 0) == 0) {
      Send(client, "HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 25\r\nConnection: close\r\n\r\n"
                   "<title>Loop</title>again!");
    } else if (line.rfind("GET /nolength", 0) == 0) {
      Send(client, Reply("200 OK", "<title>Long</title>" + std::string(5000, 'z') + " end", false));
    } else {
      Send(client, Reply("404 Not Found", "<title>Missing</title>none"));
    }
    return true;
  }

  SOCKET listener_ = INVALID_SOCKET;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> held_;
};

// A 48 x 32 24-bit BMP: blue on top, orange below.
std::string SmallBitmap() {
  return previewtest::Bitmap24(48, 32, [](int, int y) { return y < 16 ? RGB(0x20, 0x60, 0xC0) : RGB(0xF0, 0x90, 0x20); });
}

std::string MainPage(const LocalHttpServer& server) {
  return "<html><head><title>Recovered page</title><style>body { margin: 0 }</style></head>\n"
         "<body bgcolor=white><h2>Quarterly notes</h2>\n"
         "<p>Recovered from the <b>scanned image</b>. See the <a href=\"second.html\">second page</a>.</p>\n"
         "<table border=1 cellpadding=3><tr><th>Item</th><th>Count</th></tr>\n"
         "<tr><td>Invoices</td><td>12</td></tr><tr><td>Letters</td><td>7</td></tr></table>\n"
         "<ul><li>First point</li><li>Second point</li></ul>\n"
         "<img src=\"pic.bmp\">\n"
         "<form action=\"" + server.Url("/result") + "\" method=get>Search <input type=text name=q value=\"a b&c\">"
         " <input type=submit value=Find></form>\n"
         "<form action=\"" + server.Url("/post") + "\" method=post>Name <input type=text name=who value=\"Ann Lee\">"
         " <input type=checkbox name=keep value=yes> keep <input type=submit value=Send></form>\n"
         "</body></html>\n";
}

const char kSecondPage[] = "<title>Second page</title><p>The second page.</p>";

struct PageFiles {
  explicit PageFiles(const LocalHttpServer& server)
      : page(L"html_test_page.html", MainPage(server)), second(L"second.html", kSecondPage),
        picture(L"pic.bmp", SmallBitmap()) {}
  previewtest::TempFile page, second, picture;
};

// Records every text the status line is given.
std::vector<std::wstring>* g_statusTexts = nullptr;
WNDPROC g_statusProc = nullptr;
LRESULT CALLBACK RecordingStatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && g_statusTexts && lParam) g_statusTexts->push_back(reinterpret_cast<const wchar_t*>(lParam));
  return CallWindowProcW(g_statusProc, window, message, wParam, lParam);
}

class HtmlPreviewTest : public ::testing::Test {
 protected:
  void Show() { Show(files.page.Path()); }
  // Shows the page in the built-in viewer and waits until it is ready.
  void Show(const CString& path) {
    w.Preview(path, _T(".html"));
    browser = CCustomHTMLViewer::Browser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(harness::WaitUntil([] { return harness::Text(CCustomHTMLViewer::Status()).rfind(L"Ready", 0) == 0; }))
        << "the status line says \"" << harness::Text(CCustomHTMLViewer::Status()) << "\"";
  }
  void RecordStatus() {
    texts.clear();
    g_statusTexts = &texts;
    g_statusProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(CCustomHTMLViewer::Status(), GWLP_WNDPROC,
                                                               reinterpret_cast<LONG_PTR>(RecordingStatusProc)));
  }
  void TearDown() override { g_statusTexts = nullptr; }
  std::wstring Title() { return harness::Text(GetParent(CCustomHTMLViewer::Canvas())); }
  // The first control of the viewer with this class and text.
  HWND Control(const wchar_t* text) {
    const htmlview::StringTable& controls = browser->Controls();
    for (int r = 0; r < controls.RowCount(); ++r) {
      HWND window = reinterpret_cast<HWND>(std::stoull(Wide(controls.GetCell(r, 0))));
      if (harness::Text(window) == text) return window;
    }
    return nullptr;
  }

  LocalHttpServer server;
  PageFiles files{server};
  previewtest::PaneWindow w{620, 560};
  HtmlBrowser* browser = nullptr;
  std::vector<std::wstring> texts;
};

TEST_F(HtmlPreviewTest, APageShowsItsTitleStatusPictureAndLinks) {
  Show();
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(w.FilledSlots(), (std::vector<std::string>{"customhtml"}));
  EXPECT_EQ(Title(), L"Recovered page");
  const std::wstring status = harness::Text(CCustomHTMLViewer::Status());
  EXPECT_NE(status.find(L", images:1, links:1, level:"), std::wstring::npos) << status;
  EXPECT_EQ(Lower(Wide(browser->CurrentUrl())), Lower(L"file://" + std::wstring(files.page.Path())));
  EXPECT_TRUE(static_cast<bool>(browser->Document().allocationFailed));  // an element list that cannot grow beeps
  // The picture arrived and was decoded at its own size.
  const htmlview::HtmlImageEntry* picture = browser->Document().images.Decoded(0);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, 48);
  EXPECT_NE(picture->bitmap, 0u);
  // Five form controls, placed and visible; the status line keeps to the bottom 20 pixels.
  EXPECT_EQ(browser->Controls().RowCount(), 5);
  EXPECT_EQ(browser->Forms().RowCount(), 2);
  EXPECT_TRUE(harness::StateOf(Control(L"Find")).visible);
  RECT view{}, line{};
  GetClientRect(GetParent(CCustomHTMLViewer::Canvas()), &view);
  GetWindowRect(CCustomHTMLViewer::Status(), &line);
  EXPECT_EQ(line.bottom - line.top, 20);
  // The page copy beside the program holds the whole text.
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring copy(module);
  copy = copy.substr(0, copy.rfind(L'.')) + L".txt";
  WIN32_FILE_ATTRIBUTE_DATA info{};
  ASSERT_TRUE(GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &info));
  EXPECT_EQ(info.nFileSizeLow, 2 * (MainPage(server).size() + 1));
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_html").empty());
}

// The document position of the first element of a link.
bool LinkPoint(const htmlview::HtmlElementList& list, int link, POINT& p) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->linkIndex == link && e->width > 0) {
      p = {e->x + 2, e->y + e->height / 2};
      return true;
    }
    if (LinkPoint(e->children, link, p)) return true;
  }
  return false;
}

TEST_F(HtmlPreviewTest, ClickingALinkNavigatesAndTheHistoryOnlyGrows) {
  Show();
  POINT at{};
  ASSERT_TRUE(LinkPoint(browser->Document().elements, 0, at));
  harness::Click(CCustomHTMLViewer::Canvas(), at);
  harness::PumpFor(50);
  EXPECT_EQ(Title(), L"Second page");
  EXPECT_NE(Wide(browser->CurrentUrl()).find(L"second.html"), std::wstring::npos);
  EXPECT_EQ(browser->History().RowCount(), 2);
  EXPECT_EQ(browser->Controls().RowCount(), 0);  // the old page's controls went
  EXPECT_EQ(std::u16string(browser->History().GetCell(0, 2)), u"0");  // the page left, at the top
  // Backspace does not go back: the history only grows.
  harness::PressKey(CCustomHTMLViewer::Canvas(), VK_BACK);
  EXPECT_EQ(Title(), L"Second page");
  EXPECT_EQ(browser->History().RowCount(), 2);
}

// A form's push button as the viewer's entry for its click: its window and its id.
void SubmitByButton(HtmlBrowser* browser, HWND button) { browser->SubmitForm(-1, button, GetDlgCtrlID(button)); }

TEST_F(HtmlPreviewTest, APushButtonsClickDoesNothingByItself) {
  Show();
  SendMessageW(Control(L"Find"), BM_CLICK, 0, 0);
  SendMessageW(Control(L"Send"), BM_CLICK, 0, 0);
  harness::PumpFor(50);
  EXPECT_EQ(Title(), L"Recovered page");
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(browser->History().RowCount(), 1);
  // A window that is no push button of the page, or the wrong id, submits nothing either.
  browser->SubmitForm(-1, Control(L"Find"), GetDlgCtrlID(Control(L"Find")) + 1);
  browser->SubmitForm(-1, CCustomHTMLViewer::Status(), 0);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HtmlPreviewTest, FormsAreSubmittedToTheServer) {
  Show();
  SubmitByButton(browser, Control(L"Find"));
  harness::PumpFor(50);
  EXPECT_EQ(Title(), L"Result");
  ASSERT_EQ(server.Hits("GET /result"), 1);
  EXPECT_EQ(server.Requests().back().substr(0, 26), "GET /result?q=a+b%26c HTTP");
  // A local page's path is never sent to the server as the referrer.
  EXPECT_EQ(server.Requests().back().find("REFERER"), std::string::npos);
  EXPECT_EQ(Wide(browser->CurrentUrl()), Wide(server.Url("/result?q=a+b%26c")));

  const std::wstring main = L"file://" + std::wstring(files.page.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(main.c_str()));
  SendMessageW(Control(L"yes"), BM_CLICK, 0, 0);  // the box is ticked
  SubmitByButton(browser, Control(L"Send"));
  harness::PumpFor(50);
  EXPECT_EQ(Title(), L"Posted");
  ASSERT_EQ(server.Hits("POST /post"), 1);
  EXPECT_NE(server.Requests().back().find("BODY who=Ann+Lee&keep=yes"), std::string::npos) << server.Requests().back();
  // The reply is a history row; the address stays the page's own and its scroll position is not taken.
  ASSERT_EQ(browser->History().RowCount(), 4);
  EXPECT_EQ(Wide(browser->History().GetCell(3, 0)), Wide(server.Url("/post")));
  EXPECT_EQ(Lower(Wide(browser->CurrentUrl())), Lower(main));
  EXPECT_EQ(browser->History().GetRow(2).Count(), 2);
}

// The text runs of a page, in reading order.
void TextRuns(const htmlview::HtmlElementList& list, std::vector<std::u16string>& out) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == htmlview::kTextRun && e->text != u" ") out.push_back(e->text);
    TextRuns(e->children, out);
  }
}

TEST_F(HtmlPreviewTest, APageBeyondTheElementBoundShowsItsBeginningAndABoxSaysSo) {
  Show();
  std::string words;
  for (int i = 0; i < 500; ++i) words += "word" + std::to_string(i) + " ";
  previewtest::TempFile large(L"many words.html", "<title>Many words</title><table border=1><tr><td>" + words + "</table>");
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kOk);
  const int bound = browser->Document().maxElements;
  browser->Document().maxElements = 300;
  const std::wstring url = L"file://" + std::wstring(large.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(url.c_str()));
  harness::PumpFor(100);
  EXPECT_EQ(Title(), L"Many words");
  // The words read are shown in their cell, up to the bound; the box says how many items the page shows.
  std::vector<std::u16string> runs;
  TextRuns(browser->Document().elements, runs);
  ASSERT_EQ(runs.size(), 150u);
  EXPECT_EQ(runs.front(), u"word0");
  EXPECT_EQ(runs.back(), u"word149");
  const int items = browser->Document().itemCount;
  EXPECT_GE(items, 300);
  EXPECT_LT(items, 310);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, htmlview::CutPageNote(items));
  // A page within the bound says nothing.
  const std::wstring main = L"file://" + std::wstring(files.page.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(main.c_str()));
  harness::PumpFor(100);
  EXPECT_EQ(Title(), L"Recovered page");
  EXPECT_EQ(boxes.Log().size(), 1u);
  // Content nested past the depth cap is left out, the rest shown, and the box says just that.
  browser->Document().maxElements = bound;
  std::string nested = "<title>Deep</title>top";
  for (int i = 0; i < 60; ++i) nested += "<table><tr><td>";
  previewtest::TempFile deep(L"deep page.html", nested + "deep");
  boxes.Answer(seams::kOk);
  const std::wstring deepUrl = L"file://" + std::wstring(deep.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(deepUrl.c_str()));
  ASSERT_TRUE(harness::WaitUntil([&boxes] { return boxes.Log().size() == 2; }));
  seams::InstallMessageBoxes(nullptr);
  EXPECT_EQ(Title(), L"Deep");
  EXPECT_EQ(boxes.Log()[1].text, u"Content nested more than 48 levels deep is left out; the rest of the page is shown");
}

// The seconds work takes on the clock.
double SecondsOf(const std::function<void()>& work) {
  LARGE_INTEGER start{}, end{}, frequency{};
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

TEST_F(HtmlPreviewTest, ADropDownListOfAHundredAndFiftyThousandOptionsHoldsItsBoundAndABoxSaysSo) {
  std::string page = "<title>Options</title><form action=f><select name=s>";
  for (int i = 0; i < 150000; ++i) page += "<option>o" + std::to_string(i);
  previewtest::TempFile options(L"many options.html", page + "</select></form><p>after");
  harness::ScriptedMessageBoxes boxes;
  seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kOk);
  const double seconds = SecondsOf([&] { Show(options.Path()); });
  const bool noted = harness::WaitUntil([&boxes] { return boxes.Log().size() == 1; });
  seams::InstallMessageBoxes(nullptr);
  std::printf("a page of one list of 150000 options shown in %.2f s\n", seconds);
  ASSERT_TRUE(noted);
  EXPECT_EQ(boxes.Log()[0].text, u"Loaded 10000 of 150000 total options");
  ASSERT_EQ(browser->Controls().RowCount(), 1);
  HWND list = reinterpret_cast<HWND>(std::stoull(Wide(browser->Controls().GetCell(0, 0))));
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), htmlview::kMaxListOptions);
  wchar_t last[32] = {};
  SendMessageW(list, CB_GETLBTEXT, htmlview::kMaxListOptions - 1, reinterpret_cast<LPARAM>(last));
  EXPECT_STREQ(last, L"o9999");
  EXPECT_EQ(browser->Document().elements.back()->text, u"after");
}

// The rectangles that make up a window's update region, and their bounds.
int UpdateRectangles(HWND window, RECT& bounds) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  int count = 0;
  if (GetUpdateRgn(window, region, FALSE) > NULLREGION) {
    std::vector<char> data(GetRegionData(region, 0, nullptr));
    auto* rects = reinterpret_cast<RGNDATA*>(data.data());
    if (!data.empty() && GetRegionData(region, static_cast<DWORD>(data.size()), rects)) count = static_cast<int>(rects->rdh.nCount);
  }
  bounds = {};
  GetRgnBox(region, &bounds);
  DeleteObject(region);
  return count;
}

TEST_F(HtmlPreviewTest, AMoveOverALinkRepaintsOneRectangleAroundItsWordsHoweverManyTheyAre) {
  // A page of one link repeated between words, at two sizes, and one of links each their own.
  for (const int repeats : {1000, 4000}) {
    for (const bool distinct : {false, true}) {
      std::string page = "<title>Links</title>";
      for (int i = 0; i < repeats; ++i)
        page += "<a href=" + (distinct ? "l" + std::to_string(i) : std::string("same")) + ".html>a link</a> and words ";
      previewtest::TempFile file(L"links.html", page);
      Show(file.Path());
      HWND canvas = CCustomHTMLViewer::Canvas();
      POINT on{}, other{};
      ASSERT_TRUE(LinkPoint(browser->Document().elements, 0, on));
      ASSERT_TRUE(LinkPoint(browser->Document().elements, distinct ? 1 : 0, other));
      const POINT off{on.x - 6, on.y};  // the space before the link
      UpdateWindow(canvas);
      SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
      RECT bounds{};
      const int rectangles = UpdateRectangles(canvas, bounds);
      RECT client{};
      GetClientRect(canvas, &client);
      SCOPED_TRACE(testing::Message() << repeats << (distinct ? " distinct links" : " repeats of one link"));
      EXPECT_EQ(rectangles, 1);
      // The rectangle around the link's words, as much of it as the view shows.
      RECT around{};
      for (const auto& e : browser->Document().elements) {
        const RECT r{e->x, e->y, e->x + e->width, e->y + e->height};
        if (e->linkIndex == 0) UnionRect(&around, &around, &r);
      }
      IntersectRect(&around, &around, &client);
      EXPECT_TRUE(EqualRect(&bounds, &around));
      EXPECT_EQ(bounds.bottom == client.bottom, !distinct);  // one link's words are all over the view
      // A move and the paint it asks for, as the user sees them: on and off a link, and to another.
      const double seconds = SecondsOf([&] {
        for (int i = 0; i < 100; ++i) {
          const POINT p = i % 3 == 0 ? on : i % 3 == 1 ? off : other;
          SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
          UpdateWindow(canvas);
        }
      });
      std::printf("%d %s: a move over the page and its paint in %.1f ms\n", repeats,
                  distinct ? "distinct links" : "repeats of one link", seconds * 1000 / 100);
    }
  }
}

// The windows of a class directly on the page's canvas.
struct ClassCount {
  const wchar_t* name;
  int found = 0;
};
BOOL CALLBACK CountClass(HWND window, LPARAM data) {
  auto* c = reinterpret_cast<ClassCount*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (GetParent(window) == CCustomHTMLViewer::Canvas() && lstrcmpiW(name, c->name) == 0) ++c->found;
  return TRUE;
}
int CanvasChildren(const wchar_t* className) {
  ClassCount count{className};
  EnumChildWindows(CCustomHTMLViewer::Canvas(), CountClass, reinterpret_cast<LPARAM>(&count));
  return count.found;
}

TEST_F(HtmlPreviewTest, APageOfManyDropDownListsMakesItsBoundOfThemAndDrawsTheRestAsBoxes) {
  std::string page = "<title>Lists</title><form action=f>";
  for (int i = 0; i < htmlview::kMaxFormControls + 200; ++i) page += "<select name=s><option>one</select> ";
  previewtest::TempFile lists(L"many lists.html", page + "<p>after");
  Show(lists.Path());
  EXPECT_EQ(Title(), L"Lists");
  EXPECT_EQ(browser->Controls().RowCount(), htmlview::kMaxFormControls);
  EXPECT_EQ(CanvasChildren(L"ComboBox"), htmlview::kMaxFormControls);
  // Every list keeps its place on the page: the last ones are boxes of the same size, the text follows.
  std::vector<const htmlview::HtmlElement*> boxes;
  for (const auto& e : browser->Document().elements)
    if (e && e->borderFlags == 15) boxes.push_back(e.get());
  ASSERT_EQ(boxes.size(), static_cast<size_t>(htmlview::kMaxFormControls + 200));
  EXPECT_NE(boxes.front()->controlWindow, htmlview::kNoControl);
  EXPECT_EQ(boxes.back()->controlWindow, htmlview::kNoControl);
  EXPECT_EQ(boxes.back()->width, boxes.front()->width);
  EXPECT_EQ(boxes.back()->text, u"one");
  const htmlview::HtmlElement& after = *browser->Document().elements.back();
  EXPECT_EQ(after.text, u"after");
  EXPECT_GT(after.y, boxes.back()->y);
}

// Counts the paints of the windows it is put on.
std::map<HWND, WNDPROC> g_countedProcs;
std::map<HWND, int> g_paints;
LRESULT CALLBACK CountingPaintsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints[window];
  return CallWindowProcW(g_countedProcs[window], window, message, wParam, lParam);
}

// The element that stands for a control.
const htmlview::HtmlElement* ControlElement(const htmlview::HtmlElementList& list, HWND window) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->controlWindow == reinterpret_cast<htmlview::HtmlWindowHandle>(window)) return e.get();
    if (const htmlview::HtmlElement* inside = ControlElement(e->children, window)) return inside;
  }
  return nullptr;
}

TEST_F(HtmlPreviewTest, APagesControlsArePlacedWithoutAPaintEachAndPaintedWithThePage) {
  Show();
  harness::PumpFor(100);
  const htmlview::StringTable& controls = browser->Controls();
  ASSERT_EQ(controls.RowCount(), 5);
  std::vector<HWND> windows;
  for (int r = 0; r < controls.RowCount(); ++r) {
    HWND window = reinterpret_cast<HWND>(std::stoull(Wide(controls.GetCell(r, 0))));
    windows.push_back(window);
    g_countedProcs[window] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingPaintsProc)));
  }
  g_paints.clear();
  browser->Relayout();
  EXPECT_TRUE(g_paints.empty()) << g_paints.size() << " controls painted while they were placed";
  harness::PumpFor(100);
  for (HWND window : windows) {
    SCOPED_TRACE(harness::Text(window));
    EXPECT_GE(g_paints[window], 1);
    EXPECT_TRUE(IsWindowVisible(window));
    const htmlview::HtmlElement* e = ControlElement(browser->Document().elements, window);
    ASSERT_NE(e, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, CCustomHTMLViewer::Canvas(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, e->x);
    EXPECT_EQ(r.top, e->y);
  }
  for (HWND window : windows) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_countedProcs[window]));
  g_countedProcs.clear();
}

TEST_F(HtmlPreviewTest, RedirectionsStopAtTheCapAndAReplyWithoutALengthIsReadWhole) {
  Show();
  browser->Navigate(reinterpret_cast<const char16_t*>(Wide(server.Url("/loop")).c_str()));
  EXPECT_EQ(server.Hits("GET /loop"), htmlview::kMaxRedirects + 1);
  EXPECT_EQ(Title(), L"Loop");
  // The second request on named the first network page as its referrer.
  EXPECT_NE(server.Requests().back().find("REFERER " + server.Url("/loop")), std::string::npos);

  RecordStatus();
  browser->Navigate(reinterpret_cast<const char16_t*>(Wide(server.Url("/nolength")).c_str()));
  EXPECT_EQ(Title(), L"Long");
  const std::u16string page = browser->History().GetCell(browser->History().RowCount() - 1, 1);
  EXPECT_EQ(page.size(), 19u + 5000u + 4u);
  bool sawTotal = false, sawOf = false;
  for (const std::wstring& t : texts) {
    sawTotal |= t == L"Reading 5023";
    sawOf |= t.rfind(L"Reading", 0) == 0 && t.find(L" of ") != std::wstring::npos;
  }
  EXPECT_TRUE(sawTotal);
  EXPECT_FALSE(sawOf);
}

TEST_F(HtmlPreviewTest, AFileThatCannotBeReadShowsTheCorruptedPicture) {
  w.Preview(files.page.Path() + _T(".gone.html"), _T(".html"));
  EXPECT_EQ(w.frame->m_bPreviewOk, 0u);
}

TEST(ResourceHtmlCallbacksTest, ServesTheProgramsResourcesAndNothingElse) {
  htmlview::ResourceHtmlCallbacks& host = htmlview::TheResourceHtmlCallbacks();
  int bytes = 0;
  char16_t* text = host.ReadText(u"res://dorvane.exe/helppage.htm", &bytes);
  ASSERT_NE(text, nullptr);
  const std::u16string page(text);
  delete[] text;
  EXPECT_EQ(page.rfind(u"<title>Help</title>", 0), 0u);
  EXPECT_EQ(bytes, static_cast<int>(page.size()));
  uint8_t* binary = host.ReadBinary(u"res://helppage.htm", &bytes);
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(binary[0], '<');
  delete[] binary;
  previewtest::TempFile local(L"resource_host_page.htm", "<title>Local</title>");
  const std::u16string file = u"file://" + std::u16string(reinterpret_cast<const char16_t*>(
                                               static_cast<LPCTSTR>(local.Path())));
  EXPECT_EQ(host.ReadText(file.c_str(), &bytes), nullptr);  // any other scheme: nothing
  EXPECT_EQ(host.ReadBinary(file.c_str(), &bytes), nullptr);
  EXPECT_EQ(host.ReadText(u"res://missing.htm", &bytes), nullptr);
  EXPECT_EQ(host.AddForm(u"a", u"get"), -1);
  EXPECT_EQ(host.CreatePushButton(10, 10, u"b", u"n", 0), htmlview::kNoControl);
}

TEST(HtmlBrowserViewTest, OtherPagesGoToTheBrowserControlUnderAnOverlay) {
  previewtest::TempFile page(L"browser_page.htm", "<title>x</title>a page");
  previewtest::PaneWindow w(500, 360);
  w.frame->m_bNoFileSelected = 0;
  w.Preview(page.Path(), _T(".htm"));
  // The control here has no HTML engine: it stops without a document, and the page is a type this
  // machine cannot preview (not a damaged file).
  EXPECT_EQ(w.frame->m_bComponentMissing, 1u);
  ASSERT_NE(w.pane->m_pNoPreviewView, nullptr);
  EXPECT_TRUE(previewtest::ShowsPicture(w.pane->m_pNoPreviewView->m_hWnd, IDB_PREVIEW_NO_VIEWER));
  auto* view = dynamic_cast<CHtml_View*>(w.pane->SlotView(PreviewSlot::kHtml));
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->Overlay(), nullptr);
  RECT client{}, overlay{};
  view->GetClientRect(&client);
  GetClientRect(view->Overlay(), &overlay);
  RECT outer{};
  GetWindowRect(view->Overlay(), &outer);
  EXPECT_EQ(outer.right - outer.left, client.right - CHtml_View::kOverlayMargin);
  EXPECT_EQ(outer.bottom - outer.top, client.bottom - CHtml_View::kOverlayMargin);
  harness::PumpFor(100);
}

// The flags a site answers for the browser control's download-control ambient property, or -1.
long DownloadControl(IUnknown* site) {
  IDispatch* ambient = nullptr;
  if (FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))) || ambient == nullptr) return -1;
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                     &none, &result, nullptr, nullptr);
  ambient->Release();
  return SUCCEEDED(hr) && result.vt == VT_I4 ? result.lVal : -1;
}

TEST(HtmlBrowserViewTest, TheBrowserControlIsToldToRunNothingOfThePage) {
  previewtest::TempFile page(L"browser_script.htm",
                             "<body>static body<script>document.body.innerHTML='rewritten'</script></body>");
  previewtest::PaneWindow w(500, 360);
  w.frame->m_bNoFileSelected = 0;
  w.Preview(page.Path(), _T(".htm"));
  auto* view = dynamic_cast<CHtml_View*>(w.pane->SlotView(PreviewSlot::kHtml));
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->HasBrowser());
  ASSERT_NE(view->Site(), nullptr);
  const long flags = DownloadControl(static_cast<IOleClientSite*>(view->Site()));
  ASSERT_NE(flags, -1);
  for (long forbidden : {DLCTL_NO_SCRIPTS, DLCTL_NO_JAVA, DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS,
                         DLCTL_NO_BEHAVIORS, DLCTL_NO_CLIENTPULL, DLCTL_FORCEOFFLINE})
    EXPECT_EQ(flags & forbidden, forbidden) << std::hex << forbidden;
  // Pictures still show.
  EXPECT_EQ(flags & DLCTL_DLIMAGES, DLCTL_DLIMAGES);
  // A control of another kind is given a site without the property.
  InPlaceControlSite* other = new InPlaceControlSite(view->m_hWnd);
  EXPECT_EQ(DownloadControl(static_cast<IOleClientSite*>(other)), -1);
  other->Release();
  harness::PumpFor(100);
}

// What the security manager a site offers answers for an action on url, and the zone it puts url in: the
// policy (3 disallowed), 1 when it leaves the answer to the system, -1 without a manager.
std::pair<long, long> SecurityAnswer(IUnknown* site, const wchar_t* url) {
  IServiceProvider* services = nullptr;
  if (FAILED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))) || services == nullptr)
    return {-1, -1};
  IInternetSecurityManager* manager = nullptr;
  const HRESULT found = services->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                               reinterpret_cast<void**>(&manager));
  services->Release();
  if (FAILED(found) || manager == nullptr) return {-1, -1};
  DWORD policy = URLPOLICY_ALLOW;
  const HRESULT hr = manager->ProcessUrlAction(url, URLACTION_HTML_SUBFRAME_NAVIGATE, reinterpret_cast<BYTE*>(&policy),
                                               sizeof policy, nullptr, 0, PUAF_DEFAULT, 0);
  DWORD zone = 0;
  const HRESULT mapped = manager->MapUrlToZone(url, &zone, 0);
  manager->Release();
  return {hr == INET_E_DEFAULT_ACTION ? 1 : static_cast<long>(policy), mapped == INET_E_DEFAULT_ACTION ? 1 : static_cast<long>(zone)};
}

TEST(HtmlBrowserViewTest, TheBrowserControlsSiteRefusesEveryAddressOutsideTheMachine) {
  previewtest::TempFile page(L"browser_links.htm", "<a href=\"http://example.com/\">away</a>");
  previewtest::PaneWindow w(500, 360);
  w.frame->m_bNoFileSelected = 0;
  w.Preview(page.Path(), _T(".htm"));
  auto* view = dynamic_cast<CHtml_View*>(w.pane->SlotView(PreviewSlot::kHtml));
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->Site(), nullptr);
  IUnknown* site = static_cast<IOleClientSite*>(view->Site());
  const std::wstring local = L"file:///" + std::wstring(page.Path());
  EXPECT_EQ(SecurityAnswer(site, local.c_str()), std::make_pair(1L, 1L));  // the system's own answer
  EXPECT_EQ(SecurityAnswer(site, L"about:blank"), std::make_pair(1L, 1L));
  for (const wchar_t* outside : {L"http://example.com/", L"https://example.com/a.png", L"ftp://example.com/a",
                                 L"file:////host/share/a.htm", L"\\\\host\\share\\a.htm", L"file://\\\\.\\pipe\\x",
                                 L"mk:@MSITStore:\\\\host\\s\\a.chm::/a.htm"})
    EXPECT_EQ(SecurityAnswer(site, outside), std::make_pair(static_cast<long>(URLPOLICY_DISALLOW), static_cast<long>(URLZONE_UNTRUSTED)))
        << outside;
  harness::PumpFor(100);
}

std::string LongPage() {
  std::string page = "<title>Long page</title>";
  for (int i = 0; i < 80; ++i) page += "<p>Line " + std::to_string(i) + " of a long recovered page.</p>";
  return page + "<a href=\"second.html\">to the second page</a>";
}

int VPos() { return static_cast<int>(SendMessageW(CCustomHTMLViewer::Canvas(), htmlview::scrollmsg::kGetVPos, 0, 0)); }

TEST_F(HtmlPreviewTest, TheScrollPositionIsKeptInTheHistoryAndDraggingScrollsWithinBounds) {
  previewtest::TempFile longPage(L"long_page.html", LongPage());
  w.Preview(longPage.Path(), _T(".html"));
  browser = CCustomHTMLViewer::Browser();
  ASSERT_NE(browser, nullptr);
  HWND canvas = CCustomHTMLViewer::Canvas();
  const int vMax = static_cast<int>(SendMessageW(canvas, htmlview::scrollmsg::kGetVMax, 0, 0));
  ASSERT_GT(vMax, 400);
  SendMessageW(canvas, htmlview::scrollmsg::kSetVPos, 0, 300);
  ASSERT_EQ(VPos(), 300);
  const std::wstring second = L"file://" + std::wstring(files.second.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(second.c_str()));
  EXPECT_EQ(std::u16string(browser->History().GetCell(0, 2)), u"300");
  EXPECT_EQ(VPos(), 0);
  browser->Navigate(reinterpret_cast<const char16_t*>((L"file://" + std::wstring(longPage.Path())).c_str()));
  EXPECT_EQ(Title(), L"Long page");
  EXPECT_EQ(VPos(), 0);  // every page shown starts at the top

  // A drag below the window scrolls down by the distance outside, never past the end.
  RECT client{};
  GetClientRect(canvas, &client);
  SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, client.bottom + 40));
  EXPECT_EQ(VPos(), 40);
  for (int i = 0; i < 200; ++i) SendMessageW(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, client.bottom + 40));
  EXPECT_EQ(VPos(), static_cast<int>(SendMessageW(canvas, htmlview::scrollmsg::kGetVMax, 0, 0)));
  SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(5, client.bottom + 40));
  EXPECT_NE(GetCapture(), canvas);
}

// The page's width as laid out: the right edge of its widest element.
int PageWidth(const htmlview::HtmlDocument& document) {
  int right = 0;
  for (const auto& e : document.elements)
    if (e && !(e->kind == htmlview::kTextRun && e->text == u" ")) right = std::max(right, e->x + e->width);
  return right;
}

// A horizontal bar only where something is wider than the pane: pages with a rule, a table of width 100%
// or a picture as wide as the pane show none, short or tall, opened in the pane or reached from another
// page; a picture a pixel wider shows one, whose range is that pixel.
TEST_F(HtmlPreviewTest, AHorizontalBarShowsOnlyForContentWiderThanThePane) {
  HWND canvas = nullptr;
  RECT client{};
  const auto bars = [&] {
    canvas = CCustomHTMLViewer::Canvas();
    GetClientRect(canvas, &client);
    return GetWindowLongW(canvas, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
  };
  ASSERT_NO_FATAL_FAILURE(Show(files.second.Path()));
  ASSERT_EQ(bars(), 0);
  const int pane = client.right, beside = pane - GetSystemMetrics(SM_CXVSCROLL);
  std::string lines, cells;
  for (int i = 0; i < 60; ++i) lines += "line " + std::to_string(i) + "<br>";
  for (int k = 0; k < 10; ++k) cells += "<td>" + std::to_string(k) + "</td>";
  const std::string table = "<table width=100% border=1><tr>" + cells + "</tr></table>";
  const auto picture = [](int width) { return "<img src=\"pic.bmp\" width=" + std::to_string(width) + " height=20>"; };
  struct Page {
    const wchar_t* file;
    std::string body;
    bool tall, wide;
  };
  const std::vector<Page> pages{
      {L"hr_short.html", "one<br>two<hr>three", false, false},
      {L"hr_xhtml.html", "one<br/>two<hr/>three", false, false},
      {L"hr_tall.html", "one<br>two<hr>three<br>" + lines + "<hr>end", true, false},
      {L"table_short.html", "above" + table + "below", false, false},
      {L"table_tall.html", lines + table + lines, true, false},
      {L"picture_short.html", "above<br>" + picture(pane) + "<br>below", false, false},
      {L"picture_tall.html", picture(beside) + "<br>" + lines, true, false},
      {L"picture_wider.html", picture(pane + 1), false, true},
      {L"picture_wider_tall.html", picture(beside + 1) + "<br>" + lines, true, true},
      {L"hr_after_wide.html", "one<br>two<hr>three", false, false},
  };
  std::vector<std::unique_ptr<previewtest::TempFile>> made;
  for (const Page& page : pages) made.push_back(std::make_unique<previewtest::TempFile>(page.file, "<title>Bars</title>" + page.body));
  const auto check = [&](const Page& page) {
    const LONG shown = bars();
    const int width = PageWidth(browser->Document());
    EXPECT_EQ((shown & WS_VSCROLL) != 0, page.tall);
    EXPECT_EQ((shown & WS_HSCROLL) != 0, page.wide) << "a page " << width << " wide in a pane " << client.right << " wide";
    EXPECT_EQ(SendMessageW(canvas, htmlview::scrollmsg::kGetHMax, 0, 0), std::max(0, width - static_cast<int>(client.right)));
    if (!page.wide) {
      EXPECT_LE(width, client.right);
    }
  };
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(pages[i].file);
    ASSERT_NO_FATAL_FAILURE(Show(made[i]->Path()));  // opened in the pane
    check(pages[i]);
    const std::wstring from = L"file://" + std::wstring(made[i > 0 ? i - 1 : pages.size() - 1]->Path());
    browser->Navigate(reinterpret_cast<const char16_t*>(from.c_str()));
    const std::wstring to = L"file://" + std::wstring(made[i]->Path());
    browser->Navigate(reinterpret_cast<const char16_t*>(to.c_str()));  // reached from the page before
    check(pages[i]);
    if (i == 0) {
      EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_html_rule").empty());
    }
  }
}

TEST_F(HtmlPreviewTest, APictureUrlShowsOnAYellowPageWithoutAPageFetchAndSubmitLinksSubmit) {
  Show();
  const std::u16string picture = u"file://" + std::u16string(reinterpret_cast<const char16_t*>(
                                                  static_cast<LPCTSTR>(files.picture.Path())));
  browser->Navigate((picture.substr(0, picture.size() - 4) + u".PNG").c_str());
  EXPECT_EQ(browser->Document().pageBackColor, 0x00FFFFu);  // yellow
  EXPECT_EQ(browser->Document().images.Count(), 2);
  EXPECT_EQ(browser->History().RowCount(), 2);
  const std::wstring main = L"file://" + std::wstring(files.page.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(main.c_str()));
  // "Submit(0)" submits the first form as if its button were pressed; the history grows by the result.
  browser->Navigate(u"Submit(0)");
  EXPECT_EQ(Title(), L"Result");
  EXPECT_EQ(server.Hits("GET /result"), 1);
}

TEST_F(HtmlPreviewTest, ARecoveredPageContactsNoHostUntilALinkIsClicked) {
  // Each way a page names a picture on the network, and a link to a page there.
  const std::string url = server.Url("/");
  std::string upper = url;
  upper.replace(0, 4, "HTTP");
  previewtest::TempFile page(L"online_pictures.html",
                             "<title>Offline</title><body background=\"" + url + "bg.gif\"><p><a href=\"" + url +
                                 "online.html\">online</a><img src=\"" + url + "a.gif\"><img src=\"" + upper +
                                 "b.gif\"><a href=\"x.html\"><img src=\"" + url + "c.gif\" width=20 height=20></a>"
                                 "<form action=\"" + url + "result\"><input type=image src=\"" + url + "d.gif\"></form>");
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));  // ready: every picture's fetch has ended
  const std::wstring status = harness::Text(CCustomHTMLViewer::Status());
  EXPECT_NE(status.find(L", images:5,"), std::wstring::npos) << status;
  EXPECT_TRUE(server.Requests().empty()) << server.Requests().front();
  // A click on the link goes to the host, and the page it reached shows that host's picture.
  POINT at{};
  ASSERT_TRUE(LinkPoint(browser->Document().elements, 0, at));
  harness::Click(CCustomHTMLViewer::Canvas(), at);
  ASSERT_TRUE(harness::WaitUntil([this] { return server.Hits("GET /online.gif") == 1; }));
  EXPECT_EQ(Title(), L"Online");
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Hits("GET /online.html"), 1);
}

TEST_F(HtmlPreviewTest, LeavingAPageEndsAnImageFetchThatWaitsOnTheNetwork) {
  Show();
  browser->Navigate(reinterpret_cast<const char16_t*>(Wide(server.Url("/waiting.html")).c_str()));
  ASSERT_TRUE(harness::WaitUntil([this] { return server.Hits("GET /stall") == 1; }));
  // The next file replaces the viewer: its teardown must not wait for the server.
  w.Preview(files.second.Path(), _T(".html"));
  browser = CCustomHTMLViewer::Browser();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(Title(), L"Second page");
}

TEST_F(HtmlPreviewTest, AClickOnThePageTakesTheFocusFromAFormControl) {
  Show();
  HWND edit = Control(L"Ann Lee");
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  RECT client{};
  GetClientRect(CCustomHTMLViewer::Canvas(), &client);
  SendMessageW(CCustomHTMLViewer::Canvas(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 5, client.bottom - 5));
  SendMessageW(CCustomHTMLViewer::Canvas(), WM_LBUTTONUP, 0, MAKELPARAM(client.right - 5, client.bottom - 5));
  EXPECT_NE(GetFocus(), edit);
  EXPECT_EQ(Title(), L"Recovered page");  // no link there
}

// The pixels of the canvas that are pure white, per hundred.
int WhitePercent() {
  const previewtest::Grab grab = previewtest::GrabClient(CCustomHTMLViewer::Canvas());
  long long white = 0, all = 0;
  for (int y = 0; y < grab.height; y += 3)
    for (int x = 0; x < grab.width; x += 3, ++all) white += grab.At(x, y) == RGB(255, 255, 255) ? 1 : 0;
  return all > 0 ? static_cast<int>(white * 100 / all) : 0;
}

const htmlview::HtmlElement* FirstImage(const htmlview::HtmlElementList& list) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == htmlview::kImage) return e.get();
    if (const htmlview::HtmlElement* inner = FirstImage(e->children)) return inner;
  }
  return nullptr;
}

std::wstring StatusText() { return harness::Text(CCustomHTMLViewer::Status()); }

void AllImages(const htmlview::HtmlElementList& list, std::vector<const htmlview::HtmlElement*>& out) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == htmlview::kImage) out.push_back(e.get());
    AllImages(e->children, out);
  }
}

TEST_F(HtmlPreviewTest, APageWithoutPicturesOrWithPicturesAlreadyInIsReady) {
  w.Preview(files.second.Path(), _T(".html"));
  browser = CCustomHTMLViewer::Browser();
  ASSERT_NE(browser, nullptr);
  harness::PumpFor(100);
  EXPECT_EQ(StatusText().rfind(L"Ready, items:", 0), 0u) << StatusText();
  EXPECT_NE(StatusText().find(L", images:0, links:0, level:"), std::wstring::npos) << StatusText();

  // Back on a page whose picture was fetched before: no fetch reports, ready all the same.
  const std::wstring main = L"file://" + std::wstring(files.page.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(main.c_str()));
  ASSERT_TRUE(harness::WaitUntil([] { return StatusText().rfind(L"Ready", 0) == 0; }));
  const std::wstring second = L"file://" + std::wstring(files.second.Path());
  browser->Navigate(reinterpret_cast<const char16_t*>(second.c_str()));
  EXPECT_EQ(StatusText().rfind(L"Ready, items:", 0), 0u) << StatusText();
  browser->Navigate(reinterpret_cast<const char16_t*>(main.c_str()));
  EXPECT_EQ(StatusText().rfind(L"Ready, items:", 0), 0u) << StatusText();
  EXPECT_NE(StatusText().find(L", images:1, links:1,"), std::wstring::npos) << StatusText();
}

TEST_F(HtmlPreviewTest, ADamagedPageShowsItsTextOnTheWhitePage) {
  // As a page cut short on a damaged disk: its start, then garbage (cut inside the body's colour).
  std::string bytes = "<html><head><title>Holiday page</title></head><body bgcolor=\"#ff";
  uint32_t seed = 576;
  for (int i = 0; i < 512; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes += static_cast<char>((seed >> 16) & 0xFF);
  }
  previewtest::TempFile damaged(L"damaged_page.html", bytes);
  w.Preview(damaged.Path(), _T(".html"));
  browser = CCustomHTMLViewer::Browser();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(Title(), L"Holiday page");
  EXPECT_EQ(browser->Document().pageBackColor, 0xFFFFFFu);
  harness::PumpFor(100);
  EXPECT_EQ(StatusText().rfind(L"Ready, items:", 0), 0u) << StatusText();
  // The garbage is drawn as text on white: most of the canvas stays white.
  EXPECT_GT(WhitePercent(), 50);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_html_damaged").empty());
}

// A pipe whose server never writes (a read from it would wait for ever), with one instance: it takes a
// client only when no other client has come to it.
class SilentPipe {
 public:
  explicit SilentPipe(const wchar_t* name) : name_(std::wstring(L"\\\\.\\pipe\\") + name) {
    pipe_ = CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  }
  ~SilentPipe() { Close(); }
  bool Made() const { return pipe_ != INVALID_HANDLE_VALUE; }
  // True when a client can still come, so nobody came before.
  bool NeverOpened(DWORD& error) {
    HANDLE client = CreateFileW(name_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    error = client == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (client != INVALID_HANDLE_VALUE) CloseHandle(client);
    return client != INVALID_HANDLE_VALUE;
  }
  // Ends a read that waits on it, so a failure cannot hang the test.
  void Close() {
    if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
    pipe_ = INVALID_HANDLE_VALUE;
  }

 private:
  std::wstring name_;
  HANDLE pipe_ = INVALID_HANDLE_VALUE;
};

TEST_F(HtmlPreviewTest, APictureNamingAPipeIsNeverOpenedAndIsAWhiteRectangleOnAReadyPage) {
  SilentPipe pipe(L"dorvane_html_silent");
  ASSERT_TRUE(pipe.Made());
  previewtest::TempFile page(L"pipe_picture.html",
                             "<title>Pipe</title><body bgcolor=\"#E0E8D0\"><p>Before the picture</p>"
                             "<img src=\"file://\\\\.\\pipe\\dorvane_html_silent\"><p>After it</p>");
  w.Preview(page.Path(), _T(".html"));
  browser = CCustomHTMLViewer::Browser();
  const bool ready = browser && harness::WaitUntil([] { return StatusText().rfind(L"Ready", 0) == 0; });
  const htmlview::HtmlElement* image = browser ? FirstImage(browser->Document().elements) : nullptr;
  const previewtest::Grab grab = previewtest::GrabClient(CCustomHTMLViewer::Canvas());
  DWORD clientError = 0;
  const bool neverOpened = pipe.NeverOpened(clientError);
  pipe.Close();
  EXPECT_TRUE(neverOpened) << "the viewer opened the pipe; error " << clientError;
  ASSERT_TRUE(ready);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, htmlview::kPlaceholderWidth);
  int white = 0;
  for (int y = image->y; y < image->y + image->height; ++y)
    for (int x = image->x; x < image->x + image->width; ++x) white += grab.At(x, y) == RGB(255, 255, 255);
  EXPECT_EQ(white, htmlview::kPlaceholderWidth * htmlview::kPlaceholderHeight);
  EXPECT_EQ(grab.At(image->x + image->width + 1, image->y + 20), RGB(0xE0, 0xE8, 0xD0));
}

TEST_F(HtmlPreviewTest, APictureOnADriveMappedToAShareIsNotReadFromARecoveredPage) {
  // The picture lies in the build's folder, which the drive letter Z: reaches. Told that Z: is a network
  // drive, the viewer leaves the picture as the white rectangle; told it is a drive of this machine, it
  // reads it and shows it at its size.
  const std::wstring folder = DORVANE_HTML_TEST_FOLDER;
  const std::wstring picture = folder + L"/mapped_drive_picture.bmp";
  const std::string bytes = previewtest::Bitmap24(37, 23, [](int, int) { return RGB(0x30, 0x90, 0x30); });
  HANDLE file = CreateFileW(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  std::string address = "file:///";
  for (wchar_t c : picture) address += static_cast<char>(c == L'\\' ? '/' : c);
  for (const os::DriveKind kind : {os::DriveKind::Remote, os::DriveKind::Fixed}) {
    SCOPED_TRACE(static_cast<int>(kind));
    os::SetDriveKindForTesting(u'Z', kind);
    previewtest::TempFile page(L"mapped_drive.html", "<title>Mapped</title><p>Before <img src=\"" + address + "\"> after");
    Show(page.Path());
    const htmlview::HtmlElement* image = FirstImage(browser->Document().elements);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, kind == os::DriveKind::Remote ? htmlview::kPlaceholderWidth : 37);
    EXPECT_EQ(image->height, kind == os::DriveKind::Remote ? htmlview::kPlaceholderHeight : 23);
  }
  os::ForgetDriveKindsForTesting();
  DeleteFileW(picture.c_str());
}

TEST_F(HtmlPreviewTest, LinksAndGetFormsNamingADeviceOrAShareAreNeverOpened) {
  // Each way a page names the pipe: a link to it in two spellings, and a "get" form whose action it is.
  SilentPipe pipe(L"dorvane_html_link");
  ASSERT_TRUE(pipe.Made());
  previewtest::TempFile page(L"device_links.html",
                             "<title>Devices</title><p><a href=\"file://\\\\.\\pipe\\dorvane_html_link\">one</a></p>"
                             "<p><a href=\"file:////./pipe/dorvane_html_link\">two</a></p>"
                             "<p><a href=\"file:////nohost.invalid/share/page.html\">three</a></p>"
                             "<form action=\"file://\\\\.\\pipe\\dorvane_html_link\" method=get>"
                             "<input type=text name=q value=v><input type=submit value=Go></form>");
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));
  for (int link = 0; link < 3; ++link) {
    POINT at{};
    ASSERT_TRUE(LinkPoint(browser->Document().elements, link, at)) << link;
    harness::Click(CCustomHTMLViewer::Canvas(), at);
    harness::PumpFor(20);
  }
  SubmitByButton(browser, Control(L"Go"));
  browser->Navigate(u"\\\\.\\pipe\\dorvane_html_link");
  harness::PumpFor(50);
  DWORD clientError = 0;
  const bool neverOpened = pipe.NeverOpened(clientError);
  pipe.Close();
  EXPECT_TRUE(neverOpened) << "the viewer opened the pipe; error " << clientError;
  // Nothing came: the page, its history and its controls stay.
  EXPECT_EQ(Title(), L"Devices");
  EXPECT_EQ(browser->History().RowCount(), 1);
  EXPECT_EQ(browser->Controls().RowCount(), 2);
}

TEST_F(HtmlPreviewTest, AFormWhoseActionIsASubmitAddressSubmitsNothing) {
  // Its action submits form 0, whose action submits form 0, ...: by a link to it and by its button.
  previewtest::TempFile page(L"submit_loop.html",
                             "<title>Loop</title><form action=\"Submit(0)://x\" method=get>"
                             "<input type=text name=q value=v><input type=submit value=Go></form>"
                             "<p><a href=\"Submit(0)://x\">submit</a></p>");
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));
  POINT at{};
  ASSERT_TRUE(LinkPoint(browser->Document().elements, 0, at));
  harness::Click(CCustomHTMLViewer::Canvas(), at);
  harness::PumpFor(20);
  SubmitByButton(browser, Control(L"Go"));
  browser->Navigate(u"Submit(0)://x");
  harness::PumpFor(50);
  EXPECT_EQ(Title(), L"Loop");
  EXPECT_EQ(browser->History().RowCount(), 1);
  EXPECT_EQ(browser->Controls().RowCount(), 2);
  EXPECT_TRUE(harness::StateOf(Control(L"Go")).visible);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HtmlPreviewTest, APictureOfTooManyPixelsIsTheWhiteRectangle) {
  // A bitmap of 8000 x 8000 pixels in 60 bytes: run-length coded, it ends at once (a quarter of a gigabyte
  // once decoded).
  std::string huge = "BM";
  auto le = [&huge](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) huge += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  le(60, 4), le(0, 4), le(58, 4);                                    // file header
  le(40, 4), le(8000, 4), le(8000, 4), le(1, 2), le(8, 2), le(1, 4);  // 8 bits, run-length coded
  le(2, 4), le(0, 4), le(0, 4), le(1, 4), le(0, 4);                  // one colour
  le(0x00FF0000, 4);                                                  // red
  huge += std::string("\x00\x01", 2);                               // end of the bitmap
  previewtest::TempFile picture(L"huge_picture.bmp", huge);
  previewtest::TempFile page(L"huge_picture.html", "<title>Huge</title><p>Before<img src=\"huge_picture.bmp\">after");
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));
  const htmlview::HtmlElement* image = FirstImage(browser->Document().elements);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, htmlview::kPlaceholderWidth);
  EXPECT_EQ(image->height, htmlview::kPlaceholderHeight);
}

TEST_F(HtmlPreviewTest, APictureThatCannotBeFetchedIsAWhiteRectangle) {
  previewtest::TempFile page(L"missing_picture.html",
                             "<title>Missing</title><body bgcolor=\"#E0E8D0\"><p>Before the picture</p><img src=\"gone.gif\"><p>After it</p>"
                             "<img src=\"lake.png\" width=160 height=120 align=left><h1>Holiday pictures</h1>"
                             "<p>Two pictures of the lake.</p><table border=1><tr><td>Day</td><td>Weather</td></tr>"
                             "<tr><td>Monday</td><td>Sunny</td></tr></table>");
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));
  const htmlview::HtmlElement* image = FirstImage(browser->Document().elements);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, htmlview::kPlaceholderWidth);
  EXPECT_EQ(image->height, htmlview::kPlaceholderHeight);
  const previewtest::Grab grab = previewtest::GrabClient(CCustomHTMLViewer::Canvas());
  const COLORREF pageColour = RGB(0xE0, 0xE8, 0xD0);
  const int left = image->x, top = image->y, right = image->x + image->width - 1, bottom = image->y + image->height - 1;
  // White to its edges, on the page's colour.
  int white = 0;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) white += grab.At(x, y) == RGB(255, 255, 255);
  EXPECT_EQ(white, htmlview::kPlaceholderWidth * htmlview::kPlaceholderHeight);
  EXPECT_EQ(grab.At(right + 1, top + 20), pageColour);
  EXPECT_EQ(grab.At(left + 30, bottom + 1), pageColour);
  EXPECT_FALSE(harness::CaptureWindow(w.frame->m_hWnd, "preview_html_missing_picture").empty());
}


TEST_F(HtmlPreviewTest, APageOfManyPicturesShowsEachInItsPlaceOnceAllHaveArrived) {
  // Hundreds of pictures without a size, most of them missing files: the reports of their fetches come
  // in bunches, and the page must still end laid out with each at its own size.
  std::string body = "<title>Many</title><body bgcolor=\"#E0E8D0\">";
  for (int i = 0; i < 400; ++i) body += i % 50 == 1 ? "<img src=\"pic.bmp\">" : "<img src=\"gone" + std::to_string(i) + ".gif\">";
  previewtest::TempFile page(L"many_pictures.html", body);
  ASSERT_NO_FATAL_FAILURE(Show(page.Path()));
  EXPECT_NE(StatusText().find(L", images:393,"), std::wstring::npos) << StatusText();  // 392 missing, one shared
  std::vector<const htmlview::HtmlElement*> images;
  AllImages(browser->Document().elements, images);
  ASSERT_EQ(images.size(), 400u);
  const previewtest::Grab grab = previewtest::GrabClient(CCustomHTMLViewer::Canvas());
  int picturesSeen = 0, placeholdersSeen = 0;
  for (size_t i = 0; i < images.size(); ++i) {
    const htmlview::HtmlElement& image = *images[i];
    const bool real = i % 50 == 1;
    EXPECT_EQ(image.width, real ? 48 : htmlview::kPlaceholderWidth) << i;
    EXPECT_EQ(image.height, real ? 32 : htmlview::kPlaceholderHeight) << i;
    // Side by side on a line, never over the one before.
    if (i > 0 && images[i - 1]->y == image.y) {
      EXPECT_GE(image.x, images[i - 1]->x + images[i - 1]->width) << i;
    }
    if (image.x + image.width > grab.width || image.y + image.height > grab.height) continue;
    if (real) {
      EXPECT_EQ(grab.At(image.x + 24, image.y + 8), RGB(0x20, 0x60, 0xC0)) << i;
      EXPECT_EQ(grab.At(image.x + 24, image.y + 24), RGB(0xF0, 0x90, 0x20)) << i;
      ++picturesSeen;
    } else {
      EXPECT_EQ(grab.At(image.x + 30, image.y + 20), RGB(255, 255, 255)) << i;
      ++placeholdersSeen;
    }
  }
  EXPECT_GE(picturesSeen, 1);
  EXPECT_GE(placeholdersSeen, 10);
}

}  // namespace html_browser_test
