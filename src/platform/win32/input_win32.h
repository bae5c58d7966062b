#pragma once

#include "platform/services.h"

namespace vexlo::platform::win32 {

class PointerWin32 : public Pointer {
 public:
  void moveTo(int x, int y) override;
  void leftClick() override;
};

class KeyboardWin32 : public Keyboard {
 public:
  bool pressedSinceLastPoll(int virtualKey) override;
  void keyEvent(int virtualKey, bool up) override;
};

}  // namespace vexlo::platform::win32
