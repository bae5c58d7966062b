// Scriptable stand-ins for the capture's services, and a capture panel on
// a panel frame wired to them, as the unit tests drive it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/capture_panel.h"
#include "capture/capture_services.h"
#include "capture/region_overlay.h"
#include "fakes/fake_services.h"
#include "fakes/memory_file_store.h"

namespace vexlo::fakes {

struct FakeScreenCopier : capture::ScreenCopier {
  explicit FakeScreenCopier(EventLog& log) : log(log) {}
  EventLog& log;
  // A grey 1280 x 800 screen unless a test sets another; painted at the
  // first copy, so that the many harnesses that never capture stay cheap.
  common::Bitmap screen;
  std::vector<capture::PixelRect> areas;  // asked for, in order
  common::Bitmap copyScreen(const capture::PixelRect& area) override {
    log.events.push_back("copy screen");
    areas.push_back(area);
    if (screen.pixels.empty()) screen = common::Bitmap::filled(1280, 800, 0x808080);
    return screen;
  }
};

// Tells nothing of the monitors unless a test sets them: the overlay then
// takes the frozen screen for the one monitor.
struct FakeDesktop : capture::DesktopInfo {
  capture::ScreenLayout shownLayout;
  std::vector<capture::PixelRect> shownWindows;
  int doubleClick = 500;
  capture::ScreenLayout layout() override { return shownLayout; }
  std::vector<capture::PixelRect> windows() override { return shownWindows; }
  int doubleClickMs() override { return doubleClick; }
};

struct FakeImageEncoder : capture::ImageEncoder {
  int failingStatus = 0;  // non-zero: every encoding fails with it
  std::vector<int> qualities;
  capture::EncodedImage encode(const common::Bitmap& picture, capture::ImageFormat format, int quality) override {
    qualities.push_back(quality);
    if (failingStatus != 0) return {failingStatus, {}};
    const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    if (format == capture::ImageFormat::Png) return {0, "PNG " + size};
    return {0, "JPEG " + size + " q" + std::to_string(quality)};
  }
};

// Reads the placed picture where it is, as the real one does, until told
// that it changes.
struct FakePictureClipboard : capture::PictureClipboard {
  capture::ClipboardResult answer = capture::ClipboardResult::Placed;
  int places = 0;
  const common::Bitmap* placed = nullptr;
  common::Bitmap kept;
  capture::ClipboardResult place(const common::Bitmap& picture) override {
    if (answer == capture::ClipboardResult::Placed) {
      ++places;
      placed = &picture;
    }
    return answer;
  }
  void pictureChanging() override {
    if (placed && placed != &kept) kept = *placed;
    if (placed) placed = &kept;
  }
};

struct FakeCaptureDialogs : capture::CaptureDialogs {
  std::optional<std::u16string> chosenPath;  // what the save dialog returns
  bool answerYes = true;
  std::vector<capture::SaveRequest> requests;
  std::vector<std::u16string> questions;
  std::vector<std::u16string> messages;
  std::optional<std::u16string> askSavePath(const capture::SaveRequest& request) override {
    requests.push_back(request);
    return chosenPath;
  }
  bool askYesNo(std::u16string_view question) override {
    questions.emplace_back(question);
    return answerYes;
  }
  void showMessage(std::u16string_view text) override { messages.emplace_back(text); }
};

// Opens and closes nothing on a screen; a pointer move comes back as a
// mouse move, as the system sends one after the pointer is moved.
struct FakeOverlayWindow : capture::OverlayWindow, capture::OverlayView {
  explicit FakeOverlayWindow(EventLog& log) : log(log) {}
  EventLog& log;
  capture::PixelPoint pointer{640, 400};
  capture::RegionOverlay* shown = nullptr;
  std::vector<unsigned> changes;  // every change reported while open
  capture::PixelPoint pointerPosition() override { return pointer; }
  void movePointer(capture::PixelPoint to) override {
    pointer = to;
    if (shown) shown->mouseMove(to.x, to.y);
  }
  void open(capture::RegionOverlay& overlay) override {
    log.events.push_back("open overlay");
    shown = &overlay;
    overlay.setView(this);
  }
  void close() override {
    log.events.push_back("close overlay");
    if (shown) shown->setView(nullptr);
    shown = nullptr;
  }
  void overlayChanged(unsigned change) override { changes.push_back(change); }
};

struct CaptureHarness {
  CaptureHarness() { status.createIcon(); }

  EventLog log;
  FakeTray tray;
  DoubleByteCodec codec;
  FakeScreen screen;
  FakeClock clock{log};
  MemoryFileStore files;
  FakeScreenCopier screenCopier{log};
  FakeImageEncoder encoder;
  FakeCaptureDialogs dialogs;
  FakeOverlayWindow overlayWindow{log};
  FakeDesktop desktop;
  FakePictureClipboard clipboard;
  capture::CaptureServices services{screen,  clock,         files,   screenCopier, encoder,
                                    dialogs, overlayWindow, desktop, clipboard};
  common::StatusLine status{tray, codec};
  controls::Frame frame{"W(2)", {120, 900, 4935, 3615}, std::u16string(capture::kCaptureCaption)};
  capture::CapturePanel panel{
      frame,
      services,
      status,
      {[this] { log.events.push_back("hide window"); }, [this] { log.events.push_back("expand window"); },
       [this] { log.events.push_back("show panel"); }}};
};

}  // namespace vexlo::fakes
