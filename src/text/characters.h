// Character-level helpers for UTF-16 text. A "character" is a code point: a
// surrogate pair is one character and is never split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/ansi_codec.h"

namespace vexlo::text {

// Length of the code unit sequence of the character that starts at `at`.
std::size_t characterWidthAt(std::u16string_view text, std::size_t at);

// Number of characters (code points) in the text.
std::size_t characterCount(std::u16string_view text);

// The longest prefix whose encoding in the ANSI code page takes at most
// `maxBytes` bytes, cut only between characters (a double-byte character is
// never split).
std::u16string cutToAnsiBytes(std::u16string_view text, std::size_t maxBytes, const AnsiCodec& codec);

// UTF-8 for logs, test messages and web addresses; half a surrogate pair
// becomes U+FFFD, so the result is always valid UTF-8.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// Decimal text of a number, as UTF-16.
std::u16string decimal(long long value);

}  // namespace vexlo::text
