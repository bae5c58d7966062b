// Icons read from real files under Wine: wide paths, files without icons,
// and handles that are released exactly once.
#include "platform/win32/icon_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "live_icon.h"

namespace vexlo::platform::win32 {
namespace {

const std::u16string kProgram = u"C:\\windows\\system32\\notepad.exe";

using win32_tests::isLiveIcon;

// A folder of its own in the temporary folder, removed with what it holds.
struct ScratchFolder {
  std::u16string path;
  explicit ScratchFolder(const std::u16string& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path = reinterpret_cast<const char16_t*>(temp) + name;
    CreateDirectoryW(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr);
  }
  ~ScratchFolder() {
    for (const std::u16string& file : files) DeleteFileW(reinterpret_cast<const wchar_t*>(file.c_str()));
    RemoveDirectoryW(reinterpret_cast<const wchar_t*>(path.c_str()));
  }
  std::u16string file(const std::u16string& name) { return files.emplace_back(path + u"\\" + name); }
  std::vector<std::u16string> files;
};

TEST(IconWin32, AProgramGivesItsIconEvenUnderANameOutsideTheAnsiCodePage) {
  ScratchFolder folder(u"图标😀ก");
  const std::u16string copy = folder.file(u"记事本😀ก.exe");
  ASSERT_TRUE(CopyFileW(reinterpret_cast<const wchar_t*>(kProgram.c_str()),
                        reinterpret_cast<const wchar_t*>(copy.c_str()), FALSE));
  for (const std::u16string& path : {kProgram, copy}) {
    OwnedIcon icon = extractFirstIcon(path);
    ASSERT_TRUE(icon) << "no icon read from a program";
    EXPECT_TRUE(isLiveIcon(icon.get()));
  }
}

TEST(IconWin32, FilesWithoutAnIconGiveNone) {
  ScratchFolder folder(u"vexlo-icons");
  const std::u16string text = folder.file(u"说明.txt");
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(text.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "hello", 5, &written, nullptr);
  CloseHandle(file);

  const std::u16string cases[] = {
      text,
      folder.path + u"\\缺少.exe",
      u"",
      kProgram + std::u16string(1, u'\0') + u".txt",  // a NUL must not cut the name short
  };
  for (const std::u16string& path : cases) EXPECT_FALSE(extractFirstIcon(path)) << path.size();
}

TEST(IconWin32, TheHandleIsReleasedOnceByWhoeverOwnsItLast) {
  OwnedIcon first = extractFirstIcon(kProgram);
  OwnedIcon second = extractFirstIcon(kProgram);
  ASSERT_TRUE(first && second);
  const HICON firstHandle = first.get();
  const HICON secondHandle = second.get();

  OwnedIcon moved = std::move(first);
  EXPECT_FALSE(first);
  EXPECT_EQ(moved.get(), firstHandle);
  EXPECT_TRUE(isLiveIcon(firstHandle)) << "a move released the icon";

  moved = std::move(second);  // the icon held before is released
  EXPECT_FALSE(isLiveIcon(firstHandle));
  EXPECT_TRUE(isLiveIcon(secondHandle));

  moved.reset();
  EXPECT_FALSE(isLiveIcon(secondHandle));
  HICON scopedHandle = nullptr;
  {
    OwnedIcon scoped = extractFirstIcon(kProgram);
    scopedHandle = scoped.get();
    ASSERT_TRUE(isLiveIcon(scopedHandle));
  }
  EXPECT_FALSE(isLiveIcon(scopedHandle));
}

}  // namespace
}  // namespace vexlo::platform::win32
