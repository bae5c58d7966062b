// The system utilities: the system tools list and the Control Panel menu,
// the clock as a shortcut to the date and time, the recycle bin, the
// shut-down dialog, the CD tray, the web search and starting with Windows.
// The list and the search sit on the toolbox panel; the buttons, the clock
// and the switch are the strip's, which the main window shows.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "common/status_line.h"
#include "controls/control.h"
#include "platform/launcher.h"
#include "platform/popup_menu.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "utilities/launch.h"
#include "utilities/system_strip.h"

namespace vexlo::utilities {

// Where the Control Panel menu shows, in the main window.
inline constexpr int kControlPanelMenuX = 4320;
inline constexpr int kControlPanelMenuY = 2835;
// Where a right press on the recycle bin puts the pointer: half the screen
// across, this far down.
inline constexpr int kRecycleBinPointerY = 1800;

class SystemTools {
 public:
  struct Links {
    platform::Launcher& launcher;
    platform::StartupRegistry& registry;
    platform::PopupMenu& menu;
    platform::Pointer& pointer;
    const platform::Screen& screen;
    const platform::Environment& environment;
    // The executable's base name, without ".exe".
    std::u16string executableName;
    common::StatusLine& status;
    std::function<void()> collapseWindow;
    // The reply formatter's input box takes the focus.
    std::function<void()> focusInputBox;
  };

  SystemTools(SystemStrip& strip, controls::Frame& toolbox, Links links);
  SystemTools(const SystemTools&) = delete;
  SystemTools& operator=(const SystemTools&) = delete;

  // The F6 hot key: the CD tray toggles as a click on the button that shows
  // would, but the focus stays with whatever program has it.
  void f6Pressed();
  // A right press on the recycle bin button opens the bin's folder.
  void recycleBinRightPressed();

  controls::Label toolsLabel;
  controls::DropDownList toolsList;
  controls::Label keywordLabel;
  controls::TextBox keywordBox;
  controls::OptionGroup engineGroup;
  controls::OptionButton baiduOption;
  controls::OptionButton googleOption;
  controls::Button searchButton;

 private:
  void build(controls::Frame& toolbox);
  void toolChosen();
  void chooseFromControlPanelMenu();
  // Starts the first launch this system can start; the user hears of it
  // when there is none.
  void start(std::span<const Launch> launches);
  void openDateAndTime();
  void emptyRecycleBin();
  void showShutDownDialog();
  void toggleCdTray(int button, bool focusInputBox);
  void search();
  void startWithWindowsChanged();

  SystemStrip& strip_;
  Links links_;
  ToolStarter starter_;
  // Set while the switch is put back after a failure, which is no choice
  // of the user's to act on or report.
  bool puttingSwitchBack_ = false;
};

}  // namespace vexlo::utilities
