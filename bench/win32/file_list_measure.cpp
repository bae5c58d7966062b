// Entering a folder of 10,000 files in the file manager, measured under
// Wine (or Windows) against a bare FindFirstFileW/FindNextFileW enumeration
// of the same folder in the same run:
//   - the whole path of a click on the directory: the folder read, the
//     files matched and sorted, both lists set and their windows filled and
//     painted (median of 15 entries, each after entering another folder);
//   - the parts: the service's listing alone, and listing plus matching and
//     sorting.
// The folder is made (and removed) by the program itself.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/win32/binder.h"
#include "filemanager/file_listing.h"
#include "filemanager/file_manager_panel.h"
#include "filemanager/win32/picture_decoder_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/launcher_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"
#include "timing.h"

namespace {

using namespace vexlo;
using vexlo::bench::Clock;
using vexlo::bench::median;
using vexlo::bench::millisecondsSince;

constexpr int kFiles = 10000;
constexpr int kRounds = 15;

// No balloons and no questions in a measurement.
struct QuietTray : platform::TrayIcon {
  void add(std::u16string_view) override {}
  void showBalloon(std::u16string_view, std::u16string_view) override {}
  void remove() override {}
};
struct PlainCodec : platform::AnsiCodec {
  std::string encode(std::u16string_view text) const override { return std::string(text.begin(), text.end()); }
  std::u16string decode(std::string_view bytes) const override { return {bytes.begin(), bytes.end()}; }
};
struct NoAnswer : platform::InputBox {
  std::u16string ask(std::u16string_view, std::u16string_view, std::u16string_view) override { return {}; }
};

int bareEnumeration(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  int count = 0;
  if (search == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

controls::win32::Binder* activeBinder = nullptr;
LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (activeBinder && activeBinder->handle(message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring parent = std::wstring(temp) + L"vexlo-file-list-" + std::to_wstring(GetTickCount());
  const std::wstring folder = parent + L"\\万个文件";
  CreateDirectoryW(parent.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    const std::wstring name = folder + L"\\照片 " + std::to_wstring(i * 7919 % kFiles) + (i % 3 ? L".jpg" : L".TXT");
    CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  for (int i = 0; i < 20; ++i) CreateDirectoryW((folder + L"\\目录" + std::to_wstring(i)).c_str(), nullptr);

  WNDCLASSW wc = {};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VexloFileListMeasure";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"measure", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 400,
                              nullptr, nullptr, wc.hInstance, nullptr);
  platform::win32::FileSystemWin32 fileSystem;
  NoAnswer inputBox;
  filemanager::win32::PictureDecoderWin32 pictures;
  filemanager::FileManagerServices services{fileSystem, inputBox, pictures};
  platform::win32::LauncherWin32 launcher;
  platform::win32::ScreenWin32 screen;
  screen.setWindow(hwnd);
  QuietTray tray;
  PlainCodec codec;
  common::StatusLine status(tray, codec);
  controls::Window window("Form1", {0, 0, 5205, 4695});
  controls::Frame frame("W(3)", {120, 120, 4935, 3615}, u"文件·管理");
  window.add(frame);
  filemanager::FileManagerPanel panel(
      frame, {services, launcher, screen, status, {[] {}, [] {}, [] { return true; }, {}, {}, {}}},
      platform::win32::fromWide(parent));
  controls::win32::Binder binder(hwnd, window);
  activeBinder = &binder;
  binder.create();
  panel.showing();

  const std::u16string big = platform::win32::fromWide(folder);
  const std::u16string small = platform::win32::fromWide(parent);
  std::vector<double> bare, listing, sorted, entering;
  int enumerated = 0;
  std::size_t shown = 0;
  for (int round = 0; round <= kRounds; ++round) {
    Clock::time_point start = Clock::now();
    enumerated = bareEnumeration(folder);
    const double bareTime = millisecondsSince(start);

    start = Clock::now();
    const platform::Listing read = fileSystem.list(big);
    const double listingTime = millisecondsSince(start);
    start = Clock::now();
    const std::size_t matched = filemanager::filesMatching(read.entries, u"*.*").size();
    const double sortingTime = millisecondsSince(start);

    panel.restoreDirectory(small);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    start = Clock::now();
    panel.restoreDirectory(big);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    const double enteringTime = millisecondsSince(start);
    shown = static_cast<std::size_t>(SendMessageW(binder.handleOf(panel.fileList), LB_GETCOUNT, 0, 0));
    if (round == 0 || matched != static_cast<std::size_t>(kFiles)) continue;  // the first round warms the caches
    bare.push_back(bareTime);
    listing.push_back(listingTime);
    sorted.push_back(listingTime + sortingTime);
    entering.push_back(enteringTime);
  }

  std::printf("folder of %d files and 20 directories (%d entries enumerated, %zu files in the list window)\n", kFiles,
              enumerated, shown);
  std::printf("bare FindFirstFileW/FindNextFileW, median of %d: %.2f ms\n", kRounds, median(bare));
  std::printf("the service's listing alone:                 %.2f ms = %.2f x bare\n", median(listing),
              median(listing) / median(bare));
  std::printf("listing, matching and sorting:               %.2f ms = %.2f x bare\n", median(sorted),
              median(sorted) / median(bare));
  std::printf("entering the folder until the lists are filled and painted: %.2f ms = %.2f x bare\n", median(entering),
              median(entering) / median(bare));
  std::fflush(stdout);

  activeBinder = nullptr;
  DestroyWindow(hwnd);
  for (int i = 0; i < 20; ++i) RemoveDirectoryW((folder + L"\\目录" + std::to_wstring(i)).c_str());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
  RemoveDirectoryW(parent.c_str());
  return shown == static_cast<std::size_t>(kFiles) ? 0 : 1;
}
