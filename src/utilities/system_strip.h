// The strip under the main window's title: the CD tray buttons, the recycle
// bin, shut-down, the start-with-Windows switch and the clock. The main
// window shows them; the system tools act on them.
#pragma once

#include "controls/control.h"

namespace vexlo::utilities {

struct SystemStrip {
  SystemStrip();
  SystemStrip(const SystemStrip&) = delete;
  SystemStrip& operator=(const SystemStrip&) = delete;

  // Adds them in their stacking order: the close button lies beneath the
  // open button and shows when it hides.
  void addTo(controls::Control& window);

  controls::Button cdOpenButton;
  controls::Button cdCloseButton;
  controls::Button recycleBinButton;
  controls::Button shutDownButton;
  controls::CheckBox startWithWindowsBox;
  controls::Label clockLabel;
};

}  // namespace vexlo::utilities
