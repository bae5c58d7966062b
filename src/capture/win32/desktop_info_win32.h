// The monitors from EnumDisplayMonitors, the top-level windows from
// EnumWindows and the double-click time the user set.
#pragma once

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

class DesktopInfoWin32 final : public DesktopInfo {
 public:
  ScreenLayout layout() override;
  std::vector<PixelRect> windows() override;
  int doubleClickMs() override;
};

}  // namespace vexlo::capture::win32
