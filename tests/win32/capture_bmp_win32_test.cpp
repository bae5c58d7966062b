// The program's own BMP writer read back by the system's loader: the
// written file is one Windows understands, pixel for pixel, and it is
// written whole or not at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "capture/bmp_file.h"
#include "platform/win32/file_store_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::capture::win32 {
namespace {

using platform::win32::wide;

struct CaptureBmpWin32Test : ::testing::Test {
  std::u16string folder;
  platform::win32::FileStoreWin32 files;

  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder = reinterpret_cast<const char16_t*>(temp);
    folder += u"vexlo-capture-" + std::u16string(1, static_cast<char16_t>(u'a' + GetTickCount() % 26)) +
              reinterpret_cast<const char16_t*>(std::to_wstring(GetCurrentProcessId()).c_str());
    CreateDirectoryW(wide(folder), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + u"\\*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::u16string name = reinterpret_cast<const char16_t*>(found.cFileName);
        if (name != u"." && name != u"..") DeleteFileW(wide(folder + u"\\" + name));
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(wide(folder));
  }

  // Each pixel a different colour: red from x, green from y, blue fixed.
  static common::Bitmap pattern(int width, int height) {
    common::Bitmap picture = common::Bitmap::filled(width, height, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        picture.setColourAt(
            x, y,
            static_cast<controls::Colour>(x * 50 + 5) | static_cast<controls::Colour>(y * 60 + 7) << 8 | 0x990000u);
    return picture;
  }
};

TEST_F(CaptureBmpWin32Test, SystemLoaderReadsTheWrittenPixels) {
  struct Size {
    int width, height;
  };
  for (Size size : {Size{1, 1}, Size{1, 3}, Size{2, 2}, Size{3, 2}, Size{5, 4}}) {
    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
    const common::Bitmap picture = pattern(size.width, size.height);
    const std::u16string path =
        folder + u"\\截图 " + reinterpret_cast<const char16_t*>(std::to_wstring(size.width).c_str()) + u".bmp";
    ASSERT_TRUE(files.writeAtomically(path, encodeBmp(picture)));
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageW(nullptr, wide(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    BITMAP info = {};
    GetObjectW(loaded, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, size.width);
    EXPECT_EQ(info.bmHeight, size.height);
    EXPECT_EQ(info.bmBitsPixel, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, loaded);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) EXPECT_EQ(GetPixel(dc, x, y), picture.colourAt(x, y)) << x << "," << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(loaded);
  }
}

TEST_F(CaptureBmpWin32Test, AFileIsReplacedWholeOrLeftAlone) {
  const std::u16string path = folder + u"\\shot.bmp";
  ASSERT_TRUE(files.writeAtomically(path, "old"));
  ASSERT_TRUE(files.writeAtomically(path, encodeBmp(pattern(3, 3))));
  EXPECT_EQ(files.read(path), encodeBmp(pattern(3, 3)));

  const platform::WriteResult failed =
      files.writeAtomically(folder + u"\\no such folder\\shot.bmp", encodeBmp(pattern(3, 3)));
  EXPECT_FALSE(failed.ok);
  EXPECT_FALSE(failed.message.empty());  // the system's words for the user
  EXPECT_FALSE(files.exists(folder + u"\\no such folder\\shot.bmp"));
}

}  // namespace
}  // namespace vexlo::capture::win32
