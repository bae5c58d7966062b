#include "fakes/iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "text/characters.h"

namespace vexlo::fakes {

namespace {

class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert " + from + " to " + to);
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

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

IconvCodec::IconvCodec(std::string charset) : charset_(std::move(charset)) {
  Converter check(charset_, "UTF-16LE");
}

std::string IconvCodec::encode(std::u16string_view text) const {
  Converter converter(charset_, "UTF-16LE");
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
  Converter converter("UTF-16LE", charset_);
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

}  // namespace vexlo::fakes
