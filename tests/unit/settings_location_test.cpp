// Where the settings file is read and written: beside the executable while
// its folder takes files, in the profile when it does not, and a failed
// save that says where when neither does.
#include <gtest/gtest.h>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;

namespace {

enum class File { None, Beside, Profile };

struct LocationCase {
  const char* name;
  bool exeFolderWritable;
  bool profileWritable;
  bool fileBeside;   // holds font 3 and a section this program does not know
  bool profileCopy;  // holds font 5
  int restoredFont;
  File savedTo;
};

const LocationCase kCases[] = {
    {"WritableFolderKeepsTheFileBeside", true, true, true, true, 3, File::Beside},
    {"WritableFolderStartsAFileBeside", true, true, false, false, 0, File::Beside},
    {"ReadOnlyFolderMovesTheFileToTheProfile", false, true, true, false, 3, File::Profile},
    {"ReadOnlyFolderUsesTheProfileCopyFromThenOn", false, true, true, true, 5, File::Profile},
    {"ReadOnlyFolderStartsAProfileCopy", false, true, false, false, 0, File::Profile},
    {"NeitherWritableTellsTheUser", false, false, true, false, 3, File::None},
};

struct SettingsLocationTest : ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocationTest, StartReadsAndExitWritesTheChosenFile) {
  const LocationCase& c = GetParam();
  fakes::ShellHarness h;
  const std::u16string profileFolder = h.environment.appData + u"\\Vexlo";
  const std::u16string profileFile = profileFolder + u"\\Vexlo.ini";
  const std::string besideBytes = "[Quenby_Sarn]\r\nZt=3\r\n[Mine]\r\nkeep=1\r\n";
  if (c.fileBeside) h.files.files[h.settingsFile] = besideBytes;
  if (c.profileCopy) h.files.files[profileFile] = "[Quenby_Sarn]\r\nZt=5\r\n";
  if (!c.exeFolderWritable) h.files.readOnlyFolders.insert(h.environment.directory);
  if (!c.profileWritable) h.files.readOnlyFolders.insert(h.environment.appData);
  const auto before = h.files.files;

  shell::MainWindow window(h.services, h.random);
  ASSERT_TRUE(window.start());
  EXPECT_EQ(window.formatter.fontList.selectedIndex(), c.restoredFont);
  window.formatter.sizeList.userSelect(2);
  window.exitControl.userClick();

  const std::u16string& saved = c.savedTo == File::Beside ? h.settingsFile : profileFile;
  for (const std::u16string& path : {h.settingsFile, profileFile}) {
    const bool written = c.savedTo != File::None && path == saved;
    const auto found = h.files.files.find(path);
    const bool changed = found != h.files.files.end() && (!before.count(path) || before.at(path) != found->second);
    EXPECT_EQ(changed, written) << text::toUtf8(path);
  }
  if (c.savedTo != File::None) {
    const std::string& bytes = h.files.files[saved];
    EXPECT_NE(bytes.find("Dx=2\r\n"), std::string::npos);
    // Moving to the profile loses nothing of the file beside.
    if (c.fileBeside && !c.profileCopy) EXPECT_NE(bytes.find("[Mine]\r\nkeep=1\r\n"), std::string::npos);
    EXPECT_TRUE(h.messageBox.shown.empty());
  } else {
    ASSERT_EQ(h.messageBox.shown.size(), 1u);
    EXPECT_NE(h.messageBox.shown[0].text.find(u"无法保存设置文件"), std::u16string::npos);
    EXPECT_NE(h.messageBox.shown[0].text.find(profileFolder), std::u16string::npos);
    EXPECT_NE(h.messageBox.shown[0].text.find(h.files.failureMessage), std::u16string::npos);
  }
  EXPECT_EQ(h.files.folders.count(profileFolder), c.savedTo == File::Profile ? 1u : 0u);
  EXPECT_TRUE(h.application.quitRequested);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsLocationTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
