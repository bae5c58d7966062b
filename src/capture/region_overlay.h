// The region overlay: a frozen picture of the whole virtual screen on which
// the user marks a rectangle with two clicks (or the arrow keys and Enter),
// or takes the window under the pointer in one step (Space or a double
// click), with a magnifier and a colour readout following the pointer.
// Everything here is in pixels of the virtual screen; the window that shows
// it lives in win32/.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "capture/overlay_layout.h"
#include "capture/screen_layout.h"
#include "common/bitmap.h"

namespace vexlo::capture {

inline constexpr int kVirtualKeyEnter = 13;
inline constexpr int kVirtualKeyEscape = 27;
inline constexpr int kVirtualKeySpace = 32;
inline constexpr int kVirtualKeyLeft = 37;
inline constexpr int kVirtualKeyUp = 38;
inline constexpr int kVirtualKeyRight = 39;
inline constexpr int kVirtualKeyDown = 40;

// What changed, so that the window redraws only that.
enum OverlayChange : unsigned {
  kMagnifierChanged = 1,  // the enlarged sample, the swatch and the readout values
  kMagnifierMoved = 2,
  kOutlineChanged = 4,
  kSizeLabelChanged = 8,
  kWindowOutlineChanged = 16,
};

class OverlayView {
 public:
  virtual ~OverlayView() = default;
  virtual void overlayChanged(unsigned changes) = 0;
};

struct PixelLine {
  PixelPoint from;
  PixelPoint to;
  bool operator==(const PixelLine&) const = default;
};

class RegionOverlay {
 public:
  struct Ending {
    bool finished = false;   // false: abandoned, nothing captured
    common::Bitmap picture;  // the rectangle's pixels
    std::u16string sizeText;
    bool copy = false;  // finished with Ctrl+C: the picture goes to the clipboard too
  };
  struct Callbacks {
    // Moves the screen pointer, which raises a mouse move.
    std::function<void(PixelPoint)> movePointer;
    // The user finished or abandoned; the overlay takes no input after it.
    std::function<void(Ending)> ended;
  };

  // `frozen` is the virtual screen as it was just before the overlay
  // opened, `scene` its monitors and windows then; `pointer` where the
  // screen pointer is.
  RegionOverlay(common::Bitmap frozen, DesktopScene scene, PixelPoint pointer, Callbacks callbacks);
  RegionOverlay(const RegionOverlay&) = delete;
  RegionOverlay& operator=(const RegionOverlay&) = delete;

  void setView(OverlayView* view) { view_ = view; }

  void mouseMove(int x, int y);
  // A second click at the same point within the double-click time takes
  // the window under it instead of finishing an empty rectangle.
  void primaryButton(std::uint32_t timeMs);
  void secondaryButton() { cancelStep(); }
  void keyDown(int virtualKey);
  // Ctrl+C: finishes a rectangle being chosen as Enter does, and copies it.
  void copyShortcut();

  // Released once the overlay has ended.
  const common::Bitmap& frozen() const { return frozen_; }
  const PixelRect& virtualScreen() const { return scene_.layout.virtualScreen; }
  bool ended() const { return ended_; }
  PixelPoint pointer() const { return current_; }
  PixelPoint magnifierPosition() const { return magnifier_; }
  // The square around the pointer, kSampleSize pixels wide and high.
  const common::Bitmap& sample() const { return sample_; }
  // The colour under the pointer (0x00BBGGRR), the swatch's background.
  controls::Colour colour() const { return colour_; }
  const std::u16string& readout(ReadoutField field) const { return readout_[field]; }
  bool selecting() const { return selecting_; }
  PixelPoint anchor() const { return anchor_; }
  // The rectangle's outline; shown only while selecting.
  const std::array<PixelLine, 4>& outline() const { return outline_; }
  PixelPoint sizeLabelPosition() const { return sizeLabelPosition_; }
  const std::u16string& sizeLabelText() const { return sizeLabelText_; }
  // The window that Space would take, outlined while no rectangle is chosen.
  std::optional<PixelRect> windowOutline() const { return selecting_ ? std::nullopt : hoveredWindow_; }

 private:
  void clickStep();
  void cancelStep();
  void finish(bool copy = false);
  // The window under the pointer, or over the desktop its monitor.
  void takeUnderPointer();
  void deliverArea(const PixelRect& area, bool copy);
  void end(Ending ending);
  void followPointer();
  void notify(unsigned changes);

  common::Bitmap frozen_;
  DesktopScene scene_;
  Callbacks callbacks_;
  OverlayView* view_ = nullptr;
  bool ended_ = false;
  bool selecting_ = false;
  PixelPoint anchor_;
  PixelPoint current_;
  PixelPoint magnifier_;
  common::Bitmap sample_;
  controls::Colour colour_ = 0;
  std::array<std::u16string, kReadoutFieldCount> readout_;
  std::array<PixelLine, 4> outline_{};
  PixelPoint sizeLabelPosition_;
  std::u16string sizeLabelText_;
  std::optional<PixelRect> hoveredWindow_;
  std::optional<Click> lastClick_;
};

}  // namespace vexlo::capture
