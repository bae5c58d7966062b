// The live preview of the real Vexlo.exe: switched on with its button, it
// follows the typing in a window docked under the main window, shows the
// reply's colour, and copies the reply as rich text in three formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "at_144_dpi.h"
#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

// The red pixels (the single colour Vexlo starts with) inside a screen rectangle.
int redPixels(const RECT& r) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, widthOf(r), heightOf(r));
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, widthOf(r), heightOf(r), screen, r.left, r.top, SRCCOPY);
  SelectObject(dc, old);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), widthOf(r), -heightOf(r), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<std::size_t>(widthOf(r) * heightOf(r)));
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(heightOf(r)), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  int red = 0;
  for (const RGBQUAD& p : pixels) red += p.rgbRed > 200 && p.rgbGreen < 80 && p.rgbBlue < 80;
  return red;
}

// The clipboard's data in a format as bytes (without the terminating zero).
std::optional<std::string> clipboardBytes(const wchar_t* format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE data = GetClipboardData(RegisterClipboardFormatW(format))) {
    bytes = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

TEST(PreviewE2E, TypedTextShowsDockedUnderTheWindowAndCopiesAsRichText) {
  VexloInstance vexlo;
  ASSERT_TRUE(vexlo.start());
  const FormatterControls ui = FormatterControls::find(vexlo.window());
  ASSERT_TRUE(ui.complete());
  HWND button = vexlo.control(L"Button", L"预览", isOwnerDrawnButton);
  ASSERT_NE(button, nullptr) << "owner-drawn preview button 预览 (YL)";
  EXPECT_TRUE(topLevelWindows(vexlo.process().id(), kPreviewClass).empty()) << "made before it was first shown";

  ASSERT_TRUE(clickOn(button));
  HWND preview = waitForTopLevelWindow(vexlo.process().id(), kPreviewClass, 5s);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(textOf(preview), L"Vexlo 预览");
  EXPECT_EQ(GetWindow(preview, GW_OWNER), vexlo.window());
  EXPECT_TRUE(GetWindowLongW(preview, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
  EXPECT_TRUE(isTopMost(preview));

  ASSERT_TRUE(typeInto(ui.inputBox, L"预览测试 preview"));
  const RECT main = windowRect(vexlo.window());
  const RECT shown = windowRect(preview);
  EXPECT_EQ(shown.left, main.left);
  EXPECT_EQ(widthOf(shown), widthOf(main));
  EXPECT_EQ(shown.top, main.bottom);
  EXPECT_EQ(heightOf(shown), 60) << "one line fits the least height at 96 DPI";
  EXPECT_TRUE(waitUntil([&] { return redPixels(shown) > 40; }, 2s)) << "the typed text in the single colour, red";
  EXPECT_NE(saveScreenshot(L"vexlo-preview.bmp"), L"");

  HWND copy = findDescendant(preview, L"Button", L"复制为富文本");
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(clickOn(copy));
  std::optional<std::string> html, rtf;
  ASSERT_TRUE(waitUntil([&] { return (html = clipboardBytes(L"HTML Format")).has_value(); }, 3s));
  rtf = clipboardBytes(L"Rich Text Format");
  ASSERT_TRUE(rtf.has_value());
  EXPECT_NE(html->find("StartFragment:"), std::string::npos);
  EXPECT_NE(html->find(toUtf8(L"预")), std::string::npos) << *html;
  EXPECT_NE(rtf->find("\\red255\\green0\\blue0"), std::string::npos) << *rtf;
  EXPECT_EQ(clipboardText(), L"预览测试 preview");
  EXPECT_EQ(textOf(ui.inputBox), L"预览测试 preview") << "the preview never changes the input box";
}

// WordPad's rich edit box in a window of the process, once it shows.
HWND wordPadEditor(DWORD processId) {
  for (HWND w : topLevelWindows(processId))
    if (isVisible(w))
      if (HWND edit = firstChild(w, L"RichEdit20W", [](HWND) { return true; })) return edit;
  return nullptr;
}

TEST(PreviewE2E, RichTextPastedIntoWordPadKeepsTheChosenColour) {
  VexloInstance vexlo;
  ASSERT_TRUE(vexlo.start());
  const FormatterControls ui = FormatterControls::find(vexlo.window());
  ASSERT_TRUE(ui.complete());
  ASSERT_TRUE(clickOn(vexlo.control(L"Button", L"预览", isOwnerDrawnButton)));
  HWND preview = waitForTopLevelWindow(vexlo.process().id(), kPreviewClass, 5s);
  ASSERT_NE(preview, nullptr);

  // A swatch other than the starting red, its colour read off the screen.
  ASSERT_TRUE(clickOn(ui.colour(0)));
  ASSERT_TRUE(waitUntil([&] { return isVisible(ui.chooser()); }, 2s)) << "the colour chooser did not open";
  HWND swatch = findSwatch(ui.chooser(), 4, 2);
  ASSERT_NE(swatch, nullptr);
  const POINT at = centreOf(swatch);
  const COLORREF chosen = screenPixel(at.x, at.y);
  ASSERT_NE(chosen, RGB(255, 0, 0));
  ASSERT_TRUE(clickOn(swatch));
  ASSERT_TRUE(clickOn(findDescendant(ui.chooser(), L"Button", L"确定")));
  ASSERT_TRUE(waitUntil([&] { return !isVisible(ui.chooser()); }, 2s)) << "确定 did not close the chooser";

  const std::wstring typed = L"写字板粘贴 paste";
  ASSERT_TRUE(typeInto(ui.inputBox, typed));
  const UINT rtfFormat = RegisterClipboardFormatW(L"Rich Text Format");
  const DWORD beforeCopy = GetClipboardSequenceNumber();
  ASSERT_TRUE(clickOn(findDescendant(preview, L"Button", L"复制为富文本")));
  ASSERT_TRUE(waitUntil(
      [&] { return GetClipboardSequenceNumber() != beforeCopy && clipboardData(rtfFormat).has_value(); }, 3s));

  wchar_t program[MAX_PATH];
  ExpandEnvironmentStringsW(L"%ProgramFiles%\\Windows NT\\Accessories\\wordpad.exe", program, MAX_PATH);
  Process wordPad = Process::start(program, L"", L"");
  ASSERT_TRUE(wordPad.started()) << toUtf8(program);
  HWND editor = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (editor = wordPadEditor(wordPad.id())) != nullptr; }, 10s));
  HWND frame = GetAncestor(editor, GA_ROOT);
  // Beside Vexlo's windows, so that clicks into the editor reach it.
  const SIZE screen = screenSize();
  const RECT main = windowRect(vexlo.window());
  const int left = main.left >= screen.cx / 2 ? 0 : main.right;
  SetWindowPos(frame, HWND_TOP, left, 0, std::min(600L, screen.cx - left), 500, SWP_SHOWWINDOW);
  ASSERT_TRUE(clickToFocus(editor));
  pressKeyWith(VK_CONTROL, 'V');
  EXPECT_TRUE(waitUntil([&] { return textOf(editor).find(typed) != std::wstring::npos; }, 3s))
      << "WordPad holds \"" << toUtf8(textOf(editor)) << "\"";

  // WordPad's own rich text, through its select-all and copy.
  const DWORD beforeWordPadCopy = GetClipboardSequenceNumber();
  pressKeyWith(VK_CONTROL, 'A');
  pressKeyWith(VK_CONTROL, 'C');
  std::optional<std::string> rtf;
  ASSERT_TRUE(waitUntil(
      [&] { return GetClipboardSequenceNumber() != beforeWordPadCopy && (rtf = clipboardData(rtfFormat)).has_value(); },
      3s))
      << "WordPad put no rich text on the clipboard";
  const std::string entry = "\\red" + std::to_string(GetRValue(chosen)) + "\\green" +
                            std::to_string(GetGValue(chosen)) + "\\blue" + std::to_string(GetBValue(chosen));
  const std::size_t table = rtf->find("{\\colortbl");
  ASSERT_NE(table, std::string::npos) << *rtf;
  EXPECT_NE(rtf->find(entry, table), std::string::npos) << entry << " not in " << *rtf;
  EXPECT_NE(rtf->find("paste"), std::string::npos) << *rtf;

  // Closed without saving: "no" to its question about the changed document.
  PostMessageW(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(waitUntil(
      [&] {
        for (HWND box : topLevelWindows(wordPad.id(), L"#32770"))
          if (isVisible(box)) pressMessageBoxButton(box, IDNO);
        return !wordPad.running();
      },
      10s))
      << "WordPad did not close";
}

using PreviewAt144Dpi = VexloAt144Dpi;

// Its least height scales with the DPI, and when the DPI changes under it
// (Wine keeps a process's DPI, so the change is announced alone) it docks
// again under the main window at the main window's new size.
TEST_F(PreviewAt144Dpi, ScalesAndDocksAgainWhenTheDpiChanges) {
  const FormatterControls ui = FormatterControls::find(vexlo_.window());
  ASSERT_TRUE(ui.complete());
  ASSERT_TRUE(clickOn(vexlo_.control(L"Button", L"预览", isOwnerDrawnButton)));
  HWND preview = waitForTopLevelWindow(vexlo_.process().id(), kPreviewClass, 5s);
  ASSERT_NE(preview, nullptr);
  ASSERT_TRUE(typeInto(ui.inputBox, L"预览 144"));
  const auto docked = [&] {
    const RECT main = windowRect(vexlo_.window()), shown = windowRect(preview);
    return shown.left == main.left && widthOf(shown) == widthOf(main) && shown.top == main.bottom;
  };
  EXPECT_TRUE(docked());
  EXPECT_EQ(heightOf(windowRect(preview)), 90) << "60 px at 96 DPI";

  SetWindowPos(preview, nullptr, 5, 400, 300, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_FALSE(docked());
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutW(vexlo_.window(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0, SMTO_NORMAL, 5000, &result));
  EXPECT_TRUE(waitUntil(docked, 2s)) << "preview at " << describe(windowRect(preview)) << ", main window at "
                                     << describe(windowRect(vexlo_.window()));
  EXPECT_EQ(heightOf(windowRect(preview)), 90);
}

}  // namespace
}  // namespace vexlo::e2e::formatter
