// The main window: start-up, the collapsed and expanded states, the panel
// selector, the status line and the one-second tick. Everything here runs
// without a window system; the Win32 view mirrors the controls.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "capture/capture_panel.h"
#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/favourites_editor.h"
#include "favourites/icon_panel.h"
#include "favourites/media_panel.h"
#include "filemanager/file_manager_panel.h"
#include "formatter/formatter_panel.h"
#include "formatter/random_source.h"
#include "platform/services.h"
#include "shell/services.h"
#include "shell/settings_file.h"
#include "shell/settings_location.h"
#include "utilities/system_tools.h"

namespace vexlo::shell {

inline constexpr int kPanelCount = 5;
inline constexpr int kMediaPanel = 1;
inline constexpr int kCapturePanel = 2;
inline constexpr int kFileManagerPanel = 3;
inline constexpr int kToolboxPanel = 4;
inline constexpr int kExpandedWidth = 5205;
inline constexpr int kExpandedHeight = 4695;
inline constexpr int kCollapsedSize = 690;

inline constexpr int kVirtualKeyF1 = 0x70;
inline constexpr int kVirtualKeyF6 = 0x75;
inline constexpr int kVirtualKeyF7 = 0x76;
inline constexpr int kVirtualKeyF8 = 0x77;
inline constexpr int kVirtualKeyF12 = 0x7B;

class MainWindow {
 public:
  MainWindow(Services& services, formatter::RandomSource& random);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The load of the window; false when another instance already runs and
  // this one must end.
  bool start();
  // One tick of the 1000 ms timer.
  void tick();

  void collapse();
  void expand();
  void selectPanel(int index);
  bool collapsed() const { return collapsedSquare.visible(); }
  int selectedPanel() const;
  // Ctrl+C reached the window: the capture panel, when it is the one shown,
  // copies its picture. False leaves the key to the focused control.
  bool copyShortcut();

  // The exit control: the program's orderly end, saving the settings.
  void exit();
  // Windows ends the session, or the window is closed another way: the
  // settings are saved and the notification-area icon must not outlive the
  // program.
  void endSession();
  // The taskbar was re-created (the shell restarted).
  void taskbarRecreated() { status.restoreIcon(); }
  // What leaving now would write into the settings file.
  SettingsToSave collectSettings() const;

  // The file manager's tool button: a media file goes to the top of the
  // media favourites and plays; a program becomes the last tile.
  void addMediaFavourite(std::u16string name, std::u16string path);
  bool addProgramFavourite(std::u16string name, std::u16string path) {
    return programs.addProgramFavourite(std::move(name), std::move(path));
  }

  // Every user action, every tick and the start-up restore run inside it.
  platform::HandlerGuard guard;
  common::StatusLine status;

  controls::Window window;
  controls::Label titleLabel;
  controls::PictureBox exitControl;
  controls::OptionGroup panelGroup;
  std::array<std::unique_ptr<controls::OptionButton>, kPanelCount> panelSelector;
  utilities::SystemStrip strip;
  std::array<std::unique_ptr<controls::Frame>, kPanelCount> panelFrames;
  controls::PictureBox collapsedSquare;
  formatter::FormatterPanel formatter;
  favourites::MediaPanel media;
  favourites::IconPanel programs;
  favourites::FavouritesEditor editor;
  capture::CapturePanel capture;
  utilities::SystemTools systemTools;
  filemanager::FileManagerPanel fileManager;

 private:
  void build();
  void windowMouseMove(int x, int y);
  // The file manager with a type filter chosen.
  void browseFiles(int filter);
  void tickDuties();
  void restoreSettings();
  const SettingsLocation& settingsLocation();
  void restore(const StoredSettings& stored);
  // Writes the settings file; false (after telling the user) when it could not.
  bool saveSettings();
  // The file manager's directory as the file can hold it; the stored text
  // when the user has not moved since the start, or when the directory
  // cannot be written in the code page or within the key's limit.
  std::u16string pathToSave() const;
  int pixelsX(double twips) const;
  int pixelsY(double twips) const;

  Services& services_;
  bool tickFailing_ = false;
  // The restore failed part-way: the file holds more than the controls do.
  bool settingsUnread_ = false;
  bool saved_ = false;
  // Chosen once, at the first read: a save writes where the start decided.
  std::optional<SettingsLocation> settingsLocation_;
  std::u16string storedPath_;
  std::u16string restoredDirectory_;  // where the file manager began
};

}  // namespace vexlo::shell
