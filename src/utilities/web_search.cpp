#include "utilities/web_search.h"

#include "text/characters.h"

namespace vexlo::utilities {

namespace {

bool unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

}  // namespace

std::u16string percentEncoded(std::u16string_view keyword) {
  constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
  std::u16string encoded;
  for (char byte : text::toUtf8(keyword)) {
    const auto c = static_cast<unsigned char>(byte);
    if (unreserved(c)) {
      encoded += static_cast<char16_t>(c);
    } else {
      encoded += u'%';
      encoded += kHexDigits[c >> 4];
      encoded += kHexDigits[c & 0x0F];
    }
  }
  return encoded;
}

std::u16string searchAddress(SearchEngine engine, std::u16string_view keyword) {
  if (engine == SearchEngine::Baidu)
    return u"http://" + std::u16string(kBaiduHost) + u"/s?wd=" + percentEncoded(keyword) + u"&ie=utf-8";
  return u"http://" + std::u16string(kGoogleHost) + u"/search?q=" + percentEncoded(keyword);
}

}  // namespace vexlo::utilities
