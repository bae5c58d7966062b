#include "filemanager/win32/picture_decoder_win32.h"

#include <windows.h>

#include <cstring>

#include "filemanager/file_kinds.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/gdiplus_session.h"

namespace vexlo::filemanager::win32 {

namespace {

using namespace Gdiplus::DllExports;
using platform::win32::gdiplusFunction;

// A picture file larger than this is not read for a preview.
constexpr LONGLONG kLargestFile = 256ll << 20;
constexpr common::DevicePixel kWhite = 0xFFFFFF;

// The file's bytes in a stream GDI+ reads from; the file itself is closed
// at once, and a path of any length can be read.
IStream* fileStream(const std::u16string& path) {
  HANDLE file = CreateFileW(platform::win32::extendedPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size = {};
  HGLOBAL memory = nullptr;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kLargestFile)
    memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size.QuadPart));
  bool read = false;
  if (memory) {
    void* bytes = GlobalLock(memory);
    DWORD done = 0;
    read = bytes && ReadFile(file, bytes, static_cast<DWORD>(size.QuadPart), &done, nullptr) && done == size.QuadPart;
    GlobalUnlock(memory);
  }
  CloseHandle(file);
  IStream* stream = nullptr;
  if (read && SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream))) return stream;
  if (memory) GlobalFree(memory);
  return nullptr;
}

// A picture GDI+ can read, drawn over the whole target; a bitmap's edges
// are mirrored so that smoothing does not fade them towards the outside.
bool drawWithGdiplus(IStream* stream, common::Bitmap& target) {
  platform::win32::GdiplusSession session;
  if (session.status() != Gdiplus::Ok) return false;
  auto load = gdiplusFunction<decltype(GdipLoadImageFromStream)>("GdipLoadImageFromStream");
  auto createBitmap = gdiplusFunction<decltype(GdipCreateBitmapFromScan0)>("GdipCreateBitmapFromScan0");
  auto graphicsOf = gdiplusFunction<decltype(GdipGetImageGraphicsContext)>("GdipGetImageGraphicsContext");
  auto setInterpolation = gdiplusFunction<decltype(GdipSetInterpolationMode)>("GdipSetInterpolationMode");
  auto imageType = gdiplusFunction<decltype(GdipGetImageType)>("GdipGetImageType");
  auto imageWidth = gdiplusFunction<decltype(GdipGetImageWidth)>("GdipGetImageWidth");
  auto imageHeight = gdiplusFunction<decltype(GdipGetImageHeight)>("GdipGetImageHeight");
  auto createAttributes = gdiplusFunction<decltype(GdipCreateImageAttributes)>("GdipCreateImageAttributes");
  auto setWrap = gdiplusFunction<decltype(GdipSetImageAttributesWrapMode)>("GdipSetImageAttributesWrapMode");
  auto disposeAttributes = gdiplusFunction<decltype(GdipDisposeImageAttributes)>("GdipDisposeImageAttributes");
  auto drawRect = gdiplusFunction<decltype(GdipDrawImageRectI)>("GdipDrawImageRectI");
  auto drawRectRect = gdiplusFunction<decltype(GdipDrawImageRectRectI)>("GdipDrawImageRectRectI");
  auto deleteGraphics = gdiplusFunction<decltype(GdipDeleteGraphics)>("GdipDeleteGraphics");
  auto dispose = gdiplusFunction<decltype(GdipDisposeImage)>("GdipDisposeImage");
  if (!load || !createBitmap || !graphicsOf || !setInterpolation || !imageType || !imageWidth || !imageHeight ||
      !createAttributes || !setWrap || !disposeAttributes || !drawRect || !drawRectRect || !deleteGraphics || !dispose)
    return false;

  Gdiplus::GpImage* image = nullptr;
  if (load(stream, &image) != Gdiplus::Ok) return false;
  Gdiplus::GpBitmap* canvas = nullptr;
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = createBitmap(target.width, target.height, target.width * 4, PixelFormat32bppRGB,
                                        reinterpret_cast<BYTE*>(target.pixels.data()), &canvas);
  if (status == Gdiplus::Ok) status = graphicsOf(canvas, &graphics);
  if (status == Gdiplus::Ok) {
    setInterpolation(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
    Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
    UINT width = 0, height = 0;
    imageType(image, &type);
    Gdiplus::GpImageAttributes* attributes = nullptr;
    if (type == Gdiplus::ImageTypeBitmap && imageWidth(image, &width) == Gdiplus::Ok &&
        imageHeight(image, &height) == Gdiplus::Ok && createAttributes(&attributes) == Gdiplus::Ok) {
      setWrap(attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
      status = drawRectRect(graphics, image, 0, 0, target.width, target.height, 0, 0, static_cast<INT>(width),
                            static_cast<INT>(height), Gdiplus::UnitPixel, attributes, nullptr, nullptr);
      disposeAttributes(attributes);
    } else {
      status = drawRect(graphics, image, 0, 0, target.width, target.height);
    }
    deleteGraphics(graphics);
  }
  if (canvas) dispose(canvas);
  dispose(image);
  return status == Gdiplus::Ok;
}

// An icon or cursor file drawn by the system at the target's size.
bool drawIconFile(const std::u16string& path, bool cursor, common::Bitmap& target) {
  HANDLE icon = LoadImageW(nullptr, reinterpret_cast<const wchar_t*>(path.c_str()), cursor ? IMAGE_CURSOR : IMAGE_ICON,
                           0, 0, LR_LOADFROMFILE);
  if (!icon) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = target.width;
  info.bmiHeader.biHeight = -target.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool drawn = false;
  if (surface && bits) {
    HGDIOBJ old = SelectObject(dc, surface);
    std::memcpy(bits, target.pixels.data(), target.pixels.size() * sizeof(common::DevicePixel));
    drawn = DrawIconEx(dc, 0, 0, static_cast<HICON>(icon), target.width, target.height, 0, nullptr, DI_NORMAL) != FALSE;
    GdiFlush();
    const auto* pixels = static_cast<const common::DevicePixel*>(bits);
    for (std::size_t i = 0; i < target.pixels.size(); ++i) target.pixels[i] = pixels[i] & 0xFFFFFF;
    SelectObject(dc, old);
  }
  if (surface) DeleteObject(surface);
  DeleteDC(dc);
  if (cursor)
    DestroyCursor(static_cast<HCURSOR>(icon));
  else
    DestroyIcon(static_cast<HICON>(icon));
  return drawn;
}

}  // namespace

std::optional<common::Bitmap> PictureDecoderWin32::decode(const std::u16string& path, int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  common::Bitmap picture{width, height,
                         std::vector<common::DevicePixel>(static_cast<std::size_t>(width) * height, kWhite)};
  if (IStream* stream = fileStream(path)) {
    const bool drawn = drawWithGdiplus(stream, picture);
    stream->Release();
    if (drawn) return picture;
  }
  const std::u16string extension = extensionOf(path);
  if ((extension == u"ICO" || extension == u"CUR") && drawIconFile(path, extension == u"CUR", picture)) return picture;
  return std::nullopt;
}

}  // namespace vexlo::filemanager::win32
