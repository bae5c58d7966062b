#include "capture/region_overlay.h"

#include <algorithm>
#include <cstdlib>

#include "capture/capture_text.h"

namespace vexlo::capture {

RegionOverlay::RegionOverlay(common::Bitmap frozen, DesktopScene scene, PixelPoint pointer, Callbacks callbacks)
    : frozen_(std::move(frozen)),
      scene_(std::move(scene)),
      callbacks_(std::move(callbacks)),
      current_(pointer),
      sample_(common::Bitmap::filled(kSampleSize, kSampleSize, 0)) {
  // A system that told nothing of its monitors has one: the frozen screen.
  ScreenLayout& layout = scene_.layout;
  if (layout.virtualScreen.width <= 0 || layout.virtualScreen.height <= 0)
    layout.virtualScreen = {0, 0, frozen_.width, frozen_.height};
  if (layout.monitors.empty()) layout.monitors.push_back(layout.virtualScreen);
  for (ReadoutField field : {kRed, kGreen, kBlue, kPointerX, kPointerY}) readout_[field] = decimalText(0);
  const PixelRect& monitor = monitorAt(layout, pointer);
  magnifier_ = magnifierPlace({monitor.left, monitor.top}, pointer, monitor);
  hoveredWindow_ = windowAt(scene_, pointer);
}

void RegionOverlay::notify(unsigned changes) {
  if (view_ && changes != 0) view_->overlayChanged(changes);
}

void RegionOverlay::mouseMove(int x, int y) {
  if (ended_) return;
  current_ = {x, y};
  const PixelPoint placedBefore = magnifier_;
  magnifier_ = magnifierPlace(magnifier_, current_, monitorAt(scene_.layout, current_));

  // The frozen picture's top left is the virtual screen's.
  const int pictureX = x - virtualScreen().left, pictureY = y - virtualScreen().top;
  sample_ = frozen_.copyArea(pictureX - kSampleRadius, pictureY - kSampleRadius, kSampleSize, kSampleSize);
  colour_ = frozen_.colourAt(pictureX, pictureY);
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
  std::optional<PixelRect> hovered = windowAt(scene_, current_);
  if (hovered != hoveredWindow_) {
    hoveredWindow_ = hovered;
    if (!selecting_) changes |= kWindowOutlineChanged;
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
    case kVirtualKeySpace:
      if (!selecting_) takeUnderPointer();
      break;
    default:
      break;
  }
}

void RegionOverlay::primaryButton(std::uint32_t timeMs) {
  if (ended_) return;
  const Click click{current_, timeMs};
  const bool doubled = selecting_ && lastClick_ && isDoubleClick(*lastClick_, click, scene_.doubleClickMs);
  lastClick_ = click;
  if (doubled)
    takeUnderPointer();
  else
    clickStep();
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
  notify(kOutlineChanged | kSizeLabelChanged | (hoveredWindow_ ? unsigned{kWindowOutlineChanged} : 0u));
}

void RegionOverlay::cancelStep() {
  if (ended_) return;
  if (selecting_) {
    // Only the rectangle goes: the overlay stays for a new one.
    selecting_ = false;
    notify(kOutlineChanged | kSizeLabelChanged | (hoveredWindow_ ? unsigned{kWindowOutlineChanged} : 0u));
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
  deliverArea({left, top, right - left, bottom - top}, copy);
}

void RegionOverlay::takeUnderPointer() {
  const std::optional<PixelRect> window = windowAt(scene_, current_);
  deliverArea(window ? *window : intersection(monitorAt(scene_.layout, current_), virtualScreen()), false);
}

void RegionOverlay::deliverArea(const PixelRect& area, bool copy) {
  common::Bitmap picture =
      frozen_.copyArea(area.left - virtualScreen().left, area.top - virtualScreen().top, area.width, area.height);
  end(Ending{true, std::move(picture), sizeText(area.width, area.height), copy});
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
