#include "preview/html/html_image_table.h"

#include <algorithm>
#include <exception>
#include <system_error>

#include "preview/html/html_browser_callbacks.h"
#include "preview/address_reach.h"
#include "preview/html/html_picture_size.h"

namespace htmlview {

HtmlImageTable::HtmlImageTable(HtmlBrowserCallbacks* callbacks, int maxFetches)
    : callbacks_(callbacks), maxFetches_(maxFetches < 1 ? 1 : maxFetches) {}

HtmlImageTable::~HtmlImageTable() {
  Shutdown();
  ReleaseBitmaps();
}

void HtmlImageTable::Shutdown() {
  std::vector<std::thread> workers;
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
    // Queued fetches never start: their entries end without data.
    for (HtmlImageEntry* entry : queue_) MarkFetched(*entry);
    queue_.clear();
    workers.swap(workers_);
  }
  wake_.notify_all();
  fetchDone_.notify_all();
  // A worker ends only after its report has returned, so joining waits for every report.
  for (std::thread& t : workers) t.join();
}

int HtmlImageTable::AddImage(const std::u16string& url, int key) {
  const int index = QueueImage(url, key);
  // Every tenth picture, those whose bytes have arrived meanwhile are decoded now rather than at their
  // first paint.
  if ((index + 1) % 10 == 0) DecodeArrived();
  return index;
}

void HtmlImageTable::DecodeArrived() {
  // Only the entries that arrived since the last time are looked at, so the every-tenth decoding of a
  // page of many pictures stays in proportion to the pictures.
  std::vector<int> arrived;
  {
    std::lock_guard<std::mutex> hold(lock_);
    arrived.swap(arrived_);
  }
  for (int i : arrived) {
    const HtmlImageEntry* entry = EntryAt(i);
    if (entry != nullptr && !entry->decoded) DecodeImage(i, false);
  }
}

void HtmlImageTable::MarkFetched(HtmlImageEntry& entry) {
  entry.fetched.store(true, std::memory_order_release);
  ++fetched_;
  arrived_.push_back(entry.index);
}

int HtmlImageTable::QueueImage(const std::u16string& url, int key) {
  auto entry = std::make_unique<HtmlImageEntry>();
  entry->url = url;
  entry->key = key;
  HtmlImageEntry* raw = entry.get();
  std::unique_lock<std::mutex> hold(lock_);
  entries_.push_back(std::move(entry));
  const int index = static_cast<int>(entries_.size()) - 1;
  raw->index = index;
  const bool refused = !fetchOutside_ && preview::ReachesOutside(url);
  if (!refused) byName_.emplace(NameKey(url, key), index);
  if (callbacks_ == nullptr || stopping_ || refused) {
    MarkFetched(*raw);
    return index;
  }
  queue_.push_back(raw);
  if (paused_) return index;
  if (idleWorkers_ > 0 || static_cast<int>(workers_.size()) >= maxFetches_) {
    hold.unlock();
    wake_.notify_one();
    return index;
  }
  // No thread to fetch with: when no worker exists at all, the image ends as the placeholder.
  if (!AddWorker() && workers_.empty()) {
    queue_.pop_back();
    MarkFetched(*raw);
  }
  return index;
}

bool HtmlImageTable::AddWorker() {
  try {
    workers_.emplace_back([this] { Worker(); });
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void HtmlImageTable::PauseFetches() {
  std::lock_guard<std::mutex> hold(lock_);
  paused_ = true;
}

void HtmlImageTable::SetFetchOutside(bool fetch) {
  std::lock_guard<std::mutex> hold(lock_);
  fetchOutside_ = fetch;
}

void HtmlImageTable::ResumeFetches() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (!paused_) return;
    paused_ = false;
    const size_t wanted = std::min(queue_.size(), static_cast<size_t>(maxFetches_));
    while (workers_.size() < wanted && AddWorker()) {
    }
    if (workers_.empty()) {
      for (HtmlImageEntry* entry : queue_) MarkFetched(*entry);
      queue_.clear();
    }
  }
  wake_.notify_all();
}

void HtmlImageTable::Worker() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    while (queue_.empty() && !stopping_) {
      ++idleWorkers_;
      wake_.wait(hold);
      --idleWorkers_;
    }
    if (queue_.empty()) return;
    HtmlImageEntry* entry = queue_.front();
    queue_.pop_front();
    hold.unlock();
    Fetch(*entry);
    hold.lock();
  }
}

void HtmlImageTable::Fetch(HtmlImageEntry& entry) {
  // Out of memory for a picture (a page naming many large ones) only costs that picture: it ends as the
  // placeholder, and its report is still made, so the page reaches Ready.
  try {
    int size = 0;
    std::unique_ptr<uint8_t[]> bytes(callbacks_->ReadBinary(entry.url.c_str(), &size));
    if (bytes != nullptr) {
      // Past the page's total the bytes are not kept: the picture shows as the placeholder.
      bool room = false;
      if (size > 0) {
        std::lock_guard<std::mutex> hold(lock_);
        room = static_cast<size_t>(size) <= limits_.pageBytes - std::min(keptBytes_, limits_.pageBytes);
        if (room) keptBytes_ += static_cast<size_t>(size);
      }
      if (room) entry.data.assign(bytes.get(), bytes.get() + size);
      entry.hasData = true;
    }
  } catch (const std::exception&) {
    std::vector<uint8_t>().swap(entry.data);
    entry.hasData = false;
  }
  int loaded = 0, total = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    MarkFetched(entry);
    loaded = fetched_;
    total = static_cast<int>(entries_.size());
  }
  fetchDone_.notify_all();
  // One report waits at a time: the window reads the counts when it takes it.
  if (!reportWaiting_.exchange(true)) callbacks_->OnImagesLoaded(loaded, total);
}

void HtmlImageTable::TakeReport(int& loaded, int& total) {
  reportWaiting_.store(false);
  std::lock_guard<std::mutex> hold(lock_);
  loaded = fetched_;
  total = static_cast<int>(entries_.size());
}

int HtmlImageTable::Find(const std::u16string& url, int key) const {
  std::lock_guard<std::mutex> hold(lock_);
  const auto found = byName_.find(NameKey(url, key));
  return found == byName_.end() ? -1 : found->second;
}

std::u16string HtmlImageTable::NameKey(const std::u16string& url, int key) {
  // The key goes in front as two characters, so no URL can stand for another key.
  std::u16string name(2, u'\0');
  name[0] = static_cast<char16_t>(static_cast<uint32_t>(key) >> 16);
  name[1] = static_cast<char16_t>(static_cast<uint32_t>(key) & 0xFFFF);
  return name + url;
}

int HtmlImageTable::Count() const {
  std::lock_guard<std::mutex> hold(lock_);
  return static_cast<int>(entries_.size());
}

int HtmlImageTable::FetchedCount() const {
  std::lock_guard<std::mutex> hold(lock_);
  return fetched_;
}

HtmlImageEntry* HtmlImageTable::EntryAt(int index) const {
  std::lock_guard<std::mutex> hold(lock_);
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

const std::u16string& HtmlImageTable::Url(int index) const {
  static const std::u16string none;
  const HtmlImageEntry* entry = EntryAt(index);
  return entry ? entry->url : none;
}

bool HtmlImageTable::DecodeImage(int index, bool wait) {
  HtmlImageEntry* entry = EntryAt(index);
  if (entry == nullptr) return false;
  if (entry->decoded) return true;
  if (!entry->fetched.load(std::memory_order_acquire)) {
    if (!wait) return false;
    std::unique_lock<std::mutex> hold(lock_);
    fetchDone_.wait(hold, [entry] { return entry->fetched.load(std::memory_order_acquire); });
  }
  entry->bitmap = DecodeWithinLimits(*entry);
  if (entry->bitmap == 0) {
    entry->width = kPlaceholderWidth;
    entry->height = kPlaceholderHeight;
  }
  entry->decoded = true;
  return true;
}

HtmlBitmap HtmlImageTable::DecodeWithinLimits(HtmlImageEntry& entry) {
  if (decoder_ == nullptr || entry.data.empty()) return 0;
  const long long room = std::min(limits_.picturePixels, limits_.pagePixels - decodedPixels_);
  long long declaredWidth = 0, declaredHeight = 0;
  if (DeclaredPictureSize(entry.data.data(), entry.data.size(), declaredWidth, declaredHeight) &&
      declaredWidth * declaredHeight > room)
    return 0;
  int width = 0, height = 0;
  const HtmlBitmap bitmap = decoder_->Decode(entry.data.data(), entry.data.size(), width, height);
  if (bitmap == 0) return 0;
  const long long pixels = static_cast<long long>(width) * height;
  if (pixels > room) {
    decoder_->Free(bitmap);
    return 0;
  }
  decodedPixels_ += pixels;
  entry.width = width;
  entry.height = height;
  return bitmap;
}

const HtmlImageEntry* HtmlImageTable::Decoded(int index) const {
  const HtmlImageEntry* entry = EntryAt(index);
  return entry != nullptr && entry->decoded ? entry : nullptr;
}

void HtmlImageTable::ReleaseBitmaps() {
  std::vector<HtmlImageEntry*> all;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto& e : entries_) all.push_back(e.get());
  }
  for (HtmlImageEntry* e : all) {
    if (e->bitmap != 0 && decoder_ != nullptr) decoder_->Free(e->bitmap);
    e->bitmap = 0;
    e->decoded = false;
  }
  decodedPixels_ = 0;
}

}  // namespace htmlview
