// JPEG and PNG through the real GDI+: the files decode to the picture's
// size and colours (a PNG's to every pixel), the quality reaches the JPEG
// encoder's parameters, failures keep their GDI+ status. The picture on
// the real clipboard reads back as CF_DIB and as "PNG", also once its owner
// has gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "capture/bmp_file.h"
#include "capture/win32/image_encoder_win32.h"
#include "capture/win32/picture_clipboard_win32.h"

namespace vexlo::capture::win32 {
namespace {

using Gdiplus::Status;

// What the stand-in for GdipSaveImageToStream saw.
struct SeenParameters {
  UINT count = 0;
  GUID guid = {};
  ULONG numberOfValues = 0;
  ULONG type = 0;
  ULONG quality = 0;
  CLSID encoder = {};
};
SeenParameters seen;
Status forcedStatus = Status::Ok;

Status WINGDIPAPI recordingSave(Gdiplus::GpImage* image, IStream* stream, const CLSID* encoder,
                                const Gdiplus::EncoderParameters* parameters) {
  seen = {};
  seen.encoder = *encoder;
  if (parameters) {
    seen.count = parameters->Count;
    seen.guid = parameters->Parameter[0].Guid;
    seen.numberOfValues = parameters->Parameter[0].NumberOfValues;
    seen.type = parameters->Parameter[0].Type;
    seen.quality = *static_cast<const ULONG*>(parameters->Parameter[0].Value);
  }
  if (forcedStatus != Status::Ok) return forcedStatus;
  return Gdiplus::DllExports::GdipSaveImageToStream(image, stream, encoder, parameters);
}

// GDI+ kept running for decoding in the test.
struct CaptureImageEncoderWin32Test : ::testing::Test {
  ULONG_PTR token = 0;
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Status::Ok);
    forcedStatus = Status::Ok;
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token); }

  struct Decoded {
    UINT width = 0, height = 0;
    std::vector<Gdiplus::ARGB> pixels;
  };
  Decoded decode(const std::string& bytes) {
    Decoded decoded;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) return decoded;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &image) == Status::Ok) {
      Gdiplus::DllExports::GdipGetImageWidth(image, &decoded.width);
      Gdiplus::DllExports::GdipGetImageHeight(image, &decoded.height);
      for (UINT y = 0; y < decoded.height; ++y)
        for (UINT x = 0; x < decoded.width; ++x) {
          Gdiplus::ARGB pixel = 0;
          Gdiplus::DllExports::GdipBitmapGetPixel(image, static_cast<INT>(x), static_cast<INT>(y), &pixel);
          decoded.pixels.push_back(pixel);
        }
      Gdiplus::DllExports::GdipDisposeImage(image);
    }
    stream->Release();
    return decoded;
  }
  void expectSamePixels(const std::string& png, const common::Bitmap& picture) {
    const Decoded decoded = decode(png);
    ASSERT_EQ(decoded.width, static_cast<UINT>(picture.width));
    ASSERT_EQ(decoded.height, static_cast<UINT>(picture.height));
    int unequal = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
      unequal += (decoded.pixels[i] & 0xFFFFFF) != picture.pixels[i];
    EXPECT_EQ(unequal, 0) << "pixels differ from the capture";
  }
};

// Every pixel differs from its neighbours in all three channels, so a
// swapped channel, a flipped row or a lossy step shows.
common::Bitmap pattern(int width, int height) {
  common::Bitmap picture = common::Bitmap::filled(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.setColourAt(x, y,
                          static_cast<controls::Colour>((x * 7 + y) % 256 | (x * 3 + y * 11) % 256 << 8 |
                                                        (255 - (x + y * 5) % 256) << 16));
  return picture;
}

std::optional<std::string> clipboardBytes(UINT format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE data = GetClipboardData(format)) {
    bytes.emplace(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

// Within what JPEG's rounding and smoothing leave of a flat block.
bool closeTo(Gdiplus::ARGB pixel, controls::Colour colour) {
  const int tolerance = 24;
  const int red = static_cast<int>((pixel >> 16) & 0xFF), green = static_cast<int>((pixel >> 8) & 0xFF),
            blue = static_cast<int>(pixel & 0xFF);
  return std::abs(red - static_cast<int>(colour & 0xFF)) <= tolerance &&
         std::abs(green - static_cast<int>((colour >> 8) & 0xFF)) <= tolerance &&
         std::abs(blue - static_cast<int>((colour >> 16) & 0xFF)) <= tolerance;
}

TEST_F(CaptureImageEncoderWin32Test, DecodesToThePicturesSizeAndColours) {
  // Four flat 16 x 16 blocks: red, blue / green, white.
  const controls::Colour blocks[2][2] = {{0x0000FF, 0xFF0000}, {0x00FF00, 0xFFFFFF}};
  common::Bitmap picture = common::Bitmap::filled(32, 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) picture.setColourAt(x, y, blocks[y / 16][x / 16]);

  ImageEncoderWin32 encoder;
  const EncodedImage result = encoder.encode(picture, ImageFormat::Jpeg, 100);
  ASSERT_EQ(result.status, 0);
  ASSERT_GE(result.bytes.size(), 4u);
  EXPECT_EQ(result.bytes.substr(0, 2), "\xFF\xD8");  // a JPEG's start of image
  const Decoded decoded = decode(result.bytes);
  ASSERT_EQ(decoded.width, 32u);
  ASSERT_EQ(decoded.height, 32u);
  for (int by = 0; by < 2; ++by)
    for (int bx = 0; bx < 2; ++bx) {
      // The block's inside, clear of the edges where colours bleed.
      const int x = bx * 16 + 8, y = by * 16 + 8;
      EXPECT_TRUE(closeTo(decoded.pixels[static_cast<std::size_t>(y * 32 + x)], blocks[by][bx]))
          << "block " << bx << "," << by << " reads " << std::hex
          << decoded.pixels[static_cast<std::size_t>(y * 32 + x)];
    }
}

TEST_F(CaptureImageEncoderWin32Test, PngDecodesToEveryPixelOfThePicture) {
  for (const auto& [width, height] : {std::pair{37, 23}, std::pair{1, 1}, std::pair{256, 3}}) {
    SCOPED_TRACE(width);
    const common::Bitmap picture = pattern(width, height);
    const EncodedImage result = ImageEncoderWin32().encode(picture, ImageFormat::Png, 0);
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.bytes.substr(0, 8), "\x89PNG\r\n\x1A\n");
    expectSamePixels(result.bytes, picture);
  }
}

TEST_F(CaptureImageEncoderWin32Test, QualityReachesTheEncoderParameters) {
  ImageEncoderWin32 encoder(recordingSave);
  CLSID qualityGuid = {}, jpegClsid = {};
  CLSIDFromString(L"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", &qualityGuid);
  CLSIDFromString(L"{557CF401-1A04-11D3-9A73-0000F81EF32E}", &jpegClsid);
  for (int quality : {10, 50, 80, 100}) {
    SCOPED_TRACE(quality);
    const EncodedImage result = encoder.encode(common::Bitmap::filled(8, 8, 0x123456), ImageFormat::Jpeg, quality);
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(result.bytes.empty());
    EXPECT_EQ(seen.count, 1u);
    EXPECT_TRUE(IsEqualGUID(seen.guid, qualityGuid));
    EXPECT_EQ(seen.numberOfValues, 1u);
    EXPECT_EQ(seen.type, 4u);  // 32-bit integers
    EXPECT_EQ(seen.quality, static_cast<ULONG>(quality));
    EXPECT_TRUE(IsEqualGUID(seen.encoder, jpegClsid));
  }
}

TEST_F(CaptureImageEncoderWin32Test, FailuresKeepTheirGdiplusStatusAndGiveNoBytes) {
  ImageEncoderWin32 encoder(recordingSave);
  forcedStatus = Status::Win32Error;
  EncodedImage result = encoder.encode(common::Bitmap::filled(8, 8, 0), ImageFormat::Jpeg, 90);
  EXPECT_EQ(result.status, static_cast<int>(Status::Win32Error));
  EXPECT_TRUE(result.bytes.empty());

  forcedStatus = Status::Ok;
  result = encoder.encode(common::Bitmap{}, ImageFormat::Jpeg, 90);  // nothing to encode
  EXPECT_NE(result.status, 0);
  EXPECT_TRUE(result.bytes.empty());
}

TEST_F(CaptureImageEncoderWin32Test, ClipboardBitmapAndPngReadBackAlsoOnceTheOwnerHasGone) {
  ImageEncoderWin32 encoder;
  const common::Bitmap first = pattern(37, 21), second = pattern(5, 3);
  {
    PictureClipboardWin32 clipboard(encoder);
    ASSERT_EQ(clipboard.place(first), ClipboardResult::Placed);
    std::string dib(dibSize(first), '\0');  // the BMP file without its file header
    writeDib(first, reinterpret_cast<unsigned char*>(dib.data()));
    const std::optional<std::string> placed = clipboardBytes(CF_DIB);
    ASSERT_TRUE(placed);  // the system may round the block up
    EXPECT_TRUE(placed->substr(0, dib.size()) == dib) << "CF_DIB differs from the capture";
    const std::optional<std::string> png = clipboardBytes(PictureClipboardWin32::pngFormat());
    ASSERT_TRUE(png) << "no PNG rendered on request";
    expectSamePixels(*png, first);
    // Changed after the copy and never asked for before its owner ends: the
    // PNG shows the picture as copied, rendered as the owner goes.
    common::Bitmap shown = second;
    ASSERT_EQ(clipboard.place(shown), ClipboardResult::Placed);
    clipboard.pictureChanging();
    shown = pattern(9, 9);
  }
  const std::optional<std::string> png = clipboardBytes(PictureClipboardWin32::pngFormat());
  ASSERT_TRUE(png) << "the promised PNG went with its owner";
  expectSamePixels(*png, second);
}

}  // namespace
}  // namespace vexlo::capture::win32
