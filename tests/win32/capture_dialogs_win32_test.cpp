// The save dialog's settings and the real dialog answering a new name.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "capture/win32/capture_dialogs_win32.h"
#include "platform/win32/module_path.h"

namespace vexlo::capture::win32 {
namespace {

const SaveRequest kBmp{u"位图文件 (*.BMP)", u"*.BMP", u"保存图片文件..."};

TEST(CaptureDialogsWin32Test, SaveDialogTakesNewNamesInTheProgramsFolder) {
  HWND owner = reinterpret_cast<HWND>(0x1234);
  SaveDialogSetup setup(kBmp, owner, u"C:\\Tools\\Vexlo");
  const OPENFILENAMEW& f = setup.fields();
  EXPECT_EQ(f.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(f.hwndOwner, owner);
  EXPECT_EQ(std::wstring(f.lpstrFilter, 20), std::wstring(L"位图文件 (*.BMP)\0*.BMP\0\0", 20));
  EXPECT_STREQ(f.lpstrTitle, L"保存图片文件...");
  EXPECT_STREQ(f.lpstrInitialDir, L"C:\\Tools\\Vexlo");
  EXPECT_STREQ(f.lpstrFile, L"");  // no name offered
  EXPECT_GE(f.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(f.Flags & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST), static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
  EXPECT_EQ(f.Flags & OFN_FILEMUSTEXIST, 0u);    // a new file is the usual answer
  EXPECT_EQ(f.Flags & OFN_OVERWRITEPROMPT, 0u);  // asked after the extension is added
  EXPECT_EQ(f.lpstrDefExt, nullptr);
}

TEST(CaptureDialogsWin32Test, RealDialogReturnsANewNameTyped) {
  wchar_t temp[MAX_PATH + 1];
  ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
  const std::wstring typed = std::wstring(temp) + L"vexlo-new-shot-" + std::to_wstring(GetTickCount());

  std::atomic<bool> answered = false;
  std::thread user([&] {
    for (int i = 0; i < 200 && !answered; ++i) {
      Sleep(50);
      HWND dialog = FindWindowW(L"#32770", L"保存图片文件...");
      if (!dialog) continue;
      // The file name box: edt1 or, in the newer layout, the combo box cmb13.
      SendMessageW(dialog, CDM_SETCONTROLTEXT, 0x047C, reinterpret_cast<LPARAM>(typed.c_str()));
      SendMessageW(dialog, CDM_SETCONTROLTEXT, 0x0480, reinterpret_cast<LPARAM>(typed.c_str()));
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      answered = true;
    }
  });
  CaptureDialogsWin32 dialogs;
  const std::optional<std::u16string> chosen = dialogs.askSavePath(kBmp);
  answered = true;
  user.join();
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, std::u16string(reinterpret_cast<const char16_t*>(typed.c_str())));
  EXPECT_EQ(GetFileAttributesW(typed.c_str()), INVALID_FILE_ATTRIBUTES);  // asking writes nothing
}

}  // namespace
}  // namespace vexlo::capture::win32
