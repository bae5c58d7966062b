// JPEG and PNG through GDI+: started and shut down around each encoding,
// the picture handed over without a copy, a JPEG's quality as the encoder's
// quality parameter. The bytes come back whole; the caller writes the file
// or hands them to the clipboard.
#pragma once

// GDI+'s header needs these two before it, in this order.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

// GdipSaveImageToStream's shape: a test stands in for it to see what
// reaches the encoder.
using SaveImageToStream = Gdiplus::GpStatus(WINGDIPAPI*)(Gdiplus::GpImage* image, IStream* stream, const CLSID* encoder,
                                                         const Gdiplus::EncoderParameters* parameters);

// One quality parameter (a 32-bit integer) pointing at `quality`.
Gdiplus::EncoderParameters jpegQualityParameters(ULONG& quality);
// The class identifier of GDI+'s encoder for the format.
CLSID encoderClsid(ImageFormat format);

class ImageEncoderWin32 final : public ImageEncoder {
 public:
  // Without a stand-in, GDI+'s own; GDI+ is loaded when first used.
  explicit ImageEncoderWin32(SaveImageToStream save = nullptr) : save_(save) {}
  EncodedImage encode(const common::Bitmap& picture, ImageFormat format, int quality) override;

 private:
  SaveImageToStream save_;
};

}  // namespace vexlo::capture::win32
