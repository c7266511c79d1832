// Which wrapper object stands for which system handle (windows, device contexts, menus, and the GDI
// objects of the drawing classes).
//
// Permanent entries are objects that own or have subclassed their handle; they are process-wide, so
// any thread finds the window object of a handle. Temporary entries are made by FromHandle for a
// handle that nobody wrapped: they belong to the asking thread and are deleted when that thread's
// message loop goes idle (or a thread started by AfxBeginThread ends), never while one of its window
// procedures runs.
//
// T supplies two static members: T* NewTemporary(H) makes a wrapper that does not own the handle, and
// void DeleteTemporary(T*) lets go of the handle and deletes the wrapper.
#pragma once

#include <mutex>
#include <unordered_map>

// Deletes this thread's temporary wrappers of every kind, unless a window procedure of the thread is
// running (then they may still be in use).
void AfxDeleteTempMaps();
// Registers a function that deletes one kind's temporaries of the calling thread.
void AfxRegisterTempMap(void (*deleteTemporaries)());

// NewTemporary and DeleteTemporary of a wrapper whose handle is one member.
template <class T, class H>
T* AfxNewTemporaryWrapper(H T::*member, H h) {
  T* p = new T;
  p->*member = h;
  return p;
}
template <class T, class H>
void AfxDeleteTemporaryWrapper(T* p, H T::*member) {
  p->*member = nullptr;
  delete p;
}

template <class T, class H>
class CHandleMap {
 public:
  static T* FromHandlePermanent(H h) {
    if (h == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(Mutex());
    auto found = Permanent().find(h);
    return found == Permanent().end() ? nullptr : found->second;
  }

  // The permanent wrapper, else this thread's temporary one (made on first use); null for null.
  static T* FromHandle(H h) {
    if (h == nullptr) return nullptr;
    if (T* permanent = FromHandlePermanent(h)) return permanent;
    auto& temporary = Temporary();
    if (temporary.empty()) AfxRegisterTempMap(&DeleteTemporaries);
    T*& slot = temporary[h];
    if (slot == nullptr) slot = T::NewTemporary(h);
    return slot;
  }

  // False when the handle already has a permanent wrapper.
  static bool SetPermanent(H h, T* p) {
    std::lock_guard<std::mutex> lock(Mutex());
    return Permanent().emplace(h, p).second;
  }

  static void RemovePermanent(H h) {
    std::lock_guard<std::mutex> lock(Mutex());
    Permanent().erase(h);
  }

  // The wrapper's Attach and Detach: the handle member is set and entered as permanent, or cleared
  // and removed (when it was this wrapper's).
  static bool Attach(T* self, H T::*member, H h) {
    if (h == nullptr || self->*member != nullptr || !SetPermanent(h, self)) return false;
    self->*member = h;
    return true;
  }
  static H Detach(T* self, H T::*member) {
    H h = self->*member;
    if (h != nullptr && FromHandlePermanent(h) == self) RemovePermanent(h);
    self->*member = nullptr;
    return h;
  }

  // This thread's temporary wrapper of h, if any, is deleted now (its handle was destroyed).
  static void RemoveTemporary(H h) {
    auto& temporary = Temporary();
    auto found = temporary.find(h);
    if (found == temporary.end()) return;
    T* p = found->second;
    temporary.erase(found);
    T::DeleteTemporary(p);
  }

 private:
  static void DeleteTemporaries() {
    auto& temporary = Temporary();
    for (auto& entry : temporary) T::DeleteTemporary(entry.second);
    temporary.clear();
  }

  // Never destroyed: windows may still be detached while the process ends.
  static std::unordered_map<H, T*>& Permanent() {
    static auto* map = new std::unordered_map<H, T*>;
    return *map;
  }
  static std::mutex& Mutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
  }
  static std::unordered_map<H, T*>& Temporary() {
    static thread_local std::unordered_map<H, T*> map;
    return map;
  }
};
