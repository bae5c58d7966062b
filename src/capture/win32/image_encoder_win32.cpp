#include "capture/win32/image_encoder_win32.h"

#include "platform/win32/gdiplus_session.h"

namespace vexlo::capture::win32 {

namespace {

using Gdiplus::Status;
using platform::win32::gdiplusFunction;
using platform::win32::GdiplusSession;

CLSID clsidOf(const wchar_t* text) {
  CLSID clsid = {};
  CLSIDFromString(text, &clsid);
  return clsid;
}

// The stream's bytes from its start; false when they cannot be read.
bool readWhole(IStream* stream, std::string& bytes) {
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
  LARGE_INTEGER start = {};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
  bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
  ULONG read = 0;
  return SUCCEEDED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) && read == bytes.size();
}

}  // namespace

Gdiplus::EncoderParameters jpegQualityParameters(ULONG& quality) {
  Gdiplus::EncoderParameters parameters = {};
  parameters.Count = 1;
  parameters.Parameter[0].Guid = clsidOf(L"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}");
  parameters.Parameter[0].NumberOfValues = 1;
  parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
  parameters.Parameter[0].Value = &quality;
  return parameters;
}

CLSID encoderClsid(ImageFormat format) {
  return clsidOf(format == ImageFormat::Jpeg ? L"{557CF401-1A04-11D3-9A73-0000F81EF32E}"
                                             : L"{557CF406-1A04-11D3-9A73-0000F81EF32E}");
}

EncodedImage ImageEncoderWin32::encode(const common::Bitmap& picture, ImageFormat format, int quality) {
  GdiplusSession session;
  if (session.status() != Status::Ok) return {session.status(), {}};

  // GDI+ reads the pixels where they are: 32 bits each, the fourth unused.
  Gdiplus::GpBitmap* image = nullptr;
  auto createBitmap =
      gdiplusFunction<decltype(Gdiplus::DllExports::GdipCreateBitmapFromScan0)>("GdipCreateBitmapFromScan0");
  auto disposeImage = gdiplusFunction<decltype(Gdiplus::DllExports::GdipDisposeImage)>("GdipDisposeImage");
  SaveImageToStream save =
      save_ ? save_ : gdiplusFunction<decltype(Gdiplus::DllExports::GdipSaveImageToStream)>("GdipSaveImageToStream");
  if (!createBitmap || !disposeImage || !save) return {Status::Win32Error, {}};
  Status status =
      createBitmap(picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                   reinterpret_cast<BYTE*>(const_cast<common::DevicePixel*>(picture.pixels.data())), &image);
  if (status != Status::Ok) return {status, {}};

  EncodedImage result;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
    result.status = Status::Win32Error;
  } else {
    ULONG value = static_cast<ULONG>(quality);
    const Gdiplus::EncoderParameters parameters = jpegQualityParameters(value);
    const CLSID encoder = encoderClsid(format);
    // PNG keeps every pixel as it is: it takes no parameters.
    result.status = save(image, stream, &encoder, format == ImageFormat::Jpeg ? &parameters : nullptr);
    if (result.status == Status::Ok && !readWhole(stream, result.bytes)) result.status = Status::Win32Error;
    stream->Release();
  }
  disposeImage(image);
  if (result.status != Status::Ok) result.bytes.clear();
  return result;
}

}  // namespace vexlo::capture::win32
