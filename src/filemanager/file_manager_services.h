// What the file manager needs from the system, and the bundle the panel
// receives. The Win32 implementations live in platform/win32/ and in
// filemanager/win32/, scriptable fakes in tests/fakes/.
#pragma once

#include <optional>
#include <string>

#include "common/bitmap.h"
#include "platform/file_system.h"
#include "platform/input_box.h"

namespace vexlo::filemanager {

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // The picture file drawn stretched over exactly width x height pixels
  // (its proportions are not kept); nothing when it cannot be read as a
  // picture.
  virtual std::optional<common::Bitmap> decode(const std::u16string& path, int width, int height) = 0;
};

struct FileManagerServices {
  platform::FileSystem& fileSystem;
  platform::InputBox& inputBox;
  PictureDecoder& pictures;
};

}  // namespace vexlo::filemanager
