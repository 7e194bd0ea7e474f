#pragma once
// The two encodings the program meets in its input: UTF-8 and the Japanese
// Windows code page 932 (Shift-JIS with the vendor extensions).

#include <string>
#include <string_view>

namespace tonvika {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Converts CP932 text to UTF-8; every byte sequence that is not valid CP932
// becomes U+FFFD and the conversion goes on after it.
std::string Cp932ToUtf8(std::string_view text);

// The byte length of the last UTF-8 character of `text`: 1 to 4, or 1 when
// the text does not end in a well-formed character; 0 for an empty text.
std::size_t LastUtf8CharLength(std::string_view text);

}  // namespace tonvika
