// The file manager panel driven as a user drives it, over the in-memory
// file system: browsing, kinds, preview, opening, the favourites, the
// operations of the strip and every guard that keeps them off a drive
// root, and the directory kept in the settings file.
#include <gtest/gtest.h>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;
using filemanager::FileManagerPanel;

namespace {

constexpr std::u16string_view kDriveRefused = u" 磁盘不能删除、移动或重命名 ";

struct FileManagerTest : ::testing::Test {
  FileManagerTest() {
    auto& fs = h.fileSystem;
    fs.addDirectory(u"C:\\Tools\\Vexlo");
    fs.addFile(u"C:\\root.txt");
    for (std::u16string_view name : {u"b.JPG", u"a.bmp", u"c.gif", u"notes.txt", u"README", u"song.mp3", u"setup.exe",
                                     u"exe", u"book.pdf", u"Vexlo.lnk", u"ARCHIVE.TAR.GZ"})
      fs.addFile(u"C:\\Work\\" + std::u16string(name));
    fs.addFile(u"C:\\Work\\secret.bmp", true);
    fs.addDirectory(u"C:\\Work\\Sub");
    fs.addDirectory(u"C:\\Work\\.cache", true);
    fs.addDirectory(u"C:\\A\\OLD\\inner");
    fs.addFile(u"C:\\A\\OLD\\keep.txt");
    fs.addDirectory(u"C:\\A B");
    h.launcher.log = &h.log;
  }

  shell::MainWindow& start() {
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    EXPECT_TRUE(window->start());
    return *window;
  }
  FileManagerPanel& fm() { return window->fileManager; }
  // Starts the program and shows the panel in a directory.
  FileManagerPanel& open(const std::u16string& directory = u"C:\\Work") {
    start();
    window->panelSelector[shell::kFileManagerPanel]->userClick();
    EXPECT_TRUE(fm().restoreDirectory(directory));
    return fm();
  }
  void clickFile(std::u16string_view name) {
    const auto& items = fm().fileList.items();
    const auto found = std::find(items.begin(), items.end(), name);
    ASSERT_NE(found, items.end()) << text::toUtf8(name);
    fm().fileList.userSelect(static_cast<int>(found - items.begin()));
  }
  void clickDirectory(std::u16string_view name) {
    const auto& items = fm().directoryList.items();
    const auto found = std::find(items.begin(), items.end(), name);
    ASSERT_NE(found, items.end()) << text::toUtf8(name);
    fm().directoryList.userSelect(static_cast<int>(found - items.begin()));
  }
  std::u16string balloon() const { return window->status.text(); }
  bool rowButtonsShown() {
    auto& p = fm();
    return p.deleteButton.visible() && p.copyButton.visible() && p.cutButton.visible() && p.renameButton.visible();
  }

  fakes::ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;
};

TEST_F(FileManagerTest, APanelNeverShownReadsNothingAndShowingReadsItsDirectoryOnce) {
  start();
  EXPECT_TRUE(h.fileSystem.listed.empty());
  window->panelSelector[shell::kFileManagerPanel]->userClick();
  EXPECT_EQ(h.fileSystem.listed, (std::vector<std::u16string>{u"C:\\Tools\\Vexlo"}));
  auto& p = fm();
  EXPECT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"C:\\", u"Tools", u"Vexlo"}));
  EXPECT_EQ(p.directoryList.selectedIndex(), 2);
  EXPECT_EQ(p.kindLabel.caption(), u"目 录:");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\Tools\\Vexlo\\");
  EXPECT_EQ(p.driveList.items(), (std::vector<std::u16string>{u"C: [系统]", u"D: [资料]"}));
  EXPECT_EQ(p.driveList.selectedText(), u"C: [系统]");
  EXPECT_EQ(p.filterList.selectedIndex(), 0);
}

TEST_F(FileManagerTest, TheDirectoryListShowsTheChainThenTheSubdirectoriesAsAnOutline) {
  auto& p = open(u"C:\\Work");
  using controls::ItemIcon;
  EXPECT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"C:\\", u"Work", u"Sub"}));
  EXPECT_EQ(p.directoryList.looks(),
            (std::vector<controls::ItemLook>{
                {0, ItemIcon::OpenFolder}, {1, ItemIcon::OpenFolder}, {2, ItemIcon::ClosedFolder}}));
  // Alphabetical without regard to case, hidden and system files left out.
  EXPECT_EQ(p.fileList.items(),
            (std::vector<std::u16string>{u"a.bmp", u"ARCHIVE.TAR.GZ", u"b.JPG", u"book.pdf", u"c.gif", u"exe",
                                         u"notes.txt", u"README", u"setup.exe", u"song.mp3", u"Vexlo.lnk"}));
  clickDirectory(u"Sub");  // one click enters
  EXPECT_EQ(p.currentDirectory(), u"C:\\Work\\Sub");
  p.directoryList.userSelect(0);  // the root, entry -3
  EXPECT_EQ(p.currentDirectory(), u"C:\\");
  EXPECT_EQ(p.kindLabel.caption(), u"磁 盘:");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\");
}

TEST_F(FileManagerTest, KeysMoveTheHighlightEnterOpensAndBackspaceGoesUp) {
  auto& p = open(u"C:\\A");
  // "C:\", "A", "B"?  No: C:\A holds OLD only.
  ASSERT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"C:\\", u"A", u"OLD"}));
  p.directoryList.userKeySelect(2);
  EXPECT_EQ(p.currentDirectory(), u"C:\\A");  // the arrow only moved the highlight
  p.directoryList.userKeyDown(filemanager::kVirtualKeyReturn);
  EXPECT_EQ(p.currentDirectory(), u"C:\\A\\OLD");
  p.directoryList.userKeyDown(filemanager::kVirtualKeyBack);
  EXPECT_EQ(p.currentDirectory(), u"C:\\A");
  // A click on the highlighted entry enters it too.
  p.directoryList.userKeySelect(2);
  p.directoryList.userSelect(2);
  EXPECT_EQ(p.currentDirectory(), u"C:\\A\\OLD");
  p.fileList.userKeySelect(0);  // the file list's arrows choose, as clicks do
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\A\\OLD\\keep.txt");
  p.fileList.userKeyDown(filemanager::kVirtualKeyReturn);
  ASSERT_EQ(h.launcher.ran.size(), 1u);
  EXPECT_EQ(h.launcher.ran[0].commandLine, u"Notepad.exe \"C:\\A\\OLD\\keep.txt\"");
  p.fileList.userKeyDown(filemanager::kVirtualKeyBack);
  EXPECT_EQ(p.currentDirectory(), u"C:\\A");
}

TEST_F(FileManagerTest, EveryKindGetsItsLabelPathAndToolButton) {
  auto& p = open();
  struct Case {
    std::u16string_view name, label, path;
    bool tool;
    std::u16string_view caption, tooltip;
  };
  for (const Case& c : {
           Case{u"ARCHIVE.TAR.GZ", u"文 件:", u"C:\\Work\\ARCHIVE.TAR.GZ", false, u"", u""},
           Case{u"exe", u"程 序:", u"C:\\Work\\exe", true, u"工具", u" 添加到我的工具箱 "},
           Case{u"b.JPG", u"图 片:", u"C:\\Work\\b.JPG", true, u"预览", u" 预览图片 "},
           Case{u"song.mp3", u"影 音:", u"C:\\Work\\song.mp3", true, u"影音", u" 添加到影音收藏夹 "},
           Case{u"book.pdf", u"文 档:", u"C:\\Work\\book.pdf", false, u"", u""},
           Case{u"notes.txt", u"文 本:", u"C:\\Work\\notes.txt", false, u"", u""},
           Case{u"Vexlo.lnk", u"快 捷:", u"C:/Work/Vexlo.lnk", false, u"", u""},
       }) {
    clickFile(c.name);
    EXPECT_EQ(p.kindLabel.caption(), c.label) << text::toUtf8(c.name);
    EXPECT_EQ(p.pathLabel.caption(), c.path) << text::toUtf8(c.name);
    EXPECT_EQ(p.toolButton.visible(), c.tool) << text::toUtf8(c.name);
    if (c.tool) EXPECT_EQ(p.toolButton.caption(), c.caption);
    if (c.tool) EXPECT_EQ(p.toolButton.tooltip(), c.tooltip);
    EXPECT_EQ(p.kindWord(), u"文 件");
  }
  p.restoreDirectory(u"C:\\");
  clickFile(u"root.txt");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\root.txt");
}

TEST_F(FileManagerTest, ButtonVisibilityAfterEveryEvent) {
  auto& p = open();
  clickFile(u"notes.txt");
  EXPECT_TRUE(rowButtonsShown());
  EXPECT_FALSE(p.pasteButton.visible() || p.newDirectoryButton.visible());
  p.copyButton.userClick();  // copy changes no button
  EXPECT_FALSE(p.pasteButton.visible());
  p.restoreDirectory(u"C:\\");
  EXPECT_FALSE(p.deleteButton.visible() || p.copyButton.visible() || p.cutButton.visible() || p.renameButton.visible());
  EXPECT_TRUE(p.pasteButton.visible() && p.newDirectoryButton.visible());
  EXPECT_FALSE(p.toolButton.visible());
  p.restoreDirectory(u"C:\\A");
  EXPECT_TRUE(rowButtonsShown() && p.pasteButton.visible() && p.newDirectoryButton.visible());
  p.pasteButton.userClick();
  EXPECT_FALSE(p.pasteButton.visible());
  p.restoreDirectory(u"C:\\Work");
  EXPECT_FALSE(p.pasteButton.visible());  // nothing pending any more
}

TEST_F(FileManagerTest, FiltersChooseTheFilePattern) {
  auto& p = open();
  struct Case {
    int filter;
    std::vector<std::u16string> files;
  };
  // A file named "exe" is a program by its name but has no ".EXE".
  for (const Case& c : {Case{1, {u"setup.exe"}}, Case{2, {u"notes.txt"}}, Case{3, {u"a.bmp", u"b.JPG", u"c.gif"}},
                        Case{4, {u"song.mp3"}}}) {
    p.filterList.userSelect(c.filter);
    EXPECT_EQ(p.fileList.items(), c.files) << c.filter;
  }
  // Choosing the panel again sets the filter back to all files.
  window->panelSelector[0]->userClick();
  window->panelSelector[shell::kFileManagerPanel]->userClick();
  EXPECT_EQ(p.filterList.selectedIndex(), 0);
  EXPECT_EQ(p.fileList.count(), 11);
}

TEST_F(FileManagerTest, OpeningIsDecidedByTheKindLabel) {
  auto& p = open();
  struct Case {
    std::u16string_view name;
    std::u16string_view commandLine;  // empty: through the shell's "Open"
    int show;
  };
  for (const Case& c :
       {Case{u"notes.txt", u"Notepad.exe \"C:\\Work\\notes.txt\"", platform::kShowNormal},
        Case{u"book.pdf", u"", platform::kShowNormal}, Case{u"Vexlo.lnk", u"", platform::kShowNormal}}) {
    h.launcher.ran.clear();
    h.launcher.opened.clear();
    clickFile(c.name);
    p.fileList.userDoubleClick();
    EXPECT_TRUE(window->collapsed()) << text::toUtf8(c.name);
    if (c.commandLine.empty()) {
      ASSERT_EQ(h.launcher.opened.size(), 1u);
      EXPECT_EQ(h.launcher.opened[0].verb, u"Open");
      // The shortcut is opened at its real path, in a normal window.
      EXPECT_EQ(h.launcher.opened[0].file, u"C:\\Work\\" + std::u16string(c.name));
      EXPECT_EQ(h.launcher.opened[0].showCommand, c.show);
    } else {
      ASSERT_EQ(h.launcher.ran.size(), 1u);
      EXPECT_EQ(h.launcher.ran[0].commandLine, c.commandLine);
      EXPECT_EQ(h.launcher.ran[0].showCommand, c.show);
    }
    window->expand();
  }
  h.launcher.ran.clear();
  p.restoreDirectory(u"C:\\A B");
  p.openButton.userClick();
  p.restoreDirectory(u"C:\\");
  p.openButton.userClick();
  ASSERT_EQ(h.launcher.ran.size(), 2u);
  EXPECT_EQ(h.launcher.ran[0].commandLine, u"Explorer.exe \"C:\\A B\"");
  EXPECT_EQ(h.launcher.ran[0].showCommand, platform::kShowMaximized);
  EXPECT_EQ(h.launcher.ran[1].commandLine, u"Explorer.exe \"C:\\\"");

  // Media plays on the media panel, and the window keeps its size.
  window->expand();
  p.restoreDirectory(u"C:\\Work");
  clickFile(u"song.mp3");
  p.openButton.userClick();
  EXPECT_TRUE(window->panelSelector[shell::kMediaPanel]->value());
  EXPECT_EQ(h.mediaPlayer.url(), u"C:\\Work\\song.mp3");
  EXPECT_FALSE(window->collapsed());
}

TEST_F(FileManagerTest, AFailedOpenIsReported) {
  auto& p = open();
  h.launcher.succeeds = false;
  clickFile(u"book.pdf");
  p.openButton.userClick();
  EXPECT_EQ(window->status.heading(), u"无法打开:");
  EXPECT_NE(balloon().find(u"C:\\Work\\book.pdf"), std::u16string::npos);
}

TEST_F(FileManagerTest, TheToolButtonAddsMediaAtTheTopAndProgramsAtTheEnd) {
  auto& p = open();
  clickFile(u"song.mp3");
  p.toolButton.userClick();
  window->panelSelector[shell::kFileManagerPanel]->userClick();
  clickFile(u"song.mp3");
  p.toolButton.userClick();
  EXPECT_EQ(window->media.mediaList.items(), (std::vector<std::u16string>{u"song", u"song"}));
  EXPECT_EQ(window->media.addressList.items().front(), u"C:\\Work\\song.mp3");
  EXPECT_TRUE(window->panelSelector[shell::kMediaPanel]->value());

  window->panelSelector[shell::kFileManagerPanel]->userClick();
  clickFile(u"setup.exe");
  p.toolButton.userClick();
  window->panelSelector[shell::kFileManagerPanel]->userClick();
  clickFile(u"exe");  // no "." at all: the whole name
  p.toolButton.userClick();
  const auto entries = window->programs.entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (shell::SettingsEntry{u"setup", u"C:\\Work\\setup.exe"}));
  EXPECT_EQ(entries[1], (shell::SettingsEntry{u"exe", u"C:\\Work\\exe"}));
  EXPECT_TRUE(window->panelSelector[shell::kToolboxPanel]->value());
}

TEST_F(FileManagerTest, PreviewWithAllFilesAndBackRestoresThePatternAndTheFile) {
  auto& p = open();
  clickFile(u"b.JPG");
  p.toolButton.userClick();
  EXPECT_TRUE(p.inPreview());
  EXPECT_EQ(p.fileList.items(), (std::vector<std::u16string>{u"a.bmp", u"b.JPG", u"c.gif"}));
  EXPECT_EQ(p.fileList.selectedText(), u"b.JPG");
  EXPECT_EQ(p.toolButton.caption(), u"返回");
  EXPECT_EQ(p.toolButton.tooltip(), u" 返回 ");
  EXPECT_TRUE(p.previewPicture.visible());
  EXPECT_FALSE(p.operationsStrip.visible() || p.driveList.visible() || p.filterList.visible() ||
               p.directoryList.visible());
  EXPECT_EQ(p.fileList.rect().left, 120);
  EXPECT_EQ(p.fileList.rect().width, 1575);
  // Stretched to fill the box exactly: 3015 x 2430 twips at 15 twips a pixel.
  EXPECT_EQ(p.previewPicture.bitmap().width, 201);
  EXPECT_EQ(p.previewPicture.bitmap().height, 162);
  EXPECT_EQ(h.pictures.decoded.back(), u"C:\\Work\\b.JPG");

  // A file click in preview mode: the row buttons shown inside the hidden
  // strip, paste and new directory hidden, the tool button as it was.
  EXPECT_TRUE(rowButtonsShown());
  EXPECT_FALSE(p.pasteButton.visible() || p.newDirectoryButton.visible());
  EXPECT_TRUE(p.toolButton.visible());
  // Previous and next wrap around.
  p.nextButton.userClick();
  EXPECT_EQ(h.pictures.decoded.back(), u"C:\\Work\\c.gif");
  p.nextButton.userClick();
  EXPECT_EQ(p.fileList.selectedText(), u"a.bmp");
  p.previousButton.userClick();
  EXPECT_EQ(p.fileList.selectedText(), u"c.gif");
  EXPECT_EQ(h.pictures.decoded.back(), u"C:\\Work\\c.gif");
  EXPECT_EQ(p.toolButton.caption(), u"返回");

  p.toolButton.userClick();
  EXPECT_FALSE(p.inPreview());
  EXPECT_EQ(p.fileList.count(), 11);
  EXPECT_EQ(p.fileList.selectedText(), u"c.gif");
  EXPECT_EQ(p.toolButton.caption(), u"预览");
  EXPECT_EQ(p.toolButton.tooltip(), u" 预览图片 ");
  EXPECT_FALSE(p.previewPicture.visible());
  EXPECT_TRUE(p.operationsStrip.visible() && p.driveList.visible() && p.filterList.visible() &&
              p.directoryList.visible());
  EXPECT_EQ(p.fileList.rect().left, 2520);
  EXPECT_EQ(p.fileList.rect().width, 2295);
}

TEST_F(FileManagerTest, PreviewWithThePictureFilterKeepsItsPattern) {
  auto& p = open();
  p.filterList.userSelect(3);
  clickFile(u"a.bmp");
  p.toolButton.userClick();
  p.toolButton.userClick();
  EXPECT_EQ(p.fileList.items(), (std::vector<std::u16string>{u"a.bmp", u"b.JPG", u"c.gif"}));
  EXPECT_EQ(p.filterList.selectedIndex(), 3);
}

TEST_F(FileManagerTest, AnUnreadablePictureLeavesThePreviewEmptyAndSaysSo) {
  auto& p = open();
  h.pictures.unreadable.push_back(u"C:\\Work\\c.gif");
  clickFile(u"a.bmp");
  p.toolButton.userClick();
  EXPECT_GT(p.previewPicture.bitmap().width, 0);
  p.nextButton.userClick();
  p.nextButton.userClick();
  EXPECT_EQ(p.previewPicture.bitmap().width, 0);
  EXPECT_EQ(window->status.heading(), u"无法预览:");
  EXPECT_EQ(balloon(), u" 图片 < c.gif > ");
  // Choosing the panel again lists every file; a file that is no picture
  // cannot be shown either, and the tool button still leads back.
  window->panelSelector[shell::kFileManagerPanel]->userClick();
  h.pictures.unreadable.push_back(u"C:\\Work\\song.mp3");
  clickFile(u"song.mp3");
  EXPECT_EQ(p.previewPicture.bitmap().width, 0);
  EXPECT_EQ(p.toolButton.caption(), u"返回");
  // Back in normal mode the tool button follows the file's kind.
  p.toolButton.userClick();
  EXPECT_EQ(p.fileList.selectedText(), u"song.mp3");
  EXPECT_EQ(p.toolButton.caption(), u"影音");
  EXPECT_TRUE(p.toolButton.visible());
}

TEST_F(FileManagerTest, ADriveThatIsNotReadySaysSoAndTheListGoesBack) {
  auto& p = open();
  h.fileSystem.driveTable[1].ready = false;
  window->panelSelector[shell::kFileManagerPanel]->userClick();  // the drive list is read again
  EXPECT_EQ(p.driveList.items()[1], u"D:");
  p.driveList.userSelect(1);
  EXPECT_EQ(window->status.heading(), u"无法打开:");
  EXPECT_EQ(balloon(), u" 设备未就绪。 < D:\\ > ");
  EXPECT_EQ(p.driveList.selectedIndex(), 0);
  EXPECT_EQ(p.currentDirectory(), u"C:\\Work");
  h.fileSystem.driveTable[1].ready = true;
  h.fileSystem.addDirectory(u"D:\\Music");
  p.driveList.userSelect(1);
  EXPECT_EQ(p.currentDirectory(), u"D:\\");
  EXPECT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"D:\\", u"Music"}));
}

TEST_F(FileManagerTest, CopyThenChangingDirectoryTwiceThenPasteCopiesIntoTheLastOne) {
  auto& p = open();
  clickFile(u"notes.txt");
  p.copyButton.userClick();
  EXPECT_EQ(window->status.heading(), u"操作:");
  EXPECT_EQ(balloon(), u" 复制 < 文 件 > ");
  EXPECT_EQ(p.pendingTransfer().operation, platform::kShellCopy);
  EXPECT_TRUE(h.fileSystem.shellOperations.empty());
  p.restoreDirectory(u"C:\\A");
  p.restoreDirectory(u"C:\\A\\OLD");
  p.pasteButton.userClick();
  EXPECT_EQ(balloon(), u" 粘贴 < 文 件 > ");
  ASSERT_EQ(h.fileSystem.shellOperations.size(), 1u);
  EXPECT_EQ(h.fileSystem.shellOperations[0],
            (platform::ShellFileOperation{platform::kShellCopy, u"C:\\Work\\notes.txt", u"C:\\A\\OLD", 0}));
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\A\\OLD\\notes.txt"));
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\notes.txt"));
  EXPECT_EQ(p.fileList.items(), (std::vector<std::u16string>{u"keep.txt", u"notes.txt"}));
  EXPECT_EQ(p.pendingTransfer().operation, 0);
  EXPECT_FALSE(p.pasteButton.visible());
}

TEST_F(FileManagerTest, CutADirectoryAndPasteMovesIt) {
  auto& p = open(u"C:\\A\\OLD");
  p.cutButton.userClick();
  EXPECT_EQ(balloon(), u" 剪切 < 目 录 > ");
  p.restoreDirectory(u"C:\\Work");
  p.pasteButton.userClick();
  EXPECT_EQ(h.fileSystem.shellOperations.back(),
            (platform::ShellFileOperation{platform::kShellMove, u"C:\\A\\OLD", u"C:\\Work", 0}));
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\OLD\\keep.txt"));
  EXPECT_FALSE(h.fileSystem.exists(u"C:\\A\\OLD"));
  EXPECT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"C:\\", u"Work", u"OLD", u"Sub"}));
}

TEST_F(FileManagerTest, PasteIntoTheSourceOrBelowItIsRefusedBeforeTheShell) {
  auto& p = open(u"C:\\A");
  p.copyButton.userClick();
  for (std::u16string_view target : {u"C:\\A", u"C:\\A\\OLD\\inner"}) {
    p.restoreDirectory(std::u16string(target));
    p.pasteButton.userClick();
    EXPECT_TRUE(h.fileSystem.shellOperations.empty()) << text::toUtf8(target);
    EXPECT_EQ(window->status.heading(), u"提示:");
    EXPECT_EQ(p.pendingTransfer().operation, platform::kShellCopy);  // still there for a paste elsewhere
  }
  p.restoreDirectory(u"C:\\Work");
  p.pasteButton.userClick();
  EXPECT_EQ(h.fileSystem.shellOperations.size(), 1u);
}

TEST_F(FileManagerTest, DeletingAFileFallsBackToItsDirectory) {
  auto& p = open();
  clickFile(u"notes.txt");
  h.log.events.clear();
  p.deleteButton.userClick();
  EXPECT_EQ(h.fileSystem.shellOperations.back(),
            (platform::ShellFileOperation{platform::kShellDelete, u"C:\\Work\\notes.txt", u"", platform::kAllowUndo}));
  EXPECT_FALSE(h.fileSystem.exists(u"C:\\Work\\notes.txt"));
  EXPECT_EQ(p.kindLabel.caption(), u"目 录:");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\Work\\");
  EXPECT_EQ(p.kindWord(), u"文 件");  // left as it was
  EXPECT_EQ(p.fileList.count(), 10);
  EXPECT_FALSE(window->collapsed());  // collapsed during the shell's dialog, expanded after
  EXPECT_NE(std::find(h.log.events.begin(), h.log.events.end(), "click"), h.log.events.end());
}

TEST_F(FileManagerTest, DeletingADirectoryEndsInItsParentEvenWhenTheUserDeclines) {
  for (bool declines : {true, false}) {
    h.fileSystem.userDeclines = declines;
    auto& p = open(u"C:\\A\\OLD");
    p.deleteButton.userClick();
    EXPECT_EQ(h.fileSystem.shellOperations.back(),
              (platform::ShellFileOperation{platform::kShellDelete, u"C:\\A\\OLD", u"", platform::kAllowUndo}));
    EXPECT_EQ(p.currentDirectory(), u"C:\\A");
    EXPECT_EQ(balloon(), u" 删除 < 目 录 > ");
    EXPECT_EQ(h.fileSystem.exists(u"C:\\A\\OLD"), declines);
  }
}

TEST_F(FileManagerTest, TheSecondaryDeleteEmptiesADirectoryAndDeletesAFileForGood) {
  auto& p = open(u"C:\\A\\OLD");
  p.deleteButton.userRightPress();
  EXPECT_EQ(h.fileSystem.shellOperations.back(),
            (platform::ShellFileOperation{platform::kShellDelete, u"C:\\A\\OLD\\*.*", u"", platform::kAllowUndo}));
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\A\\OLD"));
  EXPECT_TRUE(h.fileSystem.namesIn(u"C:\\A\\OLD").empty());
  EXPECT_EQ(p.directoryList.items(), (std::vector<std::u16string>{u"C:\\", u"A", u"OLD"}));
  p.restoreDirectory(u"C:\\Work");
  clickFile(u"book.pdf");
  p.deleteButton.userRightPress();
  EXPECT_EQ(h.fileSystem.shellOperations.back(),
            (platform::ShellFileOperation{platform::kShellDelete, u"C:\\Work\\book.pdf", u"", 0}));
  EXPECT_EQ(p.kindLabel.caption(), u"目 录:");
}

TEST_F(FileManagerTest, AfterAFileInARootIsDeletedNothingActsOnTheRoot) {
  auto& p = open(u"C:\\");
  clickFile(u"root.txt");
  p.deleteButton.userClick();
  ASSERT_EQ(h.fileSystem.shellOperations.size(), 1u);
  EXPECT_EQ(p.kindLabel.caption(), u"磁 盘:");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\");
  EXPECT_TRUE(rowButtonsShown());
  window->expand();
  h.inputBox.answers = {u"X", u"X"};
  for (controls::Button* button : {&p.copyButton, &p.cutButton, &p.deleteButton, &p.renameButton}) {
    button->userClick();
    EXPECT_EQ(balloon(), kDriveRefused) << button->name();
  }
  p.deleteButton.userRightPress();
  EXPECT_EQ(balloon(), kDriveRefused);
  p.renameButton.userRightPress();
  EXPECT_EQ(balloon(), kDriveRefused);
  EXPECT_EQ(h.fileSystem.shellOperations.size(), 1u);
  EXPECT_EQ(p.pendingTransfer().operation, 0);
  EXPECT_TRUE(h.inputBox.asked.empty());
  EXPECT_FALSE(window->collapsed());
}

TEST_F(FileManagerTest, RenamingNotesTxtWithEitherButton) {
  auto& p = open();
  clickFile(u"notes.txt");
  h.inputBox.answers = {u"report"};
  p.renameButton.userClick();
  ASSERT_EQ(h.inputBox.asked.size(), 1u);
  EXPECT_EQ(h.inputBox.asked[0].title, u"重命名 - 文件");
  EXPECT_EQ(h.inputBox.asked[0].defaultAnswer, u"notes");
  EXPECT_EQ(balloon(), u" 重命名 < 文 件 > ");
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\report.txt"));
  EXPECT_EQ(p.fileList.selectedText(), u"report.txt");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\Work\\report.txt");

  h.inputBox.answers = {u"summary"};
  p.renameButton.userRightPress();
  EXPECT_EQ(h.inputBox.asked[1].defaultAnswer, u"report.txt");
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\summary"));
  EXPECT_EQ(p.fileList.selectedText(), u"summary");

  // A name without "." is offered whole and keeps nothing appended.
  clickFile(u"README");
  h.inputBox.answers = {u"LIESMICH"};
  p.renameButton.userClick();
  EXPECT_EQ(h.inputBox.asked[2].defaultAnswer, u"README");
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\LIESMICH"));
  EXPECT_FALSE(window->collapsed());
}

TEST_F(FileManagerTest, RenamingADirectoryMovesTheListWithIt) {
  auto& p = open(u"C:\\A\\OLD");
  h.inputBox.answers = {u"NEW"};
  p.renameButton.userClick();
  EXPECT_EQ(h.inputBox.asked[0].title, u"重命名 - 目录");
  EXPECT_EQ(h.inputBox.asked[0].defaultAnswer, u"OLD");
  EXPECT_EQ(p.currentDirectory(), u"C:\\A\\NEW");
  EXPECT_EQ(p.pathLabel.caption(), u"C:\\A\\NEW\\");
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\A\\NEW\\keep.txt"));
  // The secondary button renames files only.
  p.renameButton.userRightPress();
  EXPECT_EQ(h.inputBox.asked.size(), 1u);
  EXPECT_EQ(balloon(), u" 重命名 < 目 录 > ");
}

TEST_F(FileManagerTest, RenamingAShortcutUsesItsRealPath) {
  auto& p = open();
  clickFile(u"Vexlo.lnk");
  h.inputBox.answers = {u"Start"};
  p.renameButton.userClick();
  EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\Start.lnk"));
  EXPECT_EQ(p.pathLabel.caption(), u"C:/Work/Start.lnk");
  p.copyButton.userClick();
  EXPECT_EQ(p.pendingTransfer().source, u"C:\\Work\\Start.lnk");
}

TEST_F(FileManagerTest, NewDirectoriesAtARootAndBelow) {
  struct Case {
    std::u16string_view in, created;
  };
  for (const Case& c : {Case{u"C:\\", u"C:\\NAME"}, Case{u"C:\\A", u"C:\\A\\NAME"}}) {
    auto& p = open(std::u16string(c.in));
    h.inputBox.answers = {u"NAME"};
    p.newDirectoryButton.userClick();
    EXPECT_EQ(window->status.heading(), u"当前操作:");
    EXPECT_EQ(balloon(), u" 新建 < 目 录 > ");
    EXPECT_EQ(h.inputBox.asked.back().title, u"新建目录");
    EXPECT_EQ(h.inputBox.asked.back().defaultAnswer, u"");
    EXPECT_EQ(p.currentDirectory(), c.created);
    EXPECT_TRUE(h.fileSystem.isDirectory(std::u16string(c.created)));
  }
}

TEST_F(FileManagerTest, CancelInAnyNameBoxChangesNothing) {
  auto& p = open(u"C:\\A\\OLD");
  p.renameButton.userClick();
  p.newDirectoryButton.userClick();
  clickFile(u"keep.txt");
  p.renameButton.userClick();
  p.renameButton.userRightPress();
  EXPECT_EQ(h.inputBox.asked.size(), 4u);
  EXPECT_EQ(h.fileSystem.namesIn(u"C:\\A\\OLD"), (std::vector<std::u16string>{u"inner", u"keep.txt"}));
  EXPECT_EQ(h.fileSystem.namesIn(u"C:\\A"), (std::vector<std::u16string>{u"OLD"}));
  EXPECT_EQ(balloon(), u" 重命名 < 文 件 > ");  // the status was shown all the same
}

TEST_F(FileManagerTest, RefusedNamesShowABalloonAndTheListsStay) {
  auto& p = open();
  clickFile(u"notes.txt");
  struct Case {
    std::u16string answer;
    std::u16string_view heading;
  };
  // In use, then a separator that would move the file elsewhere, then a
  // character the system refuses.
  for (const Case& c : {Case{u"README", u"无法重命名:"}, Case{u"Sub\\notes", u"提示:"}, Case{u"a*b", u"提示:"}}) {
    h.fileSystem.addFile(u"C:\\Work\\README.txt");
    h.inputBox.answers = {c.answer};
    p.renameButton.userClick();
    EXPECT_EQ(window->status.heading(), c.heading) << text::toUtf8(c.answer);
    EXPECT_TRUE(h.fileSystem.exists(u"C:\\Work\\notes.txt"));
    EXPECT_EQ(p.currentDirectory(), u"C:\\Work");
  }
  h.inputBox.answers = {u"Sub"};
  p.restoreDirectory(u"C:\\Work");
  p.newDirectoryButton.userClick();
  EXPECT_EQ(window->status.heading(), u"无法新建目录:");
  EXPECT_EQ(balloon(), u" 当文件已存在时，无法创建该文件。 ");
  EXPECT_EQ(p.currentDirectory(), u"C:\\Work");
}

TEST_F(FileManagerTest, AnOperationTheShellCannotTakeIsReported) {
  auto& p = open();
  clickFile(u"notes.txt");
  h.fileSystem.shellRefuses = true;
  p.deleteButton.userClick();
  EXPECT_EQ(window->status.heading(), u"无法删除:");
}

TEST_F(FileManagerTest, TheStoredPathIsRestoredWhenItExistsAndSavedBack) {
  struct Case {
    std::u16string_view stored;
    std::u16string_view start;
  };
  for (const Case& c :
       {Case{u"C:\\A\\OLD", u"C:\\A\\OLD"}, Case{u"C:\\Work\\", u"C:\\Work"}, Case{u"C:\\Gone", u"C:\\Tools\\Vexlo"},
        Case{u"\\\\server\\share", u"C:\\Tools\\Vexlo"}, Case{u"C:\\root.txt", u"C:\\Tools\\Vexlo"}}) {
    h.files.files[h.settingsFile] = h.codec.encode(u"[Quenby_Sarn]\r\nPath=" + std::u16string(c.stored) + u"\r\n");
    start();
    EXPECT_EQ(fm().currentDirectory(), c.start) << text::toUtf8(c.stored);
    window->panelSelector[shell::kFileManagerPanel]->userClick();
    EXPECT_EQ(fm().currentDirectory(), c.start) << text::toUtf8(c.stored);
    EXPECT_EQ(fm().driveList.selectedText(), u"C: [系统]");
  }
  fm().restoreDirectory(u"C:\\A B");
  window->exitControl.userClick();
  EXPECT_NE(h.codec.decode(h.files.files[h.settingsFile]).find(u"Path=C:\\A B\r\n"), std::u16string::npos);
}

TEST_F(FileManagerTest, ADirectoryTheSettingsFileCannotHoldKeepsTheStoredText) {
  // Outside code page 936, and longer than the key's 254 bytes.
  for (const std::u16string& directory : {std::u16string(u"C:\\Work\\😀"), u"C:\\" + std::u16string(255, u'x')}) {
    h.fileSystem.addDirectory(directory);
    h.files.files[h.settingsFile] = h.codec.encode(u"[Quenby_Sarn]\r\nPath=C:\\Work\r\n");
    auto& p = open(u"C:\\Work");
    p.restoreDirectory(directory);
    EXPECT_EQ(p.currentDirectory(), directory);
    window->exitControl.userClick();
    EXPECT_NE(h.codec.decode(h.files.files[h.settingsFile]).find(u"Path=C:\\Work\r\n"), std::u16string::npos);
  }
}

}  // namespace
