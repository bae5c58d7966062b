// The file manager's Win32 services over a real temporary folder under
// Wine: listings with hidden files marked (and left out of the file list),
// the shell's copy, move and delete with its questions answered by the
// test, renaming and new directories under names outside the ANSI code
// page and under paths beyond MAX_PATH, preview pictures of every kind
// drawn at the asked size, and the program's own input box.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "capture/bmp_file.h"
#include "capture/win32/image_encoder_win32.h"
#include "filemanager/file_listing.h"
#include "filemanager/win32/picture_decoder_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/input_box_win32.h"
#include "platform/win32/wide.h"
#include "text/characters.h"

namespace vexlo::platform::win32 {
namespace {

const wchar_t* w(const std::u16string& text) { return wide(text); }

void removeTree(const std::u16string& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(extendedPath(path + u"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::u16string name = fromWide(found.cFileName);
      if (name == u"." || name == u"..") continue;
      const std::u16string inner = path + u"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(inner);
      } else {
        SetFileAttributesW(extendedPath(inner).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(extendedPath(inner).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(extendedPath(path).c_str());
}

// A folder of its own in the temporary folder, removed with all it holds.
struct Scratch {
  std::u16string path;
  explicit Scratch(const std::u16string& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path = fromWide(temp) + name + u"-" + fromWide(std::to_wstring(GetTickCount()));
    CreateDirectoryW(w(path), nullptr);
  }
  ~Scratch() { removeTree(path); }
  std::u16string at(const std::u16string& name) const { return path + u"\\" + name; }
};

bool writeFile(const std::u16string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool exists(const std::u16string& path) {
  return GetFileAttributesW(extendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The user at the shell's questions: every dialog this process shows is
// answered "yes" (or OK), and its title kept.
class ShellQuestions {
 public:
  ShellQuestions()
      : thread_([this] {
          while (!stop_) {
            Sleep(50);
            EnumWindows(answer, reinterpret_cast<LPARAM>(this));
          }
        }) {}
  ~ShellQuestions() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::wstring> titles() {
    std::lock_guard lock(mutex_);
    return titles_;
  }

 private:
  static BOOL CALLBACK answer(HWND window, LPARAM self) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (process != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    auto& me = *reinterpret_cast<ShellQuestions*>(self);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    HWND yes = GetDlgItem(window, IDYES);
    if (!yes) yes = GetDlgItem(window, IDOK);
    if (!yes || !IsWindowVisible(yes)) return TRUE;
    {
      std::lock_guard lock(me.mutex_);
      me.titles_.push_back(title);
    }
    SendMessageW(yes, BM_CLICK, 0, 0);
    return TRUE;
  }

  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::vector<std::wstring> titles_;
  std::thread thread_;
};

TEST(FileSystemWin32, ListingMarksHiddenFilesAndTheFileListLeavesThemOut) {
  Scratch folder(u"vexlo-list");
  FileSystemWin32 fs;
  ASSERT_TRUE(writeFile(folder.at(u"b.txt"), "b"));
  ASSERT_TRUE(writeFile(folder.at(u"A.TXT"), "a"));
  ASSERT_TRUE(writeFile(folder.at(u"secret.txt"), "s"));
  ASSERT_TRUE(SetFileAttributesW(w(folder.at(u"secret.txt")), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(fs.createDirectory(folder.at(u"子目录")));
  const Listing listing = fs.list(folder.path);
  ASSERT_TRUE(listing.ok) << vexlo::text::toUtf8(listing.message);
  EXPECT_EQ(listing.entries.size(), 4u);
  EXPECT_EQ(filemanager::filesMatching(listing.entries, u"*.TXT"), (std::vector<std::u16string>{u"A.TXT", u"b.txt"}));
  EXPECT_EQ(filemanager::subdirectoriesOf(listing.entries), (std::vector<std::u16string>{u"子目录"}));
  EXPECT_TRUE(fs.directoryExists(folder.path));
  EXPECT_FALSE(fs.directoryExists(folder.at(u"b.txt")));

  const Listing missing = fs.list(folder.at(u"nowhere"));
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.message.empty());
  bool hasC = false;
  for (const Drive& d : fs.drives()) hasC = hasC || d.root == u"C:\\";
  EXPECT_TRUE(hasC);
}

TEST(FileSystemWin32, RenameAndNewDirectoryTakeNamesOutsideTheCodePageAndReportRefusals) {
  Scratch folder(u"vexlo-rename");
  FileSystemWin32 fs;
  ASSERT_TRUE(writeFile(folder.at(u"notes.txt"), "n"));
  const std::u16string unicode = folder.at(u"한글😀ก.txt");
  EXPECT_TRUE(fs.move(folder.at(u"notes.txt"), unicode));
  EXPECT_TRUE(exists(unicode));
  EXPECT_FALSE(exists(folder.at(u"notes.txt")));
  ASSERT_TRUE(fs.createDirectory(folder.at(u"새 폴더😀")));
  EXPECT_TRUE(fs.directoryExists(folder.at(u"새 폴더😀")));

  ASSERT_TRUE(writeFile(folder.at(u"other.txt"), "o"));
  const Outcome inUse = fs.move(folder.at(u"other.txt"), unicode);
  EXPECT_FALSE(inUse.ok);
  EXPECT_FALSE(inUse.message.empty());
  EXPECT_FALSE(fs.move(folder.at(u"missing.txt"), folder.at(u"x.txt")).ok);
  EXPECT_FALSE(fs.createDirectory(folder.at(u"새 폴더😀")).ok);
}

TEST(FileSystemWin32, TheShellCopiesMovesAndDeletesWithItsQuestionsAnswered) {
  Scratch folder(u"vexlo-shell");
  FileSystemWin32 fs;
  ASSERT_TRUE(writeFile(folder.at(u"photo.bmp"), "p"));
  ASSERT_TRUE(fs.createDirectory(folder.at(u"Target")));
  ASSERT_TRUE(fs.createDirectory(folder.at(u"Full")));
  ASSERT_TRUE(writeFile(folder.at(u"Full\\one.txt"), "1"));
  ASSERT_TRUE(writeFile(folder.at(u"Full\\two.txt"), "2"));
  ShellQuestions user;

  EXPECT_TRUE(fs.shellOperation({kShellCopy, folder.at(u"photo.bmp"), folder.at(u"Target"), 0}));
  EXPECT_TRUE(exists(folder.at(u"Target\\photo.bmp")));
  EXPECT_TRUE(exists(folder.at(u"photo.bmp")));

  ASSERT_TRUE(writeFile(folder.at(u"move.txt"), "m"));
  EXPECT_TRUE(fs.shellOperation({kShellMove, folder.at(u"move.txt"), folder.at(u"Target"), 0}));
  EXPECT_TRUE(exists(folder.at(u"Target\\move.txt")));
  EXPECT_FALSE(exists(folder.at(u"move.txt")));

  // To the recycle bin, after the shell's question.
  EXPECT_TRUE(fs.shellOperation({kShellDelete, folder.at(u"photo.bmp"), u"", kAllowUndo}));
  EXPECT_FALSE(exists(folder.at(u"photo.bmp")));
  // Everything inside a directory; the directory stays.
  EXPECT_TRUE(fs.shellOperation({kShellDelete, folder.at(u"Full\\*.*"), u"", kAllowUndo}));
  EXPECT_TRUE(fs.directoryExists(folder.at(u"Full")));
  EXPECT_FALSE(exists(folder.at(u"Full\\one.txt")) || exists(folder.at(u"Full\\two.txt")));
  // For good, and a whole directory.
  EXPECT_TRUE(fs.shellOperation({kShellDelete, folder.at(u"Target\\move.txt"), u"", 0}));
  EXPECT_FALSE(exists(folder.at(u"Target\\move.txt")));
  EXPECT_TRUE(fs.shellOperation({kShellDelete, folder.at(u"Target"), u"", kAllowUndo}));
  EXPECT_FALSE(exists(folder.at(u"Target")));
  EXPECT_GE(user.titles().size(), 3u) << "the shell asked nothing before deleting";
}

TEST(FileSystemWin32, PathsBeyondMaxPathAreListedRenamedAndCopied) {
  Scratch folder(u"vexlo-long");
  FileSystemWin32 fs;
  std::u16string deep = folder.path;
  while (deep.size() < 300) {
    deep += u"\\" + std::u16string(40, u'd') + u"深";
    ASSERT_TRUE(fs.createDirectory(deep)) << deep.size();
  }
  ASSERT_TRUE(writeFile(deep + u"\\long.txt", "l"));
  const Listing listing = fs.list(deep);
  ASSERT_TRUE(listing.ok) << vexlo::text::toUtf8(listing.message);
  EXPECT_EQ(filemanager::filesMatching(listing.entries, u"*.*"), (std::vector<std::u16string>{u"long.txt"}));
  EXPECT_TRUE(fs.move(deep + u"\\long.txt", deep + u"\\renamed.txt"));
  EXPECT_TRUE(exists(deep + u"\\renamed.txt"));
  const Outcome copied = fs.shellOperation({kShellCopy, deep + u"\\renamed.txt", folder.path, 0});
  ASSERT_TRUE(copied.ok) << vexlo::text::toUtf8(copied.message);
  EXPECT_TRUE(exists(folder.at(u"renamed.txt")));
}

common::Bitmap solid(int width, int height, controls::Colour colour) {
  return common::Bitmap::filled(width, height, colour);
}

// An icon or cursor file of one colour, 4 x 4 pixels at 32 bits.
std::string iconFile(bool cursor, std::uint32_t devicePixel) {
  std::string bytes;
  auto put16 = [&](int v) {
    for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  };
  const int side = 4, imageBytes = 40 + side * side * 4 + side * 4;
  put16(0), put16(cursor ? 2 : 1), put16(1);
  bytes.push_back(side), bytes.push_back(side), bytes.push_back(0), bytes.push_back(0);
  put16(cursor ? 1 : 1), put16(cursor ? 1 : 32), put32(imageBytes), put32(6 + 16);
  put32(40), put32(side), put32(side * 2), put16(1), put16(32), put32(0), put32(0), put32(0), put32(0), put32(0),
      put32(0);
  for (int i = 0; i < side * side; ++i) put32(devicePixel | 0xFF000000u);
  for (int i = 0; i < side; ++i) put32(0);  // the AND mask: every pixel shows
  return bytes;
}

TEST(PictureDecoderWin32, EveryPictureKindIsDrawnAtExactlyTheAskedSize) {
  Scratch folder(u"vexlo-pictures😀");
  const controls::Colour red = 0x0000FF;  // 0x00BBGGRR
  ASSERT_TRUE(writeFile(folder.at(u"red.bmp"), capture::encodeBmp(solid(3, 2, red))));
  capture::win32::ImageEncoderWin32 jpeg;
  const capture::EncodedImage encoded = jpeg.encode(solid(16, 16, red), capture::ImageFormat::Jpeg, 100);
  ASSERT_EQ(encoded.status, 0);
  ASSERT_TRUE(writeFile(folder.at(u"red.jpg"), encoded.bytes));
  ASSERT_TRUE(writeFile(folder.at(u"red.ico"), iconFile(false, 0xFF0000)));
  ASSERT_TRUE(writeFile(folder.at(u"red.cur"), iconFile(true, 0xFF0000)));
  ASSERT_TRUE(writeFile(folder.at(u"broken.gif"), "GIF89a not really"));

  filemanager::win32::PictureDecoderWin32 decoder;
  for (const std::u16string name : {u"red.bmp", u"red.jpg", u"red.ico", u"red.cur"}) {
    const std::optional<common::Bitmap> picture = decoder.decode(folder.at(name), 40, 30);
    ASSERT_TRUE(picture) << vexlo::text::toUtf8(name);
    EXPECT_EQ(picture->width, 40);
    EXPECT_EQ(picture->height, 30);
    // Stretched over the whole box: red in the middle and in the corners.
    for (auto [x, y] : {std::pair{20, 15}, std::pair{1, 1}, std::pair{38, 28}}) {
      const controls::Colour c = picture->colourAt(x, y);
      EXPECT_GT(c & 0xFF, 0xC0u) << vexlo::text::toUtf8(name) << " " << x << "," << y << " " << std::hex << c;
      EXPECT_LT((c >> 16) & 0xFF, 0x40u) << vexlo::text::toUtf8(name) << " " << x << "," << y << " " << std::hex << c;
    }
  }
  EXPECT_FALSE(decoder.decode(folder.at(u"broken.gif"), 40, 30));
  EXPECT_FALSE(decoder.decode(folder.at(u"missing.bmp"), 40, 30));
}

TEST(InputBoxWin32, ShowsTheWholePromptAndReturnsTheAnswerOrNothing) {
  const std::u16string prompt =
      u"注: 文件名中不能包含下列任何字符之一。\r\n\r\n          \\ / : * ? \" < > |\r\n\r\n\r\n请输入新的文件名:";
  for (bool ok : {true, false}) {
    std::wstring shownPrompt, shownDefault;
    std::thread user([&] {
      for (int i = 0; i < 200; ++i) {
        Sleep(50);
        HWND box = FindWindowW(L"#32770", L"重命名 - 文件");
        if (!box || !IsWindowVisible(box)) continue;
        wchar_t text[512] = {};
        GetDlgItemTextW(box, kInputBoxPromptId, text, 512);
        shownPrompt = text;
        GetDlgItemTextW(box, kInputBoxEditId, text, 512);
        shownDefault = text;
        SetDlgItemTextW(box, kInputBoxEditId, L"报告😀");
        SendMessageW(GetDlgItem(box, ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
        return;
      }
    });
    InputBoxWin32 box;
    const std::u16string answer = box.ask(prompt, u"重命名 - 文件", u"notes");
    user.join();
    EXPECT_EQ(fromWide(shownPrompt), prompt);
    EXPECT_EQ(shownDefault, L"notes");
    EXPECT_EQ(answer, ok ? u"报告😀" : u"");
  }
}

}  // namespace
}  // namespace vexlo::platform::win32
