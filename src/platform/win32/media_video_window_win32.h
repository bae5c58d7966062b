// The window the media player draws its picture into. It lies in the
// player area of the media panel; for full screen it becomes a borderless
// top-most popup over the whole monitor and comes back afterwards. The
// renderer keeps drawing into the same window throughout, so nothing is
// reloaded when the mode changes.
#pragma once

#include <windows.h>

#include <functional>

namespace vexlo::platform::win32 {

class MediaVideoWindow {
 public:
  MediaVideoWindow() = default;
  MediaVideoWindow(const MediaVideoWindow&) = delete;
  MediaVideoWindow& operator=(const MediaVideoWindow&) = delete;
  ~MediaVideoWindow();

  // A child of `host` covering `area` (host client pixels).
  bool create(HWND host, const RECT& area);
  HWND handle() const { return window_; }
  bool fullScreen() const { return fullScreen_; }

  // Where the picture goes in the player area: its own size, centred, when
  // that fits; otherwise as large as fits (the renderer keeps the aspect
  // ratio). Without a picture size the window takes the whole area.
  void fitPicture(const RECT& area, SIZE pictureSize);
  // Escape and a double-click leave full screen as well.
  void setFullScreen(bool fullScreen);

  // The renderer must redraw: the window was uncovered or changed size.
  std::function<void()> onRepaint;

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HWND host_ = nullptr;
  RECT placeInHost_{};
  bool fullScreen_ = false;
};

}  // namespace vexlo::platform::win32
