#include "platform/win32/media_transport_bar_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "platform/twips.h"
#include "platform/win32/callback_guard_win32.h"

namespace vexlo::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VexloMediaTransport";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 250;
constexpr int kSliderSteps = 1000;

constexpr wchar_t kPlayCaption[] = L"播放";
constexpr wchar_t kPauseCaption[] = L"暂停";

enum ControlId { kPlayPauseId = 1, kStopId, kPositionId, kTimeId, kVolumeId };

// Left edge and width of each control inside the bar, in twips; together
// they fill the bar's 3450 twips.
struct Slot {
  int left;
  int width;
};
constexpr Slot kPlayPauseSlot{0, 435};
constexpr Slot kStopSlot{435, 435};
constexpr Slot kPositionSlot{870, 930};
constexpr Slot kTimeSlot{1800, 1185};
constexpr Slot kVolumeSlot{2985, 465};

// Minutes run past 59 rather than adding an hours field: the bar is narrow.
void appendClock(std::wstring& text, long long hundredNanoseconds) {
  const long long seconds = hundredNanoseconds > 0 ? hundredNanoseconds / 10'000'000 : 0;
  wchar_t field[32];
  std::swprintf(field, 32, L"%02lld:%02lld", seconds / 60, seconds % 60);
  text += field;
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

MediaTransportBar::~MediaTransportBar() {
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

bool MediaTransportBar::create(HWND host, const RECT& place, UINT dpi, int volumePercent) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return false;
  dpi_ = dpi;
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  place.left, place.top, place.right - place.left, place.bottom - place.top, host, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (!window_) return false;
  SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The panels' own face and size: SimSun's 12-pixel design fits the bar.
  font_ = CreateFontW(-MulDiv(9, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"SimSun");
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);

  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
  const DWORD slider = WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
  playPauseButton_ =
      addControl(WC_BUTTONW, kPlayCaption, button, kPlayPauseSlot.left, kPlayPauseSlot.width, kPlayPauseId);
  stopButton_ = addControl(WC_BUTTONW, L"停止", button, kStopSlot.left, kStopSlot.width, kStopId);
  positionSlider_ =
      addControl(TRACKBAR_CLASSW, L"播放位置", slider, kPositionSlot.left, kPositionSlot.width, kPositionId);
  timeText_ = addControl(WC_STATICW, L"00:00 / 00:00", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY,
                         kTimeSlot.left, kTimeSlot.width, kTimeId);
  volumeSlider_ = addControl(TRACKBAR_CLASSW, L"音量", slider, kVolumeSlot.left, kVolumeSlot.width, kVolumeId);

  SendMessageW(positionSlider_, TBM_SETRANGE, FALSE, MAKELPARAM(0, kSliderSteps));
  SendMessageW(volumeSlider_, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
  SendMessageW(volumeSlider_, TBM_SETPOS, TRUE, volumePercent);

  addTooltip(playPauseButton_, L"播放 / 暂停");
  addTooltip(stopButton_, L"停止");
  addTooltip(positionSlider_, L"播放位置");
  addTooltip(timeText_, L"已播放 / 总长度");
  addTooltip(volumeSlider_, L"音量");
  return true;
}

HWND MediaTransportBar::addControl(const wchar_t* className, const wchar_t* caption, DWORD style, int leftTwips,
                                   int widthTwips, int id) {
  const double perPixel = platform::twipsPerPixel(dpi_);
  RECT bar;
  GetClientRect(window_, &bar);
  const int left = platform::twipsToPixels(leftTwips, perPixel);
  const int right = platform::twipsToPixels(leftTwips + widthTwips, perPixel);
  HWND control =
      CreateWindowExW(0, className, caption, WS_CHILD | WS_VISIBLE | style, left, 0, right - left, bar.bottom, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

void MediaTransportBar::addTooltip(HWND control, const wchar_t* text) {
  if (!tooltip_ || !control) return;
  TTTOOLINFOW tool = {};
  // The version 5 record: common controls 5 and 6 both take it.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MediaTransportBar::showPlaying(bool playing) {
  if (!window_) return;
  SetWindowTextW(playPauseButton_, playing ? kPauseCaption : kPlayCaption);
  if (playing) {
    SetTimer(window_, kTickTimer, kTickMilliseconds, nullptr);
  } else {
    KillTimer(window_, kTickTimer);
  }
}

void MediaTransportBar::showPosition(long long elapsed, long long total) {
  if (!window_) return;
  std::wstring text;
  appendClock(text, elapsed);
  text += L" / ";
  appendClock(text, total);
  // Unchanged text is not set again: the control would flicker four times a second.
  if (windowText(timeText_) != text) SetWindowTextW(timeText_, text.c_str());
  if (!dragging_) {
    const long long step = total > 0 ? elapsed * kSliderSteps / total : 0;
    SendMessageW(positionSlider_, TBM_SETPOS, TRUE,
                 static_cast<LPARAM>(step < 0              ? 0
                                     : step > kSliderSteps ? kSliderSteps
                                                           : step));
  }
}

void MediaTransportBar::positionScrolled(int code) {
  if (code == TB_THUMBTRACK) {
    dragging_ = true;
    return;
  }
  // Every drag, click or key on the slider ends with TB_ENDTRACK: seek once, there.
  if (code != TB_ENDTRACK) return;
  dragging_ = false;
  const auto step = SendMessageW(positionSlider_, TBM_GETPOS, 0, 0);
  if (onSeek) onSeek(static_cast<double>(step) / kSliderSteps);
}

LRESULT CALLBACK MediaTransportBar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MediaTransportBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MediaTransportBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return guardedCallback(
      u"媒体播放器的控制条", [&] { return self->handle(message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT MediaTransportBar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == kPlayPauseId && onPlayPause) onPlayPause();
        if (LOWORD(wParam) == kStopId && onStop) onStop();
      }
      return 0;
    case WM_HSCROLL: {
      const HWND slider = reinterpret_cast<HWND>(lParam);
      if (slider == positionSlider_) positionScrolled(LOWORD(wParam));
      if (slider == volumeSlider_ && onVolume) {
        onVolume(static_cast<int>(SendMessageW(volumeSlider_, TBM_GETPOS, 0, 0)));
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTickTimer && onTick) onTick();
      return 0;
    case WM_NCDESTROY: {
      HWND closing = window_;
      KillTimer(closing, kTickTimer);
      // The tooltip belongs to the top-level window, not to the bar: it
      // would outlive the bar otherwise.
      if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
      SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
      window_ = playPauseButton_ = stopButton_ = positionSlider_ = timeText_ = volumeSlider_ = tooltip_ = nullptr;
      return DefWindowProcW(closing, message, wParam, lParam);
    }
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace vexlo::platform::win32
