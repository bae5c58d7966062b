// The pop-up menu of the main window: the system's own, so it looks and
// works as every other program's menus do.
#pragma once

#include <windows.h>

#include "platform/popup_menu.h"

namespace vexlo::platform::win32 {

class PopupMenuWin32 : public PopupMenu {
 public:
  // The window the menu belongs to and whose client area the point is in.
  void setWindow(HWND window) { window_ = window; }
  int choose(const std::vector<std::u16string>& items, int xTwips, int yTwips) override;

 private:
  HWND window_ = nullptr;
};

}  // namespace vexlo::platform::win32
