#include "platform/win32/media_player_win32.h"

#include <mfapi.h>
#include <mfidl.h>
#include <mfplay.h>

#include "platform/twips.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/media_source_request_win32.h"
#include "platform/win32/system_function.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

constexpr int kStateNone = 0;
constexpr wchar_t kReplyClass[] = L"VexloMediaPlayerReplies";
constexpr UINT kSourceOpenedMessage = WM_APP;
constexpr UINT kStoppedMessage = WM_APP + 1;

// The player area in the host window, in twips: the picture across the
// whole width above, the transport bar below on the left, clear of the
// panel's own controls that lie over the lower right (x >= 3510, y >= 2340).
constexpr int kVideoBottomTwips = 2820;
constexpr int kTransportLeftTwips = 0;
constexpr int kTransportTopTwips = 2880;
constexpr int kTransportRightTwips = 3450;
constexpr int kTransportBottomTwips = 3135;

// MFP_POSITIONTYPE_100NS is GUID_NULL; MinGW declares it without defining it.
constexpr GUID kPositionIn100Nanoseconds = {};

long long timeValue(const PROPVARIANT& value) {
  return value.vt == VT_I8 || value.vt == VT_UI8 ? value.hVal.QuadPart : 0;
}

// An address without a scheme names a file; one that is not there can be
// refused at once instead of failing later in the background.
bool isMissingFile(const std::u16string& url) {
  if (url.find(u"://") != std::u16string::npos) return false;
  const DWORD attributes = GetFileAttributesW(wide(url));
  return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// MFPlay holds its callback by reference and may still call it, with events
// already queued, after the player is shut down: detach() cuts it off.
// Created without MFP_OPTION_FREE_THREADED_CALLBACK, MFPlay calls it through
// window messages on the thread that made the player, the user-interface
// thread.
class MediaPlayerWin32::Events final : public IMFPMediaPlayerCallback {
 public:
  explicit Events(MediaPlayerWin32* owner) : owner_(owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFPMediaPlayerCallback)) {
      *object = static_cast<IMFPMediaPlayerCallback*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  void STDMETHODCALLTYPE OnMediaPlayerEvent(MFP_EVENT_HEADER* event) override {
    if (owner_ && event) owner_->handleEvent(*event);
  }

 private:
  ~Events() = default;
  LONG references_ = 1;
  MediaPlayerWin32* owner_;
};

MediaPlayerWin32::MediaPlayerWin32(HWND notifyWindow, std::function<HWND()> hostWindow)
    : notifyWindow_(notifyWindow), hostWindow_(std::move(hostWindow)) {}

MediaPlayerWin32::~MediaPlayerWin32() {
  close();
  if (replyWindow_) DestroyWindow(replyWindow_);
  if (resolver_) resolver_->Release();
  if (mediaFoundationStarted_) {
    if (auto shutdown = systemFunction<decltype(MFShutdown)>(L"mfplat.dll", "MFShutdown")) shutdown();
  }
  if (comStarted_) CoUninitialize();
}

UINT MediaPlayerWin32::stateMessage() {
  static const UINT message = RegisterWindowMessageW(L"VexloMediaPlayerState");
  return message;
}

bool MediaPlayerWin32::setUrl(std::u16string_view url) {
  url_ = url;
  close();
  // The old address's changes that were not announced yet no longer matter;
  // what the program has been told ends here, at "nothing playing".
  unannouncedStates_.clear();
  const bool wasNone = announcedState_ == kStateNone;
  announcedState_ = latestState_ = kStateNone;
  if (!wasNone) {
    unannouncedStates_.push_back(kStateNone);
    PostMessageW(notifyWindow_, stateMessage(), 0, 0);
  }
  transport_.showPlaying(false);
  knownLength_ = 0;
  transport_.showPosition(0, 0);

  if (url_.empty() || isMissingFile(url_) || !start()) return false;
  request_ = MediaSourceRequest::start(resolver_, url_, replyWindow_, kSourceOpenedMessage);
  return request_ != nullptr;
}

// Everything that lives as long as the player: Media Foundation itself, the
// resolver, and the windows in the player area.
bool MediaPlayerWin32::start() {
  if (!mediaFoundationStarted_) {
    if (!host_ && hostWindow_) host_ = hostWindow_();
    if (!host_) return false;
    // The user-interface thread is a single-threaded apartment; a thread
    // that chose otherwise keeps its choice, and owes no CoUninitialize.
    if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    auto startup = systemFunction<decltype(MFStartup)>(L"mfplat.dll", "MFStartup");
    mediaFoundationStarted_ = startup && SUCCEEDED(startup(MF_VERSION, MFSTARTUP_FULL));
    if (!mediaFoundationStarted_) return false;
  }
  auto createResolver = systemFunction<decltype(MFCreateSourceResolver)>(L"mfplat.dll", "MFCreateSourceResolver");
  if (!resolver_ && (!createResolver || FAILED(createResolver(&resolver_)))) {
    resolver_ = nullptr;
    return false;
  }
  if (!replyWindow_) {
    static const bool registered = [] {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = replyProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kReplyClass;
      return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return false;
    replyWindow_ =
        CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!replyWindow_) return false;
    SetWindowLongPtrW(replyWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!video_.handle()) {
    const UINT dpi = dpiOf(host_);
    const double perPixel = platform::twipsPerPixel(dpi);
    auto pixels = [perPixel](int twips) { return platform::twipsToPixels(twips, perPixel); };
    if (!video_.create(host_, videoArea())) return false;
    const RECT bar = {pixels(kTransportLeftTwips), pixels(kTransportTopTwips), pixels(kTransportRightTwips),
                      pixels(kTransportBottomTwips)};
    if (!transport_.create(host_, bar, dpi, static_cast<int>(volume_ * 100 + 0.5f))) return false;
    video_.onRepaint = [this] {
      if (player_) player_->UpdateVideo();
    };
    transport_.onPlayPause = [this] { playOrPause(); };
    transport_.onStop = [this] {
      if (player_) player_->Stop();
    };
    transport_.onTick = [this] { updatePosition(); };
    transport_.onSeek = [this](double fraction) { seek(fraction); };
    transport_.onVolume = [this](int percent) { setVolume(percent); };
    if (fullScreen_) video_.setFullScreen(true);
  }
  return true;
}

// Lets go of the current address: its opening, its player and its source.
void MediaPlayerWin32::close() {
  if (request_) {
    request_->abandon();
    request_->Release();
    request_ = nullptr;
  }
  if (events_) {
    events_->detach();
    events_->Release();
    events_ = nullptr;
  }
  if (player_) {
    player_->Shutdown();
    player_->Release();
    player_ = nullptr;
  }
  if (source_) {
    source_->Shutdown();
    source_->Release();
    source_ = nullptr;
  }
}

LRESULT CALLBACK MediaPlayerWin32::replyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MediaPlayerWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == kSourceOpenedMessage) {
    guardedCallback(
        u"打开媒体", [self] { return (self->sourceOpened(), 0); }, [] { return 0; });
    return 0;
  }
  if (self && message == kStoppedMessage) {
    guardedCallback(
        u"停止媒体", [self] { return (self->releaseStoppedPlayer(), 0); }, [] { return 0; });
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void MediaPlayerWin32::sourceOpened() {
  // The answer to an address replaced since: a newer request is pending.
  if (!request_ || !request_->finished()) return;
  source_ = request_->takeSource();
  request_->Release();
  request_ = nullptr;
  if (!source_) return;

  events_ = new Events(this);
  IMFPMediaItem* item = nullptr;
  auto createPlayer = systemFunction<decltype(MFPCreateMediaPlayer)>(L"mfplay.dll", "MFPCreateMediaPlayer");
  const bool set =
      createPlayer && SUCCEEDED(createPlayer(nullptr, FALSE, MFP_OPTION_NONE, events_, video_.handle(), &player_)) &&
      SUCCEEDED(player_->CreateMediaItemFromObject(source_, TRUE, 0, &item)) && SUCCEEDED(player_->SetMediaItem(item));
  if (item) item->Release();
  if (!set) close();
}

void MediaPlayerWin32::handleEvent(MFP_EVENT_HEADER& event) {
  const bool succeeded = SUCCEEDED(event.hrEvent);
  switch (event.eEventType) {
    case MFP_EVENT_TYPE_MEDIAITEM_SET:
      if (succeeded) itemReady();
      return;
    case MFP_EVENT_TYPE_PLAY:
      if (succeeded) changeState(kPlayStatePlaying);
      return;
    case MFP_EVENT_TYPE_PAUSE:
      if (succeeded) changeState(kPlayStatePaused);
      return;
    case MFP_EVENT_TYPE_STOP:
    case MFP_EVENT_TYPE_PLAYBACK_ENDED:
      if (!succeeded) return;
      changeState(kPlayStateStopped);
      // Not from inside the player's own event.
      PostMessageW(replyWindow_, kStoppedMessage, 0, 0);
      return;
    case MFP_EVENT_TYPE_ERROR:
      // The session failed while playing: nothing plays any more.
      changeState(kStateNone);
      return;
    default:
      return;
  }
}

// Rate 1 and balance 0 are MFPlay's own defaults; the volume is not.
void MediaPlayerWin32::itemReady() {
  player_->SetVolume(volume_);
  SIZE picture = {}, corrected = {};
  if (SUCCEEDED(player_->GetNativeVideoSize(&picture, &corrected))) {
    player_->SetAspectRatioMode(MFVideoARMode_PreservePicture);
    video_.fitPicture(videoArea(), corrected.cx > 0 && corrected.cy > 0 ? corrected : picture);
  } else {
    video_.fitPicture(videoArea(), SIZE{});
  }
  if (FAILED(player_->Play())) changeState(kStateNone);
}

void MediaPlayerWin32::changeState(int state) {
  if (state == latestState_) return;
  latestState_ = state;
  unannouncedStates_.push_back(state);
  PostMessageW(notifyWindow_, stateMessage(), 0, 0);
  transport_.showPlaying(state == kPlayStatePlaying);
  updatePosition();
}

// A stopped player costs threads and handles for as long as it lives under
// some Media Foundation implementations, and they are not given back; Play
// opens the address again.
void MediaPlayerWin32::releaseStoppedPlayer() {
  if (latestState_ != kPlayStateStopped || !player_) return;
  updatePosition();
  close();
  transport_.showPosition(0, knownLength_);
}

void MediaPlayerWin32::deliverStateChange() {
  // Posted for a change that a newer address made obsolete.
  if (unannouncedStates_.empty()) return;
  announcedState_ = unannouncedStates_.front();
  unannouncedStates_.pop_front();
  if (onStateChange) onStateChange();
}

void MediaPlayerWin32::updatePosition() {
  long long elapsed = 0, total = 0;
  if (player_) {
    PROPVARIANT value;
    PropVariantInit(&value);
    if (SUCCEEDED(player_->GetPosition(kPositionIn100Nanoseconds, &value))) elapsed = timeValue(value);
    PropVariantClear(&value);
    if (SUCCEEDED(player_->GetDuration(kPositionIn100Nanoseconds, &value))) total = timeValue(value);
    PropVariantClear(&value);
    if (total > 0) knownLength_ = total;
  } else {
    total = knownLength_;
  }
  transport_.showPosition(elapsed, total);
}

void MediaPlayerWin32::playOrPause() {
  if (!player_) {
    // Stopped, its player let go: the address is opened again and plays.
    if (!request_ && latestState_ == kPlayStateStopped && !url_.empty())
      request_ = MediaSourceRequest::start(resolver_, url_, replyWindow_, kSourceOpenedMessage);
    return;
  }
  if (latestState_ == kPlayStatePlaying) {
    player_->Pause();
  } else if (latestState_ == kPlayStatePaused || latestState_ == kPlayStateStopped) {
    player_->Play();
  }
}

void MediaPlayerWin32::seek(double fraction) {
  if (!player_) return;
  PROPVARIANT value;
  PropVariantInit(&value);
  if (SUCCEEDED(player_->GetDuration(kPositionIn100Nanoseconds, &value))) {
    const long long total = timeValue(value);
    PropVariantClear(&value);
    value.vt = VT_I8;
    value.hVal.QuadPart = static_cast<long long>(static_cast<double>(total) * fraction);
    player_->SetPosition(kPositionIn100Nanoseconds, &value);
  }
  PropVariantClear(&value);
  updatePosition();
}

void MediaPlayerWin32::setVolume(int percent) {
  volume_ = static_cast<float>(percent) / 100.0f;
  if (player_) player_->SetVolume(volume_);
}

void MediaPlayerWin32::setFullScreen(bool fullScreen) {
  // Remembered for windows not made yet: they start in the mode asked for.
  fullScreen_ = fullScreen;
  video_.setFullScreen(fullScreen);
}

void MediaPlayerWin32::focus() {
  if (HWND video = video_.handle()) {
    if (video_.fullScreen()) SetForegroundWindow(video);
    SetFocus(video);
    return;
  }
  if (HWND host = hostWindow_ ? hostWindow_() : nullptr) SetFocus(host);
}

RECT MediaPlayerWin32::videoArea() const {
  RECT client = {};
  GetClientRect(host_, &client);
  const int bottom = platform::twipsToPixels(kVideoBottomTwips, platform::twipsPerPixel(dpiOf(host_)));
  return {0, 0, client.right, bottom};
}

}  // namespace vexlo::platform::win32
