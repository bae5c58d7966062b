#include "shell/main_window.h"

#include <utility>

#include "common/program_title.h"
#include "common/version.h"
#include "platform/twips.h"
#include "shell/clock_text.h"

namespace vexlo::shell {

using controls::TwipsRect;

namespace {

struct PanelText {
  std::u16string_view tooltip;
  std::u16string_view caption;
};

constexpr std::array<PanelText, kPanelCount> kPanels = {{
    {u" Vexlo ", u"Vexlo"},
    {u" Flash·影音 ", u"Flash·影音"},
    {u" 屏幕·截图 ", u"屏幕·截图"},
    {u" 文件·管理 ", u"文件·管理"},
    {u" 我的工具箱 ", u"我的工具箱"},
}};

constexpr TwipsRect kPanelRect{120, 900, 4935, 3615};

// The band between the panel area and the window's edges.
constexpr int kCollapseLeft = 105;
constexpr int kCollapseRight = 5055;
constexpr int kCollapseBottom = 4515;

// Where expanding clicks: over the input box of the reply formatter.
constexpr int kExpandClickOffsetX = 1440;
constexpr int kExpandClickY = 1695;

constexpr std::u16string_view kWelcomeHeading = u"欢迎您使用:";
constexpr std::u16string_view kWelcomeText = u"\r      Vexlo v" VEXLO_VERSION_TEXT "\r\r设计者: Quenby_Sarn (Pebbo)";

std::array<std::unique_ptr<controls::Frame>, kPanelCount> makePanelFrames() {
  std::array<std::unique_ptr<controls::Frame>, kPanelCount> frames;
  for (int i = 0; i < kPanelCount; ++i) {
    frames[i] = std::make_unique<controls::Frame>("W(" + std::to_string(i) + ")", kPanelRect,
                                                  std::u16string(kPanels[i].caption));
    frames[i]->setVisible(i == 0);
  }
  return frames;
}

}  // namespace

MainWindow::MainWindow(Services& services, formatter::RandomSource& random)
    : guard(services.messageBox),
      status(services.tray, services.codec),
      window("Form1", {0, 0, kExpandedWidth, kExpandedHeight}, std::u16string(common::kProgramTitle)),
      titleLabel("Label14", {120, 120, 1260, 180}, std::u16string(common::kProgramTitle)),
      exitControl("Tc", {4665, 75, 390, 240}),
      panelFrames(makePanelFrames()),
      collapsedSquare("Pi", {0, 0, 660, 660}),
      formatter(*panelFrames[0], services, status, random, services.preview, [this] { collapse(); }),
      media(*panelFrames[kMediaPanel], services.mediaPlayer, status,
            [this] { browseFiles(filemanager::kMediaFilter); }),
      programs(*panelFrames[kToolboxPanel],
               {services.launcher, services.pointer, services.screen, status, [this] { collapse(); },
                [this] { panelSelector[kToolboxPanel]->setValue(true); }}),
      editor({{&formatter.emoticons.favourites, &media.favourites},
              {&formatter.emoticons.buttons, &media.buttons, &programs.buttons},
              programs,
              status,
              services.codec,
              [this](int panel) { panelSelector[panel]->setValue(true); },
              [this](int filter) { fileManager.chooseFilter(filter); }}),
      capture(*panelFrames[kCapturePanel], services.capture, status,
              {[this] {
                 formatter.previewPlaceChanged(false);  // not in the captured picture
                 window.setVisible(false);
               },
               [this] { expand(); },
               [this] { panelSelector[kCapturePanel]->setValue(true); }}),
      systemTools(strip, *panelFrames[kToolboxPanel],
                  {services.launcher, services.startupRegistry, services.popupMenu, services.pointer, services.screen,
                   services.environment, services.environment.executableName(), status, [this] { collapse(); },
                   [this] { formatter.inputBox.focus(); }}),
      fileManager(
          *panelFrames[kFileManagerPanel],
          {services.fileManager,
           services.launcher,
           services.screen,
           status,
           {[this] { collapse(); }, [this] { expand(); }, [this] { return window.visible(); },
            [this](const std::u16string& path) {
              panelSelector[kMediaPanel]->setValue(true);
              media.playMedia(path);
            },
            [this](std::u16string name, std::u16string path) { addMediaFavourite(std::move(name), std::move(path)); },
            [this](std::u16string name, std::u16string path) {
              addProgramFavourite(std::move(name), std::move(path));
            }}},
          services.environment.executableDirectory()),
      services_(services) {
  build();
}

void MainWindow::build() {
  window.setGuard(&guard);
  window.setVisible(false);
  window.onMouseMove = [this](int x, int y, int) { windowMouseMove(x, y); };

  window.add(titleLabel);
  exitControl.setTooltip(u" 退出 ");
  exitControl.setPicture("exit");
  exitControl.onClick = [this] { exit(); };
  window.add(exitControl);

  for (int i = 0; i < kPanelCount; ++i) {
    panelSelector[i] = std::make_unique<controls::OptionButton>("Q(" + std::to_string(i) + ")",
                                                                TwipsRect{120 + 360 * i, 450, 330, 315}, panelGroup,
                                                                u"", controls::Kind::GraphicalOption);
    panelSelector[i]->setTooltip(std::u16string(kPanels[i].tooltip));
    panelSelector[i]->setPicture("panel" + std::to_string(i));
    window.add(*panelSelector[i]);
  }
  panelSelector[0]->setValue(true);  // before any handler exists: the initial selection reports nothing
  for (int i = 0; i < kPanelCount; ++i) panelSelector[i]->onClick = [this, i] { selectPanel(i); };

  strip.addTo(window);

  for (auto& frame : panelFrames) window.add(*frame);

  for (auto& frame : panelFrames) frame->onMouseMove = [this](int, int, int) { programs.leaveHover(); };

  // Above the panels: the media favourites and the editor.
  window.add(media.favouritesFrame);
  window.add(editor.frame);

  collapsedSquare.setVisible(false);
  collapsedSquare.setTooltip(u" Vexlo ");
  collapsedSquare.setPicture("collapsed");
  collapsedSquare.onMouseMove = [this](int, int, int) { expand(); };
  window.add(collapsedSquare);
}

int MainWindow::pixelsX(double twips) const {
  return platform::twipsToPixels(twips, services_.screen.metrics().twipsPerPixelX);
}

int MainWindow::pixelsY(double twips) const {
  return platform::twipsToPixels(twips, services_.screen.metrics().twipsPerPixelY);
}

bool MainWindow::start() {
  if (!services_.instanceLock.acquire()) {
    services_.messageBox.exclamation(u"《 Vexlo 》已运行！。。。", u"错误");
    return false;
  }

  settingsUnread_ = !guard.run([this] { restoreSettings(); }, u"读取设置文件");
  capture.qualityList.setSelectedIndex(0);
  fileManager.chooseFilter(0);
  strip.clockLabel.setTooltip(dateTooltip(services_.clock.now()));
  formatter.rebuildGradient();

  const int screenTwips = services_.screen.metrics().widthTwips();
  TwipsRect placed = window.rect();
  placed.left = (screenTwips - placed.width) / 2;
  placed.top = 0;
  window.setRect(placed);
  window.setTopMost(true);
  window.setVisible(true);

  status.createIcon();
  status.report(kWelcomeHeading, kWelcomeText);
  expand();
  return true;
}

void MainWindow::collapse() {
  formatter.previewPlaceChanged(false);
  collapsedSquare.setVisible(true);
  const int screenTwips = services_.screen.metrics().widthTwips();
  window.setRect({(screenTwips - kCollapsedSize) / 2, window.rect().top, kCollapsedSize, kCollapsedSize});
}

void MainWindow::expand() {
  const int screenTwips = services_.screen.metrics().widthTwips();
  window.setRect({(screenTwips - kExpandedWidth) / 2, window.rect().top, kExpandedWidth, kExpandedHeight});
  collapsedSquare.setVisible(false);
  window.setVisible(true);
  formatter.previewPlaceChanged(selectedPanel() == 0);
  services_.pointer.moveTo(pixelsX(screenTwips / 2.0 + kExpandClickOffsetX), pixelsY(kExpandClickY));
  services_.pointer.leftClick();
}

int MainWindow::selectedPanel() const {
  for (int i = 0; i < kPanelCount; ++i)
    if (panelSelector[i]->value()) return i;
  return -1;
}

bool MainWindow::copyShortcut() {
  if (collapsed() || selectedPanel() != kCapturePanel) return false;
  guard.run([this] { capture.copy(); }, u"复制截图");
  return true;
}

void MainWindow::selectPanel(int index) {
  status.report(u"", panelSelector[index]->tooltip());
  media.hideFavourites();
  formatter.hideChooser();
  editor.hide();
  if (index == kFileManagerPanel) fileManager.showing();
  // Frames below the chosen one stay as they are: the chosen frame covers them.
  for (int f = index; f < kPanelCount; ++f) panelFrames[f]->setVisible(f == index);
  formatter.previewPlaceChanged(index == 0 && !collapsed() && window.visible());
  if (index == kFileManagerPanel) fileManager.chooseFilter(0);
}

void MainWindow::addMediaFavourite(std::u16string name, std::u16string path) {
  media.addFavourite(std::move(name), std::move(path));
  panelSelector[kMediaPanel]->setValue(true);
  media.showFavourites();
}

void MainWindow::browseFiles(int filter) {
  panelSelector[kFileManagerPanel]->setValue(true);
  fileManager.chooseFilter(filter);
}

void MainWindow::windowMouseMove(int x, int y) {
  // A video on the media panel stays in view unless the user asked for auto-hide.
  if (panelSelector[kMediaPanel]->value() && !media.autoHide()) return;
  if (x <= kCollapseLeft || x >= kCollapseRight || y >= kCollapseBottom) collapse();
}

void MainWindow::tick() {
  // A tick that fails every time is reported once, not once a second.
  tickFailing_ = !guard.run([this] { tickDuties(); }, u"定时器 Timer1 的计时", !tickFailing_);
}

void MainWindow::tickDuties() {
  formatter.finishOneKeyConversion();
  strip.clockLabel.setCaption(clockCaption(services_.clock.now()));
  services_.memory.trimWorkingSet();
  for (int i = 0; i < kPanelCount; ++i) {
    if (services_.keyboard.pressedSinceLastPoll(kVirtualKeyF1 + i)) {
      panelSelector[i]->setValue(true);
      expand();
    }
  }
  if (services_.keyboard.pressedSinceLastPoll(kVirtualKeyF6)) systemTools.f6Pressed();
  if (services_.keyboard.pressedSinceLastPoll(kVirtualKeyF7)) capture.capture(true);
  if (services_.keyboard.pressedSinceLastPoll(kVirtualKeyF8)) capture.capture(false);
  if (services_.keyboard.pressedSinceLastPoll(kVirtualKeyF12)) formatter.startOneKeyConversion();
  status.ageBalloon();
}

void MainWindow::exit() {
  status.removeIcon();
  saveSettings();
  services_.application.quit();
}

void MainWindow::endSession() {
  status.removeIcon();
  saveSettings();
}

}  // namespace vexlo::shell
