// An ANSI code page for the native tests, through glibc's iconv: "GBK" for
// code page 936, "GB18030" for 54936. A character the code page cannot hold
// becomes '?', as the Windows conversion does by default; bytes that are not
// valid in the code page decode to U+FFFD.
#pragma once

#include <string>

#include "platform/services.h"

namespace vexlo::fakes {

class IconvCodec final : public platform::AnsiCodec {
 public:
  explicit IconvCodec(std::string charset);

  std::string encode(std::u16string_view text) const override;
  std::u16string decode(std::string_view bytes) const override;

 private:
  std::string charset_;
};

}  // namespace vexlo::fakes
