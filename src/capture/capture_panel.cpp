#include "capture/capture_panel.h"

#include <array>
#include <initializer_list>

#include "capture/bmp_file.h"
#include "capture/capture_text.h"
#include "platform/twips.h"

namespace vexlo::capture {

namespace {

constexpr std::array<std::u16string_view, 10> kQualities = {u"100", u"90", u"80", u"70", u"60",
                                                            u"50",  u"40", u"30", u"20", u"10"};

// What each format option saves as, in the order of SaveFormat.
struct FormatRule {
  std::u16string_view name;
  SaveRequest request;
  std::u16string_view extension;
};
const FormatRule kFormats[] = {
    {u"BMP", {u"位图文件 (*.BMP)", u"*.BMP", u"保存图片文件..."}, kBmpExtension},
    {u"JPG", {u"压缩位图文件 (*.JPG)", u"*.JPG", u"保存图片文件..."}, kJpegExtension},
    {u"PNG", {u"PNG 图片文件 (*.PNG)", u"*.PNG", u"保存图片文件..."}, kPngExtension},
};

const FormatRule& ruleFor(SaveFormat format) { return kFormats[static_cast<int>(format)]; }

}  // namespace

CapturePanel::CapturePanel(controls::Frame& frame, CaptureServices& services, common::StatusLine& status,
                           CaptureShell shell)
    : viewport("P2", {120, 240, 3825, 3060}),
      picture("P1", {0, 0, 15, 15}),
      verticalBar("VScroll1", {3960, 240, 180, 3060}),
      horizontalBar("HScroll1", {120, 3315, 3825, 180}),
      fullScreenButton("JT1", {4200, 240, 615, 375}, u"全屏"),
      // Four buttons and three formats share the column with the quality
      // list: the buttons close up and the list shows its chosen item, with
      // its arrows, ending level with the view's scroll bar.
      regionButton("JT2", {4200, 675, 615, 375}, u"区域"),
      saveButton("BC", {4200, 1110, 615, 375}, u"保存"),
      copyButton("FZ2", {4200, 1545, 615, 375}, u"复制"),
      formatLabel("Label11", {4200, 1950, 615, 210}, u"格式:"),
      bmpOption("BMP", {4260, 2175, 570, 255}, formatGroup, u"BMP"),
      jpegOption("JPG", {4260, 2415, 570, 255}, formatGroup, u"JPG"),
      pngOption("PNG", {4260, 2655, 570, 255}, formatGroup, u"PNG"),
      qualityLabel("Label12", {4200, 2925, 690, 210}, u"压缩:(%)"),
      qualityList("List2", {4200, 3135, 615, 360}),
      frame_(frame),
      services_(services),
      status_(status),
      shell_(std::move(shell)) {
  build(frame);
}

CapturePanel::~CapturePanel() {
  if (overlayOpen()) services_.overlayWindow.close();
  services_.clipboard.pictureChanging();
}

void CapturePanel::build(controls::Frame& frame) {
  frame.add(viewport);
  viewport.add(picture);
  frame.add(verticalBar);
  frame.add(horizontalBar);
  // The picture slides under the viewport.
  horizontalBar.onChange = [this] {
    controls::TwipsRect r = picture.rect();
    r.left = -horizontalBar.value();
    picture.setRect(r);
  };
  verticalBar.onChange = [this] {
    controls::TwipsRect r = picture.rect();
    r.top = -verticalBar.value();
    picture.setRect(r);
  };

  fullScreenButton.onClick = [this] {
    capture(true);
    status_.report(u"操作:", u" 全屏 < 截图 > ");
  };
  regionButton.onClick = [this] { capture(false); };
  offerPicture(false);
  saveButton.onClick = [this] { save(); };
  copyButton.onClick = [this] { copy(); };
  for (controls::Control* c : {&fullScreenButton, &regionButton, &saveButton, &copyButton}) frame.add(*c);

  // Chosen before the handlers exist: the start reports nothing.
  bmpOption.setValue(true);
  for (std::u16string_view quality : kQualities) qualityList.addItem(std::u16string(quality));
  qualityList.setSelectedIndex(0);
  qualityLabel.setEnabled(false);
  qualityList.setEnabled(false);
  for (controls::OptionButton* option : {&bmpOption, &jpegOption, &pngOption})
    option->onClick = [this] { chooseFormat(); };
  qualityList.onClick = [this] { status_.report(u"设置:", u" 压缩比 < " + qualityList.selectedText() + u"% > "); };
  for (controls::Control* c : std::initializer_list<controls::Control*>{&formatLabel, &bmpOption, &jpegOption,
                                                                        &pngOption, &qualityLabel, &qualityList})
    frame.add(*c);
  resetView();
}

void CapturePanel::chooseFormat() {
  // Only JPEG has a quality; BMP and PNG keep every pixel.
  const SaveFormat format = chosenFormat();
  qualityLabel.setEnabled(format == SaveFormat::Jpeg);
  qualityList.setEnabled(format == SaveFormat::Jpeg);
  status_.report(u"设置:", u" 保存格式 < " + std::u16string(ruleFor(format).name) + u" > ");
}

SaveFormat CapturePanel::chosenFormat() const {
  if (jpegOption.value()) return SaveFormat::Jpeg;
  if (pngOption.value()) return SaveFormat::Png;
  return SaveFormat::Bmp;
}

void CapturePanel::offerPicture(bool offered) {
  saveButton.setEnabled(offered);
  copyButton.setEnabled(offered);
}

void CapturePanel::resetView() {
  horizontalBar.setValue(0);
  verticalBar.setValue(0);
  verticalBar.setMaximum(picture.rect().height - viewport.rect().height);
  horizontalBar.setMaximum(picture.rect().width - viewport.rect().width);
  verticalBar.setEnabled(verticalBar.maximum() > 0);
  horizontalBar.setEnabled(horizontalBar.maximum() > 0);
}

void CapturePanel::showPicture(common::Bitmap bitmap) {
  const platform::ScreenMetrics metrics = services_.screen.metrics();
  controls::TwipsRect r = picture.rect();
  r.width = platform::pixelsToTwips(bitmap.width, metrics.twipsPerPixelX);
  r.height = platform::pixelsToTwips(bitmap.height, metrics.twipsPerPixelY);
  picture.setRect(r);
  replacePicture(std::move(bitmap));
}

void CapturePanel::replacePicture(common::Bitmap bitmap) {
  services_.clipboard.pictureChanging();
  picture.setBitmap(std::move(bitmap));
}

void CapturePanel::capture(bool full) {
  if (overlayOpen()) return;
  shell_.hideWindow();
  offerPicture(true);
  // The old picture goes before the screen is copied: never two at once.
  replacePicture(common::Bitmap{});
  overlay_.reset();
  services_.clock.sleep(kPauseBeforeCaptureMs);

  ScreenLayout layout = services_.desktop.layout();
  common::Bitmap screen = services_.screenCopier.copyScreen(layout.virtualScreen);
  if (full) {
    frame_.setCaption(sizeText(screen.width, screen.height));
    showPicture(std::move(screen));
    resetView();
    shell_.expandWindow();
    shell_.showPanel();
    return;
  }
  // The copy is taken before the overlay draws anything: it shows the
  // desktop without it.
  DesktopScene scene{std::move(layout), services_.desktop.windows(), services_.desktop.doubleClickMs()};
  overlay_ = std::make_unique<RegionOverlay>(
      std::move(screen), std::move(scene), services_.overlayWindow.pointerPosition(),
      RegionOverlay::Callbacks{[this](PixelPoint to) { services_.overlayWindow.movePointer(to); },
                               [this](RegionOverlay::Ending ending) { regionEnded(std::move(ending)); }});
  services_.overlayWindow.open(*overlay_);
}

void CapturePanel::regionEnded(RegionOverlay::Ending ending) {
  if (ending.finished) {
    showPicture(std::move(ending.picture));
    frame_.setCaption(ending.sizeText);
  } else {
    showPicture(common::Bitmap{});
    frame_.setCaption(std::u16string(kCaptureCaption));
    offerPicture(false);
  }
  resetView();
  services_.overlayWindow.close();
  shell_.expandWindow();
  if (ending.finished) shell_.showPanel();
  if (ending.copy) copy();
}

void CapturePanel::save() {
  const FormatRule& rule = ruleFor(chosenFormat());
  std::optional<std::u16string> chosen = services_.dialogs.askSavePath(rule.request);
  if (chosen && !chosen->empty()) {
    // The extension is added after the dialog, so the dialog could not
    // have asked about the file that is about to be replaced.
    const std::u16string path = completedPath(std::move(*chosen), rule.extension);
    if (!services_.files.exists(path) || services_.dialogs.askYesNo(std::u16string(kReplaceQuestion) + path))
      write(path);
  }
  status_.report(u"操作:", u" 保存 < 截图 > ");
}

void CapturePanel::write(const std::u16string& path) {
  const SaveFormat format = chosenFormat();
  std::string bytes;
  if (format == SaveFormat::Bmp) {
    bytes = encodeBmp(picture.bitmap());
  } else {
    EncodedImage encoded =
        services_.encoder.encode(picture.bitmap(), format == SaveFormat::Jpeg ? ImageFormat::Jpeg : ImageFormat::Png,
                                 qualityValue(qualityList.selectedText()));
    if (encoded.status != 0) {
      services_.dialogs.showMessage(std::u16string(kSaveFailedMessage) + decimalText(encoded.status));
      return;
    }
    bytes = std::move(encoded.bytes);
  }
  const platform::WriteResult written = services_.files.writeAtomically(path, bytes);
  if (!written) services_.dialogs.showMessage(std::u16string(kSaveFailedMessage) + written.message);
}

void CapturePanel::copy() {
  if (!copyButton.enabled()) return;
  const common::Bitmap& shown = picture.bitmap();
  if (shown.width <= 0 || shown.height <= 0) {
    // An empty bitmap on the clipboard would only break the paste.
    services_.dialogs.showMessage(kNothingToCopyMessage);
    return;
  }
  switch (services_.clipboard.place(shown)) {
    case ClipboardResult::Placed:
      status_.report(u"当前操作:", u" 复制 < 截图 > ");
      break;
    case ClipboardResult::Busy:
      services_.dialogs.showMessage(kPictureClipboardBusyMessage);
      break;
    case ClipboardResult::Failed:
      services_.dialogs.showMessage(kPictureClipboardFailedMessage);
      break;
  }
}

}  // namespace vexlo::capture
