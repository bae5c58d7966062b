#include "platform/win32/input_win32.h"

#include <windows.h>

namespace vexlo::platform::win32 {

void PointerWin32::moveTo(int x, int y) { SetCursorPos(x, y); }

void PointerWin32::leftClick() {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

bool KeyboardWin32::pressedSinceLastPoll(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

void KeyboardWin32::keyEvent(int virtualKey, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace vexlo::platform::win32
