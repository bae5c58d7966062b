// What the core needs from the operating system, one small interface per
// service. The Win32 implementations live in platform/win32/, scriptable
// fakes in tests/fakes/. The core receives them by reference.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ansi_codec.h"

namespace vexlo::platform {

// The notification-area icon: the program's only status display.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void add(std::u16string_view tooltip) = 0;
  // Shows or replaces the balloon; an empty text removes it.
  virtual void showBalloon(std::u16string_view heading, std::u16string_view text) = 0;
  virtual void remove() = 0;
};

// Pointer position and synthesized clicks, in screen pixels.
class Pointer {
 public:
  virtual ~Pointer() = default;
  virtual void moveTo(int x, int y) = 0;
  virtual void leftClick() = 0;  // down and up where the pointer is
};

struct ScreenMetrics {
  int widthPixels = 0;
  // Twips per pixel in x and y: 15 at 96 DPI, 10 at 144 DPI.
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
  int widthTwips() const { return static_cast<int>(widthPixels * twipsPerPixelX + 0.5); }
};

class Screen {
 public:
  virtual ~Screen() = default;
  virtual ScreenMetrics metrics() const = 0;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Down now, or pressed since the previous poll of the same key.
  virtual bool pressedSinceLastPoll(int virtualKey) = 0;
  // One synthesized key event carrying the key's own scan code.
  virtual void keyEvent(int virtualKey, bool up) = 0;
};

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int weekday = 0;  // 0 Sunday .. 6 Saturday
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  virtual void sleep(int milliseconds) = 0;
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // A modal box with an exclamation icon and an OK button.
  virtual void exclamation(std::u16string_view text, std::u16string_view title) = 0;
};

// One running instance per executable.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // True when this is the only instance; the lock is held until exit.
  virtual bool acquire() = 0;
};

class Memory {
 public:
  virtual ~Memory() = default;
  // Asks the system to take as many pages as it can from the working set.
  virtual void trimWorkingSet() = 0;
};

// A registered clipboard format ("HTML Format", "Rich Text Format") and its
// bytes.
struct ClipboardFormat {
  std::u16string name;
  std::string bytes;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual bool clear() = 0;
  virtual bool setText(std::u16string_view text) = 0;
  // The text and the other forms of the same content together, in one
  // opening of the clipboard: a paste finds all of them or none.
  virtual bool setTextWithFormats(std::u16string_view text, const std::vector<ClipboardFormat>& formats) = 0;
  // Plain text, or nothing when the clipboard holds none.
  virtual std::u16string text() = 0;
};

// The program's own life: ending the message loop.
class Application {
 public:
  virtual ~Application() = default;
  virtual void quit() = 0;
};

// Where the running program lives, asked anew at every call.
class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::u16string executableDirectory() const = 0;
  // The executable's base name, without ".exe".
  virtual std::u16string executableName() const = 0;
  // The user's roaming application-data folder (%APPDATA%); empty when the
  // system cannot tell.
  virtual std::u16string appDataDirectory() const = 0;
};

// The system's ANSI code page (the interface lives with the text helpers,
// which count its bytes).
using AnsiCodec = text::AnsiCodec;

}  // namespace vexlo::platform
