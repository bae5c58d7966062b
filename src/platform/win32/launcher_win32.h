// Starting programs and documents through the shell, with wide strings so
// that any path works.
#pragma once

#include "platform/launcher.h"

namespace vexlo::platform::win32 {

class LauncherWin32 : public Launcher {
 public:
  bool open(std::u16string_view file, int showCommand) override;
};

}  // namespace vexlo::platform::win32
