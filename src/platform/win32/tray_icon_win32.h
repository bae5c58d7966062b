#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/services.h"

namespace vexlo::platform::win32 {

class TrayIconWin32 : public TrayIcon {
 public:
  TrayIconWin32(HWND window, HICON icon);
  void add(std::u16string_view tooltip) override;
  void showBalloon(std::u16string_view heading, std::u16string_view text) override;
  void remove() override;

 private:
  NOTIFYICONDATAW record_{};
};

}  // namespace vexlo::platform::win32
