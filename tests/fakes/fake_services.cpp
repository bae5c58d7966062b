#include "fakes/fake_services.h"

namespace vexlo::fakes {

std::string DoubleByteCodec::encode(std::u16string_view text) const {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0xD800 && c <= 0xDBFF) {
      out += "\x95\x32\x82\x36";
      ++i;
    } else {
      out += static_cast<char>(0x80 | (c >> 8 & 0x7F));
      out += static_cast<char>(0x40 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string DoubleByteCodec::decode(std::string_view bytes) const {
  return std::u16string(bytes.begin(), bytes.end());
}

}  // namespace vexlo::fakes
