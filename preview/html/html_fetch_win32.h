// Fetching for the page viewer: "res://" from the program's own resources, "file://" read from disk by
// our own code (the system's internet library reads only network schemes under every system we run on),
// and everything else through the system's internet library. Replies are capped at kMaxFetchBytes.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "preview/html/html_browser_logic.h"

namespace htmlview {

struct FetchResult {
  uint8_t* bytes = nullptr;  // new[]; the data and one zero behind it; owned by the caller
  int size = 0;
  std::u16string finalUrl;   // the URL the data came from, after any redirections followed
};

// (bytes so far, content length or 0 when the reply gave none)
using FetchProgress = std::function<void(long long, long long)>;

// Lets the viewer end the network fetches still running on its image threads when it goes: their
// internet sessions are closed under them, which makes every call waiting on the network return.
class FetchCancel {
 public:
  // Registers an open session; false once cancelled (the caller then closes it and gives up).
  bool Track(void* session);
  // Closes the session unless Cancel has closed it already.
  void Close(void* session);
  // Closes every registered session and refuses new ones.
  void Cancel();

 private:
  std::mutex lock_;
  std::vector<void*> open_;
  bool cancelled_ = false;
};

struct FetchOptions {
  // A page fetch: redirections are followed (up to kMaxRedirects) and finalUrl records where the page
  // ended up. An image fetch never follows them: it gets the redirecting reply's own bytes.
  bool followRedirects = false;
  // The page that asks; sent as the referrer only when it is itself a network page.
  std::u16string referrer;
  FetchProgress progress;
  FetchCancel* cancel = nullptr;  // network sessions are registered here when given
  size_t limit = kMaxFetchBytes;  // bytes read at most; the rest is left unread
};

// False when nothing could be fetched.
bool FetchUrl(const std::u16string& url, const FetchOptions& options, FetchResult& result);
// Posts data (URL-encoded form fields) to url and reads the reply; false when that failed.
bool PostForm(const std::u16string& url, const std::string& data, const FetchProgress& progress, FetchResult& result);

// A reply's bytes as page text in the encoding they are in (html_page_text.h); NUL characters become
// spaces when zerosAsSpaces, else the text ends at the first.
std::u16string ReplyText(const uint8_t* bytes, int size, bool zerosAsSpaces);
// The reply's bytes as a new zero-terminated UTF-16 text (new[]), as the viewer's text fetches return it;
// the bytes are freed and their count goes to *outByteCount when given.
char16_t* TakeReplyText(FetchResult& result, int* outByteCount, bool zerosAsSpaces = false);

}  // namespace htmlview
