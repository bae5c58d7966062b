// Restoring the settings file at start-up through each control's normal
// path, and writing it when the user leaves.
#include <gtest/gtest.h>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;

namespace {

struct SettingsRestoreTest : ::testing::Test {
  fakes::ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;

  void withFile(std::string_view utf8) {
    h.files.files[h.settingsFile] = h.codec.encode(text::fromUtf8(utf8));
  }
  shell::MainWindow& start() {
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    EXPECT_TRUE(window->start());
    return *window;
  }
  std::string savedFile() { return text::toUtf8(h.codec.decode(h.files.files[h.settingsFile])); }
};

TEST_F(SettingsRestoreTest, RestoredGradientModeArrangesTheRowAsAClickDoes) {
  withFile("[Quenby_Sarn]\r\nZt=14\r\nDx=6\r\nJb=True\r\nCh=False\r\nSj=False\r\n"
           "Co0_B=65280\r\nCo1_B=0\r\nCo2_B=16777215\r\n");
  auto& w = start();
  auto& p = w.formatter;
  EXPECT_EQ(p.fontList.selectedIndex(), 14);
  EXPECT_EQ(p.sizeList.selectedIndex(), 6);
  EXPECT_TRUE(p.colourModeOptions[1]->value());
  EXPECT_EQ(p.colourRowLabel.caption(), u"渐 变:");
  EXPECT_TRUE(p.colourButtons[1]->visible() && p.colourButtons[2]->visible() && p.gradientStrip.visible());
  EXPECT_FALSE(p.colourButtons[0]->visible());
  EXPECT_FALSE(p.glowBox.enabled());
  EXPECT_EQ(p.colourButtons[0]->backColour(), 0x00FF00u);
  // The gradient table is built from the restored colours: black to white.
  EXPECT_EQ(p.gradient().sample(0), u"000000");
  EXPECT_EQ(p.gradient().sample(100), u"636363");
  EXPECT_EQ(p.gradient().sample(256), u"FFFFFF");
}

TEST_F(SettingsRestoreTest, RestoredRandomModeDisablesFontAndSizeLists) {
  withFile("[Quenby_Sarn]\r\nZt=2\r\nDx=1\r\nJb=False\r\nCh=False\r\nSj=True\r\n");
  auto& p = start().formatter;
  EXPECT_TRUE(p.colourModeOptions[3]->value());
  EXPECT_FALSE(p.fontList.enabled());
  EXPECT_TRUE(p.designerLabel.visible());
}

TEST_F(SettingsRestoreTest, StoredMinusOneLeavesListsWithoutSelection) {
  withFile("[Quenby_Sarn]\r\nZt=-1\r\nDx=-1\r\n");
  auto& p = start().formatter;
  EXPECT_EQ(p.fontList.selectedIndex(), -1);
  EXPECT_EQ(p.sizeList.selectedIndex(), -1);
  p.inputBox.userEdited(u"a");
  p.convertButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"[font=][size=0][color=#FF0000]a[/color][/size][/font]");
}

TEST_F(SettingsRestoreTest, FileLackingKeysKeepsTheControlsState) {
  withFile("[Quenby_Sarn]\r\nZt=99\r\nJb=maybe\r\nCo1_B=abc\r\n");
  auto& p = start().formatter;
  EXPECT_EQ(p.fontList.selectedIndex(), -1);  // present file: no default selection, bad index ignored
  EXPECT_TRUE(p.colourModeOptions[0]->value());
  EXPECT_EQ(p.colourButtons[1]->backColour(), 0x0000FFu);
  EXPECT_EQ(p.colourButtons[2]->backColour(), 0xFF0000u);
}

TEST_F(SettingsRestoreTest, ExitWritesEveryKeyInOrderAndKeepsListsUnchanged) {
  withFile("[Quenby_Sarn]\r\nBQs=1\r\nYYs=-1\r\nCXs=0\r\nPath=D:\\照片\r\n"
           "[BQm]\r\n0=笑脸\r\n 1 =哭脸\r\n2=旧的\r\n[BQz]\r\n0=http://a/1.gif\r\n1=http://a/2.gif\r\n"
           "[CXm]\r\n0=记事本\r\n[CXz]\r\n0=C:\\Windows\\notepad.exe\r\n");
  h.fileSystem.addDirectory(u"D:\\照片");
  auto& w = start();
  EXPECT_EQ(w.formatter.emoticons.emoticonList.count(), 2);
  EXPECT_EQ(w.formatter.emoticons.emoticonList.items()[1], u"哭脸");
  w.formatter.fontList.userSelect(3);
  w.formatter.colourModeOptions[2]->userClick();
  w.exitControl.userClick();
  EXPECT_TRUE(h.application.quitRequested);
  EXPECT_FALSE(h.tray.present);
  const std::string saved = savedFile();
  EXPECT_NE(saved.find("BQs=1\r\nYYs=-1\r\nCXs=0\r\nPath=D:\\照片\r\nZQD=0\r\nZt=3\r\nDx=-1\r\nJb=False\r\nCh=True\r\n"
                       "Sj=False\r\nCo0_B=255\r\nCo1_B=255\r\nCo2_B=16711680\r\n"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("0=笑脸\r\n 1 =哭脸\r\n2=旧的\r\n"), std::string::npos) << saved;  // the old entry stays
  EXPECT_NE(saved.find("[CXz]\r\n0=C:\\Windows\\notepad.exe\r\n"), std::string::npos) << saved;
}

TEST_F(SettingsRestoreTest, NewFileHoldsTheChosenValuesInGbk) {
  auto& w = start();
  w.formatter.fontList.userSelect(1);
  w.exitControl.userClick();
  const std::string bytes = h.files.files[h.settingsFile];
  EXPECT_EQ(bytes.rfind("[Quenby_Sarn]\r\nBQs=-1\r\nYYs=-1\r\nCXs=-1\r\nZQD=0\r\nZt=1\r\nDx=0\r\n", 0), 0u) << bytes;
}

TEST_F(SettingsRestoreTest, RoundTripRestoresEverythingChosen) {
  {
    auto& w = start();
    w.formatter.fontList.userSelect(7);
    w.formatter.sizeList.userSelect(5);
    w.formatter.colourModeOptions[1]->userClick();
    w.formatter.colourButtons[2]->userClick();
    w.formatter.chooser.swatches[71]->userClick();
    w.formatter.chooser.okButton.userClick();
    w.exitControl.userClick();
  }
  window.reset();
  auto& p = start().formatter;
  EXPECT_EQ(p.fontList.selectedIndex(), 7);
  EXPECT_EQ(p.sizeList.selectedIndex(), 5);
  EXPECT_TRUE(p.colourModeOptions[1]->value());
  EXPECT_EQ(p.colourButtons[2]->backColour(), 0xFFFFFFu);
  EXPECT_EQ(p.gradient().sample(256), u"FFFFFF");
}

TEST_F(SettingsRestoreTest, FailedSaveTellsTheUserAndNamesTheFile) {
  auto& w = start();
  h.files.failWrites = true;
  w.exitControl.userClick();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_NE(h.messageBox.shown[0].text.find(h.settingsFile), std::u16string::npos);
  EXPECT_EQ(h.messageBox.shown[0].title, u"错误");
  EXPECT_TRUE(h.application.quitRequested);
}

TEST_F(SettingsRestoreTest, SessionEndSavesToo) {
  auto& w = start();
  w.formatter.sizeList.userSelect(3);
  w.endSession();
  EXPECT_NE(savedFile().find("Dx=3\r\n"), std::string::npos);
  EXPECT_FALSE(h.tray.present);
}

TEST_F(SettingsRestoreTest, SettingsFileBesideAnExecutableInADriveRoot) {
  h.environment.directory = u"D:\\";
  auto& w = start();
  w.exitControl.userClick();
  EXPECT_EQ(h.files.files.count(u"D:\\Vexlo.ini"), 1u);
}

}  // namespace
