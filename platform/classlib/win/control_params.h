// The parameters of the messages that the control classes send: an item's index and a pointer.
#pragma once

#include <windows.h>

namespace classlib_detail {

inline WPARAM Index(int item) { return static_cast<WPARAM>(item); }
inline LPARAM Ptr(const void* p) { return reinterpret_cast<LPARAM>(p); }

}  // namespace classlib_detail
