// The captured picture on the real clipboard: read back as CF_DIB (24
// bits, bottom-up, every pixel) and as the registered format "PNG" (which
// decodes to every pixel), also after the clipboard's owner has gone, and
// refused untouched while another program holds the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "capture/bmp_file.h"
#include "capture/win32/image_encoder_win32.h"
#include "capture/win32/picture_clipboard_win32.h"

namespace vexlo::capture::win32 {
namespace {

// Three channels that differ pixel by pixel, and an odd width so the rows
// are padded.
common::Bitmap pattern(int width, int height) {
  common::Bitmap picture = common::Bitmap::filled(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.setColourAt(x, y,
                          static_cast<controls::Colour>((x * 9) % 256 | (y * 13) % 256 << 8 | (x + y) % 256 << 16));
  return picture;
}

std::optional<std::string> clipboardBytes(UINT format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* locked = GlobalLock(data)) {
      bytes.emplace(static_cast<const char*>(locked), GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

// The pixels of a PNG, decoded by GDI+ as any program would.
std::optional<common::Bitmap> decodePng(const std::string& png) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return std::nullopt;
  std::optional<common::Bitmap> result;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, png.size());
  std::memcpy(GlobalLock(memory), png.data(), png.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) GlobalFree(memory);
  Gdiplus::GpBitmap* image = nullptr;
  if (stream && Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &image) == Gdiplus::Ok) {
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    Gdiplus::DllExports::GdipGetImageHeight(image, &height);
    common::Bitmap decoded = common::Bitmap::filled(static_cast<int>(width), static_cast<int>(height), 0);
    for (UINT y = 0; y < height; ++y)
      for (UINT x = 0; x < width; ++x) {
        Gdiplus::ARGB pixel = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(image, static_cast<INT>(x), static_cast<INT>(y), &pixel);
        decoded.pixels[y * width + x] = pixel & 0xFFFFFF;
      }
    Gdiplus::DllExports::GdipDisposeImage(image);
    result = std::move(decoded);
  }
  if (stream) stream->Release();
  Gdiplus::GdiplusShutdown(token);
  return result;
}

void expectSamePicture(const std::optional<common::Bitmap>& seen, const common::Bitmap& expected) {
  ASSERT_TRUE(seen) << "the PNG does not decode";
  EXPECT_EQ(seen->width, expected.width);
  EXPECT_EQ(seen->height, expected.height);
  EXPECT_TRUE(seen->pixels == expected.pixels) << "pixels differ from the capture";
}

TEST(CaptureClipboardWin32, BitmapAndPngReadBackPixelForPixelAlsoOnceTheOwnerHasGone) {
  const common::Bitmap picture = pattern(37, 21);
  ImageEncoderWin32 encoder;
  {
    PictureClipboardWin32 clipboard(encoder);
    ASSERT_EQ(clipboard.place(picture), ClipboardResult::Placed);
    // CF_DIB is the BMP file without its file header; the system may round
    // the block up.
    std::string expected(dibSize(picture), '\0');
    writeDib(picture, reinterpret_cast<unsigned char*>(expected.data()));
    const std::optional<std::string> dib = clipboardBytes(CF_DIB);
    ASSERT_TRUE(dib);
    ASSERT_GE(dib->size(), expected.size());
    EXPECT_TRUE(dib->compare(0, expected.size(), expected) == 0) << "CF_DIB differs from the capture";
    const std::optional<std::string> png = clipboardBytes(PictureClipboardWin32::pngFormat());
    ASSERT_TRUE(png) << "no PNG rendered on request";
    expectSamePicture(decodePng(*png), picture);
  }
  // A second picture, changed after the copy and never asked for before
  // its owner ends: the PNG shows it as copied, rendered as the owner goes.
  const common::Bitmap second = pattern(5, 3);
  {
    common::Bitmap shown = second;
    PictureClipboardWin32 clipboard(encoder);
    ASSERT_EQ(clipboard.place(shown), ClipboardResult::Placed);
    clipboard.pictureChanging();
    shown = pattern(9, 9);
  }
  const std::optional<std::string> png = clipboardBytes(PictureClipboardWin32::pngFormat());
  ASSERT_TRUE(png) << "the promised PNG went with its owner";
  expectSamePicture(decodePng(*png), second);
}

TEST(CaptureClipboardWin32, HeldByAnotherProgramIsBusyAndLeftAsItWas) {
  ImageEncoderWin32 encoder;
  PictureClipboardWin32 clipboard(encoder);
  const common::Bitmap before = pattern(4, 4);
  ASSERT_EQ(clipboard.place(before), ClipboardResult::Placed);
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool held = OpenClipboard(window) != 0;
    SetEvent(opened);
    if (held) {
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    }
    DestroyWindow(window);
  });
  WaitForSingleObject(opened, 5000);
  EXPECT_EQ(clipboard.place(pattern(9, 9)), ClipboardResult::Busy);
  SetEvent(release);
  holder.join();
  const std::optional<std::string> png = clipboardBytes(PictureClipboardWin32::pngFormat());
  ASSERT_TRUE(png);
  expectSamePicture(decodePng(*png), before);
  CloseHandle(opened);
  CloseHandle(release);
}

}  // namespace
}  // namespace vexlo::capture::win32
