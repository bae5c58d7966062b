// The virtual screen read with BitBlt from the screen's device context,
// whose coordinates are the virtual screen's. The process is per-monitor
// DPI aware, so the size and the pixels are the screen's real ones at any
// scaling.
#pragma once

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

class ScreenCopierWin32 final : public ScreenCopier {
 public:
  common::Bitmap copyScreen(const PixelRect& area) override;
};

}  // namespace vexlo::capture::win32
