// The "屏幕·截图" panel: full-screen and region capture, the scrollable
// view of the captured picture, saving it as BMP, JPEG or PNG, and copying
// it to the clipboard.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "capture/capture_services.h"
#include "capture/region_overlay.h"
#include "common/captured_picture.h"
#include "common/status_line.h"
#include "controls/control.h"

namespace vexlo::capture {

inline constexpr std::u16string_view kCaptureCaption = u"屏幕·截图";
inline constexpr int kPauseBeforeCaptureMs = 500;
inline constexpr std::u16string_view kSaveFailedMessage = u"不能保存这个图像: ";
inline constexpr std::u16string_view kReplaceQuestion = u"文件已存在，要替换吗？";
inline constexpr std::u16string_view kPictureClipboardBusyMessage =
    u"剪贴板正被其他程序占用，截图没能放到剪贴板上。\r\n截图仍在截图面板中，稍后再点“复制”即可。";
inline constexpr std::u16string_view kPictureClipboardFailedMessage =
    u"截图没能放到剪贴板上（内存不足）。\r\n截图仍在截图面板中，也可以保存为文件。";
inline constexpr std::u16string_view kNothingToCopyMessage = u"截图是空的（0 × 0），没有可复制的内容。";

enum class SaveFormat { Bmp, Jpeg, Png };

// What the capture asks of the main window.
struct CaptureShell {
  std::function<void()> hideWindow;
  std::function<void()> expandWindow;
  // Selects the capture panel as a click on its selector does.
  std::function<void()> showPanel;
};

class CapturePanel {
 public:
  CapturePanel(controls::Frame& frame, CaptureServices& services, common::StatusLine& status, CaptureShell shell);
  // An overlay still open (the session ends under it) is closed first:
  // its window must not outlive the overlay it shows.
  ~CapturePanel();
  CapturePanel(const CapturePanel&) = delete;
  CapturePanel& operator=(const CapturePanel&) = delete;

  // Full screen (F7, `JT1`) or a region chosen on the overlay (F8, `JT2`).
  // Ignored while the overlay is open: its frozen screen is being used.
  void capture(bool full);
  // Fits the scroll bars to the picture and scrolls back to its top left.
  void resetView();
  // The copy button and Ctrl+C: the picture to the clipboard. Ignored
  // while there is nothing to save.
  void copy();
  SaveFormat chosenFormat() const;
  bool overlayOpen() const { return overlay_ && !overlay_->ended(); }
  // The open overlay, or the last one (which holds nothing once ended).
  const RegionOverlay* overlay() const { return overlay_.get(); }
  RegionOverlay* overlay() { return overlay_.get(); }

  controls::PictureBox viewport;
  common::CapturedPicture picture;
  controls::ScrollBar verticalBar;
  controls::ScrollBar horizontalBar;
  controls::Button fullScreenButton;
  controls::Button regionButton;
  controls::Button saveButton;
  controls::Button copyButton;
  controls::Label formatLabel;
  controls::OptionGroup formatGroup;
  controls::OptionButton bmpOption;
  controls::OptionButton jpegOption;
  controls::OptionButton pngOption;
  controls::Label qualityLabel;
  controls::ListBox qualityList;

 private:
  void build(controls::Frame& frame);
  void chooseFormat();
  // Saving and copying are possible together, or neither.
  void offerPicture(bool offered);
  void showPicture(common::Bitmap bitmap);
  // Every change of the picture goes through here: the clipboard may be
  // reading it.
  void replacePicture(common::Bitmap bitmap);
  void regionEnded(RegionOverlay::Ending ending);
  void save();
  // Encodes and writes the file; a failure reaches the user as a message.
  void write(const std::u16string& path);

  controls::Frame& frame_;
  CaptureServices& services_;
  common::StatusLine& status_;
  CaptureShell shell_;
  std::unique_ptr<RegionOverlay> overlay_;
};

}  // namespace vexlo::capture
