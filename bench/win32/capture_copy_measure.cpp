// The capture's copy and PNG save of a 1280 x 800 picture measured under
// Wine (or Windows), each against the platform doing the same alone in the
// same run (medians of 31, taken in alternation):
//   - copy: the program's picture clipboard against a prepared CF_DIB put
//     on the clipboard (open, empty, allocate, copy, set, close);
//   - the PNG a program asks for afterwards, rendered on request, and the
//     copy of the picture the clipboard keeps when the next capture
//     replaces it;
//   - PNG save: the program's encoder and whole-or-nothing write against
//     GDI+ saving the same bitmap to a file, GDI+ already started.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "capture/bmp_file.h"
#include "capture/win32/image_encoder_win32.h"
#include "capture/win32/picture_clipboard_win32.h"
#include "platform/win32/file_store_win32.h"
#include "timing.h"

namespace {

using namespace vexlo;
using vexlo::bench::Clock;
using vexlo::bench::median;
using vexlo::bench::millisecondsSince;

constexpr int kWidth = 1280, kHeight = 800, kRuns = 31;

// A desktop-like picture: flat areas, gradients and edges, so that the PNG
// compresses as a real screen does rather than as one colour.
common::Bitmap screenLike() {
  common::Bitmap picture = common::Bitmap::filled(kWidth, kHeight, 0xF0F0F0);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (y < 40) picture.setColourAt(x, y, static_cast<controls::Colour>(0x402000 + x / 10));
      if (x > 200 && x < 900 && y > 100 && y < 600 && (x / 7 + y / 13) % 5 == 0) picture.setColourAt(x, y, 0x202020);
      if (x > 950 && y > 300) picture.setColourAt(x, y, static_cast<controls::Colour>((x * 3) % 256 | (y % 256) << 8));
    }
  return picture;
}

double bareClipboardDib(HWND owner, const std::string& dib) {
  const Clock::time_point start = Clock::now();
  OpenClipboard(owner);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(memory), dib.data(), dib.size());
  GlobalUnlock(memory);
  SetClipboardData(CF_DIB, memory);
  CloseClipboard();
  return millisecondsSince(start);
}

double renderPngOnRequest() {
  const Clock::time_point start = Clock::now();
  OpenClipboard(nullptr);
  const bool rendered = GetClipboardData(capture::win32::PictureClipboardWin32::pngFormat()) != nullptr;
  CloseClipboard();
  return rendered ? millisecondsSince(start) : -1;
}

double bareGdiplusSave(const common::Bitmap& picture, const std::wstring& path) {
  const CLSID png = capture::win32::encoderClsid(capture::ImageFormat::Png);
  const Clock::time_point start = Clock::now();
  Gdiplus::GpBitmap* image = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromScan0(
      picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
      reinterpret_cast<BYTE*>(const_cast<common::DevicePixel*>(picture.pixels.data())), &image);
  Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &png, nullptr);
  Gdiplus::DllExports::GdipDisposeImage(image);
  return millisecondsSince(start);
}

double programPngSave(capture::ImageEncoder& encoder, platform::FileStore& files, const common::Bitmap& picture,
                      const std::u16string& path) {
  const Clock::time_point start = Clock::now();
  const capture::EncodedImage png = encoder.encode(picture, capture::ImageFormat::Png, 0);
  if (png.status == 0) files.writeAtomically(path, png.bytes);
  return millisecondsSince(start);
}

}  // namespace

int main() {
  const common::Bitmap picture = screenLike();
  std::string dib(capture::dibSize(picture), '\0');
  capture::writeDib(picture, reinterpret_cast<unsigned char*>(dib.data()));
  HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

  capture::win32::ImageEncoderWin32 encoder;
  capture::win32::PictureClipboardWin32 clipboard(encoder);
  std::vector<double> bareCopies, copies, renders, keeps;
  for (int i = 0; i < kRuns; ++i) {
    bareCopies.push_back(bareClipboardDib(owner, dib));
    const Clock::time_point start = Clock::now();
    const bool placed = clipboard.place(picture) == capture::ClipboardResult::Placed;
    copies.push_back(placed ? millisecondsSince(start) : -1);
    renders.push_back(renderPngOnRequest());
    bareClipboardDib(owner, dib);  // another program's copy, so that each keep is a fresh one
    clipboard.place(picture);
    const Clock::time_point keep = Clock::now();
    clipboard.pictureChanging();
    keeps.push_back(millisecondsSince(keep));
  }

  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring bare = std::wstring(folder) + L"vexlo-measure-bare.png";
  const std::wstring saved = std::wstring(folder) + L"vexlo-measure-saved.png";
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  platform::win32::FileStoreWin32 files;
  std::vector<double> bareSaves, saves;
  for (int i = 0; i < kRuns; ++i) {
    bareSaves.push_back(bareGdiplusSave(picture, bare));
    saves.push_back(programPngSave(encoder, files, picture, std::u16string(saved.begin(), saved.end())));
  }
  Gdiplus::GdiplusShutdown(token);
  WIN32_FILE_ATTRIBUTE_DATA savedFile = {};
  GetFileAttributesExW(saved.c_str(), GetFileExInfoStandard, &savedFile);
  DeleteFileW(bare.c_str());
  DeleteFileW(saved.c_str());
  DestroyWindow(owner);

  std::printf("picture %d x %d, CF_DIB %zu bytes, PNG %lu bytes\n", kWidth, kHeight, dib.size(),
              savedFile.nFileSizeLow);
  std::printf("copy to the clipboard, median of %d: %.2f ms = %.2f x a prepared CF_DIB put there alone (%.2f ms)\n",
              kRuns, median(copies), median(copies) / median(bareCopies), median(bareCopies));
  std::printf("  the PNG rendered when a program asks for it, median of %d: %.2f ms\n", kRuns, median(renders));
  std::printf("  the picture kept when the next capture replaces it, median of %d: %.2f ms\n", kRuns, median(keeps));
  std::printf("PNG save, median of %d: %.2f ms = %.2f x GDI+ saving the same bitmap alone (%.2f ms)\n", kRuns,
              median(saves), median(saves) / median(bareSaves), median(bareSaves));
  std::fflush(stdout);
  return 0;
}
