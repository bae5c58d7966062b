// The embedded media player: what the media panel asks of it. The Win32
// implementation plays through Media Foundation in the panel's player area
// and draws its own compact transport bar there; the unit tests use a fake.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vexlo::platform {

// The play states the program reads.
inline constexpr int kPlayStateStopped = 1;
inline constexpr int kPlayStatePaused = 2;
inline constexpr int kPlayStatePlaying = 3;

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // The address last set, exactly as it was given ("" before the first).
  virtual std::u16string url() const = 0;
  // Loads the address and starts playing it. False when it cannot be opened
  // (no dialog is shown); the address still counts as the one last set.
  virtual bool setUrl(std::u16string_view url) = 0;
  // 1 stopped, 2 paused, 3 playing; 0 or other values for other states
  // (nothing loaded, opening, failed).
  virtual int playState() const = 0;
  virtual void setFullScreen(bool fullScreen) = 0;
  virtual void focus() = 0;

  // Runs on the user-interface thread after every change of the play state.
  std::function<void()> onStateChange;
};

}  // namespace vexlo::platform
