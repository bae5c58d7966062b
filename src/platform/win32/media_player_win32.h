// The media player through Media Foundation's MFPlay. It shows its picture
// and its own transport bar in the media panel's player area (the host
// window) and reports play states on the user-interface thread.
//
// Nothing of Media Foundation is started until the first address is set, so
// start-up does not pay for it.
//
// Each change of state becomes a posted message (stateMessage()) to the
// notify window, whose window procedure calls deliverStateChange().
// onStateChange therefore always runs from the message loop, never from
// inside Media Foundation, and sees the states in the order they happened:
// playState() during each call is the state that call announces.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "platform/media_player.h"
#include "platform/win32/media_transport_bar_win32.h"
#include "platform/win32/media_video_window_win32.h"

struct IMFPMediaPlayer;
struct IMFMediaSource;
struct IMFSourceResolver;
struct MFP_EVENT_HEADER;

namespace vexlo::platform::win32 {

class MediaSourceRequest;

class MediaPlayerWin32 final : public MediaPlayer {
 public:
  // hostWindow is asked for the player area the first time an address is
  // set: the media panel makes that window late.
  MediaPlayerWin32(HWND notifyWindow, std::function<HWND()> hostWindow);
  MediaPlayerWin32(const MediaPlayerWin32&) = delete;
  MediaPlayerWin32& operator=(const MediaPlayerWin32&) = delete;
  ~MediaPlayerWin32() override;

  std::u16string url() const override { return url_; }
  // A local file that does not exist is refused at once; anything else is
  // opened in the background, and a failure there shows as a state that
  // never becomes playing. No dialog is ever shown.
  bool setUrl(std::u16string_view url) override;
  int playState() const override { return announcedState_; }
  void setFullScreen(bool fullScreen) override;
  void focus() override;

  // The registered message the notify window receives for each change.
  static UINT stateMessage();
  // Call on receiving stateMessage(): runs onStateChange for the oldest
  // change not yet announced.
  void deliverStateChange();

 private:
  class Events;

  bool start();
  void close();
  void sourceOpened();
  void releaseStoppedPlayer();
  void handleEvent(MFP_EVENT_HEADER& event);
  void itemReady();
  void changeState(int state);
  void updatePosition();
  void playOrPause();
  void seek(double fraction);
  void setVolume(int percent);
  RECT videoArea() const;
  static LRESULT CALLBACK replyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND notifyWindow_;
  std::function<HWND()> hostWindow_;
  HWND host_ = nullptr;
  std::u16string url_;

  bool comStarted_ = false;
  bool mediaFoundationStarted_ = false;
  IMFSourceResolver* resolver_ = nullptr;
  // Receives the background opening's answer on this thread.
  HWND replyWindow_ = nullptr;

  // The address being opened, or once open its source and the MFPlay
  // player made for it. Each address gets a player of its own: the one
  // before is shut down with its source. A player that stops is shut down
  // too, and Play opens the address again.
  MediaSourceRequest* request_ = nullptr;
  IMFMediaSource* source_ = nullptr;
  IMFPMediaPlayer* player_ = nullptr;
  Events* events_ = nullptr;

  int announcedState_ = 0;
  int latestState_ = 0;
  std::deque<int> unannouncedStates_;

  // The length of the address's media once known, in 100-nanosecond units:
  // shown while stopped, when there is no player to ask.
  long long knownLength_ = 0;

  float volume_ = 0.5f;
  bool fullScreen_ = false;
  MediaVideoWindow video_;
  MediaTransportBar transport_;
};

}  // namespace vexlo::platform::win32
