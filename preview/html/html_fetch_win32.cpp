#include "preview/html/html_fetch_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/os/os.h"
#include "platform/os/win32.h"
#include "preview/address_reach.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_page_text.h"
#include "preview/html/html_url.h"

namespace htmlview {
namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

const wchar_t kAgent[] = L"Morvid Browser";
constexpr DWORD kCancellableFetchTimeoutMs = 5000;

// Closes an internet handle when it goes out of scope.
class NetHandle {
 public:
  explicit NetHandle(HINTERNET h) : h_(h) {}
  ~NetHandle() {
    if (h_) InternetCloseHandle(h_);
  }
  NetHandle(const NetHandle&) = delete;
  NetHandle& operator=(const NetHandle&) = delete;
  HINTERNET get() const { return h_; }
  void reset(HINTERNET h) {
    if (h_) InternetCloseHandle(h_);
    h_ = h;
  }

 private:
  HINTERNET h_;
};

// An internet session, registered with the canceller when there is one.
class Session {
 public:
  Session(HINTERNET h, FetchCancel* cancel) : h_(h), cancel_(cancel) {
    if (h_ && cancel_ && !cancel_->Track(h_)) {
      InternetCloseHandle(h_);
      h_ = nullptr;
    }
  }
  ~Session() {
    if (!h_) return;
    if (cancel_) {
      cancel_->Close(h_);
    } else {
      InternetCloseHandle(h_);
    }
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  HINTERNET get() const { return h_; }

 private:
  HINTERNET h_;
  FetchCancel* cancel_;
};

bool Finish(ReplyBuffer& reply, FetchResult& result) {
  result.size = static_cast<int>(reply.Size());
  result.bytes = reply.Release();
  return true;
}

bool FetchResource(const std::u16string& url, FetchResult& result) {
  const std::u16string name = url.substr(6);
  const size_t slash = name.rfind(u'/');
  const std::u16string candidates[] = {name, slash == std::u16string::npos ? name : name.substr(slash + 1)};
  for (const std::u16string& candidate : candidates) {
    HRSRC found = FindResourceW(nullptr, os::Wide(candidate), MAKEINTRESOURCEW(23));
    if (!found) continue;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) continue;
    ReplyBuffer reply;
    const DWORD size = SizeofResource(nullptr, found);
    size_t room = 0;
    size_t copied = 0;
    while (copied < size) {
      uint8_t* to = reply.Room(room);
      if (!to) break;
      const size_t n = room < size - copied ? room : size - copied;
      std::memcpy(to, static_cast<const uint8_t*>(bytes) + copied, n);
      reply.Commit(n);
      copied += n;
    }
    result.finalUrl = url;
    return Finish(reply, result);
  }
  return false;
}

bool FetchFile(const std::u16string& url, const FetchOptions& options, FetchResult& result) {
  const std::u16string path = FileUrlPath(url);
  HANDLE file = CreateFileW(os::Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Closed however the read ends, out of memory for the reply too.
  const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
  // Only a file on a disk is read: a pipe, a serial port or the console may never answer, and the page
  // and the viewer's teardown would wait on it for ever.
  if (GetFileType(file) != FILE_TYPE_DISK) return false;
  LARGE_INTEGER length{};
  GetFileSizeEx(file, &length);
  ReplyBuffer reply(options.limit);
  size_t room = 0;
  while (uint8_t* to = reply.Room(room)) {
    DWORD got = 0;
    const DWORD ask = room > (1u << 20) ? (1u << 20) : static_cast<DWORD>(room);
    if (!ReadFile(file, to, ask, &got, nullptr) || got == 0) break;
    reply.Commit(got);
    if (options.progress) options.progress(static_cast<long long>(reply.Size()), length.QuadPart);
  }
  result.finalUrl = url;
  return Finish(reply, result);
}

// A reply header as text, cut to capacity characters; "" when absent.
std::u16string QueryHeader(HINTERNET request, DWORD which, size_t capacity) {
  std::u16string value(capacity, u'\0');
  DWORD bytes = static_cast<DWORD>(capacity * sizeof(char16_t));
  if (!HttpQueryInfoW(request, which, &value[0], &bytes, nullptr)) return {};
  value.resize(std::min<size_t>(bytes / sizeof(char16_t), capacity));
  const size_t zero = value.find(u'\0');
  if (zero != std::u16string::npos) value.resize(zero);
  return value;
}

long long ParseLength(const std::u16string& text) {
  long long n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    if (n < (1LL << 40)) n = n * 10 + (c - u'0');
  }
  return n;
}

void ReadReply(HINTERNET request, long long total, const FetchProgress& progress, ReplyBuffer& reply) {
  size_t room = 0;
  while (uint8_t* to = reply.Room(room)) {
    DWORD got = 0;
    const DWORD ask = room > (1u << 20) ? (1u << 20) : static_cast<DWORD>(room);
    if (!InternetReadFile(request, to, ask, &got) || got == 0) break;
    reply.Commit(got);
    if (progress) progress(static_cast<long long>(reply.Size()), total);
  }
}

bool IsNetworkUrl(const std::u16string& url) {
  return StartsWithNoCase(url, u"http://") || StartsWithNoCase(url, u"https://");
}

// One request without following redirections; location receives the redirection target, if any.
// Opens a request of verb for url's object on its host (its port, "https" secure); false when any step
// fails.
bool OpenRequest(HINTERNET session, const std::u16string& url, const wchar_t* verb, DWORD flags, NetHandle& connection,
                 NetHandle& request) {
  const PostTarget target = SplitPostUrl(url);
  connection.reset(InternetConnectW(session, os::Wide(target.host), target.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.get()) return false;
  const wchar_t* accept[] = {L"*/*", nullptr};
  if (target.secure) flags |= INTERNET_FLAG_SECURE;
  request.reset(HttpOpenRequestW(connection.get(), verb, os::Wide(target.object), nullptr, nullptr, accept, flags, 0));
  return request.get() != nullptr;
}

// One request without following redirections; location receives the redirection target, if any.
bool FetchOnce(const std::u16string& url, const FetchOptions& options, ReplyBuffer& reply, std::u16string& location) {
  Session internet(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0), options.cancel);
  if (!internet.get()) return false;
  // A local page's path is nobody's business: only a network page is named as the referrer.
  std::u16string header;
  if (IsNetworkUrl(options.referrer)) header = u"Referer: " + options.referrer.substr(0, kMaxUrlLength) + u"\r\n";
  const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES;
  NetHandle connection(nullptr);
  NetHandle request(nullptr);
  if (IsNetworkUrl(url)) {
    if (!OpenRequest(internet.get(), url, L"GET", flags, connection, request)) return false;
    if (options.cancel) {
      // A fetch its page waits for when it goes waits on a silent server only so long.
      DWORD limit = kCancellableFetchTimeoutMs;
      for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(request.get(), option, &limit, sizeof limit);
    }
    if (!HttpSendRequestW(request.get(), header.empty() ? nullptr : os::Wide(header),
                          header.empty() ? 0 : static_cast<DWORD>(-1), nullptr, 0))
      return false;
  } else {
    request.reset(InternetOpenUrlW(internet.get(), os::Wide(url), header.empty() ? nullptr : os::Wide(header),
                                   header.empty() ? 0 : static_cast<DWORD>(-1), flags, 0));
    if (!request.get()) return false;
  }
  const long long total = ParseLength(QueryHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH, 50));
  location = QueryHeader(request.get(), HTTP_QUERY_LOCATION, 4096);
  ReadReply(request.get(), total, options.progress, reply);
  return true;
}

}  // namespace

bool FetchCancel::Track(void* session) {
  std::lock_guard<std::mutex> hold(lock_);
  if (cancelled_) return false;
  open_.push_back(session);
  return true;
}

void FetchCancel::Close(void* session) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = std::find(open_.begin(), open_.end(), session);
    if (it == open_.end()) return;  // Cancel closed it
    open_.erase(it);
  }
  InternetCloseHandle(session);
}

void FetchCancel::Cancel() {
  std::vector<void*> sessions;
  {
    std::lock_guard<std::mutex> hold(lock_);
    cancelled_ = true;
    sessions.swap(open_);
  }
  // Outside the lock: a close may wait for the call it ends, whose thread then comes to Close.
  for (void* session : sessions) InternetCloseHandle(session);
}

std::u16string ReplyText(const uint8_t* bytes, int size, bool zerosAsSpaces) {
  if (!bytes || size <= 0) return {};
  const auto fromCodePage = [](std::string_view text, uint32_t codePage) { return os::FromCodePage(text, codePage); };
  return PageTextFromBytes(bytes, static_cast<size_t>(size), fromCodePage, zerosAsSpaces);
}

char16_t* TakeReplyText(FetchResult& result, int* outByteCount, bool zerosAsSpaces) {
  const std::u16string text = ReplyText(result.bytes, result.size, zerosAsSpaces);
  delete[] result.bytes;
  result.bytes = nullptr;
  if (outByteCount) *outByteCount = result.size;
  auto* out = new char16_t[text.size() + 1];
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = 0;
  return out;
}

bool FetchUrl(const std::u16string& url, const FetchOptions& options, FetchResult& result) {
  result = FetchResult{};
  // A page, picture or form never opens a network share or a device: the system would connect with the
  // user's credentials, and the window waits while the host or the device does not answer.
  if (preview::NamesShareOrDevice(url)) return false;
  if (StartsWithNoCase(url, u"res://")) return FetchResource(url, result);
  if (StartsWithNoCase(url, u"file://")) return FetchFile(url, options, result);
  std::u16string current = url.substr(0, kMaxUrlLength);
  FetchOptions request = options;
  for (int redirects = 0;; ++redirects) {
    ReplyBuffer reply(options.limit);
    std::u16string location;
    if (!FetchOnce(current, request, reply, location)) return false;
    // Past the cap the last reply is shown as it is.
    if (!options.followRedirects || location.empty() || redirects >= kMaxRedirects) {
      result.finalUrl = current;
      return Finish(reply, result);
    }
    // The redirecting page asks for its target.
    request.referrer = current;
    current = ResolveUrl(location, current);
    // A network page may not send the viewer to a local file.
    if (!IsNetworkUrl(current)) {
      result.finalUrl = url;
      return Finish(reply, result);
    }
  }
}

bool PostForm(const std::u16string& url, const std::string& data, const FetchProgress& progress, FetchResult& result) {
  result = FetchResult{};
  NetHandle internet(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet.get()) return false;
  NetHandle connection(nullptr);
  NetHandle request(nullptr);
  if (!OpenRequest(internet.get(), url.substr(0, kMaxUrlLength), L"POST", INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                   connection, request))
    return false;
  const wchar_t header[] = L"Content-Type: application/x-www-form-urlencoded\r\n";
  if (!HttpSendRequestW(request.get(), header, static_cast<DWORD>(-1), const_cast<char*>(data.data()),
                        static_cast<DWORD>(data.size())))
    return false;
  const long long total = ParseLength(QueryHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH, 50));
  ReplyBuffer reply;
  ReadReply(request.get(), total, progress, reply);
  result.finalUrl = url;
  return Finish(reply, result);
}

}  // namespace htmlview
