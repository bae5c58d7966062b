// Picture files for the preview through GDI+ (BMP, DIB, JPG, GIF, ICO,
// WMF, EMF), drawn straight at the preview's size; icons and cursors that
// GDI+ cannot read are drawn by the system's own icon functions.
#pragma once

#include "filemanager/file_manager_services.h"

namespace vexlo::filemanager::win32 {

class PictureDecoderWin32 final : public PictureDecoder {
 public:
  std::optional<common::Bitmap> decode(const std::u16string& path, int width, int height) override;
};

}  // namespace vexlo::filemanager::win32
