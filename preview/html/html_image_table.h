// The images of one page: each distinct URL and key once, so elements that show the same picture share
// one entry (and one fetch). Entries are fetched in the background through the host's ReadBinary by a
// small pool of threads (at most kMaxImageFetches at once); a finished fetch is reported through
// OnImagesLoaded on the fetching thread unless a report is already waiting to be taken (TakeReport), so a
// page of many pictures sends the window a handful of reports, not one per picture. Decoding happens later, on the user-interface thread, through a
// decoder the window side plugs in; a picture that cannot be fetched or decoded shows as the white
// placeholder.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace htmlview {

class HtmlBrowserCallbacks;

constexpr int kMaxImageFetches = 11;
constexpr int kPlaceholderWidth = 60;
constexpr int kPlaceholderHeight = 40;

// What one page's pictures may hold, so that no page can take the 32-bit program's address space: the
// fetched bytes kept of all of them, the pixels of one decoded picture, and the pixels of all of them
// decoded. A picture past a limit shows as the placeholder.
struct HtmlImageLimits {
  size_t pageBytes = 64u << 20;
  long long picturePixels = 4096LL * 4096;
  long long pagePixels = 48LL << 20;
};

// A decoded picture as the window side keeps it (a bitmap handle); 0 is none.
using HtmlBitmap = uintptr_t;

class HtmlImageDecoder {
 public:
  virtual ~HtmlImageDecoder() = default;
  // The picture in data, or 0 when it cannot be decoded; width and height come back with it.
  virtual HtmlBitmap Decode(const uint8_t* data, size_t size, int& width, int& height) = 0;
  virtual void Free(HtmlBitmap bitmap) = 0;
};

struct HtmlImageEntry {
  std::u16string url;
  int key = 0;
  int index = 0;  // its place in the table
  // Written by the fetching thread before `fetched` is set; read on the user-interface thread after.
  std::vector<uint8_t> data;
  bool hasData = false;
  std::atomic<bool> fetched{false};
  // User-interface thread only.
  bool decoded = false;
  HtmlBitmap bitmap = 0;  // 0 once decoded: the placeholder
  int width = 0, height = 0;
};

class HtmlImageTable {
 public:
  // With null callbacks nothing is fetched: every image is the placeholder.
  explicit HtmlImageTable(HtmlBrowserCallbacks* callbacks, int maxFetches = kMaxImageFetches);
  // Drops the fetches still queued and waits until every running one has ended and made its report.
  ~HtmlImageTable();
  HtmlImageTable(const HtmlImageTable&) = delete;
  HtmlImageTable& operator=(const HtmlImageTable&) = delete;

  // Adds an entry and queues its fetch; returns its index. Every tenth entry, the entries fetched
  // meanwhile are decoded (user-interface thread, as decoding is).
  int AddImage(const std::u16string& url, int key);
  // The index of the first entry with that URL (exact) and key, or -1.
  int Find(const std::u16string& url, int key) const;
  int Count() const;
  const std::u16string& Url(int index) const;
  // Entries whose fetch has ended.
  int FetchedCount() const;
  // Takes the waiting report (user-interface thread): the next fetch to end reports again. The counts
  // are read after, so they include every fetch whose report this one stands for.
  void TakeReport(int& loaded, int& total);

  void SetDecoder(HtmlImageDecoder* decoder) { decoder_ = decoder; }
  // Before the first picture is added.
  void SetLimits(const HtmlImageLimits& limits) { limits_ = limits; }
  // Decodes the entry once its fetch has ended (waiting for it when wait is set); false while it runs
  // or when index is outside the table.
  bool DecodeImage(int index, bool wait);
  // The decoded entry (null unless DecodeImage said true).
  const HtmlImageEntry* Decoded(int index) const;
  // Frees every decoded picture; the fetched bytes stay, so the next DecodeImage decodes again.
  void ReleaseBitmaps();
  // Stops the fetching as the destructor does (idempotent).
  void Shutdown();
  // While a page is read, its pictures are only queued; ResumeFetches starts the fetching threads once,
  // so the reading thread and the fetching threads do not wake each other for every picture.
  void PauseFetches();
  void ResumeFetches();
  // Whether pictures at addresses that leave this machine (the network, a share) are fetched; off until
  // set. A recovered page never contacts a host by itself: such a picture is the placeholder, and is not
  // remembered, so a page the user later opens on the network fetches it.
  void SetFetchOutside(bool fetch);

 private:
  int QueueImage(const std::u16string& url, int key);
  // Under the lock: a thread for the queue when none is idle and the cap allows; false when none could be
  // made.
  bool AddWorker();
  void DecodeArrived();
  HtmlImageEntry* EntryAt(int index) const;
  static std::u16string NameKey(const std::u16string& url, int key);
  // The entry's picture, decoded when it fits the limits (its declared size first, then its real one).
  HtmlBitmap DecodeWithinLimits(HtmlImageEntry& entry);
  // Under the lock: the entry's fetch has ended.
  void MarkFetched(HtmlImageEntry& entry);
  void Worker();
  void Fetch(HtmlImageEntry& entry);

  HtmlBrowserCallbacks* callbacks_;
  HtmlImageDecoder* decoder_ = nullptr;
  HtmlImageLimits limits_;
  size_t keptBytes_ = 0;         // under the lock
  long long decodedPixels_ = 0;  // user-interface thread
  const int maxFetches_;
  mutable std::mutex lock_;
  std::condition_variable wake_;       // work queued, or stopping
  std::condition_variable fetchDone_;  // an entry's fetch has ended
  std::vector<std::unique_ptr<HtmlImageEntry>> entries_;
  std::unordered_map<std::u16string, int> byName_;  // first entry of each NameKey
  std::vector<int> arrived_;                         // fetched since the last DecodeArrived
  std::deque<HtmlImageEntry*> queue_;
  std::vector<std::thread> workers_;
  int idleWorkers_ = 0;
  int fetched_ = 0;
  bool stopping_ = false;
  bool fetchOutside_ = false;
  bool paused_ = false;
  std::atomic<bool> reportWaiting_{false};
};

}  // namespace htmlview
