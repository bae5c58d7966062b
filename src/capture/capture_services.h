// What the screen capture needs from the system, one small interface per
// service, and the bundle the capture panel receives. The Win32
// implementations live in win32/, scriptable fakes in tests/fakes/.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/overlay_layout.h"
#include "capture/screen_layout.h"
#include "common/bitmap.h"
#include "platform/file_store.h"
#include "platform/services.h"

namespace vexlo::capture {

class RegionOverlay;

class ScreenCopier {
 public:
  virtual ~ScreenCopier() = default;
  // The area of the virtual screen (every monitor) at its real pixel size;
  // what no monitor shows is black.
  virtual common::Bitmap copyScreen(const PixelRect& area) = 0;
};

// The monitors and windows on the screen now, and the user's double-click
// time.
class DesktopInfo {
 public:
  virtual ~DesktopInfo() = default;
  virtual ScreenLayout layout() = 0;
  // The visible rectangles of the top-level windows shown, front to back,
  // without this program's own windows.
  virtual std::vector<PixelRect> windows() = 0;
  virtual int doubleClickMs() = 0;
};

enum class ImageFormat { Jpeg, Png };

struct EncodedImage {
  int status = 0;     // the failing encoder status; 0 is success
  std::string bytes;  // the whole file on success
};

// The platform's own encoder, shared by the saved files and the clipboard.
class ImageEncoder {
 public:
  virtual ~ImageEncoder() = default;
  // `quality` 0..100 reaches a JPEG encoder as its quality parameter; PNG
  // is lossless and has none.
  virtual EncodedImage encode(const common::Bitmap& picture, ImageFormat format, int quality) = 0;
};

enum class ClipboardResult { Placed, Busy, Failed };

// The picture on the clipboard as a device-independent bitmap and in the
// registered format "PNG", both or neither. A format rendered only when a
// program asks for it reads the placed picture where it is, so a copy costs
// no copy of the picture: until pictureChanging(), it must stay as it is.
class PictureClipboard {
 public:
  virtual ~PictureClipboard() = default;
  // Busy: another program holds the clipboard; it is left as it was.
  virtual ClipboardResult place(const common::Bitmap& picture) = 0;
  // The placed picture is about to change or go: what the clipboard still
  // promises from it is kept first.
  virtual void pictureChanging() = 0;
};

// The save dialog's one filter and its title; its initial folder is the
// program's own.
struct SaveRequest {
  std::u16string filterName;
  std::u16string filterPattern;
  std::u16string title;
};

class CaptureDialogs {
 public:
  virtual ~CaptureDialogs() = default;
  // The chosen path as the user confirmed it; nothing when cancelled.
  virtual std::optional<std::u16string> askSavePath(const SaveRequest& request) = 0;
  // A question with yes and no buttons; true for yes.
  virtual bool askYesNo(std::u16string_view question) = 0;
  // A message the user acknowledges.
  virtual void showMessage(std::u16string_view text) = 0;
};

// The overlay's window: the frozen screen shown top-most over the whole
// virtual screen, taking the keyboard focus; it passes the user's input to the
// overlay and redraws what the overlay reports as changed.
class OverlayWindow {
 public:
  virtual ~OverlayWindow() = default;
  virtual PixelPoint pointerPosition() = 0;
  // Moves the screen pointer; the move reaches the overlay as a mouse move.
  virtual void movePointer(PixelPoint to) = 0;
  virtual void open(RegionOverlay& overlay) = 0;
  virtual void close() = 0;
};

struct CaptureServices {
  const platform::Screen& screen;  // twips per pixel of the view
  platform::Clock& clock;          // the pause before the screen is read
  platform::FileStore& files;      // the saved image, whole or not at all
  ScreenCopier& screenCopier;
  ImageEncoder& encoder;
  CaptureDialogs& dialogs;
  OverlayWindow& overlayWindow;
  DesktopInfo& desktop;  // the monitors to copy and the windows to offer
  PictureClipboard& clipboard;
};

}  // namespace vexlo::capture
