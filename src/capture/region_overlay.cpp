#include "capture/region_overlay.h"

#include <algorithm>
#include <cstdlib>

#include "capture/capture_text.h"

namespace vexlo::capture {

RegionOverlay::RegionOverlay(common::Bitmap frozen, PixelPoint pointer, Callbacks callbacks)
    : frozen_(std::move(frozen)),
      callbacks_(std::move(callbacks)),
      current_(pointer),
      sample_(common::Bitmap::filled(kSampleSize, kSampleSize, 0)) {
  for (ReadoutField field : {kRed, kGreen, kBlue, kPointerX, kPointerY}) readout_[field] = decimalText(0);
  if (pointer.x < kTopLeftAreaWidth && pointer.y < kTopLeftAreaHeight)
    magnifier_ = {frozen_.width - kBottomRightOffsetX, frozen_.height - kBottomRightOffsetY};
}

void RegionOverlay::notify(unsigned changes) {
  if (view_ && changes != 0) view_->overlayChanged(changes);
}

void RegionOverlay::placeMagnifier(int x, int y) {
  if (x < kTopLeftAreaWidth && y < kTopLeftAreaHeight)
    magnifier_ = {frozen_.width - kBottomRightOffsetX, frozen_.height - kBottomRightOffsetY};
  if (x > frozen_.width - kBottomRightAreaX && y > frozen_.height - kBottomRightAreaY) magnifier_ = {0, 0};
}

void RegionOverlay::mouseMove(int x, int y) {
  if (ended_) return;
  current_ = {x, y};
  const PixelPoint placedBefore = magnifier_;
  placeMagnifier(x, y);

  sample_ = frozen_.copyArea(x - kSampleRadius, y - kSampleRadius, kSampleSize, kSampleSize);
  colour_ = frozen_.colourAt(x, y);
  readout_[kRed] = decimalText(colour_ % 256);
  readout_[kGreen] = decimalText(colour_ % 65536 / 256);
  readout_[kBlue] = decimalText(colour_ % 16777216 / 65536);
  readout_[kPointerX] = decimalText(x);
  readout_[kPointerY] = decimalText(y);
  readout_[kHex] = hexText(colour_);
  readout_[kDecimal] = decimalText(colour_);

  unsigned changes = kMagnifierChanged;
  if (magnifier_ != placedBefore) changes |= kMagnifierMoved;
  if (selecting_) {
    followPointer();
    changes |= kOutlineChanged | kSizeLabelChanged;
  }
  notify(changes);
}

void RegionOverlay::followPointer() {
  const PixelPoint corner = current_;
  outline_ = {{{anchor_, {corner.x, anchor_.y}},
               {anchor_, {anchor_.x, corner.y}},
               {corner, {anchor_.x, corner.y}},
               {corner, {corner.x, anchor_.y}}}};
  sizeLabelText_ = sizeText(std::abs(corner.x - anchor_.x), std::abs(corner.y - anchor_.y));
}

void RegionOverlay::keyDown(int virtualKey) {
  if (ended_) return;
  switch (virtualKey) {
    case kVirtualKeyLeft:
      callbacks_.movePointer({current_.x - 1, current_.y});
      break;
    case kVirtualKeyUp:
      callbacks_.movePointer({current_.x, current_.y - 1});
      break;
    case kVirtualKeyRight:
      callbacks_.movePointer({current_.x + 1, current_.y});
      break;
    case kVirtualKeyDown:
      callbacks_.movePointer({current_.x, current_.y + 1});
      break;
    case kVirtualKeyEnter:
      clickStep();
      break;
    case kVirtualKeyEscape:
      cancelStep();
      break;
    default:
      break;
  }
}

void RegionOverlay::clickStep() {
  if (ended_) return;
  if (selecting_) {
    finish();
    return;
  }
  selecting_ = true;
  anchor_ = current_;
  followPointer();
  sizeLabelPosition_ = {anchor_.x + kSizeLabelOffsetX, anchor_.y + kSizeLabelOffsetY};
  sizeLabelText_ = sizeText(0, 0);
  notify(kOutlineChanged | kSizeLabelChanged);
}

void RegionOverlay::cancelStep() {
  if (ended_) return;
  if (selecting_) {
    // Only the rectangle goes: the overlay stays for a new one.
    selecting_ = false;
    notify(kOutlineChanged | kSizeLabelChanged);
    return;
  }
  end(Ending{});
}

void RegionOverlay::copyShortcut() {
  if (!ended_ && selecting_) finish(true);
}

void RegionOverlay::finish(bool copy) {
  const int left = std::min(anchor_.x, current_.x), right = std::max(anchor_.x, current_.x);
  const int top = std::min(anchor_.y, current_.y), bottom = std::max(anchor_.y, current_.y);
  end(Ending{true, frozen_.copyArea(left, top, right - left, bottom - top), sizeLabelText_, copy});
}

void RegionOverlay::end(Ending ending) {
  ended_ = true;
  selecting_ = false;
  if (callbacks_.ended) callbacks_.ended(std::move(ending));
  // The frozen screen is the overlay's one large piece of memory: it goes
  // as soon as the overlay has done its work.
  frozen_ = common::Bitmap{};
}

}  // namespace vexlo::capture
