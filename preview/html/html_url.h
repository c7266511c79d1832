// Making a link, image or redirection target absolute against the page's URL.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace htmlview {

// The longest URL the viewer keeps, in characters (its buffers hold one more for the zero).
constexpr size_t kMaxUrlLength = 1023;

// The absolute URL of href against base, at most kMaxUrlLength characters. "file://" URLs come back
// with backslashes behind the scheme.
std::u16string ResolveUrl(std::u16string_view href, std::u16string_view base);

// The same into a caller's buffer of outCapacity characters (zero-terminated, cut to fit).
void ResolveUrl(const char16_t* href, char16_t* out, size_t outCapacity, const char16_t* base);

// Copies text into a buffer of capacity characters, cut to fit and always zero-terminated.
void CopyBounded(std::u16string_view text, char16_t* out, size_t capacity);

}  // namespace htmlview
