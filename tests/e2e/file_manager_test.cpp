// The file manager of the real Vexlo.exe, used as a user does: a folder of
// pictures browsed, previewed and stepped through, a new directory, a file
// renamed through the input box, copied and pasted, everything confirmed
// on disk and the directory kept in the settings file; and a folder whose
// names lie outside code page 936 and a path beyond 260 characters.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr wchar_t kFileManager[] = L"文件·管理";

bool hasStrings(HWND list) { return (GetWindowLongW(list, GWL_STYLE) & LBS_HASSTRINGS) != 0; }

// A 24-bit BMP of one colour.
std::string solidBmp(int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride * height);
  std::string b = "BM";
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
  };
  put(size, 4), put(0, 4), put(54, 4), put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2);
  put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      b += {static_cast<char>(GetBValue(colour)), static_cast<char>(GetGValue(colour)),
            static_cast<char>(GetRValue(colour))};
    b.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return b;
}

bool exists(const std::wstring& path) {
  const std::wstring extended = path.size() >= MAX_PATH - 12 ? L"\\\\?\\" + path : path;
  return GetFileAttributesW(extended.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool makeDirectory(const std::wstring& path) {
  const std::wstring extended = path.size() >= MAX_PATH - 12 ? L"\\\\?\\" + path : path;
  return CreateDirectoryW(extended.c_str(), nullptr) != FALSE;
}

bool writeLongFile(const std::wstring& path, std::string_view bytes) {
  return writeFileBytes(path.size() >= MAX_PATH - 12 ? L"\\\\?\\" + path : path, bytes);
}

std::string describe(COLORREF c) {
  char text[32];
  std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

// The colour is mostly the given primary (red, green or blue).
bool looksLike(COLORREF c, COLORREF primary) {
  const int channels[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
  const int wanted[3] = {GetRValue(primary), GetGValue(primary), GetBValue(primary)};
  for (int i = 0; i < 3; ++i)
    if ((wanted[i] > 0) != (channels[i] > 0xA0) || (wanted[i] == 0 && channels[i] > 0x50)) return false;
  return true;
}

class FileManager : public ::testing::Test {
 protected:
  // The settings file names the folder the panel starts in.
  bool startIn(const std::wstring& folder) {
    const std::wstring settings = L"[Quenby_Sarn]\r\nPath=" + folder + L"\r\n";
    if (!writeFileBytes(vexlo_.folder().file(L"Vexlo.ini"), toCodePage(settings, 936))) return false;
    if (!vexlo_.start()) return false;
    HWND selector = vexlo_.control(L"Button", kFileManager, [](HWND w) { return !isGroupBox(w); });
    // The panel's window is made when it first shows.
    if (!selector || !clickOn(selector)) return false;
    if (!waitUntil([&] { return (panel_ = vexlo_.control(L"Button", kFileManager, isGroupBox)) && isVisible(panel_); },
                   3s))
      return false;
    for (HWND list : descendants(panel_, L"ListBox")) (isOutlineList(list) ? directories_ : files_) = list;
    return directories_ && files_;
  }
  HWND button(const wchar_t* text) { return findDescendant(panel_, L"Button", text); }
  bool press(const wchar_t* text) {
    HWND b = nullptr;
    return waitUntil([&] { return (b = button(text)) && isVisible(b); }, 3s) && clickOn(b);
  }
  // The path label: the panel's label that holds a path.
  std::wstring pathLabel() {
    for (HWND label : descendants(panel_, L"Static"))
      if (textOf(label).find(L":\\") == 1) return textOf(label);
    return {};
  }
  bool pathLabelIs(const std::wstring& path) {
    return waitUntil([&] { return pathLabel() == path; }, 5s);
  }
  bool clickFile(const std::wstring& name) {
    const std::vector<std::wstring> items = listItems(files_);
    const auto found = std::find(items.begin(), items.end(), name);
    return found != items.end() && clickListItem(files_, static_cast<int>(found - items.begin()));
  }
  bool enterDirectory(const std::wstring& name, const std::wstring& path) {
    const std::vector<std::wstring> items = listItems(directories_);
    const auto found = std::find(items.begin(), items.end(), name);
    if (found == items.end()) {
      ADD_FAILURE() << "no directory " << toUtf8(name) << " in the list";
      return false;
    }
    // Apart from the last click by more than a double click's time: the
    // list ignores the second click of a double click.
    Sleep(GetDoubleClickTime() + 50);
    if (clickListEntry(directories_, static_cast<int>(found - items.begin())) && pathLabelIs(path + L"\\")) return true;
    ADD_FAILURE() << "entering " << toUtf8(name) << " shows " << toUtf8(pathLabel());
    return false;
  }
  bool filesAre(const std::vector<std::wstring>& names) {
    return waitUntil([&] { return listItems(files_) == names; }, 5s);
  }
  // The name box: the prompt checked, the answer typed, OK pressed.
  void answerNameBox(const wchar_t* title, const wchar_t* request, const std::wstring& offered,
                     const std::wstring& answer, const wchar_t* screenshot = nullptr) {
    HWND box = waitForMessageBox(vexlo_.process().id(), title, 5s);
    ASSERT_NE(box, nullptr) << "no input box " << toUtf8(title);
    if (screenshot) {
      Sleep(500);  // painted
      saveScreenshot(screenshot);
    }
    const std::wstring prompt = textOf(GetDlgItem(box, 100));
    EXPECT_NE(prompt.find(L"\r\n\r\n          \\ / : * ? \" < > |\r\n\r\n\r\n"), std::wstring::npos) << toUtf8(prompt);
    EXPECT_TRUE(prompt.ends_with(request)) << toUtf8(prompt);
    HWND edit = GetDlgItem(box, 101);
    EXPECT_EQ(textOf(edit), offered);
    ASSERT_TRUE(setText(edit, answer));
    EXPECT_TRUE(pressMessageBoxButton(box, IDOK));
    // Expanding after the box ends with the pointer moved and a click over
    // the panel (on the path label): a click of the test's own in between
    // would land there instead.
    const POINT expandClick{screenSize().cx / 2 + 96, 113};  // 1440 and 1695 twips at 96 DPI
    EXPECT_TRUE(waitUntil(
        [&] {
          POINT at{};
          return GetCursorPos(&at) && at.x == expandClick.x && at.y == expandClick.y;
        },
        5s))
        << "the window did not expand after the box";
    Sleep(300);
  }
  // The middle of the preview picture on the screen.
  COLORREF previewColour() {
    for (HWND box : descendants(panel_, L"Static")) {
      const RECT r = windowRect(box);
      if (isVisible(box) && widthOf(r) > 150 && heightOf(r) > 120 && textOf(box).empty())
        return screenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    return CLR_INVALID;  // no preview shows
  }
  bool previewShows(COLORREF primary) {
    return waitUntil([&] { return looksLike(previewColour(), primary); }, 5s);
  }

  VexloInstance vexlo_;
  HWND panel_ = nullptr;
  HWND directories_ = nullptr;
  HWND files_ = nullptr;
};

TEST_F(FileManager, PicturesArePreviewedSteppedRenamedCopiedIntoANewDirectoryAndTheFolderIsKept) {
  const std::wstring pictures = vexlo_.folder().file(L"照片");
  ASSERT_TRUE(makeDirectory(pictures));
  ASSERT_TRUE(writeFileBytes(pictures + L"\\red.bmp", solidBmp(40, 30, RGB(255, 0, 0))));
  ASSERT_TRUE(writeFileBytes(pictures + L"\\green.bmp", solidBmp(40, 30, RGB(0, 255, 0))));
  ASSERT_TRUE(writeFileBytes(pictures + L"\\blue.bmp", solidBmp(40, 30, RGB(0, 0, 255))));
  ASSERT_TRUE(writeFileBytes(pictures + L"\\notes.txt", "notes"));
  ASSERT_TRUE(startIn(pictures));
  EXPECT_TRUE(hasStrings(directories_)) << "the outline list keeps no strings for screen readers";
  ASSERT_TRUE(filesAre({L"blue.bmp", L"green.bmp", L"notes.txt", L"red.bmp"}));
  ASSERT_TRUE(pathLabelIs(pictures + L"\\"));

  // A new directory, entered at once; then back up with one click.
  ASSERT_TRUE(press(L"新建目录"));
  answerNameBox(L"新建目录", L"请输入新建的目录名:", L"", L"新目录");
  ASSERT_TRUE(pathLabelIs(pictures + L"\\新目录\\"));
  EXPECT_TRUE(exists(pictures + L"\\新目录"));
  ASSERT_TRUE(enterDirectory(L"照片", pictures));

  // Preview, next (wrapping to the first) and previous (wrapping back).
  ASSERT_TRUE(clickFile(L"red.bmp"));
  ASSERT_TRUE(pathLabelIs(pictures + L"\\red.bmp"));
  ASSERT_TRUE(press(L"预览"));
  ASSERT_TRUE(filesAre({L"blue.bmp", L"green.bmp", L"red.bmp"}));
  EXPECT_TRUE(previewShows(RGB(255, 0, 0))) << describe(previewColour());
  saveScreenshot(L"filemanager-preview.bmp");
  ASSERT_TRUE(press(L"6"));
  EXPECT_TRUE(previewShows(RGB(0, 0, 255))) << describe(previewColour());
  ASSERT_TRUE(press(L"5"));
  EXPECT_TRUE(previewShows(RGB(255, 0, 0))) << describe(previewColour());
  ASSERT_TRUE(press(L"5"));
  EXPECT_TRUE(previewShows(RGB(0, 255, 0))) << describe(previewColour());
  ASSERT_TRUE(press(L"返回"));
  ASSERT_TRUE(filesAre({L"blue.bmp", L"green.bmp", L"notes.txt", L"red.bmp"}));
  EXPECT_EQ(listSelection(files_), 1);  // green.bmp stays chosen

  // Rename through the input box: the name without its extension offered.
  ASSERT_TRUE(clickFile(L"red.bmp"));
  ASSERT_TRUE(press(L"重命名"));
  answerNameBox(L"重命名 - 文件", L"请输入新的文件名:", L"red", L"深红", L"filemanager-name-box.bmp");
  ASSERT_TRUE(pathLabelIs(pictures + L"\\深红.bmp"));
  EXPECT_TRUE(exists(pictures + L"\\深红.bmp"));
  EXPECT_FALSE(exists(pictures + L"\\red.bmp"));

  // Copy, enter the new directory, paste.
  ASSERT_TRUE(press(L"复制"));
  ASSERT_TRUE(enterDirectory(L"新目录", pictures + L"\\新目录"));
  ASSERT_TRUE(press(L"粘贴"));
  EXPECT_TRUE(filesAre({L"深红.bmp"}));
  EXPECT_TRUE(exists(pictures + L"\\新目录\\深红.bmp"));
  EXPECT_TRUE(exists(pictures + L"\\深红.bmp"));
  Sleep(1000);
  saveScreenshot(L"filemanager-pasted.bmp");

  // Leaving keeps the directory in the settings file.
  ASSERT_TRUE(clickOn(vexlo_.control(L"Static", L"退出")));
  ASSERT_TRUE(vexlo_.process().waitForExit(10s));
  const std::optional<std::string> saved = readFileBytes(vexlo_.folder().file(L"Vexlo.ini"));
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find(toCodePage(L"Path=" + pictures + L"\\新目录\r\n", 936)), std::string::npos) << *saved;
}

TEST_F(FileManager, NamesOutsideTheCodePageAndPathsBeyond260CharactersAreBrowsed) {
  const std::wstring root = vexlo_.folder().file(L"长路径");
  const std::wstring unicode = root + L"\\한글😀";
  ASSERT_TRUE(makeDirectory(root));
  ASSERT_TRUE(makeDirectory(unicode));
  ASSERT_TRUE(writeFileBytes(unicode + L"\\그림😀.bmp", solidBmp(20, 20, RGB(0, 0, 255))));
  std::vector<std::wstring> chain;
  std::wstring deep = root;
  while (deep.size() <= 270) {
    chain.push_back(std::wstring(36, L'd') + std::to_wstring(chain.size()));
    deep += L"\\" + chain.back();
    ASSERT_TRUE(makeDirectory(deep)) << deep.size();
  }
  ASSERT_TRUE(writeLongFile(deep + L"\\深处.txt", "deep"));
  ASSERT_TRUE(startIn(root));

  ASSERT_TRUE(enterDirectory(L"한글😀", unicode));
  ASSERT_TRUE(filesAre({L"그림😀.bmp"}));
  ASSERT_TRUE(clickFile(L"그림😀.bmp"));
  ASSERT_TRUE(pathLabelIs(unicode + L"\\그림😀.bmp"));
  ASSERT_TRUE(press(L"预览"));
  EXPECT_TRUE(previewShows(RGB(0, 0, 255))) << describe(previewColour());
  saveScreenshot(L"filemanager-unicode.bmp");
  ASSERT_TRUE(press(L"返回"));

  ASSERT_TRUE(enterDirectory(L"长路径", root));
  std::wstring path = root;
  for (const std::wstring& name : chain) ASSERT_TRUE(enterDirectory(name, path += L"\\" + name));
  ASSERT_TRUE(filesAre({L"深处.txt"}));
  ASSERT_TRUE(clickFile(L"深处.txt"));
  ASSERT_TRUE(pathLabelIs(deep + L"\\深处.txt"));
  EXPECT_GT(pathLabel().size(), 260u);
  ASSERT_TRUE(press(L"重命名"));
  answerNameBox(L"重命名 - 文件", L"请输入新的文件名:", L"深处", L"更深");
  EXPECT_TRUE(waitUntil([&] { return exists(deep + L"\\更深.txt"); }, 5s));
  EXPECT_TRUE(filesAre({L"更深.txt"}));
  Sleep(1000);  // the window expanded again after the box: let it paint
  saveScreenshot(L"filemanager-long-path.bmp");
}

}  // namespace
}  // namespace vexlo::e2e::formatter
