#include "platform/win32/input_win32.h"

#include <windows.h>

#include "platform/win32/callback_guard_win32.h"

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

namespace {
KeyboardWin32* hookOwner = nullptr;
}  // namespace

KeyboardWin32::~KeyboardWin32() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (hookOwner == this) hookOwner = nullptr;
  for (int key : registered_) UnregisterHotKey(window_, key);
}

void KeyboardWin32::capture(HWND window, int virtualKey) {
  window_ = window;
  if (RegisterHotKey(window, virtualKey, MOD_NOREPEAT, static_cast<UINT>(virtualKey))) {
    registered_.insert(virtualKey);
    return;
  }
  hooked_.insert(virtualKey);
  if (!hook_) {
    hookOwner = this;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, hookProc, GetModuleHandleW(nullptr), 0);
  }
}

LRESULT CALLBACK KeyboardWin32::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto passOn = [&] { return CallNextHookEx(nullptr, code, wParam, lParam); };
  if (code != HC_ACTION || !hookOwner) return passOn();
  return guardedCallback(
      u"热键",
      [&] {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const int vk = static_cast<int>(key->vkCode);
        if (!hookOwner->hooked_.count(vk)) return passOn();
        if (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN) hookOwner->latched_.insert(vk);
        return LRESULT{1};  // the focused program never sees it
      },
      passOn);
}

bool KeyboardWin32::pressedSinceLastPoll(int virtualKey) {
  const bool latched = latched_.erase(virtualKey) > 0;
  return (GetAsyncKeyState(virtualKey) != 0) || latched;
}

void KeyboardWin32::keyEvent(int virtualKey, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace vexlo::platform::win32
