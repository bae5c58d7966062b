#pragma once

#include <windows.h>

#include "platform/services.h"

namespace vexlo::platform::win32 {

// Another program may hold the clipboard for a moment: opening it is retried
// for about a second before the operation gives up.
class ClipboardWin32 : public Clipboard {
 public:
  void setOwner(HWND owner) { owner_ = owner; }
  bool clear() override;
  bool setText(std::u16string_view text) override;
  std::u16string text() override;
  bool setTextWithFormats(std::u16string_view text, const std::vector<ClipboardFormat>& formats) override;

 private:
  bool open();
  HWND owner_ = nullptr;
};

}  // namespace vexlo::platform::win32
