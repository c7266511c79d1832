// Views and frames delete themselves when their window ends, documents when their last view goes. Only
// an object made by new may do that: one that is a member of another object or lives on the stack is its
// owner's to destroy. Deleting it would hand the heap memory it never gave out and destroy the object a
// second time later (its owner's destructor), corrupting the heap for whatever allocates next.
//
// The classes that delete themselves declare CLASSLIB_SELF_DELETING: their operator new remembers the
// blocks it gave out, and AfxMadeByNew answers whether an object is one of them.
#pragma once

#include <cstddef>
#include <new>

void* AfxNewSelfDeleting(std::size_t size);
void AfxDeleteSelfDeleting(void* block) noexcept;
// True when the complete object at this address came from the operator new above and is still alive.
bool AfxMadeByNew(const void* object);

#define CLASSLIB_SELF_DELETING                                                                   \
 public:                                                                                         \
  static void* operator new(std::size_t size) { return AfxNewSelfDeleting(size); }               \
  static void operator delete(void* block) noexcept { AfxDeleteSelfDeleting(block); }            \
  static void* operator new(std::size_t, void* where) noexcept { return where; }                 \
  static void operator delete(void*, void*) noexcept {}                                          \
  /* The object deletes itself only when it was made by new (see above). */                      \
  bool IsSelfDeletable() const { return AfxMadeByNew(dynamic_cast<const void*>(this)); }
