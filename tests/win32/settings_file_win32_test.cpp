// The settings file through the real Win32 services: code page conversion,
// whole-file reading and the atomic write, on real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ansi_codec_win32.h"
#include "platform/win32/file_store_win32.h"
#include "platform/win32/module_path.h"
#include "scratch_folder.h"
#include "shell/settings_file.h"

namespace vexlo::platform::win32 {
namespace {

const std::u16string kSongTi = u"宋体";
const std::string kSongTiBytes = "\xCB\xCE\xCC\xE5";
const std::u16string kEmoji = u"\U0001F600";

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class SettingsFileWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.made());
    directory_ = folder_.path();
    path_ = shell::settingsPath(directory_);
  }

  // Writes bytes with plain Win32 calls, independently of FileStoreWin32.
  static void writeRaw(const std::u16string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD wrote = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
    CloseHandle(file);
  }

  bool fileExists(const std::u16string& path) { return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES; }

  win32_tests::ScratchFolder folder_{u"settings"};
  std::u16string directory_;
  std::u16string path_;
};

TEST_F(SettingsFileWin32Test, ChineseSystemUsesGbkCompatibleCodePage) {
  ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8 (a generated locale)";
  AnsiCodecWin32 codec;
  // GB18030 where the system has it (Windows), GBK where it does not (Wine 8).
  EXPECT_EQ(codec.codePage(), IsValidCodePage(54936) ? 54936u : 936u);
  EXPECT_EQ(codec.encode(kSongTi), kSongTiBytes);
  EXPECT_EQ(codec.decode(kSongTiBytes), kSongTi);
  EXPECT_EQ(codec.decode(codec.encode(u"")), u"");

  AnsiCodecWin32 gbk(936);
  EXPECT_EQ(gbk.encode(u"A" + kSongTi), "A" + kSongTiBytes);
  EXPECT_NE(gbk.decode(gbk.encode(kEmoji)), kEmoji);
  if (IsValidCodePage(54936)) {
    AnsiCodecWin32 gb18030(54936);
    EXPECT_EQ(gb18030.encode(kSongTi), kSongTiBytes);
    EXPECT_EQ(gb18030.decode(gb18030.encode(kEmoji)), kEmoji);
  }
}

TEST_F(SettingsFileWin32Test, ChineseNameIsWrittenAsGbkBytesAndReadByTheProfileFunctions) {
  AnsiCodecWin32 codec;
  FileStoreWin32 store;
  shell::SettingsToSave save;
  save.fontIndex = 14;
  save.path = u"C:\\" + kSongTi;
  save.programs = {{kSongTi, u"C:\\" + kSongTi + u".exe"}};
  ASSERT_TRUE(store.writeAtomically(path_, shell::writeSettings("", save, codec)));

  std::optional<std::string> bytes = store.read(path_);
  ASSERT_TRUE(bytes);
  EXPECT_NE(bytes->find("[CXm]\r\n0=" + kSongTiBytes + "\r\n"), std::string::npos) << *bytes;

  // The system's own profile functions read the same file the same way.
  std::string pathA(path_.begin(), path_.end());  // the test directory is ASCII
  char buffer[256] = {};
  GetPrivateProfileStringA("CXm", " 0", "", buffer, sizeof buffer, pathA.c_str());
  EXPECT_EQ(std::string(buffer), kSongTiBytes);
  GetPrivateProfileStringA("Quenby_Sarn", "Zt", "", buffer, 3, pathA.c_str());
  EXPECT_EQ(std::string(buffer), "14");
  wchar_t wideBuffer[256] = {};
  GetPrivateProfileStringW(L"Quenby_Sarn", L"Path", L"", wideBuffer, 256, wide(path_));
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(wideBuffer)), u"C:\\" + kSongTi);

  shell::StoredSettings read = shell::readSettings(*bytes, codec);
  EXPECT_EQ(read.programs, save.programs);
  EXPECT_EQ(read.path, save.path);
  EXPECT_EQ(read.fontIndex, 14);
}

TEST_F(SettingsFileWin32Test, NewFileHasTheBytesTheProfileFunctionsWouldWrite) {
  // The same sequence of writes through WritePrivateProfileStringA, with the
  // entry keys handed over as " 0", " 1".
  std::u16string profilePath = directory_ + u"\\profile.ini";
  std::string profileA(profilePath.begin(), profilePath.end());
  auto write = [&](const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value.c_str(), profileA.c_str()));
  };
  write("Quenby_Sarn", "BQs", "1");
  write("BQm", " 0", kSongTiBytes);
  write("BQz", " 0", "http://e.example/1.gif");
  write("BQm", " 1", "b");
  write("BQz", " 1", "c");
  write("Quenby_Sarn", "YYs", "-1");
  write("Quenby_Sarn", "CXs", "-1");
  for (const char* key : {"ZQD", "Zt", "Dx"}) write("Quenby_Sarn", key, "0");
  for (const char* key : {"Jb", "Ch", "Sj"}) write("Quenby_Sarn", key, "False");
  for (const char* key : {"Co0_B", "Co1_B", "Co2_B"}) write("Quenby_Sarn", key, "0");
  write("Quenby_Sarn", "Path", "C:\\");
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, profileA.c_str());  // flush the cache

  shell::SettingsToSave save;
  save.fontIndex = 0;
  save.sizeIndex = 0;
  save.path = u"C:\\";
  save.emoticons = {{kSongTi, u"http://e.example/1.gif"}, {u"b", u"c"}};
  FileStoreWin32 store;
  std::optional<std::string> expected = store.read(profilePath);
  ASSERT_TRUE(expected);
  EXPECT_EQ(shell::writeSettings("", save, AnsiCodecWin32()), *expected);
}

TEST_F(SettingsFileWin32Test, HandWrittenGbkFileReadsBack) {
  writeRaw(path_, "[Quenby_Sarn]\r\nBQs=0\r\nZt=3\r\nJb=True\r\n[BQm]\r\n 0=" + kSongTiBytes +
                      "\r\n[BQz]\r\n 0=D:\\" + kSongTiBytes + ".gif\r\n");
  FileStoreWin32 store;
  EXPECT_TRUE(store.exists(path_));
  std::optional<std::string> bytes = store.read(path_);
  ASSERT_TRUE(bytes);
  shell::StoredSettings read = shell::readSettings(*bytes, AnsiCodecWin32());
  EXPECT_EQ(read.emoticons, (std::vector<shell::SettingsEntry>{{kSongTi, u"D:\\" + kSongTi + u".gif"}}));
  EXPECT_EQ(read.fontIndex, 3);
  EXPECT_EQ(read.gradient, true);
}

TEST_F(SettingsFileWin32Test, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
  FileStoreWin32 store;
  EXPECT_FALSE(store.read(path_));
  EXPECT_FALSE(store.exists(path_));
  writeRaw(path_, std::string(5000, 'o'));
  ASSERT_TRUE(store.writeAtomically(path_, "new"));
  EXPECT_EQ(store.read(path_), "new");
  EXPECT_FALSE(fileExists(path_ + u".tmp"));
  // A stale temporary from an interrupted run does not stand in the way.
  writeRaw(path_ + u".tmp", "stale");
  SetFileAttributesW(wide(path_ + u".tmp"), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(store.writeAtomically(path_, ""));
  EXPECT_EQ(store.read(path_), "");
  EXPECT_FALSE(fileExists(path_ + u".tmp"));
}

TEST_F(SettingsFileWin32Test, FailedWriteIsReportedWithTheFile) {
  FileStoreWin32 store;
  std::u16string nowhere = directory_ + u"\\missing\\Vexlo.ini";
  WriteResult result = store.writeAtomically(nowhere, "x");
  EXPECT_FALSE(result);
  EXPECT_EQ(result.path, nowhere);
  EXPECT_FALSE(result.message.empty());

  // The target is a directory: the new file is written but cannot take its
  // place; the temporary is removed and the directory stays.
  ASSERT_TRUE(CreateDirectoryW(wide(path_), nullptr));
  result = store.writeAtomically(path_, "x");
  EXPECT_FALSE(result);
  EXPECT_EQ(result.path, path_);
  EXPECT_FALSE(fileExists(path_ + u".tmp"));
  EXPECT_TRUE(GetFileAttributesW(wide(path_)) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(store.exists(path_));
  EXPECT_FALSE(store.read(path_));
}

TEST_F(SettingsFileWin32Test, ExecutableDirectoryHoldsThisProgram) {
  std::u16string directory = executableDirectory();
  ASSERT_FALSE(directory.empty());
  DWORD attributes = GetFileAttributesW(wide(directory));
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (directory.size() != 3) {
    EXPECT_NE(directory.back(), u'\\');
  }

  EXPECT_EQ(directoryOfModulePath(u"C:\\Vexlo.exe"), u"C:\\");
  EXPECT_EQ(directoryOfModulePath(u"C:\\Tools\\Vexlo.exe"), u"C:\\Tools");
  EXPECT_EQ(shell::settingsPath(directoryOfModulePath(u"C:\\Vexlo.exe")), u"C:\\Vexlo.ini");
  EXPECT_EQ(shell::settingsPath(directoryOfModulePath(u"C:\\Tools\\Vexlo.exe")), u"C:\\Tools\\Vexlo.ini");
}

}  // namespace
}  // namespace vexlo::platform::win32
