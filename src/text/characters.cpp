#include "text/characters.h"

namespace vexlo::text {

namespace {
bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
}  // namespace

std::size_t characterWidthAt(std::u16string_view text, std::size_t at) {
  if (at + 1 < text.size() && isHighSurrogate(text[at]) && isLowSurrogate(text[at + 1])) return 2;
  return 1;
}

std::size_t characterCount(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += characterWidthAt(text, i)) ++count;
  return count;
}

std::u16string cutToAnsiBytes(std::u16string_view text, std::size_t maxBytes, const AnsiCodec& codec) {
  if (codec.encode(text).size() <= maxBytes) return std::u16string(text);
  std::size_t used = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t width = characterWidthAt(text, end);
    std::size_t bytes = codec.encode(text.substr(end, width)).size();
    if (used + bytes > maxBytes) break;
    used += bytes;
    end += width;
  }
  return std::u16string(text.substr(0, end));
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = text[i];
    std::size_t width = characterWidthAt(text, i);
    if (width == 2) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      cp = 0xFFFD;  // half a pair has no UTF-8 form
    }
    i += width;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::u16string fromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    char32_t cp;
    std::size_t extra;
    if (b < 0x80) {
      cp = b;
      extra = 0;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      extra = 2;
    } else {
      cp = b & 0x07;
      extra = 3;
    }
    ++i;
    for (std::size_t k = 0; k < extra && i < text.size(); ++k, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::u16string decimal(long long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace vexlo::text
