// The system's ANSI code page through the Windows conversion functions. On a
// system whose ANSI code page is 936 the codec uses GB18030 (code page
// 54936): it writes every GBK character as the same bytes and holds every
// other character too, so no name is lost to a '?'. Where 54936 is missing
// it falls back to 936.
#pragma once

#include "platform/services.h"

namespace vexlo::platform::win32 {

class AnsiCodecWin32 final : public AnsiCodec {
 public:
  AnsiCodecWin32();
  explicit AnsiCodecWin32(unsigned codePage);

  unsigned codePage() const override { return codePage_; }
  std::string encode(std::u16string_view text) const override;
  std::u16string decode(std::string_view bytes) const override;

  // 54936 when the ANSI code page is 936 and 54936 is installed, otherwise
  // the ANSI code page itself.
  static unsigned systemCodePage();

 private:
  unsigned codePage_;
};

}  // namespace vexlo::platform::win32
