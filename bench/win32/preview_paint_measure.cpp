// The preview's repaint of a 2,000-character rainbow reply measured under
// Wine (or Windows) against a plain DrawText of the same characters in the
// same font into the same window (medians of 31, taken in alternation).
// The preview is the real window and layout, docked under an owner window
// as the main window has it; each repaint is forced and waited for.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "formatter/preview_layout.h"
#include "formatter/styled_text.h"
#include "formatter/win32/gdi_text_measurer.h"
#include "formatter/win32/preview_window_win32.h"
#include "timing.h"

namespace {

using namespace vexlo::formatter;
using vexlo::bench::Clock;
using vexlo::bench::median;
using vexlo::bench::millisecondsSince;

constexpr std::size_t kCharacters = 2000;
constexpr int kRuns = 31;

// A reply as users type them: Chinese with some Latin words and spaces, so
// that both the layout and DrawText find places to break lines.
std::u16string replyText() {
  const std::u16string phrase = u"彩虹预览测试 rainbow 回复内容，";
  std::u16string text;
  while (text.size() < kCharacters) text += phrase;
  text.resize(kCharacters);
  return text;
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double repaintPreview(HWND area) {
  const Clock::time_point start = Clock::now();
  InvalidateRect(area, nullptr, FALSE);
  UpdateWindow(area);
  GdiFlush();
  return millisecondsSince(start);
}

double plainDrawText(HWND area, HFONT font, const std::u16string& text) {
  const Clock::time_point start = Clock::now();
  HDC dc = GetDC(area);
  RECT client;
  GetClientRect(area, &client);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &client,
            DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(area, dc);
  GdiFlush();
  return millisecondsSince(start);
}

}  // namespace

int main() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ownerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"VexloMeasureOwner";
  RegisterClassW(&wc);
  // The main window's size at 96 DPI.
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 40, 40, 640, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
  ShowWindow(owner, SW_SHOWNOACTIVATE);
  pumpMessages();

  MarkupOptions options;
  options.mode = ColourMode::Rainbow;
  const std::u16string text = replyText();
  SplitMixRandom random;
  random.reseed(69);
  PreviewContent content;
  buildStyledReply(content.reply, options, text, GradientTable(), u"", random);

  win32::PreviewWindowWin32 preview(owner);
  preview.update(content);
  preview.show();
  pumpMessages();
  HWND window = FindWindowW(win32::kPreviewWindowClass, nullptr);
  HWND area = window ? FindWindowExW(window, nullptr, win32::kPreviewAreaClass, nullptr) : nullptr;
  if (!area) {
    std::printf("no preview window\n");
    return 1;
  }

  // The font the preview draws the runs in, made the way it makes it.
  RECT client;
  GetClientRect(area, &client);
  win32::GdiTextMeasurer measurer;
  const PreviewLayout layout = layoutPreview(content.reply, client.right, 96, measurer);
  HFONT font = measurer.handle(layout.fonts.at(layout.pieces.at(0).font));

  std::vector<double> previews, plains;
  for (int i = 0; i < kRuns + 2; ++i) {
    const double p = repaintPreview(area);
    const double d = plainDrawText(area, font, text);
    pumpMessages();
    if (i < 2) continue;  // warm-up: fonts and glyphs cached
    previews.push_back(p);
    plains.push_back(d);
  }
  std::printf("reply: %zu characters, rainbow, %zu runs, %zu pieces, %zu fonts; area %ld x %ld, content %d px high\n",
              text.size(), content.reply.runs.size(), layout.pieces.size(), layout.fonts.size(), client.right,
              client.bottom, layout.height);
  std::printf("preview repaint, median of %d: %.3f ms = %.2f x a plain DrawText of the same text (%.3f ms)\n", kRuns,
              median(previews), median(previews) / median(plains), median(plains));
  std::fflush(stdout);
  DestroyWindow(owner);
  return 0;
}
