// The system's ANSI code page as the text helpers see it: the platform
// provides the real one, the tests a fake.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::text {

// Used where bytes matter: the settings file and byte-limited texts.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::string encode(std::u16string_view text) const = 0;
  virtual std::u16string decode(std::string_view bytes) const = 0;
  // The code page's number (936, 54936, 1252 …), which rich text names for
  // its bytes; 0 when the codec is no Windows code page.
  virtual unsigned codePage() const { return 0; }
};

}  // namespace vexlo::text
