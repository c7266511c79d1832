// The decisions of the page viewer that need no window: which URLs are pictures or form submissions,
// how often finished images relayout the page, form queries, where a post goes, the reply buffer's
// growth and the status texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace htmlview {

// The longest reply the viewer keeps, in bytes; a longer one is cut there.
constexpr size_t kMaxFetchBytes = 32u * 1024 * 1024;
// A picture's bytes: up to eleven are read at once, so each is held to less.
constexpr size_t kMaxPictureFetchBytes = 16u * 1024 * 1024;
// Redirections followed for one page; the reply of the last one is shown as it is.
constexpr int kMaxRedirects = 10;
// Options one drop-down list holds, as many as the other lists of the preview hold rows: a list's options
// are added one by one on the window's thread, so a page of one list of hundreds of thousands would take
// that long to show. The rest are counted for the page's note.
constexpr int kMaxListOptions = 10000;
// Form fields of one page made as windows; past them a field is only drawn in its place (the parse pass
// asks the host for no more), so a page cannot use up the window handles the rest of the program needs,
// nor take seconds to show: each window costs milliseconds to make and place.
constexpr int kMaxFormControls = 200;

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);

// A URL whose text after its last "." is jpg, gif or png (any case): shown as a page holding the picture.
bool IsPictureUrl(std::u16string_view url);
// The page built for a picture URL.
std::u16string PicturePage(std::u16string_view url);
// "Submit(" and a number: the form's index, else -1 (also for a URL that is not one).
bool IsSubmitUrl(std::u16string_view url, int& formIndex);

// Image fetches finished, from `shown` to `loaded` of `total`: true when the page should be laid out again
// (the last one, or a step passed: every one of ten, every tenth of a hundred, ...), false when a repaint
// is enough.
bool ImagesLoadedRelayout(int shown, int loaded, int total);

// Letters and digits kept, space as "+", every other character as "%xx" escapes (lowercase hexadecimal
// digits): its code (Latin-1), or with utf8 the bytes of its UTF-8 form. A character above U+00FF is always
// its UTF-8 bytes, which only a query sent wholly in UTF-8 should hold.
std::u16string UrlEncodeFormValue(std::u16string_view text, bool utf8 = false);

struct FormField {
  std::u16string name;
  std::u16string value;
};
// "?name=value&..." of the fields in order (values URL-encoded), or "" for none. A query is in one
// character set: Latin-1 while every value is, else UTF-8 throughout.
std::u16string FormQuery(const std::vector<FormField>& fields);
// The URL a "get" form navigates to: the action and the query, "&" instead of "?" when the action
// already has a query.
std::u16string GetFormUrl(std::u16string_view action, std::u16string_view query);

struct PostTarget {
  std::u16string host;
  std::u16string object;  // from the "/" after the host on; "/" when there is none
  uint16_t port = 80;
  bool secure = false;
};
// Where a form is posted; a port in the URL is used, else 80 (443 for "https").
PostTarget SplitPostUrl(std::u16string_view url);

// The path of a "file://" URL, or "" when the URL is not one (see preview::FileUrlPath).
std::u16string FileUrlPath(std::u16string_view url);

// "Reading n" without a known length, else "Reading n of total".
std::u16string ReadingStatus(long long bytes, long long total);
std::u16string ReadyStatus(int items, int images, int links, int level);
std::u16string ParsingStatus(int done, int total);
// What a page cut at its element bound says: how many of its items are shown.
std::u16string CutPageNote(int items);

// What of a page is not shown, for the note the viewer gives.
struct PageCuts {
  int items = -1;        // reading stopped at the element bound with this many items; -1: it did not
  int nestedDepth = 0;   // content nested deeper than this many levels is left out; 0: none was
  long long listOptionsShown = 0, listOptions = 0;  // of drop-down lists cut at kMaxListOptions
};
// The note for what a page leaves out, one sentence a cut; "" for a page shown whole.
std::u16string PartialPageNote(const PageCuts& cuts);

// A reply read in pieces: room doubles as it fills, and nothing beyond kMaxFetchBytes (or the limit
// given) is kept.
class ReplyBuffer {
 public:
  explicit ReplyBuffer(size_t limit = kMaxFetchBytes) : limit_(limit) {}
  // Where the next read may write, and how much; 0 once the limit is reached.
  uint8_t* Room(size_t& size);
  void Commit(size_t bytes) { used_ += bytes; }
  size_t Size() const { return used_; }
  bool Full() const { return used_ >= limit_; }
  // The bytes read, with one zero behind them, as a new[] buffer the caller owns.
  uint8_t* Release();
  const uint8_t* Data() const { return bytes_.data(); }

 private:
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
  size_t limit_;
};

}  // namespace htmlview
