// Restoring the settings file at start-up and writing it at the end. Every
// restored value goes through the control's normal path, so the control's
// click behaviour runs as if the user had made the choice.
#include "shell/main_window.h"

namespace vexlo::shell {

namespace {

void selectStoredIndex(controls::ListControl& list, const std::optional<int>& index) {
  // A stored index outside the list is not a choice the user made: the list
  // keeps what it shows.
  if (index && *index >= -1 && *index < list.count()) list.setSelectedIndex(*index);
}

}  // namespace

const SettingsLocation& MainWindow::settingsLocation() {
  if (!settingsLocation_) {
    settingsLocation_ = chooseSettingsLocation(services_.files, services_.environment.executableDirectory(),
                                               services_.environment.appDataDirectory());
  }
  return *settingsLocation_;
}

void MainWindow::restoreSettings() {
  std::optional<std::string> bytes = services_.files.read(settingsLocation().readFrom);
  if (!bytes) {
    formatter.fontList.setSelectedIndex(0);
    formatter.sizeList.setSelectedIndex(0);
    return;
  }
  restore(readSettings(*bytes, services_.codec));
}

void MainWindow::restore(const StoredSettings& stored) {
  strip.startWithWindowsBox.setValue(stored.startWithWindows != 0);
  selectStoredIndex(formatter.fontList, stored.fontIndex);
  selectStoredIndex(formatter.sizeList, stored.sizeIndex);
  const std::optional<bool> modes[] = {stored.gradient, stored.rainbow, stored.random};
  for (int k = 0; k < 3; ++k)
    if (modes[k].value_or(false)) formatter.colourModeOptions[k + 1]->setValue(true);
  for (int i = 0; i < 3; ++i)
    if (stored.colours[i]) formatter.colourButtons[i]->setBackColour(*stored.colours[i] & 0xFFFFFF);
  formatter.setPreviewOn(stored.preview);
  storedPath_ = stored.path.value_or(u"");
  if (stored.path) fileManager.restoreDirectory(*stored.path);
  restoredDirectory_ = fileManager.currentDirectory();
  formatter.emoticons.favourites.restore(stored.emoticons);
  media.favourites.restore(stored.media);
  for (const SettingsEntry& e : stored.programs) programs.appendProgramTile(e.name, e.address);
  formatter.emoticons.buttons.sort.setEnabled(formatter.emoticons.favourites.count() > 0);
  media.buttons.sort.setEnabled(media.favourites.count() > 0);
  const bool anyProgram = programs.count() > 0;
  programs.buttons.sort.setEnabled(anyProgram);
  programs.buttons.remove.setEnabled(anyProgram);
  programs.buttons.modify.setEnabled(anyProgram);
}

SettingsToSave MainWindow::collectSettings() const {
  SettingsToSave s;
  s.emoticons = formatter.emoticons.favourites.entries();
  s.media = media.favourites.entries();
  s.programs = programs.entries();
  s.startWithWindows = strip.startWithWindowsBox.value() ? 1 : 0;
  s.fontIndex = formatter.fontList.selectedIndex();
  s.sizeIndex = formatter.sizeList.selectedIndex();
  s.gradient = formatter.colourModeOptions[1]->value();
  s.rainbow = formatter.colourModeOptions[2]->value();
  s.random = formatter.colourModeOptions[3]->value();
  for (int i = 0; i < 3; ++i) s.colours[i] = formatter.colourButtons[i]->backColour().value_or(0);
  s.path = pathToSave();
  s.preview = formatter.previewOn();
  return s;
}

std::u16string MainWindow::pathToSave() const {
  const std::u16string& directory = fileManager.currentDirectory();
  // Not browsed since the start: the stored text stays, so a folder on a
  // drive that is absent today is still there for tomorrow.
  if (!storedPath_.empty() && directory == restoredDirectory_) return storedPath_;
  const std::string bytes = services_.codec.encode(directory);
  if (bytes.size() <= kPathBytes && services_.codec.decode(bytes) == directory) return directory;
  return storedPath_;
}

bool MainWindow::saveSettings() {
  if (saved_) return true;
  const SettingsLocation& location = settingsLocation();
  // The first save into the profile builds on the file beside the
  // executable, so that what this program does not know of it moves too.
  const std::u16string base = services_.files.exists(location.writeTo) ? location.writeTo : location.readFrom;
  std::optional<std::string> existing = services_.files.read(base);
  platform::WriteResult result{false, base, u"文件无法读取"};
  if (settingsUnread_ && existing) {
    // Restored only in part at start-up, the file holds more than the
    // controls do: writing them over it would lose the rest.
    result.message = u"启动时未能读完这个文件，为免丢失其中的内容，没有改写它";
  } else if (existing || !services_.files.exists(base)) {
    // A file that is there but cannot be read is left alone: writing over
    // it would drop whatever it holds beyond what this program knows.
    const std::string bytes = writeSettings(existing.value_or(std::string()), collectSettings(), services_.codec);
    result = location.folderToCreate.empty() ? platform::WriteResult{}
                                             : services_.files.createFolder(location.folderToCreate);
    if (result) result = services_.files.writeAtomically(location.writeTo, bytes);
  }
  if (!result) {
    std::u16string message = u"无法保存设置文件:\r\n" + result.path;
    if (!result.message.empty()) message += u"\r\n" + result.message;
    services_.messageBox.exclamation(message, u"错误");
    return false;
  }
  saved_ = true;
  return true;
}

}  // namespace vexlo::shell
