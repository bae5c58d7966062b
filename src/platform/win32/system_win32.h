// The small system services: screen metrics, time, message boxes, the
// single-instance lock, the working set and the message loop.
#pragma once

#include <windows.h>

#include "platform/services.h"

namespace vexlo::platform::win32 {

class ScreenWin32 : public Screen {
 public:
  // The window whose DPI decides the twips per pixel; null before it exists.
  void setWindow(HWND window) { window_ = window; }
  ScreenMetrics metrics() const override;

 private:
  HWND window_ = nullptr;
};

class ClockWin32 : public Clock {
 public:
  LocalTime now() const override;
  void sleep(int milliseconds) override;
};

class MessageBoxWin32 : public MessageBoxService {
 public:
  void setOwner(HWND owner) { owner_ = owner; }
  void exclamation(std::u16string_view text, std::u16string_view title) override;

 private:
  HWND owner_ = nullptr;
};

// A named mutex per executable path: a copy of the program in another
// folder is another program with its own settings.
class InstanceLockWin32 : public InstanceLock {
 public:
  ~InstanceLockWin32() override;
  bool acquire() override;

 private:
  HANDLE mutex_ = nullptr;
};

class MemoryWin32 : public Memory {
 public:
  void trimWorkingSet() override;
};

class ApplicationWin32 : public Application {
 public:
  void quit() override;
};

// The window's DPI, or the system's before there is a window.
UINT dpiOf(HWND window);

}  // namespace vexlo::platform::win32
