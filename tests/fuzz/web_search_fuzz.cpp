// The web search's keyword encoder. The input is a keyword as the search
// box holds it, UTF-16 code units (little-endian byte pairs), lone
// surrogates included. The encoded keyword holds only unreserved characters
// and "%" with two upper-case hexadecimal digits, it is the query value of
// both engines' addresses, and it decodes, as strict UTF-8, back to the
// keyword (a lone surrogate, which no UTF-8 can carry, as U+FFFD).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "utilities/web_search.h"

namespace {

bool isUnreserved(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' ||
         c == u'_' || c == u'~';
}

int upperHexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The bytes behind the encoding; nothing when it holds anything but
// unreserved characters and upper-case %XX.
std::optional<std::string> percentDecoded(std::u16string_view encoded) {
  std::string bytes;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (isUnreserved(encoded[i])) {
      bytes += static_cast<char>(encoded[i]);
      continue;
    }
    if (encoded[i] != u'%' || i + 2 >= encoded.size()) return std::nullopt;
    const int high = upperHexValue(encoded[i + 1]);
    const int low = upperHexValue(encoded[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return bytes;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF,
// no truncated sequence.
std::optional<std::u16string> strictUtf8(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > bytes.size()) return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto trail = static_cast<unsigned char>(bytes[i + k]);
      if ((trail & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (trail & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(cp);
    }
    i += length;
  }
  return text;
}

// The keyword as UTF-8 can carry it: every lone surrogate as U+FFFD.
std::u16string withLoneSurrogatesReplaced(std::u16string_view keyword) {
  std::u16string text(keyword);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;  // a pair
    } else if (high || low) {
      text[i] = u'\uFFFD';
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vexlo;
  std::u16string keyword;
  for (std::size_t i = 0; i + 1 < size; i += 2) keyword += static_cast<char16_t>(data[i] | (data[i + 1] << 8));

  const std::u16string encoded = utilities::percentEncoded(keyword);
  const std::optional<std::string> bytes = percentDecoded(encoded);
  fuzz::check(bytes.has_value(), "the encoded keyword holds a character that is neither unreserved nor %XX");
  const std::optional<std::u16string> decoded = strictUtf8(*bytes);
  fuzz::check(decoded.has_value(), "the encoded keyword is not valid UTF-8");
  fuzz::check(*decoded == withLoneSurrogatesReplaced(keyword), "the encoded keyword decodes to another text");

  fuzz::check(utilities::searchAddress(utilities::SearchEngine::Baidu, keyword) ==
                  u"http://www.baidu.com/s?wd=" + encoded + u"&ie=utf-8",
              "the Baidu address does not carry the encoded keyword");
  fuzz::check(utilities::searchAddress(utilities::SearchEngine::Google, keyword) ==
                  u"http://www.google.com/search?q=" + encoded,
              "the Google address does not carry the encoded keyword");
  return 0;
}
