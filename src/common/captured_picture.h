// The capture panel's picture `P1`: a picture box that holds the captured
// pixels, shown at their real size from its top left corner.
#pragma once

#include "common/bitmap.h"
#include "controls/control.h"

namespace vexlo::common {

class CapturedPicture : public controls::PictureBox {
 public:
  CapturedPicture(std::string name, controls::TwipsRect rect) : PictureBox(std::move(name), rect) {}

  const Bitmap& bitmap() const { return bitmap_; }
  // The view repaints what it shows of the picture.
  void setBitmap(Bitmap bitmap) {
    bitmap_ = std::move(bitmap);
    changed(controls::Property::Drawing);
  }

 private:
  Bitmap bitmap_;
};

}  // namespace vexlo::common
