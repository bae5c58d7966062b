// The live preview of the real Vexlo.exe: switched on with its button, it
// follows the typing in a window docked under the main window, shows the
// reply's colour, and copies the reply as rich text in three formats.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr wchar_t kPreviewClass[] = L"VexloPreview";

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

}  // namespace
}  // namespace vexlo::e2e::formatter
