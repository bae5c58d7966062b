// JPEG through GDI+: started and shut down around each encoding, the
// picture handed over without a copy, the quality as the encoder's quality
// parameter. The bytes come back whole; the caller writes the file.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

// GdipSaveImageToStream's shape: a test stands in for it to see what
// reaches the encoder.
using SaveImageToStream = Gdiplus::GpStatus(WINGDIPAPI*)(Gdiplus::GpImage* image, IStream* stream,
                                                         const CLSID* encoder,
                                                         const Gdiplus::EncoderParameters* parameters);

// One quality parameter (a 32-bit integer) pointing at `quality`.
Gdiplus::EncoderParameters jpegQualityParameters(ULONG& quality);
// The JPEG encoder's class identifier.
CLSID jpegEncoderClsid();

class JpegEncoderWin32 final : public JpegEncoder {
 public:
  // Without a stand-in, GDI+'s own; GDI+ is loaded when first used.
  explicit JpegEncoderWin32(SaveImageToStream save = nullptr) : save_(save) {}
  JpegResult encode(const common::Bitmap& picture, int quality) override;

 private:
  SaveImageToStream save_;
};

}  // namespace vexlo::capture::win32
