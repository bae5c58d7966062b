// The media player's own compact controls: play/pause, stop, the playing
// position with its elapsed and total time, and the volume. They are
// standard controls with real captions and tooltips, so screen readers and
// automation find them like any other control of the program.
#pragma once

#include <windows.h>

#include <functional>

namespace vexlo::platform::win32 {

class MediaTransportBar {
 public:
  MediaTransportBar() = default;
  MediaTransportBar(const MediaTransportBar&) = delete;
  MediaTransportBar& operator=(const MediaTransportBar&) = delete;
  ~MediaTransportBar();

  // A child of `host` at `place` (host client pixels); its own controls are
  // laid out in twips at `dpi`. The volume slider starts at volumePercent.
  bool create(HWND host, const RECT& place, UINT dpi, int volumePercent);
  HWND handle() const { return window_; }

  // While playing, the button offers to pause and the position moves on
  // its own (onTick asks for it a few times a second).
  void showPlaying(bool playing);
  // Times in 100-nanosecond units, as Media Foundation counts them.
  void showPosition(long long elapsed, long long total);

  std::function<void()> onPlayPause;
  std::function<void()> onStop;
  std::function<void()> onTick;
  // A fraction of the whole length, 0 to 1, once the user lets go of the slider.
  std::function<void(double)> onSeek;
  std::function<void(int)> onVolume;

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND addControl(const wchar_t* className, const wchar_t* caption, DWORD style, int leftTwips, int widthTwips, int id);
  void addTooltip(HWND control, const wchar_t* text);
  void positionScrolled(int code);

  HWND window_ = nullptr;
  HWND playPauseButton_ = nullptr;
  HWND stopButton_ = nullptr;
  HWND positionSlider_ = nullptr;
  HWND timeText_ = nullptr;
  HWND volumeSlider_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  bool dragging_ = false;
};

}  // namespace vexlo::platform::win32
