#include "platform/classlib/win/self_deleting.h"

#include <mutex>
#include <unordered_set>

namespace {

// Never destroyed: objects may still be deleted while the process ends.
std::unordered_set<const void*>& Blocks() {
  static auto* blocks = new std::unordered_set<const void*>;
  return *blocks;
}
std::mutex& BlocksMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

}  // namespace

void* AfxNewSelfDeleting(std::size_t size) {
  void* block = ::operator new(size);
  try {
    std::lock_guard<std::mutex> lock(BlocksMutex());
    Blocks().insert(block);
  } catch (...) {
    ::operator delete(block);
    throw;
  }
  return block;
}

void AfxDeleteSelfDeleting(void* block) noexcept {
  if (block == nullptr) return;
  {
    std::lock_guard<std::mutex> lock(BlocksMutex());
    Blocks().erase(block);
  }
  ::operator delete(block);
}

bool AfxMadeByNew(const void* object) {
  std::lock_guard<std::mutex> lock(BlocksMutex());
  return Blocks().count(object) != 0;
}
