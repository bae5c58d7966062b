#include "fakes/iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <stdexcept>

#include "text/characters.h"

namespace vexlo::fakes {

class IconvConverter {
 public:
  IconvConverter(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert " + from + " to " + to);
  }
  ~IconvConverter() { iconv_close(handle_); }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // Converts `input` up to its end or to the first sequence that cannot be
  // converted; returns how many input bytes were used.
  std::size_t convert(std::string_view input, std::string& output) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    output.clear();
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, sizeof buffer - outLeft);
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return input.size() - inLeft;
  }

 private:
  iconv_t handle_;
};

namespace {

std::string utf16le(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::u16string fromUtf16le(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

}  // namespace

IconvCodec::IconvCodec(const std::string& charset)
    : toCharset_(std::make_unique<IconvConverter>(charset, "UTF-16LE")),
      fromCharset_(std::make_unique<IconvConverter>("UTF-16LE", charset)),
      codePage_(charset == "GBK" ? 936 : charset == "GB18030" ? 54936 : 0) {}

IconvCodec::~IconvCodec() = default;

std::string IconvCodec::encode(std::u16string_view text) const {
  IconvConverter& converter = *toCharset_;
  std::string out;
  // One character at a time, so that one the code page lacks becomes a
  // single '?' and the rest still converts.
  for (std::size_t i = 0; i < text.size();) {
    std::size_t width = text::characterWidthAt(text, i);
    std::string input = utf16le(text.substr(i, width));
    std::string bytes;
    if (converter.convert(input, bytes) == input.size()) {
      out += bytes;
    } else {
      out += '?';
    }
    i += width;
  }
  return out;
}

std::u16string IconvCodec::decode(std::string_view bytes) const {
  IconvConverter& converter = *fromCharset_;
  std::u16string out;
  while (!bytes.empty()) {
    std::string converted;
    std::size_t used = converter.convert(bytes, converted);
    out += fromUtf16le(converted);
    if (used == bytes.size()) break;
    out += u'\uFFFD';
    bytes.remove_prefix(used + 1);
  }
  return out;
}

const IconvCodec& sharedIconvCodec(const std::string& charset) {
  static std::map<std::string, IconvCodec, std::less<>> codecs;
  return codecs.try_emplace(charset, charset).first->second;
}

}  // namespace vexlo::fakes
