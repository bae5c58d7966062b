// The preview's window as the formatter panel and the main window see it:
// a service, so that the panel is tested with a fake and the Win32 window
// stays a thin view of the content it is given.
#pragma once

#include <functional>
#include <string>

#include "formatter/styled_text.h"

namespace vexlo::formatter {

// What the preview shows: the reply, or a message in its place (the
// gradient's length refusal).
struct PreviewContent {
  StyledReply reply;
  std::u16string message;
};

class PreviewWindow {
 public:
  virtual ~PreviewWindow() = default;
  // New content; drawn at once while the window shows, kept for its next
  // showing otherwise.
  virtual void update(const PreviewContent& content) = 0;
  // Shows the window docked under the main window (again, after the main
  // window moved) without taking the focus; the window is made at its first
  // showing.
  virtual void show() = 0;
  virtual void hide() = 0;

  // The user asked for the reply as rich text (the window's button, or
  // Ctrl+C while the window has the focus).
  std::function<void()> onCopyRichText;
};

}  // namespace vexlo::formatter
