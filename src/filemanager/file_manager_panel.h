// The "文件·管理" panel: drive, directory and file lists with the type
// filter, the kind and path of the selection, the picture preview, opening
// the selection, handing media and programs to the favourites, and the
// file operations of the strip (copy, cut, paste, delete, rename, new
// directory). Everything here runs without a window system.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/captured_picture.h"
#include "common/status_line.h"
#include "controls/control.h"
#include "filemanager/directory_list.h"
#include "filemanager/file_kinds.h"
#include "filemanager/file_manager_services.h"
#include "filemanager/name_rules.h"
#include "platform/launcher.h"
#include "platform/services.h"

namespace vexlo::filemanager {

inline constexpr std::u16string_view kDirectoryWord = u"目 录";
inline constexpr std::u16string_view kFileWord = u"文 件";
// The file list's place in each mode: preview mode is the list at 120.
inline constexpr int kNormalListLeft = 2520;
inline constexpr int kNormalListWidth = 2295;
inline constexpr int kPreviewListLeft = 120;
inline constexpr int kPreviewListWidth = 1575;
inline constexpr int kVirtualKeyBack = 0x08;
inline constexpr int kVirtualKeyReturn = 0x0D;

// The preview is drawn at exactly the box's size, so it shows from the
// box's top left like a captured picture does.
using PreviewPicture = common::CapturedPicture;

// What the panel asks of the main window and of the favourites.
struct FileManagerShell {
  std::function<void()> collapseWindow;
  std::function<void()> expandWindow;
  std::function<bool()> windowVisible;
  // Switches to the media player panel and plays the file there.
  std::function<void(const std::u16string& path)> playMedia;
  std::function<void(std::u16string name, std::u16string path)> addMediaFavourite;
  std::function<void(std::u16string name, std::u16string path)> addProgramFavourite;
};

// What copy or cut remembered for the next paste.
struct PendingTransfer {
  int operation = 0;  // 0 none, platform::kShellMove (cut) or platform::kShellCopy
  std::u16string source;
  std::u16string kindWord;  // the selection kind word at the copy or cut
};

class FileManagerPanel {
 public:
  struct Links {
    FileManagerServices& services;
    platform::Launcher& launcher;
    const platform::Screen& screen;
    common::StatusLine& status;
    FileManagerShell shell;
  };

  // The panel starts in `startDirectory` until a stored one is restored.
  FileManagerPanel(controls::Frame& panel, Links links, std::u16string startDirectory);
  FileManagerPanel(const FileManagerPanel&) = delete;
  FileManagerPanel& operator=(const FileManagerPanel&) = delete;

  // The panel is about to show. The drive list is read every time (a card
  // or a stick may have come or gone); the directory the first time, so a
  // panel never shown reads nothing from the disk.
  void showing();
  // The stored directory, when it is an existing directory of a drive: at
  // start-up the panel will start there; once it has shown, it enters it at
  // once. False (and nothing changed) otherwise.
  bool restoreDirectory(std::u16string directory);
  const std::u16string& currentDirectory() const;
  // Chooses a type filter as a click on it does, and applies its pattern
  // even when the filter was already chosen: in preview mode the list may
  // show another pattern than the filter's.
  void chooseFilter(int index);

  // The design's preview mode: the file list moved to the left edge.
  bool inPreview() const { return fileList.rect().left == kPreviewListLeft; }
  const std::u16string& kindWord() const { return kindWord_; }
  const PendingTransfer& pendingTransfer() const { return pending_; }

  controls::Label kindLabel;
  controls::Label pathLabel;
  controls::DropDownList driveList;
  controls::DropDownList filterList;
  DirectoryList directoryList;
  controls::ListBox fileList;
  PreviewPicture previewPicture;
  controls::Button toolButton;
  controls::Button openButton;
  controls::Button previousButton;
  controls::Button nextButton;
  controls::PictureBox operationsStrip;
  controls::Button newDirectoryButton;
  controls::Button cutButton;
  controls::Button copyButton;
  controls::Button pasteButton;
  controls::Button renameButton;
  controls::Button deleteButton;

 private:
  void build(controls::Frame& panel);
  void buildOperations();

  // Browsing.
  void refreshDrives();
  // Selects the drive of the current directory without entering it.
  void showCurrentDrive();
  void driveChosen();
  // What a directory holds; nothing, with a balloon saying why, when it
  // cannot be read.
  std::optional<std::vector<platform::DirectoryEntry>> read(const std::u16string& directory);
  // The directory list's path := `directory`, which raises the directory
  // change. False when it cannot be read: the lists stay where they were.
  bool enterDirectory(const std::u16string& directory);
  void directoryChanged(const std::vector<platform::DirectoryEntry>& entries);
  void directoryClicked();
  void directoryKey(int virtualKey);
  void enterParent();
  void fileClicked();
  void fileKey(int virtualKey);
  void filterChosen();
  void setFilePattern(std::u16string_view pattern);
  // Read the current directory again into the file list, or into both.
  void refreshFiles();
  void refreshLists();
  void selectFileByName(const std::u16string& name);
  // The selection falls back to the current directory: its kind and path.
  void showDirectorySelection();
  void showRowButtons(bool shown);
  void openSelection();
  void toolClicked();
  void enterPreview();
  void leavePreview();
  void step(int by);
  void loadPreview();

  // Operations.
  // The real path an operation on the selection acts on; nothing (and a
  // balloon) when that would be a drive root or no item at all.
  std::optional<std::u16string> operationSource();
  void remember(int operation, std::u16string_view verb);
  void paste();
  void deleteToRecycleBin();
  void deleteWithSecondaryButton();
  void rename(bool wholeName);
  void renameDirectory();
  void renameFile(bool wholeName);
  void createDirectory();
  // The answer of a name box; empty when cancelled or (with a balloon)
  // when it is no plain name.
  std::u16string askName(const NameQuestion& question);

  Links links_;
  std::u16string startDirectory_;
  bool loaded_ = false;
  bool showingDrive_ = false;  // the drive list follows the directory: no drive change
  std::u16string pattern_;
  std::u16string kindWord_;
  PendingTransfer pending_;
};

}  // namespace vexlo::filemanager
