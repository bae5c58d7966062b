// An ANSI code page for the native tests, through glibc's iconv: "GBK" for
// code page 936, "GB18030" for 54936. A character the code page cannot hold
// becomes '?', as the Windows conversion does by default; bytes that are not
// valid in the code page decode to U+FFFD.
#pragma once

#include <memory>
#include <string>

#include "platform/services.h"

namespace vexlo::fakes {

class IconvConverter;

// Opens its two conversions once (opening one costs far more than using
// it); like the tests that use it, it is meant for one thread.
class IconvCodec final : public platform::AnsiCodec {
 public:
  explicit IconvCodec(const std::string& charset);
  ~IconvCodec() override;
  IconvCodec(const IconvCodec&) = delete;
  IconvCodec& operator=(const IconvCodec&) = delete;

  std::string encode(std::u16string_view text) const override;
  std::u16string decode(std::string_view bytes) const override;
  // 936 for "GBK", 54936 for "GB18030", else 0.
  unsigned codePage() const override { return codePage_; }

 private:
  std::unique_ptr<IconvConverter> toCharset_;
  std::unique_ptr<IconvConverter> fromCharset_;
  unsigned codePage_ = 0;
};

// One codec per code page for the whole test program, for the many
// harnesses that each need one.
const IconvCodec& sharedIconvCodec(const std::string& charset);

}  // namespace vexlo::fakes
