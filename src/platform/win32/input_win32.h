#pragma once

#include <windows.h>

#include <set>

#include "platform/services.h"

namespace vexlo::platform::win32 {

class PointerWin32 : public Pointer {
 public:
  void moveTo(int x, int y) override;
  void leftClick() override;
};

// Polled keys, plus keys the program captures system-wide so that they
// reach it instead of the focused program (a browser opens its developer
// tools on F12). A captured press counts once, at the next poll.
class KeyboardWin32 : public Keyboard {
 public:
  ~KeyboardWin32() override;
  // Captures the key for `window`: a registered hot key, or, where the
  // system refuses that key (it keeps F12 while a debugger is resident), a
  // low-level keyboard hook that takes the key before anyone else.
  void capture(HWND window, int virtualKey);
  // The window received the hot key.
  void hotKeyPressed(int virtualKey) { latched_.insert(virtualKey); }

  bool pressedSinceLastPoll(int virtualKey) override;
  void keyEvent(int virtualKey, bool up) override;

 private:
  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
  std::set<int> latched_;
  std::set<int> registered_;
  std::set<int> hooked_;
  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace vexlo::platform::win32
